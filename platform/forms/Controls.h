#pragma once
// The control tree: TControl (position, alignment, caption, font, colour,
// hint, enabled and visible state), TWinControl (children, tab order, focus,
// the window handle) and TGraphicControl/TCustomControl.
//
// A control keeps its state in its own fields. Its Qt widget is its window
// handle: created on demand (HandleNeeded -> CreateWnd, which creates the
// handles of the children too), destroyed by DestroyWnd or with the control.
// Qt parents mirror the Parent property; the component model owns everything.

#include "platform/classes/AppHooks.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/QtSupport.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <memory>
#include <vector>

class QWidget;
class QEvent;
class QPainter;
class QPaintEvent;
class QKeyEvent;

namespace orlo {

class TWinControl;
class TCustomForm;
class TWidgetBridge;
class TPopupMenu;

ORLO_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
ORLO_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
ORLO_SET(TAnchors, TAnchorKind)
ORLO_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
ORLO_SET(TShiftState, TShiftStateItem)
ORLO_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents,
          csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight,
          csNoDesignVisible, csReplicatable, csNoStdEvents)
ORLO_SET(TControlStyle, TControlStyleItem)
ORLO_ENUM(TDragMode, dmManual, dmAutomatic)
ORLO_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
          imKata, imChinese, imSHanguel, imHanguel)

ORLO_EVENT(TKeyEvent, void(TObject* Sender, Word& Key, TShiftState Shift))
ORLO_EVENT(TKeyPressEvent, void(TObject* Sender, char& Key))

// What a modal form answers; ShowModal returns it.
using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// Mouse cursors; the form files name them ("crHourGlass").
using TCursor = Integer;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
const TTypeInfo* TCursorTypeInfo();
// The Qt cursor shape of a cursor (crDefault gives the arrow).
Integer CursorShape(TCursor Cursor);

// Key codes that forms react to.
constexpr Word VK_BACK = 8;
constexpr Word VK_TAB = 9;
constexpr Word VK_RETURN = 13;
constexpr Word VK_ESCAPE = 27;
constexpr Word VK_PRIOR = 33;
constexpr Word VK_NEXT = 34;
constexpr Word VK_END = 35;
constexpr Word VK_HOME = 36;
constexpr Word VK_LEFT = 37;
constexpr Word VK_UP = 38;
constexpr Word VK_RIGHT = 39;
constexpr Word VK_DOWN = 40;
constexpr Word VK_INSERT = 45;
constexpr Word VK_DELETE = 46;
constexpr Word VK_F1 = 112;
constexpr Word VK_F2 = 113;
constexpr Word VK_F10 = 121;

// The key code, shift state and typed character (ASCII, else '\0') of a Qt key event.
Word VirtualKeyOf(const QKeyEvent* Event);
TShiftState ShiftOf(const QKeyEvent* Event);
char KeyCharOf(const QKeyEvent* Event);
// Runs the widget's own handling of Event, as if no filter were installed.
bool WidgetOwnEvent(QWidget* Widget, QEvent* Event);
// The character a key gives (letters, digits, blank, Enter, Escape,
// Backspace, Tab), '\0' for the others.
char CharOfKey(Word Key, TShiftState Shift);

const TTypeInfo* TCaptionTypeInfo();
const TTypeInfo* TTabOrderTypeInfo(); // -1..32767

