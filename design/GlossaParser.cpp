#include "design/GlossaParser.h"

#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/Glossa.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /design/GlossaParser.cpp 1.0 10.12.26 04:20 orlo $");

constexpr Integer SnippetLength = 16;

TObject* OffsetObject(Integer Offset) {
    return reinterpret_cast<TObject*>(static_cast<intptr_t>(Offset));
}

bool IsWordStart(std::string_view Token) {
    const char C = Token.empty() ? '\0' : Token[0];
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

// Keywords after which a name in parentheses is still an expression.
bool IsExpressionKeyword(std::string_view Word) {
    static constexpr std::array<std::string_view, 14> Keywords = {
        "return",   "throw",  "case", "else", "do", "co_return", "co_yield",
        "co_await", "sizeof", "not",  "and",  "or", "xor",       "new"};
    return std::find(Keywords.begin(), Keywords.end(), Word) != Keywords.end();
}

bool IsEncodingPrefix(std::string_view Word) {
    static constexpr std::array<std::string_view, 9> Prefixes = {"u8",  "u",  "U",  "L", "R",
                                                                 "u8R", "uR", "UR", "LR"};
    return std::find(Prefixes.begin(), Prefixes.end(), Word) != Prefixes.end();
}

// The character a simple escape sequence stands for; nullopt for numeric and
// universal escapes.
std::optional<char> SimpleEscape(char C) {
    switch (C) {
    case '\\':
    case '"':
    case '\'':
    case '?':
        return C;
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    default:
        return std::nullopt;
    }
}

// The characters of an ordinary C literal between its quotes.
std::optional<String> UnescapeC(std::string_view Body) {
    String Result;
    for (size_t I = 0; I < Body.size(); ++I) {
        if (Body[I] != '\\') {
            Result += Body[I];
            continue;
        }
        if (++I >= Body.size())
            return std::nullopt;
        if (Body[I] == '\r' || Body[I] == '\n') { // a line continuation
            if (Body[I] == '\r' && I + 1 < Body.size() && Body[I + 1] == '\n')
                ++I;
            continue;
        }
        const auto Escaped = SimpleEscape(Body[I]);
        if (!Escaped)
            return std::nullopt;
        Result += *Escaped;
    }
    return Result;
}

// The characters of a raw literal between its quotes: delimiter "(" text ")" delimiter.
std::optional<String> RawContent(std::string_view Body) {
    const size_t Open = Body.find('(');
    if (Open == std::string_view::npos || Body.size() < 2 * Open + 2)
        return std::nullopt;
    const std::string_view Delimiter = Body.substr(0, Open);
    const std::string_view Close = Body.substr(Body.size() - Open - 1);
    if (Close[0] != ')' || Close.substr(1) != Delimiter)
        return std::nullopt;
    return String(Body.substr(Open + 1, Body.size() - 2 * Open - 2));
}

} // namespace

// The names of a list as its IndexOf compares them.
class TGlossaParser::TNameSet {
public:
    explicit TNameSet(const TStrings* List) {
        const auto* StringList = dynamic_cast<const TStringList*>(List);
        FCaseSensitive = StringList && StringList->CaseSensitive();
        for (Integer I = 0; List && I < List->Count(); ++I)
            FNames.insert(Key(List->Strings(I)));
    }
    bool Contains(const String& Name) const { return FNames.count(Key(Name)) != 0; }

private:
    String Key(const String& Name) const { return FCaseSensitive ? Name : LowerCase(Name); }

    bool FCaseSensitive;
    std::unordered_set<String> FNames;
};

ORLO_UNPUBLISHED(TGlossaParser, "GlossaParser")

TGlossaParser::TGlossaParser(const TGlossa* Glossa, const TStrings* StringNames, String Text,
                             TCodeType Language)
    : TGlossaParser(Glossa ? Glossa->Name() : String(), StringNames, std::move(Text), Language) {}

TGlossaParser::TGlossaParser(String ComponentName, const TStrings* StringNames, String Text,
                             TCodeType Language)
    : TSourceParser(std::move(Text)), FComponentName(std::move(ComponentName)),
      FStringNames(StringNames), FLanguage(Language),
      FInvalidCalls(std::make_unique<TStringList>()), FUsedNames(std::make_unique<TStringList>()),
      FUnusedNames(std::make_unique<TStringList>()),
      FUndefinedNames(std::make_unique<TStringList>()) {}

TGlossaParser::~TGlossaParser() = default;

Integer TGlossaParser::OffsetOf(const TStrings* List, Integer Index) {
    return static_cast<Integer>(reinterpret_cast<intptr_t>(List->Objects(Index)));
}

