// Form streams: creating, writing and reading a root with many child
// components of five stored properties each, and converting it to text and back.

#include "platform/classes/Filer.h"
#include "platform/classes/FormText.h"
#include "platform/rtl/SysUtils.h"
#include "tests/components/TestComponents.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace orlo::test {
namespace {

// A root that streams its owned components as children.
class TBenchForm : public TComponent {
    ORLO_CLASS(TBenchForm, TComponent)
public:
    explicit TBenchForm(TComponent* AOwner) : TComponent(AOwner) {}
    void GetChildren(const TGetChildProc& Proc, TComponent*) const override {
        for (Integer I = 0; I < ComponentCount(); ++I)
            Proc(Components(I));
    }
};

ORLO_PUBLISHED(TBenchForm, "formstream") {}

// Caption, Hint, Visible, Tag and Font.Size: five stored properties each.
std::unique_ptr<TBenchForm> MakeForm(Integer Count) {
    RegisterTestClasses();
    RegisterClass(TBenchForm::StaticClass());
    auto Form = std::make_unique<TBenchForm>(nullptr);
    Form->SetName("Form1");
    for (Integer I = 0; I < Count; ++I) {
        auto* Label = new TTestLabel(Form.get());
        Label->SetName("Label" + IntToStr(I));
        Label->SetCaption("Caption of label " + IntToStr(I));
        Label->SetHint("Hint " + IntToStr(I));
        Label->SetVisible(false);
        Label->SetTag(I);
        Label->Font()->Size = 10;
        Label->Font()->Name = String();
    }
    return Form;
}

String Bytes(TComponent* Root) {
    TStringStream S;
    S.WriteComponent(Root);
    return S.DataString();
}

// Creating the components in code, each one inserted into the form.
void Create(benchmark::State& State) {
    for (auto _ : State) {
        auto Form = MakeForm(static_cast<Integer>(State.range(0)));
        benchmark::DoNotOptimize(Form.get());
        State.PauseTiming();
        Form.reset();
        State.ResumeTiming();
    }
}

void Write(benchmark::State& State) {
    auto Form = MakeForm(static_cast<Integer>(State.range(0)));
    size_t Size = 0;
    for (auto _ : State) {
        TMemoryStream S;
        S.WriteComponent(Form.get());
        Size = static_cast<size_t>(S.Size());
        benchmark::DoNotOptimize(S.Memory());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Size));
}

void Read(benchmark::State& State) {
    String Binary = Bytes(MakeForm(static_cast<Integer>(State.range(0))).get());
    for (auto _ : State) {
        TStringStream S(Binary);
        std::unique_ptr<TComponent> Form(S.ReadComponent(nullptr));
        benchmark::DoNotOptimize(Form.get());
        State.PauseTiming(); // freeing the components is not reading
        Form.reset();
        State.ResumeTiming();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Binary.size()));
}

// The same stream read into a root that exists already.
void ReadIntoRoot(benchmark::State& State) {
    String Binary = Bytes(MakeForm(static_cast<Integer>(State.range(0))).get());
    for (auto _ : State) {
        State.PauseTiming();
        auto Form = std::make_unique<TBenchForm>(nullptr);
        State.ResumeTiming();
        TStringStream S(Binary);
        S.ReadComponent(Form.get());
        benchmark::DoNotOptimize(Form.get());
        State.PauseTiming();
        Form.reset();
        State.ResumeTiming();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Binary.size()));
}

void BinaryTextBinary(benchmark::State& State) {
    String Binary = Bytes(MakeForm(static_cast<Integer>(State.range(0))).get());
    for (auto _ : State) {
        TStringStream In(Binary), Text, Out;
        ObjectBinaryToText(&In, &Text);
        Text.SetPosition(0);
        ObjectTextToBinary(&Text, &Out);
        benchmark::DoNotOptimize(Out.DataString().data());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Binary.size()));
}

BENCHMARK(Create)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Write)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Read)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadIntoRoot)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BinaryTextBinary)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orlo::test
