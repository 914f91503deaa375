#pragma once
// Form classes and helpers shared by the forms tests: text forms registered
// as resources at run time, and a dialog class with published controls.

#include "platform/classes/Resources.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace orlo::test {

// The text form as a component resource under ClassName, while it lives.
class TFormResource {
public:
    TFormResource(const String& ClassName, const String& Text);
    ~TFormResource();
    TFormResource(const TFormResource&) = delete;
    TFormResource& operator=(const TFormResource&) = delete;

private:
    String FName;
    std::vector<Byte> FData;
};

// The text form of a component as the writer gives it.
String FormText(TComponent* Root);

// Where a test keeps a picture for a person to look at:
// $ORLO_TEST_TMP/screenshots/<Name>.png (or below the temporary directory).
String ScreenshotPath(const String& Name);

// A dialog with the controls of a real settings dialog.
class TSettingsDialog : public TForm {
    ORLO_CLASS(TSettingsDialog, TForm)
public:
    explicit TSettingsDialog(TComponent* AOwner) : TForm(AOwner) {}
    TLabel* NameLabel = nullptr;
    TEdit* NameEdit = nullptr;
    TGroupBox* ModeGroup = nullptr;
    TRadioButton* FastRadio = nullptr;
    TRadioButton* SafeRadio = nullptr;
    TCheckBox* BackupCheck = nullptr;
    TComboBox* LanguageCombo = nullptr;
    TMemo* NotesMemo = nullptr;
    TPanel* ButtonPanel = nullptr;
    TBitBtn* OkButton = nullptr;
    TBitBtn* CancelButton = nullptr;
    Integer Created = 0;
    Integer Shown = 0;
    Integer Activated = 0;
    void FormCreate(TObject*) { ++Created; }
    void FormShow(TObject*) { ++Shown; }
    void FormActivate(TObject*) { ++Activated; }
};

// The text of the settings dialog's form file.
extern const char* const SettingsDialogText;

// A form with a resource that does not read: the test puts any text there.
class TBrokenForm : public TForm {
    ORLO_CLASS(TBrokenForm, TForm)
public:
    explicit TBrokenForm(TComponent* AOwner) : TForm(AOwner) { ++Live; }
    ~TBrokenForm() override { --Live; }
    static inline Integer Live = 0;
};

// The folder that keeps the screenshots a person looks at after the run
// ($ORLO_TEST_TMP/screenshots), created when missing.
String ScreenshotFolder();

// Starts the window system once for every test.
class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

} // namespace orlo::test
