// Switching 10 000 visible label captions between English and German, two
// ways in one program:
//   - TGlossa: a shown form of 10 000 TLabel controls whose language data holds
//     both languages; one SetLanguage per switch;
//   - Qt's own way: 10 000 QLabel widgets in a shown window, a QTranslator
//     loaded from a .qm file that lrelease made from a .ts file written here,
//     installTranslator/removeTranslator and setText(QCoreApplication::translate)
//     on each label.
// Each switch ends with the pending events handled (the labels repaint).
// Goal: TGlossa at most 1.0 x Qt's time.

#include "bench/BilingualGlossa.h"
#include "bench/GermanQm.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace orlo {
namespace {

constexpr int LabelCount = 10000;
constexpr int Columns = 50;
constexpr int LabelWidth = 96;
constexpr int LabelHeight = 16;

String EnglishText(int I) {
    return Format("Label number %d", I);
}
String GermanText(int I) {
    return Format("Beschriftung Nummer %d", I);
}
int LabelLeft(int I) {
    return (I % Columns) * LabelWidth;
}
int LabelTop(int I) {
    return (I / Columns) * LabelHeight;
}

// --- TGlossa ------------------------------------------------------------------------

class TLabelForm {
public:
    TLabelForm() {
        Application->Initialize();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(0, 0, Columns * LabelWidth, 800);
        for (int I = 0; I < LabelCount; ++I) {
            auto* Label = new TLabel(FForm.get());
            Label->SetName(Format("Label%d", I));
            Label->SetAutoSize(false);
            Label->SetBounds(LabelLeft(I), LabelTop(I), LabelWidth, LabelHeight);
            Label->SetCaption(EnglishText(I));
            Label->SetParent(FForm.get());
            FLabels.push_back(Label);
        }
        FGlossa = MakeBilingualGlossa(FForm.get(), [this] {
            for (int I = 0; I < LabelCount; ++I)
                FLabels[I]->SetCaption(GermanText(I));
        });
        FForm->Show();
        QCoreApplication::processEvents();
    }
    void Switch(bool German) {
        FGlossa->SetLanguage(German ? "Deutsch" : "English");
        QCoreApplication::processEvents();
    }
    String Shown(int I) const { return FLabels[I]->Caption(); }

private:
    std::unique_ptr<TForm> FForm;
    std::vector<TLabel*> FLabels;
    TGlossa* FGlossa = nullptr;
};

// --- Qt -----------------------------------------------------------------------------

// The German translation of every label.
std::vector<std::pair<String, String>> LabelTexts() {
    std::vector<std::pair<String, String>> Texts;
    for (int I = 0; I < LabelCount; ++I)
        Texts.emplace_back(EnglishText(I), GermanText(I));
    return Texts;
}

class TQtLabelForm {
public:
    TQtLabelForm() {
        Application->Initialize();
        if (!FGerman.load(MakeGermanQm(FDir, "LabelForm", LabelTexts())))
            throw std::runtime_error("cannot load the .qm file");
        FWindow.setGeometry(0, 0, Columns * LabelWidth, 800);
        for (int I = 0; I < LabelCount; ++I) {
            auto* Label = new QLabel(&FWindow);
            Label->setGeometry(LabelLeft(I), LabelTop(I), LabelWidth, LabelHeight);
            FSources.push_back(QByteArray::fromStdString(EnglishText(I)));
            FLabels.push_back(Label);
        }
        Retranslate();
        FWindow.show();
        QCoreApplication::processEvents();
    }
    ~TQtLabelForm() { QCoreApplication::removeTranslator(&FGerman); }
    void Switch(bool German) {
        SwitchQtLanguage(FGerman, German, [this] { Retranslate(); });
    }
    String Shown(int I) const { return FLabels[I]->text().toStdString(); }

private:
    void Retranslate() {
        for (int I = 0; I < LabelCount; ++I)
            FLabels[I]->setText(QCoreApplication::translate("LabelForm", FSources[I].constData()));
    }

    QTemporaryDir FDir;
    QTranslator FGerman;
    QWidget FWindow;
    std::vector<QLabel*> FLabels;
    std::vector<QByteArray> FSources;
};

template <class Form> void SwitchLabels(benchmark::State& State) {
    Form Shown;
    bool German = false;
    for (auto _ : State) {
        German = !German;
        Shown.Switch(German);
    }
    const int Last = LabelCount - 1;
    if (Shown.Shown(Last) != (German ? GermanText(Last) : EnglishText(Last)))
        State.SkipWithError("the labels do not show the language switched to");
    State.counters["labels"] = LabelCount;
}

void BM_SwitchLabels_Glossa(benchmark::State& State) {
    SwitchLabels<TLabelForm>(State);
}
void BM_SwitchLabels_QtTranslator(benchmark::State& State) {
    SwitchLabels<TQtLabelForm>(State);
}

BENCHMARK(BM_SwitchLabels_Glossa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchLabels_QtTranslator)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orlo
