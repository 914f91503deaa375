#include "runtime/ClassInfo.h"

#include "platform/classes/Component.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/TypeTools.h"
#include "tests/components/TestComponents.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using namespace orlo;
using namespace orlo::test;

namespace {

ORLO_ENUM(TSampleMood, smCalm, smCheerful, smGrumpy)
ORLO_ENUM(TSampleDigit, sd0, sd1, sd2, sd3, sd4, sd5, sd6, sd7, sd8, sd9)
ORLO_SET(TSampleDigits, TSampleDigit)

// A set whose element range starts above 0: sd5..sd9.
const TTypeInfo* UpperDigitsTypeInfo() {
    static const TTypeInfo Element = [] {
        TTypeInfo Info = MakeEnumTypeInfo("TUpperDigit", "sd0,sd1,sd2,sd3,sd4,sd5,sd6,sd7,sd8,sd9");
        Info.Data.MinValue = 5;
        return Info;
    }();
    static const TTypeInfo Info = MakeSetTypeInfo("TUpperDigits", &Element);
    return &Info;
}

// What the shared test components lack: an enumeration without default, a set
// over a range above 0 and a stored predicate.
class TSample : public TComponent {
    ORLO_CLASS(TSample, TComponent)
public:
    explicit TSample(TComponent* AOwner) : TComponent(AOwner) {}
    bool HasNote() const { return !Note.empty(); }

    TSampleMood Mood = smCalm;
    TSampleDigits Upper;
    String Note;
};

ORLO_PUBLISHED(TSample, "SampleUnit") {
    P.Property("Mood", &TSample::Mood);
    P.Property("Upper", &TSample::Upper).Type(UpperDigitsTypeInfo());
    P.Property("Note", &TSample::Note).Stored(&TSample::HasNote);
}

// A property registered without type information.
class TUntyped : public TPersistent {
    ORLO_CLASS(TUntyped, TPersistent)
public:
    Integer Value = 0;
};

ORLO_PUBLISHED(TUntyped, "SampleUnit") {
    P.Property("Value", &TUntyped::Value).Type(nullptr);
}

// The text of the EObjectBrowseError that Action raises.
String BrowseFailure(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EObjectBrowseError& Error) {
        return Error.Message();
    }
    return "(nothing raised)";
}

String Hex(const void* Pointer) {
    return IntToHex(static_cast<Int64>(reinterpret_cast<intptr_t>(Pointer)), 16);
}

String Bytes(std::initializer_list<int> Values) {
    String Result;
    for (int V : Values)
        Result += static_cast<char>(V);
    return Result;
}

// A form with a few components: the accessor may store references to them.
class ClassInfoTest : public testing::Test {
protected:
    ClassInfoTest() {
        Kinds->SetName("Kinds");
        Label->SetName("Label1");
    }

    // Selects the property named PropName of Instance.
    static TClassInfo On(TObject* Instance, const char* PropName) {
        TClassInfo Info(Instance);
        const Integer Index = Info.IndexOf(PropName);
        EXPECT_GE(Index, 0) << PropName;
        Info.Select(Index);
        return Info;
    }

    TComponent Form{nullptr};
    TTestKinds* Kinds = new TTestKinds(&Form);
    TTestLabel* Label = new TTestLabel(&Form);
    TSample* Sample = new TSample(&Form);
};

void ExpectResetState(const TClassInfo& Info) {
    EXPECT_EQ(Info.Instance(), nullptr);
    EXPECT_EQ(Info.ClassTypeInfo(), nullptr);
    EXPECT_EQ(Info.ClassTypeData(), nullptr);
    EXPECT_TRUE(Info.PropList().empty());
    EXPECT_EQ(Info.PropListSize(), 0);
    EXPECT_EQ(Info.PropInfo(), nullptr);
    EXPECT_EQ(Info.PropType(), nullptr);
    EXPECT_EQ(Info.Count(), 0);
    EXPECT_EQ(Info.Index(), -1);
    EXPECT_FALSE(Info.IsOrdinal());
    EXPECT_FALSE(Info.IsString());
    EXPECT_EQ(Info.Kind(), tkUnknown);
    EXPECT_TRUE(Info.Mode().Empty());
    EXPECT_EQ(Info.PropIndex(), -1);
}

} // namespace

// --- Targeting and selection ---------------------------------------------------

TEST_F(ClassInfoTest, ResetStateWithoutAnObjectAndAfterDone) {
    ExpectResetState(TClassInfo());
    ExpectResetState(TClassInfo(nullptr));
    ExpectResetState(TClassInfo(nullptr, GetPropInfo(Kinds, "Align")));

    TClassInfo Info = On(Kinds, "Align");
    Info.Done();
    ExpectResetState(Info);
    Info.Init(Kinds, GetPropInfo(Kinds, "Styles"));
    Info.SetInstance(nullptr);
    ExpectResetState(Info);
}

TEST_F(ClassInfoTest, InitListsEveryPublishedPropertyWithoutSelecting) {
    TClassInfo Info(Kinds);
    const auto Expected = GetPropList(Kinds);
    EXPECT_EQ(Info.Instance(), Kinds);
    EXPECT_EQ(Info.ClassTypeInfo(), TTestKinds::StaticClass()->ClassInfo());
    EXPECT_EQ(Info.ClassTypeData(), GetTypeData(Info.ClassTypeInfo()));
    EXPECT_EQ(Info.PropList(), Expected);
    EXPECT_EQ(Info.Count(), static_cast<Integer>(Expected.size()));
    EXPECT_EQ(Info.PropListSize(), Info.Count() * static_cast<Integer>(sizeof(void*)));
    EXPECT_EQ(Info.Index(), -1);
    EXPECT_EQ(Info.Kind(), tkUnknown);

    std::vector<String> Names;
    for (Integer I = 0; I < Info.Count(); ++I) {
        EXPECT_TRUE(Info.Select(I));
        Names.push_back(Info.Name());
    }
    EXPECT_EQ(Names.front(), "Name");
    EXPECT_EQ(Names.back(), "Top");
}

