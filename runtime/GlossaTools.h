#pragma once
// The language manager: for one form, the list of languages, one value per
// language for every translated property, and the table of named strings.
//
// Every language has a SubIndex, the number of its value slot in every
// property entry; the active language has SubIndex 0. Reordering the list
// moves no values; switching exchanges the slot contents of two SubIndex
// values and swaps the two languages' SubIndex.
//
// Property entries come in two classes. A TConsistentLangPropertyEntry keeps
// all values in its slots (the translation editor's working copy). A
// TInconsistentLangPropertyEntry keeps value 0 in the live property of the
// component and only the other languages in slots; it streams those slots as
// the binary property "Values": per slot 1..Count-1 a 32-bit little-endian
// length and the value buffer (see ConvertTools.h), length 0 for no value.
//
// Named strings live in the tree too: under the component entry of Control, a
// main entry "Resources" of SubType [stTStringsObject, stNoValidate] whose Ref
// is the manager's Values list; each of its property entries is one string,
// its LineIndex the line in Names and Values.
//
// Choices for broken stored data (a manager is read from a form stream, and a
// stream may be damaged):
//  - A switch checks every entry's slot count before anything moves, and one
//    that fails half-way (a property setter raising, a value buffer that cannot
//    be read) is rolled back: the values already exchanged go back, the two
//    SubIndex values are swapped back, and the exception propagates.
//  - Init repairs the language list: of languages sharing a SubIndex the
//    first keeps it; languages without a valid SubIndex take the slots that no
//    language owns (lowest first), so their stored values stay theirs; then
//    gaps are closed as when a language is removed, entries are cut back to
//    the language count, and languages still without a slot count as new.
//  - Init gives every named string a line of its own: the line of its
//    LineIndex when that line carries its name, else the line of its name,
//    else its LineIndex line when free, else a new line under its name (or a
//    numbered one); Values gets an empty line for every name that lacks one,
//    and lines of Values beyond Names, which no name reaches, go.
//  - Init ties the string table to Values before it fills new slots, so a
//    language added without values gets the active texts of named strings too.
//  - A value written into a line of a string list has its line breaks turned
//    into blanks: Names and Values are stored as line-separated text, and a
//    line break inside a value would shift every later string on reading.
//  - Slots are created when written, so a stored Count beyond reason costs
//    nothing until the values are read, and reading stops at the payload's end.

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Variant.h"
#include "runtime/ComponentExplorerTools.h"
#include "runtime/ConvertTools.h"

#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace orlo {

class TFiler;
class TLogFile;
class TReader;
class TWriter;
class TStream;

ORLO_ENUM(TCreateMode, cmNone, cmConsistent, cmInconsistent)
ORLO_ENUM(TSyncCountMode, cmInitNone, cmInitDefault, cmInitAll)
ORLO_ENUM(TImportMode, imClearExisting, imAddAll, imAddNotExisting)

