// Programs read their settings from the registry at start-up and whenever a
// dialog opens; a read must cost next to nothing. Writes commit durably.

#include "platform/classes/Registry.h"
#include "platform/os/RegEditFile.h"
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

// Restoring a saved key: one REGEDIT4 file of 10 000 values in 100 keys,
// imported as one transaction.
void BM_RegEditImport(benchmark::State& State) {
    TRegistrySandbox Sandbox;
    String Text = "REGEDIT4\r\n";
    for (int Key = 0; Key < 100; ++Key) {
        Text += "\r\n[HKEY_CURRENT_USER\\Software\\Orlo GbR\\Import\\Key" + std::to_string(Key) +
                "]\r\n";
        for (int Value = 0; Value < 100; ++Value)
            Text +=
                "\"Value" + std::to_string(Value) + "\"=\"text " + std::to_string(Value) + "\"\r\n";
    }
    TRegistryStore Store(Sandbox.DatabaseFileName());
    for (auto _ : State)
        ImportRegistryKeys(Store, ParseRegEdit(Text));
    State.SetItemsProcessed(State.iterations() * 10000);
}
BENCHMARK(BM_RegEditImport)->Unit(benchmark::kMillisecond);

} // namespace
