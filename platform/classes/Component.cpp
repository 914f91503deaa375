#include "platform/classes/Component.h"

#include "platform/classes/Filer.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <typeinfo>

namespace orlo {

namespace {

void EraseFirst(std::vector<TComponent*>& List, TComponent* Item) {
    auto Found = std::find(List.begin(), List.end(), Item);
    if (Found != List.end())
        List.erase(Found);
}

bool IsIdentStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsIdentChar(char C) {
    return IsIdentStart(C) || (C >= '0' && C <= '9');
}

} // namespace

bool IsValidIdent(const String& Ident) {
    return !Ident.empty() && IsIdentStart(Ident[0]) &&
           std::all_of(Ident.begin() + 1, Ident.end(), IsIdentChar);
}

const TTypeInfo* TComponentNameTypeInfo() {
    static const TTypeInfo Info = MakeStringTypeInfo("TComponentName");
    return &Info;
}

ORLO_PUBLISHED(TComponent, "Classes") {
    P.Property("Name", &TComponent::Name, &TComponent::SetName)
        .Type(TComponentNameTypeInfo())
        .Stored(false);
    P.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell every watcher; each drops its link to us while we still have our name.
    while (!FFreeNotifies.empty()) {
        TComponent* Watcher = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Watcher->DropFreeNotify(this);
        Watcher->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* Child : FComponents)
        Child->Destroying();
}

void TComponent::DestroyComponents() {
    // Last added first; a child is detached silently before it goes, so nobody
    // is told about each sibling and the whole tree goes in linear time.
    while (!FComponents.empty()) {
        TComponent* Child = FComponents.back();
        Child->BeforeDestruction();
        Remove(Child);
        delete Child;
    }
}

TComponent* TComponent::Components(Integer Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FComponents[static_cast<size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
    if (!FOwner)
        return -1;
    const auto& Siblings = FOwner->FComponents;
    auto Found = std::find(Siblings.begin(), Siblings.end(), this);
    return Found == Siblings.end() ? -1 : static_cast<Integer>(Found - Siblings.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
    if (!FOwner)
        return;
    auto& Siblings = FOwner->FComponents;
    Integer Current = ComponentIndex();
    Value = std::clamp(Value, 0, static_cast<Integer>(Siblings.size()) - 1);
    if (Current < 0 || Current == Value)
        return;
    Siblings.erase(Siblings.begin() + Current);
    Siblings.insert(Siblings.begin() + Value, this);
    FOwner->RenumberComponents();
}

void TComponent::RenumberComponents() {
    FNextOrder = 0;
    for (TComponent* Child : FComponents)
        Child->FOrder = FNextOrder++;
    std::sort(FInsertListeners.begin(), FInsertListeners.end(),
              [](const TComponent* A, const TComponent* B) { return A->FOrder < B->FOrder; });
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty())
        return nullptr;
    auto Found = FNameIndex.find(LowerCase(AName));
    return Found == FNameIndex.end() ? nullptr : Found->second;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    AComponent->ValidateContainer(this);
    ValidateRename(AComponent, String(), AComponent->FName);
    Insert(AComponent);
    AComponent->SetReference(true);
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    // While a stream is read into this component its new components meet in
    // Loaded; telling every sibling about each of them would make reading quadratic.
    if (!FComponentState.Contains(csReading))
        Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    AComponent->FOrder = FNextOrder++;
    IndexName(AComponent);
    // Listed until an insertion finds it deaf: during its constructor its
    // class is not known yet.
    ListInsertListener(AComponent);
}

void TComponent::Remove(TComponent* AComponent) {
    UnlistInsertListener(AComponent);
    UnindexName(AComponent);
    if (!FComponents.empty() && FComponents.back() == AComponent)
        FComponents.pop_back();
    else
        EraseFirst(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::IndexName(TComponent* AComponent) {
    if (!AComponent->FName.empty())
        FNameIndex[LowerCase(AComponent->FName)] = AComponent;
}

void TComponent::UnindexName(TComponent* AComponent) {
    if (AComponent->FName.empty())
        return;
    auto Found = FNameIndex.find(LowerCase(AComponent->FName));
    if (Found != FNameIndex.end() && Found->second == AComponent)
        FNameIndex.erase(Found);
}

void TComponent::SetName(const String& NewName) {
    if (FName == NewName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError(Format("'%s' is not a valid component name", NewName));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    SetReference(false);
    ChangeName(NewName);
    SetReference(true);
}

void TComponent::ChangeName(const String& NewName) {
    if (FOwner)
        FOwner->UnindexName(this);
    FName = NewName;
    if (FOwner)
        FOwner->IndexName(this);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) const {
    if (AComponent && !NewName.empty() && !SameText(CurName, NewName) &&
        AComponent->FOwner == this && FindComponent(NewName))
        throw EComponentError(Format("A component named %s already exists", NewName));
}

void TComponent::SetReference(bool Enable) {
    if (!FOwner || FName.empty())
        return;
    if (const TPublishedField* Field = FOwner->ClassType()->FindField(FName))
        Field->Assign(FOwner, Enable ? this : nullptr);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent* Child : FComponents)
            Child->SetDesigning(Value);
}

void TComponent::SetInline(bool Value) {
    if (Value)
        FComponentState.Include(csInline);
    else
        FComponentState.Exclude(csInline);
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::DefineProperties(TFiler* Filer) {
    const auto* Ancestor = dynamic_cast<const TComponent*>(Filer->Ancestor());
    const Cardinal AncestorInfo = Ancestor ? Ancestor->FDesignInfo : 0;
    DefineDesignWord(Filer, "Left", 0, AncestorInfo);
    DefineDesignWord(Filer, "Top", 16, AncestorInfo);
}

void TComponent::DefineDesignWord(TFiler* Filer, const char* Name, Integer Shift,
                                  Cardinal AncestorInfo) {
    const auto WordAt = [Shift](Cardinal Info) { return (Info >> Shift) & 0xFFFF; };
    Filer->DefineProperty(
        Name,
        [this, Shift](TReader* Reader) {
            const Cardinal Value = static_cast<Cardinal>(Reader->ReadInteger()) & 0xFFFF;
            FDesignInfo = (FDesignInfo & ~(Cardinal(0xFFFF) << Shift)) | (Value << Shift);
        },
        [this, WordAt](TWriter* Writer) { Writer->WriteInteger(WordAt(FDesignInfo)); },
        WordAt(FDesignInfo) != WordAt(AncestorInfo));
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    AddFreeNotify(AComponent);
    AComponent->AddFreeNotify(this);
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    DropFreeNotify(AComponent);
    AComponent->DropFreeNotify(this);
}

void TComponent::AddFreeNotify(TComponent* AComponent) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
}

void TComponent::DropFreeNotify(TComponent* AComponent) {
    EraseFirst(FFreeNotifies, AComponent);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opInsert) {
        NotifyInsertListeners(AComponent);
        return;
    }
    if (AComponent)
        RemoveFreeNotification(AComponent);
    // Iterate by index from the end: a handler may remove components.
    for (size_t I = FComponents.size(); I-- > 0;)
        if (I < FComponents.size())
            FComponents[I]->Notification(AComponent, Operation);
}

// --- Insert notifications ----------------------------------------------------
//
// Telling every owned component of every insertion made creating n components
// quadratic, while almost none of them reacts. A component hears an insertion
// when its class overrides Notification (known from its metaclass; a subclass
// declared without the class macro is assumed to), or when it relays it to
// owned components that hear it. Owners keep the components that may hear in
// component order, so the listeners are told in the order they always were.

bool TComponent::HearsInserts() const {
    const TClass Class = ClassType();
    return Class->OverridesNotification() || typeid(*this) != Class->TypeId() ||
           !FInsertListeners.empty();
}

void TComponent::ListInsertListener(TComponent* AComponent) {
    if (AComponent->FListed)
        return;
    auto At = std::upper_bound(
        FInsertListeners.begin(), FInsertListeners.end(), AComponent->FOrder,
        [](UInt64 Order, const TComponent* Listener) { return Order < Listener->FOrder; });
    FInsertListeners.insert(At, AComponent);
    AComponent->FListed = true;
    // This component now relays insertions to AComponent, so its owner must call it.
    if (FInsertListeners.size() == 1 && FOwner)
        FOwner->ListInsertListener(this);
}

void TComponent::UnlistInsertListener(TComponent* AComponent) {
    if (!AComponent->FListed)
        return;
    auto Found = std::find(FInsertListeners.rbegin(), FInsertListeners.rend(), AComponent);
    if (Found != FInsertListeners.rend())
        FInsertListeners.erase(std::next(Found).base());
    AComponent->FListed = false;
}

void TComponent::DropDeafListeners(TComponent* Keep) {
    std::erase_if(FInsertListeners, [Keep](TComponent* Listener) {
        if (Listener == Keep || Listener->HearsInserts())
            return false;
        Listener->FListed = false;
        return true;
    });
}

void TComponent::NotifyInsertListeners(TComponent* AComponent) {
    // Only the outermost broadcast drops deaf listeners: a nested one must not
    // shift the list under the loop that is walking it. The new component
    // itself may still be in its constructor, so it waits for the next insertion.
    if (FInsertBroadcasts == 0)
        DropDeafListeners(AComponent);
    struct TDepth {
        Integer& Count;
        explicit TDepth(Integer& C) : Count(++C) {}
        ~TDepth() { --Count; }
    } Depth(FInsertBroadcasts);
    for (size_t I = FInsertListeners.size(); I-- > 0;)
        if (I < FInsertListeners.size())
            FInsertListeners[I]->Notification(AComponent, opInsert);
}

} // namespace orlo
