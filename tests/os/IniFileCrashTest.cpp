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
        const pid_t Writer = StartHelperProcess([&] {
            TIniFile Ini(FileName);
            for (int I = 0;; I = (I + 1) % Entries)
                Ini.WriteString("Data", EntryName(I),
                                Format("generation %d ", Round) + String(40, 'y'));
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + Random() % 40));
        ASSERT_EQ(kill(Writer, SIGKILL), 0);
        EXPECT_EQ(WaitForHelperProcess(Writer), -1) << "killed, not ended";

        TIniFile Ini(FileName);
        ASSERT_TRUE(Ini.SectionExists("Tail")) << "round " << Round;
        EXPECT_EQ(Ini.ReadString("Tail", "Last", ""), "yes");
        for (int I = 0; I < Entries; ++I) {
            const String Value = Ini.ReadString("Data", EntryName(I), "(missing)");
            ASSERT_EQ(Pos("generation ", Value), 1) << EntryName(I) << " in round " << Round;
            ASSERT_EQ(Length(Value), Pos(" ", Copy(Value, 12, 100)) + 11 + 40)
                << EntryName(I) << " torn: " << Value;
        }
    }
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
