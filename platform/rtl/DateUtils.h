#pragma once
// Dates and times as TDateTime: days since 1899-12-30, the fraction being the
// time of day. Before 1899-12-30 the whole days count down while the fraction
// still counts forward: -1.25 is 1899-12-29 06:00.

#include "platform/rtl/Types.h"

namespace orlo {

// EConvertError "Invalid argument to date encode" outside 0001-01-01 .. 9999-12-31.
TDateTime EncodeDate(Word Year, Word Month, Word Day);
// EConvertError "Invalid argument to time encode" unless Hour < 24, Min < 60,
// Sec < 60 and MSec < 1000.
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
// One value of a date (whole days) and a time of day (fraction).
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);

// EConvertError "Invalid argument to date decode" for values outside the dates
// EncodeDate makes, NaN and infinities. Times are rounded to the millisecond.
void DecodeDate(TDateTime DateTime, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime DateTime, Word& Hour, Word& Min, Word& Sec, Word& MSec);

TDateTime Date(); // today, local time
TDateTime Time(); // the time of day, local time
TDateTime Now();

bool IsLeapYear(Word Year);
Integer DayOfWeek(TDateTime DateTime); // 1 = Sunday .. 7 = Saturday

// Specifiers (any letter case): c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy
// h hh n nn s ss z zzz t tt am/pm a/p ampm, "/" and ":" for the separators of
// FormatSettings, '...' and "..." for literal text; m after h means minutes; h
// counts 1-12 when am/pm, a/p or ampm follows.
String FormatDateTime(const String& Fmt, TDateTime DateTime);

// Text in FormatSettings' ShortDateFormat ("2024-03-05") and LongTimeFormat
// ("14:30:00"); DateTimeToStr leaves out a zero time.
String DateToStr(TDateTime DateTime);
String TimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime);

// Dates are the numbers of year, month and day in ShortDateFormat's order with the
// date separator between (a missing year is the current one, a two-digit year is
// taken within 50 years of it); times are "h:n[:s[.z]]" with an optional AM or PM.
// A date and time is a date, a time, or a date, blanks and a time.
// EConvertError "'%s' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(const String& S);
TDateTime StrToTime(const String& S);
TDateTime StrToDateTime(const String& S);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value);

} // namespace orlo
