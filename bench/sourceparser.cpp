// The string-reference check runs in the build of every application that uses
// glossa check, so scanning and checking a large source must cost no more
// than extracting its strings with xgettext, and grow linearly with the size.
// Measured here in one run: our check of a generated C++ source, xgettext
// --keyword=GetString on the same file (a child process, as a build runs it),
// and our check of a generated Pascal unit, at 1 MB and 10 MB. The ratios are
// printed after the table, in wall time and in processor time (that of the
// child for xgettext), since a loaded machine stretches wall times.

#include "design/GlossaParser.h"
#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/resource.h>

namespace orlo {
namespace {

constexpr Integer NameCount = 500;

String CppChunk(Integer N) {
    const String K = IntToStr(N % NameCount);
    return "// Shows the texts of part " + IntToStr(N) +
           ".\n"
           "void Show" +
           IntToStr(N) +
           "(TForm* Form) {\n"
           "    /* GetString(\"NotACall\") stays in the comment */\n"
           "    Print(GetString(\"Name" +
           K + "\"), Form->Glossa->GetString(\"Other" + K +
           "\"));\n"
           "    Print(u8\"text \\\"quoted\\\"\", R\"x(raw )\" text)x\", 1'000'000, 'c');\n"
           "    const char* S = \"GetString(\\\"InString\\\")\";\n"
           "    if (Count > 0)\n"
           "        Print(GetString(\"Name" +
           K +
           "\" \"\") + GetString(Count));\n"
           "}\n\n";
}

String PascalChunk(Integer N) {
    const String K = IntToStr(N % NameCount);
    return "{ Shows the texts of part " + IntToStr(N) +
           ". }\r\n"
           "procedure TMainForm.Show" +
           IntToStr(N) +
           "(Sender: TObject);\r\n"
           "var\r\n  S: string;\r\n"
           "begin\r\n"
           "  (* GetString('NotACall') stays in the comment *)\r\n"
           "  Caption := GetString('Name" +
           K +
           "'); // the title\r\n"
           "  S := 'It''s GetString(''InString'')';\r\n"
           "  if Count > 0 then\r\n"
           "    Hint := Glossa.GetString('Other" +
           K +
           "') + GetString(S);\r\n"
           "end;\r\n\r\n";
}

String Generate(String (*Chunk)(Integer), const String& Head, const String& Tail, size_t Bytes) {
    String Text = Head;
    for (Integer N = 0; Text.size() < Bytes; ++N)
        Text += Chunk(N);
    return Text + Tail;
}

String CppSource(Integer MB) {
    return Generate(CppChunk, "#include \"Form.h\"\n\n", "", size_t(MB) << 20);
}

String PascalSource(Integer MB) {
    return Generate(PascalChunk, "unit Big;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n",
                    "end.\r\n", size_t(MB) << 20);
}

const TStringList& Names() {
    static TStringList List;
    if (List.Count() == 0)
        for (Integer I = 0; I < NameCount; ++I)
            List.Add("Name" + IntToStr(I));
    return List;
}

// Seconds per iteration of each measurement, by name and size in MB: wall
// time, and processor time (of this process, or of the child processes).
using TTimes = std::map<std::pair<String, Integer>, double>;
TTimes& WallSeconds() {
    static TTimes Map;
    return Map;
}
TTimes& CpuSeconds() {
    static TTimes Map;
    return Map;
}

double CpuSecondsUsed(int Who) {
    rusage Usage{};
    getrusage(Who, &Usage);
    return double(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
           double(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

// Who: RUSAGE_SELF, or RUSAGE_CHILDREN for work done by child processes.
template <class F>
void Measure(benchmark::State& State, const String& What, size_t Bytes, int Who, F&& Run) {
    const auto Start = std::chrono::steady_clock::now();
    const double CpuStart = CpuSecondsUsed(Who);
    for (auto _ : State)
        Run();
    const std::chrono::duration<double> Total = std::chrono::steady_clock::now() - Start;
    const std::pair<String, Integer> Key{What, static_cast<Integer>(State.range(0))};
    WallSeconds()[Key] = Total.count() / State.iterations();
    CpuSeconds()[Key] = (CpuSecondsUsed(Who) - CpuStart) / State.iterations();
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Bytes));
}

void CheckSource(benchmark::State& State, const String& What, const String& Text, TCodeType Type) {
    Measure(State, What, Text.size(), RUSAGE_SELF, [&] {
        TGlossaParser Parser("Glossa", &Names(), Text, Type);
        benchmark::DoNotOptimize(Parser.Check(false));
    });
}

void BM_CheckCpp(benchmark::State& State) {
    CheckSource(State, "check C++", CppSource(static_cast<Integer>(State.range(0))), ctCpp);
}

void BM_CheckPascal(benchmark::State& State) {
    CheckSource(State, "check Pascal", PascalSource(static_cast<Integer>(State.range(0))),
                ctPascal);
}

void BM_Xgettext(benchmark::State& State) {
    test::TTempFolder Folder;
    const String Text = CppSource(static_cast<Integer>(State.range(0)));
    const String File = Folder.File("source.cpp");
    ReplaceFileContent(File, Text);
    const String Command = "xgettext --keyword=GetString --language=C++ --from-code=UTF-8 -o - '" +
                           File + "' >/dev/null 2>&1";
    Measure(State, "xgettext", Text.size(), RUSAGE_CHILDREN, [&] {
        if (std::system(Command.c_str()) != 0)
            State.SkipWithError("xgettext failed");
    });
}

BENCHMARK(BM_CheckCpp)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Xgettext)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckPascal)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void PrintRatios() {
    for (const auto& [Name, Times] :
         {std::pair{"wall", &WallSeconds()}, std::pair{"cpu", &CpuSeconds()}}) {
        auto Get = [&](const String& What, Integer MB) { return (*Times)[{What, MB}] * 1000; };
        const double Check = Get("check C++", 1);
        const double Xgettext = Get("xgettext", 1);
        if (Check > 0 && Xgettext > 0)
            std::printf("%s time, 1 MB C++: check %.1f ms, xgettext %.1f ms, ratio %.2f\n", Name,
                        Check, Xgettext, Check / Xgettext);
        for (const char* What : {"check C++", "check Pascal", "xgettext"})
            if (Get(What, 1) > 0 && Get(What, 10) > 0)
                std::printf("%s time, %s: 1 MB %.1f ms, 10 MB %.1f ms, growth x%.1f\n", Name, What,
                            Get(What, 1), Get(What, 10), Get(What, 10) / Get(What, 1));
    }
}

} // namespace
} // namespace orlo

int main(int Argc, char** Argv) {
    benchmark::Initialize(&Argc, Argv);
    if (benchmark::ReportUnrecognizedArguments(Argc, Argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orlo::PrintRatios();
    return 0;
}
