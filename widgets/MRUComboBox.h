#pragma once
// TMRUComboBox: an editable combo box that remembers the texts a user
// entered, most recent first, with an optional button beside it. The history
// is one string property (entries joined by ";"), so settings can keep it like
// any other property.
//
// A text is accepted when the user leaves the control, presses Enter, picks an
// entry, or the program calls Validate: it is trimmed, checked (not empty, then
// OnValidate may correct or refuse it), moved or added to the top of the
// history, and OnChange tells that the accepted text changed. A refused text
// stays for correction while the control has the focus; on leaving it the last
// accepted text returns.

#include "platform/forms/Buttons.h"
#include "platform/forms/StdCtrls.h"

namespace orlo {

ORLO_EVENT(TOnValidate, void(TObject* Sender, String& Text, bool& Valid))

class TCustomMRUComboBox : public TCustomControl {
    ORLO_CLASS(TCustomMRUComboBox, TCustomControl)
public:
    explicit TCustomMRUComboBox(TComponent* AOwner);
    ~TCustomMRUComboBox() override;

    String ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const String& Value) { FButton->SetCaption(Value); }
    TBitmap* ButtonGlyph() const { return FButton->Glyph(); }
    void SetButtonGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    String ButtonHint() const { return FButton->Hint(); }
    void SetButtonHint(const String& Value) { FButton->SetHint(Value); }
    Integer ButtonNumGlyphs() const { return FButton->NumGlyphs(); }
    void SetButtonNumGlyphs(Integer Value) { FButton->SetNumGlyphs(Value); }
    bool ButtonTabStop() const { return FButton->TabStop(); }
    void SetButtonTabStop(bool Value) { FButton->SetTabStop(Value); }
    bool ButtonVisible() const { return FButton->Visible(); }
    void SetButtonVisible(bool Value);
    Integer DefaultHeight() const noexcept { return FDefaultHeight; }
    void SetDefaultHeight(Integer Value);
    Integer DropDownCount() const { return FComboBox->DropDownCount(); }
    void SetDropDownCount(Integer Value);

    // The entries joined by ";".
    String History() const;
    void SetHistory(const String& Value);
    TStrings* HistoryList() const { return FComboBox->Items(); }
    void SetHistoryList(TStrings* Value);
    Integer HistoryListCount() const noexcept { return FHistoryListCount; }
    void SetHistoryListCount(Integer Value);

    // The last accepted text; setting it shows and accepts it.
    const String& AcceptedText() const noexcept { return FLastText; }
    void SetAcceptedText(const String& Value);
    // Closes an open list, then accepts the shown text; false when it is refused.
    bool Validate();

    TComboBox* ComboBox() const noexcept { return FComboBox; }
    TBitBtn* Button() const noexcept { return FButton; }
    bool HistoryChanged() const noexcept { return FHistoryChanged; }
    bool TextChangedFlag() const noexcept { return FTextChanged; }

    TNotifyEvent OnChange;
    TOnValidate OnValidate;

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Loaded() override;
    // The focus goes to the text: the control itself takes no keys (a label's
    // accelerator names the control, not its parts).
    void SetFocus() override;

protected:
    // What the button does; nothing here (a descendant browses for a file).
    virtual void ButtonClick();
    // The acceptance step; true when the shown text is accepted.
    bool AcceptText();

private:
    void ComboEnter(TObject* Sender);
    void ComboExit(TObject* Sender);
    void ComboClick(TObject* Sender);
    void ComboKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void ButtonClicked(TObject* Sender);
    void CutList();
    void ShowText(const String& Text);
    void PlaceParts();
    bool Loading() const { return ComponentState().Contains(csLoading); }

    TComboBox* FComboBox; // owned by this control
    TBitBtn* FButton;     // owned by this control
    Integer FDefaultHeight = 24;
    Integer FHistoryListCount = 10;
    String FLastText;
    bool FFocused = false;
    Integer FAccepting = 0;
    bool FHistoryChanged = false;
    bool FTextChanged = false;
};

class TMRUComboBox : public TCustomMRUComboBox {
    ORLO_CLASS(TMRUComboBox, TCustomMRUComboBox)
public:
    explicit TMRUComboBox(TComponent* AOwner) : TCustomMRUComboBox(AOwner) {}
};

} // namespace orlo
