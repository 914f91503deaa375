#include "platform/os/RegistryStore.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace orlo;
using namespace orlo::test;

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    TRegistrySandbox Sandbox;
    TRegistryStore Store{Sandbox.DatabaseFileName()};
    TRegKeyId User = TRegistryStore::RootKey(HKEY_CURRENT_USER);

    TRegKeyId Create(const String& Path) { return Store.OpenKey(User, Path, true); }
};

TRegValue Text(const String& S) {
    return {rdString, S, 0};
}

TRegValue Number(Integer N) {
    return {rdInteger, String(), N};
}

} // namespace

TEST(RegistryRootKeys, NamesAndValues) {
    struct Case {
        HKEY Root;
        const char* Name;
        const char* Short;
    };
    const Case Cases[] = {
        {0x80000000, "HKEY_CLASSES_ROOT", "hkcr"},     {0x80000001, "HKEY_CURRENT_USER", "HKCU"},
        {0x80000002, "HKEY_LOCAL_MACHINE", "HKLM"},    {0x80000003, "HKEY_USERS", "HKU"},
        {0x80000004, "HKEY_PERFORMANCE_DATA", "HKPD"}, {0x80000005, "HKEY_CURRENT_CONFIG", "HKCC"},
        {0x80000006, "HKEY_DYN_DATA", "HKDD"},
    };
    for (const Case& C : Cases) {
        EXPECT_TRUE(IsRootKey(C.Root));
        EXPECT_EQ(RootKeyName(C.Root), C.Name);
        HKEY Found = 0;
        ASSERT_TRUE(TryRootKeyFromName(LowerCase(C.Name), Found)) << C.Name;
        EXPECT_EQ(Found, C.Root);
        ASSERT_TRUE(TryRootKeyFromName(C.Short, Found)) << C.Short;
        EXPECT_EQ(Found, C.Root);
    }
    HKEY Found = 0;
    EXPECT_FALSE(TryRootKeyFromName("HKEY_NOWHERE", Found));
    EXPECT_FALSE(IsRootKey(0x80000007));
    EXPECT_THROW(RootKeyName(0x7FFFFFFF), ERegistryException);
    EXPECT_THROW(TRegistryStore::RootKey(0x80000007), ERegistryException);
}

TEST(RegistryDatabase, FileNameFollowsTheEnvironment) {
    TTempFolder Folder;
    {
        TScopedEnvironment Registry("ORLO_REGISTRY", Folder.File("own.db"));
        EXPECT_EQ(RegistryDatabaseFileName(), Folder.File("own.db"));
    }
    TScopedEnvironment Registry("ORLO_REGISTRY", "");
    TScopedEnvironment Config("XDG_CONFIG_HOME", Folder.File("config"));
    EXPECT_EQ(RegistryDatabaseFileName(), Folder.File("config") + "/orlo/registry.db");
    TScopedEnvironment NoConfig("XDG_CONFIG_HOME", "");
    TScopedEnvironment Home("HOME", Folder.File("home"));
    EXPECT_EQ(RegistryDatabaseFileName(), Folder.File("home") + "/.config/orlo/registry.db");
}

TEST(RegistryDatabase, CreatesItsFolder) {
    TTempFolder Folder;
    const String FileName = Folder.File("deep/er/registry.db");
    TRegistryStore Store(FileName);
    EXPECT_TRUE(FileExists(FileName));
}

TEST(RegistryDatabase, UnusableFileIsReported) {
    TTempFolder Folder;
    ForceDirectories(Folder.File("adir.db"));
    try {
        TRegistryStore Store(Folder.File("adir.db"));
        FAIL() << "a folder opened as database";
    } catch (const ERegistryException& E) {
        EXPECT_EQ(
            Pos("Cannot open registry database '" + Folder.File("adir.db") + "'", E.Message()), 1)
            << E.Message();
    }
}

