#include "runtime/ComponentExplorerTools.h"

#include "platform/classes/Strings.h"
#include "runtime/ComponentExplorer.h"
#include "tests/components/LanguageHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace orlo {
namespace {

using test::TLanguageTestForm;
using test::TTestKinds;
using test::TTestLabel;
using test::TTestMemo;
using test::TTestPanelItem;

// --- Indexed names and descriptors ------------------------------------------------

struct TIndexedNameCase {
    const char* Name;
    bool Indexed;
    Integer Index;
};

class IndexedName : public ::testing::TestWithParam<TIndexedNameCase> {};

TEST_P(IndexedName, ParsesTheTrailingIndex) {
    const auto& Case = GetParam();
    Integer Index = 77;
    EXPECT_EQ(ParseIndexedName(Case.Name, Index), Case.Indexed) << Case.Name;
    EXPECT_EQ(Index, Case.Index) << Case.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, IndexedName,
    ::testing::Values(TIndexedNameCase{"Items[12]", true, 12}, TIndexedNameCase{"[0]", true, 0},
                      TIndexedNameCase{"Strings[007]", true, 7},
                      TIndexedNameCase{"x[2147483647]", true, 2147483647},
                      TIndexedNameCase{"12]", false, -1}, TIndexedNameCase{"Items[]", false, -1},
                      TIndexedNameCase{"Items[1a]", false, -1}, TIndexedNameCase{"]", false, -1},
                      TIndexedNameCase{"ab", false, -1}, TIndexedNameCase{"", false, -1},
                      TIndexedNameCase{"Items[5", false, -1},
                      TIndexedNameCase{"Strings/5/", false, -1},
                      TIndexedNameCase{"x[2147483648]", false, -1},
                      TIndexedNameCase{"x[99999999999999999999999]", false, -1}));

TEST(PropertyEntry, DescriptorAndDisplayName) {
    TMainEntries Tree(nullptr, nullptr);
    auto* Main = static_cast<TMainEntry*>(Tree.Add());
    struct {
        const char* Prefix;
        const char* Name;
        const char* TypeName;
        Integer Line;
        const char* Expected;
    } Cases[] = {{"Font.", "Color", "TColor", -1, "Font.Color: TColor"},
                 {"", "About", "String", 22, "About[22]: String"},
                 {"Items[0].", "Caption", "TCaption", 0, "Items[0].Caption[0]: TCaption"}};
    for (const auto& Case : Cases) {
        TPropertyEntry* Entry =
            TPropertyEntry::Create(nullptr, Main, Case.Name, Case.TypeName, tkLString);
        Entry->SetLineIndex(Case.Line);
        EXPECT_EQ(Entry->GetDescriptor(Case.Prefix), Case.Expected);
        EXPECT_EQ(Entry->DisplayName(), String(Case.Name) + ":" + Case.TypeName);
    }
}

// --- A tree of the test form -----------------------------------------------------------

class EntryTree : public ::testing::Test {
protected:
    void SetUp() override {
        Form = TLanguageTestForm::CreateWithComponents();
        Entries = std::make_unique<TComponentEntries>(nullptr, nullptr);
    }

    // The standard explorer choice of the form: captions, hints, texts, memo lines.
    void Populate() {
        AddRootToMainEntries(Form.get(), Entries.get(), Settings, nullptr,
                             Settings.StandardFilter());
    }

    std::vector<String> Lines(TMoveSubItemsMode Mode = mmNameOnly) const {
        TStringList List;
        Entries->MoveSubItemsToStrings(Mode, &List);
        std::vector<String> Result;
        for (Integer I = 0; I < List.Count(); ++I)
            Result.push_back(List.Strings(I));
        return Result;
    }

    TComponentEntry* EntryOf(const String& Name) const {
        const Integer Index = Entries->IndexOfName(Name);
        return Index < 0 ? nullptr : Entries->Items(Index);
    }

