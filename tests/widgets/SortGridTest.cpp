// The sort grid: stable sorting that carries objects and marks, sorting by a
// header click, validation of edits (on Enter, on moving, on demand; refused,
// corrected, cancelled), the cell format hook as painted, row marks, and the
// default row height taken from the font.

#include "widgets/SortGrid.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/GlossaTools.h"
#include "tests/rtl/ExpectError.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/StrList.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {
namespace {

// What the sort grid reports, and what its handlers answer.
class TSortProbe {
public:
    struct TValidation {
        Integer Col, Row;
        String Value;
        friend bool operator==(const TValidation&, const TValidation&) = default;
    };
    std::vector<TValidation> Validations;
    std::function<void(String& Value, bool& Valid)> Validate;
    std::vector<Integer> Updates;
    Integer QueryRefusedCol = -1;
    TColor Background = clWindow;
    TAlignment Alignment = taLeftJustify;
    Integer SelectedFormats = 0;

    void CellValidate(TObject*, Integer ACol, Integer ARow, String& Value, bool& Valid) {
        Validations.push_back({ACol, ARow, Value});
        if (Validate)
            Validate(Value, Valid);
    }
    void GetCellFormat(TObject*, Integer ACol, Integer ARow, TGridDrawState State,
                       TCellFormat& Format) {
        if (ARow == 0)
            return;
        if (State.Contains(gdSelected))
            ++SelectedFormats;
        else if (ACol == 1)
            Format.Color = Background;
        if (ACol == 2)
            Format.Alignment = Alignment;
    }
    void SelectQuery(TObject*, Integer ACol, Integer, bool& Allow) {
        Allow = ACol != QueryRefusedCol;
    }
    void SelectUpdate(TObject*, Integer ARow) { Updates.push_back(ARow); }

    void Attach(TSortGrid* Grid) {
        Grid->OnCellValidate = TCellValidateEvent::Make<&TSortProbe::CellValidate>(this);
        Grid->OnGetCellFormat = TGetCellFormatEvent::Make<&TSortProbe::GetCellFormat>(this);
        Grid->OnSelectQuery = TSelectQueryEvent::Make<&TSortProbe::SelectQuery>(this);
        Grid->OnSelectUpdate = TSelectUpdateEvent::Make<&TSortProbe::SelectUpdate>(this);
    }
};

class SortGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 360, 220);
        Grid = new TSortGrid(Form.get());
        Grid->SetName("Grid");
        Grid->SetParent(Form.get());
        Grid->SetBounds(4, 4, 340, 180);
        Grid->SetFixedCols(0);
        Grid->SetColCount(3);
        Grid->SetRowCount(5);
        const char* const Rows[][3] = {
            {"Name", "Kind", "Size"}, {"beta", "b", "2"},  {"Alpha", "a", "1"},
            {"gamma", "a", "3"},      {"alpha", "c", "4"},
        };
        for (Integer R = 0; R < 5; ++R)
            for (Integer C = 0; C < 3; ++C)
                Grid->SetCells(C, R, Rows[R][C]);
        for (Integer R = 1; R < 5; ++R)
            Grid->SetObjects(0, R, &Objects[static_cast<size_t>(R)]);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
        Probe.Attach(Grid);
    }
    void ShowFocused() {
        Form->Show();
        Grid->SetFocus();
    }
    std::vector<String> Column(Integer ACol) const {
        std::vector<String> Result;
        for (Integer R = Grid->FixedRows(); R < Grid->RowCount(); ++R)
            Result.push_back(Grid->Cells(ACol, R));
        return Result;
    }
    void ClickCell(Integer ACol, Integer ARow) {
        auto* View = static_cast<QAbstractScrollArea*>(Grid->Widget());
        const TRect R = Grid->CellRect(ACol, ARow);
        const QPointF At(R.Left + 3, R.Top + 3);
        QMouseEvent Press(QEvent::MouseButtonPress, At, View->viewport()->mapToGlobal(At),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(View->viewport(), &Press);
    }
    void Type(const String& Text) {
        for (char C : Text)
            Form->PressKey(static_cast<Word>(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C));
    }

    std::unique_ptr<TForm> Form;
    TSortGrid* Grid = nullptr;
    TSortProbe Probe;
    TObject Objects[5];
};

