// The string grid: layout and its limits, cells and objects through row
// insertion and deletion, the current cell and OnSelectCell, editing through
// the in-place editor by keys (the form's keys and Qt's own key events),
// mouse clicks and column sizing, handlers that free the grid or delete its
// rows, form files, and a picture of a filled grid.

#include "platform/forms/Grids.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/rtl/ExpectError.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {
namespace {

// Records what the grid reports; the tests set what the handlers do.
class TGridProbe {
public:
    std::vector<TGridCoord> Asked;
    std::vector<String> EditTexts;
    Integer WidthChanges = 0;
    TGridCoord Refused{-2, -2};
    std::function<void()> OnSelect;
    std::function<void()> OnEdit;

    void SelectCell(TObject*, Integer ACol, Integer ARow, bool& CanSelect) {
        Asked.push_back({ACol, ARow});
        if (Refused == TGridCoord{ACol, ARow})
            CanSelect = false;
        if (OnSelect)
            OnSelect();
    }
    void SetEditText(TObject*, Integer, Integer, const String& Value) {
        EditTexts.push_back(Value);
        if (OnEdit)
            OnEdit();
    }
    void ColumnWidthsChanged(TObject*) { ++WidthChanges; }
    Integer DblClicks = 0;
    void DblClick(TObject*) { ++DblClicks; }
    std::vector<Word> KeysDown;
    void KeyDown(TObject*, Word& Key, TShiftState) { KeysDown.push_back(Key); }

    void Attach(TCustomGrid* Grid) {
        Grid->OnSelectCell = TSelectCellEvent::Make<&TGridProbe::SelectCell>(this);
        Grid->OnSetEditText = TSetEditEvent::Make<&TGridProbe::SetEditText>(this);
        Grid->OnColumnWidthsChanged = TNotifyEvent::Make<&TGridProbe::ColumnWidthsChanged>(this);
        Grid->OnKeyDown = TKeyEvent::Make<&TGridProbe::KeyDown>(this);
        Grid->OnDblClick = TNotifyEvent::Make<&TGridProbe::DblClick>(this);
    }
};

class GridsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 420, 260);
        Grid = new TStringGrid(Form.get());
        Grid->SetName("Grid");
        Grid->SetParent(Form.get());
        Grid->SetBounds(8, 8, 400, 200);
        Grid->SetColCount(3);
        Grid->SetRowCount(4);
        Grid->SetFixedCols(0);
        for (Integer R = 0; R < Grid->RowCount(); ++R)
            for (Integer C = 0; C < Grid->ColCount(); ++C)
                Grid->SetCells(C, R, Format("%d.%d", C, R));
        Probe.Attach(Grid);
    }
    // Shows the form with the grid focused, so keys reach it.
    void ShowFocused() {
        Form->Show();
        Grid->SetFocus();
    }
    QAbstractScrollArea* View() const { return static_cast<QAbstractScrollArea*>(Grid->Widget()); }
    void TypeKeys(const String& Keys) {
        for (char C : Keys)
            Form->PressKey(static_cast<Word>(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C));
    }
    void Click(Integer ACol, Integer ARow, QEvent::Type Type = QEvent::MouseButtonPress) {
        const TRect R = Grid->CellRect(ACol, ARow);
        SendMouse(Type, QPoint(R.Left + 4, R.Top + 4));
    }
    void SendMouse(QEvent::Type Type, QPoint At) {
        const Qt::MouseButtons Buttons =
            Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent Event(Type, QPointF(At), QPointF(View()->viewport()->mapToGlobal(At)),
                          Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(View()->viewport(), &Event);
    }
    static void SendKey(QWidget* Target, int Key, const QString& Text = QString(),
                        Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QKeyEvent Event(QEvent::KeyPress, Key, Modifiers, Text);
        QApplication::sendEvent(Target, &Event);
    }

    std::unique_ptr<TForm> Form;
    TStringGrid* Grid = nullptr;
    TGridProbe Probe;
};

