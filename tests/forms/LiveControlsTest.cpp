// The standard controls driven as a user drives them: keys and mouse through
// the window system (QTest), so that Qt's own input handling runs before and
// after ours. Each case checks that the events fire once and that the
// properties, the focus and the form's active control follow.

#include "platform/forms/Buttons.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeGuard.h"
#include "tests/forms/FormsTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace orlo::test {
namespace {

// Records the events of the controls it is attached to, as "Event Name".
class TEventLog {
public:
    std::vector<String> Events;

    void Click(TObject* Sender) { Note("Click", Sender); }
    void DblClick(TObject* Sender) { Note("DblClick", Sender); }
    void Change(TObject* Sender) { Note("Change", Sender); }
    void Enter(TObject* Sender) { Note("Enter", Sender); }
    void Exit(TObject* Sender) { Note("Exit", Sender); }
    void DropDown(TObject* Sender) { Note("DropDown", Sender); }
    void KeyDown(TObject* Sender, Word& Key, TShiftState) {
        Note("KeyDown " + std::to_string(Key), Sender);
    }
    void KeyUp(TObject* Sender, Word& Key, TShiftState) {
        Note("KeyUp " + std::to_string(Key), Sender);
    }
    // Takes every event of Control that it knows.
    template <class C> void Watch(C* Control) {
        Control->OnClick = TNotifyEvent::Make<&TEventLog::Click>(this);
        Control->OnDblClick = TNotifyEvent::Make<&TEventLog::DblClick>(this);
        if constexpr (requires { Control->OnChange; })
            Control->OnChange = TNotifyEvent::Make<&TEventLog::Change>(this);
        if constexpr (requires { Control->OnDropDown; })
            Control->OnDropDown = TNotifyEvent::Make<&TEventLog::DropDown>(this);
        if constexpr (requires { Control->OnEnter; }) {
            Control->OnEnter = TNotifyEvent::Make<&TEventLog::Enter>(this);
            Control->OnExit = TNotifyEvent::Make<&TEventLog::Exit>(this);
        }
    }
    // The events so far, and a fresh start.
    std::vector<String> Take() { return std::exchange(Events, {}); }

private:
    void Note(const String& Event, TObject* Sender) {
        auto* Component = dynamic_cast<TComponent*>(Sender);
        Events.push_back(Event + " " + (Component ? Component->Name() : String("?")));
    }
};

using Log = std::vector<String>;

class LiveControlsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.SetName("Form");
    }
    template <class C> C* Add(TWinControl* Parent, const char* Name, TRect Bounds) {
        auto* Control = new C(&Form);
        Control->SetName(Name);
        Control->SetParent(Parent);
        Control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
        return Control;
    }
    // Shows the form as the active window: keys go to its focused control.
    QWindow* ShowForm() {
        Form.SetBounds(100, 100, 400, 300);
        Form.Show();
        QWidget* Window = Form.Handle();
        QApplication::setActiveWindow(Window);
        Window->windowHandle()->requestActivate();
        return Window->windowHandle();
    }
    void Type(std::initializer_list<Qt::Key> Keys, Qt::KeyboardModifiers Modifiers = {}) {
        for (Qt::Key Key : Keys)
            QTest::keyClick(Form.Handle()->windowHandle(), Key, Modifiers);
    }
    void Type(const char* Text) { QTest::keyClicks(QApplication::focusWidget(), Text); }
    static void ClickAt(TControl* Control, QPoint At = {},
                        Qt::MouseButton Button = Qt::LeftButton) {
        QWidget* Widget = Control->Widget();
        QTest::mouseClick(Widget, Button, {}, At.isNull() ? Widget->rect().center() : At);
    }
    // A double click as the window system delivers it: press, release, then
    // a double-click event in place of the second press, and its release.
    static void DoubleClickAt(QWidget* Widget, QPoint At) {
        QTest::mouseClick(Widget, Qt::LeftButton, {}, At);
        QTest::mouseDClick(Widget, Qt::LeftButton, {}, At);
        QTest::mouseRelease(Widget, Qt::LeftButton, {}, At);
    }
    // The control that has Qt's keyboard focus.
    static TControl* QtFocus() {
        QWidget* Focus = QApplication::focusWidget();
        while (Focus && !TControl::FromWidget(Focus))
            Focus = Focus->parentWidget();
        return Focus ? TControl::FromWidget(Focus) : nullptr;
    }

    // The clicks among the events so far.
    Log Clicks() const {
        Log Result;
        for (const String& Event : Events.Events)
            if (Event.starts_with("Click "))
                Result.push_back(Event);
        return Result;
    }

    TForm Form{nullptr};
    TEventLog Events;
};

// --- Keys the form sees first: preview, help, key release -------------------

TEST_F(LiveControlsTest, FormPreviewsTheKeysOfItsControlsAndKeyUpFires) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 110, 31});
    Form.OnKeyDown = TKeyEvent::Make<&TEventLog::KeyDown>(&Events);
    Form.OnKeyUp = TKeyEvent::Make<&TEventLog::KeyUp>(&Events);
    Edit->OnKeyDown = TKeyEvent::Make<&TEventLog::KeyDown>(&Events);
    Edit->OnKeyUp = TKeyEvent::Make<&TEventLog::KeyUp>(&Events);
    ShowForm();
    Edit->SetFocus();
    Type({Qt::Key_A});
    EXPECT_EQ(Events.Take(), (Log{"KeyDown 65 Edit", "KeyUp 65 Edit"}));
    Form.KeyPreview = true;
    Type({Qt::Key_B});
    EXPECT_EQ(Events.Take(),
              (Log{"KeyDown 66 Form", "KeyDown 66 Edit", "KeyUp 66 Form", "KeyUp 66 Edit"}));
    EXPECT_EQ(Edit->Text(), "ab");
}