    TCESettings Settings;
    std::unique_ptr<TLanguageTestForm> Form;
    std::unique_ptr<TComponentEntries> Entries;
};

TEST_F(EntryTree, PopulationTakesTheStandardChoiceRootLast) {
    Populate();
    std::vector<String> Names;
    for (Integer I = 0; I < Entries->Count(); ++I)
        Names.push_back(Entries->Items(I)->Name());
    EXPECT_EQ(Names, (std::vector<String>{"Label1", "Label2", "Memo1", "Panel1", "Kinds1", "Host",
                                          "LangForm"}));
    // Sub-objects and components appear as entries even where nothing was taken.
    EXPECT_EQ(Lines(), (std::vector<String>{"Caption", "Hint", "Caption", "Lines.Strings[0]",
                                            "Lines.Strings[2]", "Items[0].Caption",
                                            "Items[1].Caption", "Caption"}));
    TComponentEntry* Label = EntryOf("Label1");
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->GetRef(), Form->Label1);
    EXPECT_EQ(Label->TypeName(), "TTestLabel");
    EXPECT_EQ(Label->SubType(), TMainEntrySubType{stPubPropObject});
    ASSERT_EQ(Label->Items()->Count(), 1);
    EXPECT_EQ(Label->Items()->Items(0)->Name(), "Font");
    EXPECT_EQ(Label->Items()->Items(0)->Ref(), Form->Label1->Font());

    TMainEntry* Item = EntryOf("Panel1")->Items()->Items(1);
    EXPECT_EQ(Item->Name(), "Items[1]");
    EXPECT_EQ(Item->TypeName(), "TTestPanelItem");
    EXPECT_EQ(Item->SubType(), (TMainEntrySubType{stPubPropObject, stCollectionObject}));
    TMainEntry* Memo = EntryOf("Memo1")->Items()->Items(0);
    EXPECT_EQ(Memo->SubType(), TMainEntrySubType{stTStringsObject});
    EXPECT_EQ(Memo->Props()->Items(0)->Kind(), tkString);
    EXPECT_EQ(Memo->Props()->Items(0)->TypeName(), "String");
}

TEST_F(EntryTree, DescriptorsCarryThePathBelowTheComponent) {
    Populate();
    const std::vector<String> Described = Lines(mmNameAndType);
    EXPECT_EQ(Described.front(), "Caption: TCaption");
    EXPECT_NE(std::find(Described.begin(), Described.end(), "Items[1].Caption: String"),
              Described.end());
    EXPECT_NE(std::find(Described.begin(), Described.end(), "Lines.Strings[2]: String"),
              Described.end());
}

TEST_F(EntryTree, PopulationWithoutFilterTakesEveryReadableWritableKind) {
    Settings.PropFilter = TPropFilter{pfAll};
    AddObjectToMainEntries(Form->Kinds1, "Kinds1", "TTestKinds", Entries.get(), Settings, nullptr,
                           TPropertyFilter());
    TPropertyEntries* Props = EntryOf("Kinds1")->Props();
    for (const char* Taken : {"Align", "Styles", "Ratio", "Letter", "Data", "Left", "Top"})
        EXPECT_GE(Props->IndexOfProp(Taken), 0) << Taken;
    // Events are not in the default kinds, read-only properties are never taken.
    for (const char* Left : {"OnClick", "ReadOnlyValue", "Ref"})
        EXPECT_LT(Props->IndexOfProp(Left), 0) << Left;
}

TEST_F(EntryTree, AssignedOnlySkipsEmptyLinesAndEmptyLists) {
    Form->Memo1->Lines()->SetText("\r\n\r\n");
    Populate();
    EXPECT_EQ(EntryOf("Memo1")->Items()->Count(), 0);

    Settings.PropFilter.Exclude(pfAssigned);
    Entries->Clear();
    Populate();
    ASSERT_EQ(EntryOf("Memo1")->Items()->Count(), 1);
    EXPECT_EQ(EntryOf("Memo1")->Items()->Items(0)->Props()->Count(), 2);
}

TEST_F(EntryTree, InitDropsWhatNoLongerExists) {
    Populate();
    Entries->Init();
    // Entries left without properties went: the host, the kinds component, fonts.
    EXPECT_EQ(EntryOf("Host"), nullptr);
    EXPECT_EQ(EntryOf("Kinds1"), nullptr);
    EXPECT_EQ(EntryOf("Label1")->Items()->Count(), 0);
    const Integer Before = Entries->Count();

    // A property entry whose kind no longer matches, a collection item beyond
    // the collection, a line beyond the memo.
    TComponentEntry* Label = EntryOf("Label1");
    TPropertyEntry::Create(nullptr, Label, "Caption", "TCaption", tkInteger);
    TMainEntry* Panel = EntryOf("Panel1");
    auto* Third = static_cast<TMainEntry*>(Panel->Items()->Add());
    Third->SetName("Items[2]");
    Third->SetSubType({stPubPropObject, stCollectionObject});
    TPropertyEntry::Create(nullptr, Third, "Caption", "String", tkLString);
    TMainEntry* Lines = EntryOf("Memo1")->Items()->Items(0);
    TPropertyEntry* Beyond = TPropertyEntry::Create(nullptr, Lines, "Strings[5]", "", tkString);
    TPropertyEntry* Inside = TPropertyEntry::Create(nullptr, Lines, "Strings[1]", "", tkString);

    Entries->RefreshProps();
    EXPECT_EQ(Third->Ref(), nullptr);
    EXPECT_EQ(Beyond->Name(), "Strings/5/");
    EXPECT_EQ(Inside->TypeName(), "String");

    Entries->ValidateAndPack();
    EXPECT_EQ(Entries->Count(), Before);
    EXPECT_EQ(Label->Props()->Count(), 2);
    EXPECT_EQ(Panel->Items()->Count(), 2);
    EXPECT_EQ(Lines->Props()->IndexOfProp("Strings/5/"), -1);
    EXPECT_GE(Lines->Props()->IndexOfProp("Strings[1]"), 0);
}