TEST_F(GridsTest, LayoutLimitsRaiseTheirTexts) {
    struct Case {
        const char* What;
        std::function<void(TStringGrid*)> Call;
        const char* Text;
    };
    const std::vector<Case> Cases = {
        {"fixed rows", [](TStringGrid* G) { G->SetFixedRows(4); },
         "Fixed row count must be less than row count"},
        {"fixed columns", [](TStringGrid* G) { G->SetFixedCols(3); },
         "Fixed column count must be less than column count"},
        {"negative fixed rows", [](TStringGrid* G) { G->SetFixedRows(-1); },
         "Grid index out of range"},
        {"cell column", [](TStringGrid* G) { G->SetCells(3, 0, "x"); }, "Grid index out of range"},
        {"cell row", [](TStringGrid* G) { (void)G->Cells(0, 4); }, "Grid index out of range"},
        {"object", [](TStringGrid* G) { (void)G->Objects(-1, 0); }, "Grid index out of range"},
        {"column width", [](TStringGrid* G) { G->SetColWidths(5, 10); }, "Grid index out of range"},
        {"current cell in a fixed row", [](TStringGrid* G) { G->SetRow(0); },
         "Grid index out of range"},
        {"insert row", [](TStringGrid* G) { G->InsertRow(5); }, "Grid index out of range"},
        {"delete row", [](TStringGrid* G) { G->DeleteRow(4); }, "Grid index out of range"},
        {"auto size", [](TStringGrid* G) { G->AutoSizeCol(3); }, "Grid index out of range"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        ExpectError<EInvalidGridOperation>([&] { C.Call(Grid); }, C.Text);
    }
    // Nothing of that changed the grid.
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridsTest, ShrinkingCountsLowerFixedCountsAndKeepCells) {
    Grid->SetFixedCols(1);
    Grid->SetRowCount(1);
    EXPECT_EQ(Grid->FixedRows(), 0);
    EXPECT_EQ(Grid->Row(), 0);
    EXPECT_EQ(Grid->Cells(2, 0), "2.0");
    Grid->SetColCount(2);
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->Cells(1, 0), "1.0");
    EXPECT_EQ(Grid->Cells(1, 1), "");
    Grid->SetColCount(0);
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->FixedCols(), 0);
    EXPECT_EQ(Grid->Cells(0, 0), "0.0");
}

TEST_F(GridsTest, RowsInsertedAndDeletedKeepTheirObjects) {
    TObject First, Second, Third;
    Grid->SetObjects(0, 1, &First);
    Grid->SetObjects(2, 2, &Second);
    Grid->SetObjects(1, 3, &Third);
    Grid->InsertRow(2);
    ASSERT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(0, 2), "");
    EXPECT_EQ(Grid->Objects(2, 2), nullptr);
    EXPECT_EQ(Grid->Objects(0, 1), &First);
    EXPECT_EQ(Grid->Objects(2, 3), &Second);
    EXPECT_EQ(Grid->Cells(2, 3), "2.2");
    EXPECT_EQ(Grid->Objects(1, 4), &Third);
    Grid->InsertRow(5); // after the last row
    EXPECT_EQ(Grid->Cells(0, 5), "");
    Grid->DeleteRow(1);
    EXPECT_EQ(Grid->Objects(2, 2), &Second);
    EXPECT_EQ(Grid->Objects(1, 3), &Third);
    EXPECT_EQ(Grid->Cells(0, 3), "0.3");
    Grid->Clear();
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(0, 3), "");
    EXPECT_EQ(Grid->Objects(1, 3), nullptr);
    while (Grid->RowCount() > 1)
        Grid->DeleteRow(0);
    ExpectError<EInvalidGridOperation>([&] { Grid->DeleteRow(0); }, "Cannot delete the only row");
}

TEST_F(GridsTest, CurrentRowFollowsItsRowThroughInsertAndDelete) {
    Grid->SetRow(2);
    Grid->InsertRow(1);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Cells(0, Grid->Row()), "0.2");
    Grid->DeleteRow(1);
    EXPECT_EQ(Grid->Row(), 2);
    Grid->DeleteRow(2); // the current row goes; the next takes its place
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Cells(0, 2), "0.3");
    Grid->DeleteRow(2);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridsTest, SelectCellCanRefuseACell) {
    Probe.Refused = {1, 2};
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_FALSE(Grid->FocusCell(1, 2));
    EXPECT_EQ(Grid->Row(), 1);
    ShowFocused();
    Form->PressKey(VK_DOWN); // refused as well
    EXPECT_EQ(Grid->Row(), 1);
    Form->PressKey(VK_RIGHT);
    Form->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    const std::vector<TGridCoord> Expected = {{1, 2}, {1, 2}, {2, 1}, {2, 2}};
    EXPECT_EQ(Probe.Asked, Expected);
    EXPECT_TRUE(Grid->IsCellSelected(2, 2));
    EXPECT_FALSE(Grid->IsCellSelected(1, 2));
    Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
    EXPECT_TRUE(Grid->IsCellSelected(0, 2));
}

