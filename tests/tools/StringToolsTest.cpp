#include "tools/StringTools.h"

#include "platform/rtl/Exception.h"
#include "tools/Debug.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orlo;

namespace {

TEST(StringTools, PosExCountsOccurrencesFromEitherSide) {
    struct Case {
        const char* Substr;
        const char* S;
        Integer Nr;
        bool FromLeft;
        Integer Expected;
    };
    for (const Case& C : {
             Case{"ab", "abab", 2, true, 3},
             Case{"aa", "aaaa", 2, true, 3}, // occurrences from the left do not overlap
             Case{"aa", "aaaa", 3, true, 0},
             Case{"aa", "aaaa", 1, false, 3}, // from the right every start position counts
             Case{"aa", "aaaa", 2, false, 2},
             Case{"aa", "aaaa", 3, false, 1},
             Case{"aa", "aaaa", 4, false, 0},
             Case{"b", "abcb", 1, false, 4},
             Case{"b", "abcb", 2, false, 2},
             Case{"a", "a", 1, false, 1},
             Case{"a", "a", 1, true, 1},
             Case{"x", "abc", 1, true, 0},
             Case{"abcd", "abc", 1, false, 0},
             Case{"abcd", "abc", 1, true, 0},
             Case{"", "abc", 1, true, 0},
             Case{"", "abc", 1, false, 0},
             Case{"a", "", 1, false, 0},
         })
        EXPECT_EQ(PosEx(C.Substr, C.S, C.Nr, C.FromLeft), C.Expected)
            << C.Substr << " in " << C.S << " #" << C.Nr << (C.FromLeft ? " left" : " right");
}

TEST(StringTools, PosExRejectsCountsBelowOne) {
    for (Integer Nr : {0, -1}) {
        try {
            PosEx("a", "aaa", Nr, true);
            ADD_FAILURE() << "no exception for " << Nr;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "PosEx failed. Nr must be larger than zero");
        }
    }
}

TEST(StringTools, FillPadsToCharacters) {
    EXPECT_EQ(FillStrEx("7", '0', 3, true), "007");
    EXPECT_EQ(FillStrEx("7", '0', 3, false), "700");
    EXPECT_EQ(FillStrEx("1234", '0', 3, true), "1234");
    EXPECT_EQ(FillStrEx("", '*', 2, true), "**");
    EXPECT_EQ(FillStr("ab", 4), "ab  ");
    EXPECT_EQ(FillStr("ab", -1), "ab");
    // "Grüße" is five characters in seven bytes.
    EXPECT_EQ(FillStr("Grüße", 6), "Grüße ");
    EXPECT_EQ(FillStrEx("Grüße", '.', 5, true), "Grüße");
}

TEST(StringTools, ReplaceFirstOrEvery) {
    struct Case {
        const char* S;
        const char* Old;
        const char* New;
        const char* First;
        const char* All;
    };
    for (const Case& C : {
             Case{"a[1]", "[", "/", "a/1]", "a/1]"},
             Case{"abab", "ab", "x", "xab", "xx"},
             Case{"aaa", "a", "aa", "aaaa", "aaaaaa"}, // inserted text is not searched again
             Case{"a.b.c", ".", "", "ab.c", "abc"},
             Case{"abc", "z", "y", "abc", "abc"},
             Case{"abc", "", "y", "abc", "abc"},
             Case{"", "a", "b", "", ""},
         }) {
        EXPECT_EQ(ReplaceStr(C.S, C.Old, C.New), C.First) << C.S;
        EXPECT_EQ(ReplaceAll(C.S, C.Old, C.New), C.All) << C.S;
    }
}

TEST(StringTools, RemoveCharsAndRepeat) {
    EXPECT_EQ(RemoveChars("a,b,,c,", ','), "abc");
    EXPECT_EQ(RemoveChars("", ','), "");
    EXPECT_EQ(RemoveChars("abc", 'x'), "abc");
    EXPECT_EQ(StringOfString("ab", 3), "ababab");
    EXPECT_EQ(StringOfString("ab", 1), "ab");
    EXPECT_EQ(StringOfString("ab", 0), "");
    EXPECT_EQ(StringOfString("ab", -2), "");
    EXPECT_EQ(StringOfString("", 5), "");
}

