#pragma once
// Translated test forms as an application has them: each form class is read
// from its own form file under tests/data/glossa (linked into the test program
// as a component resource) and carries a caption, two labels, a memo and a
// TGlossa whose events are bound to the form's handlers by name.
//
//   TMainForm     English, Deutsch, Français; named strings "Saved", "Question"
//   TOptionsForm  English, Deutsch; stored with Deutsch active
//   TToolForm     English, Deutsch; TopLevel
//   TReportForm   English, Deutsch; Domain "Reports"
//   TPreviewForm  English, Deutsch; Domain "REPORTS"
//
// The language side file tests/data/glossa/UnitStrings.lng (resource name
// UnitStringsResName) holds the named strings "Greeting" and "Farewell" of a
// unit without a form in English, Deutsch and Français.

#include "platform/classes/Component.h"
#include "platform/rtl/Types.h"
#include "runtime/Glossa.h"
#include "tests/components/TestComponents.h"

#include <memory>
#include <vector>

namespace orlo::test {

constexpr const char* UnitStringsResName = "{6A0F3C52-8E1B-4D27-9C44-1F2E3D4C5B6A}";

// What the forms' handlers saw, in order: "<form>:<event>:<Label1 caption>",
// the events being "before", "change" and "after".
std::vector<String>& GlossaEventLog();

class TTranslatedForm : public TComponent {
    ORLO_CLASS(TTranslatedForm, TComponent)
public:
    explicit TTranslatedForm(TComponent* AOwner) : TComponent(AOwner) {}

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    // Label1's caption, Label2's caption and the memo lines, joined by "|".
    String Shown() const;

    TTestLabel* Label1 = nullptr;
    TTestLabel* Label2 = nullptr;
    TTestMemo* Memo1 = nullptr;
    TGlossa* Glossa = nullptr;

    // The handler of this event ("before", "change", "after") raises
    // Exception "<form> <event> failed" after logging.
    String FailIn;

    void GlossaBeforeChange(TObject* Sender) { Handle("before"); }
    void GlossaChange(TObject* Sender) { Handle("change"); }
    void GlossaAfterChange(TObject* Sender) { Handle("after"); }

private:
    void Handle(const char* Event);

    String FCaption;
};

#define ORLO_TEST_FORM(Name)                                                                       \
    class Name : public TTranslatedForm {                                                          \
        ORLO_CLASS(Name, TTranslatedForm)                                                          \
    public:                                                                                        \
        explicit Name(TComponent* AOwner) : TTranslatedForm(AOwner) {}                             \
    }

ORLO_TEST_FORM(TMainForm);
ORLO_TEST_FORM(TOptionsForm);
ORLO_TEST_FORM(TToolForm);
ORLO_TEST_FORM(TReportForm);
ORLO_TEST_FORM(TPreviewForm);

#undef ORLO_TEST_FORM

// Reads Form from the form file of its class.
void ReadTranslatedForm(TTranslatedForm* Form);

// A new form of class F (owner nil) read from its form file.
template <class F> std::unique_ptr<F> LoadTranslatedForm() {
    auto Form = std::make_unique<F>(nullptr);
    ReadTranslatedForm(Form.get());
    return Form;
}

} // namespace orlo::test
