#include "widgets/ButtonPanel.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace orlo {

// --- TExBitBtn -------------------------------------------------------------------

// Form files name the control by its class.
const bool TButtonPanelRegistered = (RegisterClass(TButtonPanel::StaticClass()), true);

ORLO_PUBLISHED(TExBitBtn, "ButtonPanel") {}

TExBitBtn::TExBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {}

TExBitBtn::~TExBitBtn() {
    *FAlive = false;
}

void TExBitBtn::Click() {
    const std::shared_ptr<bool> Alive = FAlive;
    TBitBtn::Click();
    if (!*Alive || !FItem)
        return;
    if (TButtonPanel* Panel = FItem->Panel())
        Panel->ButtonClicked(FItem);
}

// --- TButtonItem -----------------------------------------------------------------

ORLO_PUBLISHED(TButtonItem, "ButtonPanel") {
    P.Property("Kind", &TButtonItem::Kind, &TButtonItem::SetKind).Default(bkCustom);
    P.Property("Caption", &TButtonItem::Caption, &TButtonItem::SetCaption).Type(TCaptionTypeInfo());
    P.Property("Glyph", &TButtonItem::Glyph, &TButtonItem::SetGlyph).Stored(&TButtonItem::IsCustom);
    P.Property("ModalResult", &TButtonItem::ModalResult, &TButtonItem::SetModalResult)
        .Stored(&TButtonItem::IsCustom)
        .Default(mrNone);
    P.Property("NumGlyphs", &TButtonItem::NumGlyphs, &TButtonItem::SetNumGlyphs)
        .Stored(&TButtonItem::IsCustom)
        .Default(1);
    P.Property("TabOrder", &TButtonItem::TabOrder, &TButtonItem::SetTabOrder)
        .Type(TTabOrderTypeInfo());
    P.Indexed("Cancel", 0, &TButtonItem::GetBool, &TButtonItem::SetBool)
        .Stored(&TButtonItem::IsCustom)
        .Default(0);
    P.Indexed("Default", 1, &TButtonItem::GetBool, &TButtonItem::SetBool)
        .Stored(&TButtonItem::IsCustom)
        .Default(0);
    P.Indexed("Enabled", 2, &TButtonItem::GetBool, &TButtonItem::SetBool).Default(1);
    P.Indexed("Visible", 3, &TButtonItem::GetBool, &TButtonItem::SetBool).Default(1);
    P.Indexed("OnClick", 0, &TButtonItem::GetNotify, &TButtonItem::SetNotify);
    P.Indexed("OnEnter", 1, &TButtonItem::GetNotify, &TButtonItem::SetNotify);
    P.Indexed("OnExit", 2, &TButtonItem::GetNotify, &TButtonItem::SetNotify);
    P.Property("OnKeyPress", &TButtonItem::OnKeyPress, &TButtonItem::SetOnKeyPress);
}

TButtonItem::TButtonItem(TCollection* Collection)
    : TCollectionItem(nullptr), FButton(new TExBitBtn(nullptr)) {
    FButton->FItem = this;
    // Joining the collection places the button on the panel.
    SetCollection(Collection);
}

TButtonItem::~TButtonItem() {
    FButton->FItem = nullptr;
    delete FButton;
}

TButtonPanel* TButtonItem::Panel() const {
    auto* Buttons = dynamic_cast<TButtonCollection*>(Collection());
    return Buttons ? Buttons->Panel() : nullptr;
}

void TButtonItem::SetCollection(TCollection* Value) {
    TCollectionItem::SetCollection(Value);
    FButton->SetParent(Panel());
}

TBitBtnKind TButtonItem::Kind() const {
    return FButton->Kind();
}
void TButtonItem::SetKind(TBitBtnKind Value) {
    FButton->SetKind(Value);
}
String TButtonItem::Caption() const {
    return FButton->Caption();
}
void TButtonItem::SetCaption(const String& Value) {
    FButton->SetCaption(Value);
}
TBitmap* TButtonItem::Glyph() const {
    return FButton->Glyph();
}
void TButtonItem::SetGlyph(TBitmap* Value) {
    FButton->SetGlyph(Value);
}
TModalResult TButtonItem::ModalResult() const {
    return FButton->ModalResult();
}
void TButtonItem::SetModalResult(TModalResult Value) {
    FButton->SetModalResult(Value);
}
Integer TButtonItem::NumGlyphs() const {
    return FButton->NumGlyphs();
}
void TButtonItem::SetNumGlyphs(Integer Value) {
    FButton->SetNumGlyphs(Value);
}
Integer TButtonItem::TabOrder() const {
    return FButton->TabOrder();
}
void TButtonItem::SetTabOrder(Integer Value) {
    FButton->SetTabOrder(Value);
}
TKeyPressEvent TButtonItem::OnKeyPress() const {
    return FButton->OnKeyPress;
}
void TButtonItem::SetOnKeyPress(TKeyPressEvent Value) {
    FButton->OnKeyPress = Value;
}

