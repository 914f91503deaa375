#include "runtime/GlossaTools.h"

#include "runtime/ComponentExplorer.h"
#include "runtime/TypeTools.h"
#include "tests/components/LanguageHost.h"

#include <gtest/gtest.h>

#include <map>

namespace orlo {
namespace {

using test::TLanguageHost;
using test::TLanguageTestForm;
using test::TTestPanelItem;

using TSnapshot = std::map<String, String>;

String Text(const Variant& Value) {
    return Value.IsNull() ? String("<null>") : Value.AsString();
}

template <class F> void ExpectMessage(F&& Action, const String& Message) {
    try {
        Action();
        ADD_FAILURE() << "no exception, expected " << Message;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), Message);
    }
}

// A form with English texts, its standard properties taken and, unless a test
// says otherwise, a second language "Deutsch" with German texts.
class LanguageManager : public ::testing::Test {
protected:
    void SetUp() override {
        Form = TLanguageTestForm::CreateWithComponents();
        Host = Form->Host;
        Manager = Host->Manager();
        Host->AddLanguage("English", cmInitAll);
        Host->AddStandardProperties();
    }

    // Every kind the tree can hold: Kinds1 and Label1 (with its font) completely.
    void AddEveryKind() {
        TCESettings Settings;
        Settings.PropFilter = TPropFilter{pfAll};
        for (TComponent* Component :
             {static_cast<TComponent*>(Form->Kinds1), static_cast<TComponent*>(Form->Label1)}) {
            const Integer Old = Manager->Comps()->IndexOfName(Component->Name());
            if (Old >= 0)
                Manager->Comps()->Delete(Old);
            AddObjectToMainEntries(
                Component, Component->Name(), Component->ClassName(), Manager->Comps(), Settings,
                TInconsistentLangPropertyEntry::StaticClass(), TPropertyFilter());
        }
        Manager->Init(cmInitAll);
    }

    void AddGerman() {
        Host->AddLanguage("Deutsch", cmInitAll);
        ASSERT_TRUE(Host->SetLanguage("Deutsch"));
        Form->SetCaption("Einstellungen");
        Form->Label1->SetCaption("&Ja");
        Form->Label1->SetHint("Die Änderungen übernehmen");
        Form->Label2->SetCaption("Abbrechen");
        Form->Memo1->Lines()->Put(0, "Erste Zeile");
        Form->Memo1->Lines()->Put(2, "Dritte Zeile");
        Item(0)->Caption = "Öffnen";
        Item(1)->Caption = "Speichern";
        ASSERT_TRUE(Host->SetLanguage("English"));
    }

    TTestPanelItem* Item(Integer Index) const { return Form->Panel1->Panel(Index); }

    // The entry of "Component.Path", for example "Label1.Font.Name".
    TConsistentLangPropertyEntry* Entry(const String& Path) const {
        TComponentEntries* Comps = Manager->Comps();
        for (Integer I = 0; I < Comps->Count(); ++I) {
            TStringList Lines;
            Comps->Items(I)->MoveSubItemsToStrings(mmNameOnly, &Lines);
            for (Integer J = 0; J < Lines.Count(); ++J)
                if (Comps->Items(I)->Name() + "." + Lines.Strings(J) == Path)
                    return dynamic_cast<TConsistentLangPropertyEntry*>(Lines.Objects(J));
        }
        ADD_FAILURE() << "no entry " << Path;
        return nullptr;
    }

    // Every live value of the tree, by path.
    TSnapshot Live() const {
        TSnapshot Result;
        TComponentEntries* Comps = Manager->Comps();
        for (Integer I = 0; I < Comps->Count(); ++I) {
            TStringList Lines;
            Comps->Items(I)->MoveSubItemsToStrings(mmNameOnly, &Lines);
            for (Integer J = 0; J < Lines.Count(); ++J)
                Result[Comps->Items(I)->Name() + "." + Lines.Strings(J)] =
                    Text(static_cast<TPropertyEntry*>(Lines.Objects(J))->GetValue());
        }
        return Result;
    }

    Integer SubIndexOf(const String& Language) const {
        return Manager->Langs()->Items(Manager->Langs()->IndexOfName(Language))->SubIndex();
    }

    std::unique_ptr<TLanguageTestForm> Form;
    TLanguageHost* Host = nullptr;
    TLanguageManager* Manager = nullptr;
};

// --- Switching -----------------------------------------------------------------------------

TEST_F(LanguageManager, SwitchExchangesSlotsAndSubIndexes) {
    AddGerman();
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), "&Ja");

    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "&Ja");
    EXPECT_EQ(Form->Memo1->Lines()->Strings(2), "Dritte Zeile");
    EXPECT_EQ(Item(1)->Caption, "Speichern");
    EXPECT_EQ(Form->Caption(), "Einstellungen");
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), "&OK");
    EXPECT_EQ(SubIndexOf("Deutsch"), 0);
    EXPECT_EQ(SubIndexOf("English"), 1);
}

