#pragma once
// The package's message module: the texts that the design-time tools show in
// message boxes, in English and German, in the hidden language domain
// ".Private Orlo Domain", so that they follow the design tools' language and
// never the developer's forms. The module exists only in the design host
// (RunningInDesigner); in every other program GlossaModule() is nil and
// ServiceMessage shows the name it is given as it is.
//
// Its form file holds ConfigLang, a configuration file that keeps the design
// tools' language under HKEY_CURRENT_USER "Software\Orlo GbR\Designers" as the
// value "Global\Glossa.Language", and Glossa with the string table. While the
// unit is loaded, a TGlossa dropped onto a form that has one already asks
// "ReallyAddFurtherComponent" through the module.

#include "platform/forms/Forms.h"
#include "widgets/MsgBox.h"

namespace orlo {

class TConfigFile;
class TGlossa;

// The language domain of the package's own dialogs and messages.
extern const char* const PrivateGlossaDomain;

class TGlossaModule : public TDataModule {
    ORLO_CLASS(TGlossaModule, TDataModule)
public:
    // Without its form file; GlossaModule() makes the module with it.
    explicit TGlossaModule(TComponent* AOwner) : TDataModule(AOwner) {}
    ~TGlossaModule() override;

    TConfigFile* ConfigLang = nullptr;
    TGlossa* Glossa = nullptr;

    // Switches the design tools' texts (the whole private domain) to Language.
    void SetLanguage(const String& Language);
    // The named text in the current language; EStringNotFound when unknown.
    String GetString(const String& ID) const;
    // Called after every language switch of the module, with the module's
    // TGlossa as sender (the IDE expert follows the language with it).
    const TNotifyEvent& OnChange() const noexcept { return FOnChange; }
    void SetOnChange(const TNotifyEvent& Value) noexcept { FOnChange = Value; }

    // The user's language, then the stored one when there is one.
    void GlossaModuleCreate(TObject* Sender);
    void GlossaChange(TObject* Sender);

private:
    TNotifyEvent FOnChange;
};

// The module in the design host, made with its form file on the first call
// there and owned by the application; nil in every other program.
TGlossaModule* GlossaModule();

// Shows a message of the design tools: Text is the name of a module string
// when the module exists, the text itself otherwise. No caption, no help,
// in the private domain's language; the result of the button that closed it.
Integer ServiceMessage(const String& Text, TMsgBoxType Type, TMsgBoxButtons Buttons);

// Opens the application's help at Context; the second argument is not used.
void ShowGlossaHelp(Integer Context, Integer Unused = 0);

} // namespace orlo
