// INI text from outside: any bytes parse, reading never changes the text,
// the text written back reads the same, and a change reads back as written
// (or is refused with the INI file's own exception).

#include "platform/classes/IniFiles.h"
#include "platform/rtl/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

// Every section with its identifiers and values, as a reader sees them.
std::vector<String> Contents(const TIniDocument& Doc) {
    std::vector<String> Result;
    for (const String& Section : Doc.Sections()) {
        Result.push_back("[" + Section + "]");
        for (const String& Ident : Doc.Idents(Section)) {
            const auto Value = Doc.Value(Section, Ident);
            Check(Value.has_value());
            Result.push_back(Ident + "=" + *Value);
        }
    }
    return Result;
}

// The first bytes of the input choose the names and the value of a change.
String Piece(const String& Text, size_t Start, size_t Length) {
    return Start < Text.size() ? Text.substr(Start, Length) : String();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    TIniDocument Doc(Text);
    const std::vector<String> Before = Contents(Doc);
    Check(Contents(TIniDocument(Doc.Text())) == Before);

    const String Section = Piece(Text, 0, 6);
    const String Ident = Piece(Text, 6, 5);
    const String Value = Piece(Text, 11, 12);
    try {
        Doc.SetValue(Section, Ident, Value);
        Check(Doc.Value(Section, Ident) == Trim(Value));
        const TIniDocument Reread(Doc.Text());
        Check(Reread.Value(Section, Ident) == Trim(Value));
        Check(Contents(Reread) == Contents(Doc));
    } catch (const EIniFileException&) {
        Check(Contents(Doc) == Before); // a refused change changes nothing
    }

    for (const String& Name : Doc.Sections()) {
        for (const String& Key : Doc.Idents(Name)) {
            Check(Doc.DeleteKey(Name, Key));
            Check(!Doc.Value(Name, Key).has_value());
        }
        Check(Doc.EraseSection(Name));
        Check(!Doc.SectionExists(Name));
    }
    Check(Doc.Sections().empty());
    return 0;
}
