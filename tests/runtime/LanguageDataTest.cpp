#include "runtime/GlossaTools.h"

#include "platform/classes/Filer.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "runtime/ComponentExplorer.h"
#include "tests/components/LanguageHost.h"
#include "tests/tools/TraceRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace orlo {
namespace {

using test::LoadForm;
using test::SaveForm;
using test::TLanguageTestForm;
using TBytes = std::vector<Byte>;

TBytes Bytes(std::initializer_list<int> Values) {
    return TBytes(Values.begin(), Values.end());
}

TBytes Concat(std::initializer_list<TBytes> Parts) {
    TBytes Result;
    for (const TBytes& Part : Parts)
        Result.insert(Result.end(), Part.begin(), Part.end());
    return Result;
}

// A short string of the form stream: length byte and characters.
TBytes Short(const String& Text) {
    TBytes Result(Text.size() + 1);
    Result[0] = static_cast<Byte>(Text.size());
    std::copy(Text.begin(), Text.end(), Result.begin() + 1);
    return Result;
}

size_t Find(const TBytes& Haystack, const TBytes& Needle, size_t From = 0) {
    auto At = std::search(Haystack.begin() + From, Haystack.end(), Needle.begin(), Needle.end());
    return At == Haystack.end() ? String::npos : At - Haystack.begin();
}

// Replaces the first occurrence of From (which must exist) by To.
void Patch(TBytes& Stream, const TBytes& From, const TBytes& To) {
    const size_t At = Find(Stream, From);
    ASSERT_NE(At, String::npos);
    Stream.erase(Stream.begin() + At, Stream.begin() + At + From.size());
    Stream.insert(Stream.begin() + At, To.begin(), To.end());
}

TBytes Contents(TMemoryStream& Stream) {
    return TBytes(Stream.Memory(), Stream.Memory() + Stream.Size());
}

// --- The "Values" payload --------------------------------------------------------------------

class ValuesPayload : public ::testing::Test {
protected:
    TInconsistentLangPropertyEntry* NewEntry(Integer Count) {
        auto* Entry = static_cast<TInconsistentLangPropertyEntry*>(TPropertyEntry::Create(
            TInconsistentLangPropertyEntry::StaticClass(), Main, "Caption", "String", tkLString));
        Entry->SetCount(Count);
        return Entry;
    }
    TBytes Stored(const TInconsistentLangPropertyEntry* Entry) {
        TMemoryStream Stream;
        Entry->StoreValues(&Stream);
        return Contents(Stream);
    }
    void Load(TInconsistentLangPropertyEntry* Entry, const TBytes& Payload) {
        TMemoryStream Stream;
        Stream.WriteBuffer(Payload.data(), static_cast<Integer>(Payload.size()));
        Stream.SetPosition(0);
        Entry->LoadValues(&Stream);
    }

    TMainEntries Tree{nullptr, nullptr};
    TMainEntry* Main = static_cast<TMainEntry*>(Tree.Add());
};

TEST_F(ValuesPayload, TwoLanguageCaption) {
    TInconsistentLangPropertyEntry* Entry = NewEntry(2);
    Entry->SetLangValue(1, Variant("&OK"));
    const TBytes Expected = Bytes({0x07, 0, 0, 0, 0x00, 0x01, 0x00, 0x00, 0x26, 0x4F, 0x4B});
    EXPECT_EQ(Stored(Entry), Expected);

    TInconsistentLangPropertyEntry* Copy = NewEntry(2);
    Load(Copy, Expected);
    EXPECT_EQ(Copy->GetLangValue(1).AsString(), "&OK");
}

TEST_F(ValuesPayload, EmptyPayloadAndEmptySlots) {
    EXPECT_TRUE(Stored(NewEntry(1)).empty());
    TInconsistentLangPropertyEntry* Entry = NewEntry(3);
    Entry->SetLangValue(2, Variant(5));
    const TBytes Payload = Stored(Entry);
    EXPECT_EQ(Payload, Bytes({0, 0, 0, 0, 8, 0, 0, 0, 3, 0, 0, 0, 5, 0, 0, 0}));
    TInconsistentLangPropertyEntry* Copy = NewEntry(3);
    Load(Copy, Payload);
    EXPECT_TRUE(Copy->GetLangValue(1).IsNull());
    EXPECT_EQ(Copy->GetLangValue(2), Variant(5));
}

TEST_F(ValuesPayload, DamagedPayloadsRaiseAndLeaveTheSlotEmpty) {
    struct {
        const char* What;
        TBytes Payload;
        bool Raises;
    } Cases[] = {
        {"length cut short", Bytes({0x07, 0}), true},
        {"data cut short", Bytes({0x07, 0, 0, 0, 0x00, 0x01}), true},
        {"length beyond the payload", Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}), true},
        {"negative length", Bytes({0xFE, 0xFF, 0xFF, 0xFF}), false},
        {"nothing at all", TBytes(), true},
    };
    for (const auto& Case : Cases) {
        TInconsistentLangPropertyEntry* Entry = NewEntry(2);
        Entry->SetLangValue(1, Variant("old"));
        if (Case.Raises)
            EXPECT_THROW(Load(Entry, Case.Payload), EReadError) << Case.What;
        else
            EXPECT_NO_THROW(Load(Entry, Case.Payload)) << Case.What;
        EXPECT_TRUE(Entry->Slot(1).Empty()) << Case.What;
    }
}