bool TButtonItem::GetBool(Integer Index) const {
    switch (Index) {
    case 0:
        return FButton->Cancel();
    case 1:
        return FButton->Default();
    case 2:
        return FButton->Enabled();
    case 3:
        return FButton->Visible();
    }
    throw ECaseError(Format("TButtonItem.GetBool: Invalid index %d", Index));
}

void TButtonItem::SetBool(Integer Index, bool Value) {
    switch (Index) {
    case 0:
        FButton->SetCancel(Value);
        return;
    case 1:
        FButton->SetDefault(Value);
        return;
    case 2:
        FButton->SetEnabled(Value);
        return;
    case 3:
        FButton->SetVisible(Value);
        Relayout();
        return;
    }
    throw ECaseError(Format("TButtonItem.SetBool: Invalid index %d", Index));
}

TNotifyEvent TButtonItem::GetNotify(Integer Index) const {
    switch (Index) {
    case 0:
        return FButton->OnClick;
    case 1:
        return FButton->OnEnter;
    case 2:
        return FButton->OnExit;
    }
    throw ECaseError(Format("TButtonItem.GetNotify: Invalid index %d", Index));
}

void TButtonItem::SetNotify(Integer Index, TNotifyEvent Value) {
    switch (Index) {
    case 0:
        FButton->OnClick = Value;
        return;
    case 1:
        FButton->OnEnter = Value;
        return;
    case 2:
        FButton->OnExit = Value;
        return;
    }
    throw ECaseError(Format("TButtonItem.SetNotify: Invalid index %d", Index));
}

void TButtonItem::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TButtonItem*>(Source);
    if (!Other) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetKind(Other->Kind());
    SetCaption(Other->Caption());
    if (Other->IsCustom()) {
        SetGlyph(Other->Glyph());
        SetModalResult(Other->ModalResult());
        SetNumGlyphs(Other->NumGlyphs());
        SetBool(0, Other->GetBool(0));
        SetBool(1, Other->GetBool(1));
    }
    SetBool(2, Other->GetBool(2));
    SetBool(3, Other->GetBool(3));
    for (Integer I = 0; I < 3; ++I)
        SetNotify(I, Other->GetNotify(I));
    SetOnKeyPress(Other->OnKeyPress());
}

String TButtonItem::DisplayName() const {
    const String Shown = StripAccelChars(Caption());
    return Shown.empty() ? TCollectionItem::DisplayName() : Shown;
}

void TButtonItem::Relayout() const {
    if (TButtonPanel* Panel = this->Panel())
        Panel->LayoutButtons();
}

// --- TButtonCollection -----------------------------------------------------------

ORLO_PUBLISHED(TButtonCollection, "ButtonPanel") {}

TButtonCollection::TButtonCollection(TButtonPanel* Panel)
    : TOwnedCollection(Panel, TButtonItem::StaticClass()), FPanel(Panel) {}

void TButtonCollection::Update(TCollectionItem*) {
    FPanel->LayoutButtons();
}

// --- Layout ----------------------------------------------------------------------

TButtonRowLayout LayoutButtonRow(Integer Width, Integer Height, Integer DimX, Integer DimY,
                                 Integer Dist, TAlignment Alignment, Integer Count) {
    TButtonRowLayout Layout;
    Layout.Horizontal = Width > Height;
    const Integer Length = Layout.Horizontal ? Width : Height;
    const Integer Extent = Layout.Horizontal ? Height : Width;
    Integer Size = DimX;
    Integer Gap = Dist;
    const auto Fits = [&] { return Length >= Gap + (Size + Gap) * Count; };
    if (!Fits()) {
        Gap = (Length - Size * Count) / (Count + 1);
        if (Gap < 0 || !Fits()) {
            Size = Length / Count;
            Gap = 0;
        }
    }
    switch (Alignment) {
    case taLeftJustify:
        Layout.Along = Gap;
        break;
    case taRightJustify:
        Layout.Along = Length - (Gap + Size) * Count;
        break;
    case taCenter:
        Layout.Along = (Gap + Length - Count * (Size + Gap)) / 2;
        break;
    }
    Layout.Step = Size + Gap;
    Layout.Size = Size;
    Layout.CrossSize = std::min(DimY, Extent);
    Layout.Cross = (Extent - Layout.CrossSize) / 2;
    return Layout;
}

