#pragma once
// What the widget tests share: a script of answers for the modal forms a call
// shows (in order, nested ones included), the feedback log (beeps, help,
// clipboard), a language frame set to a language, and screenshots.

#include "platform/forms/Forms.h"
#include "platform/rtl/Types.h"
#include "runtime/Glossa.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {

// While it lives, each modal form is answered by the next step of the script;
// a form with no step left fails the test and is closed by its close box.
class TModalScript {
public:
    using TStep = std::function<void(TCustomForm* Form)>;

    TModalScript();
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    TModalScript& Then(TStep Step);
    // Every form the script answered, in order of showing.
    const std::vector<String>& Shown() const noexcept { return FShown; }
    bool Done() const noexcept { return FSteps.empty(); }
    const TActionLog& Log() const noexcept { return FLog; }

private:
    void Answer(TCustomForm* Form);

    std::deque<TStep> FSteps;
    std::vector<String> FShown;
    TActionLog FLog;
    TModalRunner FPreviousRunner;
    TActionLog* FPreviousLog;
};

// A form made in code with a TGlossa of no languages whose frame (the domain
// Domain, or the frames without domain) is set to Language: what a caller's
// form looks like to the message box.
class TLanguageFrameHost {
public:
    TLanguageFrameHost(const String& Domain, const String& Language);
    ~TLanguageFrameHost();
    TLanguageFrameHost(const TLanguageFrameHost&) = delete;
    TLanguageFrameHost& operator=(const TLanguageFrameHost&) = delete;
    TGlossa* Glossa() const noexcept { return FGlossa; }

private:
    std::unique_ptr<TForm> FForm;
    TGlossa* FGlossa;
};

// Gives Glossa (made in code) these languages; the first is the active one.
void AddLanguages(TGlossa* Glossa, std::initializer_list<const char*> Names);

// Saves what Control's window shows as <name>.png in the screenshot folder
// ($ORLO_TEST_TMP/screenshots) and returns the file's path.
String SaveScreenshot(TWinControl* Control, const String& Name);

} // namespace orlo::test
