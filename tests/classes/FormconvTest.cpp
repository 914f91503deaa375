// The formconv program, run as developers run it. The build makes it before
// this test program, beside it: <build>/apps/formconv.

#include "platform/classes/Resources.h"
#include "tests/classes/StreamTestForms.h"
#include "tests/os/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace orlo::test {
namespace {

namespace fs = std::filesystem;

fs::path Formconv() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / "formconv";
}

String Data(const String& Name) {
    return String(ORLO_SOURCE_DIR) + "/tests/data/" + Name;
}

String Contents(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return String(std::istreambuf_iterator<char>(In), {});
}

struct TRun {
    int ExitCode;
    String Errors;
};

// ctest runs these tests as separate processes at once: each has a folder of
// its own for its files and for formconv's error output.
class FormconvTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(Formconv()))
            GTEST_SKIP() << "formconv is not built beside the tests";
    }

    fs::path Work() const { return fs::path(Folder.Path()); }

    TRun RunFormconv(const String& Arguments) const {
        fs::path ErrorFile = Work() / "stderr.txt";
        String Command = Formconv().string() + " " + Arguments + " 2>" + ErrorFile.string();
        int Status = std::system(Command.c_str());
        return TRun{WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, Contents(ErrorFile)};
    }

private:
    TTempFolder Folder;
};

TEST_F(FormconvTest, ConvertsTheFixtureBothWaysByteExactly) {
    String Binary = (Work() / "fixture.bin").string();
    String Text = (Work() / "fixture.dfm").string();
    EXPECT_EQ(RunFormconv(Data("roundtrip.dfm") + " " + Binary).ExitCode, 0);
    EXPECT_EQ(Contents(Binary), Contents(Data("roundtrip.bin")));
    EXPECT_EQ(RunFormconv(Data("roundtrip.bin") + " " + Text).ExitCode, 0);
    EXPECT_EQ(Contents(Text), Contents(Data("roundtrip.dfm")));
}

TEST_F(FormconvTest, ResourceFileToText) {
    RegisterStreamTestClasses();
    TTestForm Form(nullptr);
    Form.SetName("Form1");
    Form.Caption = "in a resource";
    TResourceFile File;
    File.AddRCData("First", {});
    File.Entries()[0].Type = TResourceId::OfOrdinal(6); // not RCDATA: skipped
    TMemoryStream Bytes;
    Bytes.WriteComponent(&Form);
    File.AddRCData("Unit1", std::vector<Byte>(Bytes.Memory(), Bytes.Memory() + Bytes.Size()));
    String Res = (Work() / "unit1.res").string();
    File.SaveToFile(Res);
    String Out = (Work() / "unit1.txt").string();
    const char* Names[] = {"", "-n unit1 "};
    for (const char* Name : Names) {
        EXPECT_EQ(RunFormconv(String(Name) + Res + " " + Out).ExitCode, 0);
        EXPECT_EQ(Contents(Out), "object Form1: TTestForm\n  Caption = 'in a resource'\nend\n");
    }
    TRun Missing = RunFormconv("-n Other " + Res + " " + Out);
    EXPECT_EQ(Missing.ExitCode, 1);
    EXPECT_THAT(Missing.Errors, ::testing::HasSubstr("Resource Other not found"));
}

TEST_F(FormconvTest, RegistrationSource) {
    String Out = (Work() / "form.cpp").string();
    ASSERT_EQ(RunFormconv("-c " + Data("TestForm.dfm") + " " + Out).ExitCode, 0);
    String Source = Contents(Out);
    EXPECT_THAT(Source, ::testing::HasSubstr("0x54, 0x50, 0x46, 0x30,")); // "TPF0"
    EXPECT_THAT(Source, ::testing::HasSubstr("Registrar(\"TTestForm\", Data, sizeof Data)"));
    ASSERT_EQ(RunFormconv("-c -n Custom " + Data("TestForm.dfm") + " " + Out).ExitCode, 0);
    EXPECT_THAT(Contents(Out), ::testing::HasSubstr("Registrar(\"Custom\""));
}

TEST_F(FormconvTest, BadInputAndUsage) {
    fs::path Bad = Work() / "bad.dfm";
    std::ofstream(Bad) << "object Form1: TForm1\n  Caption 'x'\nend\n";
    fs::path Out = Work() / "kept.txt";
    std::ofstream(Out) << "old";
    TRun Result = RunFormconv(Bad.string() + " " + Out.string());
    EXPECT_EQ(Result.ExitCode, 1);
    EXPECT_EQ(Result.Errors, "formconv: " + Bad.string() + ": Line 2: '=' expected (column 11)\n");
    EXPECT_EQ(Contents(Out), "old") << "a failed conversion leaves the output alone";

    fs::path Junk = Work() / "junk.bin";
    std::ofstream(Junk) << "neither form";
    EXPECT_EQ(RunFormconv(Junk.string() + " " + Out.string()).ExitCode, 1);
    EXPECT_EQ(RunFormconv((Work() / "missing").string() + " " + Out.string()).ExitCode, 1);

    EXPECT_EQ(RunFormconv("").ExitCode, 2);
    EXPECT_EQ(RunFormconv("only-one").ExitCode, 2);
    TRun Usage = RunFormconv("-x a b");
    EXPECT_EQ(Usage.ExitCode, 2);
    EXPECT_THAT(Usage.Errors, ::testing::HasSubstr("usage: formconv"));
}

} // namespace
} // namespace orlo::test
