#pragma once
// What code below the forms layer needs of the application object: the
// process-wide exception handler and whether the process is the design host.
//
// Guarded calls (a listener, an event handler) catch what their callee raises
// and hand it to HandleException, which passes it to the installed handler. By
// default the handler writes the exception's class name and message to
// standard error; the forms layer installs one that shows the message box, and
// tests install a TExceptionRecorder. Everything here belongs to the
// user-interface thread.

#include "platform/rtl/Types.h"

#include <exception>
#include <functional>
#include <vector>

namespace orlo {

class TObject;

// Receives an exception that a guarded call caught; Sender is the object on
// whose behalf the call ran, nil when there is none.
using TExceptionHandler = std::function<void(TObject* Sender, const std::exception_ptr& Error)>;

// Hands the exception being handled (call it inside a catch block) to the
// installed handler; outside a catch block it does nothing. EAbort is the
// silent abort and is never shown. Never throws: what a handler raises is
// written to standard error instead.
void HandleException(TObject* Sender);
void HandleException(TObject* Sender, const std::exception_ptr& Error);

// Installs Handler (an empty one restores the default) and returns the handler
// it replaces.
TExceptionHandler SetExceptionHandler(TExceptionHandler Handler);

// The default handler: "<class name>: <message>" and a line break on standard error.
void WriteExceptionToStdErr(TObject* Sender, const std::exception_ptr& Error);

// Class name and message of an exception as a handler reports them: the
// component model's class name for our exceptions, the C++ type name otherwise.
struct TExceptionText {
    String ClassName;
    String Message;
};
TExceptionText DescribeException(const std::exception_ptr& Error);

// Runs Body; an exception it raises goes to HandleException(Sender) instead of
// leaving the call, so a sequence of guarded calls always runs to its end.
template <class F> void GuardedCall(TObject* Sender, F&& Body) {
    try {
        Body();
    } catch (...) {
        HandleException(Sender);
    }
}

// Installs a handler for as long as the object lives, then restores the
// handler it replaced.
class TExceptionHandlerScope {
public:
    explicit TExceptionHandlerScope(TExceptionHandler Handler);
    ~TExceptionHandlerScope();
    TExceptionHandlerScope(const TExceptionHandlerScope&) = delete;
    TExceptionHandlerScope& operator=(const TExceptionHandlerScope&) = delete;

private:
    TExceptionHandler FPrevious;
};

// Records every handled exception instead of showing it, while it lives.
class TExceptionRecorder {
public:
    struct TEntry {
        TObject* Sender;
        String ClassName;
        String Message;
    };

    TExceptionRecorder();
    const std::vector<TEntry>& Entries() const noexcept { return FEntries; }
    void Clear() noexcept { FEntries.clear(); }

private:
    std::vector<TEntry> FEntries;
    TExceptionHandlerScope FScope;
};

// True while the process is the design host: components there are designed,
// not run. The design host sets it at start-up; everything else leaves it off.
bool RunningInDesigner() noexcept;
void SetRunningInDesigner(bool Value) noexcept;

} // namespace orlo
