#pragma once
// The user's default language as a Windows language identifier, taken from
// the POSIX locale.
//
// The locale text comes from the first of these environment variables that is
// set and not empty: ORLO_LANG, LC_ALL, LC_MESSAGES, LANG. ORLO_LANG overrides
// the locale for this library alone and holds either
//   - a locale name as LANG does ("de", "de_DE", "de_DE.UTF-8", "pt_BR@euro";
//     "de-DE" is read too), or
//   - a Windows language identifier in decimal ("7" for German, or a full
//     identifier with its sublanguage such as "1031").
// A locale name gives the primary language of its language code (ISO 639, two
// or three letters, any letter case); the territory is not mapped to a
// sublanguage. "C" and "POSIX" (with or without a codeset), and no locale at
// all, mean English: that is the language of the C locale's messages. A
// language code the platform does not know gives LANG_NEUTRAL, so callers can
// tell "unknown" from a real language.

#include "platform/rtl/Types.h"

namespace orlo {

// Windows primary language numbers used by name in the library.
constexpr Word LANG_NEUTRAL = 0x00;
constexpr Word LANG_ENGLISH = 0x09;

// The identifier of the user's default language, as described above.
Word GetUserDefaultLangID();

// The locale text that decides it, and the variable it came from ("" for both
// when none is set).
struct TUserLocale {
    String Variable;
    String Value;
};
TUserLocale GetUserLocale();

// The language identifier that a locale text stands for; the decimal form is
// read from every variable alike, though only ORLO_LANG is meant to hold it.
Word LangIDFromLocale(const String& Locale);

// The primary language part of a language identifier.
constexpr Word PrimaryLangID(Word LangID) noexcept {
    return LangID & 0x3FF;
}

} // namespace orlo
