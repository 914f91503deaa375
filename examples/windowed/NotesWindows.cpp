#include "examples/windowed/NotesWindows.h"

namespace example {

ORLO_PUBLISHED(TReportWindow, "Windowed") {
    P.Field("HeadingLabel", &TReportWindow::HeadingLabel);
    P.Field("SummaryLabel", &TReportWindow::SummaryLabel);
    P.Field("LanguageLabel", &TReportWindow::LanguageLabel);
    P.Field("LanguageCombo", &TReportWindow::LanguageCombo);
    P.Field("CloseButton", &TReportWindow::CloseButton);
    P.Field("Glossa", &TReportWindow::Glossa);
    P.Method<&TReportWindow::CloseButtonClick>("CloseButtonClick");
}

ORLO_PUBLISHED(TSettingsDialog, "Windowed") {
    P.Field("FolderLabel", &TSettingsDialog::FolderLabel);
    P.Field("FolderCombo", &TSettingsDialog::FolderCombo);
    P.Field("SaveOnExit", &TSettingsDialog::SaveOnExit);
    P.Field("ButtonPanel", &TSettingsDialog::ButtonPanel);
    P.Field("Glossa", &TSettingsDialog::Glossa);
}

ORLO_PUBLISHED(TStringsWindow, "Windowed") {
    P.Field("Grid", &TStringsWindow::Grid);
    P.Field("CloseButton", &TStringsWindow::CloseButton);
    P.Field("Glossa", &TStringsWindow::Glossa);
    P.Method<&TStringsWindow::CloseButtonClick>("CloseButtonClick");
}

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

void RunNotes(std::vector<String> Args) {
    if (Args.size() >= 2 && Args[0] == "--config") {
        TNotesForm::ConfigFileName = Args[1];
        Args.erase(Args.begin(), Args.begin() + 2);
    }
    if (!Args.empty())
        DefineStartupLanguage(Args[0]);
    Application->Initialize();
    TNotesForm* Main = nullptr;
    Application->CreateForm(Main);
    Application->Run();
}

} // namespace example