TEST_F(ClassInfoTest, ObjectWithoutTypeInformationOffersNothing) {
    TObject Plain;
    TClassInfo Info(&Plain);
    EXPECT_EQ(Info.Instance(), &Plain);
    EXPECT_EQ(Info.ClassTypeInfo(), nullptr);
    EXPECT_EQ(Info.Count(), 0);
    EXPECT_EQ(BrowseFailure([&] { Info.Select(0); }), "TClassInfo.Select: Invalid Index");
    EXPECT_EQ(Info.UnitName(), "");
    EXPECT_EQ(GetUnitNameOfClass(&Plain), "");
    EXPECT_EQ(GetUnitNameOfClass(nullptr), "");
    EXPECT_EQ(GetUnitNameOfClass(Kinds), "TestComponents");
    EXPECT_EQ(TClassInfo(Sample).UnitName(), "SampleUnit");
}

TEST_F(ClassInfoTest, GivenPropertyIsSelectedAtOnce) {
    const TPropInfo* Styles = GetPropInfo(Kinds, "Styles");
    TClassInfo Info(Kinds, Styles);
    EXPECT_EQ(Info.Count(), 1);
    EXPECT_EQ(Info.Index(), 0);
    EXPECT_TRUE(Info.PropList().empty());
    EXPECT_EQ(Info.PropRef(), Styles);
    EXPECT_EQ(Info.Kind(), tkSet);
    EXPECT_EQ(Info.IndexOf("styles"), 0);
    EXPECT_EQ(BrowseFailure([&] { Info.Select(1); }), "TClassInfo.Select: Invalid Index");

    // An inherited descriptor belongs to the descendant's instances too.
    TClassInfo Inherited(Label, TComponent::StaticClass()->FindProperty("Tag"));
    EXPECT_EQ(Inherited.Name(), "Tag");
}

TEST_F(ClassInfoTest, ForeignDescriptorIsRefusedAndNothingChanges) {
    TClassInfo Info = On(Kinds, "Align");
    EXPECT_EQ(BrowseFailure([&] { Info.Init(Kinds, GetPropInfo(Label, "Caption")); }),
              "TClassInfo.Init: Property does not belong to the object's class");
    EXPECT_EQ(Info.Name(), "Align");
    TObject Plain;
    EXPECT_EQ(BrowseFailure([&] { TClassInfo Probe(&Plain, GetPropInfo(Label, "Caption")); }),
              "TClassInfo.Init: Property does not belong to the object's class");
}

TEST_F(ClassInfoTest, SelectDescribesTheProperty) {
    struct Case {
        const char* Prop;
        TTypeKind Kind;
        bool Ordinal;
        bool String;
        TPropModes Mode;
        Integer PropIndex;
        const char* Typ;
        const char* TypDef;
    };
    const TPropModes ReadWrite{pmRead, pmWrite};
    const Case Cases[] = {
        {"Name", tkLString, false, true, ReadWrite, NoDefault, "TComponentName", ""},
        {"Align", tkEnumeration, true, false, ReadWrite, NoDefault, "TTestAlign",
         "(alNone,alTop,alBottom,alLeft,alRight,alClient)"},
        {"Enabled", tkEnumeration, true, false, ReadWrite, NoDefault, "Boolean", "(False,True)"},
        {"Styles", tkSet, true, false, ReadWrite, NoDefault, "TTestFontStyles",
         "[fsBold,fsItalic,fsUnderline,fsStrikeOut]"},
        {"Small", tkInteger, true, false, ReadWrite, NoDefault, "TSmallRange", ""},
        {"Letter", tkChar, true, false, ReadWrite, NoDefault, "Char", ""},
        {"Ref", tkClass, true, false, ReadWrite, NoDefault, "TComponent", ""},
        {"Ratio", tkFloat, false, false, ReadWrite, NoDefault, "Double", ""},
        {"Stamp", tkFloat, false, false, ReadWrite, NoDefault, "TDateTime", ""},
        {"OnClick", tkMethod, false, false, ReadWrite, NoDefault, "TNotifyEvent", ""},
        {"Data", tkVariant, false, false, ReadWrite, NoDefault, "Variant", ""},
        {"Big", tkInt64, false, false, ReadWrite, NoDefault, "Int64", ""},
        {"ReadOnlyValue", tkInteger, true, false, TPropModes{pmRead}, NoDefault, "Integer", ""},
        {"Left", tkInteger, true, false, ReadWrite, 0, "Integer", ""},
        {"Top", tkInteger, true, false, ReadWrite, 1, "Integer", ""},
    };
    for (const Case& C : Cases) {
        TClassInfo Info = On(Kinds, C.Prop);
        EXPECT_EQ(Info.Name(), C.Prop);
        EXPECT_EQ(Info.Kind(), C.Kind) << C.Prop;
        EXPECT_EQ(Info.IsOrdinal(), C.Ordinal) << C.Prop;
        EXPECT_EQ(Info.IsString(), C.String) << C.Prop;
        EXPECT_EQ(Info.Mode(), C.Mode) << C.Prop;
        EXPECT_EQ(Info.PropIndex(), C.PropIndex) << C.Prop;
        EXPECT_EQ(Info.Typ(), C.Typ) << C.Prop;
        EXPECT_EQ(Info.TypDef(), C.TypDef) << C.Prop;
        EXPECT_EQ(Info.PropType(), GetPropInfo(Kinds, C.Prop)->PropType) << C.Prop;
    }
    EXPECT_EQ(On(Sample, "Upper").TypDef(), "[sd5,sd6,sd7,sd8,sd9]");
}

