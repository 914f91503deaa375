#include "widgets/SortGrid.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <numeric>

namespace orlo {

ORLO_PUBLISHED(TSortGrid, "SortGrid") {
    P.Property("ClickSorting", &TSortGrid::ClickSorting).Default(1);
    P.Property("MultiSelect", &TSortGrid::MultiSelect).Default(0);
    P.Property("OnCellValidate", &TSortGrid::OnCellValidate);
    P.Property("OnGetCellFormat", &TSortGrid::OnGetCellFormat);
    P.Property("OnSelectQuery", &TSortGrid::OnSelectQuery);
    P.Property("OnSelectUpdate", &TSortGrid::OnSelectUpdate);
}

// Form files name the control by its class.
const bool TSortGridRegistered = (RegisterClass(TSortGrid::StaticClass()), true);

TSortGrid::TSortGrid(TComponent* AOwner) : TStringGrid(AOwner) {
    FMarks.resize(static_cast<size_t>(RowCount()));
}

TSortGrid::~TSortGrid() = default;

// --- Sorting

void TSortGrid::SortByColumn(Integer ACol, bool Ascending) {
    if (ACol < 0 || ACol >= ColCount())
        throw EInvalidGridOperation("Grid index out of range");
    const std::shared_ptr<bool> Alive = this->Alive();
    HideEditor();
    if (!*Alive)
        return;
    std::vector<Integer> Order(static_cast<size_t>(RowCount()));
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin() + FixedRows(), Order.end(), [&](Integer A, Integer B) {
        const Integer Compared = AnsiCompareText(Cells(ACol, A), Cells(ACol, B));
        return Ascending ? Compared < 0 : Compared > 0;
    });
    std::vector<bool> Marks(FMarks.size());
    for (size_t R = 0; R < Order.size(); ++R)
        Marks[R] = FMarks[static_cast<size_t>(Order[R])];
    FMarks = std::move(Marks);
    if (FEditRow >= 0)
        FEditRow =
            static_cast<Integer>(std::find(Order.begin(), Order.end(), FEditRow) - Order.begin());
    PermuteRows(Order);
    FSortColumn = ACol;
    FSortAscending = Ascending;
}

void TSortGrid::FixedCellClicked(Integer ACol, Integer ARow) {
    if (!ClickSorting || ARow >= FixedRows())
        return;
    SortByColumn(ACol, ACol == FSortColumn ? !FSortAscending : true);
}

// --- Validation

String TSortGrid::GetEditText(Integer ACol, Integer ARow) {
    String Value = TStringGrid::GetEditText(ACol, ARow);
    FEditCol = ACol;
    FEditRow = ARow;
    FEditOriginal = Cells(ACol, ARow);
    FEditPending = false;
    return Value;
}

void TSortGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
    FEditPending = ACol == FEditCol && ARow == FEditRow && Value != FEditOriginal;
    TStringGrid::SetEditText(ACol, ARow, Value);
}

bool TSortGrid::ValidateCell() {
    if (!FEditPending)
        return true;
    FEditPending = false;
    String Value = Cells(FEditCol, FEditRow);
    bool Valid = true;
    const std::shared_ptr<bool> Alive = this->Alive();
    if (OnCellValidate)
        OnCellValidate(this, FEditCol, FEditRow, Value, Valid);
    if (!*Alive)
        return false;
    // The handler may have removed the row or column edited.
    if (FEditRow < 0 || FEditCol >= ColCount() || FEditRow >= RowCount())
        return Valid;
    SetCells(FEditCol, FEditRow, Valid ? Value : FEditOriginal);
    if (Valid)
        FEditOriginal = Value;
    else
        HideEditor();
    return Valid;
}

void TSortGrid::EditorClosed(Integer ACol, Integer ARow) {
    TStringGrid::EditorClosed(ACol, ARow);
    ValidateCell();
}

bool TSortGrid::SelectCell(Integer ACol, Integer ARow) {
    const std::shared_ptr<bool> Alive = this->Alive();
    if (!ValidateCell() || !*Alive)
        return false;
    return TStringGrid::SelectCell(ACol, ARow);
}

// --- Formats and sizing

void TSortGrid::GetCellFormat(Integer ACol, Integer ARow, TGridDrawState State,
                              TCellFormat& Format) {
    if (ARow >= FixedRows() && ACol >= FixedCols() && RowMarked(ARow)) {
        State.Include(gdSelected);
        Format.Color = clHighlight;
        Format.FontColor = clHighlightText;
    }
    if (OnGetCellFormat)
        OnGetCellFormat(this, ACol, ARow, State, Format);
}

void TSortGrid::AutoSizeColumns() {
    for (Integer C = 0; C < ColCount(); ++C)
        AutoSizeCol(C);
}

// --- Row marks

void TSortGrid::CheckRowIndex(Integer ARow) const {
    if (ARow < 0 || ARow >= RowCount())
        throw EInvalidGridOperation("Grid index out of range");
}

bool TSortGrid::RowMarked(Integer ARow) const {
    CheckRowIndex(ARow);
    return FMarks[static_cast<size_t>(ARow)];
}

void TSortGrid::SetRowMarked(Integer ARow, bool Value) {
    CheckRowIndex(ARow);
    FMarks[static_cast<size_t>(ARow)] = Value;
    InvalidateGrid();
}

Integer TSortGrid::MarkedCount() const {
    return static_cast<Integer>(std::count(FMarks.begin(), FMarks.end(), true));
}

void TSortGrid::ToggleMark(Integer ACol, Integer ARow) {
    CheckRowIndex(ARow);
    if (!MultiSelect || ARow < FixedRows())
        return;
    bool Allow = true;
    const std::shared_ptr<bool> Alive = this->Alive();
    if (OnSelectQuery)
        OnSelectQuery(this, ACol, ARow, Allow);
    if (!*Alive || !Allow || ARow >= RowCount())
        return;
    SetRowMarked(ARow, !RowMarked(ARow));
    if (OnSelectUpdate)
        OnSelectUpdate(this, ARow);
}

void TSortGrid::CellClicked(Integer ACol, Integer ARow) {
    TStringGrid::CellClicked(ACol, ARow);
    ToggleMark(ACol, ARow);
}

bool TSortGrid::KeyPress(char& Key) {
    if (Key != ' ' || !MultiSelect || EditorMode())
        return TStringGrid::KeyPress(Key);
    const std::shared_ptr<bool> Alive = this->Alive();
    if (TCustomControl::KeyPress(Key) || !*Alive)
        return true;
    ToggleMark(Col(), Row());
    Key = '\0';
    return true;
}

// --- The marks follow the rows

void TSortGrid::SizeChanged(Integer OldColCount, Integer OldRowCount) {
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
    FMarks.resize(static_cast<size_t>(RowCount()));
}

void TSortGrid::RowInserted(Integer Index) {
    TStringGrid::RowInserted(Index);
    FMarks.insert(FMarks.begin() + Index, false);
    if (FEditRow >= Index)
        ++FEditRow;
}

void TSortGrid::RowDeleted(Integer Index) {
    TStringGrid::RowDeleted(Index);
    FMarks.erase(FMarks.begin() + Index);
    if (FEditRow == Index) {
        FEditPending = false;
        FEditRow = -1;
    } else if (FEditRow > Index)
        --FEditRow;
}

} // namespace orlo