TEST_F(RegistryStoreTest, KeysAreCreatedWithTheirParentsAndFoundWithoutRegardToCase) {
    EXPECT_EQ(Store.OpenKey(User, "Software\\Orlo GbR\\Designers", false), NoRegKey);
    const TRegKeyId Key = Create("Software\\Orlo GbR\\Designers");
    ASSERT_NE(Key, NoRegKey);
    EXPECT_EQ(Store.OpenKey(User, "software\\ORLO GBR\\designers", false), Key);
    EXPECT_EQ(Store.OpenKey(User, "\\Software\\\\Orlo GbR\\Designers\\", false), Key)
        << "empty names between separators are skipped";
    EXPECT_EQ(Store.OpenKey(Store.OpenKey(User, "Software", false), "Orlo GbR\\Designers", false),
              Key);
    EXPECT_EQ(Store.KeyNames(User), std::vector<String>{"Software"});
    EXPECT_EQ(Store.OpenKey(User, "", false), User);
    EXPECT_EQ(Store.OpenKey(TRegistryStore::RootKey(HKEY_LOCAL_MACHINE), "Software", false),
              NoRegKey)
        << "root keys are separate trees";
}

TEST_F(RegistryStoreTest, ValuesOfEachTypeReadBackAsWritten) {
    const TRegKeyId Key = Create("Software\\Values");
    const std::pair<const char*, TRegValue> Cases[] = {
        {"Text", Text("Deutsch")},
        {"Empty", Text("")},
        {"Umlauts", Text("Grüße ÄÖÜ")},
        {"Lines", Text("one\r\ntwo\tthree")},
        {"Zero", Number(0)},
        {"Negative", Number(-2147483647 - 1)},
        {"Large", Number(2147483647)},
        {"Global\\Language", Text("English")},
        {"", Text("default value")},
    };
    for (const auto& [Name, Value] : Cases)
        ASSERT_TRUE(Store.WriteValue(Key, Name, Value)) << Name;
    for (const auto& [Name, Value] : Cases) {
        const auto Read = Store.ReadValue(Key, Name);
        ASSERT_TRUE(Read.has_value()) << Name;
        EXPECT_EQ(Read->DataType, Value.DataType) << Name;
        EXPECT_EQ(Read->Text, Value.Text) << Name;
        EXPECT_EQ(Read->Number, Value.Number) << Name;
    }
    EXPECT_EQ(Store.ValueNames(Key).size(), std::size(Cases));
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseInEveryScript) {
    const struct {
        const char* Stored;
        const char* Asked;
    } Cases[] = {
        {"Ärger", "äRGER"}, {"ÉCOLE", "école"}, {"ПРИВЕТ", "привет"},
        {"Ωμέγα", "ωΜΈΓΑ"}, {"Łódź", "łÓDŹ"},   {"İstanbul", "İSTANBUL"},
    };
    for (const auto& C : Cases) {
        const TRegKeyId Key = Create(String("Software\\") + C.Stored);
        EXPECT_EQ(Store.OpenKey(User, String("Software\\") + C.Asked, true), Key) << C.Asked;
        Store.WriteValue(Key, C.Stored, Text("first"));
        Store.WriteValue(Key, C.Asked, Text("second"));
        EXPECT_EQ(Store.ValueNames(Key).size(), 1u) << C.Stored;
        EXPECT_EQ(Store.ReadValue(Key, C.Stored)->Text, "second") << C.Stored;
        EXPECT_EQ(Store.ReadValue(Key, C.Asked)->Text, "second") << C.Asked;
    }
    EXPECT_EQ(Store.KeyNames(Store.OpenKey(User, "Software", false)).size(), std::size(Cases));
    EXPECT_NE(Create("Software\\Arger"), Create("Software\\Ärger")) << "A is not Ä";
}

TEST(RegistryDatabase, OlderDatabaseGetsNameIndexesForEveryScript) {
    // A database of the first format, whose indexes order names by ASCII case
    // only: many names, so that a look-up walks the rebuilt order.
    TRegistrySandbox Sandbox;
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open(Sandbox.DatabaseFileName().c_str(), &Db), SQLITE_OK);
    String Sql =
        "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER "
        "REFERENCES keys(id), name TEXT NOT NULL COLLATE NOCASE, UNIQUE(parent, name));"
        "CREATE TABLE entries(key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
        " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data,"
        " PRIMARY KEY(key, name)) WITHOUT ROWID;"
        "INSERT INTO keys(id, parent, name) VALUES (2147483649, NULL, 'HKEY_CURRENT_USER');";
    const char* Names[] = {"Åsa", "Ärger", "Öl", "Ωμέγα", "ПРИВЕТ", "Zebra", "äther", "über"};
    for (const char* Name : Names)
        Sql += Format("INSERT INTO keys(parent, name) VALUES (2147483649, '%s');", Name);
    Sql += "PRAGMA user_version = 1;";
    ASSERT_EQ(sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(Db);

    TRegistryStore Store(Sandbox.DatabaseFileName());
    const TRegKeyId User = TRegistryStore::RootKey(HKEY_CURRENT_USER);
    for (const char* Name : Names) {
        const TRegKeyId Key = Store.OpenKey(User, Name, false);
        EXPECT_NE(Key, NoRegKey) << Name;
        EXPECT_EQ(Store.OpenKey(User, UnicodeLowerCase(Name), true), Key) << Name;
        EXPECT_EQ(Store.OpenKey(User, AnsiUpperCase(Name), true), Key) << Name;
    }
    EXPECT_EQ(Store.KeyNames(User).size(), std::size(Names));
    EXPECT_NE(Store.OpenKey(TRegistryStore::RootKey(HKEY_LOCAL_MACHINE), "", false), NoRegKey)
        << "the other root keys are added";
}