TEST(StringTools, TrimInsertRemovesBlanksAroundThePoint) {
    struct Case {
        const char* Sub;
        const char* S;
        Integer Pos;
        const char* Expected;
    };
    for (const Case& C : {
             Case{"x", "a   b", 3, "axb"},
             Case{"x", "a   ", 4, "a  x"}, // nothing follows: the blanks in front stay
             Case{"x", "a  ", 2, "ax"},
             Case{"x", "ab", 2, "axb"},
             Case{"x", "  b", 1, "xb"},
             Case{"x", "a \t\r\nb", 2, "axb"},
             Case{"x", "", 1, "x"},
             Case{"x", "ab", 0, "xab"}, // clamped to the string
             Case{"x", "ab", 9, "abx"},
             Case{"", "a   b", 3, "ab"},
         }) {
        String S = C.S;
        TrimInsert(C.Sub, S, C.Pos);
        EXPECT_EQ(S, C.Expected) << "'" << C.S << "' at " << C.Pos;
    }
}

TEST(StringTools, ExtractNameValueAndIndex) {
    struct Case {
        const char* S;
        const char* Name;
        const char* Index;
        const char* Value;
    };
    for (const Case& C : {
             Case{"Items[3]=abc", "Items", "3", "abc"}, Case{"Items]3[=x", "Items]3[", "", "x"},
             Case{"Caption=a=b=c", "Caption", "", "a=b=c"}, Case{"=x", "", "", "x"},
             Case{"abc", "", "", "abc"}, Case{"a=", "a", "", ""},
             Case{" a = b ", " a ", "", " b "}, // nothing is trimmed
             Case{"a[]=v", "a", "", "v"}, Case{"Items[3=v", "Items[3", "", "v"},
             Case{"a[b[c]d]=v", "a", "b[c", "v"},
             Case{"x=[1]", "x", "", "[1]"}, // the index is looked for in the name only
         }) {
        String Name = "old", Index = "old", Value = "old";
        ExtractNameIndexValue(C.S, Name, Index, Value);
        EXPECT_EQ(Name, C.Name) << C.S;
        EXPECT_EQ(Index, C.Index) << C.S;
        EXPECT_EQ(Value, C.Value) << C.S;
        ExtractNameValue(C.S, Name, Value);
        EXPECT_EQ(Value, C.Value) << C.S;
    }
}

TEST(StringTools, ExtractNameValueIntoItsOwnSource) {
    String S = "a=b";
    String Value;
    ExtractNameValue(S, S, Value);
    EXPECT_EQ(S, "a");
    EXPECT_EQ(Value, "b");
}

TEST(StringTools, RemovePrefixAndSuffix) {
    struct Case {
        const char* S;
        const char* Dest;
        bool Result;
    };
    for (const Case& C : {
             Case{"(abc)", "abc", true},
             Case{"()", "", true},
             Case{"  (abc)\t", "abc", true},
             Case{"(", "(", false},
             Case{" (abc ", " (abc ", false}, // unchanged, not trimmed
             Case{"abc", "abc", false},
             Case{")abc(", ")abc(", false},
             Case{"", "", false},
         }) {
        String Dest = "old";
        EXPECT_EQ(RemovePrefixAndSuffix(C.S, '(', ')', Dest), C.Result) << C.S;
        EXPECT_EQ(Dest, C.Dest) << C.S;
    }
}

TEST(StringTools, RemoveApostrophes) {
    EXPECT_EQ(RemoveApostrophes("'abc'"), "abc");
    EXPECT_EQ(RemoveApostrophes("  'abc' "), "abc");
    EXPECT_EQ(RemoveApostrophes("abc"), "abc");
    EXPECT_EQ(RemoveApostrophes("'"), "'");
    EXPECT_EQ(RemoveApostrophes("''"), "");
    EXPECT_EQ(RemoveApostrophes("'it''s'"), "it''s");
}

