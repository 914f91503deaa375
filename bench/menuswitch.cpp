// Switching a shown window's menu (200 items with captions and hints), tool
// bar (20 buttons with captions and hints) and status bar (4 panels) between
// English and German, two ways in one program:
//   - TGlossa: a form with TMainMenu, TToolBar and TStatusBar whose language
//     data holds both languages; one SetLanguage per switch;
//   - Qt's own way: a window with a QMenuBar of QMenus and QActions, a row of
//     QToolButtons and four QLabels; a QTranslator loaded from a .qm file that
//     lrelease made from a .ts file written here, installTranslator or
//     removeTranslator, then setText/setStatusTip/setToolTip with
//     QCoreApplication::translate on each action, button and label, as uic's
//     retranslateUi does.
// Each switch ends with the pending events handled (the bars repaint).
// Goal: TGlossa at most 1.0 x Qt's time.

#include "bench/BilingualGlossa.h"
#include "bench/GermanQm.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace orlo {
namespace {

constexpr int MenuCount = 10;
constexpr int ItemsPerMenu = 19; // with the 10 menus themselves: 200 items
constexpr int ButtonCount = 20;
constexpr int PanelCount = 4;

// Every text of the window in English and German: the menus, their items
// and the buttons each have a caption and a hint.
using TTexts = std::vector<std::pair<String, String>>;

String MenuCaption(int M, bool German) {
    return Format(German ? "&Menü %d" : "&Menu %d", M);
}
String ItemCaption(int M, int I, bool German) {
    return Format(German ? "Eintrag %d.%d" : "Item %d.%d", M, I);
}
String ItemHint(int M, int I, bool German) {
    return Format(German ? "Eintrag %d.%d|Führt Eintrag %d.%d aus" : "Item %d.%d|Runs item %d.%d",
                  M, I, M, I);
}
String ButtonCaption(int B, bool German) {
    return Format(German ? "Knopf %d" : "Button %d", B);
}
String ButtonHint(int B, bool German) {
    return Format(German ? "Knopf %d|Drückt Knopf %d" : "Button %d|Presses button %d", B, B);
}
String PanelText(int P, bool German) {
    return Format(German ? "Feld %d" : "Panel %d", P);
}

TTexts AllTexts() {
    TTexts Texts;
    for (int M = 0; M < MenuCount; ++M) {
        Texts.emplace_back(MenuCaption(M, false), MenuCaption(M, true));
        for (int I = 0; I < ItemsPerMenu; ++I) {
            Texts.emplace_back(ItemCaption(M, I, false), ItemCaption(M, I, true));
            Texts.emplace_back(ItemHint(M, I, false), ItemHint(M, I, true));
        }
    }
    for (int B = 0; B < ButtonCount; ++B) {
        Texts.emplace_back(ButtonCaption(B, false), ButtonCaption(B, true));
        Texts.emplace_back(ButtonHint(B, false), ButtonHint(B, true));
    }
    for (int P = 0; P < PanelCount; ++P)
        Texts.emplace_back(PanelText(P, false), PanelText(P, true));
    return Texts;
}

// --- TGlossa ------------------------------------------------------------------------

class TBarsForm {
public:
    TBarsForm() {
        Application->Initialize();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(0, 0, 1200, 300);
        Build(false);
        FGlossa = MakeBilingualGlossa(FForm.get(), [this] { Build(true); });
        FForm->Show();
        QCoreApplication::processEvents();
    }
    void Switch(bool German) {
        FGlossa->SetLanguage(German ? "Deutsch" : "English");
        QCoreApplication::processEvents();
    }
    String LastItemText() const { return FItems.back()->Caption(); }

private:
    // Makes the menu, tool bar and status bar, or (Again) gives them the texts of the language.
    void Build(bool German) {
        const bool Again = !FItems.empty();
        if (!Again) {
            FMenu = new TMainMenu(FForm.get());
            FForm->SetMenu(FMenu);
            FToolBar = new TToolBar(FForm.get());
            FToolBar->SetParent(FForm.get());
            FToolBar->SetShowHint(true);
            FStatusBar = new TStatusBar(FForm.get());
            FStatusBar->SetParent(FForm.get());
        }
        size_t Next = 0;
        for (int M = 0; M < MenuCount; ++M) {
            TMenuItem* Menu = Again ? FItems[Next++] : NewItem(FMenu->Items(), Format("Menu%d", M));
            Menu->SetCaption(MenuCaption(M, German));
            for (int I = 0; I < ItemsPerMenu; ++I) {
                TMenuItem* Item = Again ? FItems[Next++] : NewItem(Menu, Format("Item%d_%d", M, I));
                Item->SetCaption(ItemCaption(M, I, German));
                Item->SetHint(ItemHint(M, I, German));
            }
        }
        for (int B = 0; B < ButtonCount; ++B) {
            if (!Again) {
                auto* Button = new TToolButton(FForm.get());
                Button->SetName(Format("Button%d", B));
                Button->SetParent(FToolBar);
            }
            TToolButton* Button = FToolBar->Buttons(B);
            Button->SetCaption(ButtonCaption(B, German));
            Button->SetHint(ButtonHint(B, German));
        }
        for (int P = 0; P < PanelCount; ++P) {
            if (!Again)
                FStatusBar->Panels()->Add()->SetWidth(150);
            FStatusBar->Panels()->Items(P)->SetText(PanelText(P, German));
        }
    }
    TMenuItem* NewItem(TMenuItem* Parent, const String& Name) {
        auto* Item = new TMenuItem(FForm.get());
        Item->SetName(Name);
        Parent->Add(Item);
        FItems.push_back(Item);
        return Item;
    }

