#include "platform/rtl/SysUtils.h"

#include "platform/rtl/DecimalText.h"
#include "platform/rtl/Exception.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <clocale>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <locale.h>
#include <optional>

namespace orlo {

constinit const TFormatSettings FormatSettings{
    .DecimalSeparator = '.',
    .ThousandSeparator = ',',
    .CurrencyString = "$",
    .CurrencyDecimals = 2,
    .DateSeparator = '-',
    .TimeSeparator = ':',
    .ShortDateFormat = "yyyy/mm/dd",
    .LongDateFormat = "dddd, mmmm d, yyyy",
    .ShortTimeFormat = "hh:nn",
    .LongTimeFormat = "hh:nn:ss",
    .TimeAMString = "AM",
    .TimePMString = "PM",
    .ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                        "Dec"},
    .LongMonthNames = {"January", "February", "March", "April", "May", "June", "July", "August",
                       "September", "October", "November", "December"},
    .ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    .LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
};

namespace {

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}
bool IsContinuationByte(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

char AsciiUpper(char C) {
    return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C;
}
char AsciiLower(char C) {
    return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C;
}

// Case pairs of Latin-1 Supplement and Latin Extended-A. Every letter folded here
// has a partner of the same UTF-8 length, so folding never moves a byte offset;
// letters without such a partner (ß, İ, ı, ĸ, ŉ, ſ) stay as they are.
char32_t LatinUpper(char32_t C) {
    if ((C >= 0xE0 && C <= 0xFE && C != 0xF7))
        return C - 0x20;
    if (C == 0xFF)
        return 0x178;
    const bool Odd = C % 2 == 1;
    if ((C >= 0x101 && C <= 0x137 && Odd && C != 0x131) || (C >= 0x14B && C <= 0x177 && Odd))
        return C - 1;
    if ((C >= 0x13A && C <= 0x148 && !Odd) || (C >= 0x17A && C <= 0x17E && !Odd))
        return C - 1;
    return C;
}

char32_t LatinLower(char32_t C) {
    if (C >= 0xC0 && C <= 0xDE && C != 0xD7)
        return C + 0x20;
    if (C == 0x178)
        return 0xFF;
    const bool Odd = C % 2 == 1;
    if ((C >= 0x100 && C <= 0x136 && !Odd && C != 0x130) || (C >= 0x14A && C <= 0x176 && !Odd))
        return C + 1;
    if ((C >= 0x139 && C <= 0x147 && Odd) || (C >= 0x179 && C <= 0x17D && Odd))
        return C + 1;
    return C;
}

// Applies Fold to the ASCII letters and to the two-byte sequences of U+00C0..U+017F;
// other bytes, malformed ones included, are kept.
String FoldLetters(const String& S, char (*FoldAscii)(char), char32_t (*FoldLatin)(char32_t)) {
    String Out = S;
    for (std::size_t I = 0; I < Out.size(); ++I) {
        const auto Lead = static_cast<unsigned char>(Out[I]);
        if (Lead < 0x80) {
            Out[I] = FoldAscii(Out[I]);
        } else if (Lead >= 0xC3 && Lead <= 0xC5 && I + 1 < Out.size() &&
                   IsContinuationByte(Out[I + 1])) {
            const char32_t Code = ((Lead & 0x1F) << 6) | (Out[I + 1] & 0x3F);
            const char32_t Folded = FoldLatin(Code);
            Out[I] = static_cast<char>(0xC0 | (Folded >> 6));
            Out[I + 1] = static_cast<char>(0x80 | (Folded & 0x3F));
            ++I;
        }
    }
    return Out;
}

template <class Fold> Integer CompareBytes(const String& S1, const String& S2, Fold F) {
    const auto Common = std::min(S1.size(), S2.size());
    for (std::size_t I = 0; I < Common; ++I) {
        const int A = static_cast<unsigned char>(F(S1[I]));
        const int B = static_cast<unsigned char>(F(S2[I]));
        if (A != B)
            return A - B;
    }
    return S1.size() < S2.size() ? -1 : S1.size() > S2.size() ? 1 : 0;
}

[[noreturn]] void RaiseNotInteger(const String& S) {
    throw EConvertError(Format("'%s' is not a valid integer value", S));
}

// Parses integer text into a value of Bits bits (32 or 64). Hexadecimal text may
// use all bits and wraps into the negative range; decimal text must fit.
bool ParseInteger(std::string_view S, int Bits, Int64& Value) {
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    const bool Negative = !S.empty() && S.front() == '-';
    if (!S.empty() && (S.front() == '-' || S.front() == '+'))
        S.remove_prefix(1);
    int Base = 10;
    if (!S.empty() && S.front() == '$') {
        Base = 16;
        S.remove_prefix(1);
    } else if (S.size() > 1 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) {
        Base = 16;
        S.remove_prefix(2);
    }
    if (S.empty() || S.front() == '+' || S.front() == '-')
        return false;
    UInt64 Magnitude = 0;
    const auto Result = std::from_chars(S.data(), S.data() + S.size(), Magnitude, Base);
    if (Result.ec != std::errc() || Result.ptr != S.data() + S.size())
        return false;
    const UInt64 HexLimit = Bits == 32 ? 0xFFFFFFFFull : ~0ull;
    const UInt64 SignedMax = Bits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
    const UInt64 Limit = Base == 16 ? HexLimit : SignedMax + (Negative ? 1 : 0);
    if (Magnitude > Limit)
        return false;
    if (Base == 16 && Bits == 32)
        Magnitude = static_cast<UInt64>(static_cast<Int64>(static_cast<Integer>(Magnitude)));
    Value = static_cast<Int64>(Negative ? UInt64(0) - Magnitude : Magnitude);
    if (Bits == 32)
        Value = static_cast<Integer>(Value);
    return true;
}

template <class T> String ToChars(T Value, int Base = 10) {
    char Buffer[72];
    const auto Result = std::to_chars(Buffer, std::end(Buffer), Value, Base);
    String Out(Buffer, Result.ptr);
    if (Base == 16)
        std::transform(Out.begin(), Out.end(), Out.begin(), AsciiUpper);
    return Out;
}

String PadLeft(String S, std::size_t Width, char Fill) {
    if (S.size() < Width)
        S.insert(0, Width - S.size(), Fill);
    return S;
}

} // namespace

