#include "platform/classes/FormText.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Resources.h"
#include "platform/classes/TextCodec.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace orlo {

namespace {

constexpr size_t StringLineLength = 64; // characters of a string per line
constexpr size_t BinaryBytesPerLine = 32;

bool IsIntegerValue(TValueType Value) {
    return Value == vaInt8 || Value == vaInt16 || Value == vaInt32 || Value == vaInt64;
}

String ReadRest(TStream* Input) {
    Int64 Size = Input->Size() - Input->Position();
    if (Size > INT32_MAX)
        throw EReadError("Stream read error");
    String Text(static_cast<size_t>(std::max<Int64>(Size, 0)), '\0');
    Input->ReadBuffer(Text.data(), static_cast<Integer>(Text.size()));
    return Text;
}

void WriteText(TStream* Output, const String& Text) {
    Output->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

// --- Numbers as text ---------------------------------------------------------

// The shortest text that reads back as Value: "1.5", "2.0", "1E20", "-1E-5".
template <class F> String FloatText(F Value) {
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value < 0 ? "-INF" : "INF";
    char Buf[64];
    auto Result = std::to_chars(Buf, Buf + sizeof Buf, Value);
    String Raw(Buf, Result.ptr);
    size_t E = Raw.find('e');
    String Mantissa = Raw.substr(0, E);
    if (E == String::npos)
        return Mantissa.find('.') == String::npos ? Mantissa + ".0" : Mantissa;
    String Exponent = Raw.substr(E + 1);
    bool Negative = Exponent[0] == '-';
    Exponent.erase(0, Exponent.find_first_not_of("+-0"));
    return Mantissa + "E" + (Negative ? "-" : "") + (Exponent.empty() ? "0" : Exponent);
}

String CurrencyText(Currency Value) {
    bool Negative = Value.Scaled < 0;
    UInt64 Abs = Negative ? UInt64(0) - static_cast<UInt64>(Value.Scaled)
                          : static_cast<UInt64>(Value.Scaled);
    String Text = (Negative ? "-" : "") + std::to_string(Abs / Currency::Scale);
    if (UInt64 Fraction = Abs % Currency::Scale) {
        String Digits = std::to_string(Fraction + Currency::Scale).substr(1);
        Text += "." + Digits.substr(0, Digits.find_last_not_of('0') + 1);
    }
    return Text;
}

String HexOf(const std::vector<Byte>& Data, size_t From, size_t Count) {
    static const char Digits[] = "0123456789ABCDEF";
    String Hex;
    for (size_t I = From; I < From + Count; ++I) {
        Hex += Digits[Data[I] >> 4];
        Hex += Digits[Data[I] & 15];
    }
    return Hex;
}

// --- Binary to text ----------------------------------------------------------

bool IsNameStart(char C) {
    return std::isalpha(static_cast<unsigned char>(C)) || C == '_';
}

bool IsNameChar(char C) {
    return IsNameStart(C) || (C >= '0' && C <= '9') || C == '.';
}

// Names that the text form can hold: a letter or "_", then letters, digits,
// "_" or ".". Anything else has no text form.
const String& CheckedName(const String& Name, bool MayBeEmpty = false) {
    bool Valid = Name.empty()
                     ? MayBeEmpty
                     : IsNameStart(Name[0]) && std::all_of(Name.begin(), Name.end(), IsNameChar);
    if (!Valid)
        throw EReadError("Invalid name in stream: '" + Name + "'");
    return Name;
}

class TBinaryToText {
public:
    explicit TBinaryToText(TStream* Input) : FReader(Input) {}

    String Convert() {
        FReader.ReadSignature();
        Object(0);
        return std::move(FOut);
    }

private:
    void Indent(Integer Level) { FOut.append(static_cast<size_t>(2 * Level), ' '); }

    void Nest(Integer Level) {
        if (Level > MaxStreamNesting)
            throw EReadError("Stream nesting too deep");
    }

    void Object(Integer Level) {
        Nest(Level);
        TFilerFlags Flags;
        Integer ChildPos;
        FReader.ReadPrefix(Flags, ChildPos);
        Indent(Level);
        FOut += Flags.Contains(ffInherited) ? "inherited "
                : Flags.Contains(ffInline)  ? "inline "
                                            : "object ";
        String ClassName = CheckedName(FReader.ReadStr());
        String Name = CheckedName(FReader.ReadStr(), true);
        FOut += Name.empty() ? ClassName : Name + ": " + ClassName;
        if (Flags.Contains(ffChildPos))
            FOut += " [" + IntToStr(ChildPos) + "]";
        FOut += '\n';
        while (!FReader.EndOfList())
            Property(Level + 1);
        FReader.ReadListEnd();
        while (!FReader.EndOfList())
            Object(Level + 1);
        FReader.ReadListEnd();
        Indent(Level);
        FOut += "end\n";
    }

    void Property(Integer Level) {
        Indent(Level);
        FOut += CheckedName(FReader.ReadStr()) + " = ";
        Value(Level);
        FOut += '\n';
    }

    void Value(Integer Level) {
        Nest(Level);
        TValueType Type = FReader.NextValue();
        switch (Type) {
        case vaList:
            return List(Level);
        case vaCollection:
            return Collection(Level);
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            FOut += IntToStr(FReader.ReadInt64());
            return;
        case vaExtended:
            FOut += FloatText(FReader.ReadFloat());
            return;
        case vaSingle:
            FOut += FloatText(FReader.ReadSingle()) + "s";
            return;
        case vaCurrency:
            FOut += CurrencyText(FReader.ReadCurrency()) + "c";
            return;
        case vaDate:
            FOut += FloatText(FReader.ReadDate()) + "d";
            return;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            return Text(FReader.ReadString(), Level);
        case vaBinary:
            return Binary(FReader.ReadBinary(), Level);
        case vaSet: {
            FOut += '[';
            String Separator;
            for (const String& Name : FReader.ReadSet()) {
                FOut += Separator + CheckedName(Name);
                Separator = ", ";
            }
            FOut += ']';
            return;
        }
        default: // identifiers, False, True, nil, Null
            FOut += CheckedName(FReader.ReadIdent());
            return;
        }
    }

    void List(Integer Level) {
        FReader.ReadListBegin();
        FOut += '(';
        while (!FReader.EndOfList()) {
            FOut += '\n';
            Indent(Level + 1);
            Value(Level + 1);
        }
        FReader.ReadListEnd();
        FOut += ')';
    }

    void Collection(Integer Level) {
        FReader.ReadValue();
        FOut += '<';
        while (!FReader.EndOfList()) {
            FOut += '\n';
            Indent(Level + 1);
            FOut += "item";
            if (IsIntegerValue(FReader.NextValue()))
                FOut += " [" + IntToStr(FReader.ReadInt64()) + "]";
            FOut += '\n';
            FReader.ReadListBegin();
            while (!FReader.EndOfList())
                Property(Level + 2);
            FReader.ReadListEnd();
            Indent(Level + 1);
            FOut += "end";
        }
        FReader.ReadListEnd();
        FOut += '>';
    }

    void Binary(const std::vector<Byte>& Data, Integer Level) {
        FOut += '{';
        for (size_t I = 0; I < Data.size(); I += BinaryBytesPerLine) {
            FOut += '\n';
            Indent(Level + 1);
            FOut += HexOf(Data, I, std::min(BinaryBytesPerLine, Data.size() - I));
        }
        FOut += '}';
    }

    // Quoted runs and "#n" characters, continued with "+" on the next line
    // once a line holds StringLineLength characters of the string.
    void Text(const String& S, Integer Level) {
        if (S.empty()) {
            FOut += "''";
            return;
        }
        size_t LineLength = 0;
        auto Break = [&] {
            FOut += " +\n";
            Indent(Level + 1);
            LineLength = 0;
        };
        for (size_t I = 0; I < S.size();) {
            auto C = static_cast<unsigned char>(S[I]);
            if (C < 32) {
                String Code = "#" + IntToStr(Integer(C));
                if (LineLength + Code.size() > StringLineLength)
                    Break();
                FOut += Code;
                LineLength += Code.size();
                ++I;
                continue;
            }
            if (LineLength >= StringLineLength)
                Break();
            // A quoted run up to the next control character or the line's end,
            // never splitting the bytes of one character.
            FOut += '\'';
            size_t Start = I;
            while (I < S.size() && static_cast<unsigned char>(S[I]) >= 32 &&
                   (LineLength + (I - Start) < StringLineLength ||
                    (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80)) {
                FOut += S[I];
                if (S[I] == '\'')
                    FOut += '\'';
                ++I;
            }
            FOut += '\'';
            LineLength += I - Start + 2;
        }
    }

    TReader FReader;
    String FOut;
};

// --- Text to binary ----------------------------------------------------------

enum TToken { toEOF, toSymbol, toString, toInteger, toFloat, toChar };

// The tokens of the text form, with the line and column each starts at.
class TFormLexer {
public:
    explicit TFormLexer(String Text) : FText(std::move(Text)) { Next(); }

    TToken Token() const noexcept { return FToken; }
    const String& TokenText() const noexcept { return FTokenText; } // symbol, number
    const String& TokenString() const noexcept { return FString; }  // decoded string
    char TokenChar() const noexcept { return FChar; }
    char FloatSuffix() const noexcept { return FSuffix; }
    // The token as written, when it is a symbol or a special float ("NAN").
    const String& SymbolText() const noexcept { return FSymbolText; }

    bool IsChar(char C) const { return FToken == toChar && FChar == C; }
    bool IsSymbol(const char* Name) const {
        return FToken == toSymbol && SameText(FTokenText, Name);
    }

    [[noreturn]] void Error(const String& Message) const {
        throw EParserError(Format("Line %d: %s (column %d)", FTokenLine, Message, FTokenColumn));
    }

    void Next() {
        SkipBlanks();
        FTokenLine = FLine;
        FTokenColumn = Column();
        FTokenText.clear();
        FSymbolText.clear();
        FString.clear();
        FSuffix = 0;
        if (FPos >= FText.size()) {
            FToken = toEOF;
            return;
        }
        char C = FText[FPos];
        if (C == '\'' || C == '#')
            return ReadString();
        if (IsLetter(C))
            return ReadSymbol();
        if (IsDigit(C) || C == '-' || C == '$')
            return ReadNumber();
        if (String("=:[]()<>{},+").find(C) == String::npos)
            Error(C > ' ' && C < 127 ? Format("Invalid character '%s'", String(1, C))
                                     : Format("Invalid character #%d", Integer(Byte(C))));
        FToken = toChar;
        FChar = C;
        ++FPos;
    }

    // The hexadecimal digits after "{" up to "}"; the next token follows it.
    std::vector<Byte> ReadBinary() {
        std::vector<Byte> Data;
        Integer High = -1;
        for (;; ++FPos) {
            SkipBlanks();
            if (FPos >= FText.size())
                Error("'}' expected");
            char C = FText[FPos];
            if (C == '}')
                break;
            Integer Digit = HexDigit(C);
            if (Digit < 0)
                Error("Invalid binary value");
            if (High < 0) {
                High = Digit;
            } else {
                Data.push_back(static_cast<Byte>(High << 4 | Digit));
                High = -1;
            }
        }
        if (High >= 0)
            Error("Invalid binary value");
        ++FPos;
        Next();
        return Data;
    }

    Int64 IntegerValue() const {
        Int64 Value = 0;
        bool Hex = FTokenText.find('$') != String::npos;
        String Digits = FTokenText;
        std::erase(Digits, '$');
        auto Result =
            std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value, Hex ? 16 : 10);
        if (Result.ec != std::errc() || Result.ptr != Digits.data() + Digits.size())
            Error(Format("Invalid integer %s", FTokenText));
        return Value;
    }

    template <class F> F FloatValue() const {
        if (FTokenText == "NAN")
            return std::numeric_limits<F>::quiet_NaN();
        if (FTokenText == "INF" || FTokenText == "-INF")
            return FTokenText[0] == '-' ? -std::numeric_limits<F>::infinity()
                                        : std::numeric_limits<F>::infinity();
        F Value = 0;
        auto Result =
            std::from_chars(FTokenText.data(), FTokenText.data() + FTokenText.size(), Value);
        if (Result.ec != std::errc() || Result.ptr != FTokenText.data() + FTokenText.size())
            Error(Format("Invalid floating point number %s", FTokenText));
        return Value;
    }

private:
    static bool IsLetter(char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_'; }
    static bool IsDigit(char C) { return C >= '0' && C <= '9'; }
    static bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }
    static Integer HexDigit(char C) {
        if (IsDigit(C))
            return C - '0';
        if (C >= 'A' && C <= 'F')
            return C - 'A' + 10;
        if (C >= 'a' && C <= 'f')
            return C - 'a' + 10;
        return -1;
    }

    Integer Column() const { return static_cast<Integer>(FPos - FLineStart) + 1; }

    void SkipBlanks() {
        while (FPos < FText.size() && IsBlank(FText[FPos])) {
            if (FText[FPos] == '\n') {
                ++FLine;
                FLineStart = FPos + 1;
            }
            ++FPos;
        }
    }

    void ReadSymbol() {
        size_t Start = FPos;
        while (FPos < FText.size() &&
               (IsLetter(FText[FPos]) || IsDigit(FText[FPos]) || FText[FPos] == '.'))
            ++FPos;
        FTokenText = FText.substr(Start, FPos - Start);
        FSymbolText = FTokenText;
        FToken = toSymbol;
        // The special floats, optionally with a type suffix.
        String Base = FTokenText.substr(0, 3);
        String Suffix = FTokenText.substr(std::min<size_t>(3, FTokenText.size()));
        if ((Base == "NAN" || Base == "INF") &&
            (Suffix.empty() ||
             (Suffix.size() == 1 && String("sScCdD").find(Suffix) != String::npos))) {
            FToken = toFloat;
            FTokenText = Base;
            FSuffix = Suffix.empty() ? 0 : static_cast<char>(std::tolower(Suffix[0]));
        }
    }

    void ReadNumber() {
        size_t Start = FPos;
        if (FText[FPos] == '-')
            ++FPos;
        if (FText.compare(FPos, 3, "INF") == 0) {
            ReadSymbol();
            FTokenText = "-" + FTokenText;
            FSymbolText = "-" + FSymbolText;
            if (FToken != toFloat)
                Error("Number expected");
            return;
        }
        bool Hex = FPos < FText.size() && FText[FPos] == '$';
        FPos += Hex ? 1 : 0;
        bool Float = false;
        auto Digits = [&] {
            size_t From = FPos;
            while (FPos < FText.size() && (Hex ? HexDigit(FText[FPos]) >= 0 : IsDigit(FText[FPos])))
                ++FPos;
            return FPos > From;
        };
        bool Any = Digits();
        if (!Hex && FPos < FText.size() && FText[FPos] == '.') {
            ++FPos;
            Float = true;
            Any = Digits() || Any;
        }
        if (!Any)
            Error("Number expected");
        if (!Hex && FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
            ++FPos;
            if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-'))
                ++FPos;
            if (!Digits())
                Error("Number expected");
            Float = true;
        }
        FTokenText = FText.substr(Start, FPos - Start);
        if (!Hex && FPos < FText.size() && String("sScCdD").find(FText[FPos]) != String::npos) {
            FSuffix = static_cast<char>(std::tolower(FText[FPos]));
            Float = true;
            ++FPos;
        }
        if (FPos < FText.size() && (IsLetter(FText[FPos]) || IsDigit(FText[FPos])))
            Error("Number expected");
        FToken = Float ? toFloat : toInteger;
    }

    // Quoted runs and "#n" characters without blanks between them.
    void ReadString() {
        FToken = toString;
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '#')
                ReadCharCode();
            else
                ReadQuoted();
        }
    }

