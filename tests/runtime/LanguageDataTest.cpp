#include "runtime/GlossaTools.h"

#include "platform/classes/Filer.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "tests/components/LanguageHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

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

// Switching through every language must work and end where it started.
void SwitchThroughAll(TLanguageTestForm* Form) {
    TLanguageManager* Manager = Form->Host->Manager();
    const String Start = Form->Host->Language();
    for (Integer I = 0; I < Manager->GetLangCount(); ++I)
        Manager->SetLanguageByIndex(I);
    ASSERT_TRUE(Start.empty() || Form->Host->SetLanguage(Start) || Form->Host->Language() == Start);
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
    SwitchThroughAll(Read.get());
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
    SwitchThroughAll(Read.get());
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, StoredSubIndexes,
    ::testing::Values(TSubIndexCase{"gap", 0, 5, "&Ja"}, TSubIndexCase{"shared", 0, 0, "&Ja"},
                      TSubIndexCase{"unassigned", 0, -1, "&Ja"},
                      TSubIndexCase{"no active language", 1, 2, "&Ja"},
                      TSubIndexCase{"beyond every slot", 0, 2'000'000'000, "&Ja"}));

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
    SwitchThroughAll(Read.get());
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
    SwitchThroughAll(Read.get());
}

TEST_F(StoredLanguageData, DuplicateStringNamesAnswerTheFirst) {
    TConsistentLangPropertyEntry* Twin = Manager(Form.get())->AddString("Twin");
    Twin->SetLangValue(0, Variant("first"));
    Manager(Form.get())->Names()->Put(0, "TWIN");
    auto Read = LoadForm(SaveForm(Form.get()));
    String Value;
    EXPECT_TRUE(Manager(Read.get())->GetString("twin", Value));
    EXPECT_EQ(Value, "Willkommen");
    SwitchThroughAll(Read.get());
}

TEST_F(StoredLanguageData, EntriesOfVanishedComponentsAndPropertiesAreDropped) {
    TBytes Stream = SaveForm(Form.get());
    // Label2 no longer exists, and TTestLabel no longer publishes "Hint".
    Patch(Stream, Concat({Short("TTestLabel"), Short("Label2")}),
          Concat({Short("TTestLabel"), Short("Label9")}));
    Patch(Stream, Concat({Short("Name"), Bytes({0x06}), Short("Hint")}),
          Concat({Short("Name"), Bytes({0x06}), Short("Hunt")}));
    auto Read = LoadForm(Stream);
    TComponentEntries* Comps = Manager(Read.get())->Comps();
    EXPECT_EQ(Comps->IndexOfName("Label2"), -1);
    EXPECT_EQ(Comps->IndexOfName("Label9"), -1);
    const Integer Label1 = Comps->IndexOfName("Label1");
    ASSERT_GE(Label1, 0);
    EXPECT_EQ(Comps->Items(Label1)->Props()->IndexOfProp("Hunt"), -1);
    ASSERT_TRUE(Read->Host->SetLanguage("English"));
    EXPECT_EQ(Read->Label1->Caption(), "&OK");
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
