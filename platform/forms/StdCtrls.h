#pragma once
// The standard controls: labels, buttons, edits, memos, check boxes, radio
// buttons, group boxes, combo boxes and list boxes.

#include "platform/classes/Strings.h"
#include "platform/forms/Controls.h"

class QComboBox;
class QListWidget;

namespace orlo {

ORLO_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
ORLO_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
ORLO_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
ORLO_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
ORLO_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
ORLO_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
          csOwnerDrawVariable)
ORLO_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
ORLO_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused)
ORLO_SET(TOwnerDrawState, TOwnerDrawStateItem)
ORLO_EVENT(TDrawItemEvent,
           void(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State))
ORLO_EVENT(TMeasureItemEvent, void(TWinControl* Control, Integer Index, Integer& Height))

// The caption as shown: "&&" gives "&", a single "&" (the accelerator mark) goes.
String StripAccelChars(const String& Caption);
// The key of a caption's accelerator ("&File": 'F'), or 0 when it has none
// that a letter or digit key types.
Word AccelKeyOf(const String& Caption);
// Qt's horizontal alignment flag of an alignment.
Qt::Alignment HorizontalAlignment(TAlignment Value);

// --- Labels ------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
    ORLO_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const noexcept { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool Value);
    TWinControl* FocusControl = nullptr;

    // The size the caption takes: one line, or broken into lines of at most
    // the label's width when WordWrap.
    TPoint MeasureText() const;
    // With AutoSize: fits the label to its caption (a word-wrapped label keeps its width).
    void AdjustBounds();
    // The caption's accelerator moves the focus to FocusControl.
    bool HandleAccelerator(Word Key) override;

protected:
    void Paint(QPainter& Painter) override;
    void ApplyText() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    String DisplayText() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
};