TEST_F(EntryTree, NamesBindWithoutRegardToCase) {
    auto* Label = static_cast<TComponentEntry*>(Entries->Add());
    Label->SetRef(Form->Label1);
    Label->SetSubType({stPubPropObject});
    TPropertyEntry* Caption = TPropertyEntry::Create(nullptr, Label, "caption", "", tkLString);
    auto* Font = static_cast<TMainEntry*>(Label->Items()->Add());
    Font->SetName("FONT");
    Font->SetSubType({stPubPropObject});
    TPropertyEntry* FontName = TPropertyEntry::Create(nullptr, Font, "name", "", tkLString);
    Entries->Init();
    EXPECT_EQ(Label->Name(), "Label1");
    EXPECT_EQ(Caption->TypeName(), "TCaption");
    EXPECT_EQ(Font->Ref(), Form->Label1->Font());
    EXPECT_EQ(FontName->GetValue().AsString(), "Arial");
    FontName->SetValue(Variant("Courier"));
    EXPECT_EQ(Form->Label1->Font()->Name, "Courier");
}

TEST_F(EntryTree, DeletedComponentTakesItsEntryAtOnce) {
    Populate();
    const Integer Before = Entries->Count();
    delete Form->Label2;
    EXPECT_EQ(Entries->Count(), Before - 1);
    EXPECT_EQ(EntryOf("Label2"), nullptr);
    // Entries of the remaining components still work.
    Entries->Init();
    EXPECT_EQ(EntryOf("Label1")->Props()->Items(0)->GetValue().AsString(), "&OK");
}

TEST_F(EntryTree, EveryEntryOfADeletedComponentGoes) {
    Populate();
    const Integer Before = Entries->Count();
    // A second entry for one component, as a second population or a stored tree gives.
    AddObjectToMainEntries(Form->Label2, "Label2", "TTestLabel", Entries.get(), Settings, nullptr,
                           Settings.StandardFilter());
    ASSERT_EQ(Entries->Count(), Before + 1);
    delete Form->Label2;
    EXPECT_EQ(Entries->Count(), Before - 1);
    EXPECT_EQ(EntryOf("Label2"), nullptr);
    Entries->Init();
    EXPECT_EQ(EntryOf("Label1")->Props()->Items(0)->GetValue().AsString(), "&OK");
}

TEST_F(EntryTree, EntriesWithoutValidationKeepTheirObject) {
    TStringList Table;
    Table.SetText("a\r\nb");
    auto* Owner = static_cast<TComponentEntry*>(Entries->Add());
    Owner->SetRef(Form->Host);
    Owner->SetSubType({stPubPropObject});
    auto* Strings = static_cast<TMainEntry*>(Owner->Items()->Add());
    Strings->SetRef(&Table);
    Strings->SetName("Resources");
    Strings->SetSubType({stTStringsObject, stNoValidate});
    TPropertyEntry* Named = TPropertyEntry::Create(nullptr, Strings, "Greeting", "", tkLString);
    Named->SetLineIndex(1);

    Entries->Init();
    ASSERT_EQ(Entries->Count(), 1);
    EXPECT_EQ(Strings->Ref(), &Table);
    EXPECT_EQ(Named->TypeName(), "String");
    EXPECT_EQ(Named->GetValue().AsString(), "b");

    delete Named;
    Entries->Init();
    EXPECT_EQ(Entries->Count(), 0);
}

