#include "runtime/MethodList.h"

#include "platform/classes/Lists.h"
#include "platform/classes/TypInfo.h"
#include "tools/VersionControl.h"

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/MethodList.cpp 1.0 09.12.26 22:10 orlo $");

} // namespace

ORLO_UNPUBLISHED(TMethodList, "MethodList")

TMethodList::TWalkScope::TWalkScope(TMethodList& List)
    : Walk{0, List.Count(), List.FWalks, false}, FList(&List) {
    List.FWalks = &Walk;
}

TMethodList::TWalkScope::~TWalkScope() {
    if (!Walk.ListGone)
        FList->FWalks = Walk.Outer;
}

TMethodList::~TMethodList() {
    for (TWalk* Walk = FWalks; Walk; Walk = Walk->Outer)
        Walk->ListGone = true;
}

void TMethodList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

TMethod TMethodList::Items(Integer Index) const {
    CheckIndex(Index);
    return FItems[Index].Method;
}

void TMethodList::SetItem(Integer Index, const TMethod& Method) {
    CheckIndex(Index);
    FItems[Index].Method = Method;
}

Integer TMethodList::Params(Integer Index) const {
    CheckIndex(Index);
    return FItems[Index].Param;
}

void TMethodList::SetParam(Integer Index, Integer Param) {
    CheckIndex(Index);
    FItems[Index].Param = Param;
}

Integer TMethodList::AddEx(const TMethod& Method, Integer Param) {
    FItems.push_back({Method, Param});
    return Count() - 1;
}

Integer TMethodList::IndexOf(const TMethod& Method) const noexcept {
    for (Integer Index = 0; Index < Count(); ++Index)
        if (FItems[Index].Method == Method)
            return Index;
    return -1;
}

Integer TMethodList::Remove(const TMethod& Method) {
    Integer Param = 0;
    return RemoveEx(Method, Param);
}

Integer TMethodList::RemoveEx(const TMethod& Method, Integer& Param) {
    const Integer Index = IndexOf(Method);
    if (Index >= 0) {
        Param = FItems[Index].Param;
        Delete(Index);
    }
    return Index;
}

void TMethodList::Delete(Integer Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    // Running walks keep their place: what follows the deleted item moved down.
    for (TWalk* Walk = FWalks; Walk; Walk = Walk->Outer) {
        if (Index < Walk->End)
            --Walk->End;
        if (Index < Walk->Next)
            --Walk->Next;
    }
}

void TMethodList::Clear() {
    FItems.clear();
    for (TWalk* Walk = FWalks; Walk; Walk = Walk->Outer)
        Walk->Next = Walk->End = 0;
}

} // namespace orlo
