// Tool bars and status bars: buttons and separators in order, check buttons
// and their groups, a click shared with a menu item, status panels and the
// simple panel, form files, and a picture of a form with all bars.

#include "platform/forms/ComCtrls.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/rtl/ExpectError.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <set>

namespace orlo::test {
namespace {

class TBarsForm : public TForm {
    ORLO_CLASS(TBarsForm, TForm)
public:
    explicit TBarsForm(TComponent* AOwner) : TForm(AOwner) {}
    TToolBar* ToolBar1 = nullptr;
    TToolButton* SaveButton = nullptr;
    TToolButton* Sep1 = nullptr;
    TToolButton* FindButton = nullptr;
    TToolButton* BoldButton = nullptr;
    TToolButton* LeftButton = nullptr;
    TToolButton* RightButton = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TMemo* Memo1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* FileMenu = nullptr;
    TMenuItem* SaveItem = nullptr;
    TMenuItem* FindItem = nullptr;

    std::vector<String> Clicks;
    void SaveClick(TObject* Sender) { Clicks.push_back("Save by " + Name(Sender)); }
    void FindItemClick(TObject* Sender) { Clicks.push_back("Find by " + Name(Sender)); }
    void ButtonClick(TObject* Sender) { Clicks.push_back(Name(Sender)); }
    static String Name(TObject* Sender) { return static_cast<TComponent*>(Sender)->Name(); }
};

ORLO_PUBLISHED(TBarsForm, "BarsTest") {
    P.Field("ToolBar1", &TBarsForm::ToolBar1);
    P.Field("SaveButton", &TBarsForm::SaveButton);
    P.Field("Sep1", &TBarsForm::Sep1);
    P.Field("FindButton", &TBarsForm::FindButton);
    P.Field("BoldButton", &TBarsForm::BoldButton);
    P.Field("LeftButton", &TBarsForm::LeftButton);
    P.Field("RightButton", &TBarsForm::RightButton);
    P.Field("StatusBar1", &TBarsForm::StatusBar1);
    P.Field("Memo1", &TBarsForm::Memo1);
    P.Field("MainMenu1", &TBarsForm::MainMenu1);
    P.Field("FileMenu", &TBarsForm::FileMenu);
    P.Field("SaveItem", &TBarsForm::SaveItem);
    P.Field("FindItem", &TBarsForm::FindItem);
    P.Method<&TBarsForm::SaveClick>("SaveClick");
    P.Method<&TBarsForm::FindItemClick>("FindItemClick");
    P.Method<&TBarsForm::ButtonClick>("ButtonClick");
}

const char* const BarsFormText = R"(object BarsForm: TBarsForm
  Left = 100
  Top = 80
  AutoScroll = False
  Caption = 'Editor'
  ClientHeight = 240
  ClientWidth = 480
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 480
    Height = 29
    ButtonWidth = 60
    Caption = 'ToolBar1'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 0
    object SaveButton: TToolButton
      Left = 0
      Top = 2
      Width = 60
      Height = 22
      Hint = 'Save|Saves the text'
      Caption = 'Save'
      ImageIndex = 0
      OnClick = SaveClick
    end
    object Sep1: TToolButton
      Left = 60
      Top = 2
      Width = 8
      Height = 22
      Caption = 'Sep1'
      ImageIndex = 1
      Style = tbsSeparator
    end
    object FindButton: TToolButton
      Left = 68
      Top = 2
      Width = 60
      Height = 22
      Hint = 'Find|Finds a text'
      Caption = '&Find...'
      ImageIndex = 2
      MenuItem = FindItem
    end
    object BoldButton: TToolButton
      Left = 128
      Top = 2
      Width = 60
      Height = 22
      Caption = 'Bold'
      ImageIndex = 3
      Style = tbsCheck
      OnClick = ButtonClick
    end
    object LeftButton: TToolButton
      Left = 188
      Top = 2
      Width = 60
      Height = 22
      Caption = 'Left'
      Down = True
      Grouped = True
      ImageIndex = 4
      Style = tbsCheck
      OnClick = ButtonClick
    end
    object RightButton: TToolButton
      Left = 248
      Top = 2
      Width = 60
      Height = 22
      Caption = 'Right'
      Grouped = True
      ImageIndex = 5
      Style = tbsCheck
      OnClick = ButtonClick
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 221
    Width = 480
    Height = 19
    Panels = <
      item
        Text = 'Line 1'
        Width = 150
      end
      item
        Text = 'Column 1'
        Width = 150
      end
      item
        Alignment = taCenter
        Text = 'Insert'
        Width = 50
      end>
  end
  object Memo1: TMemo
    Left = 0
    Top = 29
    Width = 480
    Height = 192
    Align = alClient
    Lines.Strings = (
      'Some text')
    TabOrder = 2
  end
  object MainMenu1: TMainMenu
    Left = 300
    Top = 40
    object FileMenu: TMenuItem
      Caption = '&File'
      object SaveItem: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
        OnClick = SaveClick
      end
      object FindItem: TMenuItem
        Caption = '&Find...'
        Hint = 'Find|Finds a text'
        ShortCut = 16454
        OnClick = FindItemClick
      end
    end
  end
end
)";

class BarsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.reset(TCustomForm::Create<TBarsForm>(nullptr));
    }
    TFormResource Resource{"TBarsForm", BarsFormText};
    std::unique_ptr<TBarsForm> Form;
};