TEST_F(LanguageManager, SwitchingToTheActiveOrAnUnassignedLanguageDoesNothing) {
    AddGerman();
    Form->Label1->SetCaption("edited");
    EXPECT_FALSE(Manager->SetLanguageByIndex(Manager->Langs()->IndexOfName("English")));
    EXPECT_EQ(Form->Label1->Caption(), "edited");

    auto* Unassigned = static_cast<TLanguageEntry*>(Manager->Langs()->Add());
    Unassigned->SetName("Dansk");
    EXPECT_FALSE(Manager->SetLanguageByIndex(Unassigned->Index()));
    EXPECT_EQ(Form->Label1->Caption(), "edited");
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), "&Ja");

    EXPECT_THROW(Manager->SetLanguageByIndex(5), EListError);
}

TEST_F(LanguageManager, SwitchBackRestoresEveryKindExactly) {
    AddEveryKind();
    Form->Kinds1->Align = test::alTop;
    Form->Kinds1->Styles = test::TTestFontStyles{test::fsBold};
    Form->Kinds1->Ratio = 0.1;
    Form->Kinds1->Small = 7;
    Form->Kinds1->Letter = 'E';
    Form->Kinds1->Stamp = 46000.25;
    Form->Kinds1->Amount = Currency::FromDouble(12.5);
    Form->Label1->Font()->Style = test::TTestFontStyles{test::fsItalic};
    Form->Label1->Font()->Size = 10;
    Host->AddLanguage("Deutsch", cmInitAll);
    const TSnapshot English = Live();

    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Live(), English); // a new language starts with the active texts
    Form->Kinds1->Align = test::alClient;
    Form->Kinds1->Styles = test::TTestFontStyles{test::fsUnderline, test::fsStrikeOut};
    Form->Kinds1->Ratio = 2.0 / 3.0;
    Form->Kinds1->Small = 9;
    Form->Kinds1->Letter = 'D';
    Form->Label1->Font()->Name = "Courier";
    Form->Label1->Font()->Size = 12;
    Form->Memo1->Lines()->Put(0, "Erste Zeile");
    Item(0)->Caption = "Öffnen";
    Form->Label1->SetCaption("&Ja");
    const TSnapshot German = Live();
    ASSERT_NE(German, English);

    ASSERT_TRUE(Host->SetLanguage("English"));
    EXPECT_EQ(Live(), English);
    EXPECT_EQ(Form->Kinds1->Ratio, 0.1);
    EXPECT_EQ(Form->Kinds1->Letter, 'E');
    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Live(), German);
    EXPECT_EQ(Form->Kinds1->Ratio, 2.0 / 3.0);
    EXPECT_EQ(Form->Kinds1->Styles, (test::TTestFontStyles{test::fsUnderline, test::fsStrikeOut}));
}

TEST_F(LanguageManager, FailedSwitchIsRolledBack) {
    AddEveryKind();
    AddGerman();
    // A stored value the property refuses: the switch fails part of the way.
    Entry("Kinds1.Align")->SetLangValue(1, Variant("alNowhere"));
    const TSnapshot Before = Live();
    const Variant GermanCaption = Entry("Label1.Caption")->GetLangValue(1);

    EXPECT_THROW(Host->SetLanguage("Deutsch"), ETypeToolError);
    EXPECT_EQ(Live(), Before);
    EXPECT_EQ(Host->Language(), "English");
    EXPECT_EQ(SubIndexOf("Deutsch"), 1);
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1), GermanCaption);
    EXPECT_EQ(Entry("Kinds1.Align")->GetLangValue(1).AsString(), "alNowhere");
}

TEST_F(LanguageManager, MissingSlotStopsTheSwitchBeforeAnythingMoves) {
    AddGerman();
    Entry("Label2.Caption")->SetCount(1);
    const TSnapshot Before = Live();
    ExpectMessage([&] { Host->SetLanguage("Deutsch"); },
                  "TInconsistentLangPropertyEntry.ExchangeLangValues: Invalid index");
    EXPECT_EQ(Live(), Before);
    EXPECT_EQ(SubIndexOf("Deutsch"), 1);
    EXPECT_EQ(SubIndexOf("English"), 0);
}

TEST_F(LanguageManager, NoActiveLanguage) {
    AddGerman();
    Manager->Langs()->Items(0)->SetSubIndex(2);
    ExpectMessage([&] { Host->SetLanguage("Deutsch"); },
                  "TLanguageManager.SetLanguageByIndex: Active language not found");
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

TEST_F(LanguageManager, DeletedComponentIsDroppedBeforeTheSwitch) {
    AddGerman();
    const Integer Entries = Manager->Comps()->Count();
    delete Form->Label2;
    Form->Label2 = nullptr;
    EXPECT_EQ(Manager->Comps()->Count(), Entries - 1);
    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "&Ja");
}

