#include "platform/forms/Grids.h"

#include "platform/classes/Filer.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/SysUtils.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace orlo {

namespace {

constexpr Integer CellMargin = 2;  // between a cell's edge and its text
constexpr Integer SizingSlack = 3; // how near a column edge the mouse starts sizing
const QColor LineColor(192, 192, 192);
const QColor FixedLineColor(128, 128, 128);

[[noreturn]] void RaiseIndexOutOfRange() {
    throw EInvalidGridOperation("Grid index out of range");
}

Integer ScrollBarExtent() {
    NeedWidgetApplication();
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

// The text without its last character (UTF-8 aware).
String WithoutLastChar(const String& Text) {
    size_t End = Text.size();
    while (End > 0 && (static_cast<unsigned char>(Text[End - 1]) & 0xC0) == 0x80)
        --End;
    return Text.substr(0, End > 0 ? End - 1 : 0);
}

} // namespace

// The grid's window: a scroll area whose viewport paints the visible cells,
// with the in-place editor as a child of the viewport. It forgets its grid
// (Detach) before the grid goes.
class TGridView final : public QAbstractScrollArea {
public:
    TGridView(TCustomGrid* Grid, QWidget* Parent)
        : QAbstractScrollArea(Parent), FGrid(Grid), FEditor(new QLineEdit(viewport())) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        FEditor->hide();
        FEditor->setFrame(false);
        // Tab never stops in the editor: it leaves the grid, in the tab order.
        FEditor->setFocusPolicy(Qt::ClickFocus);
        FEditor->installEventFilter(this);
        viewport()->setMouseTracking(true);
        QObject::connect(FEditor, &QLineEdit::textEdited, this, [this](const QString& Value) {
            if (FGrid)
                FGrid->FromView([&] { FGrid->EditTextTyped(FromQString(Value)); });
        });
    }

    void Detach() noexcept { FGrid = nullptr; }
    QLineEdit* Editor() const noexcept { return FEditor; }

protected:
    void paintEvent(QPaintEvent* Event) override {
        if (!FGrid)
            return;
        QPainter Painter(viewport());
        FGrid->PaintCells(Painter, Event->rect());
    }
    // The grid taking the focus with its editor open hands it to the editor.
    void focusInEvent(QFocusEvent* Event) override {
        QAbstractScrollArea::focusInEvent(Event);
        if (FEditor->isVisible())
            FEditor->setFocus();
    }
    void mousePressEvent(QMouseEvent* Event) override { Mouse(Event); }
    void mouseMoveEvent(QMouseEvent* Event) override { Mouse(Event); }
    void mouseReleaseEvent(QMouseEvent* Event) override { Mouse(Event); }
    void mouseDoubleClickEvent(QMouseEvent* Event) override { Mouse(Event); }
    void scrollContentsBy(int, int) override {
        if (FGrid)
            FGrid->FromView([&] {
                FGrid->ViewScrolled(verticalScrollBar()->value(), horizontalScrollBar()->value());
            });
    }
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        // The editor taking the focus is the grid taking it; a double click
        // in the editor is one on the grid's cell.
        if (Watched == FEditor && FGrid &&
            (Event->type() == QEvent::FocusIn || Event->type() == QEvent::MouseButtonDblClick))
            FGrid->FromView([&] { FGrid->TCustomControl::WidgetEvent(Event); });
        if (Watched != FEditor || Event->type() != QEvent::KeyPress || !FGrid)
            return QAbstractScrollArea::eventFilter(Watched, Event);
        bool Eaten = false;
        FGrid->FromView([&] { Eaten = FGrid->ViewKey(static_cast<QKeyEvent*>(Event), true); });
        // The line edit gets the key here and now, so a key it ignores never
        // travels on to the grid, which has already seen it.
        if (!Eaten && FGrid)
            FEditor->event(Event);
        Event->accept();
        return true;
    }

private:
    void Mouse(QMouseEvent* Event) {
        if (FGrid)
            FGrid->FromView([&] { FGrid->ViewMouse(Event); });
    }

    TCustomGrid* FGrid;
    QLineEdit* FEditor;
};

// --- TCustomGrid -------------------------------------------------------------

ORLO_PUBLISHED(TCustomGrid, "Grids") {}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
    SetBounds(0, 0, 320, 120);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
    FControlStyle.Exclude(csSetCaption);
}

TCustomGrid::~TCustomGrid() {
    *FAlive = false;
    // The window outlives the grid until Qt is done with the event that
    // freed it, and the rest of that input (a release, a double click) still
    // arrives there.
    if (TGridView* V = View())
        V->Detach();
}

TGridView* TCustomGrid::View() const {
    return static_cast<TGridView*>(FWidget);
}

// --- Layout

void TCustomGrid::SetColCount(Integer Value) {
    Value = std::max<Integer>(Value, 1);
    if (Value != FColCount)
        ChangeSize(Value, FRowCount);
}

void TCustomGrid::SetRowCount(Integer Value) {
    Value = std::max<Integer>(Value, 1);
    if (Value != FRowCount)
        ChangeSize(FColCount, Value);
}

