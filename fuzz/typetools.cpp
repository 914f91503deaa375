// Set and enumeration texts from outside (stored translations, edited values):
// StrToSet and StrToEnum either read them or raise ETypeToolError, and what
// StrToSet reads writes back to the same value.

#include "runtime/TypeTools.h"
#include "tests/components/TestComponents.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace orlo;
using namespace orlo::test;

const TTypeInfo* UpperDigits() { // a set over 5..9, the range starting above 0
    static const TTypeInfo Element = [] {
        TTypeInfo Info = MakeEnumTypeInfo("TDigit", "d0,d1,d2,d3,d4,d5,d6,d7,d8,d9");
        Info.Data.MinValue = 5;
        return Info;
    }();
    static const TTypeInfo Info = MakeSetTypeInfo("TUpperDigits", &Element);
    return &Info;
}

void CheckSet(const TTypeInfo* SetType, const String& Text) {
    Integer Value = 0;
    try {
        Value = StrToSet(SetType, Text);
    } catch (const ETypeToolError&) {
        return;
    }
    if (StrToSet(SetType, SetToStr(SetType, Value)) != Value)
        std::abort();
}

void CheckEnum(const TTypeInfo* EnumType, const String& Text) {
    try {
        if (EnumToStr(EnumType, StrToEnum(EnumType, Text)).size() != Text.size())
            std::abort();
    } catch (const ETypeToolError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    CheckSet(TypeInfoOf<TTestFontStyles>(), Text);
    CheckSet(UpperDigits(), Text);
    CheckEnum(TypeInfoOf<TTestAlign>(), Text);
    return 0;
}
