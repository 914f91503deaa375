#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>
#include <string_view>

namespace orlo {

namespace {

constexpr Int64 MSecsPerDay = 86400000;
constexpr Int64 UnixEpochDays = 25569; // 1970-01-01 as a TDateTime
constexpr Int64 FirstDay = -693593;    // 0001-01-01
constexpr Int64 LastDay = 2958465;     // 9999-12-31

// Days between 1970-01-01 and a date of the proleptic Gregorian calendar.
Int64 DaysFromCivil(Int64 Y, unsigned M, unsigned D) {
    Y -= M <= 2;
    const Int64 Era = (Y >= 0 ? Y : Y - 399) / 400;
    const auto YearOfEra = static_cast<unsigned>(Y - Era * 400);
    const unsigned DayOfYear = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + D - 1;
    const unsigned DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
    return Era * 146097 + static_cast<Int64>(DayOfEra) - 719468;
}

struct TCivilDate {
    Word Year, Month, Day;
};

TCivilDate CivilFromDays(Int64 Z) {
    Z += 719468;
    const Int64 Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const auto DayOfEra = static_cast<unsigned>(Z - Era * 146097);
    const unsigned YearOfEra =
        (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const unsigned DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const unsigned MP = (5 * DayOfYear + 2) / 153;
    const unsigned D = DayOfYear - (153 * MP + 2) / 5 + 1;
    const unsigned M = MP < 10 ? MP + 3 : MP - 9;
    const Int64 Y = static_cast<Int64>(YearOfEra) + Era * 400 + (M <= 2);
    return {static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D)};
}

Word DaysInMonth(Word Year, Word Month) {
    static constexpr Word Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

// A TDateTime as whole days (counting away from 1899-12-30) and milliseconds of
// the day; the milliseconds are rounded as one value with the days, so 23:59:59.9999
// becomes the next day rather than an hour 24.
struct TDayTime {
    Int64 Days;
    Int64 MSecs;
};

TDayTime SplitDateTime(TDateTime DateTime) {
    if (!(DateTime > FirstDay - 1 && DateTime < LastDay + 1))
        throw EConvertError("Invalid argument to date decode");
    const Int64 Total = std::llround(std::fabs(DateTime) * MSecsPerDay);
    const Int64 Days = Total / MSecsPerDay;
    return {DateTime < 0 ? -Days : Days, Total % MSecsPerDay};
}

struct TDateParts {
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    Integer DayOfWeek; // 1 = Sunday
};

TDateParts DecodeParts(TDateTime DateTime) {
    const TDayTime Split = SplitDateTime(DateTime);
    const TCivilDate Civil = CivilFromDays(Split.Days - UnixEpochDays);
    const Int64 MSecs = Split.MSecs;
    // 1899-12-30 (day 0) was a Saturday.
    const auto DayOfWeek = static_cast<Integer>(((Split.Days % 7) + 7 + 6) % 7 + 1);
    return {Civil.Year,
            Civil.Month,
            Civil.Day,
            static_cast<Word>(MSecs / 3600000),
            static_cast<Word>(MSecs / 60000 % 60),
            static_cast<Word>(MSecs / 1000 % 60),
            static_cast<Word>(MSecs % 1000),
            DayOfWeek};
}

// --- FormatDateTime ------------------------------------------------------------

bool StartsWithText(std::string_view S, std::size_t At, std::string_view Prefix) {
    return S.size() - At >= Prefix.size() &&
           SameText(String(S.substr(At, Prefix.size())), String(Prefix));
}

// The length of the am/pm specifier at At, 0 if there is none.
std::size_t AmPmLength(std::string_view Fmt, std::size_t At) {
    for (std::string_view Spec : {"am/pm", "a/p", "ampm"})
        if (StartsWithText(Fmt, At, Spec))
            return Spec.size();
    return 0;
}

// The end of the quoted text that starts at At (behind the closing quote).
std::size_t QuotedEnd(std::string_view Fmt, std::size_t At) {
    const auto Close = Fmt.find(Fmt[At], At + 1);
    return Close == std::string_view::npos ? Fmt.size() : Close + 1;
}

bool HasAmPmFrom(std::string_view Fmt, std::size_t At) {
    while (At < Fmt.size()) {
        if (Fmt[At] == '\'' || Fmt[At] == '"')
            At = QuotedEnd(Fmt, At);
        else if (AmPmLength(Fmt, At) > 0)
            return true;
        else
            ++At;
    }
    return false;
}

String TwoDigits(Integer Value) {
    return Value < 10 ? "0" + IntToStr(Value) : IntToStr(Value);
}

class TDateTimeFormatter {
public:
    explicit TDateTimeFormatter(TDateTime DateTime) : FParts(DecodeParts(DateTime)) {}

    String Run(std::string_view Fmt) {
        Append(Fmt);
        return std::move(FOut);
    }

private:
    void Append(std::string_view Fmt) {
        bool AfterHour = false;
        std::size_t I = 0;
        while (I < Fmt.size()) {
            const char C = Fmt[I];
            const char Letter = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
            if (C == '\'' || C == '"') {
                const std::size_t End = QuotedEnd(Fmt, I);
                const std::size_t TextEnd = End > I + 1 && Fmt[End - 1] == C ? End - 1 : End;
                FOut.append(Fmt.substr(I + 1, TextEnd - I - 1));
                I = End;
                continue;
            }
            if (Letter == 'a') {
                const std::size_t Length = AmPmLength(Fmt, I);
                AppendAmPm(Fmt.substr(I, std::max<std::size_t>(Length, 1)));
                I += std::max<std::size_t>(Length, 1);
                continue;
            }
            std::size_t Count = 1;
            if (std::string_view("cdmyhnszt").find(Letter) != std::string_view::npos)
                while (I + Count < Fmt.size() &&
                       std::tolower(static_cast<unsigned char>(Fmt[I + Count])) == Letter)
                    ++Count;
            const bool Minutes = Letter == 'm' && AfterHour && Count <= 2;
            AppendToken(Fmt, I, Minutes ? 'n' : Letter, Count, C);
            if (Letter == 'h')
                AfterHour = true;
            else if (std::isalpha(static_cast<unsigned char>(Letter)))
                AfterHour = false;
            I += Count;
        }
    }

    void AppendToken(std::string_view Fmt, std::size_t At, char Letter, std::size_t Count,
                     char Original) {
        const auto& Settings = FormatSettings;
        const TDateParts& P = FParts;
        switch (Letter) {
        case 'c':
            Append(Settings.ShortDateFormat);
            if (P.Hour != 0 || P.Min != 0 || P.Sec != 0 || P.MSec != 0) {
                FOut += ' ';
                Append(Settings.LongTimeFormat);
            }
            break;
        case 'd':
            if (Count <= 2)
                AppendNumber(P.Day, Count);
            else if (Count == 3)
                FOut += Settings.ShortDayNames[P.DayOfWeek - 1];
            else if (Count == 4)
                FOut += Settings.LongDayNames[P.DayOfWeek - 1];
            else
                Append(Count == 5 ? Settings.ShortDateFormat : Settings.LongDateFormat);
            break;
        case 'm':
            if (Count <= 2)
                AppendNumber(P.Month, Count);
            else
                FOut +=
                    (Count == 3 ? Settings.ShortMonthNames : Settings.LongMonthNames)[P.Month - 1];
            break;
        case 'y':
            FOut += Count <= 2 ? TwoDigits(P.Year % 100) : FourDigits(P.Year);
            break;
        case 'h':
            AppendNumber(HasAmPmFrom(Fmt, At) ? (P.Hour + 11) % 12 + 1 : P.Hour, Count);
            break;
        case 'n':
            AppendNumber(P.Min, Count);
            break;
        case 's':
            AppendNumber(P.Sec, Count);
            break;
        case 'z':
            FOut += Count == 1 ? IntToStr(Integer(P.MSec))
                               : String(P.MSec < 100 ? (P.MSec < 10 ? "00" : "0") : "") +
                                     IntToStr(Integer(P.MSec));
            break;
        case 't':
            Append(Count == 1 ? Settings.ShortTimeFormat : Settings.LongTimeFormat);
            break;
        case '/':
            FOut += Settings.DateSeparator;
            break;
        case ':':
            FOut += Settings.TimeSeparator;
            break;
        default:
            FOut.append(Count, Original);
        }
    }

    // "am/pm" and "a/p" keep the letter case they are written in; "ampm" gives
    // the strings of FormatSettings. Any other "a" is literal.
    void AppendAmPm(std::string_view Spec) {
        const bool Pm = FParts.Hour >= 12;
        const auto Slash = Spec.find('/');
        if (Spec.size() == 4)
            FOut += Pm ? FormatSettings.TimePMString : FormatSettings.TimeAMString;
        else if (Slash != std::string_view::npos)
            FOut += Pm ? Spec.substr(Slash + 1) : Spec.substr(0, Slash);
        else
            FOut += Spec;
    }

    void AppendNumber(Integer Value, std::size_t Count) {
        FOut += Count == 1 ? IntToStr(Value) : TwoDigits(Value);
    }

    static String FourDigits(Integer Value) {
        String Text = IntToStr(Value);
        return String(Text.size() < 4 ? 4 - Text.size() : 0, '0') + Text;
    }

    TDateParts FParts;
    String FOut;
};

// --- Parsing -------------------------------------------------------------------

class TDateTimeScanner {
public:
    explicit TDateTimeScanner(std::string_view Text) : FText(Text) {}

    bool AtEnd() const { return FPos == FText.size(); }
    bool SkipBlanks() {
        const std::size_t Start = FPos;
        while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= ' ')
            ++FPos;
        return FPos > Start;
    }
    bool Skip(char C) {
        if (FPos >= FText.size() || FText[FPos] != C)
            return false;
        ++FPos;
        return true;
    }
    bool SkipText(std::string_view S) {
        if (!StartsWithText(FText, FPos, S))
            return false;
        FPos += S.size();
        return true;
    }
    // Up to MaxDigits decimal digits; Digits tells how many were read.
    bool Number(std::size_t MaxDigits, Integer& Value, std::size_t& Digits) {
        Value = 0;
        Digits = 0;
        while (FPos < FText.size() && Digits < MaxDigits && FText[FPos] >= '0' &&
               FText[FPos] <= '9') {
            Value = Value * 10 + (FText[FPos++] - '0');
            ++Digits;
        }
        return Digits > 0;
    }
    bool Number(std::size_t MaxDigits, Integer& Value) {
        std::size_t Digits = 0;
        return Number(MaxDigits, Value, Digits);
    }

    // A date in the field order of ShortDateFormat.
    bool ScanDate(TDateTime& Date) {
        Integer Numbers[3] = {0, 0, 0};
        std::size_t Digits[3] = {0, 0, 0};
        std::size_t Count = 0;
        do {
            if (!Number(4, Numbers[Count], Digits[Count]))
                return false;
            ++Count;
        } while (Count < 3 && Skip(FormatSettings.DateSeparator));
        if (Count < 2)
            return false;
        const std::string_view Order = DateFieldOrder(Count == 3);
        Integer Year = CurrentYear(), Month = 0, Day = 0;
        for (std::size_t I = 0; I < Count; ++I) {
            if (Order[I] == 'y')
                Year = Digits[I] <= 2 ? ExpandYear(Numbers[I]) : Numbers[I];
            else if (Order[I] == 'm')
                Month = Numbers[I];
            else
                Day = Numbers[I];
        }
        return TryEncodeDate(static_cast<Word>(Year), static_cast<Word>(Month),
                             static_cast<Word>(Day), Date);
    }

    bool ScanTime(TDateTime& Time) {
        Integer Hour = 0, Min = 0, Sec = 0, MSec = 0;
        if (!Number(2, Hour) || !Skip(':') || !Number(2, Min))
            return false;
        if (Skip(':')) {
            if (!Number(2, Sec))
                return false;
            std::size_t Digits = 0;
            if (Skip('.') && !Number(3, MSec, Digits))
                return false;
            for (; Digits > 0 && Digits < 3; ++Digits)
                MSec *= 10;
        }
        SkipBlanks();
        const bool Am = SkipText(FormatSettings.TimeAMString);
        const bool Pm = !Am && SkipText(FormatSettings.TimePMString);
        if (Am || Pm) {
            if (Hour < 1 || Hour > 12)
                return false;
            Hour = Hour % 12 + (Pm ? 12 : 0);
        }
        return TryEncodeTime(static_cast<Word>(Hour), static_cast<Word>(Min),
                             static_cast<Word>(Sec), static_cast<Word>(MSec), Time);
    }

private:
    // "ymd", "dmy", ... from ShortDateFormat; without the year when it is missing.
    static std::string_view DateFieldOrder(bool WithYear) {
        static const String Full = [] {
            String Order;
            for (char C : FormatSettings.ShortDateFormat) {
                const char L = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
                if ((L == 'y' || L == 'm' || L == 'd') && Order.find(L) == String::npos)
                    Order += L;
            }
            return Order;
        }();
        static const String WithoutYear = StringReplace(Full, "y", "", {});
        return WithYear ? Full : WithoutYear;
    }

    static Integer CurrentYear() {
        Word Year, Month, Day;
        DecodeDate(orlo::Date(), Year, Month, Day);
        return Year;
    }

    static Integer ExpandYear(Integer TwoDigitYear) {
        const Integer Current = CurrentYear();
        Integer Year = Current - Current % 100 + TwoDigitYear;
        if (Year > Current + 49)
            Year -= 100;
        else if (Year <= Current - 50)
            Year += 100;
        return Year;
    }

    std::string_view FText;
    std::size_t FPos = 0;
};

template <class Scan> bool TryScanAll(const String& S, Scan ScanFn) {
    TDateTimeScanner Scanner(S);
    Scanner.SkipBlanks();
    if (!ScanFn(Scanner))
        return false;
    Scanner.SkipBlanks();
    return Scanner.AtEnd();
}

} // namespace

// --- Encoding and decoding -----------------------------------------------------

bool IsLeapYear(Word Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        return false;
    Date = static_cast<TDateTime>(DaysFromCivil(Year, Month, Day) + UnixEpochDays);
    return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
        return false;
    const Int64 MSecs = ((Int64(Hour) * 60 + Min) * 60 + Sec) * 1000 + MSec;
    Time = static_cast<TDateTime>(MSecs) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
    TDateTime Result = 0;
    if (!TryEncodeDate(Year, Month, Day, Result))
        throw EConvertError("Invalid argument to date encode");
    return Result;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
    TDateTime Result = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, Result))
        throw EConvertError("Invalid argument to time encode");
    return Result;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
    return Date < 0 ? Date - Time : Date + Time;
}

