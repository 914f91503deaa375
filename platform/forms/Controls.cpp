#include "platform/forms/Controls.h"

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <unordered_map>
#include <utility>

namespace orlo {

namespace {

constexpr TIdentMapEntry CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

std::unordered_map<const QWidget*, TControl*>& WidgetControls() {
    static auto* Map = new std::unordered_map<const QWidget*, TControl*>();
    return *Map;
}

// The key event that a control took first: Qt offers an ignored key event
// to each parent in turn, and only the first control may act on it. The
// address alone does not tell one event from the next (the window system
// delivers each press and release in a new event at the same place), so an
// event counts as seen only where it goes on to the parents of the control
// that took it.
struct TTakenKey {
    const QEvent* Event = nullptr;
    QEvent::Type Type = QEvent::None;
    QPointer<QWidget> Taker;

    bool PassesOn(const QEvent* Key, const QWidget* Widget) const {
        return Key == Event && Key->type() == Type && Taker && Taker != Widget &&
               Widget->isAncestorOf(Taker);
    }
};
TTakenKey TakenKey;

// The watches running now, innermost last.
std::vector<TControlWatch*>& ControlWatches() {
    static auto* Watches = new std::vector<TControlWatch*>();
    return *Watches;
}

// Whether a parent's widget handles Event for its windowless children.
bool ConcernsWindowless(const QEvent* Event) {
    switch (Event->type()) {
    case QEvent::Paint:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::ToolTip:
        return true;
    default:
        return false;
    }
}

// The one object Qt calls for the events of every control's widget, and the
// context of their signal connections: one filter for all widgets spares each
// widget an object of its own. Events of widgets whose control is gone (not
// in the map any more) pass untouched.
class TBridgeReceiver final : public QObject {
public:
    static TBridgeReceiver* Instance() {
        static auto* Receiver = new TBridgeReceiver();
        return Receiver;
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType())
            return false;
        TControl* Control = TControl::FromWidget(static_cast<QWidget*>(Watched));
        if (!Control)
            return false;
        TQtDispatch Guard;
        bool Eaten = false;
        GuardedCall(Control, [&] {
            auto* Host = ConcernsWindowless(Event) ? dynamic_cast<TWinControl*>(Control) : nullptr;
            Eaten = (Host && Host->WindowlessChildrenEvent(Event)) || Control->WidgetEvent(Event);
        });
        return Eaten;
    }
};

} // namespace

Word VirtualKeyOf(const QKeyEvent* Event) {
    const int Key = Event->key();
    switch (Key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        break;
    }
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return static_cast<Word>(VK_F1 + (Key - Qt::Key_F1));
    if ((Key >= Qt::Key_A && Key <= Qt::Key_Z) || (Key >= Qt::Key_0 && Key <= Qt::Key_9) ||
        Key == Qt::Key_Space)
        return static_cast<Word>(Key);
    return 0;
}

TShiftState ShiftOf(const QKeyEvent* Event) {
    const Qt::KeyboardModifiers Modifiers = Event->modifiers();
    TShiftState Shift;
    if (Modifiers & Qt::ShiftModifier)
        Shift.Include(ssShift);
    if (Modifiers & Qt::AltModifier)
        Shift.Include(ssAlt);
    if (Modifiers & Qt::ControlModifier)
        Shift.Include(ssCtrl);
    return Shift;
}

char CharOfKey(Word Key, TShiftState Shift) {
    if (Key >= 'A' && Key <= 'Z')
        return static_cast<char>(Shift.Contains(ssShift) ? Key : Key - 'A' + 'a');
    if ((Key >= '0' && Key <= '9') || Key == ' ')
        return static_cast<char>(Key);
    switch (Key) {
    case VK_RETURN:
        return '\r';
    case VK_ESCAPE:
        return '\x1b';
    case VK_BACK:
        return '\b';
    case VK_TAB:
        return '\t';
    default:
        return '\0';
    }
}

char KeyCharOf(const QKeyEvent* Event) {
    const QString Text = Event->text();
    if (Text.size() == 1 && Text[0].unicode() < 128)
        return static_cast<char>(Text[0].unicode());
    // Some platforms give the control keys no text.
    return Text.isEmpty() ? CharOfKey(VirtualKeyOf(Event), ShiftOf(Event)) : '\0';
}

