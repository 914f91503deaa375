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

#include "config/ConfigFile.h"
#include "design/ComponentExplorerDialog.h"
#include "examples/ExampleMain.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Grids.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/Glossa.h"
#include "runtime/LangComboBox.h"
#include "widgets/ButtonPanel.h"
#include "widgets/MRUComboBox.h"
#include "widgets/MsgBox.h"
#include "widgets/SuperForm.h"

#include <QPixmap>
#include <QWidget>

#include <iostream>
#include <memory>
#include <vector>

namespace example {

using namespace orlo;

// --- The windows ------------------------------------------------------------------

class TReportWindow : public TForm {
    ORLO_CLASS(TReportWindow, TForm)
public:
    explicit TReportWindow(TComponent* AOwner) : TForm(AOwner) {}
    TLabel* HeadingLabel = nullptr;
    TLabel* SummaryLabel = nullptr;
    TLabel* LanguageLabel = nullptr;
    TLangComboBox* LanguageCombo = nullptr;
    TButton* CloseButton = nullptr;
    TGlossa* Glossa = nullptr;
    void CloseButtonClick(TObject*) { Close(); }
};

ORLO_PUBLISHED(TReportWindow, "Windowed") {
    P.Field("HeadingLabel", &TReportWindow::HeadingLabel);
    P.Field("SummaryLabel", &TReportWindow::SummaryLabel);
    P.Field("LanguageLabel", &TReportWindow::LanguageLabel);
    P.Field("LanguageCombo", &TReportWindow::LanguageCombo);
    P.Field("CloseButton", &TReportWindow::CloseButton);
    P.Field("Glossa", &TReportWindow::Glossa);
    P.Method<&TReportWindow::CloseButtonClick>("CloseButtonClick");
}

class TSettingsDialog : public TSuperForm {
    ORLO_CLASS(TSettingsDialog, TSuperForm)
public:
    explicit TSettingsDialog(TComponent* AOwner) : TSuperForm(AOwner) {}
    TLabel* FolderLabel = nullptr;
    TMRUComboBox* FolderCombo = nullptr;
    TCheckBox* SaveOnExit = nullptr;
    TButtonPanel* ButtonPanel = nullptr;
    TGlossa* Glossa = nullptr;
};

ORLO_PUBLISHED(TSettingsDialog, "Windowed") {
    P.Field("FolderLabel", &TSettingsDialog::FolderLabel);
    P.Field("FolderCombo", &TSettingsDialog::FolderCombo);
    P.Field("SaveOnExit", &TSettingsDialog::SaveOnExit);
    P.Field("ButtonPanel", &TSettingsDialog::ButtonPanel);
    P.Field("Glossa", &TSettingsDialog::Glossa);
}

// The main window's named strings in its current language, one row each.
class TStringsWindow : public TForm {
    ORLO_CLASS(TStringsWindow, TForm)
public:
    explicit TStringsWindow(TComponent* AOwner) : TForm(AOwner) {}
    TStringGrid* Grid = nullptr;
    TButton* CloseButton = nullptr;
    TGlossa* Glossa = nullptr;

    void ShowStrings(const TGlossa* Of) {
        TStringList* Names = Of->LanguageManager()->Names();
        Grid->SetRowCount(std::max<Integer>(2, Names->Count() + 1));
        Grid->SetCells(0, 0, Glossa->GetString("NameColumn"));
        Grid->SetCells(1, 0, Glossa->GetString("TextColumn"));
        for (Integer I = 0; I < Names->Count(); ++I) {
            Grid->SetCells(0, I + 1, Names->Strings(I));
            Grid->SetCells(1, I + 1, Of->GetString(Names->Strings(I)));
        }
        Grid->AutoSizeCol(0);
        Grid->SetColWidths(1, Grid->ClientWidth() - Grid->ColWidths(0));
    }
    void CloseButtonClick(TObject*) { Close(); }
};

ORLO_PUBLISHED(TStringsWindow, "Windowed") {
    P.Field("Grid", &TStringsWindow::Grid);
    P.Field("CloseButton", &TStringsWindow::CloseButton);
    P.Field("Glossa", &TStringsWindow::Glossa);
    P.Method<&TStringsWindow::CloseButtonClick>("CloseButtonClick");
}

class TNotesForm : public TSuperForm {
    ORLO_CLASS(TNotesForm, TSuperForm)
public:
    explicit TNotesForm(TComponent* AOwner) : TSuperForm(AOwner) {}

    // Where the configuration file keeps the settings; empty: beside the program.
    static inline String ConfigFileName;

    TLabel* TitleLabel = nullptr;
    TLabel* LanguageLabel = nullptr;
    TLangComboBox* LanguageCombo = nullptr;
    TMemo* Notes = nullptr;
    TButton* SettingsButton = nullptr;
    TButton* ReportButton = nullptr;
    TButton* AboutButton = nullptr;
    TButton* CloseButton = nullptr;
    TGlossa* Glossa = nullptr;
    TMainMenu* MainMenu = nullptr;
    TToolBar* ToolBar = nullptr;
    TStatusBar* StatusBar = nullptr;
    TConfigFile* Config = nullptr;
    TReportWindow* Report = nullptr;
    TStringsWindow* Strings = nullptr;