// Swallows the key it is told, in the form's preview.
struct TKeyEater {
    Word Eats = 0;
    void KeyDown(TObject*, Word& Key, TShiftState) {
        if (Key == Eats)
            Key = 0;
    }
};

TEST_F(LiveControlsTest, KeySwallowedInThePreviewNeverReachesTheControl) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 110, 31});
    TKeyEater Eater{'X'};
    Form.KeyPreview = true;
    Form.OnKeyDown = TKeyEvent::Make<&TKeyEater::KeyDown>(&Eater);
    ShowForm();
    Edit->SetFocus();
    Type("axb");
    EXPECT_EQ(Edit->Text(), "ab");
}

// Counts the help requests of the application.
struct THelpProbe {
    std::vector<Integer> Contexts;
    bool Help(Word, Integer Data, bool& CallHelp) {
        Contexts.push_back(Data);
        CallHelp = false;
        return true;
    }
};

TEST_F(LiveControlsTest, F1AsksForTheHelpOfTheFocusedControlOrItsParent) {
    auto* Panel = Add<TPanel>(&Form, "Panel", {0, 0, 200, 100});
    Panel->SetHelpContext(20);
    auto* Inner = Add<TEdit>(Panel, "Inner", {10, 10, 110, 31});
    auto* Own = Add<TEdit>(&Form, "Own", {10, 120, 110, 141});
    Own->SetHelpContext(30);
    THelpProbe Probe;
    Application->OnHelp = THelpEvent::Make<&THelpProbe::Help>(&Probe);
    TScopeGuard Restore([] { Application->OnHelp = THelpEvent(); });
    ShowForm();
    Inner->SetFocus();
    Type({Qt::Key_F1});
    Own->SetFocus();
    Type({Qt::Key_F1});
    EXPECT_EQ(Probe.Contexts, (std::vector<Integer>{20, 30}));
}

// --- Typing: what handlers change is what the widget types ------------------

// Upper-cases letters and swallows 'x'.
struct TCharFilter {
    void KeyPress(TObject*, char& Key) {
        if (Key == 'x')
            Key = '\0';
        else if (Key >= 'a' && Key <= 'z')
            Key = static_cast<char>(Key - 'a' + 'A');
    }
};

TEST_F(LiveControlsTest, KeyPressHandlerChangesOrSwallowsWhatIsTyped) {
    TCharFilter Filter;
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 110, 31});
    auto* Memo = Add<TMemo>(&Form, "Memo", {10, 40, 200, 100});
    auto* Combo = Add<TComboBox>(&Form, "Combo", {10, 110, 150, 131});
    struct Case {
        TWinControl* Control;
        std::function<String()> Text;
    };
    const Case Cases[] = {
        {Edit, [&] { return Edit->Text(); }},
        {Memo, [&] { return Memo->Text(); }},
        {Combo, [&] { return Combo->Text(); }},
    };
    ShowForm();
    for (const Case& C : Cases) {
        C.Control->OnKeyPress = TKeyPressEvent::Make<&TCharFilter::KeyPress>(&Filter);
        C.Control->SetFocus();
        Type("axb1");
        EXPECT_EQ(C.Text().substr(0, 3), "AB1") << C.Control->Name();
    }
    EXPECT_EQ(Memo->Lines()->Count(), 1);
}

// An editor in place that goes away on Escape or Enter, from its own handler.
struct TInlineEditor {
    TEdit* Edit = nullptr;
    Integer Closed = 0;
    void KeyDown(TObject*, Word& Key, TShiftState) {
        if (Key == VK_ESCAPE)
            Close();
    }
    void KeyPress(TObject*, char& Key) {
        if (Key == '\r')
            Close();
    }
    void Close() {
        delete Edit;
        Edit = nullptr;
        ++Closed;
    }
};

TEST_F(LiveControlsTest, EditorFreedByItsOwnKeyHandlerEndsTheKeyThere) {
    auto* Cancel = Add<TButton>(&Form, "Cancel", {10, 200, 85, 225});
    Cancel->SetCancel(true);
    auto* Ok = Add<TButton>(&Form, "Ok", {100, 200, 175, 225});
    Ok->SetDefault(true);
    for (TButton* Button : {Cancel, Ok})
        Button->OnClick = TNotifyEvent::Make<&TEventLog::Click>(&Events);
    ShowForm();
    TInlineEditor Editor;
    for (const Qt::Key Key : {Qt::Key_Escape, Qt::Key_Return}) {
        Editor.Edit = Add<TEdit>(&Form, "Editor", {10, 10, 110, 31});
        Editor.Edit->OnKeyDown = TKeyEvent::Make<&TInlineEditor::KeyDown>(&Editor);
        Editor.Edit->OnKeyPress = TKeyPressEvent::Make<&TInlineEditor::KeyPress>(&Editor);
        Editor.Edit->SetFocus();
        Type({Qt::Key_A, Key});
        QApplication::processEvents();
        EXPECT_EQ(Editor.Edit, nullptr);
    }
    EXPECT_EQ(Editor.Closed, 2);
    // Neither button took the key that closed the editor.
    EXPECT_EQ(Events.Take(), Log{});
}

