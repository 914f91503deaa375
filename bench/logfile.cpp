// The editor logs every backup and import step; a log line must stay cheap
// even with the chained checksum.

#include "tests/os/TempFolder.h"
#include "tools/FileTools.h"

#include <benchmark/benchmark.h>

using namespace orlo;
using namespace orlo::test;

namespace {

void BM_LogFileWriteValue(benchmark::State& State, bool Crc, bool TimeStamp) {
    TTempFolder Folder;
    TLogFile Log(nullptr);
    Log.SetFileName(Folder.File("Index.txt"));
    Log.SetMode(fmCreateFile);
    Log.SetCRC(Crc);
    Log.SetTimeStamp(TimeStamp);
    const Variant Line("Backup saved to: '/home/user/.cache/OrloGlossa/Form1_English.bak'");
    for (auto _ : State)
        Log.WriteValue(Line);
    State.SetBytesProcessed(State.iterations() * 80);
}
BENCHMARK_CAPTURE(BM_LogFileWriteValue, crc, true, false);
BENCHMARK_CAPTURE(BM_LogFileWriteValue, crc_timestamp, true, true);
BENCHMARK_CAPTURE(BM_LogFileWriteValue, plain, false, false);

} // namespace
