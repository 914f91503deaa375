#pragma once
// TLangComboBox: a drop-down list of the languages of a TGlossa that selects
// the current one, follows every language switch of its frame and switches
// the frame when the user picks another entry.
//
// It links itself to the TGlossa given in its Glossa property, or else to one
// found among the components of its form, while it has a window handle: a
// combo box without handle receives no notifications and holds no items.
// When the linked TGlossa goes away the box links itself to another one of
// the form; without one it is empty and disabled. With AutoColor a disabled
// box shows the button-face colour.

#include "platform/forms/StdCtrls.h"
#include "runtime/Glossa.h"

namespace orlo {

class TLangComboBox : public TCustomComboBox {
    ORLO_CLASS(TLangComboBox, TCustomComboBox)
public:
    explicit TLangComboBox(TComponent* AOwner);
    ~TLangComboBox() override;

    TGlossa* Glossa() const noexcept { return FGlossa; }
    void SetGlossa(TGlossa* Value);
    // The TGlossa whose change notifications the box receives; nil while none.
    TGlossa* Link() const noexcept { return FLink; }
    bool AutoColor() const noexcept { return FAutoColor; }
    void SetAutoColor(bool Value);

    // Switches between the colour the box had at construction and the
    // button-face colour as the box is enabled or disabled; any other colour stays.
    void AdjustColor();
    // Fills the items with the languages of Glossa (nil: none); enabled
    // exactly when it holds an item.
    void ReloadItems(TGlossa* Glossa);
    void RegisterNotifications(TGlossa* Exclude);
    void UnregisterNotifications();
    // The first TGlossa owned (at any depth) by the box's form other than Exclude.
    TGlossa* GetGlossa(TGlossa* Exclude) const;
    void LangCreated(TGlossa* Glossa);
    void LangChange(TGlossa* Glossa);

    // Kept for the form files only.
    TImeMode ImeMode = imDontCare;
    String ImeName;

    void CreateWnd() override;
    void Loaded() override;
    void SetName(const String& NewName) override;

protected:
    void ReleaseWidget() override;
    void Change() override;
    void EnabledChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TCustomForm* OwnerForm() const;
    TLangNotify ChangeNotify() { return TLangNotify::Make<&TLangComboBox::LangChange>(this); }
    TLangNotify CreateNotify() { return TLangNotify::Make<&TLangComboBox::LangCreated>(this); }

    bool FCreatedInDesigner = false;
    TColor FEnabledColor;
    TColor FDisabledColor = clBtnFace;
    bool FAutoColor = true;
    TGlossa* FGlossa = nullptr;
    TGlossa* FLink = nullptr;
};

} // namespace orlo
