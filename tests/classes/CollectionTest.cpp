#include "platform/classes/Collection.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "tests/components/TestComponents.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

using namespace orlo;
using namespace orlo::test;

namespace {

// An item that keeps itself in a set while it lives.
class TTrackedItem : public TCollectionItem {
    ORLO_CLASS(TTrackedItem, TCollectionItem)
public:
    explicit TTrackedItem(TCollection* Collection) : TCollectionItem(Collection) {
        Alive().insert(this);
    }
    ~TTrackedItem() override { Alive().erase(this); }
    static std::set<const TCollectionItem*>& Alive() {
        static std::set<const TCollectionItem*> Items;
        return Items;
    }
};

// A collection that records its notifications.
class TRecordingCollection : public TCollection {
public:
    TRecordingCollection() : TCollection(TTestPanelItem::StaticClass()) {}

    std::vector<const TCollectionItem*> Updates;
    std::vector<String> Events;

protected:
    void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
    void Added(TCollectionItem* Item) override {
        Events.push_back("added " + static_cast<TTestPanelItem*>(Item)->Caption + "#" +
                         std::to_string(Item->Index()));
    }
    void Deleting(TCollectionItem* Item) override {
        Events.push_back("deleting " + static_cast<TTestPanelItem*>(Item)->Caption);
    }
};

TTestPanelItem* AddPanel(TCollection& Items, const String& Caption, Integer Width = 0) {
    auto* Item = static_cast<TTestPanelItem*>(Items.Add());
    Item->Caption = Caption;
    Item->Width = Width;
    return Item;
}

void Fill(TCollection& Items, const String& Captions) {
    for (char C : Captions)
        AddPanel(Items, String(1, C));
}

String Captions(const TCollection& Items) {
    String Result;
    for (Integer I = 0; I < Items.Count(); ++I)
        Result += static_cast<TTestPanelItem*>(Items.Items(I))->Caption;
    return Result;
}

} // namespace

ORLO_UNPUBLISHED(TTrackedItem, "CollectionTest")

TEST(Collection, AddCreatesItemsOfTheItemClass) {
    TCollection Items(TTestPanelItem::StaticClass());
    EXPECT_EQ(Items.ItemClass(), TTestPanelItem::StaticClass());
    TCollectionItem* First = Items.Add();
    TCollectionItem* Second = Items.Add();
    EXPECT_TRUE(First->Is<TTestPanelItem>());
    EXPECT_EQ(Items.Count(), 2);
    EXPECT_EQ(First->Collection(), &Items);
    EXPECT_EQ(Second->Index(), 1);
    EXPECT_EQ(Items.Items(1), Second);
    EXPECT_EQ(Second->GetOwner(), &Items);
}

TEST(Collection, IdsAreUniqueAndNeverReused) {
    TCollection Items(TTestPanelItem::StaticClass());
    Fill(Items, "abc");
    const Integer IdB = Items.Items(1)->ID();
    const Integer IdC = Items.Items(2)->ID();
    EXPECT_NE(Items.Items(0)->ID(), IdB);
    EXPECT_EQ(Items.FindItemID(IdC), Items.Items(2));
    Items.Delete(1);
    EXPECT_EQ(Items.FindItemID(IdB), nullptr);
    TCollectionItem* New = Items.Add();
    EXPECT_NE(New->ID(), IdB);
    EXPECT_NE(New->ID(), IdC);
}

