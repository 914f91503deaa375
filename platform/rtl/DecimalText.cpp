#include "platform/rtl/DecimalText.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace orlo::detail {

namespace {

constexpr Integer MaxExponent = 100000; // far beyond any double; keeps the arithmetic in range

void Normalize(TDecimal& D) {
    const auto First = D.Digits.find_first_not_of('0');
    if (First == String::npos) {
        D = TDecimal{};
        return;
    }
    D.Digits.erase(0, First);
    D.Exponent -= static_cast<Integer>(First);
    D.Digits.erase(D.Digits.find_last_not_of('0') + 1);
}

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}
bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

std::string_view TrimBlanks(std::string_view S) {
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    return S;
}

// Reads an optional sign; true for "-".
bool ReadSign(std::string_view& S) {
    if (S.empty() || (S.front() != '+' && S.front() != '-'))
        return false;
    const bool Minus = S.front() == '-';
    S.remove_prefix(1);
    return Minus;
}

void AppendDigits(String& Out, std::string_view Digits, Integer Count) {
    for (Integer I = 0; I < Count; ++I)
        Out += I < static_cast<Integer>(Digits.size()) ? Digits[I] : '0';
}

void AppendGrouped(String& Out, const String& IntegerDigits) {
    const auto Size = IntegerDigits.size();
    for (std::size_t I = 0; I < Size; ++I) {
        if (I > 0 && (Size - I) % 3 == 0)
            Out += FormatSettings.ThousandSeparator;
        Out += IntegerDigits[I];
    }
}

// Digits of to_chars' scientific text of a magnitude: "1.5e+20", "3e-05".
TDecimal DecimalOfScientific(std::string_view Text, bool Negative) {
    const auto E = Text.find('e');
    TDecimal D;
    D.Negative = Negative;
    for (char C : Text.substr(0, E))
        if (C != '.')
            D.Digits += C;
    std::string_view ExponentText = Text.substr(E + 1);
    if (ExponentText.front() == '+')
        ExponentText.remove_prefix(1);
    Integer Exponent = 0;
    std::from_chars(ExponentText.data(), ExponentText.data() + ExponentText.size(), Exponent);
    D.Exponent = Exponent + 1;
    Normalize(D);
    return D;
}

String SignPrefix(const TDecimal& D) {
    return D.Negative && !D.IsZero() ? "-" : "";
}

} // namespace

std::optional<String> SpecialFloatText(double Value) {
    if (std::isnan(Value))
        return String("NAN");
    if (std::isinf(Value))
        return String(Value > 0 ? "INF" : "-INF");
    return std::nullopt;
}

TDecimal DecimalOfDouble(double Value, Integer Precision) {
    char Buffer[64];
    const double Magnitude = std::fabs(Value);
    const auto Result = Precision > 0 ? std::to_chars(Buffer, std::end(Buffer), Magnitude,
                                                      std::chars_format::scientific, Precision - 1)
                                      : std::to_chars(Buffer, std::end(Buffer), Magnitude,
                                                      std::chars_format::scientific);
    return DecimalOfScientific(std::string_view(Buffer, Result.ptr - Buffer), std::signbit(Value));
}

TDecimal DecimalOfSingle(Single Value) {
    char Buffer[64];
    const auto Result =
        std::to_chars(Buffer, std::end(Buffer), std::fabs(Value), std::chars_format::scientific);
    return DecimalOfScientific(std::string_view(Buffer, Result.ptr - Buffer), std::signbit(Value));
}

TDecimal DecimalOfCurrency(Currency Value) {
    const UInt64 Magnitude = Value.Scaled < 0 ? UInt64(0) - static_cast<UInt64>(Value.Scaled)
                                              : static_cast<UInt64>(Value.Scaled);
    char Buffer[24];
    const auto Result = std::to_chars(Buffer, std::end(Buffer), Magnitude);
    TDecimal D;
    D.Negative = Value.Scaled < 0;
    D.Digits.assign(Buffer, Result.ptr);
    D.Exponent = static_cast<Integer>(D.Digits.size()) - 4;
    Normalize(D);
    return D;
}

std::optional<TDecimal> ParseDecimal(std::string_view Text) {
    std::string_view S = TrimBlanks(Text);
    TDecimal D;
    D.Negative = ReadSign(S);
    Integer IntegerDigits = 0;
    bool Point = false;
    while (!S.empty() && (IsDigit(S.front()) || (S.front() == '.' && !Point))) {
        if (S.front() == '.')
            Point = true;
        else {
            D.Digits += S.front();
            IntegerDigits += Point ? 0 : 1;
        }
        S.remove_prefix(1);
    }
    if (D.Digits.empty())
        return std::nullopt;
    Integer Exponent = 0;
    if (!S.empty() && (S.front() == 'e' || S.front() == 'E')) {
        S.remove_prefix(1);
        const bool Minus = ReadSign(S);
        if (S.empty() || !IsDigit(S.front()))
            return std::nullopt;
        for (; !S.empty() && IsDigit(S.front()); S.remove_prefix(1))
            Exponent = std::min(Exponent * 10 + (S.front() - '0'), MaxExponent);
        Exponent = Minus ? -Exponent : Exponent;
    }
    if (!S.empty())
        return std::nullopt;
    D.Exponent = std::clamp(IntegerDigits + Exponent, -MaxExponent, MaxExponent);
    Normalize(D);
    return D;
}