class TControl : public TComponent {
    ORLO_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // --- Tree
    TWinControl* Parent() const noexcept { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // The form this control sits on (nil when none).
    TCustomForm* GetParentForm() const;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    // --- Position and size, relative to the parent's client area
    Integer Left() const noexcept { return FLeft; }
    Integer Top() const noexcept { return FTop; }
    Integer Width() const noexcept { return FWidth; }
    Integer Height() const noexcept { return FHeight; }
    void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual Integer ClientWidth() const { return FWidth; }
    virtual Integer ClientHeight() const { return FHeight; }
    void SetClientWidth(Integer Value);
    void SetClientHeight(Integer Value);
    TRect ClientRect() const { return TRect{0, 0, ClientWidth(), ClientHeight()}; }

    TAlign Align() const noexcept { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const noexcept { return FAnchors; }
    void SetAnchors(TAnchors Value) {
        FAnchors = Value;
        UpdateAnchorRules();
    }

    // --- State
    bool Visible() const noexcept { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const noexcept { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible and enabled, and so are all parents.
    bool IsShowing() const;
    bool IsEffectivelyEnabled() const;

    // The control's text: its Caption or its Text, as the class publishes it.
    const String& Caption() const noexcept { return FText; }
    void SetCaption(const String& Value) { SetText(Value); }
    virtual String Text() const { return FText; }
    virtual void SetText(const String& Value);

    const String& Hint() const noexcept { return FHint; }
    void SetHint(const String& Value);
    bool ShowHint() const noexcept { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const noexcept { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    // The tool tip shown: the short part of Hint while hints are shown, else "".
    String ToolTip() const;

    TFont* Font() const noexcept { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const noexcept { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const noexcept { return FParentColor; }
    void SetParentColor(bool Value);
    TCursor Cursor() const noexcept { return FCursor; }
    void SetCursor(TCursor Value);
    Integer HelpContext() const noexcept { return FHelpContext; }
    void SetHelpContext(Integer Value) { FHelpContext = Value; }
    TControlStyle ControlStyle() const noexcept { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    // The context menu: shown on the widget's context-menu request (when its
    // AutoPopup is set); its shortcuts work while the control has the focus.
    TPopupMenu* PopupMenu() const noexcept { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    // Properties kept for the form files only; nothing acts on them.
    TDragMode DragMode = dmManual;
    TCursor DragCursor = crDrag;
    bool Ctl3D = true;
    bool ParentCtl3D = true;

    // Whether the form files store the font, colour and hint setting (not
    // when they come from the parent).
    bool IsFontStored() const { return !FParentFont; }
    bool IsColorStored() const { return !FParentColor; }
    bool IsShowHintStored() const { return !FParentShowHint; }

    // Runs the click action and OnClick (what a mouse click does).
    virtual void Click();
    // Enter or Escape pressed in the form; a default or cancel button takes
    // it and answers true. Containers offer it to their children.
    virtual bool HandleDialogKey(Word Key) { return false; }
    // A letter or digit typed with Alt that no window-system shortcut took:
    // the control whose caption marks it as its accelerator acts and answers
    // true. Containers offer it to their children.
    virtual bool HandleAccelerator(Word Key) { return false; }
    void BringToFront();
    void SendToBack();
    void Invalidate();
    void Repaint();
    // Whether the control has no widget of its own and is painted by its
    // parent's widget (graphic controls).
    virtual bool Windowless() const { return false; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // --- Window handle (the Qt widget); nil until created
    QWidget* Widget() const noexcept { return FWidget; }
    // The control of a widget this layer created; nil for other widgets.
    static TControl* FromWidget(const QWidget* Widget);

    // Receives what Qt reports for the widget (see TWidgetBridge); true eats the event.
    virtual bool WidgetEvent(QEvent* Event);
    // Shows the pop-up menu of this control (or of the nearest parent with
    // one) at the screen point; false when none pops up.
    bool ShowPopupMenu(const QPoint& At);

protected:
    // Notifications after a change (the form files' CM_ messages).
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    // Called after the bounds changed (OnResize of forms and panels).
    virtual void Resize();

    // Creates this control's widget as a child of ParentWidget (nil: a window).
    virtual QWidget* CreateWidget(QWidget* ParentWidget);
    // Pushes every field into the fresh widget; descendants add theirs.
    virtual void InitWidget();
    // Creates and destroys the widget (and, for containers, the children's).
    virtual void AllocateWidget();
    virtual void ReleaseWidget();
    virtual void ApplyGeometry();
    void ApplyFont();
    // Whether the widget may keep what it inherits from the parent's widget.
    bool InheritsLook(bool FromParent) const;
    void ApplyColor();
    void ApplyToolTip();
    void ApplyEnabled();
    virtual void ApplyVisible();
    virtual void ApplyText();
    // The palette role the colour paints; the window background by default.
    virtual Integer BackgroundRole() const;
    // Whether the widget takes the keyboard focus (by click, and by Tab when TabStop).
    virtual bool TakesFocus() const { return false; }
    // Whether a left-button release on the widget is a click (controls without
    // a click signal of their own).
    virtual bool ClicksOnRelease() const { return false; }
    // Connects a Qt signal of the widget to Slot; the call is a guarded dispatch.
    template <class W, class Signal, class Slot> void Listen(W* Widget, Signal S, Slot Fn);
    // Runs Body as a handler of something Qt reported: exceptions go to the
    // application's handler, and widgets freed meanwhile are deleted later.
    template <class Body> void Dispatch(Body&& Fn);

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The parent's font, colour or hint setting changed.
    void ChangeNotify();
    // Asks the parent's widget to repaint the area of a windowless control.
    void InvalidateWindowless() const;

    QWidget* FWidget = nullptr;
    std::unique_ptr<TWidgetBridge> FBridge;
    String FText;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    bool FParentFont = true;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};

private:
    friend class TWinControl;
    void FontObjectChanged(TObject* Sender);
    // Anchors keep the distances to the parent's edges that the bounds had
    // when they were last set: the rules are the bounds and the parent's size then.
    void UpdateAnchorRules();
    void ApplyAnchors();

    TWinControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TRect FAnchorBase;
    TPoint FAnchorParentSize{-1, -1};
    bool FAnchoring = false;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    Integer FHelpContext = 0;
    TPopupMenu* FPopupMenu = nullptr;
    bool FTakingParentFont = false;
    bool FClickPending = false; // the left button went down on the widget
    std::unique_ptr<TFont> FFont;
};

// Tells whether a control is still there after handlers ran that may have
// freed it: const TControlWatch Watch(Control); ...; if (Watch.Gone()) ...
class TControlWatch {
public:
    explicit TControlWatch(const TControl* Control);
    ~TControlWatch();
    TControlWatch(const TControlWatch&) = delete;
    TControlWatch& operator=(const TControlWatch&) = delete;

    bool Gone() const noexcept { return FControl == nullptr; }

private:
    friend class TControl;
    const TControl* FControl;
};

class TWinControl : public TControl {
    ORLO_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // --- Children, in the order they were added (streamed in that order)
    Integer ControlCount() const noexcept { return static_cast<Integer>(FControls.size()); }
    TControl* Controls(Integer Index) const; // EListError "List index out of bounds (%d)"
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const; // Control is this one or below it

    // --- Tab order among the windowed siblings
    Integer TabOrder() const;
    void SetTabOrder(Integer Value);
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool Value);
    // The windowed children in tab order.
    std::vector<TWinControl*> TabList() const;
    // The next (or previous) control below this one that takes the focus by Tab.
    TWinControl* FindNextControl(TWinControl* Current, bool GoForward, bool CheckTabStop) const;

    // --- Focus
    virtual bool CanFocus() const;
    bool Focused() const;
    // EInvalidOperation "Cannot focus a disabled or invisible window".
    virtual void SetFocus();

    // Where the client area starts inside the widget (below a form's menu bar).
    virtual TPoint WidgetClientOrigin() const { return TPoint{0, 0}; }

    // --- Window handle
    QWidget* Handle(); // creates it when needed
    bool HandleAllocated() const noexcept { return FWidget != nullptr; }
    // EInvalidOperation "Control '%s' has no parent window" for a control
    // that is neither a form nor placed on one.
    void HandleNeeded();
    virtual void CreateWnd();
    virtual void DestroyWnd();

    // --- Alignment
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();

    // --- Streaming
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, Integer Order) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    bool WidgetEvent(QEvent* Event) override;
    // Paints, clicks, pop-up menus and hints for the windowless children; true eats the event.
    bool WindowlessChildrenEvent(QEvent* Event);
    bool HandleDialogKey(Word Key) override;
    bool HandleAccelerator(Word Key) override;

protected:
    void AllocateWidget() override;
    void ReleaseWidget() override;
    void InitWidget() override;
    void Resize() override;
    void Loaded() override;
    bool TakesFocus() const override { return true; }
    // Whether the control handles Key itself (a memo wants Enter); otherwise
    // Enter and Escape go to the form's default and cancel buttons.
    virtual bool WantsKey(Word Key) const { return false; }
    // The area the aligned children share (the client rectangle by default).
    virtual TRect AlignRect() const { return ClientRect(); }
    virtual void AlignControls();
    // Called by the focus when it enters or leaves this control.
    virtual void DoEnter();
    virtual void DoExit();
    // Key handling; descendants decide what they want first.
    virtual bool KeyDown(Word& Key, TShiftState Shift);
    virtual bool KeyPress(char& Key);
    // Shift+F10 shows the pop-up menu, as the menu key does (that one the
    // platform turns into a context menu event itself); true when one popped
    // up, and its OnPopup may have freed this control.
    bool PopupMenuKey(Word Key, TShiftState Shift);
    virtual bool KeyUp(Word& Key, TShiftState Shift);
    // A key press from the window system, through the form's key handling.
    bool WidgetKeyPress(TCustomForm* Form, QKeyEvent* Key);
    void UpdateTabOrder();
    // Places the children's widgets again (the client origin moved).
    void ReapplyChildGeometry();
    friend class TCustomForm;
    // Where a windowless child lies in this control's widget.
    QRect WindowlessArea(const TControl* Child) const;
    // The topmost visible windowless child at a point of the widget; a
    // disabled one takes no clicks: its parent has them.
    TControl* WindowlessChildAt(const QPoint& At, bool AllowDisabled = false) const;
    // Moves a windowless child before Place in the paint order (the end: on top).
    void MoveWindowless(TControl* Child, std::vector<TControl*>::iterator Place);
    void PaintWindowless(QPaintEvent* Event);

private:
    friend class TControl;
    Integer TabOrderField() const { return TabOrder(); }
    bool IsTabOrderStored() const { return true; }

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    Integer FAlignLevel = 0;
    bool FAlignPending = false;
    Integer FPendingTabOrder = -1; // read before the parent was known
    QPoint FPressPoint{-1, -1};    // where the left button went down, for windowless clicks
};

// A control without a window of its own: its parent's widget paints it
// (Paint), routes its clicks and shows its hint, so a form of many labels
// costs no widget per label. A descendant that overrides CreateWidget and
// Windowless keeps a widget instead (images).
class TGraphicControl : public TControl {
    ORLO_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }
    bool Windowless() const override { return true; }

protected:
    friend class TWinControl;
    // Draws the control with Painter's origin at its top left corner; the
    // painter has the parent widget's font, pen and palette, and Canvas
    // draws through it meanwhile.
    virtual void Paint(QPainter& Painter);
    void FontChanged() override;
    bool ClicksOnRelease() const override { return true; }

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// A windowed control that measures text with its own canvas (panels, forms).
class TCustomControl : public TWinControl {
    ORLO_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }

protected:
    void FontChanged() override;
    bool ClicksOnRelease() const override { return true; }
    bool TakesFocus() const override { return false; }

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// The part of a hint before "|" (all of it without one), and the part after.
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

// Receives the events and signals of one control's widget. Detached (and
// the control forgotten) before the control goes, so a widget that outlives
// its control for a moment never calls into freed memory.
class TWidgetBridge {
public:
    explicit TWidgetBridge(TControl* Control);
    ~TWidgetBridge();
    TControl* Control() const noexcept { return FControl; }
    // The context of the widget's signal connections (shared by all bridges).
    QObject* Receiver() const noexcept;
    void Attach(QWidget* Widget);
    void Detach();

private:
    TControl* FControl;
    QWidget* FWidget = nullptr; // attached to; alive until Detach
};

// Registration of the properties and events that most control classes
// publish, one helper each, so every class lists them in its own order.
namespace publish {

template <class C> void Align(TPublisher<C>& P) {
    P.Property("Align", &C::Align, &C::SetAlign).Default(alNone);
}
template <class C> void Anchors(TPublisher<C>& P) {
    P.Property("Anchors", &C::Anchors, &C::SetAnchors).Default(TAnchors{akLeft, akTop}.Bits());
}
template <class C> void Caption(TPublisher<C>& P) {
    P.Property("Caption", &C::Caption, &C::SetCaption).Type(TCaptionTypeInfo());
}
template <class C> void Color(TPublisher<C>& P) {
    P.Property("Color", &C::Color, &C::SetColor)
        .Type(TColorTypeInfo())
        .Default(clWindow)
        .Stored(&C::IsColorStored);
}
template <class C> void Ctl3D(TPublisher<C>& P) {
    P.Property("Ctl3D", &C::Ctl3D).Default(1);
}
template <class C> void DragCursor(TPublisher<C>& P) {
    P.Property("DragCursor", &C::DragCursor).Type(TCursorTypeInfo()).Default(crDrag);
}
template <class C> void DragMode(TPublisher<C>& P) {
    P.Property("DragMode", &C::DragMode).Default(dmManual);
}
template <class C> void Enabled(TPublisher<C>& P) {
    P.Property("Enabled", &C::Enabled, &C::SetEnabled).Default(1);
}
template <class C> void Font(TPublisher<C>& P) {
    P.Property("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored);
}
template <class C> void ParentColor(TPublisher<C>& P, bool Default) {
    P.Property("ParentColor", &C::ParentColor, &C::SetParentColor).Default(Default);
}
template <class C> void ParentCtl3D(TPublisher<C>& P) {
    P.Property("ParentCtl3D", &C::ParentCtl3D).Default(1);
}
template <class C> void ParentFont(TPublisher<C>& P) {
    P.Property("ParentFont", &C::ParentFont, &C::SetParentFont).Default(1);
}
template <class C> void ParentShowHint(TPublisher<C>& P) {
    P.Property("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint).Default(1);
}

// Publishing PopupMenu needs the complete TPopupMenu: include Menus.h.
template <class C> void PopupMenu(TPublisher<C>& P) {
    P.Property("PopupMenu", &C::PopupMenu, &C::SetPopupMenu);
}
template <class C> void ShowHint(TPublisher<C>& P) {
    P.Property("ShowHint", &C::ShowHint, &C::SetShowHint).Stored(&C::IsShowHintStored);
}
template <class C> void TabOrder(TPublisher<C>& P) {
    P.Property("TabOrder", &C::TabOrder, &C::SetTabOrder).Type(TTabOrderTypeInfo());
}
template <class C> void TabStop(TPublisher<C>& P, bool Default) {
    P.Property("TabStop", &C::TabStop, &C::SetTabStop).Default(Default);
}
template <class C> void Visible(TPublisher<C>& P) {
    P.Property("Visible", &C::Visible, &C::SetVisible).Default(1);
}
// The run Color, Ctl3D, DragCursor, DragMode, Enabled, Font that most
// classes publish in a row, and the run ParentColor ... PopupMenu.
template <class C> void Appearance(TPublisher<C>& P) {
    Color(P);
    Ctl3D(P);
    DragCursor(P);
    DragMode(P);
    Enabled(P);
    Font(P);
}
template <class C> void Parents(TPublisher<C>& P, bool ParentColorDefault) {
    ParentColor(P, ParentColorDefault);
    ParentCtl3D(P);
    ParentFont(P);
    ParentShowHint(P);
    PopupMenu(P);
}
// OnClick, OnDblClick and, for windowed controls, OnEnter, OnExit and the key events.
template <class C> void ClickEvents(TPublisher<C>& P) {
    P.Property("OnClick", &C::OnClick);
    P.Property("OnDblClick", &C::OnDblClick);
}
template <class C> void FocusEvents(TPublisher<C>& P) {
    P.Property("OnEnter", &C::OnEnter);
    P.Property("OnExit", &C::OnExit);
}
template <class C> void KeyEvents(TPublisher<C>& P) {
    P.Property("OnKeyDown", &C::OnKeyDown);
    P.Property("OnKeyPress", &C::OnKeyPress);
    P.Property("OnKeyUp", &C::OnKeyUp);
}

} // namespace publish

template <class W, class Signal, class Slot> void TControl::Listen(W* Widget, Signal S, Slot Fn) {
    QObject::connect(Widget, S, FBridge->Receiver(),
                     [this, Fn](auto&&... Args) { Dispatch([&] { Fn(Args...); }); });
}

template <class Body> void TControl::Dispatch(Body&& Fn) {
    TQtDispatch Guard;
    GuardedCall(this, Fn);
}

} // namespace orlo
