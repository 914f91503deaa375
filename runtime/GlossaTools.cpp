#include "runtime/GlossaTools.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ClassInfo.h"
#include "tools/Debug.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/GlossaTools.cpp 1.0 09.12.26 23:00 orlo $");

const TMainEntrySubType StringTableSubType{stTStringsObject, stNoValidate};
constexpr const char* StringTableName = "Resources";
constexpr Integer MaxNameNumber = 1000000;

// A value a slot can hold: Null (no value) as "", a type the value buffer
// cannot store as its text.
Variant Storable(const Variant& Value) {
    if (Value.IsNull())
        return Variant(String());
    return IsStorable(Value) ? Value : Variant(Value.AsString());
}

// The value a property holds when nothing was set, in the form its live value
// takes, so that the property accepts it: the element name of an enumeration
// or set, a number for a number. A reference has no such value: it keeps what
// it holds.
Variant EmptyValueOf(const TPropertyEntry* Entry) {
    std::unique_ptr<TClassInfo> Info;
    if (!Entry->GetClassInfo(Info))
        return Variant(String());
    switch (Info->Kind()) {
    case tkInteger:
    case tkChar:
        return Info->EmptyValue();
    case tkEnumeration:
    case tkSet:
        return Info->FormatValue(static_cast<Integer>(Info->EmptyValue().AsInteger()));
    case tkFloat:
        return Variant(0.0);
    case tkClass:
    case tkMethod:
        return Storable(Entry->GetValue());
    default:
        return Info->EmptyValue();
    }
}

bool HasLineBreak(std::string_view Text) {
    return Text.find_first_of("\r\n") != std::string_view::npos;
}

// The application object is not a form: its components are not translated.
bool IsApplicationObject(const TComponent* Root) {
    for (TClass Class = Root->ClassType(); Class; Class = Class->ClassParent())
        if (Class->ClassName() == "TApplication")
            return true;
    return false;
}

void WriteLength(TStream* Stream, Integer Length) {
    const Byte Bytes[4] = {Byte(Length), Byte(Length >> 8), Byte(Length >> 16), Byte(Length >> 24)};
    Stream->WriteBuffer(Bytes, 4);
}

// Name without the blanks and control characters around it.
std::string_view TrimmedView(const String& Name) {
    std::string_view View(Name);
    while (!View.empty() && static_cast<unsigned char>(View.front()) <= ' ')
        View.remove_prefix(1);
    while (!View.empty() && static_cast<unsigned char>(View.back()) <= ' ')
        View.remove_suffix(1);
    return View;
}

// A stored 8-bit or wide string: type code 256 or 8, then the characters.
bool IsTextBuffer(const TValueBuffer& Buffer) {
    if (Buffer.Size() < 4)
        return false;
    const Byte* Code = Buffer.Data();
    const Cardinal Type = Cardinal(Code[0]) | Cardinal(Code[1]) << 8 | Cardinal(Code[2]) << 16 |
                          Cardinal(Code[3]) << 24;
    return Type == varString || Type == varOleStr;
}

Integer ReadLength(TStream* Stream) {
    Byte Bytes[4];
    Stream->ReadBuffer(Bytes, 4);
    return static_cast<Integer>(Cardinal(Bytes[0]) | Cardinal(Bytes[1]) << 8 |
                                Cardinal(Bytes[2]) << 16 | Cardinal(Bytes[3]) << 24);
}

} // namespace

// --- TLanguageEntry, TLanguageEntries ---------------------------------------------------

void TLanguageEntry::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TLanguageEntry*>(Source);
    if (!Other)
        return TCollectionItem::Assign(Source);
    FMarked = Other->FMarked;
    FName = Other->FName;
    FHint = Other->FHint;
    FSubIndex = Other->FSubIndex;
}

void TLanguageEntry::Mark() {
    if (auto* Entries = dynamic_cast<TLanguageEntries*>(Collection()))
        for (Integer I = 0; I < Entries->Count(); ++I)
            Entries->Items(I)->FMarked = false;
    FMarked = true;
}

TLanguageEntries::TLanguageEntries(TPersistent* Owner)
    : TOwnedCollection(Owner, TLanguageEntry::StaticClass()) {}

TLanguageEntry* TLanguageEntries::Items(Integer Index) const {
    return static_cast<TLanguageEntry*>(TCollection::Items(Index));
}

Integer TLanguageEntries::IndexOfName(const String& Name) const {
    const String Wanted = Trim(Name);
    for (Integer I = 0; I < Count(); ++I)
        if (AnsiSameText(Items(I)->Name(), Wanted))
            return I;
    return -1;
}

// --- TConsistentLangPropertyEntry --------------------------------------------------------

void TConsistentLangPropertyEntry::SetCount(Integer Value) {
    if (Value != FCount)
        ChangeCount(std::max(Value, 1));
}

void TConsistentLangPropertyEntry::ChangeCount(Integer Value) {
    DropSlotsFrom(Value);
    FCount = Value;
}

void TConsistentLangPropertyEntry::CheckIndex(Integer Index, const char* Operation) const {
    if (Index < 0 || Index >= FCount)
        throw Exception(ClassName() + "." + Operation + ": Invalid index");
}

const TValueBuffer& TConsistentLangPropertyEntry::Slot(Integer Index) const noexcept {
    static const TValueBuffer NoValue;
    return Index >= FSlotBase && Index < SlotEnd() ? FSlots[Index - FSlotBase] : NoValue;
}

