// A form switched between English and German and saved with its language
// data: the form's component keeps a language manager whose tree holds every
// caption, hint and memo line in both languages, plus a named string. The form
// is saved with German active, shown as form text, read back into a new form
// and switched to English again.
//
//   languagedemo [file]     saves the form to file (default: languagedemo.form
//                           in the temporary directory)

#include "examples/ExampleControls.h"
#include "examples/ExampleMain.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"

#include <cstdlib>
#include <iostream>
#include <memory>

namespace example {

using namespace orlo;

// The form's language component: keeps the language data inside the form.
class TTranslator : public TComponent {
    ORLO_CLASS(TTranslator, TComponent)
public:
    explicit TTranslator(TComponent* AOwner)
        : TComponent(AOwner),
          Manager(std::make_unique<TLanguageManager>(AOwner, this, this, cmInconsistent)) {}

    void SetLanguage(const String& Name) {
        const Integer Index = Manager->Langs()->IndexOfName(Name);
        if (Index < 0)
            throw Exception("Language " + Name + " not found");
        Manager->SetLanguageByIndex(Index);
    }
    String GetString(const String& Name) const {
        String Value;
        Manager->GetString(Name, Value);
        return Value;
    }

    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        Manager->DefineProperties("LanguageManager_", Filer);
    }
    void Loaded() override {
        TComponent::Loaded();
        Manager->Init(cmInitAll);
    }

    std::unique_ptr<TLanguageManager> Manager;
};

ORLO_PUBLISHED(TTranslator, "LanguageDemo") {}

class TDemoForm : public TOwnerForm {
    ORLO_CLASS(TDemoForm, TOwnerForm)
public:
    explicit TDemoForm(TComponent* AOwner) : TOwnerForm(AOwner) {}

    String Caption;
    TLabel* Greeting = nullptr;
    TLabel* OkButton = nullptr;
    TMemo* Notes = nullptr;
    TTranslator* Translator = nullptr;
};

ORLO_PUBLISHED(TDemoForm, "LanguageDemo") {
    P.Property("Caption", &TDemoForm::Caption);
    P.Field("Greeting", &TDemoForm::Greeting);
    P.Field("OkButton", &TDemoForm::OkButton);
    P.Field("Notes", &TDemoForm::Notes);
    P.Field("Translator", &TDemoForm::Translator);
}

template <class C> C* Add(TComponent* Owner, const char* Name) {
    auto* Component = new C(Owner);
    Component->SetName(Name);
    return Component;
}

// Adds a language to the list and gives every entry a slot for it.
void AddLanguage(TLanguageManager* Manager, const String& Name) {
    TLanguageEntries Edited(nullptr);
    Edited.Assign(Manager->Langs());
    static_cast<TLanguageEntry*>(Edited.Add())->SetName(Name);
    Manager->AssignLangsAndSync(&Edited, cmInitAll);
}

std::unique_ptr<TDemoForm> BuildEnglishForm() {
    auto Form = std::make_unique<TDemoForm>(nullptr);
    Form->SetName("DemoForm");
    Form->Caption = "Settings";
    Add<TLabel>(Form.get(), "Greeting")->Caption = "Welcome to the settings";
    Form->Greeting->Hint = "Change what you like";
    Add<TLabel>(Form.get(), "OkButton")->Caption = "&OK";
    Add<TMemo>(Form.get(), "Notes")->Lines()->SetText("Changes apply at once.\r\nPress OK.");
    Add<TTranslator>(Form.get(), "Translator");
    return Form;
}

void Translate(TDemoForm* Form) {
    TLanguageManager* Manager = Form->Translator->Manager.get();
    AddLanguage(Manager, "English");
    // The explorer's standard choice: every non-empty caption, hint, text and line.
    TCESettings Settings;
    AddRootToMainEntries(Form, Manager->Comps(), Settings,
                         TInconsistentLangPropertyEntry::StaticClass(), Settings.StandardFilter());
    Manager->Init(cmInitAll);
    auto* Saved = Manager->AddString("FileSaved");
    Saved->SetLangValue(0, Variant("The file was saved."));

    AddLanguage(Manager, "Deutsch");
    Form->Translator->SetLanguage("Deutsch");
    Form->Caption = "Einstellungen";
    Form->Greeting->Caption = "Willkommen bei den Einstellungen";
    Form->Greeting->Hint = "Ändern Sie, was Sie möchten";
    Form->OkButton->Caption = "&Übernehmen";
    Form->Notes->Lines()->Put(0, "Änderungen gelten sofort.");
    Form->Notes->Lines()->Put(1, "Drücken Sie Übernehmen.");
    Saved->SetLangValue(0, Variant("Die Datei wurde gespeichert."));
}

void Show(TDemoForm* Form, const char* Title) {
    TTranslator* Translator = Form->Translator;
    std::cout << "--- " << Title << " (" << Translator->Manager->Langs()->Count()
              << " languages) ---\n"
              << "  Form caption:     " << Form->Caption << "\n"
              << "  Greeting:         " << Form->Greeting->Caption << "\n"
              << "  Greeting hint:    " << Form->Greeting->Hint << "\n"
              << "  Button:           " << Form->OkButton->Caption << "\n";
    for (Integer I = 0; I < Form->Notes->Lines()->Count(); ++I)
        std::cout << "  Notes line " << I << ":     " << Form->Notes->Lines()->Strings(I) << "\n";
    std::cout << "  String FileSaved: " << Translator->GetString("FileSaved") << "\n\n";
}

String FormText(TMemoryStream& Binary) {
    Binary.SetPosition(0);
    TMemoryStream Text;
    ObjectBinaryToText(&Binary, &Text);
    return String(reinterpret_cast<const char*>(Text.Memory()), Text.Size());
}

String DefaultFileName() {
    const char* Temp = std::getenv("TMPDIR");
    return String(Temp && *Temp ? Temp : "/tmp") + "/languagedemo.form";
}

int Run(int argc, char** argv) {
    RegisterClasses({TDemoForm::StaticClass(), TLabel::StaticClass(), TMemo::StaticClass(),
                     TTranslator::StaticClass()});
    const String FileName = argc > 1 ? String(argv[1]) : DefaultFileName();

    auto Form = BuildEnglishForm();
    Translate(Form.get());
    Show(Form.get(), "German, as typed in");
    Form->Translator->SetLanguage("English");
    Show(Form.get(), "Switched to English");
    Form->Translator->SetLanguage("Deutsch");
    Show(Form.get(), "Switched back to German");

    TMemoryStream Binary;
    Binary.WriteComponent(Form.get());
    Binary.SaveToFile(FileName);
    std::cout << "--- Saved with German active to " << FileName << " (" << Binary.Size()
              << " bytes); as form text: ---\n"
              << FormText(Binary) << "\n";

    TMemoryStream Stored;
    Stored.LoadFromFile(FileName);
    auto Read = std::make_unique<TDemoForm>(nullptr);
    Stored.ReadComponent(Read.get());
    Show(Read.get(), "Read back from the file");
    Read->Translator->SetLanguage("English");
    Show(Read.get(), "Read back, switched to English");
    return 0;
}

} // namespace example

int main(int argc, char** argv) {
    return example::RunProgram("languagedemo", &example::Run, argc, argv);
}
