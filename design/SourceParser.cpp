#include "design/SourceParser.h"

#include "platform/classes/Lists.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <array>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /design/SourceParser.cpp 1.0 10.12.26 04:10 orlo $");

bool IsDigit(char C) noexcept {
    return C >= '0' && C <= '9';
}
bool IsLetter(char C) noexcept {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}
bool IsWordChar(char C) noexcept {
    return IsLetter(C) || IsDigit(C);
}
bool IsControlOrBlank(char C) noexcept {
    return static_cast<unsigned char>(C) <= 32;
}

char FoldCase(char C) noexcept {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C;
}

bool SameChars(std::string_view A, std::string_view B, bool CaseSensitive) noexcept {
    if (A.size() != B.size())
        return false;
    if (CaseSensitive)
        return A == B;
    for (size_t I = 0; I < A.size(); ++I)
        if (FoldCase(A[I]) != FoldCase(B[I]))
            return false;
    return true;
}

bool SameToken(std::string_view A, std::string_view B) noexcept {
    return SameChars(A, B, false);
}

// Length of the line break at Offset: 2 for CR LF, 1 for LF or CR, else 0.
Integer BreakLengthAt(const String& Text, size_t Offset) noexcept {
    if (Offset >= Text.size())
        return 0;
    if (Text[Offset] == '\r')
        return Offset + 1 < Text.size() && Text[Offset + 1] == '\n' ? 2 : 1;
    return Text[Offset] == '\n' ? 1 : 0;
}

// The clipped, directed range of a search: both bounds within the text.
struct TSearchRange {
    Integer From;
    Integer To;
    bool Backwards;

    bool Contains(Integer X) const noexcept { return Backwards ? X >= To : X <= To; }
    Integer Step() const noexcept { return Backwards ? -1 : 1; }
    Integer NextOrNone(Integer X) const noexcept { return Contains(X) ? X : -1; }
};

std::optional<TSearchRange> ClipRange(Integer From, Integer To, Integer Length) noexcept {
    const Integer Last = Length - 1;
    if (Last < 0)
        return std::nullopt;
    if (From < 0)
        From = Last;
    if (To < 0)
        To = Last;
    if (From > Last && To > Last)
        return std::nullopt;
    return TSearchRange{std::min(From, Last), std::min(To, Last), From > To};
}

} // namespace

ORLO_UNPUBLISHED(TSourceParser, "SourceParser")

// --- Blocks ------------------------------------------------------------------------

String TSourceCodeBlock::BlockText() const {
    const String& Text = FParser->Text();
    if (FOffset >= static_cast<Integer>(Text.size()))
        return {};
    return Text.substr(FOffset, FLength);
}

TSourceCodeBlock* TSourceCodeBlocks::Items(Integer Index) const {
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[Index].get();
}

TSourceCodeBlock* TSourceCodeBlocks::Add(const TSourceCodeBlock& Block) {
    FItems.push_back(std::make_unique<TSourceCodeBlock>(Block));
    return FItems.back().get();
}

Integer TSourceCodeBlocks::IndexOfOffset(Integer Offset) const {
    // Blocks never overlap, so their offsets ascend.
    auto It = std::lower_bound(FItems.begin(), FItems.end(), Offset,
                               [](const auto& Block, Integer X) { return Block->Offset() < X; });
    if (It == FItems.end() || (*It)->Offset() != Offset)
        return -1;
    return static_cast<Integer>(It - FItems.begin());
}

// --- The scanner -------------------------------------------------------------------

// Classifies the characters of the text line by line; its state carries over
// line breaks.
class TSourceParser::TScanner {
public:
    TScanner(TSourceParser& Parser, TCodeType Type)
        : FParser(Parser), FText(Parser.FText), FMask(Parser.FMask), FPascal(Type == ctPascal),
          FCpp(Type == ctCpp), FCommentOpener(FPascal ? '(' : '/'),
          FCommentCloser(FPascal ? ')' : '/') {}