    std::unique_ptr<TForm> FForm;
    TMainMenu* FMenu = nullptr;
    TToolBar* FToolBar = nullptr;
    TStatusBar* FStatusBar = nullptr;
    std::vector<TMenuItem*> FItems;
    TGlossa* FGlossa = nullptr;
};

// --- Qt -----------------------------------------------------------------------------

class TQtBarsForm {
public:
    TQtBarsForm() {
        Application->Initialize();
        if (!FGerman.load(MakeGermanQm(FDir, "BarsForm", AllTexts())))
            throw std::runtime_error("cannot load the .qm file");
        FWindow.setGeometry(0, 0, 1200, 300);
        auto* Layout = new QVBoxLayout(&FWindow);
        auto* Bar = new QMenuBar(&FWindow);
        Bar->setNativeMenuBar(false);
        Layout->setMenuBar(Bar);
        for (int M = 0; M < MenuCount; ++M) {
            QMenu* Menu = Bar->addMenu(QString());
            FMenus.push_back(Menu);
            for (int I = 0; I < ItemsPerMenu; ++I)
                FActions.push_back(Menu->addAction(QString()));
        }
        auto* Tools = new QWidget(&FWindow);
        auto* Row = new QHBoxLayout(Tools);
        for (int B = 0; B < ButtonCount; ++B) {
            auto* Button = new QToolButton(Tools);
            Button->setAutoRaise(true);
            Row->addWidget(Button);
            FButtons.push_back(Button);
        }
        Layout->addWidget(Tools);
        Layout->addStretch();
        auto* Status = new QWidget(&FWindow);
        auto* Panels = new QHBoxLayout(Status);
        for (int P = 0; P < PanelCount; ++P) {
            auto* Label = new QLabel(Status);
            Label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            Panels->addWidget(Label);
            FLabels.push_back(Label);
        }
        Layout->addWidget(Status);
        Retranslate();
        FWindow.show();
        QCoreApplication::processEvents();
    }
    ~TQtBarsForm() { QCoreApplication::removeTranslator(&FGerman); }
    void Switch(bool German) {
        SwitchQtLanguage(FGerman, German, [this] { Retranslate(); });
    }
    String LastItemText() const { return FActions.back()->text().toStdString(); }

private:
    static QString Tr(const String& Source) {
        return QCoreApplication::translate("BarsForm", Source.c_str());
    }
    // What retranslateUi does: every text through the translator again.
    void Retranslate() {
        size_t Next = 0;
        for (int M = 0; M < MenuCount; ++M) {
            FMenus[M]->setTitle(Tr(MenuCaption(M, false)));
            for (int I = 0; I < ItemsPerMenu; ++I) {
                QAction* Action = FActions[Next++];
                Action->setText(Tr(ItemCaption(M, I, false)));
                const QString Hint = Tr(ItemHint(M, I, false));
                Action->setStatusTip(Hint.section('|', 1));
                Action->setToolTip(Hint.section('|', 0, 0));
            }
        }
        for (int B = 0; B < ButtonCount; ++B) {
            FButtons[B]->setText(Tr(ButtonCaption(B, false)));
            FButtons[B]->setToolTip(Tr(ButtonHint(B, false)).section('|', 0, 0));
        }
        for (int P = 0; P < PanelCount; ++P)
            FLabels[P]->setText(Tr(PanelText(P, false)));
    }

    QTemporaryDir FDir;
    QTranslator FGerman;
    QWidget FWindow;
    std::vector<QMenu*> FMenus;
    std::vector<QAction*> FActions;
    std::vector<QToolButton*> FButtons;
    std::vector<QLabel*> FLabels;
};

template <class Form> void SwitchBars(benchmark::State& State) {
    Form Shown;
    bool German = false;
    for (auto _ : State) {
        German = !German;
        Shown.Switch(German);
    }
    const String Expected = ItemCaption(MenuCount - 1, ItemsPerMenu - 1, German);
    if (Shown.LastItemText() != Expected)
        State.SkipWithError("the menu does not show the language switched to");
    State.counters["items"] = MenuCount * (ItemsPerMenu + 1);
}

void BM_SwitchBars_Glossa(benchmark::State& State) {
    SwitchBars<TBarsForm>(State);
}
void BM_SwitchBars_QtTranslator(benchmark::State& State) {
    SwitchBars<TQtBarsForm>(State);
}

BENCHMARK(BM_SwitchBars_Glossa)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwitchBars_QtTranslator)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orlo
