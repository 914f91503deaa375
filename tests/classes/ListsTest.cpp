#include "platform/classes/Lists.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

using namespace orlo;

namespace {

// Items are addresses of the letters of this text, so the test can name them.
const char Letters[] = "abcdefgh";

void* P(char C) {
    return const_cast<char*>(&Letters[C - 'a']);
}

String Names(const TList& List) {
    String Result;
    for (Integer I = 0; I < List.Count(); ++I)
        Result += List.Items(I) ? *static_cast<const char*>(List.Items(I)) : '-';
    return Result;
}

void Fill(TList& List, const String& Names) {
    for (char C : Names)
        List.Add(C == '-' ? nullptr : P(C));
}

// An object that keeps itself in a set while it lives.
class TTracked : public TObject {
public:
    explicit TTracked(std::set<TObject*>& Alive) : FAlive(Alive) { FAlive.insert(this); }
    ~TTracked() override { FAlive.erase(this); }

private:
    std::set<TObject*>& FAlive;
};

Integer CompareLetters(void* A, void* B) {
    return *static_cast<char*>(A) - *static_cast<char*>(B);
}

} // namespace

TEST(List, AddInsertDeleteRemoveAndSearch) {
    TList List;
    EXPECT_EQ(List.Add(P('a')), 0);
    EXPECT_EQ(List.Add(P('c')), 1);
    List.Insert(1, P('b'));
    List.Insert(3, P('d'));
    EXPECT_EQ(Names(List), "abcd");
    EXPECT_EQ(List.First(), P('a'));
    EXPECT_EQ(List.Last(), P('d'));
    EXPECT_EQ(List.IndexOf(P('c')), 2);
    EXPECT_EQ(List.IndexOf(P('h')), -1);

    EXPECT_EQ(List.Remove(P('b')), 1);
    EXPECT_EQ(List.Remove(P('b')), -1);
    EXPECT_EQ(List.Extract(P('d')), P('d'));
    EXPECT_EQ(List.Extract(P('d')), nullptr);
    List.Delete(0);
    EXPECT_EQ(Names(List), "c");
    List.Put(0, P('e'));
    EXPECT_EQ(Names(List), "e");
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
}

