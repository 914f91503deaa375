#include "tools/FileTools.h"

#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /tools/FileTools.cpp 1.0 09.12.26 12:00 orlo $");

constexpr Integer FileSearchAttr = faReadOnly | faHidden | faSysFile | faArchive; // 39
constexpr const char* LineEnd = "\r\n";
constexpr const char* TimeStampFormat = R"(yyyy"-"mm"-"dd hh":"nn":"ss)";
constexpr Cardinal ChainMixer = 0x40009001;
constexpr std::string_view InvalidNameCharacters = ":*?\"<>|\\/";

// Creates the missing levels of Dir readable and writable by the user alone:
// a log in a shared folder such as /tmp is nobody else's to read or fill.
bool CreatePrivateDirectory(const String& Dir) {
    if (Dir.empty() || DirectoryExists(Dir))
        return !Dir.empty();
    const String Parent = ExtractFileDir(Dir);
    if (Parent != Dir && !Parent.empty())
        CreatePrivateDirectory(Parent);
    return mkdir(Dir.c_str(), 0700) == 0 || DirectoryExists(Dir);
}

bool IsSymbolicLink(const String& Name) {
    struct stat Info;
    return lstat(Name.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode);
}

bool IsOwnOrSystemOwned(const struct stat& Info) {
    return Info.st_uid == geteuid() || Info.st_uid == 0;
}

// Why a log may not go into Folder, or nullptr: another user (root excepted)
// owning it, or a link to it, could put links or files into it at any time.
const char* UnsafeFolderReason(const String& Folder) {
    struct stat Link, Target;
    if (lstat(Folder.c_str(), &Link) != 0 || stat(Folder.c_str(), &Target) != 0)
        return nullptr; // opening fails as for any missing folder
    if (!IsOwnOrSystemOwned(Link) || !IsOwnOrSystemOwned(Target))
        return "its folder belongs to another user";
    return nullptr;
}

bool StartsWithTwoDelimiters(const String& S) {
    return S.size() >= 2 && IsPathDelimiter(S[0]) && IsPathDelimiter(S[1]);
}

// 1-based positions of the separators in S, the last one first.
std::vector<Integer> DelimitersFromRight(const String& S) {
    std::vector<Integer> Positions;
    for (Integer I = Length(S); I >= 1; --I)
        if (IsPathDelimiter(S[I - 1]))
            Positions.push_back(I);
    return Positions;
}

// S with the characters strictly between the 1-based positions Left and Right
// replaced by "...".
String ElideBetween(const String& S, Integer Left, Integer Right) {
    return S.substr(0, Left) + "..." + S.substr(Right > 0 ? Right - 1 : 0);
}

String ValidFileName(const String& Name) {
    String Result = Name;
    for (char& C : Result)
        if (static_cast<unsigned char>(C) < 0x20 || InvalidNameCharacters.find(C) != String::npos)
            C = '_';
    return Result;
}

const std::array<Cardinal, 256>& Crc32Table() {
    static const std::array<Cardinal, 256> Table = [] {
        std::array<Cardinal, 256> Result{};
        for (Cardinal N = 0; N < 256; ++N) {
            Cardinal C = N;
            for (int K = 0; K < 8; ++K)
                C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
            Result[N] = C;
        }
        return Result;
    }();
    return Table;
}

// Eight digits of base 17: what the "#" line of a checksummed log shows.
String Base17Text(Cardinal Value) {
    static const char Digits[] = "0123456789ABCDEFG";
    String Text(8, '0');
    for (int I = 7; I >= 0 && Value > 0; --I) {
        Text[static_cast<size_t>(I)] = Digits[Value % 17];
        Value /= 17;
    }
    return Text;
}

String NowText() {
    return FormatDateTime(TimeStampFormat, Now());
}

} // namespace

// --- Path strings ----------------------------------------------------------