    void Run();

private:
    enum TState {
        sCode,
        sLineComment,
        sString,
        sQuoteSeen,
        sEscape,
        sAfterOpener,
        sBlockComment,
        sStarSeen,
        sBraceComment,
        sRawDelimiter,
        sRawBody
    };
    struct TOpenBlock {
        TBlockType Type;
        Integer Line;
        Integer Column;
        Integer Offset;
        Integer Length;
        Integer LastChar; // the last character (not line break) it covers so far
    };

    void ScanLine(Integer Start, Integer End);
    void Step(Integer I);
    void StepCode(Integer I);
    void StepString(Integer I);
    void StepRawDelimiter(Integer I);
    void StepRawBody(Integer I);
    void EndOfLine(Integer LastChar, Integer BreakLength, bool LastLine);
    void CloseAtEndOfText();
    void CloseAtLastChar(char Mask, bool Terminated);

    bool IsStringDelimiter(char C) const noexcept { return C == '\'' || (!FPascal && C == '"'); }
    bool IsDigitSeparator(Integer I) const noexcept;
    bool HasRawPrefix(Integer I) const noexcept;
    void TrackNumber(Integer I) noexcept;

    void Start(TBlockType Type, Integer Offset, Integer Length);
    void Extend(Integer I, char Mask);
    void End(bool Terminated);

    TSourceParser& FParser;
    const String& FText;
    String& FMask;
    const bool FPascal;
    const bool FCpp;
    const char FCommentOpener;
    const char FCommentCloser;

    TState FState = sCode;
    char FDelimiter = 0;
    Integer FOpenerAt = -1;
    std::optional<TOpenBlock> FOpen;
    Integer FLine = 0;
    Integer FLineStart = 0;
    Integer FLineEnd = 0;
    bool FInNumber = false;
    String FRawClosing; // ")" and the raw literal's delimiter
    Integer FRawBodyStart = 0;
};

void TSourceParser::TScanner::Run() {
    FMask.assign(FText.size(), mask::Code);
    const Integer Length = static_cast<Integer>(FText.size());
    Integer Start = 0;
    for (;;) {
        Integer End = Start;
        while (End < Length && FText[End] != '\r' && FText[End] != '\n')
            ++End;
        const Integer Break = BreakLengthAt(FText, End);
        for (Integer I = End; I < End + Break; ++I)
            FMask[I] = FText[I]; // the mask keeps the text's line breaks
        const bool LastLine = End + Break >= Length;
        ScanLine(Start, End);
        EndOfLine(End > Start ? End - 1 : -1, Break, LastLine);
        if (LastLine)
            break;
        Start = End + Break;
        ++FLine;
    }
    CloseAtEndOfText();
}

void TSourceParser::TScanner::ScanLine(Integer Start, Integer End) {
    FLineStart = Start;
    FLineEnd = End;
    for (Integer I = Start; I < End; ++I)
        Step(I);
}

void TSourceParser::TScanner::Step(Integer I) {
    const char C = FText[I];
    switch (FState) {
    case sCode:
        StepCode(I);
        break;
    case sLineComment:
        Extend(I, mask::CommentInside);
        break;
    case sString:
        StepString(I);
        break;
    case sQuoteSeen:
        if (C == FDelimiter) {
            Extend(I, mask::StringInside);
            FState = sString;
        } else {
            // The quote before closed the literal; this character is code again.
            FMask[I - 1] = mask::StringClose;
            End(true);
            StepCode(I);
        }
        break;
    case sEscape:
        Extend(I, mask::StringInside);
        FState = sString;
        break;
    case sAfterOpener:
        if (C == '*') {
            FMask[FOpenerAt] = mask::CommentOpen;
            Start(btComment, FOpenerAt, 1);
            Extend(I, mask::CommentInside);
            FState = sBlockComment;
        } else {
            StepCode(I);
        }
        break;
    case sBlockComment:
        Extend(I, mask::CommentInside);
        if (C == '*')
            FState = sStarSeen;
        break;
    case sStarSeen:
        if (C == FCommentCloser) {
            Extend(I, mask::CommentClose);
            End(true);
        } else {
            Extend(I, mask::CommentInside);
            if (C != '*')
                FState = sBlockComment;
        }
        break;
    case sBraceComment:
        if (C == '}') {
            Extend(I, mask::CommentClose);
            End(true);
        } else {
            Extend(I, mask::CommentInside);
        }
        break;
    case sRawDelimiter:
        StepRawDelimiter(I);
        break;
    case sRawBody:
        StepRawBody(I);
        break;
    }
}

