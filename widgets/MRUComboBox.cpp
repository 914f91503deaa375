#include "widgets/MRUComboBox.h"

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace orlo {

namespace {

Integer IndexOfText(const TStrings& List, const String& Text) {
    for (Integer I = 0; I < List.Count(); ++I)
        if (AnsiSameText(List.Strings(I), Text))
            return I;
    return -1;
}

} // namespace

// Form files name the control by its class.
const bool TMRUComboBoxRegistered = (RegisterClass(TMRUComboBox::StaticClass()), true);

ORLO_PUBLISHED(TCustomMRUComboBox, "MRUComboBox") {
    publish::Align(P);
    publish::Anchors(P);
    P.Property("ButtonCaption", &TCustomMRUComboBox::ButtonCaption,
               &TCustomMRUComboBox::SetButtonCaption)
        .Type(TCaptionTypeInfo());
    P.Property("ButtonGlyph", &TCustomMRUComboBox::ButtonGlyph,
               &TCustomMRUComboBox::SetButtonGlyph);
    P.Property("ButtonHint", &TCustomMRUComboBox::ButtonHint, &TCustomMRUComboBox::SetButtonHint);
    P.Property("ButtonNumGlyphs", &TCustomMRUComboBox::ButtonNumGlyphs,
               &TCustomMRUComboBox::SetButtonNumGlyphs)
        .Default(1);
    P.Property("ButtonTabStop", &TCustomMRUComboBox::ButtonTabStop,
               &TCustomMRUComboBox::SetButtonTabStop)
        .Default(1);
    P.Property("ButtonVisible", &TCustomMRUComboBox::ButtonVisible,
               &TCustomMRUComboBox::SetButtonVisible);
    P.Property("DefaultHeight", &TCustomMRUComboBox::DefaultHeight,
               &TCustomMRUComboBox::SetDefaultHeight)
        .Default(24);
    P.Property("DropDownCount", &TCustomMRUComboBox::DropDownCount,
               &TCustomMRUComboBox::SetDropDownCount);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("History", &TCustomMRUComboBox::History, &TCustomMRUComboBox::SetHistory);
    P.Property("HistoryList", &TCustomMRUComboBox::HistoryList, &TCustomMRUComboBox::SetHistoryList)
        .Stored(false);
    P.Property("HistoryListCount", &TCustomMRUComboBox::HistoryListCount,
               &TCustomMRUComboBox::SetHistoryListCount);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::Visible(P);
    P.Property("OnChange", &TCustomMRUComboBox::OnChange);
    P.Property("OnValidate", &TCustomMRUComboBox::OnValidate);
}

ORLO_PUBLISHED(TMRUComboBox, "MRUComboBox") {
    P.Property("Text", &TMRUComboBox::AcceptedText, &TMRUComboBox::SetAcceptedText)
        .Type(TCaptionTypeInfo())
        .Stored(false);
}

TCustomMRUComboBox::TCustomMRUComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), FComboBox(new TComboBox(this)), FButton(new TBitBtn(this)) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    FComboBox->SetParent(this);
    FComboBox->SetStyle(csDropDown);
    FComboBox->OnEnter = TNotifyEvent::Make<&TCustomMRUComboBox::ComboEnter>(this);
    FComboBox->OnExit = TNotifyEvent::Make<&TCustomMRUComboBox::ComboExit>(this);
    FComboBox->OnClick = TNotifyEvent::Make<&TCustomMRUComboBox::ComboClick>(this);
    FComboBox->OnKeyDown = TKeyEvent::Make<&TCustomMRUComboBox::ComboKeyDown>(this);
    FButton->SetParent(this);
    FButton->SetCaption("...");
    FButton->SetTabStop(true);
    FButton->OnClick = TNotifyEvent::Make<&TCustomMRUComboBox::ButtonClicked>(this);
    SetBounds(Left(), Top(), 185, FDefaultHeight);
}

TCustomMRUComboBox::~TCustomMRUComboBox() {
    // The parts are freed with this component; they must not call back now.
    FComboBox->OnEnter = nullptr;
    FComboBox->OnExit = nullptr;
    FComboBox->OnClick = nullptr;
    FComboBox->OnKeyDown = nullptr;
    FButton->OnClick = nullptr;
}

void TCustomMRUComboBox::SetButtonVisible(bool Value) {
    FButton->SetVisible(Value);
    PlaceParts();
}

void TCustomMRUComboBox::SetDefaultHeight(Integer Value) {
    FDefaultHeight = Value;
    SetHeight(Value);
}

