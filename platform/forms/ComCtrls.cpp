#include "platform/forms/ComCtrls.h"

#include "platform/rtl/SysUtils.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace orlo {

// --- Tool bar and status bar -----------------------------------------------------

namespace {

// Form files name these classes without a published field for each.
const bool BarsRegistered = (RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass(),
                                              TStatusBar::StaticClass()}),
                             true);

constexpr Integer ButtonTextMargin = 12;
constexpr Integer EdgeWidth = 2;

} // namespace

// --- TToolButton

ORLO_PUBLISHED(TToolButton, "ComCtrls") {
    P.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(0);
    publish::Caption(P);
    P.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(0);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("DropdownMenu", &TToolButton::DropdownMenu);
    publish::Enabled(P);
    P.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(0);
    P.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex);
    P.Property("Indeterminate", &TToolButton::Indeterminate).Default(0);
    P.Property("Marked", &TToolButton::Marked).Default(0);
    P.Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    P.Property("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap).Default(0);
    publish::ShowHint(P);
    P.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    publish::Visible(P);
    publish::ClickEvents(P);
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 23, 22);
    FControlStyle.Exclude(csSetCaption);
}

TToolButton::~TToolButton() {
    if (ToolBar())
        SetParent(nullptr); // the others close the gap
    SetMenuItem(nullptr);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::Rearrange() {
    if (TToolBar* Bar = ToolBar())
        Bar->ArrangeButtons();
}

void TToolButton::SetParent(TWinControl* AParent) {
    TToolBar* Old = ToolBar();
    TGraphicControl::SetParent(AParent);
    if (Old && Old != ToolBar())
        Old->ArrangeButtons();
    Rearrange();
}

void TToolButton::SetVisible(bool Value) {
    TGraphicControl::SetVisible(Value);
    Rearrange();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (FStyle == Value)
        return;
    const bool WasSeparator = IsSeparator();
    FStyle = Value;
    if (FStyle != tbsCheck)
        FDown = false;
    if (WasSeparator != IsSeparator() && Widget()) {
        ReleaseWidget(); // a button and a gap are different widgets
        AllocateWidget();
    }
    ApplyDown();
    Rearrange();
}

void TToolButton::SetWrap(bool Value) {
    FWrap = Value;
    Rearrange();
}

void TToolButton::SetDown(bool Value) {
    if (FDown == Value)
        return;
    FDown = Value;
    if (FDown)
        ReleaseGroup();
    ApplyDown();
}

// The grouped check buttons next to this one (no separator between) go up.
void TToolButton::ReleaseGroup() {
    TToolBar* Bar = ToolBar();
    if (!Bar || !FGrouped || FStyle != tbsCheck)
        return;
    const Integer Count = Bar->ButtonCount();
    Integer Self = 0;
    while (Self < Count && Bar->Buttons(Self) != this)
        ++Self;
    const auto InGroup = [](const TToolButton* B) { return B->FGrouped && B->FStyle == tbsCheck; };
    for (Integer I = Self - 1; I >= 0 && InGroup(Bar->Buttons(I)); --I)
        Bar->Buttons(I)->SetDown(false);
    for (Integer I = Self + 1; I < Count && InGroup(Bar->Buttons(I)); ++I)
        Bar->Buttons(I)->SetDown(false);
}

void TToolButton::SetMenuItem(TMenuItem* Value) {
    if (FMenuItem)
        RemoveFreeNotification(FMenuItem);
    FMenuItem = Value;
    if (!Value)
        return;
    FreeNotification(Value);
    SetCaption(Value->Caption());
    SetHint(Value->Hint());
    SetDown(Value->Checked());
    SetEnabled(Value->Enabled());
    SetVisible(Value->Visible());
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMenuItem)
        FMenuItem = nullptr;
    if (AComponent == DropdownMenu)
        DropdownMenu = nullptr;
}

void TToolButton::Click() {
    if (FStyle == tbsCheck && !(FDown && FGrouped && !FAllowAllUp))
        SetDown(!FDown);
    ApplyDown(); // Qt may have toggled it on its own
    if (OnClick || !FMenuItem)
        TGraphicControl::Click(); // may free this button: nothing follows
    else
        FMenuItem->Click();
}

QWidget* TToolButton::CreateWidget(QWidget* ParentWidget) {
    if (IsSeparator()) {
        auto* Gap = new QFrame(ParentWidget);
        if (FStyle == tbsDivider)
            Gap->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        return Gap;
    }
    return new QToolButton(ParentWidget);
}

void TToolButton::InitWidget() {
    TGraphicControl::InitWidget();
    if (auto* Button = qobject_cast<QToolButton*>(FWidget)) {
        Button->setAutoRaise(true);
        Button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        Listen(Button, &QToolButton::clicked, [this](bool) { Click(); });
    }
    ApplyDown();
}

