#pragma once
// The value codec (the stored byte form of a Variant) and the small number and
// text conversions built around it: hexadecimal and radix text, tolerant
// integer parsing, Boolean text, OEM text and packed DOS date-times.

#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"

#include <cstddef>

namespace orlo {

// --- Value buffers -------------------------------------------------------------

// The stored form of one Variant. It ends up inside form resources, so every
// byte is fixed:
//   bytes 0-3  type code T, unsigned 32-bit little-endian: the Variant's type
//              without the array and by-reference flags;
//   bytes 4-   the data, by T (its length is the buffer's size minus 4):
//     varEmpty, varNull  none
//     varSmallint        2 bytes, the integer value's low 16 bits
//     varInteger         4 bytes
//     varSingle          4 bytes, IEEE binary32
//     varDouble, varDate 8 bytes, IEEE binary64
//     varCurrency        8 bytes, the value x 10000 as a signed integer
//     varBoolean         1 byte, 0 or 1
//     varByte            1 byte, the integer value's low 8 bits
//     varOleStr,         the characters, no length and no terminator
//     varString
// Numbers are little-endian. Reading back gives a varInteger for varSmallint
// and varByte, a varDouble for varSingle and a varString for varOleStr; every
// other type comes back as it was stored. Text is stored as the UTF-8 bytes the
// platform holds it in.
//
// An empty TValueBuffer is no buffer at all; short buffers (integers, short
// texts) live inside the object without a separate allocation.
class TValueBuffer {
public:
    TValueBuffer() = default;
    TValueBuffer(const void* Data, std::size_t Size);

    const Byte* Data() const noexcept { return reinterpret_cast<const Byte*>(FBytes.data()); }
    std::size_t Size() const noexcept { return FBytes.size(); }
    bool Empty() const noexcept { return FBytes.empty(); }

    friend bool operator==(const TValueBuffer&, const TValueBuffer&) = default;

private:
    friend TValueBuffer VariantToBuffer(const Variant& V);
    String FBytes;
};

// Encodes V. Exception "Variant type not supported" for any other type than
// those above, arrays and references included.
TValueBuffer VariantToBuffer(const Variant& V);
// Whether VariantToBuffer takes V.
bool IsStorable(const Variant& V) noexcept;

// Decodes the Size bytes at Buffer, never reading beyond them. Exception
// "Invalid buffer size" for fewer than 4 bytes, "Invalid buffer" when the data
// length does not fit the type code, "Invalid buffer entry" for a type code that
// is not stored. A Boolean byte other than 0 reads as true.
Variant BufferToVariant(const void* Buffer, std::size_t Size);
Variant BufferToVariant(const TValueBuffer& Buffer);

// --- Numbers as text -----------------------------------------------------------

// Hexadecimal text: blanks around it, an optional "-", then one notation mark
// (a trailing "H", a leading "$" or "0X", any case), then hexadecimal digits,
// accumulated in 32 bits with wrap-around; empty text is 0. "FFh", "$ff",
// "0xFF" and "-$10" give 255, 255, 255 and -16.
// EConvertError "Cannot convert from hex to int" for any other character.
Integer HexToInt(const String& S);

// Value in Base (2..36, digits "0".."9", "A".."Z"), padded with "0" on the left
// to at least Digits digits; a negative value gets a "-" in front that Digits
// does not count: -10 in base 16 with 4 digits is "-000A". Exception
// "IntToSys: Invalid base system" for other bases.
String IntToSys(Integer Value, Integer Base, Integer Digits);

// Text in Base (blanks around it, optional "-", digits in any case); empty text
// is 0. The digits may fill 32 bits and are taken as two's complement, so the
// text of every IntToSys result reads back. Exception "SysToInt: Invalid value"
// for a character that is no digit of Base or a number beyond 32 bits.
Integer SysToInt(const String& S, Integer Base);

// Decimal text padded with "0" on the left to at least Digits digits; negative
// values get a "-" in front, as IntToSys does.
String IntToString(Integer Value, Integer Digits);

// Decimal text or hexadecimal with "$", "0x" or a trailing "h" ("1Ah", "0x1A" and
// "$1A" give 26), blanks around it allowed. EConvertError
// "'%s' is not a valid integer value" on other text.
Integer StringToInt(const String& S);
// The same, Default on text that is no number.
Integer StringToIntDef(const String& S, Integer Default);

// "True" or "False".
String BoolToStr(bool B);

// --- OEM text ------------------------------------------------------------------

// UTF-8 text in the DOS character set (code page 850), one byte per character:
// characters that code page lacks, and bytes that are not UTF-8, become "?".
String WinToDOSStr(const String& S);

// --- Packed DOS date-times -----------------------------------------------------

struct TDateTimeRec {
    Word Year;
    Word Month;
    Word Day;
    Word Hour;
    Word Min;
    Word Sec;
};

// Splits a packed date-time (date in the high 16 bits, time in the low 16).
// The value is read as its 32 bits, so dates from 2044 on come out right.
void UnpackTime(Integer DosTime, TDateTimeRec& Rec);
// The date and time of a packed value. EConvertError of EncodeDate or EncodeTime
// for fields out of range (0 gives day 0 of month 0, which is rejected).
TDateTime SystemTimeToDateTime(Integer DosTime);

} // namespace orlo
