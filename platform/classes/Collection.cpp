#include "platform/classes/Collection.h"

#include "platform/classes/Lists.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace orlo {

// --- TCollectionItem ---------------------------------------------------------

ORLO_PUBLISHED(TCollectionItem, "Classes") {}

TCollectionItem::TCollectionItem(TCollection* Collection) {
    if (Collection)
        Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection)
        FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
    if (!FCollection)
        return -1;
    const auto& Items = FCollection->FItems;
    return static_cast<Integer>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
    Integer CurIndex = Index();
    if (CurIndex < 0 || CurIndex == Value)
        return;
    FCollection->MoveItem(CurIndex, Value);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

String TCollectionItem::GetNamePath() const {
    if (!FCollection)
        return ClassName();
    return Format("%s[%d]", FCollection->GetNamePath(), Index());
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// --- TCollection -------------------------------------------------------------

ORLO_PUBLISHED(TCollection, "Classes") {}

TCollection::TCollection(TClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
    while (!FItems.empty())
        delete FItems.back();
}

void TCollection::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

TCollectionItem* TCollection::Items(Integer Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(Integer Index, TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::CreateItem() {
    if (!FItemClass || !FItemClass->NewCollectionItem)
        throw EInvalidOperation(Format("Cannot create an item of class %s",
                                       FItemClass ? FItemClass->ClassName() : String("nil")));
    return FItemClass->NewCollectionItem(this);
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* Item = CreateItem();
    Added(Item);
    return Item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    TCollectionItem* Item = nullptr;
    WithUpdate(*this, [&] {
        Item = CreateItem();
        MoveItem(Count() - 1, Index);
    });
    Added(Item);
    return Item;
}

void TCollection::FreeItem(Integer Index) {
    TCollectionItem* Item = FItems[static_cast<size_t>(Index)];
    Deleting(Item);
    delete Item;
}

void TCollection::Delete(Integer Index) {
    CheckIndex(Index);
    FreeItem(Index);
}

void TCollection::Clear() {
    if (FItems.empty())
        return;
    WithUpdate(*this, [&] {
        while (!FItems.empty())
            FreeItem(Count() - 1);
    });
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
    auto Found = std::find_if(FItems.begin(), FItems.end(),
                              [ID](const TCollectionItem* Item) { return Item->FID == ID; });
    return Found == FItems.end() ? nullptr : *Found;
}

void TCollection::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TCollection*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    if (Other == this)
        return;
    // The copies are made behind the old items, which go only once every copy
    // succeeded: a source whose items cannot be copied leaves this one as it was.
    const Integer OldCount = Count();
    WithUpdate(*this, [&] {
        try {
            for (Integer I = 0; I < Other->Count(); ++I)
                Add()->Assign(Other->Items(I));
        } catch (...) {
            while (Count() > OldCount)
                FreeItem(Count() - 1);
            throw;
        }
        for (Integer I = OldCount - 1; I >= 0; --I)
            FreeItem(I);
    });
}

String TCollection::PropName() const {
    TPersistent* Owner = GetOwner();
    for (const TPropInfo* Prop : GetPropList(Owner, TTypeKinds{tkClass}))
        if (Prop->HasGetter() && GetObjectProp(Owner, Prop) == this)
            return Prop->Name;
    return String();
}

String TCollection::GetNamePath() const {
    TPersistent* Owner = GetOwner();
    if (!Owner)
        return ClassName();
    String OwnerPath = Owner->GetNamePath();
    String Prop = OwnerPath.empty() ? String() : PropName();
    return Prop.empty() ? ClassName() : OwnerPath + "." + Prop;
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount == 0) // unmatched: never let the count go negative
        return;
    --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    FItems.erase(std::find(FItems.begin(), FItems.end(), Item));
    Item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(Integer CurIndex, Integer NewIndex) {
    CheckIndex(NewIndex);
    MoveListItem(FItems, CurIndex, NewIndex);
}

ORLO_PUBLISHED(TOwnedCollection, "Classes") {}

} // namespace orlo
