#pragma once
// TConfigFile: keeps picked published properties of the components of its
// form between program runs, in an INI file or under a registry key, without
// code. The picked set is an entry tree (Entries) streamed with the form as the
// extra property "Entries"; Load and Save move the current values to and from
// the store through TExIniFile, which exists only while one of them runs. It
// can also keep the window placement of a TSuperForm owner and the published
// properties of an object that OnGetInstance supplies.
//
// Store layout: section = Section, else the owner's class name ("TMainForm"),
// else empty; key = component name + "." + property path ("Font.Name",
// "Buttons[0].Caption", "Lines.Strings[2]"), a form named by its class name
// without the first letter ("MainForm"); values in their text form, with the
// type definition of enumerations and sets as hint. The window state goes to
// the key named after the form ("MainForm").
//
// Settings outlive changes of the program. Entries whose component or
// property no longer exists are dropped when the tree is refreshed (traced
// under ORLO_DEBUG); a stored text that its property refuses is skipped
// (traced) while the other settings still load, and a later save leaves such
// a text alone as long as the property keeps the value it had then. Keys that
// no entry names are never touched.

#include "config/ExIniFile.h"
#include "runtime/ComponentExplorerTools.h"
#include "tools/ExComponent.h"

#include <map>
#include <memory>

namespace orlo {

class TSuperForm;

ORLO_ENUM(TConfigMode, cmFile, cmRegistry)
ORLO_EVENT(TCheckEvent, void(TObject* Sender, bool& OK))
ORLO_EVENT(TGetInstanceEvent, void(TObject* Sender, TObject*& Instance))
ORLO_EVENT(TExIniFileEvent, void(TObject* Sender, TExIniFile* IniFile))
ORLO_EVENT(TQueryEvent, void(TObject* Sender, TComponent* Component, bool& DoHandle))

enum TInternalStatus : Byte { isNone, isLoading, isSaving };

class TCustomConfigFile : public TExComponent {
    ORLO_CLASS(TCustomConfigFile, TExComponent)
public:
    explicit TCustomConfigFile(TComponent* AOwner);
    ~TCustomConfigFile() override;

    // The picked properties: one component entry per component of the form.
    TComponentEntries* Entries() const noexcept { return FEntries.get(); }
    TInternalStatus Status() const noexcept { return FStatus; }

