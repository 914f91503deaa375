#pragma once
// TMethodList: an ordered list of method pointers, each with an integer
// parameter. Every notification list of the language runtime is one.
//
// The list itself accepts duplicates; the notification lists built on it
// remove an equal entry before they add one. Two methods are equal when both
// their code and their data are equal.
//
// ForEach may run while its callees change the list: an item removed before
// its turn is not called, an item added during the walk is left for the next
// walk, and every other item is called exactly once. A list freed during a
// walk ends the walk.

#include "platform/classes/Object.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

class TMethodList : public TObject {
    ORLO_CLASS(TMethodList, TObject)
public:
    TMethodList() = default;
    ~TMethodList() override;

    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    // Index errors raise EListError "List index out of bounds (%d)".
    TMethod Items(Integer Index) const;
    void SetItem(Integer Index, const TMethod& Method);
    Integer Params(Integer Index) const;
    void SetParam(Integer Index, Integer Param);

    // Appends the method and returns its index; Add stores the parameter 0.
    Integer Add(const TMethod& Method) { return AddEx(Method, 0); }
    Integer AddEx(const TMethod& Method, Integer Param);
    // Index of the first equal item; -1 when there is none.
    Integer IndexOf(const TMethod& Method) const noexcept;
    // Removes the first equal item and returns its former index (its parameter
    // through Param); -1 when there is none.
    Integer Remove(const TMethod& Method);
    Integer RemoveEx(const TMethod& Method, Integer& Param);
    void Delete(Integer Index);
    void Clear();

    // Calls Proc(Method, Param) for every item with a code pointer, first to
    // last (see above for changes during the walk). What Proc raises ends the
    // walk and leaves ForEach.
    template <class F> void ForEach(F&& Proc);

private:
    struct TItem {
        TMethod Method;
        Integer Param;
    };
    // A running ForEach: the next index to call and the end of the items it covers.
    struct TWalk {
        Integer Next;
        Integer End;
        TWalk* Outer;
        bool ListGone;
    };
    // Links a walk into the list for as long as it runs.
    class TWalkScope {
    public:
        TWalkScope(TMethodList& List);
        ~TWalkScope();
        TWalk Walk;

    private:
        TMethodList* FList;
    };

    void CheckIndex(Integer Index) const;

    std::vector<TItem> FItems;
    TWalk* FWalks = nullptr; // innermost running walk
};

template <class F> void TMethodList::ForEach(F&& Proc) {
    TWalkScope Scope(*this);
    TWalk& Walk = Scope.Walk;
    while (!Walk.ListGone && Walk.Next < Walk.End) {
        const TItem Item = FItems[Walk.Next++];
        if (Item.Method.Code)
            Proc(Item.Method, Item.Param);
    }
}

} // namespace orlo
