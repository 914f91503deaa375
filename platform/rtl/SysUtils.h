#pragma once
// String, number and formatting routines of the run-time library. Positions in
// strings are 1-based (0 = not found); strings are UTF-8.

#include "platform/rtl/Currency.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Types.h"

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

namespace orlo {

// The fixed format settings of the platform: text of numbers, money, dates and
// times does not depend on the user's locale, so stored text reads back anywhere.
struct TFormatSettings {
    char DecimalSeparator;
    char ThousandSeparator;
    std::string_view CurrencyString; // put before the amount: "$1,234.50", "-$1.00"
    Integer CurrencyDecimals;
    char DateSeparator; // what "/" in a date format writes
    char TimeSeparator; // what ":" in a time format writes
    std::string_view ShortDateFormat;
    std::string_view LongDateFormat;
    std::string_view ShortTimeFormat;
    std::string_view LongTimeFormat;
    std::string_view TimeAMString;
    std::string_view TimePMString;
    std::array<std::string_view, 12> ShortMonthNames;
    std::array<std::string_view, 12> LongMonthNames;
    std::array<std::string_view, 7> ShortDayNames; // Sunday first
    std::array<std::string_view, 7> LongDayNames;
};

extern const TFormatSettings FormatSettings;

// --- Trimming, case and comparison -----------------------------------------

String Trim(const String& S); // removes characters <= ' ' at both ends
String TrimLeft(const String& S);
String TrimRight(const String& S);

String UpperCase(const String& S); // ASCII letters only
String LowerCase(const String& S);
// Also fold the letters of Latin-1 Supplement and Latin Extended-A (Ä/ä, Ç/ç, Ł/ł).
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
// Every letter of the UTF-8 text in lower case by Unicode's simple case mapping,
// for names compared without case in any script ("Ärger", "ПРИВЕТ"); bytes that
// are not UTF-8 stay as they are. The byte length may change.
String UnicodeLowerCase(const String& S);

Integer CompareStr(const String& S1, const String& S2);  // by bytes; <0, 0, >0
Integer CompareText(const String& S1, const String& S2); // ASCII letters without case
bool SameText(const String& S1, const String& S2);
// By characters after folding case as AnsiLowerCase does; the order is the
// order of the code points, not a linguistic one.
Integer AnsiCompareText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);

// --- Integers ----------------------------------------------------------------

String IntToStr(Integer Value);
String IntToStr(Int64 Value);
// Upper-case hexadecimal of at least Digits digits; negative values as their
// two's complement of 32 (Integer) or 64 (Int64) bits.
String IntToHex(Integer Value, Integer Digits);
String IntToHex(Int64 Value, Integer Digits);

// Decimal text with an optional sign, or hexadecimal after "$", "0x" or "0X"
// (hexadecimal text may fill all bits: "$FFFFFFFF" is -1). Leading blanks are
// skipped, anything after the number is an error.
// EConvertError "'%s' is not a valid integer value".
Integer StrToInt(const String& S);
Int64 StrToInt64(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(const String& S, Integer& Value);
bool TryStrToInt64(const String& S, Int64& Value);

// --- Floating point ----------------------------------------------------------

// The shortest text of up to 15 significant digits: "1.5", "1E20", "0.0001",
// "1E-5"; "NAN", "INF", "-INF" for the special values.
String FloatToStr(double Value);
// Decimal text with "." and an optional exponent; blanks around it are allowed.
// EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const String& S);
double StrToFloatDef(const String& S, double Default);
bool TryStrToFloat(const String& S, double& Value);

// --- Format ------------------------------------------------------------------

// One argument of Format: the value with its kind.
class TVarRec {
public:
    enum TKind { vkInteger, vkInt64, vkUInt64, vkExtended, vkString, vkPointer, vkCurrency };

    TVarRec(Integer V) noexcept : FKind(vkInteger), FInt(V) {}
    TVarRec(Int64 V) noexcept : FKind(vkInt64), FInt(V) {}
    TVarRec(long long V) noexcept : FKind(vkInt64), FInt(V) {}
    TVarRec(Cardinal V) noexcept : FKind(vkInt64), FInt(V) {}
    TVarRec(UInt64 V) noexcept : FKind(vkUInt64), FUInt(V) {}
    TVarRec(unsigned long long V) noexcept : FKind(vkUInt64), FUInt(V) {}
    TVarRec(double V) noexcept : FKind(vkExtended), FFloat(V) {}
    TVarRec(long double V) noexcept : FKind(vkExtended), FFloat(V) {}
    TVarRec(const char* V) noexcept : FKind(vkString), FStr(V ? V : "") {}
    TVarRec(const String& V) noexcept : FKind(vkString), FStr(V) {}
    TVarRec(std::string_view V) noexcept : FKind(vkString), FStr(V) {}
    TVarRec(const void* V) noexcept : FKind(vkPointer), FPtr(V) {}
    TVarRec(Currency V) noexcept : FKind(vkCurrency), FInt(V.Scaled) {}

    TKind Kind() const noexcept { return FKind; }
    Int64 AsInt64() const noexcept { return FInt; } // vkInteger, vkInt64, vkCurrency (scaled)
    UInt64 AsUInt64() const noexcept { return FUInt; }
    long double AsExtended() const noexcept { return FFloat; }
    std::string_view AsString() const noexcept { return FStr; }
    const void* AsPointer() const noexcept { return FPtr; }

private:
    TKind FKind;
    union {
        Int64 FInt;
        UInt64 FUInt;
        long double FFloat;
        const void* FPtr;
    };
    std::string_view FStr;
};

// Fills Fmt with Args. A format item is
//   "%" [index ":"] ["-"] [width] ["." precision] type
// with index, width and precision either digits or "*" (taken from the next
// argument); the index counts from 0. Types: d u x (integers; precision = least
// digits), e f g n m (floating and currency; precision = digits), s (text;
// precision = most characters), p (pointer, 16 hexadecimal digits), "%%" is "%".
// Widths and precisions of text count characters, not bytes.
// EConvertError "Format '%s' invalid or incompatible with argument" for a bad
// item or an argument of the wrong kind, "No argument for format '%s'" when the
// arguments run out.
String Format(const String& Fmt, std::span<const TVarRec> Args);
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);

template <class... A> String Format(const String& Fmt, const A&... Args) {
    return Format(Fmt, std::initializer_list<TVarRec>{TVarRec(Args)...});
}

// --- Quoting and editing -----------------------------------------------------

String QuotedStr(const String& S); // 'it''s'
String AnsiQuotedStr(const String& S, char Quote);
// Reads a text quoted with Quote from the start of Src (doubled quotes stand for
// one) and advances Src behind the closing quote. Src not starting with Quote
// gives "" and stays; an unterminated text runs to the end of Src.
String AnsiExtractQuotedStr(std::string_view& Src, char Quote);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
// Case is ignored as AnsiUpperCase folds it.
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

Integer Pos(const String& Sub, const String& S); // 1-based; 0 when absent or Sub empty
// Count characters from Index (1-based); both are clamped to the string.
String Copy(const String& S, Integer Index, Integer Count);
void Delete(String& S, Integer Index, Integer Count);     // nothing when Index is outside S
void Insert(const String& Sub, String& S, Integer Index); // Index clamped to 1..Length+1
String StringOfChar(char Ch, Integer Count);

} // namespace orlo
