#include "platform/rtl/Variant.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/DecimalText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <bit>
#include <cmath>

namespace orlo {

namespace {

enum class TKind { Empty, Null, Ordinal, Float, Currency, Date, Text, Boolean, NoPayload };

TKind KindOf(TVarType Type) {
    switch (Type) {
    case varEmpty:
        return TKind::Empty;
    case varNull:
        return TKind::Null;
    case varSmallint:
    case varInteger:
    case varByte:
    case varInt64:
        return TKind::Ordinal;
    case varSingle:
    case varDouble:
        return TKind::Float;
    case varCurrency:
        return TKind::Currency;
    case varDate:
        return TKind::Date;
    case varOleStr:
    case varString:
        return TKind::Text;
    case varBoolean:
        return TKind::Boolean;
    default:
        return TKind::NoPayload;
    }
}

double RoundHalfEven(double V) {
    const double Floor = std::floor(V);
    const double Fraction = V - Floor;
    if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Floor, 2.0) != 0))
        return Floor + 1;
    return Floor;
}

Int64 RoundHalfEven(Currency C) {
    const Int64 Quotient = C.Scaled / Currency::Scale;
    const Int64 Remainder = C.Scaled % Currency::Scale;
    const Int64 Half = Currency::Scale / 2;
    const Int64 Away = C.Scaled < 0 ? -1 : 1;
    const Int64 Magnitude = Remainder < 0 ? -Remainder : Remainder;
    if (Magnitude > Half || (Magnitude == Half && Quotient % 2 != 0))
        return Quotient + Away;
    return Quotient;
}

// Numeric text: decimal or hexadecimal integers, then floating point.
bool TryTextToDouble(const String& S, double& Value) {
    Int64 Whole = 0;
    if (TryStrToInt64(S, Whole)) {
        Value = static_cast<double>(Whole);
        return true;
    }
    return TryStrToFloat(S, Value);
}

String SingleToStr(double Value) {
    if (auto Special = detail::SpecialFloatText(Value))
        return *Special;
    return detail::GeneralText(detail::DecimalOfSingle(static_cast<Single>(Value)), 15);
}

} // namespace

Variant::Variant(int V) noexcept : FType(varInteger), FInt(V) {}
Variant::Variant(Int64 V) noexcept : FType(varInt64), FInt(V) {}
Variant::Variant(double V) noexcept : FType(varDouble), FFloat(V) {}
Variant::Variant(bool V) noexcept : FType(varBoolean), FInt(V ? 1 : 0) {}
Variant::Variant(Currency V) noexcept : FType(varCurrency), FCurr(V.Scaled) {}
Variant::Variant(String V) : FType(varString), FStr(std::move(V)) {}
Variant::Variant(const char* V) : FType(varString), FStr(V ? V : "") {}

Variant Variant::Null() noexcept {
    return OfType(varNull);
}

Variant Variant::FromSmallint(SmallInt V) noexcept {
    Variant Result(static_cast<int>(V));
    Result.FType = varSmallint;
    return Result;
}

Variant Variant::FromByte(Byte V) noexcept {
    Variant Result(static_cast<int>(V));
    Result.FType = varByte;
    return Result;
}

Variant Variant::FromSingle(Single V) noexcept {
    Variant Result(static_cast<double>(V));
    Result.FType = varSingle;
    return Result;
}

Variant Variant::FromDate(TDateTime V) noexcept {
    Variant Result(V);
    Result.FType = varDate;
    return Result;
}

Variant Variant::FromOleStr(String V) {
    Variant Result(std::move(V));
    Result.FType = varOleStr;
    return Result;
}

Variant Variant::OfType(TVarType Type) noexcept {
    Variant Result;
    Result.FType = Type;
    return Result;
}

void Variant::CannotConvert(TVarType Target) const {
    throw EVariantError(Format("Could not convert variant of type (%s) into type (%s)",
                               VarTypeAsText(FType), VarTypeAsText(Target)));
}

void Variant::Overflow(TVarType Target) const {
    throw EVariantError(Format("Overflow while converting variant of type (%s) into type (%s)",
                               VarTypeAsText(FType), VarTypeAsText(Target)));
}

Int64 Variant::ToOrdinal(TVarType Target, Int64 Min, Int64 Max) const {
    const auto InRange = [&](Int64 V) {
        if (V < Min || V > Max)
            Overflow(Target);
        return V;
    };
    const auto FromFloat = [&](double V) {
        const double Rounded = RoundHalfEven(V);
        if (!(Rounded >= -0x1p63 && Rounded < 0x1p63))
            Overflow(Target);
        return InRange(static_cast<Int64>(Rounded));
    };
    switch (KindOf(FType)) {
    case TKind::Empty:
        return 0;
    case TKind::Ordinal:
        return InRange(FInt);
    case TKind::Boolean:
        return FInt ? -1 : 0;
    case TKind::Float:
    case TKind::Date:
        return FromFloat(FFloat);
    case TKind::Currency:
        return InRange(RoundHalfEven(Currency::FromScaled(FCurr)));
    case TKind::Text: {
        Int64 Whole = 0;
        Integer Whole32 = 0;
        double Float = 0;
        if (Target == varInteger && TryStrToInt(FStr, Whole32))
            return Whole32;
        if (Target != varInteger && TryStrToInt64(FStr, Whole))
            return Whole;
        if (TryStrToFloat(FStr, Float))
            return FromFloat(Float);
        break;
    }
    default:
        break;
    }
    CannotConvert(Target);
}

