#include "design/GlossaReg.h"

#include "config/ConfigFile.h"
#include "platform/classes/AppHooks.h"
#include "runtime/Glossa.h"
#include "tools/VersionControl.h"

namespace orlo {

const char* const PrivateGlossaDomain = ".Private Orlo Domain";

namespace {

const TUnitVersion Version("$Header: /design/GlossaReg.cpp 1.0 10.12.26 07:30 orlo $");
const bool TGlossaModuleRegistered = (RegisterClass(TGlossaModule::StaticClass()), true);

TGlossaModule* Instance = nullptr;

// A further TGlossa on a form is kept unless the developer answers No.
bool AskFurtherComponent(TGlossa*) {
    return !GlossaModule() ||
           ServiceMessage("ReallyAddFurtherComponent", mtConfirmation, {mbYes, mbNo}) != mrNo;
}

const bool FurtherComponentQueryInstalled = (SetFurtherComponentQuery(&AskFurtherComponent), true);

} // namespace

TGlossaModule::~TGlossaModule() {
    if (Instance == this)
        Instance = nullptr;
}

void TGlossaModule::SetLanguage(const String& Language) {
    Glossa->SetLanguage(Language);
}

String TGlossaModule::GetString(const String& ID) const {
    return Glossa->GetString(ID);
}

void TGlossaModule::GlossaModuleCreate(TObject*) {
    Glossa->SetLanguage(GetCurrentUserLanguage());
    ConfigLang->Load();
}

void TGlossaModule::GlossaChange(TObject* Sender) {
    if (FOnChange)
        FOnChange(Sender);
}

TGlossaModule* GlossaModule() {
    if (!RunningInDesigner())
        return nullptr;
    if (!Instance)
        Instance = TDataModule::Create<TGlossaModule>(Application);
    return Instance;
}

Integer ServiceMessage(const String& Text, TMsgBoxType Type, TMsgBoxButtons Buttons) {
    const TGlossaModule* Module = GlossaModule();
    return MsgEx(Module ? Module->GetString(Text) : Text, String(), Type, Buttons, 0,
                 PrivateGlossaDomain);
}

void ShowGlossaHelp(Integer Context, Integer) {
    Application->HelpContext(Context);
}

ORLO_PUBLISHED(TGlossaModule, "GlossaReg") {
    P.Field("ConfigLang", &TGlossaModule::ConfigLang);
    P.Field("Glossa", &TGlossaModule::Glossa);
    P.Method<&TGlossaModule::GlossaModuleCreate>("GlossaModuleCreate");
    P.Method<&TGlossaModule::GlossaChange>("GlossaChange");
}

} // namespace orlo