void TSourceParser::TScanner::StepCode(Integer I) {
    FState = sCode;
    const char C = FText[I];
    if (FCpp) {
        if (IsDigitSeparator(I))
            return;
        TrackNumber(I);
    }
    if (IsStringDelimiter(C)) {
        FDelimiter = C;
        FMask[I] = mask::StringOpen;
        const bool Raw = FCpp && C == '"' && HasRawPrefix(I);
        Start(btString, I, 1);
        FState = Raw ? sRawDelimiter : sString;
        FRawClosing.assign(1, ')');
    } else if (C == '/' && I + 1 < FLineEnd && FText[I + 1] == '/') {
        FMask[I] = mask::CommentOpen;
        Start(btComment, I, 1);
        FState = sLineComment;
    } else if (C == FCommentOpener) {
        FOpenerAt = I;
        FState = sAfterOpener;
    } else if (FPascal && C == '{') {
        FMask[I] = mask::CommentOpen;
        Start(btComment, I, 1);
        FState = sBraceComment;
    }
}

void TSourceParser::TScanner::StepString(Integer I) {
    const char C = FText[I];
    if (FPascal) {
        Extend(I, mask::StringInside);
        if (C == FDelimiter)
            FState = sQuoteSeen;
    } else if (C == FDelimiter) {
        Extend(I, mask::StringClose);
        End(true);
    } else {
        Extend(I, mask::StringInside);
        if (C == '\\')
            FState = sEscape;
    }
}

// Up to 16 characters between the quote and "(": anything else makes an
// ordinary literal of it.
void TSourceParser::TScanner::StepRawDelimiter(Integer I) {
    const char C = FText[I];
    if (C == '(') {
        Extend(I, mask::StringInside);
        FRawBodyStart = I + 1;
        FState = sRawBody;
        return;
    }
    if (IsControlOrBlank(C) || C == ')' || C == '\\' || C == '"' || FRawClosing.size() > 16) {
        FState = sString;
        StepString(I);
        return;
    }
    Extend(I, mask::StringInside);
    FRawClosing += C;
}

void TSourceParser::TScanner::StepRawBody(Integer I) {
    const auto Closing = static_cast<Integer>(FRawClosing.size());
    if (FText[I] == '"' && I - FRawBodyStart >= Closing &&
        FText.compare(I - Closing, Closing, FRawClosing) == 0) {
        Extend(I, mask::StringClose);
        End(true);
    } else {
        Extend(I, mask::StringInside);
    }
}

void TSourceParser::TScanner::EndOfLine(Integer LastChar, Integer BreakLength, bool LastLine) {
    switch (FState) {
    case sLineComment:
        if (FCpp && LastChar >= 0 && FText[LastChar] == '\\' && !LastLine)
            break; // spliced with the next line
        CloseAtLastChar(mask::CommentClose, true);
        break;
    case sAfterOpener:
        FState = sCode;
        break;
    case sString:
    case sQuoteSeen:
    case sRawDelimiter:
        // A literal continued onto an empty line ends where it was continued.
        CloseAtLastChar(mask::StringClose, FState == sQuoteSeen);
        break;
    case sEscape:
        FMask[LastChar] = mask::StringContinued;
        FState = sString;
        break;
    case sStarSeen:
        FState = sBlockComment;
        break;
    case sCode:
        FInNumber = false;
        break;
    case sBlockComment:
    case sBraceComment:
    case sRawBody:
        break;
    }
    if (FOpen && !LastLine)
        FOpen->Length += BreakLength;
}