TValueBuffer& TConsistentLangPropertyEntry::SlotRef(Integer Index) {
    if (Index < FSlotBase)
        throw Exception(ClassName() + ": value " + IntToStr(Index) + " is the live property");
    if (Index >= SlotEnd())
        FSlots.resize(Index + 1 - FSlotBase);
    return FSlots[Index - FSlotBase];
}

void TConsistentLangPropertyEntry::DropSlotsFrom(Integer First) {
    if (SlotEnd() > First)
        FSlots.resize(std::max(First - FSlotBase, 0));
}

Variant TConsistentLangPropertyEntry::SlotValue(Integer Index) const {
    const TValueBuffer& Buffer = Slot(Index);
    return Buffer.Empty() ? Variant::Null() : BufferToVariant(Buffer);
}

Variant TConsistentLangPropertyEntry::GetLangValue(Integer Index) const {
    CheckIndex(Index, "GetLangValue");
    return SlotValue(Index);
}

void TConsistentLangPropertyEntry::SetLangValue(Integer Index, const Variant& Value) {
    CheckIndex(Index, "SetLangValue");
    TValueBuffer Encoded = VariantToBuffer(Value);
    SlotRef(Index) = std::move(Encoded);
}

void TConsistentLangPropertyEntry::ExchangeLangValues(Integer Index1, Integer Index2) {
    CheckIndex(Index1, "ExchangeLangValues");
    CheckIndex(Index2, "ExchangeLangValues");
    if (Index1 != Index2)
        std::swap(SlotRef(Index1), SlotRef(Index2));
}

void TConsistentLangPropertyEntry::AssignNew(const TConsistentLangPropertyEntry* Source) {
    SetCount(Source->Count());
    // Slots beyond both entries' allocated ones are empty on both sides.
    const Integer Last = std::min(FCount, std::max({SlotEnd(), Source->SlotEnd(), 1}));
    for (Integer I = 0; I < Last; ++I)
        CopyValueFrom(Source, I);
}

void TConsistentLangPropertyEntry::CopyValueFrom(const TConsistentLangPropertyEntry* Source,
                                                 Integer Index) {
    if (Index == 0 && (KeepsValueLive() || Source->KeepsValueLive())) {
        // Two live values are two properties: each keeps its own.
        if (!(KeepsValueLive() && Source->KeepsValueLive()))
            SetLangValue(0, Source->GetLangValue(0));
        return;
    }
    const TValueBuffer& From = Source->Slot(Index);
    if (!From.Empty() || Index < SlotEnd())
        SlotRef(Index) = From;
}

void TConsistentLangPropertyEntry::Assign(TPersistent* Source) {
    TPropertyEntry::Assign(Source);
    if (auto* Other = dynamic_cast<TConsistentLangPropertyEntry*>(Source); Other && Other != this)
        AssignNew(Other);
}

bool TConsistentLangPropertyEntry::IsValueValid(const String& S) {
    Variant Saved;
    try {
        Saved = GetValue();
    } catch (const std::exception&) {
        return false;
    }
    bool Valid = true;
    try {
        SetValue(Variant(S));
    } catch (const std::exception&) {
        Valid = false;
    }
    try {
        SetValue(Saved);
    } catch (const std::exception&) {
        // The property keeps what the failed write left; nothing more can be done.
    }
    return Valid;
}

String TConsistentLangPropertyEntry::GetDescriptor(const String& Prefix) const {
    if (LineIndex() >= 0)
        return Prefix + Name() + ": " + TypeName();
    return TPropertyEntry::GetDescriptor(Prefix);
}

// --- TInconsistentLangPropertyEntry -------------------------------------------------------

Variant TInconsistentLangPropertyEntry::GetLangValue(Integer Index) const {
    CheckIndex(Index, "GetLangValue");
    return Index == 0 ? GetValue() : SlotValue(Index);
}

void TInconsistentLangPropertyEntry::SetLangValue(Integer Index, const Variant& Value) {
    if (Index != 0)
        return TConsistentLangPropertyEntry::SetLangValue(Index, Value);
    CheckIndex(Index, "SetLangValue");
    SetValue(Value);
}

void TInconsistentLangPropertyEntry::ExchangeLangValues(Integer Index1, Integer Index2) {
    CheckIndex(Index1, "ExchangeLangValues");
    CheckIndex(Index2, "ExchangeLangValues");
    if (Index1 != 0 && Index2 != 0)
        return TConsistentLangPropertyEntry::ExchangeLangValues(Index1, Index2);
    const Integer Stored = Index1 == 0 ? Index2 : Index1;
    if (Stored == 0 || ExchangeLiveText(Stored))
        return;
    // Everything that can fail happens before the slot changes.
    TValueBuffer Live = VariantToBuffer(GetValue());
    SetValue(SlotValue(Stored));
    SlotRef(Stored) = std::move(Live);
}

bool TInconsistentLangPropertyEntry::ExchangeLiveText(Integer Stored) {
    const TPropInfo* Prop = PropInfo();
    TMainEntry* Main = MainEntry();
    if (!Prop || !Main || !Main->Ref() || !Main->SubType().Contains(stPubPropObject) ||
        !IsStringKind(Prop->PropType->Kind) || !Prop->HasGetter() || !Prop->HasSetter())
        return false;
    const TValueBuffer& Buffer = Slot(Stored);
    if (!IsTextBuffer(Buffer))
        return false;
    // The text goes through a reused string, so writing it allocates nothing
    // once the texts of the languages have been seen.
    thread_local String Text;
    Text.assign(reinterpret_cast<const char*>(Buffer.Data()) + 4, Buffer.Size() - 4);
    TValueBuffer Live = VariantToBuffer(Variant(GetStrProp(Main->Ref(), Prop)));
    SetStrProp(Main->Ref(), Prop, Text);
    SlotRef(Stored) = std::move(Live);
    return true;
}

