#include "platform/os/UserLanguage.h"

#include "tests/os/EnvironmentScope.h"

#include <gtest/gtest.h>

namespace orlo {
namespace {

using test::TEnvironmentScope;

struct TPrecedenceCase {
    const char* OrloLang;
    const char* LcAll;
    const char* LcMessages;
    const char* Lang;
    const char* DecidingVariable;
    Word LangID;
};

class UserLanguagePrecedence : public ::testing::TestWithParam<TPrecedenceCase> {};

TEST_P(UserLanguagePrecedence, FirstNonEmptyVariableDecides) {
    const TPrecedenceCase& Case = GetParam();
    TEnvironmentScope Environment({{"ORLO_LANG", Case.OrloLang},
                                   {"LC_ALL", Case.LcAll},
                                   {"LC_MESSAGES", Case.LcMessages},
                                   {"LANG", Case.Lang}});
    EXPECT_EQ(GetUserLocale().Variable, Case.DecidingVariable);
    EXPECT_EQ(GetUserDefaultLangID(), Case.LangID);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, UserLanguagePrecedence,
    ::testing::Values(
        // Nothing set: the C locale, whose messages are English.
        TPrecedenceCase{nullptr, nullptr, nullptr, nullptr, "", LANG_ENGLISH},
        TPrecedenceCase{nullptr, nullptr, nullptr, "de_DE.UTF-8", "LANG", 7},
        TPrecedenceCase{nullptr, nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", "LC_MESSAGES", 12},
        TPrecedenceCase{nullptr, "it_IT", "fr_FR", "de_DE", "LC_ALL", 16},
        TPrecedenceCase{"ja_JP", "it_IT", "fr_FR", "de_DE", "ORLO_LANG", 17},
        // Set but empty counts as not set.
        TPrecedenceCase{"", "", "", "sv_SE.UTF-8", "LANG", 29},
        TPrecedenceCase{"", "pl_PL", nullptr, "de_DE", "LC_ALL", 21},
        // ORLO_LANG as a number: a full identifier or a primary language.
        TPrecedenceCase{"1031", "it_IT", nullptr, nullptr, "ORLO_LANG", 1031},
        TPrecedenceCase{"25", nullptr, nullptr, "de_DE", "ORLO_LANG", 25},
        // The C locale and languages the platform does not know.
        TPrecedenceCase{nullptr, nullptr, nullptr, "C", "LANG", LANG_ENGLISH},
        TPrecedenceCase{nullptr, "POSIX", nullptr, "de_DE", "LC_ALL", LANG_ENGLISH},
        TPrecedenceCase{nullptr, nullptr, nullptr, "C.UTF-8", "LANG", LANG_ENGLISH},
        TPrecedenceCase{nullptr, nullptr, nullptr, "xx_YY.UTF-8", "LANG", LANG_NEUTRAL}));

struct TLocaleCase {
    const char* Locale;
    Word LangID;
};

class LocaleToLangID : public ::testing::TestWithParam<TLocaleCase> {};

TEST_P(LocaleToLangID, MapsTheLanguageCode) {
    EXPECT_EQ(LangIDFromLocale(GetParam().Locale), GetParam().LangID) << GetParam().Locale;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleToLangID,
    ::testing::Values(TLocaleCase{"de", 7}, TLocaleCase{"DE_de", 7}, TLocaleCase{"de-AT", 7},
                      TLocaleCase{" de_CH.UTF-8 ", 7}, TLocaleCase{"pt_BR.ISO-8859-1@euro", 22},
                      TLocaleCase{"nb_NO.UTF-8", 20}, TLocaleCase{"nn_NO", 20},
                      TLocaleCase{"sr_RS@latin", 26}, TLocaleCase{"he_IL", 13},
                      TLocaleCase{"iw_IL", 13}, TLocaleCase{"zu_ZA", 0x35},
                      TLocaleCase{"fil_PH", 0x64}, TLocaleCase{"zh_TW.Big5", 4},
                      TLocaleCase{"", LANG_ENGLISH}, TLocaleCase{"POSIX", LANG_ENGLISH},
                      // Unknown or malformed: neutral, never a guess.
                      TLocaleCase{"d", LANG_NEUTRAL}, TLocaleCase{"deu_DE", LANG_NEUTRAL},
                      TLocaleCase{"c", LANG_NEUTRAL}, TLocaleCase{"_DE", LANG_NEUTRAL},
                      TLocaleCase{"12ab", LANG_NEUTRAL}, TLocaleCase{"70000", LANG_NEUTRAL},
                      TLocaleCase{"0", LANG_NEUTRAL}));

TEST(UserLanguage, PrimaryLangIDDropsTheSublanguage) {
    EXPECT_EQ(PrimaryLangID(0x0407), 7);
    EXPECT_EQ(PrimaryLangID(0x0C07), 7);
    EXPECT_EQ(PrimaryLangID(LANG_ENGLISH), LANG_ENGLISH);
}

TEST(UserLanguage, EnvironmentIsRestoredAfterTheScope) {
    const char* Before = std::getenv("ORLO_LANG");
    const std::string Saved = Before ? Before : "";
    {
        TEnvironmentScope Environment({{"ORLO_LANG", "ru_RU"}});
        EXPECT_EQ(GetUserDefaultLangID(), 25);
    }
    const char* After = std::getenv("ORLO_LANG");
    EXPECT_EQ(After != nullptr, Before != nullptr);
    EXPECT_EQ(After ? std::string(After) : std::string(), Saved);
}

} // namespace
} // namespace orlo
