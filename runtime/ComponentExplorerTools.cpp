#include "runtime/ComponentExplorerTools.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ClassInfo.h"
#include "tools/Debug.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

namespace orlo {

namespace {

const TUnitVersion
    Version("$Header: /runtime/ComponentExplorerTools.cpp 1.0 09.12.26 22:30 orlo $");

const TMainEntrySubType PubPropObject{stPubPropObject};
const TMainEntrySubType CollectionObject{stPubPropObject, stCollectionObject};
const TMainEntrySubType StringsObject{stTStringsObject};

// The entry no longer parses as indexed, so ValidateAndPack drops it.
String UnindexedName(String Name) {
    size_t Open = Name.find('[');
    if (Open != String::npos)
        Name[Open] = '/';
    size_t Close = Name.find(']');
    if (Close != String::npos)
        Name[Close] = '/';
    return Name;
}

// Collections cast their items to Item, so a foreign item class is refused up front.
template <class Item> void CheckedItemClass(TClass Class, const char* Collection) {
    if (!Class || !Class->InheritsFrom(Item::StaticClass()))
        throw EInvalidOperation(Format("%s needs items of class %s, not %s", Collection,
                                       Item::StaticClassName,
                                       Class ? Class->ClassName() : String("nil")));
}

// True when Entries lies inside the subtree of Entry (or is its own child level).
bool IsWithin(const TMainEntries* Entries, const TMainEntry* Entry) {
    for (const TMainEntry* Owner = Entries ? Entries->GetParent() : nullptr; Owner;
         Owner = Owner->GetParent() ? Owner->GetParent()->GetParent() : nullptr)
        if (Owner == Entry)
            return true;
    return false;
}

} // namespace

// --- Indexed names --------------------------------------------------------------

bool ParseIndexedName(const String& Name, Integer& Index) {
    Index = -1;
    const size_t L = Name.size();
    if (L < 3 || Name.back() != ']')
        return false;
    // Digits are read backwards from before the "]"; the first character is never one.
    size_t Pos = L - 2;
    while (Pos > 0 && Name[Pos] >= '0' && Name[Pos] <= '9')
        --Pos;
    const size_t First = Pos + 1;
    if (First > L - 2 || Name[Pos] != '[')
        return false;
    Int64 Value = 0;
    for (size_t I = First; I < L - 1; ++I) {
        Value = Value * 10 + (Name[I] - '0');
        if (Value > std::numeric_limits<Integer>::max())
            return false; // no collection or list has that many items
    }
    Index = static_cast<Integer>(Value);
    return true;
}

// --- TBaseEntry ----------------------------------------------------------------

String TBaseEntry::DisplayName() const {
    return FName + ":" + FTypeName;
}

bool TBaseEntry::GetItemIndex(Integer& Index) const {
    return ParseIndexedName(FName, Index);
}

TBaseEntry* TBaseEntry::CopyItem(TMainEntries* Dest, bool AssignAll) {
    return CopyInto(Dest, AssignAll);
}

TBaseEntry* TBaseEntry::MoveItem(TMainEntries* Dest, bool AssignAll) {
    TBaseEntry* Result = CopyInto(Dest, AssignAll);
    // A failed copy keeps the source; a move onto itself keeps it too.
    if (Result && Result != this)
        delete this;
    return Result;
}

TBaseEntry* TBaseEntry::CopyInto(TMainEntries* Dest, bool AssignAll) {
    if (!Dest)
        return nullptr;
    auto* SelfMain = dynamic_cast<TMainEntry*>(this);
    // Copying an entry into its own subtree would copy what is being changed.
    if (SelfMain && IsWithin(Dest, SelfMain))
        return nullptr;

    // The main entries above this one, nearest first.
    std::vector<TMainEntry*> Path;
    for (TPersistent* Up = GetParentObject(); Up;) {
        if (auto* Entries = dynamic_cast<TBaseEntries*>(Up)) {
            Up = Entries->GetParentObject();
        } else if (auto* Main = dynamic_cast<TMainEntry*>(Up)) {
            Path.push_back(Main);
            Up = Main->GetParentObject();
        } else {
            return nullptr;
        }
    }

    TMainEntries* Target = Dest;
    TMainEntry* TargetMain = nullptr;
    bool Searching = true;
    for (auto It = Path.rbegin(); It != Path.rend(); ++It) {
        TargetMain = Searching ? Target->FindItem(*It) : nullptr;
        if (!TargetMain) {
            Searching = false;
            TargetMain = static_cast<TMainEntry*>(Target->Add());
            TargetMain->AssignThis(*It);
        }
        Target = TargetMain->Items();
    }

    if (auto* Prop = dynamic_cast<TPropertyEntry*>(this)) {
        if (!TargetMain)
            return nullptr;
        TPropertyEntry* Copy = TPropertyEntry::Create(ClassType(), TargetMain, Prop->Name(),
                                                      Prop->TypeName(), Prop->Kind());
        Copy->Assign(Prop);
        return Copy;
    }
    TMainEntry* Copy = Target->FindItem(SelfMain);
    if (!Copy)
        Copy = static_cast<TMainEntry*>(Target->Add());
    if (Copy != SelfMain) {
        if (AssignAll)
            Copy->Assign(SelfMain);
        else
            Copy->AssignThis(SelfMain);
    }
    return Copy;
}

// --- TMainEntry -----------------------------------------------------------------

TMainEntry::TMainEntry(TCollection* Collection) : TBaseEntry(Collection) {
    auto* Level = dynamic_cast<TMainEntries*>(Collection);
    const TClass PropClass = Level ? Level->PropClass() : nullptr;
    FProps = std::make_unique<TPropertyEntries>(this, PropClass);
    FItems = std::make_unique<TMainEntries>(this, PropClass);
    FItems->SetAssignMode(Level ? Level->AssignMode() : true);
}

TMainEntry::TMainEntry(TCollection* Collection, TObject* Ref, const String& Name,
                       const String& TypeName, TMainEntrySubType SubType)
    : TMainEntry(Collection) {
    SetRef(Ref);
    SetName(Name);
    SetTypeName(TypeName);
    FSubType = SubType;
}

TMainEntry::~TMainEntry() = default;

void TMainEntry::SetItems(TMainEntries* Value) {
    FItems->Assign(Value);
}

void TMainEntry::SetProps(TPropertyEntries* Value) {
    FProps->Assign(Value);
}

void TMainEntry::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TMainEntry*>(Source);
    if (!Other)
        return TBaseEntry::Assign(Source);
    if (Other == this)
        return;
    AssignThis(Other);
    FProps->Assign(Other->Props());
    FItems->Assign(Other->Items());
}

