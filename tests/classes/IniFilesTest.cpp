#include "platform/classes/IniFiles.h"
#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "tests/classes/LinesOf.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orlo;
using namespace orlo::test;

namespace {

class IniFileTest : public ::testing::Test, protected TTextFileIn<TTempFolder> {
protected:
    IniFileTest() : TTextFileIn("settings.ini") {}
};

const char* const Sample = "; kept comment\n"
                           "orphan=before any section\n"
                           "[Global]\n"
                           "  Language =  Deutsch  \n"
                           "Quoted='with quotes'\n"
                           "Empty=\n"
                           "garbage line\n"
                           "# hash comment\n"
                           "\n"
                           "[ Editor ]\n"
                           "Width=640\n"
                           "Width=800\n"
                           "Flag=1\n"
                           "[global]\n"
                           "Later=from the second block\n"
                           "Language=ignored, the first one wins\n";

} // namespace

TEST(IniDocument, ReadsSectionsIdentsAndValues) {
    const TIniDocument Doc(Sample);
    EXPECT_EQ(Doc.Sections(), (std::vector<String>{"Global", "Editor"}));
    EXPECT_EQ(Doc.Idents("GLOBAL"), (std::vector<String>{"Language", "Quoted", "Empty", "Later"}));
    EXPECT_EQ(Doc.Idents("editor"), (std::vector<String>{"Width", "Flag"}));
    struct Case {
        const char* Section;
        const char* Ident;
        std::optional<String> Value;
    };
    const Case Cases[] = {
        {"Global", "Language", "Deutsch"},
        {"global", "LANGUAGE", "Deutsch"},
        {" Global ", " Language ", "Deutsch"},
        {"Global", "Quoted", "'with quotes'"},
        {"Global", "Empty", ""},
        {"Global", "Later", "from the second block"},
        {"Editor", "Width", "640"},
        {"Global", "garbage line", std::nullopt},
        {"Global", "# hash comment", std::nullopt},
        {"", "orphan", std::nullopt},
        {"Missing", "Language", std::nullopt},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(Doc.Value(C.Section, C.Ident), C.Value) << C.Section << "/" << C.Ident;
    EXPECT_EQ(Doc.Text(), Sample) << "reading changes nothing";
}

TEST(IniDocument, ChangesKeepEverythingElse) {
    TIniDocument Doc(Sample);
    Doc.SetValue("GLOBAL", "language", "English");
    Doc.SetValue("Editor", "Height", "480");
    Doc.SetValue("New Section", "Key", "Value");
    EXPECT_TRUE(Doc.DeleteKey("global", "QUOTED"));
    EXPECT_FALSE(Doc.DeleteKey("global", "Quoted"));
    EXPECT_EQ(Doc.Text(), "; kept comment\n"
                          "orphan=before any section\n"
                          "[Global]\n"
                          "Language=English\n"
                          "Empty=\n"
                          "garbage line\n"
                          "# hash comment\n"
                          "\n"
                          "[ Editor ]\n"
                          "Width=640\n"
                          "Width=800\n"
                          "Flag=1\n"
                          "Height=480\n"
                          "[global]\n"
                          "Later=from the second block\n"
                          "Language=ignored, the first one wins\n"
                          "\n"
                          "[New Section]\n"
                          "Key=Value\n");
    EXPECT_TRUE(Doc.EraseSection("GLOBAL"));
    EXPECT_FALSE(Doc.SectionExists("Global"));
    EXPECT_FALSE(Doc.EraseSection("Global"));
    EXPECT_EQ(Doc.Sections(), (std::vector<String>{"Editor", "New Section"}));
    EXPECT_EQ(Doc.Text(), "; kept comment\n"
                          "orphan=before any section\n"
                          "[ Editor ]\n"
                          "Width=640\n"
                          "Width=800\n"
                          "Flag=1\n"
                          "Height=480\n"
                          "[New Section]\n"
                          "Key=Value\n");
}

TEST(IniDocument, NewKeyGoesBehindTheLastLineOfItsSection) {
    TIniDocument Doc("[A]\nx=1\n; note on A\n\n[B]\ny=2\n");
    Doc.SetValue("A", "z", "3");
    EXPECT_EQ(Doc.Text(), "[A]\nx=1\n; note on A\nz=3\n\n[B]\ny=2\n");
}

TEST(IniDocument, KeepsLineEndsAndByteOrderMark) {
    TIniDocument Windows("\xEF\xBB\xBF[A]\r\nx=1\r\n");
    EXPECT_EQ(Windows.Value("A", "x"), "1");
    Windows.SetValue("A", "y", "2");
    EXPECT_EQ(Windows.Text(), "\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\n");
    TIniDocument NoFinalBreak("[A]\nx=1");
    NoFinalBreak.SetValue("A", "x", "2");
    EXPECT_EQ(NoFinalBreak.Text(), "[A]\nx=2\n");
    TIniDocument Empty("");
    EXPECT_EQ(Empty.Text(), "");
    Empty.SetValue("S", "K", "V");
    EXPECT_EQ(Empty.Text(), "[S]\nK=V\n");
}

TEST(IniDocument, ReadsEveryKindOfLineEnd) {
    struct Case {
        const char* Text;
        const char* Changed; // after x=9 and the new y=2
    } Cases[] = {
        {"[A]\rx=1\r[B]\rz=3\r", "[A]\rx=9\ry=2\r[B]\rz=3\r"},
        {"[A]\rx=1\r\n[B]\nz=3", "[A]\rx=9\ry=2\r[B]\rz=3\r"},
        {"[A]\nx=1\r[B]\r\nz=3\n", "[A]\nx=9\ny=2\n[B]\nz=3\n"},
        {"[A]\r\nx=1\r\r\n[B]\rz=3", "[A]\r\nx=9\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"},
    };
    for (const Case& C : Cases) {
        TIniDocument Doc(C.Text);
        EXPECT_EQ(Doc.Sections(), (std::vector<String>{"A", "B"})) << C.Text;
        EXPECT_EQ(Doc.Value("A", "x"), "1") << C.Text;
        EXPECT_EQ(Doc.Value("B", "z"), "3") << C.Text;
        Doc.SetValue("A", "x", "9");
        Doc.SetValue("A", "y", "2");
        EXPECT_EQ(Doc.Text(), C.Changed) << C.Text;
    }
}

TEST(IniDocument, NamesIgnoreCaseInEveryScript) {
    TIniDocument Doc("[Ärger]\nÉcole=1\nПРИВЕТ=2\n[Arger]\nEcole=3\n");
    EXPECT_EQ(Doc.Value("äRGER", "éCOLE"), "1");
    EXPECT_EQ(Doc.Value("ärger", "привет"), "2");
    EXPECT_EQ(Doc.Value("arger", "école"), std::nullopt) << "A is not Ä, E is not É";
    Doc.SetValue("ÄRGER", "привет", "4");
    EXPECT_EQ(Doc.Text(), "[Ärger]\nÉcole=1\nПРИВЕТ=4\n[Arger]\nEcole=3\n");
    EXPECT_TRUE(Doc.DeleteKey("ärger", "école"));
    EXPECT_TRUE(Doc.EraseSection("ARGER"));
    EXPECT_EQ(Doc.Text(), "[Ärger]\nПРИВЕТ=4\n");
}

TEST(IniDocument, RefusesNamesAndValuesThatWouldBecomeOtherEntries) {
    struct Case {
        const char* Section;
        const char* Ident;
        const char* Value;
        const char* Message;
    };
    const Case Cases[] = {
        {"", "K", "V", "Invalid section name ''"},
        {"  ", "K", "V", "Invalid section name '  '"},
        {"A]B", "K", "V", "Invalid section name 'A]B'"},
        {"A\nB", "K", "V", "Invalid section name 'A\nB'"},
        {"S", "", "V", "Invalid identifier ''"},
        {"S", "a=b", "V", "Invalid identifier 'a=b'"},
        {"S", "[x", "V", "Invalid identifier '[x'"},
        {"S", ";x", "V", "Invalid identifier ';x'"},
        {"S", "#x", "V", "Invalid identifier '#x'"},
        {"S", "a\rb", "V", "Invalid identifier 'a\rb'"},
        {"S", "K", "one\n[Evil]\nx=1", "Line break in the value of 'K'"},
    };
    for (const Case& C : Cases) {
        TIniDocument Doc("[S]\nK=old\n");
        try {
            Doc.SetValue(C.Section, C.Ident, C.Value);
            ADD_FAILURE() << C.Message;
        } catch (const EIniFileException& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
        EXPECT_EQ(Doc.Text(), "[S]\nK=old\n");
    }
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndFirstWriteCreatesIt) {
    TIniFile Ini(FileName);
    EXPECT_EQ(Ini.FileName(), FileName);
    EXPECT_EQ(Ini.ReadString("S", "K", "default"), "default");
    EXPECT_FALSE(Ini.SectionExists("S"));
    Ini.EraseSection("S");
    Ini.DeleteKey("S", "K");
    EXPECT_FALSE(FileExists(FileName)) << "deleting nothing creates nothing";
    Ini.WriteString("S", "K", "V");
    EXPECT_EQ(Read(), "[S]\nK=V\n");
}

TEST_F(IniFileTest, WritesReachTheFileAtOnceAndOtherObjectsSeeThem) {
    TIniFile Writer(FileName);
    TIniFile Reader(FileName);
    EXPECT_EQ(Reader.ReadString("S", "K", "none"), "none");
    Writer.WriteString("S", "K", "first");
    EXPECT_EQ(Read(), "[S]\nK=first\n");
    EXPECT_EQ(Reader.ReadString("S", "K", "none"), "first");
    Write("[S]\nK=changed behind its back\n");
    EXPECT_EQ(Reader.ReadString("s", "k", "none"), "changed behind its back");
    Writer.WriteString("S", "Other", "x");
    EXPECT_EQ(Read(), "[S]\nK=changed behind its back\nOther=x\n")
        << "a write starts from the file as it is";
}

TEST_F(IniFileTest, TypedValues) {
    Write("[T]\nNumber=42\nHex=$1F\nBad=4x\nNegative=-7\nZero=0\nTwo=2\n");
    TIniFile Ini(FileName);
    struct Case {
        const char* Ident;
        Integer Number;
        bool Bool;
    };
    const Case Cases[] = {
        {"Number", 42, true}, {"Hex", 31, true}, {"Bad", 99, true},     {"Negative", -7, true},
        {"Zero", 0, false},   {"Two", 2, true},  {"Missing", 99, true},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(Ini.ReadInteger("T", C.Ident, 99), C.Number) << C.Ident;
        EXPECT_EQ(Ini.ReadBool("T", C.Ident, true), C.Bool) << C.Ident;
    }
    Ini.WriteInteger("T", "Number", -5);
    Ini.WriteBool("T", "Zero", true);
    EXPECT_EQ(Ini.ReadInteger("T", "Number", 0), -5);
    EXPECT_EQ(Ini.ReadString("T", "Zero", ""), "1");
}

TEST_F(IniFileTest, SectionListsFillStrings) {
    Write(Sample);
    TIniFile Ini(FileName);
    TStringList Strings;
    Strings.Add("stale");
    Ini.ReadSections(&Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"Global", "Editor"}));
    Ini.ReadSection("editor", &Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"Width", "Flag"}));
    Ini.ReadSectionValues("Global", &Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"Language=Deutsch", "Quoted='with quotes'",
                                                     "Empty=", "Later=from the second block"}));
    Ini.ReadSection("Missing", &Strings);
    EXPECT_EQ(Strings.Count(), 0);
    EXPECT_TRUE(Ini.ValueExists("Global", "Empty"));
    EXPECT_FALSE(Ini.ValueExists("Global", "garbage line"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKeyWriteThrough) {
    Write("[A]\nx=1\ny=2\n[B]\nz=3\n");
    TIniFile Ini(FileName);
    Ini.DeleteKey("a", "X");
    EXPECT_EQ(Read(), "[A]\ny=2\n[B]\nz=3\n");
    Ini.EraseSection("b");
    EXPECT_EQ(Read(), "[A]\ny=2\n");
}

TEST_F(IniFileTest, ReadOnlyFileRefusesWritesAndStaysUnchanged) {
    Write("[S]\nK=old\n");
    FileSetAttr(FileName, faReadOnly);
    TIniFile Ini(FileName);
    try {
        Ini.WriteString("S", "K", "new");
        FAIL() << "written to a read-only file";
    } catch (const EIniFileException& E) {
        EXPECT_EQ(E.Message(), "Unable to write to \"" + FileName + "\"");
    }
    EXPECT_EQ(Read(), "[S]\nK=old\n");
    EXPECT_EQ(Ini.ReadString("S", "K", ""), "old");
    Ini.WriteString("S", "K", "old"); // no change: nothing to refuse
}

TEST_F(IniFileTest, InvalidWriteCreatesNoFile) {
    TIniFile Ini(FileName);
    EXPECT_THROW(Ini.WriteString("S", "K", "a\nb"), EIniFileException);
    EXPECT_FALSE(FileExists(FileName));
}

TEST_F(IniFileTest, WorksWithBackslashPaths) {
    ForceDirectories(File("sub"));
    TIniFile Ini(Path() + "\\sub\\win.ini");
    Ini.WriteString("S", "K", "V");
    EXPECT_EQ(ReadFileContent(File("sub/win.ini")), "[S]\nK=V\n");
    EXPECT_EQ(Ini.ReadString("S", "K", ""), "V");
}

TEST_F(IniFileTest, ReplacedFileKeepsItsPermissions) {
    Write("[S]\nK=1\n");
    chmod(FileName.c_str(), 0640);
    TIniFile Ini(FileName);
    Ini.WriteString("S", "K", "2");
    struct stat Info;
    ASSERT_EQ(stat(FileName.c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0640u);
}
