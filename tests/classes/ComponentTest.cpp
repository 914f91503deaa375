#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "tests/components/TestComponents.h"

#include <gtest/gtest.h>

#include <memory>

using namespace orlo;
using namespace orlo::test;

namespace {

// A root with a published field and a watcher of other components.
class TWatchingRoot : public TComponent {
    ORLO_CLASS(TWatchingRoot, TComponent)
public:
    explicit TWatchingRoot(TComponent* AOwner) : TComponent(AOwner) {}
    TTestLabel* Label1 = nullptr;
    TComponent* Watched = nullptr;
    std::vector<String> Removed;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) {
            Removed.push_back(AComponent->Name());
            if (AComponent == Watched)
                Watched = nullptr;
        }
    }
};

// Heard insertions, in the order they were told: the listener's name.
struct THeard {
    String Listener;
    TComponent* Inserted;
    bool operator==(const THeard&) const = default;
};
std::vector<THeard> Heard;

// Logs the insertions it hears; the order of the log shows the order of the calls.
template <class Base> class TListening : public Base {
public:
    using Base::Base;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        if (Operation == opInsert)
            Heard.push_back({this->Name(), AComponent});
    }
};

// Declared without the class macro: its metaclass is TComponent's.
using TUnregisteredWatcher = TListening<TComponent>;

class TInsertWatcher : public TListening<TComponent> {
    ORLO_CLASS(TInsertWatcher, TComponent)
public:
    using TListening::TListening;
};

// Inherits its parent's Notification.
class TInheritingWatcher : public TInsertWatcher {
    ORLO_CLASS(TInheritingWatcher, TInsertWatcher)
public:
    using TInsertWatcher::TInsertWatcher;
};

template <class T> T* NewNamed(TComponent* Owner, const char* Name) {
    auto* Result = new T(Owner);
    Result->SetName(Name);
    return Result;
}

void AddDeafComponents(TComponent* Owner, int Count) {
    for (int I = 0; I < Count; ++I)
        new TTestLabel(Owner);
}

} // namespace

ORLO_PUBLISHED(TWatchingRoot, "ComponentTest") {
    P.Field("Label1", &TWatchingRoot::Label1);
}

ORLO_UNPUBLISHED(TInsertWatcher, "ComponentTest");
ORLO_UNPUBLISHED(TInheritingWatcher, "ComponentTest");

TEST(Component, OwnerFreesOwnedComponentsLastAddedFirst) {
    std::vector<String> Order;
    auto* Root = new TWatchingRoot(nullptr);
    auto* A = new TTestLabel(Root);
    A->SetName("A");
    auto* B = new TTestLabel(Root);
    B->SetName("B");
    EXPECT_EQ(Root->ComponentCount(), 2);
    EXPECT_EQ(Root->Components(1), B);
    EXPECT_EQ(B->ComponentIndex(), 1);
    EXPECT_EQ(Root->FindComponent("b"), B);
    delete A;
    EXPECT_EQ(Root->ComponentCount(), 1);
    EXPECT_EQ(Root->FindComponent("A"), nullptr);
    EXPECT_EQ(Root->Removed, std::vector<String>{"A"});
    delete Root;
}

