// Grids, lists, trees, menus and bars driven as a user drives them: keys and
// mouse buttons through the window system (QTest) into the shown window, not
// through the controls' methods. Each event a user causes must reach the
// control's handlers exactly once, and the properties must follow.

#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Grids.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "tests/forms/FormsTestSupport.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>

#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {
namespace {

// What the user's input reached, in order: "Sender.Event" entries.
class TInputLog {
public:
    std::vector<String> Entries;
    // Run by the next handler that fires (then forgotten): frees things.
    std::function<void()> Then;

    void Note(TObject* Sender, const String& Event) {
        auto* Component = dynamic_cast<TComponent*>(Sender);
        Entries.push_back((Component ? Component->Name() : String("?")) + "." + Event);
        if (auto Action = std::exchange(Then, nullptr))
            Action();
    }
    void Click(TObject* Sender) { Note(Sender, "Click"); }
    void DblClick(TObject* Sender) { Note(Sender, "DblClick"); }
    void KeyDown(TObject* Sender, Word& Key, TShiftState) {
        Note(Sender, "KeyDown " + KeyText(Key));
    }
    void SelectCell(TObject* Sender, Integer ACol, Integer ARow, bool&) {
        Note(Sender, Format("SelectCell %d,%d", ACol, ARow));
    }
    void GetEditText(TObject* Sender, Integer ACol, Integer ARow, String&) {
        Note(Sender, Format("GetEditText %d,%d", ACol, ARow));
    }
    void SetEditText(TObject* Sender, Integer, Integer, const String& Value) {
        Note(Sender, "SetEditText " + Value);
    }
    void WidthsChanged(TObject* Sender) { Note(Sender, "WidthsChanged"); }
    void TreeChange(TObject* Sender, TTreeNode* Node) {
        Note(Sender, "Change " + (Node ? Node->Text() : String("nil")));
    }
    void Collapsing(TObject* Sender, TTreeNode* Node, bool& Allow) {
        Note(Sender, "Collapsing " + Node->Text());
        Allow = AllowCollapse;
    }
    void Expanding(TObject* Sender, TTreeNode* Node, bool&) {
        Note(Sender, "Expanding " + Node->Text());
    }
    void ListChange(TObject* Sender, TListItem* Item, TItemChange) {
        Note(Sender, "Change " + Item->Caption());
    }
    void ColumnClick(TObject* Sender, TListColumn* Column) {
        Note(Sender, "ColumnClick " + Column->Caption());
    }
    void Popup(TObject* Sender) { Note(Sender, "Popup"); }

    bool AllowCollapse = true;

