#include "platform/forms/Forms.h"

#include "platform/classes/Filer.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Help.h"
#include "platform/forms/Menus.h"
#include "platform/forms/QtSupport.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace orlo {

// Also called by the exit handler that frees the QApplication (QtSupport.cpp).
void FreeApplicationObjects();

namespace {

// The handler of guarded calls while the application object exists: a
// program with windows shows the exception, a console program writes it.
void ApplicationExceptionHandler(TObject* Sender, const std::exception_ptr& Error) {
    if (!IsWidgetApplication() || !Application) {
        WriteExceptionToStdErr(Sender, Error);
        return;
    }
    TExceptionText Text = DescribeException(Error);
    Application->ShowException(Sender, Text.ClassName, Text.Message);
}

// The plain message box of this layer: a form with a text and an OK button.
void ShowPlainMessage(const String& Caption, const String& Text) {
    std::unique_ptr<TForm> Box = std::make_unique<TForm>(nullptr);
    Box->SetName("PlainMessageBox");
    Box->SetBorderStyle(bsDialog);
    Box->SetCaption(Caption);
    Box->SetPosition(poScreenCenter);
    auto* Message = new TLabel(Box.get());
    Message->SetName("Message");
    Message->SetParent(Box.get());
    Message->SetWordWrap(true);
    Message->SetBounds(16, 16, 320, 0);
    Message->SetCaption(Text);
    Message->AdjustBounds();
    auto* Ok = new TButton(Box.get());
    Ok->SetName("OK");
    Ok->SetParent(Box.get());
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetCancel(true);
    Ok->SetModalResult(mrOk);
    const Integer Width = std::max(Message->Width(), Ok->Width()) + 32;
    Ok->SetBounds((Width - Ok->Width()) / 2, Message->Top() + Message->Height() + 16, Ok->Width(),
                  Ok->Height());
    Box->SetClientWidth(Width);
    Box->SetClientHeight(Ok->Top() + Ok->Height() + 12);
    Box->ShowModal();
}

} // namespace

// --- TCustomForm -------------------------------------------------------------

ORLO_PUBLISHED(TCustomForm, "Forms") {
    P.Property("Width", &TCustomForm::Width, &TCustomForm::SetWidth)
        .Stored(&TCustomForm::IsFormSizeStored);
    P.Property("Height", &TCustomForm::Height, &TCustomForm::SetHeight)
        .Stored(&TCustomForm::IsFormSizeStored);
    P.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    P.Property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll).Default(1);
    P.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits());
    P.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Default(bsSizeable);
    P.Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption).Type(TCaptionTypeInfo());
    P.Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
        .Stored(&TCustomForm::IsClientSizeStored);
    P.Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
        .Stored(&TCustomForm::IsClientSizeStored);
    P.Property("Color", &TCustomForm::Color, &TCustomForm::SetColor)
        .Type(TColorTypeInfo())
        .Default(clWindow)
        .Stored(&TCustomForm::IsColorStored);
    P.Property("Ctl3D", &TCustomForm::Ctl3D).Default(1);
    P.Property("Enabled", &TCustomForm::Enabled, &TCustomForm::SetEnabled).Default(1);
    P.Property("ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont).Default(0);
    P.Property("Font", &TCustomForm::Font, &TCustomForm::SetFont)
        .Stored(&TCustomForm::IsFontStored);
    P.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    P.Property("HelpFile", &TCustomForm::HelpFile);
    P.Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon)
        .Stored(&TCustomForm::IsIconStored);
    P.Property("KeyPreview", &TCustomForm::KeyPreview).Default(0);
    P.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    P.Property("OldCreateOrder", &TCustomForm::OldCreateOrder);
    P.Property("PixelsPerInch", &TCustomForm::PixelsPerInch).Stored(false);
    P.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    P.Property("Scaled", &TCustomForm::Scaled).Default(1);
    P.Property("ShowHint", &TCustomForm::ShowHint, &TCustomForm::SetShowHint)
        .Stored(&TCustomForm::IsShowHintStored);
    P.Property("Visible", &TCustomForm::RequestedVisible, &TCustomForm::SetVisible).Default(0);
    P.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
        .Default(wsNormal);
    P.Property("OnActivate", &TCustomForm::OnActivate);
    P.Property("OnClick", &TCustomForm::OnClick);
    P.Property("OnClose", &TCustomForm::OnClose);
    P.Property("OnCloseQuery", &TCustomForm::OnCloseQuery);
    P.Property("OnCreate", &TCustomForm::OnCreate);
    P.Property("OnDblClick", &TCustomForm::OnDblClick);
    P.Property("OnDeactivate", &TCustomForm::OnDeactivate);
    P.Property("OnDestroy", &TCustomForm::OnDestroy);
    P.Property("OnHide", &TCustomForm::OnHide);
    P.Property("OnKeyDown", &TCustomForm::OnKeyDown);
    P.Property("OnKeyPress", &TCustomForm::OnKeyPress);
    P.Property("OnKeyUp", &TCustomForm::OnKeyUp);
    P.Property("OnResize", &TCustomForm::OnResize);
    P.Property("OnShow", &TCustomForm::OnShow);
}

