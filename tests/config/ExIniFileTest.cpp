#include "config/ExIniFile.h"

#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"
#include "tests/classes/LinesOf.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

namespace {

class ExIniFileTest : public ::testing::Test, protected TTextFileIn<TRegistrySandbox> {
protected:
    ExIniFileTest() : TTextFileIn("settings.ini") {}

    std::unique_ptr<TExIniFile> Registry() {
        return std::make_unique<TExIniFile>(rkCurrentUser, "Software\\Orlo GbR\\Designers", true);
    }
    // The raw text of a registry value below the test key.
    String RegistryText(const String& Name) {
        TRegistry Reg;
        Reg.OpenKeyReadOnly("Software\\Orlo GbR\\Designers");
        return Reg.ReadString(Name);
    }
};

} // namespace

TEST(ExIniFile, RegistryKeysMapToTheRoots) {
    const std::pair<TRegistryKey, HKEY> Cases[] = {
        {rkClassesRoot, 0x80000000}, {rkCurrentUser, 0x80000001},     {rkLocalMachine, 0x80000002},
        {rkUsers, 0x80000003},       {rkPerformanceData, 0x80000004}, {rkCurrentConfig, 0x80000005},
        {rkDynData, 0x80000006},
    };
    for (const auto& [Key, Root] : Cases)
        EXPECT_EQ(RegistryKeyToHKEY(Key), Root) << int(Key);
}

TEST_F(ExIniFileTest, DefaultsAndFileName) {
    TExIniFile Ini(FileName);
    EXPECT_FALSE(Ini.HintsEnabled());
    EXPECT_EQ(Ini.HintPosition(), 49);
    EXPECT_EQ(Ini.HintMarker(), ";");
    EXPECT_FALSE(Ini.WriteBack());
    EXPECT_EQ(Ini.GetFileName(), FileName);
    Ini.SetHintsEnabled(true);
    Ini.SetHintPosition(3);
    Ini.SetHintMarker("//");
    Ini.SetWriteBack(true);
    Ini.DefaultInit();
    EXPECT_FALSE(Ini.HintsEnabled());
    EXPECT_EQ(Ini.HintPosition(), 49);
    EXPECT_EQ(Ini.HintMarker(), ";");
    EXPECT_FALSE(Ini.WriteBack());
    EXPECT_EQ(Registry()->GetFileName(), "");
}

TEST_F(ExIniFileTest, CreateClearsTheReadOnlyAttribute) {
    Write("[S]\nK=1\n");
    FileSetAttr(FileName, faReadOnly);
    TExIniFile Ini(FileName);
    EXPECT_EQ(FileGetAttr(FileName) & faReadOnly, 0);
    Ini.WriteString("S", "K", "2");
    EXPECT_EQ(Read(), "[S]\nK=2\n");
    TExIniFile Missing(File("missing.ini"));
    EXPECT_FALSE(FileExists(File("missing.ini")));
}

TEST_F(ExIniFileTest, MissingEntryWithDefaultWrittenBackWithHint) {
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    Ini.SetWriteBack(true);
    EXPECT_EQ(Ini.ReadInteger("Options", "Mode", 1), 1);
    Ini.WriteStringEx("Options", "Mode", "1", "0=off");
    EXPECT_EQ(Read(), "[Options]\nMode=1" + String(43, ' ') + ";0=off\n");
    EXPECT_EQ(Read().find(';'), String("[Options]\n").size() + 49)
        << "the marker follows 49 characters";
    EXPECT_EQ(Ini.ReadInteger("Options", "Mode", 7), 1);
    EXPECT_EQ(Ini.ReadString("Options", "Mode", ""), "1");
}

TEST_F(ExIniFileTest, StoredHintWinsOverTheGivenOne) {
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    Ini.WriteStringEx("S", "Name", "old", "stored hint");
    Ini.WriteStringEx("S", "Name", "new", "given hint");
    EXPECT_EQ(Ini.ReadString("S", "Name", ""), "new");
    EXPECT_EQ(Ini.ExtractHint(Ini.ReadValue("S", "Name", "")), "stored hint");
    Ini.WriteString("S", "Name", "newer"); // no hint given: the stored one stays
    EXPECT_EQ(Ini.ReadValue("S", "Name", ""), "newer" + String(39, ' ') + ";stored hint");
}

