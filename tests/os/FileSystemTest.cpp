#include "platform/os/FileSystem.h"
#include "platform/os/FilePaths.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orlo;
using namespace orlo::test;

namespace {

void WriteFile(const String& FileName, const String& Content) {
    ReplaceFileContent(FileName, Content);
}

mode_t ModeOf(const String& FileName) {
    struct stat Info;
    EXPECT_EQ(stat(FileName.c_str(), &Info), 0) << FileName;
    return Info.st_mode & 07777;
}

std::vector<String> FindAll(const String& Path, Integer Attr) {
    std::vector<String> Names;
    TSearchRec F;
    for (Integer Result = FindFirst(Path, Attr, F); Result == 0; Result = FindNext(F))
        Names.push_back(F.Name);
    FindClose(F);
    return Names;
}

class FileSystemTest : public ::testing::Test {
protected:
    TTempFolder Folder;
};

} // namespace

TEST(FilePaths, PartsOfNamesInBothNotations) {
    struct Case {
        const char* Name;
        const char* Drive;
        const char* Path;
        const char* Dir;
        const char* File;
        const char* Ext;
    };
    const Case Cases[] = {
        {"C:\\Programme\\Orlo\\Index.txt", "C:", "C:\\Programme\\Orlo\\", "C:\\Programme\\Orlo",
         "Index.txt", ".txt"},
        {"/usr/share/orlo/Index.txt", "", "/usr/share/orlo/", "/usr/share/orlo", "Index.txt",
         ".txt"},
        {"C:\\Index", "C:", "C:\\", "C:\\", "Index", ""},
        {"/Index", "", "/", "/", "Index", ""},
        {"C:Index.tar.gz", "C:", "C:", "C:", "Index.tar.gz", ".gz"},
        {"\\\\server\\share\\dir\\a.b", "\\\\server\\share", "\\\\server\\share\\dir\\",
         "\\\\server\\share\\dir", "a.b", ".b"},
        {"//server/share/a", "//server/share", "//server/share/", "//server/share/", "a", ""},
        {"mixed\\dir/file.ini", "", "mixed\\dir/", "mixed\\dir", "file.ini", ".ini"},
        {"dir.d/noext", "", "dir.d/", "dir.d", "noext", ""},
        {".hidden", "", "", "", ".hidden", ".hidden"},
        {"plain", "", "", "", "plain", ""},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(ExtractFileDrive(C.Name), C.Drive) << C.Name;
        EXPECT_EQ(ExtractFilePath(C.Name), C.Path) << C.Name;
        EXPECT_EQ(ExtractFileDir(C.Name), C.Dir) << C.Name;
        EXPECT_EQ(ExtractFileName(C.Name), C.File) << C.Name;
        EXPECT_EQ(ExtractFileExt(C.Name), C.Ext) << C.Name;
    }
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\Index.txt", ".bak"), "C:\\a.b\\Index.bak");
    EXPECT_EQ(ChangeFileExt("/a.b/Index", ".bak"), "/a.b/Index.bak");
    EXPECT_EQ(NativePath("C:\\a\\b/c"), "C:/a/b/c");
}

TEST_F(FileSystemTest, AttributesFollowPermissionsNamesAndKinds) {
    WriteFile(Folder.File("plain.txt"), "x");
    WriteFile(Folder.File(".hidden"), "x");
    ForceDirectories(Folder.File("sub"));
    EXPECT_EQ(FileGetAttr(Folder.File("plain.txt")), faArchive);
    EXPECT_EQ(FileGetAttr(Folder.File(".hidden")), faArchive | faHidden);
    EXPECT_EQ(FileGetAttr(Folder.File("sub")), faDirectory);
    EXPECT_EQ(FileGetAttr(Folder.File("missing")), -1);
    EXPECT_EQ(FileGetAttr("/dev/null") & faSysFile, faSysFile);

    EXPECT_TRUE(FileSetAttr(Folder.File("plain.txt"), faReadOnly));
    EXPECT_EQ(ModeOf(Folder.File("plain.txt")) & 0222, 0u);
    EXPECT_EQ(FileGetAttr(Folder.File("plain.txt")), faArchive | faReadOnly);
    EXPECT_TRUE(FileSetAttr(Folder.File("plain.txt"), 0));
    EXPECT_EQ(ModeOf(Folder.File("plain.txt")) & 0200, 0200u);
    EXPECT_EQ(FileGetAttr(Folder.File("plain.txt")), faArchive);
    EXPECT_FALSE(FileSetAttr(Folder.File("missing"), 0));
}

