#pragma once
// Grids: TCustomGrid (rows and columns, fixed rows and columns, the current
// cell, scrolling, column sizing, the in-place editor) and TStringGrid (a
// text and an object per cell).
//
// The grid keeps its layout, its current cell and its editor state in its own
// fields, so it works the same with or without a window. Its window is a
// custom-painted scroll area that paints only the visible cells, with one
// line edit as the in-place editor.

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <memory>
#include <vector>

class QLineEdit;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QRect;

namespace orlo {

class TGridView;
class TReader;
class TWriter;

ORLO_EXCEPTION(EInvalidGridOperation, Exception);

ORLO_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
          goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing,
          goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking)
ORLO_SET(TGridOptions, TGridOption)
ORLO_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
ORLO_SET(TGridDrawState, TGridDrawStateItem)

// Asked before the current cell moves to (ACol, ARow); clearing CanSelect refuses.
ORLO_EVENT(TSelectCellEvent, void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect))
// The text the in-place editor starts with, and each change of it.
ORLO_EVENT(TGetEditEvent, void(TObject* Sender, Integer ACol, Integer ARow, String& Value))
ORLO_EVENT(TSetEditEvent, void(TObject* Sender, Integer ACol, Integer ARow, const String& Value))

// How one cell is painted; the grid fills in its defaults and a descendant's
// GetCellFormat may change them.
struct TCellFormat {
    TColor Color = clWindow;         // background
    TColor FontColor = clWindowText; // text
    TAlignment Alignment = taLeftJustify;
};

