#include "runtime/GlossaSystem.h"

#include "platform/classes/Lists.h"
#include "platform/classes/Strings.h"
#include "platform/os/UserLanguage.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/GlossaSystem.cpp 1.0 09.12.26 22:10 orlo $");

constexpr Integer NoRow = -1;

bool IsNameType(TLanguageNameType NameType) {
    return NameType == lnEnglish || NameType == lnOriginal;
}

std::string_view ColumnText(const TDefaultLanguage& Row, TLanguageNameType Column) {
    return Column == lnEnglish ? Row.English : Row.Native;
}

// Native names as older versions of the table spelt them; data stored with
// them still names the language.
struct TFormerSpelling {
    std::string_view Native;
    std::string_view English; // of the row it names
};
constexpr TFormerSpelling FormerSpellings[] = {{"Francais", "French"}};

// First row whose text in Column equals the trimmed Name without regard to
// case (in the native column, a former spelling too); NoRow for a blank name
// or another name type.
Integer FindRow(TLanguageNameType Column, const String& Name) {
    const String Key = Trim(Name);
    if (Key.empty() || !IsNameType(Column))
        return NoRow;
    for (Integer Row = 0; Row < DefaultLanguageCount; ++Row)
        if (AnsiSameText(String(ColumnText(DefaultLanguages[Row], Column)), Key))
            return Row;
    if (Column == lnOriginal)
        for (const TFormerSpelling& Former : FormerSpellings)
            if (AnsiSameText(String(Former.Native), Key))
                return FindRow(lnEnglish, String(Former.English));
    return NoRow;
}

// The row that names Name in either column; NoRow when none does.
Integer RowOfName(const String& Name) {
    const Integer Row = FindRow(lnEnglish, Name);
    return Row != NoRow ? Row : FindRow(lnOriginal, Name);
}

TLanguageNameType OtherColumn(TLanguageNameType Column) {
    return Column == lnEnglish ? lnOriginal : lnEnglish;
}

} // namespace

const std::array<TDefaultLanguage, DefaultLanguageCount> DefaultLanguages{{
    {54, "Afrikaans", "Afrikaans"},
    {28, "Albanian", ""},
    {1, "Arabic", ""},
    {45, "Basque", ""},
    {35, "Belarusian", ""},
    {2, "Bulgarian", ""},
    {3, "Catalan", ""},
    {4, "Chinese", ""},
    {26, "Croatian", ""},
    {5, "Czech", ""},
    {6, "Danish", "Dansk"},
    {19, "Dutch", "Nederlands"},
    {9, "English", "English"},
    {37, "Estonian", "Eesti"},
    {56, "Faeroese", ""},
    {41, "Farsi", ""},
    {11, "Finnish", "Suomi"},
    {12, "French", "Français"},
    {7, "German", "Deutsch"},
    {8, "Greek", ""},
    {13, "Hebrew", ""},
    {14, "Hungarian", "Magyar"},
    {15, "Icelandic", "Íslenskur"},
    {33, "Indonesian", "Indonesia"},
    {16, "Italian", "Italiano"},
    {17, "Japanese", ""},
    {18, "Korean", ""},
    {38, "Latvian", ""},
    {39, "Lithuanian", ""},
    {20, "Norwegian", "Norsk"},
    {21, "Polish", "Polski"},
    {22, "Portuguese", "Português"},
    {24, "Romanian", "Român"},
    {25, "Russian", ""},
    {27, "Slovak", "Slovenský"},
    {36, "Slovenian", "Slovénski"},
    {10, "Spanish", "Español"},
    {29, "Swedish", "Svenska"},
    {30, "Thai", ""},
    {31, "Turkish", "Türkçe"},
    {34, "Ukrainian", ""},
    {42, "Vietnamese", ""},
}};

bool GetLanguageOfID(Word LangID, String& English, String& Native) {
    English.clear();
    Native.clear();
    const Word Primary = LangID & 0xFF;
    for (const TDefaultLanguage& Row : DefaultLanguages)
        if (Row.Id == Primary) {
            English = Row.English;
            Native = Row.Native;
            return true;
        }
    return false;
}

bool GetDefaultLanguage(String& English, String& Native) {
    return GetLanguageOfID(GetUserDefaultLangID(), English, Native);
}

void GetDefaultLanguages(TLanguageNameType NameType, TStrings* List) {
    if (!IsNameType(NameType))
        throw ECaseError(
            Format("GetDefaultLanguages failed. Unknown language name type %d", Integer(NameType)));
    WithUpdate(*List, [&] {
        List->Clear();
        for (const TDefaultLanguage& Row : DefaultLanguages)
            if (const String Name = Trim(String(ColumnText(Row, NameType))); !Name.empty())
                List->Add(Name);
    });
}

bool IsDefaultLanguage(TLanguageNames NameTypes, String& Name) {
    Name = Trim(Name);
    for (TLanguageNameType Column : {lnEnglish, lnOriginal}) {
        if (!NameTypes.Contains(Column))
            continue;
        if (const Integer Row = FindRow(Column, Name); Row != NoRow) {
            Name = ColumnText(DefaultLanguages[Row], Column);
            return true;
        }
    }
    return false;
}

bool TranslateLanguage(TLanguageNameType NameType, String& Name) {
    const Integer Row = FindRow(NameType, Name);
    if (Row == NoRow)
        return false;
    Name = ColumnText(DefaultLanguages[Row], OtherColumn(NameType));
    return true;
}

bool CompareLanguages(const String& A, const String& B) {
    const String NameA = Trim(A);
    const String NameB = Trim(B);
    if (NameA.empty() || NameB.empty())
        return false;
    if (AnsiSameText(NameA, NameB))
        return true;
    // Names of one row: its English and its native name, or two spellings of the native one.
    const Integer Row = RowOfName(NameA);
    return Row != NoRow && Row == RowOfName(NameB);
}

} // namespace orlo
