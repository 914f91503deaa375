#include "platform/rtl/SysUtils.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

namespace orlo {
namespace {

using test::ExpectError;

TEST(Trim, RemovesBlanksAndControlCharactersOnly) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft(" \t a b \r\n"), "a b \r\n");
    EXPECT_EQ(TrimRight(" \t a b \r\n"), " \t a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(" äö "), "äö"); // bytes of UTF-8 letters are above ' '
    EXPECT_EQ(Trim("\x7F"), "\x7F");
}

TEST(Case, PlainRoutinesFoldAsciiOnly) {
    EXPECT_EQ(UpperCase("abc äöü xyz"), "ABC äöü XYZ");
    EXPECT_EQ(LowerCase("ABC ÄÖÜ XYZ"), "abc ÄÖÜ xyz");
}

TEST(Case, AnsiRoutinesFoldLatinLetters) {
    struct {
        const char* Lower;
        const char* Upper;
    } const Pairs[] = {
        {"äöüéàçñø", "ÄÖÜÉÀÇÑØ"},
        {"ÿ", "Ÿ"},
        {"āčęğłńőřśšűžź", "ĀČĘĞŁŃŐŘŚŠŰŽŹ"},
        {"a×b÷c", "A×B÷C"},
    };
    for (const auto& Pair : Pairs) {
        EXPECT_EQ(AnsiUpperCase(Pair.Lower), Pair.Upper) << Pair.Lower;
        EXPECT_EQ(AnsiLowerCase(Pair.Upper), Pair.Lower) << Pair.Upper;
    }
    // Letters without a partner of the same UTF-8 length keep their case.
    EXPECT_EQ(AnsiUpperCase("ı"), "ı");
    EXPECT_EQ(AnsiUpperCase("ß"), "ß");
    EXPECT_EQ(AnsiLowerCase("İ"), "İ");
    EXPECT_EQ(AnsiUpperCase("\xC3"), "\xC3"); // a cut sequence stays as it is
    EXPECT_EQ(AnsiUpperCase("\xC3x"), "\xC3X");
}

TEST(Case, UnicodeLowerCaseFoldsEveryScriptAndKeepsOtherBytes) {
    const std::pair<String, String> Cases[] = {
        {"ÄRGER Ärger", "ärger ärger"},
        {"ПРИВЕТ Ωμέγα ĀČĘ", "привет ωμέγα āčę"},
        {"ABC-123 ß", "abc-123 ß"},
        {"\xC3", "\xC3"},                       // a cut sequence
        {"A\xFF\xC3(B", "a\xFF\xC3(b"},         // bytes that are no UTF-8
        {String("A\0Ä", 4), String("a\0ä", 4)}, // NUL inside
        {"", ""},
    };
    for (const auto& [Text, Lower] : Cases)
        EXPECT_EQ(UnicodeLowerCase(Text), Lower) << Text;
}

int Sign(Integer V) {
    return (V > 0) - (V < 0);
}

TEST(Compare, TextAndStrings) {
    struct {
        const char* A;
        const char* B;
        int Str, Text, AnsiText;
    } const Cases[] = {
        {"abc", "abc", 0, 0, 0},        {"abc", "ABC", 1, 0, 0},
        {"ab", "abc", -1, -1, -1},      {"b", "A", 1, 1, 1},
        {"a", "B", 1, -1, -1},          {"Äpfel", "äPFEL", -1, -1, 0},
        {"zebra", "Äpfel", -1, -1, -1}, {"", "", 0, 0, 0},
        {"", "a", -1, -1, -1},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(Sign(CompareStr(C.A, C.B)), C.Str) << C.A << " " << C.B;
        EXPECT_EQ(Sign(CompareText(C.A, C.B)), C.Text) << C.A << " " << C.B;
        EXPECT_EQ(Sign(AnsiCompareText(C.A, C.B)), C.AnsiText) << C.A << " " << C.B;
        EXPECT_EQ(SameText(C.A, C.B), C.Text == 0);
        EXPECT_EQ(AnsiSameText(C.A, C.B), C.AnsiText == 0);
    }
}

TEST(Integers, ToText) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(Integer(INT32_MIN)), "-2147483648");
    EXPECT_EQ(IntToStr(Int64(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 0), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(0xABCDEF), 8), "00ABCDEF");
}

TEST(Integers, ParseValidText) {
    struct {
        const char* Text;
        Integer Value;
    } const Cases[] = {
        {"42", 42},
        {"-42", -42},
        {"+7", 7},
        {" 12", 12},
        {"\t12", 12},
        {"$1A", 26},
        {"$1a", 26},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", INT32_MAX},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"007", 7},
        {"0", 0},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(StrToInt(C.Text), C.Value) << C.Text;
        Integer Value = 0;
        EXPECT_TRUE(TryStrToInt(C.Text, Value)) << C.Text;
        EXPECT_EQ(Value, C.Value);
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 0xFFFFFFFF);
    EXPECT_EQ(StrToInt64("5000000000"), 5000000000);
}

