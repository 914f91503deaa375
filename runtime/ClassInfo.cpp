#include "runtime/ClassInfo.h"

#include "platform/classes/Component.h"
#include "platform/classes/Persistent.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ConvertTools.h"
#include "runtime/TypeTools.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/ClassInfo.cpp 1.0 09.12.26 22:20 orlo $");

constexpr size_t AddressDigits = 16; // hexadecimal digits of one address in text form
constexpr size_t HalfDigits = 8;     // what HexToInt reads without wrapping
constexpr size_t MethodTextLength = 2 * AddressDigits + 1;
constexpr Integer OrdinalBytes = 4;
constexpr Integer AddressBytes = 8;
constexpr Integer ExtendedBytes = 10;
constexpr Integer ExtendedBias = 16383;
constexpr Integer ExtendedMantissaBits = 64;

bool IsOrdinalKind(TTypeKind Kind) {
    return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet ||
           Kind == tkClass;
}

bool IsStringKind(TTypeKind Kind) {
    return Kind == tkString || Kind == tkLString || Kind == tkWString;
}

Variant IntegerVariant(Int64 Value) {
    if (Value >= INT32_MIN && Value <= INT32_MAX)
        return Variant(static_cast<Integer>(Value));
    return Variant(Value);
}

// --- Addresses as text ---------------------------------------------------------

String AddressToHex(UInt64 Address) {
    return IntToHex(static_cast<Int64>(Address), static_cast<Integer>(AddressDigits));
}

UInt64 AddressOf(const void* Pointer) {
    return reinterpret_cast<uintptr_t>(Pointer);
}

void* PointerOf(UInt64 Address) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(Address));
}

// Up to 16 digits; HexToInt reads 32 bits, so longer texts are read in two parts,
// the last 8 digits being the low half.
UInt64 HexToAddress(std::string_view Digits) {
    const auto Read = [](std::string_view Part) {
        return static_cast<UInt64>(static_cast<Cardinal>(HexToInt(String(Part))));
    };
    if (Digits.size() <= HalfDigits)
        return Read(Digits);
    const size_t Split = Digits.size() - HalfDigits;
    return Read(Digits.substr(0, Split)) << 32 | Read(Digits.substr(Split));
}

// --- Little-endian byte forms --------------------------------------------------

void AppendLittleEndian(String& Bytes, UInt64 Value, Integer Count) {
    for (Integer I = 0; I < Count; ++I)
        Bytes += static_cast<char>((Value >> (8 * I)) & 0xFF);
}

UInt64 ReadLittleEndian(const Byte* Bytes, Integer Count) {
    UInt64 Value = 0;
    for (Integer I = Count - 1; I >= 0; --I)
        Value = Value << 8 | Bytes[I];
    return Value;
}

// The 80-bit extended format: 64-bit mantissa with explicit integer bit, then
// sign and 15-bit exponent. Built arithmetically so the form does not depend on
// the compiler's long double.
String ExtendedToBytes(Extended Value) {
    UInt64 Mantissa = 0;
    UInt64 SignExponent = std::signbit(Value) ? 0x8000 : 0;
    if (std::isnan(Value)) {
        SignExponent |= 0x7FFF;
        Mantissa = UINT64_C(0xC000000000000000);
    } else if (std::isinf(Value)) {
        SignExponent |= 0x7FFF;
        Mantissa = UINT64_C(0x8000000000000000);
    } else if (Value != 0) {
        int Exponent = 0;
        const Extended Fraction = std::frexp(std::fabs(Value), &Exponent); // in [0.5, 1)
        const Integer Biased = Exponent - 1 + ExtendedBias;
        if (Biased > 0) {
            SignExponent |= static_cast<UInt64>(Biased);
            Mantissa = static_cast<UInt64>(std::ldexp(Fraction, ExtendedMantissaBits));
        } else { // denormal: exponent field 0
            Mantissa = static_cast<UInt64>(
                std::ldexp(std::fabs(Value), ExtendedBias - 1 + ExtendedMantissaBits - 1));
        }
    }
    String Bytes;
    AppendLittleEndian(Bytes, Mantissa, 8);
    AppendLittleEndian(Bytes, SignExponent, 2);
    return Bytes;
}