// A cell's column X and row Y (-1 for none).
struct TGridCoord {
    Integer X = -1;
    Integer Y = -1;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

class TCustomGrid : public TCustomControl {
    ORLO_CLASS(TCustomGrid, TCustomControl)
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    // --- Layout. Counts below 1 become 1; a row or column count at or below
    // the fixed count lowers the fixed count. EInvalidGridOperation "Fixed row
    // count must be less than row count" (and the column text) for fixed
    // counts that leave no scrolling row or column.
    Integer ColCount() const noexcept { return FColCount; }
    void SetColCount(Integer Value);
    Integer RowCount() const noexcept { return FRowCount; }
    void SetRowCount(Integer Value);
    Integer FixedCols() const noexcept { return FFixedCols; }
    void SetFixedCols(Integer Value);
    Integer FixedRows() const noexcept { return FFixedRows; }
    void SetFixedRows(Integer Value);
    Integer DefaultColWidth() const noexcept { return FDefaultColWidth; }
    void SetDefaultColWidth(Integer Value); // every column takes it
    Integer DefaultRowHeight() const noexcept { return FDefaultRowHeight; }
    void SetDefaultRowHeight(Integer Value);
    // EInvalidGridOperation "Grid index out of range".
    Integer ColWidths(Integer ACol) const;
    void SetColWidths(Integer ACol, Integer Value);
    Integer GridLineWidth() const noexcept { return FGridLineWidth; }
    void SetGridLineWidth(Integer Value);
    TGridOptions Options() const noexcept { return FOptions; }
    void SetOptions(TGridOptions Value);
    TScrollStyle ScrollBars() const noexcept { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TColor FixedColor() const noexcept { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing = true;
    // The room the cells have: the bounds less the frame and the scroll bars shown.
    Integer ClientWidth() const override;
    Integer ClientHeight() const override;

    // --- Rows. EInvalidGridOperation "Grid index out of range".
    // An empty row at Index (0..RowCount); the rows from there move down.
    void InsertRow(Integer Index);
    void DeleteRow(Integer Index);

    // --- The current cell. Setting it asks SelectCell (OnSelectCell) first;
    // a refused cell leaves everything as it was. EInvalidGridOperation "Grid
    // index out of range" for a cell outside the grid or in a fixed row or column.
    Integer Col() const noexcept { return FCol; }
    void SetCol(Integer Value) { FocusCell(Value, FRow); }
    Integer Row() const noexcept { return FRow; }
    void SetRow(Integer Value) { FocusCell(FCol, Value); }
    // Moves the current cell; false when the cell was refused.
    bool FocusCell(Integer ACol, Integer ARow);
    // The current cell, or with goRowSelect every cell of its row.
    bool IsCellSelected(Integer ACol, Integer ARow) const;
    // The first scrolling row shown, and how many scrolling rows fit whole.
    Integer TopRow() const noexcept { return FTopRow; }
    void SetTopRow(Integer Value);
    Integer VisibleRowCount() const;
    // Where a cell is in the client area now (scrolled cells may lie outside it).
    TRect CellRect(Integer ACol, Integer ARow) const;
    // The cell under a point of the client area; {-1, -1} when none.
    TGridCoord MouseToCell(Integer X, Integer Y) const;

    // --- The in-place editor (goEditing). Opening it takes the cell's text
    // (OnGetEditText); each change of its text goes into the cell
    // (OnSetEditText). Escape gives the cell back the text it had when the
    // editor opened.
    bool EditorMode() const noexcept { return FEditorMode; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    const String& EditText() const noexcept { return FEditText; }
    // The line edit while the grid has a window and the editor is open; nil otherwise.
    QLineEdit* InplaceEditor() const;

    // Sizes column ACol to its widest text (fixed rows included).
    void AutoSizeCol(Integer ACol);

    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    // After any change of column widths (not while the form loads).
    TNotifyEvent OnColumnWidthsChanged;
    TNotifyEvent OnTopLeftChanged;

    bool WidgetEvent(QEvent* Event) override;

protected:
    // The hooks of descendants.
    virtual bool SelectCell(Integer ACol, Integer ARow);
    virtual String GetEditText(Integer ACol, Integer ARow);
    virtual void SetEditText(Integer ACol, Integer ARow, const String& Value);
    // The text painted in a cell; the base grid has none.
    virtual String CellText(Integer ACol, Integer ARow) const { return String(); }
    virtual void GetCellFormat(Integer ACol, Integer ARow, TGridDrawState State,
                               TCellFormat& Format);
    virtual void ColWidthsChanged();
    // The cell storage follows the layout: the counts changed from OldCols x
    // OldRows; a row was inserted or deleted at Index.
    virtual void SizeChanged(Integer OldColCount, Integer OldRowCount) {}
    virtual void RowInserted(Integer Index) {}
    virtual void RowDeleted(Integer Index) {}
    // The editor has just closed on (ACol, ARow).
    virtual void EditorClosed(Integer ACol, Integer ARow) {}
    // A left click on a fixed cell, and on a scrolling cell once it is current.
    virtual void FixedCellClicked(Integer ACol, Integer ARow) {}
    virtual void CellClicked(Integer ACol, Integer ARow) {}
    // Whether this grid may be edited at (ACol, ARow).
    virtual bool CanEditShow() const;

    bool KeyDown(Word& Key, TShiftState Shift) override;
    bool KeyPress(char& Key) override;
    bool WantsKey(Word Key) const override;
    bool TakesFocus() const override { return true; }
    bool ClicksOnRelease() const override { return false; }
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ReleaseWidget() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void Resize() override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

    // Set to false when the grid goes; a handler may free the grid it was called by.
    std::shared_ptr<bool> Alive() const noexcept { return FAlive; }
    // OnKeyPress, then Enter and Escape of an open editor; what the editor
    // widget's own keys go through before the line edit types them.
    bool EditorKeyPress(char& Key);
    void InvalidateGrid();

private:
    friend class TGridView;
    TGridView* View() const;
    bool CheckCell(Integer ACol, Integer ARow) const;
    void CheckColIndex(Integer ACol) const;
    void ChangeSize(Integer NewColCount, Integer NewRowCount);
    void SetFixedCount(Integer& Fixed, Integer Value, Integer Count, const char* TooBig);
    void ClampCurrent();
    void MoveCurrent(Integer ACol, Integer ARow);
    void ScrollToCurrent();
    void MoveBy(Integer DeltaCol, Integer DeltaRow);
    void MoveTab(bool Forward);
    Integer RowPitch() const noexcept { return FDefaultRowHeight + FGridLineWidth; }
    Integer ColLeft(Integer ACol) const; // unscrolled, from the left edge
    Integer FixedWidth() const { return ColLeft(FFixedCols); }
    Integer TotalWidth() const { return ColLeft(FColCount); }
    Integer FrameWidth() const noexcept { return FBorderStyle == bsNone ? 0 : 2; }
    bool VertScrollShown() const;
    bool HorzScrollShown() const;
    Integer MaxTopRow() const;
    Integer MaxScrollX() const;
    // The editor's text changed by typing, in the widget or through keys.
    void EditTextTyped(const String& Value);
    void TypeIntoEditor(char Key);
    void CancelEdit();
    // Pushes layout, scroll position and editor into the window.
    void UpdateView();
    void UpdateEditorGeometry();
    void WriteColWidths(TWriter* Writer);
    void ReadColWidths(TReader* Reader);
    bool ColWidthsStored() const;
    // What the window reports.
    void PaintCells(QPainter& Painter, const QRect& Dirty);
    void PaintCell(QPainter& Painter, Integer ACol, Integer ARow, const TRect& Rect);
    void ViewMouse(QMouseEvent* Event);
    void ViewScrolled(Integer TopRow, Integer ScrollX);
    bool ViewKey(QKeyEvent* Event, bool FromEditor);
    // Runs Fn as a handler of the window: guarded, and safe when it frees the grid.
    template <class Body> void FromView(Body&& Fn) { Dispatch(std::forward<Body>(Fn)); }

    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    Integer FColCount = 5;
    Integer FRowCount = 5;
    Integer FFixedCols = 1;
    Integer FFixedRows = 1;
    Integer FDefaultColWidth = 64;
    Integer FDefaultRowHeight = 24;
    std::vector<Integer> FColWidths;
    Integer FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle FScrollBars = ssBoth;
    TFormBorderStyle FBorderStyle = bsSingle;
    TColor FFixedColor = clBtnFace;
    Integer FCol = 1;
    Integer FRow = 1;
    Integer FTopRow = 1;
    Integer FScrollX = 0;
    bool FEditorMode = false;
    String FEditText;
    String FEditOriginal;
    bool FEditAllSelected = false;
    Integer FSizingCol = -1; // the column being sized with the mouse
    Integer FSizingStart = 0;
};

// A grid of texts with an object per cell (the objects are not owned).
class TStringGrid : public TCustomGrid {
    ORLO_CLASS(TStringGrid, TCustomGrid)
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // EInvalidGridOperation "Grid index out of range".
    const String& Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const String& Value);
    void SetCells(Integer ACol, Integer ARow, String&& Value);
    TObject* Objects(Integer ACol, Integer ARow) const;
    void SetObjects(Integer ACol, Integer ARow, TObject* Value);
    // Empties every cell and drops every object; the layout stays.
    void Clear();

protected:
    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;
    String CellText(Integer ACol, Integer ARow) const override;
    void SizeChanged(Integer OldColCount, Integer OldRowCount) override;
    void RowInserted(Integer Index) override;
    void RowDeleted(Integer Index) override;
    // Reorders the rows: row I takes what row Order[I] held (Order is a
    // permutation of all rows).
    void PermuteRows(const std::vector<Integer>& Order);

private:
    struct TCell {
        String Text;
        TObject* Object = nullptr;
    };
    TCell& CellAt(Integer ACol, Integer ARow);
    const TCell& CellAt(Integer ACol, Integer ARow) const;
    void CellChanged(Integer ACol, Integer ARow);

    std::vector<TCell> FCells; // row by row
};

} // namespace orlo
