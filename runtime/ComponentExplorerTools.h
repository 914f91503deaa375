#pragma once
// The component and property entry tree: which properties of which objects of
// a form a tool deals with. The tree is made of streamable collections, so it
// can be written into a form stream as an ordinary collection property and
// read back by names only. After reading, Init rebinds every entry to the live
// objects and property descriptors (RefreshProps) and drops what no longer
// exists (ValidateAndPack).
//
// Naming: a sub-object is found again by its property name ("Font"), an item
// of a collection property by the property name and its index ("Buttons[0]"),
// a line of a string list by "Strings[i]" (or by its Index for string lists
// whose object the owner of the tree binds itself).
//
// A property entry's streamed "Index" is its line number in a string list; in
// C++ it is LineIndex(), so that it neither hides nor overrides the position
// of the entry in its collection (TCollectionItem::Index/SetIndex).

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Variant.h"
#include "runtime/ClassInfo.h"

#include <map>
#include <memory>

namespace orlo {

class TStrings;
class TMainEntry;
class TMainEntries;
class TPropertyEntry;
class TPropertyEntries;
class TComponentEntries;
class TInternalController;
class TReader;

// Type information of sets of property kinds, so settings can stream them by name.
const TTypeInfo* TypeInfoFor(TTypeKinds*);

ORLO_ENUM(TMainEntrySubTypeItem, stPubPropObject, stCollectionObject, stTStringsObject,
          stNoValidate)
ORLO_SET(TMainEntrySubType, TMainEntrySubTypeItem)

ORLO_ENUM(TMoveSubItemsMode, mmNameAndType, mmNameOnly)

// Called after every Assign of an entry collection.
ORLO_EVENT_TYPE(TAssignNotify, void(TObject* Sender, TPersistent* Source));

// Plain visitor routines; set Stop to end the walk.
using TMainEntryProc = void (*)(TMainEntry* Entry, void* Data, bool& Stop);
using TPropertyEntryProc = void (*)(TMainEntry* MainEntry, TPropertyEntry* PropEntry, void* Data,
                                    bool& Stop);

class TBaseEntry : public TCollectionItem {
    ORLO_CLASS(TBaseEntry, TCollectionItem)
public:
    explicit TBaseEntry(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& Name() const noexcept { return FName; }
    void SetName(const String& Value) { FName = Value; }
    const String& TypeName() const noexcept { return FTypeName; }
    void SetTypeName(const String& Value) { FTypeName = Value; }

    // Name + ":" + TypeName.
    String DisplayName() const override;
    // The object one level up: a collection or a main entry; nil at the top.
    virtual TPersistent* GetParentObject() const = 0;

    // True when Name is an indexed name ("Items[12]"); Index := its index, else -1.
    bool GetItemIndex(Integer& Index) const;

    // Copies (or moves) this entry into the tree Dest, re-creating the path of
    // main entries above it. The new or matching entry; nil when this entry's
    // path cannot be followed or Dest is nil.
    TBaseEntry* CopyItem(TMainEntries* Dest, bool AssignAll = false);
    TBaseEntry* MoveItem(TMainEntries* Dest, bool AssignAll = false);

private:
    TBaseEntry* CopyInto(TMainEntries* Dest, bool AssignAll);

    String FName;
    String FTypeName;
};

// One object: a component, a sub-object, an item of a collection or a string list.
class TMainEntry : public TBaseEntry {
    ORLO_CLASS(TMainEntry, TBaseEntry)
public:
    explicit TMainEntry(TCollection* Collection);
    TMainEntry(TCollection* Collection, TObject* Ref, const String& Name, const String& TypeName,
               TMainEntrySubType SubType);
    ~TMainEntry() override;

    TObject* Ref() const noexcept { return FRef; }
    virtual void SetRef(TObject* Value) { FRef = Value; }
    TMainEntries* Items() const noexcept { return FItems.get(); }
    void SetItems(TMainEntries* Value);
    TPropertyEntries* Props() const noexcept { return FProps.get(); }
    void SetProps(TPropertyEntries* Value);
    TMainEntrySubType SubType() const noexcept { return FSubType; }
    void SetSubType(TMainEntrySubType Value) noexcept { FSubType = Value; }

    // From a main entry: its own fields, then copies of its properties and children.
    void Assign(TPersistent* Source) override;
    // Ref, Name, TypeName and SubType only.
    virtual void AssignThis(const TMainEntry* Source);
    // Same Ref, same SubType, names equal without regard to case.
    bool Compare(const TMainEntry* Other) const;

    TPersistent* GetParentObject() const override;
    TMainEntries* GetParent() const;
    TMainEntry* FindFirstMainEntry();

    // Itself, then each child's subtree, children from last to first. False when stopped.
    bool ForEachMainEntry(TMainEntryProc Proc, void* Data);
    // Own property entries from last to first, then each child's subtree,
    // children from last to first. False when stopped.
    bool ForEachPropertyEntry(TPropertyEntryProc Proc, void* Data);
    // One line per property entry of the subtree, the entry as the line's object.
    void MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings) const;

