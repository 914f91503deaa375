#include "apps/glossa/CheckCommand.h"
#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orlo::glossa {
namespace {

using test::TTempFolder;

const String Data = String(ORLO_SOURCE_DIR) + "/tests/data/check/";

struct TRun {
    int Status;
    String Out;
    String Err;
};

TRun Check(const std::vector<String>& Args) {
    std::ostringstream Out, Err;
    const int Status = RunCheck(Args, Out, Err);
    return {Status, Out.str(), Err.str()};
}

TEST(CheckCommand, ATypoInAStringNameFails) {
    const TRun Run = Check({Data + "NotesForm.dfm", Data + "Notes.cpp", Data + "Typo.cpp"});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Out,
              Data + "Typo.cpp:3:30: error: string \"Saevd\" is not defined in " + Data +
                  "NotesForm.dfm\n" + Data +
                  "Typo.cpp:4:30: warning: call not checked: Glossa->GetString(Name));\n" + Data +
                  "NotesForm.dfm:49:55: warning: string \"Spare\" is not used in the sources\n");
    EXPECT_EQ(Run.Err, "");
}

TEST(CheckCommand, DefinedNamesPass) {
    const TRun Run = Check({Data + "NotesForm.dfm", Data + "Notes.cpp"});
    EXPECT_EQ(Run.Status, 0);
    EXPECT_EQ(Run.Out,
              Data + "NotesForm.dfm:49:55: warning: string \"Spare\" is not used in the sources\n");
}

TEST(CheckCommand, TheModeFollowsTheFormOrTheOption) {
    TTempFolder Folder;
    const String Source = Folder.File("Plain.cpp");
    ReplaceFileContent(Source, "Print(GetString(\"Titel\"));\n");
    // A form's calls go through its TGlossa: the plain call is not one of them.
    EXPECT_EQ(Check({Data + "NotesForm.dfm", Source}).Status, 0);
    const TRun Unqualified = Check({"--unqualified", Data + "NotesForm.dfm", Source});
    EXPECT_EQ(Unqualified.Status, 1);
    EXPECT_NE(Unqualified.Out.find(Source + ":1:17: error: string \"Titel\" is not defined"),
              String::npos);
}

TEST(CheckCommand, UnusedNamesOfABinaryFileHaveNoLine) {
    TTempFolder Folder;
    const String Source = Folder.File("Unit.cpp");
    ReplaceFileContent(Source, "GetString(\"Greeting\");");
    const String Lng = String(ORLO_SOURCE_DIR) + "/tests/data/glossa/UnitStrings.lng";
    const TRun Run = Check({Lng, Source});
    EXPECT_EQ(Run.Status, 0);
    EXPECT_EQ(Run.Out, Lng + ":1:1: warning: string \"Farewell\" is not used in the sources\n");
}

TEST(CheckCommand, LanguagesFollowTheExtension) {
    const std::vector<std::pair<String, TCodeType>> Cases = {
        {"a.pas", ctPascal}, {"A.PAS", ctPascal}, {"b.dpr", ctPascal},
        {"c.inc", ctPascal}, {"d.c", ctC},        {"e.cpp", ctCpp},
        {"f.h", ctCpp},      {"g", ctCpp},        {"dir.pas/h.cc", ctCpp}};
    for (const auto& [Name, Type] : Cases)
        EXPECT_EQ(SourceLanguage(Name), Type) << Name;
}

TEST(CheckCommand, PascalSourcesAndTheirSyntaxErrors) {
    TTempFolder Folder;
    const String Good = Folder.File("Good.pas");
    const String Bad = Folder.File("Bad.pas");
    ReplaceFileContent(Good, "unit Good;\nbegin\n  X := Glossa.GetString('Title');\n"
                             "  Y := Glossa.GetString('Saved');\nend.\n");
    ReplaceFileContent(Bad, "unit Bad;\nbegin\n  X := Glossa.GetString('Title');\n");
    const TRun Run = Check({Data + "NotesForm.dfm", Good, Bad});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Out,
              Bad + ":1:1: error: Syntax error in source code. Consistency check aborted.\n" +
                  Data +
                  "NotesForm.dfm:49:55: warning: string \"Spare\" is not used in the sources\n");
}

TEST(CheckCommand, UnreadableFilesAndBadUsage) {
    TTempFolder Folder;
    const TRun Missing = Check({Data + "NotesForm.dfm", Folder.File("missing.cpp")});
    EXPECT_EQ(Missing.Status, 1);
    EXPECT_NE(Missing.Err.find("glossa check: Cannot open file"), String::npos);

    const TRun Directory = Check({Data + "NotesForm.dfm", Folder.Path()});
    EXPECT_EQ(Directory.Status, 1);
    EXPECT_NE(Directory.Err.find("glossa check: "), String::npos);

    const TRun NoForm = Check({Folder.File("missing.dfm"), Data + "Notes.cpp"});
    EXPECT_EQ(NoForm.Status, 1);
    EXPECT_NE(NoForm.Err.find("glossa check: "), String::npos);

    for (const std::vector<String>& Args :
         {std::vector<String>{}, {Data + "NotesForm.dfm"}, {"--bogus", "a", "b"}}) {
        const TRun Usage = Check(Args);
        EXPECT_EQ(Usage.Status, 2);
        EXPECT_NE(Usage.Err.find("usage: glossa check"), String::npos);
    }
}

TEST(CheckCommand, CheckSourcesWithAGivenTable) {
    TTempFolder Folder;
    const String A = Folder.File("a.cpp");
    const String B = Folder.File("b.cpp");
    ReplaceFileContent(A, "GetString(\"One\");");
    ReplaceFileContent(B, "GetString(\"Two\");\r\nGetString(\"Nine\");");
    TStringList Names;
    Names.Add("One");
    Names.Add("Two");
    Names.Add("Three");
    std::ostringstream Out, Err;
    const int Status = CheckSources({"Form.lng", "Glossa", false, &Names}, {A, B}, Out, Err);
    EXPECT_EQ(Status, 1);
    // Only names that no source uses are unused; the form cannot be read, so
    // its message points at its start.
    EXPECT_EQ(Out.str(),
              B + ":2:11: error: string \"Nine\" is not defined in Form.lng\n"
                  "Form.lng:1:1: warning: string \"Three\" is not used in the sources\n");
}

} // namespace
} // namespace orlo::glossa