String Trim(const String& S) {
    return TrimLeft(TrimRight(S));
}

String TrimLeft(const String& S) {
    const auto First = std::find_if_not(S.begin(), S.end(), IsBlank);
    return String(First, S.end());
}

String TrimRight(const String& S) {
    const auto Last = std::find_if_not(S.rbegin(), S.rend(), IsBlank);
    return String(S.begin(), Last.base());
}

String UpperCase(const String& S) {
    String Out = S;
    std::transform(Out.begin(), Out.end(), Out.begin(), AsciiUpper);
    return Out;
}

String LowerCase(const String& S) {
    String Out = S;
    std::transform(Out.begin(), Out.end(), Out.begin(), AsciiLower);
    return Out;
}

String AnsiUpperCase(const String& S) {
    return FoldLetters(S, AsciiUpper, LatinUpper);
}
String AnsiLowerCase(const String& S) {
    return FoldLetters(S, AsciiLower, LatinLower);
}

String UnicodeLowerCase(const String& S) {
    // The process's own locale may be "C"; the fold always reads UTF-8.
    static const locale_t Utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (!Utf8)
        return AnsiLowerCase(S);
    const locale_t Previous = uselocale(Utf8);
    String Out;
    Out.reserve(S.size());
    std::mbstate_t In{}, Back{};
    for (std::size_t Pos = 0; Pos < S.size();) {
        wchar_t Letter = 0;
        const std::size_t Length = std::mbrtowc(&Letter, S.data() + Pos, S.size() - Pos, &In);
        char Bytes[MB_LEN_MAX];
        const std::size_t Written =
            Length == 0 || Length > S.size() - Pos
                ? static_cast<std::size_t>(-1)
                : std::wcrtomb(Bytes, static_cast<wchar_t>(std::towlower(Letter)), &Back);
        if (Written == static_cast<std::size_t>(-1)) { // NUL, or no UTF-8 here
            Out += S[Pos++];
            In = Back = std::mbstate_t{};
            continue;
        }
        Out.append(Bytes, Written);
        Pos += Length;
    }
    uselocale(Previous);
    return Out;
}

Integer CompareStr(const String& S1, const String& S2) {
    return CompareBytes(S1, S2, [](char C) { return C; });
}

Integer CompareText(const String& S1, const String& S2) {
    return CompareBytes(S1, S2, AsciiLower);
}