void TToolButton::ApplyDown() {
    if (auto* Button = qobject_cast<QToolButton*>(FWidget)) {
        Button->setCheckable(FStyle == tbsCheck);
        Button->setChecked(FDown);
    }
}

void TToolButton::ApplyText() {
    if (auto* Button = qobject_cast<QToolButton*>(FWidget))
        Button->setText(ToQString(Caption()));
}

void TToolButton::TextChanged() {
    TGraphicControl::TextChanged();
    Rearrange();
}

void TToolButton::FontChanged() {
    TGraphicControl::FontChanged();
    FCaptionWidths.clear();
    Rearrange();
}

Integer TToolButton::CaptionWidth() const {
    constexpr size_t Kept = 4;
    const auto Known = std::find_if(FCaptionWidths.begin(), FCaptionWidths.end(),
                                    [this](const auto& Entry) { return Entry.first == Caption(); });
    if (Known != FCaptionWidths.end())
        return Known->second;
    if (FCaptionWidths.size() == Kept)
        FCaptionWidths.erase(FCaptionWidths.begin());
    FCaptionWidths.emplace_back(Caption(), Canvas()->TextWidth(StripAccelChars(Caption())));
    return FCaptionWidths.back().second;
}

// --- TToolBar

ORLO_PUBLISHED(TToolBar, "ComCtrls") {
    P.Property("Align", &TToolBar::Align, &TToolBar::SetAlign).Default(alTop);
    P.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    P.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    publish::Caption(P);
    publish::Color(P);
    publish::Ctl3D(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders)
        .Default(TEdgeBorders{ebTop}.Bits());
    publish::Enabled(P);
    P.Property("Flat", &TToolBar::Flat).Default(0);
    publish::Font(P);
    P.Property("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
    P.Property("List", &TToolBar::List).Default(0);
    publish::ParentColor(P, true);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    P.Property("ShowCaptions", &TToolBar::ShowCaptions).Default(0);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, false);
    P.Property("Transparent", &TToolBar::Transparent).Default(0);
    publish::Visible(P);
    P.Property("Wrapable", &TToolBar::Wrapable).Default(1);
    publish::ClickEvents(P);
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() = default;

Integer TToolBar::ButtonCount() const {
    Integer Count = 0;
    for (Integer I = 0; I < ControlCount(); ++I)
        if (dynamic_cast<TToolButton*>(Controls(I)))
            ++Count;
    return Count;
}

TToolButton* TToolBar::Buttons(Integer Index) const {
    Integer Seen = 0;
    for (Integer I = 0; I < ControlCount(); ++I)
        if (auto* Button = dynamic_cast<TToolButton*>(Controls(I)); Button && Seen++ == Index)
            return Button;
    throw EListError(Format("List index out of bounds (%d)", Index));
}

void TToolBar::SetButtonHeight(Integer Value) {
    FButtonHeight = std::max(1, Value);
    ArrangeButtons();
}

void TToolBar::SetButtonWidth(Integer Value) {
    FButtonWidth = std::max(1, Value);
    ArrangeButtons();
}

void TToolBar::SetIndent(Integer Value) {
    FIndent = std::max(0, Value);
    ArrangeButtons();
}

void TToolBar::SetEdgeBorders(TEdgeBorders Value) {
    FEdgeBorders = Value;
    ArrangeButtons();
}

Integer TToolBar::ButtonExtent(const TToolButton* Button) const {
    if (Button->IsSeparator())
        return Button->Width();
    if (Button->Caption().empty())
        return FButtonWidth;
    return std::max(FButtonWidth, Button->CaptionWidth() + ButtonTextMargin);
}

void TToolBar::ArrangeButtons() {
    if (FArranging || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    FArranging = true;
    const Integer Top = FEdgeBorders.Contains(ebTop) ? EdgeWidth : 0;
    Integer X = FIndent + (FEdgeBorders.Contains(ebLeft) ? EdgeWidth : 0);
    Integer Y = Top;
    for (Integer I = 0; I < ControlCount(); ++I) {
        auto* Button = dynamic_cast<TToolButton*>(Controls(I));
        if (!Button || !Button->Visible())
            continue;
        const Integer Extent = ButtonExtent(Button);
        if (Wrapable && X > FIndent && X + Extent > ClientWidth() && !Button->IsSeparator()) {
            X = FIndent;
            Y += FButtonHeight;
        }
        Button->SetBounds(X, Y, Extent, FButtonHeight);
        X += Extent;
        if (Button->Wrap()) {
            X = FIndent;
            Y += FButtonHeight;
        }
    }
    FArranging = false;
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

void TToolBar::Resize() {
    TWinControl::Resize();
    ArrangeButtons();
}

QWidget* TToolBar::CreateWidget(QWidget* ParentWidget) {
    auto* Bar = new QFrame(ParentWidget);
    return Bar;
}

void TToolBar::InitWidget() {
    TWinControl::InitWidget();
    FWidget->setAutoFillBackground(true);
    if (auto* Frame = qobject_cast<QFrame*>(FWidget); Frame && !FEdgeBorders.Empty())
        Frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
}

// --- TStatusPanel

ORLO_PUBLISHED(TStatusPanel, "ComCtrls") {
    P.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
        .Default(taLeftJustify);
    P.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    P.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    P.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    P.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(nullptr) {
    SetCollection(Collection); // only now: joining shows the panel
}

void TStatusPanel::SetText(const String& Value) {
    if (FText == Value)
        return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
    FWidth = std::max(0, Value);
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    FBevel = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    FStyle = Value;
    Changed(false);
}

void TStatusPanel::Assign(TPersistent* Source) {
    auto* Panel = dynamic_cast<TStatusPanel*>(Source);
    if (!Panel) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = Panel->FText;
    FWidth = Panel->FWidth;
    FAlignment = Panel->FAlignment;
    FBevel = Panel->FBevel;
    FStyle = Panel->FStyle;
    Changed(true);
}

String TStatusPanel::DisplayName() const {
    return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

// --- TStatusPanels

ORLO_PUBLISHED(TStatusPanels, "ComCtrls") {}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TOwnedCollection(StatusBar, TStatusPanel::StaticClass()), FStatusBar(StatusBar) {}

TStatusPanel* TStatusPanels::Items(Integer Index) const {
    return static_cast<TStatusPanel*>(TCollection::Items(Index));
}

void TStatusPanels::Update(TCollectionItem*) {
    FStatusBar->ApplyPanels();
}

// --- TStatusBar

ORLO_PUBLISHED(TStatusBar, "ComCtrls") {
    P.Property("Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
    publish::Anchors(P);
    P.Property("AutoHint", &TStatusBar::AutoHint).Default(0);
    publish::Color(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
    publish::ParentColor(P, true);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    publish::ShowHint(P);
    P.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(0);
    P.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    P.Property("SizeGrip", &TStatusBar::SizeGrip).Default(1);
    publish::Visible(P);
    publish::ClickEvents(P);
    P.Property("OnResize", &TStatusBar::OnResize);
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    FControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value) {
    FSimplePanel = Value;
    ApplyPanels();
}

void TStatusBar::SetSimpleText(const String& Value) {
    FSimpleText = Value;
    ApplyPanels();
}

TRect TStatusBar::PanelRect(Integer Index) const {
    if (FSimplePanel)
        return TRect{0, 0, ClientWidth(), ClientHeight()};
    Integer X = 0;
    for (Integer I = 0; I < Index; ++I)
        X += FPanels->Items(I)->Width();
    const bool Last = Index == FPanels->Count() - 1;
    const Integer Right = Last ? std::max(X, ClientWidth()) : X + FPanels->Items(Index)->Width();
    return TRect{X, 0, Right, ClientHeight()};
}

std::vector<String> TStatusBar::ShownTexts() const {
    std::vector<String> Texts;
    if (!FWidget)
        return Texts;
    for (const QLabel* Label : FWidget->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        Texts.push_back(FromQString(Label->text()));
    return Texts;
}

QWidget* TStatusBar::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

void TStatusBar::InitWidget() {
    TWinControl::InitWidget();
    FWidget->setAutoFillBackground(true);
    ApplyPanels();
}

void TStatusBar::Resize() {
    TWinControl::Resize();
    ApplyPanels();
    if (OnResize && !ComponentState().Contains(csLoading))
        OnResize(this);
}

// One label per panel (or one for the simple text), made or dropped as the
// number changes and then given their texts and places.
void TStatusBar::ApplyPanels() {
    if (!FWidget)
        return;
    const Integer Wanted = FSimplePanel ? 1 : FPanels->Count();
    QList<QLabel*> Labels = FWidget->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    while (Labels.size() > Wanted)
        DisposeWidget(Labels.takeLast());
    while (Labels.size() < Wanted) {
        auto* Label = new QLabel(FWidget);
        Label->show();
        Labels.append(Label);
    }
    for (Integer I = 0; I < Wanted; ++I) {
        QLabel* Label = Labels[I];
        const TRect R = PanelRect(I);
        Label->setGeometry(R.Left, R.Top, R.Width(), R.Height());
        if (FSimplePanel) {
            Label->setText(ToQString(FSimpleText));
            Label->setFrameStyle(QFrame::NoFrame);
            continue;
        }
        const TStatusPanel* Panel = FPanels->Items(I);
        Label->setText(ToQString(Panel->Text()));
        static constexpr Qt::Alignment Alignments[] = {Qt::AlignLeft, Qt::AlignRight,
                                                       Qt::AlignHCenter};
        Label->setAlignment(Alignments[Panel->Alignment()] | Qt::AlignVCenter);
        Label->setFrameStyle(
            Panel->Bevel() == pbNone
                ? QFrame::NoFrame
                : QFrame::Panel | (Panel->Bevel() == pbRaised ? QFrame::Raised : QFrame::Sunken));
    }
}

} // namespace orlo