    void ReadQuoted() {
        for (++FPos;; ++FPos) {
            if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
                Error("Unterminated string");
            if (FText[FPos] == '\'') {
                if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                    FString += '\'';
                    ++FPos;
                    continue;
                }
                ++FPos;
                return;
            }
            FString += FText[FPos];
        }
    }

    void ReadCharCode() {
        ++FPos;
        bool Hex = FPos < FText.size() && FText[FPos] == '$';
        FPos += Hex ? 1 : 0;
        UInt64 Code = 0;
        size_t From = FPos;
        while (FPos < FText.size() && (Hex ? HexDigit(FText[FPos]) >= 0 : IsDigit(FText[FPos])) &&
               Code <= 0x10FFFF) {
            Code = Code * (Hex ? 16 : 10) + static_cast<UInt64>(HexDigit(FText[FPos]));
            ++FPos;
        }
        if (FPos == From || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            Error("Invalid character code");
        AppendUtf8(FString, static_cast<char32_t>(Code));
    }

    String FText;
    size_t FPos = 0;
    Integer FLine = 1;
    size_t FLineStart = 0;
    Integer FTokenLine = 1;
    Integer FTokenColumn = 1;
    TToken FToken = toEOF;
    String FTokenText;
    String FSymbolText;
    String FString;
    char FChar = 0;
    char FSuffix = 0;
};