TEST_F(EntryTree, ValuesOfUnboundEntriesAreNull) {
    auto* Main = static_cast<TMainEntry*>(Entries->Add());
    Main->SetSubType({stPubPropObject});
    TPropertyEntry* Entry = TPropertyEntry::Create(nullptr, Main, "Caption", "", tkLString);
    EXPECT_TRUE(Entry->GetValue().IsNull());
    Entry->SetValue(Variant("ignored"));
    std::unique_ptr<TClassInfo> Info;
    EXPECT_FALSE(Entry->GetClassInfo(Info));
    EXPECT_EQ(Info, nullptr);
    EXPECT_EQ(Entry->GetTypDef(), "");
}

TEST_F(EntryTree, StringListLinesReadAndWriteTheirLine) {
    Populate();
    Entries->Init();
    TPropertyEntry* Third = EntryOf("Memo1")->Items()->Items(0)->Props()->Items(1);
    EXPECT_EQ(Third->GetValue().AsString(), "Third line");
    Third->SetValue(Variant("Dritte\r\nZeile"));
    EXPECT_EQ(Form->Memo1->Lines()->Strings(2), "Dritte  Zeile");
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 3);
}

TEST_F(EntryTree, TypDefOfBoundEnumeration) {
    Settings.PropFilter = TPropFilter{pfAll};
    AddObjectToMainEntries(Form->Kinds1, "Kinds1", "TTestKinds", Entries.get(), Settings, nullptr,
                           TPropertyFilter());
    TPropertyEntries* Props = EntryOf("Kinds1")->Props();
    EXPECT_EQ(Props->Items(Props->IndexOfProp("Enabled"))->GetTypDef(), "(False,True)");
}

// --- Walks ---------------------------------------------------------------------------

TEST_F(EntryTree, WalksGoFromLastToFirstAndStop) {
    Populate();
    std::vector<String> Visited;
    Entries->ForEachPropertyEntryDo([&](TMainEntry* Main, TPropertyEntry* Prop) {
        Visited.push_back(Main->Name() + "." + Prop->Name());
    });
    EXPECT_EQ(Visited,
              (std::vector<String>{"LangForm.Caption", "Items[1].Caption", "Items[0].Caption",
                                   "Lines.Strings[2]", "Lines.Strings[0]", "Label2.Caption",
                                   "Label1.Hint", "Label1.Caption"}));

    Integer Calls = 0;
    const bool Completed = Entries->ForEachPropertyEntry(
        [](TMainEntry*, TPropertyEntry*, void* Data, bool& Stop) {
            ++*static_cast<Integer*>(Data);
            Stop = true;
        },
        &Calls);
    EXPECT_FALSE(Completed);
    EXPECT_EQ(Calls, 1);

    std::vector<String> Mains;
    EXPECT_TRUE(EntryOf("Label1")->ForEachMainEntry(
        [](TMainEntry* Entry, void* Data, bool&) {
            static_cast<std::vector<String>*>(Data)->push_back(Entry->Name());
        },
        &Mains));
    EXPECT_EQ(Mains, (std::vector<String>{"Label1", "Font"}));
}

// --- Copying, moving, comparing --------------------------------------------------------

TEST_F(EntryTree, CopyItemRecreatesThePath) {
    Populate();
    TMainEntry* Item = EntryOf("Panel1")->Items()->Items(0);
    TPropertyEntry* Caption = Item->Props()->Items(0);
    TComponentEntries Target(nullptr, nullptr);

    auto* Copy = dynamic_cast<TPropertyEntry*>(Caption->CopyItem(&Target));
    ASSERT_NE(Copy, nullptr);
    ASSERT_EQ(Target.Count(), 1);
    TComponentEntry* Panel = Target.Items(0);
    EXPECT_EQ(Panel->Name(), "Panel1");
    EXPECT_EQ(Panel->GetRef(), Form->Panel1);
    ASSERT_EQ(Panel->Items()->Count(), 1);
    EXPECT_EQ(Panel->Items()->Items(0)->Name(), "Items[0]");
    EXPECT_EQ(Panel->Props()->Count(), 0); // own fields only
    EXPECT_EQ(Copy->MainEntry(), Panel->Items()->Items(0));
    EXPECT_TRUE(Copy->Compare(Caption));

    // The path is found again; the same property twice gives two entries.
    Caption->CopyItem(&Target);
    EXPECT_EQ(Target.Count(), 1);
    EXPECT_EQ(Panel->Items()->Items(0)->Props()->Count(), 2);

    // A line of a string list has no descriptor; it is copied all the same.
    TPropertyEntry* Line = EntryOf("Memo1")->Items()->Items(0)->Props()->Items(1);
    auto* CopiedLine = dynamic_cast<TPropertyEntry*>(Line->CopyItem(&Target));
    ASSERT_NE(CopiedLine, nullptr);
    EXPECT_EQ(CopiedLine->Name(), "Strings[2]");
    EXPECT_EQ(CopiedLine->MainEntry()->Name(), "Lines");
    EXPECT_EQ(Target.Count(), 2);

    // The copied component entry is watched like any other.
    delete Form->Panel1;
    EXPECT_EQ(Target.Count(), 1);
}

