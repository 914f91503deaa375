// Arbitrary text read as a PO file: reading fails only with EPoError naming
// the file and line; a catalog that reads is imported into a form, which
// either succeeds or leaves the form's language data as it was, and the
// form's PO export reads back with the same messages.

#include "runtime/GlossaPo.h"
#include "runtime/GlossaTools.h"
#include "runtime/LanguageExchange.h"
#include "tests/components/LanguageHost.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    TPoCatalog Catalog;
    try {
        Catalog = ParsePo(Text, "f.po");
    } catch (const EPoError& E) {
        if (E.Message().rfind("f.po:", 0) != 0)
            std::abort();
        return 0;
    }
    auto Form = test::TLanguageTestForm::CreateWithComponents();
    TLanguageManager* Manager = Form->Host->Manager();
    Form->Host->AddLanguage("English", cmInitAll);
    Form->Host->AddStandardProperties();
    const String Before = Manager->ExportLanguagesText();
    const TPoExchange Exchange = PoToExchange(Catalog, Manager, "Deutsch", String());
    try {
        Manager->ImportLanguagesText(Exchange.Text, nullptr, imAddAll, false, nullptr, nullptr,
                                     nullptr);
    } catch (const Exception&) {
        if (Manager->ExportLanguagesText() != Before)
            std::abort();
        return 0;
    }
    const String Po = ExportPo(Manager, "Deutsch", String(), &Catalog);
    const TPoCatalog Again = ParsePo(Po, "again.po");
    size_t Live = 0;
    for (const TPoMessage& Message : Again.Messages)
        Live += !Message.Obsolete;
    if (Live != ExchangeEntries(Manager).size())
        std::abort();
    return 0;
}