TEST(LanguageManagerAlone, EmptyLanguageListKeepsOneSlot) {
    auto Form = TLanguageTestForm::CreateWithComponents();
    TLanguageManager* Manager = Form->Host->Manager();
    Form->Host->AddStandardProperties();
    EXPECT_EQ(Manager->GetLangCount(), 0);
    Manager->Comps()->ForEachPropertyEntryDo([](TMainEntry*, TPropertyEntry* Entry) {
        EXPECT_EQ(static_cast<TConsistentLangPropertyEntry*>(Entry)->Count(), 1);
    });
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

// Stands for the application object, which owns components but is no form.
class TApplication : public TComponent {
    ORLO_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner) : TComponent(AOwner) {}
};
ORLO_UNPUBLISHED(TApplication, "GlossaToolsTest")

TEST(LanguageManagerAlone, ApplicationObjectIsNoRoot) {
    TComponent Form(nullptr);
    TApplication Application(nullptr);
    EXPECT_TRUE(TLanguageManager(&Form, nullptr, nullptr, cmInconsistent).HasRoot());
    EXPECT_FALSE(TLanguageManager(&Application, nullptr, nullptr, cmInconsistent).HasRoot());
    EXPECT_FALSE(TLanguageManager(nullptr, nullptr, nullptr, cmInconsistent).HasRoot());
    EXPECT_EQ(TLanguageManager(nullptr, nullptr, nullptr, cmNone).Comps(), nullptr);
}

// --- Value slots ----------------------------------------------------------------------------

TEST(ValueSlots, IndexErrorsNameTheClassAndOperation) {
    TMainEntries Tree(nullptr, nullptr);
    auto* Main = static_cast<TMainEntry*>(Tree.Add());
    for (TClass Class : {TConsistentLangPropertyEntry::StaticClass(),
                         TInconsistentLangPropertyEntry::StaticClass()}) {
        auto* Entry = static_cast<TConsistentLangPropertyEntry*>(
            TPropertyEntry::Create(Class, Main, "Caption", "String", tkLString));
        Entry->SetCount(2);
        const String Prefix = Class->ClassName();
        ExpectMessage([&] { Entry->GetLangValue(2); }, Prefix + ".GetLangValue: Invalid index");
        ExpectMessage([&] { Entry->GetLangValue(-1); }, Prefix + ".GetLangValue: Invalid index");
        ExpectMessage([&] { Entry->SetLangValue(2, Variant("x")); },
                      Prefix + ".SetLangValue: Invalid index");
        ExpectMessage([&] { Entry->ExchangeLangValues(0, 2); },
                      Prefix + ".ExchangeLangValues: Invalid index");
        ExpectMessage([&] { Entry->ExchangeLangValues(-1, 1); },
                      Prefix + ".ExchangeLangValues: Invalid index");
    }
}

TEST(ValueSlots, CountSlotsAndValues) {
    TMainEntries Tree(nullptr, nullptr);
    auto* Main = static_cast<TMainEntry*>(Tree.Add());
    auto* Entry = static_cast<TConsistentLangPropertyEntry*>(TPropertyEntry::Create(
        TConsistentLangPropertyEntry::StaticClass(), Main, "Caption", "String", tkLString));
    EXPECT_EQ(Entry->Count(), 0);
    Entry->SetCount(0);
    EXPECT_EQ(Entry->Count(), 0); // unchanged: a new entry waits for its first count
    Entry->SetCount(-4);
    EXPECT_EQ(Entry->Count(), 1);
    Entry->SetCount(3);
    EXPECT_TRUE(Entry->GetLangValue(2).IsNull());

    Entry->SetLangValue(0, Variant("zero"));
    Entry->SetLangValue(2, Variant(7));
    Entry->ExchangeLangValues(0, 2);
    EXPECT_EQ(Entry->GetLangValue(0), Variant(7));
    EXPECT_EQ(Entry->GetLangValue(2).AsString(), "zero");

    // A value that cannot be stored leaves the slot as it was.
    EXPECT_THROW(Entry->SetLangValue(2, Variant::OfType(varDispatch)), Exception);
    EXPECT_EQ(Entry->GetLangValue(2).AsString(), "zero");

    Entry->SetCount(2);
    Entry->SetCount(3);
    EXPECT_TRUE(Entry->GetLangValue(2).IsNull());
    EXPECT_EQ(Entry->GetDescriptor("Form."), "Form.Caption: String");
    Entry->SetLineIndex(4);
    EXPECT_EQ(Entry->GetDescriptor(""), "Caption: String");
}

