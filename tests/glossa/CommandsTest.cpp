#include "apps/glossa/Commands.h"

#include "apps/glossa/FormFile.h"
#include "platform/os/FileSystem.h"
#include "runtime/LanguageExchange.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace orlo::glossa {
namespace {

using test::TScopedEnvironment;
using test::TTempFolder;

const String Source = ORLO_SOURCE_DIR;

// A form in three languages, German active, with a component of a class no
// program here knows.
const char* const Form = R"(object Notes: TNotesForm
  Caption = 'Notizen'
  object Title: TFancyLabel
    Caption = 'Titel'
    Hint = 'Der Titel'
    Lines.Strings = (
      'eins'
      'zwei')
    Tag = 7
  end
  object Glossa: TGlossa
    Language = 'Deutsch'
    LanguageManager_Langs = <
      item
        Name = 'Deutsch'
        SubIndex = 0
      end
      item
        Name = 'English'
        SubIndex = 1
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              0900000000010000546974656C}
          end>
        SubType = [stPubPropObject]
        Ref = Title
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
)";

class Commands : public ::testing::Test {
protected:
    void SetUp() override { ReplaceFileContent(FormFile, Form); }

    String Read(const String& Name) const { return ReadFileContent(Folder.File(Name)); }
    void Write(const String& Name, const String& Text) const {
        ReplaceFileContent(Folder.File(Name), Text);
    }
    std::vector<String> Files() const {
        std::vector<String> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder.Path()))
            Names.push_back(Entry.path().filename().string());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    // The command's exit status; its standard output in Output.
    int Run(int (*Command)(const TArguments&), const TArguments& Args) {
        testing::internal::CaptureStdout();
        const int Status = Command(Args);
        std::fflush(stdout);
        Output = testing::internal::GetCapturedStdout();
        return Status;
    }
    String Exchange() {
        EXPECT_EQ(Run(RunExport, {FormFile}), 0);
        return Output;
    }

    TTempFolder Folder;
    const String FormFile = Folder.File("Notes.dfm");
    String Output;
};

TEST_F(Commands, ShowListsLanguagesAndValues) {
    ASSERT_EQ(Run(RunShow, {FormFile}), 0);
    EXPECT_EQ(Output, "Form Notes: TNotesForm, language component Glossa\n"
                      "Languages:\n  Deutsch (active): 1 of 1 values filled\n"
                      "  English: 1 of 1 values filled\nNamed strings:\n"
                      "Translated properties:\n  Title.Caption\n");
}

TEST_F(Commands, ImportUnderAnotherLocaleChangesOnlyTheLanguageData) {
    TScopedEnvironment Lang("LANG", "fr_FR.UTF-8");
    TScopedEnvironment OrloLang("ORLO_LANG", "fr");
    Write("en.po", "msgid \"\"\nmsgstr \"X-Orlo-Language: English\\n\"\n\n"
                   "msgctxt \"Title.Caption\"\nmsgid \"Titel\"\nmsgstr \"Heading\"\n");
    ASSERT_EQ(Run(RunImport, {FormFile, Folder.File("en.po"), "--strict"}), 0) << Output;
    const String After = Read("Notes.dfm");
    const String Before = Form;
    // Everything up to the language data is as it was: the active German text included.
    const size_t Data = Before.find("    LanguageManager_Comps");
    EXPECT_EQ(After.substr(0, Data), Before.substr(0, Data));
    EXPECT_NE(After.find("Language = 'Deutsch'"), String::npos);
    EXPECT_NE(Exchange().find("[TNotesForm.English]\r\nTitle.Caption='Heading'"), String::npos);
    EXPECT_EQ(Files(), (std::vector<String>{"Notes.dfm", "en.po"})); // no temporary files left
}

TEST_F(Commands, StrictImportWithRejectedLinesWritesNothing) {
    Write("x.txt", "[TNotesForm.English]\r\nTitle.Caption='Heading'\r\nTitle.Hint='Tip'\r\n"
                   "Ghost.Caption='Boo'\r\n");
    EXPECT_EQ(Run(RunImport, {FormFile, Folder.File("x.txt"), "--strict"}), 1);
    EXPECT_EQ(Output, "rejected: " + Folder.File("x.txt") +
                          ":3: Title.Hint='Tip' (not a translated property of the form (glossa "
                          "collect adds stored ones))\n"
                          "rejected: " +
                          Folder.File("x.txt") +
                          ":4: Ghost.Caption='Boo' (no translated component Ghost on the form)\n");
    EXPECT_EQ(Read("Notes.dfm"), String(Form));
    EXPECT_EQ(Run(RunImport, {FormFile, Folder.File("x.txt")}), 0);
    EXPECT_NE(Exchange().find("Title.Caption='Heading'"), String::npos);
}

