#include "platform/os/RegEditFile.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

namespace {

TRegEditValue StringValue(const String& Name, const String& S) {
    return {Name, false, {rdString, S, 0}};
}

TRegEditValue Number(const String& Name, Integer N) {
    return {Name, false, {rdInteger, String(), N}};
}

TRegEditValue Deleted(const String& Name) {
    return {Name, true, {}};
}

String MessageOf(const String& Text) {
    try {
        ParseRegEdit(Text);
    } catch (const ERegEditError& E) {
        return E.Message();
    }
    return "(no error)";
}

} // namespace

TEST(RegEditFile, ParsesKeysValuesAndDeletions) {
    const String Text = "\xEF\xBB\xBFREGEDIT4\r\n"
                        "\r\n"
                        "; a comment\r\n"
                        "[HKEY_CURRENT_USER\\Software\\Orlo GbR\\Designers]\r\n"
                        "\"Global\\\\Language\"=\"Deutsch\"\r\n"
                        "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                        "\"Count\"=dword:0000000a\r\n"
                        "\"Minus\" = dword:FFFFFFFF\r\n"
                        "@=\"default\"\r\n"
                        "\"Lines\"=hex(1):61,0d,0a,\\\r\n"
                        "  62,00\r\n"
                        "\"Old\"=-\r\n"
                        "\r\n"
                        "[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
                        "[hkcu]\n"
                        "\"Unix\"=\"line ends\"\n";
    const std::vector<TRegEditKey> Expected = {
        {HKEY_CURRENT_USER,
         "Software\\Orlo GbR\\Designers",
         false,
         {StringValue("Global\\Language", "Deutsch"), StringValue("Quote", "say \"hi\""),
          Number("Count", 10), Number("Minus", -1), StringValue("", "default"),
          StringValue("Lines", "a\r\nb"), Deleted("Old")}},
        {HKEY_LOCAL_MACHINE, "Software\\Gone", true, {}},
        {HKEY_CURRENT_USER, "", false, {StringValue("Unix", "line ends")}},
    };
    EXPECT_EQ(ParseRegEdit(Text), Expected);
}