void TInconsistentLangPropertyEntry::DefineProperties(TFiler* Filer) {
    TConsistentLangPropertyEntry::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Values", [this](TStream* Stream) { LoadValues(Stream); },
        [this](TStream* Stream) { StoreValues(Stream); }, true);
}

void TInconsistentLangPropertyEntry::LoadValues(TStream* Stream) {
    DropSlotsFrom(1);
    String Bytes;
    for (Integer I = 1; I < Count(); ++I) {
        const Integer Length = ReadLength(Stream);
        if (Length <= 0)
            continue;
        // A length beyond the payload is a truncated stream, not a reason to allocate.
        if (Length > Stream->Size() - Stream->Position())
            throw EReadError("Stream read error");
        Bytes.resize(Length);
        Stream->ReadBuffer(Bytes.data(), Length);
        SlotRef(I) = TValueBuffer(Bytes.data(), Bytes.size());
    }
}

void TInconsistentLangPropertyEntry::StoreValues(TStream* Stream) const {
    for (Integer I = 1; I < Count(); ++I) {
        const TValueBuffer& Buffer = Slot(I);
        WriteLength(Stream, static_cast<Integer>(Buffer.Size()));
        if (!Buffer.Empty())
            Stream->WriteBuffer(Buffer.Data(), static_cast<Integer>(Buffer.Size()));
    }
}

// --- TNameIndex ---------------------------------------------------------------------------

namespace {

char LowerAscii(char C) {
    return C >= 'A' && C <= 'Z' ? char(C + ('a' - 'A')) : C;
}

bool IsAscii(std::string_view Text) {
    return std::all_of(Text.begin(), Text.end(), [](char C) { return C >= 0; });
}

// Hash and comparison fold ASCII letters on the way, which leaves folded text as it is.
UInt64 FoldedHash(std::string_view Text) {
    UInt64 Hash = 14695981039346656037ull;
    for (char C : Text)
        Hash = (Hash ^ static_cast<unsigned char>(LowerAscii(C))) * 1099511628211ull;
    return Hash;
}

bool FoldedEqual(std::string_view Folded, std::string_view Text) {
    return Folded.size() == Text.size() &&
           std::equal(Folded.begin(), Folded.end(), Text.begin(),
                      [](char F, char C) { return F == LowerAscii(C); });
}

} // namespace

void TNameIndex::Clear() {
    FKeys.clear();
    FTable.assign(16, -1);
}

size_t TNameIndex::Probe(std::string_view Folded, UInt64 Hash) const {
    const size_t Mask = FTable.size() - 1;
    size_t At = Hash & Mask;
    while (FTable[At] >= 0) {
        const TKey& Key = FKeys[FTable[At]];
        if (Key.Hash == Hash && FoldedEqual(Key.Folded, Folded))
            break;
        At = (At + 1) & Mask;
    }
    return At;
}

void TNameIndex::Rehash(size_t Size) {
    FTable.assign(Size, -1);
    for (size_t I = 0; I < FKeys.size(); ++I)
        FTable[Probe(FKeys[I].Folded, FKeys[I].Hash)] = static_cast<Integer>(I);
}

void TNameIndex::Add(const String& Name, Integer Line) {
    if (FTable.empty())
        Clear();
    String Folded = AnsiLowerCase(Name);
    const UInt64 Hash = FoldedHash(Folded);
    const size_t At = Probe(Folded, Hash);
    if (FTable[At] >= 0)
        return; // the first line of a name wins
    FKeys.push_back({std::move(Folded), Line, Hash});
    FTable[At] = static_cast<Integer>(FKeys.size() - 1);
    if (FKeys.size() * 2 > FTable.size())
        Rehash(FTable.size() * 2);
}

Integer TNameIndex::Find(std::string_view Name) const {
    if (FTable.empty())
        return -1;
    // Names beyond ASCII are folded as the list folds them; ASCII ones on the way.
    const String Folded = IsAscii(Name) ? String() : AnsiLowerCase(String(Name));
    const std::string_view Key = Folded.empty() ? Name : std::string_view(Folded);
    const Integer At = FTable[Probe(Key, FoldedHash(Key))];
    return At < 0 ? -1 : FKeys[At].Line;
}

// --- TLanguageManager: life and languages ------------------------------------------------

TLanguageManager::TLanguageManager(TComponent* Root, TComponent* Control,
                                   TPersistent* CollectionOwner, TCreateMode Mode)
    : FHasRoot(Root && !IsApplicationObject(Root)), FRoot(Root), FControl(Control),
      FLangs(std::make_unique<TLanguageEntries>(CollectionOwner)),
      FNames(std::make_unique<TStringList>()), FValues(std::make_unique<TStringList>()) {
    if (Mode != cmNone) {
        FComps = std::make_unique<TComponentEntries>(
            CollectionOwner, Mode == cmConsistent ? TConsistentLangPropertyEntry::StaticClass()
                                                  : TInconsistentLangPropertyEntry::StaticClass());
        FComps->SetAssignMode(false);
        FComps->OnAssign = TAssignNotify::Make<&TLanguageManager::OnCompsAssign>(this);
    }
}

