// Orlo Notes used the way a person uses it: keys and clicks go through the
// window system into the program's own event loop (no modal runner), from the
// first key press to the close box, and the next start finds what the last
// one kept.

#include "examples/windowed/NotesWindows.h"
#include "tests/os/FreshProcess.h"
#include "tests/os/TempFolder.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

namespace orlo::test {
namespace {

using example::TNotesForm;
using example::TSettingsDialog;

// --- The user's hands ----------------------------------------------------------------

QWindow* WindowOf(TWinControl* Control) {
    return Control->Handle()->window()->windowHandle();
}

// The window that takes the keyboard now: an open menu, else the active window.
QWindow* KeyboardWindow() {
    if (QWidget* Popup = QApplication::activePopupWidget())
        return Popup->windowHandle();
    return QGuiApplication::focusWindow();
}

void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QWindow* Window = KeyboardWindow();
    ASSERT_NE(Window, nullptr) << "no window has the keyboard";
    QTest::keyClick(Window, Key, Modifiers);
}

void TypeText(const char* Text) {
    for (const char* C = Text; *C; ++C) {
        QWindow* Window = KeyboardWindow();
        ASSERT_NE(Window, nullptr) << "no window has the keyboard";
        QTest::keyClick(Window, *C);
    }
}

// A left click at Where in Widget (its middle by default), delivered to its window.
void ClickAt(QWidget* Widget, std::optional<QPoint> Where = std::nullopt) {
    const QPoint Point = Where.value_or(Widget->rect().center());
    QTest::mouseClick(Widget->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      Widget->mapTo(Widget->window(), Point));
}

// Waits, as a person does, until the window system has activated the window
// of the form the program holds active.
void AwaitActivation() {
    for (Integer Round = 0; Round < 100; ++Round) {
        TCustomForm* Form = Screen->ActiveForm();
        if (!Form || QGuiApplication::focusWindow() == WindowOf(Form))
            return;
        QCoreApplication::processEvents();
    }
}

// The form of the innermost modal loop.
TCustomForm* ModalForm() {
    TCustomForm* Found = nullptr;
    for (Integer I = 0; I < Screen->FormCount(); ++I)
        if (TCustomForm* Form = Screen->Forms(I); Form->Visible() && Form->Modal())
            if (!Found || Form->Owner() == Found || Screen->ActiveForm() == Form)
                Found = Form;
    return Found;
}

using TModalStep = std::function<void(TCustomForm&)>;

// Runs the steps in the loops of the modal forms that Open brings up, one
// after the other, each once the window system has made its form the active
// window (as a person waits for it); fails when Open returns before every
// step ran. Each simulated key processes the pending events, so a step waits
// for a form it has not seen yet.
void WhileModal(const std::function<void()>& Open, std::vector<TModalStep> Steps) {
    TCustomForm* const Outer = ModalForm();
    size_t Done = 0;
    Integer Rounds = 0;
    QTimer Step;
    Step.setSingleShot(true);
    QObject::connect(&Step, &QTimer::timeout, [&] {
        TCustomForm* Form = ModalForm();
        if (!Form || Form == Outer || Form->Widget()->property("seenByUser").toBool() ||
            (QGuiApplication::focusWindow() != WindowOf(Form) && ++Rounds < 100)) {
            Step.start(0);
            return;
        }
        Form->Widget()->setProperty("seenByUser", true);
        Rounds = 0;
        EXPECT_EQ(QGuiApplication::focusWindow(), WindowOf(Form))
            << Form->Name() << " is not active";
        Steps[Done++](*Form);
        if (Done < Steps.size())
            Step.start(0);
    });
    Step.start(0);
    Open();
    // A button's accelerator clicks it a moment later (the button shows
    // itself pressed first): the user waits for the window.
    QDeadlineTimer Patience(5000);
    while (Done < Steps.size() && !Patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(Done, Steps.size()) << "fewer modal windows came up than expected";
    AwaitActivation();
}

void WhileModal(const std::function<void()>& Open, TModalStep Inside) {
    WhileModal(Open, std::vector<TModalStep>{std::move(Inside)});
}

// Fails when a message box comes up while Action runs, and answers it.
void ExpectNoBox(const std::function<void()>& Action) {
    QTimer Watch;
    QObject::connect(&Watch, &QTimer::timeout, [] {
        if (auto* Box = dynamic_cast<TMyMsgForm*>(ModalForm())) {
            ADD_FAILURE() << "a message box came up: " << Box->MsgLabel->Caption();
            Press(Qt::Key_Return);
        }
    });
    Watch.start(0);
    Action();
}

// The text a message box shows, or "" when Form is none.
String MessageOf(TCustomForm& Form) {
    auto* Box = dynamic_cast<TMyMsgForm*>(&Form);
    return Box ? Box->MsgLabel->Caption() : String();
}

// --- What the user sees -------------------------------------------------------------

template <class T> T* Part(TComponent* Owner, const char* Name) {
    auto* Found = dynamic_cast<T*>(Owner->FindComponent(Name));
    EXPECT_NE(Found, nullptr) << Name;
    return Found;
}

struct TLanguageLook {
    String Caption, FileMenu, SettingsItem, SettingsTool;
};

TLanguageLook LookOf(TNotesForm& Main) {
    return {Main.Caption(), Part<TMenuItem>(&Main, "FileMenu")->Caption(),
            Part<TMenuItem>(&Main, "SettingsItem")->Caption(),
            Part<TToolButton>(&Main, "SettingsTool")->Caption()};
}

// The first menu of the menu bar as the window system shows it.
String MenuBarFirst(TNotesForm& Main) {
    const QMenuBar* Bar = Main.MenuBar();
    return Bar && !Bar->actions().isEmpty() ? Bar->actions()[0]->text().toStdString() : "";
}

void ExpectLook(TNotesForm& Main, const TLanguageLook& Expected, const char* Language) {
    const TLanguageLook Seen = LookOf(Main);
    EXPECT_EQ(Main.Glossa->GetLanguage(), Language);
    EXPECT_EQ(Main.LanguageCombo->Text(), Language);
    EXPECT_EQ(Seen.Caption, Expected.Caption) << Language;
    EXPECT_EQ(Seen.FileMenu, Expected.FileMenu) << Language;
    EXPECT_EQ(MenuBarFirst(Main), Expected.FileMenu) << Language;
    EXPECT_EQ(Seen.SettingsItem, Expected.SettingsItem) << Language;
    EXPECT_EQ(Seen.SettingsTool, Expected.SettingsTool) << Language;
    EXPECT_EQ(Main.StatusBar->Panels()->Items(0)->Text(), Language);
}

// --- The live run --------------------------------------------------------------------

class NotesLiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        TNotesForm::ConfigFileName = Folder.File("windowed.cfg");
    }
    void TearDown() override { TNotesForm::ConfigFileName.clear(); }