Integer Variant::AsInteger() const {
    return static_cast<Integer>(ToOrdinal(varInteger, INT32_MIN, INT32_MAX));
}

Int64 Variant::AsInt64() const {
    return ToOrdinal(varInt64, INT64_MIN, INT64_MAX);
}

double Variant::AsDouble() const {
    switch (KindOf(FType)) {
    case TKind::Empty:
        return 0;
    case TKind::Ordinal:
        return static_cast<double>(FInt);
    case TKind::Boolean:
        return FInt ? -1 : 0;
    case TKind::Float:
    case TKind::Date:
        return FFloat;
    case TKind::Currency:
        return Currency::FromScaled(FCurr).ToDouble();
    case TKind::Text: {
        double Value = 0;
        if (TryTextToDouble(FStr, Value))
            return Value;
        break;
    }
    default:
        break;
    }
    CannotConvert(varDouble);
}

Currency Variant::AsCurrency() const {
    const auto FromWhole = [&](Int64 V) {
        Int64 Scaled = 0;
        if (__builtin_mul_overflow(V, Currency::Scale, &Scaled))
            Overflow(varCurrency);
        return Currency::FromScaled(Scaled);
    };
    const auto FromFloat = [&](double V) {
        Currency Result;
        if (!Currency::TryFromDouble(V, Result))
            Overflow(varCurrency);
        return Result;
    };
    switch (KindOf(FType)) {
    case TKind::Empty:
        return Currency{};
    case TKind::Ordinal:
        return FromWhole(FInt);
    case TKind::Boolean:
        return FromWhole(FInt ? -1 : 0);
    case TKind::Float:
    case TKind::Date:
        return FromFloat(FFloat);
    case TKind::Currency:
        return Currency::FromScaled(FCurr);
    case TKind::Text: {
        Currency Value;
        Int64 Whole = 0;
        if (TryStrToInt64(FStr, Whole))
            return FromWhole(Whole);
        if (TryStrToCurr(FStr, Value))
            return Value;
        double Float = 0;
        if (TryStrToFloat(FStr, Float)) // readable, but beyond the currency range
            Overflow(varCurrency);
        break;
    }
    default:
        break;
    }
    CannotConvert(varCurrency);
}

TDateTime Variant::AsDate() const {
    if (KindOf(FType) == TKind::Text) {
        TDateTime Value = 0;
        if (!TryStrToDateTime(FStr, Value))
            CannotConvert(varDate);
        return Value;
    }
    if (KindOf(FType) == TKind::Null || KindOf(FType) == TKind::NoPayload)
        CannotConvert(varDate);
    return AsDouble();
}

bool Variant::AsBoolean() const {
    switch (KindOf(FType)) {
    case TKind::Empty:
        return false;
    case TKind::Ordinal:
    case TKind::Boolean:
        return FInt != 0;
    case TKind::Float:
    case TKind::Date:
        return FFloat != 0;
    case TKind::Currency:
        return FCurr != 0;
    case TKind::Text: {
        const String Text = Trim(FStr);
        double Value = 0;
        if (SameText(Text, "True"))
            return true;
        if (SameText(Text, "False"))
            return false;
        if (TryTextToDouble(Text, Value))
            return Value != 0;
        break;
    }
    default:
        break;
    }
    CannotConvert(varBoolean);
}

String Variant::AsString() const {
    switch (KindOf(FType)) {
    case TKind::Empty:
        return String();
    case TKind::Ordinal:
        return IntToStr(FInt);
    case TKind::Boolean:
        return FInt ? "True" : "False";
    case TKind::Float:
        return FType == varSingle ? SingleToStr(FFloat) : FloatToStr(FFloat);
    case TKind::Date:
        return DateTimeToStr(FFloat);
    case TKind::Currency:
        return CurrToStr(Currency::FromScaled(FCurr));
    case TKind::Text:
        return FStr;
    default:
        CannotConvert(varString);
    }
}

bool Variant::SameAs(const Variant& Other) const noexcept {
    if (FType != Other.FType)
        return false;
    switch (KindOf(FType)) {
    case TKind::Ordinal:
    case TKind::Boolean:
        return FInt == Other.FInt;
    case TKind::Currency:
        return FCurr == Other.FCurr;
    case TKind::Float:
    case TKind::Date: // bit for bit, so that a NaN is the same as its copy
        return std::bit_cast<UInt64>(FFloat) == std::bit_cast<UInt64>(Other.FFloat);
    case TKind::Text:
        return FStr == Other.FStr;
    default:
        return true;
    }
}

String VarTypeAsText(TVarType Type) {
    static constexpr const char* Names[] = {
        "Empty", "Null",   "Smallint", "Integer", "Single",  "Double",   "Currency",
        "Date",  "OleStr", "Dispatch", "Error",   "Boolean", "Variant",  "Unknown",
        nullptr, nullptr,  "ShortInt", "Byte",    "Word",    "LongWord", "Int64"};
    const TVarType Base = Type & varTypeMask;
    String Name = Base == varString                        ? "String"
                  : Base < std::size(Names) && Names[Base] ? Names[Base]
                                                           : "$" + IntToHex(Integer(Base), 4);
    if (Type & varArray)
        Name = "Array " + Name;
    if (Type & varByRef)
        Name = "ByRef " + Name;
    return Name;
}

} // namespace orlo
