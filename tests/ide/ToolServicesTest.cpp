// Reading and writing units through the source access, on files on disk and
// through an installed development environment.

#include "platform/ide/ToolServices.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/os/FileSystem.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlo::test {
namespace {

// A fresh set of disk files for each test, cleared again afterwards.
class SourceAccessTest : public ::testing::Test {
protected:
    void SetUp() override { DiskSourceFiles().Clear(); }
    void TearDown() override { DiskSourceFiles().Clear(); }

    String Write(const String& Name, const String& Content) const {
        const String FileName = Temp.File(Name);
        ReplaceFileContent(FileName, Content);
        return FileName;
    }

    TTempFolder Temp;
};

TEST_F(SourceAccessTest, OneTrailingLineEndIsRemovedAndPutBackOnWrite) {
    struct TCase {
        const char* Content;
        const char* Read;
        const char* Written; // after writing "new"
    };
    const TCase Cases[] = {
        {"unit A;\r\nend.\r\n", "unit A;\r\nend.", "new\r\n"},
        {"unit A;\nend.\n", "unit A;\nend.", "new\n"},
        {"end.\r\n\r\n", "end.\r\n", "new\r\n"}, // only one line end goes
        {"end.", "end.", "new"},
        {"end.\r", "end.\r", "new"},
        {"", "", "new"},
        {"\r\n", "", "new\r\n"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(testing::PrintToString(String(Case.Content)));
        const String FileName = Write("Unit.pas", Case.Content);
        EXPECT_EQ(ReadSourceCode(false, FileName), String(Case.Read));
        ASSERT_TRUE(WriteSourceCode(false, FileName, *ReadSourceCode(false, FileName)));
        EXPECT_EQ(ReadFileContent(FileName), String(Case.Content)) << "a read and write changed it";
        ASSERT_TRUE(WriteSourceCode(false, FileName, "new"));
        EXPECT_EQ(ReadFileContent(FileName), String(Case.Written));
    }
}

TEST_F(SourceAccessTest, FormNamesFindTheirUnitsByRegistrationOrBesideTheFormFile) {
    Write("Main.dfm", "object MainForm: TMainForm\r\n  Caption = 'Main'\r\nend\r\n");
    Write("Main.pas", "unit Main;\r\n");
    Write("Other.dfm", "inherited OtherForm: TOtherForm\nend\n");
    Write("Other.cpp", "// other\n");
    Write("Orphan.dfm", "object OrphanForm: TForm\nend\n"); // no unit beside it
    Write("Broken.dfm", "this is no form\n");
    const String Registered = Write("Registered.cpp", "// registered\n");
    DiskSourceFiles().AddSearchFolder(Temp.Path() + "/missing");
    DiskSourceFiles().AddSearchFolder(" " + Temp.Path() + " ");
    DiskSourceFiles().RegisterFormUnit("MainForm", Registered);
    DiskSourceFiles().RegisterFormUnit("mainform", Registered); // replaces, not twice

    EXPECT_EQ(ReadSourceCode(true, " MAINFORM "), String("// registered"));
    EXPECT_EQ(ReadSourceCode(true, "otherform"), String("// other"));
    EXPECT_EQ(DiskSourceFiles().UnitFileName(true, "OtherForm"), Temp.File("Other.cpp"));
    for (const char* Missing : {"OrphanForm", "NoSuchForm", "", "  "}) {
        EXPECT_EQ(ReadSourceCode(true, Missing), std::nullopt) << Missing;
        EXPECT_FALSE(WriteSourceCode(true, Missing, "x")) << Missing;
    }
    EXPECT_FALSE(FileExists(Temp.File("Orphan.pas"))) << "a unit was created";

    DiskSourceFiles().Clear();
    DiskSourceFiles().AddSearchFolder(Temp.Path());
    EXPECT_EQ(ReadSourceCode(true, "MainForm"), String("unit Main;"));
    ASSERT_TRUE(WriteSourceCode(true, "MainForm", "unit Main; { changed }"));
    EXPECT_EQ(ReadFileContent(Temp.File("Main.pas")), "unit Main; { changed }\r\n");
}

TEST_F(SourceAccessTest, BinaryFormFilesNameTheirRoot) {
    const String Text = "object NotesForm: TNotesForm\n  Caption = 'Notes'\nend\n";
    TStringStream Input(Text);
    TMemoryStream Binary;
    ObjectTextToBinary(&Input, &Binary);
    Binary.SaveToFile(Temp.File("Notes.dfm"));
    EXPECT_EQ(FormFileRootName(Temp.File("Notes.dfm")), String("NotesForm"));

    const struct {
        const char* Content;
        std::optional<String> Root;
    } Cases[] = {
        {"\xEF\xBB\xBFobject A: TA\nend\n", "A"},
        {"  INLINE Frame1 : TFrame1\nend\n", "Frame1"},
        {"object : TA\nend\n", std::nullopt},
        {"object A TA\n", std::nullopt},
        {"TPF0", std::nullopt},
        {"TPF0\x02TA\x09", std::nullopt}, // the name runs past the end
        {"TPF0\xF0\x02TA\x01"
         "B",
         "B"},
        {"TPF0\xF2\x02\x05\x02TA\x01"
         "C",
         "C"}, // flags with a child position
        {"", std::nullopt},
    };
    for (const auto& Case : Cases) {
        Write("Case.dfm", Case.Content);
        EXPECT_EQ(FormFileRootName(Temp.File("Case.dfm")), Case.Root)
            << testing::PrintToString(String(Case.Content));
    }
    EXPECT_EQ(FormFileRootName(Temp.File("None.dfm")), std::nullopt);
}

TEST_F(SourceAccessTest, MissingUnreadableAndReadOnlyUnitsAreRefused) {
    EXPECT_EQ(ReadSourceCode(false, Temp.File("none.pas")), std::nullopt);
    EXPECT_FALSE(WriteSourceCode(false, Temp.File("none.pas"), "text"));
    EXPECT_FALSE(FileExists(Temp.File("none.pas"))) << "a write created a unit";

    EXPECT_EQ(ReadSourceCode(false, Temp.Path()), std::nullopt) << "a folder read as a unit";
    EXPECT_FALSE(WriteSourceCode(false, Temp.Path(), "text"));

    const String Locked = Write("Locked.pas", "old\n");
    ASSERT_TRUE(FileSetAttr(Locked, faReadOnly));
    EXPECT_EQ(ReadSourceCode(false, Locked), String("old"));
    EXPECT_FALSE(WriteSourceCode(false, Locked, "new"));
    EXPECT_EQ(ReadFileContent(Locked), "old\n");

    const String Pipe = Temp.File("Pipe.pas");
    ASSERT_EQ(mkfifo(Pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadSourceCode(false, Pipe), std::nullopt) << "a pipe was read";
    EXPECT_FALSE(WriteSourceCode(false, Pipe, "new"));

    if (geteuid() != 0) { // root reads whatever the mode says
        const String Secret = Write("Secret.pas", "secret\n");
        ASSERT_EQ(chmod(Secret.c_str(), 0), 0);
        EXPECT_EQ(ReadSourceCode(false, Secret), std::nullopt);
    }
}

TEST_F(SourceAccessTest, ALinkedUnitIsWrittenThroughTheLinkWhichStays) {
    std::filesystem::create_directories(Temp.File("real"));
    const String Target = Write("real/Unit.pas", "unit U;\n");
    chmod(Target.c_str(), 0640);
    const String Link = Temp.File("Form.pas");
    std::filesystem::create_symlink(Target, Link);
    Write("Form.dfm", "object LinkedForm: TForm\nend\n");
    DiskSourceFiles().AddSearchFolder(Temp.Path());

    EXPECT_EQ(ReadSourceCode(true, "LinkedForm"), String("unit U;"));
    ASSERT_TRUE(WriteSourceCode(true, "LinkedForm", "unit U; { new }"));
    EXPECT_TRUE(std::filesystem::is_symlink(Link));
    EXPECT_EQ(ReadFileContent(Target), "unit U; { new }\n");
    EXPECT_EQ(std::filesystem::status(Target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST_F(SourceAccessTest, WritersInSeveralProcessesLeaveOneWholeText) {
    const String FileName = Write("Shared.pas", "start\n");
    const String Texts[] = {String(20000, 'a'), String(30000, 'b')};
    std::vector<pid_t> Children;
    for (const String& Text : Texts)
        Children.push_back(StartHelperProcess([&] {
            for (int Round = 0; Round < 30; ++Round)
                if (!WriteSourceCode(false, FileName, Text))
                    return 1;
            return 0;
        }));
    for (int Round = 0; Round < 60; ++Round) {
        const std::optional<String> Seen = ReadSourceCode(false, FileName);
        ASSERT_TRUE(Seen);
        EXPECT_TRUE(*Seen == "start" || *Seen == Texts[0] || *Seen == Texts[1])
            << "a mixed text of " << Seen->size() << " bytes";
    }
    for (pid_t Child : Children)
        EXPECT_EQ(WaitForHelperProcess(Child), 0);
    const std::optional<String> Final = ReadSourceCode(false, FileName);
    EXPECT_TRUE(Final == Texts[0] || Final == Texts[1]);
}

TEST_F(SourceAccessTest, AWriterKilledDuringASaveLeavesAWholeText) {
    const String FileName = Write("Killed.pas", "start\n");
    const String Texts[] = {String(1 << 20, 'a'), String(1 << 20, 'b')};
    for (int Delay = 1; Delay <= 5; ++Delay) {
        const pid_t Child = StartHelperProcess([&] {
            for (int Round = 0;; ++Round)
                WriteSourceCode(false, FileName, Texts[Round % 2]);
            return 0;
        });
        usleep(static_cast<useconds_t>(Delay * 3000));
        kill(Child, SIGKILL);
        EXPECT_EQ(WaitForHelperProcess(Child), -1);
        const std::optional<String> Seen = ReadSourceCode(false, FileName);
        ASSERT_TRUE(Seen);
        EXPECT_TRUE(*Seen == "start" || *Seen == Texts[0] || *Seen == Texts[1])
            << "a broken text of " << Seen->size() << " bytes after " << Delay;
    }
    // The next save clears what the killed writer left beside the unit.
    ASSERT_TRUE(WriteSourceCode(false, FileName, "end"));
    EXPECT_EQ(ReadFileContent(FileName), "end\n");
    std::vector<String> Left;
    for (const auto& Entry : std::filesystem::directory_iterator(Temp.Path()))
        Left.push_back(Entry.path().filename().string());
    EXPECT_EQ(Left, std::vector<String>{"Killed.pas"});
}

// An environment that keeps units in memory, as an editor's buffers would.
class TBufferServices : public TIToolServices {
public:
    String GetCurrentFile() override { return "/project/Main.pas"; }
    std::optional<String> ReadSourceCode(bool IsForm, const String& Name) override {
        Asked.push_back((IsForm ? "form " : "file ") + Name);
        return String("buffer of ") + Name;
    }
    bool WriteSourceCode(bool, const String& Name, const String& Source) override {
        Written = Name + "=" + Source;
        return true;
    }
    std::vector<String> Asked;
    String Written;
};

TEST_F(SourceAccessTest, AnInstalledEnvironmentTakesOverUntilRemoved) {
    const String FileName = Write("Unit.pas", "on disk\n");
    DiskSourceFiles().SetCurrentFile(FileName);
    EXPECT_EQ(ToolServices(), nullptr);
    EXPECT_EQ(GetCurrentFile(), FileName);

    auto Owned = std::make_unique<TBufferServices>();
    TBufferServices* Buffers = Owned.get();
    EXPECT_EQ(SetToolServices(std::move(Owned)), nullptr);
    EXPECT_EQ(ToolServices(), Buffers);
    EXPECT_EQ(GetCurrentFile(), "/project/Main.pas");
    EXPECT_EQ(ReadSourceCode(true, "MainForm"), String("buffer of MainForm"));
    EXPECT_TRUE(WriteSourceCode(false, FileName, "edited"));
    EXPECT_EQ(Buffers->Written, FileName + "=edited");
    EXPECT_EQ(ReadFileContent(FileName), "on disk\n")
        << "the disk was written past the environment";
    EXPECT_EQ(Buffers->Asked, (std::vector<String>{"form MainForm"}));

    EXPECT_EQ(SetToolServices(nullptr).get(), Buffers);
    EXPECT_EQ(ReadSourceCode(false, FileName), String("on disk"));
}

} // namespace
} // namespace orlo::test
