#include "tools/VersionControl.h"

#include "platform/classes/Strings.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tools/StringTools.h"

#include <algorithm>
#include <mutex>
#include <string_view>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /tools/VersionControl.cpp 1.0 09.12.26 22:00 orlo $");

constexpr std::string_view HeaderPrefix = "$Header: /";
constexpr std::string_view HeaderSuffix = " $";
// The fields start at the "/" that ends the prefix.
constexpr std::size_t FieldsStart = HeaderPrefix.size() - 1;

struct TVersionRegistry {
    std::mutex Lock;
    std::vector<String> Lines;
};

// Created on first use, so units may register from any static initialiser; it
// outlives every registrar, whose construction completes after its own.
TVersionRegistry& Registry() {
    static TVersionRegistry Instance;
    return Instance;
}

bool IsHeaderLine(const String& Header) {
    return Header.size() >= HeaderPrefix.size() + HeaderSuffix.size() &&
           Header.starts_with(HeaderPrefix) && Header.ends_with(HeaderSuffix);
}

[[noreturn]] void Fail(const char* Routine, const String& Reason) {
    throw Exception(String(Routine) + " failed. " + Reason);
}

void CheckHeaderLine(const char* Routine, const String& Header) {
    if (!IsHeaderLine(Header))
        Fail(Routine, "Invalid header line: " + Header);
}

// --- Dates and times of a header ----------------------------------------------

// Reads MinDigits to MaxDigits decimal digits from the front of S.
bool ReadNumber(std::string_view& S, std::size_t MinDigits, std::size_t MaxDigits, Word& Value) {
    std::size_t Count = 0;
    Value = 0;
    while (Count < S.size() && Count < MaxDigits && S[Count] >= '0' && S[Count] <= '9')
        Value = static_cast<Word>(Value * 10 + (S[Count++] - '0'));
    S.remove_prefix(Count);
    return Count >= MinDigits;
}

bool ReadChar(std::string_view& S, char Ch) {
    if (S.empty() || S.front() != Ch)
        return false;
    S.remove_prefix(1);
    return true;
}

// Two-digit years lie within 50 years of the current year.
Word ExpandYear(Word Year, std::size_t Digits) {
    if (Digits > 2)
        return Year;
    Word ThisYear, Month, Day;
    DecodeDate(orlo::Date(), ThisYear, Month, Day);
    Integer Full = ThisYear - ThisYear % 100 + Year;
    if (Full > ThisYear + 50)
        Full -= 100;
    else if (Full <= ThisYear - 50)
        Full += 100;
    return static_cast<Word>(Full);
}

// "dd.mm.yy" (Separator '.', day first) or "mm/dd/yy" (Separator '/', month first).
bool TryReadDate(std::string_view S, char Separator, bool MonthFirst, TDateTime& Value) {
    Word First, Second, Year;
    if (!ReadNumber(S, 1, 2, First) || !ReadChar(S, Separator) || !ReadNumber(S, 1, 2, Second) ||
        !ReadChar(S, Separator))
        return false;
    const std::size_t YearDigits = S.size();
    if ((YearDigits != 2 && YearDigits != 4) || !ReadNumber(S, YearDigits, YearDigits, Year))
        return false;
    const Word Month = MonthFirst ? First : Second;
    const Word Day = MonthFirst ? Second : First;
    return TryEncodeDate(ExpandYear(Year, YearDigits), Month, Day, Value);
}

// "hh:nn", with TwelveHour also followed by "a", "p", "am" or "pm" in any case.
bool TryReadTime(std::string_view S, bool TwelveHour, TDateTime& Value) {
    Word Hour, Min;
    if (!ReadNumber(S, 1, 2, Hour) || !ReadChar(S, ':') || !ReadNumber(S, 2, 2, Min))
        return false;
    if (!S.empty()) {
        const String Suffix = LowerCase(String(S));
        const bool Am = Suffix == "a" || Suffix == "am";
        const bool Pm = Suffix == "p" || Suffix == "pm";
        if (!TwelveHour || (!Am && !Pm) || Hour < 1 || Hour > 12)
            return false;
        Hour = static_cast<Word>(Hour % 12 + (Pm ? 12 : 0));
    }
    return TryEncodeTime(Hour, Min, 0, 0, Value);
}

bool TryReadDateTime(const String& DateText, const String& TimeText, TUnitHeader& Header) {
    return (TryReadDate(DateText, '.', false, Header.Date) &&
            TryReadTime(TimeText, false, Header.Time)) ||
           (TryReadDate(DateText, '/', true, Header.Date) &&
            TryReadTime(TimeText, true, Header.Time));
}

std::vector<String> SplitWords(const String& Text) {
    std::vector<String> Words;
    Integer Pos = 1;
    String Word;
    while (FindWord(Text, Pos, Word))
        Words.push_back(Word);
    return Words;
}

} // namespace

void RegisterUnitVersion(const String& Header) {
    CheckHeaderLine("RegisterUnitVersion", Header);
    TVersionRegistry& R = Registry();
    const std::lock_guard Guard(R.Lock);
    R.Lines.push_back(Header);
}

void UnregisterUnitVersion(const String& Header) {
    TVersionRegistry& R = Registry();
    const std::lock_guard Guard(R.Lock);
    const auto Found = std::find(R.Lines.rbegin(), R.Lines.rend(), Header);
    if (Found != R.Lines.rend())
        R.Lines.erase(std::next(Found).base());
}

std::vector<String> GetUnitVersions() {
    TVersionRegistry& R = Registry();
    const std::lock_guard Guard(R.Lock);
    return R.Lines;
}

void GetUnitVersions(TStrings* List) {
    ReplaceLines(List, GetUnitVersions());
}

TUnitHeader ExtractHeader(const String& Header) {
    static constexpr char Routine[] = "ExtractHeader";
    CheckHeaderLine(Routine, Header);
    const String Body =
        Header.substr(FieldsStart, Header.size() - FieldsStart - HeaderSuffix.size());
    const std::vector<String> Fields = SplitWords(Body);
    if (Fields.size() < 5)
        Fail(Routine, "Missing fields in header line: " + Header);

    TUnitHeader Result;
    const std::size_t NameStart = Fields[0].find_last_of("/\\") + 1;
    Result.Path = Fields[0].substr(0, NameStart);
    Result.FileName = Fields[0].substr(NameStart);
    Result.Revision = Fields[1];
    if (!TryReadDateTime(Fields[2], Fields[3], Result))
        Fail(Routine, "Invalid date or time in header line: " + Header);
    Result.Author = Fields[4];
    for (std::size_t I = 5; I < Fields.size(); ++I)
        Result.Author += ' ' + Fields[I];
    return Result;
}

void ExtractHeader(const String& Header, String& Path, String& FileName, String& Revision,
                   TDateTime& Date, TDateTime& Time, String& Author) {
    TUnitHeader Parts = ExtractHeader(Header);
    Path = std::move(Parts.Path);
    FileName = std::move(Parts.FileName);
    Revision = std::move(Parts.Revision);
    Date = Parts.Date;
    Time = Parts.Time;
    Author = std::move(Parts.Author);
}

TUnitVersion::TUnitVersion(const char* Header) : FHeader(Header) {
    RegisterUnitVersion(FHeader);
}

TUnitVersion::~TUnitVersion() {
    UnregisterUnitVersion(FHeader);
}

} // namespace orlo