ORLO_PUBLISHED(TForm, "Forms") {}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TCustomControl(AOwner), FIcon(std::make_unique<TIcon>()) {
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    FColor = clBtnFace;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                     csDoubleClicks};
    SetBounds(0, 0, 320, 240);
    FNormalBounds = BoundsRect();
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (FModalLoop)
        FModalLoop->quit();
    if (Screen)
        Screen->RemoveForm(this);
    ReleaseWidget();
}

bool TCustomForm::ReadsResources() const {
    return ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass();
}

void TCustomForm::InitInheritedForm() {
    if (ReadsResources() && !ComponentState().Contains(csDesigning)) {
        TSetForScope<bool> Creating(FCreating, true);
        try {
            if (!InitInheritedComponent(this, TForm::StaticClass()))
                throw EResNotFound(Format("Resource %s not found", ClassName()));
        } catch (const EReadError& E) {
            throw EReadError(Format("Form %s: %s", ClassName(), E.Message()));
        }
    }
    DoCreate();
    if (FVisibleRequested) {
        FVisibleRequested = false;
        Show();
    }
}

void TCustomForm::DoCreate() {
    GuardedCall(this, [this] {
        if (OnCreate)
            OnCreate(this);
    });
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyed)
        return;
    FDestroyed = true;
    DoDestroy();
}

void TCustomForm::DoDestroy() {
    GuardedCall(this, [this] {
        if (OnDestroy)
            OnDestroy(this);
    });
}

void TCustomForm::DoShow() {
    GuardedCall(this, [this] {
        if (OnShow)
            OnShow(this);
    });
}

void TCustomForm::DoHide() {
    GuardedCall(this, [this] {
        if (OnHide)
            OnHide(this);
    });
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Activate() {
    GuardedCall(this, [this] {
        if (OnActivate)
            OnActivate(this);
    });
}

void TCustomForm::Deactivate() {
    GuardedCall(this, [this] {
        if (OnDeactivate)
            OnDeactivate(this);
    });
}

void TCustomForm::Resize() {
    TCustomControl::Resize();
    if (ComponentState().Contains(csLoading))
        return;
    GuardedCall(this, [this] {
        if (OnResize)
            OnResize(this);
    });
}

// --- Showing and hiding

void TCustomForm::SetVisible(bool Value) {
    if (FCreating || ComponentState().Contains(csLoading)) {
        FVisibleRequested = Value;
        return;
    }
    if (FVisible == Value)
        return;
    if (Value)
        ShowWindow();
    else
        HideWindow();
}

void TCustomForm::ShowWindow() {
    HandleNeeded();
    FVisible = true;
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter)
        Centre();
    DoShow();
    if (!FVisible || !FWidget)
        return; // OnShow hid or freed the window's contents
    FWidget->setWindowModality(FModal ? Qt::ApplicationModal : Qt::NonModal);
    ApplyWindowState();
    FWidget->show();
    FWidget->activateWindow();
    Screen->SetActiveForm(this);
    if (FActive && !FActiveControl)
        SelectNext(true);
    else if (FActive && FActiveControl && FActiveControl->Widget())
        FActiveControl->Widget()->setFocus();
}

void TCustomForm::HideWindow() {
    FVisible = false;
    DoHide();
    if (FWidget)
        FWidget->hide();
    if (Screen->ActiveForm() == this) {
        // The window system need not pass the keyboard on (the offscreen one
        // and some window managers leave no window active): the window that
        // was active before takes it back, as after a modal dialog.
        TCustomForm* Previous = Screen->PreviousActiveForm(this);
        Screen->SetActiveForm(Previous);
        if (Previous && Previous->FWidget)
            Previous->FWidget->activateWindow();
    }
    std::erase(Screen->FActivation, this);
}

void TCustomForm::ApplyVisible() {
    // A window shows through ShowWindow and HideWindow only.
}