TEST_F(ExIniFileTest, HintPositionZeroWritesTheBareValue) {
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    Ini.WriteStringEx("S", "K", "v", "hint");
    Ini.SetHintPosition(0);
    Ini.WriteStringEx("S", "K", "w", "other");
    EXPECT_EQ(Read(), "[S]\nK=w\n");
}

TEST_F(ExIniFileTest, PaddingShrinksWithLongIdentsAndNeverCuts) {
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    Ini.SetHintPosition(10);
    const String LongIdent(20, 'I');
    Ini.WriteStringEx("S", LongIdent, "value", "h");
    Ini.WriteStringEx("S", "Ab", "a-long-value", "h");
    Ini.WriteStringEx("S", "Größe", "1", "h"); // the column counts characters
    EXPECT_EQ(Read(), "[S]\n" + LongIdent + "=value;h\nAb=a-long-value;h\nGröße=1   ;h\n");
}

TEST_F(ExIniFileTest, ValueWithTheMarkerLosesTheRestWhenHintsAreOn) {
    TExIniFile Ini(FileName);
    Ini.WriteString("S", "Text", "first; second");
    EXPECT_EQ(Ini.ReadString("S", "Text", ""), "first; second");
    Ini.SetHintsEnabled(true);
    EXPECT_EQ(Ini.ReadString("S", "Text", ""), "first");
}

TEST_F(ExIniFileTest, TypedValuesInBothModes) {
    auto File = std::make_unique<TExIniFile>(FileName);
    auto Reg = Registry();
    for (TExIniFile* Ini : {File.get(), Reg.get()}) {
        const String Mode = Ini->GetFileName().empty() ? "registry" : "file";
        Ini->WriteInteger("T", "Int", -12);
        Ini->WriteBool("T", "Yes", true);
        Ini->WriteBool("T", "No", false);
        Ini->WriteFloat("T", "Float", 2.5);
        Ini->WriteString("T", "Bad", "abc");
        Ini->WriteString("T", "Two", "2");
        Ini->WriteString("T", "Hex", "1Ah");
        EXPECT_EQ(Ini->ReadInteger("T", "Int", 0), -12) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Int", ""), "-12") << Mode;
        EXPECT_TRUE(Ini->ReadBool("T", "Yes", false)) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Yes", ""), "1") << Mode;
        EXPECT_FALSE(Ini->ReadBool("T", "No", true)) << Mode;
        EXPECT_TRUE(Ini->ReadBool("T", "Two", false)) << "a stored 2 is true: " << Mode;
        EXPECT_EQ(Ini->ReadInteger("T", "Hex", 0), 26) << Mode;
        EXPECT_DOUBLE_EQ(Ini->ReadFloat("T", "Float", 0), 2.5) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Float", ""), "2.5") << Mode;
        EXPECT_EQ(Ini->ReadInteger("T", "Bad", 5), 5) << Mode;
        EXPECT_DOUBLE_EQ(Ini->ReadFloat("T", "Bad", 0.25), 0.25) << Mode;
        EXPECT_EQ(Ini->ReadInteger("T", "Missing", 9), 9) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Missing", "dflt"), "dflt") << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Bad", ""), "abc") << "nothing written back yet: " << Mode;

        Ini->SetWriteBack(true);
        EXPECT_EQ(Ini->ReadInteger("T", "Bad", 5), 5) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "Bad", ""), "abc")
            << "a stored entry is its writer's, even a bad one: " << Mode;
        EXPECT_EQ(Ini->ReadInteger("T", "NewInt", 5), 5) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "NewInt", ""), "5") << "a missing one is created: " << Mode;
        EXPECT_DOUBLE_EQ(Ini->ReadFloat("T", "NewFloat", 0.5), 0.5) << Mode;
        EXPECT_EQ(Ini->ReadString("T", "NewFloat", ""), "0.5") << Mode;
        EXPECT_EQ(Ini->ReadString("T", "NewText", "made"), "made") << Mode;
        Ini->SetWriteBack(false);
        EXPECT_EQ(Ini->ReadString("T", "NewText", "other"), "made") << Mode;
    }
}

