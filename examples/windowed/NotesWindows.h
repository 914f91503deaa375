#pragma once
// The windows of Orlo Notes, each read from its form file under
// examples/windowed/forms (see windowed.cpp for what each one shows).

#include "config/ConfigFile.h"
#include "design/ComponentExplorerDialog.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Grids.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/os/FilePaths.h"
#include "runtime/Glossa.h"
#include "runtime/LangComboBox.h"
#include "widgets/ButtonPanel.h"
#include "widgets/MRUComboBox.h"
#include "widgets/MsgBox.h"
#include "widgets/SuperForm.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace example {

using namespace orlo;

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

// Opens the main window as the command line "[--config FILE] [language]" asks
// and returns when the user has closed it.
void RunNotes(std::vector<String> Args);

} // namespace example
