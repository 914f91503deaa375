// Menus: shortcut keys and their names, menus read from form files and
// written back, clicks by shortcut and by the Qt action, check and radio
// items, hidden items, pop-up menus, handlers that free their own item or
// form, and the menu bar above the client area.

#include "platform/forms/Menus.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/rtl/ExpectError.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <cstdlib>
#include <filesystem>

namespace orlo::test {
namespace {

// --- Shortcuts -------------------------------------------------------------------

struct TShortCutCase {
    const char* Text;
    TShortCut Value;
};

TEST(ShortCutTest, NamesAndValuesOfTheKeysMenusUse) {
    const TShortCutCase Cases[] = {
        {"Ctrl+S", 16467},
        {"Alt+X", 32856},
        {"F6", 117},
        {"F8", 119},
        {"Ctrl+F", 16454},
        {"F3", 114},
        {"F5", 116},
        {"F9", 120},
        {"F1", 112},
        {"Ctrl+F12", 16507},
        {"Shift+F9", 8312},
        {"Shift+F11", 8314},
        {"Shift+Ctrl+A", 24641},
        {"Ctrl+Del", 16430},
        {"Ctrl+1", 16433},
        {"Alt+BkSp", 32776},
    };
    for (const TShortCutCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        EXPECT_EQ(ShortCutToText(Case.Value), Case.Text);
        EXPECT_EQ(TextToShortCut(Case.Text), Case.Value);
    }
    EXPECT_EQ(ShortCut('S', TShiftState{ssCtrl}), 16467);
    EXPECT_EQ(ShortCut(VK_F1 + 8, TShiftState{ssShift}), 8312);
    EXPECT_EQ(ShortCutKey(16467), 'S');
    EXPECT_EQ(ShortCutShift(24641), (TShiftState{ssShift, ssCtrl}));
}

TEST(ShortCutTest, TextIsReadWithoutRegardToCaseAndBlanks) {
    EXPECT_EQ(TextToShortCut("ctrl+s"), 16467);
    EXPECT_EQ(TextToShortCut("  CTRL+ALT+f2 "), scCtrl | scAlt | 113);
    EXPECT_EQ(TextToShortCut("ctrl+shift+a"), 24641); // modifiers in any order
}

TEST(ShortCutTest, WhatNamesNoKeyIsNoShortcut) {
    for (const char* Text : {"", "Ctrl+", "Hyper+S", "F25", "Ctrl+Ctrl", "S+Ctrl", "Enter2"}) {
        SCOPED_TRACE(Text);
        EXPECT_EQ(TextToShortCut(Text), 0);
    }
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(scCtrl | 0xFF), ""); // a key without a name
    EXPECT_EQ(ShortCut(0x1234, TShiftState{}), 0);
}

// --- A form with a menu bar and a pop-up menu ---------------------------------------

class TMenuForm : public TForm {
    ORLO_CLASS(TMenuForm, TForm)
public:
    explicit TMenuForm(TComponent* AOwner) : TForm(AOwner) {}
    TEdit* NameEdit = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* FileMenu = nullptr;
    TMenuItem* SaveItem = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* ExitItem = nullptr;
    TMenuItem* ViewMenu = nullptr;
    TMenuItem* ToolbarItem = nullptr;
    TMenuItem* LargeItem = nullptr;
    TMenuItem* SmallItem = nullptr;
    TMenuItem* DebugMenu = nullptr;
    TMenuItem* DumpItem = nullptr;
    TPopupMenu* EditPopup = nullptr;
    TMenuItem* CopyItem = nullptr;