TEST_F(GridsTest, KeysMoveTheCurrentCell) {
    Grid->SetRowCount(40);
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->SetCol(0);
    ShowFocused();
    struct Step {
        Word Key;
        TShiftState Shift;
        Integer Col, Row;
    };
    std::vector<Step> Steps = {
        {VK_TAB, {}, 1, 1},        {VK_TAB, {}, 2, 1},        {VK_TAB, {}, 0, 2},
        {VK_TAB, {ssShift}, 2, 1}, {VK_HOME, {}, 0, 1},       {VK_END, {}, 2, 1},
        {VK_END, {ssCtrl}, 2, 39}, {VK_HOME, {ssCtrl}, 2, 1}, {VK_NEXT, {}, 2, 1},
        {VK_UP, {}, 2, 1},         {VK_LEFT, {}, 1, 1},
    };
    // The page key moves by the rows that fit.
    Steps[8].Row = 1 + Grid->VisibleRowCount();
    Steps[9].Row = Steps[10].Row = Grid->VisibleRowCount();
    for (const Step& S : Steps) {
        Form->PressKey(S.Key, S.Shift);
        SCOPED_TRACE(S.Key);
        EXPECT_EQ(Grid->Col(), S.Col);
        EXPECT_EQ(Grid->Row(), S.Row);
    }
    // Moving down past the last row shown scrolls.
    Form->PressKey(VK_END, {ssCtrl});
    EXPECT_EQ(Grid->TopRow(), 40 - Grid->VisibleRowCount());
    EXPECT_EQ(Grid->MouseToCell(Grid->CellRect(1, 39).Left + 1, Grid->CellRect(1, 39).Top + 1),
              (TGridCoord{1, 39}));
    EXPECT_EQ(View()->verticalScrollBar()->value(), Grid->TopRow() - 1);
}

TEST_F(GridsTest, TypingEditsTheCellThroughTheEditor) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    // The first keystroke opens the editor and replaces the text.
    TypeKeys("ab");
    EXPECT_TRUE(Grid->EditorMode());
    ASSERT_NE(Grid->InplaceEditor(), nullptr);
    EXPECT_EQ(Grid->InplaceEditor()->text(), "ab");
    EXPECT_TRUE(Grid->InplaceEditor()->isVisible());
    Form->PressKey(VK_BACK);
    Form->PressKey(VK_RETURN); // closes the editor, not the form
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "a");
    EXPECT_EQ(Probe.EditTexts, (std::vector<String>{"a", "ab", "a"}));
    // F2 opens it on the whole text; Escape gives the cell its text back.
    Probe.EditTexts.clear();
    Form->PressKey(VK_F2);
    EXPECT_EQ(Grid->EditText(), "a");
    TypeKeys("xy");
    EXPECT_EQ(Grid->Cells(1, 1), "xy");
    Form->PressKey(VK_ESCAPE);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "a");
    EXPECT_EQ(Probe.EditTexts, (std::vector<String>{"x", "xy", "a"}));
    // Without goEditing nothing opens.
    Grid->SetOptions(Grid->Options() - TGridOptions{goEditing});
    TypeKeys("q");
    Form->PressKey(VK_F2);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "a");
}

