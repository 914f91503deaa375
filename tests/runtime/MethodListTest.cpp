#include "runtime/MethodList.h"

#include "platform/classes/TypInfo.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace orlo {
namespace {

// An object with two handlers; what Run does is scripted by the test.
struct TProbe {
    String Name;
    std::vector<String>* Log = nullptr;
    std::function<void()> Action{};

    void Run() {
        Log->push_back(Name);
        if (Action)
            Action();
    }
    void Other() {}
    TMethod Method() { return MakeMethod<&TProbe::Run>(this); }
};

TEST(MethodList, AddKeepsOrderParamsAndDuplicates) {
    TProbe A{"A"}, B{"B"};
    TMethodList List;
    EXPECT_EQ(List.Add(A.Method()), 0);
    EXPECT_EQ(List.AddEx(B.Method(), 42), 1);
    EXPECT_EQ(List.Add(A.Method()), 2);
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Items(1), B.Method());
    EXPECT_EQ(List.Params(0), 0);
    EXPECT_EQ(List.Params(1), 42);
    EXPECT_EQ(List.IndexOf(A.Method()), 0);
    List.SetParam(2, -7);
    EXPECT_EQ(List.Params(2), -7);
    List.SetItem(0, B.Method());
    EXPECT_EQ(List.IndexOf(B.Method()), 0);
}

TEST(MethodList, MethodsAreEqualOnlyWhenCodeAndObjectAre) {
    TProbe A{"A"}, B{"B"};
    TMethodList List;
    List.Add(A.Method());
    EXPECT_EQ(List.IndexOf(B.Method()), -1);                     // same code, other object
    EXPECT_EQ(List.IndexOf(MakeMethod<&TProbe::Other>(&A)), -1); // same object, other code
    EXPECT_EQ(List.IndexOf(MakeMethod<&TProbe::Run>(&A)), 0);    // made again: equal
}

TEST(MethodList, RemoveTakesTheFirstEqualItem) {
    TProbe A{"A"}, B{"B"};
    TMethodList List;
    List.AddEx(A.Method(), 1);
    List.AddEx(B.Method(), 2);
    List.AddEx(A.Method(), 3);
    Integer Param = 0;
    EXPECT_EQ(List.RemoveEx(A.Method(), Param), 0);
    EXPECT_EQ(Param, 1);
    EXPECT_EQ(List.RemoveEx(A.Method(), Param), 1);
    EXPECT_EQ(Param, 3);
    Param = 99;
    EXPECT_EQ(List.RemoveEx(A.Method(), Param), -1);
    EXPECT_EQ(Param, 99);
    EXPECT_EQ(List.Remove(B.Method()), 0);
    EXPECT_EQ(List.Count(), 0);
}

TEST(MethodList, InvalidIndexesAreListErrors) {
    TProbe A{"A"};
    TMethodList List;
    List.Add(A.Method());
    const std::vector<std::pair<std::function<void()>, const char*>> Calls{
        {[&] { List.Items(1); }, "List index out of bounds (1)"},
        {[&] { List.Items(-1); }, "List index out of bounds (-1)"},
        {[&] { List.SetItem(1, A.Method()); }, "List index out of bounds (1)"},
        {[&] { List.Params(2); }, "List index out of bounds (2)"},
        {[&] { List.SetParam(-2, 0); }, "List index out of bounds (-2)"},
        {[&] { List.Delete(1); }, "List index out of bounds (1)"},
    };
    for (const auto& [Call, Text] : Calls)
        test::ExpectError<EListError>(Call, Text);
    EXPECT_EQ(List.Count(), 1);
}

// ForEach over probes A, B, C, D while one probe's action changes the list.
class MethodListWalk : public ::testing::Test {
protected:
    MethodListWalk() {
        for (const char* Name : {"A", "B", "C", "D"})
            Probes.push_back(std::make_unique<TProbe>(TProbe{Name, &Log, nullptr}));
        for (auto& Probe : Probes)
            List->Add(Probe->Method());
    }