TEST_F(FileSystemTest, OnlyRegularFilesCountAsRegular) {
    WriteFile(Folder.File("plain.txt"), "x");
    ForceDirectories(Folder.File("sub"));
    ASSERT_EQ(mkfifo(Folder.File("pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink(Folder.File("plain.txt").c_str(), Folder.File("link").c_str()), 0);
    ASSERT_EQ(symlink(Folder.File("gone").c_str(), Folder.File("dangling").c_str()), 0);
    const std::pair<const char*, bool> Cases[] = {
        {"plain.txt", true}, {"link", true},      {"sub", false},
        {"pipe", false},     {"dangling", false}, {"missing", false},
    };
    for (const auto& [Name, Regular] : Cases)
        EXPECT_EQ(RegularFileExists(Folder.File(Name)), Regular) << Name;
    EXPECT_FALSE(RegularFileExists("/dev/null"));
}

TEST_F(FileSystemTest, BackslashesSeparateToo) {
    ForceDirectories(Folder.File("a/b"));
    WriteFile(Folder.File("a/b/c.txt"), "x");
    const String Windows = Folder.Path() + "\\a\\b\\c.txt";
    EXPECT_EQ(FileGetAttr(Windows), faArchive);
    EXPECT_TRUE(FileExists(Windows));
    EXPECT_TRUE(DirectoryExists(Folder.Path() + "\\a\\b"));
    EXPECT_EQ(FindAll(Folder.Path() + "\\a\\b\\*.txt", 0), std::vector<String>{"c.txt"});
}

TEST_F(FileSystemTest, FindMatchesWildcardsAndAttributeMasks) {
    for (const char* Name : {"a.txt", "b.TXT", "ab.ini", "noext", ".dot"})
        WriteFile(Folder.File(Name), "x");
    ForceDirectories(Folder.File("dir.txt"));
    FileSetAttr(Folder.File("ab.ini"), faReadOnly);
    struct Case {
        const char* Mask;
        Integer Attr;
        std::vector<String> Names;
    };
    const Case Cases[] = {
        {"*.txt", 0, {"a.txt"}},
        {"*.txt", faDirectory, {"a.txt", "dir.txt"}},
        {"?.*", faReadOnly | faArchive, {"a.txt", "b.TXT"}},
        {"a*", 0, {"a.txt", "ab.ini"}},
        {"*.*", 39, {"a.txt", "ab.ini", "b.TXT", "noext", ".dot"}},
        {"*.*", faAnyFile, {".", "..", ".dot", "a.txt", "ab.ini", "b.TXT", "dir.txt", "noext"}},
        {"*", 0, {"a.txt", "ab.ini", "b.TXT", "noext"}},
        {"a?b*", 0, {}},
        {"noext", 0, {"noext"}},
        {"dir.txt", 0, {}},
        {"dir.txt", faDirectory, {"dir.txt"}},
        {"missing", faAnyFile, {}},
    };
    for (const Case& C : Cases) {
        std::vector<String> Found = FindAll(Folder.File(C.Mask), C.Attr);
        std::vector<String> Expected = C.Names;
        std::sort(Found.begin(), Found.end());
        std::sort(Expected.begin(), Expected.end());
        EXPECT_EQ(Found, Expected) << C.Mask << " " << C.Attr;
    }
}

TEST_F(FileSystemTest, FindReportsSizeKindAndTime) {
    WriteFile(Folder.File("data.bin"), String(1234, 'x'));
    TSearchRec F;
    ASSERT_EQ(FindFirst(Folder.File("data.bin"), 0, F), 0);
    EXPECT_EQ(F.Name, "data.bin");
    EXPECT_EQ(F.Size, 1234);
    EXPECT_EQ(F.Attr, faArchive);
    EXPECT_GT(F.Time, 40000.0); // after the year 2009
    EXPECT_NE(FindNext(F), 0);
    FindClose(F);
    EXPECT_NE(FindFirst(Folder.File("nothing/*.*"), faAnyFile, F), 0);
}

TEST_F(FileSystemTest, CopyFileKeepsContentAndModeAndRespectsFailIfExists) {
    const String Source = Folder.File("source.txt");
    WriteFile(Source, "content");
    chmod(Source.c_str(), 0640);
    EXPECT_TRUE(CopyFile(Source, Folder.File("copy.txt"), true));
    EXPECT_EQ(ReadFileContent(Folder.File("copy.txt")), "content");
    EXPECT_EQ(ModeOf(Folder.File("copy.txt")), 0640u);

    WriteFile(Source, "changed");
    EXPECT_FALSE(CopyFile(Source, Folder.File("copy.txt"), true));
    EXPECT_EQ(ReadFileContent(Folder.File("copy.txt")), "content");
    EXPECT_TRUE(CopyFile(Source, Folder.File("copy.txt"), false));
    EXPECT_EQ(ReadFileContent(Folder.File("copy.txt")), "changed");

    EXPECT_FALSE(CopyFile(Folder.File("missing"), Folder.File("other"), false));
    EXPECT_FALSE(CopyFile(Source, Folder.File("no/such/folder/x"), false));
    EXPECT_EQ(FindAll(Folder.File(".*"), faHidden), std::vector<String>{})
        << "no half-written copies are left behind";
}

TEST_F(FileSystemTest, DeleteFileCreateAndRemoveDirectories) {
    WriteFile(Folder.File("file"), "x");
    ForceDirectories(Folder.File("d1/d2/d3"));
    EXPECT_TRUE(DirectoryExists(Folder.File("d1/d2/d3")));
    EXPECT_TRUE(ForceDirectories(Folder.File("d1/d2/d3")));
    EXPECT_FALSE(ForceDirectories(Folder.File("file/below")));
    EXPECT_FALSE(DeleteFile(Folder.File("d1"))) << "folders are not files";
    EXPECT_FALSE(RemoveDir(Folder.File("d1"))) << "not empty";
    EXPECT_TRUE(RemoveDir(Folder.File("d1/d2/d3")));
    EXPECT_FALSE(RemoveDir(Folder.File("d1/d2/d3")));
    EXPECT_TRUE(CreateDir(Folder.File("d1/d2/d3")));
    EXPECT_FALSE(CreateDir(Folder.File("d1/d2/d3")));
    EXPECT_TRUE(DeleteFile(Folder.File("file")));
    EXPECT_FALSE(DeleteFile(Folder.File("file")));
    EXPECT_FALSE(FileExists(Folder.File("file")));
}

TEST_F(FileSystemTest, ReplaceFileContentKeepsModeAndReportsFailures) {
    const String Name = Folder.File("settings.ini");
    WriteFile(Name, "old");
    chmod(Name.c_str(), 0604);
    ReplaceFileContent(Name, "new");
    EXPECT_EQ(ReadFileContent(Name), "new");
    EXPECT_EQ(ModeOf(Name), 0604u);
    EXPECT_THROW(ReplaceFileContent(Folder.File("missing/x.ini"), "x"), EFCreateError);
    try {
        ReadFileContent(Folder.File("missing.ini"));
        FAIL();
    } catch (const EFOpenError& E) {
        EXPECT_EQ(E.Message(), "Cannot open file \"" + Folder.File("missing.ini") +
                                   "\". No such file or directory");
    }
}

TEST_F(FileSystemTest, CurrentDirectoryIsComplete) {
    const String Dir = GetCurrentDir();
    ASSERT_FALSE(Dir.empty());
    EXPECT_EQ(Dir[0], '/');
    EXPECT_TRUE(DirectoryExists(Dir));
}

namespace {

bool IsLink(const String& Name) {
    struct stat Info;
    return lstat(Name.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode);
}

// The hidden siblings a save of Name leaves in its folder.
std::vector<String> SiblingsOf(const TTempFolder& Folder, const String& Name) {
    std::vector<String> Found;
    for (const String& Entry : FindAll(Folder.File(".*"), faHidden))
        if (Entry.rfind("." + Name + ".", 0) == 0)
            Found.push_back(Entry);
    return Found;
}

} // namespace

TEST_F(FileSystemTest, SaveThroughLinksReplacesTheFileTheyLeadTo) {
    ASSERT_TRUE(CreateDir(Folder.File("real")));
    WriteFile(Folder.File("real/settings.ini"), "old");
    chmod(Folder.File("real/settings.ini").c_str(), 0640);
    // A relative link to a relative link, and a dangling one.
    ASSERT_EQ(symlink("real/settings.ini", Folder.File("first").c_str()), 0);
    ASSERT_EQ(symlink("first", Folder.File("second").c_str()), 0);
    ASSERT_EQ(symlink((Folder.Path() + "/real/new.ini").c_str(), Folder.File("dangling").c_str()),
              0);
    ASSERT_EQ(symlink("loop", Folder.File("loop").c_str()), 0);

    ReplaceFileContent(Folder.File("second"), "new");
    ReplaceFileContent(Folder.File("dangling"), "created");

    for (const char* Link : {"first", "second", "dangling"})
        EXPECT_TRUE(IsLink(Folder.File(Link))) << Link;
    EXPECT_EQ(ReadFileContent(Folder.File("real/settings.ini")), "new");
    EXPECT_EQ(ModeOf(Folder.File("real/settings.ini")), 0640u);
    EXPECT_EQ(ReadFileContent(Folder.File("real/new.ini")), "created");
    EXPECT_TRUE(SiblingsOf(Folder, "second").empty());
    try {
        ReplaceFileContent(Folder.File("loop"), "x");
        FAIL() << "a loop of links was written";
    } catch (const EFCreateError& E) {
        EXPECT_EQ(E.Message(), "Cannot create file \"" + Folder.File("loop") +
                                   "\". Too many levels of symbolic links");
    }
    EXPECT_TRUE(IsLink(Folder.File("loop")));
}

TEST_F(FileSystemTest, PipesAndOpenFilesOfTheProcessAreWrittenInPlace) {
    int Pipe[2];
    ASSERT_EQ(pipe2(Pipe, O_NONBLOCK), 0); // a read never waits for a lost write
    // What /dev/stdout leads to when the output goes into a pipe.
    const String Stdout = Folder.File("stdout");
    ASSERT_EQ(symlink(Format("/proc/self/fd/%d", Pipe[1]).c_str(), Stdout.c_str()), 0);
    const String Fifo = Folder.File("fifo");
    ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
    const int FifoReader = open(Fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(FifoReader, 0);

    ReplaceFileContent(Stdout, "through the link");
    ReplaceFileContent(Fifo, "into the fifo");

    char Buffer[64] = {};
    EXPECT_EQ(read(Pipe[0], Buffer, sizeof Buffer), 16);
    EXPECT_STREQ(Buffer, "through the link");
    char FifoBuffer[64] = {};
    EXPECT_EQ(read(FifoReader, FifoBuffer, sizeof FifoBuffer), 13);
    EXPECT_STREQ(FifoBuffer, "into the fifo");
    EXPECT_TRUE(IsLink(Stdout));
    EXPECT_EQ(FileGetAttr(Fifo) & faSysFile, faSysFile) << "still a fifo";
    close(Pipe[0]);
    close(Pipe[1]);
    close(FifoReader);
}

TEST_F(FileSystemTest, AppendedOutputOfTheProcessIsKept) {
    // "formconv in /dev/stdout >> log": earlier lines of the log stay.
    const String Log = Folder.File("log.txt");
    WriteFile(Log, "earlier\n");
    const int Handle = open(Log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(Handle, 0);
    const String Stdout = Folder.File("stdout");
    ASSERT_EQ(symlink(Format("/proc/self/fd/%d", Handle).c_str(), Stdout.c_str()), 0);
    ReplaceFileContent(Stdout, "later\n");
    close(Handle);
    EXPECT_EQ(ReadFileContent(Log), "earlier\nlater\n");
    EXPECT_TRUE(IsLink(Stdout));
}

TEST_F(FileSystemTest, NewFilesFollowTheUmask) {
    const mode_t Old = umask(027);
    ReplaceFileContent(Folder.File("new.ini"), "x");
    umask(Old);
    EXPECT_EQ(ModeOf(Folder.File("new.ini")), 0640u);
}

TEST_F(FileSystemTest, SiblingOfAKilledSaveIsPrivateAndRemovedByTheNextSave) {
    const String Name = Folder.File("secret.ini");
    WriteFile(Name, "old");
    chmod(Name.c_str(), 0600);
    const mode_t Old = umask(0);
    // The file size limit kills the writer in the middle of writing its sibling.
    const pid_t Writer = StartHelperProcess([&] {
        const rlimit NoCore{0, 0};
        setrlimit(RLIMIT_CORE, &NoCore);
        const rlimit Small{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &Small);
        ReplaceFileContent(Name, String(100000, 'n'));
        return 0;
    });
    umask(Old);
    EXPECT_EQ(WaitForHelperProcess(Writer), -1) << "the writer was not killed";
    const std::vector<String> Left = SiblingsOf(Folder, "secret.ini");
    ASSERT_EQ(Left.size(), 1u);
    EXPECT_EQ(ModeOf(Folder.File(Left[0])), 0600u) << "readable by others while written";
    EXPECT_EQ(ReadFileContent(Name), "old");

    ReplaceFileContent(Name, "new");
    EXPECT_TRUE(SiblingsOf(Folder, "secret.ini").empty());
    EXPECT_EQ(ReadFileContent(Name), "new");
}

TEST_F(FileSystemTest, SaveLeavesTheSiblingOfALiveWriterAndOtherFilesAlone) {
    const String Name = Folder.File("shared.ini");
    WriteFile(Name, "old");
    // A writer still at work holds a lock on its sibling.
    const String Busy = Folder.File(".shared.ini.0BADCAFE");
    WriteFile(Busy, "in progress");
    int Ready[2], Release[2];
    ASSERT_EQ(pipe(Ready), 0);
    ASSERT_EQ(pipe(Release), 0);
    const pid_t Holder = StartHelperProcess([&] {
        const int Handle = open(Busy.c_str(), O_RDONLY);
        char C = 0;
        if (Handle < 0 || flock(Handle, LOCK_EX) != 0 || write(Ready[1], "r", 1) != 1 ||
            read(Release[0], &C, 1) != 1)
            return 1;
        return 0;
    });
    char C = 0;
    ASSERT_EQ(read(Ready[0], &C, 1), 1);
    for (const char* Other : {".shared.ini.bak", ".shared.ini.0123456789", "shared.ini.12345678"})
        WriteFile(Folder.File(Other), "keep");
    WriteFile(Folder.File(".shared.ini.DEADBEEF"), "stale");

    ReplaceFileContent(Name, "new");

    EXPECT_EQ(
        SiblingsOf(Folder, "shared.ini"),
        (std::vector<String>{".shared.ini.0123456789", ".shared.ini.0BADCAFE", ".shared.ini.bak"}));
    EXPECT_TRUE(FileExists(Folder.File("shared.ini.12345678")));
    ASSERT_EQ(write(Release[1], "x", 1), 1);
    EXPECT_EQ(WaitForHelperProcess(Holder), 0);
    for (int Handle : {Ready[0], Ready[1], Release[0], Release[1]})
        close(Handle);
}
