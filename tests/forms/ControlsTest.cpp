// The control tree: alignment and anchors, fonts, colours and hints from the
// parent, tab order and focus, enabled-change notification, window handles,
// and the standard controls' own behaviour.

#include "platform/forms/Dialogs.h"
#include "platform/forms/ModalScript.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <list>

namespace orlo::test {
namespace {

class ControlsTest : public FormsTest {
protected:
    template <class C> C* Add(TWinControl* Parent, const char* Name = "") {
        auto* Control = new C(&Form);
        if (*Name)
            Control->SetName(Name);
        Control->SetParent(Parent);
        return Control;
    }
    TForm Form{nullptr};
};

TEST_F(ControlsTest, AlignedControlsShareTheClientArea) {
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 400, 300);
    auto* Top = Add<TPanel>(&Form);
    Top->SetHeight(30);
    Top->SetAlign(alTop);
    auto* Bottom = Add<TPanel>(&Form);
    Bottom->SetHeight(40);
    Bottom->SetAlign(alBottom);
    auto* Left = Add<TPanel>(&Form);
    Left->SetWidth(50);
    Left->SetAlign(alLeft);
    auto* Right = Add<TPanel>(&Form);
    Right->SetWidth(60);
    Right->SetAlign(alRight);
    auto* Client = Add<TMemo>(&Form);
    Client->SetAlign(alClient);
    EXPECT_EQ(Top->BoundsRect(), (TRect{0, 0, 400, 30}));
    EXPECT_EQ(Bottom->BoundsRect(), (TRect{0, 260, 400, 300}));
    EXPECT_EQ(Left->BoundsRect(), (TRect{0, 30, 50, 260}));
    EXPECT_EQ(Right->BoundsRect(), (TRect{340, 30, 400, 260}));
    EXPECT_EQ(Client->BoundsRect(), (TRect{50, 30, 340, 260}));
    // Resizing the form realigns; hiding a control gives its room away.
    Form.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(Client->BoundsRect(), (TRect{50, 30, 440, 260}));
    Top->Hide();
    EXPECT_EQ(Client->BoundsRect(), (TRect{50, 0, 440, 260}));
}

TEST_F(ControlsTest, AnchoredControlsFollowTheRightAndBottomEdges) {
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 400, 300);
    auto* Moving = Add<TButton>(&Form);
    Moving->SetBounds(300, 260, 75, 25);
    Moving->SetAnchors(TAnchors{akRight, akBottom});
    auto* Stretching = Add<TEdit>(&Form);
    Stretching->SetBounds(10, 10, 380, 21);
    Stretching->SetAnchors(TAnchors{akLeft, akTop, akRight});
    auto* Fixed = Add<TLabel>(&Form);
    Fixed->SetBounds(10, 40, 50, 13);
    Form.Realign();
    Form.SetBounds(0, 0, 500, 350);
    EXPECT_EQ(Moving->BoundsRect(), (TRect{400, 310, 475, 335}));
    EXPECT_EQ(Stretching->BoundsRect(), (TRect{10, 10, 490, 31}));
    EXPECT_EQ(Fixed->BoundsRect(), (TRect{10, 40, 60, 53}));
}

TEST_F(ControlsTest, FontsColoursAndHintsComeFromTheParent) {
    Form.Font()->SetName("Arial");
    Form.Font()->SetSize(10);
    auto* Panel = Add<TPanel>(&Form);
    auto* Label = Add<TLabel>(Panel);
    EXPECT_EQ(Label->Font()->Name(), "Arial");
    EXPECT_EQ(Label->Font()->Size(), 10);
    EXPECT_TRUE(Label->ParentFont());
    Form.Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_TRUE(Label->Font()->Style().Contains(fsBold)); // down two levels
    Label->Font()->SetSize(14);                           // its own font from now on
    EXPECT_FALSE(Label->ParentFont());
    Form.Font()->SetName("Courier");
    EXPECT_EQ(Label->Font()->Name(), "Arial");
    Label->SetParentFont(true);
    EXPECT_EQ(Label->Font()->Name(), "Courier");

    Form.SetColor(clWindow);
    EXPECT_EQ(Panel->Color(), clWindow);
    EXPECT_EQ(Label->Color(), clWindow);
    auto* Edit = Add<TEdit>(&Form);
    EXPECT_EQ(Edit->Color(), clWindow); // edits keep their own colour
    EXPECT_FALSE(Edit->ParentColor());

    Label->SetHint("Short|Long help");
    EXPECT_EQ(Label->ToolTip(), "");
    Form.SetShowHint(true);
    EXPECT_TRUE(Label->ShowHint());
    EXPECT_EQ(Label->ToolTip(), "Short");
    EXPECT_EQ(GetLongHint(Label->Hint()), "Long help");
    Form.HandleNeeded();
    EXPECT_EQ(Panel->Widget()->font().pixelSize(), 13); // 10 points at 96 pixels per inch
}

