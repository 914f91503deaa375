#include "runtime/ConvertTools.h"

#include "platform/os/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tools/StringTools.h"
#include "tools/VersionControl.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/ConvertTools.cpp 1.0 09.12.26 22:00 orlo $");

// --- Value buffers -------------------------------------------------------------

constexpr std::size_t TypeCodeSize = 4;
// Data length of the text types: whatever follows the type code.
constexpr std::size_t TextLength = SIZE_MAX;

// Data length of a type code that can be stored; nothing for the others. Type
// codes are compared whole, so flags or high bits make a code unsupported.
std::optional<std::size_t> DataLength(Cardinal Type) {
    switch (Type) {
    case varEmpty:
    case varNull:
        return 0;
    case varBoolean:
    case varByte:
        return 1;
    case varSmallint:
        return 2;
    case varInteger:
    case varSingle:
        return 4;
    case varDouble:
    case varCurrency:
    case varDate:
        return 8;
    case varOleStr:
    case varString:
        return TextLength;
    default:
        return std::nullopt;
    }
}

void AppendLittleEndian(String& Out, UInt64 Value, std::size_t Count) {
    char Bytes[sizeof(UInt64)];
    for (std::size_t I = 0; I < Count; ++I)
        Bytes[I] = static_cast<char>(Value >> (8 * I));
    Out.append(Bytes, Count);
}

UInt64 ReadLittleEndian(const Byte* P, std::size_t Count) {
    UInt64 Value = 0;
    for (std::size_t I = 0; I < Count; ++I)
        Value |= static_cast<UInt64>(P[I]) << (8 * I);
    return Value;
}

// The data bytes of a value of a fixed-length type, as an unsigned number.
UInt64 FixedData(const Variant& V) {
    switch (V.VarType()) {
    case varSmallint:
    case varInteger:
    case varByte:
        return static_cast<Cardinal>(V.AsInteger()); // the length keeps the low bytes
    case varSingle:
        return std::bit_cast<Cardinal>(static_cast<Single>(V.AsDouble()));
    case varDouble:
        return std::bit_cast<UInt64>(V.AsDouble());
    case varDate:
        return std::bit_cast<UInt64>(V.AsDate());
    case varCurrency:
        return static_cast<UInt64>(V.AsCurrency().Scaled);
    case varBoolean:
        return V.AsBoolean() ? 1 : 0;
    default: // varEmpty, varNull
        return 0;
    }
}

Variant DecodeFixed(Cardinal Type, const Byte* Data, std::size_t Length) {
    const UInt64 Bits = ReadLittleEndian(Data, Length);
    switch (Type) {
    case varEmpty:
        return Variant();
    case varNull:
        return Variant::Null();
    case varSmallint:
        return Variant(static_cast<int>(static_cast<SmallInt>(Bits)));
    case varInteger:
        return Variant(static_cast<int>(static_cast<Integer>(Bits)));
    case varByte:
        return Variant(static_cast<int>(Bits));
    case varSingle:
        return Variant(static_cast<double>(std::bit_cast<Single>(static_cast<Cardinal>(Bits))));
    case varDouble:
        return Variant(std::bit_cast<double>(Bits));
    case varDate:
        return Variant::FromDate(std::bit_cast<double>(Bits));
    case varCurrency:
        return Variant(Currency::FromScaled(static_cast<Int64>(Bits)));
    default: // varBoolean
        return Variant(Bits != 0);
    }
}

// --- Radix text ----------------------------------------------------------------

constexpr std::string_view DigitAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr Byte NoDigit = 255;

// Digit value of every byte: its place in the alphabet, NoDigit for the others.
constexpr std::array<Byte, 256> MakeDigitTable() {
    std::array<Byte, 256> Table{};
    Table.fill(NoDigit);
    for (std::size_t I = 0; I < DigitAlphabet.size(); ++I)
        Table[static_cast<Byte>(DigitAlphabet[I])] = static_cast<Byte>(I);
    return Table;
}

constexpr std::array<Byte, 256> DigitTable = MakeDigitTable();

Byte DigitValue(char C) {
    return DigitTable[static_cast<Byte>(C)];
}

// Upper-cased S without blanks around it and without a leading "-", which
// Negative reports.
String UnsignedText(const String& S, bool& Negative) {
    String Text = UpperCase(Trim(S));
    Negative = !Text.empty() && Text.front() == '-';
    if (Negative)
        Text.erase(0, 1);
    return Text;
}

// The two's complement of Magnitude when Negative; well defined for INT_MIN too.
Integer ApplySign(Cardinal Magnitude, bool Negative) {
    return static_cast<Integer>(Negative ? 0u - Magnitude : Magnitude);
}

// "1Ah" and "0x1A" become "$1A", the form the platform's integer parser reads.
String IntegerText(const String& S) {
    String Text = Trim(S);
    if (Text.empty() || Text.front() == '$')
        return Text;
    if (Text.back() == 'h' || Text.back() == 'H') {
        Text.pop_back();
        return '$' + Text;
    }
    if (Text.size() > 1 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X'))
        Text.replace(0, 2, "$");
    return Text;
}

} // namespace

// --- Value buffers -------------------------------------------------------------

TValueBuffer::TValueBuffer(const void* Data, std::size_t Size)
    : FBytes(static_cast<const char*>(Data), Size) {}