TEST_F(GridsTest, QtKeyEventsEditThroughTheLineEdit) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing, goTabs});
    ShowFocused();
    SendKey(View(), Qt::Key_Z, "z");
    ASSERT_TRUE(Grid->EditorMode());
    QLineEdit* Editor = Grid->InplaceEditor();
    EXPECT_EQ(Editor->text(), "z");
    // Keys typed into the line edit itself reach the cell.
    Editor->setFocus();
    SendKey(Editor, Qt::Key_E, "e");
    SendKey(Editor, Qt::Key_Left);
    SendKey(Editor, Qt::Key_A, "a");
    EXPECT_EQ(Grid->Cells(1, 1), "zae");
    EXPECT_EQ(Probe.EditTexts.back(), "zae");
    // A key the line edit ignores reaches the grid's handler once.
    Probe.KeysDown.clear();
    SendKey(Editor, Qt::Key_F9);
    EXPECT_EQ(Probe.KeysDown, (std::vector<Word>{VK_F1 + 8}));
    // Tab leaves the cell: the editor closes and the next cell is current.
    SendKey(Editor, Qt::Key_Tab);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Col(), 2);
    // Escape in the line edit takes the edit back.
    SendKey(View(), Qt::Key_F2);
    SendKey(Grid->InplaceEditor(), Qt::Key_End);
    SendKey(Grid->InplaceEditor(), Qt::Key_X, "x");
    EXPECT_EQ(Grid->Cells(2, 1), "2.1x");
    SendKey(Grid->InplaceEditor(), Qt::Key_Escape);
    EXPECT_EQ(Grid->Cells(2, 1), "2.1");
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(GridsTest, EnterAndEscapeReachTheFormWhenNoEditorIsOpen) {
    auto* Ok = new TButton(Form.get());
    Ok->SetParent(Form.get());
    Ok->SetTop(220);
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Form->PressKey(VK_F2);
    Form->PressKey(VK_RETURN);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    Form->PressKey(VK_RETURN);
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(GridsTest, TheEditorTakingTheFocusMakesTheGridActive) {
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetTop(220);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Form->Show();
    Edit->SetFocus();
    Grid->SetEditorMode(true);
    QFocusEvent FocusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(Grid->InplaceEditor(), &FocusIn);
    EXPECT_EQ(Form->ActiveControl(), Grid);
}

TEST_F(GridsTest, MouseSelectsCellsAndOpensTheEditor) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Click(2, 3);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_FALSE(Grid->EditorMode());
    Click(2, 3); // the current cell again
    EXPECT_TRUE(Grid->EditorMode());
    Click(0, 0); // a fixed cell: nothing moves, the editor stays
    EXPECT_EQ(Grid->Row(), 3);
    Click(0, 2);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Col(), 0);
    // A double click tells the handler and opens the editor on the current cell.
    Click(0, 2, QEvent::MouseButtonDblClick);
    EXPECT_EQ(Probe.DblClicks, 1);
    EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(GridsTest, DraggingAHeaderEdgeSizesTheColumn) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
    ShowFocused();
    const TRect Header = Grid->CellRect(0, 0);
    SendMouse(QEvent::MouseButtonPress, QPoint(Header.Right, Header.Top + 5));
    SendMouse(QEvent::MouseMove, QPoint(Header.Right + 30, Header.Top + 5));
    SendMouse(QEvent::MouseMove, QPoint(Header.Right + 50, Header.Top + 5));
    SendMouse(QEvent::MouseButtonRelease, QPoint(Header.Right + 50, Header.Top + 5));
    EXPECT_EQ(Grid->ColWidths(0), 64 + 50);
    EXPECT_EQ(Probe.WidthChanges, 1); // once, when the drag ends
    EXPECT_EQ(Grid->CellRect(1, 0).Left, 64 + 50 + 1);
    // Widths set in code report each change.
    Grid->SetColWidths(1, 20);
    Grid->SetColWidths(1, 20);
    EXPECT_EQ(Probe.WidthChanges, 2);
    // Without goColSizing a press on the edge selects instead.
    Grid->SetOptions(Grid->Options() - TGridOptions{goColSizing});
    const TRect Edge = Grid->CellRect(0, 0);
    SendMouse(QEvent::MouseButtonPress, QPoint(Edge.Right, Edge.Top + 5));
    SendMouse(QEvent::MouseButtonRelease, QPoint(Edge.Right + 40, Edge.Top + 5));
    EXPECT_EQ(Grid->ColWidths(0), 64 + 50);
}

TEST_F(GridsTest, AutoSizeColFitsTheWidestText) {
    Grid->SetCells(1, 2, "A much longer text than the others");
    Grid->AutoSizeCol(1);
    TCanvas Canvas;
    Canvas.SetFont(Grid->Font());
    const Integer Text = Canvas.TextWidth("A much longer text than the others");
    EXPECT_GT(Grid->ColWidths(1), Text);
    EXPECT_LE(Grid->ColWidths(1), Text + 10);
}

