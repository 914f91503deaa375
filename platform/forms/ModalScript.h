#pragma once
// A script of answers for the modal forms and message boxes a test opens:
// while it lives, every ShowModal takes the next answer (in the order the
// forms are shown, nested ones included), and beeps, help requests and
// clipboard texts are recorded in its action log.
//
//   TModalScript Script;
//   Script.Click("OK");                        // the dialog: press its OK button
//   Script.Answer([](TCustomForm* Box) { ... }); // the message box it opens
//   Dialog->ShowModal();

#include "platform/forms/Forms.h"

#include <deque>
#include <memory>

class QTimer;

namespace orlo {

class TModalScript {
public:
    using TAnswer = std::function<void(TCustomForm* Form)>;

    TModalScript();
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    // Queues an answer; each is used once.
    TModalScript& Answer(TAnswer Answer);
    // Sets the form's ModalResult.
    TModalScript& Result(TModalResult Value);
    // Clicks the control of that name (found among the form's components);
    // EComponentError "Form %s has no control %s" when there is none.
    TModalScript& Click(const String& ControlName);
    // Presses a key in the form (Enter, Escape, ...).
    TModalScript& Press(Word Key);
    // Uses the form's close box.
    TModalScript& CloseBox();
    // Lets recorded help requests go on to the help window as well.
    TModalScript& ShowHelp(bool Value = true) {
        FLog.ShowHelp = Value;
        return *this;
    }

    Integer Pending() const noexcept { return static_cast<Integer>(FAnswers.size()); }
    // The names of the forms shown modally, in order.
    const std::vector<String>& Shown() const noexcept { return FShown; }
    const TActionLog& Log() const noexcept { return FLog; }

private:
    void Run(TCustomForm* Form);

    std::deque<TAnswer> FAnswers;
    std::vector<String> FShown;
    TActionLog FLog;
    TModalRunner FPreviousRunner;
    TActionLog* FPreviousLog;
};

// For tests that drive a real modal loop through the window system, without a
// script: once Milliseconds have passed, while it lives, every open form ends
// its loop with mrAbort, so a fault that leaves a form open fails the test
// instead of hanging it.
class TModalWatchdog {
public:
    explicit TModalWatchdog(int Milliseconds = 20000);
    ~TModalWatchdog();
    TModalWatchdog(const TModalWatchdog&) = delete;
    TModalWatchdog& operator=(const TModalWatchdog&) = delete;

private:
    std::unique_ptr<QTimer> FTimer;
};

// The control named Name among the components Form owns (nested frames
// included); nil when none.
TControl* FindControl(TComponent* Form, const String& Name);

} // namespace orlo
