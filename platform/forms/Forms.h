#pragma once
// Forms and the application: TCustomForm/TForm, TDataModule, TScreen and
// TApplication with its modal runner, help, beep and exception display.

#include "platform/classes/Resources.h"
#include "platform/forms/Controls.h"

#include <functional>
#include <memory>
#include <vector>

class QEventLoop;
class QMenuBar;

namespace orlo {

class TCustomForm;
class TButtonControl;
class TMainMenu;

ORLO_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
ORLO_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
ORLO_SET(TBorderIcons, TBorderIcon)
ORLO_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
          poDesktopCenter)
ORLO_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
ORLO_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
ORLO_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
ORLO_EVENT(TCloseEvent, void(TObject* Sender, TCloseAction& Action))
ORLO_EVENT(TCloseQueryEvent, void(TObject* Sender, bool& CanClose))

// The window's size limits, asked for whenever the window is sized.
struct TMinMaxRecord {
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

class TCustomForm : public TCustomControl {
    ORLO_CLASS(TCustomForm, TCustomControl)
public:
    // A form without its resource (CreateNew).
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // A form of class F read from the resources of F and its ancestors up to
    // TForm, then OnCreate. EResNotFound "Resource %s not found" when F has
    // none; a form file that does not read raises EReadError "Form <class>:
    // Error reading <component>.<property>: <what>"; the half-made form is freed.
    template <class F> static F* Create(TComponent* AOwner);

    // --- Showing and closing
    void SetVisible(bool Value) override;
    // EInvalidOperation "Cannot make a visible window modal" when the form
    // shows already or is disabled. In tests the application's modal runner
    // answers the form (see TApplication::SetModalRunner).
    virtual TModalResult ShowModal();
    TModalResult ModalResult() const noexcept { return FModalResult; }
    void SetModalResult(TModalResult Value);
    bool Modal() const noexcept { return FModalLoopRunning || FModal; }
    // Closes the form: a modal form answers mrCancel; otherwise OnCloseQuery
    // and OnClose decide (hide, minimise, free later, or stay).
    void Close();
    bool CloseQuery();
    // Frees the form once the current event has been handled.
    void Release();
    // What the window's close box does: Close, unless the close box is disabled.
    void SystemClose();
    bool CloseEnabled() const noexcept { return FCloseEnabled; }
    void SetCloseEnabled(bool Value);

