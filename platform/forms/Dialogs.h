#pragma once
// Common dialogs: opening and saving files, and a folder browser of the
// platform's own (with a changeable status text, an OK button that can be
// disabled, and callbacks when it opens and when the selection changes).
//
// In a live program the file dialogs are Qt's; while the application has a
// modal runner (tests) they show a small form of their own instead ("OpenDialog"
// or "SaveDialog": edit "FileName", combo box "Filter", buttons "OK" and
// "Cancel"), so every path is reachable without a display.

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
    // Shows the dialog modally; true when the user confirmed.
    virtual bool Execute() = 0;
    bool Ctl3D = true;
    Integer HelpContext = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void DoShow();
    void DoClose();
};

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
    bool Execute() override;

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

private:
    bool ExecuteQt();
    bool ExecuteForm();
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