TEST_F(BarsTest, ButtonsAndSeparatorsFollowEachOtherInOrder) {
    TToolBar* Bar = Form->ToolBar1;
    ASSERT_EQ(Bar->ButtonCount(), 6);
    EXPECT_EQ(Bar->Buttons(1), Form->Sep1);
    EXPECT_TRUE(Form->Sep1->IsSeparator());
    EXPECT_EQ(Bar->Align(), alTop);
    Integer X = 0;
    for (Integer I = 0; I < Bar->ButtonCount(); ++I) {
        TToolButton* Button = Bar->Buttons(I);
        SCOPED_TRACE(Button->Name());
        EXPECT_EQ(Button->Left(), X);
        EXPECT_EQ(Button->Top(), 2);
        EXPECT_EQ(Button->Height(), 22);
        EXPECT_GE(Button->Width(), Button->IsSeparator() ? 8 : 23);
        X += Button->Width();
    }
    // A hidden button gives its room away; a caption that grows pushes the rest.
    const Integer FindLeft = Form->FindButton->Left();
    Form->SaveButton->Hide();
    EXPECT_EQ(Form->Sep1->Left(), 0);
    EXPECT_LT(Form->FindButton->Left(), FindLeft);
    Form->SaveButton->Show();
    EXPECT_EQ(Form->FindButton->Left(), FindLeft);
    Form->SaveButton->SetCaption("Save everything now");
    EXPECT_GT(Form->FindButton->Left(), FindLeft);
    ExpectError<EListError>([&] { Bar->Buttons(6); }, "List index out of bounds (6)");
    // A larger font widens the buttons whose captions no longer fit.
    const Integer Wide = Form->SaveButton->Width();
    Form->ToolBar1->Font()->SetSize(Form->ToolBar1->Font()->Size() * 2);
    EXPECT_GT(Form->SaveButton->Width(), Wide);
    Form->ToolBar1->Font()->SetSize(Form->ToolBar1->Font()->Size() / 2);
    EXPECT_EQ(Form->SaveButton->Width(), Wide);
    // A freed button closes its gap.
    Form->SaveButton->SetCaption("Save");
    delete Form->Sep1;
    EXPECT_EQ(Form->FindButton->Left(), Form->SaveButton->Width());
}

TEST_F(BarsTest, ToolButtonsShowCaptionAndHint) {
    Form->Show();
    auto* Save = qobject_cast<QToolButton*>(Form->SaveButton->Widget());
    ASSERT_NE(Save, nullptr);
    EXPECT_EQ(Save->text(), "Save");
    EXPECT_EQ(Save->toolTip(), "Save"); // the short part of the hint, as the bar shows hints
    EXPECT_EQ(Form->SaveButton->Widget()->parentWidget(), Form->ToolBar1->Widget());
    EXPECT_EQ(qobject_cast<QToolButton*>(Form->Sep1->Widget()), nullptr);
    Form->SaveButton->SetEnabled(false);
    EXPECT_FALSE(Save->isEnabled());
}

TEST_F(BarsTest, ButtonSharesItsClickWithAMenuItem) {
    Form->Show();
    // The same handler on both.
    qobject_cast<QToolButton*>(Form->SaveButton->Widget())->click();
    Form->SaveItem->Action()->trigger();
    // A button linked to a menu item took its caption and hint and clicks it.
    EXPECT_EQ(Form->FindButton->Caption(), "&Find...");
    EXPECT_EQ(Form->FindButton->Hint(), "Find|Finds a text");
    qobject_cast<QToolButton*>(Form->FindButton->Widget())->click();
    Form->PressKey('F', TShiftState{ssCtrl});
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"Save by SaveButton", "Save by SaveItem",
                                                 "Find by FindItem", "Find by FindItem"}));
    // Once the item is gone the button stays, doing nothing.
    delete Form->FindItem;
    EXPECT_EQ(Form->FindButton->MenuItem(), nullptr);
    Form->FindButton->Click();
    EXPECT_EQ(Form->Clicks.size(), 4u);
}

