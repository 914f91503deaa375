#include "tools/StringTools.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tools/Debug.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /tools/StringTools.cpp 1.0 09.12.26 22:00 orlo $");

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

bool IsContinuationByte(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

// Characters of UTF-8 text; a stray byte counts as one.
Integer CharCount(std::string_view S) {
    return static_cast<Integer>(std::count_if(S.begin(), S.end(), std::not_fn(IsContinuationByte)));
}

// Drops Count characters from the front of R; false when R has fewer.
bool SkipChars(std::string_view& R, std::size_t Count) {
    for (; Count > 0; --Count) {
        if (R.empty())
            return false;
        std::size_t Len = 1;
        while (Len < R.size() && IsContinuationByte(R[Len]))
            ++Len;
        R.remove_prefix(Len);
    }
    return true;
}

std::string_view Bytes(const void* P, Integer Count) {
    return {static_cast<const char*>(P), static_cast<std::size_t>(Count)};
}

// --- Wildcard filters ----------------------------------------------------------

bool IsWildcard(char C) {
    return C == '*' || C == '?';
}

// Length of the run at the front of S whose characters are (or are not) wildcards.
std::size_t RunLength(std::string_view S, bool Wildcards) {
    const auto End = Wildcards ? std::find_if_not(S.begin(), S.end(), IsWildcard)
                               : std::find_if(S.begin(), S.end(), IsWildcard);
    return static_cast<std::size_t>(End - S.begin());
}

// Within every run of wildcards puts the "?"s first and keeps at most one "*":
// "*?" means "?*", and "**" means "*". Afterwards a "*" is followed by a literal
// or by nothing.
String NormaliseFilter(std::string_view Filter) {
    String Out;
    Out.reserve(Filter.size());
    while (!Filter.empty()) {
        const std::size_t Literal = RunLength(Filter, false);
        Out.append(Filter.substr(0, Literal));
        Filter.remove_prefix(Literal);
        const std::string_view Wildcards = Filter.substr(0, RunLength(Filter, true));
        Out.append(static_cast<std::size_t>(std::count(Wildcards.begin(), Wildcards.end(), '?')),
                   '?');
        if (Wildcards.find('*') != std::string_view::npos)
            Out += '*';
        Filter.remove_prefix(Wildcards.size());
    }
    return Out;
}

// The next token of a normalised filter: "*", a run of "?" or a literal run.
std::string_view NextToken(std::string_view& Pattern) {
    std::size_t Len = 1;
    if (Pattern.front() == '?')
        Len = Pattern.find_first_not_of('?');
    else if (Pattern.front() != '*')
        Len = RunLength(Pattern, false);
    const std::string_view Token = Pattern.substr(0, Len);
    Pattern.remove_prefix(Token.size());
    return Token;
}

// The matching steps, as the trace names them.
enum TFilterStep { fsLiteral = 1, fsSingles = 2, fsTrailingStar = 3, fsStarToLiteral = 4 };

void TraceStep(TFilterStep Step) {
    TDebug::WriteFmt("Condition Q%d", static_cast<Integer>(Step));
}

bool MatchTokens(std::string_view Pattern, std::string_view Rest) {
    while (!Pattern.empty()) {
        const std::string_view Token = NextToken(Pattern);
        if (Token.front() == '?') {
            if (!SkipChars(Rest, Token.size()))
                return false;
            TraceStep(fsSingles);
        } else if (Token.front() == '*') {
            if (Pattern.empty()) {
                TraceStep(fsTrailingStar);
                return true;
            }
            const std::string_view Literal = NextToken(Pattern);
            const std::size_t Found = Rest.find(Literal);
            if (Found == std::string_view::npos)
                return false;
            Rest.remove_prefix(Found + Literal.size());
            TraceStep(fsStarToLiteral);
        } else {
            if (!Rest.starts_with(Token))
                return false;
            Rest.remove_prefix(Token.size());
            TraceStep(fsLiteral);
        }
    }
    return Rest.empty();
}

} // namespace

Integer PosEx(const String& Substr, const String& S, Integer Nr, bool FromLeft) {
    if (Nr < 1)
        throw Exception("PosEx failed. Nr must be larger than zero");
    if (Substr.empty() || Substr.size() > S.size())
        return 0;
    Integer Count = 0;
    if (FromLeft) {
        for (auto Found = S.find(Substr); Found != String::npos;
             Found = S.find(Substr, Found + Substr.size()))
            if (++Count == Nr)
                return static_cast<Integer>(Found) + 1;
        return 0;
    }
    for (auto Found = S.rfind(Substr); Found != String::npos;
         Found = Found == 0 ? String::npos : S.rfind(Substr, Found - 1))
        if (++Count == Nr)
            return static_cast<Integer>(Found) + 1;
    return 0;
}

String FillStr(const String& S, Integer Len) {
    return FillStrEx(S, ' ', Len, false);
}