TEST_F(ExIniFileTest, RegistryValueNamesAndHints) {
    auto Ini = Registry();
    Ini->WriteString("Global", "Language", "Deutsch");
    Ini->WriteString("", "Alone", "a");
    Ini->WriteString("SectionOnly", "", "s");
    EXPECT_EQ(RegistryText("Global\\Language"), "Deutsch");
    EXPECT_EQ(RegistryText("Alone"), "a");
    EXPECT_EQ(RegistryText("SectionOnly"), "s");

    Ini->SetHintsEnabled(true);
    Ini->WriteStringEx("Global", "Mode", "1", "0=off");
    EXPECT_EQ(RegistryText("Global\\Mode"), "1 ;0=off") << "no padding in the registry";
    EXPECT_EQ(Ini->ReadString("Global", "Mode", ""), "1");
    EXPECT_EQ(Ini->ReadInteger("Global", "Mode", 0), 1);

    Ini->DeleteKey("Global", "Mode");
    EXPECT_EQ(Ini->ReadString("Global", "Mode", "gone"), "gone");
}

TEST_F(ExIniFileTest, RegistryValueOfAnotherTypeReadsAsDefault) {
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("Software\\Orlo GbR\\Designers", true));
        Reg.WriteInteger("Global\\Count", 7);
    }
    auto Ini = Registry();
    EXPECT_EQ(Ini->ReadString("Global", "Count", "default"), "default");
    EXPECT_EQ(Ini->ReadInteger("Global", "Count", 3), 3);
}

TEST_F(ExIniFileTest, DamagedRegistryDatabaseIsReportedNotReadAsDefaults) {
    auto Ini = Registry();
    for (int I = 0; I < 200; ++I)
        Ini->WriteString("Global", Format("Value%d", I), String(100, 'v'));
    Ini.reset();
    // The second half of the file, where the values went last, turns to rubbish;
    // the keys, written first, stay readable.
    String Content = ReadFileContent(DatabaseFileName());
    ASSERT_GT(Content.size(), 8 * 4096u);
    std::fill(Content.begin() + Content.size() / 2, Content.end(), '\xA5');
    ReplaceFileContent(DatabaseFileName(), Content);
    const String Expected = "Registry database '" + DatabaseFileName() + "' is damaged: ";
    try {
        auto Damaged = Registry();
        for (int I = 0; I < 200; ++I)
            ASSERT_EQ(Damaged->ReadString("Global", Format("Value%d", I), "default"),
                      String(100, 'v'))
                << I;
        FAIL() << "the damage was not seen";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message().substr(0, Expected.size()), Expected) << E.Message();
    }
    ReplaceFileContent(DatabaseFileName(), "not a database at all, but long enough to look at");
    try {
        Registry();
        FAIL() << "opened";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message(), Expected + "file is not a database");
    }
}

TEST_F(ExIniFileTest, WriteBackNeverUndoesAnotherProgramsValue) {
    // Three programs read a setting with WriteBack, again and again, while a
    // fourth stores a new value: the new value stays, and entries that were
    // missing are created with their defaults.
    constexpr int Readers = 3;
    constexpr int ReadsAfterTheNewValue = 30;
    // Time, not a count of reads, bounds a reader: a busy machine may let
    // thousands of reads pass before the writer runs.
    constexpr auto MostTime = std::chrono::seconds(60);
    for (const bool InFile : {true, false}) {
        const String Mode = InFile ? "file" : "registry";
        auto Open = [&] { return InFile ? std::make_unique<TExIniFile>(FileName) : Registry(); };
        Open()->WriteString("S", "Key", "old");
        int Started[2];
        ASSERT_EQ(pipe(Started), 0);
        std::vector<pid_t> Children;
        for (int R = 0; R < Readers; ++R)
            Children.push_back(StartHelperProcess([&, R] {
                auto Ini = Open();
                Ini->SetWriteBack(true);
                int SeenNew = 0;
                const auto Deadline = std::chrono::steady_clock::now() + MostTime;
                for (int I = 0;
                     SeenNew < ReadsAfterTheNewValue && std::chrono::steady_clock::now() < Deadline;
                     ++I) {
                    SeenNew += Ini->ReadString("S", "Key", "default") == "new" ? 1 : 0;
                    Ini->ReadInteger("S", Format("Created%d", R), R);
                    if (I == 0 && write(Started[1], "s", 1) != 1)
                        return 2;
                }
                return SeenNew == ReadsAfterTheNewValue ? 0 : 1;
            }));
        for (int R = 0; R < Readers; ++R) {
            char C = 0;
            ASSERT_EQ(read(Started[0], &C, 1), 1) << Mode;
        }
        Open()->WriteString("S", "Key", "new");
        for (pid_t Child : Children)
            EXPECT_EQ(WaitForHelperProcess(Child), 0)
                << "a reader lost sight of the new value in " << Mode;
        close(Started[0]);
        close(Started[1]);
        auto Ini = Open();
        EXPECT_EQ(Ini->ReadString("S", "Key", ""), "new") << Mode;
        for (int R = 0; R < Readers; ++R)
            EXPECT_EQ(Ini->ReadString("S", Format("Created%d", R), ""), IntToStr(R)) << Mode;
    }
}