    std::vector<String> Clicks;
    std::function<void(TObject*)> OnSave; // what a test wants the save handler to do
    void Record(TObject* Sender) { Clicks.push_back(static_cast<TComponent*>(Sender)->Name()); }
    void FileMenuClick(TObject* Sender) { Record(Sender); }
    void SaveItemClick(TObject* Sender) {
        Record(Sender);
        if (OnSave)
            OnSave(Sender);
    }
    void ExitItemClick(TObject* Sender) { Record(Sender); }
    void ToolbarItemClick(TObject* Sender) {
        Record(Sender);
        ToolbarItem->SetChecked(!ToolbarItem->Checked());
    }
    void SizeItemClick(TObject* Sender) {
        Record(Sender);
        static_cast<TMenuItem*>(Sender)->SetChecked(true);
    }
    void DumpItemClick(TObject* Sender) { Record(Sender); }
    void CopyItemClick(TObject* Sender) { Record(Sender); }
};

ORLO_PUBLISHED(TMenuForm, "MenusTest") {
    P.Field("NameEdit", &TMenuForm::NameEdit);
    P.Field("MainMenu1", &TMenuForm::MainMenu1);
    P.Field("FileMenu", &TMenuForm::FileMenu);
    P.Field("SaveItem", &TMenuForm::SaveItem);
    P.Field("N1", &TMenuForm::N1);
    P.Field("ExitItem", &TMenuForm::ExitItem);
    P.Field("ViewMenu", &TMenuForm::ViewMenu);
    P.Field("ToolbarItem", &TMenuForm::ToolbarItem);
    P.Field("LargeItem", &TMenuForm::LargeItem);
    P.Field("SmallItem", &TMenuForm::SmallItem);
    P.Field("DebugMenu", &TMenuForm::DebugMenu);
    P.Field("DumpItem", &TMenuForm::DumpItem);
    P.Field("EditPopup", &TMenuForm::EditPopup);
    P.Field("CopyItem", &TMenuForm::CopyItem);
    P.Method<&TMenuForm::FileMenuClick>("FileMenuClick");
    P.Method<&TMenuForm::SaveItemClick>("SaveItemClick");
    P.Method<&TMenuForm::ExitItemClick>("ExitItemClick");
    P.Method<&TMenuForm::ToolbarItemClick>("ToolbarItemClick");
    P.Method<&TMenuForm::SizeItemClick>("SizeItemClick");
    P.Method<&TMenuForm::DumpItemClick>("DumpItemClick");
    P.Method<&TMenuForm::CopyItemClick>("CopyItemClick");
}

const char* const MenuFormText = R"(object MenuForm: TMenuForm
  Left = 100
  Top = 80
  AutoScroll = False
  Caption = 'Notes'
  ClientHeight = 200
  ClientWidth = 360
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
  object NameEdit: TEdit
    Left = 8
    Top = 8
    Width = 121
    Height = 21
    PopupMenu = EditPopup
    TabOrder = 0
  end
  object MainMenu1: TMainMenu
    Left = 200
    Top = 8
    object FileMenu: TMenuItem
      Caption = '&File'
      OnClick = FileMenuClick
      object SaveItem: TMenuItem
        Caption = '&Save'
        Hint = 'Save|Saves the notes'
        ShortCut = 16467
        OnClick = SaveItemClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
        ShortCut = 32856
        OnClick = ExitItemClick
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object ToolbarItem: TMenuItem
        Caption = '&Tool bar'
        Checked = True
        OnClick = ToolbarItemClick
      end
      object LargeItem: TMenuItem
        Caption = '&Large'
        GroupIndex = 1
        RadioItem = True
        OnClick = SizeItemClick
      end
      object SmallItem: TMenuItem
        Caption = '&Small'
        Checked = True
        GroupIndex = 1
        RadioItem = True
        OnClick = SizeItemClick
      end
    end
    object DebugMenu: TMenuItem
      Caption = '&Debug'
      Visible = False
      object DumpItem: TMenuItem
        Caption = '&Dump'
        ShortCut = 16507
        OnClick = DumpItemClick
      end
    end
  end
  object EditPopup: TPopupMenu
    Left = 240
    Top = 8
    object CopyItem: TMenuItem
      Caption = '&Copy'
      ShortCut = 16451
      OnClick = CopyItemClick
    end
  end
end
)";

class MenusTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.reset(TCustomForm::Create<TMenuForm>(nullptr));
    }
    // A key pressed on the focused widget, as the window system delivers it
    // (each a new event that lives to the end of the test, as Qt's own do).
    void SendKey(QWidget* Target, int Key, Qt::KeyboardModifiers Modifiers) {
        Sent.push_back(std::make_unique<QKeyEvent>(QEvent::KeyPress, Key, Modifiers));
        QApplication::sendEvent(Target, Sent.back().get());
    }
    std::vector<std::unique_ptr<QKeyEvent>> Sent;
    TFormResource Resource{"TMenuForm", MenuFormText};
    std::unique_ptr<TMenuForm> Form;
};

TEST_F(MenusTest, FormFileBuildsTheItemTree) {
    TMenuItem* Root = Form->MainMenu1->Items();
    ASSERT_EQ(Root->Count(), 3);
    EXPECT_EQ(Root->Items(0), Form->FileMenu);
    EXPECT_EQ(Form->FileMenu->Count(), 3);
    EXPECT_EQ(Form->FileMenu->Items(2), Form->ExitItem);
    EXPECT_EQ(Form->ExitItem->Parent(), Form->FileMenu);
    EXPECT_EQ(Form->ExitItem->MenuIndex(), 2);
    EXPECT_EQ(Form->ExitItem->GetParentMenu(), Form->MainMenu1);
    EXPECT_EQ(Form->ExitItem->ShortCut(), TextToShortCut("Alt+X"));
    EXPECT_TRUE(Form->N1->IsLine());
    EXPECT_EQ(Form->SaveItem->Hint(), "Save|Saves the notes");
    EXPECT_FALSE(Form->DebugMenu->Visible());
    EXPECT_TRUE(Form->SmallItem->Checked());
    EXPECT_EQ(Form->Menu(), Form->MainMenu1);
    EXPECT_EQ(Form->NameEdit->PopupMenu(), Form->EditPopup);
    EXPECT_EQ(Form->EditPopup->Items()->Items(0), Form->CopyItem);
    EXPECT_EQ(Form->FileMenu->Find("save"), Form->SaveItem); // without "&", any case
    EXPECT_EQ(Form->FileMenu->Find("Open"), nullptr);
    EXPECT_EQ(Form->MainMenu1->FindItem(TextToShortCut("Ctrl+F12")), Form->DumpItem);
}

TEST_F(MenusTest, FormFileStreamsBackUnchanged) {
    EXPECT_EQ(FormText(Form.get()), MenuFormText);
    Form->HandleNeeded(); // and once the menu bar exists
    ASSERT_NE(Form->MenuBar(), nullptr);
    EXPECT_EQ(FormText(Form.get()), MenuFormText);
}

TEST_F(MenusTest, MenuBarSitsAboveTheClientArea) {
    EXPECT_EQ(Form->ClientHeight(), 200); // as the file says
    EXPECT_EQ(Form->Height(), 200 + Form->FrameSize().Y + MenuBarHeight());
    Form->Show();
    QMenuBar* Bar = Form->MenuBar();
    ASSERT_NE(Bar, nullptr);
    EXPECT_EQ(Bar->geometry(), QRect(0, 0, 360, MenuBarHeight()));
    EXPECT_EQ(Form->Widget()->height(), 200 + MenuBarHeight());
    // Controls keep their client coordinates below the bar.
    EXPECT_EQ(Form->NameEdit->Top(), 8);
    EXPECT_EQ(Form->NameEdit->Widget()->geometry().top(), 8 + MenuBarHeight());
    const QList<QAction*> Top = Bar->actions();
    ASSERT_EQ(Top.size(), 3);
    EXPECT_EQ(Top[0]->text(), "&File");
    EXPECT_FALSE(Top[2]->isVisible()); // the hidden Debug menu
    // The sub-menu shows the shortcut's name beside the caption.
    EXPECT_EQ(Form->SaveItem->Action()->text(), "&Save\tCtrl+S");
    EXPECT_TRUE(Form->N1->Action()->isSeparator());
    EXPECT_EQ(Form->N1->Action()->text(), ""); // drawn as a line, not as a heading "-"
    EXPECT_EQ(Form->SaveItem->Action()->statusTip(), "Saves the notes");
    // Taking the menu away gives the room to the client area; the window keeps its size.
    const Integer Height = Form->Height();
    Form->SetMenu(nullptr);
    EXPECT_EQ(Form->MenuBar(), nullptr);
    EXPECT_EQ(Form->Height(), Height);
    EXPECT_EQ(Form->ClientHeight(), 200 + MenuBarHeight());
    EXPECT_EQ(Form->NameEdit->Widget()->geometry().top(), 8);
}

