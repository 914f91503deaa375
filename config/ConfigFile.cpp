#include "config/ConfigFile.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/os/FilePaths.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ClassInfo.h"
#include "runtime/Glossa.h"
#include "tools/Debug.h"
#include "tools/FileTools.h"
#include "tools/VersionControl.h"
#include "widgets/MsgBox.h"
#include "widgets/SuperForm.h"

#include <algorithm>
#include <vector>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /config/ConfigFile.cpp 1.0 10.12.26 07:00 orlo $");
const bool TConfigFileRegistered = (RegisterClass(TConfigFile::StaticClass()), true);

constexpr const char* DefaultRegistryPath = "Software\\Orlo GbR\\MyApplication";
constexpr const char* DefaultLoadErrorText = "Configuration file could not be loaded.";
constexpr const char* DefaultSaveErrorText = "Configuration file could not be saved.";
constexpr const char* DefaultInstanceSection = "Default Section";

// The text of an entry's value: its property's, or its line's.
String EntryText(TPropertyEntry* Entry) {
    if (Entry->PropInfo())
        return GetPropertyText(Entry->MainEntry()->Ref(), Entry->PropInfo());
    return Entry->GetValue().AsString();
}

void SetEntryText(TPropertyEntry* Entry, const String& Text) {
    if (Entry->PropInfo())
        SetPropertyText(Entry->MainEntry()->Ref(), Entry->PropInfo(), Text);
    else
        Entry->SetValue(Variant(Text));
}

// The section of a stored property of an extra object: the name of its first
// non-stored property with the same index specifier.
String InstanceSection(TClassInfo& Info, const TPropInfo* Property) {
    for (const TPropInfo* Other : Info.PropList())
        if (Other->Index == Property->Index && !IsStoredProp(Info.Instance(), Other))
            return Other->Name;
    return DefaultInstanceSection;
}

// The language domain of the form that owns Component, so that an error box
// speaks the form's language.
String OwnerDomain(const TComponent* Component) {
    const TComponent* Owner = Component->Owner();
    for (Integer I = 0; Owner && I < Owner->ComponentCount(); ++I)
        if (auto* Glossa = dynamic_cast<TGlossa*>(Owner->Components(I)))
            return Glossa->GetDomain();
    return String();
}

String MessageOf(const std::exception_ptr& Error) {
    return DescribeException(Error).Message;
}

} // namespace

String GetPropertyText(TObject* Instance, const TPropInfo* PropInfo) {
    if (PropInfo->PropType && PropInfo->PropType->Kind == tkInt64)
        return IntToStr(GetInt64Prop(Instance, PropInfo));
    return TClassInfo(Instance, PropInfo).GetAsString();
}

void SetPropertyText(TObject* Instance, const TPropInfo* PropInfo, const String& Text) {
    if (PropInfo->PropType && PropInfo->PropType->Kind == tkInt64)
        return SetInt64Prop(Instance, PropInfo, StrToInt64(Trim(Text)));
    TClassInfo(Instance, PropInfo).SetAsString(Text);
}

// --- TCustomConfigFile ---------------------------------------------------------------------

struct TCustomConfigFile::TEntryPlace {
    TPropertyEntry* Entry;
    String Section;
    String Key;
    bool Hinted; // the property has a type definition to write as hint
};

String TCustomConfigFile::UnappliedKey(const TEntryPlace& Place) {
    return Place.Section + "\n" + Place.Key;
}

TCustomConfigFile::TCustomConfigFile(TComponent* AOwner)
    : TExComponent(AOwner), FEntries(std::make_unique<TComponentEntries>(this, nullptr)),
      FSuperForm(dynamic_cast<TSuperForm*>(AOwner)), FRegistryPath(DefaultRegistryPath),
      FLoadErrorText(DefaultLoadErrorText), FSaveErrorText(DefaultSaveErrorText) {}

TCustomConfigFile::~TCustomConfigFile() {
    CloseIniFile();
}

void TCustomConfigFile::SetSaveSuperFormState(bool Value) {
    if (Value && !FSuperForm && !ComponentState().Contains(csReading) && !IsLoading())
        throw Exception(
            ClassName() +
            ".SaveSuperFormState property not changable: Owner form is not a TSuperForm");
    FSaveSuperFormState = Value;
}

bool TCustomConfigFile::RegistryPathStored() const {
    return FRegistryPath != DefaultRegistryPath;
}