// --- TButtonPanel ----------------------------------------------------------------

ORLO_PUBLISHED(TButtonPanel, "ButtonPanel") {
    P.Property("ButtonAlignment", &TButtonPanel::ButtonAlignment, &TButtonPanel::SetButtonAlignment)
        .Default(taCenter);
    P.Property("ButtonDimX", &TButtonPanel::ButtonDimX, &TButtonPanel::SetButtonDimX).Default(128);
    P.Property("ButtonDimY", &TButtonPanel::ButtonDimY, &TButtonPanel::SetButtonDimY).Default(32);
    P.Property("ButtonDist", &TButtonPanel::ButtonDist, &TButtonPanel::SetButtonDist).Default(8);
    P.Property("Buttons", &TButtonPanel::Buttons, &TButtonPanel::SetButtons);
    P.Property("OnButtonClick", &TButtonPanel::OnButtonClick);
}

TButtonPanel::TButtonPanel(TComponent* AOwner)
    : TPanel(AOwner), FButtons(std::make_unique<TButtonCollection>(this)) {
    SetAlign(alBottom);
    SetBevelOuter(bvNone);
    BeginUpdateButtons();
    FButtons->Add()->SetKind(bkOK);
    FButtons->Add()->SetKind(bkCancel);
    EndUpdateButtons();
}

// The items (and their buttons) go while the panel is still whole.
TButtonPanel::~TButtonPanel() {
    ++FUpdateCount;
    FButtons.reset();
}

void TButtonPanel::SetButtonAlignment(TAlignment Value) {
    FButtonAlignment = Value;
    LayoutButtons();
}

void TButtonPanel::SetButtonDimX(Integer Value) {
    FButtonDimX = Value;
    LayoutButtons();
}

void TButtonPanel::SetButtonDimY(Integer Value) {
    FButtonDimY = Value;
    LayoutButtons();
}

void TButtonPanel::SetButtonDist(Integer Value) {
    FButtonDist = Value;
    LayoutButtons();
}

void TButtonPanel::SetButtons(TButtonCollection* Value) {
    FButtons->Assign(Value);
}

void TButtonPanel::BeginUpdateButtons() {
    ++FUpdateCount;
}

void TButtonPanel::EndUpdateButtons() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        LayoutButtons();
}

void TButtonPanel::LayoutButtons() {
    if (FUpdateCount > 0 || !FButtons || ComponentState().Contains(csLoading))
        return;
    Integer Count = 0;
    for (Integer I = 0; I < FButtons->Count(); ++I)
        if (FButtons->Items(I)->GetBool(3))
            ++Count;
    if (Count == 0)
        return;
    const TButtonRowLayout Layout = LayoutButtonRow(Width(), Height(), FButtonDimX, FButtonDimY,
                                                    FButtonDist, FButtonAlignment, Count);
    Integer Along = Layout.Along;
    for (Integer I = 0; I < FButtons->Count(); ++I) {
        TExBitBtn* Button = FButtons->Items(I)->Button();
        if (!Button->Visible())
            continue;
        if (Layout.Horizontal)
            Button->SetBounds(Along, Layout.Cross, Layout.Size, Layout.CrossSize);
        else
            Button->SetBounds(Layout.Cross, Along, Layout.CrossSize, Layout.Size);
        Along += Layout.Step;
    }
}

void TButtonPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    TPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    LayoutButtons();
}

void TButtonPanel::Loaded() {
    TPanel::Loaded();
    LayoutButtons();
}

void TButtonPanel::ButtonClicked(TButtonItem* Item) {
    if (OnButtonClick)
        OnButtonClick(this, Item);
}

// An empty collection is not written at all; without this mark the reader
// would keep the two buttons every new panel starts with.
void TButtonPanel::DefineProperties(TFiler* Filer) {
    TPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "ButtonsEmpty", [this](TReader* Reader) { ReadButtonsEmpty(Reader); },
        [this](TWriter* Writer) { WriteButtonsEmpty(Writer); }, FButtons->Count() == 0);
}

void TButtonPanel::ReadButtonsEmpty(TReader* Reader) {
    if (Reader->ReadBoolean())
        FButtons->Clear();
}

void TButtonPanel::WriteButtonsEmpty(TWriter* Writer) {
    Writer->WriteBoolean(true);
}

} // namespace orlo
