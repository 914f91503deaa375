// Modal forms driven through the application's modal runner: results,
// nesting, close queries, the close box, keys, activation, and handlers
// that close or free what called them.

#include "platform/forms/Clipbrd.h"
#include "platform/forms/ModalScript.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/forms/LiveLoop.h"
#include "tests/rtl/ExpectError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace orlo::test {
namespace {

// A small dialog built in code: OK and Cancel buttons, an edit, and a
// button that opens another dialog.
class TSmallDialog : public TForm {
    ORLO_CLASS(TSmallDialog, TForm)
public:
    explicit TSmallDialog(TComponent* AOwner) : TForm(AOwner) {
        SetName("Small");
        Edit = Add<TEdit>("Edit");
        Ok = Add<TButton>("OK");
        Ok->SetModalResult(mrOk);
        Ok->SetDefault(true);
        Cancel = Add<TButton>("Cancel");
        Cancel->SetModalResult(mrCancel);
        Cancel->SetCancel(true);
        More = Add<TButton>("More");
        More->OnClick = TNotifyEvent::Make<&TSmallDialog::MoreClick>(this);
        OnShow = TNotifyEvent::Make<&TSmallDialog::Count>(this);
        OnActivate = TNotifyEvent::Make<&TSmallDialog::CountActivation>(this);
        OnCloseQuery = TCloseQueryEvent::Make<&TSmallDialog::AskClose>(this);
    }
    template <class C> C* Add(const char* Name) {
        auto* Control = new C(this);
        Control->SetName(Name);
        Control->SetParent(this);
        Control->SetTop(ControlCount() * 30);
        return Control;
    }
    void MoreClick(TObject*) {
        TSmallDialog Inner(nullptr);
        Inner.SetName("Inner");
        InnerResult = Inner.ShowModal();
    }
    void Count(TObject*) { ++Shows; }
    void CountActivation(TObject*) { ++Activations; }
    void AskClose(TObject*, bool& CanClose) {
        ++CloseQueries;
        CanClose = AllowClose;
    }