// Labels have no widget: their parent's widget paints them, routes their
// clicks and shows their hints.
class WindowlessLabelTest : public ControlsTest {
protected:
    void SetUp() override {
        Form.SetBorderStyle(bsNone);
        Form.SetBounds(0, 0, 200, 100);
        Panel = Add<TPanel>(&Form);
        Panel->SetBounds(0, 0, 200, 100);
        Panel->SetBevelOuter(bvNone);
        Panel->SetCaption("");
        Label = Add<TLabel>(Panel, "Label");
        Label->SetAutoSize(false);
        Label->SetBounds(20, 30, 120, 20);
        Label->SetColor(clRed);
        Label->SetCaption("WWWWWWWW");
        Form.Show();
        QApplication::processEvents();
    }
    // Pixels of the label's area (in the panel) that are red and that are dark.
    std::pair<int, int> RedAndDark() {
        const QImage Image = Panel->Widget()->grab().toImage();
        int Red = 0, Dark = 0;
        for (int Y = 30; Y < 50; ++Y)
            for (int X = 20; X < 140; ++X) {
                const QColor C = Image.pixelColor(X, Y);
                Red += C.red() > 200 && C.green() < 80 && C.blue() < 80;
                Dark += C.red() < 100 && C.green() < 100 && C.blue() < 100;
            }
        return {Red, Dark};
    }
    void Mouse(QEvent::Type Type, int X, int Y, QWidget* Target = nullptr) {
        Target = Target ? Target : Panel->Widget();
        const Qt::MouseButtons Held =
            Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent Event(Type, QPointF(X, Y), Target->mapToGlobal(QPointF(X, Y)), Qt::LeftButton,
                          Held, Qt::NoModifier);
        QApplication::sendEvent(Target, &Event);
    }
    // Events are method pointers: each lambda lives in a handler of the fixture.
    struct THandler {
        std::function<void(TObject*)> Fn;
        void Call(TObject* Sender) { Fn(Sender); }
    };
    TNotifyEvent Handler(std::function<void(TObject*)> Fn) {
        Handlers.push_back({std::move(Fn)});
        return TNotifyEvent::Make<&THandler::Call>(&Handlers.back());
    }
    std::list<THandler> Handlers;
    TPanel* Panel = nullptr;
    TLabel* Label = nullptr;
};

TEST_F(WindowlessLabelTest, ParentPaintsTheLabelAndEveryChange) {
    EXPECT_EQ(Label->Widget(), nullptr);
    auto [Red, Dark] = RedAndDark();
    EXPECT_GT(Red, 0);
    EXPECT_GT(Dark, 0); // the caption in the window text colour
    Label->SetCaption("");
    EXPECT_EQ(RedAndDark().second, 0);
    Label->SetTransparent(true);
    EXPECT_EQ(RedAndDark().first, 0);
    Label->SetTransparent(false);
    Label->Hide();
    EXPECT_EQ(RedAndDark().first, 0);
    Label->Show();
    EXPECT_GT(RedAndDark().first, 0);
    Label->SetLeft(150); // moved out of the area looked at
    EXPECT_EQ(RedAndDark().first, 0);
    Label->SetLeft(20);
    auto* Cover = Add<TLabel>(Panel, "Cover"); // later siblings paint on top
    Cover->SetAutoSize(false);
    Cover->SetBounds(20, 30, 120, 20);
    Cover->SetColor(clLime);
    EXPECT_EQ(RedAndDark().first, 0);
    Label->BringToFront();
    EXPECT_GT(RedAndDark().first, 0);
    Label->SendToBack();
    EXPECT_EQ(RedAndDark().first, 0);
}

TEST_F(WindowlessLabelTest, ClicksAndDoubleClicksReachTheLabel) {
    std::vector<String> Log;
    Label->OnClick = Handler([&](TObject*) { Log.push_back("click"); });
    Label->OnDblClick = Handler([&](TObject*) { Log.push_back("double"); });
    Panel->OnClick = Handler([&](TObject*) { Log.push_back("panel"); });
    Mouse(QEvent::MouseButtonPress, 30, 40);
    Mouse(QEvent::MouseButtonRelease, 30, 40);
    Mouse(QEvent::MouseButtonPress, 30, 40); // pressed on the label, released beside it
    Mouse(QEvent::MouseButtonRelease, 5, 5);
    Mouse(QEvent::MouseButtonDblClick, 30, 40);
    EXPECT_EQ(Log, (std::vector<String>{"click", "double"}));
}

