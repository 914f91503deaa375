// The value codec on the language manager's hot path: every language switch
// decodes one buffer per translated property, every edit encodes one.

#include "runtime/ConvertTools.h"

#include <benchmark/benchmark.h>

using namespace orlo;

namespace {

void RoundTrip(benchmark::State& State, const Variant& Value) {
    for (auto _ : State) {
        const TValueBuffer Buffer = VariantToBuffer(Value);
        Variant Back = BufferToVariant(Buffer);
        benchmark::DoNotOptimize(Back);
    }
}

void BM_RoundTripString20(benchmark::State& State) {
    RoundTrip(State, Variant("&Save file as ...   "));
}
BENCHMARK(BM_RoundTripString20);

void BM_RoundTripInteger(benchmark::State& State) {
    RoundTrip(State, Variant(123456));
}
BENCHMARK(BM_RoundTripInteger);

void BM_DecodeString20(benchmark::State& State) {
    const TValueBuffer Buffer = VariantToBuffer(Variant("&Save file as ...   "));
    for (auto _ : State) {
        Variant Back = BufferToVariant(Buffer.Data(), Buffer.Size());
        benchmark::DoNotOptimize(Back);
    }
}
BENCHMARK(BM_DecodeString20);

void BM_HexToInt(benchmark::State& State) {
    const String Text = "00C8A0F4h";
    for (auto _ : State)
        benchmark::DoNotOptimize(HexToInt(Text));
}
BENCHMARK(BM_HexToInt);

} // namespace
