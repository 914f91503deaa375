#pragma once
// Decimal digit strings of floating and currency values and their text layouts;
// the common ground of FloatToStr, CurrToStr, StrToCurr and Format.

#include "platform/rtl/Currency.h"
#include "platform/rtl/Types.h"

#include <optional>
#include <string_view>

namespace orlo::detail {

// Value = 0.Digits × 10^Exponent. Digits has no leading or trailing zeros; no
// digits means zero.
struct TDecimal {
    bool Negative = false;
    String Digits;
    Integer Exponent = 0;

    bool IsZero() const noexcept { return Digits.empty(); }
};

// "NAN", "INF" or "-INF" for the special values, nothing for finite ones.
std::optional<String> SpecialFloatText(double Value);

// The finite Value rounded to Precision significant digits; Precision 0 gives
// the shortest digits that read back as Value.
TDecimal DecimalOfDouble(double Value, Integer Precision);
// The shortest digits that read back as the finite Value.
TDecimal DecimalOfSingle(Single Value);
TDecimal DecimalOfCurrency(Currency Value);
// Decimal text with "." and an optional exponent, blanks around it allowed.
std::optional<TDecimal> ParseDecimal(std::string_view Text);
// The value in ten-thousandths, rounded half away from zero; nothing when it
// does not fit 64 bits.
std::optional<Int64> ScaledOfDecimal(TDecimal D);

// Rounding half away from zero, to significant digits or to places after the point.
void RoundToDigits(TDecimal& D, Integer Digits);
void RoundToDecimals(TDecimal& D, Integer Decimals);

// Layouts. General: plain digits, or "1.5E-7" when the exponent leaves Precision
// digits or the value is below 0.0001. Fixed: Decimals places, optionally with
// thousand separators. Scientific: Digits significant digits, "1.50E+003".
String GeneralText(TDecimal D, Integer Precision);
String FixedText(TDecimal D, Integer Decimals, bool Thousands);
String ScientificText(TDecimal D, Integer Digits);

} // namespace orlo::detail
