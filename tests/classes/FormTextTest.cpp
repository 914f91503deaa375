#include "platform/classes/FormText.h"
#include "platform/rtl/SysUtils.h"
#include "tests/classes/StreamTestForms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace orlo::test {
namespace {

String DataFile(const char* Name) {
    std::ifstream In(String(ORLO_SOURCE_DIR) + "/tests/data/" + Name, std::ios::binary);
    return String(std::istreambuf_iterator<char>(In), {});
}

String Wrap(const String& Property) {
    return "object Form1: TTestForm\n  " + Property + "\nend\n";
}

// The fixture holds every property kind, a long string, non-ASCII text,
// control characters, a set, a collection with an item order, a string list,
// an event, a reference, a binary property and child components.
TEST(FormText, FixtureRoundTripsByteExactly) {
    String Text = DataFile("roundtrip.dfm");
    String Binary = DataFile("roundtrip.bin");
    ASSERT_FALSE(Text.empty());
    ASSERT_FALSE(Binary.empty());
    EXPECT_EQ(BinaryOf(Text), Binary);
    EXPECT_EQ(TextOf(Binary), Text);
    EXPECT_EQ(BinaryOf(TextOf(Binary)), Binary);
}

TEST(FormText, FixtureReadsIntoComponentsAndWritesBackTheSameBytes) {
    RegisterStreamTestClasses();
    // The component writer gives collection items no order.
    String Text = StringReplace(DataFile("roundtrip.dfm"), "item [1]", "item", TReplaceFlags());
    TStringStream In(BinaryOf(Text));
    std::unique_ptr<TComponent> Form(In.ReadComponent(nullptr));
    TStringStream Out;
    Out.WriteComponent(Form.get());
    EXPECT_EQ(TextOf(Out.DataString()), Text);
}

// Each value is written in its canonical text form and reads back the same.
TEST(FormText, ValueTexts) {
    const char* Cases[] = {
        "Tag = -70000",
        "Tag = 9223372036854775807",
        "Ratio = -1.5",
        "Ratio = 2.0",
        "Ratio = 1E20",
        "Ratio = 1.25E-7",
        "Ratio = -0.0",
        "Ratio = NAN",
        "Ratio = -INF",
        "Scale = 0.1s",
        "Scale = INFs",
        "Amount = -922337203685477.5808c",
        "Amount = 0c",
        "Stamp = 45000.5d",
        "Caption = ''",
        "Caption = 'It''s'#9'done'",
        "Caption = #13#10",
        "Caption = 'ä – 日本'",
        "Align = alClient",
        "Ref = Form2.Label1",
        "Styles = []",
        "Styles = [fsBold, fsUnderline]",
        "Enabled = False",
        "Data = Null",
        "Data = nil",
        "Lines.Strings = ()",
        "Lines.Strings = (\n    'a'\n    (\n      1\n      2))",
        "Items = <>",
        "Items = <\n    item [3]\n      Caption = 'x'\n    end\n    item\n    end>",
        "Values = {}",
        "Values = {\n    00FF}",
    };
    for (const char* Case : Cases) {
        String Text = Wrap(Case);
        EXPECT_EQ(TextOf(BinaryOf(Text)), Text);
    }
}

TEST(FormText, ReadingAcceptsOtherSpellings) {
    struct Case {
        const char* Given;
        const char* Canonical;
    } Cases[] = {
        {"Tag = $FF", "Tag = 255"},
        {"Caption = #228#$41", "Caption = 'äA'"},
        {"Caption = 'a' + 'b'\n    + #9", "Caption = 'ab'#9"},
        {"Ratio = 1.5e+3", "Ratio = 1500.0"},
        {"Ratio = 3.", "Ratio = 3.0"},
        {"Scale = 1S", "Scale = 1.0s"},
        {"Enabled = TRUE", "Enabled = True"},
        {"Styles = [ fsBold ,fsItalic ]", "Styles = [fsBold, fsItalic]"},
        {"Values = {\n 0a 0B\n }", "Values = {\n    0A0B}"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(TextOf(BinaryOf(Wrap(C.Given))), Wrap(C.Canonical)) << C.Given;
    EXPECT_EQ(TextOf(BinaryOf("\r\n  object TTestForm\r\n  end\r\n")), "object TTestForm\nend\n");
}

TEST(FormText, LongStringsAreSplitOnCharacterBoundaries) {
    String Long;
    for (Integer I = 0; I < 40; ++I)
        Long += "äöü'";
    String Text = TextOf(BinaryOf(Wrap("Caption = " + QuotedStr(Long))));
    EXPECT_THAT(Text, ::testing::HasSubstr(" +\n    '"));
    EXPECT_EQ(TextOf(BinaryOf(Text)), Text);
    TStringStream In(BinaryOf(Text));
    TReader Reader(&In);
    Reader.ReadSignature();
    TFilerFlags Flags;
    Integer Pos;
    Reader.ReadPrefix(Flags, Pos);
    Reader.ReadStr();
    Reader.ReadStr();
    EXPECT_EQ(Reader.ReadStr(), "Caption");
    EXPECT_EQ(Reader.ReadString(), Long);
}

TEST(FormText, HeadersWithFlagsAndChildPositions) {
    String Text = "inherited Form1: TTestForm\n"
                  "  inline Frame1: TFrame\n"
                  "  end\n"
                  "  object Box: TTestBox [2]\n"
                  "  end\n"
                  "  object TTestLabel\n"
                  "  end\n"
                  "end\n";
    String Binary = BinaryOf(Text);
    EXPECT_EQ(Binary.substr(0, 5), String("TPF0\xF1", 5));
    EXPECT_NE(Binary.find(String("\xF2\x02\x02\x08TTestBox", 12)), String::npos);
    EXPECT_EQ(TextOf(Binary), Text);
}

TEST(FormText, ParserErrorsNameLineAndColumn) {
    struct Case {
        const char* Text;
        const char* Message;
    } Cases[] = {
        {"objekt Form1: TForm\nend\n", "Line 1: 'object' expected (column 1)"},
        {"object Form1: TForm\n  Caption = 'open\nend\n",
         "Line 2: Unterminated string (column 13)"},
        {"object Form1: TForm\n  Tag 1\nend\n", "Line 2: '=' expected (column 7)"},
        {"object Form1: TForm\n  Tag = 99999999999999999999\nend\n",
         "Line 2: Invalid integer 99999999999999999999 (column 9)"},
        {"object Form1: TForm\n  S = [a b]\nend\n", "Line 2: ',' or ']' expected (column 10)"},
        {"object Form1: TForm\n  V = {0A1}\nend\n", "Line 2: Invalid binary value (column 7)"},
        {"object Form1: TForm\n  V = {0G}\nend\n", "Line 2: Invalid binary value (column 7)"},
        {"object Form1: TForm\n  C = 'a' +\nend\n", "Line 3: String expected (column 1)"},
        {"object Form1: TForm\n  C = #1114112\nend\n", "Line 2: Invalid character code (column 7)"},
        {"object Form1: TForm\n  C = #55296\nend\n", "Line 2: Invalid character code (column 7)"},
        {"object Form1: TForm\n  I = <\n    thing\n  end>\nend\n",
         "Line 3: 'item' expected (column 5)"},
        {"object Form1: TForm\n  X = ?\nend\n", "Line 2: Invalid character '?' (column 7)"},
        {"object Form1: TForm\n  X\x01 = 1\nend\n", "Line 2: Invalid character #1 (column 4)"},
        {"object Form1: TForm\n  X = 1.5x\nend\n", "Line 2: Number expected (column 7)"},
        {"object Form1: TForm\n  X = 1\n", "Line 3: Identifier expected (column 1)"},
        {"object Form1: TForm\nend\nend\n", "Line 3: End of file expected (column 1)"},
        {"object Form1: TForm [x]\nend\n", "Line 1: Integer expected (column 22)"},
        {"object Form1: TForm\n  Amount = 1E30c\nend\n",
         "Line 2: Invalid currency value 1E30 (column 12)"},
    };
    for (const Case& C : Cases) {
        try {
            BinaryOf(C.Text);
            ADD_FAILURE() << "accepted: " << C.Text;
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message(), C.Message) << C.Text;
        }
    }
}

TEST(FormText, BinaryErrors) {
    struct Case {
        String Binary;
        const char* Message;
    } Cases[] = {
        {"TPF1", "Invalid stream format"},
        {String("TPF0\x05TC mp\x00\x00\x00", 10), "Invalid name in stream: 'TC mp'"},
        {String("TPF0\x05TComp\x00\x01X\x07\x02"
                "a\n\x00\x00",
                19),
         "Invalid name in stream: 'a\n'"},
        {"TPF0\x05TComp\x01", "Stream read error"},
        {String("TPF0\x05TComp\x00\x01X\x40", 14), "Invalid value code 64"},
        {String("TPF0\x05TComp\x00\x01X\x0C\xFF\xFF\xFF\x7F", 18), "Stream read error"},
        {String("TPF0\x05TComp\x00\x01X\x0C\xFF\xFF\xFF\xFF", 18), "Invalid property value"},
    };
    for (const Case& C : Cases) {
        try {
            TextOf(C.Binary);
            ADD_FAILURE() << "accepted";
        } catch (const EReadError& E) {
            EXPECT_EQ(E.Message(), C.Message);
        }
    }
}

TEST(FormText, Detection) {
    struct Case {
        String Head;
        bool Binary;
        bool Text;
    } Cases[] = {
        {"TPF0\x05TComp", true, false},
        {"object Form1: TForm1\n", false, true},
        {"  \r\nINHERITED Form1: TForm1\n", false, true},
        {"inline Frame1: TFrame1\n", false, true},
        {"objects", false, false},
        {"", false, false},
    };
    for (const Case& C : Cases) {
        TStringStream S(C.Head);
        EXPECT_EQ(IsBinaryForm(&S), C.Binary) << C.Head;
        EXPECT_EQ(IsTextForm(&S), C.Text) << C.Head;
        EXPECT_EQ(S.Position(), 0);
    }
}

} // namespace
} // namespace orlo::test