TEST_F(ClassInfoTest, InvalidIndexLeavesTheSelection) {
    TClassInfo Info = On(Kinds, "Styles");
    const Integer Selected = Info.Index();
    for (Integer Bad : {-1, Info.Count(), Info.Count() + 5}) {
        EXPECT_EQ(BrowseFailure([&] { Info.Select(Bad); }), "TClassInfo.Select: Invalid Index");
        EXPECT_EQ(Info.Index(), Selected);
        EXPECT_EQ(Info.Name(), "Styles");
        EXPECT_EQ(Info.Kind(), tkSet);
    }
}

TEST_F(ClassInfoTest, IndexOfFindsNamesWithoutRegardToCase) {
    TClassInfo Info(Label);
    EXPECT_EQ(Info.IndexOf("Caption"), 2);
    EXPECT_EQ(Info.IndexOf("  cAPTION "), 2);
    EXPECT_EQ(Info.IndexOf("Captions"), -1);
    EXPECT_EQ(TClassInfo().IndexOf("Caption"), -1);
}

TEST_F(ClassInfoTest, ReTargetingDropsTheSelection) {
    TClassInfo Info = On(Kinds, "Align");
    Info.SetInstance(Label);
    EXPECT_EQ(Info.Instance(), Label);
    EXPECT_EQ(Info.Index(), -1);
    EXPECT_EQ(Info.Kind(), tkUnknown);
    EXPECT_EQ(Info.Count(), TTestLabel::StaticClass()->PropCount());
}

TEST_F(ClassInfoTest, PropertyWithoutTypeInformationCannotBeUsed) {
    TUntyped Untyped;
    TClassInfo Info(&Untyped, TUntyped::StaticClass()->FindProperty("Value"));
    EXPECT_EQ(Info.Index(), 0);
    EXPECT_FALSE(Info.Select(0));
    EXPECT_EQ(Info.Kind(), tkUnknown);
    EXPECT_TRUE(Info.Mode().Empty());
    EXPECT_EQ(Info.PropIndex(), -1);
    EXPECT_EQ(BrowseFailure([&] { Info.GetValue(); }),
              "TClassInfo.GetValue: Property type information not available");
    EXPECT_EQ(BrowseFailure([&] { Info.Name(); }),
              "TClassInfo.Name: Property type information not available");
}

TEST_F(ClassInfoTest, EveryOperationNeedsASelection) {
    TClassInfo Info(Kinds);
    char Buffer[16] = {};
    struct Case {
        const char* Operation;
        std::function<void()> Action;
    };
    const Case Cases[] = {
        {"PropRef", [&] { Info.PropRef(); }},
        {"Name", [&] { Info.Name(); }},
        {"Typ", [&] { Info.Typ(); }},
        {"TypDef", [&] { Info.TypDef(); }},
        {"GetValue", [&] { Info.GetValue(); }},
        {"SetValue", [&] { Info.SetValue(Variant(1)); }},
        {"GetAsInteger", [&] { Info.GetAsInteger(); }},
        {"SetAsInteger", [&] { Info.SetAsInteger(1); }},
        {"GetAsObject", [&] { Info.GetAsObject(); }},
        {"SetAsObject", [&] { Info.SetAsObject(nullptr); }},
        {"GetAsMethod", [&] { Info.GetAsMethod(); }},
        {"SetAsMethod", [&] { Info.SetAsMethod(TMethod{}); }},
        {"GetAsFloat", [&] { Info.GetAsFloat(); }},
        {"SetAsFloat", [&] { Info.SetAsFloat(1); }},
        {"GetAsString", [&] { Info.GetAsString(); }},
        {"SetAsString", [&] { Info.SetAsString("x"); }},
        {"GetAsPChar", [&] { Info.GetAsPChar(); }},
        {"SetAsPChar", [&] { Info.SetAsPChar("x"); }},
        {"IsStored", [&] { Info.IsStored(); }},
        {"DefaultInteger", [&] { Info.DefaultInteger(); }},
        {"Default", [&] { Info.Default(); }},
        {"FormatValue", [&] { Info.FormatValue(0); }},
        {"EmptyValue", [&] { Info.EmptyValue(); }},
        {"Size", [&] { Info.Size(); }},
        {"CopyTo", [&] { Info.CopyTo(Buffer, 4); }},
        {"CopyFrom", [&] { Info.CopyFrom(Buffer, 4); }},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BrowseFailure(C.Action),
                  String("TClassInfo.") + C.Operation + ": No property selected");
    EXPECT_EQ(Info.UnitName(), "TestComponents");
}

TEST_F(ClassInfoTest, ReadOnlyPropertyIsReadButNotWritten) {
    TClassInfo Info = On(Kinds, "ReadOnlyValue");
    EXPECT_EQ(Info.GetValue(), Variant(42));
    EXPECT_EQ(Info.GetAsInteger(), 42);
    EXPECT_EQ(Info.GetAsString(), "42");
    EXPECT_EQ(Info.Size(), 4);
    struct Case {
        const char* Operation;
        std::function<void()> Action;
    };
    const Case Cases[] = {
        {"SetValue", [&] { Info.SetValue(Variant(1)); }},
        {"SetAsInteger", [&] { Info.SetAsInteger(1); }},
        {"SetAsFloat", [&] { Info.SetAsFloat(1); }},
        {"SetAsString", [&] { Info.SetAsString("1"); }},
        {"SetAsPChar", [&] { Info.SetAsPChar("1"); }},
        {"SetAsObject", [&] { Info.SetAsObject(nullptr); }},
        {"SetAsMethod", [&] { Info.SetAsMethod(TMethod{}); }},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BrowseFailure(C.Action), String("TClassInfo.") + C.Operation +
                                               ": Method for read or write access not available");
}

