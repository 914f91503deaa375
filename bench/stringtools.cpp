// The translation editor filters every row of its grid through CompareFilter
// on each keystroke in the filter box.

#include "tools/StringTools.h"

#include <benchmark/benchmark.h>

using namespace orlo;

namespace {

const String Text = "Form1.ButtonPanel.OkButton.Caption = &OK"; // 40 characters

void BM_CompareFilter(benchmark::State& State, const String& Filter) {
    for (auto _ : State)
        benchmark::DoNotOptimize(CompareFilter(Filter, Text));
}
BENCHMARK_CAPTURE(BM_CompareFilter, star_literal_star, String("*OkButton*"));
BENCHMARK_CAPTURE(BM_CompareFilter, mixed, String("Form?.*Panel*Caption*&O?"));
BENCHMARK_CAPTURE(BM_CompareFilter, no_match, String("*Cancel*"));
BENCHMARK_CAPTURE(BM_CompareFilter, literal, String("Form1.ButtonPanel.OkButton.Caption = &OK"));

void BM_PosExFromRight(benchmark::State& State) {
    for (auto _ : State)
        benchmark::DoNotOptimize(PosEx(".", Text, 2, false));
}
BENCHMARK(BM_PosExFromRight);

} // namespace