TEST_F(ExIniFileTest, RegistryKeyThatCouldNotBeOpened) {
    TExIniFile Ini(rkLocalMachine, "Software\\Absent", false);
    EXPECT_EQ(Ini.ReadString("S", "K", "default"), "default");
    EXPECT_THROW(Ini.WriteString("S", "K", "v"), ERegistryException);
}

TEST_F(ExIniFileTest, SectionOperationsNeedAFile) {
    auto Reg = Registry();
    TStringList Strings;
    struct Case {
        std::function<void()> Action;
        const char* Message;
    };
    const Case Cases[] = {
        {[&] { Reg->ReadSection("S", &Strings); },
         "TExIniFile.ReadSection not possible for registry database"},
        {[&] { Reg->ReadSections(&Strings); },
         "TExIniFile.ReadSections not possible for registry database"},
        {[&] { Reg->ReadSectionValues("S", &Strings); },
         "TExIniFile.ReadSectionValues not possible for registry database"},
        {[&] { Reg->EraseSection("S"); },
         "TExIniFile.EraseSection not possible for registry database"},
    };
    for (const Case& C : Cases) {
        try {
            C.Action();
            ADD_FAILURE() << C.Message;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
}

TEST_F(ExIniFileTest, SectionOperationsOnFiles) {
    Write("[A]\nx=1" + String(10, ' ') + ";hint x\ny=2\n[B]\nz=3\n");
    TExIniFile Ini(FileName);
    TStringList Strings;
    Ini.ReadSections(&Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"A", "B"}));
    Ini.ReadSection("a", &Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"x", "y"}));
    Ini.ReadSectionValues("A", &Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"x=1" + String(10, ' ') + ";hint x", "y=2"}));
    Ini.SetHintsEnabled(true);
    Ini.ReadSectionValues("A", &Strings);
    EXPECT_EQ(LinesOf(Strings), (std::vector<String>{"x=1", "y=2"}));
    Ini.EraseSection("A");
    Ini.DeleteKey("B", "z");
    EXPECT_EQ(Read(), "[B]\n");
}

TEST_F(ExIniFileTest, HintOperations) {
    TExIniFile Ini(FileName);
    struct Case {
        const char* Text;
        const char* Removed;
        const char* Extracted;
    };
    const Case Cases[] = {
        {"1   ;0=off", "1", "0=off"},
        {"  value ; hint ", "value", " hint "},
        {"no marker  ", "no marker  ", ""},
        {";only hint", "", "only hint"},
        {"a;b;c", "a", "b;c"},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(Ini.RemoveHint(C.Text), C.Removed) << C.Text;
        EXPECT_EQ(Ini.ExtractHint(C.Text), C.Extracted) << C.Text;
    }
    EXPECT_EQ(Ini.CreateHint("text"), ";text");
    Ini.SetHintMarker("//");
    EXPECT_EQ(Ini.ExtractHint("v // note"), " note") << "the whole marker goes";
    EXPECT_EQ(Ini.RemoveHint("v // note"), "v");
    EXPECT_EQ(Ini.CreateHint("note"), "//note");
}

TEST_F(ExIniFileTest, LongerMarkerKeepsTheStoredHintStable) {
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    Ini.SetHintMarker("//");
    Ini.SetHintPosition(8);
    for (const char* Value : {"1", "2", "3"})
        Ini.WriteStringEx("S", "K", Value, "note");
    EXPECT_EQ(Read(), "[S]\nK=3     //note\n");
}

TEST_F(ExIniFileTest, WriteFailuresOfTheFileBackEndPropagate) {
    Write("[S]\nK=1\n");
    TExIniFile Ini(FileName);
    FileSetAttr(FileName, faReadOnly);
    EXPECT_THROW(Ini.WriteString("S", "K", "2"), EIniFileException);
    EXPECT_EQ(Ini.ReadString("S", "K", ""), "1");
}
