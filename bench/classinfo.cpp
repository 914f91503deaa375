// TClassInfo on the hot path of a language switch: reading and writing a string
// property that is already selected.

#include "runtime/ClassInfo.h"
#include "tests/components/TestComponents.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orlo;
using namespace orlo::test;

// A caption of typical length, too long for the string's inline buffer.
const char* const Captions[] = {"&Translate the form now", "&Übersetze das Formular"};

void BM_GetValueOfSelectedString(benchmark::State& State) {
    TTestLabel Label(nullptr);
    Label.SetCaption(Captions[0]);
    TClassInfo Info(&Label);
    Info.Select(Info.IndexOf("Caption"));
    for (auto _ : State) {
        Variant Value = Info.GetValue();
        benchmark::DoNotOptimize(Value);
    }
}
BENCHMARK(BM_GetValueOfSelectedString);

void BM_SetValueOfSelectedString(benchmark::State& State) {
    TTestLabel Label(nullptr);
    TClassInfo Info(&Label);
    Info.Select(Info.IndexOf("Caption"));
    const Variant Values[] = {Variant(Captions[0]), Variant(Captions[1])};
    size_t Next = 0;
    for (auto _ : State) {
        Info.SetValue(Values[Next]);
        Next ^= 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SetValueOfSelectedString);

} // namespace
