#include "platform/classes/Resources.h"
#include "platform/classes/FormText.h"
#include "tests/classes/StreamTestForms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace orlo::test {
namespace {

String TempPath(const char* Name) {
    const char* Env = std::getenv("ORLO_TEST_TMP");
    std::filesystem::path Dir = std::filesystem::path(Env ? Env : "/tmp") / "resources";
    std::filesystem::create_directories(Dir);
    return (Dir / Name).string();
}

String Hex(const String& Bytes) {
    static const char Digits[] = "0123456789ABCDEF";
    String Result;
    for (unsigned char C : Bytes) {
        Result += Digits[C >> 4];
        Result += Digits[C & 15];
    }
    return Result;
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }
};

TEST_F(ResourcesTest, ResourceFileLayout) {
    TResourceFile File;
    File.AddRCData("Glossa", {1, 2, 3, 4, 5});
    TStringStream S;
    File.SaveToStream(&S);
    EXPECT_EQ(Hex(S.DataString()),
              String("00000000"
                     "20000000"
                     "FFFF0000"
                     "FFFF0000" // the empty record
                     "00000000"
                     "0000"
                     "0000"
                     "00000000"
                     "00000000") +
                  "05000000"
                  "2C000000"                         // data size, header size
                  "FFFF0A00"                         // type RCDATA
                  "47004C004F0053005300410000000000" // "GLOSSA", padded
                  "00000000"
                  "3010"
                  "0000"
                  "00000000"
                  "00000000"           // version, flags, ...
                  "0102030405000000"); // data, padded
}

TEST_F(ResourcesTest, ResourceFileRoundTripAndLookup) {
    TResourceFile File;
    File.AddRCData("TForm1", {'a'});
    File.AddRCData("Zweite", {'b', 'c'});
    TResourceEntry& Other = File.Entries().emplace_back();
    Other.Type = TResourceId::OfOrdinal(6);
    Other.Name = TResourceId::OfOrdinal(7);
    Other.Data = {'d'};
    TStringStream S;
    File.SaveToStream(&S);
    S.SetPosition(0);
    EXPECT_TRUE(IsResourceFile(&S));
    TResourceFile Loaded;
    Loaded.LoadFromStream(&S);
    ASSERT_EQ(Loaded.Entries().size(), 3u);
    EXPECT_EQ(Loaded.Entries()[0].Name.Text(), "TFORM1");
    EXPECT_EQ(Loaded.Entries()[2].Name.Text(), "#7");
    EXPECT_EQ(Loaded.FindRCData()->Data, std::vector<Byte>{'a'});
    EXPECT_EQ(Loaded.FindRCData("zweite")->Data, (std::vector<Byte>{'b', 'c'}));
    EXPECT_EQ(Loaded.FindRCData("#7"), nullptr) << "not RCDATA";
    EXPECT_EQ(Loaded.FindRCData("missing"), nullptr);
}

TEST_F(ResourcesTest, BadResourceFiles) {
    TResourceFile Good;
    Good.AddRCData("X", {1, 2, 3});
    TStringStream S;
    Good.SaveToStream(&S);
    String Valid = S.DataString();
    // Every truncation inside the resource record is refused.
    for (size_t Len = 33; Len < Valid.size() - 1; ++Len) {
        TStringStream In(Valid.substr(0, Len));
        TResourceFile File;
        EXPECT_THROW(File.LoadFromStream(&In), EReadError) << Len;
    }
    String NoEmptyRecord = Valid.substr(32);
    TStringStream In(NoEmptyRecord);
    TResourceFile File;
    try {
        File.LoadFromStream(&In);
        FAIL();
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(),
                  "Invalid resource file: it does not start with the empty resource record");
    }
    String HugeHeader = Valid;
    HugeHeader[36] = '\x7F';
    TStringStream Huge(HugeHeader);
    EXPECT_THROW(File.LoadFromStream(&Huge), EReadError);
}