TEST(RegEditFile, RejectsWhatItDoesNotUnderstandWithTheLine) {
    struct Case {
        String Text;
        String Message;
    };
    const Case Cases[] = {
        {"", "Line 1: \"REGEDIT4\" expected"},
        {"Windows Registry Editor Version 5.00\n", "Line 1: \"REGEDIT4\" expected"},
        {"REGEDIT4\n\"a\"=\"b\"\n", "Line 2: value without a key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\x]\n", "Line 2: Unknown root key 'HKEY_NOWHERE'"},
        {"REGEDIT4\n[]\n", "Line 2: Unknown root key ''"},
        {"REGEDIT4\n[-HKCU\\x]\n\"a\"=\"b\"\n", "Line 3: value without a key"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=\"b\n", "Line 3: closing quote missing"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=\"b\" c\n", "Line 3: text after the closing quote"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=\"b" + String(1, '\0') + "c\"\n",
         "Line 3: NUL character in a string"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\\n\"=\"b\"\n", "Line 3: invalid escape sequence"},
        {"REGEDIT4\n[HKCU\\x]\na=\"b\"\n", "Line 3: '\"' expected"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\" \"b\"\n", "Line 3: '=' expected"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=dword:123456789\n", "Line 3: invalid dword '123456789'"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=dword:\n", "Line 3: invalid dword ''"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=dword:12g4\n", "Line 3: invalid dword '12g4'"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex:01,02\n", "Line 3: unsupported value 'hex:01,02'"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex(1):61,62\n", "Line 3: string data must end in 00"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex(1):61,00,62,00\n", "Line 3: string data with 00 inside"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex(1):6,00\n", "Line 3: invalid hex byte '6'"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex(1):61,,00\n", "Line 3: invalid hex byte ''"},
        {"REGEDIT4\n[HKCU\\x]\n\"a\"=hex(1):61,\\\n\n[HKCU]\n", "Line 3: invalid hex byte ''"},
        {"REGEDIT4\n\n[-HKEY_CURRENT_USER]\n",
         "Line 3: the root key 'HKEY_CURRENT_USER' cannot be deleted"},
        {"REGEDIT4\n[HKCU\\x]\n[-hklm\\ \\\\]\n",
         "Line 3: the root key 'HKEY_LOCAL_MACHINE' cannot be deleted"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(MessageOf(C.Text), C.Message) << C.Text;
}

TEST(RegEditFile, FormatReadsBackTheSame) {
    const std::vector<TRegEditKey> Keys = {
        {HKEY_CURRENT_USER,
         "Software\\Orlo GbR",
         false,
         {StringValue("Back\\Slash \"quoted\"", "C:\\Programme\\\"x\""), Number("Zero", 0),
          Number("Min", -2147483647 - 1), StringValue("", ""), StringValue("Tab", "a\tb"),
          StringValue("Long", String(300, 'x') + "\n" + String(100, 'y')), Deleted("Gone"),
          StringValue("Umlauts", "Grüße"), StringValue(String(100, 'n'), "long\tname")}},
        {HKEY_DYN_DATA, "", false, {}},
        {HKEY_CLASSES_ROOT, "Old", true, {}},
    };
    const String Text = FormatRegEdit(Keys);
    EXPECT_EQ(Text.substr(0, 10), "REGEDIT4\r\n");
    EXPECT_NE(Text.find("\r\n[HKEY_CURRENT_USER\\Software\\Orlo GbR]\r\n"), String::npos);
    EXPECT_NE(Text.find("\"Zero\"=dword:00000000\r\n"), String::npos);
    EXPECT_NE(Text.find("\"Min\"=dword:80000000\r\n"), String::npos);
    EXPECT_NE(Text.find("\"Tab\"=hex(1):61,09,62,00\r\n"), String::npos);
    EXPECT_NE(Text.find("\r\n[-HKEY_CLASSES_ROOT\\Old]\r\n"), String::npos);
    EXPECT_EQ(ParseRegEdit(Text), Keys);
}

TEST(RegEditFile, NamesWithLineBreaksCannotBeWritten) {
    EXPECT_THROW(FormatRegEdit({{HKEY_CURRENT_USER, "a\nb", false, {}}}), ERegEditError);
    EXPECT_THROW(FormatRegEditValue(StringValue("a\r\nb", "x")), ERegEditError);
    EXPECT_THROW(FormatRegEditValue(StringValue("a", String("x\0y", 3))), ERegEditError);
}

TEST(RegEditFile, ExportRefusesANulCharacterInAName) {
    // The reader refuses it, so such an export could never be restored.
    const String Name("a\0b", 3);
    try {
        FormatRegEditValue(StringValue(Name, "x"));
        FAIL() << "exported";
    } catch (const ERegEditError& E) {
        EXPECT_EQ(E.Message(), "The NUL character in the name '" + Name + "' cannot be exported");
    }
    EXPECT_THROW(FormatRegEdit({{HKEY_CURRENT_USER, Name, false, {}}}), ERegEditError);
}

TEST(RegEditFile, ImportIsAllOrNothing) {
    TRegistrySandbox Sandbox;
    TRegistryStore Store(Sandbox.DatabaseFileName());
    ImportRegistryKeys(Store, ParseRegEdit("REGEDIT4\n[HKCU\\Software\\Old]\n\"Kept\"=\"yes\"\n"));
    const std::vector<TRegEditKey> Keys = {
        {HKEY_CURRENT_USER, "Software\\Old", true, {}},
        {HKEY_CURRENT_USER, "Software\\New", false, {StringValue("First", "1")}},
        {HKEY_CURRENT_USER, "Software\\New\\Sub", false, {{"Broken", false, {}}}},
    };
    EXPECT_THROW(ImportRegistryKeys(Store, Keys), ERegistryException);
    const TRegKeyId Root = TRegistryStore::RootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(Store.OpenKey(Root, "Software\\New", false), NoRegKey);
    const TRegKeyId Old = Store.OpenKey(Root, "Software\\Old", false);
    ASSERT_NE(Old, NoRegKey) << "the deletion was not undone";
    EXPECT_EQ(Store.ReadValue(Old, "Kept")->Text, "yes");
    // The store works on after the failed import.
    ImportRegistryKeys(Store, {Keys[1]});
    EXPECT_EQ(Store.ReadValue(Store.OpenKey(Root, "Software\\New", false), "First")->Text, "1");
}

TEST(RegEditFile, SplitRegistryPath) {
    HKEY Root = 0;
    String Path;
    SplitRegistryPath("HKEY_LOCAL_MACHINE\\Software\\Orlo", Root, Path);
    EXPECT_EQ(Root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Path, "Software\\Orlo");
    SplitRegistryPath("hkcu", Root, Path);
    EXPECT_EQ(Root, HKEY_CURRENT_USER);
    EXPECT_EQ(Path, "");
    EXPECT_THROW(SplitRegistryPath("Software\\Orlo", Root, Path), ERegEditError);
}

TEST(RegEditFile, ExportAndImportRoundTripThroughTheStore) {
    TRegistrySandbox Sandbox;
    TRegistryStore Store(Sandbox.DatabaseFileName());
    ImportRegistryKeys(Store, ParseRegEdit("REGEDIT4\n"
                                           "[HKCU\\Software\\Orlo]\n"
                                           "\"Name\"=\"Orlo\"\n"
                                           "[HKCU\\Software\\Orlo\\Sub\\Deep]\n"
                                           "\"Level\"=dword:00000003\n"
                                           "\"Text\"=hex(1):61,0a,62,00\n"
                                           "[HKCU\\Software\\Other]\n"
                                           "\"Kept\"=\"yes\"\n"));
    const auto Exported = ExportRegistryKeys(Store, HKEY_CURRENT_USER, "Software\\Orlo");
    const std::vector<TRegEditKey> Expected = {
        {HKEY_CURRENT_USER, "Software\\Orlo", false, {StringValue("Name", "Orlo")}},
        {HKEY_CURRENT_USER, "Software\\Orlo\\Sub", false, {}},
        {HKEY_CURRENT_USER,
         "Software\\Orlo\\Sub\\Deep",
         false,
         {Number("Level", 3), StringValue("Text", "a\nb")}},
    };
    EXPECT_EQ(Exported, Expected);

    TRegistryStore Fresh(Sandbox.File("fresh.db"));
    ImportRegistryKeys(Fresh, ParseRegEdit(FormatRegEdit(Exported)));
    EXPECT_EQ(ExportRegistryKeys(Fresh, HKEY_CURRENT_USER, "Software\\Orlo"), Expected);
    EXPECT_THROW(ExportRegistryKeys(Fresh, HKEY_CURRENT_USER, "Software\\Other"),
                 ERegistryException);

    ImportRegistryKeys(Store, ParseRegEdit("REGEDIT4\n[-HKCU\\Software\\Orlo\\Sub]\n"
                                           "[HKCU\\Software\\Other]\n\"Kept\"=-\n"));
    EXPECT_EQ(ExportRegistryKeys(Store, HKEY_CURRENT_USER, "Software\\Orlo").size(), 1u);
    EXPECT_EQ(ExportRegistryKeys(Store, HKEY_CURRENT_USER, "Software\\Other")[0].Values.size(), 0u);
}

TEST(RegEditFile, KilledImportLeavesAllOrNothing) {
    // Each import deletes the key and builds it again, so a kill in the middle
    // of one that was not atomic would leave a part of it.
    TRegistrySandbox Sandbox;
    String Text = "REGEDIT4\n[-HKCU\\Software\\Import]\n";
    for (int Key = 0; Key < 20; ++Key) {
        Text += Format("[HKCU\\Software\\Import\\Key%d]\n", Key);
        for (int Value = 0; Value < 200; ++Value)
            Text += Format("\"Value%d\"=\"text\"\n", Value);
    }
    const auto Keys = ParseRegEdit(Text);
    for (int Round = 0; Round < 5; ++Round) {
        int Imported[2];
        ASSERT_EQ(pipe(Imported), 0);
        const pid_t Importer = StartHelperProcess([&] {
            TRegistryStore Store(Sandbox.DatabaseFileName());
            for (;;) {
                ImportRegistryKeys(Store, Keys);
                if (write(Imported[1], "i", 1) != 1)
                    return 1;
            }
        });
        char C = 0;
        ASSERT_EQ(read(Imported[0], &C, 1), 1);
        ASSERT_EQ(kill(Importer, SIGKILL), 0);
        EXPECT_EQ(WaitForHelperProcess(Importer), -1);
        close(Imported[0]);
        close(Imported[1]);

        TRegistryStore Store(Sandbox.DatabaseFileName());
        const TRegKeyId Import =
            Store.OpenKey(TRegistryStore::RootKey(HKEY_CURRENT_USER), "Software\\Import", false);
        ASSERT_NE(Import, NoRegKey) << "round " << Round;
        ASSERT_EQ(Store.KeyNames(Import).size(), 20u) << "round " << Round;
        for (const String& Name : Store.KeyNames(Import))
            EXPECT_EQ(Store.ValueNames(Store.OpenKey(Import, Name, false)).size(), 200u) << Name;
    }
}
