#pragma once
// Collections: TCollection owns an ordered list of TCollectionItem objects of
// one item class. An item belongs to at most one collection; freeing an item
// removes it from its collection, freeing a collection frees its items.

#include "platform/classes/Persistent.h"
#include "platform/rtl/Exception.h"

#include <vector>

namespace orlo {

class TCollection;

class TCollectionItem : public TPersistent {
    ORLO_CLASS(TCollectionItem, TPersistent)
public:
    // Joins Collection (when not nil) as its last item.
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const noexcept { return FCollection; }
    // Leaves the current collection and joins Value as its last item.
    virtual void SetCollection(TCollection* Value);
    // Unique within the collection for its lifetime; never reused.
    Integer ID() const noexcept { return FID; }
    // Position in the collection; -1 without one.
    Integer Index() const;
    // Moves the item to Value; EListError "List index out of bounds (%d)".
    virtual void SetIndex(Integer Value);
    // What the designer shows for the item; the class name unless set.
    virtual String DisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const String& Value) { Changed(false); }

    TPersistent* GetOwner() const override;
    // The collection's path followed by "[Index]": "Panel1.Items[2]".
    String GetNamePath() const override;

protected:
    // Tells the collection that this item (or, with AllItems, every item) changed.
    virtual void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    Integer FID = 0;
};

class TCollection : public TPersistent {
    ORLO_CLASS(TCollection, TPersistent)
public:
    // ItemClass: a class derived from TCollectionItem.
    explicit TCollection(TClass ItemClass);
    ~TCollection() override;

    TClass ItemClass() const noexcept { return FItemClass; }
    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    TCollectionItem* Items(Integer Index) const; // EListError "List index out of bounds (%d)"
    // Copies Value into item Index.
    void SetItem(Integer Index, TCollectionItem* Value);

    // Creates a new last item of ItemClass. EInvalidOperation "Cannot create an
    // item of class %s" when the class has no collection item factory.
    TCollectionItem* Add();
    // Creates a new item at Index (0..Count).
    TCollectionItem* Insert(Integer Index);
    // Frees item Index.
    void Delete(Integer Index);
    // Frees every item.
    void Clear();
    // The item with that ID; nil when there is none.
    TCollectionItem* FindItemID(Integer ID) const;

    // Replaces the items by new ones assigned from the items of another
    // collection; its items must know how to assign each other.
    void Assign(TPersistent* Source) override;
    // "Owner.Property" when an owner publishes this collection; else the class name.
    String GetNamePath() const override;

    // While updating, changes are gathered into one Update(nil) at the end.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    Integer UpdateCount() const noexcept { return FUpdateCount; }

protected:
    // Item changed, or (with nil) the whole collection did. Not called while updating.
    virtual void Update(TCollectionItem* Item) {}
    // Called by Add and Insert once the new item is complete.
    virtual void Added(TCollectionItem* Item) {}
    // Called by Delete and Clear before an item is freed.
    virtual void Deleting(TCollectionItem* Item) {}
    // Reports a change of the whole collection unless updating.
    void Changed();

private:
    friend class TCollectionItem;
    TCollectionItem* CreateItem(); // through the item class's factory
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(Integer CurIndex, Integer NewIndex);
    void CheckIndex(Integer Index) const;
    void FreeItem(Integer Index);
    // The name under which GetOwner publishes this collection; "" when none.
    String PropName() const;

    TClass FItemClass;
    std::vector<TCollectionItem*> FItems; // owned
    Integer FNextID = 0;
    Integer FUpdateCount = 0;
};

// A collection that belongs to a persistent object (usually a component
// publishing it as a property): its owner in the streaming sense.
class TOwnedCollection : public TCollection {
    ORLO_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* AOwner, TClass ItemClass)
        : TCollection(ItemClass), FOwner(AOwner) {}

    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};

} // namespace orlo
