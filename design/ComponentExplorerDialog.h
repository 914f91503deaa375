#pragma once
// The property picker: a dialog with two trees side by side, the properties
// of a form's components that could be picked (left) and those picked
// (right). OK writes the picked ones back into an entry collection: entries
// that stay keep everything they hold (a language manager's values), entries
// no longer picked go, new ones are added.
//
//   TComponentExplorerDialog Dialog(nullptr);
//   Dialog.HelpContext = 7000;
//   if (Dialog.ExecuteEx(Form, Manager->Comps(), TConsistentLangPropertyEntry::StaticClass()))
//       Manager->SyncCount(cmInitDefault);
//
// The dialog speaks English and German: its form has its own TGlossa in the
// package's private language domain.

#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/Glossa.h"
#include "widgets/ButtonPanel.h"
#include "widgets/SuperForm.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace orlo {

// The language domain of the package's own dialogs.
inline constexpr const char* PrivateGlossaDomain = ".Private Orlo Domain";

// Looks up a text by name in the current language.
using TTextLookup = std::function<String(const String& Name)>;

// The explorer control: filter and sort controls above the two trees, the
// buttons that move properties between them, and an information bar below.
// Tree nodes carry their entry (TBaseEntry*) as Data.
class TComponentExplorer : public TCustomPanel {
    ORLO_CLASS(TComponentExplorer, TCustomPanel)
public:
    explicit TComponentExplorer(TComponent* AOwner);
    ~TComponentExplorer() override;

    // The explorer's own settings; SetSettings copies and shows them.
    TCESettings* Settings() const noexcept { return FSettings.get(); }
    void SetSettings(TCESettings* Value);
    // Offers the properties of Root's components, with the entries of Picked
    // (copied; Picked itself is not touched) already picked. New entries are
    // of the property entry class PropClass (TPropertyEntry when nil).
    void Init(TComponent* Root, TComponentEntries* Picked, TClass PropClass);
    // Makes Target hold exactly the picked property entries: those it has
    // keep their objects, missing ones are copied in, the others go, and
    // component and sub-object entries left empty go too. Entries that are no
    // properties of the form (a string table, stNoValidate) are never touched.
    void WriteTo(TComponentEntries* Target) const;

    TComponentEntries* Available() const noexcept { return FAvailable.get(); }
    TComponentEntries* Picked() const noexcept { return FPicked.get(); }

    // What the buttons do: move the selected entry (a property, or every
    // property of a component or sub-object) or all of them.
    void AddSelected();
    void AddAll();
    void RemoveSelected();
    void RemoveAll();
    // Offers the properties again after the filter settings changed.
    void Refilter();
    // The information bar's text for the selected node of either tree.
    String InfoText() const;

    // Shows the texts of the current language.
    void SetTexts(const TTextLookup& Lookup);

    TPanel* FilterPanel = nullptr;
    // Caption, Hint, Strings, Text, User, All, Assigned: one per TPropFilterEnum.
    std::array<TCheckBox*, 7> FilterChecks{};
    TEdit* FilterEdit = nullptr;
    TPanel* SortPanel = nullptr;
    TRadioButton* SortByNameRadio = nullptr;
    TRadioButton* SortByTypeRadio = nullptr;
    TPanel* SourcePanel = nullptr;
    TLabel* SourceLabel = nullptr;
    TTreeView* SourceTree = nullptr;
    TPanel* MovePanel = nullptr;
    TButton* AddButton = nullptr;
    TButton* AddAllButton = nullptr;
    TButton* RemoveButton = nullptr;
    TButton* RemoveAllButton = nullptr;
    TPanel* DestPanel = nullptr;
    TLabel* DestLabel = nullptr;
    TTreeView* DestTree = nullptr;
    TPanel* InfoBar = nullptr;

protected:
    void Resize() override;

private:
    template <class C> C* MakeChild(TWinControl* Parent, TAlign Align);
    void MakeFilterControls();
    void MakeTrees();
    void MakeMoveButtons();
    void ShowSettings();
    void ShowTrees();
    void ShowTree(TTreeView* Tree, TComponentEntries* Entries);
    void ShowInfo();
    // Moves the property entries into Dest and drops what From has left empty.
    void MoveProperties(const std::vector<TPropertyEntry*>& Props, TComponentEntries* From,
                        TComponentEntries* Dest);
    void MoveSelected(TTreeView* Tree, TComponentEntries* From, TComponentEntries* Dest);
    TBaseEntry* SelectedEntry(TTreeView* Tree) const;

    // Handlers of the child controls.
    void FilterClick(TObject* Sender);
    void FilterEditChange(TObject* Sender);
    void SortClick(TObject* Sender);
    void MoveClick(TObject* Sender);
    void TreeChange(TObject* Sender, TTreeNode* Node);
    void TreeDblClick(TObject* Sender);

    std::unique_ptr<TCESettings> FSettings;
    std::unique_ptr<TComponentEntries> FAvailable;
    std::unique_ptr<TComponentEntries> FPicked;
    TComponent* FRoot = nullptr;
    TClass FPropClass = nullptr;
    TTextLookup FLookup;
    // The tree whose selection the information bar describes.
    TTreeView* FInfoTree = nullptr;
    // Set while controls are filled from the settings: their events are ours.
    bool FShowing = false;
};

// The dialog's form: the explorer, the OK/Cancel/Help buttons and the TGlossa
// holding the texts.
class TComponentExplorerForm : public TSuperForm {
    ORLO_CLASS(TComponentExplorerForm, TSuperForm)
public:
    explicit TComponentExplorerForm(TComponent* AOwner) : TSuperForm(AOwner) {}

    TComponentExplorer* Explorer = nullptr;
    TButtonPanel* ButtonPanel = nullptr;
    TGlossa* Glossa = nullptr;

    // The form's help context (also for F1); the help button works only with one.
    void UseHelpContext(Integer Context);
    TButtonItem* HelpButton() const;

    void FormCreate(TObject* Sender);
    void GlossaChange(TObject* Sender);

private:
    void ShowTexts();
};

class TComponentExplorerDialog : public TCommonDialog {
    ORLO_CLASS(TComponentExplorerDialog, TCommonDialog)
public:
    explicit TComponentExplorerDialog(TComponent* AOwner);
    ~TComponentExplorerDialog() override;

    TCESettings* Settings() const noexcept { return FSettings.get(); }
    void SetSettings(TCESettings* Value) { FSettings->Assign(Value); }

    // Shows the picker for the remembered root and target entries; on OK
    // takes back the settings and writes the picked entries. True on OK; a
    // dialog freed by its own show or close handler applies nothing.
    bool Execute() override;
    // Remembers the three arguments, runs Execute, and forgets them again,
    // whatever the result and also when Execute fails.
    bool ExecuteEx(TComponent* Root, TComponentEntries* Entries, TClass EntryClass);

    TComponent* Root() const noexcept { return FRoot; }
    TComponentEntries* Entries() const noexcept { return FEntries; }
    TClass EntryClass() const noexcept { return FEntryClass; }

protected:
    bool ExecuteSystem() override;
    bool ExecuteForm() override;

private:
    std::unique_ptr<TCESettings> FSettings;
    TComponent* FRoot = nullptr;
    TComponentEntries* FEntries = nullptr;
    TClass FEntryClass = nullptr;
    TComponentExplorerForm* FForm = nullptr; // while Execute shows it
};

} // namespace orlo
