#include "tools/FileTools.h"

#include "platform/classes/TypInfo.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <sys/stat.h>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

namespace {

const std::regex TimeStamp("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");

std::vector<String> SplitLines(const String& Text) {
    std::vector<String> Lines;
    size_t Start = 0;
    for (size_t End; (End = Text.find("\r\n", Start)) != String::npos; Start = End + 2)
        Lines.push_back(Text.substr(Start, End - Start));
    EXPECT_EQ(Start, Text.size()) << "every line ends in CR LF";
    return Lines;
}

// The CRC-32 bit by bit, started from Seed: a second opinion on the table.
Cardinal BitwiseCrc(Cardinal Seed, const String& Text) {
    Cardinal Crc = Seed;
    for (unsigned char C : Text) {
        Crc ^= C;
        for (int K = 0; K < 8; ++K)
            Crc = (Crc >> 1) ^ ((Crc & 1) ? 0xEDB88320u : 0);
    }
    return ~Crc;
}

Cardinal FromBase17(const String& Text) {
    Cardinal Value = 0;
    for (char C : Text)
        Value = Value * 17 + static_cast<Cardinal>(C <= '9' ? C - '0' : C - 'A' + 10);
    return Value;
}

// Recomputes the checksum of every value line after the "#" line; true for
// the lines whose checksum holds.
std::vector<bool> VerifyChain(const std::vector<String>& Lines) {
    std::vector<bool> Valid;
    Cardinal Chain = FromBase17(Lines.at(0).substr(1));
    for (size_t I = 1; I < Lines.size(); ++I) {
        const String Text = Lines[I].substr(9) + "\r\n";
        Valid.push_back(TLogFile::ChecksumLine(Chain, Text) == Lines[I] + "\r\n");
    }
    return Valid;
}

class LogFileTest : public ::testing::Test {
protected:
    TTempFolder Folder;
    TScopedEnvironment Temp{"TMPDIR", Folder.File("temp")};
    TScopedEnvironment Windows{"ORLO_WINDIR", Folder.File("windows")};
    TLogFile Log{nullptr};

    std::vector<String> LinesOf(const String& FileName) {
        return SplitLines(ReadFileContent(FileName));
    }
};

} // namespace

TEST(LogFileChecksum, KnownValuesAndChaining) {
    Cardinal Chain = 0x12345678;
    const String Text = "Backup saved\r\n";
    Cardinal Seed = 0x12345678;
    for (size_t I = 0; I < Text.size(); ++I)
        Seed += static_cast<unsigned char>(Text[I]) * Cardinal(I + 1);
    const Cardinal Crc = BitwiseCrc(Seed, Text);
    EXPECT_EQ(TLogFile::ChecksumLine(Chain, Text), IntToHex(Int64(Crc), 8) + " " + Text);
    EXPECT_EQ(Chain, ~(Crc ^ Seed ^ 0x40009001u));

    Cardinal Zero = 0;
    EXPECT_EQ(TLogFile::ChecksumLine(Zero, ""), "FFFFFFFF ") << "empty text: complement of 0";
    EXPECT_EQ(Zero, ~(0xFFFFFFFFu ^ 0x40009001u));
}

// Two chained lines worked out by hand (the CRC with a standard CRC-32 whose
// register starts at S), so a misreading shared by the code and the test
// helpers above is caught:
//   "OK\r\n": 'O' 79*1 + 'K' 75*2 + CR 13*3 + LF 10*4 = 308 = 0x134
//     S = 12345678 + 134 = 123457AC; CRC-32 from S, complemented = 33E15ED1
//     chain = ~(33E15ED1 xor 123457AC xor 40009001) = ~61D5997C = 9E2A6683
//   "x\r\n": 'x' 120*1 + CR 13*2 + LF 10*3 = 176 = 0xB0
//     S = 9E2A6683 + B0 = 9E2A6733; CRC = 274C3EA5
//     chain = ~(274C3EA5 xor 9E2A6733 xor 40009001) = ~F966C997 = 06993668
TEST(LogFileChecksum, LinesPinnedByHand) {
    Cardinal Chain = 0x12345678;
    EXPECT_EQ(TLogFile::ChecksumLine(Chain, "OK\r\n"), "33E15ED1 OK\r\n");
    EXPECT_EQ(Chain, 0x9E2A6683u);
    EXPECT_EQ(TLogFile::ChecksumLine(Chain, "x\r\n"), "274C3EA5 x\r\n");
    EXPECT_EQ(Chain, 0x06993668u);
}