// An unterminated literal or comment ends with the text.
void TSourceParser::TScanner::CloseAtEndOfText() {
    if (FOpen)
        CloseAtLastChar(FOpen->Type == btString ? mask::StringClose : mask::CommentClose, false);
}

// Ends the open block on the last character it covers, line breaks after it left out.
void TSourceParser::TScanner::CloseAtLastChar(char Mask, bool Terminated) {
    FMask[FOpen->LastChar] = Mask;
    FOpen->Length = FOpen->LastChar - FOpen->Offset + 1;
    End(Terminated);
}

// C++: the "'" in 1'000 separates digits; it opens no character literal.
bool TSourceParser::TScanner::IsDigitSeparator(Integer I) const noexcept {
    return FInNumber && FText[I] == '\'' && I + 1 < FLineEnd && IsWordChar(FText[I + 1]);
}

// A number runs from a digit that ends no identifier over letters, digits, "."
// and the sign after an exponent.
void TSourceParser::TScanner::TrackNumber(Integer I) noexcept {
    const char C = FText[I];
    const char Before = I > FLineStart ? FText[I - 1] : ' ';
    if (FInNumber) {
        const bool Sign =
            (C == '+' || C == '-') && (FoldCase(Before) == 'e' || FoldCase(Before) == 'p');
        FInNumber = IsWordChar(C) || C == '.' || Sign;
    } else {
        FInNumber = IsDigit(C) && !IsWordChar(Before);
    }
}

// R, u8R, uR, UR or LR right before the quote.
bool TSourceParser::TScanner::HasRawPrefix(Integer I) const noexcept {
    Integer Begin = I;
    while (Begin > FLineStart && IsWordChar(FText[Begin - 1]) && I - Begin < 4)
        --Begin;
    if (Begin > FLineStart && IsWordChar(FText[Begin - 1]))
        return false;
    const std::string_view Prefix = std::string_view(FText).substr(Begin, I - Begin);
    return Prefix == "R" || Prefix == "u8R" || Prefix == "uR" || Prefix == "UR" || Prefix == "LR";
}

void TSourceParser::TScanner::Start(TBlockType Type, Integer Offset, Integer Length) {
    FOpen = TOpenBlock{Type, FLine, Offset - FLineStart + 1, Offset, Length, Offset + Length - 1};
}

void TSourceParser::TScanner::Extend(Integer I, char Mask) {
    FMask[I] = Mask;
    FOpen->Length += 1;
    FOpen->LastChar = I;
}

void TSourceParser::TScanner::End(bool Terminated) {
    if (!FOpen)
        throw Exception("Internal parse engine error: Invalid block information");
    const TOpenBlock& B = *FOpen;
    FParser.FBlocks.Add(
        TSourceCodeBlock(&FParser, B.Type, B.Line, B.Column, B.Offset, B.Length, Terminated));
    FOpen.reset();
    FState = sCode;
}

// --- TSourceParser -----------------------------------------------------------------

TSourceParser::TSourceParser(String Text) : FText(std::move(Text)), FCodeType(DetectCodeType()) {}

TSourceParser::~TSourceParser() = default;

TCodeType TSourceParser::DetectCodeType() const {
    size_t First = 0;
    while (First < FText.size() && IsControlOrBlank(FText[First]))
        ++First;
    const String Head = UpperCase(FText.substr(First, 7));
    for (const char* Word : {"UNIT", "PROGRAM"})
        if (Head.starts_with(Word))
            return ctPascal;
    for (const char* Word : {"#", "INT", "VOID"})
        if (Head.starts_with(Word))
            return ctC;
    return ctUnknown;
}

void TSourceParser::ParseLines(TCodeType Type) {
    if (Type == ctAutoDetect)
        Type = FCodeType;
    if (Type != ctPascal && Type != ctC && Type != ctCpp)
        throw Exception(ClassName() + ".ParseLines: Invalid CodeType");
    FBlocks.Clear();
    TScanner(*this, Type).Run();
}

