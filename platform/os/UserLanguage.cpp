#include "platform/os/UserLanguage.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace orlo {

namespace {

struct TLanguageCode {
    std::string_view Code; // ISO 639, lower case
    Word Primary;          // Windows primary language number
};

// Sorted by code, for the binary search below.
constexpr std::array<TLanguageCode, 81> LanguageCodes{{
    {"af", 0x36}, {"am", 0x5E}, {"ar", 0x01},  {"az", 0x2C}, {"be", 0x23}, {"bg", 0x02},
    {"bn", 0x45}, {"bs", 0x1A}, {"ca", 0x03},  {"cs", 0x05}, {"cy", 0x52}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09},  {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D},
    {"fa", 0x29}, {"fi", 0x0B}, {"fil", 0x64}, {"fo", 0x38}, {"fr", 0x0C}, {"ga", 0x3C},
    {"gl", 0x56}, {"gu", 0x47}, {"he", 0x0D},  {"hi", 0x39}, {"hr", 0x1A}, {"hu", 0x0E},
    {"hy", 0x2B}, {"id", 0x21}, {"in", 0x21},  {"is", 0x0F}, {"it", 0x10}, {"iw", 0x0D},
    {"ja", 0x11}, {"ka", 0x37}, {"kk", 0x3F},  {"km", 0x53}, {"kn", 0x4B}, {"ko", 0x12},
    {"ky", 0x40}, {"lo", 0x54}, {"lt", 0x27},  {"lv", 0x26}, {"mk", 0x2F}, {"ml", 0x4C},
    {"mn", 0x50}, {"mr", 0x4E}, {"ms", 0x3E},  {"mt", 0x3A}, {"nb", 0x14}, {"ne", 0x61},
    {"nl", 0x13}, {"nn", 0x14}, {"no", 0x14},  {"pa", 0x46}, {"pl", 0x15}, {"ps", 0x63},
    {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},  {"sk", 0x1B}, {"sl", 0x24}, {"sq", 0x1C},
    {"sr", 0x1A}, {"sv", 0x1D}, {"sw", 0x41},  {"ta", 0x49}, {"te", 0x4A}, {"th", 0x1E},
    {"tr", 0x1F}, {"tt", 0x44}, {"uk", 0x22},  {"ur", 0x20}, {"uz", 0x43}, {"vi", 0x2A},
    {"xh", 0x34}, {"zh", 0x04}, {"zu", 0x35},
}};

static_assert(std::is_sorted(LanguageCodes.begin(), LanguageCodes.end(),
                             [](const TLanguageCode& A, const TLanguageCode& B) {
                                 return A.Code < B.Code;
                             }));

// The variables that name the locale, strongest first.
constexpr std::array<const char*, 4> LocaleVariables{"ORLO_LANG", "LC_ALL", "LC_MESSAGES", "LANG"};

Word PrimaryOfCode(std::string_view Code) {
    const auto Found = std::lower_bound(
        LanguageCodes.begin(), LanguageCodes.end(), Code,
        [](const TLanguageCode& Entry, std::string_view Key) { return Entry.Code < Key; });
    return Found != LanguageCodes.end() && Found->Code == Code ? Found->Primary : LANG_NEUTRAL;
}

bool ReadDecimalLangID(std::string_view Text, Word& LangID) {
    const char* End = Text.data() + Text.size();
    const auto [Stop, Error] = std::from_chars(Text.data(), End, LangID);
    return Error == std::errc() && Stop == End;
}

// "de_DE.UTF-8@euro" -> "de"; "de-DE" -> "de".
std::string_view LanguagePart(std::string_view Locale) {
    return Locale.substr(0, Locale.find_first_of("_-.@"));
}

bool IsPortableLocale(std::string_view Language) {
    return Language == "C" || Language == "POSIX";
}

} // namespace

Word LangIDFromLocale(const String& Locale) {
    const String Text = Trim(Locale);
    if (Text.empty())
        return LANG_ENGLISH;
    if (std::isdigit(static_cast<unsigned char>(Text[0]))) {
        Word LangID = 0;
        return ReadDecimalLangID(Text, LangID) ? LangID : LANG_NEUTRAL;
    }
    const std::string_view Language = LanguagePart(Text);
    if (IsPortableLocale(Language))
        return LANG_ENGLISH;
    return PrimaryOfCode(LowerCase(String(Language)));
}

TUserLocale GetUserLocale() {
    for (const char* Variable : LocaleVariables) {
        const char* Value = std::getenv(Variable);
        if (Value && *Value)
            return {Variable, Value};
    }
    return {};
}

Word GetUserDefaultLangID() {
    return LangIDFromLocale(GetUserLocale().Value);
}

} // namespace orlo
