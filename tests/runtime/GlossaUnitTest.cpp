// The unit's routines: the start-up language and multilingual units without a
// form (InitGlossa). What depends on the process's first frame runs in a fresh
// process of this program: the parent test starts it with the test of the
// same name in GlossaFreshProcess, which is disabled in ordinary runs.

#include "runtime/Glossa.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/FreshProcess.h"
#include "tests/rtl/ExpectError.h"
#include "tests/runtime/GlossaTestForms.h"

#include <gtest/gtest.h>

#include <vector>

namespace orlo {
namespace {

using test::ExpectError;
using test::LoadTranslatedForm;
using test::TMainForm;
using test::TOptionsForm;
using test::UnitStringsResName;

// --- Running a test in a fresh process -------------------------------------------

// Runs GlossaFreshProcess.DISABLED_<Name> in a new process of this program
// without the locale variables and with the extra environment entries.
::testing::AssertionResult RunInFreshProcess(const String& Name, const std::vector<String>& Env) {
    test::TFreshProcess Child(
        "GlossaFreshProcess.DISABLED_" + Name,
        test::ChildEnvironment(Env, {"ORLO_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}));
    return Child.Passed();
}

struct TFreshCase {
    const char* Name;
    std::vector<String> Env;
};

void PrintTo(const TFreshCase& Case, std::ostream* Out) {
    *Out << Case.Name;
}

class GlossaInFreshProcess : public ::testing::TestWithParam<TFreshCase> {};

TEST_P(GlossaInFreshProcess, Passes) {
    EXPECT_TRUE(RunInFreshProcess(GetParam().Name, GetParam().Env));
}

INSTANTIATE_TEST_SUITE_P(
    Glossa, GlossaInFreshProcess,
    ::testing::Values(TFreshCase{"UserLanguageStartsTheFirstFrame", {"ORLO_LANG=de_DE.UTF-8"}},
                      TFreshCase{"DefineStartupLanguageBeforeTheFirstForm", {"LANG=de_DE.UTF-8"}},
                      TFreshCase{"WithoutAUserLanguageTheFirstFormGivesItsOwn", {"ORLO_LANG=xx"}},
                      TFreshCase{"InitGlossaFollowsTheFrame", {"ORLO_LANG=en"}}),
    [](const auto& Info) { return String(Info.param.Name); });

// --- In the fresh processes ---------------------------------------------------------

TEST(GlossaFreshProcess, DISABLED_UserLanguageStartsTheFirstFrame) {
    EXPECT_EQ(GetCurrentUserLanguage(), "German");
    EXPECT_EQ(GlossaNoDomainFrames()->LastLanguage(), "German");
    // Stored in English; "German" is the English name of "Deutsch".
    auto Main = LoadTranslatedForm<TMainForm>();
    EXPECT_EQ(Main->Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Main->Caption(), "Hauptfenster");
}

TEST(GlossaFreshProcess, DISABLED_DefineStartupLanguageBeforeTheFirstForm) {
    TExceptionRecorder Shown;
    DefineStartupLanguage("  ");
    DefineStartupLanguage(" Français ");
    auto Main = LoadTranslatedForm<TMainForm>();
    EXPECT_EQ(Main->Glossa->GetLanguage(), "Français");
    // Too late now: the first frame exists.
    DefineStartupLanguage("English");
    EXPECT_EQ(GlossaNoDomainFrames()->LastLanguage(), "Français");
    // The options form has no French: it keeps what it was stored with.
    auto Options = LoadTranslatedForm<TOptionsForm>();
    EXPECT_EQ(Options->Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Options->Caption(), "Einstellungen");
    Main.reset();
    Options.reset();
    DefineStartupLanguage("English");
    EXPECT_EQ(LoadTranslatedForm<TMainForm>()->Glossa->GetLanguage(), "Français");
    EXPECT_TRUE(Shown.Entries().empty());
}

TEST(GlossaFreshProcess, DISABLED_WithoutAUserLanguageTheFirstFormGivesItsOwn) {
    EXPECT_EQ(GetCurrentUserLanguage(), "");
    EXPECT_EQ(GlossaNoDomainFrames()->LastLanguage(), "");
    auto Options = LoadTranslatedForm<TOptionsForm>();
    EXPECT_EQ(Options->Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(GlossaNoDomainFrames()->Items(0)->Language(), "Deutsch");
    // Giving the frame its language runs the form's own events once, after it.
    EXPECT_EQ(test::GlossaEventLog(), (std::vector<String>{"OptionsForm:before:Ü&bernehmen",
                                                           "OptionsForm:change:Ü&bernehmen",
                                                           "OptionsForm:after:Ü&bernehmen"}));
    auto Main = LoadTranslatedForm<TMainForm>();
    EXPECT_EQ(Main->Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(Main->Caption(), "Hauptfenster");
}

std::vector<String> UnitLanguages;

void UnitLanguageChange(const String& Language) {
    UnitLanguages.push_back(Language);
}

TEST(GlossaFreshProcess, DISABLED_InitGlossaFollowsTheFrame) {
    TExceptionRecorder Shown;
    auto Main = LoadTranslatedForm<TMainForm>();
    ASSERT_EQ(Main->Glossa->GetLanguage(), "English");
    TGetString GetString;
    InitGlossa(UnitStringsResName, &UnitLanguageChange, GetString);
    ASSERT_TRUE(GetString);
    EXPECT_EQ(UnitLanguages, std::vector<String>{"English"});
    EXPECT_EQ(GetString("Greeting"), "Good morning");
    EXPECT_EQ(GetString(" FAREWELL "), "Goodbye");

    struct TCase {
        const char* Language;
        const char* Greeting;
    };
    const TCase Cases[] = {
        {"Deutsch", "Guten Morgen"}, {"Français", "Bonjour"}, {"english", "Good morning"}};
    for (const TCase& Case : Cases) {
        UnitLanguages.clear();
        Main->Glossa->SetLanguage(Case.Language);
        EXPECT_EQ(GetString("Greeting"), Case.Greeting) << Case.Language;
        ASSERT_EQ(UnitLanguages.size(), 1u) << Case.Language;
    }
    EXPECT_EQ(UnitLanguages.back(), "English");
    ExpectError<EStringNotFound>([&] { GetString("Missing"); },
                                 "Character string identifier not found: Missing");
    // The unit stays in the frame when every form is closed; the next form
    // takes the frame's language.
    Main->Glossa->SetLanguage("Deutsch");
    Main.reset();
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 1);
    EXPECT_EQ(LoadTranslatedForm<TOptionsForm>()->Caption(), "Einstellungen");
    EXPECT_TRUE(Shown.Entries().empty());
}

// --- InitGlossa's resource ------------------------------------------------------------

// The registered resource is the component stream of the language side file.
TEST(InitGlossa, TheLinkedResourceIsTheSideFilesComponent) {
    TResourceFile File;
    File.LoadFromFile(String(ORLO_SOURCE_DIR) + "/tests/data/glossa/UnitStrings.lng");
    const TResourceEntry* Stored = File.FindRCData(UnitStringsResName);
    ASSERT_NE(Stored, nullptr);
    const TComponentResource* Linked = FindComponentResource(UnitStringsResName);
    ASSERT_NE(Linked, nullptr);
    EXPECT_EQ(std::vector<Byte>(Linked->Data, Linked->Data + Linked->Size), Stored->Data);
}

// A missing, damaged or foreign resource raises and leaves nothing behind.
TEST(InitGlossa, BadResourcesLeaveNoComponent) {
    const TComponentResource* Good = FindComponentResource(UnitStringsResName);
    ASSERT_NE(Good, nullptr);
    const std::vector<Byte> Truncated(Good->Data, Good->Data + Good->Size / 2);
    RegisterComponentResource("TruncatedUnit", Truncated.data(), Truncated.size());

    struct TCase {
        const char* ResName;
        const char* Message; // what follows "InitGlossa failed. "; "" to check the prefix only
    };
    const TCase Cases[] = {
        {"{00000000-0000-0000-0000-000000000000}",
         "Resource {00000000-0000-0000-0000-000000000000} not found"},
        {"TruncatedUnit", ""},
        {"TMainForm", ""}, // a form's stream is no language component's
    };
    TExceptionRecorder Shown;
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.ResName);
        const Integer Frames = GlossaNoDomainFrames()->Count();
        TGetString GetString;
        try {
            InitGlossa(Case.ResName, &UnitLanguageChange, GetString);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& Error) {
            const String Prefix = "InitGlossa failed. ";
            EXPECT_EQ(Error.Message().substr(0, Prefix.size()), Prefix) << Error.Message();
            if (*Case.Message) {
                EXPECT_EQ(Error.Message(), Prefix + Case.Message);
            }
        }
        EXPECT_FALSE(GetString);
        EXPECT_EQ(GlossaNoDomainFrames()->Count(), Frames);
    }
    UnregisterComponentResource("TruncatedUnit", Truncated.data());
    EXPECT_TRUE(UnitLanguages.empty());
    EXPECT_TRUE(Shown.Entries().empty());
}

} // namespace
} // namespace orlo
