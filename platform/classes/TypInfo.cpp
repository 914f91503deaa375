#include "platform/classes/TypInfo.h"

#include "platform/rtl/SysUtils.h"

#include <unordered_map>

namespace orlo {

namespace {

[[noreturn]] void RaiseInvalidPropertyType() {
    throw EPropertyError("Invalid property type");
}

const TPropAccess& ReadableAccess(const TPropInfo* PropInfo) {
    if (!PropInfo->Access->CanRead())
        throw EPropertyError(Format("Property %s is write-only", PropInfo->Name));
    return *PropInfo->Access;
}

const TPropAccess& WritableAccess(const TPropInfo* PropInfo) {
    if (!PropInfo->Access->CanWrite())
        throw EPropertyError(Format("Property %s is read-only", PropInfo->Name));
    return *PropInfo->Access;
}

std::vector<String> SplitNames(const char* CommaSeparated) {
    std::vector<String> Names;
    String Current;
    for (const char* P = CommaSeparated; *P; ++P) {
        if (*P == ',') {
            Names.push_back(Trim(Current));
            Current.clear();
        } else {
            Current += *P;
        }
    }
    if (!Trim(Current).empty())
        Names.push_back(Trim(Current));
    return Names;
}

} // namespace

namespace detail {

void RaiseInvalidPropertyValue() {
    throw EPropertyError("Invalid property value");
}

} // namespace detail

Int64 TPropAccess::GetOrd(const TObject*) const {
    RaiseInvalidPropertyType();
}
void TPropAccess::SetOrd(TObject*, Int64) const {
    RaiseInvalidPropertyType();
}
String TPropAccess::GetStr(const TObject*) const {
    RaiseInvalidPropertyType();
}
void TPropAccess::SetStr(TObject*, const String&) const {
    RaiseInvalidPropertyType();
}
Extended TPropAccess::GetFloat(const TObject*) const {
    RaiseInvalidPropertyType();
}
void TPropAccess::SetFloat(TObject*, Extended) const {
    RaiseInvalidPropertyType();
}
TMethod TPropAccess::GetMethod(const TObject*) const {
    RaiseInvalidPropertyType();
}
void TPropAccess::SetMethod(TObject*, const TMethod&) const {
    RaiseInvalidPropertyType();
}
Variant TPropAccess::GetVariant(const TObject*) const {
    RaiseInvalidPropertyType();
}
void TPropAccess::SetVariant(TObject*, const Variant&) const {
    RaiseInvalidPropertyType();
}

TTypeInfo MakeOrdinalTypeInfo(const char* Name, TTypeKind Kind, TOrdType OrdType, Int64 Min,
                              Int64 Max) {
    TTypeInfo Info{Kind, Name, {}};
    Info.Data.OrdType = OrdType;
    Info.Data.MinValue = Min;
    Info.Data.MaxValue = Max;
    return Info;
}

TTypeInfo MakeEnumTypeInfo(const char* Name, const char* CommaSeparatedNames) {
    TTypeInfo Info{tkEnumeration, Name, {}};
    Info.Data.EnumNames = SplitNames(CommaSeparatedNames);
    Info.Data.OrdType = Info.Data.EnumNames.size() <= 256 ? otUByte : otUWord;
    Info.Data.MinValue = 0;
    Info.Data.MaxValue = static_cast<Int64>(Info.Data.EnumNames.size()) - 1;
    return Info;
}

TTypeInfo MakeSetTypeInfo(const char* Name, const TTypeInfo* ElementType) {
    TTypeInfo Info{tkSet, Name, {}};
    Info.Data.OrdType = otULong;
    Info.Data.CompType = ElementType;
    return Info;
}

TTypeInfo MakeStringTypeInfo(const char* Name, TTypeKind Kind) {
    return TTypeInfo{Kind, Name, {}};
}

TTypeInfo MakeFloatTypeInfo(const char* Name, TFloatType FloatType) {
    TTypeInfo Info{tkFloat, Name, {}};
    Info.Data.FloatType = FloatType;
    return Info;
}

TTypeInfo MakeMethodTypeInfo(const char* Name) {
    return TTypeInfo{tkMethod, Name, {}};
}

TTypeInfo MakeClassTypeInfo(const char* Name, TClass (*ClassTypeOf)()) {
    TTypeInfo Info{tkClass, Name, {}};
    Info.Data.ClassTypeOf = ClassTypeOf;
    return Info;
}

#define ORLO_BUILTIN_TYPE(CppType, Maker)                                                          \
    const TTypeInfo* TypeInfoFor(CppType*) {                                                       \
        static const TTypeInfo Info = Maker;                                                       \
        return &Info;                                                                              \
    }

ORLO_BUILTIN_TYPE(Integer, MakeOrdinalTypeInfo("Integer", tkInteger, otSLong, INT32_MIN, INT32_MAX))
ORLO_BUILTIN_TYPE(Cardinal, MakeOrdinalTypeInfo("Cardinal", tkInteger, otULong, 0, UINT32_MAX))
ORLO_BUILTIN_TYPE(SmallInt,
                  MakeOrdinalTypeInfo("SmallInt", tkInteger, otSWord, INT16_MIN, INT16_MAX))
ORLO_BUILTIN_TYPE(Word, MakeOrdinalTypeInfo("Word", tkInteger, otUWord, 0, UINT16_MAX))
ORLO_BUILTIN_TYPE(ShortInt, MakeOrdinalTypeInfo("ShortInt", tkInteger, otSByte, INT8_MIN, INT8_MAX))
ORLO_BUILTIN_TYPE(Byte, MakeOrdinalTypeInfo("Byte", tkInteger, otUByte, 0, UINT8_MAX))
ORLO_BUILTIN_TYPE(Int64, MakeOrdinalTypeInfo("Int64", tkInt64, otSLong, INT64_MIN, INT64_MAX))
ORLO_BUILTIN_TYPE(bool, MakeEnumTypeInfo("Boolean", "False,True"))
ORLO_BUILTIN_TYPE(char, MakeOrdinalTypeInfo("Char", tkChar, otUByte, 0, 255))
ORLO_BUILTIN_TYPE(String, MakeStringTypeInfo("String"))
ORLO_BUILTIN_TYPE(Single, MakeFloatTypeInfo("Single", ftSingle))
ORLO_BUILTIN_TYPE(Double, MakeFloatTypeInfo("Double", ftDouble))
ORLO_BUILTIN_TYPE(Extended, MakeFloatTypeInfo("Extended", ftExtended))
ORLO_BUILTIN_TYPE(Currency, MakeFloatTypeInfo("Currency", ftCurr))
ORLO_BUILTIN_TYPE(Variant, (TTypeInfo{tkVariant, "Variant", {}}))
ORLO_BUILTIN_TYPE(TNotifyEvent, MakeMethodTypeInfo("TNotifyEvent"))
ORLO_BUILTIN_TYPE(
    TTypeKind,
    MakeEnumTypeInfo("TTypeKind", "tkUnknown,tkInteger,tkChar,tkEnumeration,tkFloat,tkString,tkSet,"
                                  "tkClass,tkMethod,tkWChar,tkLString,tkWString,tkVariant,tkArray,"
                                  "tkRecord,tkInterface,tkInt64,tkDynArray"))

#undef ORLO_BUILTIN_TYPE

const TTypeInfo* TDateTimeTypeInfo() {
    static const TTypeInfo Info = MakeFloatTypeInfo("TDateTime", ftDouble);
    return &Info;
}

std::vector<const TPropInfo*> GetPropList(const TTypeInfo* TypeInfo, TTypeKinds Kinds) {
    std::vector<const TPropInfo*> List;
    TClass Class = TypeInfo && TypeInfo->Kind == tkClass ? TypeInfo->Data.ClassType() : nullptr;
    if (!Class)
        return List;
    for (const TPropInfo* Info : Class->Properties())
        if (Kinds.Contains(Info->PropType->Kind))
            List.push_back(Info);
    return List;
}

std::vector<const TPropInfo*> GetPropList(const TObject* Instance, TTypeKinds Kinds) {
    return GetPropList(Instance->ClassType()->ClassInfo(), Kinds);
}

const TPropInfo* GetPropInfo(const TTypeInfo* TypeInfo, const String& PropName) {
    TClass Class = TypeInfo && TypeInfo->Kind == tkClass ? TypeInfo->Data.ClassType() : nullptr;
    return Class ? Class->FindProperty(PropName) : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const String& PropName) {
    return Instance->ClassType()->FindProperty(PropName);
}

TTypeKind PropType(const TObject* Instance, const String& PropName) {
    const TPropInfo* Info = GetPropInfo(Instance, PropName);
    if (!Info)
        throw EPropertyError(Format("Unknown property: '%s'", PropName));
    return Info->PropType->Kind;
}

Int64 GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return ReadableAccess(PropInfo).GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value) {
    WritableAccess(PropInfo).SetOrd(Instance, Value);
}

String GetStrProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return ReadableAccess(PropInfo).GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const String& Value) {
    WritableAccess(PropInfo).SetStr(Instance, Value);
}

Extended GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return ReadableAccess(PropInfo).GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, Extended Value) {
    WritableAccess(PropInfo).SetFloat(Instance, Value);
}

Int64 GetInt64Prop(const TObject* Instance, const TPropInfo* PropInfo) {
    return GetOrdProp(Instance, PropInfo);
}

void SetInt64Prop(TObject* Instance, const TPropInfo* PropInfo, Int64 Value) {
    SetOrdProp(Instance, PropInfo, Value);
}

TMethod GetMethodProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return ReadableAccess(PropInfo).GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const TPropInfo* PropInfo, const TMethod& Value) {
    WritableAccess(PropInfo).SetMethod(Instance, Value);
}

Variant GetVariantProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return ReadableAccess(PropInfo).GetVariant(Instance);
}

void SetVariantProp(TObject* Instance, const TPropInfo* PropInfo, const Variant& Value) {
    WritableAccess(PropInfo).SetVariant(Instance, Value);
}

TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo) {
    if (PropInfo->PropType->Kind != tkClass)
        RaiseInvalidPropertyType();
    return reinterpret_cast<TObject*>(static_cast<intptr_t>(GetOrdProp(Instance, PropInfo)));
}

