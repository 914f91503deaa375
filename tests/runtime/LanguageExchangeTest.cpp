#include "runtime/LanguageExchange.h"

#include "platform/os/FileSystem.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaPo.h"
#include "runtime/GlossaTools.h"
#include "tests/classes/LinesOf.h"
#include "tests/components/GeneratedLanguageData.h"
#include "tests/components/LanguageHost.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"
#include "tools/FileTools.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orlo {
namespace {

using test::ExpectError;
using test::LinesOf;
using test::TLanguageTestForm;
using test::TTempFolder;

// A form with English texts and German ones, and a named string.
class Exchange : public ::testing::Test {
protected:
    void SetUp() override {
        Form = TLanguageTestForm::CreateWithComponents();
        Manager = Form->Host->Manager();
        Form->Host->AddLanguage("English", cmInitAll);
        Form->Host->AddStandardProperties();
        Form->Host->AddLanguage("Deutsch", cmInitAll);
        Manager->AddString("Saved")->SetLangValue(0, Variant("Saved."));
        ASSERT_TRUE(Form->Host->SetLanguage("Deutsch"));
        Form->SetCaption("Einstellungen");
        Form->Label1->SetCaption("&Ja");
        Form->Memo1->Lines()->Put(2, "Dritte Zeile");
        Manager->Init(cmInitNone);
        String Saved;
        ASSERT_TRUE(Manager->GetString("Saved", Saved));
        ASSERT_TRUE(Form->Host->SetLanguage("English"));
    }

    // A fresh copy of the form with no language data at all.
    static std::unique_ptr<TLanguageTestForm> FreshForm() {
        return TLanguageTestForm::CreateWithComponents();
    }

    // Imports Text into Target, with the explorer's default settings when
    // WithSettings; the result is Target's export afterwards.
    String Import(TLanguageManager* Target, const String& Text, TImportMode Mode = imAddAll,
                  bool WithSettings = false) {
        Notes.Clear();
        Rejected.Clear();
        TCESettings Settings;
        Target->ImportLanguagesText(Text, WithSettings ? &Settings : nullptr, Mode, false, nullptr,
                                    &Notes, &Rejected);
        return Target->ExportLanguagesText();
    }

    // The lines of each section in sorted order: the values without the order
    // of the tree.
    static std::vector<String> SortedLines(const String& Text) {
        std::vector<String> Lines;
        for (const TExchangeSection& Section : ParseExchangeText(Text))
            for (const TExchangeSection::TLine& Line : Section.Lines)
                Lines.push_back(Section.Name + " " + Line.Text);
        std::sort(Lines.begin(), Lines.end());
        return Lines;
    }