TModalResult TCustomForm::ShowModal() {
    if (FVisible || !FEnabled || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    FModal = true;
    FModalResult = mrNone;
    try {
        Show();
        if (Application->ModalRunner())
            RunModalScript();
        else
            RunModalLoop();
    } catch (...) {
        FModal = false;
        if (FVisible)
            HideWindow();
        throw;
    }
    FModal = false;
    if (FVisible)
        HideWindow();
    return FModalResult;
}

void TCustomForm::RunModalScript() {
    // Each call of the runner is one round of the user's work on the form.
    constexpr Integer MaxRounds = 100;
    for (Integer Round = 0; Round < MaxRounds; ++Round) {
        TModalRunner Runner = Application->ModalRunner(); // the runner may replace itself
        Runner(this);
        if (FModalResult == mrNone)
            continue;
        CloseModal();
        if (FModalResult != mrNone)
            return;
    }
    throw EInvalidOperation(
        Format("Modal form %s was left open", Name().empty() ? ClassName() : Name()));
}

void TCustomForm::RunModalLoop() {
    QEventLoop Loop;
    TSetForScope<QEventLoop*> Current(FModalLoop, &Loop);
    TSetForScope<bool> Running(FModalLoopRunning, true);
    for (;;) {
        if (FModalResult == mrNone && !Application->Terminated())
            Loop.exec();
        if (Application->Terminated() && FModalResult == mrNone)
            FModalResult = mrCancel;
        if (FModalResult == mrNone)
            continue;
        CloseModal();
        if (FModalResult != mrNone || Application->Terminated())
            break;
    }
    if (QThread::currentThread()->loopLevel() == 0)
        ReleaseAtExitBeforeQtStatics(); // a program of dialogs, without Run
}

void TCustomForm::CloseModal() {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
        Action = caHide;
        DoClose(Action);
    }
    if (Action == caNone)
        FModalResult = mrNone;
    else if (Action == caFree)
        Release();
}

void TCustomForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (FModalLoop && Value != mrNone)
        FModalLoop->quit();
}

bool TCustomForm::CloseQuery() {
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = FFormStyle == fsMDIChild ? caMinimize : caHide;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    switch (Action) {
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Hide();
        Release();
        break;
    default:
        Hide();
        break;
    }
}

void TCustomForm::Release() {
    Application->ScheduleRelease(this);
}

void TCustomForm::SystemClose() {
    if (FCloseEnabled)
        Close();
}

void TCustomForm::SetCloseEnabled(bool Value) {
    FCloseEnabled = Value;
    ApplyWindowFlags();
}

// --- Activation and focus

void TCustomForm::SetActive(bool Value) {
    if (FActive == Value)
        return;
    FActive = Value;
    if (Value)
        Activate();
    else
        Deactivate();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl)
        return;
    if (Control && !ComponentState().Contains(csLoading) && FVisible &&
        (!ContainsControl(Control) || !Control->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (FActive && !ComponentState().Contains(csLoading))
        FocusControl(Control);
    else
        FActiveControl = Control;
}

void TCustomForm::FocusControl(TWinControl* Control) {
    FocusEntered(Control);
    if (Control && Control->Widget() && FActive)
        Control->Widget()->setFocus();
}

void TCustomForm::FocusEntered(TWinControl* Control) {
    if (Control == FActiveControl)
        return;
    TWinControl* Old = FActiveControl;
    FActiveControl = Control;
    if (!FActive)
        return;
    if (Old)
        GuardedCall(Old, [Old] { Old->DoExit(); });
    // The exit handler may have moved the focus on or freed the control.
    if (Control && FActiveControl == Control)
        GuardedCall(Control, [Control] { Control->DoEnter(); });
}

void TCustomForm::SetFocus() {
    if (!FVisible || !FEnabled)
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Screen->SetActiveForm(this);
    if (FWidget)
        FWidget->activateWindow();
}

void TCustomForm::SelectNext(bool GoForward) {
    if (TWinControl* Next = FindNextControl(FActiveControl, GoForward, true))
        FocusControl(Next);
}

void TCustomForm::ControlGone(TControl* Control) {
    auto* Container = dynamic_cast<TWinControl*>(Control);
    if (FActiveControl &&
        (FActiveControl == Control || (Container && Container->ContainsControl(FActiveControl))))
        FActiveControl = nullptr;
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr; // going: its bar goes without asking it anything
        MenuChanged();
    }
}

// --- Menu bar

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (FMenu == Value)
        return;
    const Integer KeptClientHeight = ClientHeight();
    if (FMenu) {
        FMenu->DetachBar();
        RemoveFreeNotification(FMenu);
    }
    FMenu = Value;
    if (FMenu)
        FreeNotification(FMenu);
    if (ComponentState().Contains(csLoading) && IsClientSizeStored())
        SetClientHeight(KeptClientHeight);
    MenuChanged();
}