TEST(Integers, RejectBadText) {
    for (const char* Text : {"", " ", "12 ", "1 2", "2147483648", "-2147483649", "$100000000",
                             "1.5", "abc", "$", "0x", "+-1", "-+1", "$-1", "- 1", "1e3", "12h"}) {
        ExpectError<EConvertError>([&] { StrToInt(Text); },
                                   "'" + String(Text) + "' is not a valid integer value");
        EXPECT_EQ(StrToIntDef(Text, 7), 7) << Text;
    }
    ExpectError<EConvertError>([] { StrToInt64("9223372036854775808"); },
                               "'9223372036854775808' is not a valid integer value");
    ExpectError<EConvertError>([] { StrToInt64("$10000000000000000"); },
                               "'$10000000000000000' is not a valid integer value");
    EXPECT_EQ(StrToInt64Def("x", -3), -3);
}

TEST(Editing, PosCopyDeleteInsert) {
    EXPECT_EQ(Pos("lo", "hello"), 4);
    EXPECT_EQ(Pos("h", "hello"), 1);
    EXPECT_EQ(Pos("", "hello"), 0);
    EXPECT_EQ(Pos("x", "hello"), 0);

    struct {
        Integer Index, Count;
        const char* Expected;
    } const Copies[] = {{2, 3, "ell"},
                        {0, 2, "he"},
                        {-5, 2, "he"},
                        {4, 100, "lo"},
                        {6, 1, ""},
                        {2, -1, ""},
                        {1, 0, ""},
                        {1, INT32_MAX, "hello"},
                        {INT32_MIN, INT32_MAX, "hello"}};
    for (const auto& C : Copies)
        EXPECT_EQ(Copy("hello", C.Index, C.Count), C.Expected) << C.Index << "," << C.Count;

    struct {
        Integer Index, Count;
        const char* Expected;
    } const Deletes[] = {{2, 2, "hlo"},   {0, 2, "hello"},  {6, 1, "hello"},       {4, 100, "hel"},
                         {1, 0, "hello"}, {1, -1, "hello"}, {5, INT32_MAX, "hell"}};
    for (const auto& C : Deletes) {
        String S = "hello";
        Delete(S, C.Index, C.Count);
        EXPECT_EQ(S, C.Expected) << C.Index << "," << C.Count;
    }

    for (auto [Index, Expected] : {std::pair{3, "heXYllo"},
                                   {1, "XYhello"},
                                   {0, "XYhello"},
                                   {6, "helloXY"},
                                   {100, "helloXY"}}) {
        String S = "hello";
        Insert("XY", S, Index);
        EXPECT_EQ(S, Expected) << Index;
    }
    EXPECT_EQ(StringOfChar('x', 3), "xxx");
    EXPECT_EQ(StringOfChar('x', -1), "");
}

TEST(Quoting, QuoteAndExtract) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");

    std::string_view Src = "'it''s' rest";
    EXPECT_EQ(AnsiExtractQuotedStr(Src, '\''), "it's");
    EXPECT_EQ(Src, " rest");

    Src = "abc";
    EXPECT_EQ(AnsiExtractQuotedStr(Src, '\''), "");
    EXPECT_EQ(Src, "abc");

    Src = "'open";
    EXPECT_EQ(AnsiExtractQuotedStr(Src, '\''), "open");
    EXPECT_EQ(Src, "");

    Src = "''";
    EXPECT_EQ(AnsiExtractQuotedStr(Src, '\''), "");
    EXPECT_EQ(Src, "");

    const String Quoted = AnsiQuotedStr("x\"y\"\"z", '"');
    Src = Quoted;
    EXPECT_EQ(AnsiExtractQuotedStr(Src, '"'), "x\"y\"\"z");
}

TEST(StringReplace, Flags) {
    EXPECT_EQ(StringReplace("axbxc", "x", "-", {}), "a-bxc");
    EXPECT_EQ(StringReplace("axbxc", "x", "-", {rfReplaceAll}), "a-b-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", {rfReplaceAll}), "aXb-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "--", {rfReplaceAll, rfIgnoreCase}), "a--b--c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", {rfIgnoreCase}), "a-bxc");
    EXPECT_EQ(StringReplace("Äpfel und äpfel", "ÄPFEL", "Birnen", {rfReplaceAll, rfIgnoreCase}),
              "Birnen und Birnen");
    EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
    EXPECT_EQ(StringReplace("aa", "a", "aa", {rfReplaceAll}), "aaaa");
    EXPECT_EQ(StringReplace("abc", "abcd", "x", {rfReplaceAll}), "abc");
}

} // namespace
} // namespace orlo