    // The entries since the last call.
    std::vector<String> Take() { return std::exchange(Entries, {}); }

private:
    static String KeyText(Word Key) {
        if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
            return String(1, static_cast<char>(Key));
        return Format("#%d", Key);
    }
};

// A mouse action at a point of Widget (its centre when null), delivered
// through its window as the window system delivers it: a double click is two
// presses, a right button brings a context menu, a pressed button grabs.
void Mouse(QTest::MouseAction Action, QWidget* Widget, QPoint At = QPoint(),
           Qt::MouseButton Button = Qt::LeftButton) {
    if (At.isNull())
        At = Widget->rect().center();
    QWindow* Window = Widget->window()->windowHandle();
    QTest::mouseEvent(Action, Window, Button, {}, Window->mapFromGlobal(Widget->mapToGlobal(At)));
}

template <class T> T* AddControl(TWinControl* Parent, const String& Name) {
    auto* Control = new T(Parent->Owner() ? Parent->Owner() : Parent);
    Control->SetName(Name);
    Control->SetParent(Parent);
    return Control;
}

TMenuItem* AddItem(TMenuItem* Parent, const String& Name, const String& Caption, TShortCut Keys,
                   TInputLog& Log) {
    auto* Item = new TMenuItem(Parent->Owner());
    Item->SetName(Name);
    Item->SetCaption(Caption);
    Item->SetShortCut(Keys);
    Item->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
    Parent->Add(Item);
    return Item;
}

// A window with a menu, a pop-up menu, an edit, a grid, a list view, a tree
// view and a tool bar; every handler writes to the log.
class LiveListsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Build();
    }
    // A fresh window (the one before goes).
    void Build() {
        Form.reset();
        Log = TInputLog();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName("Live");
        Form->SetBounds(0, 0, 760, 420);
        MakeMenus();
        MakeControls();
    }
    void TearDown() override {
        for (QWidget* Popup = QApplication::activePopupWidget(); Popup;
             Popup = QApplication::activePopupWidget())
            Popup->close();
        Form.reset();
    }

    void MakeMenus() {
        Menu = new TMainMenu(Form.get());
        Menu->SetName("Menu");
        FileMenu = AddItem(Menu->Items(), "FileMenu", "&File", 0, Log);
        FileMenu->OnClick = nullptr; // only the items' clicks are of interest
        SaveItem = AddItem(FileMenu, "SaveItem", "&Save", ShortCut('S', {ssCtrl}), Log);
        WrapItem = AddItem(FileMenu, "WrapItem", "&Wrap", 0, Log);
        HiddenItem = AddItem(FileMenu, "HiddenItem", "&Hidden", ShortCut(VK_F1 + 5, {}), Log);
        HiddenItem->SetVisible(false);
        Form->SetMenu(Menu);
        Popup = new TPopupMenu(Form.get());
        Popup->SetName("Popup");
        Popup->OnPopup = TNotifyEvent::Make<&TInputLog::Popup>(&Log);
        AddItem(Popup->Items(), "CopyItem", "&Copy", ShortCut('C', {ssCtrl}), Log);
    }

    void MakeControls() {
        Edit = AddControl<TEdit>(Form.get(), "Edit");
        Edit->SetBounds(8, 8, 120, 24);
        Grid = AddControl<TStringGrid>(Form.get(), "Grid");
        Grid->SetBounds(8, 40, 300, 150);
        Grid->SetColCount(4);
        Grid->SetRowCount(20);
        for (Integer R = 0; R < Grid->RowCount(); ++R)
            for (Integer C = 0; C < Grid->ColCount(); ++C)
                Grid->SetCells(C, R, Format("%d.%d", C, R));
        Grid->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
        Grid->OnDblClick = TNotifyEvent::Make<&TInputLog::DblClick>(&Log);
        Grid->OnKeyDown = TKeyEvent::Make<&TInputLog::KeyDown>(&Log);
        Grid->OnSelectCell = TSelectCellEvent::Make<&TInputLog::SelectCell>(&Log);
        Grid->OnGetEditText = TGetEditEvent::Make<&TInputLog::GetEditText>(&Log);
        Grid->OnSetEditText = TSetEditEvent::Make<&TInputLog::SetEditText>(&Log);
        Grid->OnColumnWidthsChanged = TNotifyEvent::Make<&TInputLog::WidthsChanged>(&Log);
        Grid->SetPopupMenu(Popup);
        MakeList();
        MakeTree();
    }

    void MakeList() {
        List = AddControl<TListView>(Form.get(), "List");
        List->SetViewStyle(vsReport);
        List->SetBounds(320, 40, 200, 150);
        for (const char* Caption : {"Name", "Size"}) {
            TListColumn* Column = List->Columns()->Add();
            Column->SetCaption(Caption);
            Column->SetWidth(80);
        }
        for (const char* Caption : {"alpha", "beta", "gamma"})
            List->Items()->Add()->SetCaption(Caption);
        List->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
        List->OnDblClick = TNotifyEvent::Make<&TInputLog::DblClick>(&Log);
        List->OnChange = TLVChangeEvent::Make<&TInputLog::ListChange>(&Log);
        List->OnColumnClick = TLVColumnClickEvent::Make<&TInputLog::ColumnClick>(&Log);
        List->OnKeyDown = TKeyEvent::Make<&TInputLog::KeyDown>(&Log);
        List->SetPopupMenu(Popup);
    }

    void MakeTree() {
        Tree = AddControl<TTreeView>(Form.get(), "Tree");
        Tree->SetBounds(530, 40, 200, 150);
        TTreeNode* Root = Tree->Items()->Add(nullptr, "root");
        Tree->Items()->AddChild(Root, "leaf1");
        Tree->Items()->AddChild(Root, "leaf2");
        Tree->Items()->Add(nullptr, "other");
        Tree->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
        Tree->OnDblClick = TNotifyEvent::Make<&TInputLog::DblClick>(&Log);
        Tree->OnChange = TTVChangedEvent::Make<&TInputLog::TreeChange>(&Log);
        Tree->OnCollapsing = TTVCollapsingEvent::Make<&TInputLog::Collapsing>(&Log);
        Tree->OnExpanding = TTVExpandingEvent::Make<&TInputLog::Expanding>(&Log);
        Tree->OnKeyDown = TKeyEvent::Make<&TInputLog::KeyDown>(&Log);
        Tree->SetPopupMenu(Popup);
    }

    // Shows the window, active, with Focused as its active control.
    void ShowWith(TWinControl* Focused) {
        Form->Show();
        QWidget* Window = Form->Handle();
        QApplication::setActiveWindow(Window);
        Window->windowHandle()->requestActivate();
        if (Focused)
            Focused->SetFocus();
        Log.Take();
    }
    QWindow* Window() const { return Form->Handle()->windowHandle(); }
    void Type(std::initializer_list<Qt::Key> Keys, Qt::KeyboardModifiers Modifiers = {}) {
        for (Qt::Key Key : Keys)
            QTest::keyClick(Window(), Key, Modifiers);
    }

    QWidget* GridViewport() const {
        return static_cast<QAbstractScrollArea*>(Grid->Widget())->viewport();
    }
    QPoint CellCentre(Integer ACol, Integer ARow) const {
        const TRect R = Grid->CellRect(ACol, ARow);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    void ClickCell(Integer ACol, Integer ARow, Qt::MouseButton Button = Qt::LeftButton) {
        Mouse(QTest::MouseClick, GridViewport(), CellCentre(ACol, ARow), Button);
    }

    QTreeWidget* ListWidget() const { return qobject_cast<QTreeWidget*>(List->Widget()); }
    QTreeWidget* TreeWidget() const { return qobject_cast<QTreeWidget*>(Tree->Widget()); }
    static QPoint ItemCentre(QTreeWidget* Widget, QTreeWidgetItem* Item) {
        return Widget->visualItemRect(Item).center();
    }
    static QPoint BelowItems(QTreeWidget* Widget) {
        return QPoint(20, Widget->viewport()->height() - 8);
    }

    std::unique_ptr<TForm> Form;
    TInputLog Log;
    TMainMenu* Menu = nullptr;
    TMenuItem* FileMenu = nullptr;
    TMenuItem* SaveItem = nullptr;
    TMenuItem* WrapItem = nullptr;
    TMenuItem* HiddenItem = nullptr;
    TPopupMenu* Popup = nullptr;
    TEdit* Edit = nullptr;
    TStringGrid* Grid = nullptr;
    TListView* List = nullptr;
    TTreeView* Tree = nullptr;
};

// --- The grid