bool TCustomConfigFile::LoadErrorTextStored() const {
    return FLoadErrorText != DefaultLoadErrorText;
}

bool TCustomConfigFile::SaveErrorTextStored() const {
    return FSaveErrorText != DefaultSaveErrorText;
}

String TCustomConfigFile::GetConfigFileName() const {
    const String Name = Trim(FFileName);
    if (Name.empty())
        return ChangeFileExt(ApplicationFileName(), ".cfg");
    return ExpandFileNameByDir(Name, GetApplicationDir());
}

String TCustomConfigFile::GetSectionName() const {
    if (!FSection.empty())
        return FSection;
    return Owner() ? Owner()->ClassName() : String();
}

String TCustomConfigFile::ComponentKeyName(const TComponent* Component) const {
    if (dynamic_cast<const TCustomForm*>(Component))
        return Component->ClassName().substr(1);
    return Component->Name();
}

String TCustomConfigFile::WindowStateKey() const {
    return Owner()->ClassName().substr(1);
}

bool TCustomConfigFile::Load() {
    return Transfer(isLoading, nullptr);
}

bool TCustomConfigFile::Save() {
    return Transfer(isSaving, nullptr);
}

bool TCustomConfigFile::LoadComponentState(TComponent* Component) {
    return !Component || Transfer(isLoading, Component);
}

bool TCustomConfigFile::SaveComponentState(TComponent* Component) {
    return !Component || Transfer(isSaving, Component);
}

TExIniFile* TCustomConfigFile::GetIniFile() {
    if (!FIniFile)
        OpenIniFile(false);
    return FIniFile.get();
}

void TCustomConfigFile::EnterStatus(TInternalStatus Direction) {
    if (FStatus != isNone)
        throw ECriticalError(ClassName() + ": Invalid reentrance. " +
                             (FStatus == isLoading ? "Load" : "Save") + " request while " +
                             (Direction == isLoading ? "loading" : "saving") +
                             " not possible. Change your conception");
    FStatus = Direction;
}

void TCustomConfigFile::InitEntries() {
    InitStoredEntries(FEntries.get(), FMissingRefs, ClassName());
    FMissingRefs.clear();
}

void TCustomConfigFile::OpenIniFile(bool ForWriting) {
    CloseIniFile();
    switch (FMode) {
    case cmFile:
        FIniFile = std::make_unique<TExIniFile>(GetConfigFileName());
        break;
    case cmRegistry:
        FIniFile = std::make_unique<TExIniFile>(FRegistryRoot, FRegistryPath, ForWriting);
        break;
    default:
        throw ECaseError(ClassName() + ".OpenIniFile: Invalid mode");
    }
    FIniFile->SetHintPosition(FHintPosition);
    FIniFile->SetHintsEnabled(FHintsEnabled);
    FIniFile->SetWriteBack(true);
}

void TCustomConfigFile::CloseIniFile() noexcept {
    FIniFile.reset();
}

// Fails a load when the file is missing or cannot be read, before reading
// with write-back would create it. Writers replace the file as a whole, so a
// file another process is saving is read, not refused.
void TCustomConfigFile::CheckFileReadable() const {
    TFileStream(GetConfigFileName(), fmOpenRead | fmShareDenyNone);
}

bool TCustomConfigFile::Transfer(TInternalStatus Direction, TComponent* Only) {
    EnterStatus(Direction);
    const TLifeWatch Life = LifeWatch();
    struct TLeave {
        TCustomConfigFile* Self;
        const TLifeWatch& Life;
        ~TLeave() {
            if (!Life.expired()) {
                Self->CloseIniFile();
                Self->FStatus = isNone;
            }
        }
    } Leave{this, Life};

    const bool Whole = !Only;
    const bool Loading = Direction == isLoading;
    InitEntries();
    TObject* Instance = GetInstance();
    if (Life.expired())
        return false;
    if (Loading && Whole) {
        GetDefaults();
        if (Life.expired())
            return false;
    }
    CloseIniFile();
    std::exception_ptr Error;
    try {
        if (Loading && FMode == cmFile)
            CheckFileReadable();
        if (!TransferWithStore(Direction, Only, Instance))
            return false;
    } catch (...) {
        Error = std::current_exception();
    }
    if (Life.expired())
        return false;
    CloseIniFile();
    if (!Error)
        return true;
    TDebug::WriteFmt("%s: %s.%s failed: %s", ClassName(), Name(), Loading ? "Load" : "Save",
                     MessageOf(Error));
    ReportFailure(Direction);
    if (!Life.expired() && Loading && Whole)
        GetDefaults();
    return false;
}

