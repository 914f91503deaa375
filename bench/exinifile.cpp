// The translation editor and the configuration component read dozens of
// settings one by one from INI files; a read must not parse the file again.

#include "config/ExIniFile.h"
#include "platform/os/FileSystem.h"
#include "tests/os/TempFolder.h"

#include <benchmark/benchmark.h>

using namespace orlo;
using namespace orlo::test;

namespace {

// 1 000 entries in 10 sections, with hints.
String ThousandEntries() {
    String Text;
    for (int S = 0; S < 10; ++S) {
        Text += "[Section" + std::to_string(S) + "]\n";
        for (int E = 0; E < 100; ++E)
            Text += "Entry" + std::to_string(E) + "=value " + std::to_string(S * 100 + E) +
                    String(30, ' ') + ";hint of the entry\n";
    }
    return Text;
}

void BM_ExIniFileReadString(benchmark::State& State, bool Hints) {
    TTempFolder Folder;
    const String FileName = Folder.File("settings.ini");
    ReplaceFileContent(FileName, ThousandEntries());
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(Hints);
    for (auto _ : State)
        benchmark::DoNotOptimize(Ini.ReadString("Section7", "Entry55", ""));
}
BENCHMARK_CAPTURE(BM_ExIniFileReadString, plain, false);
BENCHMARK_CAPTURE(BM_ExIniFileReadString, hints, true);

void BM_ExIniFileReadInteger(benchmark::State& State) {
    TTempFolder Folder;
    const String FileName = Folder.File("settings.ini");
    ReplaceFileContent(FileName, ThousandEntries() + "[Numbers]\nWidth=640 ;pixels\n");
    TExIniFile Ini(FileName);
    Ini.SetHintsEnabled(true);
    for (auto _ : State)
        benchmark::DoNotOptimize(Ini.ReadInteger("Numbers", "Width", 0));
}
BENCHMARK(BM_ExIniFileReadInteger);

void BM_ExIniFileWriteString(benchmark::State& State) {
    TTempFolder Folder;
    const String FileName = Folder.File("settings.ini");
    ReplaceFileContent(FileName, ThousandEntries());
    TExIniFile Ini(FileName);
    int I = 0;
    for (auto _ : State)
        Ini.WriteString("Section7", "Entry55", "changed " + std::to_string(++I));
}
BENCHMARK(BM_ExIniFileWriteString)->Unit(benchmark::kMicrosecond);

} // namespace
