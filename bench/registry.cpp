// Programs read their settings from the registry at start-up and whenever a
// dialog opens; a read must cost next to nothing. Writes commit durably.

#include "platform/classes/Registry.h"
#include "tests/os/TempFolder.h"

#include <benchmark/benchmark.h>

using namespace orlo;
using namespace orlo::test;

namespace {

void BM_RegistryReadString(benchmark::State& State) {
    TRegistrySandbox Sandbox;
    TRegistry Reg;
    Reg.OpenKey("Software\\Orlo GbR\\Designers", true);
    for (int I = 0; I < 100; ++I)
        Reg.WriteString("Global\\Value" + std::to_string(I), "text " + std::to_string(I));
    Reg.WriteString("Global\\Language", "Deutsch");
    for (auto _ : State)
        benchmark::DoNotOptimize(Reg.ReadString("Global\\Language"));
}
BENCHMARK(BM_RegistryReadString);

void BM_RegistryOpenKey(benchmark::State& State) {
    TRegistrySandbox Sandbox;
    TRegistry Reg;
    Reg.OpenKey("Software\\Orlo GbR\\Designers\\Glossa\\Editor", true);
    for (auto _ : State)
        benchmark::DoNotOptimize(
            Reg.OpenKey("\\Software\\Orlo GbR\\Designers\\Glossa\\Editor", false));
}
BENCHMARK(BM_RegistryOpenKey);

void BM_RegistryWriteString(benchmark::State& State) {
    TRegistrySandbox Sandbox;
    TRegistry Reg;
    Reg.OpenKey("Software\\Orlo GbR\\Designers", true);
    int I = 0;
    for (auto _ : State)
        Reg.WriteString("Global\\Language", "Language " + std::to_string(++I % 8));
}
BENCHMARK(BM_RegistryWriteString)->Unit(benchmark::kMicrosecond);

} // namespace