class TTextToBinary {
public:
    TTextToBinary(String Text, TStream* Output) : FLex(std::move(Text)), FWriter(Output) {}

    void Convert() {
        FWriter.WriteSignature();
        Object(0);
        if (FLex.Token() != toEOF)
            FLex.Error("End of file expected");
        FWriter.FlushBuffer();
    }

private:
    void Nest(Integer Depth) {
        if (Depth > MaxStreamNesting)
            FLex.Error("Nesting too deep");
    }

    bool IsObjectStart() const {
        return FLex.IsSymbol("object") || FLex.IsSymbol("inherited") || FLex.IsSymbol("inline");
    }

    void Expect(char C) {
        if (!FLex.IsChar(C))
            FLex.Error(Format("'%s' expected", String(1, C)));
        FLex.Next();
    }

    // A symbol that fits a short string; the next token follows.
    String Symbol() {
        String Result = FLex.SymbolText();
        if (Result.empty() || Result[0] == '-')
            FLex.Error("Identifier expected");
        if (Result.size() > 255)
            FLex.Error("Identifier too long");
        FLex.Next();
        return Result;
    }

    Int64 IntegerToken() {
        if (FLex.Token() != toInteger)
            FLex.Error("Integer expected");
        Int64 Value = FLex.IntegerValue();
        FLex.Next();
        return Value;
    }

