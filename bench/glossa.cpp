// Cost of switching a frame of loaded forms: 20 forms read from one form
// stream, each with a TGlossa holding English and German values of 500
// properties (250 labels' captions and hints). Goal: under 5 ms per switch.
// Also the cost per member of the four notification passes through TGlossa
// components without translated properties.

#include "runtime/Glossa.h"

#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ComponentExplorer.h"
#include "tests/components/TestComponents.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace orlo {
namespace {

using test::TTestLabel;

constexpr Integer LabelCount = 250; // a caption and a hint each
constexpr Integer FormCount = 20;

class TBenchForm : public TComponent {
    ORLO_CLASS(TBenchForm, TComponent)
public:
    explicit TBenchForm(TComponent* AOwner) : TComponent(AOwner) {}
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override {
        for (Integer I = 0; I < ComponentCount(); ++I)
            Proc(Components(I));
    }
    TGlossa* Glossa = nullptr;
};

ORLO_PUBLISHED(TBenchForm, "GlossaBench") {
    P.Field("Glossa", &TBenchForm::Glossa);
}

void ShowTexts(TBenchForm& Form, const String& Prefix) {
    for (Integer I = 0; I < LabelCount; ++I) {
        auto* Label = static_cast<TTestLabel*>(Form.Components(I));
        Label->SetCaption(Format("%s caption %d", Prefix, I));
        Label->SetHint(Format("%s hint %d", Prefix, I));
    }
}

// The stream of a form whose labels are translated into English and German,
// saved with English active.
std::vector<Byte> TranslatedFormStream() {
    test::RegisterTestClasses();
    RegisterClass(TBenchForm::StaticClass());
    TBenchForm Form(nullptr);
    Form.SetName("BenchForm");
    for (Integer I = 0; I < LabelCount; ++I)
        (new TTestLabel(&Form))->SetName(Format("Label%d", I));
    Form.Glossa = new TGlossa(&Form);
    Form.Glossa->SetName("Glossa");
    ShowTexts(Form, "English");
    TLanguageManager* Manager = Form.Glossa->LanguageManager();
    TLanguageEntries Langs(nullptr);
    for (const char* Name : {"English", "Deutsch"})
        static_cast<TLanguageEntry*>(Langs.Add())->SetName(Name);
    Manager->AssignLangsAndSync(&Langs, cmInitAll);
    TCESettings Settings;
    AddRootToMainEntries(&Form, Manager->Comps(), Settings,
                         TInconsistentLangPropertyEntry::StaticClass(), Settings.StandardFilter());
    Manager->Init(cmInitAll);
    Manager->SetLanguageByIndex(1);
    ShowTexts(Form, "Deutsch");
    Manager->SetLanguageByIndex(0);
    TMemoryStream Stream;
    Stream.WriteComponent(&Form);
    return std::vector<Byte>(Stream.Memory(), Stream.Memory() + Stream.Size());
}

std::vector<std::unique_ptr<TBenchForm>> LoadForms(const std::vector<Byte>& Stored) {
    std::vector<std::unique_ptr<TBenchForm>> Forms;
    for (Integer I = 0; I < FormCount; ++I) {
        TMemoryStream Stream;
        Stream.WriteBuffer(Stored.data(), static_cast<Integer>(Stored.size()));
        Stream.SetPosition(0);
        Forms.push_back(std::make_unique<TBenchForm>(nullptr));
        Stream.ReadComponent(Forms.back().get());
    }
    return Forms;
}

void BM_SwitchLoadedForms(benchmark::State& State) {
    const auto Forms = LoadForms(TranslatedFormStream());
    TGlossa* Switcher = Forms.front()->Glossa;
    Switcher->SetLanguage("English");
    const String Languages[] = {"Deutsch", "English"};
    std::size_t Turn = 0;
    for (auto _ : State)
        Switcher->SetLanguage(Languages[Turn++ & 1]);
    if (Forms.back()->Glossa->GetLanguage() != Languages[(Turn - 1) & 1])
        State.SkipWithError("the last form did not follow the switch");
    State.counters["properties"] = double(FormCount) * LabelCount * 2;
}
BENCHMARK(BM_SwitchLoadedForms)->Unit(benchmark::kMillisecond);

// The notification passes alone: members with two languages and nothing to write.
void BM_SwitchEmptyMembers(benchmark::State& State) {
    const Integer Count = static_cast<Integer>(State.range(0));
    TComponent Owner(nullptr);
    TLanguageEntries Langs(nullptr);
    for (const char* Name : {"English", "Deutsch"})
        static_cast<TLanguageEntry*>(Langs.Add())->SetName(Name);
    std::vector<TGlossa*> Members;
    for (Integer I = 0; I < Count; ++I) {
        Members.push_back(new TGlossa(&Owner));
        Members.back()->LanguageManager()->AssignLangsAndSync(&Langs, cmInitAll);
    }
    const String Languages[] = {"Deutsch", "English"};
    std::size_t Turn = 0;
    for (auto _ : State)
        Members.front()->SetLanguage(Languages[Turn++ & 1]);
    State.counters["per_member"] =
        benchmark::Counter(double(State.iterations()) * Count,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SwitchEmptyMembers)->Arg(10)->Arg(100);

} // namespace
} // namespace orlo
