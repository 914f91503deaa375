#include "platform/rtl/Method.h"

#include "platform/rtl/Exception.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

namespace orlo {
namespace {

struct TCounter {
    int Total = 0;
    void Add(int V) { Total += V; }
    void Subtract(int V) { Total -= V; }
    int Get() const { return Total; }
    void Clicked(TObject* Sender) { Total += Sender == nullptr ? 100 : 1; }
};

TEST(Method, EqualWhenCodeAndDataAreEqual) {
    TCounter A, B;
    EXPECT_EQ(MakeMethod<&TCounter::Add>(&A), MakeMethod<&TCounter::Add>(&A));
    EXPECT_NE(MakeMethod<&TCounter::Add>(&A), MakeMethod<&TCounter::Add>(&B));
    EXPECT_NE(MakeMethod<&TCounter::Add>(&A), MakeMethod<&TCounter::Subtract>(&A));
    EXPECT_EQ(MakeMethod<&TCounter::Add>(&A).Data, &A);
    EXPECT_TRUE(MakeMethod<&TCounter::Add>(&A).Assigned());
    EXPECT_FALSE(TMethod{}.Assigned());
    EXPECT_EQ(TMethod{}, TMethod{});
}

TEST(Method, EventsCallTheirObject) {
    TCounter A, B;
    using TIntEvent = TEventOf<void(int)>;
    const TIntEvent AddToA = TIntEvent::Make<&TCounter::Add>(&A);
    const TIntEvent SubtractFromB = TIntEvent::Make<&TCounter::Subtract>(&B);
    AddToA(5);
    AddToA(2);
    SubtractFromB(3);
    EXPECT_EQ(A.Total, 7);
    EXPECT_EQ(B.Total, -3);

    const auto Get = TEventOf<int()>::Make<&TCounter::Get>(&A);
    EXPECT_EQ(Get(), 7);

    // A typed event made from a plain method pointer calls the same handler.
    const TIntEvent Rebuilt(static_cast<const TMethod&>(AddToA));
    EXPECT_EQ(Rebuilt, AddToA);
    Rebuilt(1);
    EXPECT_EQ(A.Total, 8);
}

TEST(Method, UnassignedEvents) {
    const TNotifyEvent None;
    const TNotifyEvent Cleared = nullptr;
    EXPECT_FALSE(None);
    EXPECT_FALSE(Cleared.Assigned());
    EXPECT_EQ(None, Cleared);

    TCounter A;
    const TNotifyEvent OnClick = TNotifyEvent::Make<&TCounter::Clicked>(&A);
    EXPECT_TRUE(OnClick);
    EXPECT_NE(OnClick, None);
    OnClick(nullptr);
    EXPECT_EQ(A.Total, 100);
}

// Calling an empty method pointer is a catchable error naming its type.
TEST(Method, CallingAnUnassignedEventRaises) {
    const TNotifyEvent OnClick;
    test::ExpectError<EAccessViolation>([&] { OnClick(nullptr); },
                                        "Call of an unassigned TNotifyEvent");
    const TEventOf<int()> Get;
    test::ExpectError<EAccessViolation>([&] { Get(); }, "Call of an unassigned method pointer");
    // The event is still usable once assigned.
    TCounter A;
    const TNotifyEvent Assigned = TNotifyEvent::Make<&TCounter::Clicked>(&A);
    Assigned(nullptr);
    EXPECT_EQ(A.Total, 100);
}

} // namespace
} // namespace orlo