    void Object(Integer Depth) {
        Nest(Depth);
        TFilerFlags Flags;
        if (FLex.IsSymbol("inherited"))
            Flags.Include(ffInherited);
        else if (FLex.IsSymbol("inline"))
            Flags.Include(ffInline);
        else if (!FLex.IsSymbol("object"))
            FLex.Error("'object' expected");
        FLex.Next();
        String Name = Symbol();
        String ClassName = Name;
        if (FLex.IsChar(':')) {
            FLex.Next();
            ClassName = Symbol();
        } else {
            Name.clear();
        }
        Int64 ChildPos = 0;
        if (FLex.IsChar('[')) {
            FLex.Next();
            ChildPos = IntegerToken();
            if (ChildPos < INT32_MIN || ChildPos > INT32_MAX)
                FLex.Error("Integer overflow");
            Expect(']');
            Flags.Include(ffChildPos);
        }
        FWriter.WritePrefix(Flags, static_cast<Integer>(ChildPos));
        FWriter.WriteStr(ClassName);
        FWriter.WriteStr(Name);
        while (!IsObjectStart() && !FLex.IsSymbol("end"))
            Property(Depth);
        FWriter.WriteListEnd();
        while (IsObjectStart())
            Object(Depth + 1);
        FWriter.WriteListEnd();
        if (!FLex.IsSymbol("end"))
            FLex.Error("'end' expected");
        FLex.Next();
    }

