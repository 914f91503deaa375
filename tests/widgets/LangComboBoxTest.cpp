// The language combo box: linking to a TGlossa of its form, following and
// making language switches, relinking when the TGlossa goes, and AutoColor.

#include "runtime/LangComboBox.h"

#include "tests/classes/LinesOf.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orlo::test {
namespace {

// A form with a language combo box, shown; TGlossa components are added by the tests.
class LangComboBoxTest : public ::testing::Test {
protected:
    LangComboBoxTest() {
        Combo = new TLangComboBox(Form.get());
        Combo->SetParent(Form.get());
    }

    TGlossa* AddGlossa(TComponent* Owner, std::initializer_list<const char*> Languages) {
        auto* Glossa = new TGlossa(Owner);
        AddLanguages(Glossa, Languages);
        return Glossa;
    }

    std::vector<String> Items() const { return LinesOf(*Combo->Items()); }

    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TLangComboBox* Combo;
};

TEST_F(LangComboBoxTest, WithoutTGlossaTheBoxIsEmptyAndDisabled) {
    Form->Show();
    EXPECT_EQ(Combo->Link(), nullptr);
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(Combo->Enabled());
    EXPECT_EQ(Combo->Style(), csDropDownList);
}

TEST_F(LangComboBoxTest, ItLinksToTheFormsTGlossaOnceItHasAWindow) {
    TGlossa* Glossa = AddGlossa(Form.get(), {"English", "Deutsch", "Français"});
    EXPECT_EQ(Combo->Link(), nullptr) << "no window yet";
    Form->Show();
    EXPECT_EQ(Combo->Link(), Glossa);
    EXPECT_EQ(Items(), (std::vector<String>{"Deutsch", "English", "Français"}));
    EXPECT_EQ(Combo->Text(), "English");
    EXPECT_TRUE(Combo->Enabled());
}

TEST_F(LangComboBoxTest, PickingAnEntrySwitchesTheWholeFrame) {
    TGlossa* Glossa = AddGlossa(Form.get(), {"English", "Deutsch"});
    auto Second = std::make_unique<TForm>(nullptr);
    TGlossa* SecondGlossa = AddGlossa(Second.get(), {"English", "Deutsch"});
    Form->Show();
    Combo->UserSelect(0); // "Deutsch"
    EXPECT_EQ(Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(SecondGlossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Combo->Text(), "Deutsch");
    // A switch made elsewhere is followed.
    SecondGlossa->SetLanguage("english");
    EXPECT_EQ(Combo->Text(), "English");
    EXPECT_EQ(Combo->ItemIndex(), 1);
}

TEST_F(LangComboBoxTest, AGoingTGlossaIsReplacedByAnotherOfTheForm) {
    TGlossa* First = AddGlossa(Form.get(), {"English", "Deutsch"});
    TGlossa* Second = AddGlossa(Form.get(), {"English", "Nederlands"});
    Form->Show();
    TGlossa* Linked = Combo->Link();
    ASSERT_NE(Linked, nullptr);
    TGlossa* Remaining = Linked == First ? Second : First;
    delete Linked;
    EXPECT_EQ(Combo->Link(), Remaining);
    EXPECT_EQ(Items().size(), 2u);
    delete Remaining;
    EXPECT_EQ(Combo->Link(), nullptr);
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(Combo->Enabled());
}

TEST_F(LangComboBoxTest, AGivenTGlossaWinsAndCanBeChanged) {
    AddGlossa(Form.get(), {"English"});
    auto Other = std::make_unique<TForm>(nullptr);
    TGlossa* Chosen = AddGlossa(Other.get(), {"English", "Deutsch"});
    Combo->SetGlossa(Chosen);
    Form->Show();
    EXPECT_EQ(Combo->Link(), Chosen);
    EXPECT_EQ(Items().size(), 2u);
    Combo->SetGlossa(nullptr);
    EXPECT_EQ(Combo->Link(), nullptr);
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(Combo->Enabled());
    // The next window links it to the form's own TGlossa again.
    Combo->DestroyWnd();
    Combo->CreateWnd();
    ASSERT_NE(Combo->Link(), nullptr);
    EXPECT_EQ(Items(), std::vector<String>{"English"});
}

TEST_F(LangComboBoxTest, AWindowlessBoxHoldsNothingAndHearsNothing) {
    AddGlossa(Form.get(), {"English", "Deutsch"});
    Form->Show();
    ASSERT_NE(Combo->Link(), nullptr);
    Combo->DestroyWnd();
    EXPECT_EQ(Combo->Link(), nullptr);
    EXPECT_TRUE(Items().empty());
}

TEST_F(LangComboBoxTest, AutoColorSwitchesOnlyItsOwnTwoColours) {
    // A new box is disabled: it shows the button face until it is enabled.
    EXPECT_EQ(Combo->Color(), clBtnFace);
    Combo->SetEnabled(true);
    const TColor Own = Combo->Color();
    EXPECT_NE(Own, clBtnFace);
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), clBtnFace);
    Combo->SetEnabled(true);
    EXPECT_EQ(Combo->Color(), Own);
    Combo->SetColor(clYellow);
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), clYellow) << "a colour of the developer stays";
    Combo->SetAutoColor(false);
    Combo->SetColor(Own);
    Combo->SetEnabled(true);
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), Own);
}

TEST_F(LangComboBoxTest, AHandlerThatFreesTheFormWhileSwitching) {
    // A change listener of another form frees the combo box's form during the
    // switch the combo box started; nothing may touch the freed box.
    AddGlossa(Form.get(), {"English", "Deutsch"});
    auto Second = std::make_unique<TForm>(nullptr);
    TGlossa* SecondGlossa = AddGlossa(Second.get(), {"English", "Deutsch"});
    Form->Show();
    struct TFreer {
        std::unique_ptr<TForm>* Form;
        void Freed(TGlossa* Glossa) {
            if (Glossa)
                Form->reset();
        }
    } Freer{&Form};
    SecondGlossa->RegisterChangeNotify(TLangNotify::Make<&TFreer::Freed>(&Freer));
    Combo->UserSelect(0);
    EXPECT_EQ(Form, nullptr);
    EXPECT_EQ(SecondGlossa->GetLanguage(), "Deutsch");
    SecondGlossa->UnregisterChangeNotify(TLangNotify::Make<&TFreer::Freed>(&Freer));
}

} // namespace
} // namespace orlo::test