void TCustomMRUComboBox::SetDropDownCount(Integer Value) {
    FComboBox->SetDropDownCount(Value);
    CutList();
}

void TCustomMRUComboBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceParts();
}

// The button is square at the right edge; the combo box takes the rest.
void TCustomMRUComboBox::PlaceParts() {
    const Integer ButtonWidth = FButton->Visible() ? std::min(Height(), Width()) : 0;
    FComboBox->SetBounds(0, 0, Width() - ButtonWidth, Height());
    FButton->SetBounds(Width() - ButtonWidth, 0, ButtonWidth, Height());
}

String TCustomMRUComboBox::History() const {
    String Result;
    const TStrings* Entries = FComboBox->Items();
    for (Integer I = 0; I < Entries->Count(); ++I)
        Result += Entries->Strings(I) + ";";
    return Result;
}

void TCustomMRUComboBox::SetHistory(const String& Value) {
    TStringList Entries;
    Entries.SetText(StringReplace(Value, ";", "\r\n", {rfReplaceAll}));
    SetHistoryList(&Entries);
}

void TCustomMRUComboBox::SetHistoryList(TStrings* Value) {
    FComboBox->Items()->Assign(Value);
    FLastText.clear();
    FComboBox->SetText(String());
    if (FComboBox->Items()->Count() > 0)
        FComboBox->SetItemIndex(0);
    CutList();
    AcceptText();
    FHistoryChanged = true;
}

void TCustomMRUComboBox::SetHistoryListCount(Integer Value) {
    FHistoryListCount = Value;
    CutList();
}

void TCustomMRUComboBox::CutList() {
    if (Loading())
        return;
    FHistoryListCount = std::max(FHistoryListCount, FComboBox->DropDownCount());
    TStrings* Entries = FComboBox->Items();
    while (Entries->Count() > FHistoryListCount)
        Entries->Delete(Entries->Count() - 1);
}

void TCustomMRUComboBox::SetAcceptedText(const String& Value) {
    FComboBox->SetText(Value);
    AcceptText();
}

bool TCustomMRUComboBox::Validate() {
    FComboBox->SetDroppedDown(false);
    return AcceptText();
}

void TCustomMRUComboBox::ShowText(const String& Text) {
    if (FComboBox->Text() != Text)
        FComboBox->SetText(Text);
}

bool TCustomMRUComboBox::AcceptText() {
    if (Loading() || FAccepting > 0)
        return true;
    auto Running = CountForScope(FAccepting);
    String Text = Trim(FComboBox->Text());
    ShowText(Text);
    if (Text == FLastText)
        return true;
    bool Valid = ComponentState().Contains(csDesigning) || !Text.empty();
    if (OnValidate)
        OnValidate(this, Text, Valid);
    if (!Valid && !FFocused)
        Text = FLastText;
    Text = Trim(Text);
    ShowText(Text);
    if (Valid) {
        if (Text != FLastText) {
            const String Previous = FLastText;
            FLastText = Text;
            TStrings* Entries = FComboBox->Items();
            const Integer Existing = IndexOfText(*Entries, Text);
            if (Existing >= 0)
                Entries->Delete(Existing);
            Entries->Insert(0, Text);
            if (Existing < 0)
                CutList();
            FComboBox->SetItemIndex(0);
            if (FFocused)
                FComboBox->SelectAll();
            if (!AnsiSameText(Text, Previous)) {
                FTextChanged = true;
                if (OnChange)
                    OnChange(this);
            }
        }
        return true;
    }
    if (Text != FLastText) {
        FComboBox->SetSelStart(Length(Text));
        FComboBox->SetSelLength(0);
    } else {
        FComboBox->SelectAll();
    }
    return false;
}

void TCustomMRUComboBox::ComboEnter(TObject*) {
    FFocused = true;
}

void TCustomMRUComboBox::ComboExit(TObject*) {
    FFocused = false;
    AcceptText();
}

void TCustomMRUComboBox::ComboClick(TObject*) {
    AcceptText();
}

void TCustomMRUComboBox::ComboKeyDown(TObject*, Word& Key, TShiftState) {
    if (Key == VK_RETURN)
        AcceptText();
}

void TCustomMRUComboBox::SetFocus() {
    if (FComboBox->CanFocus())
        FComboBox->SetFocus();
    else
        TCustomControl::SetFocus();
}

void TCustomMRUComboBox::ButtonClicked(TObject*) {
    ButtonClick();
}

void TCustomMRUComboBox::ButtonClick() {}

void TCustomMRUComboBox::Loaded() {
    TCustomControl::Loaded();
    CutList();
    AcceptText();
}

} // namespace orlo