class TLanguageEntry : public TCollectionItem {
    ORLO_CLASS(TLanguageEntry, TCollectionItem)
public:
    explicit TLanguageEntry(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& Name() const noexcept { return FName; }
    void SetName(const String& Value) { FName = Value; }
    const String& Hint() const noexcept { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    // Slot of this language's values; 0 = active, -1 = not yet assigned.
    Integer SubIndex() const noexcept { return FSubIndex; }
    void SetSubIndex(Integer Value) { FSubIndex = Value; }
    bool Marked() const noexcept { return FMarked; }
    void SetMarked(bool Value) noexcept { FMarked = Value; }

    // From a language entry: all four fields, the mark included.
    void Assign(TPersistent* Source) override;
    bool IsActive() const noexcept { return FSubIndex == 0; }
    // Marks this entry as the one to activate, and no other of its collection.
    void Mark();
    String DisplayName() const override { return FName; }

private:
    bool FMarked = false;
    String FName;
    String FHint;
    Integer FSubIndex = -1;
};

class TLanguageEntries : public TOwnedCollection {
    ORLO_CLASS(TLanguageEntries, TOwnedCollection)
public:
    explicit TLanguageEntries(TPersistent* Owner);

    TLanguageEntry* Items(Integer Index) const;
    void SetItems(Integer Index, TLanguageEntry* Value) { SetItem(Index, Value); }
    // First entry named Name (trimmed, without regard to case); -1 if none.
    Integer IndexOfName(const String& Name) const;
};

// A property entry with one value slot per language, all of them in slots.
class TConsistentLangPropertyEntry : public TPropertyEntry {
    ORLO_CLASS(TConsistentLangPropertyEntry, TPropertyEntry)
public:
    explicit TConsistentLangPropertyEntry(TCollection* Collection) : TPropertyEntry(Collection) {}

    Integer Count() const noexcept { return FCount; }
    // A count below 1 becomes 1; surplus slots are freed, new ones are empty.
    void SetCount(Integer Value);

    // "<class>.GetLangValue: Invalid index" outside 0..Count-1; an empty slot is Null.
    virtual Variant GetLangValue(Integer Index) const;
    // "<class>.SetLangValue: Invalid index"; a value that cannot be stored
    // raises and leaves the slot as it was.
    virtual void SetLangValue(Integer Index, const Variant& Value);
    // "<class>.ExchangeLangValues: Invalid index" unless both lie in 0..Count-1.
    virtual void ExchangeLangValues(Integer Index1, Integer Index2);
    // Takes over the count and the values of Source.
    virtual void AssignNew(const TConsistentLangPropertyEntry* Source);

    // The property-entry fields, then the values of a language-aware source.
    void Assign(TPersistent* Source) override;
    // Whether the live property takes the text S; the property is restored either way.
    bool IsValueValid(const String& S);
    // A named string (LineIndex >= 0) shows as Prefix + Name + ": " + TypeName.
    String GetDescriptor(const String& Prefix) const override;

    // Raises "<class>.<Operation>: Invalid index" unless Index lies in 0..Count-1.
    void CheckIndex(Integer Index, const char* Operation) const;
    // The stored buffer of slot Index; empty when the slot holds no value.
    const TValueBuffer& Slot(Integer Index) const noexcept;

protected:
    // Value 0 lives in the component's property, not in slot 0.
    virtual bool KeepsValueLive() const noexcept { return false; }
    TValueBuffer& SlotRef(Integer Index);
    Variant SlotValue(Integer Index) const;
    // Frees slots First..Count-1; they read as empty.
    void DropSlotsFrom(Integer First);

private:
    void ChangeCount(Integer Value);
    void CopyValueFrom(const TConsistentLangPropertyEntry* Source, Integer Index);

    Integer SlotEnd() const noexcept { return FSlotBase + static_cast<Integer>(FSlots.size()); }

    Integer FCount = 0;
    // Slots FSlotBase..SlotEnd()-1 of 0..Count-1; the rest are empty and not
    // yet allocated. A live entry keeps no slot 0.
    std::vector<TValueBuffer> FSlots;

protected:
    Integer FSlotBase = 0;
};

// Value 0 is the live property (read and written through GetValue/SetValue);
// slots 1..Count-1 hold the other languages and are streamed as "Values".
class TInconsistentLangPropertyEntry : public TConsistentLangPropertyEntry {
    ORLO_CLASS(TInconsistentLangPropertyEntry, TConsistentLangPropertyEntry)
public:
    explicit TInconsistentLangPropertyEntry(TCollection* Collection)
        : TConsistentLangPropertyEntry(Collection) {
        FSlotBase = 1;
    }

    Variant GetLangValue(Integer Index) const override;
    void SetLangValue(Integer Index, const Variant& Value) override;
    // With slot 0 and K: the stored value of K goes live, the live value into
    // slot K; a failure at any step leaves both as they were.
    void ExchangeLangValues(Integer Index1, Integer Index2) override;

    void DefineProperties(TFiler* Filer) override;
    // The "Values" payload. LoadValues raises EReadError "Stream read error"
    // for a payload that ends early, leaving the slot being read empty.
    void LoadValues(TStream* Stream);
    void StoreValues(TStream* Stream) const;

protected:
    bool KeepsValueLive() const noexcept override { return true; }

private:
    // The exchange of a stored text with a live string property, without
    // Variant conversions; false when the entry or the slot is of another kind.
    bool ExchangeLiveText(Integer Stored);
};

// Lines of a list of names by name, compared as the list compares them
// (without regard to case), first occurrence only: an open-addressing table
// over the folded names, so a look-up costs one hash and about one comparison.
class TNameIndex {
public:
    void Clear();
    // Adds Name for Line unless the name is there already.
    void Add(const String& Name, Integer Line);
    // The line of Name; -1 when absent.
    Integer Find(std::string_view Name) const;

private:
    struct TKey {
        String Folded;
        Integer Line;
        UInt64 Hash;
    };
    // The position of Folded in the table: its key, or the free place for it.
    size_t Probe(std::string_view Folded, UInt64 Hash) const;
    void Rehash(size_t Size);

    std::vector<TKey> FKeys;
    std::vector<Integer> FTable; // positions of FKeys, -1 = free; a power of two long
};

class TLanguageManager : public TObject {
    ORLO_CLASS(TLanguageManager, TObject)
public:
    // Root: the form whose components are translated; Control: the component
    // whose entry carries the string table; CollectionOwner: the streaming
    // owner of Langs and Comps.
    TLanguageManager(TComponent* Root, TComponent* Control, TPersistent* CollectionOwner,
                     TCreateMode Mode);
    // The same with property entries of class PropClass (a language-aware
    // entry class), for tools that keep values elsewhere than the live form.
    TLanguageManager(TComponent* Root, TComponent* Control, TPersistent* CollectionOwner,
                     TClass PropClass);
    ~TLanguageManager() override;

    bool HasRoot() const noexcept { return FHasRoot; }
    // The class name of the form the data belongs to: Root's, unless a tool
    // that works on a form file without its classes names it.
    String RootClassName() const;
    void SetRootClassName(const String& Value) { FRootClassName = Value; }
    TComponent* Root() const noexcept { return FRoot; }
    TComponent* Control() const noexcept { return FControl; }
    TLanguageEntries* Langs() const noexcept { return FLangs.get(); }
    TComponentEntries* Comps() const noexcept { return FComps.get(); } // nil for cmNone
    TStringList* Names() const noexcept { return FNames.get(); }
    TStringList* Values() const noexcept { return FValues.get(); }

    // Rebinds the tree to the live components, repairs the language list and
    // the string table, and brings every entry to the language count.
    void Init(TSyncCountMode Mode);
    void Clear();
    void Assign(const TLanguageManager* Source);
    // Adopts an edited language list and brings all values in line with it.
    void AssignLangsAndSync(TLanguageEntries* NewLangs, TSyncCountMode Mode);
    // Every entry gets max(1, language count) slots; new slots are filled per Mode.
    void SyncCount(TSyncCountMode Mode);
    // Activates the language at position Index of Langs; false when it is
    // already active or has no slot yet.
    bool SetLanguageByIndex(Integer Index);
    Integer GetLangCount() const { return FLangs->Count(); }

    // The value of the named string (trimmed, without regard to case) in the
    // active language; false and "" when there is none.
    bool GetString(const String& Name, String& Value) const;
    // A new named string with an empty value in every language. Exception
    // "TLanguageManager.AddString: Name of string must not contain a line break".
    TConsistentLangPropertyEntry* AddString(const String& Name);
    void RemoveString(TPropertyEntry* Entry);
    bool IsUniqueStringName(const String& Name) const;
    // Line of Name in Names (untrimmed, without regard to case); -1 if absent.
    Integer GetStringNameIndex(const String& Name) const;
    // Not blank, and only blanks, digits, ASCII letters and "_".
    static bool IsStringNameValid(const String& Name);
    // The string table entry; created when missing and Create is set, else nil.
    TMainEntry* GetStringInterface(bool Create);

    // --- The language exchange file (see runtime/LanguageExchange.h).
    // Writes every language's values to FileName (replaced atomically). A
    // failure is logged to Log, when given, as "Export error: <class>.Message
    // = <message>" and raised again.
    void ExportLanguages(const String& FileName, TLogFile* Log = nullptr);
    // The same as text.
    String ExportLanguagesText(TLogFile* Log = nullptr);
    // Fills List with the sections of FileName as "FormClass=Language"; a
    // missing file leaves List untouched.
    void GetAvailLangSections(const String& FileName, TStrings* List) const;
    // Reads the chosen Sections (all when nil) of FileName into this manager;
    // see LanguageExchange.h. Returns true; a failure raises and leaves this
    // manager as it was, with Notes and Rejected emptied.
    bool ImportLanguages(const String& FileName, TPersistent* CESettings, TImportMode Mode,
                         bool InitAll, TStrings* Sections, TStrings* Notes, TStrings* Rejected);
    // The same for text already read.
    bool ImportLanguagesText(const String& Text, TPersistent* CESettings, TImportMode Mode,
                             bool InitAll, TStrings* Sections, TStrings* Notes, TStrings* Rejected);

    // The four streamed properties Prefix + "Langs", "Comps", "Names", "Values".
    void DefineProperties(const String& Prefix, TFiler* Filer);
    void ReadLangs(TReader* Reader);
    void WriteLangs(TWriter* Writer);
    void ReadComps(TReader* Reader);
    void WriteComps(TWriter* Writer);
    void ReadNames(TReader* Reader);
    void WriteNames(TWriter* Writer);
    void ReadValues(TReader* Reader);
    void WriteValues(TWriter* Writer);

    // Repairs the string table after the tree was assigned from another manager.
    void OnCompsAssign(TObject* Sender, TPersistent* Source);

private:
    using TLangEntryList = std::vector<TConsistentLangPropertyEntry*>;
    const TLangEntryList& LangEntries();
    TLanguageEntry* ActiveLanguage() const;
    // The component entry of Control: the one referring to it, else the one named after it.
    TMainEntry* ControlEntry() const;
    [[noreturn]] void Raise(const String& Text) const;

    void DropSharedSubIndexes();
    void CloseSubIndexGaps();
    void CopyLangValues(Integer From, Integer To);

    // The list whose lines the string table's values are; nil when there is no table.
    const TStrings* StringTableLines() const;

    void RepairStringTable();
    // Older versions stored a name with a line break as it was, and reading
    // split it over several lines, shifting every later name: the pieces at the
    // string's own line become one line again.
    void RejoinSplitNames(TMainEntry* Table);
    // Such a name cannot be stored: the string is refused (traced).
    void DropNamesWithLineBreaks(TMainEntry* Table);
    // Gives every string entry a line of its own where it can; the others, with their values.
    std::vector<std::pair<TPropertyEntry*, String>> SettleStringLines(TMainEntry* Table);
    // Languages without a slot take the slots that no language owns.
    void AdoptUnownedSlots();
    String NumberedName(const String& Base) const;
    void RemoveUnusedLines(TMainEntry* Table);
    void AppendName(const String& Name);
    Integer LookupName(std::string_view Name) const;

    bool FHasRoot;
    TComponent* FRoot;
    String FRootClassName;
    TComponent* FControl;
    std::unique_ptr<TLanguageEntries> FLangs;
    std::unique_ptr<TComponentEntries> FComps;
    std::unique_ptr<TStringList> FNames;
    std::unique_ptr<TStringList> FValues;

    // Lines of Names, current while Names has the change count it was built at;
    // rebuilt on the first look-up after any other change of Names.
    mutable TNameIndex FNameIndex;
    mutable std::optional<UInt64> FIndexedChange;
    TLangEntryList FWalk; // the tree's entries in walk order, reused between switches
    // Components that stored entries name and the form lacks (kept while tracing).
    TMissingEntryRefs FMissingRefs;
};

#ifdef ORLO_WITH_FORMS
class TCustomGrid;

// Gives the grid's canvas the grid's font and makes the grid's default row
// height the canvas's text height of "ABC" plus 4 pixels. Built with the
// forms layer only (runtime/GlossaToolsGrid.cpp).
void AdjustGridDefaultRowHeight(TCustomGrid* Grid);
#endif

} // namespace orlo
