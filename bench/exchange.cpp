// Language exchange file and PO file figures on 10 000 values in 3 languages
// (2 000 components x 5 text properties): export and import in each format,
// and beside them the peer, gettext's msgfmt, compiling the same PO file (one
// language, 10 000 messages), run as a process in the same program.

#include "platform/os/FileSystem.h"
#include "runtime/GlossaPo.h"
#include "runtime/GlossaTools.h"
#include "tests/components/GeneratedLanguageData.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <unistd.h>

namespace {

using namespace orlo;

const test::TGeneratedLanguageData& Source() {
    static const test::TGeneratedLanguageData Data = test::MakeGeneratedLanguageData(2000, 5, 3);
    return Data;
}

void BM_ExportExchangeFile(benchmark::State& State) {
    for (auto _ : State)
        benchmark::DoNotOptimize(Source().Manager->ExportLanguagesText());
}
BENCHMARK(BM_ExportExchangeFile)->Unit(benchmark::kMillisecond);

void BM_ImportExchangeFile(benchmark::State& State) {
    const String Text = Source().Manager->ExportLanguagesText();
    const test::TGeneratedLanguageData Target = test::MakeGeneratedLanguageData(2000, 5, 3, false);
    for (auto _ : State)
        Target.Manager->ImportLanguagesText(Text, nullptr, imClearExisting, false, nullptr, nullptr,
                                            nullptr);
}
BENCHMARK(BM_ImportExchangeFile)->Unit(benchmark::kMillisecond);

// Both translations: two PO files.
void BM_ExportPoFiles(benchmark::State& State) {
    for (auto _ : State)
        for (const char* Language : {"L1", "L2"})
            benchmark::DoNotOptimize(ExportPo(Source().Manager.get(), Language, String()));
}
BENCHMARK(BM_ExportPoFiles)->Unit(benchmark::kMillisecond);

void BM_ImportPoFiles(benchmark::State& State) {
    const String Files[] = {ExportPo(Source().Manager.get(), "L1", String()),
                            ExportPo(Source().Manager.get(), "L2", String())};
    const test::TGeneratedLanguageData Target = test::MakeGeneratedLanguageData(2000, 5, 1);
    for (auto _ : State) {
        String Text;
        for (const String& File : Files) {
            const TPoCatalog Catalog = ParsePo(File, "x.po");
            Text += PoToExchange(Catalog, Target.Manager.get(), PoLanguage(Catalog), String()).Text;
        }
        Target.Manager->ImportLanguagesText(Text, nullptr, imAddAll, false, nullptr, nullptr,
                                            nullptr);
    }
}
BENCHMARK(BM_ImportPoFiles)->Unit(benchmark::kMillisecond);

// Reading one PO file, the part of an import that msgfmt also does.
void BM_ReadPoFile(benchmark::State& State) {
    const String File = ExportPo(Source().Manager.get(), "L1", String());
    for (auto _ : State)
        benchmark::DoNotOptimize(ParsePo(File, "x.po"));
}
BENCHMARK(BM_ReadPoFile)->Unit(benchmark::kMillisecond);

// The peer: msgfmt compiling the same single-language PO file.
void BM_MsgfmtSamePoFile(benchmark::State& State) {
    char Folder[] = "/tmp/orlo-bench-XXXXXX";
    if (!mkdtemp(Folder)) {
        State.SkipWithError("no temporary folder");
        return;
    }
    const String Po = String(Folder) + "/x.po";
    ReplaceFileContent(Po, ExportPo(Source().Manager.get(), "L1", String()));
    const String Command = "msgfmt -o " + String(Folder) + "/x.mo " + Po;
    for (auto _ : State)
        if (std::system(Command.c_str()) != 0) {
            State.SkipWithError("msgfmt failed or is missing");
            break;
        }
    DeleteFile(Po);
    DeleteFile(String(Folder) + "/x.mo");
    RemoveDir(Folder);
}
BENCHMARK(BM_MsgfmtSamePoFile)->Unit(benchmark::kMillisecond);

} // namespace
