// Filling a grid of 10 000 rows x 4 columns with texts and showing it, two
// ways in one program:
//   - TStringGrid: a form with the grid, its cells set one by one;
//   - Qt's own way: a QTableWidget with one QTableWidgetItem per cell.
// Each side takes the same texts, already in its own string type. Each
// iteration ends with the window shown, the pending events handled and the
// window painted (grabbed), and frees it. Goal: TStringGrid at most 1.0 x
// Qt's time. Also the heap each takes per cell once shown.

#include "platform/forms/Forms.h"
#include "platform/forms/Grids.h"
#include "platform/rtl/SysUtils.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace orlo {
namespace {

constexpr int RowCount = 10000;
constexpr int ColCount = 4;
constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

String CellText(int Row, int Col) {
    static const char* const Words[ColCount] = {"Label", "Caption", "Hint", "Text"};
    return Format("%s %d.%d", Words[Col], Row, Col);
}

String HeaderText(int Col) {
    return Format("Column %d", Col);
}

// The texts of every cell in both string types, made once.
struct TTexts {
    TTexts() {
        for (int R = 0; R < RowCount; ++R)
            for (int C = 0; C < ColCount; ++C) {
                Plain.push_back(CellText(R, C));
                Qt.push_back(QString::fromStdString(Plain.back()));
            }
        for (int C = 0; C < ColCount; ++C) {
            PlainHeaders.push_back(HeaderText(C));
            QtHeaders.push_back(QString::fromStdString(PlainHeaders.back()));
        }
    }
    std::vector<String> Plain;
    std::vector<QString> Qt;
    std::vector<String> PlainHeaders;
    QStringList QtHeaders;
};

const TTexts& Texts() {
    static const TTexts Instance;
    return Instance;
}

// --- TStringGrid ----------------------------------------------------------------------

class TGridWindow {
public:
    TGridWindow() : FForm(std::make_unique<TForm>(nullptr)) {
        FForm->SetBounds(0, 0, WindowWidth, WindowHeight);
        FGrid = new TStringGrid(FForm.get());
        FGrid->SetParent(FForm.get());
        FGrid->SetAlign(alClient);
        FGrid->SetFixedCols(0);
        FGrid->SetColCount(ColCount);
        FGrid->SetRowCount(RowCount + 1);
        const TTexts& T = Texts();
        for (int C = 0; C < ColCount; ++C)
            FGrid->SetCells(C, 0, T.PlainHeaders[static_cast<size_t>(C)]);
        for (int R = 0; R < RowCount; ++R)
            for (int C = 0; C < ColCount; ++C)
                FGrid->SetCells(C, R + 1, T.Plain[static_cast<size_t>(R * ColCount + C)]);
        FForm->Show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(GrabImage(FForm.get()));
    }
    String Last() const { return FGrid->Cells(ColCount - 1, RowCount); }

private:
    std::unique_ptr<TForm> FForm;
    TStringGrid* FGrid = nullptr;
};

// --- QTableWidget ---------------------------------------------------------------------

class TQtTableWindow {
public:
    TQtTableWindow() : FTable(std::make_unique<QTableWidget>()) {
        FTable->resize(WindowWidth, WindowHeight);
        FTable->setColumnCount(ColCount);
        FTable->setRowCount(RowCount);
        const TTexts& T = Texts();
        FTable->setHorizontalHeaderLabels(T.QtHeaders);
        for (int R = 0; R < RowCount; ++R)
            for (int C = 0; C < ColCount; ++C)
                FTable->setItem(R, C,
                                new QTableWidgetItem(T.Qt[static_cast<size_t>(R * ColCount + C)]));
        FTable->show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(FTable->grab());
    }
    String Last() const { return FTable->item(RowCount - 1, ColCount - 1)->text().toStdString(); }

private:
    std::unique_ptr<QTableWidget> FTable;
};

template <class Window> void FillAndShow(benchmark::State& State) {
    Application->Initialize();
    (void)Texts();
    for (auto _ : State) {
        Window Shown;
        if (Shown.Last() != CellText(RowCount - 1, ColCount - 1))
            State.SkipWithError("the grid lost its last cell");
    }
    State.counters["cells"] = RowCount * ColCount;
}

void BM_FillAndShowGrid_StringGrid(benchmark::State& State) {
    FillAndShow<TGridWindow>(State);
}
void BM_FillAndShowGrid_QTableWidget(benchmark::State& State) {
    FillAndShow<TQtTableWindow>(State);
}

BENCHMARK(BM_FillAndShowGrid_StringGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndShowGrid_QTableWidget)->Unit(benchmark::kMillisecond);

// --- Memory ---------------------------------------------------------------------------

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

template <class Window> double BytesPerCell() {
    const size_t Before = HeapInUse();
    Window Shown;
    return double(HeapInUse() - Before) / (RowCount * ColCount);
}

void BM_GridMemoryPerCell(benchmark::State& State) {
    Application->Initialize();
    (void)Texts();
    double Grid = 0, Table = 0;
    for (auto _ : State) {
        Grid = BytesPerCell<TGridWindow>();
        Table = BytesPerCell<TQtTableWindow>();
    }
    State.counters["TStringGrid_bytes"] = Grid;
    State.counters["QTableWidget_bytes"] = Table;
}

BENCHMARK(BM_GridMemoryPerCell)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orlo