TEST_F(BarsTest, CheckButtonsToggleAndGroupedOnesExcludeEachOther) {
    Form->Show();
    auto* Bold = qobject_cast<QToolButton*>(Form->BoldButton->Widget());
    Bold->click();
    EXPECT_TRUE(Form->BoldButton->Down());
    EXPECT_TRUE(Bold->isChecked());
    Bold->click();
    EXPECT_FALSE(Form->BoldButton->Down());
    EXPECT_TRUE(Form->LeftButton->Down());
    Form->RightButton->Click();
    EXPECT_TRUE(Form->RightButton->Down());
    EXPECT_FALSE(Form->LeftButton->Down());
    EXPECT_FALSE(qobject_cast<QToolButton*>(Form->LeftButton->Widget())->isChecked());
    // The pressed button of a group without AllowAllUp stays down.
    Form->RightButton->Click();
    EXPECT_TRUE(Form->RightButton->Down());
    Form->RightButton->SetAllowAllUp(true);
    Form->RightButton->Click();
    EXPECT_FALSE(Form->RightButton->Down());
    EXPECT_FALSE(Form->BoldButton->Down()); // not in the group
    EXPECT_EQ(Form->Clicks.size(), 5u);
}

TEST_F(BarsTest, ButtonHandlerMayFreeItsButton) {
    Form->Show();
    struct TFreer {
        void Click(TObject* Sender) { delete static_cast<TToolButton*>(Sender); }
    } Freer;
    Form->BoldButton->OnClick = TNotifyEvent::Make<&TFreer::Click>(&Freer);
    qobject_cast<QToolButton*>(Form->BoldButton->Widget())->click();
    EXPECT_EQ(Form->BoldButton, nullptr);
    EXPECT_EQ(Form->ToolBar1->ButtonCount(), 5);
    Application->ProcessMessages();
}

TEST_F(BarsTest, StatusPanelsShowTheirTextsSideBySide) {
    TStatusBar* Bar = Form->StatusBar1;
    EXPECT_EQ(Bar->Align(), alBottom);
    EXPECT_EQ(Bar->Top(), 240 - 19);
    ASSERT_EQ(Bar->Panels()->Count(), 3);
    EXPECT_EQ(Bar->Panels()->Items(1)->Text(), "Column 1");
    EXPECT_EQ(Bar->Panels()->Items(2)->Alignment(), taCenter);
    Form->Show();
    EXPECT_EQ(Bar->ShownTexts(), (std::vector<String>{"Line 1", "Column 1", "Insert"}));
    EXPECT_EQ(Bar->PanelRect(1), (TRect{150, 0, 300, 19}));
    EXPECT_EQ(Bar->PanelRect(2), (TRect{300, 0, 480, 19})); // the last reaches the edge
    Bar->Panels()->Items(0)->SetText("Line 12");
    Bar->Panels()->Add()->SetText("Modified");
    EXPECT_EQ(Bar->ShownTexts(),
              (std::vector<String>{"Line 12", "Column 1", "Insert", "Modified"}));
    EXPECT_EQ(Bar->PanelRect(2), (TRect{300, 0, 350, 19}));
    Bar->Panels()->Delete(3);
    EXPECT_EQ(Bar->ShownTexts().size(), 3u);
    // The simple panel covers the bar with its own text and back.
    Bar->SetSimpleText("Saving...");
    Bar->SetSimplePanel(true);
    EXPECT_EQ(Bar->ShownTexts(), (std::vector<String>{"Saving..."}));
    Bar->SetSimplePanel(false);
    EXPECT_EQ(Bar->ShownTexts().size(), 3u);
    // The bar's font goes to every panel.
    Bar->SetParentFont(false);
    Bar->Font()->SetSize(Form->Font()->Size() + 2);
    const QList<QLabel*> Labels = Bar->Widget()->findChildren<QLabel*>();
    ASSERT_FALSE(Labels.isEmpty());
    EXPECT_EQ(Labels[0]->font(), Bar->Widget()->font());
    EXPECT_NE(Labels[0]->font(), Form->Widget()->font());
}

TEST_F(BarsTest, FormFileStreamsBackUnchanged) {
    EXPECT_EQ(FormText(Form.get()), BarsFormText);
}

TEST_F(BarsTest, PictureOfAFormWithMenuToolAndStatusBar) {
    // Written below the test folder ($ORLO_TEST_TMP/screenshots), kept after the run.
    const char* Base = std::getenv("ORLO_TEST_TMP");
    const String Folder = String(Base ? Base : "/tmp") + "/screenshots";
    std::filesystem::create_directories(Folder);
    Form->Show();
    const String File = Folder + "/menu-tool-status-bars.png";
    SaveScreenshot(Form.get(), File);
    const QImage Image(ToQString(File));
    ASSERT_EQ(Image.size(), QSize(480, 240 + MenuBarHeight()));
    // The menu bar, the tool bar and the status bar each drew something.
    const auto Colours = [&](int Top, int Bottom) {
        std::set<QRgb> Seen;
        for (int Y = Top; Y < Bottom; ++Y)
            for (int X = 0; X < 200; ++X)
                Seen.insert(Image.pixel(X, Y));
        return Seen.size();
    };
    EXPECT_GT(Colours(0, MenuBarHeight()), 2u);
    EXPECT_GT(Colours(MenuBarHeight(), MenuBarHeight() + 29), 2u);
    EXPECT_GT(Colours(Image.height() - 19, Image.height()), 2u);
}

} // namespace
} // namespace orlo::test