TEST_F(WindowlessLabelTest, AClickThatFreesTheLabelAndItsForm) {
    Label->OnClick = Handler([&](TObject*) { delete Label; });
    Mouse(QEvent::MouseButtonPress, 30, 40);
    Mouse(QEvent::MouseButtonRelease, 30, 40);
    EXPECT_EQ(Panel->ControlCount(), 0);
    auto* Owned = new TForm(nullptr);
    auto* Other = new TLabel(Owned);
    Other->SetParent(Owned);
    Other->SetBounds(0, 0, 50, 20);
    Owned->Show();
    bool Freed = false;
    Other->OnClick = Handler([&](TObject*) {
        delete Owned;
        Freed = true;
    });
    QWidget* Window = Owned->Widget();
    Mouse(QEvent::MouseButtonPress, 5, 5, Window);
    Mouse(QEvent::MouseButtonRelease, 5, 5, Window); // the widget outlives the event
    EXPECT_TRUE(Freed);
    QApplication::processEvents();
}

TEST_F(WindowlessLabelTest, TheParentShowsTheLabelsHint) {
    Label->SetHint("Short|Long");
    QHelpEvent Help(QEvent::ToolTip, QPoint(30, 40), Panel->Widget()->mapToGlobal(QPoint(30, 40)));
    QApplication::sendEvent(Panel->Widget(), &Help);
    EXPECT_NE(FromQString(QToolTip::text()), "Short"); // hints are off
    Label->SetShowHint(true);
    QApplication::sendEvent(Panel->Widget(), &Help);
    EXPECT_EQ(FromQString(QToolTip::text()), "Short");
}

TEST_F(ControlsTest, TabOrderAndFocus) {
    auto* A = Add<TEdit>(&Form, "A");
    auto* B = Add<TEdit>(&Form, "B");
    auto* Group = Add<TGroupBox>(&Form, "Group");
    auto* C = Add<TEdit>(Group, "C");
    auto* Label = Add<TLabel>(&Form);
    (void)Label;
    EXPECT_EQ(A->TabOrder(), 0);
    EXPECT_EQ(B->TabOrder(), 1);
    B->SetTabOrder(0);
    EXPECT_EQ(A->TabOrder(), 1);
    EXPECT_EQ(Form.TabList(), (std::vector<TWinControl*>{B, A, Group}));
    // Tab goes B, A, then into the group box: C, and round again.
    ExpectError<EInvalidOperation>([&] { A->SetFocus(); },
                                   "Cannot focus a disabled or invisible window");
    Form.Show();
    EXPECT_EQ(Form.ActiveControl(), B);
    EXPECT_TRUE(B->Focused());
    Form.PressKey(VK_TAB);
    EXPECT_EQ(Form.ActiveControl(), A);
    Form.PressKey(VK_TAB);
    EXPECT_EQ(Form.ActiveControl(), C);
    Form.PressKey(VK_TAB);
    EXPECT_EQ(Form.ActiveControl(), B);
    Form.PressKey(VK_TAB, TShiftState{ssShift});
    EXPECT_EQ(Form.ActiveControl(), C);
    // Disabled and hidden controls are skipped and cannot take the focus.
    A->SetEnabled(false);
    Group->Hide();
    Form.PressKey(VK_TAB);
    EXPECT_EQ(Form.ActiveControl(), B);
    ExpectError<EInvalidOperation>([&] { C->SetFocus(); },
                                   "Cannot focus a disabled or invisible window");
    // A control that goes takes the focus with it.
    delete B;
    EXPECT_EQ(Form.ActiveControl(), nullptr);
}

// Counts the key presses that reach an edit's handler.
struct TKeyProbe {
    std::vector<Word> Downs;
    std::vector<Word> PanelDowns;
    Integer DefaultClicks = 0;
    void KeyDown(TObject*, Word& Key, TShiftState) { Downs.push_back(Key); }
    void PanelKeyDown(TObject*, Word& Key, TShiftState) { PanelDowns.push_back(Key); }
    void Click(TObject*) { ++DefaultClicks; }
};