// --- Focus: Tab and Shift+Tab follow the tab order --------------------------

TEST_F(LiveControlsTest, TabAndShiftTabFollowTheTabOrderAndSkipWhatCannotTakeTheFocus) {
    auto* First = Add<TEdit>(&Form, "First", {10, 10, 110, 31});
    auto* Panel = Add<TPanel>(&Form, "Panel", {10, 40, 250, 140});
    auto* Inner1 = Add<TEdit>(Panel, "Inner1", {5, 5, 105, 26});
    auto* Inner2 = Add<TEdit>(Panel, "Inner2", {5, 35, 105, 56});
    auto* Last = Add<TEdit>(&Form, "Last", {10, 150, 110, 171});
    auto* Disabled = Add<TEdit>(&Form, "Disabled", {10, 180, 110, 201});
    Disabled->SetEnabled(false);
    auto* Hidden = Add<TEdit>(&Form, "Hidden", {120, 180, 220, 201});
    Hidden->SetVisible(false);
    auto* NoStop = Add<TButton>(&Form, "NoStop", {120, 10, 195, 35});
    NoStop->SetTabStop(false);
    auto* Button = Add<TButton>(&Form, "Button", {120, 150, 195, 175});
    // The order differs from the order of creation: Last, then the panel
    // (Inner2 before Inner1), then First.
    Last->SetTabOrder(0);
    Panel->SetTabOrder(1);
    Inner2->SetTabOrder(0);
    for (TEdit* Edit : {First, Inner1, Inner2, Last})
        Events.Watch(Edit);
    Events.Watch(Button);
    ShowForm();
    Last->SetFocus();
    Events.Take();
    std::vector<String> Forward, Backward;
    for (int I = 0; I < 5; ++I) {
        Type({Qt::Key_Tab});
        Forward.push_back(QtFocus() ? QtFocus()->Name() : "none");
        EXPECT_EQ(Form.ActiveControl(), QtFocus());
    }
    EXPECT_EQ(Forward, (std::vector<String>{"Inner2", "Inner1", "First", "Button", "Last"}));
    EXPECT_EQ(Events.Take(),
              (Log{"Exit Last", "Enter Inner2", "Exit Inner2", "Enter Inner1", "Exit Inner1",
                   "Enter First", "Exit First", "Enter Button", "Exit Button", "Enter Last"}));
    for (int I = 0; I < 5; ++I) {
        Type({Qt::Key_Backtab}, Qt::ShiftModifier);
        Backward.push_back(QtFocus() ? QtFocus()->Name() : "none");
    }
    EXPECT_EQ(Backward, (std::vector<String>{"Button", "First", "Inner1", "Inner2", "Last"}));
    // A control that comes back takes its place again.
    Disabled->SetEnabled(true);
    Type({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab});
    EXPECT_EQ(QtFocus(), Disabled);
}

// --- Buttons -------------------------------------------------------------------

TEST_F(LiveControlsTest, ButtonsClickOnceByMouseSpaceEnterAndAccelerator) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 110, 31});
    auto* Go = Add<TButton>(&Form, "Go", {10, 40, 85, 65});
    Go->SetCaption("&Go");
    auto* Glyph = Add<TBitBtn>(&Form, "Glyph", {100, 40, 175, 65});
    Glyph->SetCaption("&Run");
    Events.Watch(Go);
    Events.Watch(Glyph);
    ShowForm();
    struct Case {
        const char* Name;
        std::function<void()> User;
        const char* Clicked;
    };
    const Case Cases[] = {
        {"mouse", [&] { ClickAt(Go); }, "Click Go"},
        {"mouse on the bitmap button", [&] { ClickAt(Glyph); }, "Click Glyph"},
        {"space on the focused button",
         [&] {
             Go->SetFocus();
             Type({Qt::Key_Space});
         },
         "Click Go"},
        {"enter on the focused button",
         [&] {
             Glyph->SetFocus();
             Type({Qt::Key_Return});
         },
         "Click Glyph"},
        {"alt and the accelerator",
         [&] {
             Edit->SetFocus();
             Type({Qt::Key_R}, Qt::AltModifier);
         },
         "Click Glyph"},
    };
    for (const Case& C : Cases) {
        Events.Take();
        C.User();
        // An accelerator clicks once the button has shown itself pressed.
        (void)QTest::qWaitFor([&] { return !Clicks().empty(); }, 2000);
        QApplication::processEvents();
        EXPECT_EQ(Clicks(), Log{C.Clicked}) << C.Name;
    }
    // A press that leaves the button before the release is no click.
    Events.Take();
    QTest::mousePress(Go->Widget(), Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(Go->Widget(), {200, 200});
    QTest::mouseRelease(Go->Widget(), Qt::LeftButton, {}, {200, 200});
    EXPECT_EQ(Clicks(), Log{});
}