TEST(Collection, SetIndexMovesTheItem) {
    struct Case {
        Integer From;
        Integer To;
        const char* Expected;
    };
    const Case Cases[] = {
        {0, 2, "bcad"}, {3, 0, "dabc"}, {1, 3, "acdb"}, {2, 1, "acbd"}, {1, 1, "abcd"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(std::to_string(C.From) + " to " + std::to_string(C.To));
        TCollection Items(TTestPanelItem::StaticClass());
        Fill(Items, "abcd");
        TCollectionItem* Moved = Items.Items(C.From);
        Moved->SetIndex(C.To);
        EXPECT_EQ(Captions(Items), C.Expected);
        EXPECT_EQ(Moved->Index(), C.To);
    }
}

TEST(Collection, IndexErrorsNameTheIndex) {
    struct Case {
        const char* Name;
        std::function<void(TCollection&)> Op;
        const char* Message;
    };
    const Case Cases[] = {
        {"item below", [](TCollection& C) { C.Items(-1); }, "List index out of bounds (-1)"},
        {"item past", [](TCollection& C) { C.Items(3); }, "List index out of bounds (3)"},
        {"delete", [](TCollection& C) { C.Delete(3); }, "List index out of bounds (3)"},
        {"insert past", [](TCollection& C) { C.Insert(4); }, "List index out of bounds (4)"},
        {"insert below", [](TCollection& C) { C.Insert(-1); }, "List index out of bounds (-1)"},
        {"set index past", [](TCollection& C) { C.Items(0)->SetIndex(3); },
         "List index out of bounds (3)"},
        {"set index below", [](TCollection& C) { C.Items(2)->SetIndex(-1); },
         "List index out of bounds (-1)"},
        {"set item", [](TCollection& C) { C.SetItem(5, C.Items(0)); },
         "List index out of bounds (5)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCollection Items(TTestPanelItem::StaticClass());
        Fill(Items, "abc");
        ExpectError<EListError>([&] { C.Op(Items); }, C.Message);
        EXPECT_EQ(Captions(Items), "abc"); // nothing added, lost or moved
    }
}

TEST(Collection, InsertPlacesANewItem) {
    struct Case {
        Integer Index;
        const char* Expected;
    };
    const Case Cases[] = {{0, "xab"}, {1, "axb"}, {2, "abx"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Index);
        TCollection Items(TTestPanelItem::StaticClass());
        Fill(Items, "ab");
        auto* Item = static_cast<TTestPanelItem*>(Items.Insert(C.Index));
        Item->Caption = "x";
        EXPECT_EQ(Item->Index(), C.Index);
        EXPECT_EQ(Captions(Items), C.Expected);
    }
}

TEST(Collection, FreeingAnItemRemovesItFromItsCollection) {
    TCollection Items(TTestPanelItem::StaticClass());
    Fill(Items, "abc");
    delete Items.Items(1);
    EXPECT_EQ(Captions(Items), "ac");
    Items.Delete(0);
    EXPECT_EQ(Captions(Items), "c");
    EXPECT_EQ(Items.Items(0)->Index(), 0);
}

TEST(Collection, SetCollectionMovesAnItemBetweenCollections) {
    TCollection From(TTestPanelItem::StaticClass());
    TCollection To(TTestPanelItem::StaticClass());
    Fill(From, "ab");
    Fill(To, "x");
    TCollectionItem* Item = From.Items(0);
    Item->SetCollection(&To);
    EXPECT_EQ(Captions(From), "b");
    EXPECT_EQ(Captions(To), "xa");
    EXPECT_EQ(Item->Collection(), &To);
    EXPECT_EQ(To.FindItemID(Item->ID()), Item);

    Item->SetCollection(nullptr);
    EXPECT_EQ(Captions(To), "x");
    EXPECT_EQ(Item->Index(), -1);
    EXPECT_EQ(Item->GetNamePath(), "TTestPanelItem");
    delete Item; // no longer owned by a collection

    // An item made without a collection joins none.
    TTestPanelItem Loose(nullptr);
    EXPECT_EQ(Loose.Collection(), nullptr);
    EXPECT_EQ(Loose.Index(), -1);
}

TEST(Collection, ClearAndDestructionFreeEveryItem) {
    auto& Alive = TTrackedItem::Alive();
    {
        TCollection Items(TTrackedItem::StaticClass());
        for (int I = 0; I < 3; ++I)
            Items.Add();
        EXPECT_EQ(Alive.size(), 3u);
        Items.Clear();
        EXPECT_EQ(Items.Count(), 0);
        EXPECT_TRUE(Alive.empty());
        for (int I = 0; I < 2; ++I)
            Items.Add();
        EXPECT_EQ(Alive.size(), 2u);
    }
    EXPECT_TRUE(Alive.empty());
}

TEST(Collection, AssignCopiesItemsIntoNewOnes) {
    TCollection Source(TTestPanelItem::StaticClass());
    AddPanel(Source, "One", 10)->Checked = true;
    AddPanel(Source, "Two", 20);
    TCollection Target(TTestPanelItem::StaticClass());
    Fill(Target, "xyz");

    Target.Assign(&Source);
    ASSERT_EQ(Target.Count(), 2);
    auto* First = static_cast<TTestPanelItem*>(Target.Items(0));
    EXPECT_NE(First, Source.Items(0));
    EXPECT_EQ(First->Caption, "One");
    EXPECT_EQ(First->Width, 10);
    EXPECT_TRUE(First->Checked);
    EXPECT_EQ(First->Collection(), &Target);
    EXPECT_EQ(Captions(Target), "OneTwo");
    EXPECT_EQ(Captions(Source), "OneTwo");

    Target.Assign(&Target);
    EXPECT_EQ(Captions(Target), "OneTwo");

    TCollection Empty(TTestPanelItem::StaticClass());
    Target.Assign(&Empty);
    EXPECT_EQ(Target.Count(), 0);
}

TEST(Collection, FailedAssignLeavesTheCollectionAsItWas) {
    // Plain items cannot be assigned to panel items.
    TCollection Source(TCollectionItem::StaticClass());
    Source.Add();
    TCollection Target(TTestPanelItem::StaticClass());
    Fill(Target, "ab");
    TCollectionItem* First = Target.Items(0);
    ExpectError<EConvertError>([&] { Target.Assign(&Source); },
                               "Cannot assign a TCollectionItem to a TTestPanelItem");
    ASSERT_EQ(Target.Count(), 2); // no half-made copy left behind
    EXPECT_EQ(Target.Items(0), First);
    EXPECT_EQ(Captions(Target), "ab");
    EXPECT_EQ(Target.UpdateCount(), 0);

    TTestFont Font;
    ExpectError<EConvertError>([&] { Target.Assign(&Font); },
                               "Cannot assign a TTestFont to a TCollection");
    EXPECT_EQ(Captions(Target), "ab");
}

TEST(Collection, ItemsWithoutAssignRefuseIt) {
    TCollection Items(TCollectionItem::StaticClass());
    TCollectionItem* A = Items.Add();
    TCollectionItem* B = Items.Add();
    ExpectError<EConvertError>([&] { A->Assign(B); },
                               "Cannot assign a TCollectionItem to a TCollectionItem");
}

TEST(Collection, AddRefusesAClassWithoutItemFactory) {
    TCollection Items(TTestLabel::StaticClass());
    ExpectError<EInvalidOperation>([&] { Items.Add(); },
                                   "Cannot create an item of class TTestLabel");
    EXPECT_EQ(Items.Count(), 0);
}

TEST(Collection, UpdateIsCalledOncePerChangeOrBatch) {
    struct Case {
        const char* Name;
        std::function<void(TRecordingCollection&)> Op;
        std::vector<Integer> Updates; // index of the item told, -1 for the whole collection
    };
    const Case Cases[] = {
        {"add", [](TRecordingCollection& C) { C.Add(); }, {-1}},
        {"insert", [](TRecordingCollection& C) { C.Insert(0); }, {-1}},
        {"delete", [](TRecordingCollection& C) { C.Delete(1); }, {-1}},
        {"clear", [](TRecordingCollection& C) { C.Clear(); }, {-1}},
        {"set index", [](TRecordingCollection& C) { C.Items(0)->SetIndex(2); }, {-1}},
        {"item change", [](TRecordingCollection& C) { C.Items(1)->SetDisplayName("x"); }, {1}},
        {"assign",
         [](TRecordingCollection& C) {
             TCollection Source(TTestPanelItem::StaticClass());
             Fill(Source, "pq");
             C.Assign(&Source);
         },
         {-1}},
        {"batch",
         [](TRecordingCollection& C) {
             C.BeginUpdate();
             C.Add();
             C.BeginUpdate();
             C.Delete(0);
             C.Items(0)->SetDisplayName("x");
             C.EndUpdate();
             C.Items(0)->SetIndex(1);
             C.EndUpdate();
         },
         {-1}},
        {"failed delete",
         [](TRecordingCollection& C) { EXPECT_THROW(C.Delete(7), EListError); },
         {}},
        {"unmatched end", [](TRecordingCollection& C) { C.EndUpdate(); }, {}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TRecordingCollection Items;
        Fill(Items, "abc");
        TCollectionItem* Second = Items.Items(1);
        Items.Updates.clear();
        C.Op(Items);
        std::vector<Integer> Updates;
        for (const TCollectionItem* Item : Items.Updates)
            Updates.push_back(Item == nullptr ? -1 : Item == Second ? 1 : 99);
        EXPECT_EQ(Updates, C.Updates);
        EXPECT_EQ(Items.UpdateCount(), 0);
    }
}

TEST(Collection, AddedAndDeletingSeeCompleteItems) {
    TRecordingCollection Items;
    AddPanel(Items, "a");
    Items.Insert(0);
    static_cast<TTestPanelItem*>(Items.Items(1))->Caption = "b";
    Items.Delete(1);
    Items.Clear();
    const std::vector<String> Expected = {"added #0", "added #0", "deleting b", "deleting "};
    EXPECT_EQ(Items.Events, Expected);
}

TEST(Collection, NamePathsFollowTheOwner) {
    TComponent Form(nullptr);
    Form.SetName("Form1");
    auto* Panel = new TTestPanel(&Form);
    Panel->SetName("Panel1");
    Fill(*Panel->Items(), "ab");

    EXPECT_EQ(Panel->Items()->GetOwner(), Panel);
    EXPECT_EQ(Panel->Items()->GetNamePath(), "Panel1.Items");
    EXPECT_EQ(Panel->Items()->Items(1)->GetNamePath(), "Panel1.Items[1]");

    // Without a named owner or an owner at all, the class name stands for the path.
    TTestPanel Unnamed(nullptr);
    EXPECT_EQ(Unnamed.Items()->GetNamePath(), "TOwnedCollection");
    TCollection Plain(TTestPanelItem::StaticClass());
    Fill(Plain, "a");
    EXPECT_EQ(Plain.GetNamePath(), "TCollection");
    EXPECT_EQ(Plain.Items(0)->GetNamePath(), "TCollection[0]");
}

TEST(Collection, DisplayNameDefaultsToTheClassName) {
    TCollection Items(TTestPanelItem::StaticClass());
    TTestPanelItem* Item = AddPanel(Items, "");
    EXPECT_EQ(Item->DisplayName(), "TTestPanelItem");
    Item->Caption = "Status";
    EXPECT_EQ(Item->DisplayName(), "Status");
}

TEST(Collection, PanelPublishesItsItems) {
    TTestPanel Panel(nullptr);
    const TPropInfo* Prop = GetPropInfo(&Panel, "Items");
    ASSERT_NE(Prop, nullptr);
    EXPECT_EQ(Prop->PropType->Kind, tkClass);
    EXPECT_EQ(GetObjectProp(&Panel, Prop), Panel.Items());

    TCollection Source(TTestPanelItem::StaticClass());
    AddPanel(Source, "Left", 100);
    SetObjectProp(&Panel, Prop, &Source);
    ASSERT_EQ(Panel.Items()->Count(), 1);
    EXPECT_EQ(Panel.Panel(0)->Caption, "Left");
    EXPECT_EQ(Panel.Panel(0)->Width, 100);

    // The item's own published properties, in declaration order.
    std::vector<String> Names;
    for (const TPropInfo* Info : GetPropList(Panel.Panel(0)))
        Names.push_back(Info->Name);
    EXPECT_EQ(Names, (std::vector<String>{"Caption", "Width", "Checked"}));
}