TEST_F(LiveListsTest, GridClicksSelectCellsOnce) {
    ShowWith(Edit);
    ClickCell(2, 3);
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Grid.SelectCell 2,3", "Grid.Click"}));
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Form->ActiveControl(), Grid);
    // A fixed cell selects nothing.
    ClickCell(2, 0);
    ClickCell(0, 5);
    EXPECT_EQ(Log.Take(), std::vector<String>{});
    EXPECT_EQ(Grid->Row(), 3);
    // The right button does not move the current cell.
    ClickCell(3, 4, Qt::RightButton);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Log.Take(), std::vector<String>{"Popup.Popup"});
}

TEST_F(LiveListsTest, GridEditorOpensAndClosesByTheUsersKeysAndClicks) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowWith(Grid);
    ClickCell(1, 2);
    Log.Take();
    struct Case {
        const char* Name;
        std::function<void()> Open;
    };
    const Case Openers[] = {
        {"F2", [&] { Type({Qt::Key_F2}); }},
        {"a double click", [&] { Mouse(QTest::MouseDClick, GridViewport(), CellCentre(1, 2)); }},
        {"a click on the current cell", [&] { ClickCell(1, 2); }},
    };
    for (const Case& C : Openers) {
        C.Open();
        EXPECT_TRUE(Grid->EditorMode()) << C.Name;
        ASSERT_NE(Grid->InplaceEditor(), nullptr) << C.Name;
        EXPECT_TRUE(Grid->InplaceEditor()->hasFocus()) << C.Name;
        // Escape closes it, the grid keeps the focus.
        Type({Qt::Key_Escape});
        EXPECT_FALSE(Grid->EditorMode()) << C.Name;
        EXPECT_EQ(Form->ActiveControl(), Grid) << C.Name;
        EXPECT_TRUE(Grid->Widget()->hasFocus()) << C.Name;
    }
    const std::vector<String> Seen = Log.Take();
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Grid.GetEditText 1,2"), 3);
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Grid.DblClick"), 1);
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Grid.KeyDown #113"), 1); // F2
    EXPECT_EQ(Grid->Cells(1, 2), "1.2");
}

TEST_F(LiveListsTest, GridTypingEditsTheCellAndKeysLeaveTheEditor) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goTabs});
    ShowWith(Grid);
    ClickCell(1, 2);
    Log.Take();
    // Typing opens the editor with the typed key in place of the text.
    Type({Qt::Key_X, Qt::Key_Y});
    EXPECT_EQ(Log.Take(),
              (std::vector<String>{"Grid.KeyDown X", "Grid.GetEditText 1,2", "Grid.SetEditText x",
                                   "Grid.KeyDown Y", "Grid.SetEditText xy"}));
    EXPECT_EQ(Grid->Cells(1, 2), "xy");
    // Left and Backspace work in the editor's text.
    Type({Qt::Key_Left, Qt::Key_Backspace});
    EXPECT_EQ(Grid->Cells(1, 2), "y");
    // Enter closes it and keeps the text; the current cell stays.
    Type({Qt::Key_Return});
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 2), "y");
    EXPECT_EQ(Grid->Col(), 1);
    // Escape gives the cell back its text.
    Type({Qt::Key_Z, Qt::Key_Escape});
    EXPECT_EQ(Grid->Cells(1, 2), "y");
    // Down from the open editor moves the current cell and closes the editor.
    Type({Qt::Key_Q, Qt::Key_Down});
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 2), "q");
    EXPECT_EQ(Grid->Row(), 3);
    // Tab moves on by one cell (goTabs) from the grid and from the editor.
    Type({Qt::Key_Tab});
    EXPECT_EQ(Grid->Col(), 2);
    Type({Qt::Key_W, Qt::Key_Tab});
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Cells(2, 3), "w");
    EXPECT_EQ(Form->ActiveControl(), Grid);
}

TEST_F(LiveListsTest, GridWithoutEditingTakesArrowsAndLeavesTab) {
    ShowWith(Grid);
    Type({Qt::Key_Down, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown});
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2 + Grid->VisibleRowCount());
    std::vector<String> Seen = Log.Take();
    EXPECT_EQ(std::count_if(Seen.begin(), Seen.end(),
                            [](const String& S) { return S.rfind("Grid.KeyDown", 0) == 0; }),
              4);
    // Typing does nothing without goEditing; Tab goes to the next control.
    Type({Qt::Key_A});
    EXPECT_FALSE(Grid->EditorMode());
    Type({Qt::Key_Tab});
    EXPECT_EQ(Form->ActiveControl(), List);
}