void TMainEntry::AssignThis(const TMainEntry* Source) {
    SetRef(Source->FRef);
    SetName(Source->Name());
    SetTypeName(Source->TypeName());
    FSubType = Source->FSubType;
}

bool TMainEntry::Compare(const TMainEntry* Other) const {
    return Other && FRef == Other->FRef && FSubType == Other->FSubType &&
           SameText(Name(), Other->Name());
}

TPersistent* TMainEntry::GetParentObject() const {
    return Collection();
}

TMainEntries* TMainEntry::GetParent() const {
    return dynamic_cast<TMainEntries*>(Collection());
}

TMainEntry* TMainEntry::FindFirstMainEntry() {
    TMainEntry* Top = this;
    while (TMainEntry* Up = Top->GetParent() ? Top->GetParent()->GetParent() : nullptr)
        Top = Up;
    return Top;
}

bool TMainEntry::ForEachMainEntry(TMainEntryProc Proc, void* Data) {
    bool Stop = false;
    Proc(this, Data, Stop);
    return !Stop && FItems->ForEachMainEntry(Proc, Data);
}

bool TMainEntry::ForEachPropertyEntry(TPropertyEntryProc Proc, void* Data) {
    for (Integer I = FProps->Count() - 1; I >= 0; --I) {
        if (I >= FProps->Count())
            continue; // the visitor freed entries
        bool Stop = false;
        Proc(this, FProps->Items(I), Data, Stop);
        if (Stop)
            return false;
    }
    return FItems->ForEachPropertyEntry(Proc, Data);
}

void TMainEntry::MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings) const {
    MoveSubItemsToStrings(Mode, Strings, String());
}

void TMainEntry::MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings,
                                       const String& Prefix) const {
    for (Integer I = 0; I < FProps->Count(); ++I) {
        TPropertyEntry* Prop = FProps->Items(I);
        Strings->AddObject(Mode == mmNameOnly ? Prefix + Prop->Name() : Prop->GetDescriptor(Prefix),
                           Prop);
    }
    for (Integer I = 0; I < FItems->Count(); ++I) {
        const TMainEntry* Child = FItems->Items(I);
        Child->MoveSubItemsToStrings(Mode, Strings, Prefix + Child->Name() + ".");
    }
}