// --- Values as Variant and text ------------------------------------------------

TEST_F(ClassInfoTest, GetValueGivesEachKindItsTextForm) {
    Kinds->Align = alBottom;
    Kinds->Styles = {fsBold, fsUnderline};
    Kinds->Ratio = 1.5;
    Kinds->Amount = Currency::FromDouble(2.25);
    Kinds->Letter = 'Z';
    Kinds->Small = 7;
    Kinds->Negative = -6;
    Kinds->Unsigned = 4000000000u;
    Kinds->Enabled = false;
    Kinds->Data = Variant(true);
    Label->SetCaption("&OK");
    struct Case {
        TObject* Instance;
        const char* Prop;
        Variant Expected;
    };
    const Case Cases[] = {
        {Kinds, "Align", Variant("alBottom")},
        {Kinds, "Styles", Variant("[fsBold,fsUnderline]")},
        {Kinds, "Ratio", Variant(1.5)},
        {Kinds, "Amount", Variant(2.25)},
        {Kinds, "Letter", Variant(90)},
        {Kinds, "Small", Variant(7)},
        {Kinds, "Negative", Variant(-6)},
        {Kinds, "Unsigned", Variant(Int64(4000000000))}, // beyond Integer, nothing lost
        {Kinds, "Enabled", Variant("False")},
        {Kinds, "Data", Variant(true)},
        {Kinds, "Name", Variant("Kinds")},
        {Label, "Caption", Variant("&OK")},
        {Sample, "Upper", Variant("[]")},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(On(C.Instance, C.Prop).GetValue(), C.Expected) << C.Prop;

    Kinds->Letter = '\xE9';
    EXPECT_EQ(On(Kinds, "Letter").GetValue(), Variant(0xE9));
    Sample->Upper = {sd5, sd8};
    EXPECT_EQ(On(Sample, "Upper").GetValue(), Variant("[sd5,sd8]"));
}

TEST_F(ClassInfoTest, SetValueTakesEachKindsTextForm) {
    struct Case {
        const char* Prop;
        Variant Value;
        std::function<bool()> Stored;
    };
    const Case Cases[] = {
        {"Align", Variant("alClient"), [&] { return Kinds->Align == alClient; }},
        {"Align", Variant("ALLEFT"), [&] { return Kinds->Align == alLeft; }},
        {"Styles", Variant(" [fsItalic,fsStrikeOut] "),
         [&] {
             return Kinds->Styles == TTestFontStyles{fsItalic, fsStrikeOut};
         }},
        {"Ratio", Variant(2.75), [&] { return Kinds->Ratio == 2.75; }},
        {"Ratio", Variant("0.5"), [&] { return Kinds->Ratio == 0.5; }},
        {"Scale", Variant(3), [&] { return Kinds->Scale == 3.0f; }},
        {"Letter", Variant(66), [&] { return Kinds->Letter == 'B'; }},
        {"Small", Variant("8"), [&] { return Kinds->Small == 8; }},
        {"Unsigned", Variant(Int64(4000000000)), [&] { return Kinds->Unsigned == 4000000000u; }},
        {"Enabled", Variant("false"), [&] { return !Kinds->Enabled; }},
        {"Data", Variant(Int64(1) << 40), [&] { return Kinds->Data == Variant(Int64(1) << 40); }},
        {"Name", Variant("Renamed"), [&] { return Kinds->Name() == "Renamed"; }},
        {"Left", Variant(12), [&] { return Kinds->GetBound(0) == 12; }},
    };
    for (const Case& C : Cases) {
        On(Kinds, C.Prop).SetValue(C.Value);
        EXPECT_TRUE(C.Stored()) << C.Prop << " " << C.Value.AsString();
    }
    On(Label, "Caption").SetValue(Variant("Hello"));
    EXPECT_EQ(Label->Caption(), "Hello");
    On(Sample, "Upper").SetValue(Variant("[sd9,sd6]"));
    EXPECT_EQ(Sample->Upper, (TSampleDigits{sd6, sd9}));
}

TEST_F(ClassInfoTest, FailedConversionsLeaveTheValue) {
    Kinds->Align = alTop;
    Kinds->Styles = {fsBold};
    Kinds->Small = 6;
    auto Failure = [&](const char* Prop, const char* Text) -> String {
        try {
            On(Kinds, Prop).SetValue(Variant(Text));
        } catch (const Exception& Error) {
            return Error.Message();
        }
        return "(nothing raised)";
    };
    EXPECT_EQ(Failure("Align", "alNowhere"),
              "StrToEnum failed. String value not found in enumeration type");
    EXPECT_EQ(Failure("Styles", "[fsBold"), "StrToSet failed. Malformed set text");
    EXPECT_EQ(Failure("Styles", "[fsBold, fsItalic]"),
              "StrToEnum failed. String value not found in enumeration type");
    EXPECT_NE(Failure("Small", "seven"), "(nothing raised)");
    EXPECT_EQ(Kinds->Align, alTop);
    EXPECT_EQ(Kinds->Styles, TTestFontStyles{fsBold});
    EXPECT_EQ(Kinds->Small, 6);
}

TEST_F(ClassInfoTest, KindsWithoutTextFormAreRefused) {
    TClassInfo Info = On(Kinds, "Big");
    char Buffer[8] = {};
    struct Case {
        const char* Operation;
        std::function<void()> Action;
    };
    const Case Cases[] = {
        {"GetValue", [&] { Info.GetValue(); }},
        {"SetValue", [&] { Info.SetValue(Variant(1)); }},
        {"GetAsString", [&] { Info.GetAsString(); }},
        {"GetAsInteger", [&] { Info.GetAsInteger(); }},
        {"Size", [&] { Info.Size(); }},
        {"CopyTo", [&] { Info.CopyTo(Buffer, 8); }},
        {"CopyFrom", [&] { Info.CopyFrom(Buffer, 8); }},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BrowseFailure(C.Action),
                  String("TClassInfo.") + C.Operation + ": Type cannot be handled");
    EXPECT_EQ(Kinds->Big, 0);
}

TEST_F(ClassInfoTest, ObjectReferenceTextRoundTrips) {
    TClassInfo Info = On(Kinds, "Ref");
    EXPECT_EQ(Info.GetValue(), Variant("0000000000000000h"));

    Kinds->Ref = Label;
    const String Text = Info.GetAsString();
    EXPECT_EQ(Text, Hex(Label) + "h");
    EXPECT_EQ(Text.size(), 17u);
    Info.SetValue(Variant("0000000000000000h"));
    EXPECT_EQ(Kinds->Ref, nullptr);
    Info.SetValue(Variant(Text));
    EXPECT_EQ(Kinds->Ref, Label);

    // Other spellings of nil, the stored 8-digit form among them.
    for (const char* Nil : {"00000000h", "0", "", " 0000000000000000H "}) {
        Kinds->Ref = Label;
        Info.SetValue(Variant(Nil));
        EXPECT_EQ(Kinds->Ref, nullptr) << Nil;
    }
}

TEST_F(ClassInfoTest, ObjectReferencesOnlyToKnownObjects) {
    TClassInfo Info = On(Kinds, "Ref");
    // Components of the instance's tree, the root included.
    for (TComponent* Known :
         {static_cast<TComponent*>(Sample), &Form, static_cast<TComponent*>(Kinds)}) {
        Info.SetValue(Variant(Hex(Known) + "h"));
        EXPECT_EQ(Kinds->Ref, Known);
    }
    // Nested ownership counts too.
    auto* Nested = new TTestLabel(Label);
    Info.SetValue(Variant(Hex(Nested) + "h"));
    EXPECT_EQ(Kinds->Ref, Nested);

    TTestLabel Stranger(nullptr);
    Kinds->Ref = Label;
    EXPECT_EQ(BrowseFailure([&] { Info.SetValue(Variant(Hex(&Stranger) + "h")); }),
              "TClassInfo.SetValue: Unknown object reference");
    EXPECT_EQ(BrowseFailure([&] { Info.SetValue(Variant("0000000012345678h")); }),
              "TClassInfo.SetValue: Unknown object reference");
    EXPECT_EQ(BrowseFailure([&] { Info.SetAsInteger(reinterpret_cast<intptr_t>(&Stranger)); }),
              "TClassInfo.SetAsInteger: Unknown object reference");
    EXPECT_EQ(BrowseFailure([&] { Info.SetValue(Variant("000000000000000000h")); }),
              "TClassInfo.SetValue: Invalid object reference");
    EXPECT_THROW(Info.SetValue(Variant("00000000000000G0h")), EConvertError);
    EXPECT_EQ(Kinds->Ref, Label);

    // A known object of the wrong class is refused by the property itself.
    TClassInfo Font = On(Label, "Font");
    EXPECT_THROW(Font.SetValue(Variant(Hex(Kinds) + "h")), EPropertyError);
}

TEST_F(ClassInfoTest, MethodTextRoundTrips) {
    TClassInfo Info = On(Kinds, "OnClick");
    EXPECT_EQ(Info.GetValue(), Variant(String(32, '0') + "h"));

    const TMethod Handler = MakeMethod<&TTestKinds::KindsClick>(Kinds);
    Kinds->OnClick = TNotifyEvent(Handler);
    const String Text = Info.GetAsString();
    EXPECT_EQ(Text, Hex(Handler.Code) + Hex(Handler.Data) + "h");
    EXPECT_EQ(Text.size(), 33u);

    Info.SetValue(Variant(String(32, '0') + "h"));
    EXPECT_FALSE(Kinds->OnClick.Assigned());
    Info.SetValue(Variant(Text));
    EXPECT_EQ(static_cast<TMethod>(Kinds->OnClick), Handler);
    Kinds->OnClick(Kinds);
    EXPECT_EQ(Kinds->Clicks, 1);
    EXPECT_EQ(Info.GetAsMethod(), Handler);
}

TEST_F(ClassInfoTest, MethodTextIsChecked) {
    TClassInfo Info = On(Kinds, "OnClick");
    const TMethod Handler = MakeMethod<&TTestKinds::KindsClick>(Kinds);
    const String Text = Hex(Handler.Code) + Hex(Handler.Data) + "h";
    const String Invalid = "TClassInfo.SetValue: Invalid method descriptor";
    for (const String& Bad : {Text.substr(0, 32), Text.substr(0, 32) + "H", Text + "h",
                              String(16, '0') + "h", " " + Text, Text.substr(1) + " "})
        EXPECT_EQ(BrowseFailure([&] { Info.SetValue(Variant(Bad)); }), Invalid) << Bad;

    // Code that is no published method, or data that is no known object.
    TTestKinds Stranger(nullptr);
    const TMethod NotPublished{MethodThunk<&TTestKinds::SetBound>(), Kinds};
    const TMethod StrangeData = MakeMethod<&TTestKinds::KindsClick>(&Stranger);
    const TMethod NoCode{nullptr, Kinds};
    for (const TMethod& Bad : {NotPublished, StrangeData, NoCode})
        EXPECT_EQ(
            BrowseFailure([&] { Info.SetValue(Variant(Hex(Bad.Code) + Hex(Bad.Data) + "h")); }),
            "TClassInfo.SetValue: Unknown method reference");
    EXPECT_FALSE(Kinds->OnClick.Assigned());
}

TEST_F(ClassInfoTest, TypedAccessorsCheckTheKind) {
    Kinds->Align = alRight;
    Kinds->Ratio = 0.25;
    Kinds->Small = 9;
    EXPECT_EQ(On(Kinds, "Align").GetAsInteger(), alRight);
    EXPECT_EQ(On(Kinds, "Small").GetAsFloat(), 9.0L);
    EXPECT_EQ(On(Kinds, "Ratio").GetAsFloat(), 0.25L);
    EXPECT_EQ(On(Kinds, "Small").GetAsString(), "9");
    On(Kinds, "Styles").SetAsInteger(0b1010);
    EXPECT_EQ(Kinds->Styles, (TTestFontStyles{fsItalic, fsStrikeOut}));
    On(Kinds, "Ratio").SetAsFloat(-3.5L);
    EXPECT_EQ(Kinds->Ratio, -3.5);
    On(Kinds, "Ratio").SetAsString("1E3");
    EXPECT_EQ(Kinds->Ratio, 1000.0);

    TClassInfo Ref = On(Kinds, "Ref");
    Ref.SetAsObject(Label);
    EXPECT_EQ(Ref.GetAsObject(), Label);
    EXPECT_EQ(Ref.GetAsInteger(), reinterpret_cast<intptr_t>(Label));
    Ref.SetAsInteger(reinterpret_cast<intptr_t>(Sample));
    EXPECT_EQ(Kinds->Ref, Sample);
    Ref.SetAsInteger(0);
    EXPECT_EQ(Kinds->Ref, nullptr);

    TClassInfo Click = On(Kinds, "OnClick");
    Click.SetAsMethod(MakeMethod<&TTestKinds::KindsClick>(Kinds));
    EXPECT_EQ(Click.GetAsMethod(), MakeMethod<&TTestKinds::KindsClick>(Kinds));

    TClassInfo Align = On(Kinds, "Align");
    TClassInfo Ratio = On(Kinds, "Ratio");
    struct Case {
        std::function<void()> Action;
        const char* Message;
    };
    const Case Cases[] = {
        {[&] { Ratio.GetAsInteger(); }, "TClassInfo.GetAsInteger: Type cannot be handled"},
        {[&] { Ratio.SetAsInteger(1); }, "TClassInfo.SetAsInteger: Type cannot be handled"},
        {[&] { Click.GetAsInteger(); }, "TClassInfo.GetAsInteger: Type cannot be handled"},
        {[&] { Align.GetAsObject(); },
         "TClassInfo.GetAsObject: Property is not an object reference"},
        {[&] { Align.SetAsObject(nullptr); },
         "TClassInfo.SetAsObject: Property is not an object reference"},
        {[&] { Click.GetAsObject(); },
         "TClassInfo.GetAsObject: Property is not an object reference"},
        {[&] { Align.GetAsMethod(); },
         "TClassInfo.GetAsMethod: Property is not an method reference"},
        {[&] { Ref.SetAsMethod(TMethod{}); },
         "TClassInfo.SetAsMethod: Property is not an method reference"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BrowseFailure(C.Action), C.Message);
    EXPECT_THROW(Align.GetAsFloat(), EVariantError);
}

TEST_F(ClassInfoTest, PCharTextStaysUntilTheNextCall) {
    Label->SetCaption("First");
    TClassInfo Info = On(Label, "Caption");
    const char* Text = Info.GetAsPChar();
    Label->SetCaption("Second");
    EXPECT_STREQ(Text, "First");
    EXPECT_STREQ(Info.GetAsPChar(), "Second");
    Info.SetAsPChar("Third");
    EXPECT_EQ(Label->Caption(), "Third");
    Info.SetAsPChar(nullptr);
    EXPECT_EQ(Label->Caption(), "");
}

TEST_F(ClassInfoTest, IsStoredFollowsThePredicate) {
    EXPECT_FALSE(On(Kinds, "Name").IsStored());
    EXPECT_TRUE(On(Kinds, "Align").IsStored());
    TClassInfo Note = On(Sample, "Note");
    EXPECT_FALSE(Note.IsStored());
    Sample->Note = "remember";
    EXPECT_TRUE(Note.IsStored());
}

// --- Defaults and empty values -------------------------------------------------

TEST_F(ClassInfoTest, DefaultsInTextForm) {
    struct Case {
        TObject* Instance;
        const char* Prop;
        Integer Raw;
        Variant Formatted;
    };
    const Case Cases[] = {
        {Kinds, "Align", 0, Variant("alNone")},
        {Kinds, "Enabled", 1, Variant("True")},
        {Kinds, "Tag", 0, Variant(0)},
        {Label->Font(), "Style", 0, Variant("[]")},
        {Label->Font(), "Size", 8, Variant(8)},
        {Kinds, "Styles", NoDefault, Variant(NoDefault)},
        {Label, "Caption", NoDefault, Variant(NoDefault)},
        {Kinds, "Ref", NoDefault, Variant(-2147483647 - 1)},
    };
    for (const Case& C : Cases) {
        TClassInfo Info = On(C.Instance, C.Prop);
        EXPECT_EQ(Info.DefaultInteger(), C.Raw) << C.Prop;
        EXPECT_EQ(Info.Default(), C.Formatted) << C.Prop;
    }
}

TEST_F(ClassInfoTest, FormatValueByKind) {
    struct Case {
        TObject* Instance;
        const char* Prop;
        Integer Value;
        Variant Expected;
    };
    const Case Cases[] = {
        {Kinds, "Small", 6, Variant(6)},
        {Kinds, "Letter", 65, Variant("A")},
        {Kinds, "Align", 4, Variant("alRight")},
        {Kinds, "Enabled", 0, Variant("False")},
        {Kinds, "Styles", 0b0110, Variant("[fsItalic,fsUnderline]")},
        {Sample, "Upper", 1 << 7, Variant("[sd7]")},
        {Kinds, "Ratio", 7, Variant(7)},
        {Kinds, "Ref", 0, Variant(0)},
        {Label, "Caption", 3, Variant(3)},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(On(C.Instance, C.Prop).FormatValue(C.Value), C.Expected) << C.Prop;
    EXPECT_THROW(On(Kinds, "Align").FormatValue(6), ETypeToolError);
}

TEST_F(ClassInfoTest, EmptyValueIsTheDefaultOrTheOrdinalNearestZero) {
    struct Case {
        TObject* Instance;
        const char* Prop;
        Variant Expected;
    };
    const Case Cases[] = {
        {Sample, "Mood", Variant(0)},       // enumeration without default
        {Kinds, "Enabled", Variant(1)},     // its default
        {Kinds, "Small", Variant(5)},       // 5..9
        {Kinds, "Negative", Variant(-9)},   // -9..-5
        {Kinds, "Unsigned", Variant(0)},    // 0..4294967295
        {Kinds, "Letter", Variant(0)},      // 0..255
        {Kinds, "Styles", Variant(0)},      // the empty set
        {Sample, "Upper", Variant(0)},      // the empty set, also over 5..9
        {Kinds, "Ref", Variant(NoDefault)}, // no empty object
        {Label, "Caption", Variant("")},    // not ordinal
        {Kinds, "Ratio", Variant("")},      {Kinds, "OnClick", Variant("")},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(On(C.Instance, C.Prop).EmptyValue(), C.Expected) << C.Prop;
}

// --- Byte forms ----------------------------------------------------------------

TEST_F(ClassInfoTest, ByteFormsByKind) {
    Kinds->Align = alBottom;
    Kinds->Styles = {fsBold, fsStrikeOut};
    Kinds->Negative = -7;
    Kinds->Letter = 'Z';
    Kinds->Ratio = 1.0;
    Kinds->Data = Variant(Int64(-12));
    Label->SetCaption("Caption");
    struct Case {
        TObject* Instance;
        const char* Prop;
        String Expected;
    };
    const Case Cases[] = {
        {Kinds, "Align", Bytes({2, 0, 0, 0})},
        {Kinds, "Styles", Bytes({9, 0, 0, 0})},
        {Kinds, "Negative", Bytes({0xF9, 0xFF, 0xFF, 0xFF})},
        {Kinds, "Enabled", Bytes({1, 0, 0, 0})},
        {Kinds, "Letter", "Z"},
        {Kinds, "Ratio", Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {Kinds, "Ref", String(8, '\0')},
        {Kinds, "OnClick", String(16, '\0')},
        {Kinds, "Data", "-12"},
        {Label, "Caption", "Caption"},
        {Label, "Hint", ""},
    };
    for (const Case& C : Cases) {
        TClassInfo Info = On(C.Instance, C.Prop);
        ASSERT_EQ(Info.Size(), static_cast<Integer>(C.Expected.size())) << C.Prop;
        String Buffer(C.Expected.size(), '\x55');
        Info.CopyTo(Buffer.data(), Info.Size());
        EXPECT_EQ(Buffer, C.Expected) << C.Prop;
        EXPECT_EQ(BrowseFailure([&] { Info.CopyTo(Buffer.data(), Info.Size() + 1); }),
                  "TClassInfo.CopyTo: Invalid number of bytes to copy");
    }
}

TEST_F(ClassInfoTest, AVariantWithoutValueGivesTheBytesOfItsEmptyText) {
    TClassInfo Info = On(Kinds, "Data");
    for (const Variant& Value : {Variant::Null(), Variant()}) {
        Kinds->Data = Value;
        ASSERT_EQ(Info.Size(), 0) << VarTypeAsText(Value.VarType());
        Info.CopyTo(nullptr, 0);
        EXPECT_EQ(BrowseFailure([&] { Info.CopyTo(nullptr, 1); }),
                  "TClassInfo.CopyTo: Invalid number of bytes to copy");
    }
}

TEST_F(ClassInfoTest, AddressesTakeEightBytesEach) {
    Kinds->Ref = Label;
    const TMethod Handler = MakeMethod<&TTestKinds::KindsClick>(Kinds);
    Kinds->OnClick = TNotifyEvent(Handler);
    UInt64 Object = 0;
    On(Kinds, "Ref").CopyTo(&Object, 8);
    EXPECT_EQ(Object, reinterpret_cast<uintptr_t>(Label));
    UInt64 Method[2] = {};
    On(Kinds, "OnClick").CopyTo(Method, 16);
    EXPECT_EQ(Method[0], reinterpret_cast<uintptr_t>(Handler.Code));
    EXPECT_EQ(Method[1], reinterpret_cast<uintptr_t>(Handler.Data));
}

TEST_F(ClassInfoTest, CopyFromRestoresWhatCopyToWrote) {
    Kinds->Align = alLeft;
    Kinds->Styles = {fsItalic};
    Kinds->Negative = -8;
    Kinds->Unsigned = 0xFFFFFFF0u;
    Kinds->Letter = '\xF0';
    Kinds->Ratio = 0.1;
    Kinds->Precise = LDBL_TRUE_MIN * 3; // an 80-bit denormal
    Kinds->Scale = -0.0f;
    Kinds->Ref = Sample;
    Kinds->OnClick = TNotifyEvent(MakeMethod<&TTestKinds::KindsClick>(Kinds));
    Kinds->Data = Variant("text");
    Kinds->SetName("Saved");
    TTestKinds Blank(nullptr);
    for (const char* Prop : {"Align", "Styles", "Negative", "Unsigned", "Letter", "Ratio",
                             "Precise", "Scale", "Ref", "OnClick", "Data", "Name"}) {
        TClassInfo Info = On(Kinds, Prop);
        String Stored(static_cast<size_t>(Info.Size()), '\0');
        Info.CopyTo(Stored.data(), Info.Size());
        // Overwrite with the value of a fresh object, then write the bytes back.
        TClassInfo Fresh = On(&Blank, Prop);
        String Cleared(static_cast<size_t>(Fresh.Size()), '\0');
        Fresh.CopyTo(Cleared.data(), Fresh.Size());
        Info.CopyFrom(Cleared.data(), Fresh.Size());
        Info.CopyFrom(Stored.data(), static_cast<Integer>(Stored.size()));
    }
    EXPECT_EQ(Kinds->Align, alLeft);
    EXPECT_EQ(Kinds->Styles, TTestFontStyles{fsItalic});
    EXPECT_EQ(Kinds->Negative, -8);
    EXPECT_EQ(Kinds->Unsigned, 0xFFFFFFF0u);
    EXPECT_EQ(Kinds->Letter, '\xF0');
    EXPECT_EQ(Kinds->Ratio, 0.1);
    EXPECT_EQ(Kinds->Precise, LDBL_TRUE_MIN * 3);
    EXPECT_TRUE(std::signbit(Kinds->Scale));
    EXPECT_EQ(Kinds->Ref, Sample);
    EXPECT_EQ(static_cast<TMethod>(Kinds->OnClick), MakeMethod<&TTestKinds::KindsClick>(Kinds));
    EXPECT_EQ(Kinds->Data, Variant("text"));
    EXPECT_EQ(Kinds->Name(), "Saved");
}

TEST_F(ClassInfoTest, FloatsTakeTheEightyBitForm) {
    struct Case {
        double Value;
        String Expected;
    };
    const Case Cases[] = {
        {0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {1.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {0.5, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
        {-2.5, Bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
        {3.0, Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40})},
        {0.1, Bytes({0, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})},
        {HUGE_VAL, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
        {-HUGE_VAL, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF})},
    };
    TClassInfo Info = On(Kinds, "Ratio");
    for (const Case& C : Cases) {
        Kinds->Ratio = C.Value;
        String Encoded(10, '\0');
        Info.CopyTo(Encoded.data(), 10);
        EXPECT_EQ(Encoded, C.Expected) << C.Value;
        Kinds->Ratio = 42;
        Info.CopyFrom(Encoded.data(), 10);
        EXPECT_EQ(Kinds->Ratio, C.Value);
        EXPECT_EQ(std::signbit(Kinds->Ratio), std::signbit(C.Value));
    }
    for (double Value : {1e300, -1e-300, 4.9e-324, std::numeric_limits<double>::max()}) {
        Kinds->Ratio = Value;
        String Encoded(10, '\0');
        Info.CopyTo(Encoded.data(), 10);
        Kinds->Ratio = 0;
        Info.CopyFrom(Encoded.data(), 10);
        EXPECT_EQ(Kinds->Ratio, Value);
    }
    Kinds->Ratio = std::nan("");
    String Encoded(10, '\0');
    Info.CopyTo(Encoded.data(), 10);
    Kinds->Ratio = 0;
    Info.CopyFrom(Encoded.data(), 10);
    EXPECT_TRUE(std::isnan(Kinds->Ratio));
}

TEST_F(ClassInfoTest, CopyFromChecksTheSize) {
    char Buffer[32] = {};
    struct Case {
        const char* Prop;
        Integer Count;
        const char* Message;
    };
    const Case Cases[] = {
        {"Align", 3, "Invalid size of ordinal. Internal error"},
        {"Styles", 8, "Invalid size of ordinal. Internal error"},
        {"Small", 0, "Invalid size of ordinal. Internal error"},
        {"Ref", 4, "Invalid size of ordinal. Internal error"},
        {"Letter", 2, "Invalid size of character. Internal error"},
        {"Ratio", 8, "Invalid size of float. Internal error"},
        {"OnClick", 8, "Invalid size of method reference. Internal error"},
        {"Name", -1, "Invalid number of bytes to copy"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BrowseFailure([&] { On(Kinds, C.Prop).CopyFrom(Buffer, C.Count); }),
                  String("TClassInfo.CopyFrom: ") + C.Message)
            << C.Prop;
    EXPECT_EQ(BrowseFailure([&] { On(Kinds, "Align").CopyFrom(nullptr, 4); }),
              "TClassInfo.CopyFrom: Buffer not available");
}

TEST_F(ClassInfoTest, CopyFromTakesTextsOfAnyLength) {
    TClassInfo Caption = On(Label, "Caption");
    Caption.CopyFrom("Hello, world", 5);
    EXPECT_EQ(Label->Caption(), "Hello");
    Caption.CopyFrom(nullptr, 0);
    EXPECT_EQ(Label->Caption(), "");
    On(Kinds, "Data").CopyFrom("abc", 3);
    EXPECT_EQ(Kinds->Data, Variant("abc"));
}

TEST_F(ClassInfoTest, CopyFromChecksAddresses) {
    TTestLabel Stranger(nullptr);
    const uintptr_t Address = reinterpret_cast<uintptr_t>(&Stranger);
    EXPECT_EQ(BrowseFailure([&] { On(Kinds, "Ref").CopyFrom(&Address, 8); }),
              "TClassInfo.CopyFrom: Unknown object reference");
    const uintptr_t Method[2] = {
        reinterpret_cast<uintptr_t>(MethodThunk<&TTestKinds::KindsClick>()), Address};
    EXPECT_EQ(BrowseFailure([&] { On(Kinds, "OnClick").CopyFrom(Method, 16); }),
              "TClassInfo.CopyFrom: Unknown method reference");
    EXPECT_EQ(Kinds->Ref, nullptr);
    EXPECT_FALSE(Kinds->OnClick.Assigned());
}
