// The history combo box: the history text, accepting texts by leaving the
// control, by Enter and by picking an entry, the limit of the list, and
// OnValidate/OnChange.

#include "widgets/MRUComboBox.h"

#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "tests/classes/LinesOf.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orlo::test {
namespace {

class MRUComboBoxTest : public ::testing::Test {
protected:
    MRUComboBoxTest() {
        Form->SetBounds(0, 0, 400, 200);
        Box = new TMRUComboBox(Form.get());
        Box->SetParent(Form.get());
        Other = new TEdit(Form.get());
        Other->SetParent(Form.get());
        Other->SetTop(100);
        Box->OnChange = TNotifyEvent::Make<&MRUComboBoxTest::Changed>(this);
        Form->Show();
    }

    void Changed(TObject*) { ++Changes; }

    // What a user does: focuses the box, types Text, then leaves or presses Enter.
    void Type(const String& Text) {
        Box->ComboBox()->SetFocus();
        Box->ComboBox()->UserType(Text);
    }
    void TypeAndLeave(const String& Text) {
        Type(Text);
        Other->SetFocus();
    }
    void TypeAndEnter(const String& Text) {
        Type(Text);
        Form->PressKey(VK_RETURN);
    }
    std::vector<String> Entries() const { return LinesOf(*Box->HistoryList()); }

    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TMRUComboBox* Box;
    TEdit* Other;
    Integer Changes = 0;
};

TEST_F(MRUComboBoxTest, HistoryTextGivesEntriesAndShowsTheFirst) {
    Box->SetHistory("C:\\A;C:\\B;C:\\C");
    EXPECT_EQ(Entries(), (std::vector<String>{"C:\\A", "C:\\B", "C:\\C"}));
    EXPECT_EQ(Box->ComboBox()->Text(), "C:\\A");
    EXPECT_EQ(Box->ComboBox()->ItemIndex(), 0);
    EXPECT_EQ(Box->AcceptedText(), "C:\\A");
    EXPECT_EQ(Box->History(), "C:\\A;C:\\B;C:\\C;");
    EXPECT_TRUE(Box->HistoryChanged());
}

TEST_F(MRUComboBoxTest, EnteringAKnownTextMovesItToTheTop) {
    Box->SetHistory("C:\\A;C:\\B;C:\\C");
    Changes = 0;
    TypeAndLeave("  c:\\b ");
    EXPECT_EQ(Entries(), (std::vector<String>{"c:\\b", "C:\\A", "C:\\C"}));
    EXPECT_EQ(Box->AcceptedText(), "c:\\b");
    EXPECT_EQ(Changes, 1);
    // The same text in other letters is accepted without OnChange.
    TypeAndLeave("C:\\B");
    EXPECT_EQ(Entries(), (std::vector<String>{"C:\\B", "C:\\A", "C:\\C"}));
    EXPECT_EQ(Changes, 1);
}

TEST_F(MRUComboBoxTest, ANewTextBeyondTheLimitDropsTheOldest) {
    Box->SetDropDownCount(2);
    Box->SetHistoryListCount(3);
    Box->SetHistory("one;two;three");
    TypeAndEnter("four");
    EXPECT_EQ(Entries(), (std::vector<String>{"four", "one", "two"}));
}

TEST_F(MRUComboBoxTest, TheLimitIsNeverBelowTheDropDownCount) {
    Box->SetDropDownCount(5);
    Box->SetHistoryListCount(2);
    EXPECT_EQ(Box->HistoryListCount(), 5);
}

TEST_F(MRUComboBoxTest, EmptyTextReturnsToThePreviousOnLeaving) {
    Box->SetHistory("first;second");
    TypeAndLeave("   ");
    EXPECT_EQ(Box->ComboBox()->Text(), "first");
    EXPECT_EQ(Box->AcceptedText(), "first");
    EXPECT_EQ(Entries(), (std::vector<String>{"first", "second"}));
}

TEST_F(MRUComboBoxTest, EmptyTextStaysAfterEnterWithTheCaretAtItsEnd) {
    Box->SetHistory("first;second");
    TypeAndEnter("");
    EXPECT_EQ(Box->ComboBox()->Text(), "");
    EXPECT_EQ(Box->ComboBox()->SelStart(), 0);
    EXPECT_EQ(Box->ComboBox()->SelLength(), 0);
    EXPECT_EQ(Box->AcceptedText(), "first");
}

TEST_F(MRUComboBoxTest, OnValidateMayCorrectOrRefuse) {
    struct TValidator {
        void Validate(TObject*, String& Text, bool& Valid) {
            if (Text == "refuse")
                Valid = false;
            else if (Text.empty())
                Valid = true; // an empty text is allowed here
            else
                Text = "  " + UpperCase(Text) + " ";
        }
    } Validator;
    Box->OnValidate = TOnValidate::Make<&TValidator::Validate>(&Validator);
    Box->SetHistory("start");
    TypeAndLeave("next");
    EXPECT_EQ(Box->AcceptedText(), "NEXT");
    TypeAndLeave("refuse");
    EXPECT_EQ(Box->AcceptedText(), "NEXT");
    EXPECT_EQ(Box->ComboBox()->Text(), "NEXT");
    TypeAndEnter("refuse");
    EXPECT_EQ(Box->ComboBox()->Text(), "refuse");
    EXPECT_EQ(Box->ComboBox()->SelStart(), 6);
    TypeAndLeave("");
    EXPECT_EQ(Box->AcceptedText(), "");
}

TEST_F(MRUComboBoxTest, PickingAnEntryAcceptsIt) {
    Box->SetHistory("a;b;c");
    Changes = 0;
    Box->ComboBox()->SetFocus();
    Box->ComboBox()->UserSelect(2);
    EXPECT_EQ(Box->AcceptedText(), "c");
    EXPECT_EQ(Entries(), (std::vector<String>{"c", "a", "b"}));
    EXPECT_EQ(Changes, 1);
}

TEST_F(MRUComboBoxTest, ValidateClosesTheListAndAccepts) {
    Box->ComboBox()->SetDroppedDown(true);
    Box->ComboBox()->SetText("typed");
    EXPECT_TRUE(Box->Validate());
    EXPECT_FALSE(Box->ComboBox()->DroppedDown());
    EXPECT_EQ(Box->AcceptedText(), "typed");
    Box->ComboBox()->SetText("");
    EXPECT_FALSE(Box->Validate());
}

TEST_F(MRUComboBoxTest, ButtonTakesItsPlaceOnlyWhenVisible) {
    Box->SetBounds(0, 0, 200, 24);
    Box->SetButtonVisible(true);
    EXPECT_EQ(Box->ComboBox()->Width(), 176);
    EXPECT_EQ(Box->Button()->Left(), 176);
    Box->SetButtonVisible(false);
    EXPECT_EQ(Box->ComboBox()->Width(), 200);
}

TEST(MRUComboBoxStreamTest, HistoryStreamsAsOneProperty) {
    auto Form = std::make_unique<TForm>(nullptr);
    auto* Box = new TMRUComboBox(Form.get());
    Box->SetParent(Form.get());
    Box->SetName("Folder");
    Box->SetHistory("x;y");
    TMemoryStream Stream;
    Stream.WriteComponent(Form.get());
    Stream.SetPosition(0);
    auto Copy = std::make_unique<TForm>(nullptr);
    Stream.ReadComponent(Copy.get());
    auto* Read = dynamic_cast<TMRUComboBox*>(Copy->FindComponent("Folder"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(LinesOf(*Read->HistoryList()), (std::vector<String>{"x", "y"}));
    EXPECT_EQ(Read->AcceptedText(), "x");
}

} // namespace
} // namespace orlo::test