std::optional<Integer> TSourceParser::GetBlockIndex(TBlockType Type, Integer Offset) const {
    const Integer Index = FBlocks.IndexOfOffset(Offset);
    if (Index < 0 || FBlocks.Items(Index)->Type() != Type)
        return std::nullopt;
    return Index;
}

char TSourceParser::MaskAt(Integer Offset) const noexcept {
    return Offset >= 0 && Offset < static_cast<Integer>(FMask.size()) ? FMask[Offset] : mask::Code;
}

// Literal contents and comments; the quotes of a literal are not skipped.
bool TSourceParser::IsSkipped(Integer Offset) const noexcept {
    if (IsControlOrBlank(FText[Offset]))
        return true;
    const char M = MaskAt(Offset);
    return M == mask::StringContinued || M == mask::CommentInside || M == mask::StringInside ||
           M == mask::CommentOpen || M == mask::CommentClose;
}

bool TSourceParser::IsMasked(Integer Offset) const noexcept {
    const char M = MaskAt(Offset);
    return M == mask::StringOpen || M == mask::StringClose || M == mask::StringContinued ||
           M == mask::CommentInside || M == mask::StringInside || M == mask::CommentOpen ||
           M == mask::CommentClose;
}

std::optional<TSourceParser::TTokenSpan> TSourceParser::NextSpan(Integer From, Integer To) const {
    const auto Range = ClipRange(From, To, static_cast<Integer>(FText.size()));
    if (!Range)
        return std::nullopt;
    const Integer Step = Range->Step();
    Integer I = Range->From;
    while (Range->Contains(I) && IsSkipped(I))
        I += Step;
    if (!Range->Contains(I))
        return std::nullopt;

    Integer Start = I;
    Integer Stop = I; // the last character read, in scan direction
    if (IsWordChar(FText[I])) {
        const bool Number = IsDigit(FText[I]);
        auto Continues = [&](Integer J) {
            if (!Range->Contains(J) || !IsWordChar(FText[J]))
                return false;
            const char M = MaskAt(J);
            if (M == mask::CommentInside || M == mask::CommentOpen || M == mask::CommentClose)
                return false;
            return Range->Backwards || !Number || IsDigit(FText[J]);
        };
        while (Continues(Stop + Step))
            Stop += Step;
        if (Range->Backwards) {
            // The word is what a forward scan would give at its end: leading
            // digits before a letter form a token of their own.
            Start = Stop;
            Integer Letter = Stop;
            while (Letter <= I && IsDigit(FText[Letter]))
                ++Letter;
            if (Letter <= I)
                Start = Letter;
        }
    }
    if (Range->Backwards) {
        const Integer End = I;
        return TTokenSpan{Start, End - Start + 1, Range->NextOrNone(Start - 1)};
    }
    return TTokenSpan{Start, Stop - Start + 1, Range->NextOrNone(Stop + 1)};
}

std::optional<TSourceParser::TTokenSpan> TSourceParser::PreviousSpan(Integer Offset) const {
    if (Offset <= 0)
        return std::nullopt;
    return NextSpan(Offset - 1, 0);
}

std::optional<TSourceToken> TSourceParser::FindNextToken(Integer From, Integer To) const {
    const auto Span = NextSpan(From, To);
    if (!Span)
        return std::nullopt;
    return TSourceToken{String(SpanText(*Span)), Span->Start, Span->NextOffset};
}

std::optional<TSourceMatch> TSourceParser::FindToken(Integer From, Integer To, const String& Token,
                                                     TFindSymbolOptions Options) const {
    if (Token.empty())
        return std::nullopt;
    const bool CaseSensitive = Options.Contains(fsCaseSensitive);
    for (;;) {
        const auto Span = NextSpan(From, To);
        if (!Span)
            return std::nullopt;
        if (SameChars(SpanText(*Span), Token, CaseSensitive))
            return TSourceMatch{Span->Start, Span->NextOffset};
        if (Span->NextOffset < 0)
            return std::nullopt;
        From = Span->NextOffset;
    }
}