Integer TCustomForm::MenuHeight() const {
    return FMenu ? MenuBarHeight() : 0;
}

TPoint TCustomForm::WidgetClientOrigin() const {
    return TPoint{0, MenuHeight()};
}

void TCustomForm::MenuChanged() {
    if (!FWidget)
        return;
    if (!FMenu) {
        DisposeWidget(std::exchange(FMenuBar, nullptr));
    } else {
        if (!FMenuBar) {
            FMenuBar = new QMenuBar(FWidget);
            FMenuBar->setNativeMenuBar(false);
            FMenuBar->show();
        }
        FMenu->AttachBar(FMenuBar);
    }
    ApplyGeometry();
    ReapplyChildGeometry();
}

void TCustomForm::ApplyMenuBar() {
    if (FMenuBar)
        FMenuBar->setGeometry(0, 0, ClientWidth(), MenuHeight());
}

// --- Keys

bool TCustomForm::DialogKey(Word Key) {
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return false;
    if (FActiveControl && FActiveControl->HandleDialogKey(Key))
        return true;
    return HandleDialogKey(Key);
}

bool TCustomForm::IsShortCut(Word Key, TShiftState Shift) {
    return FMenu && FMenu->IsShortCut(Key, Shift);
}

bool TCustomForm::IsMenuKey(TControl* Target, Word Key, TShiftState Shift) {
    if (Key == 0 || ComponentState().Contains(csDesigning))
        return false;
    for (TControl* Control = Target; Control; Control = Control->Parent())
        if (TPopupMenu* Popup = Control->PopupMenu(); Popup && Popup->IsShortCut(Key, Shift))
            return true;
    return IsShortCut(Key, Shift);
}

bool TCustomForm::ContextHelp(TControl* Target) {
    for (TControl* Control = Target; Control; Control = Control->Parent())
        if (Control->HelpContext() != 0)
            return Application->HelpContext(Control->HelpContext());
    return false;
}

bool TCustomForm::HandleKey(TWinControl* Target, Word Key, TShiftState Shift, char& Char) {
    if (IsMenuKey(Target, Key, Shift))
        return true; // the click may have freed the form: nothing follows
    // A handler may free the target, or the whole form.
    const TControlWatch Watch(Target);
    // The preview sees the key first and may change it for the control.
    const bool Preview = KeyPreview && Target != this;
    Word Code = Key;
    if (Code != 0 && ((Preview && KeyDown(Code, Shift)) || Watch.Gone() ||
                      Target->KeyDown(Code, Shift) || Watch.Gone()))
        return true;
    if (Char != '\0' &&
        ((Preview && KeyPress(Char)) || Watch.Gone() || Target->KeyPress(Char) || Watch.Gone()))
        return true;
    if (Target->PopupMenuKey(Code, Shift))
        return true; // its OnPopup may have freed the target
    if (Code == VK_F1)
        return ContextHelp(Target);
    // Ctrl+Alt is AltGr, which types characters.
    if (Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && IsAcceleratorKey(Code))
        return HandleAccelerator(Code);
    if ((Code == VK_RETURN || Code == VK_ESCAPE) && !Target->WantsKey(Code))
        return DialogKey(Code);
    return false;
}

bool TCustomForm::IsAcceleratorKey(Word Key) {
    return (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
}

bool TCustomForm::HandleKeyUp(TWinControl* Target, Word Key, TShiftState Shift) {
    const TControlWatch Watch(Target);
    Word Code = Key;
    return Code != 0 && ((KeyPreview && Target != this && KeyUp(Code, Shift)) || Watch.Gone() ||
                         Target->KeyUp(Code, Shift));
}

void TCustomForm::PressKey(Word Key, TShiftState Shift) {
    TWinControl* Target = FActiveControl ? FActiveControl : this;
    char Char = CharOfKey(Key, Shift);
    if (HandleKey(Target, Key, Shift, Char))
        return;
    if (Key == VK_TAB && !Target->WantsKey(Key))
        SelectNext(!Shift.Contains(ssShift));
}

// --- Window

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (FBorderStyle == Value)
        return;
    const Integer Width = ClientWidth(), Height = ClientHeight();
    FBorderStyle = Value;
    ApplyWindowFlags();
    SetBounds(Left(), Top(), Width + FrameSize().X, Height + FrameSize().Y);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    FFormStyle = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (FWindowState == Value)
        return;
    FWindowState = Value;
    if (Value == wsNormal)
        SetBoundsRect(FNormalBounds);
    if (FVisible)
        ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
    if (!FWidget)
        return;
    static constexpr Qt::WindowState States[] = {Qt::WindowNoState, Qt::WindowMinimized,
                                                 Qt::WindowMaximized};
    TSetForScope<bool> Syncing(FSyncingGeometry, true);
    FWidget->setWindowState(States[FWindowState]);
}