void TMainEntry::RefreshProps() {
    if (FProps->Count() == 0 && FItems->Count() == 0)
        return;
    ResetBindings();
    if (FSubType.Contains(stPubPropObject))
        BindPublishedProperties();
    for (Integer I = FItems->Count() - 1; I >= 0; --I)
        FItems->Items(I)->RefreshProps();
}

void TMainEntry::ResetBindings() {
    for (Integer I = 0; I < FProps->Count(); ++I)
        FProps->Items(I)->SetPropInfo(nullptr);
    for (Integer I = 0; I < FItems->Count(); ++I) {
        TMainEntry* Child = FItems->Items(I);
        if (!Child->FSubType.Contains(stNoValidate)) {
            Child->FRef = nullptr;
        } else if (Child->FSubType.Contains(stTStringsObject)) {
            TPropertyEntries* Lines = Child->Props();
            for (Integer J = 0; J < Lines->Count(); ++J)
                if (Lines->Items(J)->TypeName().empty())
                    Lines->Items(J)->SetTypeName("String");
        }
    }
}

void TMainEntry::BindPublishedProperties() {
    const TClass Class = FRef ? FRef->ClassType() : nullptr;
    if (!Class || !Class->ClassInfo())
        return; // a class without type information offers no properties
    for (const TPropInfo* Prop : Class->Properties()) {
        if (!Prop || !Prop->PropType)
            continue;
        const TTypeKind Kind = Prop->PropType->Kind;
        for (Integer J = 0; J < FProps->Count(); ++J) {
            TPropertyEntry* Entry = FProps->Items(J);
            if (Entry->Kind() == Kind && SameText(Entry->Name(), Prop->Name)) {
                Entry->SetPropInfo(Prop);
                Entry->SetTypeName(Prop->PropType->Name);
                break;
            }
        }
        if (Kind == tkClass && FItems->Count() > 0)
            BindChildren(Prop, Prop->HasGetter() ? GetObjectProp(FRef, Prop) : nullptr);
    }
}

void TMainEntry::BindChildren(const TPropInfo* PropInfo, TObject* Value) {
    const String& PropName = PropInfo->Name;
    for (Integer I = 0; I < FItems->Count(); ++I) {
        TMainEntry* Child = FItems->Items(I);
        const TMainEntrySubType Sub = Child->FSubType;
        if (Sub.Contains(stNoValidate))
            continue;
        if (Sub == PubPropObject && SameText(Child->Name(), PropName)) {
            Child->FRef = Value;
            return;
        }
        if (Sub == StringsObject && SameText(Child->Name(), PropName)) {
            BindStringList(Child, Value);
            return;
        }
        if (Sub == CollectionObject) {
            const String& ChildName = Child->Name();
            const size_t Open = ChildName.find('[');
            auto* Items = dynamic_cast<TCollection*>(Value);
            Integer Index;
            if (Open != String::npos && Items && SameText(ChildName.substr(0, Open), PropName) &&
                Child->GetItemIndex(Index) && Index < Items->Count())
                Child->FRef = Items->Items(Index);
        }
    }
}

void TMainEntry::BindStringList(TMainEntry* Child, TObject* Value) {
    auto* Lines = dynamic_cast<TStrings*>(Value);
    if (!Lines)
        return;
    Child->FRef = Lines;
    TPropertyEntries* Props = Child->Props();
    for (Integer I = 0; I < Props->Count(); ++I) {
        TPropertyEntry* Line = Props->Items(I);
        Integer Number = Line->LineIndex();
        if (Number < 0 && !Line->GetItemIndex(Number))
            Number = -1;
        if (Number >= 0 && Number < Lines->Count()) {
            Line->SetTypeName("String");
        } else {
            // Lines beyond the list are dropped by ValidateAndPack.
            Line->SetName(UnindexedName(Line->Name()));
            Line->SetLineIndex(-1);
        }
    }
}

