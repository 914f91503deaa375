// The string-list component: its text joined and split at the separator, and
// its place in a form file.

#include "widgets/StrList.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypInfo.h"
#include "tests/classes/LinesOf.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orlo::test {
namespace {

TEST(StrListTest, TextJoinsAndSplitsAtTheSeparator) {
    struct Case {
        const char* Separator;
        const char* Text;
        std::vector<String> Items;
    };
    const std::vector<Case> Cases = {
        {";", "English;Deutsch;Français", {"English", "Deutsch", "Français"}},
        {";", "", {}},
        {";", "one", {"one"}},
        {";", ";a;", {"", "a", ""}},
        {";", "a;;b", {"a", "", "b"}},
        {", ", "x, y,z", {"x", "y,z"}},
        {"", "a;b", {"a;b"}},
    };
    TStrList List(nullptr);
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Text);
        List.SetSeparator(C.Separator);
        List.SetText(C.Text);
        EXPECT_EQ(LinesOf(*List.Strings()), C.Items);
        EXPECT_EQ(List.Text(), C.Text);
    }
}

TEST(StrListTest, TextIsAPropertyForSettingsButNotStoredTwice) {
    Application->Initialize();
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetName("Form1");
    auto* Names = new TStrList(Form.get());
    Names->SetName("StrListNames");
    Names->SetText("English;Deutsch");
    auto* Hints = new TStrList(Form.get());
    Hints->SetName("StrListHints");
    Hints->SetSeparator("|");
    Hints->SetText("a|b;c");
    // Settings read and write it by name, like any published property.
    EXPECT_EQ(GetStrProp(Names, GetPropInfo(Names, "Text")), "English;Deutsch");
    SetStrProp(Names, GetPropInfo(Names, "Text"), "English;Deutsch;Dansk");
    EXPECT_EQ(Names->Count(), 3);
    const String Text = FormText(Form.get());
    EXPECT_EQ(Text.find("Text ="), String::npos) << Text;
    EXPECT_EQ(Text.find("Separator = ';'"), String::npos) << Text;
    EXPECT_NE(Text.find("Separator = '|'"), String::npos) << Text;
    TMemoryStream Binary;
    Binary.WriteComponent(Form.get());
    Binary.SetPosition(0);
    auto Copy = std::make_unique<TForm>(nullptr);
    Binary.ReadComponent(Copy.get());
    auto* Read = dynamic_cast<TStrList*>(Copy->FindComponent("StrListNames"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->Text(), "English;Deutsch;Dansk");
    auto* ReadHints = dynamic_cast<TStrList*>(Copy->FindComponent("StrListHints"));
    ASSERT_NE(ReadHints, nullptr);
    EXPECT_EQ(LinesOf(*ReadHints->Strings()), (std::vector<String>{"a", "b;c"}));
    EXPECT_EQ(FormText(Copy.get()), Text);
}

} // namespace
} // namespace orlo::test
