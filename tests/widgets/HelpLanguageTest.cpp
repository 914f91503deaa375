// Help in the application's language: the help file named by a translated
// string follows a language switch, and a message box's Help button shows
// the page of that language.

#include "widgets/MsgBox.h"

#include "tests/forms/HelpFolder.h"
#include "tests/os/EnvironmentScope.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace orlo::test {
namespace {

constexpr const char* HelpDomain = "Help tests";

// A main form whose TGlossa names the help file in each language and sets it
// on every language change, as an application does.
class THelpedForm {
public:
    explicit THelpedForm(const THelpFolder& Folder) : Glossa(new TGlossa(&Form)) {
        Glossa->SetDomain(HelpDomain);
        AddLanguages(Glossa, {"English", "Deutsch"});
        TConsistentLangPropertyEntry* HelpFile = Glossa->LanguageManager()->AddString("_HelpFile");
        HelpFile->SetLangValue(0, Variant(Folder.File("Notes.hlp")));
        HelpFile->SetLangValue(1, Variant(Folder.File("NotesGer.hlp")));
        Glossa->OnChange = TNotifyEvent::Make<&THelpedForm::GlossaChange>(this);
    }
    ~THelpedForm() { Glossa->SetLanguage("English"); } // the next frames start in English

    void GlossaChange(TObject*) { Application->HelpFile = Glossa->GetString("_HelpFile"); }

    TForm Form{nullptr};
    TGlossa* Glossa;
};

class HelpLanguageTest : public ::testing::Test {
protected:
    HelpLanguageTest() { Application->Initialize(); }

    TEnvironmentScope English{{"ORLO_LANG", "en"}};
    THelpFolder Folder;
    THelpedForm Main{Folder};
};

TEST_F(HelpLanguageTest, TheHelpFileFollowsTheLanguage) {
    Main.Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(Application->HelpFile, Folder.File("NotesGer.hlp"));
    ASSERT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(THelpFolder::Shown(), Folder.File("de/editor.html"));
    EXPECT_EQ(HelpWindow()->Caption(), "Notizen-Hilfe");

    Main.Glossa->SetLanguage("English");
    ASSERT_TRUE(Application->HelpContext(100));
    EXPECT_EQ(THelpFolder::Shown(), Folder.File("en/editor.html"));
}

TEST_F(HelpLanguageTest, AMessageBoxsHelpButtonShowsThePageAndTheBoxStays) {
    Main.Glossa->SetLanguage("Deutsch");
    TModalScript Script;
    Script.ShowHelp();
    Script.Answer([this](TCustomForm* Form) {
        auto* Box = dynamic_cast<TMyMsgForm*>(Form);
        ASSERT_NE(Box, nullptr);
        TControl* Help = nullptr;
        TButtonCollection* Items = Box->ButtonPanel->Buttons();
        for (Integer I = 0; I < Items->Count(); ++I)
            if (Items->Items(I)->Caption() == "&Hilfe")
                Help = Items->Items(I)->Button();
        ASSERT_NE(Help, nullptr);
        Help->Click();
        EXPECT_EQ(Box->ModalResult(), mrNone) << "help closed the box";
        EXPECT_EQ(THelpFolder::Shown(), Folder.File("de/editor.html") + "#keys");
        Box->PressKey(VK_RETURN);
    });
    EXPECT_EQ(MsgEx("Siehe Hilfe.", "", mtInformation, {mbOK, mbHelp}, 200, HelpDomain), mrOk);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].HelpFile, Folder.File("NotesGer.hlp"));
    EXPECT_TRUE(HelpWindow()->Visible()) << "the help went with the box";
}

} // namespace
} // namespace orlo::test