String SingleLine(String Text) {
    std::replace_if(
        Text.begin(), Text.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
    return Text;
}

// --- TComponentEntry --------------------------------------------------------------

TComponentEntry::TComponentEntry(TCollection* Collection) : TMainEntry(Collection) {
    if (auto* Entries = dynamic_cast<TComponentEntries*>(Collection))
        FController = Entries->Controller();
}

TComponent* TComponentEntry::GetRef() const {
    return dynamic_cast<TComponent*>(Ref());
}

void TComponentEntry::SetRef(TObject* Value) {
    if (auto* Component = dynamic_cast<TComponent*>(Value); Component && FController)
        FController->FreeNotification(Component);
    TMainEntry::SetRef(Value);
}

void TComponentEntry::CheckRefIsComponent(const TMainEntry* Source) const {
    if (Source->Ref() && !dynamic_cast<TComponent*>(Source->Ref()))
        throw Exception(ClassName() + ".Assign failed. Type of Ref is not TComponent");
}

void TComponentEntry::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TMainEntry*>(Source))
        CheckRefIsComponent(Other);
    TMainEntry::Assign(Source);
}

void TComponentEntry::AssignThis(const TMainEntry* Source) {
    CheckRefIsComponent(Source);
    TMainEntry::AssignThis(Source);
}

void TComponentEntry::RefreshProps() {
    if (TComponent* Component = GetRef()) {
        SetName(Component->Name());
        SetTypeName(Component->ClassName());
    }
    TMainEntry::RefreshProps();
}

// --- TPropertyEntry ---------------------------------------------------------------

TPropertyEntry* TPropertyEntry::Create(TClass EntryClass, TMainEntry* MainEntry,
                                       const TPropInfo* PropInfo) {
    TPropertyEntry* Entry = Create(EntryClass, MainEntry, PropInfo->Name, PropInfo->PropType->Name,
                                   PropInfo->PropType->Kind);
    Entry->FPropInfo = PropInfo;
    return Entry;
}

TPropertyEntry* TPropertyEntry::Create(TClass EntryClass, TMainEntry* MainEntry, const String& Name,
                                       const String& TypeName, TTypeKind Kind) {
    TPropertyEntries* Props = MainEntry->Props();
    const TClass Class = EntryClass ? EntryClass : Props->ItemClass();
    CheckedItemClass<TPropertyEntry>(Class, "TPropertyEntries");
    if (!Class->NewCollectionItem)
        throw EInvalidOperation(Format("Cannot create an item of class %s", Class->ClassName()));
    auto* Entry = static_cast<TPropertyEntry*>(Class->NewCollectionItem(Props));
    Entry->Init(nullptr, Name, TypeName, Kind);
    return Entry;
}

void TPropertyEntry::Init(const TPropInfo* PropInfo, const String& Name, const String& TypeName,
                          TTypeKind Kind) {
    FPropInfo = PropInfo;
    SetName(Name);
    SetTypeName(TypeName);
    FKind = Kind;
}

void TPropertyEntry::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TPropertyEntry*>(Source);
    if (!Other)
        return TBaseEntry::Assign(Source);
    Init(Other->FPropInfo, Other->Name(), Other->TypeName(), Other->FKind);
    FIndex = Other->FIndex;
}

bool TPropertyEntry::Compare(const TPropertyEntry* Other) const {
    return Other && FPropInfo == Other->FPropInfo && FKind == Other->FKind &&
           SameText(Name(), Other->Name());
}

TPersistent* TPropertyEntry::GetParentObject() const {
    return Collection();
}

TPropertyEntries* TPropertyEntry::GetParent() const {
    return dynamic_cast<TPropertyEntries*>(Collection());
}

TMainEntry* TPropertyEntry::MainEntry() const {
    TPropertyEntries* Props = GetParent();
    return Props ? Props->GetParent() : nullptr;
}

String TPropertyEntry::GetDescriptor(const String& Prefix) const {
    if (FIndex >= 0)
        return Prefix + Name() + "[" + IntToStr(FIndex) + "]: " + TypeName();
    return Prefix + Name() + ": " + TypeName();
}

bool TPropertyEntry::GetLineNumber(Integer& Line) const {
    Line = FIndex;
    return Line >= 0 || GetItemIndex(Line);
}

TStrings* TPropertyEntry::BoundStrings() const {
    TMainEntry* Main = MainEntry();
    if (!Main || !Main->SubType().Contains(stTStringsObject))
        return nullptr;
    return dynamic_cast<TStrings*>(Main->Ref());
}

