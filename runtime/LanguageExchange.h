#pragma once
// The language exchange file: a language manager's languages and values as
// INI-style text, written by TLanguageManager::ExportLanguages and read back
// by ImportLanguages (both implemented in LanguageExchange.cpp).
//
//   [TMyForm.English]
//   Label1.Caption='Name'
//   Memo1.Lines%2='Third line'
//   Buttons%0.Caption='OK'
//   TMyForm.Caption='Settings'
//   Glossa1.#ENoFileName='File name missing.'
//   Label2.Hint="Two\nlines"
//
// One section per language ("[" + form class + "." + language + "]", without
// a form "[." + language + "]"), lines ended by CR LF, an empty line after each
// section. Files are written in UTF-8; a file that is not valid UTF-8 is read
// as Windows-1252, the code page of older exchange files.
//
// Values are written between single quotes, unchanged. A value with a line
// break (CR or LF) is written between double quotes instead, with "\" escapes:
// \n, \r, \\ and \" — single-quoted values never change meaning, so older
// files read as they always did. On reading, blanks around the value go, and
// then one pair of outer single quotes, or one pair of outer double quotes
// whose content is unescaped.
//
// Import, as the manager does it:
//  - it works on a copy: a failed import, the "Internal error at REIMPORT"
//    included, leaves the manager exactly as it was;
//  - the copy starts with this manager's languages (same SubIndex, so the
//    active language stays active) and the structure of its entries, so no
//    entry is lost because the explorer settings would not offer it;
//  - the manager's own data is re-read through the same format, then the
//    file's sections (in imAddNotExisting the file first, so the manager's
//    values win), and entries that received no value are dropped.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

class TConsistentLangPropertyEntry;
class TLanguageManager;
class TStrings;

// One value of a manager as the exchange file names it.
struct TExchangeEntry {
    String Key; // "Label1.Caption", "Memo1.Lines%2", "Glossa1.#Saved"
    TConsistentLangPropertyEntry* Entry;
};

// Every value entry in file order: component entries as the tree orders
// them, within one the paths sorted without regard to case.
std::vector<TExchangeEntry> ExchangeEntries(TLanguageManager* Manager);

// The value between its quotes as the file writes it, and back.
String QuoteExchangeValue(const String& Value);
String UnquoteExchangeValue(const String& Text);

// A file's text as UTF-8: the file itself, or its Windows-1252 reading when
// it is not valid UTF-8. EInOutError "File not found" when it does not exist.
String ReadExchangeText(const String& FileName);

// One section of an exchange text.
struct TExchangeSection {
    String Name; // between the brackets
    struct TLine {
        String Text;        // without leading blanks and control characters
        Integer Number = 0; // 1-based line number in the file
    };
    std::vector<TLine> Lines;
};
std::vector<TExchangeSection> ParseExchangeText(const String& Text);

// The language of a section name: after the first "."; before it when the
// "." ends the name; the whole name without one.
String SectionLanguage(const String& SectionName);

} // namespace orlo