TLanguageManager::TLanguageManager(TComponent* Root, TComponent* Control,
                                   TPersistent* CollectionOwner, TClass PropClass)
    : TLanguageManager(Root, Control, CollectionOwner, cmNone) {
    if (!PropClass || !PropClass->InheritsFrom(TConsistentLangPropertyEntry::StaticClass()))
        throw EInvalidOperation(
            Format("%s needs a language-aware property entry class", ClassName()));
    FComps = std::make_unique<TComponentEntries>(CollectionOwner, PropClass);
    FComps->SetAssignMode(false);
    FComps->OnAssign = TAssignNotify::Make<&TLanguageManager::OnCompsAssign>(this);
}

TLanguageManager::~TLanguageManager() = default;

String TLanguageManager::RootClassName() const {
    if (!FRootClassName.empty() || !FRoot)
        return FRootClassName;
    return FRoot->ClassName();
}

void TLanguageManager::Raise(const String& Text) const {
    throw Exception(ClassName() + Text);
}

const TLanguageManager::TLangEntryList& TLanguageManager::LangEntries() {
    FWalk.clear();
    if (FComps)
        FComps->ForEachPropertyEntryDo([this](TMainEntry*, TPropertyEntry* Entry) {
            if (auto* Lang = dynamic_cast<TConsistentLangPropertyEntry*>(Entry))
                FWalk.push_back(Lang);
        });
    return FWalk;
}

TLanguageEntry* TLanguageManager::ActiveLanguage() const {
    for (Integer I = 0; I < FLangs->Count(); ++I)
        if (FLangs->Items(I)->SubIndex() == 0)
            return FLangs->Items(I);
    return nullptr;
}

void TLanguageManager::Init(TSyncCountMode Mode) {
    if (FComps)
        InitStoredEntries(FComps.get(), FMissingRefs, ClassName());
    FMissingRefs.clear();
    DropSharedSubIndexes();
    AdoptUnownedSlots();
    CloseSubIndexGaps();
    TMainEntry* Table = FComps && FControl ? GetStringInterface(false) : nullptr;
    if (Table) {
        Table->SetRef(FValues.get());
        RejoinSplitNames(Table);
    }
    RepairStringTable();
    if (Table)
        DropNamesWithLineBreaks(Table);
    SyncCount(Mode);
}

void TLanguageManager::Clear() {
    if (FComps)
        FComps->Clear();
    FNames->Clear();
    FValues->Clear();
    FLangs->Clear();
}

void TLanguageManager::Assign(const TLanguageManager* Source) {
    if (Source == this)
        return;
    // All or nothing: what OnCompsAssign would refuse is refused before anything changes.
    if (FComps && Source->FComps)
        if (const TStrings* Lines = Source->StringTableLines();
            Lines && Lines != FValues.get() && Lines->Count() != Source->FNames->Count())
            throw Exception("Inconsistent internal language data");
    FHasRoot = Source->FHasRoot;
    FRoot = Source->FRoot;
    FControl = Source->FControl;
    FLangs->Assign(Source->FLangs.get());
    FNames->Assign(Source->FNames.get());
    if (FComps && Source->FComps)
        FComps->Assign(Source->FComps.get()); // OnCompsAssign takes over Values
    else
        FValues->Assign(Source->FValues.get());
}

void TLanguageManager::AssignLangsAndSync(TLanguageEntries* NewLangs, TSyncCountMode Mode) {
    FLangs->Assign(NewLangs);
    DropSharedSubIndexes();
    CloseSubIndexGaps();
    SyncCount(Mode);
    for (Integer I = 0; I < FLangs->Count(); ++I) {
        TLanguageEntry* Lang = FLangs->Items(I);
        if (Lang->Marked()) {
            Lang->SetMarked(false);
            SetLanguageByIndex(I);
            return;
        }
    }
}

void TLanguageManager::DropSharedSubIndexes() {
    // Of languages sharing a slot, the first keeps it.
    std::unordered_set<Integer> Seen;
    for (Integer I = 0; I < FLangs->Count(); ++I) {
        TLanguageEntry* Lang = FLangs->Items(I);
        if (Lang->SubIndex() >= 0 && !Seen.insert(Lang->SubIndex()).second)
            Lang->SetSubIndex(-1);
    }
}

void TLanguageManager::AdoptUnownedSlots() {
    std::unordered_set<Integer> Owned;
    std::vector<TLanguageEntry*> Homeless;
    for (Integer I = 0; I < FLangs->Count(); ++I) {
        TLanguageEntry* Lang = FLangs->Items(I);
        if (Lang->SubIndex() >= 0)
            Owned.insert(Lang->SubIndex());
        else
            Homeless.push_back(Lang);
    }
    Integer Slots = 0;
    for (TConsistentLangPropertyEntry* Entry : LangEntries())
        Slots = std::max(Slots, Entry->Count());
    auto Next = Homeless.begin();
    for (Integer Slot = 0; Slot < Slots && Next != Homeless.end(); ++Slot)
        if (!Owned.count(Slot))
            (*Next++)->SetSubIndex(Slot);
}