String FillStrEx(const String& S, char Ch, Integer Len, bool Left) {
    const Integer Missing = Len - CharCount(S);
    if (Missing <= 0)
        return S;
    const String Fill(static_cast<std::size_t>(Missing), Ch);
    return Left ? Fill + S : S + Fill;
}

String ReplaceStr(const String& S, const String& Old, const String& New) {
    return StringReplace(S, Old, New, {});
}

String ReplaceAll(const String& S, const String& Old, const String& New) {
    return StringReplace(S, Old, New, {rfReplaceAll});
}

String RemoveChars(const String& S, char Ch) {
    String Result = S;
    std::erase(Result, Ch);
    return Result;
}

String StringOfString(const String& S, Integer Count) {
    String Result;
    if (Count <= 0)
        return Result;
    Result.reserve(S.size() * static_cast<std::size_t>(Count));
    for (Integer I = 0; I < Count; ++I)
        Result += S;
    return Result;
}

void TrimInsert(const String& Sub, String& S, Integer Pos) {
    std::size_t At = static_cast<std::size_t>(std::clamp<Int64>(Pos, 1, Length(S) + 1) - 1);
    std::size_t End = At;
    while (End < S.size() && IsBlank(S[End]))
        ++End;
    if (End < S.size())
        while (At > 0 && IsBlank(S[At - 1]))
            --At;
    S.replace(At, End - At, Sub);
}

void ExtractNameValue(const String& S, String& Name, String& Value) {
    const auto Equals = S.find('=');
    String NewName = Equals == String::npos ? String() : S.substr(0, Equals);
    String NewValue = Equals == String::npos ? S : S.substr(Equals + 1);
    Name = std::move(NewName);
    Value = std::move(NewValue);
}

void ExtractNameIndexValue(const String& S, String& Name, String& Index, String& Value) {
    ExtractNameValue(S, Name, Value);
    const auto Open = Name.find('[');
    const auto Close = Name.find(']');
    if (Open == String::npos || Close == String::npos || Open > Close) {
        Index.clear();
        return;
    }
    Index = Name.substr(Open + 1, Close - Open - 1);
    Name.resize(Open);
}

bool RemovePrefixAndSuffix(const String& S, char Prefix, char Suffix, String& Dest) {
    const String Trimmed = Trim(S);
    if (Trimmed.size() < 2 || Trimmed.front() != Prefix || Trimmed.back() != Suffix) {
        Dest = S;
        return false;
    }
    Dest = Trimmed.substr(1, Trimmed.size() - 2);
    return true;
}

String RemoveApostrophes(const String& S) {
    String Result;
    RemovePrefixAndSuffix(S, '\'', '\'', Result);
    return Result;
}

bool FindWord(const String& S, Integer& Pos, String& Word) {
    Pos = std::max(Pos, 1);
    if (Pos > Length(S)) {
        Word.clear();
        return false;
    }
    const auto Start = std::find_if_not(S.begin() + (Pos - 1), S.end(), IsBlank);
    const auto End = std::find_if(Start, S.end(), IsBlank);
    Pos = static_cast<Integer>(End - S.begin()) + 1;
    Word.assign(Start, End);
    return Start != End;
}

void StrToBuf(const String& S, void* Buf, Integer Size) {
    const Integer Count = std::min(std::max(Size, 0), Length(S));
    if (Count > 0)
        std::memcpy(Buf, S.data(), static_cast<std::size_t>(Count));
}

void SetStr(String& S, const void* P, Integer Len) {
    if (Len <= 0) {
        S.clear();
        return;
    }
    const std::string_view Source = Bytes(P, Len);
    S.assign(Source.substr(0, Source.find('\0')));
}

Integer FindChar(const void* P, Integer Count, char Ch) {
    if (Count <= 0)
        return -1;
    const auto Found = Bytes(P, Count).find(Ch);
    return Found == std::string_view::npos ? -1 : static_cast<Integer>(Found);
}

Integer FindBuffer(const void* Pattern, Integer PatternLen, const void* Buffer, Integer BufferLen) {
    if (PatternLen < 0 || BufferLen < 0 || PatternLen > BufferLen)
        return -1;
    if (PatternLen == 0)
        return 0;
    const auto Found = Bytes(Buffer, BufferLen).find(Bytes(Pattern, PatternLen));
    return Found == std::string_view::npos ? -1 : static_cast<Integer>(Found);
}

bool Compare(const void* P1, const void* P2, Integer Count) {
    return Count <= 0 || std::memcmp(P1, P2, static_cast<std::size_t>(Count)) == 0;
}

bool CompareChar(const void* P, Integer Count, char Ch) {
    if (Count <= 0)
        return true;
    const std::string_view Block = Bytes(P, Count);
    return std::all_of(Block.begin(), Block.end(), [Ch](char C) { return C == Ch; });
}

bool CompareFilter(const String& Filter, const String& S) {
    TDebug::WriteFmt("Filter: %s Str: %s", Filter, S);
    const bool Result = MatchTokens(NormaliseFilter(Filter), S);
    TDebug::Write(Result ? "Result: True" : "Result: False");
    return Result;
}

} // namespace orlo