TEST_F(SortGridTest, SortsStablyWithoutCaseAndCarriesObjectsAndMarks) {
    Grid->MultiSelect = true;
    Grid->SetRowMarked(3, true); // gamma
    Grid->SortByColumn(1);
    EXPECT_EQ(Column(1), (std::vector<String>{"a", "a", "b", "c"}));
    // Equal keys keep their order: Alpha came before gamma.
    EXPECT_EQ(Column(0), (std::vector<String>{"Alpha", "gamma", "beta", "alpha"}));
    EXPECT_EQ(Grid->Objects(0, 2), &Objects[3]);
    EXPECT_TRUE(Grid->RowMarked(2));
    EXPECT_FALSE(Grid->RowMarked(3));
    EXPECT_EQ(Grid->Cells(0, 0), "Name"); // the fixed row stays
    Grid->SortByColumn(0);
    EXPECT_EQ(Column(0), (std::vector<String>{"Alpha", "alpha", "beta", "gamma"}));
    Grid->SortByColumn(0, false);
    EXPECT_EQ(Column(0), (std::vector<String>{"gamma", "beta", "Alpha", "alpha"}));
    EXPECT_EQ(Grid->SortColumn(), 0);
    EXPECT_FALSE(Grid->SortAscending());
    EXPECT_EQ(Grid->Objects(0, 1), &Objects[3]);
    EXPECT_TRUE(Grid->RowMarked(1));
    ExpectError<EInvalidGridOperation>([&] { Grid->SortByColumn(3); }, "Grid index out of range");
}

TEST_F(SortGridTest, HeaderClicksSortUnlessSwitchedOff) {
    ShowFocused();
    ClickCell(2, 0);
    EXPECT_EQ(Column(2), (std::vector<String>{"1", "2", "3", "4"}));
    ClickCell(2, 0); // again: the other way round
    EXPECT_EQ(Column(2), (std::vector<String>{"4", "3", "2", "1"}));
    Grid->ClickSorting = false;
    ClickCell(0, 0);
    EXPECT_EQ(Column(2), (std::vector<String>{"4", "3", "2", "1"}));
}

TEST_F(SortGridTest, EnterValidatesAndTheHandlerMayCorrect) {
    ShowFocused();
    Probe.Validate = [](String& Value, bool&) { Value = Trim(Value); };
    Type(" x ");
    EXPECT_TRUE(Grid->EditPending());
    Form->PressKey(VK_RETURN);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_FALSE(Grid->EditPending());
    EXPECT_EQ(Probe.Validations, (std::vector<TSortProbe::TValidation>{{1, 1, " x "}}));
    EXPECT_EQ(Grid->Cells(1, 1), "x");
}

TEST_F(SortGridTest, RefusedEditGivesTheOldTextBackAndKeepsTheCell) {
    ShowFocused();
    Probe.Validate = [](String&, bool& Valid) { Valid = false; };
    Type("zz");
    Form->PressKey(VK_DOWN); // leaving the cell validates first
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "b");
    // The edit is gone: the next move is free.
    Form->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Probe.Validations.size(), 1u);
}

TEST_F(SortGridTest, ValidationOnDemandAndClearingThePendingEdit) {
    ShowFocused();
    EXPECT_TRUE(Grid->ValidateCell()); // nothing pending, no event
    EXPECT_TRUE(Probe.Validations.empty());
    Type("q");
    EXPECT_TRUE(Grid->ValidateCell());
    EXPECT_TRUE(Grid->EditorMode()); // a valid edit goes on
    EXPECT_EQ(Probe.Validations.size(), 1u);
    Type("r");
    Grid->ClearEditPending();
    Form->PressKey(VK_RETURN);
    EXPECT_EQ(Probe.Validations.size(), 1u);
    EXPECT_EQ(Grid->Cells(1, 1), "qr");
    // Typing back to the old text leaves nothing to validate.
    Form->PressKey(VK_F2);
    Form->PressKey(VK_BACK);
    Form->PressKey(VK_BACK);
    Type("qr");
    EXPECT_FALSE(Grid->EditPending());
}

TEST_F(SortGridTest, EscapeCancelsWithoutValidation) {
    ShowFocused();
    Type("abc");
    Form->PressKey(VK_ESCAPE);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_FALSE(Grid->EditPending());
    EXPECT_TRUE(Probe.Validations.empty());
    EXPECT_EQ(Grid->Cells(1, 1), "b");
}

TEST_F(SortGridTest, ValidateHandlerMayFreeTheGrid) {
    ShowFocused();
    Probe.Validate = [this](String&, bool&) { Grid->Free(); };
    Type("a");
    Form->PressKey(VK_RETURN);
    EXPECT_EQ(Form->FindComponent("Grid"), nullptr);
}

TEST_F(SortGridTest, ValidateHandlerMayDeleteTheEditedRow) {
    ShowFocused();
    Probe.Validate = [this](String&, bool& Valid) {
        Valid = false;
        Grid->DeleteRow(1);
    };
    Type("a");
    Form->PressKey(VK_DOWN);
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Column(0), (std::vector<String>{"Alpha", "gamma", "alpha"}));
    // The old text of the row that went is written nowhere.
    EXPECT_EQ(Column(1), (std::vector<String>{"a", "a", "c"}));
}