Variant TPropertyEntry::GetValue() const {
    TMainEntry* Main = MainEntry();
    if (!Main || !Main->Ref())
        return Variant::Null();
    if (Main->SubType().Contains(stPubPropObject)) {
        if (!FPropInfo)
            return Variant::Null();
        return TClassInfo(Main->Ref(), FPropInfo).GetValue();
    }
    Integer Line;
    if (TStrings* Lines = BoundStrings(); Lines && GetLineNumber(Line))
        return Variant(Lines->Strings(Line));
    return Variant::Null();
}

void TPropertyEntry::SetValue(const Variant& Value) {
    TMainEntry* Main = MainEntry();
    if (!Main || !Main->Ref())
        return;
    if (Main->SubType().Contains(stPubPropObject)) {
        if (FPropInfo)
            TClassInfo(Main->Ref(), FPropInfo).SetValue(Value);
        return;
    }
    Integer Line;
    if (TStrings* Lines = BoundStrings(); Lines && GetLineNumber(Line))
        Lines->Put(Line, SingleLine(Value.IsNull() ? String() : Value.AsString()));
}

bool TPropertyEntry::GetClassInfo(std::unique_ptr<TClassInfo>& ClassInfo) const {
    ClassInfo.reset();
    TMainEntry* Main = MainEntry();
    if (!Main || !Main->Ref() || !Main->SubType().Contains(stPubPropObject) || !FPropInfo)
        return false;
    ClassInfo = std::make_unique<TClassInfo>(Main->Ref(), FPropInfo);
    return true;
}

String TPropertyEntry::GetTypDef() const {
    std::unique_ptr<TClassInfo> Info;
    return GetClassInfo(Info) ? Info->TypDef() : String();
}

// --- Collections ----------------------------------------------------------------

void TBaseEntries::Assign(TPersistent* Source) {
    TCollection::Assign(Source);
    if (OnAssign)
        OnAssign(this, Source);
}

TMainEntries::TMainEntries(TPersistent* Owner, TClass PropClass)
    : TMainEntries(TMainEntry::StaticClass(), Owner, PropClass) {}

TMainEntries::TMainEntries(TClass ItemClass, TPersistent* Owner, TClass PropClass)
    : TBaseEntries((CheckedItemClass<TMainEntry>(ItemClass, "TMainEntries"), ItemClass), Owner),
      FPropClass(PropClass) {
    if (PropClass)
        CheckedItemClass<TPropertyEntry>(PropClass, "TPropertyEntries");
}

TMainEntry* TMainEntries::Items(Integer Index) const {
    return static_cast<TMainEntry*>(TCollection::Items(Index));
}

void TMainEntries::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TMainEntries*>(Source); Other && FAssignMode)
        FPropClass = Other->FPropClass;
    TBaseEntries::Assign(Source);
}

TPersistent* TMainEntries::GetParentObject() const {
    return GetParent();
}

TMainEntry* TMainEntries::GetParent() const {
    return dynamic_cast<TMainEntry*>(Owner());
}

TMainEntry* TMainEntries::FindItem(const TMainEntry* Entry) const {
    for (Integer I = 0; I < Count(); ++I)
        if (Items(I)->Compare(Entry))
            return Items(I);
    return nullptr;
}

Integer TMainEntries::IndexOfName(const String& Name) const {
    for (Integer I = 0; I < Count(); ++I)
        if (SameText(Items(I)->Name(), Name))
            return I;
    return -1;
}

bool TMainEntries::ForEachMainEntry(TMainEntryProc Proc, void* Data) {
    for (Integer I = Count() - 1; I >= 0; --I)
        if (I < Count() && !Items(I)->ForEachMainEntry(Proc, Data))
            return false;
    return true;
}

bool TMainEntries::ForEachPropertyEntry(TPropertyEntryProc Proc, void* Data) {
    for (Integer I = Count() - 1; I >= 0; --I)
        if (I < Count() && !Items(I)->ForEachPropertyEntry(Proc, Data))
            return false;
    return true;
}

void TMainEntries::MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings) const {
    for (Integer I = 0; I < Count(); ++I)
        Items(I)->MoveSubItemsToStrings(Mode, Strings);
}