bool SameText(const String& S1, const String& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

// UTF-8 keeps the order of code points, and folding keeps byte lengths, so
// comparing the folded bytes compares the folded characters.
Integer AnsiCompareText(const String& S1, const String& S2) {
    return CompareStr(AnsiLowerCase(S1), AnsiLowerCase(S2));
}

bool AnsiSameText(const String& S1, const String& S2) {
    return S1.size() == S2.size() && AnsiCompareText(S1, S2) == 0;
}

String IntToStr(Integer Value) {
    return ToChars(Value);
}
String IntToStr(Int64 Value) {
    return ToChars(Value);
}

String IntToHex(Integer Value, Integer Digits) {
    return PadLeft(ToChars(static_cast<Cardinal>(Value), 16), std::max(Digits, 0), '0');
}

String IntToHex(Int64 Value, Integer Digits) {
    return PadLeft(ToChars(static_cast<UInt64>(Value), 16), std::max(Digits, 0), '0');
}

bool TryStrToInt(const String& S, Integer& Value) {
    Int64 Parsed = 0;
    if (!ParseInteger(S, 32, Parsed))
        return false;
    Value = static_cast<Integer>(Parsed);
    return true;
}

bool TryStrToInt64(const String& S, Int64& Value) {
    return ParseInteger(S, 64, Value);
}

Integer StrToInt(const String& S) {
    Integer Value = 0;
    if (!TryStrToInt(S, Value))
        RaiseNotInteger(S);
    return Value;
}

Int64 StrToInt64(const String& S) {
    Int64 Value = 0;
    if (!TryStrToInt64(S, Value))
        RaiseNotInteger(S);
    return Value;
}

Integer StrToIntDef(const String& S, Integer Default) {
    Integer Value = 0;
    return TryStrToInt(S, Value) ? Value : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
    Int64 Value = 0;
    return TryStrToInt64(S, Value) ? Value : Default;
}

String FloatToStr(double Value) {
    if (auto Special = detail::SpecialFloatText(Value))
        return *Special;
    return detail::GeneralText(detail::DecimalOfDouble(Value, 15), 15);
}

bool TryStrToFloat(const String& S, double& Value) {
    std::string_view Text = S;
    while (!Text.empty() && IsBlank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back()))
        Text.remove_suffix(1);
    std::string_view Unsigned = Text;
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1); // from_chars reads "-" only
    if (!Unsigned.empty() && (Unsigned.front() == '+' || Unsigned.front() == '-'))
        Unsigned.remove_prefix(1);
    // from_chars also reads "inf", "nan" and the like; only digits are numbers here.
    if (Unsigned.empty() ||
        !(std::isdigit(static_cast<unsigned char>(Unsigned.front())) || Unsigned.front() == '.'))
        return false;
    double Parsed = 0;
    const auto Result = std::from_chars(Text.data(), Text.data() + Text.size(), Parsed);
    if (Result.ec != std::errc() || Result.ptr != Text.data() + Text.size())
        return false;
    Value = Parsed;
    return true;
}

double StrToFloat(const String& S) {
    double Value = 0;
    if (!TryStrToFloat(S, Value))
        throw EConvertError(Format("'%s' is not a valid floating point value", S));
    return Value;
}

double StrToFloatDef(const String& S, double Default) {
    double Value = 0;
    return TryStrToFloat(S, Value) ? Value : Default;
}

// --- Format ------------------------------------------------------------------

namespace {

constexpr Integer MaxFormatCount = 1000000; // widths and precisions beyond are format errors

std::size_t CharacterCount(std::string_view S) {
    return static_cast<std::size_t>(
        std::count_if(S.begin(), S.end(), [](char C) { return !IsContinuationByte(C); }));
}

std::string_view FirstCharacters(std::string_view S, std::size_t Count) {
    std::size_t End = 0;
    for (std::size_t Seen = 0; End < S.size(); ++End) {
        if (!IsContinuationByte(S[End]) && Seen++ == Count)
            break;
    }
    return S.substr(0, End);
}

class TFormatter {
public:
    TFormatter(const String& Fmt, std::span<const TVarRec> Args) : FFmt(Fmt), FArgs(Args) {}

    String Run() {
        while (FPos < FFmt.size()) {
            const auto Percent = FFmt.find('%', FPos);
            FOut.append(FFmt, FPos, Percent == String::npos ? String::npos : Percent - FPos);
            if (Percent == String::npos)
                break;
            FPos = Percent + 1;
            Item();
        }
        return std::move(FOut);
    }

private:
    struct TItem {
        bool Left = false;
        Integer Width = 0;
        Integer Precision = -1; // none
        char Type = 0;
    };

    [[noreturn]] void Invalid() const {
        throw EConvertError(Format("Format '%s' invalid or incompatible with argument", FFmt));
    }