    void Property(Integer Depth) {
        FWriter.WriteStr(Symbol());
        Expect('=');
        Value(Depth + 1);
    }

    void Value(Integer Depth) {
        Nest(Depth);
        switch (FLex.Token()) {
        case toString:
            return Text();
        case toInteger:
            return FWriter.WriteInteger(IntegerToken());
        case toFloat:
            Float();
            return FLex.Next();
        case toSymbol:
            return FWriter.WriteIdent(Symbol());
        case toChar:
            break;
        default:
            FLex.Error("Value expected");
        }
        switch (FLex.TokenChar()) {
        case '[':
            return Set();
        case '(':
            return List(Depth);
        case '<':
            return Collection(Depth);
        case '{': {
            std::vector<Byte> Data = FLex.ReadBinary();
            if (Data.size() > INT32_MAX)
                FLex.Error("Binary value too large");
            return FWriter.WriteBinary(Data.data(), static_cast<Integer>(Data.size()));
        }
        default:
            FLex.Error("Value expected");
        }
    }

    void Text() {
        String S = FLex.TokenString();
        FLex.Next();
        while (FLex.IsChar('+')) {
            FLex.Next();
            if (FLex.Token() != toString)
                FLex.Error("String expected");
            S += FLex.TokenString();
            FLex.Next();
        }
        FWriter.WriteString(S);
    }