TEST_F(LanguageManager, IsValueValidTriesTheRealSetter) {
    AddEveryKind();
    TConsistentLangPropertyEntry* Align = Entry("Kinds1.Align");
    Form->Kinds1->Align = test::alLeft;
    EXPECT_TRUE(Align->IsValueValid("alTop"));
    EXPECT_FALSE(Align->IsValueValid("alNowhere"));
    EXPECT_EQ(Form->Kinds1->Align, test::alLeft);
    EXPECT_TRUE(Entry("Kinds1.Small")->IsValueValid("8"));
    EXPECT_FALSE(Entry("Kinds1.Small")->IsValueValid("eight"));
    EXPECT_EQ(Form->Kinds1->Small, 5);
}

// --- Synchronising the value count ------------------------------------------------------------

struct TSyncCase {
    TSyncCountMode Mode;
    const char* Path;
    const char* LiveAfter; // a brand-new entry with two languages
    const char* NewSlot;
};

class SyncCount : public LanguageManager, public ::testing::WithParamInterface<TSyncCase> {};

TEST_P(SyncCount, FillsBrandNewEntries) {
    const auto& Case = GetParam();
    AddEveryKind();
    AddGerman();
    Form->Kinds1->Align = test::alRight;
    Form->Kinds1->Small = 8;
    // A fresh entry for the property, as the property picker adds one.
    TConsistentLangPropertyEntry* Old = Entry(Case.Path);
    TMainEntry* Main = Old->MainEntry();
    const TPropInfo* Prop = Old->PropInfo();
    const String Name = Old->Name();
    delete Old;
    TPropertyEntry::Create(nullptr, Main, Prop);
    Manager->SyncCount(Case.Mode);
    TConsistentLangPropertyEntry* Fresh = Entry(Case.Path);
    EXPECT_EQ(Fresh->Count(), 2);
    EXPECT_EQ(Fresh->GetValue().AsString(), Case.LiveAfter);
    EXPECT_EQ(Fresh->GetLangValue(1).AsString(), Case.NewSlot);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SyncCount,
    ::testing::Values(TSyncCase{cmInitAll, "Label2.Caption", "Cancel", "Cancel"},
                      TSyncCase{cmInitDefault, "Label2.Caption", "Cancel", ""},
                      TSyncCase{cmInitNone, "Label2.Caption", "", ""},
                      TSyncCase{cmInitAll, "Kinds1.Align", "alRight", "alRight"},
                      TSyncCase{cmInitDefault, "Kinds1.Align", "alRight", "alNone"},
                      TSyncCase{cmInitNone, "Kinds1.Align", "alNone", "alNone"},
                      TSyncCase{cmInitDefault, "Kinds1.Small", "8", "5"}));

class AddedLanguage : public LanguageManager,
                      public ::testing::WithParamInterface<TSyncCountMode> {};

TEST_P(AddedLanguage, NewSlotsGetTheActiveOrTheEmptyValue) {
    AddEveryKind();
    Form->Kinds1->Align = test::alBottom;
    Host->AddLanguage("Dansk", GetParam());
    const bool Active = GetParam() == cmInitAll;
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), Active ? "&OK" : "");
    EXPECT_EQ(Entry("Kinds1.Align")->GetLangValue(1).AsString(), Active ? "alBottom" : "alNone");
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

INSTANTIATE_TEST_SUITE_P(Modes, AddedLanguage,
                         ::testing::Values(cmInitAll, cmInitDefault, cmInitNone));

// New slots hold values each property takes: switching to the new language
// and back works for every kind, and nothing live changes on the way.
TEST_P(AddedLanguage, EveryKindTakesTheValueOfItsNewSlot) {
    AddEveryKind();
    // Components keep their names: an empty one would unbind the form's fields.
    delete Entry("Kinds1.Name");
    delete Entry("Label1.Name");
    test::TTestKinds* Kinds = Form->Kinds1;
    test::TTestLabel* Label = Form->Label1;
    Kinds->Ratio = 0.1 + 0.2;
    Kinds->Letter = 'E';
    Kinds->Data = Variant(2.5);
    const TSnapshot English = Live();
    Host->AddLanguage("Dansk", GetParam());
    Manager->Comps()->ForEachPropertyEntryDo([](TMainEntry*, TPropertyEntry* Entry) {
        EXPECT_EQ(static_cast<TConsistentLangPropertyEntry*>(Entry)->Count(), 2) << Entry->Name();
    });
    EXPECT_EQ(Live(), English);

    ASSERT_TRUE(Host->SetLanguage("Dansk"));
    if (GetParam() == cmInitAll) {
        EXPECT_EQ(Live(), English);
    } else {
        EXPECT_EQ(Kinds->Ratio, 0.0);
        EXPECT_EQ(Kinds->Letter, '\0');
        EXPECT_EQ(Kinds->Align, test::alNone);
        EXPECT_EQ(Label->Caption(), "");
    }
    ASSERT_TRUE(Host->SetLanguage("English"));
    EXPECT_EQ(Live(), English);
    EXPECT_EQ(Kinds->Ratio, 0.1 + 0.2);
    EXPECT_EQ(Kinds->Data.VarType(), varDouble);
}