Extended BytesToExtended(const Byte* Bytes) {
    const UInt64 Mantissa = ReadLittleEndian(Bytes, 8);
    const UInt64 SignExponent = ReadLittleEndian(Bytes + 8, 2);
    const Integer Exponent = static_cast<Integer>(SignExponent & 0x7FFF);
    Extended Value;
    if (Exponent == 0x7FFF)
        Value = (Mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    else if (Exponent == 0)
        Value = std::ldexp(static_cast<Extended>(Mantissa),
                           1 - ExtendedBias - (ExtendedMantissaBits - 1));
    else
        Value = std::ldexp(static_cast<Extended>(Mantissa),
                           Exponent - ExtendedBias - (ExtendedMantissaBits - 1));
    return (SignExponent & 0x8000) ? -Value : Value;
}

// --- Objects the accessor can vouch for ----------------------------------------

// The top of the ownership chain Obj belongs to, if that is a component.
const TComponent* RootComponentOf(const TObject* Obj) {
    const TComponent* Root = nullptr;
    for (auto* P = dynamic_cast<const TPersistent*>(Obj); P; P = P->GetOwner())
        if (auto* Component = dynamic_cast<const TComponent*>(P))
            Root = Component;
    return Root;
}

bool TreeContains(const TComponent* Root, const void* Address) {
    if (static_cast<const TObject*>(Root) == Address)
        return true;
    for (Integer I = 0; I < Root->ComponentCount(); ++I)
        if (TreeContains(Root->Components(I), Address))
            return true;
    return false;
}

bool BelongsToClass(const TPropInfo* PropInfo, TClass Class) {
    for (TClass C = Class; C; C = C->ClassParent()) {
        const auto& List = C->Properties();
        if (std::find(List.begin(), List.end(), PropInfo) != List.end())
            return true;
    }
    return false;
}

} // namespace

String GetUnitNameOfClass(const TObject* Obj) {
    return Obj ? GetTypeUnitName(Obj->ClassType()->ClassInfo()) : String();
}

// --- Targeting and selection ---------------------------------------------------

TClassInfo::TClassInfo(TObject* Instance) {
    Init(Instance);
}

TClassInfo::TClassInfo(TObject* Instance, const TPropInfo* PropInfo) {
    Init(Instance, PropInfo);
}

void TClassInfo::Init(TObject* Instance, const TPropInfo* PropInfo) {
    // A foreign descriptor would reach into an object of another class.
    if (Instance && PropInfo && !BelongsToClass(PropInfo, Instance->ClassType()))
        Raise("Init", "Property does not belong to the object's class");
    Done();
    if (!Instance)
        return;
    FInstance = Instance;
    FClassTypeInfo = Instance->ClassType()->ClassInfo();
    if (!FClassTypeInfo)
        return;
    FClassTypeData = GetTypeData(FClassTypeInfo);
    if (PropInfo) {
        FPropInfo = PropInfo;
        FCount = 1;
        Select(0);
    } else {
        FPropList = GetPropList(FClassTypeInfo, tkAny);
        FCount = static_cast<Integer>(FPropList.size());
    }
}

void TClassInfo::Done() {
    FInstance = nullptr;
    FClassTypeInfo = nullptr;
    FClassTypeData = nullptr;
    FPropList = {};
    FPropInfo = nullptr;
    FCount = 0;
    FIndex = -1;
    FPCharText = {};
    ResetSelection();
}

void TClassInfo::ResetSelection() noexcept {
    FPropType = nullptr;
    FIsOrdinal = false;
    FIsString = false;
    FKind = tkUnknown;
    FMode = {};
    FPropIndex = -1;
}