    // Rebinds this entry's property entries and children to the live object.
    virtual void RefreshProps();

private:
    void MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings,
                               const String& Prefix) const;
    void ResetBindings();
    // Walks the class's published properties directly: this runs for every
    // component on every language switch.
    void BindPublishedProperties();
    void BindChildren(const TPropInfo* PropInfo, TObject* Value);
    void BindStringList(TMainEntry* Child, TObject* Value);

    TObject* FRef = nullptr;
    std::unique_ptr<TMainEntries> FItems;
    std::unique_ptr<TPropertyEntries> FProps;
    TMainEntrySubType FSubType;
};

// A top-level entry for one component; its Ref is watched through free notification.
class TComponentEntry : public TMainEntry {
    ORLO_CLASS(TComponentEntry, TMainEntry)
public:
    explicit TComponentEntry(TCollection* Collection);

    TInternalController* Controller() const noexcept { return FController; }
    TComponent* GetRef() const;
    // Registers the controller for the component's free notification, then stores it.
    void SetRef(TObject* Value) override;

    // EComponentError "<class>.Assign failed. Type of Ref is not TComponent"
    // when the source's Ref is set but is not a component.
    void Assign(TPersistent* Source) override;
    void AssignThis(const TMainEntry* Source) override;
    // Takes Name and TypeName from the component, then rebinds as a main entry.
    void RefreshProps() override;

private:
    void CheckRefIsComponent(const TMainEntry* Source) const;

    TInternalController* FController = nullptr;
};

// One published property of the object of its main entry, or one line of a string list.
class TPropertyEntry : public TBaseEntry {
    ORLO_CLASS(TPropertyEntry, TBaseEntry)
public:
    explicit TPropertyEntry(TCollection* Collection) : TBaseEntry(Collection) {}

    // Creates an entry of class EntryClass in MainEntry's Props, bound to PropInfo.
    static TPropertyEntry* Create(TClass EntryClass, TMainEntry* MainEntry,
                                  const TPropInfo* PropInfo);
    // The same without a descriptor.
    static TPropertyEntry* Create(TClass EntryClass, TMainEntry* MainEntry, const String& Name,
                                  const String& TypeName, TTypeKind Kind);

    void Init(const TPropInfo* PropInfo, const String& Name, const String& TypeName,
              TTypeKind Kind);

    TTypeKind Kind() const noexcept { return FKind; }
    void SetKind(TTypeKind Value) noexcept { FKind = Value; }
    // Explicit line number in a string list; -1 = none.
    Integer LineIndex() const noexcept { return FIndex; }
    void SetLineIndex(Integer Value) noexcept { FIndex = Value; }
    const TPropInfo* PropInfo() const noexcept { return FPropInfo; }
    void SetPropInfo(const TPropInfo* Value) noexcept { FPropInfo = Value; }

    // From a property entry: PropInfo, Name, TypeName, Kind and Index.
    void Assign(TPersistent* Source) override;
    // Same PropInfo, same Kind, names equal without regard to case.
    bool Compare(const TPropertyEntry* Other) const;

    TPersistent* GetParentObject() const override;
    TPropertyEntries* GetParent() const;
    // The main entry whose object this property belongs to; nil when none.
    TMainEntry* MainEntry() const;

    // "Prefix" + Name + ["[Index]"] + ": " + TypeName.
    virtual String GetDescriptor(const String& Prefix) const;

    // The live value; null when the entry is not bound. A text written into a
    // line of a string list has its line breaks turned into blanks.
    Variant GetValue() const;
    void SetValue(const Variant& Value);
    // The type declaration of the bound property ("(False,True)"); "" when unbound.
    String GetTypDef() const;
    // An accessor selecting the bound property; false (and nil) when unbound.
    bool GetClassInfo(std::unique_ptr<TClassInfo>& ClassInfo) const;
    bool GetIndexStored() const noexcept { return FIndex >= 0; }

private:
    // Line number of a string-list entry: Index, else the index of its name.
    bool GetLineNumber(Integer& Line) const;
    TStrings* BoundStrings() const;

    TTypeKind FKind = tkUnknown;
    Integer FIndex = -1;
    const TPropInfo* FPropInfo = nullptr;
};

class TBaseEntries : public TCollection {
    ORLO_CLASS(TBaseEntries, TCollection)
public:
    TBaseEntries(TClass ItemClass, TPersistent* Owner) : TCollection(ItemClass), FOwner(Owner) {}

    TPersistent* Owner() const noexcept { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }
    virtual TPersistent* GetParentObject() const = 0;

    // The collection assignment, then OnAssign(this, Source).
    void Assign(TPersistent* Source) override;

    TAssignNotify OnAssign;

private:
    TPersistent* FOwner;
};