const TTypeInfo* TCursorTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TCursor", tkInteger, otSWord, -32768, 32767);
    static const bool Registered = (RegisterIntegerConsts(&Info, CursorNames), true);
    (void)Registered;
    return &Info;
}

Integer CursorShape(TCursor Cursor) {
    switch (Cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

const TTypeInfo* TCaptionTypeInfo() {
    static const TTypeInfo Info = MakeStringTypeInfo("TCaption");
    return &Info;
}

const TTypeInfo* TTabOrderTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TTabOrder", tkInteger, otSWord, -1, 32767);
    return &Info;
}

String GetShortHint(const String& Hint) {
    size_t Bar = Hint.find('|');
    return Bar == String::npos ? Hint : Hint.substr(0, Bar);
}

String GetLongHint(const String& Hint) {
    size_t Bar = Hint.find('|');
    return Bar == String::npos ? Hint : Hint.substr(Bar + 1);
}

bool WidgetOwnEvent(QWidget* Widget, QEvent* Event) {
    struct Access : QWidget {
        using QWidget::event;
    };
    return (Widget->*&Access::event)(Event);
}

// --- TWidgetBridge -----------------------------------------------------------

TWidgetBridge::TWidgetBridge(TControl* Control) : FControl(Control) {}

TWidgetBridge::~TWidgetBridge() {
    Detach();
}

QObject* TWidgetBridge::Receiver() const noexcept {
    return TBridgeReceiver::Instance();
}

void TWidgetBridge::Attach(QWidget* Widget) {
    Widget->installEventFilter(TBridgeReceiver::Instance());
    FWidget = Widget;
}

void TWidgetBridge::Detach() {
    if (!FWidget)
        return;
    QObject* Receiver = TBridgeReceiver::Instance();
    FWidget->removeEventFilter(Receiver);
    QObject::disconnect(FWidget, nullptr, Receiver, nullptr);
    FWidget = nullptr;
}

// --- TControl ----------------------------------------------------------------

ORLO_PUBLISHED(TControl, "Controls") {
    P.Property("Left", &TControl::Left, &TControl::SetLeft);
    P.Property("Top", &TControl::Top, &TControl::SetTop);
    P.Property("Width", &TControl::Width, &TControl::SetWidth);
    P.Property("Height", &TControl::Height, &TControl::SetHeight);
    P.Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
        .Type(TCursorTypeInfo())
        .Default(crDefault);
    P.Property("Hint", &TControl::Hint, &TControl::SetHint);
    P.Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->OnChange = TNotifyEvent::Make<&TControl::FontObjectChanged>(this);
}

TControlWatch::TControlWatch(const TControl* Control) : FControl(Control) {
    ControlWatches().push_back(this);
}

TControlWatch::~TControlWatch() {
    std::erase(ControlWatches(), this);
}

TControl::~TControl() {
    for (TControlWatch* Watch : ControlWatches())
        if (Watch->FControl == this)
            Watch->FControl = nullptr;
    Destroying();
    if (FParent) {
        if (TCustomForm* Form = GetParentForm())
            Form->ControlGone(this);
        FParent->RemoveControl(this);
    }
    ReleaseWidget();
}

TCustomForm* TControl::GetParentForm() const {
    const TControl* C = this;
    while (C->FParent)
        C = C->FParent;
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(C));
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* Container = dynamic_cast<TWinControl*>(Value))
        SetParent(Container);
}

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) {
        if (TCustomForm* Form = GetParentForm())
            Form->ControlGone(this);
        FParent->RemoveControl(this);
    }
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    InvalidateWindowless(); // the area it leaves
    const bool Resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchoring)
        UpdateAnchorRules();
    ApplyGeometry();
    if (FParent && FAlign != alNone)
        FParent->Realign();
    if (Resized)
        Resize();
}

void TControl::UpdateAnchorRules() {
    FAnchorBase = BoundsRect();
    FAnchorParentSize =
        FParent ? TPoint{FParent->ClientWidth(), FParent->ClientHeight()} : TPoint{-1, -1};
}