TEST_F(LiveControlsTest, DefaultAndCancelButtonsTakeEnterAndEscapeUnlessTheControlWantsThem) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 110, 31});
    auto* Memo = Add<TMemo>(&Form, "Memo", {10, 40, 200, 100});
    auto* Combo = Add<TComboBox>(&Form, "Combo", {10, 110, 150, 131});
    Combo->SetStyle(csDropDownList);
    Combo->Items()->SetText("one\ntwo\n");
    auto* List = Add<TListBox>(&Form, "List", {210, 10, 330, 100});
    List->Items()->SetText("a\nb\n");
    auto* Check = Add<TCheckBox>(&Form, "Check", {210, 110, 330, 131});
    auto* Ok = Add<TButton>(&Form, "Ok", {10, 200, 85, 225});
    Ok->SetDefault(true);
    auto* Cancel = Add<TButton>(&Form, "Cancel", {100, 200, 175, 225});
    Cancel->SetCancel(true);
    Events.Watch(Ok);
    Events.Watch(Cancel);
    ShowForm();
    for (TWinControl* Control : std::initializer_list<TWinControl*>{Edit, Combo, List, Check}) {
        Control->SetFocus();
        Type({Qt::Key_Return, Qt::Key_Escape});
        EXPECT_EQ(Events.Take(), (Log{"Click Ok", "Click Cancel"})) << Control->Name();
    }
    // The memo wants Enter: a new line, no button.
    Memo->SetFocus();
    QTest::keyClicks(Memo->Widget(), "a");
    Type({Qt::Key_Return});
    QTest::keyClicks(Memo->Widget(), "b");
    EXPECT_EQ(Events.Take(), Log{});
    EXPECT_EQ(Memo->Lines()->Count(), 2);
    Memo->WantReturns = false;
    Type({Qt::Key_Return});
    EXPECT_EQ(Events.Take(), Log{"Click Ok"});
    EXPECT_EQ(Memo->Lines()->Count(), 2);
}

// --- Check boxes and radio buttons ---------------------------------------------

TEST_F(LiveControlsTest, CheckBoxTogglesOnceByMouseAndSpaceAndCyclesThroughGrayed) {
    auto* Check = Add<TCheckBox>(&Form, "Check", {10, 10, 150, 31});
    Check->SetCaption("&Backup");
    Events.Watch(Check);
    ShowForm();
    Check->SetFocus();
    std::vector<TCheckBoxState> States;
    const std::function<void()> Users[] = {
        [&] {
            ClickAt(Check, {5, 10});
        },
        [&] { Type({Qt::Key_Space}); },
        [&] {
            Type({Qt::Key_B}, Qt::AltModifier);
            (void)QTest::qWaitFor([&] { return Check->Checked(); }, 2000);
        },
    };
    for (const auto& User : Users) {
        User();
        States.push_back(Check->State());
        EXPECT_EQ(Check->Checked(), Check->State() == cbChecked);
    }
    EXPECT_EQ(States, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbChecked}));
    Check->SetAllowGrayed(true);
    Events.Take();
    States.clear();
    for (int I = 0; I < 3; ++I) {
        Type({Qt::Key_Space});
        States.push_back(Check->State());
    }
    // Qt's own order would be checked, unchecked, partial: ours decides.
    EXPECT_EQ(States, (std::vector<TCheckBoxState>{cbUnchecked, cbGrayed, cbChecked}));
    EXPECT_EQ(Clicks(), Log(3, "Click Check"));
    EXPECT_EQ(static_cast<QCheckBox*>(Check->Widget())->checkState(), Qt::Checked);
}

TEST_F(LiveControlsTest, RadioButtonsOfOneParentExcludeEachOtherByMouseAndArrowKeys) {
    auto* Group = Add<TGroupBox>(&Form, "Group", {10, 10, 200, 130});
    auto* Fast = Add<TRadioButton>(Group, "Fast", {10, 20, 150, 41});
    auto* Safe = Add<TRadioButton>(Group, "Safe", {10, 50, 150, 71});
    auto* Slow = Add<TRadioButton>(Group, "Slow", {10, 80, 150, 101});
    auto* Other = Add<TRadioButton>(&Form, "Other", {10, 150, 150, 171});
    Other->SetChecked(true);
    Fast->SetChecked(true);
    for (TRadioButton* Radio : {Fast, Safe, Slow, Other})
        Events.Watch(Radio);
    ShowForm();
    const auto Checked = [&] {
        String Names;
        for (TRadioButton* Radio : {Fast, Safe, Slow, Other})
            if (Radio->Checked())
                Names += Radio->Name() + " ";
        return Names;
    };
    EXPECT_EQ(Events.Take(), Log{"Enter Fast"}); // the first tab stop
    ClickAt(Slow, {5, 10});
    EXPECT_EQ(Checked(), "Slow Other ");
    EXPECT_EQ(Events.Take(), (Log{"Exit Fast", "Enter Slow", "Click Slow"}));
    // A click on the checked one changes nothing.
    ClickAt(Slow, {5, 10});
    EXPECT_EQ(Events.Take(), Log{});
    // The arrow keys move to the next button of the group and check it.
    Type({Qt::Key_Up});
    EXPECT_EQ(Checked(), "Safe Other ");
    EXPECT_EQ(Form.ActiveControl(), Safe);
    Type({Qt::Key_Up, Qt::Key_Up});
    EXPECT_EQ(Checked(), "Slow Other ");
    Type({Qt::Key_Down});
    EXPECT_EQ(Checked(), "Fast Other ");
    EXPECT_EQ(Events.Take(), (Log{"Exit Slow", "Enter Safe", "Click Safe", "Exit Safe",
                                  "Enter Fast", "Click Fast", "Exit Fast", "Enter Slow",
                                  "Click Slow", "Exit Slow", "Enter Fast", "Click Fast"}));
    // Only the checked button of a group is a tab stop.
    EXPECT_TRUE(Fast->TabStop());
    EXPECT_FALSE(Safe->TabStop());
    EXPECT_EQ(QtFocus(), Fast);
}

