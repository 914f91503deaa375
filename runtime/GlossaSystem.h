#pragma once
// The table of natural languages the system knows by name: 42 languages, each
// with its Windows primary language number, its English name and, where the
// table has one, its name in the language itself. It guesses the user's
// language at start-up, offers pick lists of names, translates a name between
// its English and native form, and tells whether two names mean the same
// language ("German" and "Deutsch").
//
// Names are UTF-8 ("Íslenskur", "Türkçe"); names given by callers are trimmed
// and compared without regard to letter case, accented letters included. A
// blank name is no language: it matches no row, not even an empty native cell.
// A native name once spelt differently ("Francais" for "Français") still
// names its row, so data stored with the old spelling keeps its language.

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Types.h"

#include <array>
#include <string_view>

namespace orlo {

class TStrings;

// Which name column is meant.
ORLO_ENUM(TLanguageNameType, lnEnglish, lnOriginal);
ORLO_SET(TLanguageNames, TLanguageNameType);

struct TDefaultLanguage {
    Word Id; // Windows primary language number
    std::string_view English;
    std::string_view Native; // empty where the table has no native name
};

constexpr Integer DefaultLanguageCount = 42;
extern const std::array<TDefaultLanguage, DefaultLanguageCount> DefaultLanguages;

// The user's default language (see platform/os/UserLanguage.h): its English and
// native name (the native one may be empty) and true; both empty and false
// when the table has no row for it.
bool GetDefaultLanguage(String& English, String& Native);
// The same for the primary language in the low 8 bits of a language identifier.
bool GetLanguageOfID(Word LangID, String& English, String& Native);

// Replaces List's lines with the non-empty names of one column, in table order:
// 42 English names, or the 21 native ones. ECaseError for another name type.
void GetDefaultLanguages(TLanguageNameType NameType, TStrings* List);

// Trims Name (written back); if it is a name of one of the given columns
// (English first), replaces it by the table's own spelling and returns true.
bool IsDefaultLanguage(TLanguageNames NameTypes, String& Name);

// NameType says which form Name is in; a table name becomes the other form of
// its row (a missing native name gives "") and the result is true. Otherwise
// Name stays as it is and the result is false.
bool TranslateLanguage(TLanguageNameType NameType, String& Name);

// Whether two names denote the same language: equal without regard to case,
// or the English and the native name of one row, in either order. Blank names
// never match.
bool CompareLanguages(const String& A, const String& B);

} // namespace orlo