    TProbe& Probe(Integer Index) { return *Probes[Index]; }
    std::vector<String> Walk() {
        Log.clear();
        List->ForEach(
            [](const TMethod& Method, Integer) { static_cast<TProbe*>(Method.Data)->Run(); });
        return Log;
    }

    std::vector<String> Log;
    std::vector<std::unique_ptr<TProbe>> Probes;
    std::unique_ptr<TMethodList> List = std::make_unique<TMethodList>();
};

struct TWalkCase {
    const char* Title;
    Integer Actor; // the probe whose action changes the list
    std::function<void()> Change;
    std::vector<String> Called;
};

TEST_F(MethodListWalk, ChangesDuringTheWalk) {
    TProbe E{"E", &Log, nullptr};
    auto Remove = [this](std::initializer_list<Integer> Indexes) {
        return [this, Indexes = std::vector<Integer>(Indexes)] {
            for (Integer Index : Indexes)
                List->Remove(Probe(Index).Method());
        };
    };
    const std::vector<TWalkCase> Cases{
        {"a later item removed is skipped", 0, Remove({1}), {"A", "C", "D"}},
        {"the caller removing itself", 1, Remove({1}), {"A", "B", "C", "D"}},
        {"an earlier item removed", 2, Remove({0}), {"A", "B", "C", "D"}},
        {"the last item removed", 1, Remove({3}), {"A", "B", "C"}},
        {"items on both sides removed", 1, Remove({0, 2}), {"A", "B", "D"}},
        {"an added item waits", 1, [&] { List->Add(E.Method()); }, {"A", "B", "C", "D"}},
        {"cleared", 1, [this] { List->Clear(); }, {"A", "B"}},
    };
    for (const TWalkCase& Case : Cases) {
        SCOPED_TRACE(Case.Title);
        List = std::make_unique<TMethodList>();
        for (auto& P : Probes) {
            P->Action = nullptr;
            List->Add(P->Method());
        }
        Probe(Case.Actor).Action = Case.Change;
        EXPECT_EQ(Walk(), Case.Called);
    }
}

TEST_F(MethodListWalk, AddedItemIsCalledByTheNextWalk) {
    TProbe E{"E", &Log, nullptr};
    Probe(0).Action = [&] {
        if (List->IndexOf(E.Method()) < 0)
            List->Add(E.Method());
    };
    EXPECT_EQ(Walk(), (std::vector<String>{"A", "B", "C", "D"}));
    EXPECT_EQ(Walk(), (std::vector<String>{"A", "B", "C", "D", "E"}));
}

TEST_F(MethodListWalk, NestedWalksBothKeepTheirPlace) {
    std::vector<String> Inner;
    Probe(1).Action = [&] {
        Probe(1).Action = nullptr;
        List->ForEach([&](const TMethod& Method, Integer) {
            TProbe* P = static_cast<TProbe*>(Method.Data);
            Inner.push_back(P->Name);
            if (P == &Probe(0))
                List->Remove(Probe(2).Method());
        });
    };
    EXPECT_EQ(Walk(), (std::vector<String>{"A", "B", "D"}));
    EXPECT_EQ(Inner, (std::vector<String>{"A", "B", "D"}));
}

TEST_F(MethodListWalk, NilItemsAreSkipped) {
    List->SetItem(2, TMethod{});
    EXPECT_EQ(Walk(), (std::vector<String>{"A", "B", "D"}));
}

TEST_F(MethodListWalk, ListFreedDuringTheWalkEndsIt) {
    Probe(1).Action = [&] { List.reset(); };
    EXPECT_EQ(Walk(), (std::vector<String>{"A", "B"}));
}

TEST_F(MethodListWalk, ExceptionLeavesTheWalkAndTheListUsable) {
    Probe(1).Action = [] { throw Exception("stop"); };
    EXPECT_THROW(Walk(), Exception);
    EXPECT_EQ(Log, (std::vector<String>{"A", "B"}));
    Probe(1).Action = nullptr;
    List->Remove(Probe(0).Method());
    EXPECT_EQ(Walk(), (std::vector<String>{"B", "C", "D"}));
}

} // namespace
} // namespace orlo