bool TCustomConfigFile::TransferWithStore(TInternalStatus Direction, TComponent* Only,
                                          TObject* Instance) {
    const TLifeWatch Life = LifeWatch();
    const bool Loading = Direction == isLoading;
    OpenIniFile(!Loading);
    Loading ? TriggerBeforeLoad() : TriggerBeforeSave();
    if (Life.expired())
        return false;
    if (FSaveSuperFormState && FSuperForm)
        TransferWindowState(Direction);
    if (!TransferEntries(Direction, Only))
        return false;
    if (!Only) {
        if (Instance)
            TransferInstance(Direction, Instance);
        if (Loading) {
            const bool OK = CheckValues();
            if (Life.expired())
                return false;
            if (!OK)
                throw EStreamError(ClassName() + ".CheckValues failed");
        }
    }
    Loading ? TriggerAfterLoad() : TriggerAfterSave();
    return !Life.expired();
}

void TCustomConfigFile::TransferWindowState(TInternalStatus Direction) {
    const String Section = GetSectionName();
    if (Direction == isSaving)
        return FIniFile->WriteString(Section, WindowStateKey(), FSuperForm->GetWindowStateData());
    const String State = FIniFile->ReadString(Section, WindowStateKey(), String());
    if (!State.empty())
        FSuperForm->SetWindowStateData(State);
}

bool TCustomConfigFile::TransferEntries(TInternalStatus Direction, TComponent* Only) {
    const TLifeWatch Life = LifeWatch();
    const bool Loading = Direction == isLoading;
    // A query handler may free components, and their entries with them: each
    // component is looked up again after every call out.
    auto Refers = [this](const TComponent* Component) {
        for (Integer I = 0; I < FEntries->Count(); ++I)
            if (FEntries->Items(I)->GetRef() == Component)
                return true;
        return false;
    };
    std::vector<TComponent*> Components;
    for (Integer I = 0; I < FEntries->Count(); ++I) {
        TComponent* Component = FEntries->Items(I)->GetRef();
        if (Component && (!Only || Component == Only) &&
            std::find(Components.begin(), Components.end(), Component) == Components.end())
            Components.push_back(Component);
    }

    const bool HintsWere = FIniFile->HintsEnabled();
    const String Section = GetSectionName();
    std::exception_ptr FirstError;
    for (TComponent* Component : Components) {
        if (!Refers(Component))
            continue;
        const bool DoHandle =
            Loading ? LoadComponentQuery(Component) : SaveComponentQuery(Component);
        if (Life.expired())
            return false;
        if (!DoHandle || !Refers(Component))
            continue;
        const String Prefix = ComponentKeyName(Component) + ".";
        for (Integer I = 0; I < FEntries->Count(); ++I) {
            TComponentEntry* Entry = FEntries->Items(I);
            if (Entry->GetRef() != Component)
                continue;
            TStringList Paths;
            Entry->MoveSubItemsToStrings(mmNameOnly, &Paths);
            for (Integer J = 0; J < Paths.Count(); ++J) {
                auto* Property = static_cast<TPropertyEntry*>(Paths.Objects(J));
                const TEntryPlace Place{Property, Section, Prefix + Paths.Strings(J),
                                        !Property->GetTypDef().empty()};
                FIniFile->SetHintsEnabled(HintsWere && Place.Hinted);
                if (Loading) {
                    LoadEntry(Place);
                    continue;
                }
                // One setting that cannot be written does not keep the others
                // from being saved; the save still fails.
                try {
                    SaveEntry(Place);
                } catch (...) {
                    TDebug::WriteFmt("%s: %s: %s not saved: %s", ClassName(), Name(), Place.Key,
                                     MessageOf(std::current_exception()));
                    if (!FirstError)
                        FirstError = std::current_exception();
                }
            }
        }
    }
    FIniFile->SetHintsEnabled(HintsWere);
    if (FirstError)
        std::rethrow_exception(FirstError);
    return true;
}