TEST_F(ResourcesTest, ComponentResourceFilesByNameAndFirst) {
    String Path = TempPath("form.res");
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    Form.Caption = "stored";
    WriteComponentResFile(Path, &Form);

    std::unique_ptr<TTestForm> First(static_cast<TTestForm*>(ReadComponentResFile(Path, nullptr)));
    EXPECT_EQ(First->Caption, "stored");
    std::unique_ptr<TTestForm> Named(
        static_cast<TTestForm*>(ReadComponentResFile(Path, nullptr, "ttestform")));
    EXPECT_EQ(Named->Name(), "Form1");
    try {
        ReadComponentResFile(Path, nullptr, "Other");
        FAIL();
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource Other not found");
    }
    TMemoryStream Stream;
    Stream.LoadFromFile(Path);
    TStringStream Text;
    ObjectResourceToText(&Stream, &Text);
    EXPECT_EQ(Text.DataString(), "object Form1: TTestForm\n  Caption = 'stored'\nend\n");
}

TEST_F(ResourcesTest, StreamComponentResWritesAResourceFile) {
    TComp Glossa(nullptr);
    Glossa.SetName("Glossa1");
    Glossa.AddLanguage("English", 0);
    TMemoryStream S;
    S.WriteComponentRes("Unit1", &Glossa);
    S.SetPosition(0);
    EXPECT_TRUE(IsResourceFile(&S));
    TComp Copy(nullptr);
    S.ReadComponentRes(&Copy);
    EXPECT_EQ(Copy.Name(), "Glossa1");
    ASSERT_EQ(Copy.Langs.Count(), 1);
}

// TestForm.dfm and TestForm2.dfm are linked into this program by the build.
TEST_F(ResourcesTest, FormsConvertedByTheBuildAreRegistered) {
    ASSERT_NE(FindComponentResource("TTestForm"), nullptr);
    std::unique_ptr<TTestForm> Form(
        static_cast<TTestForm*>(ReadComponentRes("TTestForm", nullptr)));
    EXPECT_EQ(Form->Caption, "Ancestor");
    ASSERT_NE(Form->Kinds1, nullptr);
    EXPECT_EQ(Form->Kinds1->Ref, Form->Label1);
    try {
        ReadComponentRes("TNoForm", nullptr);
        FAIL();
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource TNoForm not found");
    }
}

TEST_F(ResourcesTest, InheritedFormReadsItsAncestorFirst) {
    TTestForm2 Form(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&Form, TComponent::StaticClass()));
    EXPECT_EQ(Form.Name(), "Form2");
    EXPECT_EQ(Form.Caption, "Descendant");
    ASSERT_NE(Form.Label1, nullptr);
    EXPECT_EQ(Form.Label1->Caption(), "From the ancestor");
    EXPECT_EQ(Form.Label1->Hint(), "Changed by the descendant");
    ASSERT_NE(Form.Label2, nullptr);
    EXPECT_EQ(Form.ComponentCount(), 3);
    EXPECT_EQ(Form.LoadedCount, 1) << "Loaded runs once after both streams";
    EXPECT_EQ(Form.LabelCaptionAtLoaded, "From the ancestor");
    ASSERT_TRUE(Form.Kinds1->OnClick);
    Form.Kinds1->OnClick(&Form);
    EXPECT_EQ(Form.Clicks, 1);

    TTestForm2 Plain(nullptr);
    EXPECT_FALSE(InitInheritedComponent(&Plain, TTestForm2::StaticClass()));
    EXPECT_EQ(Plain.ComponentCount(), 0);
}

TEST_F(ResourcesTest, RegistrarUnregistersOnlyItsOwnData) {
    static const Byte First[] = {1};
    static const Byte Second[] = {2};
    {
        TComponentResourceRegistrar A("TRegistrarForm", First, 1);
        {
            TComponentResourceRegistrar B("TREGISTRARFORM", Second, 1);
            EXPECT_EQ(FindComponentResource("tregistrarform")->Data, Second);
        }
        EXPECT_EQ(FindComponentResource("TRegistrarForm"), nullptr)
            << "the later registration replaced the first";
        RegisterComponentResource("TRegistrarForm", First, 1);
    }
    EXPECT_EQ(FindComponentResource("TRegistrarForm"), nullptr);
}

} // namespace
} // namespace orlo::test