TEST_F(LiveListsTest, GridScrollsByTheWheel) {
    ShowWith(Grid);
    const QPoint At = CellCentre(1, 2);
    const Integer Top = Grid->TopRow();
    QWheelEvent Wheel(QPointF(At), GridViewport()->mapToGlobal(QPointF(At)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(GridViewport(), &Wheel);
    EXPECT_GT(Grid->TopRow(), Top);
    // The cell under the mouse is the cell shown there now.
    const Integer Shown = Grid->TopRow() + 1;
    EXPECT_EQ(Grid->MouseToCell(At.x(), At.y()), (TGridCoord{1, Shown}));
    ClickCell(1, Shown);
    EXPECT_EQ(Grid->Row(), Shown);
}

TEST_F(LiveListsTest, GridColumnSizedByDraggingTheHeaderEdge) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    ShowWith(Grid);
    const TRect R = Grid->CellRect(1, 0);
    const QPoint Edge(R.Right, R.Top + 4);
    Mouse(QTest::MousePress, GridViewport(), Edge);
    Mouse(QTest::MouseMove, GridViewport(), Edge + QPoint(30, 0));
    Mouse(QTest::MouseRelease, GridViewport(), Edge + QPoint(30, 0));
    EXPECT_EQ(Grid->ColWidths(1), R.Width() + 30);
    EXPECT_EQ(Log.Take(), std::vector<String>{"Grid.WidthsChanged"});
}

TEST_F(LiveListsTest, GridHandlersMayFreeTheGridDuringRealInput) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    struct Case {
        const char* Name;
        std::function<void()> User;
    };
    const Case Cases[] = {
        {"a click asking for a cell", [&] { ClickCell(2, 3); }},
        {"a double click", [&] { Mouse(QTest::MouseDClick, GridViewport(), CellCentre(1, 1)); }},
        {"a key in the grid", [&] { Type({Qt::Key_Down}); }},
        {"a key in the open editor",
         [&] {
             Grid->SetEditorMode(true);
             Type({Qt::Key_A});
         }},
    };
    for (const Case& C : Cases) {
        Build();
        ShowWith(Grid);
        Grid->OnSetEditText = nullptr;
        Log.Then = [this] { delete Grid; };
        C.User();
        EXPECT_EQ(Form->FindComponent("Grid"), nullptr) << C.Name;
        Application->ProcessMessages();
        Log.Take();
    }
}

TEST_F(LiveListsTest, TabFollowsTheTabOrderFromTheGridAndItsEditor) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    struct Case {
        const char* Name;
        std::function<void()> Start;
        Qt::KeyboardModifiers Modifiers;
        const char* Expected;
    };
    const Case Cases[] = {
        {"Tab from the edit", [&] { Edit->SetFocus(); }, {}, "Grid"},
        {"Tab from the grid", [&] { Grid->SetFocus(); }, {}, "List"},
        {"Tab from the grid's editor",
         [&] {
             Grid->SetFocus();
             Grid->SetEditorMode(true);
         },
         {},
         "List"},
        {"Shift+Tab from the grid's editor",
         [&] {
             Grid->SetFocus();
             Grid->SetEditorMode(true);
         },
         Qt::ShiftModifier, "Edit"},
        {"Tab from the list", [&] { List->SetFocus(); }, {}, "Tree"},
        {"Shift+Tab from the list", [&] { List->SetFocus(); }, Qt::ShiftModifier, "Grid"},
        {"Tab from the tree", [&] { Tree->SetFocus(); }, {}, "Edit"},
        {"Tab into the grid with its editor open",
         [&] {
             Grid->SetFocus();
             Grid->SetEditorMode(true);
             Edit->SetFocus();
         },
         {},
         "Grid"},
    };
    for (const Case& C : Cases) {
        ShowWith(nullptr);
        C.Start();
        QTest::keyClick(Window(), Qt::Key_Tab, C.Modifiers);
        ASSERT_NE(Form->ActiveControl(), nullptr) << C.Name;
        EXPECT_EQ(Form->ActiveControl()->Name(), C.Expected) << C.Name;
        // The keys go where the focus is: the control, or the grid's open editor.
        QWidget* Focused = QApplication::focusWidget();
        EXPECT_TRUE(TControl::FromWidget(Focused) == Form->ActiveControl() ||
                    (Focused && Focused == Grid->InplaceEditor()))
            << C.Name;
    }
}

TEST_F(LiveListsTest, F1AsksForTheHelpOfTheFocusedControlOrItsParents) {
    TActionLog Actions;
    Application->SetActionLog(&Actions);
    TScopeGuard Restore([] { Application->SetActionLog(nullptr); });
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->SetHelpContext(11);
    Form->SetHelpContext(22);
    struct Case {
        const char* Name;
        std::function<void()> Focus;
        Integer Context;
    };
    const Case Cases[] = {
        {"the grid", [&] { Grid->SetFocus(); }, 11},
        {"the grid's open editor",
         [&] {
             Grid->SetFocus();
             Grid->SetEditorMode(true);
         },
         11},
        {"a list without a context of its own", [&] { List->SetFocus(); }, 22},
        {"an edit", [&] { Edit->SetFocus(); }, 22},
    };
    for (const Case& C : Cases) {
        ShowWith(nullptr);
        C.Focus();
        Actions.HelpRequests.clear();
        Type({Qt::Key_F1});
        ASSERT_EQ(Actions.HelpRequests.size(), 1u) << C.Name;
        EXPECT_EQ(Actions.HelpRequests[0].Data, C.Context) << C.Name;
    }
}

// --- Menus from anywhere

TEST_F(LiveListsTest, MenuShortcutsReachTheItemOnceWhereverTheFocusIs) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    struct Case {
        const char* Name;
        std::function<void()> Focus;
    };
    const Case Cases[] = {
        {"an edit", [&] { Edit->SetFocus(); }},
        {"a grid", [&] { Grid->SetFocus(); }},
        {"a grid's open editor",
         [&] {
             Grid->SetFocus();
             Grid->SetEditorMode(true);
         }},
        {"a list view", [&] { List->SetFocus(); }},
        {"a tree view", [&] { Tree->SetFocus(); }},
    };
    for (const Case& C : Cases) {
        ShowWith(nullptr);
        C.Focus();
        Log.Take();
        QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(Window(), Qt::Key_F6); // a hidden item answers too
        EXPECT_EQ(Log.Take(), (std::vector<String>{"SaveItem.Click", "HiddenItem.Click"}))
            << C.Name;
        // The pop-up menu of the focused control has its keys too.
        QTest::keyClick(Window(), Qt::Key_C, Qt::ControlModifier);
        const bool HasPopup = C.Name != std::string("an edit");
        EXPECT_EQ(Log.Take(),
                  HasPopup ? std::vector<String>{"CopyItem.Click"} : std::vector<String>{})
            << C.Name;
    }
    EXPECT_EQ(Grid->Cells(1, 1), "1.1"); // nothing typed into the cell
}

