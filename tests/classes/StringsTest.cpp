#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "tests/classes/LinesOf.h"
#include "tests/components/TestComponents.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

using namespace orlo;
using namespace orlo::test;

namespace {

using Lines = std::vector<String>;

void Fill(TStrings& List, const Lines& Values) {
    for (const String& S : Values)
        List.Add(S);
}

// One of the texts of a list (Text, CommaText) and the setter that reads it.
using TGetText = String (TStrings::*)() const;
using TSetText = void (TStrings::*)(const String&);

struct TLinesToText {
    Lines Values;
    const char* Text;
};

// Each case's lines give its text, and reading that text back gives the same
// lines, empty ones included.
void ExpectTextRoundTrips(std::initializer_list<TLinesToText> Cases, TGetText GetText,
                          TSetText SetText) {
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TStringList List;
        Fill(List, C.Values);
        EXPECT_EQ((List.*GetText)(), C.Text);
        TStringList Back;
        (Back.*SetText)((List.*GetText)());
        EXPECT_EQ(LinesOf(Back), C.Values);
    }
}

struct TTextToLines {
    const char* Text;
    Lines Values;
};

// Reading each case's text replaces the lines of a list with the case's lines.
void ExpectTextReads(std::initializer_list<TTextToLines> Cases, TSetText SetText) {
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TStringList List;
        List.Add("old line");
        (List.*SetText)(C.Text);
        EXPECT_EQ(LinesOf(List), C.Values);
    }
}

// Counts the change events of a string list.
struct TChangeCounter {
    Integer Changing = 0;
    Integer Changed = 0;
    TObject* Sender = nullptr;

    void ListChanging(TObject* ASender) {
        ++Changing;
        Sender = ASender;
    }
    void ListChanged(TObject* ASender) {
        ++Changed;
        Sender = ASender;
    }
    void Watch(TStringList& List) {
        List.OnChanging = TNotifyEvent(MakeMethod<&TChangeCounter::ListChanging>(this));
        List.OnChange = TNotifyEvent(MakeMethod<&TChangeCounter::ListChanged>(this));
    }
};

// Objects to attach to lines; only their addresses matter.
TStringList ObjA, ObjB, ObjC;

} // namespace