void TControl::ApplyAnchors() {
    if (!FParent || FAlign != alNone || FAnchorParentSize.X < 0)
        return;
    const Integer DeltaWidth = FParent->ClientWidth() - FAnchorParentSize.X;
    const Integer DeltaHeight = FParent->ClientHeight() - FAnchorParentSize.Y;
    TRect R = FAnchorBase;
    if (FAnchors.Contains(akRight)) {
        R.Right += DeltaWidth;
        if (!FAnchors.Contains(akLeft))
            R.Left += DeltaWidth;
    }
    if (FAnchors.Contains(akBottom)) {
        R.Bottom += DeltaHeight;
        if (!FAnchors.Contains(akTop))
            R.Top += DeltaHeight;
    }
    TSetForScope<bool> Anchoring(FAnchoring, true);
    SetBoundsRect(R);
}

void TControl::SetClientWidth(Integer Value) {
    SetWidth(Width() - ClientWidth() + Value);
}
void TControl::SetClientHeight(Integer Value) {
    SetHeight(Height() - ClientHeight() + Value);
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->Realign();
}

void TControl::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    ApplyVisible();
    VisibleChanged();
    if (FParent)
        FParent->Realign();
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    ApplyEnabled();
    EnabledChanged();
}

bool TControl::IsShowing() const {
    for (const TControl* C = this; C; C = C->FParent)
        if (!C->FVisible)
            return false;
    return true;
}

bool TControl::IsEffectivelyEnabled() const {
    for (const TControl* C = this; C; C = C->FParent)
        if (!C->FEnabled)
            return false;
    return true;
}

void TControl::SetText(const String& Value) {
    if (FText == Value)
        return;
    FText = Value;
    ApplyText();
    TextChanged();
}

void TControl::SetHint(const String& Value) {
    FHint = Value;
    ApplyToolTip();
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (FShowHint == Value)
        return;
    FShowHint = Value;
    ApplyToolTip();
    if (auto* Container = dynamic_cast<TWinControl*>(this))
        for (TControl* Child : Container->FControls)
            Child->ParentShowHintChanged();
}

void TControl::SetParentShowHint(bool Value) {
    FParentShowHint = Value;
    if (Value)
        ParentShowHintChanged();
}

String TControl::ToolTip() const {
    const bool Shown = FShowHint && (!Application || Application->ShowHint);
    return Shown ? GetShortHint(FHint) : String();
}

void TControl::SetParentFont(bool Value) {
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TControl::SetColor(TColor Value) {
    FParentColor = false;
    if (FColor == Value)
        return;
    FColor = Value;
    ApplyColor();
    ColorChanged();
    if (auto* Container = dynamic_cast<TWinControl*>(this))
        for (TControl* Child : Container->FControls)
            Child->ParentColorChanged();
}

void TControl::SetParentColor(bool Value) {
    FParentColor = Value;
    if (Value)
        ParentColorChanged();
}

void TControl::SetCursor(TCursor Value) {
    FCursor = Value;
    if (FWidget)
        FWidget->setCursor(QCursor(static_cast<Qt::CursorShape>(CursorShape(Value))));
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::BringToFront() {
    if (FWidget)
        FWidget->raise();
    else if (Windowless() && FParent)
        FParent->MoveWindowless(this, FParent->FControls.end());
}

void TControl::SendToBack() {
    if (FWidget)
        FWidget->lower();
    else if (Windowless() && FParent)
        FParent->MoveWindowless(this, FParent->FControls.begin());
}

void TControl::Invalidate() {
    if (FWidget)
        FWidget->update();
    else
        InvalidateWindowless();
}

void TControl::Repaint() {
    if (FWidget)
        FWidget->repaint();
    else if (Windowless() && FParent && FParent->FWidget)
        FParent->FWidget->repaint(FParent->WindowlessArea(this));
}

void TControl::InvalidateWindowless() const {
    if (Windowless() && FParent && FParent->FWidget &&
        !FParent->ComponentState().Contains(csDestroying))
        FParent->FWidget->update(FParent->WindowlessArea(this));
}

TControl* TControl::FromWidget(const QWidget* Widget) {
    auto Found = WidgetControls().find(Widget);
    return Found == WidgetControls().end() ? nullptr : Found->second;
}

bool TControl::WidgetEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
        FClickPending = static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton;
        return false;
    case QEvent::MouseButtonDblClick:
        FClickPending = false; // the second press of a double click: its release is no click
        if (OnDblClick)
            OnDblClick(this);
        return false;
    case QEvent::MouseButtonRelease:
        if (ClicksOnRelease() && std::exchange(FClickPending, false) &&
            static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton &&
            FWidget->rect().contains(static_cast<QMouseEvent*>(Event)->position().toPoint()))
            Click();
        return false;
    case QEvent::ContextMenu:
        return ShowPopupMenu(static_cast<QContextMenuEvent*>(Event)->globalPos());
    default:
        return false;
    }
}