bool TGlossaParser::Check(bool QualifiedOnly) {
    for (TStringList* List :
         {FInvalidCalls.get(), FUsedNames.get(), FUnusedNames.get(), FUndefinedNames.get()})
        List->Clear();
    ParseLines(FLanguage);
    const bool Pascal = (FLanguage == ctAutoDetect ? CodeType() : FLanguage) == ctPascal;
    Integer To = static_cast<Integer>(Text().size()) - 1;
    if (Pascal) {
        const auto FinalEnd = FindFinalEnd();
        if (!FinalEnd)
            return false;
        To = *FinalEnd - 1;
    }
    const TNameSet Defined(FStringNames);
    for (Integer From = To >= 0 ? 0 : -1; From >= 0;) {
        auto Call =
            Pascal ? FindPascalCall(From, To, QualifiedOnly) : FindCCall(From, To, QualifiedOnly);
        if (!Call)
            break;
        const auto Argument = Pascal ? ReadPascalArgument(*Call, To) : ReadCArgument(*Call, To);
        if (Argument)
            AddUsedName(*Argument, Defined);
        else
            AddInvalidCall(*Call);
        From = Call->Next;
    }
    AddUnusedNames();
    return true;
}

// --- Pascal --------------------------------------------------------------------------

std::optional<TGlossaParser::TCall> TGlossaParser::FindPascalCall(Integer From, Integer To,
                                                                  bool QualifiedOnly) const {
    if (QualifiedOnly) {
        const auto Match = FindTokenSequence(From, To, {FComponentName, ".", "GetString"});
        if (!Match)
            return std::nullopt;
        const Integer NameEnd = Match->NextOffset >= 0 ? Match->NextOffset : To + 1;
        return TCall{Match->Start, NameEnd, -1, -1, Match->NextOffset};
    }
    for (;;) {
        const auto Match = FindToken(From, To, "GetString");
        if (!Match)
            return std::nullopt;
        const auto Before = PreviousSpan(Match->Start);
        const Integer NameEnd = Match->Start + 9;
        if (!Before || SpanText(*Before) != ".")
            return TCall{Match->Start, NameEnd, -1, -1, Match->NextOffset};
        if (Match->NextOffset < 0)
            return std::nullopt;
        From = Match->NextOffset;
    }
}

// "(" "'" "'" ")", the quotes those of one string literal.
std::optional<TGlossaParser::TArgument> TGlossaParser::ReadPascalArgument(TCall& Call,
                                                                          Integer To) const {
    std::array<TTokenSpan, 4> Tokens;
    static constexpr std::array<std::string_view, 4> Shape = {"(", "'", "'", ")"};
    for (size_t K = 0; K < Shape.size(); ++K) {
        const auto Token = Call.Next < 0 ? std::nullopt : NextSpan(Call.Next, To);
        if (!Token)
            return std::nullopt;
        Tokens[K] = *Token;
        Call.Next = Token->NextOffset;
        if (K == 0)
            Call.Following = Token->Start;
        if (K == 1 && SpanText(Tokens[0]) == "(")
            Call.ArgumentStart = Token->Start;
        if (SpanText(*Token) != Shape[K])
            return std::nullopt;
    }
    const auto Index = GetBlockIndex(btString, Tokens[1].Start);
    if (!Index)
        return std::nullopt;
    const TSourceCodeBlock* Block = Blocks().Items(*Index);
    if (!Block->Terminated() || Tokens[2].Start != Block->Offset() + Block->Length() - 1)
        return std::nullopt;
    const String Literal = Block->BlockText();
    return TArgument{PascalStringToString(Trim(Literal.substr(1, Literal.size() - 2))),
                     Block->Offset()};
}

// --- C and C++ ---------------------------------------------------------------------------

std::optional<TGlossaParser::TCall> TGlossaParser::FindCCall(Integer From, Integer To,
                                                             bool QualifiedOnly) const {
    while (From >= 0) {
        const auto Match = FindToken(From, To, "GetString", {fsCaseSensitive});
        if (!Match)
            return std::nullopt;
        const TTokenSpan GetString{Match->Start, 9, Match->NextOffset};
        const auto Open = Match->NextOffset < 0 ? std::nullopt : NextSpan(Match->NextOffset, To);
        const auto Start = CCallStart(GetString, QualifiedOnly);
        // A GetString that no "(" follows is named, not called.
        if (Open && SpanText(*Open) == "(" && Start)
            return TCall{*Start, Match->Start + 9, -1, -1, Match->NextOffset};
        From = Match->NextOffset;
    }
    return std::nullopt;
}