TEST(List, ExchangeAndMoveReorderTheItems) {
    struct Case {
        const char* Name;
        std::function<void(TList&)> Op;
        const char* Expected;
    };
    const Case Cases[] = {
        {"move forward", [](TList& L) { L.Move(0, 2); }, "bcade"},
        {"move backward", [](TList& L) { L.Move(4, 1); }, "aebcd"},
        {"move to the end", [](TList& L) { L.Move(1, 4); }, "acdeb"},
        {"move in place", [](TList& L) { L.Move(2, 2); }, "abcde"},
        {"exchange", [](TList& L) { L.Exchange(0, 4); }, "ebcda"},
        {"exchange neighbours", [](TList& L) { L.Exchange(2, 1); }, "acbde"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TList List;
        Fill(List, "abcde");
        C.Op(List);
        EXPECT_EQ(Names(List), C.Expected);
    }
}

TEST(List, IndexErrorsNameTheIndex) {
    struct Case {
        const char* Name;
        std::function<void(TList&)> Op;
        const char* Message;
    };
    const Case Cases[] = {
        {"get below", [](TList& L) { L.Items(-1); }, "List index out of bounds (-1)"},
        {"get past", [](TList& L) { L.Get(3); }, "List index out of bounds (3)"},
        {"put", [](TList& L) { L.Put(7, nullptr); }, "List index out of bounds (7)"},
        {"delete", [](TList& L) { L.Delete(3); }, "List index out of bounds (3)"},
        {"insert past the end", [](TList& L) { L.Insert(4, nullptr); },
         "List index out of bounds (4)"},
        {"insert below", [](TList& L) { L.Insert(-2, nullptr); }, "List index out of bounds (-2)"},
        {"exchange", [](TList& L) { L.Exchange(0, 3); }, "List index out of bounds (3)"},
        {"move source", [](TList& L) { L.Move(5, 0); }, "List index out of bounds (5)"},
        {"move target", [](TList& L) { L.Move(0, 3); }, "List index out of bounds (3)"},
        {"count", [](TList& L) { L.SetCount(-1); }, "List count out of bounds (-1)"},
        {"capacity", [](TList& L) { L.SetCapacity(2); }, "List capacity out of bounds (2)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TList List;
        Fill(List, "abc");
        try {
            C.Op(List);
            ADD_FAILURE() << "no exception";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
        EXPECT_EQ(Names(List), "abc"); // a failed operation changes nothing
    }
}

TEST(List, FirstAndLastOfAnEmptyListAreIndexErrors) {
    TList List;
    EXPECT_THROW(List.First(), EListError);
    try {
        List.Last();
        ADD_FAILURE() << "no exception";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (-1)");
    }
}

TEST(List, CountCapacityAndPack) {
    TList List;
    Fill(List, "a-b");
    List.SetCount(5);
    EXPECT_EQ(Names(List), "a-b--");
    List.Pack();
    EXPECT_EQ(Names(List), "ab");
    List.SetCapacity(10);
    EXPECT_GE(List.Capacity(), 10);
    List.SetCount(1);
    EXPECT_EQ(Names(List), "a");
}

TEST(List, SortKeepsTheOrderOfEqualItems) {
    // Two distinct pointers to equal letters: "b" at Letters[1] and in Other.
    static char Other[] = "b";
    TList List;
    List.Add(P('c'));
    List.Add(P('b'));
    List.Add(P('a'));
    List.Add(Other);
    List.Sort(CompareLetters);
    EXPECT_EQ(Names(List), "abbc");
    EXPECT_EQ(List.Items(1), P('b'));
    EXPECT_EQ(List.Items(2), Other);
}

TEST(ObjectList, FreesWhatItLosesOnlyWhenOwning) {
    struct Case {
        const char* Name;
        std::function<void(TObjectList&, TObject* Spare)> Op;
        Integer FreedWhenOwning;
        Integer CountAfter;
    };
    const Case Cases[] = {
        {"delete", [](TObjectList& L, TObject*) { L.Delete(0); }, 1, 2},
        {"remove", [](TObjectList& L, TObject*) { L.Remove(L.Items(1)); }, 1, 2},
        {"clear", [](TObjectList& L, TObject*) { L.Clear(); }, 3, 0},
        {"shrink", [](TObjectList& L, TObject*) { L.SetCount(1); }, 2, 1},
        {"replace", [](TObjectList& L, TObject* Spare) { L.SetItems(2, Spare); }, 1, 3},
        {"put the same", [](TObjectList& L, TObject*) { L.SetItems(0, L.Items(0)); }, 0, 3},
        {"extract", [](TObjectList& L, TObject*) { L.Extract(L.First()); }, 0, 2},
    };
    for (bool Owning : {true, false}) {
        for (const auto& C : Cases) {
            SCOPED_TRACE(String(C.Name) + (Owning ? " owning" : " not owning"));
            std::set<TObject*> Alive;
            Integer Held = 0;
            {
                TObjectList List(Owning);
                for (int I = 0; I < 3; ++I)
                    List.Add(new TTracked(Alive));
                C.Op(List, new TTracked(Alive));
                EXPECT_EQ(List.Count(), C.CountAfter);
                EXPECT_EQ(Alive.size(), 4u - (Owning ? C.FreedWhenOwning : 0));
                Held = List.Count();
            }
            // An owning list frees what it still holds when it goes.
            EXPECT_EQ(Alive.size(), 4u - (Owning ? C.FreedWhenOwning + Held : 0));
            while (!Alive.empty())
                delete *Alive.begin();
        }
    }
}

TEST(ObjectList, TypedAccessors) {
    std::set<TObject*> Alive;
    TObjectList List;
    EXPECT_TRUE(List.OwnsObjects());
    auto* A = new TTracked(Alive);
    auto* B = new TTracked(Alive);
    List.Add(A);
    List.Insert(0, B);
    EXPECT_EQ(List.First(), B);
    EXPECT_EQ(List.Last(), A);
    EXPECT_EQ(List.IndexOf(A), 1);
    EXPECT_EQ(List.ClassName(), "TObjectList");
}

TEST(ClassList, HoldsClassReferences) {
    TClassList List;
    List.Add(TList::StaticClass());
    List.Add(TObjectList::StaticClass());
    List.Insert(0, TClassList::StaticClass());
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.First(), TClassList::StaticClass());
    EXPECT_EQ(List.Items(1)->ClassName(), "TList");
    EXPECT_EQ(List.IndexOf(TObjectList::StaticClass()), 2);
    EXPECT_EQ(List.Remove(TList::StaticClass()), 1);
    EXPECT_EQ(List.Extract(TObjectList::StaticClass()), TObjectList::StaticClass());
    EXPECT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Last(), TClassList::StaticClass());
}
