#pragma once
// Variant: the tagged value in which property values and translations travel.
// Type codes are the OLE Automation numbers plus varString (256) for an 8-bit
// string; conversions follow the original platform's variant rules.

#include "platform/rtl/Currency.h"
#include "platform/rtl/Types.h"

namespace orlo {

using TVarType = Word;

enum : TVarType {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varString = 0x0100,
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
    varByRef = 0x4000,
};

class Variant {
public:
    Variant() noexcept = default; // varEmpty
    Variant(int V) noexcept;      // varInteger
    Variant(Int64 V) noexcept;    // varInt64
    Variant(double V) noexcept;   // varDouble
    Variant(bool V) noexcept;     // varBoolean
    Variant(Currency V) noexcept; // varCurrency
    Variant(String V);            // varString
    Variant(const char* V);       // varString

    static Variant Null() noexcept;
    static Variant FromSmallint(SmallInt V) noexcept;
    static Variant FromByte(Byte V) noexcept;
    static Variant FromSingle(Single V) noexcept;
    static Variant FromDate(TDateTime V) noexcept;
    static Variant FromOleStr(String V); // varOleStr; held as UTF-8 text here
    // A value with an arbitrary type code and no payload (for codes that cannot
    // be stored, such as varDispatch or arrays); conversions of it raise.
    static Variant OfType(TVarType Type) noexcept;

    TVarType VarType() const noexcept { return FType; }
    bool IsEmpty() const noexcept { return FType == varEmpty; }
    bool IsNull() const noexcept { return FType == varNull; }
    // The text of a varString or varOleStr without copying it; nil for other types.
    const String* TextRef() const noexcept {
        return FType == varString || FType == varOleStr ? &FStr : nullptr;
    }

    // Conversions; EVariantError "Could not convert variant of type (%s) into
    // type (%s)" where the value cannot become the target type (null never can),
    // "Overflow while converting variant of type (%s) into type (%s)" where it
    // lies outside the target's range. Empty gives 0, "" and false; true counts
    // as -1; floats become integers with banker's rounding; text is read as
    // StrToInt, StrToFloat, StrToCurr, StrToDateTime read it, and as "True" or
    // "False" (any case) or a number for AsBoolean.
    String AsString() const;
    Integer AsInteger() const;
    Int64 AsInt64() const;
    double AsDouble() const;
    Currency AsCurrency() const;
    TDateTime AsDate() const;
    bool AsBoolean() const;

    // Same type code and same payload.
    bool SameAs(const Variant& Other) const noexcept;
    friend bool operator==(const Variant& A, const Variant& B) noexcept { return A.SameAs(B); }

private:
    // The value as a whole number of the target type's range (banker's rounding).
    Int64 ToOrdinal(TVarType Target, Int64 Min, Int64 Max) const;
    [[noreturn]] void CannotConvert(TVarType Target) const;
    [[noreturn]] void Overflow(TVarType Target) const;

    TVarType FType = varEmpty;
    union {
        Int64 FInt = 0; // varSmallint, varInteger, varByte, varInt64, varBoolean (0/1)
        double FFloat;  // varSingle, varDouble, varDate
        Int64 FCurr;    // varCurrency, scaled by 10000
    };
    String FStr; // varString, varOleStr
};

// Name of a type code as error messages show it ("Integer", "String", ...).
String VarTypeAsText(TVarType Type);

} // namespace orlo
