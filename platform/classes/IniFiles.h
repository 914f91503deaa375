#pragma once
// INI files ("profile files"): named sections of identifier=value lines.
//
// Sections and identifiers are found without regard to case; values are
// trimmed of blanks (quotes stay as they are); comments (";", "#") and lines
// that are not understood are kept. A section that occurs twice reads as one.
// Every write goes to the file at once: the file is read again under a lock,
// changed and replaced atomically, so a crash leaves the old or the new file
// and writers in other processes lose nothing.

#include "platform/classes/Object.h"
#include "platform/rtl/Exception.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace orlo {

class TStrings;

ORLO_EXCEPTION(EIniFileException, Exception);

// The text of an INI file, understood line by line.
class TIniDocument {
public:
    // Any text reads: line ends may be LF, CR LF or CR (the first one found is
    // used for the whole text), a UTF-8 byte-order mark is kept.
    explicit TIniDocument(const String& Text = String());
    // The text with every change applied; untouched lines come back as they were.
    String Text() const;

    std::vector<String> Sections() const; // each once, as first spelled
    bool SectionExists(const String& Section) const;
    std::vector<String> Idents(const String& Section) const; // each once
    std::optional<String> Value(const String& Section, const String& Ident) const;

    // Changes the value, or adds the identifier at the end of the section, or
    // the section at the end of the text. Names are trimmed. EIniFileException
    // "Invalid section name '%s'" for an empty name or one holding "]" or a
    // line break, "Invalid identifier '%s'" for an empty one or one holding "="
    // or a line break or starting with "[", ";" or "#", "Line break in the value
    // of '%s'" for a value with one: such text would turn into other entries.
    void SetValue(const String& Section, const String& Ident, const String& Value);
    // The checks of SetValue alone.
    static void CheckEntry(const String& Section, const String& Ident, const String& Value);
    bool EraseSection(const String& Section); // false when there was none
    bool DeleteKey(const String& Section, const String& Ident);

private:
    enum TLineKind { lkOther, lkSection, lkEntry };
    struct TLine {
        TLineKind Kind = lkOther;
        String Text;
        String Name;  // the section name or the identifier, trimmed
        String Value; // of an entry, trimmed
    };
    struct TSectionIndex {
        String Name;                               // first spelling
        size_t Last = 0;                           // last non-blank line of the first occurrence
        std::vector<size_t> Entries;               // first line of each identifier, in order
        std::unordered_map<String, size_t> Idents; // folded identifier -> line
    };

    static TLine ParseLine(const String& Text);
    void Reindex();
    // Removes the lines inside sections for which Doomed(line, folded section
    // name) is true; tells whether it removed any.
    template <class F> bool RemoveLines(F&& Doomed);
    const TSectionIndex* FindSection(const String& Section) const;

    std::vector<TLine> FLines;
    String FLineBreak = "\n";
    bool FByteOrderMark = false;
    std::vector<String> FSectionOrder; // folded names
    std::unordered_map<String, TSectionIndex> FSections;
};

class TIniFile : public TObject {
    ORLO_CLASS(TIniFile, TObject)
public:
    // A missing file reads as empty and is created by the first write.
    explicit TIniFile(const String& FileName);
    ~TIniFile() override;

    const String& FileName() const noexcept { return FFileName; }

    bool SectionExists(const String& Section);
    bool ValueExists(const String& Section, const String& Ident);
    String ReadString(const String& Section, const String& Ident, const String& Default);
    // EIniFileException "Unable to write to "%s"" for a read-only file; the
    // errors of TIniDocument::SetValue; EFCreateError when the file cannot be made.
    void WriteString(const String& Section, const String& Ident, const String& Value);
    // Writes the value only when the entry is missing, tested and written under
    // the file's lock, so a value another program stored meanwhile is kept.
    void WriteStringIfMissing(const String& Section, const String& Ident, const String& Value);
    // Decimal or "$"-hexadecimal text; Default for anything else.
    Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
    void WriteInteger(const String& Section, const String& Ident, Integer Value);
    // "0" is false, other numbers true; Default for anything else.
    bool ReadBool(const String& Section, const String& Ident, bool Default);
    void WriteBool(const String& Section, const String& Ident, bool Value);

    void ReadSection(const String& Section, TStrings* Strings);       // identifiers
    void ReadSections(TStrings* Strings);                             // section names
    void ReadSectionValues(const String& Section, TStrings* Strings); // identifier=value
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

private:
    struct TFileIdentity;
    // The file as it is now, parsed again only when it changed on disk.
    const TIniDocument& Current();
    // Changes the file under its lock; Change answers whether it changed anything.
    template <class F> void Modify(bool CreateFile, F&& Change);

    String FFileName;
    TIniDocument FDocument;
    std::unique_ptr<TFileIdentity> FIdentity; // of the file FDocument was read from
};

} // namespace orlo
