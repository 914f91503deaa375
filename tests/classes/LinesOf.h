#pragma once
// The lines of a string list as a vector, to compare in one assertion.

#include "platform/classes/Strings.h"
#include "platform/rtl/Types.h"

#include <vector>

namespace orlo::test {

inline std::vector<String> LinesOf(const TStrings& List) {
    std::vector<String> Result;
    for (Integer I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}

} // namespace orlo::test