TEST_F(Commands, MalformedInputLeavesTheFormUntouched) {
    const struct {
        const char* Name;
        const char* Text;
    } Cases[] = {
        {"bad.po", "msgctxt \"Title.Caption\"\nmsgid \"Titel\nmsgstr \"x\"\n"},
        {"nolang.po", "msgctxt \"Title.Caption\"\nmsgid \"Titel\"\nmsgstr \"x\"\n"},
        {"missing.txt", nullptr},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        if (Case.Text)
            Write(Case.Name, Case.Text);
        EXPECT_EQ(Run(RunImport, {FormFile, Folder.File(Case.Name)}), 1);
        EXPECT_EQ(Read("Notes.dfm"), String(Form));
    }
    EXPECT_EQ(Run(RunImport, {FormFile}), 2);
    EXPECT_EQ(Run(RunImport, {FormFile, "x.po", "--mode", "sometimes"}), 2);
}

TEST_F(Commands, CollectAddsTheStoredTextsOfUnknownComponents) {
    ASSERT_EQ(Run(RunCollect, {FormFile}), 0);
    EXPECT_EQ(Output, "4 properties added\n");
    EXPECT_EQ(Exchange(), "[TNotesForm.Deutsch]\r\nTitle.Caption='Titel'\r\nTitle.Hint='Der Titel'"
                          "\r\nTitle.Lines%0='eins'\r\nTitle.Lines%1='zwei'\r\n"
                          "TNotesForm.Caption='Notizen'\r\n\r\n"
                          "[TNotesForm.English]\r\nTitle.Caption='Titel'\r\nTitle.Hint='Der "
                          "Titel'\r\nTitle.Lines%0='eins'\r\nTitle.Lines%1='zwei'\r\n"
                          "TNotesForm.Caption='Notizen'\r\n\r\n");
    // Collected values write back into the stored properties.
    Write("en.txt", "[X.Deutsch]\r\nTitle.Lines%1='drei'\r\nTNotesForm.Caption='Notes (de)'\r\n");
    ASSERT_EQ(Run(RunImport, {FormFile, Folder.File("en.txt"), "--strict"}), 0) << Output;
    const String After = Read("Notes.dfm");
    EXPECT_NE(After.find("  Caption = 'Notes (de)'\n"), String::npos) << After;
    EXPECT_NE(After.find("      'eins'\n      'drei')\n    Tag = 7\n"), String::npos) << After;
    ASSERT_EQ(Run(RunCollect, {FormFile}), 0);
    EXPECT_EQ(Output, "0 properties added\n");
}

TEST_F(Commands, AFormWithABareGlossaGetsItsLanguageData) {
    Write("Bare.dfm", "object F: TMyForm\n  Caption = 'Hello'\n  object B: TButton\n"
                      "    Caption = '&OK'\n  end\n  object Glossa1: TGlossa\n  end\nend\n");
    const String Bare = Folder.File("Bare.dfm");
    ASSERT_EQ(Run(RunAddLanguage, {Bare, "English"}), 0);
    ASSERT_EQ(Run(RunCollect, {Bare}), 0);
    ASSERT_EQ(Run(RunAddLanguage, {Bare, "Deutsch"}), 0);
    Write("de.txt", "[TMyForm.Deutsch]\r\nB.Caption='&Gut'\r\n");
    ASSERT_EQ(Run(RunImport, {Bare, Folder.File("de.txt"), "--strict"}), 0);
    ASSERT_EQ(Run(RunExport, {Bare}), 0);
    EXPECT_EQ(Output, "[TMyForm.English]\r\nB.Caption='&OK'\r\nTMyForm.Caption='Hello'\r\n\r\n"
                      "[TMyForm.Deutsch]\r\nB.Caption='&Gut'\r\nTMyForm.Caption='Hello'\r\n\r\n");
    EXPECT_EQ(Read("Bare.dfm").substr(0, 60), String("object F: TMyForm\n  Caption = 'Hello'\n"
                                                     "  object B: TButton\n    Caption = '&OK'\n")
                                                  .substr(0, 60));
}

