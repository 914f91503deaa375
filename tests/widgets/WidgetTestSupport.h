#pragma once
// What the widget tests share: a language frame set to a language (what a
// caller's form looks like to a message box), languages for a TGlossa made in
// code, and screenshots in the test's screenshot folder.

#include "platform/forms/Forms.h"
#include "platform/forms/ModalScript.h"
#include "platform/rtl/Types.h"
#include "runtime/Glossa.h"

#include <initializer_list>
#include <memory>

namespace orlo::test {

// A form made in code with a TGlossa of no languages whose frame (the domain
// Domain, or the frames without domain) is set to Language.
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

// The text form of a component as the writer gives it.
String FormText(TComponent* Root);

// Saves what Control shows as <Name>.png in $ORLO_TEST_TMP/screenshots (or
// the temporary directory) and returns the file's path.
String Screenshot(TWinControl* Control, const String& Name);

} // namespace orlo::test