TEST_F(EntryTree, MoveItemTakesTheEntryAlong) {
    Populate();
    TMainEntry* Label = EntryOf("Label1");
    TComponentEntries Target(nullptr, nullptr);
    auto* Moved = dynamic_cast<TMainEntry*>(Label->MoveItem(&Target, true));
    ASSERT_NE(Moved, nullptr);
    EXPECT_EQ(EntryOf("Label1"), nullptr);
    EXPECT_EQ(Moved->Props()->Count(), 2);
    EXPECT_EQ(Moved->Items()->Count(), 1);

    // Into its own subtree, or into nothing, a move changes nothing.
    EXPECT_EQ(Moved->MoveItem(Moved->Items(), true), nullptr);
    EXPECT_EQ(Moved->MoveItem(nullptr), nullptr);
    EXPECT_EQ(Target.Count(), 1);
}

TEST_F(EntryTree, RemoveEqualPropertyEntriesKeepsTheOthers) {
    Populate();
    TComponentEntries Picked(nullptr, nullptr);
    EntryOf("Label1")->Props()->Items(1)->CopyItem(&Picked); // Hint
    EntryOf("Panel1")->Items()->Items(1)->Props()->Items(0)->CopyItem(&Picked);
    Entries->RemoveEqualPropertyEntries(&Picked);
    EXPECT_EQ(Lines(), (std::vector<String>{"Caption", "Caption", "Lines.Strings[0]",
                                            "Lines.Strings[2]", "Items[0].Caption", "Caption"}));
}

TEST_F(EntryTree, ComponentEntryRefusesAnObjectThatIsNoComponent) {
    Populate();
    TMainEntries Plain(nullptr, nullptr);
    auto* Source = static_cast<TMainEntry*>(Plain.Add());
    Source->SetRef(Form->Label1->Font());
    Source->SetName("Font");
    TComponentEntry* Target = EntryOf("Label1");
    try {
        Target->Assign(Source);
        FAIL() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "TComponentEntry.Assign failed. Type of Ref is not TComponent");
    }
    EXPECT_EQ(Target->Name(), "Label1");
    EXPECT_EQ(Target->Props()->Count(), 2);
}

TEST_F(EntryTree, AssignCopiesTheSubtreeAndReportsIt) {
    Populate();
    Integer Notified = 0;
    struct TCounter : TObject {
        Integer* Count = nullptr;
        void Assigned(TObject*, TPersistent*) { ++*Count; }
    } Counter;
    Counter.Count = &Notified;
    TComponentEntries Copy(nullptr, nullptr);
    Copy.OnAssign = TAssignNotify::Make<&TCounter::Assigned>(&Counter);
    Copy.Assign(Entries.get());
    EXPECT_EQ(Notified, 1);
    ASSERT_EQ(Copy.Count(), Entries->Count());
    for (Integer I = 0; I < Copy.Count(); ++I) {
        EXPECT_TRUE(Copy.Items(I)->Compare(Entries->Items(I)));
        EXPECT_EQ(Copy.Items(I)->Props()->Count(), Entries->Items(I)->Props()->Count());
    }
    EXPECT_EQ(Copy.FindItem(Entries->Items(2)), Copy.Items(2));
}

TEST(EntryCollections, ForeignItemClassesAreRefused) {
    EXPECT_THROW(TMainEntries(TPropertyEntry::StaticClass(), nullptr, nullptr), EInvalidOperation);
    EXPECT_THROW(TPropertyEntries(nullptr, TMainEntry::StaticClass()), EInvalidOperation);
}

// --- The property filter -----------------------------------------------------------------

struct TFilterCase {
    TPropFilter Filter;
    const char* FilterText;
    const char* Name;
    bool Offered;
};

