// File dialogs and the folder browser, answered through the modal runner.

#include "platform/forms/Dialogs.h"
#include "platform/forms/ModalScript.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"

#include <QWidget>

#include <filesystem>

namespace orlo::test {
namespace {

class DialogsTest : public FormsTest {};

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
    std::vector<String> Events;
    struct TLogger {
        std::vector<String>* Events;
        void Shown(TObject*) { Events->push_back("show"); }
        void Closed(TObject*) { Events->push_back("close"); }
    } Logger{&Events};
    Open.OnShow = TNotifyEvent::Make<&TLogger::Shown>(&Logger);
    Open.OnClose = TNotifyEvent::Make<&TLogger::Closed>(&Logger);
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
    EXPECT_EQ(Events, (std::vector<String>{"show", "close"}));

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

} // namespace
} // namespace orlo::test