void DecodeDate(TDateTime DateTime, Word& Year, Word& Month, Word& Day) {
    const TDateParts P = DecodeParts(DateTime);
    Year = P.Year;
    Month = P.Month;
    Day = P.Day;
}

void DecodeTime(TDateTime DateTime, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    const TDateParts P = DecodeParts(DateTime);
    Hour = P.Hour;
    Min = P.Min;
    Sec = P.Sec;
    MSec = P.MSec;
}

Integer DayOfWeek(TDateTime DateTime) {
    return DecodeParts(DateTime).DayOfWeek;
}

TDateTime Now() {
    using namespace std::chrono;
    const auto Clock = system_clock::now();
    const std::time_t Seconds = system_clock::to_time_t(Clock);
    const auto MSec = duration_cast<milliseconds>(Clock.time_since_epoch()).count() % 1000;
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    return EncodeDate(static_cast<Word>(Local.tm_year + 1900), static_cast<Word>(Local.tm_mon + 1),
                      static_cast<Word>(Local.tm_mday)) +
           EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                      static_cast<Word>(std::min(Local.tm_sec, 59)), static_cast<Word>(MSec));
}

TDateTime Date() {
    return std::floor(Now());
}

TDateTime Time() {
    const TDateTime Current = Now();
    return Current - std::floor(Current);
}