    void Float() {
        switch (FLex.FloatSuffix()) {
        case 's':
            return FWriter.WriteSingle(FLex.FloatValue<Single>());
        case 'd':
            return FWriter.WriteDate(FLex.FloatValue<Double>());
        case 'c': {
            Currency Value;
            if (!TryStrToCurr(FLex.TokenText(), Value))
                FLex.Error(Format("Invalid currency value %s", FLex.TokenText()));
            return FWriter.WriteCurrency(Value);
        }
        default:
            return FWriter.WriteFloat(FLex.FloatValue<Extended>());
        }
    }

    void Set() {
        FLex.Next();
        std::vector<String> Names;
        while (!FLex.IsChar(']')) {
            Names.push_back(Symbol());
            if (FLex.IsChar(','))
                FLex.Next();
            else if (!FLex.IsChar(']'))
                FLex.Error("',' or ']' expected");
        }
        FLex.Next();
        FWriter.WriteSet(Names);
    }

    void List(Integer Depth) {
        FLex.Next();
        FWriter.WriteListBegin();
        while (!FLex.IsChar(')'))
            Value(Depth + 1);
        FLex.Next();
        FWriter.WriteListEnd();
    }

    void Collection(Integer Depth) {
        FLex.Next();
        FWriter.WriteValue(vaCollection);
        while (!FLex.IsChar('>')) {
            if (!FLex.IsSymbol("item"))
                FLex.Error("'item' expected");
            FLex.Next();
            if (FLex.IsChar('[')) {
                FLex.Next();
                FWriter.WriteInteger(IntegerToken());
                Expect(']');
            }
            FWriter.WriteListBegin();
            while (!FLex.IsSymbol("end"))
                Property(Depth + 1);
            FLex.Next();
            FWriter.WriteListEnd();
        }
        FLex.Next();
        FWriter.WriteListEnd();
    }

    TFormLexer FLex;
    TWriter FWriter;
};

} // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
    String Text;
    {
        TBinaryToText Converter(Input);
        Text = Converter.Convert();
    }
    WriteText(Output, Text);
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
    TMemoryStream Binary;
    TTextToBinary(ReadRest(Input), &Binary).Convert();
    Binary.SaveToStream(Output);
}

void ObjectResourceToText(TStream* Input, TStream* Output, const String& ResName) {
    TResourceFile File;
    File.LoadFromStream(Input);
    TMemoryStream Binary;
    File.ReadRCData(ResName, Binary);
    ObjectBinaryToText(&Binary, Output);
}

bool IsBinaryForm(TStream* Stream) {
    Int64 Start = Stream->Position();
    char Head[4] = {};
    Integer N = Stream->Read(Head, 4);
    Stream->SetPosition(Start);
    return N == 4 && String(Head, 4) == "TPF0";
}

bool IsTextForm(TStream* Stream) {
    Int64 Start = Stream->Position();
    char Head[64];
    Integer N = Stream->Read(Head, sizeof Head);
    Stream->SetPosition(Start);
    String Text(Head, static_cast<size_t>(std::max(N, 0)));
    size_t First = Text.find_first_not_of(" \t\r\n");
    if (First == String::npos)
        return false;
    for (const char* Word : {"object", "inherited", "inline"}) {
        size_t Len = std::strlen(Word);
        if (SameText(Text.substr(First, Len), Word) && First + Len < Text.size() &&
            static_cast<unsigned char>(Text[First + Len]) <= ' ')
            return true;
    }
    return false;
}

} // namespace orlo