bool TControl::ShowPopupMenu(const QPoint& At) {
    // A control without a menu of its own shows its parent's.
    for (TControl* Control = this; Control; Control = Control->FParent) {
        TPopupMenu* Menu = Control->FPopupMenu;
        if (!Menu)
            continue;
        if (!Menu->AutoPopup)
            return false;
        Menu->SetPopupComponent(this);
        Menu->Popup(At.x(), At.y());
        return true;
    }
    return false;
}

void TControl::EnabledChanged() {}
void TControl::VisibleChanged() {}
void TControl::TextChanged() {}
void TControl::FontChanged() {}
void TControl::ColorChanged() {}
void TControl::Resize() {}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent)
        return;
    TSetForScope<bool> Taking(FTakingParentFont, true);
    FFont->Assign(FParent->Font());
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent)
        return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::ParentShowHintChanged() {
    if (!FParentShowHint || !FParent)
        return;
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
}

void TControl::ChangeNotify() {
    ParentFontChanged();
    ParentColorChanged();
    ParentShowHintChanged();
}

void TControl::FontObjectChanged(TObject*) {
    if (!FTakingParentFont)
        FParentFont = false;
    ApplyFont();
    FontChanged();
    if (auto* Container = dynamic_cast<TWinControl*>(this))
        for (TControl* Child : Container->FControls)
            Child->ParentFontChanged();
}

void TControl::Loaded() {
    TComponent::Loaded();
    ChangeNotify();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

QWidget* TControl::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

void TControl::AllocateWidget() {
    if (Windowless()) {
        InvalidateWindowless();
        return;
    }
    if (FWidget)
        return;
    NeedWidgetApplication();
    QWidget* ParentWidget = FParent ? FParent->FWidget : nullptr;
    FWidget = CreateWidget(ParentWidget);
    WidgetControls()[FWidget] = this;
    FBridge = std::make_unique<TWidgetBridge>(this);
    FBridge->Attach(FWidget);
    InitWidget();
}

void TControl::ReleaseWidget() {
    if (!FWidget)
        return;
    WidgetControls().erase(FWidget);
    FBridge.reset();
    QWidget* Doomed = FWidget;
    FWidget = nullptr;
    DisposeWidget(Doomed);
}

void TControl::InitWidget() {
    FWidget->setObjectName(ToQString(Name()));
    ApplyGeometry();
    ApplyFont();
    ApplyColor();
    ApplyToolTip();
    ApplyEnabled();
    ApplyText();
    if (FCursor != crDefault)
        SetCursor(FCursor);
    FWidget->setFocusPolicy(Qt::NoFocus);
    // Each control has the mouse to itself: a press, click or double click
    // its widget leaves does not travel on to the parent control as well.
    FWidget->setAttribute(Qt::WA_NoMousePropagation);
    ApplyVisible();
}

void TControl::ApplyGeometry() {
    if (!FWidget)
        return InvalidateWindowless();
    const TPoint Origin = FParent ? FParent->WidgetClientOrigin() : TPoint{0, 0};
    FWidget->setGeometry(FLeft + Origin.X, FTop + Origin.Y, FWidth, FHeight);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (Value)
        FreeNotification(Value);
}

namespace {

// Gives the roles Color unless the widget inherits it already: a control
// that takes its look from its parent then leaves Qt's own inheritance at
// work instead of paying for a palette of its own.
void SetPaletteColor(QWidget* Widget, std::initializer_list<QPalette::ColorRole> Roles,
                     const QColor& Color, bool FromParent) {
    const QPalette& Current = Widget->palette();
    const auto Differs = [&](QPalette::ColorRole Role) { return Current.color(Role) != Color; };
    if ((FromParent || Widget->isWindow()) && std::none_of(Roles.begin(), Roles.end(), Differs))
        return;
    QPalette Palette = Current;
    for (QPalette::ColorRole Role : Roles)
        Palette.setColor(Role, Color);
    Widget->setPalette(Palette);
}

} // namespace

// The font and colours come from the parent's widget when the control takes
// them from its parent (Qt passes them down); the parent's later changes
// still reach the control through ParentFontChanged and ParentColorChanged.
bool TControl::InheritsLook(bool FromParent) const {
    return FromParent && FParent && FParent->FWidget && FWidget->parentWidget() == FParent->FWidget;
}

void TControl::ApplyFont() {
    if (!FWidget)
        return InvalidateWindowless();
    const bool FromParent = InheritsLook(FParentFont);
    const QFont Font = FFont->ToQFont();
    if (!FromParent || FWidget->font() != Font)
        FWidget->setFont(Font);
    SetPaletteColor(FWidget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText},
                    ColorToQColor(FFont->Color()), FromParent);
}

