#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "tests/components/TestComponents.h"

#include <gtest/gtest.h>

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

} // namespace

ORLO_PUBLISHED(TWatchingRoot, "ComponentTest") {
    P.Field("Label1", &TWatchingRoot::Label1);
}

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
