// Orlo Notes: the multilingual demo as real windows. Every window is read
// from its form file under examples/windowed/forms, with a TGlossa that holds
// its texts in several languages:
//   - the main window (English, Deutsch, Français) with a menu, a tool bar
//     whose buttons share the menu's clicks, a status bar, a language combo
//     box, labels, buttons and a memo; its language and window placement are
//     kept between runs by a configuration file component (windowed.cfg),
//     and "Kept properties..." opens the property picker on what it keeps;
//   - the named-strings window, a grid of the main window's named strings in
//     the current language;
//   - the settings dialog (English, Deutsch), on the form base class with a
//     button panel and a history combo box; it shares the main window's
//     language frame and keeps its texts when the frame switches to French;
//   - the report window, in the language domain "Reports" with a combo box of
//     its own: switching it leaves the main window alone;
//   - message boxes in the language of the window that asks.
//
//   windowed [--config FILE] [language]  opens the main window
//   windowed --screenshots DIR [language] walks through every window in every
//                                         language without a user, saves a PNG
//                                         of each in DIR and prints the paths

#include "examples/ExampleMain.h"
#include "examples/windowed/NotesWindows.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"

#include <QPixmap>
#include <QWidget>

#include <iostream>
#include <vector>

namespace example {

using namespace orlo;

// --- The walk through every window without a user -----------------------------------

const char* const Languages[] = {"English", "Deutsch", "Français"};

class TScreenshots {
public:
    explicit TScreenshots(String Folder) : FFolder(std::move(Folder)) {
        if (!ForceDirectories(FFolder))
            throw EInOutError("Cannot create the folder " + FFolder);
    }

    void Take(TWinControl* Window, const String& Name) {
        const String Path = FFolder + "/" + Name + ".png";
        if (!Window->Handle()->grab().save(QString::fromStdString(Path), "PNG"))
            throw EInOutError("Cannot write " + Path);
        std::cout << Path << "\n";
    }

    // Shows every window of the program in every language, answering the
    // modal ones in place of a user.
    void Walk() {
        TNotesForm::ConfigFileName = FFolder + "/windowed.cfg";
        DeleteFile(TNotesForm::ConfigFileName);
        TNotesForm* Main = nullptr;
        Application->CreateForm(Main);
        Main->Show();
        Main->ReportButtonClick(Main);
        Main->StringsItemClick(Main);
        for (const char* Language : Languages) {
            const String Tag = LowerCase(String(Language).substr(0, 2));
            Main->Glossa->SetLanguage(Language);
            Main->Report->Glossa->SetLanguage(Language);
            Application->ProcessMessages();
            Take(Main, "main-" + Tag);
            Take(Main->Report, "report-" + Tag);
            Take(Main->Strings, "strings-" + Tag);
            Answer([&](TCustomForm* Picker) {
                Take(Picker, "picker-" + Tag);
                Picker->SetModalResult(mrCancel);
            });
            Main->PickItemClick(Main);
            Answer([&](TCustomForm* Dialog) {
                Take(Dialog, "settings-" + Tag);
                Dialog->SetModalResult(mrCancel);
            });
            Main->SettingsButtonClick(Main);
            Answer([&](TCustomForm* Box) {
                Take(Box, "about-" + Tag);
                Box->PressKey(VK_RETURN);
            });
            Main->AboutButtonClick(Main);
            Answer([&](TCustomForm* Box) {
                Take(Box, "close-question-" + Tag);
                Box->PressKey(VK_ESCAPE); // the question has no cancel button: it stays
                static_cast<TMyMsgForm*>(Box)->ButtonPanel->Buttons()->Items(1)->Button()->Click();
            });
            Main->Close();
        }
        Application->SetModalRunner({});
        Main->Glossa->SetLanguage("Deutsch");
        Main->Free(); // its OnDestroy keeps the language in the configuration file
        CheckKeptLanguage("Deutsch");
    }

    // The next run starts in the language the last one ended with.
    void CheckKeptLanguage(const String& Expected) {
        DefineStartupLanguage("English");
        TNotesForm* Next = nullptr;
        Application->CreateForm(Next);
        const String Found = Next->Glossa->GetLanguage();
        delete Next;
        if (Found != Expected)
            throw Exception("The configuration file gave " + Found + " instead of " + Expected);
    }

private:
    void Answer(TModalRunner Runner) { Application->SetModalRunner(std::move(Runner)); }

    String FFolder;
};

int Run(int argc, char** argv) {
    std::vector<String> Args(argv + 1, argv + argc);
    if (Args.size() >= 2 && Args[0] == "--screenshots") {
        if (Args.size() >= 3)
            DefineStartupLanguage(Args[2]);
        Application->Initialize();
        TScreenshots(Args[1]).Walk();
        return 0;
    }
    RunNotes(Args);
    return 0;
}

} // namespace example

int main(int argc, char** argv) {
    return example::RunProgram("windowed", example::Run, argc, argv);
}
