#include "runtime/GlossaSystem.h"

#include "platform/classes/Strings.h"
#include "platform/os/UserLanguage.h"
#include "tests/classes/LinesOf.h"
#include "tests/os/EnvironmentScope.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <set>

namespace orlo {
namespace {

using test::TEnvironmentScope;

TEST(LanguageTable, RowsHaveDistinctNumbersAndNames) {
    std::set<Word> Ids;
    std::set<std::string_view> EnglishNames;
    for (const TDefaultLanguage& Row : DefaultLanguages) {
        Ids.insert(Row.Id);
        EnglishNames.insert(Row.English);
    }
    EXPECT_EQ(Ids.size(), 42u);
    EXPECT_EQ(EnglishNames.size(), 42u);
}

// Each language of the table, reached from its locale code through the
// platform's mapping: catches a wrong number on either side.
struct TLocaleRow {
    const char* Locale;
    const char* English;
    const char* Native;
};

class LanguageOfLocale : public ::testing::TestWithParam<TLocaleRow> {};

TEST_P(LanguageOfLocale, FindsTheRow) {
    const TLocaleRow& Case = GetParam();
    String English = "stale", Native = "stale";
    EXPECT_TRUE(GetLanguageOfID(LangIDFromLocale(Case.Locale), English, Native)) << Case.Locale;
    EXPECT_EQ(English, Case.English);
    EXPECT_EQ(Native, Case.Native);
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, LanguageOfLocale,
    ::testing::Values(
        TLocaleRow{"af_ZA", "Afrikaans", "Afrikaans"}, TLocaleRow{"sq_AL", "Albanian", ""},
        TLocaleRow{"ar_EG", "Arabic", ""}, TLocaleRow{"eu_ES", "Basque", ""},
        TLocaleRow{"be_BY", "Belarusian", ""}, TLocaleRow{"bg_BG", "Bulgarian", ""},
        TLocaleRow{"ca_ES", "Catalan", ""}, TLocaleRow{"zh_CN", "Chinese", ""},
        TLocaleRow{"hr_HR", "Croatian", ""}, TLocaleRow{"cs_CZ", "Czech", ""},
        TLocaleRow{"da_DK", "Danish", "Dansk"}, TLocaleRow{"nl_NL", "Dutch", "Nederlands"},
        TLocaleRow{"en_GB", "English", "English"}, TLocaleRow{"et_EE", "Estonian", "Eesti"},
        TLocaleRow{"fo_FO", "Faeroese", ""}, TLocaleRow{"fa_IR", "Farsi", ""},
        TLocaleRow{"fi_FI", "Finnish", "Suomi"}, TLocaleRow{"fr_FR", "French", "Français"},
        TLocaleRow{"de_DE", "German", "Deutsch"}, TLocaleRow{"el_GR", "Greek", ""},
        TLocaleRow{"he_IL", "Hebrew", ""}, TLocaleRow{"hu_HU", "Hungarian", "Magyar"},
        TLocaleRow{"is_IS", "Icelandic", "Íslenskur"},
        TLocaleRow{"id_ID", "Indonesian", "Indonesia"}, TLocaleRow{"it_IT", "Italian", "Italiano"},
        TLocaleRow{"ja_JP", "Japanese", ""}, TLocaleRow{"ko_KR", "Korean", ""},
        TLocaleRow{"lv_LV", "Latvian", ""}, TLocaleRow{"lt_LT", "Lithuanian", ""},
        TLocaleRow{"nb_NO", "Norwegian", "Norsk"}, TLocaleRow{"pl_PL", "Polish", "Polski"},
        TLocaleRow{"pt_PT", "Portuguese", "Português"}, TLocaleRow{"ro_RO", "Romanian", "Român"},
        TLocaleRow{"ru_RU", "Russian", ""}, TLocaleRow{"sk_SK", "Slovak", "Slovenský"},
        TLocaleRow{"sl_SI", "Slovenian", "Slovénski"}, TLocaleRow{"es_ES", "Spanish", "Español"},
        TLocaleRow{"sv_SE", "Swedish", "Svenska"}, TLocaleRow{"th_TH", "Thai", ""},
        TLocaleRow{"tr_TR", "Turkish", "Türkçe"}, TLocaleRow{"uk_UA", "Ukrainian", ""},
        TLocaleRow{"vi_VN", "Vietnamese", ""}));

TEST(LanguageTable, LanguageOfIDUsesTheLowEightBits) {
    String English, Native;
    EXPECT_TRUE(GetLanguageOfID(0x0407, English, Native));
    EXPECT_EQ(English, "German");
    EXPECT_TRUE(GetLanguageOfID(0x0C0A, English, Native));
    EXPECT_EQ(English, "Spanish");
    EXPECT_EQ(Native, "Español");
}

struct TUserLanguageCase {
    const char* OrloLang;
    bool Found;
    const char* English;
    const char* Native;
};

class DefaultLanguageOfUser : public ::testing::TestWithParam<TUserLanguageCase> {};

TEST_P(DefaultLanguageOfUser, FollowsTheLocale) {
    const TUserLanguageCase& Case = GetParam();
    TEnvironmentScope Environment({{"ORLO_LANG", Case.OrloLang}});
    String English = "stale", Native = "stale";
    EXPECT_EQ(GetDefaultLanguage(English, Native), Case.Found);
    EXPECT_EQ(English, Case.English);
    EXPECT_EQ(Native, Case.Native);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DefaultLanguageOfUser,
    ::testing::Values(TUserLanguageCase{"de_DE.UTF-8", true, "German", "Deutsch"},
                      TUserLanguageCase{"ja_JP.UTF-8", true, "Japanese", ""},
                      TUserLanguageCase{"C", true, "English", "English"},
                      TUserLanguageCase{"1031", true, "German", "Deutsch"},
                      // A language the table lacks, and one the platform does not know.
                      TUserLanguageCase{"zu_ZA", false, "", ""},
                      TUserLanguageCase{"xx_YY", false, "", ""}));

TEST(DefaultLanguages, EnglishColumnHoldsEveryRowInOrder) {
    TStringList List;
    List.Add("left over");
    GetDefaultLanguages(lnEnglish, &List);
    ASSERT_EQ(List.Count(), 42);
    for (Integer Row = 0; Row < DefaultLanguageCount; ++Row)
        EXPECT_EQ(List.Strings(Row), DefaultLanguages[Row].English);
}

TEST(DefaultLanguages, NativeColumnSkipsMissingNames) {
    TStringList List;
    GetDefaultLanguages(lnOriginal, &List);
    const std::vector<String> Expected{
        "Afrikaans", "Dansk",  "Nederlands", "English",   "Eesti",    "Suomi",   "Français",
        "Deutsch",   "Magyar", "Íslenskur",  "Indonesia", "Italiano", "Norsk",   "Polski",
        "Português", "Român",  "Slovenský",  "Slovénski", "Español",  "Svenska", "Türkçe"};
    EXPECT_EQ(test::LinesOf(List), Expected);
}

TEST(DefaultLanguages, OtherNameTypeIsACaseError) {
    TStringList List;
    List.Add("kept");
    test::ExpectError<ECaseError>(
        [&] { GetDefaultLanguages(static_cast<TLanguageNameType>(2), &List); },
        "GetDefaultLanguages failed. Unknown language name type 2");
    EXPECT_EQ(test::LinesOf(List), std::vector<String>{"kept"});
}

struct TIsDefaultCase {
    TLanguageNames NameTypes;
    const char* Name;
    bool Result;
    const char* NameAfter;
};

class IsDefaultLanguageCases : public ::testing::TestWithParam<TIsDefaultCase> {};

TEST_P(IsDefaultLanguageCases, TrimsAndTakesTheTableSpelling) {
    const TIsDefaultCase& Case = GetParam();
    String Name = Case.Name;
    EXPECT_EQ(IsDefaultLanguage(Case.NameTypes, Name), Case.Result) << Case.Name;
    EXPECT_EQ(Name, Case.NameAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsDefaultLanguageCases,
    ::testing::Values(TIsDefaultCase{{lnEnglish}, "  german ", true, "German"},
                      TIsDefaultCase{{lnEnglish}, "Deutsch", false, "Deutsch"},
                      TIsDefaultCase{{lnOriginal}, "DEUTSCH", true, "Deutsch"},
                      TIsDefaultCase{{lnOriginal}, "German", false, "German"},
                      TIsDefaultCase{{lnEnglish, lnOriginal}, "íSLENSKUR", true, "Íslenskur"},
                      TIsDefaultCase{{lnEnglish, lnOriginal}, "TÜRKÇE", true, "Türkçe"},
                      TIsDefaultCase{{lnEnglish, lnOriginal}, "Klingon ", false, "Klingon"},
                      TIsDefaultCase{{}, "German", false, "German"},
                      // The former spelling without cedilla is taken, the table's is given.
                      TIsDefaultCase{{lnOriginal}, "francais", true, "Français"},
                      TIsDefaultCase{{lnEnglish}, "Francais", false, "Francais"},
                      // A blank name is no language, not the first empty native cell.
                      TIsDefaultCase{{lnOriginal}, "   ", false, ""},
                      TIsDefaultCase{{lnEnglish, lnOriginal}, "", false, ""}));

struct TTranslateCase {
    TLanguageNameType NameType;
    const char* Name;
    bool Result;
    const char* NameAfter;
};

class TranslateLanguageCases : public ::testing::TestWithParam<TTranslateCase> {};

TEST_P(TranslateLanguageCases, GivesTheOtherForm) {
    const TTranslateCase& Case = GetParam();
    String Name = Case.Name;
    EXPECT_EQ(TranslateLanguage(Case.NameType, Name), Case.Result) << Case.Name;
    EXPECT_EQ(Name, Case.NameAfter);
}

INSTANTIATE_TEST_SUITE_P(Names, TranslateLanguageCases,
                         ::testing::Values(TTranslateCase{lnEnglish, "albanian", true, ""},
                                           TTranslateCase{lnEnglish, "German", true, "Deutsch"},
                                           TTranslateCase{lnEnglish, " spanish ", true, "Español"},
                                           TTranslateCase{lnOriginal, "DEUTSCH", true, "German"},
                                           TTranslateCase{lnOriginal, "PORTUGUÊS", true,
                                                          "Portuguese"},
                                           TTranslateCase{lnOriginal, "English", true, "English"},
                                           TTranslateCase{lnEnglish, "French", true, "Français"},
                                           TTranslateCase{lnOriginal, "FRANÇAIS", true, "French"},
                                           TTranslateCase{lnOriginal, "Francais", true, "French"},
                                           TTranslateCase{lnEnglish, "Klingon", false, "Klingon"},
                                           TTranslateCase{lnOriginal, "German", false, "German"},
                                           TTranslateCase{lnOriginal, "", false, ""},
                                           TTranslateCase{static_cast<TLanguageNameType>(7),
                                                          "German", false, "German"}));

struct TCompareCase {
    const char* A;
    const char* B;
    bool Same;
};

class CompareLanguagesCases : public ::testing::TestWithParam<TCompareCase> {};

TEST_P(CompareLanguagesCases, MatchesNamesOfOneLanguage) {
    const TCompareCase& Case = GetParam();
    EXPECT_EQ(CompareLanguages(Case.A, Case.B), Case.Same) << Case.A << " / " << Case.B;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CompareLanguagesCases,
    ::testing::Values(
        TCompareCase{"DEUTSCH", "GERMAN", true}, TCompareCase{"german", "Deutsch", true},
        TCompareCase{" German ", "deutsch", true}, TCompareCase{"German", "German", true},
        TCompareCase{"Klingon", "KLINGON", true}, TCompareCase{"TÜRKÇE", "turkish", true},
        TCompareCase{"turkish", "türkçe", true}, TCompareCase{"íslenskur", "Icelandic", true},
        TCompareCase{"Francais", "FRENCH", true}, TCompareCase{"Français", "French", true},
        TCompareCase{"french", "FRANÇAIS", true}, TCompareCase{"Francais", "Français", true},
        TCompareCase{"Français", "francais", true}, TCompareCase{"Francais", "Deutsch", false},
        TCompareCase{"German", "English", false}, TCompareCase{"German", "Spanish", false},
        TCompareCase{"German", "Nederlands", false}, TCompareCase{"Deutsch", "Dansk", false},
        TCompareCase{"Klingon", "German", false}, TCompareCase{"", "", false},
        TCompareCase{"  ", " ", false}, TCompareCase{"Albanian", "", false},
        TCompareCase{"", "Albanian", false}));

} // namespace
} // namespace orlo