std::optional<Int64> ScaledOfDecimal(TDecimal D) {
    RoundToDecimals(D, 4);
    const Integer ScaledDigits = D.Exponent + 4;
    if (D.IsZero())
        return Int64(0);
    if (ScaledDigits > std::numeric_limits<UInt64>::digits10)
        return std::nullopt;
    UInt64 Magnitude = 0;
    for (Integer I = 0; I < ScaledDigits; ++I)
        Magnitude =
            Magnitude * 10 + (I < static_cast<Integer>(D.Digits.size()) ? D.Digits[I] - '0' : 0);
    const UInt64 Limit =
        static_cast<UInt64>(std::numeric_limits<Int64>::max()) + (D.Negative ? 1 : 0);
    if (Magnitude > Limit)
        return std::nullopt;
    return D.Negative ? static_cast<Int64>(UInt64(0) - Magnitude) : static_cast<Int64>(Magnitude);
}

void RoundToDigits(TDecimal& D, Integer Digits) {
    if (Digits < 0) {
        D = TDecimal{};
        return;
    }
    if (static_cast<Integer>(D.Digits.size()) <= Digits)
        return;
    const bool Up = D.Digits[Digits] >= '5';
    D.Digits.resize(Digits);
    if (Up) {
        Integer I = Digits - 1;
        for (; I >= 0 && D.Digits[I] == '9'; --I)
            D.Digits[I] = '0';
        if (I >= 0)
            ++D.Digits[I];
        else {
            D.Digits.insert(D.Digits.begin(), '1');
            ++D.Exponent;
        }
    }
    Normalize(D);
}

void RoundToDecimals(TDecimal& D, Integer Decimals) {
    if (!D.IsZero())
        RoundToDigits(D, D.Exponent + Decimals);
}

String GeneralText(TDecimal D, Integer Precision) {
    RoundToDigits(D, Precision);
    if (D.IsZero())
        return "0";
    String Out = SignPrefix(D);
    const std::string_view Digits = D.Digits;
    if (D.Exponent > Precision || D.Exponent < -3) {
        Out += Digits.front();
        if (Digits.size() > 1) {
            Out += FormatSettings.DecimalSeparator;
            Out += Digits.substr(1);
        }
        Out += 'E';
        Out += std::to_string(D.Exponent - 1);
    } else if (D.Exponent <= 0) {
        Out += '0';
        Out += FormatSettings.DecimalSeparator;
        Out.append(-D.Exponent, '0');
        Out += Digits;
    } else {
        AppendDigits(Out, Digits, D.Exponent);
        if (static_cast<Integer>(Digits.size()) > D.Exponent) {
            Out += FormatSettings.DecimalSeparator;
            Out += Digits.substr(D.Exponent);
        }
    }
    return Out;
}

String FixedText(TDecimal D, Integer Decimals, bool Thousands) {
    RoundToDecimals(D, Decimals);
    String Out = SignPrefix(D);
    String IntegerDigits;
    if (D.Exponent > 0)
        AppendDigits(IntegerDigits, D.Digits, D.Exponent);
    else
        IntegerDigits = "0";
    if (Thousands)
        AppendGrouped(Out, IntegerDigits);
    else
        Out += IntegerDigits;
    if (Decimals > 0) {
        Out += FormatSettings.DecimalSeparator;
        for (Integer K = 0; K < Decimals; ++K) {
            const Integer Index = D.Exponent + K;
            const bool Inside = Index >= 0 && Index < static_cast<Integer>(D.Digits.size());
            Out += Inside ? D.Digits[Index] : '0';
        }
    }
    return Out;
}

String ScientificText(TDecimal D, Integer Digits) {
    Digits = std::max(Digits, 1);
    RoundToDigits(D, Digits);
    String Out = SignPrefix(D);
    const std::string_view Mantissa = D.Digits;
    Out += Mantissa.empty() ? '0' : Mantissa.front();
    if (Digits > 1) {
        Out += FormatSettings.DecimalSeparator;
        AppendDigits(Out, Mantissa.empty() ? Mantissa : Mantissa.substr(1), Digits - 1);
    }
    const Integer Exponent = D.IsZero() ? 0 : D.Exponent - 1;
    Out += Exponent < 0 ? "E-" : "E+";
    const String ExponentDigits = std::to_string(std::abs(Exponent));
    Out.append(ExponentDigits.size() < 3 ? 3 - ExponentDigits.size() : 0, '0');
    Out += ExponentDigits;
    return Out;
}

} // namespace orlo::detail