TEST_F(LogFileTest, PublishedPropertiesAndDefaults) {
    std::vector<String> Names;
    for (const TPropInfo* Info : TLogFile::StaticClass()->Properties())
        Names.push_back(Info->Name);
    const std::vector<String> Own(Names.end() - 7, Names.end());
    EXPECT_EQ(Own, (std::vector<String>{"CRC", "Directory", "Enabled", "FileName", "IgnoreErrors",
                                        "Mode", "TimeStamp"}));
    EXPECT_FALSE(Log.CRC());
    EXPECT_EQ(Log.Directory(), fdApplication);
    EXPECT_TRUE(Log.Enabled());
    EXPECT_EQ(Log.FileName(), "");
    EXPECT_TRUE(Log.IgnoreErrors());
    EXPECT_EQ(Log.Mode(), fmOpenFile);
    EXPECT_FALSE(Log.TimeStamp());
    EXPECT_EQ(GetEnumName(TypeInfoFor(static_cast<TLogFileDir*>(nullptr)), fdSystem), "fdSystem");
}

TEST_F(LogFileTest, EditorLogInTheTemporaryDirectoryInBothNotations) {
    for (const char* Name : {"OrloGlossa\\Index.txt", "OrloGlossa2/Index.txt"}) {
        TLogFile Editor(nullptr);
        Editor.SetDirectory(fdTemporary);
        Editor.SetFileName(Name);
        Editor.SetTimeStamp(true);
        Editor.WriteValue("Backup saved to: 'a.bak'");
        Editor.WriteValue(Variant(String()));
        const String FileName = Folder.File("temp/") + NativePath(Name);
        EXPECT_EQ(Editor.OpenFileName(), Folder.File("temp/") + Name);
        const auto Lines = LinesOf(FileName);
        ASSERT_EQ(Lines.size(), 2u) << Name;
        std::smatch Match;
        ASSERT_TRUE(std::regex_search(Lines[0], Match, TimeStamp)) << Lines[0];
        EXPECT_EQ(Match.position(0), 0);
        EXPECT_EQ(Lines[0].substr(19), " Backup saved to: 'a.bak'");
        EXPECT_TRUE(std::regex_match(Lines[1], TimeStamp)) << "time stamp alone: " << Lines[1];
    }
}

TEST_F(LogFileTest, ValuesOfAnyKindAndTimeStampLines) {
    Log.SetFileName(Folder.File("values.log"));
    Log.WriteValue(42);
    Log.WriteValue(1.5);
    Log.WriteValue(true);
    Log.WriteValue(Variant::Null());
    Log.WriteValue("text");
    Log.WriteTimeStamp();
    const auto Lines = LinesOf(Folder.File("values.log"));
    ASSERT_EQ(Lines.size(), 6u);
    EXPECT_EQ(std::vector<String>(Lines.begin(), Lines.begin() + 5),
              (std::vector<String>{"42", "1.5", "True", "", "text"}));
    EXPECT_TRUE(std::regex_match(Lines[5], TimeStamp)) << Lines[5];
}

TEST_F(LogFileTest, ModesAppendTruncateOrPickAFreeName) {
    const String Index = Folder.File("Index.txt");
    ReplaceFileContent(Index, "old line\r\n");
    struct Case {
        TLogFileMode Mode;
        String Written;
        String Content;
    };
    const Case Cases[] = {
        {fmOpenFile, Index, "old line\r\nappended\r\n"},
        {fmCreateFile, Index, "appended\r\n"},
        {fmCreateUniqueFile, Folder.File("Index_2.txt"), "appended\r\n"},
        {fmCreateUniqueFile, Folder.File("Index_3.txt"), "appended\r\n"},
    };
    for (const Case& C : Cases) {
        TLogFile Unique(nullptr);
        Unique.SetMode(C.Mode);
        Unique.SetFileName(Index);
        Unique.WriteValue("appended");
        EXPECT_EQ(Unique.OpenFileName(), C.Written);
        EXPECT_EQ(ReadFileContent(C.Written), C.Content) << C.Written;
    }
}

