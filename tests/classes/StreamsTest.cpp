#include "platform/classes/Streams.h"
#include "platform/classes/Resources.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace orlo {
namespace {

namespace fs = std::filesystem;

fs::path TempDir() {
    const char* Env = std::getenv("ORLO_TEST_TMP");
    fs::path Dir = fs::path(Env ? Env : "/tmp") / "streams";
    fs::create_directories(Dir);
    return Dir;
}

String TempFile(const char* Name) {
    fs::path P = TempDir() / Name;
    fs::remove(P);
    return P.string();
}

String FileText(const String& Path) {
    std::ifstream In(Path, std::ios::binary);
    return String(std::istreambuf_iterator<char>(In), {});
}

void PutFile(const String& Path, const String& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
}

// Every stream that can be written behaves alike for reading, writing and seeking.
struct StreamCase {
    const char* Name;
    std::function<std::unique_ptr<TStream>()> Make;
};

class WritableStreams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(WritableStreams, ReadWriteSeekAndSize) {
    auto S = GetParam().Make();
    S->WriteBuffer("hello world", 11);
    EXPECT_EQ(S->Position(), 11);
    EXPECT_EQ(S->Size(), 11);
    EXPECT_EQ(S->Seek(-5, soFromEnd), 6);
    char Buf[8] = {};
    EXPECT_EQ(S->Read(Buf, 8), 5);
    EXPECT_EQ(String(Buf, 5), "world");
    EXPECT_EQ(S->Seek(-11, soFromCurrent), 0);
    S->Seek(6, soFromBeginning);
    S->WriteBuffer("there!", 6);
    EXPECT_EQ(S->Size(), 12);
    S->SetPosition(0);
    char All[12];
    S->ReadBuffer(All, 12);
    EXPECT_EQ(String(All, 12), "hello there!");
    S->SetSize(5);
    EXPECT_EQ(S->Size(), 5);
    EXPECT_EQ(S->Position(), 5);
    EXPECT_THROW(S->ReadBuffer(All, 1), EReadError);
}

TEST_P(WritableStreams, ReadBufferPastTheEndRaisesStreamReadError) {
    auto S = GetParam().Make();
    S->WriteBuffer("abc", 3);
    S->SetPosition(1);
    char Buf[4];
    try {
        S->ReadBuffer(Buf, 4);
        FAIL() << "no exception";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), "Stream read error");
    }
}