void TCustomForm::ApplyWindowFlags() {
    if (!FWidget)
        return;
    Qt::WindowFlags Flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (FBorderStyle) {
    case bsNone:
        Flags = Qt::Window | Qt::FramelessWindowHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        Flags |= Qt::Tool;
        break;
    case bsDialog:
        Flags |= Qt::Dialog;
        break;
    default:
        break;
    }
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        Flags |= Qt::WindowSystemMenuHint;
        if (FCloseEnabled)
            Flags |= Qt::WindowCloseButtonHint;
        const bool Sizeable = FBorderStyle == bsSizeable || FBorderStyle == bsSingle;
        if (Sizeable && FBorderIcons.Contains(biMinimize))
            Flags |= Qt::WindowMinimizeButtonHint;
        if (Sizeable && FBorderIcons.Contains(biMaximize))
            Flags |= Qt::WindowMaximizeButtonHint;
        if (FBorderIcons.Contains(biHelp))
            Flags |= Qt::WindowContextHelpButtonHint;
    }
    if (FFormStyle == fsStayOnTop)
        Flags |= Qt::WindowStaysOnTopHint;
    const bool WasVisible = FWidget->isVisible();
    FWidget->setWindowFlags(Flags);
    if (WasVisible)
        FWidget->show(); // changing the flags hides a window
}

TPoint TCustomForm::FrameSize() const {
    switch (FBorderStyle) {
    case bsNone:
        return TPoint{0, 0};
    case bsSizeable:
    case bsSizeToolWin:
        return TPoint{8, 27};
    default:
        return TPoint{6, 25};
    }
}

Integer TCustomForm::ClientWidth() const {
    return std::max(0, Width() - FrameSize().X);
}
Integer TCustomForm::ClientHeight() const {
    return std::max(0, Height() - FrameSize().Y - MenuHeight());
}

TMinMaxRecord TCustomForm::MinMaxInfo() {
    TMinMaxRecord Info;
    const Integer W = Screen->Width(), H = Screen->Height();
    Info.ptMaxSize = TPoint{W, H};
    Info.ptMaxPosition = TPoint{0, 0};
    Info.ptMinTrackSize = TPoint{FrameSize().X, FrameSize().Y};
    Info.ptMaxTrackSize = TPoint{std::max(W, 16384), std::max(H, 16384)};
    GetMinMaxInfo(Info);
    return Info;
}

void TCustomForm::GetMinMaxInfo(TMinMaxRecord&) {}

void TCustomForm::UpdateTrackingSizes() {
    if (!FWidget)
        return;
    const TMinMaxRecord Info = MinMaxInfo();
    const TPoint Frame = FrameSize();
    FWidget->setMinimumSize(std::max(0, Info.ptMinTrackSize.X - Frame.X),
                            std::max(0, Info.ptMinTrackSize.Y - Frame.Y));
    FWidget->setMaximumSize(
        std::min(QWIDGETSIZE_MAX, std::max(0, Info.ptMaxTrackSize.X - Frame.X)),
        std::min(QWIDGETSIZE_MAX, std::max(0, Info.ptMaxTrackSize.Y - Frame.Y)));
}

void TCustomForm::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (FWidget && !FSyncingGeometry) {
        const TMinMaxRecord Info = MinMaxInfo();
        AWidth = std::clamp(AWidth, Info.ptMinTrackSize.X,
                            std::max(Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X));
        AHeight = std::clamp(AHeight, Info.ptMinTrackSize.Y,
                             std::max(Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y));
    }
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    TrackNormalBounds();
}

void TCustomForm::TrackNormalBounds() {
    if (FWindowState == wsNormal)
        FNormalBounds = BoundsRect();
}

void TCustomForm::Centre() {
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(),
              Height());
}

QWidget* TCustomForm::CreateWidget(QWidget*) {
    return new QWidget(nullptr, Qt::Window);
}

void TCustomForm::InitWidget() {
    TCustomControl::InitWidget();
    FWidget->setFocusPolicy(Qt::NoFocus);
    FWidget->setAutoFillBackground(true);
    ApplyWindowFlags();
    UpdateTrackingSizes();
    if (!FIcon->Empty())
        FWidget->setWindowIcon(QIcon(QPixmap::fromImage(FIcon->Image())));
    if (FMenu)
        MenuChanged();
}