// --- Edits ------------------------------------------------------------------------

TEST_F(LiveControlsTest, EditFollowsTypingSelectionAndMaxLengthWithOneChangePerEdit) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 160, 31});
    Events.Watch(Edit);
    ShowForm();
    Edit->SetFocus();
    Events.Take();
    Type("abcd");
    EXPECT_EQ(Edit->Text(), "abcd");
    EXPECT_EQ(Edit->SelStart(), 4);
    Type({Qt::Key_Backspace});
    EXPECT_EQ(Edit->Text(), "abc");
    EXPECT_EQ(Events.Take(), Log(5, "Change Edit"));
    // Shift+Left selects; typing replaces the selection.
    Type({Qt::Key_Left, Qt::Key_Left}, Qt::ShiftModifier);
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 2);
    EXPECT_EQ(Edit->SelText(), "bc");
    EXPECT_EQ(Events.Take(), Log{});
    Type("x");
    EXPECT_EQ(Edit->Text(), "ax");
    EXPECT_EQ(Edit->SelStart(), 2);
    EXPECT_EQ(Edit->SelLength(), 0);
    EXPECT_EQ(Events.Take(), Log{"Change Edit"});
    // Keys that change nothing fire nothing; the limit holds against typing.
    Type({Qt::Key_Home, Qt::Key_End});
    Edit->SetMaxLength(3);
    Events.Take();
    Type("yz");
    EXPECT_EQ(Edit->Text(), "axy");
    EXPECT_EQ(Events.Take(), Log{"Change Edit"});
    EXPECT_TRUE(Edit->Modified);
}

TEST_F(LiveControlsTest, EditTypesInTheCaseItIsToldWhereverTheCursorIs) {
    auto* Edit = Add<TEdit>(&Form, "Edit", {10, 10, 160, 31});
    Events.Watch(Edit);
    ShowForm();
    Edit->SetFocus();
    Edit->SetCharCase(ecUpperCase);
    Type("ad");
    Type({Qt::Key_Left});
    Type("bc");
    EXPECT_EQ(Edit->Text(), "ABCD");
    EXPECT_EQ(static_cast<QLineEdit*>(Edit->Widget())->text(), "ABCD");
    EXPECT_EQ(Edit->SelStart(), 3);
    Edit->SetCharCase(ecLowerCase);
    EXPECT_EQ(Edit->Text(), "abcd");
    Events.Take();
    Type({Qt::Key_End, Qt::Key_Left});
    Type("X");
    EXPECT_EQ(Edit->Text(), "abcxd");
    EXPECT_EQ(Events.Take(), Log{"Change Edit"});
}

TEST_F(LiveControlsTest, MemoTakesTabOnlyWhenItWantsTabs) {
    auto* Memo = Add<TMemo>(&Form, "Memo", {10, 10, 200, 100});
    auto* After = Add<TEdit>(&Form, "After", {10, 110, 110, 131});
    ShowForm();
    Memo->SetFocus();
    Type({Qt::Key_Tab});
    EXPECT_EQ(QtFocus(), After);
    EXPECT_EQ(Memo->Text(), "");
    Memo->WantTabs = true;
    Memo->SetFocus();
    Type({Qt::Key_Tab});
    EXPECT_EQ(QtFocus(), Memo);
    EXPECT_EQ(Memo->Lines()->Get(0), "\t");
    // Without a button to take it, Enter in a memo that wants no returns types nothing.
    Memo->WantReturns = false;
    Type({Qt::Key_Return});
    EXPECT_EQ(Memo->Lines()->Count(), 1);
}

// --- Lists -------------------------------------------------------------------------

TEST_F(LiveControlsTest, ListBoxFollowsClicksAndKeysWithOneEventEach) {
    auto* List = Add<TListBox>(&Form, "List", {10, 10, 150, 150});
    List->Items()->SetText("alpha\nbeta\ngamma\n");
    Events.Watch(List);
    ShowForm();
    auto* View = static_cast<QListWidget*>(List->Widget());
    const auto RowCentre = [&](int Row) { return View->visualItemRect(View->item(Row)).center(); };
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(Form.ActiveControl(), List);
    EXPECT_EQ(Events.Take(), (Log{"Enter List", "Click List"}));
    Type({Qt::Key_Down});
    EXPECT_EQ(List->ItemIndex(), 2);
    Type({Qt::Key_Down}); // at the end already: nothing changes
    EXPECT_EQ(Events.Take(), Log{"Click List"});
    DoubleClickAt(View->viewport(), RowCentre(0));
    EXPECT_EQ(List->ItemIndex(), 0);
    EXPECT_EQ(Events.Take(), (Log{"Click List", "DblClick List"}));
}