TEST_F(SortGridTest, CellFormatHookPaintsColourAndAlignment) {
    Probe.Background = RGB(208, 224, 208);
    Probe.Alignment = taRightJustify;
    Grid->SetCells(2, 2, "1");
    ShowFocused();
    const QImage Image = GrabImage(Grid);
    const QPoint Origin = static_cast<QAbstractScrollArea*>(Grid->Widget())->viewport()->pos();
    const TRect Kind = Grid->CellRect(1, 2);
    EXPECT_EQ(Image.pixelColor(Origin + QPoint(Kind.Left + 1, Kind.Top + 1)),
              QColor(208, 224, 208));
    // A right-aligned text leaves the left of its cell empty and inks the right.
    const TRect Size = Grid->CellRect(2, 2);
    auto Inked = [&](Integer From, Integer To) {
        for (Integer X = From; X < To; ++X)
            for (Integer Y = Size.Top + 1; Y < Size.Bottom - 1; ++Y)
                if (Image.pixelColor(Origin + QPoint(X, Y)) != ColorToQColor(clWindow))
                    return true;
        return false;
    };
    EXPECT_FALSE(Inked(Size.Left + 1, Size.Left + Size.Width() / 2));
    EXPECT_TRUE(Inked(Size.Left + Size.Width() / 2, Size.Right - 1));
    EXPECT_GT(Probe.SelectedFormats, 0); // the current cell is reported as selected
    Screenshot(Form.get(), "sort-grid");
}

TEST_F(SortGridTest, ClicksAndSpaceToggleRowMarks) {
    Grid->MultiSelect = true;
    Probe.QueryRefusedCol = 2;
    ShowFocused();
    ClickCell(1, 3);
    EXPECT_TRUE(Grid->RowMarked(3));
    ClickCell(2, 3); // refused by the query
    EXPECT_TRUE(Grid->RowMarked(3));
    ClickCell(1, 3);
    EXPECT_FALSE(Grid->RowMarked(3));
    Form->PressKey(' ');
    EXPECT_TRUE(Grid->RowMarked(3));
    EXPECT_EQ(Probe.Updates, (std::vector<Integer>{3, 3, 3}));
    EXPECT_FALSE(Grid->EditorMode()); // Space marks, it does not type
    // Marks follow inserted and deleted rows.
    Grid->InsertRow(1);
    EXPECT_TRUE(Grid->RowMarked(4));
    Grid->DeleteRow(2);
    EXPECT_TRUE(Grid->RowMarked(3));
    EXPECT_EQ(Grid->MarkedCount(), 1);
    Grid->SetRowCount(3);
    EXPECT_EQ(Grid->MarkedCount(), 0);
    ExpectError<EInvalidGridOperation>([&] { (void)Grid->RowMarked(3); },
                                       "Grid index out of range");
}

TEST_F(SortGridTest, AutoSizeColumnsFitsEveryColumn) {
    Grid->SetCells(0, 4, "a much longer name");
    Grid->AutoSizeColumns();
    EXPECT_GT(Grid->ColWidths(0), Grid->ColWidths(1));
    EXPECT_GT(Grid->ColWidths(1), 0);
    Grid->SetColWidths(1, 300);
    Grid->AutoSizeColumns();
    EXPECT_LT(Grid->ColWidths(1), 300);
}

TEST_F(SortGridTest, DefaultRowHeightFollowsTheFont) {
    struct Case {
        const char* Name;
        Integer Size;
    };
    for (const Case& C : {Case{"DejaVu Sans", 8}, Case{"DejaVu Sans", 20}}) {
        Grid->Font()->SetName(C.Name);
        Grid->Font()->SetSize(C.Size);
        AdjustGridDefaultRowHeight(Grid);
        const QFontMetrics Metrics(Grid->Font()->ToQFont());
        EXPECT_EQ(Grid->DefaultRowHeight(), Metrics.height() + 4) << C.Size;
        EXPECT_EQ(Grid->Canvas()->Font()->Size(), C.Size);
    }
}

// A dialog's grid and its remembered names, as a form file keeps them.
class TLanguagesForm : public TForm {
    ORLO_CLASS(TLanguagesForm, TForm)
public:
    explicit TLanguagesForm(TComponent* AOwner) : TForm(AOwner) {}
    TSortGrid* Grid = nullptr;
    TStrList* StrListNames = nullptr;
    Integer Validations = 0;
    void GridCellValidate(TObject*, Integer, Integer, String&, bool&) { ++Validations; }
};

ORLO_PUBLISHED(TLanguagesForm, "SortGridTest") {
    P.Field("Grid", &TLanguagesForm::Grid);
    P.Field("StrListNames", &TLanguagesForm::StrListNames);
    P.Method<&TLanguagesForm::GridCellValidate>("GridCellValidate");
}

