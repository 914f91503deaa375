// The button panel: its layout rule, the items and their buttons, clicks in
// their order (also when a handler frees the panel), and the form file.

#include "widgets/ButtonPanel.h"

#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orlo::test {
namespace {

struct TLayoutCase {
    const char* Name;
    Integer Width, Height, DimX, DimY, Dist;
    TAlignment Alignment;
    Integer Count;
    TButtonRowLayout Expected;
};

const TLayoutCase LayoutCases[] = {
    // 536 - 136 * 3 = 128; (40 - 32) / 2 = 4.
    {"right-aligned row", 536, 40, 128, 32, 8, taRightJustify, 3, {true, 128, 136, 128, 4, 32}},
    {"left-aligned row", 536, 40, 128, 32, 8, taLeftJustify, 3, {true, 8, 136, 128, 4, 32}},
    // (8 + 536 - 3 * 136) / 2 = 68.
    {"centred row", 536, 40, 128, 32, 8, taCenter, 3, {true, 68, 136, 128, 4, 32}},
    // 400 < 8 + 136 * 3: gaps shrink to (400 - 384) / 4 = 4.
    {"gaps shrink first", 400, 40, 128, 32, 8, taLeftJustify, 3, {true, 4, 132, 128, 4, 32}},
    // 300 < 384: the buttons share the length, 100 each, no gaps.
    {"buttons share the length", 300, 40, 128, 32, 8, taLeftJustify, 3, {true, 0, 100, 100, 4, 32}},
    // Taller than wide: a column; the cross size is cut to the width.
    {"column", 30, 200, 40, 32, 8, taLeftJustify, 2, {false, 8, 48, 40, 0, 30}},
    {"row thinner than the buttons",
     300,
     20,
     64,
     32,
     8,
     taLeftJustify,
     1,
     {true, 8, 72, 64, 0, 20}},
};

TEST(ButtonPanelLayoutTest, Cases) {
    for (const TLayoutCase& Case : LayoutCases) {
        SCOPED_TRACE(Case.Name);
        const TButtonRowLayout Got = LayoutButtonRow(Case.Width, Case.Height, Case.DimX, Case.DimY,
                                                     Case.Dist, Case.Alignment, Case.Count);
        EXPECT_EQ(Got.Horizontal, Case.Expected.Horizontal);
        EXPECT_EQ(Got.Along, Case.Expected.Along);
        EXPECT_EQ(Got.Step, Case.Expected.Step);
        EXPECT_EQ(Got.Size, Case.Expected.Size);
        EXPECT_EQ(Got.Cross, Case.Expected.Cross);
        EXPECT_EQ(Got.CrossSize, Case.Expected.CrossSize);
    }
}

class ButtonPanelTest : public ::testing::Test {
protected:
    ButtonPanelTest() {
        Form->SetBounds(0, 0, 560, 200);
        Panel = new TButtonPanel(Form.get());
        Panel->SetName("ButtonPanel");
        Panel->SetParent(Form.get());
    }

    // Three custom buttons on a 536 × 40 panel, right-aligned.
    void ThreeButtons() {
        Panel->BeginUpdateButtons();
        Panel->Buttons()->Clear();
        for (const char* Caption : {"One", "Two", "Three"})
            Panel->Buttons()->Add()->SetCaption(Caption);
        Panel->SetButtonAlignment(taRightJustify);
        Panel->SetAlign(alNone);
        Panel->SetBounds(0, 0, 536, 40);
        Panel->EndUpdateButtons();
    }

