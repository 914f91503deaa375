#include "platform/rtl/Currency.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <limits>

namespace orlo {
namespace {

using test::ExpectError;

constexpr Currency Max = Currency::FromScaled(INT64_MAX);
constexpr Currency Min = Currency::FromScaled(INT64_MIN);

TEST(Currency, ToText) {
    struct {
        Int64 Scaled;
        const char* Text;
    } const Cases[] = {
        {15000, "1.5"},
        {0, "0"},
        {-1, "-0.0001"},
        {1000000, "100"},
        {123400, "12.34"},
        {INT64_MAX, "922337203685477.5807"},
        {INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(CurrToStr(Currency::FromScaled(C.Scaled)), C.Text);
}

TEST(Currency, FromTextRoundsHalfAwayFromZero) {
    struct {
        const char* Text;
        Int64 Scaled;
    } const Cases[] = {
        {"1.5", 15000},
        {" -2.25 ", -22500},
        {"1.23455", 12346},
        {"-1.23455", -12346},
        {"1.23454999", 12345},
        {"0.00005", 1},
        {"0.00004", 0},
        {"1e2", 1000000},
        {"12.5e-1", 12500},
        {"922337203685477.5807", INT64_MAX},
        {"-922337203685477.5808", INT64_MIN},
        {"922337203685477.58074", INT64_MAX},
        {"000.10", 1000},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(StrToCurr(C.Text).Scaled, C.Scaled) << C.Text;
    for (const char* Text : {"abc", "", "1,5", "922337203685477.5808", "922337203685477.58075",
                             "1e20", "--1", "1.5.1"}) {
        ExpectError<EConvertError>([&] { StrToCurr(Text); },
                                   "'" + String(Text) + "' is not a valid floating point value");
        Currency Value;
        EXPECT_FALSE(TryStrToCurr(Text, Value));
    }
}

TEST(Currency, FromDoubleRoundsTheWrittenValue) {
    struct {
        double Value;
        Int64 Scaled;
    } const Cases[] = {
        {1.5, 15000},    {1.00005, 10001},  {-1.00005, -10001},
        {0.12345, 1235}, {0.00004999, 0},   {-0.00005, -1},
        {2.675, 26750},  {0.1 + 0.2, 3000}, {922337203685477.0, 9223372036854770000},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Currency::FromDouble(C.Value).Scaled, C.Scaled) << C.Value;
    ExpectError<EConvertError>([] { Currency::FromDouble(1e15); },
                               "'1E15' is not a valid currency value");
    ExpectError<EConvertError>(
        [] { Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()); },
        "'NAN' is not a valid currency value");
    Currency Value;
    EXPECT_FALSE(Currency::TryFromDouble(std::numeric_limits<double>::infinity(), Value));
}

TEST(Currency, OrderAndDouble) {
    EXPECT_LT(Min, Currency{});
    EXPECT_LT(Currency::FromScaled(1), Currency::FromScaled(2));
    EXPECT_EQ(Currency::FromScaled(-25000).ToDouble(), -2.5);
    EXPECT_EQ(StrToCurr(CurrToStr(Max)), Max);
}

} // namespace
} // namespace orlo