std::optional<TSourceMatch> TSourceParser::FindTokenSequence(Integer From, Integer To,
                                                             const std::vector<String>& Tokens,
                                                             TFindSymbolOptions Options) const {
    if (Tokens.empty())
        return std::nullopt;
    const bool CaseSensitive = Options.Contains(fsCaseSensitive);
    for (;;) {
        const auto First = FindToken(From, To, Tokens[0], Options);
        if (!First)
            return std::nullopt;
        Integer Next = First->NextOffset;
        bool Matches = true;
        for (size_t K = 1; K < Tokens.size() && Matches; ++K) {
            const auto Span = Next < 0 ? std::nullopt : NextSpan(Next, To);
            Matches = Span && SameChars(SpanText(*Span), Tokens[K], CaseSensitive);
            if (Matches)
                Next = Span->NextOffset;
        }
        if (Matches)
            return TSourceMatch{First->Start, Next};
        if (First->NextOffset < 0)
            return std::nullopt;
        From = First->NextOffset;
    }
}

bool TSourceParser::SymbolBoundsHold(Integer P, Integer L, TFindSymbolOptions Options) const {
    if (P > 0) {
        const char Before = FText[P - 1];
        if (Options.Contains(fsControlCharBefore)) {
            if (!IsControlOrBlank(Before))
                return false;
        } else if (Options.Contains(fsNoIdentifierBefore) && IsWordChar(Before)) {
            return false;
        }
    }
    if (P + L < static_cast<Integer>(FText.size())) {
        const char After = FText[P + L];
        if (Options.Contains(fsControlCharAfter)) {
            if (!IsControlOrBlank(After))
                return false;
        } else if (Options.Contains(fsNoIdentifierAfter) && IsWordChar(After)) {
            return false;
        }
    }
    return true;
}

std::optional<TSourceMatch> TSourceParser::FindSymbol(Integer From, Integer To,
                                                      const String& Symbol,
                                                      TFindSymbolOptions Options) const {
    const auto L = static_cast<Integer>(Symbol.size());
    const auto Range = ClipRange(From, To, static_cast<Integer>(FText.size()));
    if (L == 0 || !Range)
        return std::nullopt;
    const bool CaseSensitive = Options.Contains(fsCaseSensitive);
    const Integer First = Range->Backwards ? Range->From - (L - 1) : Range->From;
    const Integer Last = Range->Backwards ? Range->To : Range->To - (L - 1);
    for (Integer P = First; Range->Backwards ? P >= Last : P <= Last; P += Range->Step()) {
        if (IsMasked(P) || !SymbolBoundsHold(P, L, Options) ||
            !SameChars(std::string_view(FText).substr(P, L), Symbol, CaseSensitive))
            continue;
        const Integer Next = Range->Backwards ? P - 1 : P + L;
        return TSourceMatch{P, Range->NextOrNone(Next)};
    }
    return std::nullopt;
}

Integer TSourceParser::GetNextOffset(Integer A, Integer B, Integer X) noexcept {
    return X >= std::min(A, B) && X <= std::max(A, B) ? X : -1;
}

void TSourceParser::ReplaceBlockText(Integer Index, const String& NewText) {
    ReplaceBlockTextEx(Index, NewText, FText);
    FLineStarts.clear();
}

void TSourceParser::ReplaceBlockTextEx(Integer Index, const String& NewText, String& S) const {
    const TSourceCodeBlock* Block = FBlocks.Items(Index);
    const auto Offset = std::min<size_t>(Block->Offset(), S.size());
    S.replace(Offset, std::min<size_t>(Block->Length(), S.size() - Offset), NewText);
}