String AppendBackslash(const String& Path) {
    const String S = Trim(Path);
    if (S.empty() || HasTrailingPathDelimiter(S))
        return S;
    return S + PathDelim;
}

String RemoveBackslash(const String& Path) {
    String S = Trim(Path);
    if (S.size() > 1 && HasTrailingPathDelimiter(S))
        S.pop_back();
    return S;
}

bool IsDirNameComplete(const String& Path) {
    const String S = Trim(Path);
    if (!S.empty() && S[0] == '/')
        return true;
    return S.size() > 1 && (StartsWithTwoDelimiters(S) || S[1] == ':');
}

String ExpandFileNameByDir(const String& Name, const String& Dir) {
    const String S = Trim(Name);
    if (IsDirNameComplete(S))
        return S;
    if (!S.empty() && IsPathDelimiter(S[0]))
        return RemoveBackslash(ExtractFileDrive(Trim(Dir))) + S;
    return AppendBackslash(Dir) + S;
}

String GetApplicationDir() {
    return ExtractFileDir(ApplicationFileName());
}

String ExpandApplicationDir(const String& Name) {
    return ExpandFileNameByDir(Name, GetApplicationDir());
}

String GetWindowsDir() {
    return WindowsDirectory();
}

String ExpandFileName(const String& FileName) {
    if (FileName.empty())
        return String();
    String Prefix = ExtractFileDrive(FileName);
    String Rest = FileName.substr(Prefix.size());
    if (Prefix.empty() && !IsPathDelimiter(Rest[0]))
        Rest = GetCurrentDir() + PathDelim + Rest;
    std::vector<String> Parts;
    String Part;
    for (char C : Rest + PathDelim) {
        if (!IsPathDelimiter(C)) {
            Part += C;
            continue;
        }
        if (Part == "..") {
            if (!Parts.empty())
                Parts.pop_back();
        } else if (!Part.empty() && Part != ".") {
            Parts.push_back(Part);
        }
        Part.clear();
    }
    String Result = Prefix;
    for (const String& Name : Parts)
        Result += PathDelim + Name;
    if (Parts.empty() || HasTrailingPathDelimiter(FileName))
        Result += PathDelim;
    return Result;
}

String MakeUniqueFileName(const String& FileName) {
    if (FileGetAttr(FileName) == -1)
        return FileName;
    const String Ext = ExtractFileExt(FileName);
    const String Name = ExtractFileName(FileName);
    const String Base =
        ExtractFilePath(FileName) + ValidFileName(Name.substr(0, Name.size() - Ext.size()));
    for (Integer N = 2;; ++N) {
        const String Candidate = Base + "_" + IntToStr(N) + Ext;
        if (FileGetAttr(Candidate) == -1)
            return Candidate;
    }
}

// --- The file system -------------------------------------------------------

bool FileExist(const String& FileName) {
    TSearchRec Found;
    const bool Result = FindFirst(FileName, FileSearchAttr, Found) == 0;
    FindClose(Found);
    return Result;
}

bool DirExist(const String& Dir) {
    TSearchRec Found;
    const bool Result = FindFirst(AppendBackslash(Dir) + "*.*", faAnyFile, Found) == 0;
    FindClose(Found);
    return Result;
}

bool CreateDirRecurse(const String& Dir) {
    String S = RemoveBackslash(ExpandFileName(Dir));
    if (DirExist(S))
        return true;
    String Done = ExtractFileDrive(S + "/Dummy.ini");
    if (S.compare(0, Done.size(), Done) != 0)
        return false;
    S.erase(0, Done.size());
    if (!S.empty() && IsPathDelimiter(S[0])) {
        Done += S[0]; // the root
        S.erase(0, 1);
    }
    String Part;
    for (char C : S + PathDelim) {
        if (!IsPathDelimiter(C)) {
            Part += C;
            continue;
        }
        if (!Part.empty()) {
            Done = AppendBackslash(Done) + Part;
            CreateDir(Done); // the final test decides
        }
        Part.clear();
    }
    return DirExist(Done);
}