// The window system delivers each key press in a new event, usually at the
// address of the one before; every press must reach the focused control,
// and only it, though Qt offers what it leaves to its parents too.
TEST_F(ControlsTest, EveryKeyFromTheWindowSystemReachesTheFocusedControl) {
    TKeyProbe Probe;
    auto* Panel = Add<TPanel>(&Form, "Panel");
    Panel->OnKeyDown = TKeyEvent::Make<&TKeyProbe::PanelKeyDown>(&Probe);
    auto* Edit = Add<TEdit>(Panel, "Edit");
    Edit->OnKeyDown = TKeyEvent::Make<&TKeyProbe::KeyDown>(&Probe);
    auto* Ok = Add<TButton>(&Form, "Ok");
    Ok->SetTop(40);
    Ok->SetDefault(true);
    Ok->OnClick = TNotifyEvent::Make<&TKeyProbe::Click>(&Probe);
    Form.Show();
    Edit->SetFocus();
    QWindow* Window = Form.Handle()->windowHandle();
    ASSERT_NE(Window, nullptr);
    Window->requestActivate();
    // F2 is left by the edit, so Qt offers it to the panel as well.
    for (const auto Key : {Qt::Key_A, Qt::Key_F2, Qt::Key_B, Qt::Key_Return, Qt::Key_Return})
        QTest::keyClick(Window, Key);
    EXPECT_EQ(Probe.Downs, (std::vector<Word>{'A', VK_F2, 'B', VK_RETURN, VK_RETURN}));
    EXPECT_EQ(Probe.DefaultClicks, 2);
    EXPECT_EQ(Edit->Text(), "ab");
    // Presses sent without their releases, each in a fresh event at one place.
    Probe.Downs.clear();
    for (int I = 0; I < 3; ++I) {
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
        QApplication::sendEvent(Edit->Handle(), &Press);
    }
    EXPECT_EQ(Probe.Downs, (std::vector<Word>(3, Word('C'))));
    EXPECT_EQ(Probe.PanelDowns, std::vector<Word>{});
}

TEST_F(ControlsTest, AcceleratorKeysOfCaptions) {
    const std::pair<const char*, Word> Cases[] = {
        {"&File", 'F'},     {"Save && &Quit", 'Q'}, {"A&&B", 0}, {"End&", 0},        {"&1st", '1'},
        {"À &propos", 'P'}, {"&Über", 0},           {"", 0},     {"&a and &b", 'A'},
    };
    for (const auto& [Caption, Key] : Cases)
        EXPECT_EQ(AccelKeyOf(Caption), Key) << Caption;
}

