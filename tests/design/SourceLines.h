#pragma once
// Source text from its lines, each ended by CR LF.

#include "platform/rtl/Types.h"

#include <initializer_list>

namespace orlo::test {

inline String Lines(std::initializer_list<const char*> L) {
    String Result;
    for (const char* Line : L)
        Result += String(Line) + "\r\n";
    return Result;
}

} // namespace orlo::test
