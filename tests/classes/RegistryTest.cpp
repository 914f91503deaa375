#include "platform/classes/Registry.h"
#include "platform/classes/Strings.h"
#include "tests/classes/LinesOf.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

using namespace orlo;
using namespace orlo::test;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    TRegistrySandbox Sandbox;
    TRegistry Reg;

    String MessageOf(const std::function<void()>& Action) {
        try {
            Action();
        } catch (const ERegistryException& E) {
            return E.Message();
        }
        return "(no error)";
    }
};

} // namespace

TEST_F(RegistryTest, StartsOnTheCurrentUserWithNoKeyOpen) {
    EXPECT_EQ(Reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(Reg.CurrentKey(), NoRegKey);
    EXPECT_EQ(Reg.CurrentPath(), "");
    EXPECT_EQ(Reg.ClassName(), "TRegistry");
}

TEST_F(RegistryTest, OpenKeyCreatesOnlyWhenAllowed) {
    EXPECT_FALSE(Reg.OpenKey("Software\\Orlo GbR\\Designers", false));
    EXPECT_FALSE(Reg.KeyExists("Software\\Orlo GbR\\Designers"));
    EXPECT_TRUE(Reg.OpenKey("Software\\Orlo GbR\\Designers", true));
    EXPECT_EQ(Reg.CurrentPath(), "Software\\Orlo GbR\\Designers");
    EXPECT_NE(Reg.CurrentKey(), NoRegKey);
    EXPECT_TRUE(Reg.KeyExists("\\SOFTWARE\\orlo gbr"));
    EXPECT_TRUE(Sandbox.DatabaseFileName() == RegistryDatabaseFileName());
    EXPECT_TRUE(FileExists(Sandbox.DatabaseFileName()));
}

TEST_F(RegistryTest, RelativeAndAbsolutePaths) {
    ASSERT_TRUE(Reg.OpenKey("Software", true));
    ASSERT_TRUE(Reg.OpenKey("Orlo GbR", true)); // below the open key
    EXPECT_EQ(Reg.CurrentPath(), "Software\\Orlo GbR");
    EXPECT_TRUE(Reg.KeyExists("\\Software\\Orlo GbR"));
    EXPECT_FALSE(Reg.KeyExists("Software")) << "relative to the open key";
    ASSERT_TRUE(Reg.OpenKey("\\Software", false)); // from the root
    EXPECT_EQ(Reg.CurrentPath(), "Software");
    Reg.CloseKey();
    EXPECT_TRUE(Reg.KeyExists("Software\\Orlo GbR")) << "relative to the root without an open key";
}

TEST_F(RegistryTest, StringsAndIntegersReadBackAndWrongTypesRaise) {
    ASSERT_TRUE(Reg.OpenKey("Software\\Values", true));
    Reg.WriteString("Global\\Language", "Deutsch");
    Reg.WriteInteger("Count", -42);
    EXPECT_EQ(Reg.ReadString("global\\language"), "Deutsch");
    EXPECT_EQ(Reg.ReadInteger("COUNT"), -42);
    EXPECT_EQ(Reg.GetDataType("Count"), rdInteger);
    EXPECT_EQ(Reg.GetDataType("Global\\Language"), rdString);
    EXPECT_EQ(Reg.GetDataType("Missing"), rdUnknown);
    EXPECT_TRUE(Reg.ValueExists("Count"));
    EXPECT_FALSE(Reg.ValueExists("Missing"));
    EXPECT_EQ(Reg.ReadString("Missing"), "");

    struct Case {
        std::function<void()> Action;
        const char* Message;
    };
    const Case Cases[] = {
        {[&] { Reg.ReadString("Count"); }, "Invalid data type for 'Count'"},
        {[&] { Reg.ReadInteger("Global\\Language"); }, "Invalid data type for 'Global\\Language'"},
        {[&] { Reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(MessageOf(C.Action), C.Message);
}

TEST_F(RegistryTest, WritesNeedAWritableOpenKey) {
    ASSERT_TRUE(Reg.OpenKey("Software\\Values", true));
    Reg.WriteString("Name", "value");
    TRegistry ReadOnly;
    ASSERT_TRUE(ReadOnly.OpenKeyReadOnly("Software\\Values"));
    EXPECT_EQ(ReadOnly.ReadString("Name"), "value");
    TRegistry Closed;
    TRegistry Deleted;
    ASSERT_TRUE(Deleted.OpenKey("Software\\Doomed", true));
    ASSERT_TRUE(Reg.DeleteKey("\\Software\\Doomed"));
    struct Case {
        TRegistry* Registry;
        const char* Why;
    };
    const Case Cases[] = {{&ReadOnly, "read-only"}, {&Closed, "no key"}, {&Deleted, "deleted key"}};
    for (const Case& C : Cases) {
        EXPECT_EQ(MessageOf([&] { C.Registry->WriteString("Name", "x"); }),
                  "Failed to set data for 'Name'")
            << C.Why;
        EXPECT_EQ(MessageOf([&] { C.Registry->WriteInteger("Number", 1); }),
                  "Failed to set data for 'Number'")
            << C.Why;
        EXPECT_FALSE(C.Registry->DeleteValue("Name")) << C.Why;
    }
    EXPECT_EQ(Reg.ReadString("Name"), "value");
    EXPECT_FALSE(ReadOnly.OpenKeyReadOnly("Software\\Missing"));
}

TEST_F(RegistryTest, KeyAndValueNamesAndDeletion) {
    ASSERT_TRUE(Reg.OpenKey("Software\\List", true));
    Reg.WriteString("b", "2");
    Reg.WriteInteger("A", 1);
    ASSERT_TRUE(Reg.OpenKey("Child2", true));
    ASSERT_TRUE(Reg.OpenKey("\\Software\\List\\child1", true));
    ASSERT_TRUE(Reg.OpenKey("\\Software\\List", false));
    TStringList Names;
    Names.Add("stale line");
    Reg.GetKeyNames(&Names);
    EXPECT_EQ(LinesOf(Names), (std::vector<String>{"child1", "Child2"}));
    Reg.GetValueNames(&Names);
    EXPECT_EQ(LinesOf(Names), (std::vector<String>{"A", "b"}));
    EXPECT_TRUE(Reg.HasSubKeys());

    EXPECT_TRUE(Reg.DeleteValue("B"));
    EXPECT_FALSE(Reg.DeleteValue("B"));
    EXPECT_TRUE(Reg.DeleteKey("Child2"));
    EXPECT_FALSE(Reg.DeleteKey("Child2"));
    Reg.GetKeyNames(&Names);
    EXPECT_EQ(LinesOf(Names), std::vector<String>{"child1"});

    Reg.CloseKey();
    Reg.GetValueNames(&Names);
    EXPECT_EQ(Names.Count(), 0) << "nothing open, nothing listed";
    EXPECT_FALSE(Reg.HasSubKeys());
}

TEST_F(RegistryTest, RootKeysAreSeparate) {
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(Reg.OpenKey("Software\\Machine", true));
    Reg.WriteInteger("Where", 2);
    Reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(Reg.CurrentKey(), NoRegKey) << "changing the root closes the key";
    EXPECT_FALSE(Reg.KeyExists("Software\\Machine"));
    EXPECT_THROW(Reg.SetRootKey(0x12345678), ERegistryException);
    EXPECT_EQ(Reg.RootKey(), HKEY_CURRENT_USER);
    TRegistry Machine(Sandbox.DatabaseFileName());
    Machine.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(Machine.OpenKeyReadOnly("Software\\Machine"));
    EXPECT_EQ(Machine.ReadInteger("Where"), 2);
}
