#include "platform/os/RegEditFile.h"

#include "platform/rtl/SysUtils.h"

namespace orlo {

namespace {

constexpr const char* Header = "REGEDIT4";
constexpr const char* LineEnd = "\r\n";
constexpr size_t HexLineWidth = 76;

// The lines of the text, with continued lines joined and line numbers kept.
struct TLine {
    Integer Number;
    String Text;
};

std::vector<TLine> SplitLines(const String& Text) {
    std::vector<TLine> Lines;
    size_t Start = Text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    Integer Number = 0;
    bool Continues = false;
    while (Start <= Text.size()) {
        size_t End = Text.find('\n', Start);
        if (End == String::npos)
            End = Text.size();
        String Line = Trim(Text.substr(Start, End - Start));
        ++Number;
        if (Continues)
            Lines.back().Text += Line;
        else
            Lines.push_back({Number, Line});
        // Only lists of hexadecimal bytes continue: "...,41,\\".
        Continues = Line.size() >= 2 && Line.back() == '\\' && Line[Line.size() - 2] == ',';
        if (Continues)
            Lines.back().Text.pop_back();
        Start = End + 1;
    }
    return Lines;
}

// Reads a value line piece by piece.
class TValueReader {
public:
    TValueReader(const TLine& Line) : FLine(Line), FText(Line.Text) {}

    TRegEditValue Read() {
        TRegEditValue Value;
        if (Peek() == '@')
            ++FPos;
        else
            Value.Name = QuotedText();
        SkipBlanks();
        Expect('=');
        SkipBlanks();
        const String Data = FText.substr(FPos);
        if (Data == "-")
            Value.Delete = true;
        else if (Peek() == '"')
            Value.Value = {rdString, StringData(), 0};
        else if (StartsWithText(Data, "dword:"))
            Value.Value = {rdInteger, String(), DwordData(Data.substr(6))};
        else if (StartsWithText(Data, "hex(1):"))
            Value.Value = {rdString, HexStringData(Data.substr(7)), 0};
        else
            Fail("unsupported value '" + Data + "'");
        return Value;
    }

private:
    static bool StartsWithText(const String& S, const String& Prefix) {
        return SameText(S.substr(0, Prefix.size()), Prefix);
    }
    char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
    void SkipBlanks() {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t'))
            ++FPos;
    }
    void Expect(char C) {
        if (Peek() != C)
            Fail(String("'") + C + "' expected");
        ++FPos;
    }
    String QuotedText() {
        Expect('"');
        String Result;
        for (;;) {
            if (FPos >= FText.size())
                Fail("closing quote missing");
            const char C = FText[FPos++];
            if (C == '"')
                return Result;
            if (C == '\0')
                Fail("NUL character in a string");
            if (C == '\\') {
                const char Escaped = Peek();
                if (Escaped != '\\' && Escaped != '"')
                    Fail("invalid escape sequence");
                ++FPos;
                Result += Escaped;
            } else {
                Result += C;
            }
        }
    }
    String StringData() {
        String Result = QuotedText();
        SkipBlanks();
        if (FPos != FText.size())
            Fail("text after the closing quote");
        return Result;
    }
    Integer DwordData(const String& Digits) {
        if (Digits.empty() || Digits.size() > 8 ||
            Digits.find_first_not_of("0123456789abcdefABCDEF") != String::npos)
            Fail("invalid dword '" + Digits + "'");
        return static_cast<Integer>(std::stoul(Digits, nullptr, 16));
    }
    String HexStringData(const String& List) {
        String Bytes;
        String Item;
        for (char C : List + ",") {
            if (C == ' ' || C == '\t')
                continue;
            if (C != ',') {
                Item += C;
                continue;
            }
            if (Item.size() != 2 ||
                Item.find_first_not_of("0123456789abcdefABCDEF") != String::npos)
                Fail("invalid hex byte '" + Item + "'");
            Bytes += static_cast<char>(std::stoul(Item, nullptr, 16));
            Item.clear();
        }
        if (Bytes.empty() || Bytes.back() != '\0')
            Fail("string data must end in 00");
        while (!Bytes.empty() && Bytes.back() == '\0')
            Bytes.pop_back();
        if (Bytes.find('\0') != String::npos)
            Fail("string data with 00 inside");
        return Bytes;
    }
    [[noreturn]] void Fail(const String& Reason) const {
        throw ERegEditError(Format("Line %d: %s", FLine.Number, Reason));
    }