TEST_P(WritableStreams, CopyFromWithCountZeroCopiesTheWholeSource) {
    TMemoryStream Source;
    Source.WriteBuffer("0123456789", 10);
    Source.SetPosition(7);
    auto S = GetParam().Make();
    EXPECT_EQ(S->CopyFrom(&Source, 0), 10);
    Source.SetPosition(2);
    EXPECT_EQ(S->CopyFrom(&Source, 3), 3);
    S->SetPosition(0);
    char Buf[13];
    S->ReadBuffer(Buf, 13);
    EXPECT_EQ(String(Buf, 13), "0123456789234");
    Source.SetPosition(8);
    EXPECT_THROW(S->CopyFrom(&Source, 5), EReadError);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, WritableStreams,
    ::testing::Values(StreamCase{"Memory", [] { return std::make_unique<TMemoryStream>(); }},
                      StreamCase{"String", [] { return std::make_unique<TStringStream>(); }},
                      StreamCase{"File",
                                 [] {
                                     return std::make_unique<TFileStream>(TempFile("rw.bin"),
                                                                          fmCreate);
                                 }}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST(MemoryStream, WritingBeyondTheEndFillsTheGapWithZeros) {
    TMemoryStream S;
    S.Seek(4, soFromBeginning);
    S.WriteBuffer("x", 1);
    ASSERT_EQ(S.Size(), 5);
    EXPECT_EQ(String(reinterpret_cast<const char*>(S.Memory()), 5), String("\0\0\0\0x", 5));
    S.Clear();
    EXPECT_EQ(S.Size(), 0);
    EXPECT_EQ(S.Position(), 0);
}

TEST(MemoryStream, SaveAndLoadFile) {
    String Path = TempFile("mem.bin");
    TMemoryStream S;
    S.WriteBuffer("abc\0def", 7);
    S.SaveToFile(Path);
    EXPECT_EQ(FileText(Path), String("abc\0def", 7));
    TMemoryStream Loaded;
    Loaded.LoadFromFile(Path);
    EXPECT_EQ(Loaded.Size(), 7);
    EXPECT_EQ(std::memcmp(Loaded.Memory(), "abc\0def", 7), 0);
}

TEST(MemoryStream, SaveToFileReplacesTheOldFileAndKeepsItsMode) {
    String Path = TempFile("replace.txt");
    PutFile(Path, "old content that is longer");
    ::chmod(Path.c_str(), 0640);
    TMemoryStream S;
    S.WriteBuffer("new", 3);
    S.SaveToFile(Path);
    EXPECT_EQ(FileText(Path), "new");
    struct stat St;
    ASSERT_EQ(::stat(Path.c_str(), &St), 0);
    EXPECT_EQ(St.st_mode & 0777, 0640u);
    // No temporary file is left beside it.
    Integer Files = 0;
    for (const auto& Entry : fs::directory_iterator(TempDir()))
        Files += Entry.path().filename().string().starts_with("replace.txt") ? 1 : 0;
    EXPECT_EQ(Files, 1);
}

TEST(MemoryStream, FailedSaveLeavesTheOldFile) {
    String Dir = (TempDir() / "readonly").string();
    fs::create_directories(Dir);
    String Path = Dir + "/keep.txt";
    PutFile(Path, "precious");
    ::chmod(Dir.c_str(), 0555);
    TMemoryStream S;
    S.WriteBuffer("new", 3);
    bool Raised = false;
    try {
        S.SaveToFile(Path);
    } catch (const EFCreateError& E) {
        Raised = true;
        EXPECT_EQ(E.Message().rfind("Cannot create file " + Path + ". ", 0), 0u) << E.Message();
    }
    ::chmod(Dir.c_str(), 0755);
    if (::geteuid() != 0) { // root may write anywhere
        EXPECT_TRUE(Raised);
    }
    if (Raised) {
        EXPECT_EQ(FileText(Path), "precious");
    }
}

TEST(StringStream, DataStringAndReadString) {
    TStringStream S("abcdef");
    EXPECT_EQ(S.ReadString(2), "ab");
    S.WriteString("XY");
    EXPECT_EQ(S.DataString(), "abXYef");
    EXPECT_EQ(S.ReadString(10), "ef");
    EXPECT_EQ(S.ReadString(1), "");
}

TEST(FileStream, OpenErrorsNameTheFileAndTheReason) {
    String Missing = (TempDir() / "missing" / "x.txt").string();
    struct Case {
        Word Mode;
        String Prefix;
    } Cases[] = {{fmOpenRead, "Cannot open file "}, {fmCreate, "Cannot create file "}};
    for (const Case& C : Cases) {
        try {
            TFileStream S(Missing, C.Mode);
            ADD_FAILURE() << "opened " << Missing;
        } catch (const EFileStreamError& E) {
            EXPECT_EQ(E.Message(), C.Prefix + Missing + ". No such file or directory");
        }
    }
    EXPECT_THROW(TFileStream(Missing, fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(Missing, fmCreate), EFCreateError);
}

TEST(FileStream, CreateEmptiesAnExistingFile) {
    String Path = TempFile("create.txt");
    PutFile(Path, "old");
    {
        TFileStream S(Path, fmCreate);
        EXPECT_EQ(S.Size(), 0);
        S.WriteBuffer("new!", 4);
    }
    EXPECT_EQ(FileText(Path), "new!");
}

TEST(FileStream, OpenWriteKeepsContentAndWritesInPlace) {
    String Path = TempFile("inplace.txt");
    PutFile(Path, "abcdef");
    {
        TFileStream S(Path, fmOpenWrite);
        S.Seek(2, soFromBeginning);
        S.WriteBuffer("XY", 2);
        char C;
        EXPECT_EQ(S.Read(&C, 1), 0); // write-only
    }
    EXPECT_EQ(FileText(Path), "abXYef");
}

// Sharing: a second opener is refused when the first one's mode denies its access.
TEST(FileStream, SharingModes) {
    struct Case {
        Word First;
        Word Second;
        bool Allowed;
    } Cases[] = {
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite, false},
        {fmOpenRead | fmShareDenyWrite, fmCreate, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenReadWrite | fmShareExclusive, fmOpenRead, false},
        {fmOpenRead | fmShareDenyRead, fmOpenRead, false},
        {fmOpenRead | fmShareDenyNone, fmOpenWrite | fmShareDenyNone, true},
        {fmOpenWrite | fmShareDenyNone, fmOpenWrite | fmShareDenyNone, true},
    };
    String Path = TempFile("shared.txt");
    PutFile(Path, "content");
    for (const Case& C : Cases) {
        TFileStream First(Path, C.First);
        bool Allowed = true;
        try {
            TFileStream Second(Path, C.Second);
        } catch (const EFileStreamError&) {
            Allowed = false;
        }
        EXPECT_EQ(Allowed, C.Allowed) << std::hex << C.First << " then " << C.Second;
    }
    EXPECT_EQ(FileText(Path), "content") << "a refused fmCreate must not empty the file";
}

TEST(FileStream, ClosingReleasesTheLock) {
    String Path = TempFile("released.txt");
    PutFile(Path, "x");
    { TFileStream First(Path, fmOpenRead | fmShareExclusive); }
    EXPECT_NO_THROW(TFileStream(Path, fmOpenReadWrite | fmShareExclusive));
}

TEST(ResourceStream, ReadsARegisteredResourceAndRefusesWriting) {
    static const Byte Data[] = {'T', 'P', 'F', '0', 1, 2};
    TComponentResourceRegistrar Registrar("TStreamTestForm", Data, sizeof Data);
    TResourceStream S("tstreamtestform");
    EXPECT_EQ(S.Size(), 6);
    Byte Buf[6];
    S.ReadBuffer(Buf, 6);
    EXPECT_EQ(std::memcmp(Buf, Data, 6), 0);
    try {
        S.WriteBuffer(Buf, 1);
        FAIL() << "wrote to a resource";
    } catch (const EStreamError& E) {
        EXPECT_EQ(E.Message(), "Can't write to a read-only resource stream");
    }
}

TEST(ResourceStream, UnknownResource) {
    try {
        TResourceStream S("TNoSuchForm");
        FAIL() << "found a resource that does not exist";
    } catch (const EResNotFound& E) {
        EXPECT_EQ(E.Message(), "Resource TNoSuchForm not found");
    }
}

} // namespace
} // namespace orlo