void TLanguageManager::CloseSubIndexGaps() {
    std::vector<TLanguageEntry*> Numbered;
    for (Integer I = 0; I < FLangs->Count(); ++I)
        if (FLangs->Items(I)->SubIndex() >= 0)
            Numbered.push_back(FLangs->Items(I));
    // The k-th smallest SubIndex moves down to k. Copying in ascending order
    // never overwrites a slot that is still to be copied.
    std::stable_sort(Numbered.begin(), Numbered.end(),
                     [](auto* A, auto* B) { return A->SubIndex() < B->SubIndex(); });
    const Integer Present = static_cast<Integer>(Numbered.size());
    for (Integer K = 0; K < Present; ++K) {
        if (Numbered[K]->SubIndex() != K) {
            CopyLangValues(Numbered[K]->SubIndex(), K);
            Numbered[K]->SetSubIndex(K);
        }
    }
    // Surplus slots go; new languages get the next numbers in list order.
    for (TConsistentLangPropertyEntry* Entry : LangEntries())
        if (Entry->Count() > Present)
            Entry->SetCount(Present);
    Integer Next = Present;
    for (Integer I = 0; I < FLangs->Count(); ++I)
        if (FLangs->Items(I)->SubIndex() < 0)
            FLangs->Items(I)->SetSubIndex(Next++);
}

void TLanguageManager::CopyLangValues(Integer From, Integer To) {
    // An entry without a slot From has nothing to give.
    for (TConsistentLangPropertyEntry* Entry : LangEntries())
        if (Entry->Count() > From)
            Entry->SetLangValue(To, Entry->GetLangValue(From));
}

namespace {

// What SyncCount gives the new slots of one entry, worked out before anything changes.
struct TNewSlots {
    TConsistentLangPropertyEntry* Entry;
    Integer Old;
    Variant First;  // slot 0 of a brand-new entry
    Variant Others; // the slots from max(Old, 1) on
    // Slot 0 is the live property and must be written (an empty value given to it).
    bool WritesLive;
};

bool IsLive(const TConsistentLangPropertyEntry* Entry) {
    return dynamic_cast<const TInconsistentLangPropertyEntry*>(Entry) != nullptr;
}

// New slots hold typed values, so that the property takes them back exactly:
// cmInitAll the active value, the others the empty value; slot 0 of a brand-new
// entry the current value (cmInitNone: the empty one). A live property that
// keeps its current value is not written at all.
TNewSlots PlanNewSlots(TConsistentLangPropertyEntry* Entry, TSyncCountMode Mode) {
    TNewSlots Plan{Entry, Entry->Count(), Variant(), Variant(), false};
    const bool BrandNew = Plan.Old == 0;
    const Variant Current =
        BrandNew && Mode != cmInitNone ? Storable(Entry->GetValue()) : Variant();
    if (Mode == cmInitAll)
        Plan.Others = BrandNew ? Current : Storable(Entry->GetLangValue(0));
    else
        Plan.Others = EmptyValueOf(Entry);
    if (BrandNew) {
        Plan.First = Mode == cmInitNone ? Plan.Others : Current;
        Plan.WritesLive = Mode == cmInitNone && IsLive(Entry);
    }
    return Plan;
}

// Writes the empty values into live properties; on a failure the properties
// already written get their values back and the exception propagates.
void WriteLiveValues(const std::vector<TNewSlots>& Plans) {
    std::vector<std::pair<TConsistentLangPropertyEntry*, Variant>> Written;
    try {
        for (const TNewSlots& Plan : Plans) {
            if (!Plan.WritesLive)
                continue;
            Variant Before = Plan.Entry->GetValue();
            Plan.Entry->SetValue(Plan.First);
            Written.emplace_back(Plan.Entry, std::move(Before));
        }
    } catch (...) {
        for (auto& [Entry, Before] : Written) {
            try {
                Entry->SetValue(Before);
            } catch (const std::exception&) {
                // This property keeps the empty value; the others are restored.
            }
        }
        throw;
    }
}

} // namespace

void TLanguageManager::SyncCount(TSyncCountMode Mode) {
    if (Mode != cmInitNone && Mode != cmInitDefault && Mode != cmInitAll)
        throw ECaseError(ClassName() + ".SyncCount: Invalid mode");
    const Integer N = std::max(FLangs->Count(), 1);
    // Everything that can fail happens before any count changes.
    std::vector<TNewSlots> Plans;
    for (TConsistentLangPropertyEntry* Entry : LangEntries())
        if (Entry->Count() < N)
            Plans.push_back(PlanNewSlots(Entry, Mode));
    WriteLiveValues(Plans);
    for (TConsistentLangPropertyEntry* Entry : LangEntries())
        if (Entry->Count() > N)
            Entry->SetCount(N);
    for (const TNewSlots& Plan : Plans) {
        Plan.Entry->SetCount(N);
        if (Plan.Old == 0 && !IsLive(Plan.Entry))
            Plan.Entry->SetLangValue(0, Plan.First);
        for (Integer I = std::max(Plan.Old, 1); I < N; ++I)
            Plan.Entry->SetLangValue(I, Plan.Others);
    }
}

