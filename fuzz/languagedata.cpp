// Reads arbitrary bytes as a form with language data, initialises its language
// manager, switches through every language, copies the manager into a working
// copy and saves the form again. Inputs that start with "TPF0" are taken as
// they are; any other input is a list of edits (4 bytes each: operation,
// 16-bit offset, byte) applied to a valid form with three languages, so that
// mutations reach the language data rather than the stream's first bytes.

#include "platform/classes/Streams.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"
#include "tests/components/LanguageHost.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <vector>

using namespace orlo;
using namespace orlo::test;

namespace {

std::vector<Byte> BuildTemplate() {
    RegisterLanguageHostClasses();
    auto Form = TLanguageTestForm::CreateWithComponents();
    TLanguageHost* Host = Form->Host;
    Host->AddLanguage("English", cmInitAll);
    Host->AddStandardProperties();
    TCESettings Settings;
    Settings.PropFilter = TPropFilter{pfAll};
    AddObjectToMainEntries(Form->Kinds1, "Kinds1", "TTestKinds", Host->Manager()->Comps(), Settings,
                           TInconsistentLangPropertyEntry::StaticClass(), TPropertyFilter());
    Host->Manager()->Init(cmInitAll);
    for (const char* Name : {"Title", "Greeting", "Farewell"})
        Host->Manager()->AddString(Name)->SetLangValue(0, Variant(String(Name) + " text"));
    Host->AddLanguage("Deutsch", cmInitAll);
    Host->AddLanguage("Dansk", cmInitNone);
    Host->SetLanguage("Deutsch");
    Form->Label1->SetCaption("&Ja");
    Form->Kinds1->Align = alClient;
    return SaveForm(Form.get());
}

const std::vector<Byte>& Template() {
    static const std::vector<Byte> Bytes = BuildTemplate();
    return Bytes;
}

std::vector<Byte> MakeStream(const uint8_t* Data, size_t Size) {
    if (Size >= 4 && std::memcmp(Data, "TPF0", 4) == 0)
        return std::vector<Byte>(Data, Data + Size);
    std::vector<Byte> Stream = Template();
    for (size_t I = 0; I + 3 < Size; I += 4) {
        const size_t Offset = (Data[I + 1] | Data[I + 2] << 8) % (Stream.size() + 1);
        const Byte Value = Data[I + 3];
        switch (Data[I] % 4) {
        case 0:
            if (Offset < Stream.size())
                Stream[Offset] = Value;
            break;
        case 1:
            Stream.insert(Stream.begin() + Offset, Value);
            break;
        case 2:
            Stream.erase(Stream.begin() + Offset,
                         Stream.begin() + std::min(Stream.size(), Offset + Value % 16 + 1));
            break;
        default:
            Stream.resize(Offset);
            break;
        }
    }
    return Stream;
}

// The stream may name the host otherwise, or leave it out.
TLanguageHost* FindHost(TComponent* Form) {
    for (Integer I = 0; I < Form->ComponentCount(); ++I)
        if (auto* Host = dynamic_cast<TLanguageHost*>(Form->Components(I)))
            return Host;
    return nullptr;
}

void Exercise(TLanguageTestForm* Form) {
    TLanguageHost* Host = FindHost(Form);
    if (!Host)
        return;
    TLanguageManager* Manager = Host->Manager();
    for (Integer I = 0; I < Manager->GetLangCount(); ++I) {
        try {
            Manager->SetLanguageByIndex(I);
        } catch (const std::exception&) {
        }
    }
    String Value;
    Manager->GetString("Title", Value);
    try {
        TLanguageManager Copy(nullptr, nullptr, nullptr, cmConsistent);
        Copy.Assign(Manager);
        Copy.Init(cmInitAll);
        Manager->Assign(&Copy);
    } catch (const std::exception&) {
    }
    SaveForm(Form);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::vector<Byte> Stream = MakeStream(Data, Size);
    try {
        auto Form = LoadForm(Stream);
        Exercise(Form.get());
    } catch (const std::exception&) {
        // Damaged forms fail to load or to switch; they must not do more.
    }
    return 0;
}