// A brand-new entry: the live value stays exactly what it was, in its own type.
TEST_F(LanguageManager, NewEntriesLeaveLiveValuesAsTheyAre) {
    AddEveryKind();
    AddGerman();
    for (TSyncCountMode Mode : {cmInitDefault, cmInitAll}) {
        SCOPED_TRACE(Mode);
        Form->Kinds1->Ratio = 0.1 + 0.2;
        Form->Kinds1->Data = Variant(2.5);
        for (const char* Path : {"Kinds1.Ratio", "Kinds1.Data"}) {
            TConsistentLangPropertyEntry* Old = Entry(Path);
            TMainEntry* Main = Old->MainEntry();
            const TPropInfo* Prop = Old->PropInfo();
            delete Old;
            TPropertyEntry::Create(nullptr, Main, Prop);
        }
        Manager->SyncCount(Mode);
        EXPECT_EQ(Form->Kinds1->Ratio, 0.1 + 0.2);
        EXPECT_EQ(Form->Kinds1->Data.VarType(), varDouble);
        EXPECT_EQ(Form->Kinds1->Data.AsDouble(), 2.5);
        ASSERT_TRUE(Host->SetLanguage("Deutsch"));
        ASSERT_TRUE(Host->SetLanguage("English"));
        EXPECT_EQ(Form->Kinds1->Ratio, 0.1 + 0.2);
        EXPECT_EQ(Form->Kinds1->Data, Variant(2.5));
    }
}

// An entry whose value can be neither read nor written (a string beyond the
// table) makes SyncCount fail before any entry changes.
TEST_F(LanguageManager, SyncCountIsAllOrNothing) {
    AddGerman();
    TConsistentLangPropertyEntry* Label2 = Entry("Label2.Caption");
    TMainEntry* Main = Label2->MainEntry();
    const TPropInfo* Prop = Label2->PropInfo();
    delete Label2;
    TPropertyEntry::Create(nullptr, Main, Prop); // brand new: cmInitNone writes it live
    TPropertyEntry* Broken = TPropertyEntry::Create(nullptr, Manager->GetStringInterface(true),
                                                    "Broken", "String", tkLString);
    Broken->SetLineIndex(9);
    static_cast<TLanguageEntry*>(Manager->Langs()->Add())->SetName("Dansk");
    for (TSyncCountMode Mode : {cmInitAll, cmInitDefault, cmInitNone}) {
        SCOPED_TRACE(Mode);
        EXPECT_THROW(Manager->SyncCount(Mode), Exception);
        std::vector<Integer> Counts;
        Manager->Comps()->ForEachPropertyEntryDo([&](TMainEntry*, TPropertyEntry* Entry) {
            Counts.push_back(static_cast<TConsistentLangPropertyEntry*>(Entry)->Count());
        });
        for (Integer Count : Counts)
            EXPECT_TRUE(Count == 0 || Count == 2) << Count;
        EXPECT_EQ(Form->Label2->Caption(), "Cancel");
    }
}

TEST_F(LanguageManager, UnknownSyncModeIsACaseError) {
    EXPECT_THROW(Manager->SyncCount(static_cast<TSyncCountMode>(7)), ECaseError);
}

// --- Editing the language list ------------------------------------------------------------------

TEST_F(LanguageManager, RemovingTheActiveLanguageActivatesTheNextSlot) {
    AddGerman();
    Host->AddLanguage("Dansk", cmInitDefault);
    TLanguageEntries Edited(nullptr);
    Edited.Assign(Manager->Langs());
    Edited.Delete(Edited.IndexOfName("English"));
    Manager->AssignLangsAndSync(&Edited, cmInitAll);

    EXPECT_EQ(Host->Language(), "Deutsch");
    EXPECT_EQ(Form->Label1->Caption(), "&Ja");
    EXPECT_EQ(SubIndexOf("Dansk"), 1);
    EXPECT_EQ(Entry("Label1.Caption")->Count(), 2);
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), "");
}

TEST_F(LanguageManager, ReorderingMovesNoValues) {
    AddGerman();
    TLanguageEntries Edited(nullptr);
    Edited.Assign(Manager->Langs());
    Edited.Items(1)->SetIndex(0);
    Edited.Items(0)->SetHint("Standard");
    Manager->AssignLangsAndSync(&Edited, cmInitAll);
    EXPECT_EQ(Manager->Langs()->Items(0)->Name(), "Deutsch");
    EXPECT_EQ(Manager->Langs()->Items(0)->Hint(), "Standard");
    EXPECT_EQ(Host->Language(), "English");
    EXPECT_EQ(Entry("Label1.Caption")->GetLangValue(1).AsString(), "&Ja");
}