bool TLanguageManager::SetLanguageByIndex(Integer Index) {
    TLanguageEntry* Target = FLangs->Items(Index);
    const Integer K = Target->SubIndex();
    if (K <= 0)
        return false;
    if (FComps)
        FComps->Init();
    TLanguageEntry* Active = ActiveLanguage();
    if (!Active)
        Raise(".SetLanguageByIndex: Active language not found");
    const TLangEntryList& Entries = LangEntries();
    // Nothing moves unless every entry has the slot.
    for (TConsistentLangPropertyEntry* Entry : Entries)
        Entry->CheckIndex(K, "ExchangeLangValues");
    Target->SetSubIndex(0);
    Active->SetSubIndex(K);
    size_t Done = 0;
    try {
        for (; Done < Entries.size(); ++Done)
            Entries[Done]->ExchangeLangValues(0, K);
    } catch (...) {
        // Exchanging again restores each entry already switched.
        while (Done-- > 0) {
            try {
                Entries[Done]->ExchangeLangValues(0, K);
            } catch (const std::exception&) {
                // This entry keeps the new language; the others are restored.
            }
        }
        Target->SetSubIndex(K);
        Active->SetSubIndex(0);
        throw;
    }
    return true;
}

// --- TLanguageManager: named strings ------------------------------------------------------

Integer TLanguageManager::LookupName(std::string_view Name) const {
    if (FIndexedChange != FNames->ChangeCount()) {
        FNameIndex.Clear();
        for (Integer I = 0; I < FNames->Count(); ++I)
            FNameIndex.Add(FNames->Strings(I), I);
        FIndexedChange = FNames->ChangeCount();
    }
    return FNameIndex.Find(Name);
}

void TLanguageManager::AppendName(const String& Name) {
    const bool Current = FIndexedChange == FNames->ChangeCount();
    FNames->Add(Name);
    if (Current) {
        FNameIndex.Add(Name, FNames->Count() - 1);
        FIndexedChange = FNames->ChangeCount();
    }
}

bool TLanguageManager::GetString(const String& Name, String& Value) const {
    Value.clear();
    const Integer Line = LookupName(TrimmedView(Name));
    if (Line < 0)
        return false;
    if (Line < FValues->Count())
        Value = FValues->Strings(Line);
    return true;
}

Integer TLanguageManager::GetStringNameIndex(const String& Name) const {
    return LookupName(Name);
}

bool TLanguageManager::IsUniqueStringName(const String& Name) const {
    return LookupName(Name) < 0;
}

