#pragma once
// Pointer lists: TList of untyped pointers, TObjectList of objects (freed by
// the list when it owns them) and TClassList of class references. Index errors
// raise EListError "List index out of bounds (%d)".

#include "platform/classes/Object.h"
#include "platform/rtl/Exception.h"

#include <algorithm>
#include <vector>

namespace orlo {

// The index error of every list of the component model.
String ListIndexErrorText(Integer Index);
[[noreturn]] void ListIndexError(Integer Index);

// Moves element CurIndex of List to NewIndex, shifting the ones between; both
// indexes must be valid.
template <class T> void MoveListItem(std::vector<T>& List, Integer CurIndex, Integer NewIndex) {
    auto Cur = List.begin() + CurIndex;
    auto New = List.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(Cur, Cur + 1, New + 1);
    else
        std::rotate(New, Cur, Cur + 1);
}

// Runs Body between Target.BeginUpdate() and Target.EndUpdate(), ending the
// update also when Body throws.
template <class T, class F> void WithUpdate(T& Target, F&& Body) {
    Target.BeginUpdate();
    try {
        Body();
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}

enum TListNotification : Byte { lnAdded, lnExtracted, lnDeleted };

// <0 when Item1 comes first, 0 when equal, >0 when Item2 comes first.
using TListSortCompare = Integer (*)(void* Item1, void* Item2);

class TList : public TObject {
    ORLO_CLASS(TList, TObject)
public:
    TList() = default;
    ~TList() override;

    Integer Count() const noexcept { return static_cast<Integer>(FList.size()); }
    // Grows with nil entries or drops entries from the end.
    // EListError "List count out of bounds (%d)" for a negative count.
    void SetCount(Integer NewCount);
    Integer Capacity() const noexcept { return static_cast<Integer>(FList.capacity()); }
    // EListError "List capacity out of bounds (%d)" below Count.
    void SetCapacity(Integer NewCapacity);

    void* Get(Integer Index) const;
    void Put(Integer Index, void* Item);
    void* Items(Integer Index) const { return Get(Index); }
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }

    Integer Add(void* Item);
    void Insert(Integer Index, void* Item);
    void Delete(Integer Index);
    // Removes the first occurrence of Item; its former index, -1 when absent.
    Integer Remove(void* Item);
    // Removes the first occurrence of Item without deleting it; nil when absent.
    void* Extract(void* Item);
    Integer IndexOf(const void* Item) const;
    void Exchange(Integer Index1, Integer Index2);
    void Move(Integer CurIndex, Integer NewIndex);
    void Clear();
    // Drops the nil entries.
    void Pack();
    // Stable: equal items keep their order.
    void Sort(TListSortCompare Compare);

protected:
    // Every entry that enters or leaves the list passes through here.
    virtual void Notify(void* Ptr, TListNotification Action) {}

private:
    void CheckIndex(Integer Index) const;

    std::vector<void*> FList;
};

// A list of objects that frees the objects it loses when it owns them
// (Delete, Remove, Clear, Put of another object, destruction), not Extract.
class TObjectList : public TList {
    ORLO_CLASS(TObjectList, TList)
public:
    explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
    // No pointer may pass for the ownership flag (nor make the class look
    // like a component or collection item to the metaclass factories).
    TObjectList(const volatile void*) = delete;
    ~TObjectList() override;

    bool OwnsObjects() const noexcept { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) noexcept { FOwnsObjects = Value; }

    TObject* Items(Integer Index) const { return static_cast<TObject*>(Get(Index)); }
    void SetItems(Integer Index, TObject* Obj) { Put(Index, Obj); }
    TObject* First() const { return static_cast<TObject*>(TList::First()); }
    TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
    Integer Add(TObject* Obj) { return TList::Add(Obj); }
    void Insert(Integer Index, TObject* Obj) { TList::Insert(Index, Obj); }
    Integer Remove(TObject* Obj) { return TList::Remove(Obj); }
    TObject* Extract(TObject* Obj) { return static_cast<TObject*>(TList::Extract(Obj)); }
    Integer IndexOf(const TObject* Obj) const { return TList::IndexOf(Obj); }

protected:
    void Notify(void* Ptr, TListNotification Action) override;

private:
    bool FOwnsObjects;
};

// A list of class references.
class TClassList : public TList {
    ORLO_CLASS(TClassList, TList)
public:
    TClassList() = default;

    TClass Items(Integer Index) const { return static_cast<TClass>(Get(Index)); }
    void SetItems(Integer Index, TClass Class) { Put(Index, ToPointer(Class)); }
    TClass First() const { return static_cast<TClass>(TList::First()); }
    TClass Last() const { return static_cast<TClass>(TList::Last()); }
    Integer Add(TClass Class) { return TList::Add(ToPointer(Class)); }
    void Insert(Integer Index, TClass Class) { TList::Insert(Index, ToPointer(Class)); }
    Integer Remove(TClass Class) { return TList::Remove(ToPointer(Class)); }
    TClass Extract(TClass Class) { return static_cast<TClass>(TList::Extract(ToPointer(Class))); }
    Integer IndexOf(TClass Class) const { return TList::IndexOf(Class); }

private:
    // The list stores untyped pointers; metaclasses are never changed through them.
    static void* ToPointer(TClass Class) { return const_cast<TMetaClass*>(Class); }
};

} // namespace orlo