const char* const LanguagesFormText = R"(object LanguagesForm: TLanguagesForm
  Left = 0
  Top = 0
  Width = 408
  Height = 227
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
  object Grid: TSortGrid
    Left = 0
    Top = 0
    Width = 400
    Height = 160
    ColCount = 3
    DefaultRowHeight = 17
    FixedCols = 0
    RowCount = 2
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]
    TabOrder = 0
    ClickSorting = False
    MultiSelect = True
    OnCellValidate = GridCellValidate
    ColWidths = (
      138
      258
      67)
  end
  object StrListNames: TStrList
    Strings.Strings = (
      'English'
      'Deutsch')
  end
end
)";

TEST_F(SortGridTest, FormFileLoadsAndStreamsBackUnchanged) {
    TStringStream Input(LanguagesFormText);
    TMemoryStream Binary;
    ObjectTextToBinary(&Input, &Binary);
    Binary.SetPosition(0);
    std::unique_ptr<TLanguagesForm> Loaded(new TLanguagesForm(nullptr));
    Binary.ReadComponent(Loaded.get());
    ASSERT_NE(Loaded->Grid, nullptr);
    ASSERT_NE(Loaded->StrListNames, nullptr);
    EXPECT_FALSE(Loaded->Grid->ClickSorting);
    EXPECT_TRUE(Loaded->Grid->MultiSelect);
    EXPECT_EQ(Loaded->Grid->ColWidths(1), 258);
    EXPECT_EQ(Loaded->StrListNames->Text(), "English;Deutsch");
    EXPECT_EQ(FormText(Loaded.get()), LanguagesFormText);
    // The handler named in the file is the form's.
    Loaded->Show();
    Loaded->Grid->SetFocus();
    Loaded->PressKey('X');
    Loaded->PressKey(VK_RETURN);
    EXPECT_EQ(Loaded->Validations, 1);
}

// The user's own mouse and keys, through the window system.
class LiveSortGridTest : public SortGridTest {
protected:
    void ShowActive() {
        ShowFocused();
        QApplication::setActiveWindow(Form->Handle());
        Window()->requestActivate();
    }
    QWindow* Window() const { return Form->Handle()->windowHandle(); }
    void Press(Integer ACol, Integer ARow) {
        QWidget* Viewport = static_cast<QAbstractScrollArea*>(Grid->Widget())->viewport();
        const TRect R = Grid->CellRect(ACol, ARow);
        const QPoint At((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        QTest::mouseClick(Window(), Qt::LeftButton, {},
                          Window()->mapFromGlobal(Viewport->mapToGlobal(At)));
    }
    void Keys(std::initializer_list<Qt::Key> Keys) {
        for (Qt::Key Key : Keys)
            QTest::keyClick(Window(), Key);
    }
};

TEST_F(LiveSortGridTest, HeaderClicksSortOncePerClickAndKeepTheCurrentCell) {
    ShowActive();
    Press(2, 0);
    EXPECT_EQ(Column(2), (std::vector<String>{"1", "2", "3", "4"}));
    Press(2, 0);
    EXPECT_EQ(Column(2), (std::vector<String>{"4", "3", "2", "1"}));
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(LiveSortGridTest, LeavingAnEditedCellValidatesByMouseAndByKey) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    ShowActive();
    Probe.Validate = [](String& Value, bool& Valid) { Valid = Value != "bad"; };
    struct Case {
        const char* Name;
        std::function<void()> Leave;
        TGridCoord Arrived;
    };
    const Case Cases[] = {
        {"a click on another cell", [&] { Press(2, 3); }, {2, 3}},
        {"Down", [&] { Keys({Qt::Key_Down}); }, {1, 2}},
        {"Tab", [&] { Keys({Qt::Key_Tab}); }, {2, 1}},
        {"Enter", [&] { Keys({Qt::Key_Return}); }, {1, 1}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->FocusCell(1, 1);
        Grid->SetCells(1, 1, "b");
        Probe.Validations.clear();
        // A refused text: the cell keeps its text and the current cell stays.
        Keys({Qt::Key_B, Qt::Key_A, Qt::Key_D});
        EXPECT_TRUE(Grid->EditPending());
        C.Leave();
        EXPECT_EQ(Probe.Validations, (std::vector<TSortProbe::TValidation>{{1, 1, "bad"}}));
        EXPECT_EQ(Grid->Cells(1, 1), "b");
        EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{1, 1}));
        EXPECT_FALSE(Grid->EditorMode());
        // A valid one is kept and the current cell moves on.
        Keys({Qt::Key_O, Qt::Key_K});
        C.Leave();
        EXPECT_EQ(Probe.Validations.size(), 2u);
        EXPECT_EQ(Grid->Cells(1, 1), "ok");
        EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), C.Arrived);
        EXPECT_EQ(Form->ActiveControl(), Grid);
    }
}

} // namespace
} // namespace orlo::test
