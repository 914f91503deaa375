#include "platform/os/CodePage.h"

#include "platform/classes/TextCodec.h"
#include "platform/rtl/Exception.h"

#include <cerrno>
#include <iconv.h>

namespace orlo {

namespace {

// An open conversion descriptor, closed with the object.
class TConverter {
public:
    TConverter(const char* To, const char* From) : FHandle(iconv_open(To, From)) {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw EConvertError(String("No conversion from ") + From + " to " + To);
    }
    ~TConverter() { iconv_close(FHandle); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    iconv_t Handle() const noexcept { return FHandle; }

private:
    iconv_t FHandle;
};

// Length of the UTF-8 character at Start; 1 for a byte that starts none.
size_t CharacterLength(const String& S, size_t Start) {
    const auto Lead = static_cast<unsigned char>(S[Start]);
    const size_t Length = Lead >= 0xF8   ? 1
                          : Lead >= 0xF0 ? 4
                          : Lead >= 0xE0 ? 3
                          : Lead >= 0xC0 ? 2
                                         : 1;
    if (Start + Length > S.size())
        return 1;
    for (size_t I = 1; I < Length; ++I)
        if ((static_cast<unsigned char>(S[Start + I]) & 0xC0) != 0x80)
            return 1;
    return Length;
}

} // namespace

String AnsiToOem(const String& S) {
    TConverter Converter("CP850", "UTF-8");
    String Result;
    Result.reserve(S.size());
    size_t Start = 0;
    while (Start < S.size()) {
        // One character at a time, so that a character without an OEM form
        // costs only its own "?".
        const size_t Length = CharacterLength(S, Start);
        char* In = const_cast<char*>(S.data() + Start);
        size_t InLeft = Length;
        char Out[4];
        char* OutPtr = Out;
        size_t OutLeft = sizeof(Out);
        if (iconv(Converter.Handle(), &In, &InLeft, &OutPtr, &OutLeft) == static_cast<size_t>(-1) ||
            OutPtr == Out) {
            iconv(Converter.Handle(), nullptr, nullptr, nullptr, nullptr);
            Result += '?';
        } else {
            Result.append(Out, static_cast<size_t>(OutPtr - Out));
        }
        Start += Length;
    }
    return Result;
}

namespace {

// The code points of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char32_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the well-formed UTF-8 sequence at S[Pos]; 0 when there is none.
size_t Utf8SequenceLength(const String& S, size_t Pos) {
    const auto Byte = [&](size_t I) { return static_cast<unsigned char>(S[I]); };
    const unsigned char Lead = Byte(Pos);
    if (Lead < 0x80)
        return 1;
    size_t Length;
    char32_t Min, Code;
    if ((Lead & 0xE0) == 0xC0) {
        Length = 2, Min = 0x80, Code = Lead & 0x1F;
    } else if ((Lead & 0xF0) == 0xE0) {
        Length = 3, Min = 0x800, Code = Lead & 0x0F;
    } else if ((Lead & 0xF8) == 0xF0) {
        Length = 4, Min = 0x10000, Code = Lead & 0x07;
    } else {
        return 0;
    }
    if (Pos + Length > S.size())
        return 0;
    for (size_t I = 1; I < Length; ++I) {
        if ((Byte(Pos + I) & 0xC0) != 0x80)
            return 0;
        Code = (Code << 6) | (Byte(Pos + I) & 0x3F);
    }
    const bool Surrogate = Code >= 0xD800 && Code <= 0xDFFF;
    return Code < Min || Code > 0x10FFFF || Surrogate ? 0 : Length;
}

} // namespace

bool IsValidUtf8(const String& S) {
    for (size_t Pos = 0; Pos < S.size();) {
        const size_t Length = Utf8SequenceLength(S, Pos);
        if (Length == 0)
            return false;
        Pos += Length;
    }
    return true;
}

String Windows1252ToUtf8(const String& S) {
    String Result;
    Result.reserve(S.size());
    for (char C : S) {
        const auto Byte = static_cast<unsigned char>(C);
        if (Byte < 0x80)
            Result += C;
        else
            AppendUtf8(Result, Byte < 0xA0 ? Windows1252High[Byte - 0x80] : char32_t(Byte));
    }
    return Result;
}

} // namespace orlo