TEST_F(LiveListsTest, AltLetterOpensTheMenuAndEnterRunsTheItem) {
    ShowWith(Edit);
    QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
    QMenu* File = FileMenu->SubMenu();
    ASSERT_NE(File, nullptr);
    ASSERT_TRUE(File->isVisible());
    // The first item is highlighted; Down to the second, then Enter.
    Type({Qt::Key_Down, Qt::Key_Return});
    EXPECT_FALSE(File->isVisible());
    EXPECT_EQ(Log.Take(), std::vector<String>{"WrapItem.Click"});
    // The item's letter runs it at once.
    QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
    Type({Qt::Key_S});
    EXPECT_EQ(Log.Take(), std::vector<String>{"SaveItem.Click"});
    EXPECT_EQ(Edit->Text(), ""); // no letter reached the edit
}

TEST_F(LiveListsTest, CheckItemsClickedByTheMouseKeepWhatTheHandlerDecides) {
    ShowWith(Edit);
    WrapItem->SetChecked(true);
    // The handler does not change the check mark: it stays.
    QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
    QMenu* File = FileMenu->SubMenu();
    ASSERT_NE(File, nullptr);
    Mouse(QTest::MouseClick, File, File->actionGeometry(WrapItem->Action()).center());
    EXPECT_EQ(Log.Take(), std::vector<String>{"WrapItem.Click"});
    EXPECT_TRUE(WrapItem->Checked());
    EXPECT_TRUE(WrapItem->Action()->isChecked());
}

// --- Pop-up menus

TEST_F(LiveListsTest, RightClickAndMenuKeyOpenThePopupMenuOnTheControl) {
    struct Case {
        const char* Name;
        TWinControl* Control;
        std::function<void()> User;
        std::vector<String> Expected{"Popup.Popup"};
    };
    const Case Cases[] = {
        {"right click on the grid", Grid, [&] { ClickCell(1, 1, Qt::RightButton); }},
        // Below the items: a right click on an item selects it first, as Qt does.
        {"right click on the list", List,
         [&] {
             Mouse(QTest::MouseClick, ListWidget()->viewport(), BelowItems(ListWidget()),
                   Qt::RightButton);
         }},
        {"right click on the tree", Tree,
         [&] {
             Mouse(QTest::MouseClick, TreeWidget()->viewport(), BelowItems(TreeWidget()),
                   Qt::RightButton);
         }},
        // The platform turns the menu key into a context menu event for the window.
        {"the menu key in the grid", Grid,
         [&] {
             QContextMenuEvent Event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                     Form->Handle()->mapToGlobal(QPoint(5, 5)));
             QApplication::sendEvent(Window(), &Event);
         }},
        // The control's OnKeyDown sees the key first.
        {"Shift+F10 in the list",
         List,
         [&] { Type({Qt::Key_F10}, Qt::ShiftModifier); },
         {"List.KeyDown #121", "Popup.Popup"}},
        {"Shift+F10 in the grid",
         Grid,
         [&] { Type({Qt::Key_F10}, Qt::ShiftModifier); },
         {"Grid.KeyDown #121", "Popup.Popup"}},
    };
    for (const Case& C : Cases) {
        ShowWith(C.Control);
        C.User();
        EXPECT_EQ(Log.Take(), C.Expected) << C.Name;
        EXPECT_EQ(Popup->PopupComponent(), C.Control) << C.Name;
        ASSERT_NE(Popup->Menu(), nullptr) << C.Name;
        EXPECT_TRUE(Popup->Menu()->isVisible()) << C.Name;
        Popup->Menu()->close();
    }
}

// --- The list view

TEST_F(LiveListsTest, ListClicksSelectItemsAndReportOnce) {
    ShowWith(Edit);
    QTreeWidget* W = ListWidget();
    Mouse(QTest::MouseClick, W->viewport(), ItemCentre(W, W->topLevelItem(1)));
    EXPECT_EQ(List->Selected(), List->Items()->Item(1));
    EXPECT_EQ(Form->ActiveControl(), List);
    EXPECT_EQ(Log.Take(), (std::vector<String>{"List.Change beta", "List.Click"}));
    Mouse(QTest::MouseDClick, W->viewport(), ItemCentre(W, W->topLevelItem(2)));
    EXPECT_EQ(Log.Take(), (std::vector<String>{"List.Change beta", "List.Change gamma",
                                               "List.Click", "List.DblClick"}));
    // Keys move the selection.
    Type({Qt::Key_Up});
    EXPECT_EQ(List->Selected(), List->Items()->Item(1));
    EXPECT_EQ(Log.Take(),
              (std::vector<String>{"List.KeyDown #38", "List.Change gamma", "List.Change beta"}));
}