// One level of the tree.
class TMainEntries : public TBaseEntries {
    ORLO_CLASS(TMainEntries, TBaseEntries)
public:
    // PropClass: class of the property entries of new main entries; TPropertyEntry when nil.
    TMainEntries(TPersistent* Owner, TClass PropClass);
    TMainEntries(TClass ItemClass, TPersistent* Owner, TClass PropClass);

    TMainEntry* Items(Integer Index) const;
    TClass PropClass() const noexcept { return FPropClass; }
    bool AssignMode() const noexcept { return FAssignMode; }
    void SetAssignMode(bool Value) noexcept { FAssignMode = Value; }

    // With AssignMode, takes over the source's PropClass first.
    void Assign(TPersistent* Source) override;
    TPersistent* GetParentObject() const override;
    // The main entry that owns this level; nil at the top.
    TMainEntry* GetParent() const;

    TMainEntry* FindItem(const TMainEntry* Entry) const;
    Integer IndexOfName(const String& Name) const;

    bool ForEachMainEntry(TMainEntryProc Proc, void* Data);
    bool ForEachPropertyEntry(TPropertyEntryProc Proc, void* Data);
    // Calls F(MainEntry, PropEntry) for every property entry in walk order.
    template <class F> void ForEachPropertyEntryDo(F&& Visit);
    void MoveSubItemsToStrings(TMoveSubItemsMode Mode, TStrings* Strings) const;
    // Frees the property entries that Other also has, level by level.
    void RemoveEqualPropertyEntries(const TMainEntries* Other);

    void RefreshProps();
    // Drops property entries that found nothing and main entries left empty.
    void ValidateAndPack();
    // RefreshProps, then ValidateAndPack.
    void Init();

private:
    TClass FPropClass;
    bool FAssignMode = true;
};

// The top level of a manager's tree: one entry per component.
class TComponentEntries : public TMainEntries {
    ORLO_CLASS(TComponentEntries, TMainEntries)
public:
    TComponentEntries(TPersistent* Owner, TClass PropClass);
    ~TComponentEntries() override;

    TComponentEntry* Items(Integer Index) const;
    TInternalController* Controller() const noexcept { return FController.get(); }

private:
    std::unique_ptr<TInternalController> FController;
};

class TPropertyEntries : public TBaseEntries {
    ORLO_CLASS(TPropertyEntries, TBaseEntries)
public:
    // PropClass: the item class; TPropertyEntry when nil.
    TPropertyEntries(TMainEntry* Owner, TClass PropClass);

    TPropertyEntry* Items(Integer Index) const;
    TMainEntry* GetParent() const noexcept { return FMainEntry; }
    TPersistent* GetParentObject() const override;

    TPropertyEntry* FindItem(const TPropertyEntry* Entry) const;
    Integer IndexOfProp(const String& Name) const;
    // Frees every entry that found no property.
    void ValidatePublishedProperties();
    // Frees every entry bound to a property, and every entry that names no line.
    void ValidateTStrings();

private:
    TMainEntry* FMainEntry;
};

// Hidden component that drops the component entries of a component when it goes away.
class TInternalController : public TComponent {
    ORLO_CLASS(TInternalController, TComponent)
public:
    explicit TInternalController(TComponent* AOwner) : TComponent(AOwner) {}

    TComponentEntries* Entries() const noexcept { return FEntries; }
    void Init(TComponentEntries* Entries) noexcept { FEntries = Entries; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TComponentEntries* FEntries = nullptr;
};

// Names of the components that entries of a stored tree referred to and that
// the form no longer has, so that a trace can name them.
using TMissingEntryRefs = std::map<const TComponentEntry*, String>;

// Reads a stored tree (a collection value) into Entries. An entry whose
// component the form no longer has keeps no component, and Init drops it;
// while tracing is on, MissingRefs receives the name it referred to.
void ReadStoredEntries(TReader* Reader, TComponentEntries* Entries, TMissingEntryRefs& MissingRefs);

// Init of a stored tree; while tracing is on, every property entry it drops is
// traced by its path as "<Who>.Init: stored entry <path> dropped: <reason>".
void InitStoredEntries(TComponentEntries* Entries, const TMissingEntryRefs& MissingRefs,
                       const String& Who);

// True when Name ends in "[" digits "]" (at least 3 characters); Index := the digits' value.
bool ParseIndexedName(const String& Name, Integer& Index);

// Text with its line breaks turned into blanks. A line of a string list holds
// none: lists are stored as line-separated text, where one would split the
// line and shift the rest.
String SingleLine(String Text);

// The kinds whose values are texts.
inline bool IsStringKind(TTypeKind Kind) noexcept {
    return Kind == tkString || Kind == tkLString || Kind == tkWString;
}

template <class F> void TMainEntries::ForEachPropertyEntryDo(F&& Visit) {
    ForEachPropertyEntry(
        [](TMainEntry* Main, TPropertyEntry* Prop, void* Data, bool&) {
            (*static_cast<std::remove_reference_t<F>*>(Data))(Main, Prop);
        },
        &Visit);
}

} // namespace orlo
