#include "platform/classes/Registry.h"

#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

namespace orlo {

ORLO_UNPUBLISHED(TRegistry, "Registry");

TRegistry::TRegistry() = default;

TRegistry::TRegistry(const String& DatabaseFileName) : FDatabaseFileName(DatabaseFileName) {}

TRegistry::~TRegistry() = default;

TRegistryStore& TRegistry::Store() {
    if (!FStore) {
        if (FDatabaseFileName.empty())
            FDatabaseFileName = RegistryDatabaseFileName();
        FStore = std::make_unique<TRegistryStore>(FDatabaseFileName);
    }
    return *FStore;
}

void TRegistry::SetRootKey(HKEY Value) {
    TRegistryStore::RootKey(Value);
    CloseKey();
    FRootKey = Value;
}

TRegKeyId TRegistry::BaseKey(const String& Key, String& Relative) {
    const bool Absolute = !Key.empty() && Key[0] == '\\';
    Relative = Absolute ? Key.substr(1) : Key;
    if (!Absolute && FCurrentKey != NoRegKey)
        return FCurrentKey;
    return TRegistryStore::RootKey(FRootKey);
}

bool TRegistry::Open(const String& Key, bool CanCreate, bool ReadOnly) {
    String Relative;
    const TRegKeyId Base = BaseKey(Key, Relative);
    const TRegKeyId Opened = Store().OpenKey(Base, Relative, CanCreate);
    if (Opened == NoRegKey)
        return false;
    const bool Absolute = !Key.empty() && Key[0] == '\\';
    String Path = Absolute || FCurrentKey == NoRegKey ? String() : FCurrentPath;
    if (!Path.empty() && !Relative.empty())
        Path += '\\';
    Path += Relative;
    CloseKey();
    FCurrentKey = Opened;
    FCurrentPath = Path;
    FReadOnly = ReadOnly;
    return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    return Open(Key, CanCreate, false);
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    return Open(Key, false, true);
}

void TRegistry::CloseKey() {
    FCurrentKey = NoRegKey;
    FCurrentPath.clear();
    FReadOnly = false;
}

bool TRegistry::KeyExists(const String& Key) {
    String Relative;
    const TRegKeyId Base = BaseKey(Key, Relative);
    return Store().OpenKey(Base, Relative, false) != NoRegKey;
}

bool TRegistry::DeleteKey(const String& Key) {
    String Relative;
    const TRegKeyId Base = BaseKey(Key, Relative);
    return Store().DeleteKey(Base, Relative);
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    ReplaceLines(Strings,
                 FCurrentKey == NoRegKey ? std::vector<String>() : Store().KeyNames(FCurrentKey));
}

void TRegistry::GetValueNames(TStrings* Strings) {
    ReplaceLines(Strings,
                 FCurrentKey == NoRegKey ? std::vector<String>() : Store().ValueNames(FCurrentKey));
}

bool TRegistry::HasSubKeys() {
    return FCurrentKey != NoRegKey && !Store().KeyNames(FCurrentKey).empty();
}

bool TRegistry::ValueExists(const String& Name) {
    return Read(Name).has_value();
}

TRegDataType TRegistry::GetDataType(const String& Name) {
    const auto Value = Read(Name);
    return Value ? Value->DataType : rdUnknown;
}

std::optional<TRegValue> TRegistry::Read(const String& Name) {
    if (FCurrentKey == NoRegKey)
        return std::nullopt;
    return Store().ReadValue(FCurrentKey, Name);
}

void TRegistry::CheckDataType(const TRegValue& Value, const String& Name, TRegDataType DataType) {
    if (Value.DataType != DataType)
        throw ERegistryException(Format("Invalid data type for '%s'", Name));
}

String TRegistry::ReadString(const String& Name) {
    const auto Value = Read(Name);
    if (!Value)
        return String();
    CheckDataType(*Value, Name, rdString);
    return Value->Text;
}

Integer TRegistry::ReadInteger(const String& Name) {
    const auto Value = Read(Name);
    if (!Value)
        throw ERegistryException(Format("Failed to get data for '%s'", Name));
    CheckDataType(*Value, Name, rdInteger);
    return Value->Number;
}

void TRegistry::WriteValue(const String& Name, const TRegValue& Value, bool Replace) {
    if (FCurrentKey == NoRegKey || FReadOnly ||
        !(Replace ? Store().WriteValue(FCurrentKey, Name, Value)
                  : Store().AddValue(FCurrentKey, Name, Value)))
        throw ERegistryException(Format("Failed to set data for '%s'", Name));
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    WriteValue(Name, TRegValue{rdString, Value, 0});
}

void TRegistry::WriteInteger(const String& Name, Integer Value) {
    WriteValue(Name, TRegValue{rdInteger, String(), Value});
}

void TRegistry::WriteStringIfMissing(const String& Name, const String& Value) {
    WriteValue(Name, TRegValue{rdString, Value, 0}, false);
}

bool TRegistry::DeleteValue(const String& Name) {
    return FCurrentKey != NoRegKey && !FReadOnly && Store().DeleteValue(FCurrentKey, Name);
}

} // namespace orlo
