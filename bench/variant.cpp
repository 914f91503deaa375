// Variant construction, copying and the conversions that property access and
// the value codec run for every value.

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orlo;

void BM_VariantCopyShortString(benchmark::State& State) {
    const Variant Source(String("&OK"));
    for (auto _ : State) {
        Variant Copy = Source;
        benchmark::DoNotOptimize(Copy);
    }
}
BENCHMARK(BM_VariantCopyShortString);

void BM_VariantFromString(benchmark::State& State) {
    const String Text = "Caption of a button";
    for (auto _ : State) {
        Variant V(Text);
        benchmark::DoNotOptimize(V);
    }
}
BENCHMARK(BM_VariantFromString);

void BM_VariantIntegerAsString(benchmark::State& State) {
    const Variant V(123456);
    for (auto _ : State)
        benchmark::DoNotOptimize(V.AsString());
}
BENCHMARK(BM_VariantIntegerAsString);

void BM_VariantStringAsInteger(benchmark::State& State) {
    const Variant V("123456");
    for (auto _ : State)
        benchmark::DoNotOptimize(V.AsInteger());
}
BENCHMARK(BM_VariantStringAsInteger);

void BM_VariantDoubleAsString(benchmark::State& State) {
    const Variant V(1234.5678);
    for (auto _ : State)
        benchmark::DoNotOptimize(V.AsString());
}
BENCHMARK(BM_VariantDoubleAsString);

void BM_Format(benchmark::State& State) {
    const String Name = "Deutsch";
    for (auto _ : State)
        benchmark::DoNotOptimize(
            Format("Language '%s' of form %s not found (%d)", Name, "TForm1", 42));
}
BENCHMARK(BM_Format);

} // namespace