void TCustomForm::ReleaseWidget() {
    FMenuBar = nullptr; // a child of the window widget, which goes now
    TCustomControl::ReleaseWidget();
}

void TCustomForm::ApplyGeometry() {
    if (!FWidget || FSyncingGeometry)
        return;
    TSetForScope<bool> Syncing(FSyncingGeometry, true);
    FWidget->move(Left(), Top());
    FWidget->resize(ClientWidth(), ClientHeight() + MenuHeight());
    ApplyMenuBar();
}

void TCustomForm::ApplyText() {
    if (FWidget)
        FWidget->setWindowTitle(ToQString(Caption()));
}

void TCustomForm::WidgetGeometryChanged() {
    if (FSyncingGeometry || !FWidget)
        return;
    TSetForScope<bool> Syncing(FSyncingGeometry, true);
    const QPoint Pos = FWidget->pos();
    const TPoint Frame = FrameSize();
    TCustomControl::SetBounds(Pos.x(), Pos.y(), FWidget->width() + Frame.X,
                              FWidget->height() + Frame.Y);
    TrackNormalBounds();
    ApplyMenuBar();
}

bool TCustomForm::WidgetEvent(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::Close:
        Event->ignore();
        SystemClose();
        return true;
    case QEvent::Resize:
    case QEvent::Move:
        WidgetGeometryChanged();
        return false;
    case QEvent::WindowStateChange: {
        const Qt::WindowStates States = FWidget->windowState();
        FWindowState = States & Qt::WindowMinimized   ? wsMinimized
                       : States & Qt::WindowMaximized ? wsMaximized
                                                      : wsNormal;
        return false;
    }
    case QEvent::WindowActivate:
        if (FVisible)
            Screen->SetActiveForm(this);
        return false;
    default:
        return TCustomControl::WidgetEvent(Event);
    }
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    TCustomControl::GetChildren(Proc, Root);
    // Then the owned components that sit on no control (non-visual ones).
    if (Root != this)
        return;
    for (Integer I = 0; I < ComponentCount(); ++I)
        if (TComponent* C = Components(I); !C->HasParent() || !C->GetParentComponent())
            if (!dynamic_cast<TControl*>(C) || !static_cast<TControl*>(C)->Parent())
                Proc(C);
}

Integer TCustomForm::GetTextHeight() const {
    return FTextHeight > 0 ? FTextHeight : Canvas()->TextHeight("0");
}

void TCustomForm::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "PixelsPerInch", nullptr, [this](TWriter* W) { W->WriteInteger(PixelsPerInch); }, true);
    Filer->DefineProperty(
        "TextHeight", [this](TReader* R) { FTextHeight = R->ReadInteger(); },
        [this](TWriter* W) { W->WriteInteger(GetTextHeight()); }, true);
}

// --- TDataModule -------------------------------------------------------------

ORLO_PUBLISHED(TDataModule, "Forms") {
    P.Property("OldCreateOrder", &TDataModule::OldCreateOrder);
    P.Property("OnCreate", &TDataModule::OnCreate);
    P.Property("OnDestroy", &TDataModule::OnDestroy);
}

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner), DesignSize{215, 150} {}

TDataModule::~TDataModule() = default;

void TDataModule::InitInheritedModule() {
    if (ClassType() != TDataModule::StaticClass() && !ComponentState().Contains(csDesigning)) {
        try {
            if (!InitInheritedComponent(this, TDataModule::StaticClass()))
                throw EResNotFound(Format("Resource %s not found", ClassName()));
        } catch (const EReadError& E) {
            throw EReadError(Format("Form %s: %s", ClassName(), E.Message()));
        }
    }
    GuardedCall(this, [this] {
        if (OnCreate)
            OnCreate(this);
    });
}

void TDataModule::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (Integer I = 0; I < ComponentCount(); ++I)
        if (TComponent* C = Components(I); !C->HasParent())
            Proc(C);
}

void TDataModule::BeforeDestruction() {
    if (FDestroyed)
        return;
    FDestroyed = true;
    GuardedCall(this, [this] {
        if (OnDestroy)
            OnDestroy(this);
    });
}

void TDataModule::DefineProperties(TFiler* Filer) {
    TComponent::DefineProperties(Filer);
    auto Define = [Filer](const char* Name, Integer& Value) {
        Filer->DefineProperty(
            Name, [&Value](TReader* R) { Value = R->ReadInteger(); },
            [&Value](TWriter* W) { W->WriteInteger(Value); }, true);
    };
    Define("Height", DesignSize.Y);
    Define("Width", DesignSize.X);
}

