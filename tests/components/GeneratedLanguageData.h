#pragma once
// Language data of a generated form, for round trips and benchmarks: a root
// "Form" (class name TGeneratedForm) with Components components "C0", "C1",
// ... and a component "Glossa"; a manager whose entries keep every value in a
// slot, with the text properties "P0", "P1", ... of every component in the
// languages "L0", "L1", ... Texts vary: some hold quotes, some line breaks.

#include "platform/classes/Component.h"
#include "runtime/GlossaTools.h"

#include <memory>

namespace orlo::test {

struct TGeneratedLanguageData {
    std::unique_ptr<TComponent> Root;
    std::unique_ptr<TLanguageManager> Manager;
};

// With Values false, the entries and languages are there but only language
// L0 (the reference) holds values.
TGeneratedLanguageData MakeGeneratedLanguageData(Integer Components, Integer Properties,
                                                 Integer Languages, bool Values = true);

} // namespace orlo::test