bool TLanguageManager::IsStringNameValid(const String& Name) {
    if (Trim(Name).empty())
        return false;
    return std::all_of(Name.begin(), Name.end(), [](char C) {
        return C == ' ' || C == '_' || (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') ||
               (C >= 'a' && C <= 'z');
    });
}

String TLanguageManager::NumberedName(const String& Base) const {
    for (Integer Number = 1; Number <= MaxNameNumber; ++Number) {
        String Candidate = Base + IntToStr(Number);
        if (LookupName(Candidate) < 0)
            return Candidate;
    }
    Raise(".AddString: Unique name of string could no be created");
}

TMainEntry* TLanguageManager::GetStringInterface(bool Create) {
    if (!FControl)
        Raise(".GetStringInterface failed. NIL Control");
    if (!FComps) {
        if (Create)
            Raise(".GetStringInterface failed. No entry tree");
        return nullptr;
    }
    TMainEntry* Owner = ControlEntry();
    if (!Owner) {
        if (!Create)
            return nullptr;
        Owner = static_cast<TMainEntry*>(FComps->Add());
        Owner->SetRef(FControl);
        Owner->SetName(FControl->Name());
        Owner->SetTypeName(FControl->ClassName());
        Owner->SetSubType({stPubPropObject});
    }
    TMainEntries* Children = Owner->Items();
    if (const Integer Found = Children->IndexOfName(StringTableName); Found >= 0) {
        TMainEntry* Table = Children->Items(Found);
        Table->SetSubType(StringTableSubType); // a damaged stream may say otherwise
        return Table;
    }
    if (!Create)
        return nullptr;
    auto* Table = static_cast<TMainEntry*>(Children->Add());
    Table->SetRef(FValues.get());
    Table->SetName(StringTableName);
    Table->SetTypeName("String");
    Table->SetSubType(StringTableSubType);
    return Table;
}

const TStrings* TLanguageManager::StringTableLines() const {
    TMainEntry* Owner = FComps && FControl ? ControlEntry() : nullptr;
    const Integer At = Owner ? Owner->Items()->IndexOfName(StringTableName) : -1;
    return At >= 0 ? dynamic_cast<const TStrings*>(Owner->Items()->Items(At)->Ref()) : nullptr;
}

TMainEntry* TLanguageManager::ControlEntry() const {
    // By reference first: names come from the components only once the tree is refreshed.
    for (Integer I = 0; I < FComps->Count(); ++I)
        if (FComps->Items(I)->Ref() == FControl)
            return FComps->Items(I);
    const Integer At = FComps->IndexOfName(FControl->Name());
    return At >= 0 ? FComps->Items(At) : nullptr;
}

TConsistentLangPropertyEntry* TLanguageManager::AddString(const String& Name) {
    if (HasLineBreak(Name))
        Raise(".AddString: Name of string must not contain a line break");
    TMainEntry* Table = GetStringInterface(true);
    TPropertyEntry* Created = TPropertyEntry::Create(nullptr, Table, String(), String(), tkUnknown);
    auto* Entry = dynamic_cast<TConsistentLangPropertyEntry*>(Created);
    bool AddedValue = false;
    bool AddedName = false;
    try {
        if (!Entry)
            Raise(".AddString failed. The string table holds no language entries");
        String StringName = Trim(Name);
        if (StringName.empty())
            StringName = NumberedName("String");
        else if (LookupName(StringName) >= 0)
            StringName = NumberedName(StringName);
        FValues->Add(String());
        AddedValue = true;
        AppendName(StringName);
        AddedName = true;
        Entry->Init(nullptr, StringName, "String", tkLString);
        Entry->SetLineIndex(FNames->Count() - 1);
        Entry->SetCount(std::max(FLangs->Count(), 1));
        for (Integer I = 0; I < Entry->Count(); ++I)
            Entry->SetLangValue(I, Variant(String()));
    } catch (...) {
        if (AddedName)
            FNames->Delete(FNames->Count() - 1);
        if (AddedValue)
            FValues->Delete(FValues->Count() - 1);
        delete Created;
        throw;
    }
    return Entry;
}

void TLanguageManager::RemoveString(TPropertyEntry* Entry) {
    TMainEntry* Table = FComps && FControl ? GetStringInterface(false) : nullptr;
    const Integer Line = Entry ? Entry->LineIndex() : -1;
    if (!Entry || !Table || Entry->MainEntry() != Table || Line < 0 || Line >= FNames->Count() ||
        Line >= FValues->Count())
        Raise(".RemoveString failed.");
    FNames->Delete(Line);
    FValues->Delete(Line);
    delete Entry;
    TPropertyEntries* Strings = Table->Props();
    for (Integer I = 0; I < Strings->Count(); ++I)
        if (Strings->Items(I)->LineIndex() > Line)
            Strings->Items(I)->SetLineIndex(Strings->Items(I)->LineIndex() - 1);
}

void TLanguageManager::OnCompsAssign(TObject*, TPersistent*) {
    TMainEntry* Table = GetStringInterface(true);
    if (Table->Ref() != FValues.get()) {
        if (auto* Other = dynamic_cast<TStrings*>(Table->Ref()))
            FValues->Assign(Other);
        // Never left referring to the other manager's list, which may go first.
        Table->SetRef(FValues.get());
        if (FNames->Count() != FValues->Count())
            throw Exception("Inconsistent internal language data");
    }
    RemoveUnusedLines(Table);
}

void TLanguageManager::RemoveUnusedLines(TMainEntry* Table) {
    const Integer Lines = FNames->Count();
    std::vector<bool> Used(Lines, false);
    TPropertyEntries* Strings = Table->Props();
    for (Integer I = 0; I < Strings->Count(); ++I)
        if (const Integer Line = Strings->Items(I)->LineIndex(); Line >= 0 && Line < Lines)
            Used[Line] = true;
    if (std::all_of(Used.begin(), Used.end(), [](bool B) { return B; }))
        return;
    std::vector<Integer> NewLine(Lines);
    Integer Kept = 0;
    for (Integer I = 0; I < Lines; ++I)
        NewLine[I] = Used[I] ? Kept++ : -1;
    for (Integer I = Lines - 1; I >= 0; --I) {
        if (Used[I])
            continue;
        FNames->Delete(I);
        if (I < FValues->Count())
            FValues->Delete(I);
    }
    for (Integer I = 0; I < Strings->Count(); ++I)
        if (const Integer Line = Strings->Items(I)->LineIndex(); Line >= 0 && Line < Lines)
            Strings->Items(I)->SetLineIndex(NewLine[Line]);
}

void TLanguageManager::RejoinSplitNames(TMainEntry* Table) {
    std::vector<TPropertyEntry*> Broken;
    for (Integer I = 0; I < Table->Props()->Count(); ++I)
        if (TPropertyEntry* Entry = Table->Props()->Items(I);
            Entry->LineIndex() >= 0 && HasLineBreak(Entry->Name()))
            Broken.push_back(Entry);
    // In line order: the lines before a name are back in place when it is rejoined.
    std::sort(Broken.begin(), Broken.end(),
              [](auto* A, auto* B) { return A->LineIndex() < B->LineIndex(); });
    for (TPropertyEntry* Entry : Broken) {
        TStringList Pieces;
        Pieces.SetText(Entry->Name());
        const Integer At = Entry->LineIndex();
        if (Pieces.Count() < 2 || At + Pieces.Count() > FNames->Count())
            continue;
        bool Split = true;
        for (Integer J = 0; J < Pieces.Count() && Split; ++J)
            Split = FNames->Strings(At + J) == Pieces.Strings(J);
        if (!Split)
            continue;
        for (Integer J = 1; J < Pieces.Count(); ++J)
            FNames->Delete(At + 1);
        FNames->Put(At, Entry->Name());
    }
}

void TLanguageManager::DropNamesWithLineBreaks(TMainEntry* Table) {
    for (Integer I = Table->Props()->Count() - 1; I >= 0; --I) {
        TPropertyEntry* Entry = Table->Props()->Items(I);
        if (!HasLineBreak(Entry->Name()))
            continue;
        TDebug::WriteFmt("%s.Init: named string '%s' dropped: its name has a line break",
                         ClassName(), SingleLine(Entry->Name()));
        RemoveString(Entry);
    }
}

void TLanguageManager::RepairStringTable() {
    while (FValues->Count() < FNames->Count())
        FValues->Add(String());
    TMainEntry* Table = FComps && FControl ? GetStringInterface(false) : nullptr;
    std::vector<std::pair<TPropertyEntry*, String>> Homeless;
    if (Table)
        Homeless = SettleStringLines(Table);
    // Lines beyond Names belong to no name.
    while (FValues->Count() > FNames->Count())
        FValues->Delete(FValues->Count() - 1);
    for (auto& [Entry, Value] : Homeless) {
        String StringName = Trim(Entry->Name());
        if (StringName.empty() || LookupName(StringName) >= 0)
            StringName = NumberedName(StringName.empty() ? String("String") : StringName);
        FValues->Add(Value);
        AppendName(StringName);
        Entry->SetName(StringName);
        Entry->SetLineIndex(FNames->Count() - 1);
    }
}

std::vector<std::pair<TPropertyEntry*, String>>
TLanguageManager::SettleStringLines(TMainEntry* Table) {
    const Integer Lines = FNames->Count();
    std::vector<TPropertyEntry*> Owner(Lines, nullptr);
    std::vector<TPropertyEntry*> Pending;
    for (Integer I = 0; I < Table->Props()->Count(); ++I)
        Pending.push_back(Table->Props()->Items(I));
    // Each pass settles what it can; the next one works on the rest.
    auto Settle = [&](auto LineOf) {
        std::erase_if(Pending, [&](TPropertyEntry* Entry) {
            const Integer Line = LineOf(Entry);
            if (Line < 0 || Line >= Lines || Owner[Line])
                return false;
            Owner[Line] = Entry;
            Entry->SetLineIndex(Line);
            return true;
        });
    };
    // Its line under its own name; the line of its name; its line whatever it names.
    Settle([&](TPropertyEntry* Entry) {
        const Integer Line = Entry->LineIndex();
        return Line >= 0 && Line < Lines && AnsiSameText(FNames->Strings(Line), Entry->Name())
                   ? Line
                   : -1;
    });
    Settle([&](TPropertyEntry* Entry) { return LookupName(Entry->Name()); });
    Settle([](TPropertyEntry* Entry) { return Entry->LineIndex(); });
    // The rest get new lines; a stray line beyond Names still holds their value.
    std::vector<std::pair<TPropertyEntry*, String>> Homeless;
    for (TPropertyEntry* Entry : Pending) {
        const Integer Line = Entry->LineIndex();
        Homeless.emplace_back(
            Entry, Line >= Lines && Line < FValues->Count() ? FValues->Strings(Line) : String());
    }
    return Homeless;
}

// --- TLanguageManager: stored form --------------------------------------------------------

void TLanguageManager::DefineProperties(const String& Prefix, TFiler* Filer) {
    Filer->DefineProperty(
        Prefix + "Langs", [this](TReader* Reader) { ReadLangs(Reader); },
        [this](TWriter* Writer) { WriteLangs(Writer); }, true);
    Filer->DefineProperty(
        Prefix + "Comps", [this](TReader* Reader) { ReadComps(Reader); },
        [this](TWriter* Writer) { WriteComps(Writer); }, true);
    Filer->DefineProperty(
        Prefix + "Names", [this](TReader* Reader) { ReadNames(Reader); },
        [this](TWriter* Writer) { WriteNames(Writer); }, true);
    Filer->DefineProperty(
        Prefix + "Values", [this](TReader* Reader) { ReadValues(Reader); },
        [this](TWriter* Writer) { WriteValues(Writer); }, true);
}

void TLanguageManager::ReadLangs(TReader* Reader) {
    FLangs->Clear();
    Reader->CheckValue(vaCollection);
    Reader->ReadCollection(FLangs.get());
}

void TLanguageManager::WriteLangs(TWriter* Writer) {
    Writer->WriteCollection(FLangs.get());
}

void TLanguageManager::ReadComps(TReader* Reader) {
    if (!FComps)
        return Reader->SkipValue();
    ReadStoredEntries(Reader, FComps.get(), FMissingRefs);
}

void TLanguageManager::WriteComps(TWriter* Writer) {
    if (FComps)
        return Writer->WriteCollection(FComps.get());
    Writer->WriteValue(vaCollection);
    Writer->WriteListEnd();
}

void TLanguageManager::ReadNames(TReader* Reader) {
    FNames->SetText(Reader->ReadString());
}

void TLanguageManager::WriteNames(TWriter* Writer) {
    // A line break in a name would split it on reading and shift every later name.
    String Text;
    for (Integer I = 0; I < FNames->Count(); ++I)
        Text += SingleLine(FNames->Strings(I)) + "\r\n";
    Writer->WriteString(Text);
}

void TLanguageManager::ReadValues(TReader* Reader) {
    FValues->SetText(Reader->ReadString());
}

void TLanguageManager::WriteValues(TWriter* Writer) {
    Writer->WriteString(FValues->Text());
}

// --- Type information ----------------------------------------------------------------------

ORLO_PUBLISHED(TLanguageEntry, "GlossaTools") {
    P.Property("Name", &TLanguageEntry::Name, &TLanguageEntry::SetName);
    P.Property("Hint", &TLanguageEntry::Hint, &TLanguageEntry::SetHint);
    P.Property("SubIndex", &TLanguageEntry::SubIndex, &TLanguageEntry::SetSubIndex);
}

ORLO_PUBLISHED(TConsistentLangPropertyEntry, "GlossaTools") {
    P.Property("Count", &TConsistentLangPropertyEntry::Count,
               &TConsistentLangPropertyEntry::SetCount);
}

ORLO_UNPUBLISHED(TLanguageEntries, "GlossaTools")
ORLO_PUBLISHED(TInconsistentLangPropertyEntry, "GlossaTools") {}
ORLO_UNPUBLISHED(TLanguageManager, "GlossaTools")

} // namespace orlo
