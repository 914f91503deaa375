#pragma once
// UTF-8 and UTF-16 conversions that the stream formats need: wide strings of
// the binary form, "#n" characters of the text form and the names in resource
// files.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

// Appends the UTF-8 bytes of CodePoint (up to U+10FFFF).
void AppendUtf8(String& Text, char32_t CodePoint);
// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD.
String Utf16ToUtf8(const std::vector<char16_t>& Units);
// UTF-8 as UTF-16 code units; a byte that is not part of valid UTF-8 stands
// for the character of the same number.
std::vector<char16_t> Utf8ToUtf16(const String& Text);
// The character that starts at Text[Pos], advancing Pos behind it; a byte
// that does not start valid UTF-8 is returned as itself.
char32_t NextCodePoint(const String& Text, size_t& Pos);

} // namespace orlo