bool TClassInfo::Select(Integer Index) {
    if (Index < 0 || Index >= FCount)
        Raise("Select", "Invalid Index");
    if (!FPropList.empty())
        FPropInfo = FPropList[static_cast<size_t>(Index)];
    const bool Valid = FPropInfo && FPropInfo->PropType;
    if (Valid) {
        FPropType = FPropInfo->PropType;
        FKind = FPropType->Kind;
        FIsOrdinal = IsOrdinalKind(FKind);
        FIsString = IsStringKind(FKind);
        FMode = {};
        if (FPropInfo->Access && FPropInfo->HasGetter())
            FMode.Include(pmRead);
        if (FPropInfo->Access && FPropInfo->HasSetter())
            FMode.Include(pmWrite);
        FPropIndex = FPropInfo->Index;
    } else {
        ResetSelection();
    }
    FIndex = Index;
    return Valid;
}

Integer TClassInfo::IndexOf(const String& PropName) const {
    const String Wanted = Trim(PropName);
    for (Integer I = 0; I < FCount; ++I) {
        const TPropInfo* Info = FPropList.empty() ? FPropInfo : FPropList[static_cast<size_t>(I)];
        if (Info && SameText(Info->Name, Wanted))
            return I;
    }
    return -1;
}

Integer TClassInfo::PropListSize() const noexcept {
    return static_cast<Integer>(FPropList.size() * sizeof(const TPropInfo*));
}

// --- Checks --------------------------------------------------------------------

void TClassInfo::Raise(const char* Operation, const char* Message) const {
    throw EObjectBrowseError(String("TClassInfo.") + Operation + ": " + Message);
}

void TClassInfo::CheckSelected(const char* Operation) const {
    if (FIndex < 0)
        Raise(Operation, "No property selected");
    if (!FPropInfo)
        Raise(Operation, "Property information not available");
    if (!FPropType)
        Raise(Operation, "Property type information not available");
}

void TClassInfo::CheckAccess(const char* Operation, TPropMode Needed) const {
    CheckSelected(Operation);
    if (!FMode.Contains(Needed))
        Raise(Operation, "Method for read or write access not available");
}

// --- Description ---------------------------------------------------------------

const TPropInfo* TClassInfo::PropRef() const {
    CheckSelected("PropRef");
    return FPropInfo;
}

String TClassInfo::Name() const {
    CheckSelected("Name");
    return FPropInfo->Name;
}

String TClassInfo::Typ() const {
    CheckSelected("Typ");
    return FPropType->Name;
}

String TClassInfo::TypDef() const {
    CheckSelected("TypDef");
    String Result;
    if (FKind == tkEnumeration)
        Result.append("(").append(EnumTypeDecl(FPropType)).append(")");
    else if (FKind == tkSet)
        Result.append("[").append(SetTypeDecl(FPropType)).append("]");
    return Result;
}

// --- Values --------------------------------------------------------------------

Int64 TClassInfo::ReadOrdinal() const {
    const Int64 Value = GetOrdProp(FInstance, FPropInfo);
    // A character is its code 0..255 whatever the signedness of char.
    return FKind == tkChar ? static_cast<Byte>(Value) : Value;
}

Variant TClassInfo::ReadValue(const char* Operation) const {
    switch (FKind) {
    case tkInteger:
    case tkChar:
        return IntegerVariant(ReadOrdinal());
    case tkEnumeration:
        return Variant(EnumToStr(FPropType, static_cast<Integer>(ReadOrdinal())));
    case tkFloat:
        return Variant(static_cast<double>(GetFloatProp(FInstance, FPropInfo)));
    case tkString:
    case tkLString:
    case tkWString:
        return Variant(GetStrProp(FInstance, FPropInfo));
    case tkSet:
        return Variant(SetToStr(FPropType, static_cast<Integer>(ReadOrdinal())));
    case tkClass:
        return Variant(AddressToHex(static_cast<UInt64>(ReadOrdinal())) + "h");
    case tkMethod: {
        const TMethod Method = GetMethodProp(FInstance, FPropInfo);
        return Variant(AddressToHex(AddressOf(Method.Code)) + AddressToHex(AddressOf(Method.Data)) +
                       "h");
    }
    case tkVariant:
        return GetVariantProp(FInstance, FPropInfo);
    default:
        Raise(Operation, "Type cannot be handled");
    }
}