TEST_F(LanguageManager, MarkedLanguageBecomesActive) {
    AddGerman();
    TLanguageEntries Edited(nullptr);
    Edited.Assign(Manager->Langs());
    Edited.Items(Edited.IndexOfName(" deutsch "))->Mark();
    Manager->AssignLangsAndSync(&Edited, cmInitAll);
    EXPECT_EQ(Host->Language(), "Deutsch");
    EXPECT_EQ(Form->Label2->Caption(), "Abbrechen");
    for (Integer I = 0; I < Manager->Langs()->Count(); ++I)
        EXPECT_FALSE(Manager->Langs()->Items(I)->Marked());
}

// --- Named strings ------------------------------------------------------------------------------

TEST_F(LanguageManager, AddStringMakesUniqueNamesWithEmptyValues) {
    AddGerman();
    EXPECT_EQ(Manager->AddString("")->Name(), "String1");
    EXPECT_EQ(Manager->AddString("  ")->Name(), "String2");
    TConsistentLangPropertyEntry* Greeting = Manager->AddString(" Greeting ");
    EXPECT_EQ(Greeting->Name(), "Greeting");
    EXPECT_EQ(Manager->AddString("  greeting ")->Name(), "greeting1");
    EXPECT_EQ(Greeting->LineIndex(), 2);
    EXPECT_EQ(Greeting->Kind(), tkLString);
    EXPECT_EQ(Greeting->Count(), 2);
    for (Integer I = 0; I < Greeting->Count(); ++I)
        EXPECT_EQ(Greeting->GetLangValue(I), Variant(String()));
    EXPECT_EQ(Manager->Names()->Count(), 4);
    EXPECT_EQ(Manager->Values()->Count(), 4);
}

TEST_F(LanguageManager, NamedStringsFollowTheLanguage) {
    AddGerman();
    TConsistentLangPropertyEntry* Title = Manager->AddString("Title");
    Title->SetLangValue(0, Variant("Welcome"));
    Title->SetLangValue(1, Variant("Willkommen"));
    String Value;
    EXPECT_TRUE(Manager->GetString("  TITLE ", Value));
    EXPECT_EQ(Value, "Welcome");
    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_TRUE(Manager->GetString("title", Value));
    EXPECT_EQ(Value, "Willkommen");
    EXPECT_FALSE(Manager->GetString("Subtitle", Value));
    EXPECT_EQ(Value, "");
}

TEST_F(LanguageManager, RemoveStringShiftsTheLaterLines) {
    std::vector<TConsistentLangPropertyEntry*> Strings;
    for (const char* Name : {"A", "B", "C", "D", "E"}) {
        Strings.push_back(Manager->AddString(Name));
        Strings.back()->SetLangValue(0, Variant(String("value ") + Name));
    }
    Manager->RemoveString(Strings[2]);
    EXPECT_EQ(Strings[3]->LineIndex(), 2);
    EXPECT_EQ(Strings[4]->LineIndex(), 3);
    EXPECT_EQ(Manager->Names()->Text(), "A\r\nB\r\nD\r\nE\r\n");
    String Value;
    EXPECT_TRUE(Manager->GetString("E", Value));
    EXPECT_EQ(Value, "value E");
    EXPECT_EQ(Strings[4]->GetLangValue(0).AsString(), "value E");

    ExpectMessage([&] { Manager->RemoveString(nullptr); }, "TLanguageManager.RemoveString failed.");
    ExpectMessage([&] { Manager->RemoveString(Entry("Label1.Caption")); },
                  "TLanguageManager.RemoveString failed.");
    Strings[0]->SetLineIndex(9);
    ExpectMessage([&] { Manager->RemoveString(Strings[0]); },
                  "TLanguageManager.RemoveString failed.");
    EXPECT_EQ(Manager->Names()->Count(), 4);
}

TEST(StringNames, Validity) {
    struct {
        const char* Name;
        bool Valid;
    } Cases[] = {{"ELangFileError ReadOnly Continue", true},
                 {"Title_2", true},
                 {" padded ", true},
                 {"Form.Caption", false},
                 {"Größe", false},
                 {"#1", false},
                 {"   ", false},
                 {"", false},
                 {"tab\tname", false},
                 {"two\nlines", false},
                 {"two\r\nlines", false}};
    for (const auto& Case : Cases)
        EXPECT_EQ(TLanguageManager::IsStringNameValid(Case.Name), Case.Valid) << Case.Name;
}