TEST_F(ValuesPayload, HugeCountCostsNothingUntilRead) {
    TInconsistentLangPropertyEntry* Entry = NewEntry(2'000'000'000);
    EXPECT_TRUE(Entry->GetLangValue(1'999'999'999).IsNull());
    EXPECT_THROW(Load(Entry, Bytes({0, 0, 0, 0, 0, 0, 0, 0})), EReadError);
    Entry->SetCount(2);
    EXPECT_EQ(Stored(Entry), Bytes({0, 0, 0, 0}));
}

// --- The form stream ---------------------------------------------------------------------------

class StoredLanguageData : public ::testing::Test {
protected:
    void SetUp() override {
        test::RegisterLanguageHostClasses();
        Form = TLanguageTestForm::CreateWithComponents();
        Form->Host->AddLanguage("English", cmInitAll);
        Form->Host->AddStandardProperties();
        Form->Host->AddLanguage("Deutsch", cmInitAll);
        ASSERT_TRUE(Form->Host->SetLanguage("Deutsch"));
        Form->Label1->SetCaption("&Ja");
        Form->Label2->SetCaption("Abbrechen");
        Form->Panel1->Panel(0)->Caption = "Öffnen";
        Title = Form->Host->Manager()->AddString("Title");
        Title->SetLangValue(0, Variant("Willkommen"));
        Title->SetLangValue(1, Variant("Welcome"));
    }

    TLanguageManager* Manager(TLanguageTestForm* Of) const { return Of->Host->Manager(); }

    std::unique_ptr<TLanguageTestForm> Form;
    TConsistentLangPropertyEntry* Title = nullptr;
};

TEST_F(StoredLanguageData, FourPropertiesInOrderWithTheLanguageList) {
    const TBytes Stream = SaveForm(Form.get());
    const TBytes Langs = Concat(
        {Short("LanguageManager_Langs"), Bytes({0x0E, 0x01}), Short("Name"), Bytes({0x06}),
         Short("English"), Short("SubIndex"), Bytes({0x02, 0x01, 0x00, 0x01}), Short("Name"),
         Bytes({0x06}), Short("Deutsch"), Short("SubIndex"), Bytes({0x02, 0x00, 0x00, 0x00})});
    const size_t LangsAt = Find(Stream, Langs);
    ASSERT_NE(LangsAt, String::npos);
    const size_t CompsAt = Find(Stream, Concat({Short("LanguageManager_Comps"), Bytes({0x0E})}));
    const size_t NamesAt =
        Find(Stream, Concat({Short("LanguageManager_Names"), Bytes({0x06}), Short("Title\r\n")}));
    const size_t ValuesAt = Find(
        Stream, Concat({Short("LanguageManager_Values"), Bytes({0x06}), Short("Willkommen\r\n")}));
    EXPECT_LT(LangsAt, CompsAt);
    EXPECT_LT(CompsAt, NamesAt);
    EXPECT_LT(NamesAt, ValuesAt);
    EXPECT_NE(ValuesAt, String::npos);
    // The host's own properties precede its language data.
    EXPECT_LT(Find(Stream, Short("Host")), LangsAt);
}

TEST_F(StoredLanguageData, ActiveTextsInComponentsOthersInPayloads) {
    const TBytes Stream = SaveForm(Form.get());
    EXPECT_NE(Find(Stream, Concat({Short("Caption"), Bytes({0x06}), Short("&Ja")})), String::npos);
    // Count 2, then the payload of "&OK" as binary data.
    EXPECT_NE(Find(Stream, Concat({Short("Count"), Bytes({0x02, 0x02}), Short("Values"),
                                   Bytes({0x0A, 11, 0, 0, 0, 0x07, 0, 0, 0, 0x00, 0x01, 0x00, 0x00,
                                          0x26, 0x4F, 0x4B})})),
              String::npos);

    auto Read = LoadForm(Stream);
    EXPECT_EQ(Read->Label1->Caption(), "&Ja");
    EXPECT_EQ(Read->Panel1->Panel(0)->Caption, "Öffnen");
    EXPECT_EQ(Read->Host->Language(), "Deutsch");
    String Value;
    EXPECT_TRUE(Manager(Read.get())->GetString("Title", Value));
    EXPECT_EQ(Value, "Willkommen");

    ASSERT_TRUE(Read->Host->SetLanguage("English"));
    EXPECT_EQ(Read->Label1->Caption(), "&OK");
    EXPECT_EQ(Read->Label2->Caption(), "Cancel");
    EXPECT_EQ(Read->Panel1->Panel(0)->Caption, "Open");
    EXPECT_EQ(Read->Memo1->Lines()->Strings(2), "Third line");
    EXPECT_EQ(Read->Caption(), "Settings");
    EXPECT_TRUE(Manager(Read.get())->GetString("title", Value));
    EXPECT_EQ(Value, "Welcome");
}

TEST_F(StoredLanguageData, SavedTwiceGivesTheSameBytes) {
    const TBytes First = SaveForm(Form.get());
    auto Read = LoadForm(First);
    EXPECT_EQ(SaveForm(Read.get()), First);
}

TEST_F(StoredLanguageData, EmptyManagerStoresEmptyProperties) {
    auto Empty = TLanguageTestForm::CreateWithComponents();
    const TBytes Stream = SaveForm(Empty.get());
    EXPECT_NE(Find(Stream, Concat({Short("LanguageManager_Langs"), Bytes({0x0E, 0x00}),
                                   Short("LanguageManager_Comps"), Bytes({0x0E, 0x00}),
                                   Short("LanguageManager_Names"), Bytes({0x06, 0x00}),
                                   Short("LanguageManager_Values"), Bytes({0x06, 0x00})})),
              String::npos);
    auto Read = LoadForm(Stream);
    EXPECT_EQ(Manager(Read.get())->GetLangCount(), 0);
    EXPECT_EQ(Manager(Read.get())->Comps()->Count(), 0);
}

TEST_F(StoredLanguageData, LongStringTableTextIsALongString) {
    const String Long(300, 'x');
    Title->SetLangValue(0, Variant(Long));
    const TBytes Stream = SaveForm(Form.get());
    EXPECT_NE(Find(Stream, Concat({Short("LanguageManager_Values"), Bytes({0x0C, 46, 1, 0, 0})})),
              String::npos);
    auto Read = LoadForm(Stream);
    String Value;
    EXPECT_TRUE(Manager(Read.get())->GetString("Title", Value));
    EXPECT_EQ(Value, Long);
}

TEST_F(StoredLanguageData, TextFormRoundTrip) {
    TMemoryStream Binary, Text, Back;
    Binary.WriteComponent(Form.get());
    Binary.SetPosition(0);
    ObjectBinaryToText(&Binary, &Text);
    const String Source(reinterpret_cast<const char*>(Text.Memory()), Text.Size());
    EXPECT_NE(Source.find("LanguageManager_Langs = <"), String::npos);
    Text.SetPosition(0);
    ObjectTextToBinary(&Text, &Back);
    EXPECT_EQ(Contents(Back), Contents(Binary));
}

// --- Damaged or inconsistent stored data --------------------------------------------------------

using TTexts = std::map<String, String>; // language -> what the form shows

// The translated captions of the form and the named string StringName.
String Shown(TLanguageTestForm* Form, const String& StringName) {
    String Value;
    Form->Host->Manager()->GetString(StringName, Value);
    return Form->Label1->Caption() + "|" + Form->Label2->Caption() + "|" +
           Form->Panel1->Panel(0)->Caption + "|" + Value;
}

// What the fixture's form shows in each of its languages.
const TTexts StoredTexts = {{"English", "&OK|Cancel|Open|Welcome"},
                            {"Deutsch", "&Ja|Abbrechen|Öffnen|Willkommen"}};

// Switches through every language twice and back to the first one: each
// language must show the same texts every time. What each one showed.
TTexts SwitchThroughAll(TLanguageTestForm* Form, const String& StringName = "Title") {
    TLanguageManager* Manager = Form->Host->Manager();
    const String Start = Form->Host->Language();
    TTexts Seen;
    for (int Round = 0; Round < 2; ++Round) {
        for (Integer I = 0; I < Manager->GetLangCount(); ++I) {
            Manager->SetLanguageByIndex(I);
            const String Language = Manager->Langs()->Items(I)->Name();
            EXPECT_EQ(Form->Host->Language(), Language);
            const auto [Known, New] = Seen.emplace(Language, Shown(Form, StringName));
            EXPECT_EQ(Known->second, Shown(Form, StringName)) << Language << " in round " << Round;
        }
    }
    if (!Start.empty()) {
        Form->Host->SetLanguage(Start);
        EXPECT_EQ(Shown(Form, StringName), Seen[Start]) << "back in " << Start;
    }
    return Seen;
}

TEST_F(StoredLanguageData, StoredCountsAreRepairedOnLoading) {
    TBytes Stream = SaveForm(Form.get());
    // The first entry claims no slot, the next one too many.
    Patch(Stream, Concat({Short("Count"), Bytes({0x02, 0x02})}),
          Concat({Short("Count"), Bytes({0x02, 0x00})}));
    Patch(Stream, Concat({Short("Count"), Bytes({0x02, 0x02})}),
          Concat({Short("Count"), Bytes({0x02, 0xFB})}));
    auto Read = LoadForm(Stream);
    Manager(Read.get())->Comps()->ForEachPropertyEntryDo([](TMainEntry*, TPropertyEntry* Entry) {
        EXPECT_EQ(static_cast<TConsistentLangPropertyEntry*>(Entry)->Count(), 2);
    });
    // The entry stored without slots took the active (German) text for English.
    const TTexts Texts = SwitchThroughAll(Read.get());
    EXPECT_EQ(Texts.at("Deutsch"), StoredTexts.at("Deutsch"));
    EXPECT_EQ(Read->Host->Language(), "Deutsch");
}

TEST_F(StoredLanguageData, CountBeyondThePayloadIsAReadError) {
    TBytes Stream = SaveForm(Form.get());
    Patch(Stream, Concat({Short("Count"), Bytes({0x02, 0x02})}),
          Concat({Short("Count"), Bytes({0x04, 0xFF, 0xFF, 0xFF, 0x7F})}));
    EXPECT_THROW(LoadForm(Stream), EReadError);
}

struct TSubIndexCase {
    const char* What;
    Integer English;
    Integer Deutsch;
    const char* Label1After; // after switching to Deutsch
    bool KeepsEveryText;     // false: the stored data leaves it open whose values are whose
};

class StoredSubIndexes : public StoredLanguageData,
                         public ::testing::WithParamInterface<TSubIndexCase> {};

TEST_P(StoredSubIndexes, AreRepairedWithoutLosingValues) {
    const auto& Case = GetParam();
    ASSERT_TRUE(Form->Host->SetLanguage("English"));
    TLanguageEntries* Langs = Manager(Form.get())->Langs();
    Langs->Items(0)->SetSubIndex(Case.English);
    Langs->Items(1)->SetSubIndex(Case.Deutsch);
    auto Read = LoadForm(SaveForm(Form.get()));
    TLanguageEntries* Repaired = Manager(Read.get())->Langs();
    std::vector<Integer> SubIndexes{Repaired->Items(0)->SubIndex(), Repaired->Items(1)->SubIndex()};
    std::sort(SubIndexes.begin(), SubIndexes.end());
    EXPECT_EQ(SubIndexes, (std::vector<Integer>{0, 1})) << Case.What;
    Read->Host->SetLanguage("Deutsch");
    EXPECT_EQ(Read->Label1->Caption(), Case.Label1After) << Case.What;
    const TTexts Texts = SwitchThroughAll(Read.get());
    if (Case.KeepsEveryText)
        EXPECT_EQ(Texts, StoredTexts) << Case.What;
}

INSTANTIATE_TEST_SUITE_P(Damaged, StoredSubIndexes,
                         ::testing::Values(TSubIndexCase{"gap", 0, 5, "&Ja", true},
                                           TSubIndexCase{"shared", 0, 0, "&Ja", true},
                                           TSubIndexCase{"unassigned", 0, -1, "&Ja", true},
                                           TSubIndexCase{"no active language", 1, 2, "&Ja", false},
                                           TSubIndexCase{"beyond every slot", 0, 2'000'000'000,
                                                         "&Ja", true}));

TEST_F(StoredLanguageData, NamesAndValuesOfDifferentLengths) {
    Manager(Form.get())->Names()->Add("Unvalued");
    auto Read = LoadForm(SaveForm(Form.get()));
    TLanguageManager* Loaded = Manager(Read.get());
    EXPECT_EQ(Loaded->Values()->Count(), Loaded->Names()->Count());
    String Value = "x";
    EXPECT_TRUE(Loaded->GetString("Unvalued", Value));
    EXPECT_EQ(Value, "");
    EXPECT_TRUE(Loaded->GetString("Title", Value));
    EXPECT_EQ(Value, "Willkommen");

    Manager(Form.get())->Names()->Delete(1);
    Manager(Form.get())->Values()->Add("stray");
    Read = LoadForm(SaveForm(Form.get()));
    EXPECT_EQ(Manager(Read.get())->Values()->Text(), "Willkommen\r\n");
    EXPECT_EQ(SwitchThroughAll(Read.get()), StoredTexts);
}

TEST_F(StoredLanguageData, StringsWithoutALineGetOneOfTheirOwn) {
    TConsistentLangPropertyEntry* Second = Manager(Form.get())->AddString("Second");
    Second->SetLangValue(0, Variant("Zweiter"));
    Second->SetLangValue(1, Variant("Second"));
    Second->SetLineIndex(0); // shares the line of "Title"
    Title->SetLineIndex(7);  // beyond the table
    auto Read = LoadForm(SaveForm(Form.get()));
    TLanguageManager* Loaded = Manager(Read.get());
    EXPECT_EQ(Loaded->Names()->Count(), Loaded->Values()->Count());
    TMainEntry* Table = Loaded->GetStringInterface(false);
    ASSERT_NE(Table, nullptr);
    std::vector<Integer> Lines;
    for (Integer I = 0; I < Table->Props()->Count(); ++I)
        Lines.push_back(Table->Props()->Items(I)->LineIndex());
    std::sort(Lines.begin(), Lines.end());
    EXPECT_EQ(std::adjacent_find(Lines.begin(), Lines.end()), Lines.end());
    EXPECT_LT(Lines.back(), Loaded->Names()->Count());
    // Every string keeps its other language.
    Read->Host->SetLanguage("English");
    String Value;
    for (Integer I = 0; I < Table->Props()->Count(); ++I) {
        TPropertyEntry* Entry = Table->Props()->Items(I);
        EXPECT_TRUE(Loaded->GetString(Loaded->Names()->Strings(Entry->LineIndex()), Value));
    }
    EXPECT_TRUE(Loaded->GetString("Second", Value));
    EXPECT_EQ(Value, "Second");
    EXPECT_EQ(SwitchThroughAll(Read.get()), StoredTexts);
    EXPECT_EQ(SwitchThroughAll(Read.get(), "Second"),
              (TTexts{{"English", "&OK|Cancel|Open|Second"},
                      {"Deutsch", "&Ja|Abbrechen|Öffnen|Zweiter"}}));
}

TEST_F(StoredLanguageData, DuplicateStringNamesAnswerTheFirst) {
    TConsistentLangPropertyEntry* Twin = Manager(Form.get())->AddString("Twin");
    Twin->SetLangValue(0, Variant("first"));
    Manager(Form.get())->Names()->Put(0, "TWIN");
    auto Read = LoadForm(SaveForm(Form.get()));
    String Value;
    EXPECT_TRUE(Manager(Read.get())->GetString("twin", Value));
    EXPECT_EQ(Value, "Willkommen");
    // The first line, now named "TWIN", still carries the texts of "Title".
    EXPECT_EQ(SwitchThroughAll(Read.get(), "twin"), StoredTexts);
}

TEST_F(StoredLanguageData, EntriesOfVanishedComponentsAndPropertiesAreDropped) {
    TBytes Stream = SaveForm(Form.get());
    // Label2 no longer exists (the stored entries still name it), and
    // TTestLabel no longer publishes "Hint".
    Patch(Stream, Concat({Short("TTestLabel"), Short("Label2")}),
          Concat({Short("TTestLabel"), Short("Label9")}));
    Patch(Stream, Concat({Short("Name"), Bytes({0x06}), Short("Hint")}),
          Concat({Short("Name"), Bytes({0x06}), Short("Hunt")}));
    const test::TTraceRecorder Trace;
    auto Read = LoadForm(Stream);
    // Each drop is traced with what went and why.
    EXPECT_TRUE(Trace.Contains("TLanguageManager.Init: stored entry Label2.Caption dropped: its "
                               "component no longer exists"));
    EXPECT_TRUE(Trace.Contains(
        "TLanguageManager.Init: stored entry Label1.Hunt dropped: its property no longer exists"));
    TComponentEntries* Comps = Manager(Read.get())->Comps();
    EXPECT_EQ(Comps->IndexOfName("Label2"), -1);
    EXPECT_EQ(Comps->IndexOfName("Label9"), -1);
    const Integer Label1 = Comps->IndexOfName("Label1");
    ASSERT_GE(Label1, 0);
    EXPECT_EQ(Comps->Items(Label1)->Props()->IndexOfProp("Hunt"), -1);
    ASSERT_TRUE(Read->Host->SetLanguage("English"));
    EXPECT_EQ(Read->Label1->Caption(), "&OK");
}

// A stored tree may hold two entries for one component: both go with it.
TEST_F(StoredLanguageData, EveryEntryOfADeletedComponentGoes) {
    TCESettings Settings;
    AddObjectToMainEntries(Form->Label2, "Label2", "TTestLabel", Manager(Form.get())->Comps(),
                           Settings, TInconsistentLangPropertyEntry::StaticClass(),
                           Settings.StandardFilter());
    auto Read = LoadForm(SaveForm(Form.get()));
    TComponentEntries* Comps = Manager(Read.get())->Comps();
    Integer Label2Entries = 0;
    for (Integer I = 0; I < Comps->Count(); ++I)
        Label2Entries += Comps->Items(I)->GetRef() == Read->Label2;
    ASSERT_EQ(Label2Entries, 2);
    delete Read->Label2;
    Read->Label2 = nullptr;
    for (Integer I = 0; I < Comps->Count(); ++I)
        EXPECT_NE(Comps->Items(I)->Name(), "Label2");
    ASSERT_TRUE(Read->Host->SetLanguage("English"));
    EXPECT_EQ(Read->Label1->Caption(), "&OK");
    ASSERT_TRUE(Read->Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Read->Label1->Caption(), "&Ja");
}

// A named string whose name holds a line break (made before such names were
// refused) is dropped on reading; the strings after it keep their texts, from
// what this version writes and from what older versions wrote.
TEST_F(StoredLanguageData, ANameWithALineBreakIsDroppedAndTheOthersKeepTheirTexts) {
    TLanguageManager* Stored = Manager(Form.get());
    TConsistentLangPropertyEntry* Bad = Stored->AddString("Bad");
    Bad->SetLangValue(0, Variant("schlecht"));
    Bad->SetLangValue(1, Variant("bad"));
    Bad->SetName("Bad\nName");
    Stored->Names()->Put(1, "Bad\nName");
    TConsistentLangPropertyEntry* Last = Stored->AddString("Last");
    Last->SetLangValue(0, Variant("Letzter"));
    Last->SetLangValue(1, Variant("Last"));
    const TBytes Written = SaveForm(Form.get());
    const TBytes OlderWriter = [&] {
        TBytes Patched = Written;
        Patch(Patched, Short("Title\r\nBad Name\r\nLast\r\n"),
              Short("Title\r\nBad\nName\r\nLast\r\n"));
        return Patched;
    }();
    for (const TBytes* Stream : {&Written, &OlderWriter}) {
        const test::TTraceRecorder Trace;
        auto Read = LoadForm(*Stream);
        TLanguageManager* Loaded = Manager(Read.get());
        EXPECT_EQ(Loaded->Names()->Text(), "Title\r\nLast\r\n");
        EXPECT_TRUE(Trace.Contains("TLanguageManager.Init: named string 'Bad Name' dropped: its "
                                   "name has a line break"));
        EXPECT_EQ(SwitchThroughAll(Read.get()), StoredTexts);
        EXPECT_EQ(SwitchThroughAll(Read.get(), "Last"),
                  (TTexts{{"English", "&OK|Cancel|Open|Last"},
                          {"Deutsch", "&Ja|Abbrechen|Öffnen|Letzter"}}));
    }
}

TEST_F(StoredLanguageData, EveryTruncationFailsCleanly) {
    const TBytes Stream = SaveForm(Form.get());
    for (size_t Length = 0; Length < Stream.size(); Length += 7) {
        const TBytes Cut(Stream.begin(), Stream.begin() + Length);
        EXPECT_THROW(LoadForm(Cut), EReadError) << Length;
    }
}

} // namespace
} // namespace orlo
