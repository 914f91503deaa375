// The accelerators of Orlo Notes in every language: Alt and a letter must
// reach one control of a window (the window system clicks nothing when two
// buttons share it: it moves the focus between them), and a label's
// accelerator must lead somewhere; within one menu, each letter names one item.

#include "examples/windowed/NotesWindows.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace orlo::test {
namespace {

using namespace example;

// Who answers each Alt+letter of a window: its captions, keyed by the letter.
using TAccelerators = std::multimap<Word, String>;

void CollectControls(const TWinControl* Parent, TAccelerators& Keys, std::vector<String>& Dead) {
    for (Integer I = 0; I < Parent->ControlCount(); ++I) {
        TControl* Control = Parent->Controls(I);
        const Word Key = AccelKeyOf(Control->Caption());
        if (auto* Label = dynamic_cast<TCustomLabel*>(Control)) {
            if (Key != 0 && !Label->FocusControl)
                Dead.push_back(Label->Caption());
            else if (Key != 0)
                Keys.emplace(Key, Label->Caption());
        } else if ((dynamic_cast<TButtonControl*>(Control) ||
                    dynamic_cast<TToolButton*>(Control)) &&
                   Key != 0) {
            Keys.emplace(Key, Control->Caption());
        }
        if (auto* Child = dynamic_cast<TWinControl*>(Control))
            CollectControls(Child, Keys, Dead);
    }
}

void CollectItems(const TMenuItem* Menu, TAccelerators& Keys) {
    for (Integer I = 0; I < Menu->Count(); ++I)
        if (const Word Key = AccelKeyOf(Menu->Items(I)->Caption()); Key != 0)
            Keys.emplace(Key, Menu->Items(I)->Caption());
}

// "S: &Settings / &Save" for every letter taken twice.
String Clashes(const TAccelerators& Keys) {
    String Found;
    for (auto It = Keys.begin(); It != Keys.end(); It = Keys.upper_bound(It->first)) {
        if (Keys.count(It->first) < 2)
            continue;
        Found += String(1, static_cast<char>(It->first)) + ":";
        for (auto [Same, End] = Keys.equal_range(It->first); Same != End; ++Same)
            Found += " " + Same->second;
        Found += "; ";
    }
    return Found;
}

void ExpectDistinctAccelerators(TCustomForm& Form, const char* Language) {
    TAccelerators WindowKeys;
    std::vector<String> Dead;
    CollectControls(&Form, WindowKeys, Dead);
    if (TMainMenu* Menu = Form.Menu()) {
        CollectItems(Menu->Items(), WindowKeys);
        for (Integer I = 0; I < Menu->Items()->Count(); ++I) {
            TAccelerators MenuKeys;
            CollectItems(Menu->Items()->Items(I), MenuKeys);
            EXPECT_EQ(Clashes(MenuKeys), "")
                << Form.Name() << ", " << Language << ", " << Menu->Items()->Items(I)->Caption();
        }
    }
    EXPECT_EQ(Clashes(WindowKeys), "") << Form.Name() << ", " << Language;
    EXPECT_TRUE(Dead.empty()) << Form.Name() << ", " << Language << ": a label's accelerator leads "
                              << "nowhere: " << (Dead.empty() ? String() : Dead[0]);
}

TEST(NotesAcceleratorsTest, EveryWindowInEveryLanguageHasEachLetterOnce) {
    Application->Initialize();
    TTempFolder Folder;
    TNotesForm::ConfigFileName = Folder.File("windowed.cfg");
    std::unique_ptr<TNotesForm> Main(TCustomForm::Create<TNotesForm>(nullptr));
    std::unique_ptr<TSettingsDialog> Settings(TCustomForm::Create<TSettingsDialog>(nullptr));
    std::unique_ptr<TStringsWindow> Strings(TCustomForm::Create<TStringsWindow>(nullptr));
    std::unique_ptr<TReportWindow> Report(TCustomForm::Create<TReportWindow>(nullptr));
    for (const char* Language : {"English", "Deutsch", "Français"}) {
        Main->Glossa->SetLanguage(Language);
        Report->Glossa->SetLanguage(Language);
        for (TCustomForm* Form : std::initializer_list<TCustomForm*>{Main.get(), Settings.get(),
                                                                     Strings.get(), Report.get()})
            ExpectDistinctAccelerators(*Form, Language);
    }
    Main->Glossa->SetLanguage("English"); // the language frame outlives the forms
    TNotesForm::ConfigFileName.clear();
}

} // namespace
} // namespace orlo::test
