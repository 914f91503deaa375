#pragma once
// GNU gettext PO files for a form's language data, so that translators can
// use the tools they know.
//
// One message per value of the exchange file: msgctxt is its key
// ("Label1.Caption", "Memo1.Lines%2", "Glossa1.#Saved"), msgid the text in the
// reference language, msgstr the translation ("" in a template). The header
// names the languages for a later import ("X-Orlo-Language", and "Language"
// with the ISO 639 code where the language table knows it).
//
// Exporting over an earlier PO file merges as msgmerge does: a value the form
// lacks keeps the earlier file's translation, and a translation made for a
// reference text that has changed since is marked "#, fuzzy" with the old text
// as "#| msgid". Messages the form no longer has stay as obsolete ("#~")
// entries. Importing reads the file into the exchange format, so it follows
// the same rules as an exchange file (see LanguageExchange.h).

#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"

#include <map>
#include <optional>
#include <vector>

namespace orlo {

class TLanguageManager;

// A malformed PO file: "<file>:<line>: <what>".
ORLO_EXCEPTION(EPoError, Exception);

struct TPoMessage {
    String Context;
    String Id;
    String Str;
    bool HasContext = false;
    bool Fuzzy = false;
    bool Obsolete = false;
    String PreviousId; // "#| msgid"
    Integer Line = 0;  // of its first keyword
};

struct TPoCatalog {
    std::vector<TPoMessage> Messages; // without the header
    std::map<String, String> Header;  // field -> value, as written
};

// Reads PO text (UTF-8; Windows-1252 when not valid UTF-8). FileName only
// names the file in errors.
TPoCatalog ParsePo(const String& Text, const String& FileName);

// The PO text of Language (a template when Language is empty) with the
// reference texts of ReferenceLanguage (the first language when empty).
// Previous, when given, is the earlier file merged as described above.
// Exception "Language <name> not found" for a language the manager lacks.
String ExportPo(TLanguageManager* Manager, const String& Language, const String& ReferenceLanguage,
                const TPoCatalog* Previous = nullptr);

// The language a catalog is for: its "X-Orlo-Language", else the English name
// of its "Language" code; "" when neither says.
String PoLanguage(const TPoCatalog& Catalog);

// The ISO 639-1 code of a language name of the language table (English or
// native name); "" when it has none.
String LanguageCode(const String& Language);

// The catalog's translations as an exchange text with one section for
// Language; untranslated messages are left out. Lines records, for each
// line of the text, the PO line of its message.
struct TPoExchange {
    String Text;
    std::map<String, Integer> Lines; // "[section]=line" -> PO line, as Rejected reports them
    std::vector<String> Changed;     // messages whose reference text has changed since
    // Translated messages that name no value: "<line>: <reason>" (no msgctxt,
    // or one that holds "=" or a line break, which no key does).
    std::vector<String> Unusable;
};
TPoExchange PoToExchange(const TPoCatalog& Catalog, TLanguageManager* Manager,
                         const String& Language, const String& ReferenceLanguage);

} // namespace orlo