TTextPosition TSourceParser::PositionOf(Integer Offset) const {
    if (FLineStarts.empty()) {
        FLineStarts.push_back(0);
        for (size_t I = 0; I < FText.size(); ++I)
            if (const Integer Break = BreakLengthAt(FText, I)) {
                I += Break - 1;
                FLineStarts.push_back(static_cast<Integer>(I + 1));
            }
    }
    Offset = std::clamp<Integer>(Offset, 0, static_cast<Integer>(FText.size()));
    const auto Line = std::upper_bound(FLineStarts.begin(), FLineStarts.end(), Offset) - 1;
    return TTextPosition{static_cast<Integer>(Line - FLineStarts.begin()) + 1, Offset - *Line + 1};
}

// --- Pascal structure ----------------------------------------------------------------

std::optional<Integer> TSourceParser::FindFinalEnd() const {
    const auto Match = FindTokenSequence(0, -1, {"end", "."});
    if (!Match)
        return std::nullopt;
    return Match->Start;
}

std::optional<bool> TSourceParser::Pas_IsBeginToken(const String& PrevToken, const String& Token,
                                                    Integer From, Integer To) const {
    if (Token.size() < 3 || Token.size() > 9)
        return false;
    static constexpr std::array<std::string_view, 8> Openers = {
        "begin", "asm", "try", "case", "record", "object", "class", "interface"};
    const auto Opener = std::find_if(Openers.begin(), Openers.end(),
                                     [&](std::string_view W) { return SameToken(W, Token); });
    if (Opener == Openers.end())
        return false;
    if (*Opener == "object")
        return !SameToken(PrevToken, "of");
    if (*Opener == "class" || *Opener == "interface") {
        if (PrevToken != "=")
            return false;
        return Pas_CheckClassOrInterfaceToken(From, To);
    }
    return true;
}

std::optional<bool> TSourceParser::Pas_CheckClassOrInterfaceToken(Integer From, Integer To) const {
    auto Next = [&](Integer Offset) { return Offset < 0 ? std::nullopt : NextSpan(Offset, To); };
    auto Token = Next(From);
    if (!Token)
        return std::nullopt;
    if (SpanText(*Token) == "(") {
        do
            Token = Next(Token->NextOffset);
        while (Token && SpanText(*Token) != ")");
        if (Token)
            Token = Next(Token->NextOffset);
        if (!Token)
            return std::nullopt;
        return SpanText(*Token) != ";";
    }
    return SpanText(*Token) != ";" && !SameToken(SpanText(*Token), "of");
}

std::optional<TMainProgram> TSourceParser::Pas_HasUnitMainProgram() const {
    const auto FinalEnd = FindFinalEnd();
    if (!FinalEnd)
        return std::nullopt;
    const Integer End = *FinalEnd - 1;
    Integer Depth = 0;
    Integer MainBegin = -1;
    String Prev;
    for (Integer From = End >= 0 ? 0 : -1; From >= 0;) {
        const auto Token = NextSpan(From, End);
        if (!Token)
            break;
        const String Text(SpanText(*Token));
        if (SameToken(Text, "end")) {
            --Depth;
        } else {
            const auto Opens = Pas_IsBeginToken(Prev, Text, Token->NextOffset, End);
            if (!Opens)
                return std::nullopt;
            if (*Opens) {
                if (Depth == 0)
                    MainBegin = Token->Start + Token->Length;
                ++Depth;
            }
        }
        Prev = Text;
        From = Token->NextOffset;
    }
    if (Depth > 1)
        return std::nullopt;
    if (Depth == 1)
        return TMainProgram{true, MainBegin};
    return TMainProgram{false, -1};
}

// The line break the text uses; CR LF for a text of one line.
String TSourceParser::LineBreak() const {
    const size_t At = FText.find_first_of("\r\n");
    if (At == String::npos)
        return "\r\n";
    return FText.substr(At, BreakLengthAt(FText, At));
}

