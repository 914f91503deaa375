// A window in two languages. Its form, MainForm.dfm, is linked into the
// program by the build; the form's TGlossa holds every text in English and
// German and switches them at run time.

#include "platform/classes/Resources.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "runtime/Glossa.h"

#include <iostream>
#include <memory>

using namespace orlo;

// A label on the form: one translated property.
class TLabel : public TComponent {
    ORLO_CLASS(TLabel, TComponent)
public:
    explicit TLabel(TComponent* AOwner) : TComponent(AOwner) {}
    String Caption;
};

ORLO_PUBLISHED(TLabel, "MainForm") {
    P.Property("Caption", &TLabel::Caption);
}

// The window. Published fields are bound by name to the components read from
// the form; GetChildren hands the components it owns to the writer, so a saved
// form keeps them (and the language data of its TGlossa).
class TMainForm : public TComponent {
    ORLO_CLASS(TMainForm, TComponent)
public:
    explicit TMainForm(TComponent* AOwner) : TComponent(AOwner) {}

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override {
        for (Integer I = 0; I < ComponentCount(); ++I)
            Proc(Components(I));
    }

    String Caption;
    TLabel* Greeting = nullptr;
    TGlossa* Glossa = nullptr;
};

ORLO_PUBLISHED(TMainForm, "MainForm") {
    P.Property("Caption", &TMainForm::Caption);
    P.Field("Greeting", &TMainForm::Greeting);
    P.Field("Glossa", &TMainForm::Glossa);
}

void Show(const TMainForm& Form) {
    std::cout << Form.Glossa->GetLanguage() << ": " << Form.Caption << " | "
              << Form.Greeting->Caption << " | " << Form.Glossa->GetString("Saved") << "\n";
}

int main() try {
    RegisterClass(TLabel::StaticClass());
    auto Form = std::make_unique<TMainForm>(nullptr);
    // Reads the resource "TMainForm" that the build made from MainForm.dfm.
    if (!InitInheritedComponent(Form.get(), TComponent::StaticClass()))
        throw EResNotFound("Resource TMainForm not found");
    Show(*Form);
    Form->Glossa->SetLanguage("Deutsch");
    Show(*Form);
    return 0;
} catch (const std::exception& Error) {
    std::cerr << "app: " << Error.what() << "\n";
    return 1;
}