TEST_F(LiveListsTest, ListHeaderClicksAndDragsReachTheColumns) {
    ShowWith(List);
    QHeaderView* Header = ListWidget()->header();
    const QPoint OnSize(Header->sectionViewportPosition(1) + 20, Header->height() / 2);
    Mouse(QTest::MouseClick, Header->viewport(), OnSize);
    EXPECT_EQ(Log.Take(), std::vector<String>{"List.ColumnClick Size"});
    List->ColumnClick = false;
    Mouse(QTest::MouseClick, Header->viewport(), OnSize);
    EXPECT_EQ(Log.Take(), std::vector<String>{});
    // Dragging the right edge of the first column sizes it, within its limits.
    TListColumn* Name = List->Columns()->Items(0);
    Name->SetMaxWidth(150);
    const auto DragEdge = [&](int By) {
        const QPoint Edge(Header->sectionViewportPosition(1) - 1, Header->height() / 2);
        Mouse(QTest::MousePress, Header->viewport(), Edge);
        Mouse(QTest::MouseMove, Header->viewport(), Edge + QPoint(By / 2, 0));
        Mouse(QTest::MouseMove, Header->viewport(), Edge + QPoint(By, 0));
        Mouse(QTest::MouseRelease, Header->viewport(), Edge + QPoint(By, 0));
    };
    DragEdge(40);
    EXPECT_EQ(Name->Width(), 120);
    EXPECT_EQ(Header->sectionSize(0), 120);
    DragEdge(60);
    EXPECT_EQ(Name->Width(), 150);
    EXPECT_EQ(Header->sectionSize(0), 150);
    EXPECT_EQ(Log.Take(), std::vector<String>{});
    // The width the user left is the one the form file keeps.
    EXPECT_NE(FormText(Form.get()).find("        MaxWidth = 150\n        Width = 150\n"),
              String::npos)
        << FormText(Form.get());
}

// --- The tree view

TEST_F(LiveListsTest, TreeClicksAndKeysSelectExpandAndCollapse) {
    ShowWith(Edit);
    QTreeWidget* W = TreeWidget();
    TTreeNode* Root = Tree->Items()->Item(0);
    Mouse(QTest::MouseClick, W->viewport(), ItemCentre(W, TCustomTreeView::ItemOf(Root)));
    EXPECT_EQ(Tree->Selected(), Root);
    EXPECT_EQ(Form->ActiveControl(), Tree);
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Tree.Change root", "Tree.Click"}));
    Type({Qt::Key_Right});
    EXPECT_TRUE(Root->Expanded());
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Tree.KeyDown #39", "Tree.Expanding root"}));
    Type({Qt::Key_Down});
    EXPECT_EQ(Tree->Selected()->Text(), "leaf1");
    Log.Take();
    // A refused collapse leaves the node open, in the tree and on the screen.
    Tree->SetSelected(Root);
    Log.Take();
    Log.AllowCollapse = false;
    Type({Qt::Key_Left});
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Tree.KeyDown #37", "Tree.Collapsing root"}));
    EXPECT_TRUE(Root->Expanded());
    EXPECT_TRUE(TCustomTreeView::ItemOf(Root)->isExpanded());
    Log.AllowCollapse = true;
    Type({Qt::Key_Left});
    EXPECT_FALSE(Root->Expanded());
    EXPECT_FALSE(TCustomTreeView::ItemOf(Root)->isExpanded());
    // A double click on a node.
    TTreeNode* Other = Tree->Items()->Item(Tree->Items()->Count() - 1);
    Log.Take();
    Mouse(QTest::MouseDClick, W->viewport(), ItemCentre(W, TCustomTreeView::ItemOf(Other)));
    EXPECT_EQ(Tree->Selected(), Other);
    const std::vector<String> Seen = Log.Take();
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Tree.DblClick"), 1);
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Tree.Change other"), 1);
}

// --- The tool bar

TEST_F(LiveListsTest, ToolButtonsClickedByTheMouseClickOnce) {
    auto* Bar = AddControl<TToolBar>(Form.get(), "Bar");
    const auto AddButton = [&](const String& Name, TToolButtonStyle Style) {
        auto* Button = new TToolButton(Form.get());
        Button->SetName(Name);
        Button->SetStyle(Style);
        Button->SetParent(Bar);
        return Button;
    };
    TToolButton* Save = AddButton("SaveButton", tbsButton);
    Save->SetMenuItem(SaveItem); // shares the item's click
    TToolButton* Bold = AddButton("BoldButton", tbsCheck);
    Bold->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
    TToolButton* Left = AddButton("LeftButton", tbsCheck);
    TToolButton* Right = AddButton("RightButton", tbsCheck);
    for (TToolButton* Button : {Left, Right}) {
        Button->SetGrouped(true);
        Button->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
    }
    ShowWith(Edit);
    const auto ClickOn = [](TToolButton* Button) { Mouse(QTest::MouseClick, Button->Widget()); };
    ClickOn(Save);
    ClickOn(Bold);
    EXPECT_TRUE(Bold->Down());
    ClickOn(Bold);
    EXPECT_FALSE(Bold->Down());
    ClickOn(Left);
    ClickOn(Right);
    ClickOn(Right); // the pressed button of its group stays down
    EXPECT_EQ(Log.Take(),
              (std::vector<String>{"SaveItem.Click", "BoldButton.Click", "BoldButton.Click",
                                   "LeftButton.Click", "RightButton.Click", "RightButton.Click"}));
    EXPECT_FALSE(Left->Down());
    EXPECT_TRUE(Right->Down());
    EXPECT_TRUE(qobject_cast<QToolButton*>(Right->Widget())->isChecked());
    EXPECT_FALSE(qobject_cast<QToolButton*>(Left->Widget())->isChecked());
    // A handler that frees its button while the mouse button comes up.
    Log.Then = [&] { delete Bold; };
    ClickOn(Bold);
    EXPECT_EQ(Form->FindComponent("BoldButton"), nullptr);
    EXPECT_EQ(Bar->ButtonCount(), 3);
    Application->ProcessMessages();
}