void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value) {
    if (PropInfo->PropType->Kind != tkClass)
        RaiseInvalidPropertyType();
    SetOrdProp(Instance, PropInfo, reinterpret_cast<intptr_t>(Value));
}

bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo) {
    return PropInfo->Access->IsStored(Instance);
}

String GetEnumName(const TTypeInfo* TypeInfo, Integer Value) {
    const auto& Names = TypeInfo->Data.EnumNames;
    if (Value < 0 || static_cast<size_t>(Value) >= Names.size())
        return String();
    return Names[static_cast<size_t>(Value)];
}

Integer GetEnumValue(const TTypeInfo* TypeInfo, const String& Name) {
    const auto& Names = TypeInfo->Data.EnumNames;
    for (size_t I = 0; I < Names.size(); ++I)
        if (SameText(Names[I], Name))
            return static_cast<Integer>(I);
    return -1;
}

namespace {

std::unordered_map<const TTypeInfo*, std::span<const TIdentMapEntry>>& IntegerConsts() {
    static auto* Map = new std::unordered_map<const TTypeInfo*, std::span<const TIdentMapEntry>>();
    return *Map;
}

std::span<const TIdentMapEntry> IdentMapOf(const TTypeInfo* IntegerType) {
    auto Found = IntegerConsts().find(IntegerType);
    return Found == IntegerConsts().end() ? std::span<const TIdentMapEntry>() : Found->second;
}

} // namespace

void RegisterIntegerConsts(const TTypeInfo* IntegerType, std::span<const TIdentMapEntry> Map) {
    IntegerConsts()[IntegerType] = Map;
}

std::optional<Int64> IdentToInt(const TTypeInfo* IntegerType, const String& Ident) {
    for (const TIdentMapEntry& Entry : IdentMapOf(IntegerType))
        if (SameText(Entry.Name, Ident))
            return Entry.Value;
    return std::nullopt;
}

std::optional<String> IntToIdent(const TTypeInfo* IntegerType, Int64 Value) {
    for (const TIdentMapEntry& Entry : IdentMapOf(IntegerType))
        if (Entry.Value == Value)
            return String(Entry.Name);
    return std::nullopt;
}

String GetTypeUnitName(const TTypeInfo* TypeInfo) {
    TClass Class = TypeInfo && TypeInfo->Kind == tkClass ? TypeInfo->Data.ClassType() : nullptr;
    return Class && Class->ClassInfo() ? Class->UnitName() : String();
}

} // namespace orlo