TEST_F(MenusTest, ShortcutKeysClickTheirItems) {
    Form->Show();
    Form->PressKey('S', TShiftState{ssCtrl});
    Form->PressKey('X', TShiftState{ssAlt});
    // The parent's OnClick runs first (it may update its items).
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"FileMenu", "SaveItem", "FileMenu", "ExitItem"}));
    // A plain S is typed, not a shortcut.
    Form->Clicks.clear();
    Form->PressKey('S');
    EXPECT_TRUE(Form->Clicks.empty());
}

TEST_F(MenusTest, ShortcutsComeFromTheWindowSystemToo) {
    Form->Show();
    QWidget* Edit = Form->NameEdit->Widget();
    SendKey(Edit, Qt::Key_S, Qt::ControlModifier);
    SendKey(Edit, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"FileMenu", "SaveItem", "DumpItem"}));
}

TEST_F(MenusTest, DisabledItemsIgnoreShortcutsAndClicks) {
    Form->Show();
    Form->SaveItem->SetEnabled(false);
    Form->PressKey('S', TShiftState{ssCtrl});
    Form->SaveItem->Click();
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"FileMenu"}));
    EXPECT_FALSE(Form->SaveItem->Action()->isEnabled());
}

TEST_F(MenusTest, HiddenItemsStillAnswerTheirShortcuts) {
    // Menus always worked this way; a hidden Debug menu is reached by its keys only.
    Form->Show();
    Form->PressKey(VK_F1 + 11, TShiftState{ssCtrl});
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"DumpItem"}));
}

TEST_F(MenusTest, QtActionTriggersTheItem) {
    Form->Show();
    Form->ExitItem->Action()->trigger();
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"ExitItem"}));
}

TEST_F(MenusTest, CheckMarksFollowTheItemNotQt) {
    Form->Show();
    QAction* Toolbar = Form->ToolbarItem->Action();
    EXPECT_TRUE(Toolbar->isChecked());
    Toolbar->trigger(); // the handler toggles Checked
    EXPECT_FALSE(Form->ToolbarItem->Checked());
    EXPECT_FALSE(Toolbar->isChecked());
    // A handler that leaves Checked alone keeps the mark, whatever Qt did.
    Form->ToolbarItem->OnClick = nullptr;
    Form->ToolbarItem->SetChecked(true);
    Toolbar->trigger();
    EXPECT_TRUE(Toolbar->isChecked());
}

TEST_F(MenusTest, RadioItemsOfOneGroupExcludeEachOther) {
    Form->Show();
    Form->LargeItem->Action()->trigger();
    EXPECT_TRUE(Form->LargeItem->Checked());
    EXPECT_FALSE(Form->SmallItem->Checked());
    EXPECT_FALSE(Form->SmallItem->Action()->isChecked());
    // Items of another group, or plain check items, are left alone.
    Form->ToolbarItem->SetChecked(true);
    auto* Other = new TMenuItem(Form.get());
    Other->SetRadioItem(true);
    Other->SetGroupIndex(2);
    Other->SetChecked(true);
    Form->ViewMenu->Add(Other);
    Form->SmallItem->SetChecked(true);
    EXPECT_FALSE(Form->LargeItem->Checked());
    EXPECT_TRUE(Other->Checked());
    EXPECT_TRUE(Form->ToolbarItem->Checked());
}