// --- TScreen -----------------------------------------------------------------

ORLO_UNPUBLISHED(TScreen, "Forms")

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}
TScreen::~TScreen() = default;

Integer TScreen::Width() const {
    NeedWidgetApplication();
    QScreen* Primary = QGuiApplication::primaryScreen();
    return Primary ? Primary->geometry().width() : 0;
}

Integer TScreen::Height() const {
    NeedWidgetApplication();
    QScreen* Primary = QGuiApplication::primaryScreen();
    return Primary ? Primary->geometry().height() : 0;
}

void TScreen::SetCursor(TCursor Value) {
    if (FCursor == Value)
        return;
    const bool HadOverride = FCursor != crDefault;
    FCursor = Value;
    if (!IsWidgetApplication())
        return;
    const QCursor Shape(static_cast<Qt::CursorShape>(CursorShape(Value)));
    if (Value == crDefault)
        QApplication::restoreOverrideCursor();
    else if (HadOverride)
        QApplication::changeOverrideCursor(Shape);
    else
        QApplication::setOverrideCursor(Shape);
}

TCustomForm* TScreen::Forms(Integer Index) const {
    if (Index < 0 || Index >= FormCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FForms[static_cast<size_t>(Index)];
}

TWinControl* TScreen::ActiveControl() const {
    return FActiveForm ? FActiveForm->ActiveControl() : nullptr;
}

void TScreen::AddForm(TCustomForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    std::erase(FForms, Form);
    std::erase(FActivation, Form);
    if (FActiveForm == Form) {
        FActiveForm = nullptr;
        if (!FActivation.empty() && !ComponentState().Contains(csDestroying))
            SetActiveForm(FActivation.back());
    }
}

void TScreen::SetActiveForm(TCustomForm* Form) {
    if (FActiveForm == Form)
        return;
    TCustomForm* Old = FActiveForm;
    FActiveForm = Form;
    if (Form) {
        std::erase(FActivation, Form);
        FActivation.push_back(Form);
    }
    if (Old)
        Old->SetActive(false);
    if (Form && FActiveForm == Form)
        Form->SetActive(true);
}

TCustomForm* TScreen::PreviousActiveForm(TCustomForm* Form) const {
    for (auto It = FActivation.rbegin(); It != FActivation.rend(); ++It)
        if (*It != Form && (*It)->Visible())
            return *It;
    return nullptr;
}

// --- TApplication ------------------------------------------------------------

ORLO_UNPUBLISHED(TApplication, "Forms")

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FIcon(std::make_unique<TIcon>()) {
    SetExceptionHandler(ApplicationExceptionHandler);
}

TApplication::~TApplication() {
    Destroying();
    FreeReleased();
    DestroyComponents();
    SetExceptionHandler(nullptr);
}

void TApplication::Initialize() {
    NeedWidgetApplication();
}

void TApplication::Run() {
    NeedWidgetApplication();
    TSetForScope<bool> Running(FRunning, true);
    if (FMainForm && ShowMainForm)
        FMainForm->Show();
    while (!FTerminated && FMainForm) {
        QApplication::exec();
        FreeReleased();
        if (!FMainForm || !FMainForm->Visible())
            break;
    }
    ReleaseAtExitBeforeQtStatics();
}

void TApplication::Terminate() {
    FTerminated = true;
    if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    FreeReleased();
}

void TApplication::HandleException(TObject* Sender) {
    orlo::HandleException(Sender);
}

void TApplication::ShowException(TObject* Sender, const String& ClassName, const String& Message) {
    if (FExceptionBox) {
        FExceptionBox(Sender, ClassName, Message);
        return;
    }
    String Text = Message;
    if (!Text.empty() && Text.back() > '.')
        Text += '.';
    ShowPlainMessage(Title.empty() ? String("Error") : Title, Text);
}

TExceptionBox TApplication::SetExceptionBox(TExceptionBox Box) {
    std::swap(FExceptionBox, Box);
    return Box;
}

void TApplication::MessageBox(const String& Text, const String& Caption) {
    ShowPlainMessage(Caption, Text);
}

TModalRunner TApplication::SetModalRunner(TModalRunner Runner) {
    std::swap(FModalRunner, Runner);
    return Runner;
}

bool TApplication::HelpContext(Integer Context) {
    return HelpCommand(HELP_CONTEXT, Context);
}

String TApplication::CurrentHelpFile() const {
    if (const TCustomForm* Active = Screen->ActiveForm(); Active && !Active->HelpFile.empty())
        return Active->HelpFile;
    return HelpFile;
}

bool TApplication::HelpCommand(Word Command, Integer Data) {
    const String File = CurrentHelpFile();
    if (FActionLog) {
        FActionLog->HelpRequests.push_back(THelpRequest{File, Command, Data});
        if (!FActionLog->ShowHelp)
            return true;
    }
    bool CallHelp = true;
    bool Result = false;
    if (OnHelp)
        Result = OnHelp(Command, Data, CallHelp);
    if (!CallHelp)
        return Result;
    if ((File.empty() && Command != HELP_QUIT) || !IsWidgetApplication())
        return false;
    return ShowHelp(File, Command, Data);
}

TActionLog* TApplication::SetActionLog(TActionLog* Log) {
    std::swap(FActionLog, Log);
    return Log;
}

std::vector<TCustomForm*> TApplication::DisableTaskWindows(TCustomForm* Except) {
    std::vector<TCustomForm*> Disabled;
    for (Integer I = 0; I < Screen->FormCount(); ++I) {
        TCustomForm* Form = Screen->Forms(I);
        if (Form == Except || !Form->Visible() || !Form->Widget() || !Form->Widget()->isEnabled())
            continue;
        Form->Widget()->setEnabled(false);
        Disabled.push_back(Form);
    }
    return Disabled;
}

void TApplication::EnableTaskWindows(const std::vector<TCustomForm*>& Windows) {
    for (Integer I = 0; I < Screen->FormCount(); ++I) {
        TCustomForm* Form = Screen->Forms(I); // only forms that still exist
        if (std::find(Windows.begin(), Windows.end(), Form) != Windows.end() && Form->Widget())
            Form->Widget()->setEnabled(Form->Enabled());
    }
}

void TApplication::ScheduleRelease(TCustomForm* Form) {
    if (std::find(FReleased.begin(), FReleased.end(), Form) != FReleased.end())
        return;
    FReleased.push_back(Form);
    FreeNotification(Form);
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (Application)
                    Application->FreeReleased();
            },
            Qt::QueuedConnection);
}

