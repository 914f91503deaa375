#pragma once
// TComponent: named objects owned by other components. An owner frees what it
// owns (last added first); free notifications clear weak references when a
// component goes away.

#include "platform/classes/Persistent.h"
#include "platform/rtl/Set.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace orlo {

enum TComponentStateItem : Byte {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation : Byte { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
    ORLO_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const noexcept { return FOwner; }
    const String& Name() const noexcept { return FName; }
    // Renames the component; EComponentError when the name is not a valid
    // identifier or another component of the owner already has it.
    virtual void SetName(const String& NewName);
    Integer Tag() const noexcept { return FTag; }
    void SetTag(Integer Value) noexcept { FTag = Value; }

    // Owned components in insertion order.
    Integer ComponentCount() const noexcept { return static_cast<Integer>(FComponents.size()); }
    TComponent* Components(Integer Index) const; // EListError "List index out of bounds (%d)"
    Integer ComponentIndex() const;              // position in the owner's list; -1 without owner
    void SetComponentIndex(Integer Value);
    TComponent* FindComponent(const String& AName) const; // without regard to case; nil if none
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();

    TComponentState ComponentState() const noexcept { return FComponentState; }
    void SetDesigning(bool Value, bool SetChildren = true);
    void SetInline(bool Value);
    void Destroying(); // marks this component and its owned ones csDestroying
    // Runs while the object is still whole, before it is deleted by its owner
    // or by Free (a form's OnDestroy); a plain delete skips it.
    virtual void BeforeDestruction() {}
    void Free(); // BeforeDestruction, then delete

    // Asks AComponent to tell this one, through Notification, when it goes away.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Streaming hooks.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) const {}
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual void SetChildOrder(TComponent* Child, Integer Order) {}
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* Value) {}
    // Called once the whole root has been read.
    virtual void Loaded();
    // State changes made by the form reader.
    void SetComponentState(TComponentState Value) noexcept { FComponentState = Value; }
    void IncludeState(TComponentStateItem Item) noexcept { FComponentState.Include(Item); }
    void ExcludeState(TComponentStateItem Item) noexcept { FComponentState.Exclude(Item); }

    TPersistent* GetOwner() const override { return FOwner; }
    String GetNamePath() const override { return FName; }

    // The designer's position of a non-visual component: left in the low
    // word, top in the high word; streamed as the extra properties "Left" and "Top".
    Cardinal DesignInfo() const noexcept { return FDesignInfo; }
    void SetDesignInfo(Cardinal Value) noexcept { FDesignInfo = Value; }
    void DefineProperties(TFiler* Filer) override;

protected:
    // Owned components are told of a removal one by one, last first. An
    // insertion reaches only those that can react to it: components whose
    // class overrides Notification, and those owning such components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) const;
    virtual void ValidateContainer(TComponent* AComponent) {}
    virtual void ValidateInsert(TComponent* AComponent) {}
    // Sets the name without checks or notifications.
    void ChangeName(const String& NewName);
    // Points the owner's published field of this component's name at it (or clears it).
    void SetReference(bool Enable);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void IndexName(TComponent* AComponent);
    void UnindexName(TComponent* AComponent);
    void DefineDesignWord(TFiler* Filer, const char* Name, Integer Shift, Cardinal AncestorInfo);
    void AddFreeNotify(TComponent* AComponent);
    void DropFreeNotify(TComponent* AComponent);
    bool HearsInserts() const;
    void ListInsertListener(TComponent* AComponent);
    void UnlistInsertListener(TComponent* AComponent);
    void NotifyInsertListeners(TComponent* AComponent);
    void DropDeafListeners(TComponent* Keep);
    void RenumberComponents();

    TComponent* FOwner = nullptr;
    String FName;
    Integer FTag = 0;
    Cardinal FDesignInfo = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::unordered_map<String, TComponent*> FNameIndex; // lower-case name of each named child
    std::vector<TComponent*> FFreeNotifies;
    // Owned components an insertion may concern, in component order (by
    // FOrder); those found deaf are dropped when the next insertion is told.
    std::vector<TComponent*> FInsertListeners;
    UInt64 FOrder = 0;     // rank among the owner's components
    UInt64 FNextOrder = 0; // rank of the next owned component
    bool FListed = false;  // in the owner's FInsertListeners
    Integer FInsertBroadcasts = 0;
};

// Type information of a component name property.
const TTypeInfo* TComponentNameTypeInfo();

// A valid identifier: a letter or "_" first, then letters, digits or "_".
bool IsValidIdent(const String& Ident);

} // namespace orlo
