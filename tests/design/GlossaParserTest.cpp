#include "design/GlossaParser.h"
#include "tests/classes/LinesOf.h"
#include "tests/design/SourceLines.h"
#include "tests/rtl/ExpectError.h"

#include "platform/classes/Strings.h"

#include <gtest/gtest.h>

namespace orlo {
namespace {

using test::Lines;
using test::LinesOf;

// Each entry of a list as "text@line:column".
std::vector<String> Located(const TGlossaParser& Parser, const TStrings* List) {
    std::vector<String> Result;
    for (Integer I = 0; I < List->Count(); ++I) {
        const TTextPosition P = Parser.PositionOf(TGlossaParser::OffsetOf(List, I));
        Result.push_back(List->Strings(I) + "@" + std::to_string(P.Line) + ":" +
                         std::to_string(P.Column));
    }
    return Result;
}

// A text with its used names and invalid calls, checked without a name list.
struct TCallCase {
    String Text;
    std::vector<String> Used;
    std::vector<String> Invalid;
};

void ExpectCalls(const std::vector<TCallCase>& Cases, TCodeType Language) {
    for (const TCallCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        TGlossaParser Parser("Glossa", nullptr, Case.Text, Language);
        ASSERT_TRUE(Parser.Check(false));
        EXPECT_EQ(LinesOf(*Parser.UsedNames()), Case.Used);
        EXPECT_EQ(LinesOf(*Parser.InvalidCalls()), Case.Invalid);
    }
}

const String PascalUnit = Lines({"unit Main;",                                    // 1
                                 "interface",                                     // 2
                                 "implementation",                                // 3
                                 "procedure TMainForm.Show;",                     // 4
                                 "begin",                                         // 5
                                 "  Caption := GetString('Title');",              // 6
                                 "  Hint := getstring(' It''s ');",               // 7
                                 "  Label1.Caption := Form1.GetString('Other');", // 8
                                 "  S := GetString(Name);",                       // 9
                                 "  T := Glossa.GetString('Qualified');",         // 10
                                 "  U := GetString('Tit' + 'le');",               // 11
                                 "  { GetString('InComment') }",                  // 12
                                 "  V := 'GetString(''InString'')';",             // 13
                                 "  W := GetString(SomeVeryLongVariableName);",   // 14
                                 "  X := GetString('Open",                        // 15
                                 "end;",                                          // 16
                                 "end.",                                          // 17
                                 "GetString('AfterTheEnd')"});                    // 18

struct TNames {
    TStringList List;
    explicit TNames(std::initializer_list<const char*> Names) {
        for (const char* Name : Names)
            List.Add(Name);
    }
};

TEST(GlossaParserPascal, ChecksEveryUnqualifiedCall) {
    TNames Names{"Title", "Unused", "Qualified"};
    TGlossaParser Parser("Glossa", &Names.List, PascalUnit);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(Located(Parser, Parser.UsedNames()),
              (std::vector<String>{"Title@6:24", "It's@7:21"}));
    EXPECT_EQ(Located(Parser, Parser.UndefinedNames()), (std::vector<String>{"It's@7:21"}));
    EXPECT_EQ(Located(Parser, Parser.InvalidCalls()),
              (std::vector<String>{"GetString(Name);@9:18", "GetString('Tit' + 'le');@11:18",
                                   "GetString(SomeVeryLongVar...@14:18", "GetString('Open@15:18"}));
    EXPECT_EQ(LinesOf(*Parser.UnusedNames()), (std::vector<String>{"Unused", "Qualified"}));
    EXPECT_EQ(Parser.UnusedNames()->Objects(0), nullptr);
}

TEST(GlossaParserPascal, QualifiedOnlyFindsTheNamedComponent) {
    TNames Names{"Title", "Qualified"};
    TGlossaParser Parser("glossa", &Names.List, PascalUnit);
    ASSERT_TRUE(Parser.Check(true));
    EXPECT_EQ(Located(Parser, Parser.UsedNames()), (std::vector<String>{"Qualified@10:25"}));
    EXPECT_TRUE(LinesOf(*Parser.UndefinedNames()).empty());
    EXPECT_TRUE(LinesOf(*Parser.InvalidCalls()).empty());
    EXPECT_EQ(LinesOf(*Parser.UnusedNames()), (std::vector<String>{"Title"}));

    TGlossaParser Form1("Form1", &Names.List, PascalUnit);
    ASSERT_TRUE(Form1.Check(true));
    EXPECT_EQ(Located(Form1, Form1.UndefinedNames()), (std::vector<String>{"Other@8:37"}));
}

TEST(GlossaParserPascal, ComparesNamesAsTheListDoes) {
    TNames Names{"TITLE", "it's"};
    TGlossaParser Parser(nullptr, &Names.List, PascalUnit);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_TRUE(LinesOf(*Parser.UndefinedNames()).empty());
    EXPECT_TRUE(LinesOf(*Parser.UnusedNames()).empty());
    Names.List.SetCaseSensitive(true);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(LinesOf(*Parser.UndefinedNames()), (std::vector<String>{"Title", "It's"}));
    // Used names are matched without regard to case.
    EXPECT_TRUE(LinesOf(*Parser.UnusedNames()).empty());
}

TEST(GlossaParserPascal, FailsWithoutTheFinalEnd) {
    TNames Names{"Title"};
    TGlossaParser Parser("Glossa", &Names.List, "unit A; begin X := GetString('Title'); end;");
    EXPECT_FALSE(Parser.Check(false));
    for (const TStringList* List :
         {Parser.UsedNames(), Parser.UnusedNames(), Parser.UndefinedNames(), Parser.InvalidCalls()})
        EXPECT_EQ(List->Count(), 0);
}

TEST(GlossaParserPascal, CheckingAgainStartsAfresh) {
    TNames Names{"A"};
    TGlossaParser Parser("Glossa", &Names.List, "begin GetString('B'); GetString(X) end.");
    ASSERT_TRUE(Parser.Check(false));
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(LinesOf(*Parser.UsedNames()), (std::vector<String>{"B"}));
    EXPECT_EQ(LinesOf(*Parser.InvalidCalls()), (std::vector<String>{"GetString(X) end...."}));
    EXPECT_EQ(LinesOf(*Parser.UnusedNames()), (std::vector<String>{"A"}));
}

TEST(GlossaParserPascal, CallsAtTheEdgesOfTheText) {
    const std::vector<TCallCase> Cases = {
        {"GetString end.", {}, {"GetString..."}},
        {"x.GetString end.", {}, {}},
        {"GetString('') end.", {""}, {}},
        {"GetString( 'A' ) end.", {"A"}, {}},
        {"end.", {}, {}},
    };
    ExpectCalls(Cases, ctPascal);
}

TEST(GlossaParserPascal, TheComponentOrItsNameNamesTheCalls) {
    TNames Names{};
    TGlossaParser Parser(nullptr, &Names.List, "begin Glossa.GetString('A') end.");
    ASSERT_TRUE(Parser.Check(true));
    EXPECT_EQ(Parser.UsedNames()->Count(), 0);
    EXPECT_EQ(Parser.ComponentName(), "");
}

TEST(GlossaParserPascal, ReportsTheParserClassForABadCodeType) {
    TGlossaParser Parser("Glossa", nullptr, "text", ctUnknown);
    test::ExpectError<Exception>([&] { Parser.Check(false); },
                                 "TGlossaParser.ParseLines: Invalid CodeType");
}

// --- C and C++ -------------------------------------------------------------------------

const String CppSource =
    Lines({"#include \"Form.h\"",                                                          // 1
           "String GetString(const String& Name) const;",                                  // 2
           "TGetString GetString;",                                                        // 3
           "void Show(TForm* Form) {",                                                     // 4
           "    Print(GetString(\"Title\"));",                                             // 5
           "    Print(GetString(u8\"Ti\" \"tle\"), GetString(L\"X\"));",                   // 6
           "    Print(GetString(R\"x(Raw)x\"), 1'000);",                                   // 7
           "    Print(GetString(\"Con\\",                                                  // 8
           "tinued\"));",                                                                  // 9
           "    Print(Glossa->GetString(\"Arrow\"), Glossa.GetString(\"Dot\"));",          // 10
           "    Print(Form->Glossa->GetString(\"Deep\"), Other->GetString(\"Foreign\"));", // 11
           "    Print(Messages::GetString(\"Scoped\"));",                                  // 12
           "    // GetString(\"InComment\") /* */",                                        // 13
           "    /* GetString(\"InBlock\") */ Print(\"GetString(\\\"InString\\\")\");",     // 14
           "    Print(R\"(GetString(\"InRaw\"))\");",                                      // 15
           "    Print(GetString(Name), GetString('T'), GetString(\"A\"_s));",              // 16
           "    Print(GetString(\"A\" + B), GetString(\"\\x41\"), getstring(\"lower\"));", // 17
           "    InitGlossa(Name, GetString);",                                             // 18
           "    return GetString(\"Returned\");",                                          // 19
           "}",                                                                            // 20
           "const char* Open = GetString(\"Unterminated"});                                // 21

TEST(GlossaParserCpp, FindsUnqualifiedCalls) {
    TNames Names{"Title", "X", "Raw", "Continued", "Scoped", "Returned", "Unused"};
    TGlossaParser Parser("Glossa", &Names.List, CppSource, ctCpp);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(Located(Parser, Parser.UsedNames()),
              (std::vector<String>{"Title@5:21", "Title@6:21", "X@6:46", "Raw@7:21",
                                   "Continued@8:21", "Scoped@12:31", "Returned@19:22"}));
    EXPECT_TRUE(LinesOf(*Parser.UndefinedNames()).empty());
    EXPECT_EQ(Located(Parser, Parser.InvalidCalls()),
              (std::vector<String>{
                  "GetString(Name), GetStrin...@16:21", "GetString('T'), GetString...@16:38",
                  "GetString(\"A\"_s));@16:54", "GetString(\"A\" + B), GetSt...@17:21",
                  "GetString(\"\\x41\"), getstr...@17:41", "GetString(\"Unterminated@21:30"}));
    EXPECT_EQ(LinesOf(*Parser.UnusedNames()), (std::vector<String>{"Unused"}));
}

TEST(GlossaParserCpp, QualifiedCallsGoThroughTheComponent) {
    TNames Names{"Arrow", "Dot"};
    TGlossaParser Parser("Glossa", &Names.List, CppSource, ctCpp);
    ASSERT_TRUE(Parser.Check(true));
    EXPECT_EQ(Located(Parser, Parser.UsedNames()),
              (std::vector<String>{"Arrow@10:29", "Dot@10:56", "Deep@11:35"}));
    EXPECT_EQ(Located(Parser, Parser.UndefinedNames()), (std::vector<String>{"Deep@11:35"}));
    EXPECT_TRUE(LinesOf(*Parser.InvalidCalls()).empty());
    EXPECT_TRUE(LinesOf(*Parser.UnusedNames()).empty());

    TGlossaParser Lower("glossa", &Names.List, CppSource, ctCpp);
    ASSERT_TRUE(Lower.Check(true));
    EXPECT_EQ(Lower.UsedNames()->Count(), 0); // C++ names keep their case
}

TEST(GlossaParserCpp, ArgumentsAndDeclarations) {
    const std::vector<TCallCase> Cases = {
        {"GetString(\" Padded \")", {"Padded"}, {}},
        {"GetString(\"Say \\\"hi\\\"\")", {"Say \"hi\""}, {}},
        {"GetString(LR\"--(A)--\" u\"B\" U\"C\")", {"ABC"}, {}},
        {"GetString(R\"(A)\" R \"B\")", {}, {"GetString(R\"(A)\" R \"B\")..."}},
        {"GetString()", {}, {"GetString()..."}},
        {"GetString(", {}, {"GetString(..."}},
        {"GetString", {}, {}},
        {"x = GetString (  \"A\"\n)", {"A"}, {}},
        {"auto GetString(int) -> String;", {}, {}},
        {"throw GetString(\"E\");", {"E"}, {}},
        {"a > GetString(\"G\")", {"G"}, {}},
        {"GetString(/* c */ \"A\" // d\n)", {"A"}, {}},
        {"GetString(\"A\" 'b')", {}, {"GetString(\"A\" 'b')..."}},
        {"c = '\"'; d = '\\''; GetString(\"A\")", {"A"}, {}},
        {String("GetString(\"A\")\0GetString(\"B\")", 29), {"A", "B"}, {}},
    };
    ExpectCalls(Cases, ctCpp);
}

TEST(GlossaParserCpp, CSourcesUseTheCRules) {
    TNames Names{"Title"};
    TGlossaParser Parser("Glossa", &Names.List,
                         "int f(void) { return GetString(\"Title\") + 1'0; }", ctC);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(LinesOf(*Parser.UsedNames()), (std::vector<String>{"Title"}));
    // In C the quote of 1'0 opens a literal.
    EXPECT_EQ(Parser.Blocks().Count(), 2);
}

TEST(GlossaParserCpp, EmptyTextHasNoCalls) {
    TNames Names{"A"};
    TGlossaParser Parser("Glossa", &Names.List, "", ctCpp);
    ASSERT_TRUE(Parser.Check(false));
    EXPECT_EQ(LinesOf(*Parser.UnusedNames()), (std::vector<String>{"A"}));
}

} // namespace
} // namespace orlo