    bool AutoLoad() const noexcept { return FAutoLoad; }
    void SetAutoLoad(bool Value) noexcept { FAutoLoad = Value; }
    const String& FileName() const noexcept { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    Integer HintPosition() const noexcept { return FHintPosition; }
    void SetHintPosition(Integer Value) noexcept { FHintPosition = Value; }
    bool HintsEnabled() const noexcept { return FHintsEnabled; }
    void SetHintsEnabled(bool Value) noexcept { FHintsEnabled = Value; }
    TConfigMode Mode() const noexcept { return FMode; }
    void SetMode(TConfigMode Value) noexcept { FMode = Value; }
    const String& RegistryPath() const noexcept { return FRegistryPath; }
    void SetRegistryPath(const String& Value) { FRegistryPath = Value; }
    TRegistryKey RegistryRoot() const noexcept { return FRegistryRoot; }
    void SetRegistryRoot(TRegistryKey Value) noexcept { FRegistryRoot = Value; }
    bool SaveSuperFormState() const noexcept { return FSaveSuperFormState; }
    // True needs a TSuperForm owner: Exception "<class>.SaveSuperFormState
    // property not changable: Owner form is not a TSuperForm" (taken silently
    // while the component is read, and corrected once it is loaded).
    void SetSaveSuperFormState(bool Value);
    const String& Section() const noexcept { return FSection; }
    void SetSection(const String& Value) { FSection = Value; }
    const String& LoadErrorCaption() const noexcept { return FLoadErrorCaption; }
    void SetLoadErrorCaption(const String& Value) { FLoadErrorCaption = Value; }
    const String& LoadErrorText() const noexcept { return FLoadErrorText; }
    void SetLoadErrorText(const String& Value) { FLoadErrorText = Value; }
    const String& SaveErrorCaption() const noexcept { return FSaveErrorCaption; }
    void SetSaveErrorCaption(const String& Value) { FSaveErrorCaption = Value; }
    const String& SaveErrorText() const noexcept { return FSaveErrorText; }
    void SetSaveErrorText(const String& Value) { FSaveErrorText = Value; }
    bool ShowLoadError() const noexcept { return FShowLoadError; }
    void SetShowLoadError(bool Value) noexcept { FShowLoadError = Value; }
    bool ShowSaveError() const noexcept { return FShowSaveError; }
    void SetShowSaveError(bool Value) noexcept { FShowSaveError = Value; }

    // The design-time handle of the entry editor; never stored.
    TComponent* ConfigFileHandle() const noexcept { return nullptr; }
    void SetConfigFileHandle(TComponent*) noexcept {}
    // The texts are stored only when they differ from their defaults.
    bool RegistryPathStored() const;
    bool LoadErrorTextStored() const;
    bool SaveErrorTextStored() const;

    // The INI file in file mode: FileName, made complete against the program's
    // folder; without one the program's file name with the extension ".cfg".
    String GetConfigFileName() const;
    // The section of the picked properties.
    String GetSectionName() const;

    // Move every picked property (and the window state and the extra object)
    // to or from the store. Failures never escape: they give false, the error
    // box when configured and OnLoadError/OnSaveError. Starting one while one
    // runs raises ECriticalError.
    virtual bool Load();
    virtual bool Save();
    // The same for the entries of one component only; nil does nothing.
    virtual bool LoadComponentState(TComponent* Component);
    virtual bool SaveComponentState(TComponent* Component);
    // The open store; opened for reading when none is.
    TExIniFile* GetIniFile();

    // Every setting of another configuration file, not its entries or events;
    // SaveSuperFormState only when this one's owner is a TSuperForm.
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

    TCheckEvent OnCheckValues;
    TNotifyEvent OnGetDefaults;
    TGetInstanceEvent OnGetInstance;
    TExIniFileEvent AfterLoad;
    TExIniFileEvent AfterSave;
    TExIniFileEvent BeforeLoad;
    TExIniFileEvent BeforeSave;
    TQueryEvent OnLoadComponentQuery;
    TQueryEvent OnSaveComponentQuery;
    TNotifyEvent OnLoadError;
    TNotifyEvent OnSaveError;

protected:
    // The steps of a transfer; each calls its event when one is set.
    virtual bool CheckValues();
    virtual TObject* GetInstance();
    virtual void TriggerAfterLoad();
    virtual void TriggerAfterSave();
    virtual void TriggerBeforeLoad();
    virtual void TriggerBeforeSave();
    virtual void GetDefaults();
    virtual bool LoadComponentQuery(TComponent* Component);
    virtual bool SaveComponentQuery(TComponent* Component);

private:
    struct TEntryPlace; // one picked property: entry, section and key
    // Section and key in one text; neither can hold a line break.
    static String UnappliedKey(const TEntryPlace& Place);

    void Trigger(const TExIniFileEvent& Event);
    bool Ask(const TQueryEvent& Query, TComponent* Component);

    bool Transfer(TInternalStatus Direction, TComponent* Only);
    void EnterStatus(TInternalStatus Direction);
    void InitEntries();
    void OpenIniFile(bool ForWriting);
    void CloseIniFile() noexcept;
    void CheckFileReadable() const;
    // Steps 7 to 11 of a transfer; false when a handler freed the component.
    bool TransferWithStore(TInternalStatus Direction, TComponent* Only, TObject* Instance);
    void TransferWindowState(TInternalStatus Direction);
    // False when a query handler freed the component.
    bool TransferEntries(TInternalStatus Direction, TComponent* Only);
    void LoadEntry(const TEntryPlace& Place);
    void SaveEntry(const TEntryPlace& Place);
    void TransferInstance(TInternalStatus Direction, TObject* Instance);
    // Result false, the error box when configured, the error event.
    void ReportFailure(TInternalStatus Direction);
    String ComponentKeyName(const TComponent* Component) const;
    String WindowStateKey() const;

    std::unique_ptr<TComponentEntries> FEntries;
    TMissingEntryRefs FMissingRefs;
    std::unique_ptr<TExIniFile> FIniFile;
    TSuperForm* FSuperForm = nullptr;
    TInternalStatus FStatus = isNone;
    // Stored texts the last load could not apply, by section and key, with
    // the value the property kept: a save leaves them alone while the property still has it.
    std::map<String, String> FUnapplied;

    bool FAutoLoad = false;
    String FFileName;
    Integer FHintPosition = 49;
    bool FHintsEnabled = true;
    TConfigMode FMode = cmFile;
    String FRegistryPath;
    TRegistryKey FRegistryRoot = rkLocalMachine;
    bool FSaveSuperFormState = false;
    String FSection;
    String FLoadErrorCaption;
    String FLoadErrorText;
    String FSaveErrorCaption;
    String FSaveErrorText;
    bool FShowLoadError = false;
    bool FShowSaveError = true;
};

class TConfigFile : public TCustomConfigFile {
    ORLO_CLASS(TConfigFile, TCustomConfigFile)
public:
    explicit TConfigFile(TComponent* AOwner) : TCustomConfigFile(AOwner) {}
};

// The text form of a published property, as a configuration file stores it:
// TClassInfo's, and decimal digits for 64-bit integers.
String GetPropertyText(TObject* Instance, const TPropInfo* PropInfo);
void SetPropertyText(TObject* Instance, const TPropInfo* PropInfo, const String& Text);

} // namespace orlo
