#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orlo {
namespace {

using test::ExpectError;

struct TDate {
    Word Year, Month, Day;
};

TDate Decoded(TDateTime Value) {
    TDate D{};
    DecodeDate(Value, D.Year, D.Month, D.Day);
    return D;
}

TEST(EncodeDate, KnownDays) {
    struct {
        Word Year, Month, Day;
        double Value;
    } const Cases[] = {
        {1899, 12, 30, 0},       {1899, 12, 31, 1},    {1900, 1, 1, 2},
        {2000, 1, 1, 36526},     {2024, 2, 29, 45351}, {1, 1, 1, -693593},
        {9999, 12, 31, 2958465}, {1899, 12, 29, -1},   {1600, 2, 29, -109512},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(EncodeDate(C.Year, C.Month, C.Day), C.Value) << C.Year << "-" << C.Month;
        const TDate D = Decoded(C.Value);
        EXPECT_EQ(D.Year, C.Year);
        EXPECT_EQ(D.Month, C.Month);
        EXPECT_EQ(D.Day, C.Day);
    }
}

TEST(EncodeDate, InvalidFields) {
    struct {
        Word Year, Month, Day;
    } const Cases[] = {{2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2024, 2, 30},
                       {2024, 0, 1},  {2024, 13, 1}, {2024, 1, 0},  {2024, 1, 32},
                       {2023, 4, 31}, {0, 1, 1},     {10000, 1, 1}};
    for (const auto& C : Cases) {
        ExpectError<EConvertError>([&] { EncodeDate(C.Year, C.Month, C.Day); },
                                   "Invalid argument to date encode");
        TDateTime Value = 99;
        EXPECT_FALSE(TryEncodeDate(C.Year, C.Month, C.Day, Value));
    }
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
}

TEST(EncodeTime, FieldsAndLimits) {
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000);
    struct {
        Word Hour, Min, Sec, MSec;
    } const Bad[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
    for (const auto& C : Bad)
        ExpectError<EConvertError>([&] { EncodeTime(C.Hour, C.Min, C.Sec, C.MSec); },
                                   "Invalid argument to time encode");
}

TEST(DecodeTime, RoundsToMillisecondsWithoutHour24) {
    Word H, N, S, MS;
    DecodeTime(EncodeTime(13, 5, 9, 7), H, N, S, MS);
    EXPECT_EQ((std::array<Word, 4>{H, N, S, MS}), (std::array<Word, 4>{13, 5, 9, 7}));

    const TDateTime AlmostMidnight = 1 - 1e-10; // rounds to the next day
    DecodeTime(AlmostMidnight, H, N, S, MS);
    EXPECT_EQ((std::array<Word, 4>{H, N, S, MS}), (std::array<Word, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Decoded(AlmostMidnight).Day, 31);
}

TEST(NegativeDates, TimeCountsForwardFromTheDay) {
    const TDateTime Value = ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0));
    EXPECT_EQ(Value, -1.25);
    const TDate D = Decoded(Value);
    EXPECT_EQ(D.Day, 29);
    Word H, N, S, MS;
    DecodeTime(Value, H, N, S, MS);
    EXPECT_EQ(H, 6);