// After "program" Name ";" when the text is a program (-1 when that shape is
// missing); 0 for any other text.
Integer TSourceParser::ProgramAnchor(Integer Last) const {
    const auto Program = NextSpan(0, Last);
    if (!Program || !SameToken(SpanText(*Program), "program"))
        return 0;
    const auto Name = Program->NextOffset < 0 ? std::nullopt : NextSpan(Program->NextOffset, Last);
    if (!Name || Name->NextOffset < 0)
        return -1;
    const auto Semicolon = NextSpan(Name->NextOffset, Last);
    if (!Semicolon || SpanText(*Semicolon) != ";")
        return -1;
    return Semicolon->Start + 1;
}

TSourceParser::TUsesClause TSourceParser::FindUsesClause(const String& UnitName, Integer Last,
                                                         Integer ImplAnchor, bool Sectioned,
                                                         bool InInterface) const {
    TUsesClause Clause;
    for (Integer From = 0; From >= 0;) {
        const auto Uses = FindToken(From, Last, "uses");
        if (!Uses)
            break;
        From = Uses->NextOffset;
        const bool InSection =
            !Sectioned || (InInterface ? Uses->Start < ImplAnchor : Uses->Start >= ImplAnchor);
        if (!InSection)
            continue;
        Clause.InsertAt = Uses->Start + 4;
        for (Integer Next = Uses->NextOffset; Next >= 0;) {
            const auto Name = NextSpan(Next, Last);
            if (!Name || SpanText(*Name) == ";")
                break;
            if (SameToken(SpanText(*Name), UnitName)) {
                Clause.Listed = true;
                break;
            }
            Next = Name->NextOffset;
        }
        break;
    }
    return Clause;
}

void TSourceParser::InsertTrimmed(Integer At, const String& Insertion) {
    Integer Begin = At;
    Integer End = At;
    while (Begin > 0 && IsControlOrBlank(FText[Begin - 1]))
        --Begin;
    while (End < static_cast<Integer>(FText.size()) && IsControlOrBlank(FText[End]))
        ++End;
    FText.replace(Begin, End - Begin, Insertion);
    FLineStarts.clear();
}

std::optional<bool> TSourceParser::Pas_UseUnit(const String& UnitName, bool InInterface) {
    const String Name = Trim(UnitName);
    const auto FinalEnd = FindFinalEnd();
    if (!FinalEnd || Name.empty() || *FinalEnd == 0)
        return std::nullopt;
    const Integer Last = *FinalEnd - 1;

    const auto Interface =
        FindSymbol(0, Last, "interface", {fsControlCharBefore, fsControlCharAfter});
    const auto Implementation = FindToken(0, Last, "implementation");
    if (Interface.has_value() != Implementation.has_value())
        return std::nullopt;
    if (Interface && Interface->Start >= Implementation->Start)
        return std::nullopt;
    const Integer InterfaceAnchor = Interface ? Interface->Start + 9 : ProgramAnchor(Last);
    const Integer ImplAnchor = Implementation ? Implementation->Start + 14 : -1;

    const TUsesClause Clause =
        FindUsesClause(Name, Last, ImplAnchor, Interface.has_value(), InInterface);
    if (Clause.Listed)
        return true;
    const String Break = LineBreak();
    if (Clause.InsertAt >= 0) {
        InsertTrimmed(Clause.InsertAt, Break + "  " + Name + ", ");
        return false;
    }
    const Integer Anchor = Interface && !InInterface ? ImplAnchor : InterfaceAnchor;
    if (Anchor < 0)
        return std::nullopt;
    InsertTrimmed(Anchor, Break + Break + "uses" + Break + "  " + Name + ";" + Break + Break);
    return false;
}

// --- Pascal literals -------------------------------------------------------------------

String PascalStringToString(const String& S) {
    String Result;
    Result.reserve(S.size());
    for (size_t I = 0; I < S.size(); ++I) {
        Result += S[I];
        if (S[I] == '\'' && I + 1 < S.size() && S[I + 1] == '\'')
            ++I;
    }
    return Result;
}

String StringToPascalString(const String& S) {
    String Result;
    Result.reserve(S.size() + 2);
    for (const char C : S) {
        Result += C;
        if (C == '\'')
            Result += '\'';
    }
    return Result;
}

} // namespace orlo