Integer TControl::BackgroundRole() const {
    return QPalette::Window;
}

void TControl::ApplyColor() {
    if (!FWidget)
        return InvalidateWindowless();
    SetPaletteColor(FWidget, {static_cast<QPalette::ColorRole>(BackgroundRole())},
                    ColorToQColor(FColor), InheritsLook(FParentColor));
}

void TControl::ApplyToolTip() {
    if (FWidget)
        FWidget->setToolTip(ToQString(ToolTip()));
}

void TControl::ApplyEnabled() {
    if (FWidget)
        FWidget->setEnabled(FEnabled);
    else
        InvalidateWindowless();
}

void TControl::ApplyVisible() {
    if (!FWidget)
        return InvalidateWindowless();
    // A child widget that is not hidden shows with its parent's widget:
    // showing it now would polish and lay it out once more per control.
    const bool ShownWithParent = !FWidget->isWindow() && !FWidget->isHidden() &&
                                 FWidget->parentWidget() && !FWidget->parentWidget()->isVisible();
    if (FVisible && ShownWithParent)
        return;
    FWidget->setVisible(FVisible);
}

void TControl::ApplyText() {}

// --- TWinControl -------------------------------------------------------------

ORLO_PUBLISHED(TWinControl, "Controls") {}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    ReleaseWidget();
    // The children stay with their owner; they only lose their parent.
    for (TControl* Child : FControls)
        Child->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
}