    char Peek() const { return FPos < FFmt.size() ? FFmt[FPos] : '\0'; }

    const TVarRec& Take() {
        if (FNext >= FArgs.size())
            throw EConvertError(Format("No argument for format '%s'", FFmt));
        return FArgs[FNext++];
    }

    Int64 TakeInteger() {
        const TVarRec& Arg = Take();
        if (Arg.Kind() != TVarRec::vkInteger && Arg.Kind() != TVarRec::vkInt64)
            Invalid();
        return Arg.AsInt64();
    }

    // Digits or "*"; nothing when neither is there.
    std::optional<Integer> ReadCount() {
        if (Peek() == '*') {
            ++FPos;
            const Int64 Value = TakeInteger();
            if (Value > MaxFormatCount || Value < -MaxFormatCount)
                Invalid();
            return static_cast<Integer>(Value);
        }
        std::optional<Integer> Value;
        for (char C = Peek(); C >= '0' && C <= '9'; C = Peek()) {
            Value = Value.value_or(0) * 10 + (C - '0');
            if (*Value > MaxFormatCount)
                Invalid();
            ++FPos;
        }
        return Value;
    }

    TItem ReadItem() {
        TItem Item;
        std::optional<Integer> Count = ReadCount();
        if (Peek() == ':') {
            ++FPos;
            FNext = static_cast<std::size_t>(std::max(Count.value_or(0), 0));
            Count.reset();
        }
        if (!Count && Peek() == '-') {
            ++FPos;
            Item.Left = true;
        }
        if (!Count)
            Count = ReadCount();
        Item.Width = Count.value_or(0);
        if (Item.Width < 0) { // a negative "*" width justifies to the left
            Item.Left = true;
            Item.Width = -Item.Width;
        }
        if (Peek() == '.') {
            ++FPos;
            const auto Precision = ReadCount();
            Item.Precision = !Precision ? 0 : *Precision < 0 ? -1 : *Precision;
        }
        if (FPos >= FFmt.size())
            Invalid();
        Item.Type = AsciiLower(FFmt[FPos++]);
        return Item;
    }

    void Item() {
        if (Peek() == '%') {
            ++FPos;
            FOut += '%';
            return;
        }
        const TItem Item = ReadItem();
        const String Text = Value(Item, Take());
        const auto Width = static_cast<std::size_t>(Item.Width);
        const std::size_t Length = CharacterCount(Text);
        const std::size_t Padding = Width > Length ? Width - Length : 0;
        if (!Item.Left)
            FOut.append(Padding, ' ');
        FOut += Text;
        if (Item.Left)
            FOut.append(Padding, ' ');
    }

    String Value(const TItem& Item, const TVarRec& Arg) const {
        switch (Item.Type) {
        case 'd':
        case 'u':
        case 'x':
            return IntegerText(Item, Arg);
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm':
            return FloatText(Item, Arg);
        case 's':
            if (Arg.Kind() != TVarRec::vkString)
                Invalid();
            return String(Item.Precision < 0 ? Arg.AsString()
                                             : FirstCharacters(Arg.AsString(), Item.Precision));
        case 'p':
            if (Arg.Kind() != TVarRec::vkPointer)
                Invalid();
            return PadLeft(ToChars(reinterpret_cast<UInt64>(Arg.AsPointer()), 16), 16, '0');
        default:
            Invalid();
        }
    }

    String IntegerText(const TItem& Item, const TVarRec& Arg) const {
        const auto Kind = Arg.Kind();
        if (Kind != TVarRec::vkInteger && Kind != TVarRec::vkInt64 && Kind != TVarRec::vkUInt64)
            Invalid();
        // Unsigned and hexadecimal forms show a negative value as its two's complement.
        const Int64 Signed = Arg.AsInt64();
        const UInt64 Bits = Kind == TVarRec::vkUInt64    ? Arg.AsUInt64()
                            : Kind == TVarRec::vkInteger ? UInt64(Cardinal(Signed))
                                                         : UInt64(Signed);
        const bool Negative = Item.Type == 'd' && Kind != TVarRec::vkUInt64 && Signed < 0;
        String Digits = Item.Type == 'x' ? ToChars(Bits, 16)
                        : Negative       ? ToChars(UInt64(0) - UInt64(Signed))
                                         : ToChars(Bits);
        Digits = PadLeft(std::move(Digits), std::max(Item.Precision, 0), '0');
        return Negative ? "-" + Digits : Digits;
    }