class PropertyFilter : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(PropertyFilter, OffersByName) {
    const auto& Case = GetParam();
    TCESettings Settings;
    Settings.PropFilter = Case.Filter;
    Settings.PropFilterText = Case.FilterText;
    EXPECT_EQ(Settings.IsPropVisible(Case.Name, nullptr, nullptr), Case.Offered) << Case.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PropertyFilter,
    ::testing::Values(TFilterCase{{pfCaption}, "", "Caption", true},
                      TFilterCase{{pfCaption}, "", "caption", true},
                      TFilterCase{{pfHint}, "", "Caption", false},
                      TFilterCase{{pfStrings}, "", "Strings[4]", true},
                      TFilterCase{{pfText}, "", "Text", true},
                      TFilterCase{{pfAll}, "", "Color", true},
                      TFilterCase{{pfUser}, "Color Width", "Width", true},
                      TFilterCase{{pfUser}, "color width", "Color", true},
                      TFilterCase{{pfUser}, "Color Width", "Col", false},
                      TFilterCase{{pfUser}, "Colors Color", "Color", false}, // first place only
                      TFilterCase{{pfUser}, "BackColor", "Color", false},
                      TFilterCase{{}, "Color", "Color", false}));

TEST(PropertyFilterValues, AssignedOnlyOffersSetValues) {
    auto Form = TLanguageTestForm::CreateWithComponents();
    TCESettings Settings;
    const TPropInfo* Caption = GetPropInfo(Form->Label2, "Caption");
    EXPECT_TRUE(Settings.IsPropVisible("Caption", Form->Label2, Caption));
    Form->Label2->SetCaption("");
    EXPECT_FALSE(Settings.IsPropVisible("Caption", Form->Label2, Caption));
    EXPECT_TRUE(Settings.IsPropVisible("Caption", nullptr, Caption));
    Settings.PropFilter.Exclude(pfAssigned);
    EXPECT_TRUE(Settings.IsPropVisible("Caption", Form->Label2, Caption));

    // Integers and sets count as set when not 0; other kinds always do.
    Settings.PropFilter = TPropFilter{pfAll, pfAssigned};
    TTestKinds* Kinds = Form->Kinds1;
    EXPECT_FALSE(Settings.IsPropVisible("Left", Kinds, GetPropInfo(Kinds, "Left")));
    EXPECT_FALSE(Settings.IsPropVisible("Styles", Kinds, GetPropInfo(Kinds, "Styles")));
    EXPECT_TRUE(Settings.IsPropVisible("Align", Kinds, GetPropInfo(Kinds, "Align")));
    Kinds->SetBound(0, 3);
    EXPECT_TRUE(Settings.IsPropVisible("Left", Kinds, GetPropInfo(Kinds, "Left")));
}

TEST_F(EntryTree, EntryFilterJudgesLinesByTheirText) {
    Settings.PropFilter.Exclude(pfAssigned);
    Populate();
    TPropertyEntries* Lines = EntryOf("Memo1")->Items()->Items(0)->Props();
    ASSERT_EQ(Lines->Count(), 3);
    Settings.PropFilter.Include(pfAssigned);
    EXPECT_TRUE(Settings.IsPropVisibleEx(Lines->Items(0)));
    EXPECT_FALSE(Settings.IsPropVisibleEx(Lines->Items(1)));
    Settings.PropFilter = TPropFilter{pfCaption};
    EXPECT_FALSE(Settings.IsPropVisibleEx(Lines->Items(0)));
    EXPECT_TRUE(Settings.IsPropVisibleEx(EntryOf("Label1")->Props()->Items(0)));
}

TEST(ExplorerSettings, DefaultsAndAssignment) {
    TCESettings Settings;
    EXPECT_EQ(Settings.PropFilter.Bits(), 0x4Fu);
    EXPECT_EQ(Settings.TypeKinds.Bits(), 0x1EFEu);
    EXPECT_FALSE(Settings.TypeKinds.Contains(tkMethod));
    EXPECT_TRUE(Settings.InfoBarVisible && Settings.PropFilterVisible && Settings.SortByVisible &&
                Settings.SortByCompName);
    EXPECT_EQ(Settings.ComponentLabel("Label1", "TLabel"), "Label1: TLabel");

    TCESettings Other;
    Other.PropFilter = TPropFilter{pfUser};
    Other.PropFilterText = "Color";
    Other.SortByCompName = false;
    Settings.Assign(&Other);
    EXPECT_EQ(Settings.PropFilter, TPropFilter{pfUser});
    EXPECT_EQ(Settings.PropFilterText, "Color");
    EXPECT_EQ(Settings.ComponentLabel("Label1", "TLabel"), "TLabel, Label1");
}

} // namespace
} // namespace orlo