class TLabel : public TCustomLabel {
    ORLO_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// --- Buttons -----------------------------------------------------------------

class TButtonControl : public TWinControl {
    ORLO_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    // Clicks from setting Checked in code are not fired while the form loads.
    bool ClicksDisabled() const;
};

class TButton : public TButtonControl {
    ORLO_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const noexcept { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult ModalResult() const noexcept { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    // Gives the form this button's ModalResult, then OnClick.
    void Click() override;
    bool HandleDialogKey(Word Key) override;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    Integer BackgroundRole() const override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    ORLO_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    bool Checked() const noexcept { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const noexcept { return FState; }
    // Fires OnClick when the state changes (not while the form loads).
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const noexcept { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // What a click by the user does: the next state.
    void Toggle();

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    void ApplyState();

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    ORLO_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TButtonControl {
    ORLO_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const noexcept { return FChecked; }
    // Checking turns the other radio buttons of the same parent off and fires OnClick.
    void SetChecked(bool Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    void ApplyChecked();
    // The arrow keys move to the next radio button of the parent and check it.
    bool KeyDown(Word& Key, TShiftState Shift) override;

private:
    // The next radio button of the parent in tab order (back: the previous)
    // that can take the focus, round the end; null when there is none.
    TRadioButton* NextInGroup(bool Forward) const;

    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

// --- Containers --------------------------------------------------------------

class TCustomGroupBox : public TCustomControl {
    ORLO_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner);

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void ApplyText() override;
    TRect AlignRect() const override;
    bool ClicksOnRelease() const override { return false; }
};

class TGroupBox : public TCustomGroupBox {
    ORLO_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// --- Edits -------------------------------------------------------------------

class TCustomEdit : public TWinControl {
    ORLO_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);

    Integer MaxLength() const noexcept { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool Value);
    char PasswordChar() const noexcept { return FPasswordChar; }
    void SetPasswordChar(char Value);
    TEditCharCase CharCase() const noexcept { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool AutoSelect = true;
    bool AutoSize = true;
    bool HideSelection = true;
    bool Modified = false;

    // The selection, as 0-based start and length.
    Integer SelStart() const noexcept { return FSelStart; }
    void SetSelStart(Integer Value);
    Integer SelLength() const noexcept { return FSelLength; }
    void SetSelLength(Integer Value);
    String SelText() const;
    void SelectAll();
    void Clear() { SetText(String()); }

    TNotifyEvent OnChange;

protected:
    // After every change of the text, by the user or in code.
    virtual void Change();
    void TextChanged() override;
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    void ApplySelection();
    Integer BackgroundRole() const override;
    void UserEdited(const String& Value);
    // Value in the case CharCase asks for.
    String Cased(const String& Value) const;
    void ShowCasedText();
    // The selection as the widget has it now.
    void TakeWidgetSelection();

    Integer FMaxLength = 0;
    bool FReadOnly = false;
    char FPasswordChar = '\0';
    TEditCharCase FCharCase = ecNormal;
    Integer FSelStart = 0;
    Integer FSelLength = 0;
};

class TEdit : public TCustomEdit {
    ORLO_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

class TCustomMemo : public TCustomEdit {
    ORLO_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() const noexcept { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    // The lines joined by CR LF.
    String Text() const override;
    void SetText(const String& Value) override;
    TScrollStyle ScrollBars() const noexcept { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment = taLeftJustify;
    bool WantReturns = true;
    bool WantTabs = false;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    bool WantsKey(Word Key) const override;
    // Tab and Enter as WantTabs and WantReturns say at the time of the key.
    bool WidgetEvent(QEvent* Event) override;

private:
    void LinesChanged(TObject* Sender);
    void ApplyWrap();

    std::unique_ptr<TStringList> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FTakingUserText = false;
};

class TMemo : public TCustomMemo {
    ORLO_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// --- Lists -------------------------------------------------------------------

class TCustomComboBox : public TWinControl {
    ORLO_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const noexcept { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool Editable() const noexcept { return FStyle == csDropDown || FStyle == csSimple; }
    TStrings* Items() const noexcept { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // -1 when no entry is selected.
    Integer ItemIndex() const noexcept { return FItemIndex; }
    void SetItemIndex(Integer Value);
    String Text() const override;
    void SetText(const String& Value) override;
    bool Sorted() const noexcept { return FItems->Sorted(); }
    void SetSorted(bool Value);
    Integer DropDownCount() const noexcept { return FDropDownCount; }
    void SetDropDownCount(Integer Value);
    Integer ItemHeight = 16;
    Integer MaxLength() const noexcept { return FMaxLength; }
    void SetMaxLength(Integer Value);
    bool DroppedDown() const noexcept { return FDroppedDown; }
    void SetDroppedDown(bool Value);
    Integer SelStart() const noexcept { return FSelStart; }
    void SetSelStart(Integer Value);
    Integer SelLength() const noexcept { return FSelLength; }
    void SetSelLength(Integer Value);
    void SelectAll();
    void Clear();
    // What the user does: picks entry Index from the list (Click, then Change),
    // or types Value into the edit part (Change).
    void UserSelect(Integer Index);
    void UserType(const String& Value);

    bool OwnerDrawn() const noexcept {
        return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable;
    }
    // Where OnDrawItem draws; it has a painter only while an entry is drawn.
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    // With an owner-drawn style: draws entry Index (the canvas has the
    // selection's colours); without a handler the entry's text is drawn.
    TDrawItemEvent OnDrawItem;
    // With a variable owner-drawn style: the height of entry Index (ItemHeight before).
    TMeasureItemEvent OnMeasureItem;

protected:
    virtual void Change();
    virtual void DropDown();
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    Integer BackgroundRole() const override;
    bool WantsKey(Word Key) const override;
    void Loaded() override;
    QComboBox* Box() const;
    // The widget types a key of the edit part at once: what it and its
    // completer change of the text is then one change.
    bool WidgetEvent(QEvent* Event) override;

private:
    void ItemsChanged(TObject* Sender);
    void ApplyItems();
    void ApplySelection();
    // The widget's list opens (before it shows) or has closed.
    void PopupChanging(bool Open);
    // The edit part's text changed by typing, or by an entry being picked
    // (which reports itself).
    void EditTextChanged(const String& Value);
    // What the user typed, as the widget shows it.
    void TypedInWidget(const String& Value);

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    TComboBoxStyle FStyle = csDropDown;
    Integer FItemIndex = -1;
    Integer FDropDownCount = 8;
    Integer FMaxLength = 0;
    bool FDroppedDown = false;
    Integer FSelStart = 0;
    Integer FSelLength = 0;
    bool FLoadedIndex = false;
    int FShownIndex = -1; // the entry the widget showed as current, before a pick changes it
    bool FTyping = false; // a key of the edit part is being typed
};

class TComboBox : public TCustomComboBox {
    ORLO_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

class TCustomListBox : public TWinControl {
    ORLO_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const noexcept { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    Integer ItemIndex() const noexcept { return FItemIndex; }
    void SetItemIndex(Integer Value);
    bool Sorted() const noexcept { return FItems->Sorted(); }
    void SetSorted(bool Value);
    TListBoxStyle Style = lbStandard;
    Integer ItemHeight = 13;
    bool IntegralHeight = false;
    void Clear() { FItems->Clear(); }
    // What the user does: selects entry Index (OnClick).
    void UserSelect(Integer Index);
    bool OwnerDrawn() const noexcept { return Style != lbStandard; }
    // Where OnDrawItem draws; it has a painter only while an entry is drawn.
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }

    // Owner drawing as in a combo box (Style lbOwnerDrawFixed or lbOwnerDrawVariable).
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    Integer BackgroundRole() const override;
    QListWidget* List() const;

private:
    void ItemsChanged(TObject* Sender);
    void ApplyItems();

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    Integer FItemIndex = -1;
};

class TListBox : public TCustomListBox {
    ORLO_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

} // namespace orlo