TEST(Component, NamesMustBeValidAndUniqueAmongTheOwnersComponents) {
    TWatchingRoot Root(nullptr);
    auto* A = new TTestLabel(&Root);
    A->SetName("Label1");
    auto* B = new TTestLabel(&Root);
    struct Case {
        const char* Name;
        const char* Message;
    };
    for (Case C : {Case{"1abc", "'1abc' is not a valid component name"},
                   Case{"a b", "'a b' is not a valid component name"},
                   Case{"LABEL1", "A component named LABEL1 already exists"}}) {
        try {
            B->SetName(C.Name);
            FAIL() << C.Name;
        } catch (const EComponentError& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
        EXPECT_EQ(B->Name(), "");
    }
    A->SetName("LABEL1"); // a change of case of its own name is no clash
    EXPECT_EQ(A->Name(), "LABEL1");
    EXPECT_THROW(Root.Components(2), EListError);
}

TEST(Component, PublishedFieldFollowsTheComponentOfItsName) {
    TWatchingRoot Root(nullptr);
    auto* Label = new TTestLabel(&Root);
    EXPECT_EQ(Root.Label1, nullptr);
    Label->SetName("Label1");
    EXPECT_EQ(Root.Label1, Label);
    Label->SetName("Other");
    EXPECT_EQ(Root.Label1, nullptr);
    Label->SetName("Label1");
    delete Label;
    EXPECT_EQ(Root.Label1, nullptr);
}

TEST(Component, FreeNotificationClearsWeakReferences) {
    TWatchingRoot Root(nullptr);
    auto* Other = new TTestLabel(nullptr);
    Other->SetName("Other");
    Root.Watched = Other;
    Other->FreeNotification(&Root);
    delete Other;
    EXPECT_EQ(Root.Watched, nullptr);

    auto* Again = new TTestLabel(nullptr);
    Root.Watched = Again;
    Again->FreeNotification(&Root);
    Again->RemoveFreeNotification(&Root);
    delete Again;
    EXPECT_NE(Root.Watched, nullptr); // no longer told
}

// Insertions are told to the owner and to every owned component that overrides
// Notification, however deep and in component order from the last, as when
// every component was told; components that do not listen are skipped.
TEST(Component, InsertionsReachEveryComponentThatOverridesNotification) {
    auto& Root = *NewNamed<TInsertWatcher>(nullptr, "Root");
    std::unique_ptr<TComponent> Owned(&Root);
    NewNamed<TInsertWatcher>(&Root, "A");
    AddDeafComponents(&Root, 20);
    auto* Relay = NewNamed<TTestLabel>(&Root, "Relay");
    AddDeafComponents(&Root, 20);
    NewNamed<TUnregisteredWatcher>(&Root, "B");
    NewNamed<TInheritingWatcher>(&Root, "C");
    AddDeafComponents(&Root, 20);
    // The relay owned nothing when the insertions above passed it by.
    NewNamed<TInsertWatcher>(Relay, "D");

    const auto HeardOf = [](TComponent* Owner) {
        Heard.clear();
        auto* Inserted = new TTestLabel(Owner);
        std::vector<String> Listeners;
        for (const THeard& H : Heard) {
            EXPECT_EQ(H.Inserted, Inserted);
            Listeners.push_back(H.Listener);
        }
        return Listeners;
    };
    EXPECT_EQ(HeardOf(&Root), (std::vector<String>{"C", "B", "D", "A", "Root"}));
    EXPECT_EQ(HeardOf(Relay), (std::vector<String>{"D"}))
        << "an owner that does not listen itself still tells its components";

    Root.FindComponent("A")->SetComponentIndex(Root.ComponentCount() - 1);
    delete Root.FindComponent("B");
    EXPECT_EQ(HeardOf(&Root), (std::vector<String>{"A", "C", "D", "Root"}));
    delete Relay->FindComponent("D");
    AddDeafComponents(&Root, 2);
    EXPECT_EQ(HeardOf(&Root), (std::vector<String>{"A", "C", "Root"}));
}

TEST(Component, DesigningStateReachesOwnedComponents) {
    TWatchingRoot Root(nullptr);
    auto* A = new TTestLabel(&Root);
    Root.SetDesigning(true);
    EXPECT_TRUE(A->ComponentState().Contains(csDesigning));
    auto* B = new TTestLabel(&Root);
    EXPECT_TRUE(B->ComponentState().Contains(csDesigning));
}

TEST(Component, ClassInformation) {
    TTestLabel Label(nullptr);
    EXPECT_EQ(Label.ClassName(), "TTestLabel");
    EXPECT_EQ(Label.ClassParent(), TComponent::StaticClass());
    EXPECT_TRUE(Label.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_FALSE(Label.InheritsFrom(TTestKinds::StaticClass()));
    EXPECT_EQ(TObject::StaticClass()->ClassInfo(), nullptr);
    RegisterTestClasses();
    EXPECT_EQ(FindClass("ttestlabel"), TTestLabel::StaticClass());
    EXPECT_EQ(GetClass("TNope"), nullptr);
    try {
        FindClass("TNope");
        FAIL();
    } catch (const EClassNotFound& E) {
        EXPECT_EQ(E.Message(), "Class TNope not found");
    }
}

TEST(Persistent, AssignOfUnrelatedClassesRaises) {
    TTestFont Font;
    TTestLabel Label(nullptr);
    try {
        Font.Assign(&Label);
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a TTestLabel to a TTestFont");
    }
    try {
        Font.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a nil to a TTestFont");
    }
}
