// Form files of real dialogs: they load into live controls, stream back
// unchanged, and bad files fail with the form, component and property named.

#include "platform/classes/TypInfo.h"
#include "platform/forms/Dialogs.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/rtl/ExpectError.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <set>

namespace orlo::test {
namespace {

using ::testing::HasSubstr;

class StreamTest : public FormsTest {};

TEST_F(StreamTest, DialogLoadsIntoLiveControls) {
    TFormResource Resource("TSettingsDialog", SettingsDialogText);
    std::unique_ptr<TSettingsDialog> Dialog(TCustomForm::Create<TSettingsDialog>(nullptr));
    EXPECT_EQ(Dialog->Created, 1);
    EXPECT_EQ(Dialog->Caption(), "Settings");
    EXPECT_EQ(Dialog->BorderStyle(), bsDialog);
    EXPECT_EQ(Dialog->ClientWidth(), 400);
    EXPECT_EQ(Dialog->Color(), clBtnFace);
    ASSERT_NE(Dialog->NameEdit, nullptr);
    EXPECT_EQ(Dialog->NameEdit->Text(), "Anna");
    EXPECT_EQ(Dialog->NameLabel->FocusControl, Dialog->NameEdit);
    EXPECT_EQ(Dialog->FastRadio->Parent(), Dialog->ModeGroup);
    EXPECT_TRUE(Dialog->FastRadio->Checked());
    EXPECT_EQ(Dialog->LanguageCombo->Items()->Count(), 2);
    EXPECT_EQ(Dialog->NotesMemo->Lines()->Get(1), "Second line");
    EXPECT_EQ(Dialog->OkButton->ModalResult(), mrOk);
    EXPECT_TRUE(Dialog->OkButton->Default());
    EXPECT_TRUE(Dialog->CancelButton->Cancel());
    EXPECT_EQ(Dialog->OkButton->Caption(), "OK");
    // The bottom panel is aligned to the client area of the dialog.
    EXPECT_EQ(Dialog->ButtonPanel->Top(), 300 - 41);
    EXPECT_EQ(Dialog->ButtonPanel->Width(), 400);
    // Controls of the form, in the order of the file.
    ASSERT_EQ(Dialog->ControlCount(), 7);
    EXPECT_EQ(Dialog->Controls(0), Dialog->NameLabel);
    EXPECT_EQ(Dialog->Controls(6), Dialog->ButtonPanel);
    // Their widgets appear with the form.
    EXPECT_FALSE(Dialog->HandleAllocated());
    Dialog->HandleNeeded();
    ASSERT_NE(Dialog->OkButton->Widget(), nullptr);
    EXPECT_EQ(Dialog->OkButton->Widget()->parentWidget(), Dialog->ButtonPanel->Widget());
}

TEST_F(StreamTest, DialogStreamsBackUnchanged) {
    TFormResource Resource("TSettingsDialog", SettingsDialogText);
    std::unique_ptr<TSettingsDialog> Dialog(TCustomForm::Create<TSettingsDialog>(nullptr));
    EXPECT_EQ(FormText(Dialog.get()), SettingsDialogText);
    // Also once its windows exist.
    Dialog->HandleNeeded();
    EXPECT_EQ(FormText(Dialog.get()), SettingsDialogText);
}

TEST_F(StreamTest, EveryControlClassStreamsItsChangedProperties) {
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Panel = new TPanel(&Form);
    Panel->SetName("Panel1");
    Panel->SetParent(&Form);
    Panel->SetCaption("Heading");
    Panel->SetAlign(alTop);
    auto* Label = new TLabel(&Form);
    Label->SetName("Label1");
    Label->SetParent(Panel);
    Label->SetWordWrap(true);
    Label->Font()->SetStyle(TFontStyles{fsBold});
    auto* List = new TListBox(&Form);
    List->SetName("List1");
    List->SetParent(&Form);
    List->Items()->Add("One");
    List->SetSorted(true);
    auto* Image = new TImage(&Form);
    Image->SetName("Image1");
    Image->SetParent(&Form);
    Image->Picture()->Icon()->LoadSystemIcon(IDI_QUESTION);
    auto* Button = new TBitBtn(&Form);
    Button->SetName("Button1");
    Button->SetParent(&Form);
    Button->SetKind(bkHelp);
    Button->SetCaption("More &help");

    const String Text = FormText(&Form);
    TForm Copy(nullptr);
    // Read into a fresh root: the panel, label, list, image and button come back.
    {
        TMemoryStream Binary;
        Binary.WriteComponent(&Form);
        Binary.SetPosition(0);
        Binary.ReadComponent(&Copy);
    }
    EXPECT_EQ(FormText(&Copy), Text);
    auto* CopiedLabel = dynamic_cast<TLabel*>(Copy.FindComponent("Label1"));
    ASSERT_NE(CopiedLabel, nullptr);
    EXPECT_TRUE(CopiedLabel->WordWrap());
    EXPECT_TRUE(CopiedLabel->Font()->Style().Contains(fsBold));
    EXPECT_FALSE(CopiedLabel->ParentFont());
    EXPECT_EQ(CopiedLabel->Parent()->Name(), "Panel1");
    auto* CopiedImage = dynamic_cast<TImage*>(Copy.FindComponent("Image1"));
    ASSERT_NE(CopiedImage->Picture()->Graphic(), nullptr);
    EXPECT_EQ(CopiedImage->Picture()->Graphic()->Width(), 32);
    auto* CopiedButton = dynamic_cast<TBitBtn*>(Copy.FindComponent("Button1"));
    EXPECT_EQ(CopiedButton->Kind(), bkHelp);
    EXPECT_EQ(CopiedButton->Caption(), "More &help");
    EXPECT_THAT(Text, HasSubstr("Caption = 'More &help'"));
    EXPECT_THAT(Text, HasSubstr("Kind = bkHelp"));
    EXPECT_THAT(Text, HasSubstr("Sorted = True"));
}

TEST_F(StreamTest, ColoursAndCursorsStreamByName) {
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Edit = new TEdit(&Form);
    Edit->SetName("Edit1");
    Edit->SetParent(&Form);
    Edit->SetColor(clInfoBk);
    Edit->SetCursor(crHandPoint);
    auto* Label = new TLabel(&Form);
    Label->SetName("Label1");
    Label->SetParent(&Form);
    Label->SetColor(RGB(208, 224, 208));
    const String Text = FormText(&Form);
    EXPECT_THAT(Text, HasSubstr("Color = clInfoBk"));
    EXPECT_THAT(Text, HasSubstr("Cursor = crHandPoint"));
    EXPECT_THAT(Text, HasSubstr("Color = 13689040")); // no name: a number
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
}

TEST_F(StreamTest, BadFormFilesNameTheFormComponentAndProperty) {
    struct Case {
        const char* Text;
        const char* Message;
    };
    const Case Cases[] = {
        {"object BrokenForm: TBrokenForm\n  object X: TNoSuchControl\n  end\nend\n",
         "Form TBrokenForm: Error reading X: Class TNoSuchControl not found"},
        {"object BrokenForm: TBrokenForm\n  object B: TButton\n    Colour = clRed\n  end\nend\n",
         "Form TBrokenForm: Error reading B.Colour: Property Colour does not exist"},
        {"object BrokenForm: TBrokenForm\n  object B: TButton\n    Caption = 5\n  end\nend\n",
         "Form TBrokenForm: Error reading B.Caption: Invalid property value"},
        {"object BrokenForm: TBrokenForm\n  object B: TButton\n    Default = 'yes'\n  end\nend\n",
         "Form TBrokenForm: Error reading B.Default: Invalid property value"},
        {"object BrokenForm: TBrokenForm\n  object L: TLabel\n    Color = clPlaid\n  end\nend\n",
         "Form TBrokenForm: Error reading L.Color: Invalid property value"},
        {"object BrokenForm: TBrokenForm\n  object L: TLabel\n    Font.Size = 'big'\n  end\nend\n",
         "Form TBrokenForm: Error reading L.Font.Size: Invalid property value"},
        {"object BrokenForm: TBrokenForm\n  BorderStyle = bsRound\nend\n",
         "Form TBrokenForm: Error reading BrokenForm.BorderStyle: Invalid property value"},
    };
    for (const Case& C : Cases) {
        TFormResource Resource("TBrokenForm", C.Text);
        const Integer Before = Screen->FormCount();
        ExpectError<EReadError>([] { TCustomForm::Create<TBrokenForm>(nullptr); }, C.Message);
        EXPECT_EQ(TBrokenForm::Live, 0) << C.Text;
        EXPECT_EQ(Screen->FormCount(), Before) << C.Text;
    }
}

TEST_F(StreamTest, FormClassWithoutResourceRaises) {
    ExpectError<EResNotFound>([] { TCustomForm::Create<TBrokenForm>(nullptr); },
                              "Resource TBrokenForm not found");
    EXPECT_EQ(TBrokenForm::Live, 0);
    // TForm itself reads nothing.
    std::unique_ptr<TForm> Plain(TCustomForm::Create<TForm>(nullptr));
    EXPECT_EQ(Plain->ControlCount(), 0);
}

TEST_F(StreamTest, TranslatablePropertiesAreReachableByName) {
    // What the language component writes: Caption, Hint, Text and string lists.
    TFormResource Resource("TSettingsDialog", SettingsDialogText);
    std::unique_ptr<TSettingsDialog> Dialog(TCustomForm::Create<TSettingsDialog>(nullptr));
    Dialog->HandleNeeded();
    SetStrProp(Dialog.get(), GetPropInfo(Dialog.get(), "Caption"), "Einstellungen");
    SetStrProp(Dialog->NameLabel, GetPropInfo(Dialog->NameLabel, "Caption"), "&Name (de):");
    SetStrProp(Dialog->NameLabel, GetPropInfo(Dialog->NameLabel, "Hint"), "Ihr Name");
    SetStrProp(Dialog->NameEdit, GetPropInfo(Dialog->NameEdit, "Text"), "Anne");
    auto* Items = dynamic_cast<TStrings*>(
        GetObjectProp(Dialog->LanguageCombo, GetPropInfo(Dialog->LanguageCombo, "Items")));
    auto* Lines = dynamic_cast<TStrings*>(
        GetObjectProp(Dialog->NotesMemo, GetPropInfo(Dialog->NotesMemo, "Lines")));
    ASSERT_NE(Items, nullptr);
    ASSERT_NE(Lines, nullptr);
    Items->SetText("Englisch\r\nDeutsch\r\n");
    Lines->SetText("Erste Zeile\r\n");
    EXPECT_EQ(FromQString(Dialog->Widget()->windowTitle()), "Einstellungen");
    EXPECT_EQ(StripAccelChars(Dialog->NameLabel->Caption()), "Name (de):");
    EXPECT_EQ(FromQString(static_cast<QLineEdit*>(Dialog->NameEdit->Widget())->text()), "Anne");
    auto* Combo = static_cast<QComboBox*>(Dialog->LanguageCombo->Widget());
    EXPECT_EQ(FromQString(Combo->itemText(0)), "Englisch");
    EXPECT_EQ(FromQString(static_cast<QPlainTextEdit*>(Dialog->NotesMemo->Widget())->toPlainText()),
              "Erste Zeile");
    EXPECT_EQ(PropType(Dialog->NameLabel, "Caption"), tkLString);
    EXPECT_EQ(PropType(Dialog->NameEdit, "Text"), tkLString);
    EXPECT_EQ(PropType(Dialog->LanguageCombo, "Items"), tkClass);
}

TEST_F(StreamTest, DialogScreenshotForAPersonToLookAt) {
    // Written below the test folder ($ORLO_TEST_TMP/screenshots), kept after the run.
    TFormResource Resource("TSettingsDialog", SettingsDialogText);
    std::unique_ptr<TSettingsDialog> Dialog(TCustomForm::Create<TSettingsDialog>(nullptr));
    const char* Base = std::getenv("ORLO_TEST_TMP");
    const String Folder = String(Base ? Base : "/tmp") + "/screenshots";
    std::filesystem::create_directories(Folder);
    Dialog->Show();
    EXPECT_EQ(Dialog->Shown, 1);
    EXPECT_EQ(Dialog->Activated, 1);
    EXPECT_EQ(Dialog->ActiveControl(), Dialog->NameEdit); // the first control in tab order
    SaveScreenshot(Dialog.get(), Folder + "/settings-dialog.png");
    const QImage Image(ToQString(Folder + "/settings-dialog.png"));
    ASSERT_EQ(Image.size(), QSize(400, 300));
    // Not a blank picture: the controls drew something.
    std::set<QRgb> Colours;
    for (int Y = 0; Y < Image.height(); Y += 4)
        for (int X = 0; X < Image.width(); X += 4)
            Colours.insert(Image.pixel(X, Y));
    EXPECT_GT(Colours.size(), 3u);
}

// A data module with a non-visual component and its own events.
class TToolModule : public TDataModule {
    ORLO_CLASS(TToolModule, TDataModule)
public:
    explicit TToolModule(TComponent* AOwner) : TDataModule(AOwner) {}
    TOpenDialog* OpenDialog1 = nullptr;
    std::vector<String>* Log = nullptr;
    void ModuleCreate(TObject*) { Created = true; }
    void ModuleDestroy(TObject*) {
        if (Log)
            Log->push_back(OpenDialog1 ? OpenDialog1->Filter : String("gone"));
    }
    bool Created = false;
};

ORLO_PUBLISHED(TToolModule, "StreamTest") {
    P.Field("OpenDialog1", &TToolModule::OpenDialog1);
    P.Method<&TToolModule::ModuleCreate>("ModuleCreate");
    P.Method<&TToolModule::ModuleDestroy>("ModuleDestroy");
}

const char* const ToolModuleText = R"(object ToolModule: TToolModule
  OldCreateOrder = False
  OnCreate = ModuleCreate
  OnDestroy = ModuleDestroy
  Left = 285
  Top = 161
  Height = 479
  Width = 741
  object OpenDialog1: TOpenDialog
    Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
    Left = 16
    Top = 8
  end
end
)";

TEST_F(StreamTest, DataModuleReadsItsResourceAndRunsOnDestroyWhileWhole) {
    TFormResource Resource("TToolModule", ToolModuleText);
    std::vector<String> Log;
    {
        TComponent Owner(nullptr);
        auto* Module = TDataModule::Create<TToolModule>(&Owner);
        EXPECT_TRUE(Module->Created);
        ASSERT_NE(Module->OpenDialog1, nullptr);
        EXPECT_EQ(ParseFilter(Module->OpenDialog1->Filter).size(), 2u);
        EXPECT_EQ(Module->DesignSize.X, 741);
        EXPECT_EQ(FormText(Module), ToolModuleText);
        Module->Log = &Log;
    } // the owner frees the module: OnDestroy sees its components
    EXPECT_EQ(Log, std::vector<String>{"Text files (*.txt)|*.txt|All files (*.*)|*.*"});
}

} // namespace
} // namespace orlo::test
