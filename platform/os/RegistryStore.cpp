#include "platform/os/RegistryStore.h"

#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"

#include <sqlite3.h>

#include <array>
#include <chrono>
#include <thread>

namespace orlo {

namespace {

struct TRootKeyName {
    HKEY Root;
    const char* Name;
    const char* Short;
};

constexpr std::array<TRootKeyName, 7> RootKeyNames{{
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA", "HKPD"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA", "HKDD"},
}};

// Version of the table layout below, kept in the database's user_version.
// Version 2 orders names by their Unicode lower case (see CompareWithoutCase),
// so the indexes of version 1, ordered by ASCII case only, are built anew.
constexpr int SchemaVersion = 2;

// Key ids of the root keys are the root key values themselves; ids of other
// keys count up from there and are never reused (AUTOINCREMENT).
constexpr const char* SchemaSql = R"(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES keys(id),
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
CREATE TABLE IF NOT EXISTS entries(
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data,
    PRIMARY KEY(key, name)) WITHOUT ROWID;
REINDEX;
INSERT OR IGNORE INTO keys(id, parent, name) VALUES
    (2147483648, NULL, 'HKEY_CLASSES_ROOT'), (2147483649, NULL, 'HKEY_CURRENT_USER'),
    (2147483650, NULL, 'HKEY_LOCAL_MACHINE'), (2147483651, NULL, 'HKEY_USERS'),
    (2147483652, NULL, 'HKEY_PERFORMANCE_DATA'), (2147483653, NULL, 'HKEY_CURRENT_CONFIG'),
    (2147483654, NULL, 'HKEY_DYN_DATA');
PRAGMA user_version = 2;
)";

// The NOCASE collation of the tables, for every script: "Ärger" and "ärger"
// are one name. Registered under the built-in name, which folds ASCII only.
int CompareWithoutCase(void*, int LengthA, const void* A, int LengthB, const void* B) {
    const String FoldedA = UnicodeLowerCase(String(static_cast<const char*>(A), LengthA));
    const String FoldedB = UnicodeLowerCase(String(static_cast<const char*>(B), LengthB));
    const int Order = FoldedA.compare(FoldedB);
    return Order < 0 ? -1 : Order > 0 ? 1 : 0;
}

// How long one operation waits for other processes before it gives up.
constexpr auto LockPatience = std::chrono::seconds(60);

// Thrown inside a transaction when the database is locked by someone else; the
// transaction is then rolled back and run again.
struct TBusy {};

bool IsBusy(int Code) {
    const int Primary = Code & 0xFF;
    return Primary == SQLITE_BUSY || Primary == SQLITE_LOCKED;
}