    EXPECT_EQ(Decoded(-0.5).Day, 30); // still 1899-12-30, at noon
    DecodeTime(-0.5, H, N, S, MS);
    EXPECT_EQ(H, 12);
    EXPECT_EQ(ComposeDateTime(2, 0.25), 2.25);
    EXPECT_EQ(DateTimeToStr(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(StrToDateTime("1899-12-29 06:00:00"), -1.25);
}

TEST(DecodeDate, RejectsValuesOutsideTheCalendar) {
    for (double V : {-693594.0, 2958466.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()})
        ExpectError<EConvertError>([&] { Decoded(V); }, "Invalid argument to date decode");
    EXPECT_EQ(Decoded(-693593.5).Year, 1);
    EXPECT_EQ(Decoded(2958465.99).Year, 9999);
}

TEST(DecodeDate, EveryDayOfFourCenturiesRoundTrips) {
    TDateTime Day = EncodeDate(1800, 1, 1);
    for (int I = 0; I < 146097; ++I, ++Day) {
        const TDate D = Decoded(Day);
        ASSERT_EQ(EncodeDate(D.Year, D.Month, D.Day), Day);
    }
}

TEST(Calendar, LeapYearsAndWeekdays) {
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_EQ(DayOfWeek(0), 7);                            // Saturday
    EXPECT_EQ(DayOfWeek(-1), 6);                           // Friday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29)), 5);      // Thursday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3) + 0.9), 1); // Sunday
}

TEST(Clock, NowIsTodayPlusTheTime) {
    const TDateTime Today = Date();
    const TDateTime Current = Now();
    EXPECT_EQ(Today, std::floor(Today));
    EXPECT_GE(Current, Today);
    EXPECT_LT(Current, Today + 2); // a midnight may pass between the calls
    const TDateTime Clock = Time();
    EXPECT_GE(Clock, 0);
    EXPECT_LT(Clock, 1);
}

TEST(FormatDateTime, Specifiers) {
    const TDateTime T = EncodeDate(2024, 3, 5) + EncodeTime(8, 4, 3, 45); // a Tuesday
    struct {
        const char* Fmt;
        const char* Text;
    } const Cases[] = {
        {"d", "5"},
        {"dd", "05"},
        {"ddd", "Tue"},
        {"dddd", "Tuesday"},
        {"ddddd", "2024-03-05"},
        {"dddddd", "Tuesday, March 5, 2024"},
        {"m", "3"},
        {"mm", "03"},
        {"mmm", "Mar"},
        {"mmmm", "March"},
        {"yy", "24"},
        {"yyyy", "2024"},
        {"h", "8"},
        {"hh", "08"},
        {"n", "4"},
        {"nn", "04"},
        {"s", "3"},
        {"ss", "03"},
        {"z", "45"},
        {"zzz", "045"},
        {"t", "08:04"},
        {"tt", "08:04:03"},
        {"c", "2024-03-05 08:04:03"},
        {"hh:mm", "08:04"}, // m after h is the minute
        {"h:m", "8:4"},
        {"mm/dd", "03-05"}, // "/" is the date separator
        {"YYYY-MM-DD HH:NN", "2024-03-05 08:04"},
        {"h am/pm", "8 am"},
        {"h AM/PM", "8 AM"},
        {"h a/p", "8 a"},
        {"h ampm", "8 AM"},
        {"'Day' d", "Day 5"},
        {"\"dd\"dd", "dd05"},
        {"'unterminated", "unterminated"},
        {"x a #", "x a #"},
        {"", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FormatDateTime(C.Fmt, T), C.Text) << C.Fmt;
}

TEST(FormatDateTime, TwelveHourClock) {
    const TDateTime Day = EncodeDate(2024, 3, 5);
    struct {
        Word Hour;
        const char* Text;
    } const Cases[] = {
        {0, "12:30 am"}, {11, "11:30 am"}, {12, "12:30 pm"}, {13, "1:30 pm"}, {23, "11:30 pm"}};
    for (const auto& C : Cases)
        EXPECT_EQ(FormatDateTime("h:nn am/pm", Day + EncodeTime(C.Hour, 30, 0, 0)), C.Text);
    EXPECT_EQ(FormatDateTime("hh", Day + EncodeTime(13, 0, 0, 0)), "13");
    EXPECT_EQ(FormatDateTime("c", Day), "2024-03-05"); // no time at midnight
}

TEST(DateText, StandardForms) {
    const TDateTime T = EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 15, 0);
    EXPECT_EQ(DateToStr(T), "2024-03-05");
    EXPECT_EQ(TimeToStr(T), "14:30:15");
    EXPECT_EQ(DateTimeToStr(T), "2024-03-05 14:30:15");
    EXPECT_EQ(StrToDateTime(DateTimeToStr(T)), T);
}

TEST(DateText, ParseValidText) {
    const TDateTime Day = EncodeDate(2024, 3, 5);
    EXPECT_EQ(StrToDate("2024-03-05"), Day);
    EXPECT_EQ(StrToDate(" 2024-3-5 "), Day);
    EXPECT_EQ(StrToTime("13:05"), EncodeTime(13, 5, 0, 0));
    EXPECT_EQ(StrToTime("13:05:09"), EncodeTime(13, 5, 9, 0));
    EXPECT_EQ(StrToTime("13:05:09.5"), EncodeTime(13, 5, 9, 500));
    EXPECT_EQ(StrToTime("13:05:09.045"), EncodeTime(13, 5, 9, 45));
    EXPECT_EQ(StrToTime("1:05 PM"), EncodeTime(13, 5, 0, 0));
    EXPECT_EQ(StrToTime("12:00 am"), 0);
    EXPECT_EQ(StrToTime("12:00pm"), 0.5);
    EXPECT_EQ(StrToDateTime("2024-03-05"), Day);
    EXPECT_EQ(StrToDateTime("2024-03-05  13:05"), Day + EncodeTime(13, 5, 0, 0));
    EXPECT_EQ(StrToDateTime("13:05"), EncodeTime(13, 5, 0, 0));

    Word Year, Month, DayOfMonth;
    DecodeDate(Date(), Year, Month, DayOfMonth);
    EXPECT_EQ(StrToDate("03-05"), EncodeDate(Year, 3, 5)); // the current year
    const TDate TwoDigit = Decoded(StrToDate("24-03-05"));
    EXPECT_EQ(TwoDigit.Year % 100, 24);
    EXPECT_LT(std::abs(TwoDigit.Year - Year), 51);
}

TEST(DateText, RejectBadText) {
    for (const char* Text :
         {"2024-02-30", "2024/03/05", "abc", "", "2024", "2024-03-05-01", "2024-03-05x"})
        ExpectError<EConvertError>([&] { StrToDate(Text); },
                                   "'" + String(Text) + "' is not a valid date");
    for (const char* Text :
         {"24:00", "13", "13:60", "13:00 PM", "0:30 AM", "13:05:", "1:2:3.", "13:05 XM"})
        ExpectError<EConvertError>([&] { StrToTime(Text); },
                                   "'" + String(Text) + "' is not a valid time");
    for (const char* Text : {"2024-03-05x", "2024-03-0513:05", "2024-03-05 25:00", "x"})
        ExpectError<EConvertError>([&] { StrToDateTime(Text); },
                                   "'" + String(Text) + "' is not a valid date and time");
}

} // namespace
} // namespace orlo