std::optional<Integer> TGlossaParser::CCallStart(const TTokenSpan& GetString,
                                                 bool QualifiedOnly) const {
    const auto Operator = AccessOperatorBefore(GetString.Start);
    if (!QualifiedOnly) {
        if (Operator || IsCDeclaration(GetString))
            return std::nullopt;
        return GetString.Start;
    }
    if (!Operator)
        return std::nullopt;
    const auto Object = PreviousSpan(*Operator);
    if (!Object || SpanText(*Object) != FComponentName)
        return std::nullopt;
    return Object->Start;
}

std::optional<Integer> TGlossaParser::AccessOperatorBefore(Integer Offset) const {
    const auto Before = PreviousSpan(Offset);
    if (!Before)
        return std::nullopt;
    if (SpanText(*Before) == ".")
        return Before->Start;
    if (SpanText(*Before) != ">")
        return std::nullopt;
    const auto Minus = PreviousSpan(Before->Start);
    if (!Minus || SpanText(*Minus) != "-" || Minus->Start != Before->Start - 1)
        return std::nullopt;
    return Minus->Start;
}

// "String GetString(const String& Name)": a type name before it.
bool TGlossaParser::IsCDeclaration(const TTokenSpan& GetString) const {
    const auto Before = PreviousSpan(GetString.Start);
    return Before && IsWordStart(SpanText(*Before)) && !IsExpressionKeyword(SpanText(*Before));
}

// "(" then one or more string literals, then ")".
std::optional<TGlossaParser::TArgument> TGlossaParser::ReadCArgument(TCall& Call,
                                                                     Integer To) const {
    auto Read = [&]() -> std::optional<TTokenSpan> {
        const auto Token = Call.Next < 0 ? std::nullopt : NextSpan(Call.Next, To);
        if (Token)
            Call.Next = Token->NextOffset;
        return Token;
    };
    const auto Open = Read();
    Call.Following = Open->Start;
    std::optional<TArgument> Argument;
    for (;;) {
        const auto Token = Read();
        if (!Token)
            return std::nullopt;
        if (!Argument)
            Call.ArgumentStart = Token->Start;
        if (SpanText(*Token) == ")")
            return Argument;
        const std::string_view Word = SpanText(*Token);
        const bool Prefixed = IsEncodingPrefix(Word);
        const Integer Quote = Prefixed ? Token->Start + Token->Length : Token->Start;
        if (Quote >= static_cast<Integer>(Text().size()) || Text()[Quote] != '"' ||
            (!Prefixed && Word != "\""))
            return std::nullopt;
        const auto Literal = ReadCLiteral(Quote, Prefixed && Word.back() == 'R');
        if (!Literal)
            return std::nullopt;
        const TSourceCodeBlock* Block = Blocks().Items(*GetBlockIndex(btString, Quote));
        const Integer After = Block->Offset() + Block->Length();
        Call.Next = After <= To ? After : -1;
        if (Argument)
            Argument->Name += *Literal;
        else
            Argument = TArgument{*Literal, Token->Start};
    }
}

std::optional<String> TGlossaParser::ReadCLiteral(Integer Offset, bool Raw) const {
    const auto Index = GetBlockIndex(btString, Offset);
    if (!Index)
        return std::nullopt;
    const TSourceCodeBlock* Block = Blocks().Items(*Index);
    if (!Block->Terminated() || Block->Length() < 2)
        return std::nullopt;
    const std::string_view Body =
        std::string_view(Text()).substr(Block->Offset() + 1, Block->Length() - 2);
    return Raw ? RawContent(Body) : UnescapeC(Body);
}

// --- The lists -----------------------------------------------------------------------------

// From the start of the call to 16 characters past the token after GetString,
// cut at the first line break.
void TGlossaParser::AddInvalidCall(const TCall& Call) {
    const Integer Until = Call.Following >= 0 ? Call.Following + SnippetLength : Call.NameEnd;
    String Snippet = Text().substr(Call.Start, Until - Call.Start) + "...";
    const size_t Break = Snippet.find_first_of("\r\n");
    if (Break != String::npos)
        Snippet.erase(Break);
    FInvalidCalls->AddObject(Snippet, OffsetObject(std::max(Call.Start, Call.ArgumentStart)));
}

void TGlossaParser::AddUsedName(const TArgument& Argument, const TNameSet& Defined) {
    const String Name = Trim(Argument.Name);
    FUsedNames->AddObject(Name, OffsetObject(Argument.Offset));
    if (!Defined.Contains(Name))
        FUndefinedNames->AddObject(Name, OffsetObject(Argument.Offset));
}

void TGlossaParser::AddUnusedNames() {
    if (!FStringNames)
        return;
    const TNameSet Used(FUsedNames.get());
    for (Integer I = 0; I < FStringNames->Count(); ++I)
        if (!Used.Contains(FStringNames->Strings(I)))
            FUnusedNames->Add(FStringNames->Strings(I));
}

} // namespace orlo