    // Starts the demo as its main does and runs User inside its event loop; a
    // run still going long after is ended instead of hanging.
    void RunNotesWith(const std::function<void(TNotesForm&)>& User) {
        QTimer::singleShot(0, [&] {
            auto* Main = dynamic_cast<TNotesForm*>(Application->MainForm());
            ASSERT_NE(Main, nullptr);
            User(*Main);
        });
        QTimer Watchdog;
        Watchdog.setSingleShot(true);
        QObject::connect(&Watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "the live run was ended by the watchdog";
            Application->Terminate();
        });
        Watchdog.start(120000);
        example::RunNotes({"--config", TNotesForm::ConfigFileName});
    }

    TTempFolder Folder;
};

void PickLanguageWithTheKeyboard(TNotesForm& Main) {
    // Alt+L is the accelerator of the label in front of the combo box.
    Press(Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(Main.ActiveControl(), Main.LanguageCombo);
    // The list is sorted: Deutsch, English, Français.
    Press(Qt::Key_Up);
}

void PickLanguageWithTheMouse(TNotesForm& Main, const char* Language) {
    auto* Combo = qobject_cast<QComboBox*>(Main.LanguageCombo->Widget());
    ASSERT_NE(Combo, nullptr);
    ClickAt(Combo);
    QAbstractItemView* List = Combo->view();
    ASSERT_TRUE(List->isVisible()) << "the click did not open the list";
    const int Row = Combo->findText(QString::fromStdString(Language));
    ASSERT_GE(Row, 0) << Language;
    ClickAt(List->viewport(), List->visualRect(List->model()->index(Row, 0)).center());
    EXPECT_FALSE(List->isVisible());
}

void SwitchLanguages(TNotesForm& Main) {
    ExpectLook(Main, {"Orlo Notes", "&File", "&Settings...", "&Settings..."}, "English");
    PickLanguageWithTheKeyboard(Main);
    ExpectLook(Main, {"Orlo Notizen", "&Datei", "&Einstellungen...", "&Einstellungen..."},
               "Deutsch");
    Screenshot(&Main, "notes-live-deutsch");
    PickLanguageWithTheMouse(Main, "Français");
    ExpectLook(Main, {"Notes Orlo", "&Fichier", "&Réglages...", "&Réglages..."}, "Français");
}

// Settings through the menu with the keyboard: OK with Enter says so in a box;
// through the shortcut and the tool button's accelerator: Escape leaves
// without a word.
void ChangeSettings(TNotesForm& Main) {
    const String Saved = Main.Glossa->GetString("Saved");
    const auto TypeAndConfirm = [&](TCustomForm& Form) {
        auto* Dialog = dynamic_cast<TSettingsDialog*>(&Form);
        ASSERT_NE(Dialog, nullptr) << Form.Name();
        EXPECT_EQ(Dialog->ActiveControl(), Dialog->FolderCombo->ComboBox());
        // Away and back with the label's accelerator.
        Press(Qt::Key_Tab);
        EXPECT_EQ(Dialog->ActiveControl(), Dialog->FolderCombo->Button());
        Press(Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(Dialog->ActiveControl(), Dialog->FolderCombo->ComboBox());
        Press(Qt::Key_A, Qt::ControlModifier);
        TypeText("/srv/notes");
        EXPECT_EQ(Dialog->FolderCombo->ComboBox()->Text(), "/srv/notes");
        Screenshot(Dialog, "notes-live-settings");
        Press(Qt::Key_Return);
    };
    const auto SavedBox = [&](TCustomForm& Box) {
        EXPECT_EQ(MessageOf(Box), Saved);
        Press(Qt::Key_Return);
    };
    WhileModal(
        [] {
            Press(Qt::Key_F, Qt::AltModifier); // the File menu, its first item lit
            ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+F opened no menu";
            Press(Qt::Key_Down);
            Press(Qt::Key_Up);
            Press(Qt::Key_Return);
        },
        {TypeAndConfirm, SavedBox});
    EXPECT_EQ(ModalForm(), nullptr);
    const std::function<void()> Openers[] = {
        [] { Press(Qt::Key_F6); },
        [] { Press(Qt::Key_R, Qt::AltModifier); }, // the tool button "&Réglages..."
    };
    for (const auto& Open : Openers)
        ExpectNoBox([&] {
            WhileModal(Open, [](TCustomForm& Form) {
                ASSERT_NE(dynamic_cast<TSettingsDialog*>(&Form), nullptr) << Form.Name();
                TypeText("x");
                Press(Qt::Key_Escape);
            });
        });
    EXPECT_EQ(QGuiApplication::focusWindow(), WindowOf(&Main));
}

// Opens an item of the File menu the way a keyboard user does.
void FileMenuItem(Qt::Key Mnemonic) {
    Press(Qt::Key_F, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+F opened no menu";
    Press(Mnemonic);
}

// The named-strings window: opened by its shortcut, closed with Escape; opened
// from the menu, closed with the close box; opened with a click on its tool
// button.
void ShowNamedStrings(TNotesForm& Main) {
    Press(Qt::Key_T, Qt::ControlModifier);
    ASSERT_NE(Main.Strings, nullptr) << "Ctrl+T opened nothing";
    EXPECT_TRUE(Main.Strings->Visible());
    EXPECT_EQ(QGuiApplication::focusWindow(), WindowOf(Main.Strings));
    const TStringGrid* Grid = Main.Strings->Grid;
    EXPECT_EQ(Grid->Cells(1, 1), Main.Glossa->GetString(Grid->Cells(0, 1)));
    Screenshot(Main.Strings, "notes-live-strings");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Main.Strings->Visible());
    EXPECT_EQ(QGuiApplication::focusWindow(), WindowOf(&Main));

    FileMenuItem(Qt::Key_T); // "&Textes nommés"
    EXPECT_TRUE(Main.Strings->Visible());
    WindowOf(Main.Strings)->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Main.Strings->Visible());

    ClickAt(Part<TToolButton>(&Main, "StringsTool")->Widget()); // with the mouse
    EXPECT_TRUE(Main.Strings->Visible());
    AwaitActivation();
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Main.Strings->Visible());
}