    void FormCreate(TObject*) {
        Config->SetFileName(ConfigFileName);
        Config->Load(); // the first run finds nothing: the form's own values stay
        ShowStatus();
    }
    void FormDestroy(TObject*) { Config->Save(); }
    void GlossaChange(TObject*) {
        ShowStatus();
        if (Strings)
            Strings->ShowStrings(Glossa);
    }
    void ShowStatus() {
        StatusBar->Panels()->Items(0)->SetText(Glossa->GetLanguage());
        StatusBar->Panels()->Items(1)->SetText(ExtractFileName(Config->GetConfigFileName()));
    }
    void StringsItemClick(TObject*) {
        if (!Strings)
            Strings = TCustomForm::Create<TStringsWindow>(this);
        Strings->ShowStrings(Glossa);
        Strings->Show();
    }
    // The developer's view of what the configuration file keeps.
    void PickItemClick(TObject*) {
        TComponentExplorerDialog Picker(nullptr);
        if (Picker.ExecuteEx(this, Config->Entries(), TPropertyEntry::StaticClass()))
            Config->Save();
    }

    void SettingsButtonClick(TObject*) {
        std::unique_ptr<TSettingsDialog> Dialog(TCustomForm::Create<TSettingsDialog>(this));
        if (Dialog->ShowModal() == mrOk)
            ShowMessage(Glossa->GetString("Saved"));
    }
    void ReportButtonClick(TObject*) {
        if (!Report)
            Report = TCustomForm::Create<TReportWindow>(this);
        Report->Show();
    }
    void AboutButtonClick(TObject*) {
        Msg(Glossa->GetString("AboutText"), "", mtInformation, {mbOK}, 0);
    }
    void CloseButtonClick(TObject*) { Close(); }
    void FormCloseQuery(TObject*, bool& CanClose) {
        CanClose =
            MessageDlg(Glossa->GetString("CloseQuestion"), mtConfirmation, {mbYes, mbNo}) == mrYes;
    }
};

ORLO_PUBLISHED(TNotesForm, "Windowed") {
    P.Field("TitleLabel", &TNotesForm::TitleLabel);
    P.Field("LanguageLabel", &TNotesForm::LanguageLabel);
    P.Field("LanguageCombo", &TNotesForm::LanguageCombo);
    P.Field("Notes", &TNotesForm::Notes);
    P.Field("SettingsButton", &TNotesForm::SettingsButton);
    P.Field("ReportButton", &TNotesForm::ReportButton);
    P.Field("AboutButton", &TNotesForm::AboutButton);
    P.Field("CloseButton", &TNotesForm::CloseButton);
    P.Field("Glossa", &TNotesForm::Glossa);
    P.Field("MainMenu", &TNotesForm::MainMenu);
    P.Field("ToolBar", &TNotesForm::ToolBar);
    P.Field("StatusBar", &TNotesForm::StatusBar);
    P.Field("Config", &TNotesForm::Config);
    P.Method<&TNotesForm::FormCreate>("FormCreate");
    P.Method<&TNotesForm::FormDestroy>("FormDestroy");
    P.Method<&TNotesForm::GlossaChange>("GlossaChange");
    P.Method<&TNotesForm::StringsItemClick>("StringsItemClick");
    P.Method<&TNotesForm::PickItemClick>("PickItemClick");
    P.Method<&TNotesForm::SettingsButtonClick>("SettingsButtonClick");
    P.Method<&TNotesForm::ReportButtonClick>("ReportButtonClick");
    P.Method<&TNotesForm::AboutButtonClick>("AboutButtonClick");
    P.Method<&TNotesForm::CloseButtonClick>("CloseButtonClick");
    P.Method<&TNotesForm::FormCloseQuery>("FormCloseQuery");
}

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
        delete Main; // keeps the language in the configuration file
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
    String Folder;
    if (Args.size() >= 2 && Args[0] == "--screenshots") {
        Folder = Args[1];
        Args.erase(Args.begin(), Args.begin() + 2);
    }
    if (Args.size() >= 2 && Args[0] == "--config") {
        TNotesForm::ConfigFileName = Args[1];
        Args.erase(Args.begin(), Args.begin() + 2);
    }
    if (!Args.empty())
        DefineStartupLanguage(Args[0]);
    Application->Initialize();
    if (!Folder.empty()) {
        TScreenshots(Folder).Walk();
        return 0;
    }
    TNotesForm* Main = nullptr;
    Application->CreateForm(Main);
    Application->Run();
    return 0;
}

} // namespace example

int main(int argc, char** argv) {
    return example::RunProgram("windowed", example::Run, argc, argv);
}