TEST_F(LiveControlsTest, ComboBoxPicksByKeysAndPopupWithOneEventEach) {
    for (const TComboBoxStyle Style : {csDropDownList, csDropDown}) {
        auto* Combo = new TComboBox(&Form);
        Combo->SetName(Style == csDropDown ? "Editable" : "Fixed");
        Combo->SetParent(&Form);
        Combo->SetBounds(10, 10 + 30 * Style, 150, 21);
        Combo->SetStyle(Style);
        Combo->Items()->SetText("alpha\nbeta\ngamma\n");
        Events.Watch(Combo);
        const String N = Combo->Name();
        ShowForm();
        Combo->SetFocus();
        Events.Take();
        Type({Qt::Key_Down});
        EXPECT_EQ(Combo->ItemIndex(), 0) << N;
        EXPECT_EQ(Combo->Text(), "alpha") << N;
        EXPECT_EQ(Events.Take(), (Log{"Click " + N, "Change " + N})) << N;
        // The drop-down opens by Alt+Down and by a click; an entry picked
        // with the keys closes it.
        Type({Qt::Key_Down}, Qt::AltModifier);
        EXPECT_TRUE(Combo->DroppedDown()) << N;
        QAbstractItemView* Popup = static_cast<QComboBox*>(Combo->Widget())->view();
        QTest::keyClick(Popup, Qt::Key_Down);
        QTest::keyClick(Popup, Qt::Key_Return);
        EXPECT_FALSE(Combo->DroppedDown()) << N;
        EXPECT_EQ(Combo->ItemIndex(), 1) << N;
        EXPECT_EQ(Events.Take(), (Log{"DropDown " + N, "Click " + N, "Change " + N})) << N;
        if (Style == csDropDownList) {
            // A letter picks the entry it starts.
            Type("g");
            EXPECT_EQ(Combo->Text(), "gamma");
            EXPECT_EQ(Events.Take(), (Log{"Click " + N, "Change " + N}));
        } else {
            // Each key typed is one change; a text that is no entry selects
            // none. A key that the completer completes is one change too.
            QTest::keyClick(Combo->Widget(), Qt::Key_A, Qt::ControlModifier);
            Type("zz");
            EXPECT_EQ(Combo->Text(), "zz");
            EXPECT_EQ(Combo->ItemIndex(), -1);
            EXPECT_EQ(Events.Take(), Log(2, "Change " + N));
            QTest::keyClick(Combo->Widget(), Qt::Key_A, Qt::ControlModifier);
            Type({Qt::Key_B});
            EXPECT_EQ(Combo->Text(), "beta");
            EXPECT_EQ(Combo->ItemIndex(), 1);
            EXPECT_EQ(Events.Take(), Log{"Change " + N});
        }
        Combo->Free();
    }
}

// --- Windowless labels -------------------------------------------------------------

TEST_F(LiveControlsTest, LabelIsClickedThroughItsParentAndItsAcceleratorFocusesItsControl) {
    auto* Panel = Add<TPanel>(&Form, "Panel", {0, 0, 300, 200});
    auto* Label = Add<TLabel>(Panel, "Label", {10, 10, 100, 27});
    Label->SetCaption("&Name");
    auto* Edit = Add<TEdit>(Panel, "Edit", {110, 10, 210, 31});
    auto* Other = Add<TEdit>(Panel, "Other", {110, 50, 210, 71});
    Label->FocusControl = Edit;
    Events.Watch(Label);
    Events.Watch(Panel);
    ShowForm();
    QTest::mouseClick(Panel->Widget(), Qt::LeftButton, {}, {15, 15});
    EXPECT_EQ(Events.Take(), Log{"Click Label"});
    // One click, then the double click; the last release is no click of
    // its own, on the label or beside it.
    DoubleClickAt(Panel->Widget(), {15, 15});
    EXPECT_EQ(Events.Take(), (Log{"Click Label", "DblClick Label"}));
    QTest::mouseClick(Panel->Widget(), Qt::LeftButton, {}, {15, 150});
    EXPECT_EQ(Events.Take(), Log{"Click Panel"});
    DoubleClickAt(Panel->Widget(), {15, 150});
    EXPECT_EQ(Events.Take(), (Log{"Click Panel", "DblClick Panel"}));
    // A disabled label leaves its clicks to the panel.
    Label->SetEnabled(false);
    QTest::mouseClick(Panel->Widget(), Qt::LeftButton, {}, {15, 15});
    EXPECT_EQ(Events.Take(), Log{"Click Panel"});
    Label->SetEnabled(true);
    Other->SetFocus();
    Type({Qt::Key_N}, Qt::AltModifier);
    EXPECT_EQ(QtFocus(), Edit);
    EXPECT_EQ(Form.ActiveControl(), Edit);
    EXPECT_EQ(Edit->Text(), "");
    // A disabled label, or one whose control cannot take the focus, does nothing.
    Other->SetFocus();
    Edit->SetEnabled(false);
    Type({Qt::Key_N}, Qt::AltModifier);
    EXPECT_EQ(QtFocus(), Other);
}

// --- Hints -------------------------------------------------------------------------