void TClassInfo::WriteValue(const char* Operation, const Variant& Value) {
    switch (FKind) {
    case tkInteger:
    case tkChar:
        return SetOrdProp(FInstance, FPropInfo, Value.AsInt64());
    case tkEnumeration:
        return SetOrdProp(FInstance, FPropInfo, StrToEnum(FPropType, Value.AsString()));
    case tkFloat:
        return SetFloatProp(FInstance, FPropInfo, Value.AsDouble());
    case tkString:
    case tkLString:
    case tkWString:
        return SetStrProp(FInstance, FPropInfo, Value.AsString());
    case tkSet:
        return SetOrdProp(FInstance, FPropInfo, StrToSet(FPropType, Value.AsString()));
    case tkClass: {
        String Digits = Trim(Value.AsString());
        if (!Digits.empty() && (Digits.back() == 'h' || Digits.back() == 'H'))
            Digits.pop_back();
        if (Digits.size() > AddressDigits)
            Raise(Operation, "Invalid object reference");
        return StoreObject(Operation, HexToAddress(Digits));
    }
    case tkMethod: {
        const String Text = Value.AsString();
        if (Text.size() != MethodTextLength || Text.back() != 'h')
            Raise(Operation, "Invalid method descriptor");
        const std::string_view Digits(Text);
        return StoreMethod(
            Operation,
            TMethod{PointerOf(HexToAddress(Digits.substr(0, AddressDigits))),
                    PointerOf(HexToAddress(Digits.substr(AddressDigits, AddressDigits)))});
    }
    case tkVariant:
        return SetVariantProp(FInstance, FPropInfo, Value);
    default:
        Raise(Operation, "Type cannot be handled");
    }
}

bool TClassInfo::Vouches(const void* Address) const {
    if (Address == static_cast<const TObject*>(FInstance))
        return true;
    const TComponent* Root = RootComponentOf(FInstance);
    return Root && TreeContains(Root, Address);
}

void TClassInfo::StoreObject(const char* Operation, UInt64 Address) {
    const bool Current = FMode.Contains(pmRead) && static_cast<UInt64>(ReadOrdinal()) == Address;
    if (Address != 0 && !Current && !Vouches(PointerOf(Address)))
        Raise(Operation, "Unknown object reference");
    SetObjectProp(FInstance, FPropInfo, static_cast<TObject*>(PointerOf(Address)));
}

void TClassInfo::StoreMethod(const char* Operation, const TMethod& Value) {
    const bool Nil = !Value.Code && !Value.Data;
    const bool Current = FMode.Contains(pmRead) && GetMethodProp(FInstance, FPropInfo) == Value;
    // A handler is a published method of an object the accessor knows.
    const bool Published = Value.Code && Value.Data && Vouches(Value.Data) &&
                           !static_cast<const TObject*>(Value.Data)->MethodName(Value.Code).empty();
    if (!Nil && !Current && !Published)
        Raise(Operation, "Unknown method reference");
    SetMethodProp(FInstance, FPropInfo, Value);
}

Variant TClassInfo::GetValue() const {
    CheckAccess("GetValue", pmRead);
    return ReadValue("GetValue");
}

void TClassInfo::SetValue(const Variant& Value) {
    CheckAccess("SetValue", pmWrite);
    WriteValue("SetValue", Value);
}

Int64 TClassInfo::GetAsInteger() const {
    CheckAccess("GetAsInteger", pmRead);
    if (!FIsOrdinal)
        Raise("GetAsInteger", "Type cannot be handled");
    return ReadOrdinal();
}

void TClassInfo::SetAsInteger(Int64 Value) {
    CheckAccess("SetAsInteger", pmWrite);
    if (!FIsOrdinal)
        Raise("SetAsInteger", "Type cannot be handled");
    if (FKind == tkClass)
        return StoreObject("SetAsInteger", static_cast<UInt64>(Value));
    SetOrdProp(FInstance, FPropInfo, Value);
}

