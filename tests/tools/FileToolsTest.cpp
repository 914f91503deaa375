#include "tools/FileTools.h"

#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/Exception.h"
#include "tests/os/TempFolder.h"

#include <gtest/gtest.h>

using namespace orlo;
using namespace orlo::test;

TEST(FileTools, AppendAndRemoveBackslash) {
    struct Case {
        const char* Path;
        const char* Appended;
        const char* Removed;
    };
    const Case Cases[] = {
        {"C:\\Programme", "C:\\Programme/", "C:\\Programme"},
        {" C:\\Programme\\ ", "C:\\Programme\\", "C:\\Programme"},
        {"C:\\", "C:\\", "C:"},
        {"\\", "\\", "\\"},
        {"/usr/share", "/usr/share/", "/usr/share"},
        {"/usr/share/", "/usr/share/", "/usr/share"},
        {"/", "/", "/"},
        {"", "", ""},
        {"   ", "", ""},
        {"relative", "relative/", "relative"},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(AppendBackslash(C.Path), C.Appended) << C.Path;
        EXPECT_EQ(RemoveBackslash(C.Path), C.Removed) << C.Path;
    }
}

TEST(FileTools, CompleteDirectoryNames) {
    struct Case {
        const char* Path;
        bool Complete;
    };
    const Case Cases[] = {
        {"C:\\Programme", true},
        {"c:", true},
        {" D:x ", true},
        {"\\\\server\\share", true},
        {"//server/share", true},
        {"/usr", true},
        {"/", true},
        {"\\Programme", false},
        {"\\", false},
        {"Programme", false},
        {"C", false},
        {"", false},
        {"ab:", false},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(IsDirNameComplete(C.Path), C.Complete) << C.Path;
}

TEST(FileTools, ExpandFileNameByDir) {
    struct Case {
        const char* Name;
        const char* Dir;
        const char* Expanded;
    };
    const Case Cases[] = {
        {"\\x.txt", "D:\\a\\b", "D:\\x.txt"},
        {"x.txt", "D:\\a\\b\\", "D:\\a\\b\\x.txt"},
        {"x.txt", "D:\\a\\b", "D:\\a\\b/x.txt"},
        {" C:\\y.txt ", "D:\\a", "C:\\y.txt"},
        {"\\\\srv\\share\\y.txt", "D:\\a", "\\\\srv\\share\\y.txt"},
        {"\\x.txt", "\\\\srv\\share\\dir", "\\\\srv\\share\\x.txt"},
        {"x.txt", "/home/user", "/home/user/x.txt"},
        {"x.txt", "/home/user/", "/home/user/x.txt"},
        {"/etc/y.conf", "/home/user", "/etc/y.conf"},
        {"sub/x.txt", "/home/user", "/home/user/sub/x.txt"},
        {"\\x.txt", "/home/user", "\\x.txt"},
        {"x.txt", "", "x.txt"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ExpandFileNameByDir(C.Name, C.Dir), C.Expanded) << C.Name << " in " << C.Dir;
}

TEST(FileTools, ApplicationAndWindowsDirectories) {
    const String Dir = GetApplicationDir();
    EXPECT_EQ(Dir + "/tools_tests", ApplicationFileName());
    EXPECT_EQ(ExpandApplicationDir("Glossa.hlp"), Dir + "/Glossa.hlp");
    TTempFolder Folder;
    TScopedEnvironment Windows("ORLO_WINDIR", Folder.File("windows"));
    EXPECT_EQ(GetWindowsDir(), Folder.File("windows"));
    EXPECT_TRUE(DirExist(GetWindowsDir()));
}

TEST(FileTools, FileAndDirectoryExistence) {
    TTempFolder Folder;
    ReplaceFileContent(Folder.File("file.txt"), "x");
    ReplaceFileContent(Folder.File(".hidden"), "x");
    ForceDirectories(Folder.File("empty"));
    FileSetAttr(Folder.File("file.txt"), faReadOnly);
    struct Case {
        String Name;
        bool File;
        bool Dir;
    };
    const Case Cases[] = {
        {Folder.File("file.txt"), true, false}, {Folder.Path() + "\\file.txt", true, false},
        {Folder.File("*.txt"), true, false},    {Folder.File("f?le.*"), true, false},
        {Folder.File(".hidden"), true, false},  {Folder.File("empty"), false, true},
        {Folder.File("empty/"), false, true},   {Folder.Path() + "\\empty\\", false, true},
        {Folder.File("missing"), false, false}, {Folder.File("*.ini"), false, false},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(FileExist(C.Name), C.File) << C.Name;
        EXPECT_EQ(DirExist(C.Name), C.Dir) << C.Name;
    }
}

TEST(FileTools, CreateDirRecurseInBothNotations) {
    TTempFolder Folder;
    EXPECT_TRUE(CreateDirRecurse(Folder.File("a/b/c")));
    EXPECT_TRUE(DirExist(Folder.File("a/b/c")));
    EXPECT_TRUE(CreateDirRecurse(Folder.Path() + "\\x\\y\\z\\"));
    EXPECT_TRUE(DirectoryExists(Folder.File("x/y/z")));
    EXPECT_TRUE(CreateDirRecurse(Folder.File("a/b/c"))) << "existing";
    ReplaceFileContent(Folder.File("file"), "x");
    EXPECT_FALSE(CreateDirRecurse(Folder.File("file/below")));
}

TEST(FileTools, CreateDirRecurseOfRelativePath) {
    TTempFolder Folder;
    const String Old = GetCurrentDir();
    ASSERT_EQ(chdir(Folder.Path().c_str()), 0);
    const bool Created = CreateDirRecurse("rel/one/../two");
    ASSERT_EQ(chdir(Old.c_str()), 0);
    EXPECT_TRUE(Created);
    EXPECT_TRUE(DirectoryExists(Folder.File("rel/two")));
    EXPECT_FALSE(DirectoryExists(Folder.File("rel/one")));
}

TEST(FileTools, ExpandFileName) {
    const String Cwd = GetCurrentDir();
    struct Case {
        String Name;
        String Expanded;
    };
    const Case Cases[] = {
        {"/usr/./share/../lib", "/usr/lib"},
        {"/usr//lib/", "/usr/lib/"},
        {"/..", "/"},
        {"/", "/"},
        {"C:\\Programme\\..\\Windows\\.\\x.ini", "C:/Windows/x.ini"},
        {"C:\\", "C:/"},
        {"C:x.ini", "C:/x.ini"},
        {"\\\\server\\share\\a\\..\\b", "\\\\server\\share/b"},
        {"\\etc\\hosts", "/etc/hosts"},
        {"x.ini", Cwd + "/x.ini"},
        {"sub\\..\\y.ini", Cwd + "/y.ini"},
        {"", ""},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ExpandFileName(C.Name), C.Expanded) << C.Name;
}

TEST(FileTools, MakeUniqueFileName) {
    TTempFolder Folder;
    const String Index = Folder.File("Index.txt");
    EXPECT_EQ(MakeUniqueFileName(Index), Index);
    ReplaceFileContent(Index, "x");
    EXPECT_EQ(MakeUniqueFileName(Index), Folder.File("Index_2.txt"));
    ForceDirectories(Folder.File("Index_2.txt"));
    EXPECT_EQ(MakeUniqueFileName(Index), Folder.File("Index_3.txt")) << "folders count too";
    ReplaceFileContent(Folder.File("noext"), "x");
    EXPECT_EQ(MakeUniqueFileName(Folder.File("noext")), Folder.File("noext_2"));
    ReplaceFileContent(Folder.File("a*b.log"), "x");
    EXPECT_EQ(MakeUniqueFileName(Folder.File("a*b.log")), Folder.File("a_b_2.log"));
    const String Windows = Folder.Path() + "\\Index.txt";
    EXPECT_EQ(MakeUniqueFileName(Windows), Folder.Path() + "\\Index_3.txt");
}

TEST(FileTools, ShortPath) {
    struct Case {
        const char* Path;
        Integer MaxLen;
        const char* Short;
    };
    const Case Cases[] = {
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 35, "C:\\Programme\\Borland\\Delphi 4\\Bin"},
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 33, "C:\\Programme\\Borland\\Delphi 4\\Bin"},
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 29, "C:\\Programme\\...\\Delphi 4\\Bin"},
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 25, "C:\\...\\Delphi 4\\Bin"},
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 12, "C:\\...\\Bin"},
        {"C:\\Programme\\Borland\\Delphi 4\\Bin", 8, "C:\\....."},
        {"\\\\server\\share\\dir1\\dir2\\file.txt", 20, "\\\\...\\dir2\\file.txt"},
        {"/usr/local/share/orlo/glossa/Index.txt", 30, "/usr/.../glossa/Index.txt"},
        {"/usr/local/share/orlo/glossa/Index.txt", 16, "/.../Index.txt"},
        {"//server/share/dir1/dir2/file.txt", 20, "//.../dir2/file.txt"},
        {"a_very_long_file_name_without_any_separator.txt", 12, "...a_very..."},
        {"dir\\a_very_long_file_name.txt", 12, "...\\a_ver..."},
        {"  C:\\short  ", 8, "C:\\short"},
    };
    for (const Case& C : Cases) {
        const String Result = ShortPath(C.Path, C.MaxLen);
        EXPECT_EQ(Result, C.Short) << C.Path << " to " << C.MaxLen;
        EXPECT_LE(Length(Result), C.MaxLen) << C.Path;
    }
    for (Integer MaxLen : {7, 0, -1}) {
        try {
            ShortPath("C:\\x", MaxLen);
            ADD_FAILURE() << MaxLen;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "ShortPath failed. MaxLen must be larger than 7");
        }
    }
}
