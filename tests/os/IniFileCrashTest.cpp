// INI files under stress from other processes: a writer killed in the middle
// of its work, and writers racing each other.

#include "platform/classes/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

namespace {

constexpr int Entries = 2000;

String EntryName(int I) {
    return Format("Entry%d", I);
}

// A big file, so that a write takes long enough to be caught in the middle.
void WriteInitialFile(const String& FileName) {
    String Text = "; settings written by the crash test\n[Data]\n";
    for (int I = 0; I < Entries; ++I)
        Text += EntryName(I) + "=generation 0 " + String(40, 'x') + "\n";
    Text += "[Tail]\nLast=yes\n";
    ReplaceFileContent(FileName, Text);
}

} // namespace

TEST(IniFileCrash, KilledWriterLeavesTheOldOrTheNewFile) {
    TTempFolder Folder;
    const String FileName = Folder.File("crash.ini");
    WriteInitialFile(FileName);
    std::mt19937 Random(12345);
    for (int Round = 1; Round <= 15; ++Round) {
        const String NewValue = Format("generation %d ", Round) + String(40, 'y');
        // The writer reports each finished write; it is killed only after a
        // number of them, in the middle of a later one.
        int Progress[2];
        ASSERT_EQ(pipe(Progress), 0);
        const pid_t Writer = StartHelperProcess([&] {
            close(Progress[0]);
            TIniFile Ini(FileName);
            for (int I = 0;; I = (I + 1) % Entries) {
                Ini.WriteString("Data", EntryName(I), NewValue);
                if (write(Progress[1], "w", 1) != 1)
                    return 1;
            }
        });
        close(Progress[1]);
        const int Reported = 1 + static_cast<int>(Random() % 30);
        for (int Done = 0; Done < Reported; ++Done) {
            char C = 0;
            ASSERT_EQ(read(Progress[0], &C, 1), 1) << "the writer stopped in round " << Round;
        }
        ASSERT_EQ(kill(Writer, SIGKILL), 0);
        EXPECT_EQ(WaitForHelperProcess(Writer), -1) << "killed, not ended";
        close(Progress[0]);

        TIniFile Ini(FileName);
        ASSERT_TRUE(Ini.SectionExists("Tail")) << "round " << Round;
        EXPECT_EQ(Ini.ReadString("Tail", "Last", ""), "yes");
        int Written = 0;
        for (int I = 0; I < Entries; ++I) {
            const String Value = Ini.ReadString("Data", EntryName(I), "(missing)");
            ASSERT_EQ(Pos("generation ", Value), 1) << EntryName(I) << " in round " << Round;
            ASSERT_EQ(Length(Value), Pos(" ", Copy(Value, 12, 100)) + 11 + 40)
                << EntryName(I) << " torn: " << Value;
            Written += Value == NewValue ? 1 : 0;
        }
        // Every reported write is in the file; the writer may have gone further.
        EXPECT_GE(Written, Reported) << "round " << Round;
        for (int I = 0; I < Reported; ++I)
            ASSERT_EQ(Ini.ReadString("Data", EntryName(I), ""), NewValue) << "round " << Round;
    }
    // The next save clears what the killed writers left beside the file.
    TIniFile(FileName).WriteString("Tail", "Last", "still");
    std::vector<String> Left;
    TSearchRec F;
    for (Integer Found = FindFirst(Folder.File(".crash.ini.*"), faHidden, F); Found == 0;
         Found = FindNext(F))
        Left.push_back(F.Name);
    FindClose(F);
    EXPECT_EQ(Left, std::vector<String>()) << "siblings left by the killed writers";
}

TEST(IniFileCrash, WritersInSeveralProcessesLoseNothing) {
    TTempFolder Folder;
    const String FileName = Folder.File("shared.ini");
    constexpr int Processes = 4;
    constexpr int Writes = 25;
    std::vector<pid_t> Children;
    for (int P = 0; P < Processes; ++P) {
        Children.push_back(StartHelperProcess([&, P] {
            TIniFile Ini(FileName);
            for (int I = 0; I < Writes; ++I)
                Ini.WriteInteger(Format("Process%d", P), Format("Value%d", I), P * 100 + I);
            return 0;
        }));
    }
    for (pid_t Child : Children)
        EXPECT_EQ(WaitForHelperProcess(Child), 0);
    TIniFile Ini(FileName);
    for (int P = 0; P < Processes; ++P)
        for (int I = 0; I < Writes; ++I)
            EXPECT_EQ(Ini.ReadInteger(Format("Process%d", P), Format("Value%d", I), -1),
                      P * 100 + I)
                << P << " " << I;
}
