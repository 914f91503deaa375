#include "platform/os/SystemInfo.h"
#include "platform/os/CodePage.h"
#include "platform/os/FileSystem.h"
#include "platform/os/Guid.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <regex>
#include <set>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

TEST(SystemInfo, FoldersFollowTheEnvironment) {
    TTempFolder Folder;
    TScopedEnvironment Home("HOME", Folder.File("home"));
    TScopedEnvironment NoConfig("XDG_CONFIG_HOME", "");
    TScopedEnvironment NoData("XDG_DATA_HOME", "");
    TScopedEnvironment NoWindows("ORLO_WINDIR", "");
    TScopedEnvironment Temp("TMPDIR", Folder.File("temp/"));
    EXPECT_EQ(HomeDirectory(), Folder.File("home"));
    EXPECT_EQ(ConfigDirectory(), Folder.File("home") + "/.config");
    EXPECT_EQ(DataDirectory(), Folder.File("home") + "/.local/share");
    EXPECT_EQ(TempDirectory(), Folder.File("temp")) << "without the trailing separator";
    EXPECT_EQ(WindowsDirectory(), Folder.File("home") + "/.local/share/orlo/windows");
    EXPECT_TRUE(DirectoryExists(WindowsDirectory())) << "made on demand";
    {
        TScopedEnvironment Config("XDG_CONFIG_HOME", Folder.File("config"));
        TScopedEnvironment Data("XDG_DATA_HOME", Folder.File("data"));
        EXPECT_EQ(ConfigDirectory(), Folder.File("config"));
        EXPECT_EQ(WindowsDirectory(), Folder.File("data") + "/orlo/windows");
    }
    TScopedEnvironment Windows("ORLO_WINDIR", Folder.File("win"));
    EXPECT_EQ(WindowsDirectory(), Folder.File("win"));
    EXPECT_EQ(SystemDirectory(), Folder.File("win") + "/system32");
    EXPECT_TRUE(DirectoryExists(SystemDirectory()));
}

TEST(SystemInfo, DefaultTemporaryDirectory) {
    TScopedEnvironment Temp("TMPDIR", "");
    EXPECT_EQ(TempDirectory(), "/tmp");
}

TEST(SystemInfo, WindowsDirectoryThatCannotBeMadeIsEmpty) {
    TTempFolder Folder;
    ReplaceFileContent(Folder.File("file"), "x");
    TScopedEnvironment Windows("ORLO_WINDIR", Folder.File("file/windows"));
    EXPECT_EQ(WindowsDirectory(), "");
    EXPECT_EQ(SystemDirectory(), "");
}

TEST(SystemInfo, ProgramUserAndComputer) {
    const String Program = ApplicationFileName();
    EXPECT_EQ(Program.substr(Program.rfind('/') + 1), "os_tests");
    const passwd* Entry = getpwuid(geteuid());
    ASSERT_NE(Entry, nullptr);
    EXPECT_EQ(UserName(), Entry->pw_name);
    char Host[256] = {};
    ASSERT_EQ(gethostname(Host, sizeof(Host) - 1), 0);
    EXPECT_EQ(ComputerName(), Host);
    EXPECT_FALSE(ComputerName().empty());
}

TEST(Guid, BracedUpperCaseVersionFourAndUnique) {
    const std::regex Shape(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    std::set<String> Seen;
    for (int I = 0; I < 200; ++I) {
        const String Text = CreateGUIDString();
        EXPECT_TRUE(std::regex_match(Text, Shape)) << Text;
        EXPECT_TRUE(Seen.insert(Text).second) << Text;
    }
}

TEST(Guid, TextOfKnownFields) {
    TGUID Guid;
    Guid.D1 = 0x0F1E2D3C;
    Guid.D2 = 0x4B5A;
    Guid.D3 = 0x0978;
    Guid.D4 = {0x86, 0x95, 0xA4, 0xB3, 0xC2, 0xD1, 0xE0, 0x0F};
    EXPECT_EQ(GUIDToString(Guid), "{0F1E2D3C-4B5A-0978-8695-A4B3C2D1E00F}");
}

TEST(CodePage, AnsiToOemGivesCodePage850) {
    struct Case {
        String Text;
        String Oem;
    };
    const Case Cases[] = {
        {"", ""},
        {"Plain ASCII 123", "Plain ASCII 123"},
        {"\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F",
         "\x8E\x99\x9A\x84\x94\x81\xE1"},
        {"caf\xC3\xA9", "caf\x82"},
        {"\xC2\xA3 \xC2\xB5", "\x9C \xE6"},
        {"\xE2\x82\xAC 5", "? 5"}, // no euro sign in 850
        {"a\xC3"
         "b",
         "a?b"},                            // broken sequence: only its byte goes
        {"\xFF\xFE", "??"},                 // not UTF-8 at all
        {"\xE4\xB8\xAD\xE6\x96\x87", "??"}, // characters 850 lacks
        {"x\xF0\x9F\x98\x80y", "x?y"},      // four-byte character
        {String("nul\0inside", 10), String("nul\0inside", 10)},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(AnsiToOem(C.Text), C.Oem) << C.Text;
}

TEST(CodePage, Utf8IsValidatedStrictly) {
    const struct {
        String Text;
        bool Valid;
    } Cases[] = {
        {"", true},
        {"plain", true},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
        {"caf\xE9", false},          // a Windows-1252 letter
        {"\xC3", false},             // cut short
        {"\xC0\xAF", false},         // overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // beyond U+10FFFF
        {"\x80", false},             // a continuation byte alone
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsValidUtf8(C.Text), C.Valid) << C.Text;
}

TEST(CodePage, Windows1252BecomesUtf8) {
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80 \x93x\x94 \xFF"),
              "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\xBF");
    EXPECT_EQ(Windows1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D"); // undefined: C1 controls
    EXPECT_EQ(Windows1252ToUtf8("ascii"), "ascii");
}