// --- Text ----------------------------------------------------------------------

String FormatDateTime(const String& Fmt, TDateTime DateTime) {
    return TDateTimeFormatter(DateTime).Run(Fmt);
}

String DateToStr(TDateTime DateTime) {
    return FormatDateTime("ddddd", DateTime);
}

String TimeToStr(TDateTime DateTime) {
    return FormatDateTime("tt", DateTime);
}

String DateTimeToStr(TDateTime DateTime) {
    return FormatDateTime("c", DateTime);
}

bool TryStrToDate(const String& S, TDateTime& Value) {
    return TryScanAll(S, [&](TDateTimeScanner& Scanner) { return Scanner.ScanDate(Value); });
}

bool TryStrToTime(const String& S, TDateTime& Value) {
    return TryScanAll(S, [&](TDateTimeScanner& Scanner) { return Scanner.ScanTime(Value); });
}

bool TryStrToDateTime(const String& S, TDateTime& Value) {
    TDateTime Date = 0, Time = 0;
    const bool WithDate = TryScanAll(S, [&](TDateTimeScanner& Scanner) {
        if (!Scanner.ScanDate(Date))
            return false;
        return !Scanner.SkipBlanks() || Scanner.AtEnd() || Scanner.ScanTime(Time);
    });
    if (WithDate) {
        Value = ComposeDateTime(Date, Time);
        return true;
    }
    return TryStrToTime(S, Value);
}

TDateTime StrToDate(const String& S) {
    TDateTime Value = 0;
    if (!TryStrToDate(S, Value))
        throw EConvertError(Format("'%s' is not a valid date", S));
    return Value;
}

TDateTime StrToTime(const String& S) {
    TDateTime Value = 0;
    if (!TryStrToTime(S, Value))
        throw EConvertError(Format("'%s' is not a valid time", S));
    return Value;
}

TDateTime StrToDateTime(const String& S) {
    TDateTime Value = 0;
    if (!TryStrToDateTime(S, Value))
        throw EConvertError(Format("'%s' is not a valid date and time", S));
    return Value;
}

} // namespace orlo