    TEdit* Edit;
    TButton* Ok;
    TButton* Cancel;
    TButton* More;
    TModalResult InnerResult = mrNone;
    Integer Shows = 0;
    Integer Activations = 0;
    Integer CloseQueries = 0;
    bool AllowClose = true;
};

ORLO_UNPUBLISHED(TSmallDialog, "ModalTest")

class ModalTest : public FormsTest {};

TEST_F(ModalTest, ButtonsKeysAndCloseBoxAnswer) {
    struct Case {
        const char* Name;
        std::function<void(TModalScript&)> Script;
        TModalResult Expected;
    };
    const Case Cases[] = {
        {"OK button", [](TModalScript& S) { S.Click("OK"); }, mrOk},
        {"Cancel button", [](TModalScript& S) { S.Click("Cancel"); }, mrCancel},
        {"Enter: default button", [](TModalScript& S) { S.Press(VK_RETURN); }, mrOk},
        {"Escape: cancel button", [](TModalScript& S) { S.Press(VK_ESCAPE); }, mrCancel},
        {"close box", [](TModalScript& S) { S.CloseBox(); }, mrCancel},
        {"a round without result, then OK",
         [](TModalScript& S) { S.Answer([](TCustomForm*) {}).Click("OK"); }, mrOk},
        {"a result of its own", [](TModalScript& S) { S.Result(mrRetry); }, mrRetry},
    };
    for (const Case& C : Cases) {
        TSmallDialog Dialog(nullptr);
        TModalScript Script;
        C.Script(Script);
        EXPECT_EQ(Dialog.ShowModal(), C.Expected) << C.Name;
        EXPECT_FALSE(Dialog.Visible()) << C.Name;
        EXPECT_EQ(Dialog.Shows, 1) << C.Name;
        EXPECT_EQ(Dialog.Activations, 1) << C.Name;
        EXPECT_EQ(Script.Pending(), 0) << C.Name;
    }
}

TEST_F(ModalTest, EnterInAFocusedButtonPressesThatButton) {
    TSmallDialog Dialog(nullptr);
    TModalScript Script;
    Script.Answer([&](TCustomForm*) {
        Dialog.Cancel->SetFocus();
        Dialog.PressKey(VK_RETURN);
    });
    EXPECT_EQ(Dialog.ShowModal(), mrCancel);
}

TEST_F(ModalTest, NestedDialogsTakeTheNextAnswers) {
    TSmallDialog Outer(nullptr);
    TModalScript Script;
    Script
        .Click("More")    // the outer dialog opens the inner one ...
        .Click("More")    // ... which opens a third
        .Press(VK_ESCAPE) // the third is cancelled
        .Click("OK")      // the inner one confirmed
        .Answer([](TCustomForm* F) { F->SetModalResult(mrYes); }); // the outer again
    EXPECT_EQ(Outer.ShowModal(), mrYes);
    EXPECT_EQ(Outer.InnerResult, mrOk);
    EXPECT_EQ(Script.Shown(), (std::vector<String>{"Small", "Inner", "Inner", "Inner", "Small"}));
    // The outer dialog was activated again each time an inner one closed.
    EXPECT_EQ(Outer.Activations, 2);
}

TEST_F(ModalTest, MessageBoxOfAHandlerInANestedDialog) {
    // A dialog opens a dialog whose button raises: the exception is shown in
    // a message box, which the script answers too.
    TSmallDialog Outer(nullptr);
    TModalScript Script;
    Script.Click("More")
        .Answer([](TCustomForm* Inner) {
            FindControl(Inner, "OK")->OnClick = TNotifyEvent();
            GuardedCall(Inner, [] { throw EConvertError("'x' is not a valid integer value"); });
            Inner->SetModalResult(mrAbort);
        })
        .Answer([](TCustomForm* Box) {
            EXPECT_EQ(Box->Name(), "PlainMessageBox");
            auto* Text = dynamic_cast<TLabel*>(FindControl(Box, "Message"));
            ASSERT_NE(Text, nullptr);
            EXPECT_EQ(Text->Caption(), "'x' is not a valid integer value.");
            Box->PressKey(VK_RETURN);
        })
        .Click("Cancel");
    EXPECT_EQ(Outer.ShowModal(), mrCancel);
    EXPECT_EQ(Outer.InnerResult, mrAbort);
    EXPECT_EQ(Script.Shown(), (std::vector<String>{"Small", "Inner", "PlainMessageBox", "Small"}));
}

// Without a runner ShowModal runs Qt's event loop, as in a live program; the
// user's keys and clicks come in through the window system (QTest).
class LiveModalTest : public ModalTest {
protected:
    // Shows Form modally and runs Steps inside its loop.
    static TModalResult ShowLive(TCustomForm& Form, std::function<void()> Steps) {
        return RunLive([&Form] { return Form.ShowModal(); }, std::move(Steps));
    }
    static void Type(QWindow* Window, std::initializer_list<Qt::Key> Keys) {
        ASSERT_NE(Window, nullptr);
        for (Qt::Key Key : Keys)
            QTest::keyClick(Window, Key);
    }
};

TEST_F(LiveModalTest, KeysClicksAndTheCloseBoxEndTheLoop) {
    struct Case {
        const char* Name;
        std::function<void(TSmallDialog&)> User;
        TModalResult Expected;
        const char* Text;
    };
    const Case Cases[] = {
        {"typing, then Enter: default button",
         [](TSmallDialog&) {
             Type(TopWindow(), {Qt::Key_H, Qt::Key_I, Qt::Key_Return});
         },
         mrOk, "hi"},
        {"typing, then Escape: cancel button",
         [](TSmallDialog&) {
             Type(TopWindow(), {Qt::Key_X, Qt::Key_Escape});
         },
         mrCancel, "x"},
        {"a click on the cancel button",
         [](TSmallDialog& D) { QTest::mouseClick(D.Cancel->Handle(), Qt::LeftButton); }, mrCancel,
         ""},
        {"the close box", [](TSmallDialog&) { TopWindow()->close(); }, mrCancel, ""},
    };
    for (const Case& C : Cases) {
        TSmallDialog Dialog(nullptr);
        EXPECT_EQ(ShowLive(Dialog, [&] { C.User(Dialog); }), C.Expected) << C.Name;
        EXPECT_FALSE(Dialog.Visible()) << C.Name;
        EXPECT_EQ(Dialog.Edit->Text(), C.Text) << C.Name;
    }
}

TEST_F(LiveModalTest, NestedLoopsAndARefusedClose) {
    TSmallDialog Outer(nullptr);
    const TModalResult Result = ShowLive(Outer, [&] {
        // The click opens the inner dialog and returns when it closes.
        QTimer::singleShot(0, [] { Type(TopWindow(), {Qt::Key_Escape}); });
        QTest::mouseClick(Outer.More->Handle(), Qt::LeftButton);
        EXPECT_EQ(Outer.InnerResult, mrCancel);
        // Enter in the edit (in the button it would press that button). The
        // close query refuses: the loop goes on and takes the next Enter.
        Outer.Edit->SetFocus();
        Outer.AllowClose = false;
        Type(TopWindow(), {Qt::Key_Return});
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(Outer.Visible());
            EXPECT_EQ(Outer.CloseQueries, 1);
            Outer.AllowClose = true;
            Type(TopWindow(), {Qt::Key_Return});
        });
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(Outer.CloseQueries, 2);
}

// The window system need not activate another window when one goes away
// (the offscreen one does not): the form active before takes the keyboard back.
TEST_F(LiveModalTest, TheWindowBeforeTakesTheKeyboardBackWhenOneGoes) {
    TSmallDialog Owner(nullptr);
    Owner.SetName("Owner");
    Owner.Show();
    Owner.Edit->SetFocus();
    QWindow* const Window = Owner.Handle()->windowHandle();
    const std::pair<const char*, std::function<void()>> Cases[] = {
        {"a modal dialog ended with Escape",
         [] {
             TSmallDialog Dialog(nullptr);
             Dialog.SetName("Dialog");
             ShowLive(Dialog, [] { Type(TopWindow(), {Qt::Key_Escape}); });
         }},
        {"a second window hidden",
         [] {
             TSmallDialog Second(nullptr);
             Second.SetName("Second");
             Second.Show();
             QCoreApplication::processEvents();
             Second.Hide();
         }},
    };
    for (const auto& [Name, Away] : Cases) {
        Away();
        for (Integer Round = 0; Round < 100 && QGuiApplication::focusWindow() != Window; ++Round)
            QCoreApplication::processEvents();
        EXPECT_EQ(QGuiApplication::focusWindow(), Window) << Name;
        EXPECT_EQ(Screen->ActiveForm(), &Owner) << Name;
    }
    Type(QGuiApplication::focusWindow(), {Qt::Key_O, Qt::Key_K});
    EXPECT_EQ(Owner.Edit->Text(), "ok");
}

TEST_F(ModalTest, RefusedCloseQueryAsksTheRunnerAgain) {
    TSmallDialog Dialog(nullptr);
    Dialog.AllowClose = false;
    TModalScript Script;
    Script.Click("OK").Answer([&](TCustomForm* F) {
        EXPECT_EQ(F->ModalResult(), mrNone); // the refusal took the result back
        Dialog.AllowClose = true;
        Dialog.Ok->Click();
    });
    EXPECT_EQ(Dialog.ShowModal(), mrOk);
    EXPECT_EQ(Dialog.CloseQueries, 2);
}

TEST_F(ModalTest, FormLeftOpenRaisesInsteadOfHanging) {
    TSmallDialog Dialog(nullptr);
    Dialog.SetCloseEnabled(false);
    {
        Integer Rounds = 0;
        Application->SetModalRunner([&Rounds](TCustomForm*) { ++Rounds; });
        ExpectError<EInvalidOperation>([&] { Dialog.ShowModal(); },
                                       "Modal form Small was left open");
        Application->SetModalRunner(nullptr);
        EXPECT_EQ(Rounds, 100);
    }
    EXPECT_FALSE(Dialog.Visible());
    {
        // The close box does nothing while disabled: the form asks again.
        TModalScript Script;
        Script.CloseBox();
        ExpectError<EInvalidOperation>([&] { Dialog.ShowModal(); },
                                       "No answer for modal form Small");
    }
    // A close query that refuses the close box asks for the next answer.
    Dialog.SetCloseEnabled(true);
    Dialog.AllowClose = false;
    TModalScript Script;
    Script.CloseBox();
    ExpectError<EInvalidOperation>([&] { Dialog.ShowModal(); }, "No answer for modal form Small");
    EXPECT_EQ(Dialog.CloseQueries, 1);
}

TEST_F(ModalTest, ShowModalOfAVisibleOrDisabledFormRaises) {
    TSmallDialog Dialog(nullptr);
    Dialog.Show();
    ExpectError<EInvalidOperation>([&] { Dialog.ShowModal(); },
                                   "Cannot make a visible window modal");
    Dialog.Hide();
    Dialog.SetEnabled(false);
    ExpectError<EInvalidOperation>([&] { Dialog.ShowModal(); },
                                   "Cannot make a visible window modal");
}

TEST_F(ModalTest, CloseBoxDisabledRemovesTheWindowsCloseButton) {
    TSmallDialog Dialog(nullptr);
    Dialog.HandleNeeded();
    EXPECT_TRUE(Dialog.Widget()->windowFlags() & Qt::WindowCloseButtonHint);
    Dialog.SetCloseEnabled(false);
    EXPECT_FALSE(Dialog.Widget()->windowFlags() & Qt::WindowCloseButtonHint);
    // Qt's own close request is refused too.
    Dialog.Show();
    Dialog.Widget()->close();
    EXPECT_TRUE(Dialog.Visible());
    Dialog.SetCloseEnabled(true);
    Dialog.Widget()->close();
    EXPECT_FALSE(Dialog.Visible());
}

// A form whose handlers close or free what called them.
class TSelfClosingForm : public TForm {
    ORLO_CLASS(TSelfClosingForm, TForm)
public:
    explicit TSelfClosingForm(TComponent* AOwner) : TForm(AOwner) {
        Button = new TButton(this);
        Button->SetParent(this);
        OnClose = TCloseEvent::Make<&TSelfClosingForm::FormClose>(this);
        ++Live;
    }
    ~TSelfClosingForm() override { --Live; }
    void FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
    void CloseClick(TObject*) { Close(); }
    void FreeButtonClick(TObject*) {
        delete Button;
        Button = nullptr;
    }
    TButton* Button;
    static inline Integer Live = 0;
};

ORLO_UNPUBLISHED(TSelfClosingForm, "ModalTest")

TEST_F(ModalTest, HandlerThatClosesItsOwnFormFreesItLater) {
    auto* Form = new TSelfClosingForm(nullptr);
    Form->Button->OnClick = TNotifyEvent::Make<&TSelfClosingForm::CloseClick>(Form);
    Form->Show();
    Form->Button->Click(); // closes with caFree: the form must survive the click
    EXPECT_EQ(TSelfClosingForm::Live, 1);
    EXPECT_FALSE(Form->Visible());
    Application->ProcessMessages();
    EXPECT_EQ(TSelfClosingForm::Live, 0);
}

TEST_F(ModalTest, ReleasedFormFreedByItsCallerFirstIsNotFreedTwice) {
    auto* Form = new TSelfClosingForm(nullptr);
    Form->Release();
    delete Form;
    Application->ProcessMessages();
    EXPECT_EQ(TSelfClosingForm::Live, 0);
}

TEST_F(ModalTest, ButtonFreedByItsOwnClickThroughQt) {
    TSelfClosingForm Form(nullptr);
    Form.Button->OnClick = TNotifyEvent::Make<&TSelfClosingForm::FreeButtonClick>(&Form);
    Form.Show();
    // The click arrives as Qt's signal; the handler frees the button and its widget.
    auto* Widget = qobject_cast<QAbstractButton*>(Form.Button->Widget());
    ASSERT_NE(Widget, nullptr);
    Widget->click();
    EXPECT_EQ(Form.Button, nullptr);
    EXPECT_EQ(Form.ControlCount(), 0);
    Application->ProcessMessages(); // the widget goes once Qt is done with it
}

TEST_F(ModalTest, ModalFormClosedWithCaFreeIsReleasedAfterShowModal) {
    auto* Form = new TSelfClosingForm(nullptr);
    Form->Button->SetModalResult(mrOk);
    TModalScript Script;
    Script.Answer([](TCustomForm* F) { static_cast<TSelfClosingForm*>(F)->Button->Click(); });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_EQ(TSelfClosingForm::Live, 1); // still there for the caller to read
    Application->ProcessMessages();
    EXPECT_EQ(TSelfClosingForm::Live, 0);
}

TEST_F(ModalTest, ShowAndActivateEventsFollowTheWindows) {
    TSmallDialog First(nullptr);
    TSmallDialog Second(nullptr);
    First.Show();
    EXPECT_EQ(First.Shows, 1);
    EXPECT_EQ(First.Activations, 1);
    EXPECT_TRUE(First.Active());
    EXPECT_EQ(Screen->ActiveForm(), &First);
    Second.Show();
    EXPECT_FALSE(First.Active());
    EXPECT_EQ(Screen->ActiveForm(), &Second);
    Second.Hide();
    // The first is active again: every activation fires.
    EXPECT_EQ(First.Activations, 2);
    EXPECT_EQ(Screen->ActiveForm(), &First);
    First.Hide();
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

TEST_F(ModalTest, BeepsHelpAndClipboardAreRecorded) {
    TModalScript Script;
    Beep();
    Beep();
    Application->HelpFile = "glossa.hlp";
    EXPECT_TRUE(Application->HelpContext(4000));
    Clipboard()->SetAsText("https://example.org/orlo");
    EXPECT_EQ(Script.Log().Beeps, 2);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].HelpFile, "glossa.hlp");
    EXPECT_EQ(Script.Log().HelpRequests[0].Command, HELP_CONTEXT);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 4000);
    EXPECT_EQ(Script.Log().ClipboardTexts, std::vector<String>{"https://example.org/orlo"});
    EXPECT_EQ(Clipboard()->AsText(), "https://example.org/orlo");
    Application->HelpFile.clear();
}