TEST_F(RegistryStoreTest, ValueNamesIgnoreCaseAndAWriteReplacesTheType) {
    const TRegKeyId Key = Create("Software\\Values");
    Store.WriteValue(Key, "Count", Text("7"));
    Store.WriteValue(Key, "COUNT", Number(8));
    const auto Read = Store.ReadValue(Key, "count");
    ASSERT_TRUE(Read.has_value());
    EXPECT_EQ(Read->DataType, rdInteger);
    EXPECT_EQ(Read->Number, 8);
    EXPECT_EQ(Store.ValueNames(Key).size(), 1u);
    EXPECT_FALSE(Store.ReadValue(Key, "Missing").has_value());
}

TEST_F(RegistryStoreTest, DeleteValueTellsWhetherThereWasOne) {
    const TRegKeyId Key = Create("Software\\Values");
    Store.WriteValue(Key, "Name", Text("x"));
    EXPECT_TRUE(Store.DeleteValue(Key, "NAME"));
    EXPECT_FALSE(Store.DeleteValue(Key, "Name"));
    EXPECT_FALSE(Store.ReadValue(Key, "Name").has_value());
}

TEST_F(RegistryStoreTest, DeleteKeyTakesEverythingBelowAndOldIdsStayDead) {
    const TRegKeyId Top = Create("Software\\Top");
    const TRegKeyId Deep = Create("Software\\Top\\A\\B\\C");
    Store.WriteValue(Deep, "Value", Text("x"));
    Store.WriteValue(Top, "Value", Number(1));
    const TRegKeyId Sibling = Create("Software\\Topper");

    EXPECT_TRUE(Store.DeleteKey(User, "software\\top"));
    EXPECT_FALSE(Store.KeyExists(Top));
    EXPECT_FALSE(Store.KeyExists(Deep));
    EXPECT_TRUE(Store.KeyExists(Sibling));
    EXPECT_EQ(Store.OpenKey(User, "Software\\Top\\A", false), NoRegKey);
    EXPECT_FALSE(Store.ReadValue(Deep, "Value").has_value());
    EXPECT_FALSE(Store.WriteValue(Deep, "Value", Text("again"))) << "a deleted key takes no values";
    EXPECT_EQ(Store.OpenKey(Top, "Child", true), NoRegKey) << "nor sub-keys";

    const TRegKeyId Again = Create("Software\\Top");
    EXPECT_NE(Again, Top) << "ids are never reused";
    EXPECT_EQ(Store.ValueNames(Again), std::vector<String>{});
    EXPECT_FALSE(Store.DeleteKey(User, "Software\\Missing"));
    EXPECT_FALSE(Store.DeleteKey(User, "")) << "a root key stays";
    EXPECT_TRUE(Store.KeyExists(User));
}

TEST_F(RegistryStoreTest, ChangesPersistForTheNextStore) {
    Store.WriteValue(Create("Software\\Persist"), "Name", Text("kept"));
    TRegistryStore Other(Sandbox.DatabaseFileName());
    const TRegKeyId Key =
        Other.OpenKey(TRegistryStore::RootKey(HKEY_CURRENT_USER), "Software\\Persist", false);
    ASSERT_NE(Key, NoRegKey);
    EXPECT_EQ(Other.ReadValue(Key, "Name")->Text, "kept");
}

TEST_F(RegistryStoreTest, KeyNamesAreSortedAndKeepTheirSpelling) {
    for (const char* Name : {"beta", "Alpha", "gamma"})
        Create(String("Software\\List\\") + Name);
    const TRegKeyId List = Store.OpenKey(User, "Software\\List", false);
    EXPECT_EQ(Store.KeyNames(List), (std::vector<String>{"Alpha", "beta", "gamma"}));
}

