#include "platform/os/CodePage.h"

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

} // namespace orlo
