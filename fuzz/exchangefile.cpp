// Arbitrary text imported as a language exchange file into a form with
// language data, in the mode the first byte picks. The import either succeeds
// or raises an Exception; when it raises, the manager is exactly as before.
// After a successful import the manager's own data re-imports unchanged.

#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"
#include "tests/components/LanguageHost.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size == 0)
        return 0;
    auto Form = test::TLanguageTestForm::CreateWithComponents();
    TLanguageManager* Manager = Form->Host->Manager();
    Form->Host->AddLanguage("English", cmInitAll);
    Form->Host->AddStandardProperties();
    Form->Host->AddLanguage("Deutsch", cmInitAll);
    Manager->AddString("Saved");
    const String Before = Manager->ExportLanguagesText();
    const auto Mode = static_cast<TImportMode>(Data[0] % 3);
    const bool InitAll = Data[0] & 4;
    TCESettings Settings;
    TStringList Notes, Rejected;
    const String Text(reinterpret_cast<const char*>(Data) + 1, Size - 1);
    try {
        Manager->ImportLanguagesText(Text, (Data[0] & 8) ? &Settings : nullptr, Mode, InitAll,
                                     nullptr, &Notes, &Rejected);
    } catch (const Exception&) {
        if (Manager->ExportLanguagesText() != Before || Notes.Count() || Rejected.Count())
            std::abort();
        return 0;
    }
    const String After = Manager->ExportLanguagesText();
    Manager->ImportLanguagesText(String(), nullptr, imAddAll, false, nullptr, &Notes, &Rejected);
    if (Manager->ExportLanguagesText() != After || Notes.Count() || Rejected.Count())
        std::abort();
    return 0;
}