TEST_F(RegistryStoreTest, WaitsForAnotherProcessHoldingTheDatabase) {
    const TRegKeyId Key = Create("Software\\Busy");
    const String FileName = Sandbox.DatabaseFileName();
    int Pipe[2];
    ASSERT_EQ(pipe(Pipe), 0);
    const pid_t Holder = StartHelperProcess([&] {
        sqlite3* Db = nullptr;
        if (sqlite3_open(FileName.c_str(), &Db) != SQLITE_OK ||
            sqlite3_exec(Db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return 1;
        const char Ready = 'x';
        if (write(Pipe[1], &Ready, 1) != 1)
            return 2;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(Db);
        return 0;
    });
    char Ready = 0;
    ASSERT_EQ(read(Pipe[0], &Ready, 1), 1);
    close(Pipe[0]);
    close(Pipe[1]);
    EXPECT_TRUE(Store.WriteValue(Key, "After", Text("waited")));
    EXPECT_EQ(WaitForHelperProcess(Holder), 0);
    EXPECT_EQ(Store.ReadValue(Key, "After")->Text, "waited");
}

// Four processes write their own values and one shared value into the same
// keys at the same time, and read each other's; nothing may be lost or torn.
TEST(RegistryConcurrency, FourProcessesLoseNothing) {
    TRegistrySandbox Sandbox;
    const String FileName = Sandbox.DatabaseFileName();
    constexpr int Processes = 4;
    constexpr int Writes = 60;
    const auto Expected = [](int P, int I) { return Format("process %d write %d", P, I); };
    { TRegistryStore Prepare(FileName); } // every process then opens an existing database

    std::vector<pid_t> Children;
    for (int P = 0; P < Processes; ++P) {
        Children.push_back(StartHelperProcess([&, P] {
            TRegistryStore Store(FileName);
            const TRegKeyId User = TRegistryStore::RootKey(HKEY_CURRENT_USER);
            for (int I = 0; I < Writes; ++I) {
                const TRegKeyId Shared = Store.OpenKey(User, "Software\\Shared", true);
                if (!Store.WriteValue(Shared, Format("P%d_%d", P, I),
                                      {rdString, Expected(P, I), 0}) ||
                    !Store.WriteValue(Shared, "Last", {rdInteger, String(), P * 1000 + I}))
                    return 1;
                const TRegKeyId Own =
                    Store.OpenKey(User, Format("Software\\Shared\\Sub%d_%d", P, I), true);
                if (!Store.WriteValue(Own, "Owner", {rdInteger, String(), P}))
                    return 2;
                const int Other = (P + 1) % Processes;
                const auto Read = Store.ReadValue(Shared, Format("P%d_%d", Other, I));
                if (Read && Read->Text != Expected(Other, I))
                    return 3;
                if (Store.ReadValue(Shared, Format("P%d_%d", P, I))->Text != Expected(P, I))
                    return 4;
            }
            return 0;
        }));
    }
    for (pid_t Child : Children)
        EXPECT_EQ(WaitForHelperProcess(Child), 0);

    TRegistryStore Store(FileName);
    const TRegKeyId Shared =
        Store.OpenKey(TRegistryStore::RootKey(HKEY_CURRENT_USER), "Software\\Shared", false);
    ASSERT_NE(Shared, NoRegKey);
    for (int P = 0; P < Processes; ++P) {
        for (int I = 0; I < Writes; ++I) {
            const auto Value = Store.ReadValue(Shared, Format("P%d_%d", P, I));
            ASSERT_TRUE(Value.has_value()) << P << " " << I;
            EXPECT_EQ(Value->Text, Expected(P, I));
            const TRegKeyId Own = Store.OpenKey(Shared, Format("Sub%d_%d", P, I), false);
            ASSERT_NE(Own, NoRegKey);
            EXPECT_EQ(Store.ReadValue(Own, "Owner")->Number, P);
        }
    }
    EXPECT_EQ(Store.ValueNames(Shared).size(), size_t(Processes * Writes + 1));
    EXPECT_EQ(Store.KeyNames(Shared).size(), size_t(Processes * Writes));
    const Integer Last = Store.ReadValue(Shared, "Last")->Number;
    EXPECT_EQ(Last % 1000, Writes - 1) << "the last write of some process wins";
}
