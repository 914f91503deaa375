#pragma once
// TRegistry: reads and writes the registry store (platform/os/RegistryStore.h)
// through one open key at a time. Key paths separate names with "\"; a path
// starting with "\" counts from the root key, any other from the open key (or
// the root key when none is open).

#include "platform/classes/Object.h"
#include "platform/os/RegistryStore.h"

#include <memory>
#include <optional>

namespace orlo {

class TStrings;

class TRegistry : public TObject {
    ORLO_CLASS(TRegistry, TObject)
public:
    // The store of RegistryDatabaseFileName(), opened on first use.
    TRegistry();
    // The store in the given database file.
    explicit TRegistry(const String& DatabaseFileName);
    ~TRegistry() override;

    HKEY RootKey() const noexcept { return FRootKey; }
    // Closes the open key. ERegistryException "Invalid root key %x".
    void SetRootKey(HKEY Value);
    TRegKeyId CurrentKey() const noexcept { return FCurrentKey; }
    const String& CurrentPath() const noexcept { return FCurrentPath; }

    // Opens the key, creating it (with missing parents) when CanCreate; false
    // when it does not exist and may not be created.
    bool OpenKey(const String& Key, bool CanCreate);
    // Opens an existing key for reading only: writes to it fail.
    bool OpenKeyReadOnly(const String& Key);
    void CloseKey();
    bool KeyExists(const String& Key);
    // Deletes the key with everything below it; false when there is none.
    bool DeleteKey(const String& Key);
    void GetKeyNames(TStrings* Strings); // sub-keys of the open key
    void GetValueNames(TStrings* Strings);
    bool HasSubKeys();

    bool ValueExists(const String& Name);
    TRegDataType GetDataType(const String& Name); // rdUnknown when missing
    // Empty for a missing value. ERegistryException "Invalid data type for '%s'"
    // for a value that is not a string.
    String ReadString(const String& Name);
    // ERegistryException "Failed to get data for '%s'" for a missing value,
    // "Invalid data type for '%s'" for one that is not an integer.
    Integer ReadInteger(const String& Name);
    // ERegistryException "Failed to set data for '%s'" without an open key, on
    // a key opened read-only, or on a key deleted meanwhile.
    void WriteString(const String& Name, const String& Value);
    void WriteInteger(const String& Name, Integer Value);
    // Writes the string only when no value of that name exists, tested and
    // written in one transaction; the errors of WriteString.
    void WriteStringIfMissing(const String& Name, const String& Value);
    bool DeleteValue(const String& Name);

private:
    TRegistryStore& Store();
    // The key a path starts from, and the path without its leading "\".
    TRegKeyId BaseKey(const String& Key, String& Relative);
    bool Open(const String& Key, bool CanCreate, bool ReadOnly);
    std::optional<TRegValue> Read(const String& Name);
    static void CheckDataType(const TRegValue& Value, const String& Name, TRegDataType DataType);
    void WriteValue(const String& Name, const TRegValue& Value, bool Replace = true);

    String FDatabaseFileName;
    std::unique_ptr<TRegistryStore> FStore;
    HKEY FRootKey = HKEY_CURRENT_USER;
    TRegKeyId FCurrentKey = NoRegKey;
    String FCurrentPath;
    bool FReadOnly = false;
};

} // namespace orlo