TEST_F(GridsTest, ClientWidthLeavesRoomForTheScrollBar) {
    EXPECT_EQ(Grid->ClientWidth(), 400 - 4);
    Grid->SetRowCount(100);
    // Before the window exists too.
    const Integer Bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(Grid->ClientWidth(), 400 - 4 - Bar);
    Grid->SetScrollBars(ssNone);
    EXPECT_EQ(Grid->ClientWidth(), 400 - 4);
    Grid->SetBorderStyle(bsNone);
    EXPECT_EQ(Grid->ClientWidth(), 400);
}

// --- Handlers that free the grid or change it under the grid's feet

TEST_F(GridsTest, SelectHandlerMayFreeTheGrid) {
    ShowFocused();
    Probe.OnSelect = [this] { Grid->Free(); };
    Form->PressKey(VK_DOWN);
    EXPECT_EQ(Form->FindComponent("Grid"), nullptr);
    EXPECT_EQ(Form->ActiveControl(), nullptr);
}

TEST_F(GridsTest, SelectHandlerMayFreeTheGridDuringAClick) {
    ShowFocused();
    Probe.OnSelect = [this] { Grid->Free(); };
    Click(1, 3);
    QApplication::processEvents();
    EXPECT_EQ(Form->FindComponent("Grid"), nullptr);
}

TEST_F(GridsTest, SelectHandlerMayDeleteTheRowsAskedFor) {
    Probe.OnSelect = [this] {
        Grid->DeleteRow(3);
        Grid->DeleteRow(2);
    };
    EXPECT_FALSE(Grid->FocusCell(1, 3));
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridsTest, EditHandlerMayFreeTheGrid) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Probe.OnEdit = [this] { Grid->Free(); };
    TypeKeys("a");
    EXPECT_EQ(Form->FindComponent("Grid"), nullptr);
}

TEST_F(GridsTest, EditHandlerMayFreeTheGridWhileTheLineEditTypes) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Form->PressKey(VK_F2);
    QLineEdit* Editor = Grid->InplaceEditor();
    Probe.OnEdit = [this] { Grid->Free(); };
    SendKey(Editor, Qt::Key_B, "b");
    QApplication::processEvents();
    EXPECT_EQ(Form->FindComponent("Grid"), nullptr);
}

TEST_F(GridsTest, EditHandlerMayDeleteTheRowBeingEdited) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Grid->SetRow(2);
    Probe.OnEdit = [this] { Grid->DeleteRow(2); };
    TypeKeys("a");
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(Grid->Cells(0, 2), "0.3");
}

// --- Form files and pictures

class TGridForm : public TForm {
    ORLO_CLASS(TGridForm, TForm)
public:
    explicit TGridForm(TComponent* AOwner) : TForm(AOwner) {}
    TStringGrid* Grid = nullptr;
    Integer Selections = 0;
    void GridSelectCell(TObject*, Integer, Integer, bool&) { ++Selections; }
};

ORLO_PUBLISHED(TGridForm, "GridsTest") {
    P.Field("Grid", &TGridForm::Grid);
    P.Method<&TGridForm::GridSelectCell>("GridSelectCell");
}

const char* const GridFormText = R"(object GridForm: TGridForm
  Left = 100
  Top = 100
  Width = 500
  Height = 300
  Caption = 'Languages'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Grid: TStringGrid
    Left = 0
    Top = 0
    Width = 492
    Height = 200
    Align = alTop
    ColCount = 3
    DefaultRowHeight = 20
    FixedCols = 0
    RowCount = 2
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goEditing, goTabs, goThumbTracking]
    TabOrder = 0
    OnSelectCell = GridSelectCell
    ColWidths = (
      138
      258
      67)
  end
end
)";