    std::unique_ptr<TLanguageTestForm> Form;
    TLanguageManager* Manager = nullptr;
    TStringList Notes, Rejected;
    TTempFolder Folder;
};

TEST_F(Exchange, ExportWritesOneSectionPerLanguage) {
    const String Text = Manager->ExportLanguagesText();
    EXPECT_EQ(Text.substr(0, Text.find("\r\n")), "[TLanguageTestForm.English]");
    EXPECT_NE(Text.find("\r\n\r\n[TLanguageTestForm.Deutsch]\r\n"), String::npos) << Text;
    EXPECT_NE(Text.find("TLanguageTestForm.Caption='Einstellungen'\r\n"), String::npos) << Text;
    EXPECT_NE(Text.find("Memo1.Lines%2='Dritte Zeile'\r\n"), String::npos) << Text;
    EXPECT_NE(Text.find("Host.#Saved='Saved.'\r\n"), String::npos) << Text;
    EXPECT_EQ(Text.substr(Text.size() - 4), "\r\n\r\n");
}

TEST(ExchangeFile, TwoLanguagesAndOnePropertyMakeTwoShortSections) {
    auto Form = TLanguageTestForm::CreateWithComponents();
    TLanguageManager* Manager = Form->Host->Manager();
    Form->Host->AddLanguage("English", cmInitAll);
    TCESettings Settings;
    Settings.PropFilter = TPropFilter{pfUser};
    Settings.PropFilterText = "Caption";
    AddObjectToMainEntries(Form->Label1, "Label1", "TTestLabel", Manager->Comps(), Settings,
                           TInconsistentLangPropertyEntry::StaticClass(),
                           Settings.StandardFilter());
    Form->Host->AddLanguage("Deutsch", cmInitAll);
    EXPECT_EQ(Manager->ExportLanguagesText(),
              "[TLanguageTestForm.English]\r\nLabel1.Caption='" + Form->Label1->Caption() +
                  "'\r\n\r\n[TLanguageTestForm.Deutsch]\r\nLabel1.Caption='" +
                  Form->Label1->Caption() + "'\r\n\r\n");
}

TEST_F(Exchange, RoundTripIntoAFreshFormKeepsEveryValue) {
    const String Exported = Manager->ExportLanguagesText();
    auto Fresh = FreshForm();
    const String Imported = Import(Fresh->Host->Manager(), Exported, imClearExisting, true);
    EXPECT_EQ(LinesOf(Rejected), std::vector<String>{});
    EXPECT_EQ(SortedLines(Imported), SortedLines(Exported));
    EXPECT_EQ(Fresh->Caption(), Form->Caption());
}

TEST_F(Exchange, ReimportOfTheOwnDataChangesNothing) {
    const String Before = Manager->ExportLanguagesText();
    for (TImportMode Mode : {imAddAll, imAddNotExisting}) {
        EXPECT_EQ(Import(Manager, "", Mode), Before);
        EXPECT_TRUE(Rejected.Count() == 0 && Notes.Count() == 0);
    }
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

TEST_F(Exchange, ValuesComeBackUnchanged) {
    const String Values[] = {
        "It's",         "'quoted'",         "  blanks around  ",     "a = b",      "",
        "two\r\nlines", "one\nline\rbreak", "back\\slash \"q\" \\n", "\"double\"", "Ünïcödé €",
        "\ttab"};
    for (const String& Value : Values) {
        SCOPED_TRACE(Value);
        Form->Label2->SetCaption(Value);
        Form->Memo1->Lines()->Put(0, Value);
        auto Fresh = FreshForm();
        Import(Fresh->Host->Manager(), Manager->ExportLanguagesText(), imClearExisting, true);
        EXPECT_EQ(Fresh->Label2->Caption(), Value);
        // A line of a string list holds no line break: the tree gives blanks for them.
        String Line = Value;
        std::replace_if(
            Line.begin(), Line.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
        EXPECT_EQ(Fresh->Memo1->Lines()->Strings(0), Line);
    }
}

TEST(ExchangeFile, ValuesWithLineBreaksAreWrittenEscaped) {
    EXPECT_EQ(QuoteExchangeValue("a'b"), "'a'b'");
    EXPECT_EQ(QuoteExchangeValue("a\r\nb\\\"c"), "\"a\\r\\nb\\\\\\\"c\"");
    EXPECT_EQ(UnquoteExchangeValue("  'It''s'  "), "It''s");
    EXPECT_EQ(UnquoteExchangeValue("'\\n'"), "\\n"); // single quotes: taken as they are
    EXPECT_EQ(UnquoteExchangeValue("\"x\\ny\""), "x\ny");
    EXPECT_EQ(UnquoteExchangeValue("bare"), "bare");
    EXPECT_EQ(UnquoteExchangeValue("'"), "'");
}

TEST_F(Exchange, StringListLinesAndIndexedPathsImportBack) {
    auto Fresh = FreshForm();
    TLanguageManager* Target = Fresh->Host->Manager();
    TCESettings Settings;
    Target->ImportLanguagesText("[TLanguageTestForm.English]\r\n"
                                "Memo1.Lines%2='third'\r\n"
                                "Memo1.Lines.Strings%0='first'\r\n",
                                &Settings, imAddAll, false, nullptr, &Notes, &Rejected);
    EXPECT_EQ(LinesOf(Rejected), std::vector<String>{});
    EXPECT_EQ(Fresh->Memo1->Lines()->Strings(2), "third");
    EXPECT_EQ(Fresh->Memo1->Lines()->Strings(0), "first");
}

TEST_F(Exchange, UnplacedLinesAreRejectedWithTheirSection) {
    Import(Manager, "[TLanguageTestForm.English]\r\n"
                    "Nowhere.Caption='x'\r\n"
                    "no equals sign\r\n"
                    "='no key'\r\n"
                    "Label1.NoSuchProperty='x'\r\n"
                    "[.]\r\n"
                    "Label1.Caption='no language'\r\n");
    EXPECT_EQ(LinesOf(Rejected),
              (std::vector<String>{"[TLanguageTestForm.English]=Nowhere.Caption='x'",
                                   "[TLanguageTestForm.English]=no equals sign",
                                   "[TLanguageTestForm.English]=='no key'",
                                   "[TLanguageTestForm.English]=Label1.NoSuchProperty='x'",
                                   "[.]=Label1.Caption='no language'"}));
}

TEST_F(Exchange, SectionWithoutFormClassAddsTheLanguage) {
    Import(Manager, "[.Français]\r\nLabel1.Caption='&Oui'\r\n  \t Host.#Saved='Enregistré.'\r\n");
    ASSERT_EQ(Manager->Langs()->Count(), 3);
    EXPECT_EQ(Manager->Langs()->Items(2)->Name(), "Français");
    EXPECT_EQ(Manager->Langs()->Items(2)->SubIndex(), 2);
    ASSERT_TRUE(Form->Host->SetLanguage("Français"));
    EXPECT_EQ(Form->Label1->Caption(), "&Oui");
    String Saved;
    EXPECT_TRUE(Manager->GetString("saved", Saved));
    EXPECT_EQ(Saved, "Enregistré.");
}

TEST_F(Exchange, ModesDecideWhichValueWins) {
    const String File = "[TLanguageTestForm.Deutsch]\r\nLabel1.Caption='&Jawohl'\r\n"
                        "Host.#Fresh='neu'\r\n";
    const struct {
        TImportMode Mode;
        const char* German;
        bool KeepsOthers;
    } Cases[] = {{imAddAll, "&Jawohl", true},
                 {imAddNotExisting, "&Ja", true},
                 {imClearExisting, "&Jawohl", false}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Mode);
        SetUp();
        Import(Manager, File, Case.Mode);
        EXPECT_EQ(LinesOf(Rejected), std::vector<String>{});
        const String Text = Manager->ExportLanguagesText();
        EXPECT_NE(Text.find(String("Label1.Caption='") + Case.German + "'"), String::npos) << Text;
        EXPECT_NE(Text.find("Host.#Fresh='neu'"), String::npos);
        EXPECT_EQ(Text.find("Host.#Saved=") != String::npos, Case.KeepsOthers) << Text;
        EXPECT_EQ(Text.find("Memo1.Lines%2=") != String::npos, Case.KeepsOthers) << Text;
        EXPECT_EQ(Manager->Langs()->Items(0)->Name(), "English"); // still active
        EXPECT_TRUE(Manager->Langs()->Items(0)->IsActive());
    }
}

TEST_F(Exchange, InitAllFillsTheOtherLanguagesOfANewEntry) {
    auto Fresh = FreshForm();
    TLanguageManager* Target = Fresh->Host->Manager();
    TCESettings Settings;
    Target->ImportLanguagesText("[X.English]\r\nLabel2.Caption='Cancel'\r\n[X.Deutsch]\r\n"
                                "[X.Dansk]\r\nLabel2.Caption='Annuller'\r\n",
                                &Settings, imClearExisting, true, nullptr, &Notes, &Rejected);
    const std::vector<TExchangeEntry> Entries = ExchangeEntries(Target);
    ASSERT_EQ(Entries.size(), 1u);
    EXPECT_EQ(Entries[0].Entry->GetLangValue(1).AsString(), "Cancel"); // Deutsch: from English
    EXPECT_EQ(Entries[0].Entry->GetLangValue(2).AsString(), "Annuller");
}

TEST_F(Exchange, ItemsWithoutCaptionAreFoundWithANote) {
    const String Before = Manager->ExportLanguagesText();
    ASSERT_NE(Before.find("Panel1.Items%1.Caption="), String::npos) << Before;
    Import(Manager, "[TLanguageTestForm.Deutsch]\r\nPanel1.Items%1='Speichern'\r\n");
    EXPECT_EQ(LinesOf(Rejected), std::vector<String>{});
    EXPECT_EQ(LinesOf(Notes),
              std::vector<String>{"[TLanguageTestForm.Deutsch]=Panel1.Items%1='Speichern'"});
    EXPECT_NE(Manager->ExportLanguagesText().find("Panel1.Items%1.Caption='Speichern'"),
              String::npos);
}

TEST_F(Exchange, FailedImportLeavesTheManagerAsItWas) {
    // An entry whose name the file format cannot carry: it does not re-import.
    TMainEntry* Label = Manager->Comps()->Items(Manager->Comps()->IndexOfName("Label1"));
    TPropertyEntry::Create(nullptr, Label, "Odd.Name", "String", tkLString);
    Manager->SyncCount(cmInitAll);
    const String Before = Manager->ExportLanguagesText();
    Notes.Add("old note");
    Rejected.Add("old rejection");
    ExpectError<Exception>(
        [&] {
            Manager->ImportLanguagesText("[X.English]\r\nNowhere.Caption='x'\r\n", nullptr,
                                         imAddAll, false, nullptr, &Notes, &Rejected);
        },
        "TLanguageManager.ImportLanguages failed: Internal error at REIMPORT");
    EXPECT_EQ(Manager->ExportLanguagesText(), Before);
    EXPECT_EQ(Notes.Count() + Rejected.Count(), 0);
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
}

TEST_F(Exchange, ImportErrors) {
    TStringList NotSettings;
    ExpectError<Exception>(
        [&] {
            Manager->ImportLanguages(Folder.File("x.lng"), &NotSettings, imAddAll, false, nullptr,
                                     &Notes, &Rejected);
        },
        "TLanguageManager.ImportLanguages: CESettings has not type TCESettings");
    ExpectError<EInOutError>(
        [&] {
            Manager->ImportLanguages(Folder.File("missing.txt"), nullptr, imAddAll, false, nullptr,
                                     &Notes, &Rejected);
        },
        "File not found");
}

TEST_F(Exchange, FilesAreUtf8AndOldFilesAreWindows1252) {
    const String FileName = Folder.File("form.txt");
    Manager->ExportLanguages(FileName);
    EXPECT_EQ(ReadFileContent(FileName), Manager->ExportLanguagesText());
    ReplaceFileContent(FileName,
                       "[TLanguageTestForm.Deutsch]\r\nLabel1.Caption='\xC4nderung \x80'\r\n");
    Manager->ImportLanguages(FileName, nullptr, imAddAll, false, nullptr, &Notes, &Rejected);
    ASSERT_TRUE(Form->Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "\xC3\x84nderung \xE2\x82\xAC");
}

TEST_F(Exchange, ChosenSectionsOnly) {
    const String FileName = Folder.File("form.txt");
    ReplaceFileContent(FileName, "[TLanguageTestForm.English]\r\nLabel1.Caption='A'\r\n"
                                 "[TLanguageTestForm.Deutsch]\r\nLabel1.Caption='B'\r\n");
    TStringList Sections;
    Sections.Add("tlanguagetestform=deutsch");
    Manager->ImportLanguages(FileName, nullptr, imAddAll, false, &Sections, &Notes, &Rejected);
    EXPECT_EQ(Form->Label1->Caption(), "&OK");
    ASSERT_TRUE(Form->Host->SetLanguage("Deutsch"));
    EXPECT_EQ(Form->Label1->Caption(), "B");
}

TEST_F(Exchange, SectionList) {
    const String FileName = Folder.File("sections.txt");
    TStringList List;
    List.Add("untouched");
    Manager->GetAvailLangSections(FileName, &List);
    EXPECT_EQ(LinesOf(List), std::vector<String>{"untouched"});
    ReplaceFileContent(FileName, "[TMyForm.English]\r\nA.B='c'\r\n\r\n[.English]\r\n[Plain]\r\n");
    Manager->GetAvailLangSections(FileName, &List);
    EXPECT_EQ(LinesOf(List), (std::vector<String>{"TMyForm=English", "=English", "Plain"}));
    EXPECT_EQ(SectionLanguage("TMyForm.English"), "English");
    EXPECT_EQ(SectionLanguage("English."), "English");
    EXPECT_EQ(SectionLanguage("English"), "English");
    EXPECT_EQ(SectionLanguage("."), "");
}

TEST_F(Exchange, ExportFailureIsLoggedAndRaised) {
    TLogFile Log(nullptr);
    Log.SetFileName(Folder.File("export.log"));
    EXPECT_THROW(Manager->ExportLanguages(Folder.File("no/such/folder/x.txt"), &Log), Exception);
    Log.CloseFile();
    const String Logged = ReadFileContent(Folder.File("export.log"));
    EXPECT_NE(Logged.find("BEGIN Label1.Caption"), String::npos) << Logged;
    EXPECT_NE(Logged.find("Export error: EFCreateError.Message = Cannot create file"), String::npos)
        << Logged;
}

// 10 000 translated values in 3 languages go out and come back in both
// formats: the exchange file into a copy without values, the PO files (one per
// translation) into a copy that holds the reference language only.
TEST(ExchangeRoundTrip, TenThousandValuesInThreeLanguages) {
    const test::TGeneratedLanguageData Original = test::MakeGeneratedLanguageData(2000, 5, 3);
    const String Exported = Original.Manager->ExportLanguagesText();
    TStringList Notes, Rejected;

    const test::TGeneratedLanguageData FromFile =
        test::MakeGeneratedLanguageData(2000, 5, 3, false);
    FromFile.Manager->ImportLanguagesText(Exported, nullptr, imClearExisting, false, nullptr,
                                          &Notes, &Rejected);
    EXPECT_EQ(Rejected.Count(), 0);
    EXPECT_EQ(FromFile.Manager->ExportLanguagesText(), Exported);

    const test::TGeneratedLanguageData FromPo = test::MakeGeneratedLanguageData(2000, 5, 1);
    String Text;
    for (const char* Language : {"L1", "L2"}) {
        const TPoCatalog Catalog =
            ParsePo(ExportPo(Original.Manager.get(), Language, String()), "x.po");
        Text += PoToExchange(Catalog, FromPo.Manager.get(), PoLanguage(Catalog), String()).Text;
    }
    FromPo.Manager->ImportLanguagesText(Text, nullptr, imAddAll, false, nullptr, &Notes, &Rejected);
    EXPECT_EQ(Rejected.Count(), 0);
    EXPECT_EQ(FromPo.Manager->ExportLanguagesText(), Exported);
}

} // namespace
} // namespace orlo