TEST_F(ModalTest, F1AsksForHelpAtTheFocusedControlsContext) {
    TSmallDialog Dialog(nullptr);
    Dialog.Edit->SetHelpContext(7000);
    Dialog.SetHelpContext(8000);
    TModalScript Script;
    Script.Answer([&](TCustomForm*) {
        Dialog.Edit->SetFocus();
        Dialog.PressKey(VK_F1);
        Dialog.Ok->SetFocus();
        Dialog.PressKey(VK_F1);
        Dialog.Ok->Click();
    });
    Dialog.ShowModal();
    ASSERT_EQ(Script.Log().HelpRequests.size(), 2u);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 7000);
    EXPECT_EQ(Script.Log().HelpRequests[1].Data, 8000);
}

TEST_F(ModalTest, HandleExceptionShowsTheInstalledBox) {
    std::vector<String> Shown;
    TExceptionBox Previous =
        Application->SetExceptionBox([&](TObject*, const String& ClassName, const String& Message) {
            Shown.push_back(ClassName + ": " + Message);
        });
    try {
        throw EInvalidOperation("No way");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    try {
        Abort();
    } catch (...) {
        Application->HandleException(nullptr); // silent
    }
    Application->SetExceptionBox(Previous);
    EXPECT_EQ(Shown, std::vector<String>{"EInvalidOperation: No way"});
}

TEST(ConsoleProgram, HandleExceptionWritesToStandardError) {
    // A fresh process without a QApplication: a console program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            try {
                throw EInvalidOperation("No way");
            } catch (...) {
                Application->HandleException(nullptr);
            }
            std::exit(IsWidgetApplication() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "EInvalidOperation: No way");
}

} // namespace
} // namespace orlo::test
