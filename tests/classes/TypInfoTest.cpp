#include "platform/classes/TypInfo.h"
#include "tests/components/TestComponents.h"

#include <gtest/gtest.h>

using namespace orlo;
using namespace orlo::test;

TEST(TypInfo, PropListYieldsAncestorsFirstInDeclarationOrder) {
    TTestLabel Label(nullptr);
    std::vector<String> Names;
    for (const TPropInfo* Info : GetPropList(&Label))
        Names.push_back(Info->Name);
    EXPECT_EQ(Names, (std::vector<String>{"Name", "Tag", "Caption", "Font", "Hint", "Visible"}));
    EXPECT_EQ(GetPropList(&Label, TTypeKinds{tkClass}).size(), 1u);
}

TEST(TypInfo, KindsAndTypeData) {
    TTestKinds K(nullptr);
    struct Case {
        const char* Prop;
        TTypeKind Kind;
        const char* TypeName;
    };
    for (Case C :
         {Case{"Align", tkEnumeration, "TTestAlign"}, Case{"Styles", tkSet, "TTestFontStyles"},
          Case{"Ratio", tkFloat, "Double"}, Case{"Stamp", tkFloat, "TDateTime"},
          Case{"Big", tkInt64, "Int64"}, Case{"Letter", tkChar, "Char"},
          Case{"Data", tkVariant, "Variant"}, Case{"Small", tkInteger, "TSmallRange"},
          Case{"Enabled", tkEnumeration, "Boolean"}, Case{"Ref", tkClass, "TComponent"},
          Case{"OnClick", tkMethod, "TNotifyEvent"}, Case{"Name", tkLString, "TComponentName"}}) {
        const TPropInfo* Info = GetPropInfo(&K, C.Prop);
        ASSERT_NE(Info, nullptr) << C.Prop;
        EXPECT_EQ(Info->PropType->Kind, C.Kind) << C.Prop;
        EXPECT_EQ(Info->PropType->Name, C.TypeName) << C.Prop;
    }
    const TTypeData* Set = GetTypeData(GetPropInfo(&K, "Styles")->PropType);
    EXPECT_EQ(GetEnumName(Set->CompType, 2), "fsUnderline");
    EXPECT_EQ(GetEnumValue(Set->CompType, "FSITALIC"), 1);
    EXPECT_EQ(GetEnumValue(Set->CompType, "fsNone"), -1);
    EXPECT_EQ(GetTypeData(GetPropInfo(&K, "Negative")->PropType)->MinValue, -9);
    EXPECT_EQ(GetPropInfo(&K, "nothing"), nullptr);
}

TEST(TypInfo, TypedAccessReadsAndWrites) {
    TTestKinds K(nullptr);
    SetOrdProp(&K, GetPropInfo(&K, "Align"), alClient);
    EXPECT_EQ(K.Align, alClient);
    SetOrdProp(&K, GetPropInfo(&K, "Styles"), 5);
    EXPECT_EQ(K.Styles, (TTestFontStyles{fsBold, fsUnderline}));
    SetFloatProp(&K, GetPropInfo(&K, "Amount"), 1.5L);
    EXPECT_EQ(K.Amount.Scaled, 15000);
    SetInt64Prop(&K, GetPropInfo(&K, "Big"), INT64_C(1) << 40);
    EXPECT_EQ(GetInt64Prop(&K, GetPropInfo(&K, "Big")), INT64_C(1) << 40);
    SetStrProp(&K, GetPropInfo(&K, "Name"), "Kinds");
    EXPECT_EQ(K.Name(), "Kinds");
    SetOrdProp(&K, GetPropInfo(&K, "Top"), 7);
    EXPECT_EQ(K.GetBound(1), 7);
    EXPECT_EQ(GetPropInfo(&K, "Top")->Index, 1);
    EXPECT_EQ(GetOrdProp(&K, GetPropInfo(&K, "ReadOnlyValue")), 42);
    EXPECT_THROW(SetOrdProp(&K, GetPropInfo(&K, "ReadOnlyValue"), 1), EPropertyError);
    EXPECT_THROW(GetStrProp(&K, GetPropInfo(&K, "Align")), EPropertyError);

    TTestLabel Other(nullptr);
    SetObjectProp(&K, GetPropInfo(&K, "Ref"), &Other);
    EXPECT_EQ(K.Ref, &Other);
    TTestFont Font;
    EXPECT_THROW(SetObjectProp(&K, GetPropInfo(&K, "Ref"), &Font), EPropertyError);
    EXPECT_EQ(K.Ref, &Other);
}

TEST(TypInfo, EventsBindThroughPublishedMethods) {
    TTestKinds K(nullptr);
    void* Code = K.MethodAddress("kindsclick");
    ASSERT_NE(Code, nullptr);
    EXPECT_EQ(K.MethodName(Code), "KindsClick");
    SetMethodProp(&K, GetPropInfo(&K, "OnClick"), TMethod{Code, &K});
    K.OnClick(&K);
    EXPECT_EQ(K.Clicks, 1);
    EXPECT_EQ(GetMethodProp(&K, GetPropInfo(&K, "OnClick")),
              MakeMethod<&TTestKinds::KindsClick>(&K));
}

TEST(TypInfo, StoredAndDefault) {
    TTestKinds K(nullptr);
    EXPECT_FALSE(IsStoredProp(&K, GetPropInfo(&K, "Name")));
    EXPECT_TRUE(IsStoredProp(&K, GetPropInfo(&K, "Tag")));
    EXPECT_EQ(GetPropInfo(&K, "Enabled")->Default, 1);
    EXPECT_EQ(GetPropInfo(&K, "Ratio")->Default, NoDefault);
}