void TApplication::FreeReleased() {
    while (!FReleased.empty()) {
        TCustomForm* Form = FReleased.back();
        FReleased.pop_back();
        RemoveFreeNotification(Form);
        Form->Free();
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    std::erase(FReleased, AComponent);
    if (AComponent == FMainForm)
        FMainForm = nullptr;
}

// --- Process-wide objects ----------------------------------------------------

namespace {

// Creates the application and the screen at load time and frees them, with
// every form they own, at exit (see NeedWidgetApplication for the QApplication).
struct TFormsUnit {
    TFormsUnit() {
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        // Form files name these classes without a published field for each.
        RegisterClasses(
            {TForm::StaticClass(),       TDataModule::StaticClass(), TLabel::StaticClass(),
             TButton::StaticClass(),     TBitBtn::StaticClass(),     TEdit::StaticClass(),
             TMemo::StaticClass(),       TCheckBox::StaticClass(),   TRadioButton::StaticClass(),
             TGroupBox::StaticClass(),   TComboBox::StaticClass(),   TListBox::StaticClass(),
             TPanel::StaticClass(),      TImage::StaticClass(),      TOpenDialog::StaticClass(),
             TSaveDialog::StaticClass(), TFontDialog::StaticClass(), TMainMenu::StaticClass(),
             TPopupMenu::StaticClass(),  TMenuItem::StaticClass()});
    }
    ~TFormsUnit() { FreeApplicationObjects(); }
};

} // namespace

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void FreeApplicationObjects() {
    TApplication* App = Application;
    Application = nullptr;
    delete App;
    TScreen* S = Screen;
    Screen = nullptr;
    delete S;
}

static TFormsUnit FormsUnit;

void Beep() {
    if (Application && Application->ActionLog()) {
        ++Application->ActionLog()->Beeps;
        return;
    }
    if (IsWidgetApplication())
        QApplication::beep();
}

QImage GrabImage(TWinControl* Control) {
    QWidget* Widget = Control->Handle();
    if (Widget->isWindow())
        Widget->ensurePolished();
    return Widget->grab().toImage();
}

void SaveScreenshot(TWinControl* Control, const String& FileName) {
    if (!GrabImage(Control).save(ToQString(FileName), "PNG"))
        throw EInOutError(Format("Cannot write %s", FileName));
}

TTaskWindowsDisabled::TTaskWindowsDisabled(TCustomForm* Except)
    : FDisabled(Application->DisableTaskWindows(Except)) {}

TTaskWindowsDisabled::~TTaskWindowsDisabled() {
    Application->EnableTaskWindows(FDisabled);
}

} // namespace orlo
