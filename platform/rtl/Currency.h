#pragma once
// Currency: a fixed-point number with four decimals held as a scaled 64-bit integer.

#include "platform/rtl/Types.h"

#include <compare>

namespace orlo {

struct Currency {
    static constexpr Int64 Scale = 10000;
    Int64 Scaled = 0; // value × 10000

    static constexpr Currency FromScaled(Int64 V) noexcept { return Currency{V}; }
    static Currency FromDouble(double V); // rounds half away from zero; EConvertError on overflow
    // The same without raising: false for values out of range, NaN and infinities.
    static bool TryFromDouble(double V, Currency& Out);
    double ToDouble() const noexcept { return static_cast<double>(Scaled) / Scale; }

    friend auto operator<=>(const Currency&, const Currency&) = default;
};

String CurrToStr(Currency V);
Currency StrToCurr(const String& S); // EConvertError "'%s' is not a valid floating point value"
bool TryStrToCurr(const String& S, Currency& Value);

} // namespace orlo
