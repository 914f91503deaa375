#pragma once
// TSortGrid: a string grid that sorts its rows by a column (also by a click
// on a column's header), validates an edit before it is kept, lets its owner
// choose each cell's colour and alignment, sizes its columns to their texts,
// and keeps a selection mark per row.
//
// An edit is pending from the first change the in-place editor makes until
// it is validated: when the editor closes, when the current cell moves, or
// when the program calls ValidateCell. OnCellValidate may correct the text or
// refuse it; a refused text gives way to the one the cell had before the edit.

#include "platform/forms/Grids.h"

#include <vector>

namespace orlo {

ORLO_EVENT(TCellValidateEvent,
           void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Valid))
ORLO_EVENT(TGetCellFormatEvent, void(TObject* Sender, Integer ACol, Integer ARow,
                                     TGridDrawState State, TCellFormat& Format))
ORLO_EVENT(TSelectQueryEvent, void(TObject* Sender, Integer ACol, Integer ARow, bool& Allow))
ORLO_EVENT(TSelectUpdateEvent, void(TObject* Sender, Integer ARow))

class TSortGrid : public TStringGrid {
    ORLO_CLASS(TSortGrid, TStringGrid)
public:
    explicit TSortGrid(TComponent* AOwner);
    ~TSortGrid() override;

    // --- Sorting: the scrolling rows, by the text of column ACol without
    // regard to case; equal texts keep their order. Objects and marks move
    // with their rows; the current cell stays where it is.
    // EInvalidGridOperation "Grid index out of range".
    void SortByColumn(Integer ACol, bool Ascending = true);
    // The column last sorted by (-1 for none) and its direction.
    Integer SortColumn() const noexcept { return FSortColumn; }
    bool SortAscending() const noexcept { return FSortAscending; }
    // Whether a click on a fixed row's cell sorts by its column (a second
    // click on the same column reverses the order).
    bool ClickSorting = true;

    // --- Validation
    bool EditPending() const noexcept { return FEditPending; }
    // Raises OnCellValidate for a pending edit; false when it was refused
    // (the cell has its old text back and the editor is closed).
    bool ValidateCell();
    void ClearEditPending() noexcept { FEditPending = false; }

    // --- Sizing: every column to its widest text.
    void AutoSizeColumns();

    // --- Row marks (MultiSelect): a click on a scrolling cell, or Space,
    // toggles the mark of its row once OnSelectQuery allows it; OnSelectUpdate
    // follows. Marked rows are reported as selected to OnGetCellFormat.
    bool MultiSelect = false;
    bool RowMarked(Integer ARow) const;
    void SetRowMarked(Integer ARow, bool Value);
    Integer MarkedCount() const;
    // What a click or Space does on (ACol, ARow).
    void ToggleMark(Integer ACol, Integer ARow);

    TCellValidateEvent OnCellValidate;
    TGetCellFormatEvent OnGetCellFormat;
    TSelectQueryEvent OnSelectQuery;
    TSelectUpdateEvent OnSelectUpdate;

protected:
    bool SelectCell(Integer ACol, Integer ARow) override;
    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;
    void EditorClosed(Integer ACol, Integer ARow) override;
    void GetCellFormat(Integer ACol, Integer ARow, TGridDrawState State,
                       TCellFormat& Format) override;
    void FixedCellClicked(Integer ACol, Integer ARow) override;
    void CellClicked(Integer ACol, Integer ARow) override;
    bool KeyPress(char& Key) override;
    void SizeChanged(Integer OldColCount, Integer OldRowCount) override;
    void RowInserted(Integer Index) override;
    void RowDeleted(Integer Index) override;

private:
    void CheckRowIndex(Integer ARow) const;

    Integer FSortColumn = -1;
    bool FSortAscending = true;
    bool FEditPending = false;
    Integer FEditCol = -1; // the cell the pending edit is in, and its text before
    Integer FEditRow = -1;
    String FEditOriginal;
    std::vector<bool> FMarks; // one per row
};

} // namespace orlo