    std::vector<Integer> Lefts() const {
        std::vector<Integer> Result;
        for (Integer I = 0; I < Panel->Buttons()->Count(); ++I) {
            TExBitBtn* Button = Panel->Buttons()->Items(I)->Button();
            Result.push_back(Button->Visible() ? Button->Left() : -1);
        }
        return Result;
    }

    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TButtonPanel* Panel;
};

TEST_F(ButtonPanelTest, NewPanelSitsAtTheBottomWithOkAndCancel) {
    EXPECT_EQ(Panel->Align(), alBottom);
    EXPECT_EQ(Panel->BevelOuter(), bvNone);
    ASSERT_EQ(Panel->Buttons()->Count(), 2);
    EXPECT_EQ(Panel->Buttons()->Items(0)->Kind(), bkOK);
    EXPECT_EQ(Panel->Buttons()->Items(1)->Kind(), bkCancel);
    EXPECT_EQ(Panel->Buttons()->Items(0)->Button()->Parent(), Panel);
}

TEST_F(ButtonPanelTest, ButtonsArePlacedByTheRule) {
    ThreeButtons();
    EXPECT_EQ(Lefts(), (std::vector<Integer>{128, 264, 400}));
    TExBitBtn* First = Panel->Buttons()->Items(0)->Button();
    EXPECT_EQ(First->Top(), 4);
    EXPECT_EQ(First->Width(), 128);
    EXPECT_EQ(First->Height(), 32);
}

TEST_F(ButtonPanelTest, HidingTheMiddleButtonClosesTheGap) {
    ThreeButtons();
    Panel->Buttons()->Items(1)->SetBool(3, false);
    EXPECT_EQ(Lefts(), (std::vector<Integer>{264, -1, 400}));
    Panel->SetButtonAlignment(taLeftJustify);
    EXPECT_EQ(Lefts(), (std::vector<Integer>{8, -1, 144}));
}

TEST_F(ButtonPanelTest, ResizingThePanelLaysTheButtonsOutAgain) {
    ThreeButtons();
    Panel->SetBounds(0, 0, 300, 40);
    EXPECT_EQ(Lefts(), (std::vector<Integer>{0, 100, 200}));
}

TEST_F(ButtonPanelTest, ATallPanelStacksItsButtons) {
    ThreeButtons();
    Panel->SetButtonAlignment(taLeftJustify);
    Panel->SetBounds(0, 0, 140, 200);
    // 200 < 8 + 136 * 3 and even without gaps: 66 each; 32 wide, centred across.
    for (Integer I = 0; I < 3; ++I) {
        TExBitBtn* Button = Panel->Buttons()->Items(I)->Button();
        EXPECT_EQ(Button->BoundsRect(), Bounds(54, 66 * I, 32, 66)) << I;
    }
}

TEST_F(ButtonPanelTest, ClickRunsTheButtonThenTheItemThenThePanel) {
    std::vector<String> Calls;
    struct TListener {
        std::vector<String>* Calls;
        void ItemClick(TObject*) { Calls->push_back("item"); }
        void PanelClick(TObject*, TButtonItem* Item) {
            Calls->push_back("panel " + Item->Caption());
        }
    } Listener{&Calls};
    TButtonItem* Item = Panel->Buttons()->Items(0);
    Item->SetCaption("Go");
    Item->SetNotify(0, TNotifyEvent::Make<&TListener::ItemClick>(&Listener));
    Panel->OnButtonClick = TButtonClickNotify::Make<&TListener::PanelClick>(&Listener);
    Item->Button()->Click();
    EXPECT_EQ(Calls, (std::vector<String>{"item", "panel Go"}));
    EXPECT_EQ(Form->ModalResult(), mrOk) << "an OK button gives its form its result";
    // A real click, through the window system, does it once.
    Calls.clear();
    Form->Show();
    QTest::mouseClick(Item->Button()->Widget(), Qt::LeftButton);
    EXPECT_EQ(Calls, (std::vector<String>{"item", "panel Go"}));
}

TEST_F(ButtonPanelTest, AHandlerThatFreesThePanelDuringTheClick) {
    // In code, then by a real click through the window system.
    for (const bool Real : {false, true}) {
        if (Real) {
            Panel = new TButtonPanel(Form.get());
            Panel->SetParent(Form.get());
            Form->Show();
        }
        struct TFreer {
            TButtonPanel* Panel;
            void ItemClick(TObject*) { delete Panel; }
            bool Reached = false;
            void PanelClick(TObject*, TButtonItem*) { Reached = true; }
        } Freer{Panel};
        TExBitBtn* Button = Panel->Buttons()->Items(0)->Button();
        Panel->Buttons()->Items(0)->SetNotify(0, TNotifyEvent::Make<&TFreer::ItemClick>(&Freer));
        Panel->OnButtonClick = TButtonClickNotify::Make<&TFreer::PanelClick>(&Freer);
        if (Real)
            QTest::mouseClick(Button->Widget(), Qt::LeftButton);
        else
            Button->Click();
        QApplication::processEvents();
        EXPECT_EQ(Form->ComponentCount(), 0) << Real;
        EXPECT_FALSE(Freer.Reached) << Real;
    }
}

TEST_F(ButtonPanelTest, ItemsForwardTheirPropertiesToTheirButton) {
    TButtonItem* Item = Panel->Buttons()->Add();
    Item->SetCaption("&Apply");
    Item->SetModalResult(mrRetry);
    Item->SetBool(0, true);
    Item->SetBool(1, true);
    Item->SetBool(2, false);
    TExBitBtn* Button = Item->Button();
    EXPECT_EQ(Button->Caption(), "&Apply");
    EXPECT_EQ(Button->ModalResult(), mrRetry);
    EXPECT_TRUE(Button->Cancel());
    EXPECT_TRUE(Button->Default());
    EXPECT_FALSE(Button->Enabled());
    EXPECT_EQ(Item->DisplayName(), "Apply");
    EXPECT_THROW(Item->GetBool(4), ECaseError);
}

TEST_F(ButtonPanelTest, AnEmptyPanelStaysEmptyThroughItsFormFile) {
    Panel->Buttons()->Clear();
    const String Text = FormText(Form.get());
    EXPECT_NE(Text.find("ButtonsEmpty = True"), String::npos) << Text;
    TMemoryStream Binary;
    Binary.WriteComponent(Form.get());
    Binary.SetPosition(0);
    auto Copy = std::make_unique<TForm>(nullptr);
    Binary.ReadComponent(Copy.get());
    auto* Read = dynamic_cast<TButtonPanel*>(Copy->FindComponent("ButtonPanel"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->Buttons()->Count(), 0);
}

TEST_F(ButtonPanelTest, ItemsStreamWithTheirKindsAndCustomSettings) {
    Panel->Buttons()->Items(1)->SetCaption("&Abbrechen");
    TButtonItem* Custom = Panel->Buttons()->Add();
    Custom->SetCaption("&Details");
    Custom->SetModalResult(mrRetry);
    const String Text = FormText(Form.get());
    EXPECT_EQ(Text.find("ButtonsEmpty"), String::npos);
    TMemoryStream Binary;
    Binary.WriteComponent(Form.get());
    Binary.SetPosition(0);
    auto Copy = std::make_unique<TForm>(nullptr);
    Binary.ReadComponent(Copy.get());
    auto* Read = dynamic_cast<TButtonPanel*>(Copy->FindComponent("ButtonPanel"));
    ASSERT_NE(Read, nullptr);
    ASSERT_EQ(Read->Buttons()->Count(), 3);
    EXPECT_EQ(Read->Buttons()->Items(0)->Kind(), bkOK);
    EXPECT_EQ(Read->Buttons()->Items(1)->Caption(), "&Abbrechen");
    EXPECT_EQ(Read->Buttons()->Items(2)->ModalResult(), mrRetry);
    EXPECT_EQ(FormText(Copy.get()), Text);
}

} // namespace
} // namespace orlo::test