TEST_F(LanguageManager, AddStringRefusesLineBreaks) {
    Manager->AddString("Title");
    for (const char* Name : {"two\nlines", "two\r\nlines", "cr\r"})
        ExpectMessage([&] { Manager->AddString(Name); },
                      "TLanguageManager.AddString: Name of string must not contain a line break");
    EXPECT_EQ(Manager->Names()->Text(), "Title\r\n");
    EXPECT_EQ(Manager->Values()->Count(), 1);
    EXPECT_EQ(Manager->GetStringInterface(false)->Props()->Count(), 1);
}

TEST_F(LanguageManager, NameLookupKeepsInStepWithNames) {
    for (const char* Name : {"Alpha", "Beta", "Gamma"})
        Manager->AddString(Name);
    EXPECT_FALSE(Manager->IsUniqueStringName("beta"));
    EXPECT_EQ(Manager->GetStringNameIndex(" beta"), -1); // untrimmed
    TStringList* Names = Manager->Names();
    // Changes made to Names directly.
    Names->Add("Delta");
    Names->Delete(0);
    Names->Exchange(0, 1);
    Names->Insert(1, "ALPHA");
    Names->Put(3, "Epsilon");
    Names->Add("Ärger Öfter");
    for (const char* Probe :
         {"Alpha", "beta", "GAMMA", "Delta", "Epsilon", "Zeta", "äRGER öFTER", "ärger"})
        EXPECT_EQ(Manager->GetStringNameIndex(Probe), Names->IndexOf(Probe)) << Probe;
    Names->SetText("One\r\nTwo\r\none");
    EXPECT_EQ(Manager->GetStringNameIndex("ONE"), 0);
    EXPECT_EQ(Manager->GetStringNameIndex("Two"), 1);
    EXPECT_TRUE(Manager->IsUniqueStringName("Alpha"));
}

// The editor renames strings in Names directly: inside an update, or after
// replacing the list's change handler with its own.
TEST_F(LanguageManager, NameLookupFollowsEveryChangeOfNames) {
    for (const char* Name : {"Alpha", "Beta"})
        Manager->AddString(Name);
    TStringList* Names = Manager->Names();
    EXPECT_EQ(Manager->GetStringNameIndex("Beta"), 1);
    Names->BeginUpdate();
    Names->Put(1, "Renamed");
    EXPECT_EQ(Manager->GetStringNameIndex("Renamed"), 1);
    EXPECT_EQ(Manager->GetStringNameIndex("Beta"), -1);
    Names->EndUpdate();
    Names->OnChange = TNotifyEvent();
    Names->Put(0, "First");
    String Value;
    EXPECT_TRUE(Manager->GetString(" first ", Value));
    EXPECT_FALSE(Manager->GetString("Alpha", Value));
    EXPECT_TRUE(Manager->IsUniqueStringName("Alpha"));
    EXPECT_EQ(Manager->AddString("Renamed")->Name(), "Renamed1");
}

TEST_F(LanguageManager, StringTableIsFoundByItsComponentBeforeNamesAreKnown) {
    Manager->AddString("Title");
    TMainEntry* Table = Manager->GetStringInterface(false);
    // As read from a stream: component entries get their names on the next refresh.
    Table->GetParent()->GetParent()->SetName("");
    Manager->AddString("Other");
    EXPECT_EQ(Manager->GetStringInterface(false), Table);
    EXPECT_EQ(Table->Props()->Count(), 2);
    Integer HostEntries = 0;
    for (Integer I = 0; I < Manager->Comps()->Count(); ++I)
        HostEntries += Manager->Comps()->Items(I)->GetRef() == Host;
    EXPECT_EQ(HostEntries, 1);
}

TEST(StringTable, NeedsItsControl) {
    TLanguageManager Manager(nullptr, nullptr, nullptr, cmInconsistent);
    ExpectMessage([&] { Manager.GetStringInterface(false); },
                  "TLanguageManager.GetStringInterface failed. NIL Control");
    ExpectMessage([&] { Manager.AddString("x"); },
                  "TLanguageManager.GetStringInterface failed. NIL Control");
    EXPECT_EQ(Manager.Names()->Count(), 0);
}

// --- Copies between managers ---------------------------------------------------------------------