// The picker of kept properties, from the menu: left with Escape, then with
// the close box.
void ShowPicker(TNotesForm&) {
    const std::function<void(TCustomForm&)> Answers[] = {
        [](TCustomForm&) { Press(Qt::Key_Escape); },
        [](TCustomForm& Picker) { WindowOf(&Picker)->close(); },
    };
    for (const auto& Answer : Answers)
        WhileModal([] { FileMenuItem(Qt::Key_P); }, // "&Propriétés conservées..."
                   [&](TCustomForm& Picker) {
                       EXPECT_NE(dynamic_cast<TComponentExplorerForm*>(&Picker), nullptr)
                           << Picker.Name();
                       Answer(Picker);
                   });
    EXPECT_EQ(ModalForm(), nullptr);
}

// The about box, from the Help menu and from the button's accelerator,
// answered with Enter.
void ShowAbout(TNotesForm& Main) {
    const String AboutText = Main.Glossa->GetString("AboutText");
    const std::function<void()> Openers[] = {
        [] {
            Press(Qt::Key_A, Qt::AltModifier); // "&Aide"
            Press(Qt::Key_Return);
        },
        [] { Press(Qt::Key_P, Qt::AltModifier); }, // "À &propos"
    };
    for (const auto& Open : Openers)
        WhileModal(Open, [&](TCustomForm& Box) {
            EXPECT_EQ(MessageOf(Box), AboutText);
            Press(Qt::Key_Return);
        });
    EXPECT_EQ(ModalForm(), nullptr);
}