TObject* TClassInfo::GetAsObject() const {
    CheckAccess("GetAsObject", pmRead);
    if (FKind != tkClass)
        Raise("GetAsObject", "Property is not an object reference");
    return GetObjectProp(FInstance, FPropInfo);
}

void TClassInfo::SetAsObject(TObject* Value) {
    CheckAccess("SetAsObject", pmWrite);
    if (FKind != tkClass)
        Raise("SetAsObject", "Property is not an object reference");
    SetObjectProp(FInstance, FPropInfo, Value);
}

TMethod TClassInfo::GetAsMethod() const {
    CheckAccess("GetAsMethod", pmRead);
    if (FKind != tkMethod)
        Raise("GetAsMethod", "Property is not an method reference");
    return GetMethodProp(FInstance, FPropInfo);
}

void TClassInfo::SetAsMethod(const TMethod& Value) {
    CheckAccess("SetAsMethod", pmWrite);
    if (FKind != tkMethod)
        Raise("SetAsMethod", "Property is not an method reference");
    SetMethodProp(FInstance, FPropInfo, Value);
}

Extended TClassInfo::GetAsFloat() const {
    CheckAccess("GetAsFloat", pmRead);
    return ReadValue("GetAsFloat").AsDouble();
}

void TClassInfo::SetAsFloat(Extended Value) {
    CheckAccess("SetAsFloat", pmWrite);
    WriteValue("SetAsFloat", Variant(static_cast<double>(Value)));
}

String TClassInfo::GetAsString() const {
    CheckAccess("GetAsString", pmRead);
    return ReadValue("GetAsString").AsString();
}

void TClassInfo::SetAsString(const String& Value) {
    CheckAccess("SetAsString", pmWrite);
    WriteValue("SetAsString", Variant(Value));
}

const char* TClassInfo::GetAsPChar() const {
    CheckAccess("GetAsPChar", pmRead);
    FPCharText = ReadValue("GetAsPChar").AsString();
    return FPCharText.c_str();
}

void TClassInfo::SetAsPChar(const char* Value) {
    CheckAccess("SetAsPChar", pmWrite);
    WriteValue("SetAsPChar", Variant(String(Value ? Value : "")));
}

// --- Defaults ------------------------------------------------------------------

bool TClassInfo::IsStored() const {
    CheckSelected("IsStored");
    return IsStoredProp(FInstance, FPropInfo);
}

Integer TClassInfo::DefaultInteger() const {
    CheckSelected("DefaultInteger");
    return FPropInfo->Default;
}

Variant TClassInfo::Default() const {
    CheckSelected("Default");
    const Integer Value = FPropInfo->Default;
    return Value == NoDefault ? Variant(Value) : FormatValue(Value);
}

Variant TClassInfo::FormatValue(Integer Value) const {
    CheckSelected("FormatValue");
    switch (FKind) {
    case tkChar:
        return Variant(String(1, static_cast<char>(Value)));
    case tkEnumeration:
        return Variant(EnumToStr(FPropType, Value));
    case tkSet:
        return Variant(SetToStr(FPropType, Value));
    default:
        return Variant(Value);
    }
}

Variant TClassInfo::EmptyValue() const {
    CheckSelected("EmptyValue");
    if (!FIsOrdinal)
        return Variant(String());
    Integer Value = DefaultInteger();
    // Without a default: the ordinal nearest 0 within the type's range. The
    // empty set is 0 for every element range (bit n is ordinal n); an object
    // has no such value.
    if (Value == NoDefault && FKind != tkClass) {
        const TTypeData* Data = GetTypeData(FPropType);
        const bool OutsideZero =
            Data && FKind != tkSet && (Data->MinValue > 0 || Data->MaxValue < 0);
        Value = OutsideZero ? static_cast<Integer>(Data->MinValue) : 0;
    }
    return Variant(Value);
}

// --- Byte forms ----------------------------------------------------------------