TEST(StringTools, FindWordSteps) {
    struct Case {
        const char* S;
        Integer Pos;
        bool Result;
        const char* Word;
        Integer NewPos;
    };
    for (const Case& C : {
             Case{"  ab cd", 1, true, "ab", 5},
             Case{"  ab cd", 5, true, "cd", 8},
             Case{"  ab cd", 4, true, "b", 5}, // starts where it is told to
             Case{"  ab cd", 8, false, "", 8},
             Case{"ab", 0, true, "ab", 3},
             Case{"ab", -5, true, "ab", 3},
             Case{"", 0, false, "", 1},
             Case{"ab   ", 3, false, "", 6}, // only blanks left
             Case{"a\tb\nc", 2, true, "b", 4},
         }) {
        Integer Pos = C.Pos;
        String Word = "old";
        EXPECT_EQ(FindWord(C.S, Pos, Word), C.Result) << C.S << " from " << C.Pos;
        EXPECT_EQ(Word, C.Word) << C.S << " from " << C.Pos;
        EXPECT_EQ(Pos, C.NewPos) << C.S << " from " << C.Pos;
    }
}

TEST(StringTools, FindWordWalksThroughAllWords) {
    const String S = " one\ttwo  three ";
    std::vector<String> Words;
    Integer Pos = 1;
    String Word;
    while (FindWord(S, Pos, Word))
        Words.push_back(Word);
    EXPECT_EQ(Words, (std::vector<String>{"one", "two", "three"}));
    EXPECT_EQ(Pos, Length(S) + 1);
}

TEST(StringTools, StrToBufCopiesNoMoreThanSize) {
    char Buf[6] = {'#', '#', '#', '#', '#', '#'};
    StrToBuf("abcdef", Buf, 3);
    EXPECT_EQ(String(Buf, 6), "abc###");
    StrToBuf("xy", Buf, 5);
    EXPECT_EQ(String(Buf, 6), "xyc###");
    StrToBuf("zz", Buf, 0);
    StrToBuf("zz", Buf, -1);
    EXPECT_EQ(String(Buf, 6), "xyc###");
}

TEST(StringTools, SetStrStopsAtNulOrLength) {
    const char Data[] = {'a', 'b', '\0', 'c', 'd'};
    struct Case {
        Integer Len;
        const char* Expected;
    };
    for (const Case& C : {Case{5, "ab"}, Case{2, "ab"}, Case{1, "a"}, Case{0, ""}, Case{-1, ""}}) {
        String S = "old";
        SetStr(S, Data, C.Len);
        EXPECT_EQ(S, C.Expected) << C.Len;
    }
    String S;
    SetStr(S, Data + 3, 2); // no NUL within the length
    EXPECT_EQ(S, "cd");
}

TEST(StringTools, FindCharAndBuffer) {
    const char Abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(FindChar(Abc, 3, 'x'), -1);
    EXPECT_EQ(FindChar(Abc, 3, 'c'), 2);
    EXPECT_EQ(FindChar(Abc, 2, 'c'), -1); // looks at Count bytes only
    EXPECT_EQ(FindChar(Abc, 0, 'a'), -1);

    struct Case {
        String Pattern;
        String Buffer;
        Integer Expected;
    };
    for (const Case& C : {
             Case{"c", "abc", 2},
             Case{"abc", "abc", 0},
             Case{"abcd", "abc", -1},
             Case{"bc", "abcbc", 1},
             Case{"cd", "abc", -1}, // a partial match at the end is none
             Case{"cb", "abc", -1},
             Case{String("\0b", 2), String("a\0b", 3), 1},
             Case{"", "abc", 0},
             Case{"", "", 0},
             Case{"a", "", -1},
         })
        EXPECT_EQ(
            FindBuffer(C.Pattern.data(), Length(C.Pattern), C.Buffer.data(), Length(C.Buffer)),
            C.Expected)
            << C.Pattern << " in " << C.Buffer;
    EXPECT_EQ(FindBuffer("a", -1, "abc", 3), -1);
    EXPECT_EQ(FindBuffer("a", 1, "abc", -1), -1);
}