TEST_F(MenusTest, ItemsChangedAfterShowingReachTheMenu) {
    Form->Show();
    auto* Open = new TMenuItem(Form.get());
    Open->SetCaption("&Open");
    Form->FileMenu->Insert(0, Open);
    QMenu* File = Form->FileMenu->SubMenu();
    ASSERT_NE(File, nullptr);
    ASSERT_EQ(File->actions().size(), 4);
    EXPECT_EQ(File->actions()[0], Open->Action());
    Open->SetCaption("&Open...");
    EXPECT_EQ(Open->Action()->text(), "&Open...");
    Form->ExitItem->SetVisible(false);
    EXPECT_FALSE(Form->ExitItem->Action()->isVisible());
    Form->FileMenu->Remove(Open);
    EXPECT_EQ(File->actions().size(), 3);
    delete Open;
    Form->ExitItem->SetMenuIndex(0);
    EXPECT_EQ(File->actions()[0], Form->ExitItem->Action());
    // A menu emptied of sub-items becomes a plain item.
    Form->DebugMenu->Clear();
    EXPECT_EQ(Form->DebugMenu->Count(), 0);
    EXPECT_EQ(Form->DebugMenu->Action()->menu(), nullptr);
    EXPECT_EQ(Form->DumpItem, nullptr) << "the form's field follows the freed item";
}

TEST_F(MenusTest, TreeMistakesAreRefused) {
    ExpectError<EMenuError>([&] { Form->ViewMenu->Add(Form->SaveItem); }, "Menu inserted twice");
    ExpectError<EMenuError>([&] { Form->SaveItem->Add(Form->FileMenu); }, "Menu inserted twice");
    ExpectError<EMenuError>([&] { Form->ViewMenu->Items(3); }, "Menu index out of range");
    ExpectError<EMenuError>([&] { Form->ViewMenu->Remove(Form->SaveItem); },
                            "Sub-menu is not in menu");
    auto* Loose = new TMenuItem(Form.get());
    ExpectError<EMenuError>([&] { Form->ViewMenu->Insert(9, Loose); }, "Menu index out of range");
    ExpectError<EMenuError>([&] { Loose->Add(Loose); }, "Menu inserted twice");
    EXPECT_EQ(Loose->Parent(), nullptr);
    EXPECT_EQ(Form->ViewMenu->Count(), 3);
}

TEST_F(MenusTest, PopupMenuOfTheFocusedControlTakesItsShortcuts) {
    Form->Show();
    Form->PressKey('C', TShiftState{ssCtrl});
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"CopyItem"}));
    // Without the focus on the edit the pop-up menu's keys do nothing.
    Form->SetActiveControl(nullptr);
    Form->PressKey('C', TShiftState{ssCtrl});
    EXPECT_EQ(Form->Clicks.size(), 1u);
}

TEST_F(MenusTest, ContextMenuRequestShowsThePopupMenu) {
    Form->Show();
    Integer Popups = 0;
    struct TCounter {
        Integer* Count;
        void Popped(TObject*) { ++*Count; }
    } Counter{&Popups};
    Form->EditPopup->OnPopup = TNotifyEvent::Make<&TCounter::Popped>(&Counter);
    QWidget* Edit = Form->NameEdit->Widget();
    QContextMenuEvent Event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            Edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Edit, &Event);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Form->EditPopup->PopupComponent(), Form->NameEdit);
    ASSERT_NE(Form->EditPopup->Menu(), nullptr);
    EXPECT_TRUE(Form->EditPopup->Menu()->isVisible());
    EXPECT_EQ(Form->EditPopup->Menu()->actions()[0], Form->CopyItem->Action());
    Form->EditPopup->Menu()->hide();
    // Without AutoPopup the widget keeps its own context menu.
    Form->EditPopup->AutoPopup = false;
    EXPECT_FALSE(Form->NameEdit->ShowPopupMenu(QPoint(1, 1)));
    // The menu forgets a control that goes.
    delete Form->NameEdit;
    EXPECT_EQ(Form->EditPopup->PopupComponent(), nullptr);
}

TEST_F(MenusTest, PopupHandlerMayFreeItsMenu) {
    Form->Show();
    struct TFreer {
        void Popped(TObject* Sender) { delete static_cast<TPopupMenu*>(Sender); }
    } Freer;
    Form->EditPopup->OnPopup = TNotifyEvent::Make<&TFreer::Popped>(&Freer);
    EXPECT_TRUE(Form->NameEdit->ShowPopupMenu(QPoint(1, 1)));
    EXPECT_EQ(Form->EditPopup, nullptr);
    EXPECT_EQ(Form->NameEdit->PopupMenu(), nullptr);
}