// The window manager moves and sizes the window; the close box asks first:
// No keeps the window, Yes (from Alt+X this time) ends the run.
void CloseNotes(TNotesForm& Main, TRect& Placement) {
    const TRect Before = Main.BoundsRect();
    WindowOf(&Main)->setGeometry(QRect(40, 30, 600, 470));
    QCoreApplication::processEvents();
    Placement = Main.BoundsRect();
    EXPECT_NE(Placement, Before);
    EXPECT_EQ(Main.ClientWidth(), 600);
    const String Question = Main.Glossa->GetString("CloseQuestion");
    WhileModal([&] { WindowOf(&Main)->close(); }, // the close box
               [&](TCustomForm& Box) {
                   EXPECT_EQ(MessageOf(Box), Question);
                   Screenshot(&Box, "notes-live-close-question");
                   Press(Qt::Key_N, Qt::AltModifier);
               });
    EXPECT_TRUE(Main.Visible());
    EXPECT_FALSE(Application->Terminated());
    WhileModal([] { Press(Qt::Key_X, Qt::AltModifier); },
               [&](TCustomForm& Box) {
                   EXPECT_EQ(MessageOf(Box), Question);
                   Press(Qt::Key_Return);
               });
    EXPECT_FALSE(Main.Visible());
}

String FileText(const String& Name) {
    std::ifstream File(Name, std::ios::binary);
    std::ostringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

} // namespace

TEST_F(NotesLiveTest, APersonsSessionFromStartToCloseAndTheNextStart) {
    TRect Placement;
    RunNotesWith([&](TNotesForm& Main) {
        AwaitActivation();
        ASSERT_EQ(QGuiApplication::focusWindow(), WindowOf(&Main));
        SwitchLanguages(Main);
        ChangeSettings(Main);
        ShowNamedStrings(Main);
        ShowPicker(Main);
        ShowAbout(Main);
        CloseNotes(Main, Placement);
    });
    auto* Main = dynamic_cast<TNotesForm*>(Application->MainForm());
    ASSERT_NE(Main, nullptr);
    const String State = Main->GetWindowStateData();
    Main->Free(); // as the program's end does: the configuration file keeps it
    const String Kept = FileText(TNotesForm::ConfigFileName);
    EXPECT_NE(Kept.find("Français"), String::npos) << Kept;
    EXPECT_NE(Kept.find(State), String::npos) << State << " in " << Kept;

    // The next start is a new run of the program.
    TFreshProcess Next(
        "NotesLiveTest.DISABLED_TheNextStart",
        ChildEnvironment({"NOTES_CONFIG=" + TNotesForm::ConfigFileName,
                          Format("NOTES_PLACEMENT=%d %d %d %d", Placement.Left, Placement.Top,
                                 Placement.Right, Placement.Bottom)}));
    EXPECT_TRUE(Next.Passed());
}

// Run by the test above in a new process: the configuration file brings back
// the language and the placement, and the close box ends the run again.
TEST_F(NotesLiveTest, DISABLED_TheNextStart) {
    TNotesForm::ConfigFileName = GetEnvironmentVariable("NOTES_CONFIG");
    const String Placement = GetEnvironmentVariable("NOTES_PLACEMENT");
    RunNotesWith([&](TNotesForm& Main) {
        AwaitActivation();
        EXPECT_EQ(Main.Glossa->GetLanguage(), "Français");
        EXPECT_EQ(Main.LanguageCombo->Text(), "Français");
        EXPECT_EQ(Main.Caption(), "Notes Orlo");
        const TRect Bounds = Main.BoundsRect();
        EXPECT_EQ(Format("%d %d %d %d", Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom),
                  Placement);
        Screenshot(&Main, "notes-live-next-start");
        WhileModal([&] { WindowOf(&Main)->close(); }, [](TCustomForm&) { Press(Qt::Key_Return); });
    });
    EXPECT_TRUE(Application->Terminated());
}

} // namespace orlo::test
