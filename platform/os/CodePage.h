#pragma once
// Conversion of this platform's text (UTF-8) to the OEM code page of DOS
// consoles and files, code page 850.

#include "platform/rtl/Types.h"

namespace orlo {

// One byte of code page 850 per character of S. Characters the code page
// lacks, and bytes that are not UTF-8, become "?".
String AnsiToOem(const String& S);

// Whether S is well-formed UTF-8 (no overlong forms, surrogates or code
// points beyond U+10FFFF).
bool IsValidUtf8(const String& S);
// Text in the Windows ANSI code page 1252 as UTF-8; the five bytes the code
// page leaves undefined stand for the control characters of the same number.
String Windows1252ToUtf8(const String& S);

} // namespace orlo