void TCustomGrid::ChangeSize(Integer NewColCount, Integer NewRowCount) {
    if (FEditorMode && (FCol >= NewColCount || FRow >= NewRowCount)) {
        const std::shared_ptr<bool> Alive = FAlive;
        HideEditor();
        if (!*Alive)
            return;
    }
    const Integer OldColCount = FColCount, OldRowCount = FRowCount;
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    FColWidths.resize(static_cast<size_t>(NewColCount), FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, NewColCount - 1);
    FFixedRows = std::min(FFixedRows, NewRowCount - 1);
    SizeChanged(OldColCount, OldRowCount);
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::SetFixedCols(Integer Value) {
    SetFixedCount(FFixedCols, Value, FColCount,
                  "Fixed column count must be less than column count");
}

void TCustomGrid::SetFixedRows(Integer Value) {
    SetFixedCount(FFixedRows, Value, FRowCount, "Fixed row count must be less than row count");
}

void TCustomGrid::SetFixedCount(Integer& Fixed, Integer Value, Integer Count, const char* TooBig) {
    if (Value < 0)
        RaiseIndexOutOfRange();
    if (Value >= Count)
        throw EInvalidGridOperation(TooBig);
    Fixed = Value;
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::SetDefaultColWidth(Integer Value) {
    FDefaultColWidth = std::max<Integer>(Value, 0);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    UpdateView();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(Integer Value) {
    FDefaultRowHeight = std::max<Integer>(Value, 1);
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::CheckColIndex(Integer ACol) const {
    if (ACol < 0 || ACol >= FColCount)
        RaiseIndexOutOfRange();
}

Integer TCustomGrid::ColWidths(Integer ACol) const {
    CheckColIndex(ACol);
    return FColWidths[static_cast<size_t>(ACol)];
}

void TCustomGrid::SetColWidths(Integer ACol, Integer Value) {
    CheckColIndex(ACol);
    Value = std::max<Integer>(Value, 0);
    Integer& Width = FColWidths[static_cast<size_t>(ACol)];
    if (Width == Value)
        return;
    Width = Value;
    ClampCurrent();
    UpdateView();
    if (FSizingCol < 0)
        ColWidthsChanged();
}

void TCustomGrid::SetGridLineWidth(Integer Value) {
    FGridLineWidth = std::max<Integer>(Value, 0);
    UpdateView();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    FOptions = Value;
    if (FEditorMode && !CanEditShow()) {
        const std::shared_ptr<bool> Alive = FAlive;
        HideEditor();
        if (!*Alive)
            return;
    }
    UpdateView();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value == bsNone ? bsNone : bsSingle;
    if (View())
        View()->setFrameStyle(FBorderStyle == bsNone ? QFrame::NoFrame
                                                     : QFrame::WinPanel | QFrame::Sunken);
    UpdateView();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    FFixedColor = Value;
    InvalidateGrid();
}

Integer TCustomGrid::ColLeft(Integer ACol) const {
    Integer Left = 0;
    for (Integer I = 0; I < ACol; ++I)
        Left += FColWidths[static_cast<size_t>(I)] + FGridLineWidth;
    return Left;
}

// Each scroll bar shows when the cells overflow the room the other one leaves.
bool TCustomGrid::VertScrollShown() const {
    if (FScrollBars != ssVertical && FScrollBars != ssBoth)
        return false;
    const Integer Height = this->Height() - 2 * FrameWidth();
    const Integer Total = FRowCount * RowPitch();
    if (Total > Height)
        return true;
    const bool HorzAllowed = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    return HorzAllowed && TotalWidth() > Width() - 2 * FrameWidth() &&
           Total > Height - ScrollBarExtent();
}

bool TCustomGrid::HorzScrollShown() const {
    if (FScrollBars != ssHorizontal && FScrollBars != ssBoth)
        return false;
    const Integer Room = Width() - 2 * FrameWidth() - (VertScrollShown() ? ScrollBarExtent() : 0);
    return TotalWidth() > Room;
}

Integer TCustomGrid::ClientWidth() const {
    return std::max<Integer>(0, Width() - 2 * FrameWidth() -
                                    (VertScrollShown() ? ScrollBarExtent() : 0));
}

Integer TCustomGrid::ClientHeight() const {
    return std::max<Integer>(0, Height() - 2 * FrameWidth() -
                                    (HorzScrollShown() ? ScrollBarExtent() : 0));
}

Integer TCustomGrid::VisibleRowCount() const {
    return std::max<Integer>(0, (ClientHeight() - FFixedRows * RowPitch()) / RowPitch());
}

Integer TCustomGrid::MaxTopRow() const {
    return std::max(FFixedRows, FRowCount - std::max<Integer>(1, VisibleRowCount()));
}

Integer TCustomGrid::MaxScrollX() const {
    return std::max<Integer>(0, TotalWidth() - ClientWidth());
}

void TCustomGrid::SetTopRow(Integer Value) {
    const Integer Top = std::clamp(Value, FFixedRows, MaxTopRow());
    if (Top == FTopRow)
        return;
    FTopRow = Top;
    UpdateView();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// --- Rows

void TCustomGrid::InsertRow(Integer Index) {
    if (Index < 0 || Index > FRowCount)
        RaiseIndexOutOfRange();
    const std::shared_ptr<bool> Alive = FAlive;
    HideEditor();
    if (!*Alive)
        return;
    ++FRowCount;
    RowInserted(Index);
    if (FRow >= Index && FRow + 1 < FRowCount)
        ++FRow;
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::DeleteRow(Integer Index) {
    if (Index < 0 || Index >= FRowCount)
        RaiseIndexOutOfRange();
    if (FRowCount == 1)
        throw EInvalidGridOperation("Cannot delete the only row");
    const std::shared_ptr<bool> Alive = FAlive;
    HideEditor();
    if (!*Alive)
        return;
    --FRowCount;
    FFixedRows = std::min(FFixedRows, FRowCount - 1);
    RowDeleted(Index);
    if (FRow > Index)
        --FRow;
    ClampCurrent();
    UpdateView();
}

// --- The current cell

bool TCustomGrid::CheckCell(Integer ACol, Integer ARow) const {
    return ACol >= FFixedCols && ACol < FColCount && ARow >= FFixedRows && ARow < FRowCount;
}

void TCustomGrid::ClampCurrent() {
    FCol = std::clamp(FCol, FFixedCols, FColCount - 1);
    FRow = std::clamp(FRow, FFixedRows, FRowCount - 1);
    FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
    FScrollX = std::clamp(FScrollX, 0, MaxScrollX());
}

bool TCustomGrid::SelectCell(Integer ACol, Integer ARow) {
    bool CanSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, CanSelect);
    return CanSelect;
}

bool TCustomGrid::FocusCell(Integer ACol, Integer ARow) {
    if (!CheckCell(ACol, ARow))
        RaiseIndexOutOfRange();
    if (ACol == FCol && ARow == FRow)
        return true;
    const std::shared_ptr<bool> Alive = FAlive;
    if (!SelectCell(ACol, ARow) || !*Alive)
        return false;
    // The handler may have changed the grid under the cell asked for.
    if (!CheckCell(ACol, ARow))
        return false;
    MoveCurrent(ACol, ARow);
    return *Alive;
}

void TCustomGrid::MoveCurrent(Integer ACol, Integer ARow) {
    const std::shared_ptr<bool> Alive = FAlive;
    HideEditor();
    if (!*Alive || !CheckCell(ACol, ARow))
        return;
    FCol = ACol;
    FRow = ARow;
    ScrollToCurrent();
    UpdateView();
    if (FOptions.Contains(goAlwaysShowEditor))
        ShowEditor();
}

void TCustomGrid::ScrollToCurrent() {
    const Integer Visible = std::max<Integer>(1, VisibleRowCount());
    if (FRow < FTopRow)
        FTopRow = FRow;
    else if (FRow >= FTopRow + Visible)
        FTopRow = FRow - Visible + 1;
    const Integer Left = ColLeft(FCol) - FixedWidth();
    const Integer Right = Left + FColWidths[static_cast<size_t>(FCol)];
    const Integer Room = ClientWidth() - FixedWidth();
    if (Left < FScrollX)
        FScrollX = Left;
    else if (Right > FScrollX + Room)
        FScrollX = std::min(Left, Right - Room);
    FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
    FScrollX = std::clamp(FScrollX, 0, MaxScrollX());
}

bool TCustomGrid::IsCellSelected(Integer ACol, Integer ARow) const {
    return ARow == FRow && (ACol == FCol || (FOptions.Contains(goRowSelect) && ACol >= FFixedCols));
}

void TCustomGrid::MoveBy(Integer DeltaCol, Integer DeltaRow) {
    const Integer NewCol = std::clamp(FCol + DeltaCol, FFixedCols, FColCount - 1);
    const Integer NewRow = std::clamp(FRow + DeltaRow, FFixedRows, FRowCount - 1);
    FocusCell(NewCol, NewRow);
}

void TCustomGrid::MoveTab(bool Forward) {
    Integer NewCol = FCol + (Forward ? 1 : -1);
    Integer NewRow = FRow;
    if (NewCol >= FColCount) {
        NewCol = FFixedCols;
        ++NewRow;
    } else if (NewCol < FFixedCols) {
        NewCol = FColCount - 1;
        --NewRow;
    }
    if (NewRow >= FFixedRows && NewRow < FRowCount)
        FocusCell(NewCol, NewRow);
}

TRect TCustomGrid::CellRect(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        RaiseIndexOutOfRange();
    const Integer X = ACol < FFixedCols ? ColLeft(ACol) : ColLeft(ACol) - FScrollX;
    const Integer Y =
        ARow < FFixedRows ? ARow * RowPitch() : (FFixedRows + ARow - FTopRow) * RowPitch();
    return Bounds(X, Y, FColWidths[static_cast<size_t>(ACol)], FDefaultRowHeight);
}

TGridCoord TCustomGrid::MouseToCell(Integer X, Integer Y) const {
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight())
        return {};
    const Integer FixedHeight = FFixedRows * RowPitch();
    const Integer Row = Y < FixedHeight ? Y / RowPitch() : FTopRow + (Y - FixedHeight) / RowPitch();
    const Integer Left = X < FixedWidth() ? X : X + FScrollX;
    Integer Col = -1;
    for (Integer C = X < FixedWidth() ? 0 : FFixedCols, Edge = ColLeft(C); C < FColCount; ++C) {
        Edge += FColWidths[static_cast<size_t>(C)] + FGridLineWidth;
        if (Left < Edge) {
            Col = C;
            break;
        }
    }
    if (Col < 0 || Row >= FRowCount)
        return {};
    return {Col, Row};
}

// --- The in-place editor

bool TCustomGrid::CanEditShow() const {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && Enabled() &&
           CheckCell(FCol, FRow);
}

QLineEdit* TCustomGrid::InplaceEditor() const {
    return FEditorMode && View() ? View()->Editor() : nullptr;
}

String TCustomGrid::GetEditText(Integer ACol, Integer ARow) {
    String Value;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TCustomGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TCustomGrid::SetEditorMode(bool Value) {
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor() {
    if (FEditorMode || !CanEditShow())
        return;
    const std::shared_ptr<bool> Alive = FAlive;
    String Text = GetEditText(FCol, FRow);
    if (!*Alive || FEditorMode || !CanEditShow())
        return;
    FEditOriginal = Text;
    FEditText = std::move(Text);
    FEditAllSelected = true;
    FEditorMode = true;
    if (TGridView* V = View()) {
        QLineEdit* Editor = V->Editor();
        QSignalBlocker Quiet(Editor);
        Editor->setText(ToQString(FEditText));
        Editor->selectAll();
        UpdateEditorGeometry();
        Editor->show();
        if (V->hasFocus())
            Editor->setFocus();
    }
}

void TCustomGrid::HideEditor() {
    if (!FEditorMode)
        return;
    FEditorMode = false;
    if (TGridView* V = View()) {
        const bool HadFocus = V->Editor()->hasFocus();
        V->Editor()->hide();
        if (HadFocus)
            V->setFocus();
        V->viewport()->update();
    }
    EditorClosed(FCol, FRow);
}

void TCustomGrid::CancelEdit() {
    const std::shared_ptr<bool> Alive = FAlive;
    if (FEditText != FEditOriginal) {
        if (TGridView* V = View()) {
            QSignalBlocker Quiet(V->Editor());
            V->Editor()->setText(ToQString(FEditOriginal));
        }
        EditTextTyped(FEditOriginal);
    }
    if (*Alive)
        HideEditor();
}

void TCustomGrid::EditTextTyped(const String& Value) {
    if (!FEditorMode)
        return;
    FEditText = Value;
    FEditAllSelected = false;
    const std::shared_ptr<bool> Alive = FAlive;
    SetEditText(FCol, FRow, FEditText);
    // A handler that took the cell away closes the editor.
    if (*Alive && FEditorMode && !CanEditShow())
        HideEditor();
}

void TCustomGrid::TypeIntoEditor(char Key) {
    const String Base = FEditAllSelected ? String() : FEditText;
    const String Text = Key == '\b' ? WithoutLastChar(Base) : Base + Key;
    if (TGridView* V = View()) {
        QSignalBlocker Quiet(V->Editor());
        V->Editor()->setText(ToQString(Text));
    }
    EditTextTyped(Text);
}

void TCustomGrid::UpdateEditorGeometry() {
    TGridView* V = View();
    if (!V || !FEditorMode)
        return;
    const TRect R = CellRect(FCol, FRow);
    V->Editor()->setGeometry(R.Left, R.Top, R.Width(), R.Height());
}

// --- Keys

bool TCustomGrid::WantsKey(Word Key) const {
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    case VK_TAB:
        return FOptions.Contains(goTabs);
    case VK_RETURN:
    case VK_ESCAPE:
        return FEditorMode;
    default:
        return false;
    }
}

bool TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
    const std::shared_ptr<bool> Alive = FAlive;
    if (TCustomControl::KeyDown(Key, Shift) || !*Alive)
        return true;
    const Integer Page = std::max<Integer>(1, VisibleRowCount());
    switch (Key) {
    case VK_UP:
        MoveBy(0, -1);
        break;
    case VK_DOWN:
        MoveBy(0, 1);
        break;
    case VK_PRIOR:
        MoveBy(0, -Page);
        break;
    case VK_NEXT:
        MoveBy(0, Page);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (FEditorMode)
            return false; // the editor moves its cursor
        MoveBy(Key == VK_LEFT ? -1 : 1, 0);
        break;
    case VK_HOME:
    case VK_END:
        if (FEditorMode)
            return false;
        if (Shift.Contains(ssCtrl))
            FocusCell(FCol, Key == VK_HOME ? FFixedRows : FRowCount - 1);
        else
            FocusCell(Key == VK_HOME ? FFixedCols : FColCount - 1, FRow);
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs))
            return false;
        MoveTab(!Shift.Contains(ssShift));
        break;
    case VK_F2:
        if (!CanEditShow())
            return false;
        ShowEditor();
        break;
    default:
        return false;
    }
    Key = 0;
    return true;
}

bool TCustomGrid::EditorKeyPress(char& Key) {
    const std::shared_ptr<bool> Alive = FAlive;
    if (TCustomControl::KeyPress(Key) || !*Alive)
        return true;
    if (!FEditorMode || (Key != '\r' && Key != '\x1b'))
        return false;
    if (Key == '\r')
        HideEditor();
    else
        CancelEdit();
    Key = '\0';
    return true;
}

bool TCustomGrid::KeyPress(char& Key) {
    const std::shared_ptr<bool> Alive = FAlive;
    if (EditorKeyPress(Key) || !*Alive)
        return true;
    const bool Printable = static_cast<unsigned char>(Key) >= 32 && Key != 127;
    if (!Printable && !(Key == '\b' && FEditorMode))
        return false;
    if (!FEditorMode) {
        ShowEditor();
        if (!*Alive || !FEditorMode)
            return !*Alive;
    }
    TypeIntoEditor(Key);
    Key = '\0';
    return true;
}

bool TCustomGrid::ViewKey(QKeyEvent* Event, bool FromEditor) {
    Word Code = VirtualKeyOf(Event);
    const TShiftState Shift = ShiftOf(Event);
    // The menus' shortcuts come first, in the editor too.
    if (TCustomForm* Form = GetParentForm(); Form && Form->IsMenuKey(this, Code, Shift))
        return true; // an item was clicked: it may have freed the grid
    char Char = KeyCharOf(Event);
    const std::shared_ptr<bool> Alive = FAlive;
    if ((Code != 0 && KeyDown(Code, Shift)) || !*Alive || PopupMenuKey(Code, Shift))
        return true;
    if (TCustomForm* Form = GetParentForm(); Form && Code == VK_F1 && Form->ContextHelp(this))
        return true;
    if (FromEditor && Code == VK_TAB) {
        // Not taken by goTabs: the focus leaves the grid for the next control.
        if (TCustomForm* Form = GetParentForm())
            Form->SelectNext(!Shift.Contains(ssShift));
        return true;
    }
    if (FromEditor) {
        // The line edit types and moves its cursor itself; only a character
        // that a handler changed is typed here.
        const char Typed = Char;
        if (Char == '\0')
            return false;
        if (EditorKeyPress(Char) || !*Alive)
            return true;
        if (Char == Typed)
            return false;
        if (TGridView* V = View())
            V->Editor()->insert(QString(QChar(Char)));
        return true;
    }
    if (Code == VK_TAB && !WantsKey(Code))
        return false; // Qt moves the focus on
    if (Char != '\0' && KeyPress(Char))
        return true;
    if (!*Alive)
        return true;
    if ((Code == VK_RETURN || Code == VK_ESCAPE) && !WantsKey(Code))
        if (TCustomForm* Form = GetParentForm())
            Form->DialogKey(Code);
    return true;
}

bool TCustomGrid::WidgetEvent(QEvent* Event) {
    if (Event->type() == QEvent::KeyPress)
        return ViewKey(static_cast<QKeyEvent*>(Event), false);
    return TCustomControl::WidgetEvent(Event);
}

// --- Mouse

void TCustomGrid::ViewMouse(QMouseEvent* Event) {
    const QPoint At = Event->position().toPoint();
    const std::shared_ptr<bool> Alive = FAlive;
    switch (Event->type()) {
    case QEvent::MouseButtonPress: {
        if (Event->button() != Qt::LeftButton)
            return;
        const bool InFixedRows = At.y() < FFixedRows * RowPitch();
        if (FOptions.Contains(goColSizing) && InFixedRows) {
            for (Integer C = 0; C < FColCount; ++C) {
                const TRect R = CellRect(C, 0);
                if (std::abs(At.x() - R.Right) <= SizingSlack) {
                    FSizingCol = C;
                    FSizingStart = R.Left;
                    return;
                }
            }
        }
        const TGridCoord Cell = MouseToCell(At.x(), At.y());
        if (Cell.X < 0)
            return;
        if (!CheckCell(Cell.X, Cell.Y)) {
            FixedCellClicked(Cell.X, Cell.Y);
            return;
        }
        if (Cell.X == FCol && Cell.Y == FRow)
            ShowEditor();
        else if (FocusCell(Cell.X, Cell.Y) && *Alive)
            Click();
        if (*Alive && Cell.X == FCol && Cell.Y == FRow)
            CellClicked(Cell.X, Cell.Y);
        return;
    }
    case QEvent::MouseMove:
        if (FSizingCol >= 0)
            SetColWidths(FSizingCol, At.x() - FSizingStart);
        else if (View())
            View()->viewport()->setCursor(FOptions.Contains(goColSizing) &&
                                                  At.y() < FFixedRows * RowPitch()
                                              ? Qt::SplitHCursor
                                              : Qt::ArrowCursor);
        return;
    case QEvent::MouseButtonRelease:
        if (FSizingCol >= 0) {
            FSizingCol = -1;
            ColWidthsChanged();
        }
        return;
    case QEvent::MouseButtonDblClick: {
        if (OnDblClick)
            OnDblClick(this);
        if (!*Alive)
            return;
        const TGridCoord Cell = MouseToCell(At.x(), At.y());
        if (Cell.X == FCol && Cell.Y == FRow)
            ShowEditor();
        return;
    }
    default:
        return;
    }
}

void TCustomGrid::ViewScrolled(Integer TopRow, Integer ScrollX) {
    const Integer Top = std::clamp(FFixedRows + TopRow, FFixedRows, MaxTopRow());
    const Integer X = std::clamp(ScrollX, 0, MaxScrollX());
    if (Top == FTopRow && X == FScrollX)
        return;
    FTopRow = Top;
    FScrollX = X;
    UpdateEditorGeometry();
    InvalidateGrid();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// --- Painting

void TCustomGrid::GetCellFormat(Integer, Integer, TGridDrawState, TCellFormat&) {}

void TCustomGrid::PaintCells(QPainter& Painter, const QRect& Dirty) {
    Painter.fillRect(Dirty, ColorToQColor(FColor));
    Painter.setFont(Font()->ToQFont());
    const Integer Width = ClientWidth(), Height = ClientHeight();
    const Integer FixedHeight = FFixedRows * RowPitch();
    // Scrolling cells first, clipped so they never cover the fixed ones.
    auto PaintRows = [&](Integer FirstRow, Integer LastRow, bool FixedCols) {
        Painter.save();
        const Integer Top = FirstRow < FFixedRows ? 0 : FixedHeight;
        const Integer Left = FixedCols ? 0 : FixedWidth();
        Painter.setClipRect(QRect(Left, Top, Width - Left, Height - Top).intersected(Dirty));
        for (Integer R = FirstRow; R <= LastRow && R < FRowCount; ++R) {
            Integer X = 0;
            for (Integer C = 0; C < FColCount; ++C) {
                const Integer ColWidth = FColWidths[static_cast<size_t>(C)];
                const bool Fixed = C < FFixedCols;
                const Integer CellX = Fixed ? X : X - FScrollX;
                X += ColWidth + FGridLineWidth;
                if (Fixed != FixedCols)
                    continue;
                if (CellX >= Width)
                    break;
                if (CellX + ColWidth + FGridLineWidth <= 0)
                    continue;
                PaintCell(Painter, C, R, CellRect(C, R));
            }
        }
        Painter.restore();
    };
    const Integer LastVisible = FTopRow + std::max<Integer>(1, VisibleRowCount());
    PaintRows(FTopRow, LastVisible, false);
    PaintRows(FTopRow, LastVisible, true);
    if (FFixedRows > 0) {
        PaintRows(0, FFixedRows - 1, false);
        PaintRows(0, FFixedRows - 1, true);
    }
}

void TCustomGrid::PaintCell(QPainter& Painter, Integer ACol, Integer ARow, const TRect& Rect) {
    const bool Fixed = ACol < FFixedCols || ARow < FFixedRows;
    TGridDrawState State;
    if (Fixed)
        State.Include(gdFixed);
    if (!Fixed && IsCellSelected(ACol, ARow))
        State.Include(gdSelected);
    if (!Fixed && ACol == FCol && ARow == FRow)
        State.Include(gdFocused);
    TCellFormat Format;
    Format.FontColor = Font()->Color();
    Format.Color = Fixed ? FFixedColor : FColor;
    const bool Highlight = State.Contains(gdSelected) &&
                           (!State.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                            FOptions.Contains(goRowSelect));
    if (Highlight) {
        Format.Color = clHighlight;
        Format.FontColor = clHighlightText;
    }
    GetCellFormat(ACol, ARow, State, Format);
    const QRect Cell(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    if (DefaultDrawing) {
        Painter.fillRect(Cell, ColorToQColor(Format.Color));
        Painter.setPen(ColorToQColor(Format.FontColor));
        Painter.drawText(Cell.adjusted(CellMargin, 0, -CellMargin, 0),
                         static_cast<int>(HorizontalAlignment(Format.Alignment) | Qt::AlignVCenter |
                                          Qt::TextSingleLine),
                         ToQString(CellText(ACol, ARow)));
        if (State.Contains(gdFocused) && View() && View()->hasFocus()) {
            Painter.setPen(QPen(ColorToQColor(Format.FontColor), 1, Qt::DotLine));
            Painter.drawRect(Cell.adjusted(0, 0, -1, -1));
        }
    }
    if (FGridLineWidth <= 0)
        return;
    const bool Vert = FOptions.Contains(Fixed ? goFixedVertLine : goVertLine);
    const bool Horz = FOptions.Contains(Fixed ? goFixedHorzLine : goHorzLine);
    const QColor Line = Fixed ? FixedLineColor : LineColor;
    if (Vert)
        Painter.fillRect(Cell.right() + 1, Cell.top(), FGridLineWidth,
                         Cell.height() + FGridLineWidth, Line);
    if (Horz)
        Painter.fillRect(Cell.left(), Cell.bottom() + 1, Cell.width() + FGridLineWidth,
                         FGridLineWidth, Line);
}

void TCustomGrid::InvalidateGrid() {
    if (TGridView* V = View())
        V->viewport()->update();
}

// --- Window

QWidget* TCustomGrid::CreateWidget(QWidget* ParentWidget) {
    return new TGridView(this, ParentWidget);
}

void TCustomGrid::InitWidget() {
    TCustomControl::InitWidget();
    SetBorderStyle(FBorderStyle);
    if (FEditorMode) {
        QLineEdit* Editor = View()->Editor();
        QSignalBlocker Quiet(Editor);
        Editor->setText(ToQString(FEditText));
        Editor->show();
    }
    UpdateView();
}

void TCustomGrid::ReleaseWidget() {
    if (TGridView* V = View())
        V->Detach();
    TCustomControl::ReleaseWidget();
}

void TCustomGrid::UpdateView() {
    TGridView* V = View();
    if (!V)
        return;
    const bool Vert = VertScrollShown(), Horz = HorzScrollShown();
    V->setVerticalScrollBarPolicy(Vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    V->setHorizontalScrollBarPolicy(Horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    QScrollBar* VBar = V->verticalScrollBar();
    QScrollBar* HBar = V->horizontalScrollBar();
    {
        QSignalBlocker QuietV(VBar), QuietH(HBar);
        const bool Live = FOptions.Contains(goThumbTracking);
        VBar->setTracking(Live);
        HBar->setTracking(Live);
        VBar->setRange(0, MaxTopRow() - FFixedRows);
        VBar->setPageStep(std::max<Integer>(1, VisibleRowCount()));
        VBar->setValue(FTopRow - FFixedRows);
        HBar->setRange(0, MaxScrollX());
        HBar->setPageStep(std::max<Integer>(1, ClientWidth() - FixedWidth()));
        HBar->setSingleStep(std::max<Integer>(1, FDefaultColWidth / 4));
        HBar->setValue(FScrollX);
    }
    UpdateEditorGeometry();
    V->viewport()->update();
}

void TCustomGrid::FontChanged() {
    TCustomControl::FontChanged();
    InvalidateGrid();
}

void TCustomGrid::ColorChanged() {
    TCustomControl::ColorChanged();
    InvalidateGrid();
}

void TCustomGrid::EnabledChanged() {
    TCustomControl::EnabledChanged();
    if (!Enabled() && FEditorMode)
        HideEditor();
    InvalidateGrid();
}

void TCustomGrid::Resize() {
    TCustomControl::Resize();
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::Loaded() {
    TCustomControl::Loaded();
    ClampCurrent();
    UpdateView();
}

void TCustomGrid::ColWidthsChanged() {
    if (!ComponentState().Contains(csLoading) && OnColumnWidthsChanged)
        OnColumnWidthsChanged(this);
}

void TCustomGrid::AutoSizeCol(Integer ACol) {
    CheckColIndex(ACol);
    NeedWidgetApplication();
    const QFontMetrics Metrics(Font()->ToQFont());
    Integer Widest = 0;
    for (Integer R = 0; R < FRowCount; ++R)
        Widest = std::max<Integer>(Widest, Metrics.horizontalAdvance(ToQString(CellText(ACol, R))));
    SetColWidths(ACol, Widest + 2 * CellMargin + 2);
}

// --- Streaming: the column widths that differ from the default

bool TCustomGrid::ColWidthsStored() const {
    return std::any_of(FColWidths.begin(), FColWidths.end(),
                       [this](Integer W) { return W != FDefaultColWidth; });
}

void TCustomGrid::WriteColWidths(TWriter* Writer) {
    Writer->WriteListBegin();
    for (Integer Width : FColWidths)
        Writer->WriteInteger(Width);
    Writer->WriteListEnd();
}

void TCustomGrid::ReadColWidths(TReader* Reader) {
    Reader->ReadListBegin();
    for (size_t I = 0; !Reader->EndOfList(); ++I) {
        const Integer Width = Reader->ReadInteger();
        if (I < FColWidths.size())
            FColWidths[I] = std::max<Integer>(Width, 0);
    }
    Reader->ReadListEnd();
}

void TCustomGrid::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    Filer->DefineProperty(
        "ColWidths", [this](TReader* Reader) { ReadColWidths(Reader); },
        [this](TWriter* Writer) { WriteColWidths(Writer); }, ColWidthsStored());
}

// --- TStringGrid -------------------------------------------------------------

ORLO_PUBLISHED(TStringGrid, "Grids") {
    publish::Align(P);
    publish::Anchors(P);
    P.Property("BorderStyle", &TStringGrid::BorderStyle, &TStringGrid::SetBorderStyle)
        .Default(bsSingle);
    publish::Color(P);
    P.Property("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount).Default(5);
    publish::Ctl3D(P);
    P.Property("DefaultColWidth", &TStringGrid::DefaultColWidth, &TStringGrid::SetDefaultColWidth)
        .Default(64);
    P.Property("DefaultDrawing", &TStringGrid::DefaultDrawing).Default(1);
    P.Property("DefaultRowHeight", &TStringGrid::DefaultRowHeight,
               &TStringGrid::SetDefaultRowHeight)
        .Default(24);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    P.Property("FixedColor", &TStringGrid::FixedColor, &TStringGrid::SetFixedColor)
        .Type(TColorTypeInfo())
        .Default(clBtnFace);
    P.Property("FixedCols", &TStringGrid::FixedCols, &TStringGrid::SetFixedCols).Default(1);
    P.Property("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount).Default(5);
    P.Property("FixedRows", &TStringGrid::FixedRows, &TStringGrid::SetFixedRows).Default(1);
    publish::Font(P);
    P.Property("GridLineWidth", &TStringGrid::GridLineWidth, &TStringGrid::SetGridLineWidth)
        .Default(1);
    P.Property("Options", &TStringGrid::Options, &TStringGrid::SetOptions)
        .Default(
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}
                .Bits());
    publish::Parents(P, false);
    P.Property("ScrollBars", &TStringGrid::ScrollBars, &TStringGrid::SetScrollBars).Default(ssBoth);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    publish::ClickEvents(P);
    P.Property("OnColumnWidthsChanged", &TStringGrid::OnColumnWidthsChanged);
    publish::FocusEvents(P);
    P.Property("OnGetEditText", &TStringGrid::OnGetEditText);
    publish::KeyEvents(P);
    P.Property("OnSelectCell", &TStringGrid::OnSelectCell);
    P.Property("OnSetEditText", &TStringGrid::OnSetEditText);
    P.Property("OnTopLeftChanged", &TStringGrid::OnTopLeftChanged);
}

// Form files name the control by its class.
const bool TStringGridRegistered = (RegisterClass(TStringGrid::StaticClass()), true);

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
    FCells.resize(static_cast<size_t>(ColCount() * RowCount()));
}

TStringGrid::~TStringGrid() = default;

TStringGrid::TCell& TStringGrid::CellAt(Integer ACol, Integer ARow) {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        RaiseIndexOutOfRange();
    return FCells[static_cast<size_t>(ARow) * static_cast<size_t>(ColCount()) +
                  static_cast<size_t>(ACol)];
}

const TStringGrid::TCell& TStringGrid::CellAt(Integer ACol, Integer ARow) const {
    return const_cast<TStringGrid*>(this)->CellAt(ACol, ARow);
}

const String& TStringGrid::Cells(Integer ACol, Integer ARow) const {
    return CellAt(ACol, ARow).Text;
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const String& Value) {
    CellAt(ACol, ARow).Text = Value;
    CellChanged(ACol, ARow);
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, String&& Value) {
    CellAt(ACol, ARow).Text = std::move(Value);
    CellChanged(ACol, ARow);
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    return CellAt(ACol, ARow).Object;
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* Value) {
    CellAt(ACol, ARow).Object = Value;
}

// The editor open on a cell that code changed shows the new text.
void TStringGrid::CellChanged(Integer ACol, Integer ARow) {
    if (!Widget())
        return;
    if (EditorMode() && ACol == Col() && ARow == Row()) {
        QLineEdit* Editor = InplaceEditor();
        QSignalBlocker Quiet(Editor);
        Editor->setText(ToQString(Cells(ACol, ARow)));
    }
    if (ARow < FixedRows() || (ARow >= TopRow() && ARow <= TopRow() + VisibleRowCount()))
        InvalidateGrid();
}

void TStringGrid::Clear() {
    HideEditor();
    for (TCell& Cell : FCells) {
        Cell.Text.clear();
        Cell.Object = nullptr;
    }
    InvalidateGrid();
}

String TStringGrid::GetEditText(Integer ACol, Integer ARow) {
    String Value = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
    CellAt(ACol, ARow).Text = Value;
    InvalidateGrid();
    TCustomGrid::SetEditText(ACol, ARow, Value);
}

String TStringGrid::CellText(Integer ACol, Integer ARow) const {
    return Cells(ACol, ARow);
}

void TStringGrid::SizeChanged(Integer OldColCount, Integer OldRowCount) {
    const size_t Cols = static_cast<size_t>(ColCount());
    const size_t Rows = static_cast<size_t>(RowCount());
    if (OldColCount == ColCount()) {
        FCells.resize(Rows * Cols);
        return;
    }
    std::vector<TCell> Cells(Rows * Cols);
    const size_t KeepCols = std::min(Cols, static_cast<size_t>(OldColCount));
    const size_t KeepRows = std::min(Rows, static_cast<size_t>(OldRowCount));
    for (size_t R = 0; R < KeepRows; ++R)
        for (size_t C = 0; C < KeepCols; ++C)
            Cells[R * Cols + C] = std::move(FCells[R * static_cast<size_t>(OldColCount) + C]);
    FCells = std::move(Cells);
}

void TStringGrid::PermuteRows(const std::vector<Integer>& Order) {
    const size_t Cols = static_cast<size_t>(ColCount());
    std::vector<TCell> Cells(FCells.size());
    for (size_t R = 0; R < Order.size(); ++R)
        for (size_t C = 0; C < Cols; ++C)
            Cells[R * Cols + C] = std::move(FCells[static_cast<size_t>(Order[R]) * Cols + C]);
    FCells = std::move(Cells);
    InvalidateGrid();
}

void TStringGrid::RowInserted(Integer Index) {
    const size_t Cols = static_cast<size_t>(ColCount());
    FCells.insert(FCells.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(Index) * Cols),
                  Cols, TCell{});
}

void TStringGrid::RowDeleted(Integer Index) {
    const size_t Cols = static_cast<size_t>(ColCount());
    const auto First =
        FCells.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(Index) * Cols);
    FCells.erase(First, First + static_cast<std::ptrdiff_t>(Cols));
}

} // namespace orlo
