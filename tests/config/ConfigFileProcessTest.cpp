// TConfigFile between program runs and processes: settings written by one run
// and read by the next, several programs saving one file, a program killed
// while it saves, a symbolic link planted at the file's name, damaged files.
// The other runs are this test program started again with one test of
// ConfigFileChild, which ordinary runs skip.

#include "config/ConfigFile.h"

#include "platform/classes/Strings.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"
#include "tests/config/ConfigFileTestSupport.h"
#include "tests/os/FreshProcess.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace orlo::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* FileVariable = "ORLO_CONFIG_TEST_FILE";
constexpr const char* ModeVariable = "ORLO_CONFIG_TEST_MODE";
constexpr const char* SectionVariable = "ORLO_CONFIG_TEST_SECTION";

// The form of a child run, on the file and in the mode its parent gave.
std::unique_ptr<TSettingsForm> ChildForm() {
    auto Form = MakeSettingsForm(GetEnvironmentVariable(FileVariable));
    if (GetEnvironmentVariable(ModeVariable) == "registry")
        Form->Config->SetMode(cmRegistry);
    Form->Config->SetRegistryRoot(rkCurrentUser);
    Form->Config->SetRegistryPath("Software\\Orlo GbR\\ConfigFileTest");
    const String Section = GetEnvironmentVariable(SectionVariable);
    if (!Section.empty())
        Form->Config->SetSection(Section);
    return Form;
}

// The files beside File that a save writes first and renames over it.
std::vector<String> SiblingFiles(const String& File) {
    std::vector<String> Found;
    const String Prefix = "." + ExtractFileName(File) + ".";
    for (const auto& Entry : fs::directory_iterator(ExtractFileDir(File)))
        if (Entry.path().filename().string().rfind(Prefix, 0) == 0)
            Found.push_back(Entry.path().string());
    return Found;
}

class ConfigFileProcesses : public ::testing::Test {
protected:
    std::vector<String> ChildEnvironment(const String& Mode, const String& Section = String()) {
        return test::ChildEnvironment({String(FileVariable) + "=" + IniFile,
                                       String(ModeVariable) + "=" + Mode,
                                       String(SectionVariable) + "=" + Section,
                                       "ORLO_REGISTRY=" + Folder.DatabaseFileName()});
    }
    std::unique_ptr<TSettingsForm> Form(const String& Mode) {
        TScopedEnvironment File(FileVariable, IniFile), Kind(ModeVariable, Mode);
        return ChildForm();
    }

    TRegistrySandbox Folder;
    const String IniFile = Folder.File("settings.ini");
};

class ConfigFileAcrossRuns : public ConfigFileProcesses,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(ConfigFileAcrossRuns, WrittenByOneRunReadByTheNext) {
    TFreshProcess Writer("ConfigFileChild.DISABLED_SavesTheSavedValues",
                         ChildEnvironment(GetParam()));
    ASSERT_TRUE(Writer.Passed());
    auto Reader = Form(GetParam());
    ExpectStartValues(Reader.get());
    ASSERT_TRUE(Reader->Config->Load());
    ExpectSavedValues(Reader.get());

    // And the other way round, after this run saved something else.
    Reader->Label1->SetCaption("From the parent");
    ASSERT_TRUE(Reader->Config->Save());
    TFreshProcess Checker("ConfigFileChild.DISABLED_LoadsTheParentsCaption",
                          ChildEnvironment(GetParam()));
    EXPECT_TRUE(Checker.Passed());
}

INSTANTIATE_TEST_SUITE_P(Modes, ConfigFileAcrossRuns, ::testing::Values("file", "registry"));

TEST_F(ConfigFileProcesses, SeveralProgramsSavingOneFileKeepEachOthersSettings) {
    TFreshProcess First("ConfigFileChild.DISABLED_SavesRepeatedly",
                        ChildEnvironment("file", "First"));
    TFreshProcess Second("ConfigFileChild.DISABLED_SavesRepeatedly",
                         ChildEnvironment("file", "Second"));
    ASSERT_TRUE(First.Passed());
    ASSERT_TRUE(Second.Passed());
    for (const char* Section : {"First", "Second"}) {
        auto Reader = Form("file");
        Reader->Config->SetSection(Section);
        ASSERT_TRUE(Reader->Config->Load());
        EXPECT_EQ(Reader->Label1->Caption(), String(Section) + " round 19");
        EXPECT_EQ(Reader->Kinds->Small, 9);
        EXPECT_EQ(Reader->Kinds->Big, 9007199254740993LL);
    }
    EXPECT_TRUE(SiblingFiles(IniFile).empty());
}