    const TLine& FLine;
    const String& FText;
    size_t FPos = 0;
};

TRegEditKey ReadKeyLine(const TLine& Line) {
    TRegEditKey Key;
    String Name = Line.Text.substr(1, Line.Text.size() - 2);
    if (!Name.empty() && Name[0] == '-') {
        Key.Delete = true;
        Name.erase(0, 1);
    }
    try {
        SplitRegistryPath(Name, Key.Root, Key.Path);
    } catch (const ERegEditError& E) {
        throw ERegEditError(Format("Line %d: %s", Line.Number, E.Message()));
    }
    if (Key.Delete && SplitKeyPath(Key.Path).empty())
        throw ERegEditError(Format("Line %d: the root key '%s' cannot be deleted", Line.Number,
                                   RootKeyName(Key.Root)));
    return Key;
}

String Quoted(const String& S) {
    String Result = "\"";
    for (char C : S) {
        if (C == '\\' || C == '"')
            Result += '\\';
        Result += C;
    }
    return Result + "\"";
}

bool HasControlCharacters(const String& S) {
    for (unsigned char C : S)
        if (C < 0x20 || C == 0x7F)
            return true;
    return false;
}

String HexStringText(const String& Prefix, const String& S) {
    String Result = Prefix + "hex(1):";
    size_t LineStart = 0;
    const String Bytes = S + '\0';
    for (size_t I = 0; I < Bytes.size(); ++I) {
        if (I > 0 && Result.size() - LineStart > HexLineWidth) { // only after a comma
            Result += "\\";
            Result += LineEnd;
            LineStart = Result.size();
            Result += "  ";
        }
        Result += LowerCase(IntToHex(Integer(static_cast<unsigned char>(Bytes[I])), 2));
        if (I + 1 < Bytes.size())
            Result += ",";
    }
    return Result;
}

// Names are written in one line; a line break in one cannot be represented,
// and the reader refuses a NUL character in one.
const String& CheckedName(const String& Name) {
    if (Name.find_first_of("\r\n") != String::npos)
        throw ERegEditError(Format("A line break in the name '%s' cannot be exported", Name));
    if (Name.find('\0') != String::npos)
        throw ERegEditError(Format("The NUL character in the name '%s' cannot be exported", Name));
    return Name;
}

} // namespace

String FormatRegEditValue(const TRegEditValue& Value) {
    const String Name = Value.Name.empty() ? "@" : Quoted(CheckedName(Value.Name));
    if (Value.Delete)
        return Name + "=-";
    if (Value.Value.DataType == rdInteger)
        return Name + "=dword:" + LowerCase(IntToHex(Value.Value.Number, 8));
    if (Value.Value.Text.find('\0') != String::npos)
        throw ERegEditError(
            Format("The NUL character in the value '%s' cannot be exported", Value.Name));
    if (HasControlCharacters(Value.Value.Text))
        return HexStringText(Name + "=", Value.Value.Text);
    return Name + "=" + Quoted(Value.Value.Text);
}

namespace {

void ExportKey(TRegistryStore& Store, TRegKeyId Id, HKEY Root, const String& Path,
               std::vector<TRegEditKey>& Keys) {
    TRegEditKey Key;
    Key.Root = Root;
    Key.Path = Path;
    for (const String& Name : Store.ValueNames(Id)) {
        if (const auto Value = Store.ReadValue(Id, Name); Value && Value->DataType != rdUnknown)
            Key.Values.push_back({Name, false, *Value});
    }
    Keys.push_back(std::move(Key));
    for (const String& Name : Store.KeyNames(Id)) {
        const TRegKeyId Child = Store.OpenKey(Id, Name, false);
        if (Child != NoRegKey)
            ExportKey(Store, Child, Root, Path.empty() ? Name : Path + "\\" + Name, Keys);
    }
}

} // namespace

void SplitRegistryPath(const String& FullPath, HKEY& Root, String& Path) {
    const size_t Separator = FullPath.find('\\');
    const String RootName = FullPath.substr(0, Separator);
    if (!TryRootKeyFromName(Trim(RootName), Root))
        throw ERegEditError(Format("Unknown root key '%s'", RootName));
    Path = Separator == String::npos ? String() : FullPath.substr(Separator + 1);
}

std::vector<TRegEditKey> ParseRegEdit(const String& Text) {
    std::vector<TRegEditKey> Keys;
    bool HeaderSeen = false;
    for (const TLine& Line : SplitLines(Text)) {
        if (Line.Text.empty() || Line.Text[0] == ';')
            continue;
        if (!HeaderSeen) {
            if (Line.Text != Header)
                throw ERegEditError(Format("Line %d: \"%s\" expected", Line.Number, Header));
            HeaderSeen = true;
        } else if (Line.Text.front() == '[' && Line.Text.back() == ']') {
            Keys.push_back(ReadKeyLine(Line));
        } else if (Keys.empty() || Keys.back().Delete) {
            throw ERegEditError(Format("Line %d: value without a key", Line.Number));
        } else {
            Keys.back().Values.push_back(TValueReader(Line).Read());
        }
    }
    if (!HeaderSeen)
        throw ERegEditError(Format("Line 1: \"%s\" expected", Header));
    return Keys;
}

String FormatRegEdit(const std::vector<TRegEditKey>& Keys) {
    String Text = String(Header) + LineEnd;
    for (const TRegEditKey& Key : Keys) {
        String Name = RootKeyName(Key.Root);
        if (!Key.Path.empty())
            Name += "\\" + Key.Path;
        Text += LineEnd;
        Text += "[" + String(Key.Delete ? "-" : "") + CheckedName(Name) + "]" + LineEnd;
        for (const TRegEditValue& Value : Key.Values)
            Text += FormatRegEditValue(Value) + LineEnd;
    }
    return Text;
}

std::vector<TRegEditKey> ExportRegistryKeys(TRegistryStore& Store, HKEY Root, const String& Path) {
    const TRegKeyId Id = Store.OpenKey(TRegistryStore::RootKey(Root), Path, false);
    if (Id == NoRegKey)
        throw ERegistryException("Key not found: " + RootKeyName(Root) +
                                 (Path.empty() ? "" : "\\" + Path));
    std::vector<TRegEditKey> Keys;
    ExportKey(Store, Id, Root, Path, Keys);
    return Keys;
}

void ImportRegistryKeys(TRegistryStore& Store, const std::vector<TRegEditKey>& Keys) {
    Store.Update([&] {
        for (const TRegEditKey& Key : Keys) {
            const TRegKeyId Root = TRegistryStore::RootKey(Key.Root);
            if (Key.Delete) {
                Store.DeleteKey(Root, Key.Path);
                continue;
            }
            const TRegKeyId Id = Store.OpenKey(Root, Key.Path, true);
            for (const TRegEditValue& Value : Key.Values) {
                if (Value.Delete)
                    Store.DeleteValue(Id, Value.Name);
                else
                    Store.WriteValue(Id, Value.Name, Value.Value);
            }
        }
    });
}

} // namespace orlo
