// A small multilingual program. Its forms are read from the form files under
// examples/forms, each with a TGlossa that holds its texts in several
// languages:
//   - the main window and the settings dialog share one language frame (the
//     settings dialog has no French: it keeps its texts when the frame is
//     switched to French);
//   - the report and its print preview form a second frame, the domain
//     "Reports" (written "REPORTS" in the preview: domains ignore case);
//   - the unit "Messages" has no form: InitGlossa reads its texts from the
//     language side file Messages.lng, linked into the program as a resource.
// The program switches the frames and prints what every form shows.
//
//   multilingual [language]   starts in that language (default: the user's
//                             language, from ORLO_LANG, LC_ALL, LC_MESSAGES or
//                             LANG, when the forms have it)

#include "examples/ExampleControls.h"
#include "examples/ExampleMain.h"
#include "platform/classes/Component.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/Glossa.h"

#include <iostream>
#include <memory>

namespace example {

using namespace orlo;

// --- Forms ------------------------------------------------------------------------

// A form: a caption and the components it owns, each read from its form file.
class TForm : public TOwnerForm {
    ORLO_CLASS(TForm, TOwnerForm)
public:
    explicit TForm(TComponent* AOwner) : TOwnerForm(AOwner) {}

    // Every text the form shows.
    void Print() const {
        std::cout << "  " << Name() << " \"" << Caption << "\" (" << Glossa->GetLanguage();
        if (!Glossa->GetDomain().empty())
            std::cout << ", domain " << Glossa->GetDomain();
        std::cout << ")\n";
        for (Integer I = 0; I < ComponentCount(); ++I)
            PrintComponent(Components(I));
    }

    String Caption;
    TGlossa* Glossa = nullptr;

private:
    static void PrintComponent(TComponent* Component) {
        if (auto* Label = dynamic_cast<TLabel*>(Component)) {
            std::cout << "    " << Label->Name() << ": " << Label->Caption;
            if (!Label->Hint.empty())
                std::cout << "  [hint: " << Label->Hint << "]";
            std::cout << "\n";
        } else if (auto* Memo = dynamic_cast<TMemo*>(Component)) {
            for (Integer I = 0; I < Memo->Lines()->Count(); ++I)
                std::cout << "    " << Memo->Name() << " line " << I + 1 << ": "
                          << Memo->Lines()->Strings(I) << "\n";
        }
    }
};

ORLO_PUBLISHED(TForm, "Multilingual") {
    P.Property("Caption", &TForm::Caption);
    P.Field("Glossa", &TForm::Glossa);
}

// The form classes; what they show comes from their form files.
#define EXAMPLE_FORM(Name)                                                                         \
    class Name : public TForm {                                                                    \
        ORLO_CLASS(Name, TForm)                                                                    \
    public:                                                                                        \
        explicit Name(TComponent* AOwner) : TForm(AOwner) {}                                       \
    };                                                                                             \
    ORLO_PUBLISHED(Name, "Multilingual") {}

EXAMPLE_FORM(TMainForm)
EXAMPLE_FORM(TSettingsForm)
EXAMPLE_FORM(TReportForm)
EXAMPLE_FORM(TPreviewForm)

#undef EXAMPLE_FORM

template <class F> std::unique_ptr<F> OpenForm() {
    auto Form = std::make_unique<F>(nullptr);
    if (!InitInheritedComponent(Form.get(), TForm::StaticClass()))
        throw EResNotFound("Resource " + Form->ClassName() + " not found");
    return Form;
}

// --- The unit "Messages": texts of code, without a form --------------------------

namespace Messages {

// The resource name the language side file Messages.lng gives its data.
constexpr const char* ResName = "{3E5C9A10-7B42-4F8D-A1C6-52D7E9B0F314}";

TGetString GetString;

void LangChange(const String& Language) {
    std::cout << "  (unit Messages now speaks " << Language << ")\n";
}

void Init() {
    InitGlossa(ResName, &LangChange, GetString);
}

} // namespace Messages

// --- The program ------------------------------------------------------------------

struct TWindows {
    std::unique_ptr<TMainForm> Main = OpenForm<TMainForm>();
    std::unique_ptr<TSettingsForm> Settings = OpenForm<TSettingsForm>();
    std::unique_ptr<TReportForm> Report = OpenForm<TReportForm>();
    std::unique_ptr<TPreviewForm> Preview = OpenForm<TPreviewForm>();

    void Print(const String& Title) const {
        std::cout << "\n=== " << Title << " ===\n";
        for (const TForm* Form :
             {static_cast<const TForm*>(Main.get()), static_cast<const TForm*>(Settings.get()),
              static_cast<const TForm*>(Report.get()), static_cast<const TForm*>(Preview.get())})
            Form->Print();
        std::cout << "  Messages: " << Format(Messages::GetString("Greeting"), "Ada") << " / "
                  << Messages::GetString("Saved") << "\n";
    }
};

void Switch(TForm* Form, const String& Language) {
    std::cout << "\n>>> " << Form->Name() << "->Glossa->SetLanguage(\"" << Language << "\")\n";
    Form->Glossa->SetLanguage(Language);
}

int Run(int argc, char** argv) {
    RegisterClasses({TLabel::StaticClass(), TMemo::StaticClass()});
    if (argc > 1)
        DefineStartupLanguage(argv[1]);
    std::cout << "User language: \"" << GetCurrentUserLanguage() << "\"\n";

    std::cout << "\n>>> Opening the forms and the unit Messages\n";
    TWindows Windows;
    Messages::Init();
    Windows.Print("Started");

    Switch(Windows.Main.get(), "Deutsch");
    Windows.Print("Main frame in German, reports unchanged");

    Switch(Windows.Preview.get(), "German");
    Windows.Print("Reports in German too (\"German\" is the English name of \"Deutsch\")");

    Switch(Windows.Main.get(), "Français");
    Windows.Print("Main frame in French; the settings dialog has no French and stays German");

    std::cout << "\n>>> Closing and reopening the print preview\n";
    Windows.Preview.reset();
    Windows.Preview = OpenForm<TPreviewForm>();
    Windows.Print("The reopened preview takes the language of its frame");
    return 0;
}

} // namespace example

int main(int argc, char** argv) {
    return example::RunProgram("multilingual", &example::Run, argc, argv);
}