// Runs Body again while it reports that other processes hold the database.
template <class F> auto RetryWhileBusy(const String& FileName, F&& Body) {
    const auto Deadline = std::chrono::steady_clock::now() + LockPatience;
    for (;;) {
        try {
            return Body();
        } catch (const TBusy&) {
            if (std::chrono::steady_clock::now() > Deadline)
                throw ERegistryException(
                    Format("Registry database '%s' stays locked by another program", FileName));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
}

} // namespace

std::vector<String> SplitKeyPath(const String& Path) {
    std::vector<String> Parts;
    String Part;
    for (char C : Path + '\\') {
        if (C != '\\') {
            Part += C;
            continue;
        }
        Part = Trim(Part);
        if (!Part.empty())
            Parts.push_back(Part);
        Part.clear();
    }
    return Parts;
}

bool IsRootKey(HKEY Root) noexcept {
    return Root >= HKEY_CLASSES_ROOT && Root <= HKEY_DYN_DATA;
}

String RootKeyName(HKEY Root) {
    if (!IsRootKey(Root))
        throw ERegistryException(Format("Invalid root key %x", Root));
    return RootKeyNames[Root - HKEY_CLASSES_ROOT].Name;
}

bool TryRootKeyFromName(const String& Name, HKEY& Root) {
    for (const auto& Entry : RootKeyNames) {
        if (SameText(Name, Entry.Name) || SameText(Name, Entry.Short)) {
            Root = Entry.Root;
            return true;
        }
    }
    return false;
}

String RegistryDatabaseFileName() {
    const String Override = GetEnvironmentVariable("ORLO_REGISTRY");
    if (!Override.empty())
        return Override;
    return ConfigDirectory() + "/orlo/registry.db";
}

// A prepared statement of the store, reset after each use.
class TRegistryStore::TStatement {
public:
    TStatement(TRegistryStore& Store, sqlite3_stmt* Handle) : FStore(Store), FHandle(Handle) {}
    ~TStatement() {
        sqlite3_reset(FHandle);
        sqlite3_clear_bindings(FHandle);
    }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int Index, Int64 Value) {
        Check(sqlite3_bind_int64(FHandle, Index, Value));
        return *this;
    }
    TStatement& Bind(int Index, const String& Value) {
        Check(sqlite3_bind_text(FHandle, Index, Value.data(), static_cast<int>(Value.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    // True while there is a row to read.
    bool Step() {
        const int Code = sqlite3_step(FHandle);
        if (Code == SQLITE_ROW)
            return true;
        if (Code != SQLITE_DONE)
            Check(Code);
        return false;
    }
    // Runs a statement that changes data; false when a constraint refused it.
    bool Change() {
        const int Code = sqlite3_step(FHandle);
        if ((Code & 0xFF) == SQLITE_CONSTRAINT)
            return false;
        if (Code != SQLITE_DONE)
            Check(Code);
        return true;
    }
    Int64 Integer(int Column) const { return sqlite3_column_int64(FHandle, Column); }
    String Text(int Column) const {
        const auto* Data = reinterpret_cast<const char*>(sqlite3_column_text(FHandle, Column));
        return Data ? String(Data, sqlite3_column_bytes(FHandle, Column)) : String();
    }

private:
    void Check(int Code) {
        if (Code != SQLITE_OK)
            FStore.Fail(Code);
    }

    TRegistryStore& FStore;
    sqlite3_stmt* FHandle;
};

// Runs Body inside one transaction (IMMEDIATE for writers, so two writers never
// dead-lock), running it again while other processes hold the database.
// Inside an Update the body joins the transaction already open.
template <class F> auto TRegistryStore::Transaction(bool Write, F&& Body) {
    if (FTransactionDepth > 0)
        return Body();
    return RetryWhileBusy(FFileName, [&] {
        Execute(Write ? "BEGIN IMMEDIATE" : "BEGIN");
        ++FTransactionDepth;
        try {
            auto Result = Body();
            --FTransactionDepth;
            Execute("COMMIT");
            return Result;
        } catch (...) {
            FTransactionDepth = 0;
            sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    });
}

void TRegistryStore::Update(const std::function<void()>& Body) {
    Transaction(true, [&] {
        Body();
        return 0;
    });
}

TRegistryStore::TRegistryStore(const String& FileName) : FFileName(FileName) {
    ForceDirectories(ExtractFileDir(NativePath(FileName)));
    const int Code =
        sqlite3_open_v2(FileName.c_str(), &FDb,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (Code != SQLITE_OK) {
        const String Reason = FDb ? sqlite3_errmsg(FDb) : sqlite3_errstr(Code);
        sqlite3_close(FDb);
        throw ERegistryException(
            Format("Cannot open registry database '%s': %s", FileName, Reason));
    }
    try {
        Configure();
    } catch (...) {
        sqlite3_close(FDb);
        throw;
    }
}

TRegistryStore::~TRegistryStore() {
    for (auto& [Sql, Handle] : FStatements)
        sqlite3_finalize(Handle);
    sqlite3_close(FDb);
}

void TRegistryStore::Configure() {
    const int Code = sqlite3_create_collation_v2(FDb, "NOCASE", SQLITE_UTF8, nullptr,
                                                 CompareWithoutCase, nullptr);
    if (Code != SQLITE_OK)
        Fail(Code);
    sqlite3_busy_timeout(FDb, static_cast<int>(std::chrono::milliseconds(LockPatience).count()));
    // Write-ahead logging lets readers go on while one process writes; FULL
    // makes every committed change durable.
    RetryWhileBusy(FFileName, [&] {
        Execute("PRAGMA journal_mode = WAL");
        return 0;
    });
    Execute("PRAGMA synchronous = FULL");
    Execute("PRAGMA foreign_keys = ON");
    const Int64 Version = Transaction(false, [&] {
        auto Query = Prepare("PRAGMA user_version");
        return Query.Step() ? Query.Integer(0) : 0;
    });
    if (Version > SchemaVersion)
        throw ERegistryException(
            Format("Registry database '%s' has a newer format (%d)", FFileName, Version));
    if (Version < SchemaVersion)
        Transaction(true, [&] {
            Execute(SchemaSql);
            return 0;
        });
}

TRegistryStore::TStatement TRegistryStore::Prepare(const char* Sql) {
    for (auto& [Text, Handle] : FStatements)
        if (Text == Sql)
            return TStatement(*this, Handle);
    sqlite3_stmt* Handle = nullptr;
    const int Code = sqlite3_prepare_v3(FDb, Sql, -1, SQLITE_PREPARE_PERSISTENT, &Handle, nullptr);
    if (Code != SQLITE_OK)
        Fail(Code);
    FStatements.emplace_back(Sql, Handle);
    return TStatement(*this, Handle);
}

void TRegistryStore::Execute(const char* Sql) {
    const int Code = sqlite3_exec(FDb, Sql, nullptr, nullptr, nullptr);
    if (Code != SQLITE_OK)
        Fail(Code);
}

void TRegistryStore::Fail(int Code) {
    if (IsBusy(Code))
        throw TBusy();
    const int Primary = Code & 0xFF;
    if (Primary == SQLITE_CORRUPT || Primary == SQLITE_NOTADB)
        throw ERegistryException(Format("Registry database '%s' is damaged: %s", FFileName,
                                        String(sqlite3_errstr(Code))));
    throw ERegistryException(
        Format("Registry database '%s': %s", FFileName, String(sqlite3_errmsg(FDb))));
}

TRegKeyId TRegistryStore::RootKey(HKEY Root) {
    if (!IsRootKey(Root))
        throw ERegistryException(Format("Invalid root key %x", Root));
    return static_cast<TRegKeyId>(Root);
}

TRegKeyId TRegistryStore::FindChild(TRegKeyId Parent, const String& Name) {
    auto Query = Prepare("SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    Query.Bind(1, Parent).Bind(2, Name);
    return Query.Step() ? Query.Integer(0) : NoRegKey;
}

TRegKeyId TRegistryStore::Resolve(TRegKeyId Parent, const String& Path, bool Create) {
    if (!KeyExists(Parent))
        return NoRegKey;
    TRegKeyId Key = Parent;
    for (const String& Name : SplitKeyPath(Path)) {
        TRegKeyId Child = FindChild(Key, Name);
        if (Child == NoRegKey) {
            if (!Create)
                return NoRegKey;
            auto Insert = Prepare("INSERT INTO keys(parent, name) VALUES (?1, ?2)");
            if (!Insert.Bind(1, Key).Bind(2, Name).Change())
                return NoRegKey;
            Child = sqlite3_last_insert_rowid(FDb);
        }
        Key = Child;
    }
    return Key;
}

TRegKeyId TRegistryStore::OpenKey(TRegKeyId Parent, const String& Path, bool Create) {
    return Transaction(Create, [&] { return Resolve(Parent, Path, Create); });
}

bool TRegistryStore::KeyExists(TRegKeyId Key) {
    auto Query = Prepare("SELECT 1 FROM keys WHERE id = ?1");
    Query.Bind(1, Key);
    return Query.Step();
}

bool TRegistryStore::DeleteKey(TRegKeyId Parent, const String& Path) {
    return Transaction(true, [&] {
        const TRegKeyId Key = Resolve(Parent, Path, false);
        if (Key == NoRegKey || IsRootKey(static_cast<HKEY>(Key)))
            return false;
        auto Delete = Prepare("WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
                              "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
                              "DELETE FROM keys WHERE id IN tree");
        Delete.Bind(1, Key).Change();
        return true;
    });
}

std::vector<String> TRegistryStore::Names(const char* Sql, TRegKeyId Key) {
    return Transaction(false, [&] {
        std::vector<String> Result;
        auto Query = Prepare(Sql);
        Query.Bind(1, Key);
        while (Query.Step())
            Result.push_back(Query.Text(0));
        return Result;
    });
}

std::vector<String> TRegistryStore::KeyNames(TRegKeyId Key) {
    return Names("SELECT name FROM keys WHERE parent = ?1 ORDER BY name", Key);
}

std::vector<String> TRegistryStore::ValueNames(TRegKeyId Key) {
    return Names("SELECT name FROM entries WHERE key = ?1 ORDER BY name", Key);
}

std::optional<TRegValue> TRegistryStore::ReadValue(TRegKeyId Key, const String& Name) {
    return Transaction(false, [&]() -> std::optional<TRegValue> {
        auto Query = Prepare("SELECT type, data FROM entries WHERE key = ?1 AND name = ?2");
        Query.Bind(1, Key).Bind(2, Name);
        if (!Query.Step())
            return std::nullopt;
        TRegValue Value;
        switch (Query.Integer(0)) {
        case rdString:
            Value.DataType = rdString;
            Value.Text = Query.Text(1);
            break;
        case rdInteger:
            Value.DataType = rdInteger;
            Value.Number = static_cast<Integer>(Query.Integer(1));
            break;
        default:
            break;
        }
        return Value;
    });
}

bool TRegistryStore::StoreValue(const char* Sql, TRegKeyId Key, const String& Name,
                                const TRegValue& Value) {
    if (Value.DataType == rdUnknown)
        throw ERegistryException(Format("Invalid data type for '%s'", Name));
    return Transaction(true, [&] {
        auto Write = Prepare(Sql);
        Write.Bind(1, Key).Bind(2, Name).Bind(3, Value.DataType);
        if (Value.DataType == rdString)
            Write.Bind(4, Value.Text);
        else
            Write.Bind(4, Int64(Value.Number));
        return Write.Change();
    });
}

bool TRegistryStore::WriteValue(TRegKeyId Key, const String& Name, const TRegValue& Value) {
    return StoreValue(
        "INSERT OR REPLACE INTO entries(key, name, type, data) VALUES (?1, ?2, ?3, ?4)", Key, Name,
        Value);
}

bool TRegistryStore::AddValue(TRegKeyId Key, const String& Name, const TRegValue& Value) {
    // OR IGNORE passes over an existing name; a missing key still fails its reference.
    return StoreValue(
        "INSERT OR IGNORE INTO entries(key, name, type, data) VALUES (?1, ?2, ?3, ?4)", Key, Name,
        Value);
}

bool TRegistryStore::DeleteValue(TRegKeyId Key, const String& Name) {
    return Transaction(true, [&] {
        auto Delete = Prepare("DELETE FROM entries WHERE key = ?1 AND name = ?2");
        Delete.Bind(1, Key).Bind(2, Name).Change();
        return sqlite3_changes(FDb) > 0;
    });
}

} // namespace orlo
