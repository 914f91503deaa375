// Help files, the help window and the ways of asking for help: contexts,
// F1, help buttons, the runner's recorded requests, and bad help files.

#include "platform/forms/Help.h"
#include "platform/forms/ModalScript.h"
#include "platform/os/FilePaths.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/forms/HelpFolder.h"
#include "tests/os/EnvironmentScope.h"
#include "tests/rtl/ExpectError.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTextBrowser>

#include <sys/stat.h>

namespace orlo::test {
namespace {

// A help folder and a fresh help window for every test.
class HelpTest : public FormsTest {
protected:
    void TearDown() override { Application->OnHelp = THelpEvent(); }
    void Write(const String& Name, const String& Content) const { Temp.Write(Name, Content); }
    static THelpBrowser* Browser() { return HelpWindow()->Browser; }

    TEnvironmentScope English{{"ORLO_LANG", "en"}};
    THelpFolder Temp;
};

TEST_F(HelpTest, AContextShowsItsPageInTheLanguageOfTheHelpFile) {
    EXPECT_EQ(HelpWindow(), nullptr);
    EXPECT_TRUE(Application->HelpContext(100));
    THelpWindow* Window = HelpWindow();
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(Window->Visible());
    EXPECT_FALSE(Window->Modal());
    EXPECT_EQ(Window->Caption(), "Notes Help");
    EXPECT_EQ(Window->HelpFile(), Temp.File("Notes.hlp"));
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html"));
    EXPECT_EQ(Browser()->DocumentTitle(), "The editor");
    EXPECT_NE(Browser()->PlainText().find("Edit texts."), String::npos);
    SaveScreenshot(Window, ScreenshotFolder() + "/help-window-en.png");

    EXPECT_TRUE(Application->HelpContext(200));
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html") + "#keys");

    Application->HelpFile = Temp.File("NotesGer.hlp");
    EXPECT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(HelpWindow(), Window) << "a second help window";
    EXPECT_EQ(Window->Caption(), "Notizen-Hilfe");
    EXPECT_EQ(Browser()->Source(), Temp.File("de/editor.html"));
    EXPECT_NE(Browser()->PlainText().find("Texte bearbeiten."), String::npos);
    SaveScreenshot(Window, ScreenshotFolder() + "/help-window-de.png");
}

TEST_F(HelpTest, TheWindowSpeaksTheUsersLanguage) {
    TEnvironmentScope German{{"ORLO_LANG", "de"}};
    Write("Untitled.hlp", "[Map]\n1=en/index.html\n");
    Application->HelpFile = Temp.File("Untitled.hlp");
    ASSERT_TRUE(Application->HelpContext(1));
    EXPECT_EQ(HelpWindow()->Caption(), "Hilfe") << "a help file without a title";
    EXPECT_EQ(HelpWindow()->BackButton->Caption(), "< &Zurück");
    EXPECT_EQ(HelpWindow()->ContentsButton->Caption(), "&Inhalt");
    EXPECT_FALSE(HelpWindow()->ContentsButton->Enabled()) << "no contents page to go to";
}

// Clicks the link whose text is Text in the page shown, as a mouse does.
void ClickLink(THelpBrowser* Browser, const QString& Text) {
    auto* View = static_cast<QTextBrowser*>(Browser->Handle());
    QTextCursor Found = View->document()->find(Text);
    ASSERT_FALSE(Found.isNull()) << Text.toStdString();
    Found.setPosition(Found.selectionStart() + 1);
    const QPoint At = View->cursorRect(Found).center();
    QWidget* Viewport = View->viewport();
    for (QEvent::Type Type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent Event(Type, At, Viewport->mapToGlobal(At), Qt::LeftButton,
                          Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Viewport, &Event);
    }
}

TEST_F(HelpTest, LinksBackForwardAndContents) {
    ASSERT_TRUE(Application->HelpCommand(HELP_CONTENTS, 0));
    THelpWindow* Window = HelpWindow();
    EXPECT_EQ(Browser()->Source(), Temp.File("en/index.html"));
    EXPECT_FALSE(Window->BackButton->Enabled());
    EXPECT_FALSE(Window->ForwardButton->Enabled());

    ClickLink(Browser(), "The editor");
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html"));
    EXPECT_TRUE(Window->BackButton->Enabled());
    Window->BackButton->Click();
    EXPECT_EQ(Browser()->Source(), Temp.File("en/index.html"));
    EXPECT_TRUE(Window->ForwardButton->Enabled());
    Window->ForwardButton->Click();
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html"));
    EXPECT_FALSE(Window->ForwardButton->Enabled());
    Window->ContentsButton->Click();
    EXPECT_EQ(Browser()->Source(), Temp.File("en/index.html"));

    // A link to a page that is not there says so in the page area.
    Browser()->FollowLink("nowhere.html");
    EXPECT_EQ(Browser()->Source(), Temp.File("en/nowhere.html"));
    EXPECT_EQ(Browser()->DocumentTitle(), "Page not found");
    EXPECT_NE(Browser()->PlainText().find(Temp.File("en/nowhere.html")), String::npos);

    EXPECT_TRUE(Application->HelpCommand(HELP_FINDER, 0));
    EXPECT_EQ(Browser()->Source(), Temp.File("en/index.html"));
    EXPECT_TRUE(Application->HelpCommand(HELP_QUIT, 0));
    EXPECT_FALSE(Window->Visible());
    EXPECT_FALSE(Application->HelpCommand(42, 0)) << "an unknown command reported as done";
    EXPECT_TRUE(Application->HelpContext(100));
    EXPECT_TRUE(Window->Visible());
}

TEST_F(HelpTest, BadHelpFilesAndMissingTopicsAreClearErrors) {
    const String File = Temp.File("Bad.hlp");
    const struct {
        const char* Content;
        const char* Message; // %s: the help file
    } Cases[] = {
        {"Title=x\n", "Help file \"%s\", line 1: text outside a section"},
        {"[Map\n", "Help file \"%s\", line 1: ']' expected"},
        {"\xEF\xBB\xBF; c\r\n[Map]\r\n\r\nten=a.html\r\n",
         "Help file \"%s\", line 4: context \"ten\" is not a number"},
        {"[Map]\n100=\n", "Help file \"%s\", line 2: no page for context 100"},
        {"[map]\n1=a.html\n# again\n1=b.html\n",
         "Help file \"%s\", line 4: context 1 is mapped twice"},
        {"[Map]\rjust text\r", "Help file \"%s\", line 2: '=' expected"},
        {"[Map]\n100=en/editor.html\n", "Help file \"%s\" has no topic for context 555"},
        {"[Other]\n555=en/editor.html\n", "Help file \"%s\" has no topic for context 555"},
        {"[Map]\n555=en/gone.html\n", "Help page \"en/gone.html\" of help file \"%s\" not found"},
        {"[Map]\n555=en\n", "Help page \"en\" of help file \"%s\" not found"}, // a folder
    };
    Application->HelpFile = File;
    for (const auto& Case : Cases) {
        Write("Bad.hlp", Case.Content);
        ExpectError<EHelpError>([] { Application->HelpContext(555); }, Format(Case.Message, File));
    }
    EXPECT_EQ(HelpWindow(), nullptr) << "a window for a help file that gives no page";

    Application->HelpFile = Temp.File("Notes.hlp");
    ExpectError<EHelpError>([] { Application->HelpContext(300); },
                            "Help page \"en/gone.html\" of help file \"" + Temp.File("Notes.hlp") +
                                "\" not found");
    Application->HelpFile = Temp.File("Missing.hlp");
    ExpectError<EHelpError>([] { Application->HelpContext(100); },
                            "Help file \"" + Temp.File("Missing.hlp") + "\" not found");
    // Nothing but a regular file is read: a pipe would never end.
    const String Pipe = Temp.File("Pipe.hlp");
    ASSERT_EQ(mkfifo(Pipe.c_str(), 0600), 0);
    for (const String& NoFile : {Temp.Path(), Pipe}) {
        Application->HelpFile = NoFile;
        ExpectError<EHelpError>([] { Application->HelpContext(100); },
                                "Help file \"" + NoFile + "\" not found");
    }
    Write("NoContents.hlp", "[Map]\n100=en/editor.html\n");
    Application->HelpFile = Temp.File("NoContents.hlp");
    ExpectError<EHelpError>([] { Application->HelpCommand(HELP_CONTENTS, 0); },
                            "Help file \"" + Temp.File("NoContents.hlp") +
                                "\" has no contents page");
    EXPECT_EQ(HelpWindow(), nullptr);

    Application->HelpFile.clear();
    EXPECT_FALSE(Application->HelpContext(100)) << "help without a help file";
    EXPECT_EQ(HelpWindow(), nullptr);
}

TEST_F(HelpTest, HelpFileNamesThatAreNotCompleteLieBesideTheProgram) {
    EXPECT_EQ(HelpFilePath("Notes.hlp"), ExtractFilePath(ApplicationFileName()) + "Notes.hlp");
    EXPECT_EQ(HelpFilePath(" help/Notes.hlp "),
              ExtractFilePath(ApplicationFileName()) + "help/Notes.hlp");
    EXPECT_EQ(HelpFilePath("/opt/notes/Notes.hlp"), "/opt/notes/Notes.hlp");
    EXPECT_EQ(HelpFilePath(""), "");
}

// A form with a panel holding an edit, as help contexts are usually set.
struct THelpForm {
    THelpForm() {
        Form.SetName("HelpForm");
        Panel->SetParent(&Form);
        Edit->SetParent(Panel);
        Other->SetParent(&Form);
        Other->SetTop(100);
    }
    TForm Form{nullptr};
    TPanel* Panel = new TPanel(&Form);
    TEdit* Edit = new TEdit(&Form);
    TEdit* Other = new TEdit(&Form);
};

TEST_F(HelpTest, F1AsksAtTheFocusedControlItsParentsAndTheForm) {
    THelpForm F;
    F.Panel->SetHelpContext(200);
    F.Form.SetHelpContext(100);
    F.Form.Show();
    F.Form.FocusControl(F.Edit);
    F.Form.PressKey(VK_F1);
    ASSERT_NE(HelpWindow(), nullptr);
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html") + "#keys");

    F.Form.FocusControl(F.Other);
    F.Form.PressKey(VK_F1);
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html"));

    // The active form's own help file comes first.
    F.Form.HelpFile = Temp.File("NotesGer.hlp");
    F.Form.Hide();
    F.Form.Show(); // active again, as when the user comes back from the help
    EXPECT_EQ(Application->CurrentHelpFile(), Temp.File("NotesGer.hlp"));
    F.Form.FocusControl(F.Edit);
    F.Form.PressKey(VK_F1);
    EXPECT_EQ(Browser()->Source(), Temp.File("de/editor.html") + "#keys");
}

TEST_F(HelpTest, RecordedRequestsReachTheWindowOnlyWhenAsked) {
    TModalScript Script;
    EXPECT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(HelpWindow(), nullptr) << "the recording showed help";
    Application->HelpFile = Temp.File("Missing.hlp");
    EXPECT_TRUE(Application->HelpContext(100)) << "a recorded request is taken as done";

    Application->HelpFile = Temp.File("Notes.hlp");
    Script.ShowHelp();
    THelpForm F;
    auto* Help = new TBitBtn(&F.Form);
    Help->SetParent(&F.Form);
    Help->SetKind(bkHelp);
    Help->SetHelpContext(200);
    Script.Answer([&](TCustomForm* Form) {
        Help->Click();
        EXPECT_EQ(Form->ModalResult(), mrNone);
        ASSERT_NE(HelpWindow(), nullptr);
        EXPECT_TRUE(HelpWindow()->Visible());
        EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html") + "#keys");
        Form->SetModalResult(mrCancel);
    });
    EXPECT_EQ(F.Form.ShowModal(), mrCancel);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 3u);
    EXPECT_EQ(Script.Log().HelpRequests[1].HelpFile, Temp.File("Missing.hlp"));
    EXPECT_EQ(Script.Log().HelpRequests[2].Data, 200);
}

TEST_F(HelpTest, HelpFromAModalFormIsUsableAboveItAndIndependentAfterwards) {
    TModalScript Script;
    Script.ShowHelp();
    TForm Dialog(nullptr);
    Dialog.SetName("Dialog");
    Script.Answer([&](TCustomForm* Form) {
        ASSERT_TRUE(Application->HelpContext(100));
        EXPECT_EQ(HelpWindow()->Handle()->windowModality(), Qt::ApplicationModal);
        EXPECT_TRUE(HelpWindow()->Visible());
        ASSERT_TRUE(Application->HelpContext(200)); // asked again from the same dialog
        Form->SetModalResult(mrOk);
    });
    EXPECT_EQ(Dialog.ShowModal(), mrOk);
    EXPECT_EQ(HelpWindow()->Handle()->windowModality(), Qt::NonModal)
        << "the help window blocks the program after the dialog closed";
    EXPECT_TRUE(HelpWindow()->Visible());
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html") + "#keys");
}

TEST_F(HelpTest, AHelpHandlerMayFreeTheFormThatAsked) {
    auto* Form = new THelpForm;
    Form->Edit->SetHelpContext(100);
    struct THandler {
        THelpForm* Form;
        bool Help(Word, Integer, bool&) {
            delete Form;
            Form = nullptr;
            return true; // CallHelp stays set: the window shows the page
        }
    } Handler{Form};
    Application->OnHelp = THelpEvent::Make<&THandler::Help>(&Handler);
    Form->Form.Show();
    Form->Form.FocusControl(Form->Edit);
    Form->Form.PressKey(VK_F1);
    EXPECT_EQ(Handler.Form, nullptr);
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html"));
}

TEST_F(HelpTest, OnHelpCanTakeTheRequestOver) {
    struct THandler {
        std::vector<Integer> Seen;
        bool Show = false;
        bool Help(Word, Integer Data, bool& CallHelp) {
            Seen.push_back(Data);
            CallHelp = Show;
            return true;
        }
    } Handler;
    Application->OnHelp = THelpEvent::Make<&THandler::Help>(&Handler);
    EXPECT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(HelpWindow(), nullptr);
    Handler.Show = true;
    EXPECT_TRUE(Application->HelpContext(200));
    EXPECT_NE(HelpWindow(), nullptr);
    EXPECT_EQ(Handler.Seen, (std::vector<Integer>{100, 200}));
}

TEST_F(HelpTest, AFreedHelpWindowIsMadeAgain) {
    ASSERT_TRUE(Application->HelpContext(100));
    HelpWindow()->Free();
    EXPECT_EQ(HelpWindow(), nullptr);
    ASSERT_TRUE(Application->HelpContext(200));
    EXPECT_EQ(Browser()->Source(), Temp.File("en/editor.html") + "#keys");

    // Closed by its close box, it hides and comes back for the next request.
    THelpWindow* Window = HelpWindow();
    Window->SystemClose();
    EXPECT_FALSE(Window->Visible());
    ASSERT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(HelpWindow(), Window);
    EXPECT_TRUE(Window->Visible());
}

} // namespace
} // namespace orlo::test
