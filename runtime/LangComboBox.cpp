#include "runtime/LangComboBox.h"

#include "platform/classes/Strings.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/SysUtils.h"
#include "tools/Debug.h"

namespace orlo {

namespace {

// Every TGlossa owned by Owner, at any depth: owned components before their
// owner, higher indexes first.
void CollectOwnedGlossas(TComponent* Owner, std::vector<TGlossa*>& Found) {
    for (Integer I = Owner->ComponentCount() - 1; I >= 0; --I) {
        TComponent* Component = Owner->Components(I);
        CollectOwnedGlossas(Component, Found);
        if (auto* Glossa = dynamic_cast<TGlossa*>(Component))
            Found.push_back(Glossa);
    }
}

} // namespace

// Form files name the control by its class.
const bool TLangComboBoxRegistered = (RegisterClass(TLangComboBox::StaticClass()), true);

ORLO_PUBLISHED(TLangComboBox, "Glossa") {
    P.Property("AutoColor", &TLangComboBox::AutoColor, &TLangComboBox::SetAutoColor).Default(1);
    P.Property("Glossa", &TLangComboBox::Glossa, &TLangComboBox::SetGlossa);
    publish::Color(P);
    publish::Ctl3D(P);
    publish::DragMode(P);
    publish::DragCursor(P);
    P.Property("DropDownCount", &TLangComboBox::DropDownCount, &TLangComboBox::SetDropDownCount)
        .Default(8);
    publish::Font(P);
    P.Property("ImeMode", &TLangComboBox::ImeMode).Default(imDontCare);
    P.Property("ImeName", &TLangComboBox::ImeName);
    P.Property("ItemHeight", &TLangComboBox::ItemHeight);
    P.Property("MaxLength", &TLangComboBox::MaxLength, &TLangComboBox::SetMaxLength).Default(0);
    publish::ParentColor(P, false);
    publish::ParentCtl3D(P);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    P.Property("OnChange", &TLangComboBox::OnChange);
    publish::ClickEvents(P);
    P.Property("OnDrawItem", &TLangComboBox::OnDrawItem);
    P.Property("OnDropDown", &TLangComboBox::OnDropDown);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
    P.Property("OnMeasureItem", &TLangComboBox::OnMeasureItem);
}

TLangComboBox::TLangComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FEnabledColor(Color()) {
    FCreatedInDesigner = ComponentState().Contains(csDesigning);
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetEnabled(false);
    SetSorted(true);
    SetStyle(csDropDownList);
    if (FCreatedInDesigner)
        TGlossa::RegisterCreateNotify(CreateNotify());
}

TLangComboBox::~TLangComboBox() {
    TGlossa::UnregisterCreateNotify(CreateNotify());
    UnregisterNotifications();
}

void TLangComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    RegisterNotifications(nullptr);
}

void TLangComboBox::ReleaseWidget() {
    if (HandleAllocated()) {
        UnregisterNotifications();
        ReloadItems(nullptr);
    }
    TCustomComboBox::ReleaseWidget();
}

void TLangComboBox::RegisterNotifications(TGlossa* Exclude) {
    UnregisterNotifications();
    if (!HandleAllocated())
        return;
    if (!FGlossa)
        FGlossa = GetGlossa(Exclude);
    FLink = FGlossa;
    if (!FLink)
        return;
    FLink->FreeNotification(this);
    LangChange(FLink);
    FLink->RegisterChangeNotify(ChangeNotify());
}

void TLangComboBox::UnregisterNotifications() {
    if (FLink)
        FLink->UnregisterChangeNotify(ChangeNotify());
    FLink = nullptr;
}

TCustomForm* TLangComboBox::OwnerForm() const {
    for (TComponent* Owner = this->Owner(); Owner; Owner = Owner->Owner())
        if (auto* Form = dynamic_cast<TCustomForm*>(Owner))
            return Form;
    return nullptr;
}

TGlossa* TLangComboBox::GetGlossa(TGlossa* Exclude) const {
    TCustomForm* Form = OwnerForm();
    if (!Form)
        return nullptr;
    std::vector<TGlossa*> Found;
    CollectOwnedGlossas(Form, Found);
    for (TGlossa* Glossa : Found)
        if (Glossa != Exclude)
            return Glossa;
    return nullptr;
}

void TLangComboBox::SetGlossa(TGlossa* Value) {
    if (Value == FGlossa)
        return;
    UnregisterNotifications();
    ReloadItems(nullptr);
    FGlossa = Value;
    if (Value)
        RegisterNotifications(nullptr);
}

void TLangComboBox::ReloadItems(TGlossa* Glossa) {
    if (!HandleAllocated())
        return;
    Items()->Clear();
    if (Glossa)
        Glossa->GetLanguages(Items());
    SetEnabled(Items()->Count() > 0);
}

void TLangComboBox::LangChange(TGlossa* Glossa) {
    if (!HandleAllocated())
        return;
    if (Glossa && Glossa == FGlossa) {
        ReloadItems(FGlossa);
        const String Language = FGlossa->GetLanguage();
        for (Integer I = 0; I < Items()->Count(); ++I)
            if (AnsiSameText(Items()->Strings(I), Language)) {
                SetItemIndex(I);
                break;
            }
    } else if (!Glossa) {
        TGlossa* Departing = FLink;
        FGlossa = nullptr;
        UnregisterNotifications();
        ReloadItems(nullptr);
        RegisterNotifications(Departing);
    } else if (TDebug::Enabled()) {
        TDebug::Write(ClassName() + ": " + Name() +
                      ".LangChange: Invalid internal reference - critical error");
    }
}

void TLangComboBox::LangCreated(TGlossa*) {
    if (!FLink && HandleAllocated())
        RegisterNotifications(nullptr);
}

void TLangComboBox::Change() {
    TCustomComboBox::Change();
    if (ItemIndex() >= 0 && FLink)
        FLink->SetLanguage(Text());
}

void TLangComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != FLink)
        return;
    FGlossa = nullptr;
    FLink = nullptr;
    ReloadItems(nullptr);
    TComponent* Owner = this->Owner();
    if (Owner && Owner->ComponentState().Contains(csDesigning) &&
        !Owner->ComponentState().Contains(csDestroying))
        RegisterNotifications(static_cast<TGlossa*>(AComponent));
}

void TLangComboBox::Loaded() {
    TCustomComboBox::Loaded();
    FCreatedInDesigner = false;
    if (FAutoColor)
        AdjustColor();
    if (!FLink && FGlossa)
        RegisterNotifications(nullptr);
}

void TLangComboBox::SetName(const String& NewName) {
    const bool FirstName = FCreatedInDesigner && !ComponentState().Contains(csLoading);
    if (!FirstName) {
        TCustomComboBox::SetName(NewName);
        return;
    }
    FCreatedInDesigner = false;
    NameWithoutNumber(NewName, [this](const String& Name) { TCustomComboBox::SetName(Name); });
}

void TLangComboBox::SetAutoColor(bool Value) {
    FAutoColor = Value;
    if (Value && !ComponentState().Contains(csLoading))
        AdjustColor();
}

void TLangComboBox::AdjustColor() {
    if (!Enabled() && Color() == FEnabledColor)
        SetColor(FDisabledColor);
    else if (Enabled() && Color() == FDisabledColor)
        SetColor(FEnabledColor);
}

void TLangComboBox::EnabledChanged() {
    TCustomComboBox::EnabledChanged();
    if (FAutoColor && !ComponentState().Contains(csLoading))
        AdjustColor();
}

} // namespace orlo
