#include "platform/classes/TextCodec.h"

namespace orlo {

namespace {

bool IsContinuation(unsigned char C) {
    return (C & 0xC0) == 0x80;
}

bool IsHighSurrogate(char32_t U) {
    return U >= 0xD800 && U <= 0xDBFF;
}

bool IsLowSurrogate(char32_t U) {
    return U >= 0xDC00 && U <= 0xDFFF;
}

} // namespace

void AppendUtf8(String& Text, char32_t CodePoint) {
    if (CodePoint < 0x80) {
        Text += static_cast<char>(CodePoint);
    } else if (CodePoint < 0x800) {
        Text += static_cast<char>(0xC0 | (CodePoint >> 6));
        Text += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else if (CodePoint < 0x10000) {
        Text += static_cast<char>(0xE0 | (CodePoint >> 12));
        Text += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (CodePoint & 0x3F));
    } else {
        Text += static_cast<char>(0xF0 | (CodePoint >> 18));
        Text += static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
        Text += static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (CodePoint & 0x3F));
    }
}

String Utf16ToUtf8(const std::vector<char16_t>& Units) {
    String Result;
    Result.reserve(Units.size());
    for (size_t I = 0; I < Units.size(); ++I) {
        char32_t U = Units[I];
        if (IsHighSurrogate(U) && I + 1 < Units.size() && IsLowSurrogate(Units[I + 1])) {
            U = 0x10000 + ((U - 0xD800) << 10) + (Units[I + 1] - 0xDC00);
            ++I;
        } else if (IsHighSurrogate(U) || IsLowSurrogate(U)) {
            U = 0xFFFD;
        }
        AppendUtf8(Result, U);
    }
    return Result;
}

char32_t NextCodePoint(const String& Text, size_t& Pos) {
    auto Lead = static_cast<unsigned char>(Text[Pos]);
    size_t Count = (Lead >= 0xC2 && Lead <= 0xDF)   ? 1
                   : (Lead >= 0xE0 && Lead <= 0xEF) ? 2
                   : (Lead >= 0xF0 && Lead <= 0xF4) ? 3
                                                    : 0;
    if (Count == 0 || Pos + Count >= Text.size()) {
        ++Pos;
        return Lead;
    }
    char32_t Result = Lead & (0x7F >> (Count + 1));
    for (size_t I = 1; I <= Count; ++I) {
        auto C = static_cast<unsigned char>(Text[Pos + I]);
        if (!IsContinuation(C)) {
            ++Pos;
            return Lead;
        }
        Result = (Result << 6) | (C & 0x3F);
    }
    // Overlong forms and surrogates are not valid UTF-8: take the byte alone.
    bool Valid =
        Count == 1 ||
        (Count == 2 && Result >= 0x800 && !IsHighSurrogate(Result) && !IsLowSurrogate(Result)) ||
        (Count == 3 && Result >= 0x10000 && Result <= 0x10FFFF);
    if (!Valid) {
        ++Pos;
        return Lead;
    }
    Pos += Count + 1;
    return Result;
}

std::vector<char16_t> Utf8ToUtf16(const String& Text) {
    std::vector<char16_t> Units;
    Units.reserve(Text.size());
    for (size_t Pos = 0; Pos < Text.size();) {
        char32_t U = NextCodePoint(Text, Pos);
        if (U >= 0x10000) {
            Units.push_back(static_cast<char16_t>(0xD800 + ((U - 0x10000) >> 10)));
            Units.push_back(static_cast<char16_t>(0xDC00 + ((U - 0x10000) & 0x3FF)));
        } else {
            Units.push_back(static_cast<char16_t>(U));
        }
    }
    return Units;
}

} // namespace orlo
