// Cost of a language switch of a frame: the four notification passes over
// every listener. Goal: under 1 µs per listener for the whole switch.

#include "runtime/GlossaFrames.h"

#include "platform/classes/TypInfo.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace orlo {
namespace {

class TBenchListener : public TObject {
    ORLO_CLASS(TBenchListener, TObject)
public:
    void Notify(TObject*, const String& Language, TActionMode Action) {
        Calls += Action == amSetLanguage ? Language.size() : 1;
    }
    TLanguageNotify Method() { return TLanguageNotify::Make<&TBenchListener::Notify>(this); }
    std::size_t Calls = 0;
};

ORLO_UNPUBLISHED(TBenchListener, "FramesBench")

// A frame list whose last frame holds Count listeners; the first listener's
// method switches it.
struct TBenchFrame {
    explicit TBenchFrame(Integer Count) : Listeners(Count) {
        for (auto& L : Listeners) {
            L = std::make_unique<TBenchListener>();
            Frames.AddNotify("", L->Method(), false);
        }
    }
    TLanguageFrames Frames;
    std::vector<std::unique_ptr<TBenchListener>> Listeners;
};

void SetPerListener(benchmark::State& State, Integer Listeners) {
    State.counters["per_listener"] =
        benchmark::Counter(double(State.iterations()) * Listeners,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_FrameSwitch(benchmark::State& State) {
    const Integer Count = static_cast<Integer>(State.range(0));
    TBenchFrame Bench(Count);
    const TLanguageNotify Switcher = Bench.Listeners.front()->Method();
    const String Languages[] = {"German", "English"};
    std::size_t Turn = 0;
    for (auto _ : State)
        benchmark::DoNotOptimize(Bench.Frames.SetLanguage(Switcher, Languages[Turn++ & 1]));
    SetPerListener(State, Count);
}
BENCHMARK(BM_FrameSwitch)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

// The same through the process-wide switch, with the listener in the second list.
void BM_GlobalSwitch(benchmark::State& State) {
    const Integer Count = static_cast<Integer>(State.range(0));
    TLanguageFrames Empty;
    TBenchFrame Bench(Count);
    const TLanguageNotify Switcher = Bench.Listeners.back()->Method();
    const String Languages[] = {"Deutsch", "English"};
    std::size_t Turn = 0;
    for (auto _ : State)
        SetGlobalLanguage({&Empty, &Bench.Frames}, Languages[Turn++ & 1], Switcher);
    SetPerListener(State, Count);
}
BENCHMARK(BM_GlobalSwitch)->Arg(10)->Arg(100);

// The no-op: assigning the frame's own language must stay cheap.
void BM_SameLanguage(benchmark::State& State) {
    TBenchFrame Bench(20);
    const TLanguageNotify Switcher = Bench.Listeners.front()->Method();
    Bench.Frames.SetLanguage(Switcher, "German");
    for (auto _ : State)
        benchmark::DoNotOptimize(Bench.Frames.SetLanguage(Switcher, "GERMAN"));
}
BENCHMARK(BM_SameLanguage);

} // namespace
} // namespace orlo
