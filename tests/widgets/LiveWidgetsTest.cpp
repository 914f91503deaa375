// The widgets driven as a user drives them, through the window system
// (QTest): the message box in its own event loop answered by keys and
// accelerators, the history combo box typed into, and the language combo box
// picked from.

#include "runtime/LangComboBox.h"
#include "widgets/MRUComboBox.h"
#include "widgets/MsgBox.h"

#include "tests/classes/LinesOf.h"
#include "tests/forms/LiveLoop.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {
namespace {

// The message box that is open now.
TMyMsgForm* OpenBox() {
    return dynamic_cast<TMyMsgForm*>(Screen->ActiveForm());
}

// The visible button of the open box with that caption.
QWidget* ButtonOfBox(const String& Caption) {
    TButtonCollection* Items = OpenBox()->ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I)
        if (Items->Items(I)->GetBool(3) && Items->Items(I)->Caption() == Caption)
            return Items->Items(I)->Button()->Widget();
    ADD_FAILURE() << "no button " << Caption;
    return nullptr;
}

class LiveMsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    // Runs Show (which opens a box in its own event loop) with User's steps
    // inside that loop.
    static Integer ShowLive(const std::function<Integer()>& Show, std::function<void()> User) {
        return RunLive(Show, std::move(User));
    }
    static void Type(Qt::Key Key, Qt::KeyboardModifiers Modifiers = {}) {
        QWindow* Window = TopWindow();
        ASSERT_NE(Window, nullptr);
        QTest::keyClick(Window, Key, Modifiers);
    }

    TLanguageFrameHost English{"", "English"};
};

TEST_F(LiveMsgBoxTest, KeysAndAcceleratorsAnswerTheBox) {
    struct Case {
        const char* Name;
        std::function<void()> User;
        Integer Expected;
    };
    const Case Cases[] = {
        {"Enter: the first button", [] { Type(Qt::Key_Return); }, mrYes},
        {"Escape: the cancel button", [] { Type(Qt::Key_Escape); }, mrCancel},
        {"Alt and the accelerator", [] { Type(Qt::Key_N, Qt::AltModifier); }, mrNo},
        {"Tab to the next button, then Space",
         [] {
             Type(Qt::Key_Tab);
             Type(Qt::Key_Space);
         },
         mrNo},
        {"a click", [] { QTest::mouseClick(ButtonOfBox("&Cancel"), Qt::LeftButton); }, mrCancel},
        {"the close box", [] { TopWindow()->close(); }, mrCancel},
    };
    for (const Case& C : Cases) {
        const Integer Result = ShowLive(
            [] {
                return MessageDlg("Save the changes?", mtConfirmation, {mbYes, mbNo, mbCancel});
            },
            C.User);
        EXPECT_EQ(Result, C.Expected) << C.Name;
        EXPECT_EQ(OpenBox(), nullptr) << C.Name;
    }
}

TEST_F(LiveMsgBoxTest, YesNoBoxIgnoresEscapeAndTheCloseBoxUntilAButtonAnswers) {
    String Picture;
    const Integer Result = ShowLive(
        [] {
            return MessageDlg("Delete the file?", mtWarning, {mbYes, mbNo});
        },
        [&] {
            Type(Qt::Key_Escape);
            TopWindow()->close();
            QApplication::processEvents();
            ASSERT_NE(OpenBox(), nullptr);
            EXPECT_TRUE(OpenBox()->Visible());
            Picture = Screenshot(OpenBox(), "msgbox-live-yes-no");
            Type(Qt::Key_Y, Qt::AltModifier);
        });
    EXPECT_EQ(Result, mrYes);
    EXPECT_FALSE(Picture.empty());
}

// --- Controls on a shown form ----------------------------------------------------

class LiveWidgetsTest : public ::testing::Test {
protected:
    LiveWidgetsTest() { Form->SetBounds(100, 100, 400, 250); }
    void ShowForm() {
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Form->Handle()->windowHandle()->requestActivate();
    }
    void Type(std::initializer_list<Qt::Key> Keys) {
        for (Qt::Key Key : Keys)
            QTest::keyClick(Form->Handle()->windowHandle(), Key);
    }
    static void TypeText(const char* Text) { QTest::keyClicks(QApplication::focusWidget(), Text); }

    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
};

TEST_F(LiveWidgetsTest, HistoryComboBoxAcceptsWhatIsTypedOnEnterAndOnLeaving) {
    auto* Box = new TMRUComboBox(Form.get());
    Box->SetParent(Form.get());
    Box->SetHistory("beta;alpha;");
    auto* Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetTop(100);
    Integer Changes = 0;
    struct TCounter {
        Integer* Count;
        void Changed(TObject*) { ++*Count; }
    } Counter{&Changes};
    Box->OnChange = TNotifyEvent::Make<&TCounter::Changed>(&Counter);
    ShowForm();
    Box->ComboBox()->SetFocus();
    Box->ComboBox()->SelectAll();
    TypeText("gamma");
    EXPECT_EQ(Changes, 0); // typing alone accepts nothing
    Type({Qt::Key_Return});
    EXPECT_EQ(LinesOf(*Box->HistoryList()), (std::vector<String>{"gamma", "beta", "alpha"}));
    EXPECT_EQ(Box->AcceptedText(), "gamma");
    EXPECT_EQ(Changes, 1);
    // A known entry typed and left by Tab moves to the top.
    Box->ComboBox()->SelectAll();
    TypeText("alpha");
    Type({Qt::Key_Tab});
    EXPECT_EQ(LinesOf(*Box->HistoryList()), (std::vector<String>{"alpha", "gamma", "beta"}));
    EXPECT_EQ(Changes, 2);
    // An entry picked with the keys is accepted at once.
    Box->ComboBox()->SetFocus();
    Type({Qt::Key_Down});
    EXPECT_EQ(Box->AcceptedText(), "gamma");
    EXPECT_EQ(LinesOf(*Box->HistoryList()), (std::vector<String>{"gamma", "alpha", "beta"}));
    EXPECT_EQ(Changes, 3);
}

TEST_F(LiveWidgetsTest, LanguageComboBoxPickedByKeysOrFromItsListSwitchesTheForm) {
    auto* Glossa = new TGlossa(Form.get());
    AddLanguages(Glossa, {"English", "Deutsch", "Français"});
    auto* Combo = new TLangComboBox(Form.get());
    Combo->SetParent(Form.get());
    ShowForm();
    ASSERT_EQ(Combo->Text(), "English"); // the entries: Deutsch, English, Français
    Combo->SetFocus();
    Type({Qt::Key_Down});
    EXPECT_EQ(Glossa->GetLanguage(), "Français");
    EXPECT_EQ(Combo->Text(), "Français");
    // Opened with Alt+Down, the first entry picked in the list.
    QTest::keyClick(Form->Handle()->windowHandle(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Combo->DroppedDown());
    QAbstractItemView* List = static_cast<QComboBox*>(Combo->Widget())->view();
    QTest::keyClick(List, Qt::Key_Home);
    QTest::keyClick(List, Qt::Key_Return);
    EXPECT_FALSE(Combo->DroppedDown());
    EXPECT_EQ(Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(static_cast<QComboBox*>(Combo->Widget())->currentText(), "Deutsch");
}

} // namespace
} // namespace orlo::test