TEST_F(LiveControlsTest, ToolTipEventShowsTheShortHintOfTheControlOrLabelUnderTheMouse) {
    auto* Button = Add<TButton>(&Form, "Button", {10, 10, 85, 35});
    Button->SetHint("Saves|Saves the file under its name");
    Button->SetShowHint(true);
    auto* Label = Add<TLabel>(&Form, "Label", {10, 50, 100, 67});
    Label->SetHint("Your name|The name shown to others");
    Label->SetShowHint(true);
    ShowForm();
    // The tip that the event shows, after the last one has gone.
    const auto TipAt = [](QWidget* Widget, QPoint At) {
        QToolTip::hideText();
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        QHelpEvent Event(QEvent::ToolTip, At, Widget->mapToGlobal(At));
        QApplication::sendEvent(Widget, &Event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(TipAt(Button->Widget(), {5, 5}), "Saves");
    EXPECT_EQ(TipAt(Form.Widget(), {15, 55}), "Your name");
    EXPECT_EQ(TipAt(Form.Widget(), {150, 150}), "");
    Label->SetShowHint(false);
    EXPECT_EQ(TipAt(Form.Widget(), {15, 55}), "");
}

// --- Handlers that free what the user acted on -------------------------------------

// Frees the control whose event it handles.
struct TFreeOnEvent {
    Integer Freed = 0;
    void Free(TObject* Sender) {
        delete Sender;
        ++Freed;
    }
};

TEST_F(LiveControlsTest, ControlFreedByItsOwnHandlerInARealInputEvent) {
    TFreeOnEvent Freer;
    const auto Freeing = TNotifyEvent::Make<&TFreeOnEvent::Free>(&Freer);
    struct Case {
        const char* Name;
        std::function<TWinControl*()> Make;
        std::function<void(TWinControl*)> User;
    };
    const Case Cases[] = {
        {"button clicked",
         [&] {
             auto* B = Add<TButton>(&Form, "B", {10, 10, 85, 35});
             B->OnClick = Freeing;
             return B;
         },
         [](TWinControl* C) { ClickAt(C); }},
        {"button pressed by Space",
         [&] {
             auto* B = Add<TButton>(&Form, "B", {10, 10, 85, 35});
             B->OnClick = Freeing;
             return B;
         },
         [&](TWinControl* C) {
             C->SetFocus();
             Type({Qt::Key_Space});
         }},
        {"check box clicked",
         [&] {
             auto* B = Add<TCheckBox>(&Form, "B", {10, 10, 110, 31});
             B->OnClick = Freeing;
             return B;
         },
         [](TWinControl* C) {
             ClickAt(C, {5, 10});
         }},
        {"radio button by arrow key",
         [&] {
             auto* A = Add<TRadioButton>(&Form, "A", {10, 40, 110, 61});
             A->SetChecked(true);
             auto* B = Add<TRadioButton>(&Form, "B", {10, 10, 110, 31});
             B->OnClick = Freeing;
             A->OnExit = Freeing;
             return A;
         },
         [&](TWinControl* C) {
             C->SetFocus();
             Type({Qt::Key_Down});
         }},
        {"list box clicked",
         [&] {
             auto* B = Add<TListBox>(&Form, "B", {10, 10, 110, 100});
             B->Items()->SetText("a\nb\n");
             B->OnClick = Freeing;
             return B;
         },
         [](TWinControl* C) {
             auto* View = static_cast<QListWidget*>(C->Widget());
             QTest::mouseClick(View->viewport(), Qt::LeftButton, {},
                               View->visualItemRect(View->item(1)).center());
         }},
        {"combo box by arrow key",
         [&] {
             auto* B = Add<TComboBox>(&Form, "B", {10, 10, 110, 31});
             B->SetStyle(csDropDownList);
             B->Items()->SetText("a\nb\n");
             B->OnChange = Freeing;
             return B;
         },
         [&](TWinControl* C) {
             C->SetFocus();
             Type({Qt::Key_Down});
         }},
        {"combo box opened",
         [&] {
             auto* B = Add<TComboBox>(&Form, "B", {10, 10, 110, 31});
             B->Items()->SetText("a\nb\n");
             B->OnDropDown = Freeing;
             return B;
         },
         [&](TWinControl* C) {
             C->SetFocus();
             Type({Qt::Key_F4});
         }},
        {"edit typed into",
         [&] {
             auto* B = Add<TEdit>(&Form, "B", {10, 10, 110, 31});
             B->OnChange = Freeing;
             return B;
         },
         [&](TWinControl* C) {
             C->SetFocus();
             Type("q");
         }},
    };
    ShowForm();
    for (const Case& C : Cases) {
        Freer.Freed = 0;
        C.User(C.Make());
        QApplication::processEvents();
        EXPECT_EQ(Freer.Freed, C.Name == std::string("radio button by arrow key") ? 2 : 1)
            << C.Name;
        EXPECT_EQ(Form.FindComponent("B"), nullptr) << C.Name;
        delete Form.FindComponent("A");
    }
}

// --- Windows: activation, the close box ----------------------------------------------

TEST_F(LiveControlsTest, ActivatingAnotherWindowDeactivatesTheFirstOnce) {
    Log Activity;
    struct TActivity {
        Log* Out;
        void Activate(TObject* S) { Out->push_back("Activate " + static_cast<TForm*>(S)->Name()); }
        void Deactivate(TObject* S) {
            Out->push_back("Deactivate " + static_cast<TForm*>(S)->Name());
        }
    } Probe{&Activity};
    TForm Second(nullptr);
    Second.SetName("Second");
    auto* First1 = Add<TEdit>(&Form, "First1", {10, 10, 110, 31});
    auto* SecondEdit = new TEdit(&Second);
    SecondEdit->SetName("SecondEdit");
    SecondEdit->SetParent(&Second);
    for (TForm* F : {&Form, &Second}) {
        F->OnActivate = TNotifyEvent::Make<&TActivity::Activate>(&Probe);
        F->OnDeactivate = TNotifyEvent::Make<&TActivity::Deactivate>(&Probe);
    }
    ShowForm();
    Second.SetBounds(300, 300, 200, 100);
    Second.Show();
    Activity.clear();
    const auto ActivateByWindowSystem = [](TForm& F) {
        QApplication::setActiveWindow(F.Handle());
        F.Handle()->windowHandle()->requestActivate();
        QApplication::processEvents();
    };
    ActivateByWindowSystem(Form);
    EXPECT_EQ(Screen->ActiveForm(), &Form);
    EXPECT_EQ(QtFocus(), First1);
    ActivateByWindowSystem(Second);
    EXPECT_EQ(Screen->ActiveForm(), &Second);
    EXPECT_EQ(QtFocus(), SecondEdit);
    EXPECT_EQ(Activity,
              (Log{"Deactivate Second", "Activate Form", "Deactivate Form", "Activate Second"}));
    EXPECT_TRUE(Second.Active());
    EXPECT_FALSE(Form.Active());
}

// A form that counts its close queries and frees itself on close.
class TClosingForm : public TForm {
public:
    explicit TClosingForm(bool* Gone) : TForm(nullptr), FGone(Gone) {
        OnCloseQuery = TCloseQueryEvent::Make<&TClosingForm::Query>(this);
        OnClose = TCloseEvent::Make<&TClosingForm::Closing>(this);
    }
    ~TClosingForm() override { *FGone = true; }
    void Query(TObject*, bool& CanClose) {
        ++Queries;
        CanClose = Allow;
    }
    void Closing(TObject*, TCloseAction& Action) {
        ++Closes;
        Action = caFree;
    }
    Integer Queries = 0;
    Integer Closes = 0;
    bool Allow = false;

private:
    bool* FGone;
};

TEST_F(LiveControlsTest, CloseBoxOfANonModalFormAsksAndFreesItLater) {
    bool Gone = false;
    auto* Closing = new TClosingForm(&Gone);
    Closing->Show();
    QWindow* Window = Closing->Handle()->windowHandle();
    Window->close(); // refused
    EXPECT_TRUE(Closing->Visible());
    EXPECT_EQ(Closing->Queries, 1);
    EXPECT_EQ(Closing->Closes, 0);
    Closing->Allow = true;
    Window->close();
    EXPECT_EQ(Closing->Queries, 2);
    EXPECT_EQ(Closing->Closes, 1);
    EXPECT_FALSE(Closing->Visible());
    EXPECT_FALSE(Gone); // freed later, never under the close event
    QApplication::processEvents();
    EXPECT_TRUE(Gone);
}

// --- Pop-up menus by a real right click ---------------------------------------------

// Notes which menu popped up, for which control.
struct TPopupLog {
    Log Shown;
    void Popup(TObject* Sender) {
        auto* Menu = static_cast<TPopupMenu*>(Sender);
        const TComponent* For = Menu->PopupComponent();
        Shown.push_back(Menu->Name() + " for " + (For ? For->Name() : String("?")));
    }
};

TEST_F(LiveControlsTest, RightClickPopsUpTheMenuOfTheControlUnderTheMouseOrOfItsParent) {
    TPopupLog Popups;
    const auto MakeMenu = [&](const char* Name) {
        auto* Menu = new TPopupMenu(&Form);
        Menu->SetName(Name);
        Menu->OnPopup = TNotifyEvent::Make<&TPopupLog::Popup>(&Popups);
        return Menu;
    };
    auto* Panel = Add<TPanel>(&Form, "Panel", {0, 0, 300, 200});
    Panel->SetPopupMenu(MakeMenu("PanelMenu"));
    auto* Edit = Add<TEdit>(Panel, "Edit", {110, 10, 210, 31});
    Edit->SetPopupMenu(MakeMenu("EditMenu"));
    auto* Button = Add<TButton>(Panel, "Button", {110, 50, 185, 75});
    auto* Label = Add<TLabel>(Panel, "Label", {10, 10, 100, 27});
    Label->SetPopupMenu(MakeMenu("LabelMenu"));
    auto* Plain = Add<TLabel>(Panel, "Plain", {10, 50, 100, 67});
    ShowForm();
    struct Case {
        TControl* Under;
        QPoint At; // in the form's window
        const char* Shown;
    };
    const Case Cases[] = {
        {Edit, {115, 15}, "EditMenu for Edit"},     {Button, {115, 55}, "PanelMenu for Button"},
        {Label, {15, 15}, "LabelMenu for Label"},   {Plain, {15, 55}, "PanelMenu for Plain"},
        {Panel, {250, 150}, "PanelMenu for Panel"},
    };
    for (const Case& C : Cases) {
        QTest::mouseClick(Form.Handle()->windowHandle(), Qt::RightButton, {}, C.At);
        EXPECT_EQ(Popups.Shown, Log{C.Shown}) << C.Under->Name();
        Popups.Shown.clear();
        if (QWidget* Open = QApplication::activePopupWidget())
            Open->close();
    }
}

} // namespace
} // namespace orlo::test