TEST_F(GridsTest, FormFileLoadsAndStreamsBackUnchanged) {
    TFormResource Resource("TGridForm", GridFormText);
    std::unique_ptr<TGridForm> Loaded(TCustomForm::Create<TGridForm>(nullptr));
    ASSERT_NE(Loaded->Grid, nullptr);
    TStringGrid* G = Loaded->Grid;
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(G->RowCount(), 2);
    EXPECT_EQ(G->FixedCols(), 0);
    EXPECT_EQ(G->FixedRows(), 1);
    EXPECT_EQ(G->DefaultRowHeight(), 20);
    EXPECT_EQ(G->ColWidths(0), 138);
    EXPECT_EQ(G->ColWidths(1), 258);
    EXPECT_EQ(G->ColWidths(2), 67);
    EXPECT_TRUE(G->Options().Contains(goEditing));
    EXPECT_FALSE(G->Options().Contains(goRangeSelect));
    G->SetCol(2);
    EXPECT_EQ(Loaded->Selections, 1);
    EXPECT_EQ(FormText(Loaded.get()), GridFormText);
    Loaded->HandleNeeded();
    EXPECT_EQ(FormText(Loaded.get()), GridFormText);
}

TEST_F(GridsTest, MalformedGridsInFormFilesFailOrAreCutToSize) {
    struct Case {
        const char* Body;
        const char* Message;
    };
    const Case Bad[] = {
        {"    ColWidths = 5\n",
         "Form TBrokenForm: Error reading G.ColWidths: Invalid property value"},
        {"    ColWidths = (\n      'wide')\n",
         "Form TBrokenForm: Error reading G.ColWidths: Invalid property value"},
        {"    RowCount = 2\n    FixedRows = 2\n", "Form TBrokenForm: Error reading G.FixedRows: "
                                                  "Fixed row count must be less than row count"},
        {"    Options = [goSideways]\n",
         "Form TBrokenForm: Error reading G.Options: Invalid property value"},
    };
    for (const Case& C : Bad) {
        const String Text = String("object BrokenForm: TBrokenForm\n  object G: TStringGrid\n") +
                            C.Body + "  end\nend\n";
        TFormResource Resource("TBrokenForm", Text);
        ExpectError<EReadError>([] { TCustomForm::Create<TBrokenForm>(nullptr); }, C.Message);
        EXPECT_EQ(TBrokenForm::Live, 0) << C.Body;
    }
    // More widths than columns: the extra ones are dropped, negative ones are 0.
    TFormResource Resource("TBrokenForm", "object BrokenForm: TBrokenForm\n"
                                          "  object G: TStringGrid\n    ColCount = 2\n"
                                          "    ColWidths = (\n      -3\n      40\n      50)\n"
                                          "  end\nend\n");
    std::unique_ptr<TBrokenForm> Loaded(TCustomForm::Create<TBrokenForm>(nullptr));
    auto* G = dynamic_cast<TStringGrid*>(Loaded->FindComponent("G"));
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(G->ColWidths(0), 0);
    EXPECT_EQ(G->ColWidths(1), 40);
}

TEST_F(GridsTest, FilledGridPaintsItsCells) {
    Grid->SetRowCount(200);
    for (Integer R = 1; R < Grid->RowCount(); ++R) {
        Grid->SetCells(0, R, Format("Row %d", R));
        Grid->SetCells(1, R, R % 2 ? "Hello" : "Hallo");
        Grid->SetCells(2, R, Format("%d", R * R));
    }
    Grid->SetCells(0, 0, "Name");
    Grid->SetCells(1, 0, "Text");
    Grid->SetCells(2, 0, "Square");
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    ShowFocused();
    Grid->SetRow(150);
    Form->PressKey(VK_F2);
    String Folder = GetEnvironmentVariable("ORLO_TEST_TMP");
    if (Folder.empty())
        Folder = TempDirectory();
    Folder += "/screenshots";
    ForceDirectories(Folder);
    SaveScreenshot(Form.get(), Folder + "/string-grid.png");
    const QImage Image = GrabImage(Grid);
    // The fixed row is painted in the fixed colour, a scrolling cell in the grid's.
    const TRect Fixed = Grid->CellRect(1, 0);
    const TRect Cell = Grid->CellRect(2, Grid->TopRow());
    const QPoint Origin = View()->viewport()->pos();
    EXPECT_EQ(Image.pixelColor(Origin + QPoint(Fixed.Right - 2, Fixed.Top + 2)),
              ColorToQColor(clBtnFace));
    EXPECT_EQ(Image.pixelColor(Origin + QPoint(Cell.Right - 2, Cell.Top + 2)),
              ColorToQColor(clWindow));
    EXPECT_EQ(Grid->InplaceEditor()->text(), "Hallo");
}

} // namespace
} // namespace orlo::test