    String FloatText(const TItem& Item, const TVarRec& Arg) const {
        detail::TDecimal D;
        if (Arg.Kind() == TVarRec::vkCurrency) {
            D = detail::DecimalOfCurrency(Currency::FromScaled(Arg.AsInt64()));
        } else if (Arg.Kind() == TVarRec::vkExtended) {
            const double Value = static_cast<double>(Arg.AsExtended());
            if (auto Special = detail::SpecialFloatText(Value))
                return *Special;
            D = detail::DecimalOfDouble(Value, 15);
        } else {
            Invalid();
        }
        const auto PrecisionOr = [&](Integer Default) {
            return Item.Precision < 0 ? Default : Item.Precision;
        };
        switch (Item.Type) {
        case 'e':
            return detail::ScientificText(D, PrecisionOr(15));
        case 'f':
            return detail::FixedText(D, PrecisionOr(2), false);
        case 'g':
            return detail::GeneralText(D, std::max(PrecisionOr(15), 1));
        case 'n':
            return detail::FixedText(D, PrecisionOr(2), true);
        default: // 'm'
            return MoneyText(D, PrecisionOr(FormatSettings.CurrencyDecimals));
        }
    }

    static String MoneyText(detail::TDecimal D, Integer Decimals) {
        const bool Negative = D.Negative;
        D.Negative = false;
        String Amount = detail::FixedText(D, Decimals, true);
        const bool ShowsNonZero = Amount.find_first_of("123456789") != String::npos;
        return (Negative && ShowsNonZero ? "-" : "") + String(FormatSettings.CurrencyString) +
               Amount;
    }

    const String& FFmt;
    std::span<const TVarRec> FArgs;
    std::size_t FPos = 0;
    std::size_t FNext = 0;
    String FOut;
};

} // namespace

String Format(const String& Fmt, std::span<const TVarRec> Args) {
    return TFormatter(Fmt, Args).Run();
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
    return Format(Fmt, std::span<const TVarRec>(Args.begin(), Args.size()));
}

// --- Quoting and editing -----------------------------------------------------

String QuotedStr(const String& S) {
    return AnsiQuotedStr(S, '\'');
}

String AnsiQuotedStr(const String& S, char Quote) {
    String Out(1, Quote);
    for (char C : S) {
        Out += C;
        if (C == Quote)
            Out += Quote;
    }
    Out += Quote;
    return Out;
}

String AnsiExtractQuotedStr(std::string_view& Src, char Quote) {
    if (Src.empty() || Src.front() != Quote)
        return "";
    String Out;
    std::size_t I = 1;
    while (I < Src.size()) {
        if (Src[I] != Quote) {
            Out += Src[I++];
        } else if (I + 1 < Src.size() && Src[I + 1] == Quote) {
            Out += Quote;
            I += 2;
        } else {
            ++I;
            break;
        }
    }
    Src.remove_prefix(I);
    return Out;
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
    if (OldPattern.empty())
        return S;
    const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
    // Case folding keeps byte offsets, so positions found in the folded text hold in S.
    const String Haystack = IgnoreCase ? AnsiUpperCase(S) : S;
    const String Needle = IgnoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    String Out;
    std::size_t From = 0;
    for (auto Found = Haystack.find(Needle); Found != String::npos;
         Found = Haystack.find(Needle, From)) {
        Out.append(S, From, Found - From);
        Out += NewPattern;
        From = Found + Needle.size();
        if (!Flags.Contains(rfReplaceAll))
            break;
    }
    Out.append(S, From, String::npos);
    return Out;
}

Integer Pos(const String& Sub, const String& S) {
    if (Sub.empty())
        return 0;
    const auto Found = S.find(Sub);
    return Found == String::npos ? 0 : static_cast<Integer>(Found) + 1;
}

String Copy(const String& S, Integer Index, Integer Count) {
    const Int64 Start = std::max<Int64>(Index, 1) - 1;
    if (Start >= Length(S) || Count <= 0)
        return "";
    return S.substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(Count));
}

void Delete(String& S, Integer Index, Integer Count) {
    if (Index < 1 || Index > Length(S) || Count <= 0)
        return;
    S.erase(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Insert(const String& Sub, String& S, Integer Index) {
    const Integer At = std::clamp(Index, 1, Length(S) + 1);
    S.insert(static_cast<std::size_t>(At - 1), Sub);
}

String StringOfChar(char Ch, Integer Count) {
    return String(static_cast<std::size_t>(std::max(Count, 0)), Ch);
}

} // namespace orlo
