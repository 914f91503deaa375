// File dialogs and the folder browser, answered through the modal runner.

#include "platform/forms/Dialogs.h"
#include "platform/forms/ModalScript.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/os/EnvironmentScope.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"

#include <QWidget>

#include <filesystem>

namespace orlo::test {
namespace {

class DialogsTest : public FormsTest {};

// Records a common dialog's show and close notifications.
struct TDialogEvents {
    explicit TDialogEvents(TCommonDialog& Dialog) {
        Dialog.OnShow = TNotifyEvent::Make<&TDialogEvents::Shown>(this);
        Dialog.OnClose = TNotifyEvent::Make<&TDialogEvents::Closed>(this);
    }
    void Shown(TObject*) { Log.push_back("show"); }
    void Closed(TObject*) { Log.push_back("close"); }
    std::vector<String> Log;
};

TEST_F(DialogsTest, FilterTextsSplitIntoDescriptionsAndMasks) {
    const auto Filters = ParseFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    ASSERT_EQ(Filters.size(), 2u);
    EXPECT_EQ(Filters[0].Description, "Text files (*.txt)");
    EXPECT_EQ(Filters[1].Masks, "*.*");
    EXPECT_EQ(QtFilterText(ParseFilter("Sources|*.cpp;*.h")), "Sources (*.cpp *.h)");
    EXPECT_TRUE(ParseFilter("").empty());
    EXPECT_TRUE(ParseFilter("no masks").empty());
}

TEST_F(DialogsTest, OpenAndSaveDialogsAnswerThroughTheRunner) {
    TOpenDialog Open(nullptr);
    Open.Filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    Open.DefaultExt = "txt";
    Open.InitialDir = "/data";
    TDialogEvents Events(Open);
    TModalScript Script;
    Script.Answer([](TCustomForm* Box) {
        EXPECT_EQ(Box->Name(), "OpenDialog");
        auto* Name = dynamic_cast<TEdit*>(FindControl(Box, "FileName"));
        ASSERT_NE(Name, nullptr);
        EXPECT_EQ(Name->Text(), "/data");
        Name->SetText("/data/notes");
        dynamic_cast<TComboBox*>(FindControl(Box, "Filter"))->UserSelect(1);
        Box->PressKey(VK_RETURN);
    });
    EXPECT_TRUE(Open.Execute());
    EXPECT_EQ(Open.FileName, "/data/notes.txt");
    EXPECT_EQ(Open.FilterIndex, 2);
    EXPECT_EQ(Open.Files()->Count(), 1);
    EXPECT_EQ(Events.Log, (std::vector<String>{"show", "close"}));

    TSaveDialog Save(nullptr);
    Script.Click("Cancel");
    EXPECT_FALSE(Save.Execute());
    EXPECT_EQ(Script.Shown().back(), "SaveDialog");
    EXPECT_EQ(Save.FileName, "");
}

TEST_F(DialogsTest, FolderBrowserCallbacksStatusAndOkButton) {
    TTempFolder Temp;
    std::filesystem::create_directories(Temp.File("a/b"));
    TFolderBrowser Browser(nullptr);
    Browser.SetCaption("Choose a folder");
    Browser.SetTitle("Where should the files go?");
    Browser.SetRoot(Temp.Path());
    struct TInstaller {
        TFolderBrowser* Browser;
        std::vector<String> Seen;
        void Initialized(TObject* Sender) {
            EXPECT_EQ(Sender, Browser);
            Browser->SetStatusText("Pick one");
            Browser->SetSelection(Browser->Root() + "/a");
        }
        void Changed(TObject*) {
            Seen.push_back(Browser->Selection());
            Browser->EnableOK(!Browser->Selection().empty());
        }
    } Installer{&Browser, {}};
    Browser.OnInitialized = TNotifyEvent::Make<&TInstaller::Initialized>(&Installer);
    Browser.OnSelectionChange = TNotifyEvent::Make<&TInstaller::Changed>(&Installer);
    TModalScript Script;
    Script.Answer([&](TCustomForm* Form) {
        EXPECT_EQ(Form, &Browser);
        EXPECT_TRUE(Browser.Visible());
        EXPECT_EQ(Browser.StatusText(), "Pick one");
        EXPECT_EQ(Browser.Left(), (Screen->Width() - Browser.Width()) / 2);
        Browser.SetSelection("");
        EXPECT_FALSE(Browser.OKEnabled());
        Browser.PressKey(VK_RETURN); // the default button is disabled: nothing happens
        EXPECT_EQ(Browser.ModalResult(), mrNone);
        Browser.SetSelection(Temp.File("a/b"));
        SaveScreenshot(&Browser, Temp.File("browser.png"));
        Browser.PressKey(VK_RETURN);
    });
    EXPECT_TRUE(Browser.Execute());
    EXPECT_EQ(Browser.Selection(), Temp.File("a/b"));
    EXPECT_EQ(Installer.Seen, (std::vector<String>{Temp.File("a"), "", Temp.File("a/b")}));
    EXPECT_TRUE(std::filesystem::file_size(Temp.File("browser.png")) > 0);
    // The tree shows the selection.
    ASSERT_TRUE(Browser.Tree->HandleAllocated());
    Script.Click("Cancel");
    EXPECT_FALSE(Browser.Execute());
}

TEST_F(DialogsTest, TaskWindowsAreDisabledAndEnabledAgain) {
    TForm Main(nullptr);
    Main.Show();
    TForm Other(nullptr);
    Other.Show();
    {
        TTaskWindowsDisabled Disabled(&Other);
        EXPECT_FALSE(Main.Widget()->isEnabled());
        EXPECT_TRUE(Other.Widget()->isEnabled());
    }
    EXPECT_TRUE(Main.Widget()->isEnabled());
    // A window freed meanwhile is simply left out.
    auto* Doomed = new TForm(nullptr);
    Doomed->Show();
    {
        TTaskWindowsDisabled Disabled(nullptr);
        delete Doomed;
    }
    EXPECT_TRUE(Main.Widget()->isEnabled());
}

TEST_F(DialogsTest, SpecialFoldersMapToThisPlatform) {
    EXPECT_EQ(SpecialFolderPath(17), "/");
    EXPECT_FALSE(SpecialFolderPath(0).empty());
    EXPECT_FALSE(SpecialFolderPath(99).empty());
}

// --- Font dialog ---------------------------------------------------------------

template <class C> C* Find(TCustomForm* Form, const String& Name) {
    auto* Control = dynamic_cast<C*>(FindControl(Form, Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

class FontDialogTest : public FormsTest {
protected:
    FontDialogTest() {
        Dialog.Font()->SetName("Arial");
        Dialog.Font()->SetSize(10);
        Dialog.Font()->SetStyle(TFontStyles{fsBold});
        Dialog.Font()->SetColor(clRed);
        Dialog.Font()->SetCharset(ANSI_CHARSET);
    }
    // English texts whatever the user's locale.
    TEnvironmentScope English{{"ORLO_LANG", "en"}};
    TFontDialog Dialog{nullptr};
    TModalScript Script;
};

TEST_F(FontDialogTest, FontGoesInAndComesOutChanged) {
    TDialogEvents Events(Dialog);
    Script.Answer([](TCustomForm* Form) {
        EXPECT_EQ(Form->Caption(), "Font");
        EXPECT_EQ(Find<TComboBox>(Form, "FontName")->Text(), "Arial");
        EXPECT_EQ(Find<TEdit>(Form, "FontSize")->Text(), "10");
        EXPECT_TRUE(Find<TCheckBox>(Form, "Bold")->Checked());
        EXPECT_FALSE(Find<TCheckBox>(Form, "Italic")->Checked());
        EXPECT_EQ(FindControl(Form, "Help"), nullptr) << "help without fdShowHelp";
        Find<TComboBox>(Form, "FontName")->SetText("Courier New");
        Find<TEdit>(Form, "FontSize")->SetText(" 14 ");
        Find<TCheckBox>(Form, "Bold")->SetChecked(false);
        Find<TCheckBox>(Form, "Italic")->SetChecked(true);
        Find<TCheckBox>(Form, "Underline")->SetChecked(true);
        // The sample shows the font before it is confirmed.
        EXPECT_EQ(Find<TLabel>(Form, "Sample")->Font()->Name(), "Courier New");
        EXPECT_EQ(Find<TLabel>(Form, "Sample")->Font()->Size(), 14);
        SaveScreenshot(Form, ScreenshotFolder() + "/font-dialog-en.png");
        Form->PressKey(VK_RETURN);
    });
    EXPECT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.Font()->Name(), "Courier New");
    EXPECT_EQ(Dialog.Font()->Size(), 14);
    EXPECT_EQ(Dialog.Font()->Style(), (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_EQ(Dialog.Font()->Color(), clRed) << "the colour is not the dialog's to change";
    EXPECT_EQ(Dialog.Font()->Charset(), ANSI_CHARSET);
    EXPECT_EQ(Events.Log, (std::vector<String>{"show", "close"}));
    EXPECT_EQ(Script.Shown(), (std::vector<String>{"FontDialog"}));
}

TEST_F(FontDialogTest, CancelAndTheCloseBoxLeaveTheFont) {
    TFont Before;
    Before.Assign(Dialog.Font());
    auto ChangeEverything = [](TCustomForm* Form) {
        Find<TComboBox>(Form, "FontName")->SetText("Courier New");
        Find<TEdit>(Form, "FontSize")->SetText("30");
        Find<TCheckBox>(Form, "StrikeOut")->SetChecked(true);
    };
    Script
        .Answer([&](TCustomForm* Form) {
            ChangeEverything(Form);
            FindControl(Form, "Cancel")->Click();
        })
        .Answer([&](TCustomForm* Form) {
            ChangeEverything(Form);
            Form->PressKey(VK_ESCAPE);
        })
        .Answer([&](TCustomForm* Form) {
            ChangeEverything(Form);
            Form->SystemClose();
        });
    for (int Round = 0; Round < 3; ++Round) {
        EXPECT_FALSE(Dialog.Execute());
        EXPECT_TRUE(Dialog.Font()->Equals(Before)) << "round " << Round;
    }
}

TEST_F(FontDialogTest, ASizeOutOfRangeIsRefusedWithAMessageAndTheDialogStays) {
    Dialog.Options = TFontDialogOptions{fdEffects, fdLimitSize};
    Dialog.MinFontSize = 8;
    Dialog.MaxFontSize = 12;
    std::vector<String> Messages;
    auto TryOk = [](const char* Size) {
        return [Size](TCustomForm* Form) {
            Find<TEdit>(Form, "FontSize")->SetText(Size);
            FindControl(Form, "OK")->Click();
        };
    };
    auto Note = [&](TCustomForm* Box) {
        Messages.push_back(dynamic_cast<TLabel*>(FindControl(Box, "Message"))->Caption());
        FindControl(Box, "OK")->Click();
    };
    Script.Answer(TryOk("20"))
        .Answer(Note)
        .Answer(TryOk("abc"))
        .Answer(Note)
        .Answer(TryOk(""))
        .Answer(Note)
        .Answer(TryOk("12"));
    EXPECT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.Font()->Size(), 12);
    EXPECT_EQ(Messages, std::vector<String>(3, "Size must be a number between 8 and 12."));
    // Each refusal leaves the dialog open for the next round of the runner.
    EXPECT_EQ(Script.Shown(),
              (std::vector<String>{"FontDialog", "PlainMessageBox", "FontDialog", "PlainMessageBox",
                                   "FontDialog", "PlainMessageBox", "FontDialog"}));
    EXPECT_EQ(Dialog.SizeRange(), (std::pair<Integer, Integer>{8, 12}));
    Dialog.MaxFontSize = 4; // a range that is no range limits nothing
    EXPECT_EQ(Dialog.SizeRange(), (std::pair<Integer, Integer>{1, 1638}));
}

TEST_F(FontDialogTest, OptionsShowHelpAndHideTheEffects) {
    Dialog.Options = TFontDialogOptions{fdShowHelp, fdNoStyleSel};
    Dialog.HelpContext = 7100;
    Script.Answer([](TCustomForm* Form) {
        EXPECT_FALSE(Find<TCheckBox>(Form, "Underline")->Visible());
        EXPECT_FALSE(Find<TCheckBox>(Form, "StrikeOut")->Visible());
        EXPECT_FALSE(Find<TCheckBox>(Form, "Bold")->Enabled());
        FindControl(Form, "Help")->Click();
        EXPECT_EQ(Form->ModalResult(), mrNone) << "help closed the dialog";
        Form->PressKey(VK_RETURN);
    });
    EXPECT_TRUE(Dialog.Execute());
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 7100);
    EXPECT_EQ(Dialog.Font()->Style(), TFontStyles{fsBold}) << "a disabled style changed";
}

TEST_F(FontDialogTest, TextsFollowTheUsersLanguage) {
    TEnvironmentScope German{{"ORLO_LANG", "de_DE.UTF-8"}};
    Dialog.Options = TFontDialogOptions{fdEffects, fdShowHelp, fdLimitSize};
    Dialog.MinFontSize = 6;
    Dialog.MaxFontSize = 72;
    String Message;
    Script
        .Answer([](TCustomForm* Form) {
            EXPECT_EQ(Form->Caption(), "Schriftart");
            EXPECT_EQ(Find<TButton>(Form, "Cancel")->Caption(), "Abbrechen");
            EXPECT_EQ(Find<TButton>(Form, "Help")->Caption(), "&Hilfe");
            EXPECT_EQ(Find<TCheckBox>(Form, "Bold")->Caption(), "&Fett");
            SaveScreenshot(Form, ScreenshotFolder() + "/font-dialog-de.png");
            Find<TEdit>(Form, "FontSize")->SetText("100");
            FindControl(Form, "OK")->Click();
        })
        .Answer([&](TCustomForm* Box) {
            Message = dynamic_cast<TLabel*>(FindControl(Box, "Message"))->Caption();
            EXPECT_EQ(Box->Caption(), "Schriftart");
            FindControl(Box, "OK")->Click();
        })
        .Answer([](TCustomForm* Form) { FindControl(Form, "Cancel")->Click(); });
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_EQ(Message, "Der Grad muss eine Zahl zwischen 6 und 72 sein.");
}

TEST_F(FontDialogTest, AFailureWhileShowingStillSendsTheCloseNotification) {
    TDialogEvents Events(Dialog);
    ExpectError<EInvalidOperation>([&] { Dialog.Execute(); },
                                   "No answer for modal form FontDialog");
    EXPECT_EQ(Events.Log, (std::vector<String>{"show", "close"}));
}

// Handlers that free the dialog they belong to, while it runs.
struct TDialogFreer {
    TCommonDialog* Dialog;
    void Free(TObject*) {
        delete Dialog;
        Dialog = nullptr;
    }
    bool FreeOnHelp(Word, Integer, bool& CallHelp) {
        Free(nullptr);
        CallHelp = false;
        return true;
    }
};

TEST_F(FontDialogTest, AHandlerMayFreeTheDialogWhileItRuns) {
    TDialogFreer OnShow{new TFontDialog(nullptr)};
    OnShow.Dialog->OnShow = TNotifyEvent::Make<&TDialogFreer::Free>(&OnShow);
    EXPECT_FALSE(OnShow.Dialog->Execute());
    EXPECT_EQ(OnShow.Dialog, nullptr);
    EXPECT_EQ(Script.Shown().size(), 0u) << "a freed dialog showed";

    // A help handler frees the dialog while its form shows; OK then changes nothing freed.
    auto* Fonts = new TFontDialog(nullptr);
    Fonts->Options = TFontDialogOptions{fdShowHelp};
    TDialogFreer OnHelp{Fonts};
    Application->OnHelp = THelpEvent::Make<&TDialogFreer::FreeOnHelp>(&OnHelp);
    Script.ShowHelp().Answer([](TCustomForm* Form) {
        FindControl(Form, "Help")->Click();
        Find<TEdit>(Form, "FontSize")->SetText("12");
        FindControl(Form, "OK")->Click();
    });
    EXPECT_FALSE(Fonts->Execute());
    Application->OnHelp = THelpEvent();
    EXPECT_EQ(OnHelp.Dialog, nullptr);
}

TEST_F(FontDialogTest, AFontDialogOnAFormStreamsItsFont) {
    TForm Owner(nullptr);
    auto* Fonts = new TFontDialog(&Owner);
    Fonts->SetName("FontDialog1");
    Fonts->Font()->SetName("Courier New");
    Fonts->Options = TFontDialogOptions{fdEffects, fdLimitSize};
    Fonts->MaxFontSize = 20;
    const String Text = FormText(&Owner);
    EXPECT_NE(Text.find("Font.Name = 'Courier New'"), String::npos) << Text;
    EXPECT_NE(Text.find("MaxFontSize = 20"), String::npos) << Text;
    EXPECT_NE(Text.find("Options = [fdEffects, fdLimitSize]"), String::npos) << Text;
}

} // namespace
} // namespace orlo::test