TEST_F(ConfigFileProcesses, AProgramKilledWhileSavingLeavesAWholeFile) {
    TFreshProcess Saver("ConfigFileChild.DISABLED_SavesUntilKilled", ChildEnvironment("file"));
    // Let it get well into its saves, then end it as kill -9 does.
    for (int Waited = 0; Waited < 200 && !FileExists(IniFile); ++Waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Saver.Kill();
    ASSERT_TRUE(FileExists(IniFile)) << Saver.Output();

    auto Reader = Form("file");
    ASSERT_TRUE(Reader->Config->Load());
    const String Caption = Reader->Label1->Caption();
    EXPECT_TRUE(Caption == "Start caption" || Caption.rfind("Round ", 0) == 0) << Caption;
    EXPECT_GE(Reader->Kinds->Small, 5);
    EXPECT_LE(Reader->Kinds->Small, 9);
    // The next save takes over and clears what the killed one left beside the file.
    Reader->Label1->SetCaption("After the kill");
    ASSERT_TRUE(Reader->Config->Save());
    EXPECT_TRUE(SiblingFiles(IniFile).empty());
    auto Again = Form("file");
    ASSERT_TRUE(Again->Config->Load());
    EXPECT_EQ(Again->Label1->Caption(), "After the kill");
}

// --- Links and damaged files ------------------------------------------------------------------

TEST_F(ConfigFileProcesses, ALinkAtTheFilesNameIsFollowedAndStaysALink) {
    const String Target = Folder.File("real.ini");
    ReplaceFileContent(Target, "; kept comment\r\n");
    fs::create_symlink(Target, IniFile);
    auto Writer = Form("file");
    SetSavedValues(Writer.get());
    ASSERT_TRUE(Writer->Config->Save());
    EXPECT_TRUE(fs::is_symlink(IniFile));
    EXPECT_EQ(ReadFileContent(Target).rfind("; kept comment\r\n", 0), 0u);
    auto Reader = Form("file");
    ASSERT_TRUE(Reader->Config->Load());
    ExpectSavedValues(Reader.get());
}

TEST_F(ConfigFileProcesses, ALoopOfLinksFailsTheTransfers) {
    fs::create_symlink(Folder.File("other.ini"), IniFile);
    fs::create_symlink(IniFile, Folder.File("other.ini"));
    auto Form = this->Form("file");
    Form->Config->SetShowSaveError(false);
    EXPECT_FALSE(Form->Config->Save());
    EXPECT_FALSE(Form->Config->Load());
    ExpectStartValues(Form.get());
}

TEST_F(ConfigFileProcesses, DamagedFilesLoadWhatTheyHold) {
    static const char Raw[] =
        "\x00\xff\xfe[\x01=\x02\r\n=\r\n[]\r\n[unclosed\r\nno equals sign\r\n";
    const String Garbage(Raw, sizeof(Raw) - 1);
    const String Cases[] = {
        String(), Garbage,
        Garbage + "[TSettingsForm]\r\nKinds.Small=7\r\nLabel1.Caption\r\n" + Garbage,
        "\xEF\xBB\xBF[TSettingsForm]\r\nKinds.Small=7\r\n[TSettingsForm]\r\nKinds.Small=8\r\n",
        "[TSettingsForm]\rKinds.Small=7\rKinds.Align=" + String(100000, 'x') + "\r"};
    for (const String& Text : Cases) {
        ReplaceFileContent(IniFile, Text);
        auto Reader = Form("file");
        EXPECT_TRUE(Reader->Config->Load());
        EXPECT_EQ(Reader->Kinds->Align, alNone);
        EXPECT_EQ(Reader->Label1->Caption(), "Start caption");
        if (Text.find("Kinds.Small=7") != String::npos) {
            EXPECT_EQ(Reader->Kinds->Small, 7) << Text.size();
        }
    }
}

TEST_F(ConfigFileProcesses, AFolderAtTheFilesNameFailsTheTransfers) {
    ForceDirectories(IniFile);
    auto Form = this->Form("file");
    Form->Config->SetShowSaveError(false);
    EXPECT_FALSE(Form->Config->Load());
    EXPECT_FALSE(Form->Config->Save());
    EXPECT_TRUE(DirectoryExists(IniFile));
}

// --- The other runs --------------------------------------------------------------------------

TEST(ConfigFileChild, DISABLED_SavesTheSavedValues) {
    auto Form = ChildForm();
    SetSavedValues(Form.get());
    ASSERT_TRUE(Form->Config->Save());
}

TEST(ConfigFileChild, DISABLED_LoadsTheParentsCaption) {
    auto Form = ChildForm();
    ASSERT_TRUE(Form->Config->Load());
    EXPECT_EQ(Form->Label1->Caption(), "From the parent");
    EXPECT_EQ(Form->Kinds->Big, 9007199254740993LL);
}

TEST(ConfigFileChild, DISABLED_SavesRepeatedly) {
    auto Form = ChildForm();
    SetSavedValues(Form.get());
    const String Section = Form->Config->Section();
    for (Integer Round = 0; Round < 20; ++Round) {
        Form->Label1->SetCaption(Section + " round " + IntToStr(Round));
        Form->Kinds->Small = 5 + Round % 5;
        ASSERT_TRUE(Form->Config->Save());
    }
}

TEST(ConfigFileChild, DISABLED_SavesUntilKilled) {
    auto Form = ChildForm();
    for (Integer Round = 0;; ++Round) {
        Form->Label1->SetCaption("Round " + IntToStr(Round));
        Form->Kinds->Small = 5 + Round % 5;
        ASSERT_TRUE(Form->Config->Save());
    }
}

} // namespace
} // namespace orlo::test