TEST_F(LanguageManager, WorkingCopyTakesAndGivesBackEveryValue) {
    AddGerman();
    TConsistentLangPropertyEntry* Title = Manager->AddString("Title");
    Title->SetLangValue(0, Variant("Welcome"));
    Title->SetLangValue(1, Variant("Willkommen"));

    TLanguageManager Copy(nullptr, nullptr, nullptr, cmConsistent);
    Copy.Assign(Manager);
    Copy.Init(cmInitAll);
    EXPECT_EQ(Copy.Control(), Host);
    EXPECT_EQ(Copy.Comps()->Count(), Manager->Comps()->Count());
    EXPECT_EQ(Copy.Values()->Text(), "Welcome\r\n");

    // Edit the copy: its slot 0 is the active language.
    TMainEntry* CopiedTable = Copy.GetStringInterface(false);
    ASSERT_NE(CopiedTable, nullptr);
    auto* CopiedTitle = static_cast<TConsistentLangPropertyEntry*>(CopiedTable->Props()->Items(0));
    EXPECT_EQ(CopiedTitle->GetLangValue(0).AsString(), "Welcome");
    CopiedTitle->SetLangValue(0, Variant("Hello"));
    Copy.Comps()->ForEachPropertyEntryDo([](TMainEntry* Main, TPropertyEntry* Entry) {
        auto* Lang = static_cast<TConsistentLangPropertyEntry*>(Entry);
        if (Lang->Name() == "Caption" && Main->Name() == "Label1") {
            EXPECT_EQ(Lang->GetLangValue(0).AsString(), "&OK");
            EXPECT_EQ(Lang->GetLangValue(1).AsString(), "&Ja");
            Lang->SetLangValue(0, Variant("O&K"));
            Lang->SetLangValue(1, Variant("&Jawohl"));
        }
    });

    Manager->Assign(&Copy);
    EXPECT_EQ(Form->Label1->Caption(), "O&K");
    EXPECT_EQ(Form->Label2->Caption(), "Cancel");
    String Value;
    EXPECT_TRUE(Manager->GetString("Title", Value));
    EXPECT_EQ(Value, "Hello");
    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "&Jawohl");
    EXPECT_TRUE(Manager->GetString("Title", Value));
    EXPECT_EQ(Value, "Willkommen");
}

// A working copy that fails the check is refused before anything changes,
// and the manager does not refer to the copy once it is gone.
TEST_F(LanguageManager, RefusedWriteBackChangesNothing) {
    AddGerman();
    TConsistentLangPropertyEntry* Title = Manager->AddString("Title");
    Title->SetLangValue(0, Variant("Welcome"));
    Title->SetLangValue(1, Variant("Willkommen"));
    const TSnapshot Before = Live();
    {
        TLanguageManager Copy(nullptr, nullptr, nullptr, cmConsistent);
        Copy.Assign(Manager);
        Copy.Init(cmInitAll);
        static_cast<TLanguageEntry*>(Copy.Langs()->Add())->SetName("Dansk");
        Copy.Comps()->ForEachPropertyEntryDo([](TMainEntry* Main, TPropertyEntry* Entry) {
            if (Entry->Name() == "Caption" && Main->Name() == "Label1")
                static_cast<TConsistentLangPropertyEntry*>(Entry)->SetLangValue(0,
                                                                                Variant("Edited"));
        });
        Copy.Values()->Add("stray");
        ExpectMessage([&] { Manager->Assign(&Copy); }, "Inconsistent internal language data");
    }
    EXPECT_EQ(Live(), Before);
    EXPECT_EQ(Manager->GetLangCount(), 2);
    EXPECT_EQ(Manager->Names()->Text(), "Title\r\n");
    EXPECT_EQ(Manager->GetStringInterface(false)->Ref(), Manager->Values());
    ASSERT_TRUE(Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "&Ja");
    String Value;
    EXPECT_TRUE(Manager->GetString("Title", Value));
    EXPECT_EQ(Value, "Willkommen");
    ASSERT_TRUE(Host->SetLanguage("English"));
    EXPECT_EQ(Live(), Before);
}

TEST_F(LanguageManager, InconsistentSourceIsRefused) {
    Manager->AddString("Title");
    Manager->Values()->Add("stray");
    TLanguageManager Copy(nullptr, nullptr, nullptr, cmConsistent);
    ExpectMessage([&] { Copy.Assign(Manager); }, "Inconsistent internal language data");
}

TEST_F(LanguageManager, AssignDropsLinesWithoutString) {
    Manager->AddString("Keep");
    Manager->Names()->Add("Orphan");
    Manager->Values()->Add("orphan value");
    Manager->AddString("Also");
    TLanguageManager Copy(nullptr, nullptr, nullptr, cmConsistent);
    Copy.Assign(Manager);
    EXPECT_EQ(Copy.Names()->Text(), "Keep\r\nAlso\r\n");
    TMainEntry* Table = Copy.GetStringInterface(false);
    EXPECT_EQ(Table->Props()->Items(1)->LineIndex(), 1);
}

TEST_F(LanguageManager, ClearEmptiesEverything) {
    AddGerman();
    Manager->AddString("Title");
    Manager->Clear();
    EXPECT_EQ(Manager->Comps()->Count(), 0);
    EXPECT_EQ(Manager->Names()->Count(), 0);
    EXPECT_EQ(Manager->Values()->Count(), 0);
    EXPECT_EQ(Manager->GetLangCount(), 0);
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

} // namespace
} // namespace orlo
