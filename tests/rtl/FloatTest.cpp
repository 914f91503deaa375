#include "platform/rtl/SysUtils.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orlo {
namespace {

using test::ExpectError;

TEST(FloatToStr, GeneralFormatOfFifteenDigits) {
    struct {
        double Value;
        const char* Text;
    } const Cases[] = {
        {1.5, "1.5"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {1e-5, "1E-5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {-42.25, "-42.25"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {999999999999999.9, "1E15"},
        {-2.5e-7, "-2.5E-7"},
        {0.00012345, "0.00012345"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FloatToStr(C.Value), C.Text) << C.Text;
}

TEST(FloatToStr, ReadsBackValuesOfUpToFifteenDigits) {
    for (double V : {0.1, 1.5, 123.456, 1e-300, 9.87654321e100, -42.25, 3.14159265358979, 1e22,
                     0.000123456789012345, 5e-5, 299792458.0}) {
        EXPECT_EQ(StrToFloat(FloatToStr(V)), V) << FloatToStr(V);
    }
}

TEST(StrToFloat, ValidText) {
    struct {
        const char* Text;
        double Value;
    } const Cases[] = {
        {"1.5", 1.5}, {" 1.5 ", 1.5}, {"1e3", 1000},        {"1E+3", 1000},
        {".5", 0.5},  {"5.", 5},      {"-1.5E-3", -1.5e-3}, {"+2", 2},
        {"0", 0},     {"007", 7},     {"1E20", 1e20},       {"-0", 0},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(StrToFloat(C.Text), C.Value) << C.Text;
        double Value = 0;
        EXPECT_TRUE(TryStrToFloat(C.Text, Value)) << C.Text;
    }
}

TEST(StrToFloat, RejectsBadText) {
    for (const char* Text : {"", " ", "abc", "1,5", "1e", "1e+", "inf", "-inf", "nan", "1.5x",
                             "--1", "+-1", "0x10", "$10", "1e400", ".", "-.", "1 2", "e5"}) {
        ExpectError<EConvertError>([&] { StrToFloat(Text); },
                                   "'" + String(Text) + "' is not a valid floating point value");
        EXPECT_EQ(StrToFloatDef(Text, 7.5), 7.5) << Text;
    }
}

} // namespace
} // namespace orlo