String ShortPath(const String& Path, Integer MaxLen) {
    if (MaxLen < 8)
        throw Exception("ShortPath failed. MaxLen must be larger than 7");
    String S = Trim(Path);
    if (Length(S) <= MaxLen)
        return S;
    const Integer L = Length(S);
    String NetworkPrefix;
    if (StartsWithTwoDelimiters(S)) {
        NetworkPrefix = S.substr(0, 1);
        S.erase(0, 1);
    }
    const std::vector<Integer> Delimiters = DelimitersFromRight(S);
    const Integer P2 = Delimiters.size() >= 2 ? Delimiters[1] : 0;
    Integer PLeft = 0;
    for (size_t K = 2; K < Delimiters.size(); ++K) {
        const Integer Pk = Delimiters[K];
        if (L - (P2 - Pk - 1) + 3 <= MaxLen)
            return NetworkPrefix + ElideBetween(S, Pk, P2);
        PLeft = Pk;
    }
    const Integer P1 = Delimiters.empty() ? 0 : Delimiters[0];
    String Result = NetworkPrefix + ElideBetween(S, PLeft, P1);
    if (Length(Result) > MaxLen)
        Result = Copy(Result, 1, MaxLen - 3) + "...";
    return Result;
}

// --- TLogFile --------------------------------------------------------------

ORLO_PUBLISHED(TLogFile, "FileTools") {
    P.Property("CRC", &TLogFile::CRC, &TLogFile::SetCRC).Default(0);
    P.Property("Directory", &TLogFile::Directory, &TLogFile::SetDirectory).Default(fdApplication);
    P.Property("Enabled", &TLogFile::Enabled, &TLogFile::SetEnabled).Default(1);
    P.Property("FileName", &TLogFile::FileName, &TLogFile::SetFileName);
    P.Property("IgnoreErrors", &TLogFile::IgnoreErrors, &TLogFile::SetIgnoreErrors).Default(1);
    P.Property("Mode", &TLogFile::Mode, &TLogFile::SetMode).Default(fmOpenFile);
    P.Property("TimeStamp", &TLogFile::TimeStamp, &TLogFile::SetTimeStamp).Default(0);
}

TLogFile::TLogFile(TComponent* AOwner) : TExComponent(AOwner) {}

TLogFile::~TLogFile() {
    CloseFile();
}

void TLogFile::SetDirectory(TLogFileDir Value) {
    if (Value != FDirectory)
        Retarget();
    FDirectory = Value;
}

void TLogFile::SetFileName(const String& Value) {
    if (Value != FFileName)
        Retarget();
    FFileName = Value;
}

void TLogFile::SetMode(TLogFileMode Value) {
    if (Value != FMode)
        Retarget();
    FMode = Value;
}

void TLogFile::Retarget() {
    CloseFile();
    FRefusalReported = false;
}

String TLogFile::ChecksumLine(Cardinal& Chain, const String& Text) {
    Cardinal Seed = Chain;
    for (size_t I = 0; I < Text.size(); ++I)
        Seed += static_cast<Cardinal>(static_cast<unsigned char>(Text[I])) *
                static_cast<Cardinal>(I + 1);
    const auto& Table = Crc32Table();
    Cardinal Crc = Seed;
    for (unsigned char C : Text)
        Crc = Table[(Crc ^ C) & 0xFF] ^ (Crc >> 8);
    Crc = ~Crc;
    Chain = ~(Crc ^ Seed ^ ChainMixer);
    return IntToHex(Int64(Crc), 8) + " " + Text;
}

void TLogFile::CreateFile() {
    if (FEnabled && FHandle < 0)
        Open();
}

void TLogFile::CloseFile() {
    if (FHandle >= 0)
        close(FHandle);
    FHandle = -1;
    FOpenFileName.clear();
}