TEST_F(LiveListsTest, RightClickSelectsATreeNodeOnlyWhenAsked) {
    ShowWith(Tree);
    QTreeWidget* W = TreeWidget();
    TTreeNode* Root = Tree->Items()->Item(0);
    TTreeNode* Other = Tree->Items()->Item(Tree->Items()->Count() - 1);
    Tree->SetSelected(Other);
    Log.Take();
    const QPoint OnRoot = ItemCentre(W, TCustomTreeView::ItemOf(Root));
    Mouse(QTest::MouseClick, W->viewport(), OnRoot, Qt::RightButton);
    EXPECT_EQ(Tree->Selected(), Other);
    EXPECT_EQ(W->currentItem(), TCustomTreeView::ItemOf(Other));
    EXPECT_EQ(Log.Take(), std::vector<String>{"Popup.Popup"});
    Popup->Menu()->close();
    Tree->RightClickSelect = true;
    Mouse(QTest::MouseClick, W->viewport(), OnRoot, Qt::RightButton);
    EXPECT_EQ(Tree->Selected(), Root);
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Tree.Change root", "Popup.Popup"}));
}

TEST_F(LiveListsTest, TreeBranchClicksAndDoubleClicksAskTheHandlers) {
    ShowWith(Tree);
    QTreeWidget* W = TreeWidget();
    TTreeNode* Root = Tree->Items()->Item(0);
    const QRect Row = W->visualItemRect(TCustomTreeView::ItemOf(Root));
    const QPoint Branch(Row.left() - W->indentation() / 2, Row.center().y());
    Mouse(QTest::MouseClick, W->viewport(), Branch);
    EXPECT_TRUE(Root->Expanded());
    EXPECT_EQ(Log.Take(), std::vector<String>{"Tree.Expanding root"});
    // Qt closes a node on a double click; the handler refuses.
    Log.AllowCollapse = false;
    Mouse(QTest::MouseDClick, W->viewport(), Row.center());
    std::vector<String> Seen = Log.Take();
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Tree.Collapsing root"), 1);
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "Tree.DblClick"), 1);
    EXPECT_TRUE(Root->Expanded());
    EXPECT_TRUE(TCustomTreeView::ItemOf(Root)->isExpanded());
    Log.AllowCollapse = true;
    Mouse(QTest::MouseClick, W->viewport(), Branch);
    EXPECT_FALSE(Root->Expanded());
    EXPECT_EQ(Log.Take(), std::vector<String>{"Tree.Collapsing root"});
}

TEST_F(LiveListsTest, PopupMenuItemClickedByTheMouseRunsOnce) {
    ShowWith(Grid);
    ClickCell(1, 1, Qt::RightButton);
    QMenu* Shown = Popup->Menu();
    ASSERT_NE(Shown, nullptr);
    ASSERT_TRUE(Shown->isVisible());
    TMenuItem* Copy = Popup->Items()->Items(0);
    Mouse(QTest::MouseClick, Shown, Shown->actionGeometry(Copy->Action()).center());
    EXPECT_FALSE(Shown->isVisible());
    EXPECT_EQ(Log.Take(), (std::vector<String>{"Popup.Popup", "CopyItem.Click"}));
    EXPECT_EQ(Popup->PopupComponent(), Grid);
}

// Each handler frees the control that called it, or the whole window, in
// the middle of what the user does; nothing may touch them afterwards.
TEST_F(LiveListsTest, HandlersMayFreeListsTreesAndTheWindowDuringRealInput) {
    struct Case {
        const char* Name;
        std::function<void()> User;
        const char* Gone; // the component that must be gone ("" for the window)
    };
    const auto ClickList = [this](int Row) {
        QTreeWidget* W = ListWidget();
        Mouse(QTest::MouseClick, W->viewport(), ItemCentre(W, W->topLevelItem(Row)));
    };
    const Case Cases[] = {
        {"list: the selection's change", [&] { ClickList(1); }, "List"},
        {"list: the click",
         [&] {
             List->OnChange = nullptr;
             ClickList(1);
         },
         "List"},
        {"list: the double click",
         [this] {
             List->OnChange = nullptr;
             List->OnClick = nullptr;
             QTreeWidget* W = ListWidget();
             Mouse(QTest::MouseDClick, W->viewport(), ItemCentre(W, W->topLevelItem(2)));
         },
         "List"},
        {"list: the column click",
         [this] {
             QHeaderView* Header = ListWidget()->header();
             Mouse(QTest::MouseClick, Header->viewport(),
                   QPoint(Header->sectionViewportPosition(0) + 10, Header->height() / 2));
         },
         "List"},
        {"tree: the selection's change",
         [this] {
             QTreeWidget* W = TreeWidget();
             Mouse(QTest::MouseClick, W->viewport(), ItemCentre(W, W->topLevelItem(1)));
         },
         "Tree"},
        {"tree: a key",
         [this] {
             Tree->SetFocus();
             Type({Qt::Key_Down});
         },
         "Tree"},
        {"tree: a typed letter (its OnKeyDown frees the tree before OnKeyPress)",
         [this] {
             Tree->SetFocus();
             Type({Qt::Key_A});
         },
         "Tree"},
        {"tree: the expansion by the mouse",
         [this] {
             Tree->OnChange = nullptr;
             Tree->OnClick = nullptr;
             Tree->OnDblClick = nullptr;
             QTreeWidget* W = TreeWidget();
             Mouse(QTest::MouseDClick, W->viewport(), ItemCentre(W, W->topLevelItem(0)));
         },
         "Tree"},
        {"window: a menu shortcut from the grid's editor",
         [this] {
             Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
             Grid->OnGetEditText = nullptr;
             Grid->SetFocus();
             Grid->SetEditorMode(true);
             Log.Take();
             Log.Then = [this] { Form.reset(); };
             QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier);
         },
         ""},
        {"window: a menu item run by Enter",
         [this] {
             Edit->SetFocus();
             Log.Then = [this] { Form.reset(); };
             QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
             QTest::keyClick(Window(), Qt::Key_Return);
         },
         ""},
    };
    for (const Case& C : Cases) {
        Build();
        ShowWith(Grid);
        Log.Then = [this, Name = String(C.Gone)] { delete Form->FindComponent(Name); };
        C.User();
        if (*C.Gone)
            EXPECT_EQ(Form->FindComponent(C.Gone), nullptr) << C.Name;
        else
            EXPECT_EQ(Form, nullptr) << C.Name;
        Application->ProcessMessages();
    }
}