TControl* TWinControl::Controls(Integer Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FControls[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
    if (AControl->FParent)
        AControl->FParent->RemoveControl(AControl);
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (auto* Windowed = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(Windowed);
        if (Windowed->FPendingTabOrder >= 0) {
            Integer Order = Windowed->FPendingTabOrder;
            Windowed->FPendingTabOrder = -1;
            Windowed->SetTabOrder(Order);
        }
    }
    AControl->ChangeNotify();
    AControl->UpdateAnchorRules();
    if (FWidget) {
        AControl->AllocateWidget();
        UpdateTabOrder();
    }
    Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto Found = std::find(FControls.begin(), FControls.end(), AControl);
    if (Found == FControls.end())
        return;
    AControl->ReleaseWidget();
    AControl->InvalidateWindowless();
    FControls.erase(Found);
    std::erase(FTabList, AControl);
    AControl->FParent = nullptr;
    if (!ComponentState().Contains(csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* C = Control; C; C = C->Parent())
        if (C == this)
            return true;
    return false;
}

Integer TWinControl::TabOrder() const {
    if (!Parent())
        return FPendingTabOrder;
    const auto& List = Parent()->FTabList;
    return static_cast<Integer>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
    if (!Parent()) {
        FPendingTabOrder = Value;
        return;
    }
    auto& List = Parent()->FTabList;
    std::erase(List, this);
    const auto Position = static_cast<size_t>(std::clamp<Integer>(
        Value < 0 ? Integer(List.size()) : Value, 0, static_cast<Integer>(List.size())));
    List.insert(List.begin() + static_cast<std::ptrdiff_t>(Position), this);
    Parent()->UpdateTabOrder();
}

void TWinControl::SetTabStop(bool Value) {
    FTabStop = Value;
    if (FWidget && TakesFocus())
        FWidget->setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
}

std::vector<TWinControl*> TWinControl::TabList() const {
    return FTabList;
}

namespace {

void CollectTabOrder(const TWinControl* Container, std::vector<TWinControl*>& Out) {
    for (TWinControl* Child : Container->TabList()) {
        Out.push_back(Child);
        CollectTabOrder(Child, Out);
    }
}

} // namespace

void TWinControl::UpdateTabOrder() {
    // Qt keeps one focus chain per window, and Tab follows it: the chain runs
    // through the whole window in tab order, each container's children in its
    // place, not only through the siblings here.
    const TWinControl* Root = this;
    while (Root->Parent())
        Root = Root->Parent();
    std::vector<TWinControl*> Order;
    CollectTabOrder(Root, Order);
    QWidget* Previous = nullptr;
    for (TWinControl* Control : Order) {
        if (!Control->FWidget)
            continue;
        if (Previous)
            QWidget::setTabOrder(Previous, Control->FWidget);
        Previous = Control->FWidget;
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* Current, bool GoForward,
                                          bool CheckTabStop) const {
    std::vector<TWinControl*> Order;
    CollectTabOrder(this, Order);
    if (Order.empty())
        return nullptr;
    if (!GoForward)
        std::reverse(Order.begin(), Order.end());
    auto Start = std::find(Order.begin(), Order.end(), Current);
    const size_t First = Start == Order.end() ? 0 : (Start - Order.begin() + 1) % Order.size();
    for (size_t Step = 0; Step < Order.size(); ++Step) {
        TWinControl* Candidate = Order[(First + Step) % Order.size()];
        if (Candidate != Current && Candidate->TakesFocus() && Candidate->CanFocus() &&
            (!CheckTabStop || Candidate->TabStop()))
            return Candidate;
    }
    return nullptr;
}

bool TWinControl::CanFocus() const {
    if (!GetParentForm())
        return false;
    return IsShowing() && IsEffectivelyEnabled();
}

bool TWinControl::Focused() const {
    TCustomForm* Form = GetParentForm();
    return Form && Form->Active() && Form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* Form = GetParentForm();
    if (!Form || !CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Form->FocusControl(this);
}

QWidget* TWinControl::Handle() {
    HandleNeeded();
    return FWidget;
}

void TWinControl::HandleNeeded() {
    if (FWidget)
        return;
    if (Parent()) {
        Parent()->HandleNeeded();
        return;
    }
    if (!dynamic_cast<TCustomForm*>(this))
        throw EInvalidOperation(Format("Control '%s' has no parent window", Name()));
    CreateWnd();
}

void TWinControl::CreateWnd() {
    TControl::AllocateWidget();
    for (TControl* Child : FControls)
        Child->AllocateWidget();
    UpdateTabOrder();
}

void TWinControl::DestroyWnd() {
    ReleaseWidget();
}

void TWinControl::AllocateWidget() {
    if (!FWidget)
        CreateWnd();
}

void TWinControl::ReleaseWidget() {
    for (TControl* Child : FControls)
        Child->ReleaseWidget();
    TControl::ReleaseWidget();
}

void TWinControl::InitWidget() {
    TControl::InitWidget();
    if (TakesFocus())
        FWidget->setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FAlignPending)
        Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying)) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    auto Aligning = CountForScope(FAlignLevel); // children resized below do not ask again
    AlignControls();
}

void TWinControl::AlignControls() {
    for (TControl* Child : FControls)
        if (Child->FAnchors.Contains(akRight) || Child->FAnchors.Contains(akBottom))
            Child->ApplyAnchors();
    TRect R = AlignRect();
    auto Aligned = [this](TAlign Kind, auto Before) {
        std::vector<TControl*> List;
        for (TControl* Child : FControls)
            if (Child->Align() == Kind && Child->Visible())
                List.push_back(Child);
        std::stable_sort(List.begin(), List.end(), Before);
        return List;
    };
    for (TControl* C : Aligned(alTop, [](TControl*A, TControl*B) { return A->Top() < B->Top(); })) {
        C->SetBounds(R.Left, R.Top, R.Width(), C->Height());
        R.Top += C->Height();
    }
    for (TControl* C :
         Aligned(alBottom, [](TControl*A, TControl*B) { return A->Top() > B->Top(); })) {
        C->SetBounds(R.Left, R.Bottom - C->Height(), R.Width(), C->Height());
        R.Bottom -= C->Height();
    }
    for (TControl* C :
         Aligned(alLeft, [](TControl*A, TControl*B) { return A->Left() < B->Left(); })) {
        C->SetBounds(R.Left, R.Top, C->Width(), std::max(0, R.Height()));
        R.Left += C->Width();
    }
    for (TControl* C :
         Aligned(alRight, [](TControl*A, TControl*B) { return A->Left() > B->Left(); })) {
        C->SetBounds(R.Right - C->Width(), R.Top, C->Width(), std::max(0, R.Height()));
        R.Right -= C->Width();
    }
    for (TControl* C : Aligned(alClient, [](TControl*, TControl*) { return false; }))
        C->SetBounds(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height()));
}