String TClassInfo::ByteForm(const char* Operation) const {
    String Bytes;
    switch (FKind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        AppendLittleEndian(Bytes, static_cast<UInt64>(ReadOrdinal()), OrdinalBytes);
        return Bytes;
    case tkClass:
        AppendLittleEndian(Bytes, static_cast<UInt64>(ReadOrdinal()), AddressBytes);
        return Bytes;
    case tkChar:
        return String(1, static_cast<char>(ReadOrdinal()));
    case tkFloat:
        return ExtendedToBytes(GetFloatProp(FInstance, FPropInfo));
    case tkString:
    case tkLString:
    case tkWString:
        return GetStrProp(FInstance, FPropInfo);
    case tkMethod: {
        const TMethod Method = GetMethodProp(FInstance, FPropInfo);
        AppendLittleEndian(Bytes, AddressOf(Method.Code), AddressBytes);
        AppendLittleEndian(Bytes, AddressOf(Method.Data), AddressBytes);
        return Bytes;
    }
    case tkVariant: {
        // Null has no conversion to text, but its text, like that of Empty, is "".
        const Variant Value = GetVariantProp(FInstance, FPropInfo);
        return Value.IsNull() ? String() : Value.AsString();
    }
    default:
        Raise(Operation, "Type cannot be handled");
    }
}

Integer TClassInfo::Size() const {
    CheckSelected("Size");
    return static_cast<Integer>(ByteForm("Size").size());
}

void TClassInfo::CopyTo(void* Buffer, Integer Count) const {
    CheckSelected("CopyTo");
    const String Bytes = ByteForm("CopyTo");
    if (Count < 0 || static_cast<size_t>(Count) != Bytes.size())
        Raise("CopyTo", "Invalid number of bytes to copy");
    if (!Buffer && Count > 0)
        Raise("CopyTo", "Buffer not available");
    if (Count > 0)
        std::memcpy(Buffer, Bytes.data(), Bytes.size());
}

void TClassInfo::CopyFrom(const void* Buffer, Integer Count) {
    CheckSelected("CopyFrom");
    if (Count < 0)
        Raise("CopyFrom", "Invalid number of bytes to copy");
    if (!Buffer && Count > 0)
        Raise("CopyFrom", "Buffer not available");
    const auto* Bytes = static_cast<const Byte*>(Buffer);
    const auto Require = [&](Integer Needed, const char* Message) {
        if (Count != Needed)
            Raise("CopyFrom", Message);
    };
    switch (FKind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        Require(OrdinalBytes, "Invalid size of ordinal. Internal error");
        return SetOrdProp(FInstance, FPropInfo,
                          static_cast<Integer>(ReadLittleEndian(Bytes, OrdinalBytes)));
    case tkClass:
        Require(AddressBytes, "Invalid size of ordinal. Internal error");
        return StoreObject("CopyFrom", ReadLittleEndian(Bytes, AddressBytes));
    case tkChar:
        Require(1, "Invalid size of character. Internal error");
        return SetOrdProp(FInstance, FPropInfo, Bytes[0]);
    case tkFloat:
        Require(ExtendedBytes, "Invalid size of float. Internal error");
        return SetFloatProp(FInstance, FPropInfo, BytesToExtended(Bytes));
    case tkString:
    case tkLString:
    case tkWString:
        return SetStrProp(FInstance, FPropInfo,
                          String(reinterpret_cast<const char*>(Bytes), static_cast<size_t>(Count)));
    case tkMethod:
        Require(2 * AddressBytes, "Invalid size of method reference. Internal error");
        return StoreMethod(
            "CopyFrom", TMethod{PointerOf(ReadLittleEndian(Bytes, AddressBytes)),
                                PointerOf(ReadLittleEndian(Bytes + AddressBytes, AddressBytes))});
    case tkVariant:
        return SetVariantProp(
            FInstance, FPropInfo,
            Variant(String(reinterpret_cast<const char*>(Bytes), static_cast<size_t>(Count))));
    default:
        Raise("CopyFrom", "Type cannot be handled");
    }
}

} // namespace orlo