TValueBuffer VariantToBuffer(const Variant& V) {
    const TVarType Type = V.VarType();
    const std::optional<std::size_t> Length = DataLength(Type);
    if (!Length)
        throw Exception("Variant type not supported");
    TValueBuffer Result;
    String& Out = Result.FBytes;
    if (*Length == TextLength) {
        const String& Text = *V.TextRef(); // set for both text types
        Out.reserve(TypeCodeSize + Text.size());
        AppendLittleEndian(Out, Type, TypeCodeSize);
        Out += Text;
    } else {
        AppendLittleEndian(Out, Type, TypeCodeSize);
        AppendLittleEndian(Out, FixedData(V), *Length);
    }
    return Result;
}

bool IsStorable(const Variant& V) noexcept {
    return DataLength(V.VarType()).has_value();
}

Variant BufferToVariant(const void* Buffer, std::size_t Size) {
    if (Size < TypeCodeSize)
        throw Exception("Invalid buffer size");
    const Byte* Bytes = static_cast<const Byte*>(Buffer);
    const auto Type = static_cast<Cardinal>(ReadLittleEndian(Bytes, TypeCodeSize));
    const Byte* Data = Bytes + TypeCodeSize;
    const std::size_t Count = Size - TypeCodeSize;
    const std::optional<std::size_t> Length = DataLength(Type);
    if (!Length)
        throw Exception("Invalid buffer entry");
    if (*Length == TextLength)
        return Variant(String(reinterpret_cast<const char*>(Data), Count));
    if (*Length != Count)
        throw Exception("Invalid buffer");
    return DecodeFixed(Type, Data, Count);
}

Variant BufferToVariant(const TValueBuffer& Buffer) {
    return BufferToVariant(Buffer.Data(), Buffer.Size());
}

// --- Numbers as text -----------------------------------------------------------

Integer HexToInt(const String& S) {
    bool Negative = false;
    const String Unsigned = UnsignedText(S, Negative);
    std::string_view Text = Unsigned;
    if (Text.ends_with('H'))
        Text.remove_suffix(1);
    else if (Text.starts_with('$'))
        Text.remove_prefix(1);
    else if (Text.size() > 1 && Text.starts_with("0X"))
        Text.remove_prefix(2);
    Cardinal Value = 0;
    for (char C : Text) {
        const Byte Digit = DigitValue(C);
        if (Digit >= 16)
            throw EConvertError("Cannot convert from hex to int");
        Value = Value * 16 + Digit;
    }
    return ApplySign(Value, Negative);
}

String IntToSys(Integer Value, Integer Base, Integer Digits) {
    if (Base < 2 || Base > 36)
        throw Exception("IntToSys: Invalid base system");
    const auto Radix = static_cast<Cardinal>(Base);
    Cardinal Magnitude = static_cast<Cardinal>(Value);
    if (Value < 0)
        Magnitude = 0u - Magnitude;
    String Text;
    do {
        Text.insert(Text.begin(), DigitAlphabet[Magnitude % Radix]);
        Magnitude /= Radix;
    } while (Magnitude != 0);
    Text = FillStrEx(Text, '0', Digits, true);
    return Value < 0 ? '-' + Text : Text;
}

Integer SysToInt(const String& S, Integer Base) {
    bool Negative = false;
    UInt64 Value = 0;
    for (char C : UnsignedText(S, Negative)) {
        const Byte Digit = DigitValue(C);
        if (Digit >= Base)
            throw Exception("SysToInt: Invalid value");
        // Digit < Base, so Base is positive here; Value stays below 2^32, the product below 2^63.
        Value = Value * static_cast<UInt64>(Base) + Digit;
        if (Value > UINT32_MAX)
            throw Exception("SysToInt: Invalid value");
    }
    return ApplySign(static_cast<Cardinal>(Value), Negative);
}

String IntToString(Integer Value, Integer Digits) {
    return IntToSys(Value, 10, Digits);
}

Integer StringToInt(const String& S) {
    Integer Value = 0;
    if (!TryStrToInt(IntegerText(S), Value))
        throw EConvertError(Format("'%s' is not a valid integer value", S));
    return Value;
}

Integer StringToIntDef(const String& S, Integer Default) {
    return StrToIntDef(IntegerText(S), Default);
}

String BoolToStr(bool B) {
    return B ? "True" : "False";
}

// --- OEM text ------------------------------------------------------------------

String WinToDOSStr(const String& S) {
    return AnsiToOem(S);
}

// --- Packed DOS date-times -----------------------------------------------------

void UnpackTime(Integer DosTime, TDateTimeRec& Rec) {
    const auto T = static_cast<Cardinal>(DosTime);
    Rec.Year = static_cast<Word>((T >> 25) + 1980);
    Rec.Month = static_cast<Word>((T >> 21) & 15);
    Rec.Day = static_cast<Word>((T >> 16) & 31);
    Rec.Hour = static_cast<Word>((T & 0xFFFF) >> 11);
    Rec.Min = static_cast<Word>((T >> 5) & 63);
    Rec.Sec = static_cast<Word>((T & 31) * 2);
}

TDateTime SystemTimeToDateTime(Integer DosTime) {
    TDateTimeRec Rec;
    UnpackTime(DosTime, Rec);
    return ComposeDateTime(EncodeDate(Rec.Year, Rec.Month, Rec.Day),
                           EncodeTime(Rec.Hour, Rec.Min, Rec.Sec, 0));
}

} // namespace orlo
