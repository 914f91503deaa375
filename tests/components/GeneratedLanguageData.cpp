#include "tests/components/GeneratedLanguageData.h"

#include "platform/rtl/SysUtils.h"

namespace orlo::test {

namespace {

String TextOf(Integer Component, Integer Property, Integer Language) {
    const Integer Seed = Component * 31 + Property * 7 + Language;
    String Text = Format("Text %d.%d in language %d", Component, Property, Language);
    if (Seed % 7 == 0)
        Text += " it's 'quoted'";
    if (Seed % 11 == 0)
        Text += "\nsecond line";
    return Text;
}

} // namespace

TGeneratedLanguageData MakeGeneratedLanguageData(Integer Components, Integer Properties,
                                                 Integer Languages, bool Values) {
    TGeneratedLanguageData Data;
    Data.Root = std::make_unique<TComponent>(nullptr);
    Data.Root->SetName("Form");
    auto* Control = new TComponent(Data.Root.get());
    Control->SetName("Glossa");
    Data.Manager = std::make_unique<TLanguageManager>(Data.Root.get(), Control, nullptr,
                                                      TConsistentLangPropertyEntry::StaticClass());
    TLanguageManager* Manager = Data.Manager.get();
    Manager->SetRootClassName("TGeneratedForm");
    for (Integer L = 0; L < Languages; ++L) {
        auto* Lang = static_cast<TLanguageEntry*>(Manager->Langs()->Add());
        Lang->SetName(Format("L%d", L));
        Lang->SetSubIndex(L);
    }
    for (Integer C = 0; C < Components; ++C) {
        auto* Component = new TComponent(Data.Root.get());
        Component->SetName(Format("C%d", C));
        auto* Entry = static_cast<TComponentEntry*>(Manager->Comps()->Add());
        Entry->SetRef(Component);
        Entry->SetName(Component->Name());
        Entry->SetTypeName("TGenerated");
        Entry->SetSubType({stPubPropObject});
        for (Integer P = 0; P < Properties; ++P) {
            auto* Prop = static_cast<TConsistentLangPropertyEntry*>(
                TPropertyEntry::Create(nullptr, Entry, Format("P%d", P), "String", tkLString));
            Prop->SetCount(Languages);
            for (Integer L = 0; L < (Values ? Languages : 1); ++L)
                Prop->SetLangValue(L, Variant(TextOf(C, P, L)));
        }
    }
    return Data;
}

} // namespace orlo::test