TEST(StringTools, CompareBytes) {
    EXPECT_TRUE(Compare("abc", "abd", 2));
    EXPECT_FALSE(Compare("abc", "abd", 3));
    EXPECT_FALSE(Compare("xbc", "abc", 3));
    EXPECT_TRUE(Compare("abc", "xyz", 0));
    EXPECT_TRUE(CompareChar("aaa", 3, 'a'));
    EXPECT_FALSE(CompareChar("aab", 3, 'a'));
    EXPECT_FALSE(CompareChar("baa", 3, 'a'));
    EXPECT_TRUE(CompareChar("aab", 2, 'a'));
    EXPECT_TRUE(CompareChar("b", 0, 'a'));
}

TEST(StringTools, CompareFilterMatchesWithoutBacktracking) {
    struct Case {
        const char* Filter;
        const char* S;
        bool Expected;
    };
    for (const Case& C : {
             Case{"*?", "", false},
             Case{"*?", "x", true}, // read as "?*"
             Case{"*?", "xyz", true},
             Case{"a*b*c", "aXbYc", true},
             Case{"a*b*c", "abcb", false},
             Case{"*a", "aba", false}, // the "*" stops at the first "a"
             Case{"*a*", "aba", true},
             Case{"*ab", "aab", true},
             Case{"a?c", "abc", true},
             Case{"a?c", "ac", false},
             Case{"a?c", "abbc", false},
             Case{"", "", true},
             Case{"", "x", false},
             Case{"*", "", true},
             Case{"*", "anything at all", true},
             Case{"abc", "abc", true},
             Case{"abc", "ABC", false}, // case matters
             Case{"abc", "abcd", false},
             Case{"abcd", "abc", false},
             Case{"a**b", "ab", true},
             Case{"a*?*b", "axb", true},
             Case{"a*?*b", "ab", false},
             Case{"a?*?b", "axyzb", true},
             Case{"??", "ab", true},
             Case{"??", "abc", false},
             Case{"??", "a", false},
             Case{"x*", "xyz", true},
             Case{"*.pas", "Unit1.pas", true},
             Case{"*.pas", "Unit1.pas.bak", false},
             Case{"G?n", "Gün", true}, // "?" is one character, also when it takes two bytes
             Case{"??", "ü", false},
             Case{"M*ller", "Müller", true},
         })
        EXPECT_EQ(CompareFilter(C.Filter, C.S), C.Expected) << C.Filter << " ~ " << C.S;
}

std::vector<String> TraceLines;

void CollectTrace(const String& Line) {
    TraceLines.push_back(Line);
}

TEST(StringTools, CompareFilterTracesItsSteps) {
    struct Case {
        const char* Filter;
        const char* S;
        std::vector<String> Trace;
    };
    for (const Case& C : {
             Case{"a?c",
                  "abc",
                  {"Filter: a?c Str: abc", "Condition Q1", "Condition Q2", "Condition Q1",
                   "Result: True"}},
             Case{"*a", "aba", {"Filter: *a Str: aba", "Condition Q4", "Result: False"}},
             Case{"x*",
                  "xyz",
                  {"Filter: x* Str: xyz", "Condition Q1", "Condition Q3", "Result: True"}},
             Case{"b", "a", {"Filter: b Str: a", "Result: False"}},
         }) {
        TraceLines.clear();
        TDebug::SetSink(CollectTrace);
        const bool Matched = CompareFilter(C.Filter, C.S);
        TDebug::SetSink(nullptr);
        EXPECT_EQ(TraceLines, C.Trace) << C.Filter;
        EXPECT_EQ(Matched, C.Trace.back() == "Result: True") << C.Filter;
    }
}

} // namespace