TEST(StringList, CommaTextQuotesWhatWouldNotReadBack) {
    ExpectTextRoundTrips(
        {
            {{}, ""},
            {{"a", "b", "c"}, "a,b,c"},
            {{"two words"}, "\"two words\""},
            {{"x,y", "z"}, "\"x,y\",z"},
            {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
            {{"tab\there"}, "\"tab\there\""},
            {{"line\r\nbreak"}, "\"line\r\nbreak\""},
            {{""}, "\"\""},
            {{"a", ""}, "a,\"\""},
            {{"", "", "b"}, "\"\",\"\",b"},
            {{"it's", "Grüße"}, "it's,Grüße"},
            {{"a=b c", "k=v"}, "\"a=b c\",k=v"},
        },
        &TStrings::CommaText, &TStrings::SetCommaText);
}

TEST(StringList, CommaTextReadsQuotedAndUnquotedItems) {
    ExpectTextReads(
        {
            {"", {}},
            {"   ", {}},
            {"a,b", {"a", "b"}},
            {"a b\tc", {"a", "b", "c"}},
            {"  a ,  b  ", {"a", "b"}},
            {"\"a b\",c", {"a b", "c"}},
            {"\"x\"\"y\"", {"x\"y"}},
            {"a,,b", {"a", "", "b"}},
            {",a", {"", "a"}},
            {"a , , b", {"a", "", "b"}},
            {"a,", {"a"}},
            {"\"unterminated text", {"unterminated text"}},
            {"\"q\"rest", {"q", "rest"}},
            {"mid\"quote", {"mid\"quote"}},
            {"Name=Value,\"Other=With blank\"", {"Name=Value", "Other=With blank"}},
        },
        &TStrings::SetCommaText);
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
    ExpectTextRoundTrips(
        {
            {{}, ""},
            {{"a"}, "a\r\n"},
            {{"a", "b"}, "a\r\nb\r\n"},
            {{""}, "\r\n"},
            {{"a", "", "c"}, "a\r\n\r\nc\r\n"},
        },
        &TStrings::Text, &TStrings::SetText);
}

TEST(StringList, SetTextSplitsAtAnyLineBreak) {
    ExpectTextReads(
        {
            {"", {}},
            {"a", {"a"}},
            {"a\r\nb", {"a", "b"}},
            {"a\nb\rc", {"a", "b", "c"}},
            {"a\r\n", {"a"}},
            {"a\r\n\r\n", {"a", ""}},
            {"\r\n", {""}},
            {"\n\n", {"", ""}},
            {"a\n\rb", {"a", "", "b"}},
            {"a\r\rb", {"a", "", "b"}},
            {" keep blanks \r\n", {" keep blanks "}},
        },
        &TStrings::SetText);
}

TEST(StringList, SortedAddFollowsTheDuplicatesMode) {
    struct Case {
        const char* Name;
        TDuplicates Duplicates;
        bool CaseSensitive;
        Lines Added;
        Lines Expected;
        std::vector<Integer> Indexes; // what each Add returned
    };
    const Case Cases[] = {
        {"ignore", dupIgnore, false, {"b", "a", "B", "c"}, {"a", "b", "c"}, {0, 0, 1, 2}},
        {"accept", dupAccept, false, {"b", "a", "B", "c"}, {"a", "B", "b", "c"}, {0, 0, 1, 3}},
        {"ignore, case sensitive",
         dupIgnore,
         true,
         {"b", "a", "B", "b"},
         {"B", "a", "b"},
         {0, 0, 0, 2}},
        {"accept, case sensitive", dupAccept, true, {"b", "b", "a"}, {"a", "b", "b"}, {0, 0, 0}},
        {"umlauts fold",
         dupIgnore,
         false,
         {"Ärger", "ärger", "Zorn"},
         {"Zorn", "Ärger"},
         {0, 0, 0}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        List.SetSorted(true);
        List.SetDuplicates(C.Duplicates);
        List.SetCaseSensitive(C.CaseSensitive);
        std::vector<Integer> Indexes;
        for (const String& S : C.Added)
            Indexes.push_back(List.Add(S));
        EXPECT_EQ(LinesOf(List), C.Expected);
        EXPECT_EQ(Indexes, C.Indexes);
    }
}

TEST(StringList, DuplicatesAreRefusedInErrorMode) {
    TStringList List;
    List.SetSorted(true);
    List.SetDuplicates(dupError);
    List.Add("one");
    List.Add("two");
    ExpectError<EStringListError>([&] { List.Add("ONE"); },
                                  "String list does not allow duplicates");
    EXPECT_EQ(LinesOf(List), (Lines{"one", "two"}));
    // An unsorted list does not look for duplicates.
    List.SetSorted(false);
    EXPECT_EQ(List.Add("one"), 2);
}

TEST(StringList, FindSearchesBothKindsOfList) {
    struct Case {
        const char* Name;
        bool Sorted;
        Lines Values;
        const char* Sought;
        bool Found;
        Integer Index;
    };
    const Case Cases[] = {
        {"middle", true, {"apple", "banana", "cherry"}, "banana", true, 1},
        {"other case", true, {"apple", "banana", "cherry"}, "BANANA", true, 1},
        {"between", true, {"apple", "banana", "cherry"}, "blue", false, 2},
        {"before all", true, {"apple", "banana", "cherry"}, "aaa", false, 0},
        {"after all", true, {"apple", "banana", "cherry"}, "zzz", false, 3},
        {"empty list", true, {}, "x", false, 0},
        {"first of equals", true, {"a", "b", "b", "b", "c"}, "b", true, 1},
        {"unsorted", false, {"pear", "fig", "kiwi"}, "FIG", true, 1},
        {"unsorted, absent", false, {"pear", "fig", "kiwi"}, "apple", false, 3},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        List.SetDuplicates(dupAccept);
        Fill(List, C.Values);
        List.SetSorted(C.Sorted);
        Integer Index = -7;
        EXPECT_EQ(List.Find(C.Sought, Index), C.Found);
        EXPECT_EQ(Index, C.Index);
        EXPECT_EQ(List.IndexOf(C.Sought), C.Found ? C.Index : -1);
    }
}

TEST(StringList, IndexErrorsAndSortedListRestrictions) {
    struct Case {
        const char* Name;
        bool Sorted;
        std::function<void(TStringList&)> Op;
        const char* Message;
    };
    const Case Cases[] = {
        {"get below", false, [](TStringList& L) { L.Strings(-1); },
         "List index out of bounds (-1)"},
        {"get past", false, [](TStringList& L) { L.Get(3); }, "List index out of bounds (3)"},
        {"object", false, [](TStringList& L) { L.Objects(3); }, "List index out of bounds (3)"},
        {"put object", false, [](TStringList& L) { L.PutObject(9, nullptr); },
         "List index out of bounds (9)"},
        {"put", false, [](TStringList& L) { L.Put(3, "x"); }, "List index out of bounds (3)"},
        {"delete", false, [](TStringList& L) { L.Delete(5); }, "List index out of bounds (5)"},
        {"insert", false, [](TStringList& L) { L.Insert(4, "x"); }, "List index out of bounds (4)"},
        {"exchange", false, [](TStringList& L) { L.Exchange(0, -1); },
         "List index out of bounds (-1)"},
        {"move target", false, [](TStringList& L) { L.Move(0, 3); },
         "List index out of bounds (3)"},
        {"names", false, [](TStringList& L) { L.Names(3); }, "List index out of bounds (3)"},
        {"sorted insert", true, [](TStringList& L) { L.Insert(0, "x"); },
         "Operation not allowed on sorted string list"},
        {"sorted insert object", true, [](TStringList& L) { L.InsertObject(0, "x", &ObjA); },
         "Operation not allowed on sorted string list"},
        {"sorted exchange", true, [](TStringList& L) { L.Exchange(0, 1); },
         "Operation not allowed on sorted string list"},
        {"sorted move", true, [](TStringList& L) { L.Move(0, 2); },
         "Operation not allowed on sorted string list"},
        {"sorted put", true, [](TStringList& L) { L.Put(0, "zzz"); },
         "Operation not allowed on sorted string list"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        Fill(List, {"a", "b", "c"});
        List.SetSorted(C.Sorted);
        ExpectError<EStringListError>([&] { C.Op(List); }, C.Message);
        EXPECT_EQ(LinesOf(List), (Lines{"a", "b", "c"})); // nothing lost or changed
    }
}

TEST(StringList, IndexErrorsAreListErrors) {
    TStringList List;
    EXPECT_THROW(List.Delete(0), EListError);
}

TEST(StringList, ReorderingKeepsEachObjectWithItsLine) {
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Op;
        Lines Expected;
    };
    const Case Cases[] = {
        {"exchange", [](TStringList& L) { L.Exchange(0, 2); }, {"a", "c", "b"}},
        {"move forward", [](TStringList& L) { L.Move(0, 2); }, {"c", "a", "b"}},
        {"move backward", [](TStringList& L) { L.Move(2, 0); }, {"a", "b", "c"}},
        {"sort", [](TStringList& L) { L.Sort(); }, {"a", "b", "c"}},
        {"sorted", [](TStringList& L) { L.SetSorted(true); }, {"a", "b", "c"}},
        {"put keeps the object", [](TStringList& L) { L.Put(1, "cc"); }, {"b", "cc", "a"}},
        {"base put keeps the object",
         [](TStringList& L) { L.TStrings::Put(1, "cc"); },
         {"b", "cc", "a"}},
        {"base exchange", [](TStringList& L) { L.TStrings::Exchange(0, 2); }, {"a", "c", "b"}},
        {"base move", [](TStringList& L) { L.TStrings::Move(0, 2); }, {"c", "a", "b"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        List.AddObject("b", &ObjB);
        List.AddObject("c", &ObjC);
        List.AddObject("a", &ObjA);
        C.Op(List);
        EXPECT_EQ(LinesOf(List), C.Expected);
        for (Integer I = 0; I < List.Count(); ++I) {
            const char Letter = List.Strings(I)[0];
            TObject* Expected = Letter == 'a' ? &ObjA : Letter == 'b' ? &ObjB : &ObjC;
            EXPECT_EQ(List.Objects(I), Expected) << "line " << I;
        }
    }
}

TEST(StringList, SortOrdersAndStaysStable) {
    TStringList List;
    Fill(List, {"b", "B", "a", "c", "A"});
    List.Sort();
    EXPECT_EQ(LinesOf(List), (Lines{"a", "A", "b", "B", "c"}));

    List.SetCaseSensitive(true);
    List.Sort();
    EXPECT_EQ(LinesOf(List), (Lines{"A", "B", "a", "b", "c"}));
}

TEST(StringList, SortKeepsEqualLinesInOrderInLongLists) {
    // Long enough that a sort which is only stable for short ranges shows.
    TStringList List;
    for (Integer I = 0; I < 60; ++I)
        List.Add(String(1, static_cast<char>('a' + (I * 7) % 3)) + std::to_string(I));
    List.CustomSort([](TStringList* L, Integer A, Integer B) {
        return static_cast<Integer>(L->Strings(A)[0]) - static_cast<Integer>(L->Strings(B)[0]);
    });
    for (Integer I = 1; I < List.Count(); ++I) {
        const String Prev = List.Strings(I - 1);
        const String Cur = List.Strings(I);
        ASSERT_LE(Prev[0], Cur[0]);
        if (Prev[0] == Cur[0]) {
            EXPECT_LT(std::stoi(Prev.substr(1)), std::stoi(Cur.substr(1))) << "line " << I;
        }
    }
}

TEST(StringList, ChangingCaseSensitivityResortsASortedList) {
    TStringList List;
    List.SetDuplicates(dupAccept);
    Fill(List, {"b", "a", "B"});
    List.SetSorted(true);
    EXPECT_EQ(LinesOf(List), (Lines{"a", "b", "B"}));
    List.SetCaseSensitive(true);
    EXPECT_EQ(LinesOf(List), (Lines{"B", "a", "b"}));
    Integer Index = 0;
    EXPECT_TRUE(List.Find("a", Index));
    EXPECT_EQ(Index, 1);
    EXPECT_FALSE(List.Find("A", Index));
}

namespace {

Integer ByLength(TStringList* List, Integer Index1, Integer Index2) {
    return Length(List->Strings(Index1)) - Length(List->Strings(Index2));
}

} // namespace

TEST(StringList, CustomSortUsesTheCompareFunction) {
    TStringList List;
    Fill(List, {"three", "one", "eleven", "two", "four"});
    List.CustomSort(ByLength);
    EXPECT_EQ(LinesOf(List), (Lines{"one", "two", "four", "three", "eleven"}));

    // A sorted list keeps its search order.
    List.SetSorted(true);
    List.CustomSort(ByLength);
    EXPECT_EQ(LinesOf(List), (Lines{"eleven", "four", "one", "three", "two"}));
}

TEST(StringList, NameValueLines) {
    TStringList List;
    Fill(List, {"Width=10", "Caption=Hello = World", "NoValue", "empty="});
    struct Case {
        const char* Name;
        const char* Value;
        Integer Index;
    };
    const Case Cases[] = {
        {"Width", "10", 0},  {"width", "10", 0}, {"Caption", "Hello = World", 1},
        {"NoValue", "", -1}, {"empty", "", 3},   {"Missing", "", -1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(List.Values(C.Name), C.Value);
        EXPECT_EQ(List.IndexOfName(C.Name), C.Index);
    }
    EXPECT_EQ(List.Names(1), "Caption");
    EXPECT_EQ(List.Names(2), "");
    EXPECT_EQ(List.ValueFromIndex(1), "Hello = World");
}

TEST(StringList, SetValueReplacesAddsOrDeletes) {
    struct Case {
        const char* Name;
        const char* Value;
        Lines Expected;
    };
    const Case Cases[] = {
        {"B", "20", {"A=1", "B=20", "C=3"}},      {"b", "20", {"A=1", "b=20", "C=3"}},
        {"D", "4", {"A=1", "B=2", "C=3", "D=4"}}, {"B", "", {"A=1", "C=3"}},
        {"D", "", {"A=1", "B=2", "C=3"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(String(C.Name) + "=" + C.Value);
        TStringList List;
        Fill(List, {"A=1", "B=2", "C=3"});
        List.SetValue(C.Name, C.Value);
        EXPECT_EQ(LinesOf(List), C.Expected);
    }
}

TEST(StringList, SetValueAddsToASortedList) {
    TStringList List;
    List.SetSorted(true);
    List.SetValue("b", "2");
    List.SetValue("a", "1");
    EXPECT_EQ(LinesOf(List), (Lines{"a=1", "b=2"}));
}

TEST(StringList, IndexOfAndIndexOfObject) {
    TStringList List;
    List.AddObject("Alpha", &ObjA);
    List.AddObject("Beta", &ObjB);
    List.Add("alpha");
    EXPECT_EQ(List.IndexOf("ALPHA"), 0);
    EXPECT_EQ(List.IndexOf("Gamma"), -1);
    EXPECT_EQ(List.IndexOfObject(&ObjB), 1);
    EXPECT_EQ(List.IndexOfObject(&ObjC), -1);
    List.SetCaseSensitive(true);
    EXPECT_EQ(List.IndexOf("alpha"), 2);
    EXPECT_EQ(List.IndexOf("ALPHA"), -1);
}

TEST(StringList, AssignAddStringsAndEquals) {
    TStringList Source;
    Source.AddObject("one", &ObjA);
    Source.AddObject("two", &ObjB);

    TStringList Target;
    Target.Add("old");
    Target.Assign(&Source);
    EXPECT_EQ(LinesOf(Target), (Lines{"one", "two"}));
    EXPECT_EQ(Target.Objects(1), &ObjB);
    EXPECT_TRUE(Target.Equals(&Source));

    Target.AddStrings(&Source);
    EXPECT_EQ(LinesOf(Target), (Lines{"one", "two", "one", "two"}));
    EXPECT_FALSE(Target.Equals(&Source));

    // Adding a list to itself copies it once; assigning it to itself keeps it.
    Source.AddStrings(&Source);
    EXPECT_EQ(LinesOf(Source), (Lines{"one", "two", "one", "two"}));
    Source.Assign(&Source);
    EXPECT_EQ(LinesOf(Source), (Lines{"one", "two", "one", "two"}));
    EXPECT_TRUE(Target.Equals(&Source));

    Target.Put(0, "ONE");
    EXPECT_FALSE(Target.Equals(&Source)); // letter case counts
    EXPECT_FALSE(Target.Equals(nullptr));
}

TEST(StringList, AssignFromAnotherClassIsRefused) {
    TStringList List;
    List.Add("kept");
    TTestFont Font;
    ExpectError<EConvertError>([&] { List.Assign(&Font); },
                               "Cannot assign a TTestFont to a TStringList");
    EXPECT_EQ(LinesOf(List), Lines{"kept"});
}

TEST(StringList, ChangeEventsFireOncePerChangeOrBatch) {
    struct Case {
        const char* Name;
        std::function<void(TStringList&)> Op;
        Integer Events;
    };
    const Case Cases[] = {
        {"add", [](TStringList& L) { L.Add("x"); }, 1},
        {"insert", [](TStringList& L) { L.Insert(0, "x"); }, 1},
        {"delete", [](TStringList& L) { L.Delete(0); }, 1},
        {"put", [](TStringList& L) { L.Put(0, "x"); }, 1},
        {"put object", [](TStringList& L) { L.PutObject(0, &ObjA); }, 1},
        {"exchange", [](TStringList& L) { L.Exchange(0, 1); }, 1},
        {"move", [](TStringList& L) { L.Move(0, 1); }, 1},
        {"clear", [](TStringList& L) { L.Clear(); }, 1},
        {"sort", [](TStringList& L) { L.Sort(); }, 1},
        {"set text", [](TStringList& L) { L.SetText("x\r\ny\r\nz"); }, 1},
        {"set comma text", [](TStringList& L) { L.SetCommaText("x,y,z"); }, 1},
        {"set value", [](TStringList& L) { L.SetValue("k", "v"); }, 1},
        {"add strings", [](TStringList& L) { L.AddStrings(&L); }, 1},
        {"batch",
         [](TStringList& L) {
             L.BeginUpdate();
             L.Add("x");
             L.BeginUpdate();
             L.Delete(0);
             L.EndUpdate();
             L.Add("y");
             L.EndUpdate();
         },
         1},
        {"failed delete", [](TStringList& L) { EXPECT_THROW(L.Delete(9), EListError); }, 0},
        {"ignored duplicate",
         [](TStringList& L) {
             L.SetSorted(true);
             L.Add("b");
         },
         1}, // only the sorting of SetSorted
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TStringList List;
        Fill(List, {"b", "a"});
        TChangeCounter Counter;
        Counter.Watch(List);
        C.Op(List);
        EXPECT_EQ(Counter.Changing, C.Events);
        EXPECT_EQ(Counter.Changed, C.Events);
        if (C.Events > 0) {
            EXPECT_EQ(Counter.Sender, &List);
        }
        EXPECT_EQ(List.UpdateCount(), 0);
    }
}

TEST(StringList, ClearingAnEmptyListIsNoChange) {
    TStringList List;
    TChangeCounter Counter;
    Counter.Watch(List);
    List.Clear();
    EXPECT_EQ(Counter.Changed, 0);
}

// The count goes up with every change of the lines, also inside an update
// and without a change handler; reading and empty operations leave it.
TEST(StringList, ChangeCountCountsEveryChange) {
    TStringList List;
    UInt64 Count = List.ChangeCount();
    const auto Changes = [&](const std::function<void()>& Action) {
        const UInt64 Before = List.ChangeCount();
        Action();
        return List.ChangeCount() - Before;
    };
    EXPECT_EQ(Changes([&] { List.Add("b"); }), 1u);
    List.BeginUpdate();
    EXPECT_EQ(Changes([&] { List.Add("a"); }), 1u);
    EXPECT_EQ(Changes([&] { List.Put(0, "c"); }), 1u);
    List.EndUpdate();
    for (const auto& Action : std::vector<std::function<void()>>{
             [&] { List.Insert(0, "d"); }, [&] { List.Exchange(0, 1); }, [&] { List.Move(0, 2); },
             [&] { List.Sort(); }, [&] { List.Delete(0); }, [&] { List.Clear(); }})
        EXPECT_GE(Changes(Action), 1u);
    Count = List.ChangeCount();
    List.Clear();
    List.IndexOf("x");
    EXPECT_EQ(List.ChangeCount(), Count);
}

TEST(StringList, UnmatchedEndUpdateDoesNotSilenceLaterChanges) {
    TStringList List;
    TChangeCounter Counter;
    Counter.Watch(List);
    List.EndUpdate();
    EXPECT_EQ(List.UpdateCount(), 0);
    List.Add("x");
    EXPECT_EQ(Counter.Changed, 1);
}

TEST(StringList, ReplaceLinesIsOneChange) {
    TStringList List;
    List.Add("old");
    TChangeCounter Counter;
    Counter.Watch(List);
    ReplaceLines(&List, {"a", "b", "c"});
    EXPECT_EQ(LinesOf(List), (Lines{"a", "b", "c"}));
    EXPECT_EQ(Counter.Changing, 1);
    EXPECT_EQ(Counter.Changed, 1);
}

TEST(StringList, ReplaceLinesEndsTheUpdateWhenALineIsRefused) {
    TStringList List;
    List.SetSorted(true);
    List.SetDuplicates(dupError);
    EXPECT_THROW(ReplaceLines(&List, {"a", "a"}), EStringListError);
    EXPECT_EQ(List.UpdateCount(), 0);
}

TEST(StringList, MemoPublishesItsLinesAsAStringList) {
    TTestMemo Memo(nullptr);
    const TPropInfo* Prop = GetPropInfo(&Memo, "Lines");
    ASSERT_NE(Prop, nullptr);
    EXPECT_EQ(Prop->PropType->Kind, tkClass);
    EXPECT_EQ(GetObjectProp(&Memo, Prop), Memo.Lines());

    TStringList Source;
    Fill(Source, {"first", "second"});
    TStrings* Before = Memo.Lines();
    SetObjectProp(&Memo, Prop, &Source);
    EXPECT_EQ(Memo.Lines(), Before); // the memo keeps its own list and copies
    EXPECT_EQ(LinesOf(*Memo.Lines()), (Lines{"first", "second"}));
    EXPECT_TRUE(Memo.Lines()->Is<TStringList>());
}
