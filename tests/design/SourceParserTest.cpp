#include "design/SourceParser.h"
#include "tests/design/SourceLines.h"
#include "tests/rtl/ExpectError.h"

#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <vector>

namespace orlo {
namespace {

using test::Lines;

struct TBlockCase {
    TBlockType Type;
    Integer Line;
    Integer Column;
    Integer Offset;
    Integer Length;
    bool Terminated;
};

bool operator==(const TBlockCase& A, const TBlockCase& B) {
    return A.Type == B.Type && A.Line == B.Line && A.Column == B.Column && A.Offset == B.Offset &&
           A.Length == B.Length && A.Terminated == B.Terminated;
}

std::ostream& operator<<(std::ostream& Out, const TBlockCase& B) {
    return Out << (B.Type == btString ? "string" : "comment") << " line " << B.Line << " col "
               << B.Column << " at " << B.Offset << " len " << B.Length
               << (B.Terminated ? "" : " unterminated");
}

std::vector<TBlockCase> BlocksOf(const TSourceParser& Parser) {
    std::vector<TBlockCase> Result;
    for (Integer I = 0; I < Parser.Blocks().Count(); ++I) {
        const TSourceCodeBlock* B = Parser.Blocks().Items(I);
        Result.push_back(
            {B->Type(), B->Line(), B->Column(), B->Offset(), B->Length(), B->Terminated()});
    }
    return Result;
}

struct TScanCase {
    const char* Name;
    TCodeType Type;
    String Text;
    String Mask;
    std::vector<TBlockCase> Blocks;
};

TEST(SourceParserScan, ClassifiesLiteralsAndComments) {
    const std::vector<TScanCase> Cases = {
        {"Pascal literal with a doubled quote",
         ctPascal,
         "s := 'It''s';",
         "     [sssss] ",
         {{btString, 0, 6, 5, 7, true}}},
        {"empty Pascal literal", ctPascal, "x('')", "  [] ", {{btString, 0, 3, 2, 2, true}}},
        {"brace comment right after a literal",
         ctPascal,
         "x := 'abc'{c}",
         "     [sss]{c}",
         {{btString, 0, 6, 5, 5, true}, {btComment, 0, 11, 10, 3, true}}},
        {"line comment right after a literal",
         ctPascal,
         "'a'//x",
         "[s]{c}",
         {{btString, 0, 1, 0, 3, true}, {btComment, 0, 4, 3, 3, true}}},
        {"parenthesis star comment",
         ctPascal,
         "(* a *)",
         "{ccccc}",
         {{btComment, 0, 1, 0, 7, true}}},
        {"(*) opens a comment it does not close",
         ctPascal,
         "(*)",
         "{c}",
         {{btComment, 0, 1, 0, 3, false}}},
        {"line comment at the end of the text",
         ctPascal,
         "a\r\n// x",
         " \r\n{cc}",
         {{btComment, 1, 1, 3, 4, true}}},
        {"brace comment over three lines",
         ctPascal,
         "{ a\r\nb\r\nc }",
         "{cc\r\nc\r\ncc}",
         {{btComment, 0, 1, 0, 11, true}}},
        {"brace comment over LF lines",
         ctPascal,
         "{ a\nb }",
         "{cc\ncc}",
         {{btComment, 0, 1, 0, 7, true}}},
        {"unterminated brace comment",
         ctPascal,
         "x { a\r\n\r\n",
         "  {c}\r\n\r\n",
         {{btComment, 0, 3, 2, 3, false}}},
        {"Pascal literal ends at the line end",
         ctPascal,
         "x := 'ab\r\ny",
         "     [s]\r\n ",
         {{btString, 0, 6, 5, 3, false}}},
        {"Pascal literal ending the line",
         ctPascal,
         "x := 'ab'\r\ny",
         "     [ss]\r\n ",
         {{btString, 0, 6, 5, 4, true}}},
        {"double quote is no delimiter in Pascal", ctPascal, "\"a\"", "   ", {}},
        {"( without star is code", ctPascal, "f(x)", "    ", {}},
        {"C literal with an escaped quote",
         ctC,
         "s = \"a\\\"b\";",
         "    [ssss] ",
         {{btString, 0, 5, 4, 6, true}}},
        {"C literal continued on the next line",
         ctC,
         "\"ab\\\r\ncd\"",
         "[ss\\\r\nss]",
         {{btString, 0, 1, 0, 9, true}}},
        {"C literal unterminated on the last line",
         ctC,
         "\"ab\\",
         "[ss]",
         {{btString, 0, 1, 0, 4, false}}},
        {"C literal continued onto an empty line",
         ctC,
         "\"a\\\r\n\r\nb",
         "[s]\r\n\r\n ",
         {{btString, 0, 1, 0, 3, false}}},
        {"C character literal", ctC, "c = 'a';", "    [s] ", {{btString, 0, 5, 4, 3, true}}},
        {"C block comment", ctC, "/* a */x", "{ccccc} ", {{btComment, 0, 1, 0, 7, true}}},
        {"C block comment with stars",
         ctC,
         "/** a **/",
         "{ccccccc}",
         {{btComment, 0, 1, 0, 9, true}}},
        {"C division is code", ctC, "a / b", "     ", {}},
        {"braces are code in C", ctC, "{ x }", "     ", {}},
        {"C line comment", ctC, "x; // y", "   {cc}", {{btComment, 0, 4, 3, 4, true}}},
        {"C line comment does not continue",
         ctC,
         "// a\\\r\nb",
         "{ccc}\r\n ",
         {{btComment, 0, 1, 0, 5, true}}},
        {"C++ line comment continues",
         ctCpp,
         "// a\\\r\nb\r\nc",
         "{cccc\r\n}\r\n ",
         {{btComment, 0, 1, 0, 8, true}}},
        {"C++ line comment continued onto an empty line",
         ctCpp,
         "// a\\\n\nb",
         "{ccc}\n\n ",
         {{btComment, 0, 1, 0, 5, true}}},
        {"C++ raw literal",
         ctCpp,
         "R\"x(a)\"b)x\"",
         " [ssssssss]",
         {{btString, 0, 2, 1, 10, true}}},
        {"C++ raw literal over two lines",
         ctCpp,
         "R\"(a\r\nb)\"",
         " [ss\r\nss]",
         {{btString, 0, 2, 1, 8, true}}},
        {"C++ raw literal keeps comment marks",
         ctCpp,
         "u8R\"(/*)\"",
         "   [ssss]",
         {{btString, 0, 4, 3, 6, true}}},
        {"C++ unterminated raw literal",
         ctCpp,
         "R\"(a\r\nb",
         " [ss\r\n]",
         {{btString, 0, 2, 1, 6, false}}},
        {"identifier ending in R is no raw prefix",
         ctCpp,
         "FOR\"(\"",
         "   [s]",
         {{btString, 0, 4, 3, 3, true}}},
        {"C++ digit separators",
         ctCpp,
         "x = 1'000 + 0x1'F; c = 'a';",
         "                       [s] ",
         {{btString, 0, 24, 23, 3, true}}},
        {"C digit separator opens a literal", ctC, "1'0", " []", {{btString, 0, 2, 1, 2, false}}},
        {"C++ encoding prefixes",
         ctCpp,
         "u8\"a\" L\"b\" u'c'",
         "  [s]  [s]  [s]",
         {{btString, 0, 3, 2, 3, true},
          {btString, 0, 8, 7, 3, true},
          {btString, 0, 13, 12, 3, true}}},
        {"C++ character literal after an identifier with digits",
         ctCpp,
         "x1 'a'",
         "   [s]",
         {{btString, 0, 4, 3, 3, true}}},
    };
    for (const TScanCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TSourceParser Parser(Case.Text);
        Parser.ParseLines(Case.Type);
        EXPECT_EQ(Parser.Mask(), Case.Mask);
        EXPECT_EQ(BlocksOf(Parser), Case.Blocks);
        for (Integer I = 0; I < Parser.Blocks().Count(); ++I) {
            const TSourceCodeBlock* B = Parser.Blocks().Items(I);
            EXPECT_EQ(B->BlockText(), Case.Text.substr(B->Offset(), B->Length()));
        }
    }
}

TEST(SourceParserScan, ParsingAgainRebuildsTheBlocks) {
    TSourceParser Parser("'a' { b }");
    Parser.ParseLines(ctPascal);
    Parser.ParseLines(ctPascal);
    EXPECT_EQ(Parser.Blocks().Count(), 2);
    Parser.ParseLines(ctC);
    EXPECT_EQ(Parser.Blocks().Count(), 1);
    EXPECT_EQ(Parser.Mask(), "[s]      ");
}

TEST(SourceParserScan, DetectsTheCodeType) {
    const std::vector<std::pair<String, TCodeType>> Cases = {
        {"unit Main;", ctPascal},  {"  \r\n PROGRAM P;", ctPascal},
        {"Unitary", ctPascal},     {"#include <x>", ctC},
        {"int main()", ctC},       {"void f();", ctC},
        {"// comment", ctUnknown}, {"", ctUnknown},
        {"library L;", ctUnknown},
    };
    for (const auto& [Text, Type] : Cases) {
        SCOPED_TRACE(Text);
        EXPECT_EQ(TSourceParser(Text).CodeType(), Type);
    }
}

TEST(SourceParserScan, AutoDetectUsesTheDetectedType) {
    TSourceParser Parser("unit A; { x }");
    Parser.ParseLines(ctAutoDetect);
    EXPECT_EQ(Parser.Blocks().Count(), 1);
}

TEST(SourceParserScan, RefusesAnUnknownCodeType) {
    TSourceParser Parser("hello");
    for (const TCodeType Type : {ctAutoDetect, ctUnknown, static_cast<TCodeType>(9)})
        test::ExpectError<Exception>([&] { Parser.ParseLines(Type); },
                                     "TSourceParser.ParseLines: Invalid CodeType");
}

// --- Tokens ------------------------------------------------------------------------

std::vector<String> TokensOf(const TSourceParser& Parser, Integer From, Integer To) {
    std::vector<String> Result;
    for (auto Token = Parser.FindNextToken(From, To); Token;
         Token = Token->NextOffset < 0 ? std::nullopt : Parser.FindNextToken(Token->NextOffset, To))
        Result.push_back(Token->Text);
    return Result;
}

TEST(SourceParserTokens, SplitsTextBothWays) {
    struct TCase {
        String Text;
        TCodeType Type;
        std::vector<String> Forwards;
        std::vector<String> Backwards;
    };
    const std::vector<TCase> Cases = {
        {"Caption:=GetString('Title');",
         ctPascal,
         {"Caption", ":", "=", "GetString", "(", "'", "'", ")", ";"},
         {";", ")", "'", "'", "(", "GetString", "=", ":", "Caption"}},
        {"12abc", ctPascal, {"12", "abc"}, {"abc", "12"}},
        {"abc12 7", ctPascal, {"abc12", "7"}, {"7", "abc12"}},
        {"1a2b", ctPascal, {"1", "a2b"}, {"a2b", "1"}},
        {"ab{c}d", ctPascal, {"ab", "d"}, {"d", "ab"}},
        {"x // y\r\n z", ctPascal, {"x", "z"}, {"z", "x"}},
        {"a\x80;", ctPascal, {"a", "\x80", ";"}, {";", "\x80", "a"}},
        {"s = \"a b\";", ctCpp, {"s", "=", "\"", "\"", ";"}, {";", "\"", "\"", "=", "s"}},
        {"", ctPascal, {}, {}},
        {" \r\n\t", ctPascal, {}, {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        TSourceParser Parser(Case.Text);
        Parser.ParseLines(Case.Type);
        EXPECT_EQ(TokensOf(Parser, 0, -1), Case.Forwards);
        EXPECT_EQ(TokensOf(Parser, -1, 0), Case.Backwards);
    }
}

TEST(SourceParserTokens, KeepsToTheRange) {
    TSourceParser Parser("alpha beta gamma");
    Parser.ParseLines(ctPascal);
    // A word is cut at the end of the range.
    EXPECT_EQ(TokensOf(Parser, 0, 7), (std::vector<String>{"alpha", "be"}));
    EXPECT_EQ(TokensOf(Parser, 9, 3), (std::vector<String>{"beta", "ha"}));
    const auto Token = Parser.FindNextToken(6, 9);
    ASSERT_TRUE(Token);
    EXPECT_EQ(Token->Text, "beta");
    EXPECT_EQ(Token->Start, 6);
    EXPECT_EQ(Token->NextOffset, -1); // 10 lies outside the range
    const auto Back = Parser.FindNextToken(9, 6);
    ASSERT_TRUE(Back);
    EXPECT_EQ(Back->NextOffset, -1);
    // Bounds beyond the text are clipped; both beyond: nothing.
    EXPECT_EQ(TokensOf(Parser, 11, 1000), (std::vector<String>{"gamma"}));
    EXPECT_FALSE(Parser.FindNextToken(100, 200));
    EXPECT_EQ(Parser.FindNextToken(200, 12)->Text, "amma");
}

TEST(SourceParserTokens, FindsTokensAndSequences) {
    TSourceParser Parser("'begin' BEGIN end; End.\r\nform1 . GetString");
    Parser.ParseLines(ctPascal);
    EXPECT_EQ(Parser.FindToken(0, -1, "begin")->Start, 8);
    EXPECT_FALSE(Parser.FindToken(0, -1, "begin", {fsCaseSensitive}));
    EXPECT_EQ(Parser.FindToken(0, -1, "BEGIN", {fsCaseSensitive})->Start, 8);
    EXPECT_FALSE(Parser.FindToken(0, -1, ""));
    EXPECT_EQ(Parser.FindToken(-1, 0, "end")->Start, 19);

    const auto End = Parser.FindTokenSequence(0, -1, {"end", "."});
    ASSERT_TRUE(End);
    EXPECT_EQ(End->Start, 19);
    EXPECT_EQ(End->NextOffset, 23);
    const auto Call = Parser.FindTokenSequence(0, -1, {"Form1", ".", "GetString"});
    ASSERT_TRUE(Call);
    EXPECT_EQ(Call->Start, 25);
    EXPECT_EQ(Call->NextOffset, -1); // GetString ends the text
    EXPECT_FALSE(Parser.FindTokenSequence(0, -1, {"Form1", ".", "GetString"}, {fsCaseSensitive}));
    EXPECT_FALSE(Parser.FindTokenSequence(0, -1, {"end", ";", "x"}));
    EXPECT_FALSE(Parser.FindTokenSequence(0, -1, {}));
}

TEST(SourceParserSymbols, FindsSubstringsOutsideLiterals) {
    struct TCase {
        const char* Name;
        String Text;
        String Symbol;
        TFindSymbolOptions Options;
        Integer Start;
        Integer Next;
    };
    const std::vector<TCase> Cases = {
        {"plain", "xinterface", "interface", {}, 1, -1},
        {"control characters around",
         "xinterface interface\r\n",
         "Interface",
         {fsControlCharBefore, fsControlCharAfter},
         11,
         20},
        {"case sensitive", "Interface interface", "interface", {fsCaseSensitive}, 10, -1},
        {"no identifier around",
         "a_uses (uses)",
         "uses",
         {fsNoIdentifierBefore, fsNoIdentifierAfter},
         8,
         12},
        {"at the start of the text", "uses x", "uses", {fsControlCharBefore}, 0, 4},
        {"at the end of the text", "x uses", "uses", {fsControlCharAfter}, 2, -1},
        {"literal skipped", "'abc' abc", "abc", {}, 6, -1},
        {"comment skipped", "{abc} abc", "abc", {}, 6, -1},
        {"inside a literal only", "'abc'", "abc", {}, -1, -1},
        {"empty symbol", "abc", "", {}, -1, -1},
        {"longer than the text", "ab", "abc", {}, -1, -1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TSourceParser Parser(Case.Text);
        Parser.ParseLines(ctPascal);
        const auto Match = Parser.FindSymbol(0, -1, Case.Symbol, Case.Options);
        EXPECT_EQ(Match ? Match->Start : -1, Case.Start);
        EXPECT_EQ(Match ? Match->NextOffset : -1, Case.Next);
    }
}

TEST(SourceParserSymbols, SearchesBackwardsWithinTheRange) {
    TSourceParser Parser("abc abc abc");
    Parser.ParseLines(ctPascal);
    const auto Match = Parser.FindSymbol(9, 0, "abc");
    ASSERT_TRUE(Match);
    EXPECT_EQ(Match->Start, 4); // the one at 8 reaches beyond From
    EXPECT_EQ(Match->NextOffset, 3);
    EXPECT_EQ(Parser.FindSymbol(2, 0, "abc")->NextOffset, -1);
    EXPECT_EQ(Parser.FindSymbol(0, 6, "abc")->NextOffset, 3);
    EXPECT_FALSE(Parser.FindSymbol(5, 7, "abc"));
}

TEST(SourceParser, GetNextOffset) {
    const std::vector<std::tuple<Integer, Integer, Integer, Integer>> Cases = {
        {0, 10, 5, 5},   {10, 0, 5, 5},   {0, 10, 10, 10},
        {0, 10, 11, -1}, {10, 0, -1, -1}, {3, 3, 3, 3}};
    for (const auto& [A, B, X, Expected] : Cases)
        EXPECT_EQ(TSourceParser::GetNextOffset(A, B, X), Expected) << A << " " << B << " " << X;
}

TEST(SourceParser, GetBlockIndexNeedsTheStartAndTheType) {
    TSourceParser Parser("x 'a' {b} 'c'");
    Parser.ParseLines(ctPascal);
    EXPECT_EQ(Parser.GetBlockIndex(btString, 2), 0);
    EXPECT_EQ(Parser.GetBlockIndex(btComment, 6), 1);
    EXPECT_EQ(Parser.GetBlockIndex(btString, 10), 2);
    EXPECT_FALSE(Parser.GetBlockIndex(btComment, 2));
    EXPECT_FALSE(Parser.GetBlockIndex(btString, 3));
    EXPECT_FALSE(Parser.GetBlockIndex(btString, -1));
}

TEST(SourceParser, ReplacesBlockText) {
    TSourceParser Parser("x := 'Titel'; { c }");
    Parser.ParseLines(ctPascal);
    String Copy = "x := 'Titel'; { c }";
    Parser.ReplaceBlockTextEx(0, "'Title'", Copy);
    EXPECT_EQ(Copy, "x := 'Title'; { c }");
    EXPECT_EQ(Parser.Text(), "x := 'Titel'; { c }");
    Parser.ReplaceBlockText(1, "");
    EXPECT_EQ(Parser.Text(), "x := 'Titel'; ");
    test::ExpectError<EListError>([&] { Parser.ReplaceBlockText(2, "x"); },
                                  "List index out of bounds (2)");
    // The blocks are stale now; a block beyond the shortened text changes nothing.
    Parser.ReplaceBlockText(0, "'Title'");
    Parser.ReplaceBlockText(1, "!");
    EXPECT_EQ(Parser.Text(), "x := 'Title'; !");
}

TEST(SourceParser, PositionsAsLineAndColumn) {
    TSourceParser Parser("ab\r\ncd\nef\rgh");
    const std::vector<std::tuple<Integer, Integer, Integer>> Cases = {
        {0, 1, 1},  {1, 1, 2},  {2, 1, 3},  {4, 2, 1},  {7, 3, 1},
        {10, 4, 1}, {11, 4, 2}, {12, 4, 3}, {-5, 1, 1}, {99, 4, 3}};
    for (const auto& [Offset, Line, Column] : Cases) {
        const TTextPosition P = Parser.PositionOf(Offset);
        EXPECT_EQ(P.Line, Line) << Offset;
        EXPECT_EQ(P.Column, Column) << Offset;
    }
}

TEST(SourceParser, PascalStringConversions) {
    const std::vector<std::pair<String, String>> Cases = {{"", ""},          {"abc", "abc"},
                                                          {"It's", "It''s"}, {"'", "''"},
                                                          {"''", "''''"},    {"a'b'", "a''b''"}};
    for (const auto& [Plain, Pascal] : Cases) {
        EXPECT_EQ(StringToPascalString(Plain), Pascal);
        EXPECT_EQ(PascalStringToString(Pascal), Plain);
    }
    EXPECT_EQ(PascalStringToString("'''"), "''"); // an odd quote stays
}

// --- Pascal structure -----------------------------------------------------------------

TEST(SourceParserPascal, RecognisesBlockOpeners) {
    struct TCase {
        String Prev;
        String Token;
        String After; // the text after the token
        std::optional<bool> Expected;
    };
    const std::vector<TCase> Cases = {
        {"", "begin", "", true},
        {"x", "BEGIN", "", true},
        {"", "asm", "", true},
        {"", "try", "", true},
        {"", "case", "", true},
        {"", "record", "", true},
        {"=", "object", "", true},
        {"of", "object", "", false},
        {"OF", "Object", "", false},
        {"", "class", " x: Integer; end", false},
        {"=", "class", ";", false},
        {"=", "class", "(TBar);", false},
        {"=", "class", " of TBar;", false},
        {"=", "class", "(TBar) X: Integer; end", true},
        {"=", "class", " X: Integer; end", true},
        {"=", "interface", " procedure X; end", true},
        {"=", "interface", "(IBar) procedure X; end", true},
        {"=", "class", "", std::nullopt},
        {"=", "class", "(TBar", std::nullopt},
        {"=", "class", "(TBar)", std::nullopt},
        {"", "be", "", false},
        {"", "implementation", "", false},
        {"", "procedure", "", false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Prev + " " + Case.Token + Case.After);
        TSourceParser Parser(Case.After);
        Parser.ParseLines(ctPascal);
        EXPECT_EQ(Parser.Pas_IsBeginToken(Case.Prev, Case.Token, Case.After.empty() ? -1 : 0,
                                          static_cast<Integer>(Case.After.size()) - 1),
                  Case.Expected);
    }
}

TEST(SourceParserPascal, FindsTheMainProgram) {
    const String Program = Lines({"program P;", "type", "  TFoo = class(TBar)", "    X: Integer;",
                                  "  end;", "  TBaz = class;", "  TProc = procedure of object;",
                                  "begin", "  try Run; finally Done; end;", "end."});
    const String Unit =
        Lines({"unit U;", "interface", "type", "  IFoo = interface", "  end;", "implementation",
               "procedure X;", "begin", "end;", "initialization", "  X;", "end."});
    struct TCase {
        const char* Name;
        String Text;
        std::optional<bool> HasMain;
        Integer MainBegin;
    };
    const Integer AfterBegin = static_cast<Integer>(Program.find("begin")) + 5;
    const std::vector<TCase> Cases = {
        {"program", Program, true, AfterBegin},
        {"unit with initialization", Unit, false, -1},
        {"old-style unit initialisation", "unit U; implementation begin X; end.", true, 28},
        {"no final end", "program P; begin end;", std::nullopt, -1},
        {"unclosed blocks", "program P; begin begin end.", std::nullopt, -1},
        {"class running out of tokens", "unit U; type T = class end.", std::nullopt, -1},
        {"end first", "end.", false, -1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TSourceParser Parser(Case.Text);
        Parser.ParseLines(ctPascal);
        const auto Main = Parser.Pas_HasUnitMainProgram();
        EXPECT_EQ(Main ? std::optional<bool>(Main->HasMain) : std::nullopt, Case.HasMain);
        EXPECT_EQ(Main ? Main->MainBegin : -1, Case.MainBegin);
    }
}

TEST(SourceParserPascal, UsesUnits) {
    struct TCase {
        const char* Name;
        String Text;
        bool InInterface;
        std::optional<bool> AlreadyUsed;
        String Result;
    };
    const String NoUses = Lines({"unit A;", "", "interface", "", "implementation", "", "end."});
    const String WithUses =
        Lines({"unit A;", "interface", "uses SysUtils;", "implementation", "uses Foo;", "end."});
    const std::vector<TCase> Cases = {
        {"new clause in the interface", NoUses, true, false,
         Lines({"unit A;", "", "interface", "", "uses", "  Glossa;", "", "implementation", "",
                "end."})},
        {"new clause in the implementation", NoUses, false, false,
         Lines({"unit A;", "", "interface", "", "implementation", "", "uses", "  Glossa;", "",
                "end."})},
        {"added to the interface clause", WithUses, true, false,
         Lines({"unit A;", "interface", "uses", "  Glossa, SysUtils;", "implementation",
                "uses Foo;", "end."})},
        {"added to the implementation clause", WithUses, false, false,
         Lines({"unit A;", "interface", "uses SysUtils;", "implementation", "uses",
                "  Glossa, Foo;", "end."})},
        {"already used",
         Lines({"unit A;", "interface", "uses SysUtils, GLOSSA;", "implementation", "end."}), true,
         true, Lines({"unit A;", "interface", "uses SysUtils, GLOSSA;", "implementation", "end."})},
        {"used only in the other section",
         Lines({"unit A;", "interface", "implementation", "uses Glossa;", "end."}), true, false,
         Lines({"unit A;", "interface", "", "uses", "  Glossa;", "", "implementation",
                "uses Glossa;", "end."})},
        {"program without uses", "program P;\r\n\r\nbegin\r\nend.", true, false,
         "program P;\r\n\r\nuses\r\n  Glossa;\r\n\r\nbegin\r\nend."},
        {"program with uses", "program P;\nuses A;\nbegin end.", false, false,
         "program P;\nuses\n  Glossa, A;\nbegin end."},
        {"no final end", "unit A; interface implementation end;", true, std::nullopt,
         "unit A; interface implementation end;"},
        {"interface without implementation", "unit A;\r\ninterface\r\nend.", true, std::nullopt,
         "unit A;\r\ninterface\r\nend."},
        {"implementation before interface", "unit A;\r\nimplementation\r\ninterface\r\nend.", true,
         std::nullopt, "unit A;\r\nimplementation\r\ninterface\r\nend."},
        {"program of the wrong shape", "program; begin end.", true, std::nullopt,
         "program; begin end."},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TSourceParser Parser(Case.Text);
        Parser.ParseLines(ctPascal);
        EXPECT_EQ(Parser.Pas_UseUnit(" Glossa ", Case.InInterface), Case.AlreadyUsed);
        EXPECT_EQ(Parser.Text(), Case.Result);
    }
}

TEST(SourceParserPascal, UseUnitRefusesABlankName) {
    TSourceParser Parser("unit A; interface implementation end.");
    Parser.ParseLines(ctPascal);
    EXPECT_EQ(Parser.Pas_UseUnit("  ", true), std::nullopt);
    EXPECT_EQ(Parser.Text(), "unit A; interface implementation end.");
}

} // namespace
} // namespace orlo