void TMainEntries::RemoveEqualPropertyEntries(const TMainEntries* Other) {
    for (Integer I = Count() - 1; I >= 0; --I) {
        TMainEntry* Mine = Items(I);
        const TMainEntry* Theirs = Other->FindItem(Mine);
        if (!Theirs)
            continue;
        TPropertyEntries* Props = Mine->Props();
        for (Integer J = Props->Count() - 1; J >= 0; --J)
            if (Theirs->Props()->FindItem(Props->Items(J)))
                Props->Delete(J);
        Mine->Items()->RemoveEqualPropertyEntries(Theirs->Items());
    }
}

void TMainEntries::RefreshProps() {
    for (Integer I = Count() - 1; I >= 0; --I)
        Items(I)->RefreshProps();
}

void TMainEntries::ValidateAndPack() {
    for (Integer I = Count() - 1; I >= 0; --I) {
        TMainEntry* Entry = Items(I);
        Entry->Items()->ValidateAndPack();
        if (Entry->SubType().Contains(stPubPropObject))
            Entry->Props()->ValidatePublishedProperties();
        else if (Entry->SubType().Contains(stTStringsObject))
            Entry->Props()->ValidateTStrings();
        if (Entry->Props()->Count() == 0 && Entry->Items()->Count() == 0)
            Delete(I);
    }
}

void TMainEntries::Init() {
    RefreshProps();
    ValidateAndPack();
}

TComponentEntries::TComponentEntries(TPersistent* Owner, TClass PropClass)
    : TMainEntries(TComponentEntry::StaticClass(), Owner, PropClass),
      FController(std::make_unique<TInternalController>(nullptr)) {
    FController->Init(this);
}

TComponentEntries::~TComponentEntries() {
    FController.reset();
}

TComponentEntry* TComponentEntries::Items(Integer Index) const {
    return static_cast<TComponentEntry*>(TCollection::Items(Index));
}

TPropertyEntries::TPropertyEntries(TMainEntry* Owner, TClass PropClass)
    : TBaseEntries(
          PropClass ? (CheckedItemClass<TPropertyEntry>(PropClass, "TPropertyEntries"), PropClass)
                    : TPropertyEntry::StaticClass(),
          Owner),
      FMainEntry(Owner) {}

TPropertyEntry* TPropertyEntries::Items(Integer Index) const {
    return static_cast<TPropertyEntry*>(TCollection::Items(Index));
}

TPersistent* TPropertyEntries::GetParentObject() const {
    return FMainEntry;
}

TPropertyEntry* TPropertyEntries::FindItem(const TPropertyEntry* Entry) const {
    for (Integer I = 0; I < Count(); ++I)
        if (Items(I)->Compare(Entry))
            return Items(I);
    return nullptr;
}

Integer TPropertyEntries::IndexOfProp(const String& Name) const {
    for (Integer I = 0; I < Count(); ++I)
        if (SameText(Items(I)->Name(), Name))
            return I;
    return -1;
}

void TPropertyEntries::ValidatePublishedProperties() {
    for (Integer I = Count() - 1; I >= 0; --I)
        if (!Items(I)->PropInfo())
            Delete(I);
}

void TPropertyEntries::ValidateTStrings() {
    for (Integer I = Count() - 1; I >= 0; --I) {
        TPropertyEntry* Entry = Items(I);
        Integer Line;
        if (Entry->PropInfo() || (Entry->LineIndex() < 0 && !Entry->GetItemIndex(Line)))
            Delete(I);
    }
}

// --- TInternalController ------------------------------------------------------------

void TInternalController::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || !FEntries)
        return;
    // Every entry of the component goes: a stored tree may hold two.
    const TObject* Gone = AComponent;
    for (Integer I = FEntries->Count() - 1; I >= 0; --I)
        if (FEntries->Items(I)->Ref() == Gone)
            FEntries->Delete(I);
}

// --- Stored trees -------------------------------------------------------------------

namespace {

// Every property entry of a stored tree by its path, before Init drops any.
struct TStoredEntry {
    const TPropertyEntry* Entry;
    String Path;
    bool ComponentGone;
};

std::vector<TStoredEntry> NameStoredEntries(TComponentEntries* Entries,
                                            const TMissingEntryRefs& MissingRefs) {
    std::vector<TStoredEntry> Names;
    for (Integer I = 0; I < Entries->Count(); ++I) {
        TComponentEntry* Component = Entries->Items(I);
        String Owner = Component->GetRef() ? Component->GetRef()->Name() : Component->Name();
        if (const auto Missing = MissingRefs.find(Component); Missing != MissingRefs.end())
            Owner = Missing->second;
        TStringList Lines;
        Component->MoveSubItemsToStrings(mmNameOnly, &Lines);
        for (Integer J = 0; J < Lines.Count(); ++J)
            Names.push_back({static_cast<TPropertyEntry*>(Lines.Objects(J)),
                             Owner + "." + Lines.Strings(J), Component->GetRef() == nullptr});
    }
    return Names;
}

} // namespace

