#include "apps/glossa/Commands.h"

#include "apps/glossa/CheckCommand.h"
#include "apps/glossa/FormFile.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/SysUtils.h"

#include <cstdio>

namespace orlo::glossa {

namespace {

// Every language's name with the number of entries that hold a value for it.
void ShowLanguages(TLanguageManager* Manager, Integer EntryCount) {
    std::printf("Languages:\n");
    TLanguageEntries* Langs = Manager->Langs();
    for (Integer I = 0; I < Langs->Count(); ++I) {
        const TLanguageEntry* Lang = Langs->Items(I);
        Integer Filled = 0;
        Manager->Comps()->ForEachPropertyEntryDo([&](TMainEntry*, TPropertyEntry* Prop) {
            auto* Entry = static_cast<TConsistentLangPropertyEntry*>(Prop);
            if (Lang->SubIndex() >= 0 && Lang->SubIndex() < Entry->Count() &&
                !Entry->GetLangValue(Lang->SubIndex()).IsNull())
                ++Filled;
        });
        std::printf("  %-20s %d/%d filled%s\n", Lang->Name().c_str(), Filled, EntryCount,
                    Lang->IsActive() ? " (active)" : "");
    }
}

Integer CountEntries(TLanguageManager* Manager) {
    Integer Count = 0;
    Manager->Comps()->ForEachPropertyEntryDo([&](TMainEntry*, TPropertyEntry*) { ++Count; });
    return Count;
}

void ShowEntries(TLanguageManager* Manager) {
    std::printf("Named strings:\n");
    for (Integer I = 0; I < Manager->Names()->Count(); ++I)
        std::printf("  %s\n", Manager->Names()->Strings(I).c_str());
    std::printf("Translated properties:\n");
    TComponentEntries* Comps = Manager->Comps();
    TMainEntry* Strings = Manager->GetStringInterface(false);
    for (Integer I = 0; I < Comps->Count(); ++I) {
        TStringList Paths;
        TComponentEntry* Component = Comps->Items(I);
        Component->MoveSubItemsToStrings(mmNameOnly, &Paths);
        for (Integer J = 0; J < Paths.Count(); ++J)
            if (static_cast<TPropertyEntry*>(Paths.Objects(J))->MainEntry() != Strings)
                std::printf("  %s.%s\n", Component->Name().c_str(), Paths.Strings(J).c_str());
    }
}

} // namespace

int UsageError(const char* Command) {
    for (const TCommand& Each : Commands())
        if (String(Each.Name) == Command)
            std::fprintf(stderr, "usage: glossa %s\n", Each.Usage);
    return 2;
}

int RunShow(const TArguments& Args) {
    if (Args.size() != 1)
        return UsageError("show");
    try {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Args[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        std::printf("Form %s (class %s), TGlossa %s\n", Form->Root().Name.c_str(),
                    Form->Root().ClassName.c_str(), Form->GlossaName().c_str());
        ShowLanguages(Manager, CountEntries(Manager));
        ShowEntries(Manager);
        return 0;
    } catch (const Exception& E) {
        std::fprintf(stderr, "glossa: %s\n", E.Message().c_str());
        return 1;
    }
}

const std::vector<TCommand>& Commands() {
    static const std::vector<TCommand> Table{
        {"show", RunShow, "show FORM"},
        {"check", RunCheck, "check [--qualified | --unqualified] FORM SOURCE..."},
    };
    return Table;
}

} // namespace orlo::glossa