bool TLogFile::Open() {
    if (FHandle >= 0)
        return true;
    if (Trim(FFileName).empty())
        return false;
    try {
        OpenFile();
        return true;
    } catch (const ELogFileRefused&) {
        CloseFile();
        if (FRefusalReported && FIgnoreErrors)
            return false;
        FRefusalReported = true;
        throw;
    } catch (const Exception&) {
        CloseFile();
        if (!FIgnoreErrors)
            throw EInOutError("Error creating log file");
        return false;
    }
}

String TLogFile::LogFolder() const {
    switch (FDirectory) {
    case fdApplication:
        return GetApplicationDir();
    case fdTemporary:
        return TempDirectory();
    case fdWindows:
        return WindowsDirectory();
    case fdSystem:
        return SystemDirectory();
    }
    return String();
}

void TLogFile::OpenFile() {
    String Path = ExpandFileNameByDir(FFileName, LogFolder());
    if (FMode == fmCreateUniqueFile)
        Path = MakeUniqueFileName(Path);
    const String Folder = NativePath(ExtractFileDir(Path));
    CreatePrivateDirectory(Folder);
    if (const char* Reason = UnsafeFolderReason(Folder))
        throw ELogFileRefused(Format("Log file \"%s\" refused: %s", Path, Reason));
    if (IsSymbolicLink(NativePath(Path)))
        throw ELogFileRefused(Format("Log file \"%s\" refused: a symbolic link", Path));
    FileSetAttr(Path, 0);
    OpenHandle(Path);
    FOpenFileName = Path;
    if (FCRC) {
        std::random_device Random;
        std::uniform_int_distribution<Cardinal> Start(0, 0x7FFFFFFE);
        String Text;
        do {
            FChain = Start(Random);
            Text = Base17Text(FChain);
        } while (Text.find('G') != String::npos);
        Append("#" + Text + LineEnd);
    }
}

void TLogFile::OpenHandle(const String& Path) {
    // Never through a link, and never waiting for a reader of a planted pipe.
    const int Flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK |
                      (FMode == fmOpenFile ? O_APPEND : 0) |
                      (FMode == fmCreateUniqueFile ? O_EXCL : 0);
    FHandle = open(NativePath(Path).c_str(), Flags, 0666);
    if (FHandle < 0 && errno == ELOOP)
        throw ELogFileRefused(Format("Log file \"%s\" refused: a symbolic link", Path));
    struct stat Info;
    if (FHandle >= 0 && (fstat(FHandle, &Info) != 0 || !S_ISREG(Info.st_mode)))
        throw ELogFileRefused(Format("Log file \"%s\" refused: not a regular file", Path));
    // Other writers are kept out: the lock is taken before anything is cut.
    if (FHandle < 0 || flock(FHandle, LOCK_EX | LOCK_NB) != 0 ||
        (FMode != fmOpenFile && ftruncate(FHandle, 0) != 0))
        throw EInOutError("Error creating log file");
}

void TLogFile::Append(const String& Line) {
    const char* Data = Line.data();
    size_t Left = Line.size();
    while (Left > 0) {
        const ssize_t Written = write(FHandle, Data, Left);
        if (Written < 0 && errno == EINTR)
            continue;
        if (Written <= 0)
            throw EInOutError("Error writing log file " + FOpenFileName);
        Data += Written;
        Left -= static_cast<size_t>(Written);
    }
}

void TLogFile::WriteValue(const Variant& Value) {
    if (!FEnabled)
        return;
    String Text = Value.IsNull() ? String() : Value.AsString();
    if (FTimeStamp)
        Text = Text.empty() ? NowText() : NowText() + " " + Text;
    Text += LineEnd;
    if (!Open())
        return;
    Append(FCRC ? ChecksumLine(FChain, Text) : Text);
}

void TLogFile::WriteTimeStamp() {
    if (FEnabled && Open())
        Append(NowText() + LineEnd);
}

} // namespace orlo
