// Language manager figures:
//  - SetLanguageByIndex on a root of 2 000 components x 5 translated string
//    properties (10 000 entries) with 3 languages, and the heap allocations
//    per entry per switch (counted by the replaced global operator new below);
//  - bytes of memory per stored value (the slot plus its buffer's heap block);
//  - GetString on a table of 10 000 names, random hits;
//  - AddString with an empty name on a table of 10 000 "StringN" names.

#include "runtime/GlossaTools.h"
#include "tests/components/LanguageHost.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <random>
#include <string>

namespace {

std::atomic<size_t> Allocations{0};
std::atomic<int64_t> LiveBytes{0}; // bytes of the blocks not yet freed

// The chunk the allocator really hands out, with its 8-byte header.
int64_t ChunkSize(void* Block) {
    return static_cast<int64_t>(malloc_usable_size(Block)) + 8;
}

void* Allocate(size_t Size) {
    void* Block = std::malloc(Size ? Size : 1);
    if (!Block)
        throw std::bad_alloc();
    Allocations.fetch_add(1, std::memory_order_relaxed);
    LiveBytes.fetch_add(ChunkSize(Block), std::memory_order_relaxed);
    return Block;
}

void Release(void* Block) noexcept {
    if (Block)
        LiveBytes.fetch_sub(ChunkSize(Block), std::memory_order_relaxed);
    std::free(Block);
}

} // namespace

void* operator new(size_t Size) {
    return Allocate(Size);
}
void* operator new[](size_t Size) {
    return Allocate(Size);
}
void operator delete(void* Block) noexcept {
    Release(Block);
}
void operator delete[](void* Block) noexcept {
    Release(Block);
}
void operator delete(void* Block, size_t) noexcept {
    Release(Block);
}
void operator delete[](void* Block, size_t) noexcept {
    Release(Block);
}

namespace orlo::bench {

// A control with five translated texts.
class TBenchControl : public TComponent {
    ORLO_CLASS(TBenchControl, TComponent)
public:
    explicit TBenchControl(TComponent* AOwner) : TComponent(AOwner) {}
    String Caption, Hint, Text, Title, Note;
};

ORLO_PUBLISHED(TBenchControl, "LanguageManagerBench") {
    P.Property("Caption", &TBenchControl::Caption);
    P.Property("Hint", &TBenchControl::Hint);
    P.Property("Text", &TBenchControl::Text);
    P.Property("Title", &TBenchControl::Title);
    P.Property("Note", &TBenchControl::Note);
}

constexpr Integer Controls = 2000;
constexpr Integer TextsPerControl = 5;
constexpr Integer Languages = 3;
const char* const LanguageNames[Languages] = {"English", "Deutsch", "Dansk"};

// A root with its controls and a host whose tree holds every text in three languages.
struct TTranslatedForm {
    TTranslatedForm() : Root(nullptr) {
        Host = new test::TLanguageHost(&Root);
        Host->SetName("Host");
        for (Integer I = 0; I < Controls; ++I) {
            auto* Control = new TBenchControl(&Root);
            Control->SetName("Control" + std::to_string(I));
        }
        TLanguageManager* Manager = Host->Manager();
        Host->AddLanguage(LanguageNames[0], cmInitAll);
        for (Integer I = 0; I < Controls; ++I) {
            auto* Control = static_cast<TBenchControl*>(Root.Components(I + 1));
            auto* Entry = static_cast<TMainEntry*>(Manager->Comps()->Add());
            Entry->SetRef(Control);
            Entry->SetSubType({stPubPropObject});
            for (const TPropInfo* Prop : Control->ClassType()->Properties())
                if (Prop->PropType->Kind == tkLString && Prop->Name != "Name")
                    TPropertyEntry::Create(nullptr, Entry, Prop);
        }
        Manager->Init(cmInitAll);
        // What stays allocated while two more languages are added is their slots.
        const Int64 BytesBefore = LiveBytes.load();
        for (Integer L = 1; L < Languages; ++L) {
            Host->AddLanguage(LanguageNames[L], cmInitNone);
            Host->SetLanguage(LanguageNames[L]);
            FillTexts(LanguageNames[L]);
        }
        StoredBytes = LiveBytes.load() - BytesBefore;
        Host->SetLanguage(LanguageNames[0]);
        FillTexts(LanguageNames[0]);
    }

    void FillTexts(const String& Language) {
        for (Integer I = 0; I < Controls; ++I) {
            auto* Control = static_cast<TBenchControl*>(Root.Components(I + 1));
            const String Suffix = " " + std::to_string(I) + " " + Language;
            Control->Caption = "Caption" + Suffix;
            Control->Hint = "A hint on control" + Suffix;
            Control->Text = "Text" + Suffix;
            Control->Title = "Title" + Suffix;
            Control->Note = "Note" + Suffix;
        }
    }

    TComponent Root;
    test::TLanguageHost* Host;
    Int64 StoredBytes = 0;
};

void SetLanguageByIndex(benchmark::State& State) {
    TTranslatedForm Form;
    TLanguageManager* Manager = Form.Host->Manager();
    const Integer Entries = Controls * TextsPerControl;
    Integer Next = 1;
    size_t Switches = 0;
    const size_t Before = Allocations.load();
    for (auto _ : State) {
        Manager->SetLanguageByIndex(Next);
        Next = (Next + 1) % Languages;
        ++Switches;
    }
    const double PerSwitch = double(Allocations.load() - Before) / double(Switches);
    State.counters["entries"] = Entries;
    State.counters["allocs_per_entry"] = PerSwitch / Entries;
    // Two non-active languages have been stored for every entry.
    const double StoredValues = double(Entries) * (Languages - 1);
    State.counters["bytes_per_stored_value"] = double(Form.StoredBytes) / StoredValues;
}
BENCHMARK(SetLanguageByIndex)->Unit(benchmark::kMillisecond);

// A table of Count named strings "String1" .. "StringCount" with their values.
struct TStringTable {
    explicit TStringTable(Integer Count) : Form(test::TLanguageTestForm::CreateWithComponents()) {
        Manager = Form->Host->Manager();
        Form->Host->AddLanguage("English", cmInitAll);
        for (Integer I = 1; I <= Count; ++I)
            Manager->AddString("String" + std::to_string(I))
                ->SetLangValue(0, Variant("Value of string " + std::to_string(I)));
    }
    std::unique_ptr<test::TLanguageTestForm> Form;
    TLanguageManager* Manager;
};

constexpr Integer TableSize = 10000;

void GetString(benchmark::State& State) {
    TStringTable Table(TableSize);
    std::mt19937 Random(42);
    std::vector<String> Keys;
    for (Integer I = 0; I < 4096; ++I)
        Keys.push_back("string" + std::to_string(Random() % TableSize + 1));
    String Value;
    size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Table.Manager->GetString(Keys[I++ & 4095], Value));
        benchmark::DoNotOptimize(Value.data());
    }
}
BENCHMARK(GetString);

void AddStringWithEmptyName(benchmark::State& State) {
    TStringTable Table(TableSize);
    for (auto _ : State) {
        TConsistentLangPropertyEntry* Added = Table.Manager->AddString("");
        State.PauseTiming();
        Table.Manager->RemoveString(Added);
        String Value;
        Table.Manager->GetString("String1", Value); // the index follows the removal
        State.ResumeTiming();
    }
}
BENCHMARK(AddStringWithEmptyName)->Unit(benchmark::kMicrosecond);

} // namespace orlo::bench