// A stored text that the property refuses is skipped: reading never fails
// because of stored text, and the other settings still load.
void TCustomConfigFile::LoadEntry(const TEntryPlace& Place) {
    const String Current = EntryText(Place.Entry);
    const String Stored = FIniFile->ReadString(Place.Section, Place.Key, Current);
    if (Stored != Current) {
        try {
            SetEntryText(Place.Entry, Stored);
        } catch (...) {
            FUnapplied[UnappliedKey(Place)] = Current;
            TDebug::WriteFmt("%s: %s: stored value \"%s\" of %s not applied: %s", ClassName(),
                             Name(), Stored, Place.Key, MessageOf(std::current_exception()));
            return;
        }
    }
    FUnapplied.erase(UnappliedKey(Place));
}

void TCustomConfigFile::SaveEntry(const TEntryPlace& Place) {
    const String Text = EntryText(Place.Entry);
    if (const auto Unapplied = FUnapplied.find(UnappliedKey(Place));
        Unapplied != FUnapplied.end()) {
        if (Unapplied->second == Text)
            return;
        FUnapplied.erase(Unapplied);
    }
    FIniFile->WriteStringEx(Place.Section, Place.Key, Text,
                            Place.Hinted ? Place.Entry->GetTypDef() : String());
}

void TCustomConfigFile::TransferInstance(TInternalStatus Direction, TObject* Instance) {
    TClassInfo Info(Instance);
    for (Integer I = 0; I < Info.Count(); ++I) {
        if (!Info.Select(I) || !Info.IsStored())
            continue;
        const TPropInfo* Property = Info.PropInfo();
        const String Section = InstanceSection(Info, Property);
        const TPropModes Mode = Info.Mode();
        if (!Mode.Contains(pmRead))
            continue;
        const String Current = GetPropertyText(Instance, Property);
        if (Direction == isSaving) {
            FIniFile->WriteStringEx(Section, Property->Name, Current, Info.TypDef());
            continue;
        }
        if (!Mode.Contains(pmWrite))
            continue;
        const String Stored = FIniFile->ReadString(Section, Property->Name, Current);
        if (Stored == Current)
            continue;
        try {
            SetPropertyText(Instance, Property, Stored);
        } catch (...) {
            TDebug::WriteFmt("%s: %s: stored value \"%s\" of %s not applied: %s", ClassName(),
                             Name(), Stored, Property->Name, MessageOf(std::current_exception()));
        }
    }
}

void TCustomConfigFile::ReportFailure(TInternalStatus Direction) {
    const TLifeWatch Life = LifeWatch();
    const bool Loading = Direction == isLoading;
    // A box that cannot be shown is reported, but the failure stays a result.
    if (Loading ? FShowLoadError : FShowSaveError)
        GuardedCall(this, [&] {
            MsgEx(Loading ? FLoadErrorText : FSaveErrorText,
                  Loading ? FLoadErrorCaption : FSaveErrorCaption, mtError, {}, 0,
                  OwnerDomain(this));
        });
    if (Life.expired())
        return;
    if (const TNotifyEvent& Event = Loading ? OnLoadError : OnSaveError)
        Event(this);
}

bool TCustomConfigFile::CheckValues() {
    bool OK = true;
    if (OnCheckValues)
        OnCheckValues(this, OK);
    return OK;
}

TObject* TCustomConfigFile::GetInstance() {
    TObject* Instance = nullptr;
    if (OnGetInstance)
        OnGetInstance(this, Instance);
    return Instance;
}

void TCustomConfigFile::TriggerAfterLoad() {
    Trigger(AfterLoad);
}

void TCustomConfigFile::TriggerAfterSave() {
    Trigger(AfterSave);
}

void TCustomConfigFile::TriggerBeforeLoad() {
    Trigger(BeforeLoad);
}

void TCustomConfigFile::TriggerBeforeSave() {
    Trigger(BeforeSave);
}

void TCustomConfigFile::Trigger(const TExIniFileEvent& Event) {
    if (Event)
        Event(this, FIniFile.get());
}

void TCustomConfigFile::GetDefaults() {
    if (OnGetDefaults)
        OnGetDefaults(this);
}

bool TCustomConfigFile::LoadComponentQuery(TComponent* Component) {
    return Ask(OnLoadComponentQuery, Component);
}

bool TCustomConfigFile::SaveComponentQuery(TComponent* Component) {
    return Ask(OnSaveComponentQuery, Component);
}

