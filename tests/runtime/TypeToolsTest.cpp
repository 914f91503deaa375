#include "runtime/TypeTools.h"
#include "tests/components/TestComponents.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orlo;
using namespace orlo::test;

namespace {

// The text of the ETypeToolError that Action raises.
String FailureOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const ETypeToolError& Error) {
        return Error.Message();
    }
    return "(nothing raised)";
}

const TTypeInfo* AlignInfo() {
    return TypeInfoOf<TTestAlign>();
}
const TTypeInfo* StylesInfo() {
    return TypeInfoOf<TTestFontStyles>();
}
const TTypeInfo* StyleInfo() {
    return TypeInfoOf<TTestFontStyle>();
}
const TTypeInfo* BooleanInfo() {
    return TypeInfoOf<bool>();
}

// Enumerations whose ranges do not start at their first name.
TTypeInfo EnumRange(const char* Names, Int64 Min, Int64 Max) {
    TTypeInfo Info = MakeEnumTypeInfo("TRange", Names);
    Info.Data.MinValue = Min;
    Info.Data.MaxValue = Max;
    return Info;
}

const TTypeInfo* MiddleAlignInfo() { // alTop..alLeft
    static const TTypeInfo Info = EnumRange("alNone,alTop,alBottom,alLeft,alRight,alClient", 1, 3);
    return &Info;
}

const TTypeInfo* EmptyEnumInfo() {
    static const TTypeInfo Info = EnumRange("alNone", 0, -1);
    return &Info;
}

const TTypeInfo* UpperDigitsInfo() { // set of d5..d9
    static const TTypeInfo Element = EnumRange("d0,d1,d2,d3,d4,d5,d6,d7,d8,d9", 5, 9);
    static const TTypeInfo Info = MakeSetTypeInfo("TUpperDigits", &Element);
    return &Info;
}

const TTypeInfo* BooleanSetInfo() {
    static const TTypeInfo Info = MakeSetTypeInfo("TBooleans", BooleanInfo());
    return &Info;
}

const TTypeInfo* WideSetInfo() { // an element type with more ordinals than a set has bits
    static const TTypeInfo Element = [] {
        String Names;
        for (int I = 0; I < 40; ++I)
            Names += (I ? ",w" : "w") + std::to_string(I);
        return MakeEnumTypeInfo("TWide", Names.c_str());
    }();
    static const TTypeInfo Info = MakeSetTypeInfo("TWideSet", &Element);
    return &Info;
}

} // namespace

TEST(TypeTools, EnumTypeDeclListsTheNamesOfTheRange) {
    struct Case {
        const TTypeInfo* Info;
        const char* Expected;
    };
    for (Case C : {Case{BooleanInfo(), "False,True"},
                   Case{AlignInfo(), "alNone,alTop,alBottom,alLeft,alRight,alClient"},
                   Case{MiddleAlignInfo(), "alTop,alBottom,alLeft"}, Case{EmptyEnumInfo(), ""}})
        EXPECT_EQ(EnumTypeDecl(C.Info), C.Expected) << C.Expected;
    EXPECT_EQ(SetTypeDecl(StylesInfo()), "fsBold,fsItalic,fsUnderline,fsStrikeOut");
    EXPECT_EQ(SetTypeDecl(UpperDigitsInfo()), "d5,d6,d7,d8,d9");
}

TEST(TypeTools, EnumToStrAndStrToEnumStayInsideTheRange) {
    struct Case {
        const TTypeInfo* Info;
        Integer Value;
        const char* Name;
    };
    for (Case C : {Case{BooleanInfo(), 1, "True"}, Case{AlignInfo(), 0, "alNone"},
                   Case{AlignInfo(), 5, "alClient"}, Case{MiddleAlignInfo(), 3, "alLeft"}}) {
        EXPECT_EQ(EnumToStr(C.Info, C.Value), C.Name);
        EXPECT_EQ(StrToEnum(C.Info, C.Name), C.Value) << C.Name;
    }
    EXPECT_EQ(StrToEnum(AlignInfo(), "ALCLIENT"), 5);

    const String Invalid = "EnumToStr failed. Invalid ordinal value";
    for (auto [Info, Value] : {std::pair{AlignInfo(), -1}, std::pair{AlignInfo(), 6},
                               std::pair{MiddleAlignInfo(), 0}, std::pair{MiddleAlignInfo(), 4}})
        EXPECT_EQ(FailureOf([&] { EnumToStr(Info, Value); }), Invalid) << Value;

    const String NotFound = "StrToEnum failed. String value not found in enumeration type";
    for (auto [Info, Name] :
         {std::pair{AlignInfo(), "alNowhere"}, std::pair{AlignInfo(), ""},
          std::pair{AlignInfo(), " alTop"}, std::pair{AlignInfo(), "alTop "},
          std::pair{MiddleAlignInfo(), "alNone"}, std::pair{MiddleAlignInfo(), "alClient"}})
        EXPECT_EQ(FailureOf([&] { StrToEnum(Info, Name); }), NotFound) << Name;
}

