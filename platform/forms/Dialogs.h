#pragma once
// Common dialogs: opening and saving files, choosing a font, and a folder
// browser of the platform's own (with a changeable status text, an OK button
// that can be disabled, and callbacks when it opens and when the selection
// changes).
//
// In a live program the file and font dialogs are Qt's; while the application
// has a modal runner (tests) they show a small form of their own instead
// ("OpenDialog" or "SaveDialog": edit "FileName", combo box "Filter", buttons
// "OK" and "Cancel"; "FontDialog": see TFontDialog), so every path is
// reachable without a display.

#include "platform/classes/Strings.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

class QTreeView;
class QFileSystemModel;

namespace orlo {

class TCommonDialog : public TComponent {
    ORLO_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCommonDialog() override;
    // Shows the dialog modally between OnShow and OnClose; true when the
    // user confirmed. The system's dialog in a live program, the form of
    // the platform's own while a modal runner answers. A handler that frees
    // the dialog meanwhile ends it with false.
    virtual bool Execute();
    bool Ctl3D = true;
    Integer HelpContext = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void DoShow();
    void DoClose();
    virtual bool ExecuteSystem() = 0;
    virtual bool ExecuteForm() = 0;
    // False once the dialog is freed, for code that runs on after a handler.
    const std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The text of the platform's own dialogs in the user's language: German
// when the user's default language is German, else English.
String LocalText(const char* English, const char* German);

ORLO_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
          ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist,
          ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton,
          ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify,
          ofEnableSizing)
ORLO_SET(TOpenOptions, TOpenOption)

// One filter of a Filter text "Text files (*.txt)|*.txt|All files (*.*)|*.*".
struct TFileFilter {
    String Description;
    String Masks; // "*.txt;*.text"
};
std::vector<TFileFilter> ParseFilter(const String& Filter);
// Qt's form of a filter list: "Text files (*.txt);;All files (*.*)".
String QtFilterText(const std::vector<TFileFilter>& Filters);

class TOpenDialog : public TCommonDialog {
    ORLO_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    String DefaultExt;
    String FileName;
    String Filter;
    Integer FilterIndex = 1;
    String InitialDir;
    TOpenOptions Options{ofHideReadOnly};
    String Title;
    // The chosen files (several with ofAllowMultiSelect).
    TStrings* Files() const noexcept { return FFiles.get(); }

protected:
    virtual bool IsSave() const { return false; }
    bool ExecuteSystem() override;
    bool ExecuteForm() override;

private:
    // FileName with the default extension when it has none.
    String WithDefaultExt(const String& Name) const;

    std::unique_ptr<TStringList> FFiles;
};

class TSaveDialog : public TOpenDialog {
    ORLO_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSave() const override { return true; }
};

ORLO_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly,
          fdForceFontExist, fdNoFaceSel, fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel,
          fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton)
ORLO_SET(TFontDialogOptions, TFontDialogOption)

// Lets the user choose a font: the name, the size in points and the style
// (bold, italic; underline and strike-out with fdEffects). Font goes in and,
// when the user confirms, comes out changed; a cancelled dialog leaves it as
// it was. Its colour, pitch and character set are kept. With fdLimitSize the
// size must lie between MinFontSize and MaxFontSize.
//
// The form of the platform's own is "FontDialog": combo box "FontName", edit
// "FontSize", check boxes "Bold", "Italic", "Underline", "StrikeOut", label
// "Sample", buttons "OK", "Cancel" and, with fdShowHelp, "Help" (help at
// HelpContext). Its texts are English or German (LocalText). OK with a size
// that is no whole number in range shows "Size must be a number between %d
// and %d." and keeps the dialog open.
class TFontDialog : public TCommonDialog {
    ORLO_CLASS(TFontDialog, TCommonDialog)
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    TFont* Font() const noexcept { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFontDialogOptions Options{fdEffects};
    Integer MinFontSize = 0;
    Integer MaxFontSize = 0;
    // The sizes the dialog accepts: MinFontSize..MaxFontSize with
    // fdLimitSize, else 1..1638.
    std::pair<Integer, Integer> SizeRange() const;

protected:
    bool ExecuteSystem() override;
    bool ExecuteForm() override;

private:
    std::unique_ptr<TFont> FFont;
};

// A tree of the folders below a root folder.
class TFolderTree : public TWinControl {
    ORLO_CLASS(TFolderTree, TWinControl)
public:
    explicit TFolderTree(TComponent* AOwner);
    ~TFolderTree() override;

    const String& Root() const noexcept { return FRoot; }
    void SetRoot(const String& Value);
    // The selected folder's path, "" when none.
    const String& Path() const noexcept { return FPath; }
    // Selects a folder; what the user does by clicking it. Fires OnChange.
    void SetPath(const String& Value);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    Integer BackgroundRole() const override;

private:
    void ApplyPath();
    QTreeView* View() const;

    String FRoot = "/";
    String FPath;
    QFileSystemModel* FModel = nullptr; // owned by the view's widget
};

// The folder browser: a title above a tree of folders, a status line, OK
// and Cancel. Execute shows it modally and answers whether OK was pressed.
class TFolderBrowser : public TForm {
    ORLO_CLASS(TFolderBrowser, TForm)
public:
    explicit TFolderBrowser(TComponent* AOwner);

    // The instruction text above the tree.
    void SetTitle(const String& Value) { TitleLabel->SetCaption(Value); }
    String Title() const { return TitleLabel->Caption(); }
    void SetStatusText(const String& Value) { StatusLabel->SetCaption(Value); }
    String StatusText() const { return StatusLabel->Caption(); }
    void SetRoot(const String& Value) { Tree->SetRoot(Value); }
    String Root() const { return Tree->Root(); }
    // Selects a folder as the user would (fires OnSelectionChange).
    void SetSelection(const String& Path) { Tree->SetPath(Path); }
    String Selection() const { return Tree->Path(); }
    void EnableOK(bool Value) { OkButton->SetEnabled(Value); }
    bool OKEnabled() const { return OkButton->Enabled(); }
    bool Execute();

    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelectionChange;

    TLabel* TitleLabel;
    TFolderTree* Tree;
    TLabel* StatusLabel;
    TButton* OkButton;
    TButton* CancelButton;

protected:
    void DoShow() override;

private:
    void TreeChange(TObject* Sender);
};

// The folder of a special-folder number (0 desktop, 5 documents, 17 the
// computer, 20 fonts, ...) on this platform; the home folder for the rest.
String SpecialFolderPath(Integer FolderId);

} // namespace orlo
