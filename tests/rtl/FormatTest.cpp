#include "platform/rtl/SysUtils.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace orlo {
namespace {

using test::ExpectError;

struct TFormatCase {
    const char* Fmt;
    std::vector<TVarRec> Args;
    const char* Expected;
};

String FormatOf(const TFormatCase& C) {
    return Format(C.Fmt, std::span<const TVarRec>(C.Args));
}

TEST(Format, Integers) {
    const TFormatCase Cases[] = {
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%5d", {42}, "   42"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},
        {"%6.4d", {42}, "  0042"},
        {"%d", {Int64(9000000000)}, "9000000000"},
        {"%d", {std::numeric_limits<UInt64>::max()}, "18446744073709551615"},
        {"%d", {Cardinal(4000000000u)}, "4000000000"},
        {"%u", {-1}, "4294967295"},
        {"%u", {Int64(-1)}, "18446744073709551615"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {Int64(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%D and %X", {5, 10}, "5 and A"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FormatOf(C), C.Expected) << C.Fmt;
}

TEST(Format, Floats) {
    const TFormatCase Cases[] = {
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%e", {-0.00012}, "-1.20000000000000E-004"},
        {"%.2e", {0.0}, "0.0E+000"},
        {"%f", {1234.5}, "1234.50"},
        {"%.0f", {2.5}, "3"},
        {"%.2f", {1.005}, "1.01"}, // rounded as the value is written, half away from zero
        {"%.2f", {-1.005}, "-1.01"},
        {"%f", {-0.001}, "0.00"},
        {"%.3f", {1e20}, "100000000000000000000.000"},
        {"%g", {1e20}, "1E20"},
        {"%g", {0.5}, "0.5"},
        {"%.3g", {1234.5}, "1.23E3"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {999.5}, "1,000"},
        {"%n", {-123.0}, "-123.00"},
        {"%m", {-1234.5}, "-$1,234.50"},
        {"%m", {0.001}, "$0.00"},
        {"%m", {Currency::FromScaled(15000)}, "$1.50"},
        {"%.3f", {Currency::FromScaled(23457)}, "2.346"},
        {"%f", {Currency::FromScaled(-1)}, "0.00"},
        {"%g", {Currency::FromScaled(INT64_MAX)}, "922337203685478"},
        {"%.3g", {Currency::FromScaled(INT64_MAX)}, "9.22E14"},
        {"%f", {1.5L}, "1.50"},
        {"%f", {std::numeric_limits<double>::quiet_NaN()}, "NAN"},
        {"%8.1f", {-std::numeric_limits<double>::infinity()}, "    -INF"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FormatOf(C), C.Expected) << C.Fmt;
}

TEST(Format, StringsPointersAndLayout) {
    const String Owned = "owned";
    const TFormatCase Cases[] = {
        {"%s", {"abc"}, "abc"},
        {"%s", {Owned}, "owned"},
        {"[%s]", {""}, "[]"},
        {"%5s", {"ab"}, "   ab"},
        {"%-5s|", {"ab"}, "ab   |"},
        {"%.2s", {"abc"}, "ab"},
        {"%.1s", {"äb"}, "ä"}, // never cuts a character
        {"%3s|%-3s|", {"ä", "ö"}, "  ä|ö  |"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%0:s %s %s", {"a", "b", "c"}, "a b c"},
        {"%2:s %0:s %s", {"a", "b", "c"}, "c a b"},
        {"%*d", {5, 42}, "   42"},
        {"%-*d|", {4, 1}, "1   |"},
        {"%*d|", {-4, 1}, "1   |"},
        {"%.*f", {1, 2.25}, "2.3"},
        {"%*.*f", {8, 3, 3.14159}, "   3.142"},
        {"%p", {reinterpret_cast<const void*>(0x1234)}, "0000000000001234"},
        {"%%d 100%%", {}, "%d 100%"},
        {"no items", {}, "no items"},
        {"%s=%d", {"x", 5}, "x=5"},
        {"", {}, ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FormatOf(C), C.Expected) << C.Fmt;
}

TEST(Format, VariadicAndListFormsAgree) {
    const String Name = "Deutsch";
    EXPECT_EQ(Format("Language '%s' of form %s not found", Name, "TForm1"),
              "Language 'Deutsch' of form TForm1 not found");
    EXPECT_EQ(Format("%d/%s/%.1f", {7, "x", 0.25}), "7/x/0.3");
    EXPECT_EQ(Format("%d %d", short(3), 'A'), "3 65");
    EXPECT_EQ(Format("plain"), "plain");
}

TEST(Format, BadItemsAndArgumentKinds) {
    const TFormatCase Cases[] = {
        {"%d", {"x"}, nullptr},        {"%s", {5}, nullptr},
        {"%f", {5}, nullptr},          {"%d", {1.5}, nullptr},
        {"%x", {1.5}, nullptr},        {"%p", {"x"}, nullptr},
        {"%s", {Currency{}}, nullptr}, {"%d", {Currency{}}, nullptr},
        {"%k", {1}, nullptr},          {"%", {}, nullptr},
        {"abc %5", {1}, nullptr},      {"%*d", {"x", 1}, nullptr},
        {"%99999999d", {1}, nullptr},  {"%.*f", {1.5, 1.5}, nullptr},
    };
    for (const auto& C : Cases)
        ExpectError<EConvertError>([&] { FormatOf(C); },
                                   "Format '" + String(C.Fmt) +
                                       "' invalid or incompatible with argument");
}

TEST(Format, MissingArguments) {
    for (const TFormatCase& C :
         {TFormatCase{"%d %d", {1}, nullptr}, TFormatCase{"%1:d", {5}, nullptr},
          TFormatCase{"%*d", {5}, nullptr}, TFormatCase{"%s", {}, nullptr}})
        ExpectError<EConvertError>([&] { FormatOf(C); },
                                   "No argument for format '" + String(C.Fmt) + "'");
}

} // namespace
} // namespace orlo