void ReadStoredEntries(TReader* Reader, TComponentEntries* Entries,
                       TMissingEntryRefs& MissingRefs) {
    Entries->Clear();
    Reader->CheckValue(vaCollection);
    struct TOptionalReferences {
        TReader* Reader;
        bool Was = Reader->OptionalReferences();
        ~TOptionalReferences() { Reader->SetOptionalReferences(Was); }
    } Scope{Reader};
    Reader->SetOptionalReferences(true);
    // References are resolved once the whole root is read, so the handler
    // stays on the reader, passing on what concerns other trees.
    if (TDebug::Enabled())
        Reader->OnMissingReference = [Entries, &MissingRefs, Others = Reader->OnMissingReference](
                                         TPersistent* Instance, const String& Reference) {
            auto* Entry = dynamic_cast<TComponentEntry*>(Instance);
            if (Entry && Entry->Collection() == Entries)
                MissingRefs[Entry] = Reference;
            else if (Others)
                Others(Instance, Reference);
        };
    Reader->ReadCollection(Entries);
}

void InitStoredEntries(TComponentEntries* Entries, const TMissingEntryRefs& MissingRefs,
                       const String& Who) {
    if (!TDebug::Enabled())
        return Entries->Init();
    const std::vector<TStoredEntry> Before = NameStoredEntries(Entries, MissingRefs);
    Entries->Init();
    std::unordered_set<const TPropertyEntry*> Kept;
    Entries->ForEachPropertyEntryDo(
        [&](TMainEntry*, TPropertyEntry* Entry) { Kept.insert(Entry); });
    for (const TStoredEntry& Entry : Before)
        if (!Kept.count(Entry.Entry))
            TDebug::WriteFmt("%s.Init: stored entry %s dropped: %s", Who, Entry.Path,
                             Entry.ComponentGone ? "its component no longer exists"
                                                 : "its property no longer exists");
}

// --- Type information -------------------------------------------------------------

const TTypeInfo* TypeInfoFor(TTypeKinds*) {
    static const TTypeInfo Info =
        MakeSetTypeInfo("TTypeKinds", TypeInfoFor(static_cast<TTypeKind*>(nullptr)));
    return &Info;
}

ORLO_PUBLISHED(TBaseEntry, "ComponentExplorerTools") {
    P.Property("Name", &TBaseEntry::Name, &TBaseEntry::SetName);
}

ORLO_PUBLISHED(TMainEntry, "ComponentExplorerTools") {
    P.Property("Items", &TMainEntry::Items, &TMainEntry::SetItems);
    P.Property("Props", &TMainEntry::Props, &TMainEntry::SetProps);
    P.Property("SubType", &TMainEntry::FSubType);
}

ORLO_PUBLISHED(TComponentEntry, "ComponentExplorerTools") {
    // The name comes from the component when the tree is refreshed.
    P.Property("Name", &TBaseEntry::Name,
               static_cast<void (TComponentEntry::*)(const String&)>(&TBaseEntry::SetName))
        .Stored(false);
    P.Property("Ref", &TComponentEntry::GetRef, &TComponentEntry::SetRef);
}

ORLO_PUBLISHED(TPropertyEntry, "ComponentExplorerTools") {
    P.Property("Kind", &TPropertyEntry::FKind);
    P.Property("Index", &TPropertyEntry::FIndex).Stored(&TPropertyEntry::GetIndexStored);
}

ORLO_UNPUBLISHED(TBaseEntries, "ComponentExplorerTools")
ORLO_UNPUBLISHED(TMainEntries, "ComponentExplorerTools")
ORLO_UNPUBLISHED(TComponentEntries, "ComponentExplorerTools")
ORLO_UNPUBLISHED(TPropertyEntries, "ComponentExplorerTools")
ORLO_UNPUBLISHED(TInternalController, "ComponentExplorerTools")

} // namespace orlo
