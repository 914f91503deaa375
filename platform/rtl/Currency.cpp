#include "platform/rtl/Currency.h"

#include "platform/rtl/DecimalText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>

namespace orlo {

// Rounds the decimal value the double stands for (its shortest text), so 1.00005
// becomes 1.0001 although its binary value lies just below the half.
bool Currency::TryFromDouble(double V, Currency& Out) {
    if (!std::isfinite(V))
        return false;
    const auto Scaled = detail::ScaledOfDecimal(detail::DecimalOfDouble(V, 0));
    if (!Scaled)
        return false;
    Out = FromScaled(*Scaled);
    return true;
}

Currency Currency::FromDouble(double V) {
    Currency Result;
    if (!TryFromDouble(V, Result))
        throw EConvertError(Format("'%s' is not a valid currency value", FloatToStr(V)));
    return Result;
}

String CurrToStr(Currency V) {
    return detail::GeneralText(detail::DecimalOfCurrency(V), 19); // every digit of the range
}

bool TryStrToCurr(const String& S, Currency& Value) {
    const auto Decimal = detail::ParseDecimal(S);
    const auto Scaled = Decimal ? detail::ScaledOfDecimal(*Decimal) : std::nullopt;
    if (!Scaled)
        return false;
    Value = Currency::FromScaled(*Scaled);
    return true;
}

Currency StrToCurr(const String& S) {
    Currency Value;
    if (!TryStrToCurr(S, Value))
        throw EConvertError(Format("'%s' is not a valid floating point value", S));
    return Value;
}

} // namespace orlo
