// The package's message module: absent in a program, present in the design
// host with its string table in English and German, messages shown through
// the modal runner, the stored design-time language, help, and the question
// asked when a further TGlossa is dropped onto a form.

#include "design/GlossaReg.h"

#include "config/ConfigFile.h"
#include "platform/classes/AppHooks.h"
#include "platform/classes/Registry.h"
#include "platform/forms/ModalScript.h"
#include "runtime/Glossa.h"
#include "tests/os/TempFolder.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace orlo::test {
namespace {

// The process is the design host while it lives; the module made meanwhile
// goes with it, so every test starts from the registry it set up.
class TDesignHost {
public:
    TDesignHost() { SetRunningInDesigner(true); }
    ~TDesignHost() {
        GlossaModule()->Free();
        SetRunningInDesigner(false);
    }
    TDesignHost(const TDesignHost&) = delete;
    TDesignHost& operator=(const TDesignHost&) = delete;
};

// What a box showed, and a click on the button with that caption.
struct TShownBox {
    String Title;
    String Text;
    std::vector<String> Captions;
};

TShownBox Answer(TCustomForm* Form, const String& Caption, const String& Picture = String()) {
    auto* Box = dynamic_cast<TMyMsgForm*>(Form);
    TShownBox Shown;
    if (!Box) {
        ADD_FAILURE() << "not a message box";
        return Shown;
    }
    Shown.Title = Box->Caption();
    Shown.Text = Box->MsgLabel->Caption();
    if (!Picture.empty())
        Screenshot(Box, Picture);
    TExBitBtn* Button = nullptr;
    TButtonCollection* Items = Box->ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I) {
        if (!Items->Items(I)->GetBool(3))
            continue;
        Shown.Captions.push_back(Items->Items(I)->Caption());
        if (Items->Items(I)->Caption() == Caption)
            Button = Items->Items(I)->Button();
    }
    if (Button)
        Button->Click();
    else
        ADD_FAILURE() << "no button " << Caption;
    return Shown;
}

void StoreLanguage(const String& Language) {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(Reg.OpenKey("Software\\Orlo GbR\\Designers", true));
    Reg.WriteString("Global\\Glossa.Language", Language);
}

class GlossaRegTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Script.Pending(), 0); }

    TRegistrySandbox Registry;
    TModalScript Script;
};

TEST_F(GlossaRegTest, NoModuleInAProgramAndMessagesShowTheirNames) {
    EXPECT_FALSE(RunningInDesigner());
    EXPECT_EQ(GlossaModule(), nullptr);
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Box) { Shown = Answer(Box, "&OK"); });
    EXPECT_EQ(ServiceMessage("EReadError", mtError, {}), mrOk);
    EXPECT_EQ(Shown.Text, "EReadError");
}

TEST_F(GlossaRegTest, TheDesignHostHasOneModuleWithItsConfigurationAndComponent) {
    TDesignHost Host;
    TGlossaModule* Module = GlossaModule();
    ASSERT_NE(Module, nullptr);
    EXPECT_EQ(GlossaModule(), Module);
    EXPECT_EQ(Module->Owner(), Application);
    ASSERT_NE(Module->ConfigLang, nullptr);
    ASSERT_NE(Module->Glossa, nullptr);
    EXPECT_EQ(Module->Components(0), Module->ConfigLang);
    EXPECT_EQ(Module->Components(1), Module->Glossa);
    EXPECT_EQ(Module->Glossa->GetDomain(), PrivateGlossaDomain);
    TConfigFile* Config = Module->ConfigLang;
    EXPECT_EQ(Config->Mode(), cmRegistry);
    EXPECT_EQ(Config->RegistryRoot(), rkCurrentUser);
    EXPECT_EQ(Config->RegistryPath(), "Software\\Orlo GbR\\Designers");
    EXPECT_EQ(Config->Section(), "Global");
    EXPECT_FALSE(Config->ShowLoadError());
    EXPECT_FALSE(Config->ShowSaveError());
    ASSERT_EQ(Config->Entries()->Count(), 1);
    TStringList Paths;
    Config->Entries()->Items(0)->MoveSubItemsToStrings(mmNameOnly, &Paths);
    EXPECT_EQ(Config->Entries()->Items(0)->GetRef(), Module->Glossa);
    ASSERT_EQ(Paths.Count(), 1);
    EXPECT_EQ(Paths.Strings(0), "Language");
    TStringList Languages;
    Module->Glossa->GetLanguages(&Languages);
    EXPECT_EQ(Languages.Text(), "Deutsch\r\nEnglish\r\n");
}

// The string table in both languages; the names are those the callers use.
struct TTextCase {
    const char* Name;
    const char* English;
    const char* German;
};

TEST_F(GlossaRegTest, StringTableInEnglishAndGerman) {
    TDesignHost Host;
    TGlossaModule* Module = GlossaModule();
    ASSERT_NE(Module, nullptr);
    const TTextCase Cases[] = {
        {"ReallyAddFurtherComponent", "Do you really want to add a further Glossa component?",
         "Möchten Sie wirklich eine weitere Glossa-Komponente hinzufügen?"},
        {"About", "About", "Info..."},
        {"EditLanguages", "Edit Languages...", "Sprachen bearbeiten..."},
        {"ELangFileError ReadOnly Continue",
         "Language file (*.lng) is read only and cannot be changed. Continue?",
         "Die Sprachdatei kann nur lesend geöffnet werden. Änderungen können daher nicht "
         "berücksichtigt werden. Fortfahren?"},
        {"EReadError", "Error reading language file (*.lng)",
         "Fehler beim Lesen der Sprachinformationen (*.lng)."},
        {"Glossa Report", "Glossa - Overview", "Glossa - Überblick"},
        {"Multilingual Form Unit", "Multilingual Form/Unit...", "Mehrsprachige Formular/Unit..."},
    };
    for (const char* Language : {"English", "Deutsch"}) {
        Module->SetLanguage(Language);
        for (const TTextCase& Case : Cases)
            EXPECT_EQ(Module->GetString(Case.Name),
                      String(Language) == "English" ? Case.English : Case.German)
                << Case.Name;
    }
    EXPECT_THROW(Module->GetString("NoSuchText"), EStringNotFound);
}