bool TCustomConfigFile::Ask(const TQueryEvent& Query, TComponent* Component) {
    bool DoHandle = true;
    if (Query)
        Query(this, Component, DoHandle);
    return DoHandle;
}

void TCustomConfigFile::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TCustomConfigFile*>(Source);
    if (!Other)
        return TExComponent::Assign(Source);
    FAutoLoad = Other->FAutoLoad;
    FFileName = Other->FFileName;
    FHintPosition = Other->FHintPosition;
    FHintsEnabled = Other->FHintsEnabled;
    FMode = Other->FMode;
    FRegistryPath = Other->FRegistryPath;
    FRegistryRoot = Other->FRegistryRoot;
    if (FSuperForm)
        FSaveSuperFormState = Other->FSaveSuperFormState;
    FSection = Other->FSection;
    FLoadErrorCaption = Other->FLoadErrorCaption;
    FLoadErrorText = Other->FLoadErrorText;
    FSaveErrorCaption = Other->FSaveErrorCaption;
    FSaveErrorText = Other->FSaveErrorText;
    FShowLoadError = Other->FShowLoadError;
    FShowSaveError = Other->FShowSaveError;
}

void TCustomConfigFile::DefineProperties(TFiler* Filer) {
    TExComponent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Entries",
        [this](TReader* Reader) { ReadStoredEntries(Reader, FEntries.get(), FMissingRefs); },
        [this](TWriter* Writer) { Writer->WriteCollection(FEntries.get()); },
        FEntries->Count() > 0);
}

void TCustomConfigFile::Loaded() {
    TExComponent::Loaded();
    InitEntries();
    if (!FSuperForm)
        FSaveSuperFormState = false;
    if (FAutoLoad && !IsDesigning())
        Load();
}

// --- Type information ----------------------------------------------------------------------

ORLO_PUBLISHED(TCustomConfigFile, "ConfigFile") {}

ORLO_PUBLISHED(TConfigFile, "ConfigFile") {
    using C = TConfigFile;
    P.Property("AutoLoad", &C::AutoLoad, &C::SetAutoLoad).Default(0);
    P.Property("ConfigFile", &C::ConfigFileHandle, &C::SetConfigFileHandle).Stored(false);
    P.Property("FileName", &C::FileName, &C::SetFileName);
    P.Property("HintPosition", &C::HintPosition, &C::SetHintPosition).Default(49);
    P.Property("HintsEnabled", &C::HintsEnabled, &C::SetHintsEnabled).Default(1);
    P.Property("Mode", &C::Mode, &C::SetMode).Default(cmFile);
    P.Property("RegistryPath", &C::RegistryPath, &C::SetRegistryPath)
        .Stored(&C::RegistryPathStored);
    P.Property("RegistryRoot", &C::RegistryRoot, &C::SetRegistryRoot).Default(rkLocalMachine);
    P.Property("SaveSuperFormState", &C::SaveSuperFormState, &C::SetSaveSuperFormState).Default(0);
    P.Property("Section", &C::Section, &C::SetSection);
    P.Property("LoadErrorCaption", &C::LoadErrorCaption, &C::SetLoadErrorCaption);
    P.Property("LoadErrorText", &C::LoadErrorText, &C::SetLoadErrorText)
        .Stored(&C::LoadErrorTextStored);
    P.Property("SaveErrorCaption", &C::SaveErrorCaption, &C::SetSaveErrorCaption);
    P.Property("SaveErrorText", &C::SaveErrorText, &C::SetSaveErrorText)
        .Stored(&C::SaveErrorTextStored);
    P.Property("ShowLoadError", &C::ShowLoadError, &C::SetShowLoadError).Default(0);
    P.Property("ShowSaveError", &C::ShowSaveError, &C::SetShowSaveError).Default(1);
    P.Property("OnCheckValues", &C::OnCheckValues);
    P.Property("OnGetDefaults", &C::OnGetDefaults);
    P.Property("OnGetInstance", &C::OnGetInstance);
    P.Property("AfterLoad", &C::AfterLoad);
    P.Property("AfterSave", &C::AfterSave);
    P.Property("BeforeLoad", &C::BeforeLoad);
    P.Property("BeforeSave", &C::BeforeSave);
    P.Property("OnLoadComponentQuery", &C::OnLoadComponentQuery);
    P.Property("OnSaveComponentQuery", &C::OnSaveComponentQuery);
}

} // namespace orlo
