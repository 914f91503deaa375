#pragma once
// Conversion of this platform's text (UTF-8) to the OEM code page of DOS
// consoles and files, code page 850.

#include "platform/rtl/Types.h"

namespace orlo {

// One byte of code page 850 per character of S. Characters the code page
// lacks, and bytes that are not UTF-8, become "?".
String AnsiToOem(const String& S);

} // namespace orlo