TEST_F(GlossaRegTest, ServiceMessageInEnglishAndGerman) {
    TDesignHost Host;
    TGlossaModule* Module = GlossaModule();
    ASSERT_NE(Module, nullptr);
    const struct {
        const char* Language;
        const char* Text;
        const char* Title;
        std::vector<String> Captions;
        const char* Pick;
        Integer Result;
    } Cases[] = {
        {"English",
         "Do you really want to add a further Glossa component?",
         "Confirmation",
         {"&Yes", "&No"},
         "&No",
         mrNo},
        {"Deutsch",
         "Möchten Sie wirklich eine weitere Glossa-Komponente hinzufügen?",
         "Bestätigung",
         {"&Ja", "&Nein"},
         "&Ja",
         mrYes},
    };
    for (const auto& Case : Cases) {
        Module->SetLanguage(Case.Language);
        TShownBox Shown;
        Script.Answer([&](TCustomForm* Box) {
            Shown = Answer(Box, Case.Pick, String("service-message-") + Case.Language);
        });
        EXPECT_EQ(ServiceMessage("ReallyAddFurtherComponent", mtConfirmation, {mbYes, mbNo}),
                  Case.Result);
        EXPECT_EQ(Shown.Text, Case.Text);
        EXPECT_EQ(Shown.Title, Case.Title);
        EXPECT_EQ(Shown.Captions, Case.Captions);
    }
}

TEST_F(GlossaRegTest, TheModulesLanguageIsItsDomainsAndNotTheForms) {
    TLanguageFrameHost Forms("", "English");
    TDesignHost Host;
    TGlossaModule* Module = GlossaModule();
    ASSERT_NE(Module, nullptr);
    Integer Changes = 0;
    struct TListener {
        Integer* Count;
        TObject* Expected;
        void Changed(TObject* Sender) {
            EXPECT_EQ(Sender, Expected);
            ++*Count;
        }
    } Listener{&Changes, Module->Glossa};
    Module->SetLanguage("Deutsch");
    Module->SetOnChange(TNotifyEvent::Make<&TListener::Changed>(&Listener));
    Module->SetLanguage("English");
    Module->SetLanguage("Deutsch");
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Module->Glossa->GetLanguage(), "Deutsch");
    // Switching the developer's forms leaves the design tools alone.
    Forms.Glossa()->SetLanguage("English");
    Forms.Glossa()->SetLanguage("Français");
    EXPECT_EQ(Module->Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Changes, 2);
}

TEST_F(GlossaRegTest, TheStoredLanguageOverridesTheUsersLanguage) {
    for (const char* Stored : {"English", "Deutsch"}) {
        StoreLanguage(Stored);
        TDesignHost Host;
        ASSERT_NE(GlossaModule(), nullptr);
        EXPECT_EQ(GlossaModule()->Glossa->GetLanguage(), Stored);
    }
}

TEST_F(GlossaRegTest, GlossaHelpOpensTheApplicationsHelpAtTheContext) {
    ShowGlossaHelp(4000, 17);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].Command, HELP_CONTEXT);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 4000);
}

// --- A further TGlossa dropped onto a designed form -------------------------------------------

class FurtherGlossaTest : public GlossaRegTest {
protected:
    FurtherGlossaTest() {
        Form->SetDesigning(true);
        new TGlossa(Form.get()); // the first one asks nothing
    }
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
};

TEST_F(FurtherGlossaTest, AnsweredNoTheDropIsCancelledSilently) {
    TDesignHost Host;
    GlossaModule()->SetLanguage("English");
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Box) { Shown = Answer(Box, "&No"); });
    EXPECT_THROW(new TGlossa(Form.get()), EAbort);
    EXPECT_EQ(Shown.Text, "Do you really want to add a further Glossa component?");
    EXPECT_EQ(Form->ComponentCount(), 1);
}

TEST_F(FurtherGlossaTest, AnsweredYesTheComponentIsAdded) {
    TDesignHost Host;
    Script.Answer([&](TCustomForm* Box) { Answer(Box, "&Yes"); });
    GlossaModule()->SetLanguage("English");
    auto* Second = new TGlossa(Form.get());
    EXPECT_EQ(Form->ComponentCount(), 2);
    EXPECT_EQ(Second->Owner(), Form.get());
}

TEST_F(FurtherGlossaTest, NoQuestionWithoutTheModuleOrWhileTheFormIsRead) {
    new TGlossa(Form.get()); // not the design host: no module, no question
    EXPECT_EQ(Form->ComponentCount(), 2);
    TDesignHost Host;
    Form->IncludeState(csLoading);
    new TGlossa(Form.get());
    Form->ExcludeState(csLoading);
    EXPECT_EQ(Form->ComponentCount(), 3);
    EXPECT_TRUE(Script.Shown().empty());
}

} // namespace
} // namespace orlo::test