TEST_F(LiveListsTest, BarsTakeClicksAndDoubleClicksOnce) {
    auto* Bar = AddControl<TToolBar>(Form.get(), "Bar");
    auto* Button = new TToolButton(Form.get());
    Button->SetName("BoldButton");
    Button->SetParent(Bar);
    Button->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
    auto* Status = AddControl<TStatusBar>(Form.get(), "Status");
    Status->Panels()->Add()->SetText("Line 1");
    // The window's own handlers hear nothing of clicks on its bars.
    for (TControl* Control : std::initializer_list<TControl*>{Bar, Status, Form.get()}) {
        Control->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
        Control->OnDblClick = TNotifyEvent::Make<&TInputLog::DblClick>(&Log);
    }
    ShowWith(Edit);
    for (TWinControl* Control : std::initializer_list<TWinControl*>{Bar, Status}) {
        const String Name = Control->Name();
        const QPoint Free(Control->Width() - 10, Control->Height() / 2);
        Mouse(QTest::MouseClick, Control->Widget(), Free);
        EXPECT_EQ(Log.Take(), std::vector<String>{Name + ".Click"});
        // Press, release, press with the double click, release: one click, one double click.
        Mouse(QTest::MouseDClick, Control->Widget(), Free);
        EXPECT_EQ(Log.Take(), (std::vector<String>{Name + ".Click", Name + ".DblClick"}));
    }
    // A button's click is the button's alone.
    Mouse(QTest::MouseClick, Button->Widget());
    EXPECT_EQ(Log.Take(), std::vector<String>{"BoldButton.Click"});
}

// --- Menus opened by the mouse, splitters

TEST_F(LiveListsTest, OpeningASubMenuClicksItsItemOnce) {
    FileMenu->OnClick = TNotifyEvent::Make<&TInputLog::Click>(&Log);
    ShowWith(Edit);
    QMenuBar* Bar = Form->MenuBar();
    ASSERT_NE(Bar, nullptr);
    Mouse(QTest::MouseClick, Bar, Bar->actionGeometry(FileMenu->Action()).center());
    ASSERT_TRUE(FileMenu->SubMenu()->isVisible());
    EXPECT_EQ(Log.Take(), std::vector<String>{"FileMenu.Click"});
    Type({Qt::Key_Escape});
    EXPECT_FALSE(FileMenu->SubMenu()->isVisible());
    QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(FileMenu->SubMenu()->isVisible());
    EXPECT_EQ(Log.Take(), std::vector<String>{"FileMenu.Click"});
    // A disabled item does nothing on Enter; the menu closes.
    SaveItem->SetEnabled(false);
    Type({Qt::Key_Escape});
    QTest::keyClick(Window(), Qt::Key_F, Qt::AltModifier);
    Type({Qt::Key_Return});
    const std::vector<String> Seen = Log.Take();
    EXPECT_EQ(std::count(Seen.begin(), Seen.end(), "SaveItem.Click"), 0);
    // The shortcut runs the parent's click first, then the item's.
    SaveItem->SetEnabled(true);
    Type({Qt::Key_Escape, Qt::Key_Escape});
    QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Log.Take(), (std::vector<String>{"FileMenu.Click", "SaveItem.Click"}));
}

TEST_F(LiveListsTest, SplitterDraggedByTheMouseResizesItsNeighbourWithinLimits) {
    TForm Split(nullptr);
    Split.SetClientWidth(400);
    Split.SetClientHeight(200);
    auto* Left = AddControl<TListBox>(&Split, "LeftList");
    Left->SetAlign(alLeft);
    Left->SetWidth(150);
    auto* Splitter = AddControl<TSplitter>(&Split, "Splitter1");
    Splitter->SetLeft(150);
    Splitter->AutoSnap = false;
    auto* Rest = AddControl<TListBox>(&Split, "RestList");
    Rest->SetAlign(alClient);
    Integer Moves = 0;
    struct TCounter {
        Integer* Moves;
        void Moved(TObject*) { ++*Moves; }
    } Counter{&Moves};
    Splitter->OnMoved = TNotifyEvent::Make<&TCounter::Moved>(&Counter);
    Split.Show();
    // The button goes down on the bar and comes up over the list beside it.
    const auto Drag = [&](int By) {
        QWidget* Bar = Splitter->Widget();
        const QPoint From = Bar->rect().center();
        Mouse(QTest::MousePress, Bar, From);
        Mouse(QTest::MouseMove, Bar, From + QPoint(By, 0));
        Mouse(QTest::MouseRelease, Bar, From + QPoint(By, 0));
    };
    Drag(60);
    EXPECT_EQ(Left->Width(), 210);
    EXPECT_EQ(Rest->Left(), 213);
    Drag(-400); // not below the minimum size
    EXPECT_EQ(Left->Width(), Splitter->MinSize());
    EXPECT_EQ(Moves, 2);
    // A double click moves nothing.
    Mouse(QTest::MouseDClick, Splitter->Widget());
    EXPECT_EQ(Left->Width(), Splitter->MinSize());
    EXPECT_EQ(Moves, 2);
}

} // namespace
} // namespace orlo::test
