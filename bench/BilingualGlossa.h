#pragma once
// A TGlossa on a form made in code that holds English and German texts of
// every translated property of the form's components.

#include "runtime/ComponentExplorer.h"
#include "runtime/Glossa.h"

#include <functional>

namespace orlo {

// Made with the form showing its English texts; GiveGermanTexts sets the
// German ones while the German slot is active. English is active afterwards.
inline TGlossa* MakeBilingualGlossa(TComponent* Form,
                                    const std::function<void()>& GiveGermanTexts) {
    auto* Glossa = new TGlossa(Form);
    TLanguageManager* Manager = Glossa->LanguageManager();
    TLanguageEntries Langs(nullptr);
    for (const char* Name : {"English", "Deutsch"})
        static_cast<TLanguageEntry*>(Langs.Add())->SetName(Name);
    Manager->AssignLangsAndSync(&Langs, cmInitAll);
    TCESettings Settings;
    AddRootToMainEntries(Form, Manager->Comps(), Settings,
                         TInconsistentLangPropertyEntry::StaticClass(), Settings.StandardFilter());
    Manager->Init(cmInitAll);
    Manager->SetLanguageByIndex(1);
    GiveGermanTexts();
    Manager->SetLanguageByIndex(0);
    return Glossa;
}

} // namespace orlo