void TWinControl::Resize() {
    TControl::Resize();
    Realign();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (TControl* Child : FControls)
        if (Child->Owner() == Root)
            Proc(Child);
}

void TWinControl::SetChildOrder(TComponent* Child, Integer Order) {
    auto Found = std::find(FControls.begin(), FControls.end(), Child);
    if (Found == FControls.end())
        return;
    TControl* Control = *Found;
    FControls.erase(Found);
    const auto Position =
        static_cast<size_t>(std::clamp<Integer>(Order, 0, static_cast<Integer>(FControls.size())));
    FControls.insert(FControls.begin() + static_cast<std::ptrdiff_t>(Position), Control);
}

void TWinControl::ReapplyChildGeometry() {
    for (TControl* Child : FControls)
        Child->ApplyGeometry();
}

bool TWinControl::HandleDialogKey(Word Key) {
    for (TControl* Child : FControls)
        if (Child->HandleDialogKey(Key))
            return true;
    return false;
}

bool TWinControl::HandleAccelerator(Word Key) {
    for (TControl* Child : FControls)
        if (Child->Visible() && Child->Enabled() && Child->HandleAccelerator(Key))
            return true;
    return false;
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

bool TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    return Key == 0;
}

bool TWinControl::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
    return Key == 0;
}

bool TWinControl::PopupMenuKey(Word Key, TShiftState Shift) {
    if (Key != VK_F10 || Shift != TShiftState{ssShift} || !FWidget)
        return false;
    return ShowPopupMenu(FWidget->mapToGlobal(FWidget->rect().center()));
}

bool TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
    return Key == 0;
}

void TWinControl::MoveWindowless(TControl* Child, std::vector<TControl*>::iterator Place) {
    auto Found = std::find(FControls.begin(), FControls.end(), Child);
    if (Found == FControls.end())
        return;
    if (Place == FControls.end())
        std::rotate(Found, Found + 1, FControls.end());
    else
        std::rotate(Place, Found, Found + 1);
    Child->Invalidate();
}

QRect TWinControl::WindowlessArea(const TControl* Child) const {
    const TPoint Origin = WidgetClientOrigin();
    return QRect(Child->Left() + Origin.X, Child->Top() + Origin.Y, Child->Width(),
                 Child->Height());
}

TControl* TWinControl::WindowlessChildAt(const QPoint& At, bool AllowDisabled) const {
    for (auto Child = FControls.rbegin(); Child != FControls.rend(); ++Child)
        if ((*Child)->Windowless() && (*Child)->Visible() &&
            (AllowDisabled || (*Child)->Enabled()) && WindowlessArea(*Child).contains(At))
            return *Child;
    return nullptr;
}

void TWinControl::PaintWindowless(QPaintEvent* Event) {
    const QRect Area = Event->rect();
    QPainter Painter(FWidget);
    for (TControl* Child : FControls) {
        auto* Graphic = Child->Windowless() ? dynamic_cast<TGraphicControl*>(Child) : nullptr;
        if (!Graphic || !Graphic->Visible())
            continue;
        const QRect Bounds = WindowlessArea(Graphic);
        if (!Bounds.intersects(Area))
            continue;
        Painter.save();
        Painter.translate(Bounds.topLeft());
        Graphic->Canvas()->SetHandle(&Painter);
        TScopeGuard Unbind([Graphic, &Painter] {
            Graphic->Canvas()->SetHandle(nullptr);
            Painter.restore();
        });
        Graphic->Paint(Painter);
    }
}