TEST_F(MenusTest, FreedMenusLeaveNoDanglingReferences) {
    Form->Show();
    delete Form->EditPopup;
    EXPECT_EQ(Form->NameEdit->PopupMenu(), nullptr);
    Form->PressKey('C', TShiftState{ssCtrl}); // nothing left to click
    delete Form->MainMenu1;                   // frees its items too
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(Form->MenuBar(), nullptr);
    EXPECT_EQ(Form->SaveItem, nullptr);
    Form->PressKey('S', TShiftState{ssCtrl});
    EXPECT_TRUE(Form->Clicks.empty());
}

TEST_F(MenusTest, PictureOfTheOpenFileMenu) {
    // Written below the test folder ($ORLO_TEST_TMP/screenshots), kept after the run.
    const char* Base = std::getenv("ORLO_TEST_TMP");
    const String Folder = String(Base ? Base : "/tmp") + "/screenshots";
    std::filesystem::create_directories(Folder);
    Form->Show();
    SaveScreenshot(Form.get(), Folder + "/menu-form.png");
    QMenu* File = Form->FileMenu->SubMenu();
    ASSERT_NE(File, nullptr);
    File->popup(Form->Widget()->mapToGlobal(QPoint(0, MenuBarHeight())));
    EXPECT_EQ(Form->Clicks, (std::vector<String>{"FileMenu"})); // opening clicks the menu item
    const QImage Image = File->grab().toImage();
    ASSERT_TRUE(Image.save(ToQString(Folder + "/file-menu.png"), "PNG"));
    // Caption, separator and the shortcut's name beside it need room.
    EXPECT_GT(Image.width(), QFontMetrics(File->font()).horizontalAdvance("Save  Ctrl+S"));
    EXPECT_GT(Image.height(), 3 * QFontMetrics(File->font()).height());
    File->hide();
}

// --- Handlers that free what called them (run under the sanitizer build too)

TEST_F(MenusTest, HandlerFreesItsOwnItemDuringAQtTrigger) {
    Form->Show();
    Form->OnSave = [](TObject* Sender) { delete static_cast<TMenuItem*>(Sender); };
    Form->SaveItem->Action()->trigger();
    EXPECT_EQ(Form->SaveItem, nullptr);
    EXPECT_EQ(Form->FileMenu->Count(), 2);
    Application->ProcessMessages(); // the action goes now
}

TEST_F(MenusTest, HandlerFreesItsOwnItemDuringAShortcut) {
    Form->Show();
    Form->OnSave = [](TObject* Sender) { delete static_cast<TMenuItem*>(Sender); };
    SendKey(Form->NameEdit->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Form->SaveItem, nullptr);
    Application->ProcessMessages();
}

TEST_F(MenusTest, HandlerFreesTheWholeForm) {
    Form->Show();
    TMenuForm* Raw = Form.release();
    Raw->OnSave = [Raw](TObject*) { Raw->Free(); };
    SendKey(Raw->NameEdit->Widget(), Qt::Key_S, Qt::ControlModifier);
    Application->ProcessMessages();
    // Again through the action of a newly made form.
    Form.reset(TCustomForm::Create<TMenuForm>(nullptr));
    Form->Show();
    Raw = Form.release();
    Raw->OnSave = [Raw](TObject*) { Raw->Free(); };
    Raw->SaveItem->Action()->trigger();
    Application->ProcessMessages();
}

TEST_F(MenusTest, ParentHandlerFreesTheItemBeforeItsShortcutClick) {
    struct TFreer {
        TMenuForm* Form;
        void FileClick(TObject*) { delete Form->SaveItem; }
    } Freer{Form.get()};
    Form->FileMenu->OnClick = TNotifyEvent::Make<&TFreer::FileClick>(&Freer);
    Form->Show();
    Form->PressKey('S', TShiftState{ssCtrl});
    EXPECT_EQ(Form->SaveItem, nullptr);
    EXPECT_TRUE(Form->Clicks.empty());
}

} // namespace
} // namespace orlo::test
