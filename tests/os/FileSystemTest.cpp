#include "platform/os/FileSystem.h"
#include "platform/os/FilePaths.h"
#include "platform/rtl/Exception.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

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