TEST(TypeTools, RoutinesRefuseTypesOfAnotherKind) {
    const TTypeInfo* Integer = TypeInfoOf<orlo::Integer>();
    struct Case {
        std::function<void()> Action;
        const char* Message;
    };
    const Case Cases[] = {
        {[&] { EnumTypeDecl(Integer); }, "EnumTypeDecl failed. Not an enumeration"},
        {[&] { EnumTypeDecl(StylesInfo()); }, "EnumTypeDecl failed. Not an enumeration"},
        {[&] { EnumTypeDecl(nullptr); }, "EnumTypeDecl failed. Not an enumeration"},
        {[&] { EnumToStr(Integer, 0); }, "EnumToStr failed. Not an enumeration"},
        {[&] { StrToEnum(StylesInfo(), "fsBold"); }, "StrToEnum failed. Not an enumeration"},
        {[&] { SetTypeDecl(AlignInfo()); }, "SetTypeDecl failed. Not a set"},
        {[&] { SetTypeDecl(nullptr); }, "SetTypeDecl failed. Not a set"},
        {[&] { SetToStr(StyleInfo(), 1); }, "SetToStr failed. Not a set"},
        {[&] { StrToSet(StyleInfo(), "[]"); }, "StrToSet failed. Not a set"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(FailureOf(C.Action), C.Message);
}

TEST(TypeTools, SetToStrNamesTheElementsOfTheSetBits) {
    struct Case {
        const TTypeInfo* Info;
        Integer Value;
        const char* Text;
    };
    for (Case C : {
             Case{StylesInfo(), 0, "[]"},
             Case{StylesInfo(), 1, "[fsBold]"},
             Case{StylesInfo(), 0b0101, "[fsBold,fsUnderline]"},
             Case{StylesInfo(), 0b1111, "[fsBold,fsItalic,fsUnderline,fsStrikeOut]"},
             // Bits without an element are not named.
             Case{StylesInfo(), 0b110010, "[fsItalic]"},
             Case{StylesInfo(), INT32_MIN, "[]"},
             // Bit n is ordinal n also when the range starts above 0.
             Case{UpperDigitsInfo(), (1 << 5) | (1 << 9), "[d5,d9]"},
             Case{UpperDigitsInfo(), 0b11111, "[]"},
             Case{WideSetInfo(), INT32_MIN | 1, "[w0,w31]"},
         })
        EXPECT_EQ(SetToStr(C.Info, C.Value), C.Text) << C.Text;
}

TEST(TypeTools, StrToSetReadsWellFormedTexts) {
    struct Case {
        const TTypeInfo* Info;
        const char* Text;
        Integer Value;
    };
    for (Case C : {
             Case{StylesInfo(), "[]", 0},
             Case{StylesInfo(), "   []  ", 0},
             Case{StylesInfo(), "\t[]\r\n", 0},
             Case{StylesInfo(), "[fsBold]", 1},
             Case{StylesInfo(), "[fsUnderline,fsBold]", 0b0101},
             Case{StylesInfo(), "[FSITALIC]", 0b0010},
             Case{StylesInfo(), "[fsBold,fsBold]", 1},
             Case{StylesInfo(), "[fsBold,]", 1}, // a trailing separator is accepted
             Case{StylesInfo(), " [fsBold,fsItalic,fsUnderline,fsStrikeOut] ", 0b1111},
             Case{UpperDigitsInfo(), "[d9,d5]", (1 << 5) | (1 << 9)},
             Case{BooleanSetInfo(), "[True]", 0b10},
             // No more names are read than the type has elements.
             Case{BooleanSetInfo(), "[False,True,Maybe]", 0b11},
             Case{WideSetInfo(), "[w31,w0]", static_cast<Integer>(0x80000001u)},
         })
        EXPECT_EQ(StrToSet(C.Info, C.Text), C.Value) << C.Text;
}

TEST(TypeTools, StrToSetRefusesMalformedTexts) {
    const String Malformed = "StrToSet failed. Malformed set text";
    for (const char* Text :
         {"", "   ", "fsBold", "fsBold]", "[", "[fsBold", "[fsBold,", "[fsBold]x", "[]x", "[] ]",
          "[,fsBold]", "[fsBold,,fsItalic]", "([fsBold])", "[fsBold]]"})
        EXPECT_EQ(FailureOf([&] { StrToSet(StylesInfo(), Text); }), Malformed) << Text;

    // Blanks inside the brackets are part of the names.
    const String NotFound = "StrToEnum failed. String value not found in enumeration type";
    for (const char* Text : {"[fsBold, fsItalic]", "[ fsBold]", "[fsBold ]", "[fsNone]"})
        EXPECT_EQ(FailureOf([&] { StrToSet(StylesInfo(), Text); }), NotFound) << Text;
    EXPECT_EQ(FailureOf([&] { StrToSet(UpperDigitsInfo(), "[d4]"); }), NotFound);

    EXPECT_EQ(FailureOf([&] { StrToSet(WideSetInfo(), "[w32]"); }),
              "StrToSet failed. Set element out of range");
}

TEST(TypeTools, SetTextsRoundTrip) {
    for (Integer Value = 0; Value < 16; ++Value)
        EXPECT_EQ(StrToSet(StylesInfo(), SetToStr(StylesInfo(), Value)), Value) << Value;
    for (Integer Value = 0; Value < 32; ++Value) {
        const Integer Bits = Value << 5;
        EXPECT_EQ(StrToSet(UpperDigitsInfo(), SetToStr(UpperDigitsInfo(), Bits)), Bits) << Bits;
    }
}