TEST_F(ControlsTest, AltAndALabelsAcceleratorFocusItsControl) {
    auto* Name = Add<TEdit>(&Form, "Name");
    auto* Other = Add<TEdit>(&Form, "Other");
    Other->SetTop(30);
    auto* Label = Add<TLabel>(&Form, "NameLabel");
    Label->SetCaption("&Name:");
    Label->FocusControl = Name;
    Form.Show();
    QWindow* Window = Form.Handle()->windowHandle();
    ASSERT_NE(Window, nullptr);
    Window->requestActivate();
    struct Case {
        const char* Name;
        std::function<void()> Arrange;
        Qt::KeyboardModifiers Modifiers;
        bool Moves;
    };
    const Case Cases[] = {
        {"Alt", [] {}, Qt::AltModifier, true},
        {"Alt+Shift", [] {}, Qt::AltModifier | Qt::ShiftModifier, true},
        {"Ctrl+Alt", [] {}, Qt::AltModifier | Qt::ControlModifier, false},
        {"no Alt", [] {}, Qt::NoModifier, false},
        {"label disabled", [&] { Label->SetEnabled(false); }, Qt::AltModifier, false},
        {"label hidden", [&] { Label->SetVisible(false); }, Qt::AltModifier, false},
        {"control hidden", [&] { Name->SetVisible(false); }, Qt::AltModifier, false},
        {"control disabled", [&] { Name->SetEnabled(false); }, Qt::AltModifier, false},
        {"no accelerator shown", [&] { Label->SetShowAccelChar(false); }, Qt::AltModifier, false},
    };
    for (const Case& C : Cases) {
        Label->SetEnabled(true);
        Label->SetVisible(true);
        Label->SetShowAccelChar(true);
        Name->SetVisible(true);
        Name->SetEnabled(true);
        Other->SetFocus();
        C.Arrange();
        QTest::keyClick(Window, Qt::Key_N, C.Modifiers);
        EXPECT_EQ(Form.ActiveControl(), C.Moves ? static_cast<TWinControl*>(Name) : Other)
            << C.Name;
        EXPECT_EQ(Name->Text(), "") << C.Name << ": the accelerator typed into its control";
        Other->SetText("");
    }
    // A freed control is forgotten: the accelerator does nothing.
    delete Name;
    Other->SetFocus();
    QTest::keyClick(Window, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(Form.ActiveControl(), Other);
}

// Counts its enabled changes and its focus.
class TCountingEdit : public TEdit {
public:
    explicit TCountingEdit(TComponent* AOwner) : TEdit(AOwner) {}
    Integer EnabledChanges = 0;

protected:
    void EnabledChanged() override {
        TEdit::EnabledChanged();
        ++EnabledChanges;
    }
};

TEST_F(ControlsTest, EnabledChangeIsNotifiedAndReachesTheWidget) {
    auto* Edit = Add<TCountingEdit>(&Form);
    Form.HandleNeeded();
    Edit->SetEnabled(false);
    Edit->SetEnabled(false);
    EXPECT_EQ(Edit->EnabledChanges, 1);
    EXPECT_FALSE(Edit->Widget()->isEnabled());
    Edit->SetEnabled(true);
    EXPECT_EQ(Edit->EnabledChanges, 2);
    Form.SetEnabled(false);
    EXPECT_TRUE(Edit->Enabled());
    EXPECT_FALSE(Edit->IsEffectivelyEnabled());
}

TEST_F(ControlsTest, HandlesAreMadeOnDemandAndFollowTheParent) {
    auto* Panel = Add<TPanel>(&Form);
    auto* Button = Add<TButton>(Panel);
    EXPECT_FALSE(Panel->HandleAllocated());
    Button->HandleNeeded(); // creates the whole window
    EXPECT_TRUE(Form.HandleAllocated());
    EXPECT_EQ(Button->Widget()->parentWidget(), Panel->Widget());
    EXPECT_EQ(TControl::FromWidget(Button->Widget()), Button);
    // Moving the button to the form moves its widget there.
    Button->SetParent(&Form);
    ASSERT_TRUE(Button->HandleAllocated());
    EXPECT_EQ(Button->Widget()->parentWidget(), Form.Widget());
    // Taken off every parent, it has no window.
    Button->SetParent(nullptr);
    EXPECT_FALSE(Button->HandleAllocated());
    ExpectError<EInvalidOperation>([&] { Button->HandleNeeded(); },
                                   "Control '' has no parent window");
    Form.DestroyWnd();
    EXPECT_FALSE(Panel->HandleAllocated());
    ExpectError<EInvalidOperation>([&] { Panel->SetParent(Panel); },
                                   "A control cannot have itself as its parent");
}

TEST_F(ControlsTest, StateSetBeforeTheWindowReachesIt) {
    auto* Edit = Add<TEdit>(&Form);
    Edit->SetText("typed");
    Edit->SetBounds(5, 6, 70, 20);
    Edit->SetVisible(false);
    Edit->SetReadOnly(true);
    Form.HandleNeeded();
    auto* Line = static_cast<QLineEdit*>(Edit->Widget());
    EXPECT_EQ(FromQString(Line->text()), "typed");
    EXPECT_EQ(Line->geometry(), QRect(5, 6, 70, 20));
    EXPECT_TRUE(Line->isHidden());
    EXPECT_TRUE(Line->isReadOnly());
}

TEST_F(ControlsTest, WidgetsShowTheFontsAndColoursTheirControlsHave) {
    Form.Font()->SetName("Courier");
    Form.Font()->SetColor(clRed);
    Form.SetColor(clYellow);
    auto* Inheriting = Add<TCheckBox>(&Form);
    auto* Own = Add<TCheckBox>(&Form);
    Own->Font()->SetName("Arial");
    Own->Font()->SetColor(clBlue);
    Own->SetColor(clLime);
    auto* Button = Add<TButton>(&Form);
    auto* Hidden = Add<TButton>(&Form);
    Hidden->SetVisible(false);
    Form.Show();
    const auto Text = [](TControl* C) {
        return C->Widget()->palette().color(QPalette::WindowText);
    };
    const auto Back = [](TControl* C) { return C->Widget()->palette().color(QPalette::Window); };
    EXPECT_EQ(Inheriting->Widget()->font().family(), "Courier");
    EXPECT_EQ(Text(Inheriting), QColor(Qt::red));
    EXPECT_EQ(Back(Inheriting), QColor(Qt::yellow));
    EXPECT_EQ(Button->Widget()->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_EQ(Own->Widget()->font().family(), "Arial");
    EXPECT_EQ(Text(Own), QColor(Qt::blue));
    EXPECT_EQ(Back(Own), QColor(Qt::green));
    EXPECT_TRUE(Inheriting->Widget()->isVisible());
    EXPECT_TRUE(Button->Widget()->isVisible());
    EXPECT_FALSE(Hidden->Widget()->isVisible());

    // Changes of the form's look reach the inheriting control only.
    Form.Font()->SetName("Times");
    Form.Font()->SetColor(clBlack);
    Form.SetColor(clWhite);
    EXPECT_EQ(Inheriting->Widget()->font().family(), "Times");
    EXPECT_EQ(Text(Inheriting), QColor(Qt::black));
    EXPECT_EQ(Back(Inheriting), QColor(Qt::white));
    EXPECT_EQ(Own->Widget()->font().family(), "Arial");
    EXPECT_EQ(Text(Own), QColor(Qt::blue));
    EXPECT_EQ(Back(Own), QColor(Qt::green));
}

TEST_F(ControlsTest, EditsReportChangesFromCodeAndFromTheUser) {
    auto* Edit = Add<TEdit>(&Form);
    Integer Changes = 0;
    struct TCounter {
        Integer* Count;
        void Changed(TObject*) { ++*Count; }
    } Counter{&Changes};
    Edit->OnChange = TNotifyEvent::Make<&TCounter::Changed>(&Counter);
    Edit->SetText("a");
    Edit->SetText("a");
    EXPECT_EQ(Changes, 1);
    Form.HandleNeeded();
    auto* Line = static_cast<QLineEdit*>(Edit->Widget());
    Line->setFocus();
    Line->insert("bc"); // the user types
    EXPECT_EQ(Edit->Text(), "abc");
    EXPECT_EQ(Changes, 2);
    Edit->SetSelStart(1);
    Edit->SetSelLength(5);
    EXPECT_EQ(Edit->SelText(), "bc");
}

TEST_F(ControlsTest, RadioButtonsExcludeEachOtherWithinAParent) {
    auto* GroupA = Add<TGroupBox>(&Form);
    auto* GroupB = Add<TGroupBox>(&Form);
    auto* A1 = Add<TRadioButton>(GroupA);
    auto* A2 = Add<TRadioButton>(GroupA);
    auto* B1 = Add<TRadioButton>(GroupB);
    A1->SetChecked(true);
    B1->SetChecked(true);
    A2->SetChecked(true);
    EXPECT_FALSE(A1->Checked());
    EXPECT_TRUE(A2->Checked());
    EXPECT_TRUE(B1->Checked()); // another parent
    // A click on the widget does the same.
    Form.HandleNeeded();
    static_cast<QAbstractButton*>(A1->Widget())->click();
    EXPECT_TRUE(A1->Checked());
    EXPECT_FALSE(A2->Checked());
}

TEST_F(ControlsTest, CheckBoxClicksAndStates) {
    auto* Box = Add<TCheckBox>(&Form);
    Integer Clicks = 0;
    struct TCounter {
        Integer* Count;
        void Clicked(TObject*) { ++*Count; }
    } Counter{&Clicks};
    Box->OnClick = TNotifyEvent::Make<&TCounter::Clicked>(&Counter);
    Box->SetChecked(true);
    EXPECT_EQ(Clicks, 1);
    Box->SetChecked(true);
    EXPECT_EQ(Clicks, 1);
    Form.HandleNeeded();
    static_cast<QAbstractButton*>(Box->Widget())->click();
    EXPECT_FALSE(Box->Checked());
    EXPECT_EQ(Clicks, 2);
    Box->SetAllowGrayed(true);
    Box->Toggle();
    EXPECT_EQ(Box->State(), cbGrayed);
    EXPECT_EQ(static_cast<QCheckBox*>(Box->Widget())->checkState(), Qt::PartiallyChecked);
}

TEST_F(ControlsTest, ComboBoxStyles) {
    auto* List = Add<TComboBox>(&Form);
    List->SetStyle(csDropDownList);
    List->Items()->Add("Deutsch");
    List->Items()->Add("English");
    Integer Changes = 0;
    struct TCounter {
        Integer* Count;
        void Changed(TObject*) { ++*Count; }
    } Counter{&Changes};
    List->OnChange = TNotifyEvent::Make<&TCounter::Changed>(&Counter);
    List->SetText("English");
    EXPECT_EQ(List->ItemIndex(), 1);
    List->SetText("Français"); // not an entry: nothing selected
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(List->Text(), "");
    EXPECT_EQ(Changes, 0); // changes in code are not the user's
    List->UserSelect(0);
    EXPECT_EQ(List->Text(), "Deutsch");
    EXPECT_EQ(Changes, 1);
    ExpectError<EInvalidOperation>([&] { List->UserType("x"); },
                                   "A list-only combo box takes no typing");
    ExpectError<EListError>([&] { List->UserSelect(2); }, "List index out of bounds (2)");

    auto* Editable = Add<TComboBox>(&Form);
    Editable->Items()->Add("C:\\Orlo");
    Editable->SetText("/opt/orlo");
    EXPECT_EQ(Editable->ItemIndex(), -1);
    EXPECT_EQ(Editable->Text(), "/opt/orlo");
    Form.HandleNeeded();
    auto* Box = static_cast<QComboBox*>(Editable->Widget());
    EXPECT_TRUE(Box->isEditable());
    EXPECT_EQ(FromQString(Box->currentText()), "/opt/orlo");
    Box->setEditText("/srv"); // the user types
    EXPECT_EQ(Editable->Text(), "/srv");
    List->Items()->Clear();
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(static_cast<QComboBox*>(List->Widget())->count(), 0);
    List->SetSorted(true);
    List->Items()->Add("b");
    List->Items()->Add("a");
    EXPECT_EQ(List->Items()->Get(0), "a");
}

TEST_F(ControlsTest, ListBoxAndMemo) {
    auto* List = Add<TListBox>(&Form);
    List->Items()->Add("one");
    List->Items()->Add("two");
    List->SetItemIndex(5);
    EXPECT_EQ(List->ItemIndex(), -1);
    List->UserSelect(1);
    EXPECT_EQ(List->ItemIndex(), 1);

    auto* Memo = Add<TMemo>(&Form);
    Memo->Lines()->Add("first");
    Memo->Lines()->Add("second");
    EXPECT_EQ(Memo->Text(), "first\r\nsecond\r\n");
    Form.HandleNeeded();
    auto* Edit = static_cast<QPlainTextEdit*>(Memo->Widget());
    EXPECT_EQ(FromQString(Edit->toPlainText()), "first\nsecond");
    Edit->setPlainText("typed\nby hand"); // the user
    EXPECT_EQ(Memo->Lines()->Count(), 2);
    EXPECT_EQ(Memo->Lines()->Get(1), "by hand");
}

TEST_F(ControlsTest, LabelMeasuresItsCaption) {
    auto* Label = Add<TLabel>(&Form);
    Label->SetCaption("A&ccount");
    const TPoint OneLine = Label->MeasureText();
    EXPECT_EQ(Label->Width(), OneLine.X);
    EXPECT_EQ(Label->Height(), OneLine.Y);
    EXPECT_EQ(Label->Width(), Label->Canvas()->TextWidth("Account"));
    // Word wrap keeps the width and grows downwards.
    Label->SetWordWrap(true);
    Label->SetWidth(60);
    Label->SetCaption("A long text that needs several lines to be read");
    EXPECT_EQ(Label->Width(), 60);
    EXPECT_GE(Label->Height(), 3 * OneLine.Y);
    // Without AutoSize nothing moves.
    Label->SetAutoSize(false);
    Label->SetBounds(0, 0, 10, 10);
    Label->SetCaption("Wider than ten pixels");
    EXPECT_EQ(Label->Width(), 10);
    EXPECT_EQ(StripAccelChars("Save && &Quit"), "Save & Quit");
}

TEST_F(ControlsTest, OwnerDrawnListsDrawAndMeasureThroughTheirEvents) {
    struct TDrawer {
        std::vector<Integer> Drawn;
        void Draw(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState) {
            TCanvas* Canvas = static_cast<TListBox*>(Control)->Canvas();
            Drawn.push_back(Index);
            Canvas->Brush().Color = Index == 1 ? clRed : clWhite;
            Canvas->FillRect(Rect);
        }
        void Measure(TWinControl*, Integer Index, Integer& Height) { Height = 10 + 10 * Index; }
    } Drawer;
    auto* List = Add<TListBox>(&Form);
    List->Style = lbOwnerDrawVariable;
    List->SetBounds(0, 0, 100, 100);
    List->Items()->SetText("a\nb\nc\n");
    List->OnDrawItem = TDrawItemEvent::Make<&TDrawer::Draw>(&Drawer);
    List->OnMeasureItem = TMeasureItemEvent::Make<&TDrawer::Measure>(&Drawer);
    Form.Show();
    auto* View = static_cast<QListWidget*>(List->Widget());
    const QImage Image = View->viewport()->grab().toImage();
    const auto RedIn = [&](int Row) {
        const QRect R = View->visualItemRect(View->item(Row));
        int Red = 0;
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                Red += Image.pixelColor(X, Y) == QColor(Qt::red);
        return Red;
    };
    EXPECT_EQ(View->visualItemRect(View->item(0)).height(), 10);
    EXPECT_EQ(View->visualItemRect(View->item(2)).height(), 30);
    EXPECT_EQ(RedIn(0), 0);
    EXPECT_EQ(RedIn(1), View->visualItemRect(View->item(1)).width() * 20);
    EXPECT_NE(std::find(Drawer.Drawn.begin(), Drawer.Drawn.end(), 2), Drawer.Drawn.end());
    // Outside a paint the canvas has nothing to draw on.
    ExpectError<EInvalidOperation>(
        [&] {
            List->Canvas()->FillRect(TRect{0, 0, 5, 5});
        },
        "Canvas does not allow drawing");
}

TEST_F(ControlsTest, BitButtonKinds) {
    struct Case {
        TBitBtnKind Kind;
        const char* Caption;
        TModalResult Result;
        bool Default;
        bool Cancel;
    };
    const Case Cases[] = {
        {bkOK, "OK", mrOk, true, false},
        {bkCancel, "Cancel", mrCancel, false, true},
        {bkYes, "&Yes", mrYes, true, false},
        {bkNo, "&No", mrNo, false, true},
        {bkAbort, "Abort", mrAbort, false, false},
        {bkRetry, "&Retry", mrRetry, false, false},
        {bkIgnore, "&Ignore", mrIgnore, false, false},
        {bkAll, "&All", mrAll, false, false},
        {bkHelp, "&Help", mrNone, false, false},
        {bkClose, "&Close", mrNone, false, false},
    };
    for (const Case& C : Cases) {
        auto* Button = Add<TBitBtn>(&Form);
        Button->SetKind(C.Kind);
        EXPECT_EQ(Button->Caption(), C.Caption);
        EXPECT_EQ(Button->ModalResult(), C.Result) << C.Caption;
        EXPECT_EQ(Button->Default(), C.Default) << C.Caption;
        EXPECT_EQ(Button->Cancel(), C.Cancel) << C.Caption;
        EXPECT_FALSE(Button->ShownGlyph().isNull()) << C.Caption;
    }
    // Close closes the form; Help asks for help.
    auto* Close = Add<TBitBtn>(&Form);
    Close->SetKind(bkClose);
    auto* Help = Add<TBitBtn>(&Form);
    Help->SetKind(bkHelp);
    Help->SetHelpContext(42);
    TModalScript Script;
    Script.Answer([&](TCustomForm*) {
        Help->Click();
        Close->Click();
    });
    EXPECT_EQ(Form.ShowModal(), mrCancel);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 42);
    // A custom glyph of two images shows the first.
    auto* Custom = Add<TBitBtn>(&Form);
    QImage Strip(32, 16, QImage::Format_ARGB32);
    Strip.fill(Qt::red);
    Custom->Glyph()->SetImage(Strip);
    Custom->SetNumGlyphs(2);
    EXPECT_EQ(Custom->ShownGlyph().size(), QSize(16, 16));
}

TEST_F(ControlsTest, WindowStateNormalBoundsAndTrackingSizes) {
    class TLimitedForm : public TForm {
    public:
        using TForm::TForm;

    protected:
        void GetMinMaxInfo(TMinMaxRecord& Info) override {
            Info.ptMinTrackSize = TPoint{400, 200};
            Info.ptMaxTrackSize = TPoint{800, 600};
        }
    };
    TLimitedForm Limited(nullptr);
    Limited.SetBounds(10, 20, 500, 300);
    Limited.Show();
    EXPECT_EQ(Limited.Widget()->minimumSize(),
              QSize(400 - Limited.FrameSize().X, 200 - Limited.FrameSize().Y));
    // The user cannot drag it smaller; code cannot size it smaller either.
    Limited.Widget()->resize(10, 10);
    EXPECT_EQ(Limited.Width(), 400);
    Limited.SetBounds(10, 20, 100, 1000);
    EXPECT_EQ(Limited.Width(), 400);
    EXPECT_EQ(Limited.Height(), 600);
    Limited.SetBounds(10, 20, 500, 300);
    EXPECT_EQ(Limited.NormalBounds(), (TRect{10, 20, 510, 320}));
    Limited.SetWindowState(wsMaximized);
    EXPECT_EQ(Limited.WindowState(), wsMaximized);
    EXPECT_EQ(Limited.NormalBounds(), (TRect{10, 20, 510, 320}));
    Limited.SetWindowState(wsNormal);
    EXPECT_EQ(Limited.BoundsRect(), (TRect{10, 20, 510, 320}));
}

TEST_F(ControlsTest, ScreenCentresAndScreenshots) {
    Form.SetName("Shot");
    Form.SetCaption("Screenshot");
    Form.SetClientWidth(200);
    Form.SetClientHeight(100);
    Form.SetPosition(poScreenCenter);
    auto* Label = Add<TLabel>(&Form);
    Label->SetBounds(10, 10, 100, 20);
    Label->SetCaption("Hello");
    Form.Show();
    EXPECT_EQ(Form.Left(), (Screen->Width() - Form.Width()) / 2);
    EXPECT_EQ(Form.Top(), (Screen->Height() - Form.Height()) / 2);
    TTempFolder Temp;
    const String File = Temp.Path() + "/shot.png";
    SaveScreenshot(&Form, File);
    QImage Image(ToQString(File));
    EXPECT_EQ(Image.size(), QSize(200, 100));
    ExpectError<EInOutError>([&] { SaveScreenshot(&Form, Temp.Path() + "/no/such/dir/x.png"); },
                             "Cannot write " + Temp.Path() + "/no/such/dir/x.png");
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace orlo::test