    // --- Activation and focus
    bool Active() const noexcept { return FActive; }
    TWinControl* ActiveControl() const noexcept { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    void SetFocus() override;
    // Moves the focus on by Tab (or back).
    void SelectNext(bool GoForward = true);
    // A key typed in the form: OnKeyDown/OnKeyPress of the focused control,
    // then Enter and Escape for the default and cancel buttons, Tab for the
    // focus. What the real keyboard does too; tests call it directly.
    void PressKey(Word Key, TShiftState Shift = {});
    // Enter or Escape to the form's buttons; true when one took it.
    bool DialogKey(Word Key);
    // A shortcut typed while Target has the focus: the pop-up menus of Target
    // and its parents, then the form's menu; true when an item was clicked.
    bool IsMenuKey(TControl* Target, Word Key, TShiftState Shift);
    bool IsShortCut(Word Key, TShiftState Shift);
    // F1 while Target has the focus: the help of the nearest help context of
    // Target and its parents; false when none has one.
    bool ContextHelp(TControl* Target);

    // --- Menu bar: the window grows by it, the client area starts below it.
    // Set while a form file is read, the client height read before is kept.
    TMainMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(TMainMenu* Value);
    QMenuBar* MenuBar() const noexcept { return FMenuBar; }
    // A key typed while Target has the focus: the menus, the form's preview
    // (KeyPreview), Target's handlers, F1 help, Enter and Escape for the
    // buttons; true when something took it. Char is left as the handlers
    // changed it, for the widget to type.
    bool HandleKey(TWinControl* Target, Word Key, TShiftState Shift, char& Char);
    // A key released while Target has the focus: the preview, then Target.
    bool HandleKeyUp(TWinControl* Target, Word Key, TShiftState Shift);

    // --- Window
    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const noexcept { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const noexcept { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const noexcept { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TFormStyle FormStyle() const noexcept { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    bool AutoScroll() const noexcept { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    TIcon* Icon() const noexcept { return FIcon.get(); }
    void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
    // The bounds the window had the last time it was in the normal state.
    TRect NormalBounds() const noexcept { return FNormalBounds; }
    // Asks GetMinMaxInfo again and applies the limits to the window.
    void UpdateTrackingSizes();
    TMinMaxRecord MinMaxInfo();
    void Centre(); // on the screen

    Integer ClientWidth() const override;
    Integer ClientHeight() const override;
    TPoint WidgetClientOrigin() const override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    // Width and height of the frame around the client area.
    TPoint FrameSize() const;

    bool KeyPreview = false;
    bool OldCreateOrder = false;
    bool Scaled = true;
    Integer PixelsPerInch = ScreenPixelsPerInch;
    String HelpFile;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void BeforeDestruction() override;
    bool WidgetEvent(QEvent* Event) override;

    // Reads the resources of this form's class and its ancestors (up to
    // TForm), then calls OnCreate; what Create<F> does after constructing.
    void InitInheritedForm();

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    // Sets the window's size limits; the form leaves Info as the screen gives it.
    virtual void GetMinMaxInfo(TMinMaxRecord& Info);
    void Resize() override;
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ReleaseWidget() override;
    void ApplyGeometry() override;
    void ApplyVisible() override;
    void ApplyText() override;
    void DefineProperties(TFiler* Filer) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Whether the form is read from resources (false for TForm itself).
    virtual bool ReadsResources() const;

private:
    friend class TScreen;
    friend class TWinControl;
    friend class TControl;
    void SetActive(bool Value);
    void ControlGone(TControl* Control);
    static bool IsAcceleratorKey(Word Key);
    void FocusEntered(TWinControl* Control);
    void CloseModal();
    void RunModalScript();
    void RunModalLoop();
    void ShowWindow();
    void HideWindow();
    void ApplyWindowFlags();
    void ApplyWindowState();
    Integer MenuHeight() const;
    void MenuChanged();
    void ApplyMenuBar();
    void TrackNormalBounds();
    void WidgetGeometryChanged();
    bool IsFormSizeStored() const { return FAutoScroll; }
    bool IsClientSizeStored() const { return !FAutoScroll; }
    bool IsIconStored() const { return !FIcon->Empty(); }
    Integer GetTextHeight() const;
    bool RequestedVisible() const { return FVisible || FVisibleRequested; }

    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FModalLoopRunning = false;
    QEventLoop* FModalLoop = nullptr;
    bool FActive = false;
    bool FCloseEnabled = true;
    bool FDestroyed = false; // OnDestroy ran
    bool FSyncingGeometry = false;
    TWinControl* FActiveControl = nullptr;
    TMainMenu* FMenu = nullptr;
    QMenuBar* FMenuBar = nullptr; // a child of the window widget
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TFormStyle FFormStyle = fsNormal;
    bool FAutoScroll = true;
    TRect FNormalBounds;
    Integer FTextHeight = 0; // as read from the form file; 0: measured
    bool FCreating = false;
    bool FVisibleRequested = false; // Visible = True read while creating
    std::unique_ptr<TIcon> FIcon;
};

class TForm : public TCustomForm {
    ORLO_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

template <class F> F* TCustomForm::Create(TComponent* AOwner) {
    static_assert(std::is_base_of_v<TCustomForm, F>);
    auto* Form = new F(AOwner);
    try {
        Form->InitInheritedForm();
    } catch (...) {
        delete Form;
        throw;
    }
    return Form;
}

// A container of non-visual components with its own form file.
class TDataModule : public TComponent {
    ORLO_CLASS(TDataModule, TComponent)
public:
    explicit TDataModule(TComponent* AOwner); // without its resource (CreateNew)
    ~TDataModule() override;
    // As TCustomForm::Create.
    template <class D> static D* Create(TComponent* AOwner);
    void InitInheritedModule();

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void BeforeDestruction() override;
    void DefineProperties(TFiler* Filer) override;

    TPoint DesignOffset;
    TPoint DesignSize;
    bool OldCreateOrder = false;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

private:
    bool FDestroyed = false;
};

template <class D> D* TDataModule::Create(TComponent* AOwner) {
    auto* Module = new D(AOwner);
    try {
        Module->InitInheritedModule();
    } catch (...) {
        delete Module;
        throw;
    }
    return Module;
}

// --- Screen ------------------------------------------------------------------

class TScreen : public TComponent {
    ORLO_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    Integer Width() const; // of the primary screen
    Integer Height() const;
    Integer PixelsPerInch() const noexcept { return ScreenPixelsPerInch; }
    // The cursor shown over every window of the program; crDefault lets each control choose.
    TCursor Cursor() const noexcept { return FCursor; }
    void SetCursor(TCursor Value);

    // Every form that exists, the oldest first.
    Integer FormCount() const noexcept { return static_cast<Integer>(FForms.size()); }
    TCustomForm* Forms(Integer Index) const;
    TCustomForm* ActiveForm() const noexcept { return FActiveForm; }
    TWinControl* ActiveControl() const;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    // Makes Form the active form (nil: none); fires OnDeactivate and OnActivate.
    void SetActiveForm(TCustomForm* Form);
    // The form activated before Form that is still visible.
    TCustomForm* PreviousActiveForm(TCustomForm* Form) const;

    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    std::vector<TCustomForm*> FActivation; // visible forms, last activated last
    TCustomForm* FActiveForm = nullptr;
};

// --- Application -------------------------------------------------------------

// Answers a modal form in place of a user (tests): called with the form
// showing; it clicks, types, uses the close box or sets ModalResult. While
// the form has no result (or its close query refuses), the runner is called
// again; a form still open after 100 rounds raises EInvalidOperation
// "Modal form %s was left open".
using TModalRunner = std::function<void(TCustomForm* Form)>;
// Shows an exception to the user (the widget layer installs its message box).
using TExceptionBox =
    std::function<void(TObject* Sender, const String& ClassName, const String& Message)>;

// Help commands.
constexpr Word HELP_CONTEXT = 1;
constexpr Word HELP_QUIT = 2;
constexpr Word HELP_CONTENTS = 3;
constexpr Word HELP_FINDER = 11;

struct THelpRequest {
    String HelpFile;
    Word Command;
    Integer Data;
};

// What a program did that a test cannot see on a screen: while installed,
// beeps and help requests are recorded instead of reaching the system, and
// texts put on the clipboard are recorded as well. With ShowHelp set, help
// requests also go on to OnHelp and the help window.
struct TActionLog {
    Integer Beeps = 0;
    std::vector<THelpRequest> HelpRequests;
    std::vector<String> ClipboardTexts;
    bool ShowHelp = false;
};

ORLO_EVENT(THelpEvent, bool(Word Command, Integer Data, bool& CallHelp))

class TApplication : public TComponent {
    ORLO_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Starts the window system (the QApplication).
    void Initialize();
    // Creates a form of class F owned by the application; the first becomes the main form.
    template <class F> void CreateForm(F*& Reference);
    // Shows the main form (when ShowMainForm) and handles events until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const noexcept { return FTerminated; }
    // Handles the pending events, then frees the forms released meanwhile.
    void ProcessMessages();

    TCustomForm* MainForm() const noexcept { return FMainForm; }
    void SetMainForm(TCustomForm* Form) { FMainForm = Form; }
    bool ShowMainForm = true;
    bool ShowHint = true;
    String Title;
    String HelpFile;
    TIcon* Icon() const noexcept { return FIcon.get(); }

    // Hands the exception being handled to the process's handler: shown in a
    // message box in a program with windows, written to standard error in a
    // console program; EAbort is silent.
    void HandleException(TObject* Sender);
    // Shows an exception in the message box (TExceptionBox).
    void ShowException(TObject* Sender, const String& ClassName, const String& Message);
    TExceptionBox SetExceptionBox(TExceptionBox Box); // empty: the plain box
    // A plain message box with an OK button (modal, through the runner).
    void MessageBox(const String& Text, const String& Caption);

    // --- Modal forms
    TModalRunner SetModalRunner(TModalRunner Runner); // returns the one replaced
    const TModalRunner& ModalRunner() const noexcept { return FModalRunner; }

    // --- Help: OnHelp first; then, unless it cleared CallHelp, the help
    // window at the page the current help file gives (platform/forms/Help.h).
    // False without a help file or windows; EHelpError for a help file that
    // does not give the page.
    bool HelpContext(Integer Context);
    bool HelpCommand(Word Command, Integer Data);
    // The active form's HelpFile, else the application's.
    String CurrentHelpFile() const;
    THelpEvent OnHelp;

    // --- Feedback recording (tests)
    TActionLog* SetActionLog(TActionLog* Log); // returns the one replaced
    TActionLog* ActionLog() const noexcept { return FActionLog; }

    // Disables every visible form but Except, and enables them again.
    std::vector<TCustomForm*> DisableTaskWindows(TCustomForm* Except);
    void EnableTaskWindows(const std::vector<TCustomForm*>& Windows);

private:
    friend class TCustomForm;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ScheduleRelease(TCustomForm* Form);
    void FreeReleased();

    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FRunning = false;
    TModalRunner FModalRunner;
    TExceptionBox FExceptionBox;
    TActionLog* FActionLog = nullptr;
    std::unique_ptr<TIcon> FIcon;
    std::vector<TCustomForm*> FReleased;
};

template <class F> void TApplication::CreateForm(F*& Reference) {
    Reference = TCustomForm::Create<F>(this);
    if (!FMainForm)
        FMainForm = Reference;
}

// The application and screen of the process; they exist from load to exit.
extern TApplication* Application;
extern TScreen* Screen;

// The system beep (recorded while an action log is installed).
void Beep();

// A picture of the control as it shows now (its window is created when
// needed; works on the offscreen platform too), and the same as a PNG file.
QImage GrabImage(TWinControl* Control);
// EInOutError "Cannot write <file>" when the file cannot be written.
void SaveScreenshot(TWinControl* Control, const String& FileName);

// Disables the other windows of the program for as long as it lives
// (a folder browser, a message box of the system's own).
class TTaskWindowsDisabled {
public:
    explicit TTaskWindowsDisabled(TCustomForm* Except = nullptr);
    ~TTaskWindowsDisabled();
    TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
    TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
    std::vector<TCustomForm*> FDisabled;
};

} // namespace orlo
