#pragma once
// The registry store: a tree of keys with string and integer values below the
// seven root keys, kept in one SQLite database file per user. Key and value
// names are compared without regard to case. Every operation is one
// transaction; several processes may use the same file at once, waiting for
// each other instead of failing, and a crash never leaves half a change.

#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"

#include <functional>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace orlo {

using HKEY = Cardinal;

constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
constexpr HKEY HKEY_DYN_DATA = 0x80000006;

ORLO_EXCEPTION(ERegistryException, Exception);

bool IsRootKey(HKEY Root) noexcept;
// "HKEY_CURRENT_USER"; ERegistryException "Invalid root key %x" for other values.
String RootKeyName(HKEY Root);
// Full names ("HKEY_LOCAL_MACHINE") and the short forms ("HKLM"), any case.
bool TryRootKeyFromName(const String& Name, HKEY& Root);

// The key names of a path: separated by "\", trimmed, empty ones skipped.
std::vector<String> SplitKeyPath(const String& Path);

// The database the registry lives in: $ORLO_REGISTRY when set, otherwise
// $XDG_CONFIG_HOME/orlo/registry.db (XDG_CONFIG_HOME defaulting to ~/.config).
String RegistryDatabaseFileName();

enum TRegDataType : Byte { rdUnknown, rdString, rdInteger };

struct TRegValue {
    TRegDataType DataType = rdUnknown;
    String Text;        // rdString
    Integer Number = 0; // rdInteger
};

// A key as the store knows it. Ids are never reused, so a key deleted by
// another process stays deleted for everyone who still holds its id.
using TRegKeyId = Int64;
constexpr TRegKeyId NoRegKey = 0;

class TRegistryStore {
public:
    // Opens (and creates, with its folder) the database file.
    // ERegistryException "Cannot open registry database '%s': %s"; for a file
    // that is damaged or no database, here or by any later operation,
    // "Registry database '%s' is damaged: %s".
    explicit TRegistryStore(const String& FileName);
    ~TRegistryStore();
    TRegistryStore(const TRegistryStore&) = delete;
    TRegistryStore& operator=(const TRegistryStore&) = delete;

    const String& FileName() const noexcept { return FFileName; }

    static TRegKeyId RootKey(HKEY Root); // ERegistryException for an unknown root

    // The key at Path below Parent: key names separated by "\", empty names
    // skipped. NoRegKey when it (or Parent) does not exist and Create is false.
    TRegKeyId OpenKey(TRegKeyId Parent, const String& Path, bool Create);
    bool KeyExists(TRegKeyId Key);
    // Deletes the key at Path below Parent with all its sub-keys and values;
    // false when there is no such key. Root keys cannot be deleted.
    bool DeleteKey(TRegKeyId Parent, const String& Path);
    std::vector<String> KeyNames(TRegKeyId Key); // in the order of their names
    std::vector<String> ValueNames(TRegKeyId Key);

    std::optional<TRegValue> ReadValue(TRegKeyId Key, const String& Name);
    // False when the key no longer exists.
    bool WriteValue(TRegKeyId Key, const String& Name, const TRegValue& Value);
    // Stores the value only where none of that name exists, in one step, so a
    // value another program stored meanwhile is kept; false when the key no
    // longer exists.
    bool AddValue(TRegKeyId Key, const String& Name, const TRegValue& Value);
    bool DeleteValue(TRegKeyId Key, const String& Name);

    // Runs Body as one transaction: the changes it makes through this store
    // are made all together, or none of them when it throws.
    void Update(const std::function<void()>& Body);

private:
    class TStatement;
    template <class F> auto Transaction(bool Write, F&& Body);
    TStatement Prepare(const char* Sql);
    void Execute(const char* Sql);
    void Configure();
    TRegKeyId FindChild(TRegKeyId Parent, const String& Name);
    TRegKeyId Resolve(TRegKeyId Parent, const String& Path, bool Create);
    std::vector<String> Names(const char* Sql, TRegKeyId Key);
    bool StoreValue(const char* Sql, TRegKeyId Key, const String& Name, const TRegValue& Value);
    [[noreturn]] void Fail(int Code);

    String FFileName;
    sqlite3* FDb = nullptr;
    std::vector<std::pair<const char*, sqlite3_stmt*>> FStatements; // prepared once per SQL text
    int FTransactionDepth = 0; // transactions inside another one join it
};

} // namespace orlo