TEST_F(LogFileTest, WindowsAndSystemDirectories) {
    struct Case {
        TLogFileDir Dir;
        String FileName;
    };
    const Case Cases[] = {
        {fdWindows, Folder.File("windows/w.log")},
        {fdSystem, Folder.File("windows/system32/w.log")},
        {fdApplication, Folder.File("absolute/w.log")},
    };
    for (const Case& C : Cases) {
        TLogFile Placed(nullptr);
        Placed.SetDirectory(C.Dir);
        Placed.SetFileName(C.Dir == fdApplication ? C.FileName : String("w.log"));
        Placed.WriteValue("x");
        EXPECT_EQ(ReadFileContent(C.FileName), "x\r\n") << C.FileName;
    }
}

TEST_F(LogFileTest, ChecksumsChainAndRevealChanges) {
    Log.SetCRC(true);
    Log.SetTimeStamp(true);
    Log.SetFileName(Folder.File("crc.log"));
    for (const char* Value : {"first", "second", "third", "fourth"})
        Log.WriteValue(Value);
    Log.CloseFile();
    Log.WriteValue("next session");
    auto Lines = LinesOf(Folder.File("crc.log"));
    ASSERT_EQ(Lines.size(), 7u);
    EXPECT_TRUE(std::regex_match(Lines[0], std::regex("#[0-9A-F]{8}"))) << Lines[0];
    EXPECT_TRUE(std::regex_match(Lines[5], std::regex("#[0-9A-F]{8}")))
        << "each opening starts a chain";
    EXPECT_TRUE(std::regex_match(Lines[1], std::regex("[0-9A-F]{8} \\d{4}-.* first")));
    const std::vector<String> First(Lines.begin(), Lines.begin() + 5);
    EXPECT_EQ(VerifyChain(First), (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(VerifyChain({Lines[5], Lines[6]}), std::vector<bool>{true});

    std::vector<String> Changed = First;
    Changed[2].back() = 'D'; // "seconD"
    EXPECT_EQ(VerifyChain(Changed), (std::vector<bool>{true, false, false, false}))
        << "the changed line and every line after it";
}

TEST_F(LogFileTest, CrcStartValuesLookHexadecimal) {
    for (int I = 0; I < 30; ++I) {
        TLogFile Fresh(nullptr);
        Fresh.SetCRC(true);
        Fresh.SetMode(fmCreateFile);
        Fresh.SetFileName(Folder.File("start.log"));
        Fresh.CreateFile();
        Fresh.CloseFile();
        const String First = LinesOf(Folder.File("start.log")).at(0);
        ASSERT_TRUE(std::regex_match(First, std::regex("#[0-9A-F]{8}"))) << First;
        EXPECT_LT(FromBase17(First.substr(1)), 0x7FFFFFFFu);
    }
}

TEST_F(LogFileTest, TimeStampLinesCarryNoChecksumAndLeaveTheChain) {
    Log.SetCRC(true);
    Log.SetFileName(Folder.File("mixed.log"));
    Log.WriteValue("a");
    Log.WriteTimeStamp();
    Log.WriteValue("b");
    const auto Lines = LinesOf(Folder.File("mixed.log"));
    ASSERT_EQ(Lines.size(), 4u);
    EXPECT_TRUE(std::regex_match(Lines[2], TimeStamp)) << Lines[2];
    EXPECT_EQ(VerifyChain({Lines[0], Lines[1], Lines[3]}), (std::vector<bool>{true, true}));
}

TEST_F(LogFileTest, DisabledOrNamelessLogWritesNothing) {
    Log.SetEnabled(false);
    Log.SetFileName(Folder.File("disabled.log"));
    Log.SetIgnoreErrors(false);
    Log.CreateFile();
    Log.WriteValue("x");
    Log.WriteTimeStamp();
    EXPECT_FALSE(FileExists(Folder.File("disabled.log")));
    Log.SetEnabled(true);
    Log.SetFileName("   ");
    Log.WriteValue("x");
    Log.CreateFile();
    EXPECT_EQ(Log.OpenFileName(), "");
}

TEST_F(LogFileTest, OpeningFailuresAreSilentUnlessAsked) {
    ReplaceFileContent(Folder.File("blocker"), "a file, not a folder");
    Log.SetFileName(Folder.File("blocker/sub/x.log"));
    Log.WriteValue("dropped");
    Log.CreateFile();
    EXPECT_EQ(Log.OpenFileName(), "");
    Log.SetIgnoreErrors(false);
    for (const auto& Action : std::vector<std::function<void()>>{[&] { Log.CreateFile(); },
                                                                 [&] { Log.WriteValue("x"); }}) {
        try {
            Action();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& E) {
            EXPECT_EQ(E.Message(), "Error creating log file");
        }
    }
}

TEST_F(LogFileTest, OtherWritersAreKeptOut) {
    Log.SetFileName(Folder.File("shared.log"));
    Log.WriteValue("owner");
    TLogFile Second(nullptr);
    Second.SetFileName(Folder.File("shared.log"));
    Second.WriteValue("ignored");
    Second.SetIgnoreErrors(false);
    EXPECT_THROW(Second.WriteValue("refused"), EInOutError);
    Log.CloseFile();
    Second.WriteValue("after close");
    EXPECT_EQ(ReadFileContent(Folder.File("shared.log")), "owner\r\nafter close\r\n");
}

TEST_F(LogFileTest, ReadOnlyLogFileIsMadeWritable) {
    ReplaceFileContent(Folder.File("ro.log"), "old\r\n");
    FileSetAttr(Folder.File("ro.log"), faReadOnly);
    Log.SetFileName(Folder.File("ro.log"));
    Log.WriteValue("new");
    EXPECT_EQ(ReadFileContent(Folder.File("ro.log")), "old\r\nnew\r\n");
    EXPECT_EQ(FileGetAttr(Folder.File("ro.log")) & faReadOnly, 0);
}

TEST_F(LogFileTest, PlantedLinksAndPipesAreNeverWrittenThrough) {
    // Another user prepares the editor's predictable log path in the shared
    // temporary folder, to have the log cut or append to a file of the victim.
    ForceDirectories(Folder.File("temp/OrloGlossa"));
    const String Victim = Folder.File("victim.txt");
    const String LogName = Folder.File("temp/OrloGlossa/Index.txt");
    for (const TLogFileMode Mode : {fmOpenFile, fmCreateFile}) {
        ReplaceFileContent(Victim, "precious\n");
        ASSERT_EQ(symlink(Victim.c_str(), LogName.c_str()), 0);
        TLogFile Editor(nullptr);
        Editor.SetDirectory(fdTemporary);
        Editor.SetFileName("OrloGlossa\\Index.txt");
        Editor.SetMode(Mode);
        try {
            Editor.WriteValue("secret");
            ADD_FAILURE() << "not reported";
        } catch (const ELogFileRefused& E) {
            EXPECT_EQ(E.Message(), "Log file \"" + Folder.File("temp/") +
                                       "OrloGlossa\\Index.txt\" refused: a symbolic link");
        }
        Editor.WriteValue("dropped silently after the report");
        EXPECT_EQ(Editor.OpenFileName(), "");
        EXPECT_EQ(ReadFileContent(Victim), "precious\n") << int(Mode);
        Editor.SetIgnoreErrors(false);
        EXPECT_THROW(Editor.CreateFile(), ELogFileRefused) << "asked for every error";
        ASSERT_EQ(unlink(LogName.c_str()), 0);
    }
    ASSERT_EQ(mkfifo(LogName.c_str(), 0666), 0);
    Log.SetFileName(LogName);
    Log.SetIgnoreErrors(false);
    EXPECT_THROW(Log.WriteValue("into no pipe"), EInOutError) << "returns instead of waiting";
}

TEST_F(LogFileTest, FoldersTheLogCreatesArePrivate) {
    Log.SetDirectory(fdTemporary);
    Log.SetFileName("OrloGlossa/Deeper/Index.txt");
    Log.WriteValue("x");
    for (const char* Dir : {"temp", "temp/OrloGlossa", "temp/OrloGlossa/Deeper"}) {
        struct stat Info;
        ASSERT_EQ(stat(Folder.File(Dir).c_str(), &Info), 0) << Dir;
        EXPECT_EQ(Info.st_mode & 0777, 0700u) << Dir;
    }
}

TEST_F(LogFileTest, FolderOfAnotherUserIsRefused) {
    const String Dir = Folder.File("theirs");
    ForceDirectories(Dir);
    if (chown(Dir.c_str(), 4242, 4242) != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    Log.SetFileName(Dir + "/Index.txt");
    try {
        Log.WriteValue("x");
        ADD_FAILURE() << "opened";
    } catch (const ELogFileRefused& E) {
        EXPECT_EQ(E.Message(),
                  "Log file \"" + Dir + "/Index.txt\" refused: its folder belongs to another user");
    }
    EXPECT_FALSE(FileExists(Dir + "/Index.txt"));
}