bool TWinControl::WindowlessChildrenEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::Paint:
        if (std::none_of(FControls.begin(), FControls.end(),
                         [](TControl* C) { return C->Windowless() && C->Visible(); }))
            return false;
        // The children paint over what the widget paints of itself.
        WidgetOwnEvent(FWidget, Event);
        PaintWindowless(static_cast<QPaintEvent*>(Event));
        return true;
    case QEvent::MouseButtonPress:
        FPressPoint = static_cast<QMouseEvent*>(Event)->position().toPoint();
        return false;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* Mouse = static_cast<QMouseEvent*>(Event);
        const QPoint At = Mouse->position().toPoint();
        TControl* Child = WindowlessChildAt(At);
        if (Event->type() == QEvent::MouseButtonDblClick) {
            FPressPoint = {-1, -1}; // the release that follows is no click
            if (Child && Child->OnDblClick)
                Child->OnDblClick(Child);
            return Child != nullptr;
        }
        // The control the button went down on has the release, as if it had
        // captured the mouse; it is a click when the release is over it too.
        TControl* Pressed = WindowlessChildAt(FPressPoint);
        if (!Pressed && !Child)
            return false;
        if (Pressed == Child && Mouse->button() == Qt::LeftButton && Child->ClicksOnRelease())
            Child->Click(); // may free this control: nothing of it is used after
        return true;
    }
    case QEvent::ContextMenu: {
        // The child's menu, or its parents' with the child as the menu's component.
        auto* Menu = static_cast<QContextMenuEvent*>(Event);
        TControl* Child = WindowlessChildAt(Menu->pos());
        return Child && Child->ShowPopupMenu(Menu->globalPos());
    }
    case QEvent::ToolTip: {
        auto* Help = static_cast<QHelpEvent*>(Event);
        // A disabled control shows its hint too.
        TControl* Child = WindowlessChildAt(Help->pos(), true);
        if (!Child)
            return false;
        const String Tip = Child->ToolTip();
        if (Tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(Help->globalPos(), ToQString(Tip), FWidget, WindowlessArea(Child));
        return true;
    }
    default:
        return false;
    }
}

bool TWinControl::WidgetEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::FocusIn:
        TakenKey = {};
        if (TCustomForm* Form = GetParentForm(); Form && Form != this)
            Form->FocusEntered(this);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (TakenKey.PassesOn(Event, FWidget))
            return false;
        TakenKey = {Event, Event->type(), FWidget};
        TCustomForm* Form = GetParentForm();
        if (!Form)
            return false;
        auto* Key = static_cast<QKeyEvent*>(Event);
        if (Event->type() == QEvent::KeyPress)
            return WidgetKeyPress(Form, Key);
        // A held key repeats its presses only: the release comes once, at the end.
        return !Key->isAutoRepeat() && Form->HandleKeyUp(this, VirtualKeyOf(Key), ShiftOf(Key));
    }
    default:
        return TControl::WidgetEvent(Event);
    }
}

bool TWinControl::WidgetKeyPress(TCustomForm* Form, QKeyEvent* Key) {
    const char Typed = KeyCharOf(Key);
    char Char = Typed;
    const QPointer<QWidget> Widget = FWidget;
    if (Form->HandleKey(this, VirtualKeyOf(Key), ShiftOf(Key), Char))
        return true; // a handler may have freed this control
    if (Char == Typed || !Widget || TControl::FromWidget(Widget) != this)
        return false;
    // A handler changed the character: the widget types that one instead.
    const unsigned char Code = static_cast<unsigned char>(Char);
    const int QtKey = Code >= 'a' && Code <= 'z' ? Code - 'a' + Qt::Key_A : Code;
    QKeyEvent Changed(QEvent::KeyPress, QtKey, Key->modifiers(), QString(QChar(Code)),
                      Key->isAutoRepeat(), Key->count());
    WidgetOwnEvent(Widget, &Changed);
    return true;
}

// --- TGraphicControl, TCustomControl -----------------------------------------

ORLO_PUBLISHED(TGraphicControl, "Controls") {}
ORLO_PUBLISHED(TCustomControl, "Controls") {}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->SetFont(Font());
}

TGraphicControl::~TGraphicControl() {
    InvalidateWindowless();
}

void TGraphicControl::Paint(QPainter&) {}

void TGraphicControl::FontChanged() {
    TControl::FontChanged();
    FCanvas->SetFont(Font());
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->SetFont(Font());
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::FontChanged() {
    TWinControl::FontChanged();
    FCanvas->SetFont(Font());
}

} // namespace orlo
