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

// First row whose text in Column equals the trimmed Name without regard to
// case; NoRow for a blank name or another name type.
Integer FindRow(TLanguageNameType Column, const String& Name) {
    const String Key = Trim(Name);
    if (Key.empty() || !IsNameType(Column))
        return NoRow;
    for (Integer Row = 0; Row < DefaultLanguageCount; ++Row)
        if (AnsiSameText(String(ColumnText(DefaultLanguages[Row], Column)), Key))
            return Row;
    return NoRow;
}

TLanguageNameType OtherColumn(TLanguageNameType Column) {
    return Column == lnEnglish ? lnOriginal : lnEnglish;
}

// Whether B is the name of Row in the column other than the one A was found in.
bool IsCounterpart(TLanguageNameType ColumnOfA, Integer Row, const String& B) {
    const std::string_view Other = ColumnText(DefaultLanguages[Row], OtherColumn(ColumnOfA));
    return AnsiSameText(String(Other), B);
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
    {12, "French", "Francais"},
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
    for (TLanguageNameType Column : {lnEnglish, lnOriginal})
        if (const Integer Row = FindRow(Column, NameA); Row != NoRow)
            return IsCounterpart(Column, Row, NameB);
    return false;
}

} // namespace orlo
