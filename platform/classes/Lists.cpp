#include "platform/classes/Lists.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace orlo {

String ListIndexErrorText(Integer Index) {
    return Format("List index out of bounds (%d)", Index);
}

void ListIndexError(Integer Index) {
    throw EListError(ListIndexErrorText(Index));
}

ORLO_UNPUBLISHED(TList, "Classes")

TList::~TList() {
    Clear();
}

void TList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

void TList::SetCount(Integer NewCount) {
    if (NewCount < 0)
        throw EListError(Format("List count out of bounds (%d)", NewCount));
    if (NewCount >= Count()) {
        FList.resize(static_cast<size_t>(NewCount), nullptr);
        return;
    }
    for (Integer I = Count() - 1; I >= NewCount; --I)
        Delete(I);
}

void TList::SetCapacity(Integer NewCapacity) {
    if (NewCapacity < Count())
        throw EListError(Format("List capacity out of bounds (%d)", NewCapacity));
    if (NewCapacity > Capacity())
        FList.reserve(static_cast<size_t>(NewCapacity));
    else
        FList.shrink_to_fit();
}

void* TList::Get(Integer Index) const {
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)];
}

void TList::Put(Integer Index, void* Item) {
    CheckIndex(Index);
    void* Old = FList[static_cast<size_t>(Index)];
    if (Old == Item)
        return;
    FList[static_cast<size_t>(Index)] = Item;
    if (Old)
        Notify(Old, lnDeleted);
    if (Item)
        Notify(Item, lnAdded);
}

Integer TList::Add(void* Item) {
    Integer Index = Count();
    Insert(Index, Item);
    return Index;
}

void TList::Insert(Integer Index, void* Item) {
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    FList.insert(FList.begin() + Index, Item);
    if (Item)
        Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
    void* Item = Get(Index);
    FList.erase(FList.begin() + Index);
    if (Item)
        Notify(Item, lnDeleted);
}

Integer TList::Remove(void* Item) {
    Integer Index = IndexOf(Item);
    if (Index >= 0)
        Delete(Index);
    return Index;
}

void* TList::Extract(void* Item) {
    Integer Index = IndexOf(Item);
    if (Index < 0)
        return nullptr;
    FList.erase(FList.begin() + Index);
    if (Item)
        Notify(Item, lnExtracted);
    return Item;
}

Integer TList::IndexOf(const void* Item) const {
    auto Found = std::find(FList.begin(), FList.end(), Item);
    return Found == FList.end() ? -1 : static_cast<Integer>(Found - FList.begin());
}

void TList::Exchange(Integer Index1, Integer Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    MoveListItem(FList, CurIndex, NewIndex);
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Pack() {
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(TListSortCompare Compare) {
    std::stable_sort(FList.begin(), FList.end(),
                     [Compare](void* A, void* B) { return Compare(A, B) < 0; });
}

ORLO_UNPUBLISHED(TObjectList, "Contnrs")

TObjectList::~TObjectList() {
    // The base destructor can no longer reach Notify: free the objects here.
    Clear();
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
    if (FOwnsObjects && Action == lnDeleted)
        delete static_cast<TObject*>(Ptr);
}

ORLO_UNPUBLISHED(TClassList, "Contnrs")

} // namespace orlo