TEST_F(Commands, LanguagesAreAddedAndRemoved) {
    ASSERT_EQ(Run(RunAddLanguage, {FormFile, "Dansk", "--copy-from", "English"}), 0);
    EXPECT_NE(Exchange().find("[TNotesForm.Dansk]\r\nTitle.Caption='Titel'"), String::npos);
    EXPECT_EQ(Run(RunAddLanguage, {FormFile, "dansk"}), 1);
    EXPECT_EQ(Run(RunAddLanguage, {FormFile, "Svenska", "--copy-from", "Klingon"}), 1);
    EXPECT_EQ(Run(RunRemoveLanguage, {FormFile, "Deutsch"}), 1); // the active one
    ASSERT_EQ(Run(RunRemoveLanguage, {FormFile, "English"}), 0);
    EXPECT_EQ(Exchange(), "[TNotesForm.Deutsch]\r\nTitle.Caption='Titel'\r\n\r\n"
                          "[TNotesForm.Dansk]\r\nTitle.Caption='Titel'\r\n\r\n");
    EXPECT_EQ(Run(RunRemoveLanguage, {FormFile, "English"}), 1);
}

TEST_F(Commands, StatsFailsBelowTheRequiredCompleteness) {
    Write("x.txt", "[X.English]\r\nTitle.Caption=''\r\n");
    ASSERT_EQ(Run(RunImport, {FormFile, Folder.File("x.txt")}), 0);
    EXPECT_EQ(Run(RunStats, {FormFile, "--require", "0"}), 0);
    EXPECT_EQ(Run(RunStats, {FormFile, "--require", "100"}), 1);
    EXPECT_NE(Output.find("English: 0 translated, 1 untranslated (0.0%) below the required"),
              String::npos)
        << Output;
    EXPECT_EQ(Run(RunStats, {FormFile, "--require", "101"}), 2);
}

TEST_F(Commands, ExportByExtension) {
    ASSERT_EQ(Run(RunExport, {FormFile, "-l", "English", "-o", Folder.File("en.po")}), 0);
    EXPECT_NE(Read("en.po").find("msgctxt \"Title.Caption\"\nmsgid \"Titel\"\nmsgstr \"Titel\"\n"),
              String::npos);
    ASSERT_EQ(Run(RunExport, {FormFile, "-o", Folder.File("t.pot")}), 0);
    EXPECT_NE(Read("t.pot").find("msgid \"Titel\"\nmsgstr \"\"\n"), String::npos);
    EXPECT_EQ(Run(RunExport, {FormFile, "-o", Folder.File("x.po")}), 1); // which language?
    ASSERT_EQ(Run(RunExport, {FormFile, "-o", Folder.File("all.txt")}), 0);
    EXPECT_EQ(Read("all.txt"), Exchange());
}

// Saves write through a link to the file it names, as every save of the
// platform does, so the link stays and its target receives the whole output.
TEST_F(Commands, AnOutputThatIsALinkIsWrittenThroughToItsTarget) {
    Write("target.txt", "old");
    ASSERT_EQ(symlink(Folder.File("target.txt").c_str(), Folder.File("out.txt").c_str()), 0);
    ASSERT_EQ(Run(RunExport, {FormFile, "-o", Folder.File("out.txt")}), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(Folder.File("out.txt").c_str()));
    EXPECT_EQ(Read("target.txt"), Exchange());
}

TEST_F(Commands, SeveralProcessesImportingIntoOneFormLeaveAWholeForm) {
    for (const char* Language : {"Dansk", "Svenska", "Norsk"})
        Write(String(Language) + ".txt",
              String("[X.") + Language + "]\r\nTitle.Caption='" + Language + "'\r\n");
    std::vector<pid_t> Children;
    for (const char* Language : {"Dansk", "Svenska", "Norsk"})
        Children.push_back(test::StartHelperProcess([&] {
            int Status = 0;
            for (int I = 0; I < 5 && Status == 0; ++I)
                Status = RunImport({FormFile, Folder.File(String(Language) + ".txt")});
            return Status;
        }));
    for (pid_t Child : Children)
        EXPECT_EQ(test::WaitForHelperProcess(Child), 0);
    // Whichever import came last, the file is a complete form with its own data.
    std::unique_ptr<TFormFile> Loaded = TFormFile::Load(FormFile);
    EXPECT_GE(Loaded->LanguageManager()->GetLangCount(), 3);
}

} // namespace
} // namespace orlo::glossa
