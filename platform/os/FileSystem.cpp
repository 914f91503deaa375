#include "platform/os/FileSystem.h"

#include "platform/os/FilePaths.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlo {

namespace {

constexpr Integer SpecialAttributes = faHidden | faSysFile | faVolumeID | faDirectory;
constexpr mode_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool StatFile(const String& FileName, struct stat& Info) {
    return !FileName.empty() && stat(NativePath(FileName).c_str(), &Info) == 0;
}

bool IsHiddenName(const String& Name) {
    return Name.size() > 1 && Name[0] == '.' && Name != "..";
}

Integer AttributesOf(const String& Name, const struct stat& Info) {
    Integer Attr = 0;
    if (S_ISDIR(Info.st_mode))
        Attr |= faDirectory;
    else if (S_ISREG(Info.st_mode))
        Attr |= faArchive;
    else
        Attr |= faSysFile;
    if ((Info.st_mode & WriteBits) == 0)
        Attr |= faReadOnly;
    if (IsHiddenName(Name))
        Attr |= faHidden;
    return Attr;
}

TDateTime LocalDateTime(time_t Time) {
    tm Local{};
    localtime_r(&Time, &Local);
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday) +
           EncodeTime(Local.tm_hour, Local.tm_min, std::min(Local.tm_sec, 59), 0);
}

// Skips the rest of one UTF-8 character whose first byte is at I.
size_t NextCharacter(const String& S, size_t I) {
    ++I;
    while (I < S.size() && (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80)
        ++I;
    return I;
}

// "*" matches any run of characters, "?" one character; "*.*" matches all.
bool MatchesMask(const String& Name, const String& Mask) {
    if (Mask == "*.*")
        return true;
    size_t N = 0, M = 0, StarMask = String::npos, StarName = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && Mask[M] == '*') {
            StarMask = M++;
            StarName = N;
        } else if (M < Mask.size() && Mask[M] == '?') {
            N = NextCharacter(Name, N);
            ++M;
        } else if (M < Mask.size() && Mask[M] == Name[N]) {
            ++N;
            ++M;
        } else if (StarMask != String::npos) {
            M = StarMask + 1;
            N = StarName = NextCharacter(Name, StarName);
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*')
        ++M;
    return M == Mask.size();
}

bool HasWildcards(const String& Mask) {
    return Mask.find_first_of("*?") != String::npos;
}

std::vector<String> DirectoryNames(const String& Dir) {
    std::vector<String> Names;
    DIR* Handle = opendir(Dir.c_str());
    if (!Handle)
        return Names;
    while (const dirent* Entry = readdir(Handle))
        Names.emplace_back(Entry->d_name);
    closedir(Handle);
    std::sort(Names.begin(), Names.end());
    return Names;
}

// Every entry of the search, in name order.
std::vector<TSearchRec> Search(const String& Path, Integer Attr) {
    const String Native = NativePath(Path);
    const String Mask = ExtractFileName(Native);
    String Dir = ExtractFilePath(Native);
    if (Dir.empty())
        Dir = "./";
    std::vector<String> Candidates;
    if (HasWildcards(Mask))
        Candidates = DirectoryNames(Dir);
    else if (!Mask.empty())
        Candidates.push_back(Mask);
    std::vector<TSearchRec> Found;
    for (const String& Name : Candidates) {
        struct stat Info;
        if (!MatchesMask(Name, Mask) || stat((Dir + Name).c_str(), &Info) != 0)
            continue;
        TSearchRec Entry;
        Entry.Name = Name;
        Entry.Attr = AttributesOf(Name, Info);
        if ((Entry.Attr & ~Attr & SpecialAttributes) != 0)
            continue;
        Entry.Size = S_ISREG(Info.st_mode) ? static_cast<Int64>(Info.st_size) : 0;
        Entry.Time = LocalDateTime(Info.st_mtime);
        Found.push_back(std::move(Entry));
    }
    return Found;
}

// A failed system call inside a save, carrying its error number.
struct TSystemError {
    int Error;
};

[[noreturn]] void FailWith(int Error) {
    throw TSystemError{Error};
}

constexpr int MaxLinkHops = 40;
constexpr size_t SiblingSuffixLength = 8; // hexadecimal digits after "."

// Where a save of a file name goes: the file a chain of symbolic links ends in,
// and whether it is written in place rather than replaced.
struct TSaveTarget {
    String Name;
    bool InPlace = false;
};

String LinkText(const String& Name) {
    std::vector<char> Buffer(4096);
    const ssize_t Length = readlink(Name.c_str(), Buffer.data(), Buffer.size());
    if (Length < 0 || static_cast<size_t>(Length) >= Buffer.size())
        FailWith(Length < 0 ? errno : ENAMETOOLONG);
    return String(Buffer.data(), static_cast<size_t>(Length));
}

// The folder of Name with every link in it resolved; empty when it is missing.
String RealFolder(const String& Name) {
    const String Dir = ExtractFilePath(Name);
    char* Real = realpath(Dir.empty() ? "." : Dir.c_str(), nullptr);
    if (!Real)
        return String();
    String Result = Real;
    free(Real);
    return Result == "/" ? Result : Result + "/";
}

TSaveTarget SaveTargetOf(const String& FileName) {
    String Name = NativePath(FileName);
    for (int Hop = 0; Hop < MaxLinkHops; ++Hop) {
        const String Folder = RealFolder(Name);
        if (Folder.empty())
            return {Name, false}; // the save reports the missing folder
        const String Full = Folder + ExtractFileName(Name);
        // A process's open file (/dev/stdout leads here) may be a pipe, a
        // terminal or a file the shell opened for appending: write into it.
        if (Full.rfind("/proc/", 0) == 0)
            return {Full, true};
        struct stat Info;
        if (lstat(Full.c_str(), &Info) != 0 || S_ISREG(Info.st_mode) || S_ISDIR(Info.st_mode))
            return {Full, false};
        if (!S_ISLNK(Info.st_mode))
            return {Full, true}; // a device, pipe or socket
        const String Link = LinkText(Full);
        Name = Link[0] == '/' ? Link : Folder + Link;
    }
    FailWith(ELOOP);
}

void WriteAll(int Handle, const char* Data, size_t Size) {
    while (Size > 0) {
        const ssize_t Written = write(Handle, Data, Size);
        if (Written < 0 && errno == EINTR)
            continue;
        if (Written <= 0)
            FailWith(Written < 0 ? errno : EIO);
        Data += Written;
        Size -= static_cast<size_t>(Written);
    }
}

void WriteInPlace(const String& Name, const char* Data, size_t Size) {
    struct stat Info;
    const bool Regular = stat(Name.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
    const int Handle = open(Name.c_str(), O_WRONLY | O_CLOEXEC | (Regular ? O_APPEND : 0));
    if (Handle < 0)
        FailWith(errno);
    try {
        WriteAll(Handle, Data, Size);
    } catch (...) {
        close(Handle);
        throw;
    }
    if (close(Handle) != 0)
        FailWith(errno);
}

bool IsSiblingName(const String& Name, const String& Prefix) {
    return Name.size() == Prefix.size() + SiblingSuffixLength && Name.rfind(Prefix, 0) == 0 &&
           Name.find_first_not_of("0123456789ABCDEF", Prefix.size()) == String::npos;
}

bool SameFile(const struct stat& A, const struct stat& B) {
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}

// A sibling's writer holds a lock on it until it is renamed or removed: one
// that can be locked belongs to a writer that died.
void RemoveStaleSibling(const String& Name) {
    const int Handle = open(Name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (Handle < 0)
        return;
    struct stat Locked, Named;
    if (flock(Handle, LOCK_EX | LOCK_NB) == 0 && fstat(Handle, &Locked) == 0 &&
        lstat(Name.c_str(), &Named) == 0 && SameFile(Locked, Named))
        unlink(Name.c_str());
    close(Handle);
}

// The permission bits a new file gets: 0666 without the process's umask.
mode_t NewFileMode() {
    const mode_t Mask = umask(0);
    umask(Mask);
    return 0666 & ~Mask;
}

// A new file beside Target under a name of its own, private to the user and
// locked while it lives, removed unless committed.
class TSiblingFile {
public:
    explicit TSiblingFile(const String& Target) : FTarget(Target) {
        const String Dir = ExtractFilePath(FTarget);
        const String Prefix = "." + ExtractFileName(FTarget) + ".";
        for (const String& Name : DirectoryNames(Dir.empty() ? "./" : Dir))
            if (IsSiblingName(Name, Prefix))
                RemoveStaleSibling(Dir + Name);
        std::random_device Random;
        for (int Attempt = 0; Attempt < 100 && FHandle < 0; ++Attempt) {
            FName = Dir + Prefix + IntToHex(Int64(Random()), SiblingSuffixLength);
            FHandle = open(FName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (FHandle < 0 && errno != EEXIST)
                FailWith(errno);
            if (FHandle >= 0 && !LockOwnName())
                FHandle = -1;
        }
        if (FHandle < 0)
            FailWith(EEXIST);
    }
    ~TSiblingFile() {
        if (FHandle >= 0 && !FCommitted)
            unlink(FName.c_str());
        if (FHandle >= 0)
            close(FHandle);
    }
    TSiblingFile(const TSiblingFile&) = delete;
    TSiblingFile& operator=(const TSiblingFile&) = delete;

    void Write(const char* Data, size_t Size) { WriteAll(FHandle, Data, Size); }
    void SetMode(mode_t Mode) {
        if (fchmod(FHandle, Mode) != 0)
            FailWith(errno);
    }
    // Makes the written content durable and puts it in the target's place:
    // over an existing target, or only where none exists.
    void Commit(bool Replace) {
        if (fsync(FHandle) != 0)
            FailWith(errno);
        const int Result =
            Replace ? rename(FName.c_str(), FTarget.c_str()) : link(FName.c_str(), FTarget.c_str());
        if (Result != 0)
            FailWith(errno);
        if (Replace)
            FCommitted = true;
        SyncDirectory();
    }

private:
    // Locks the new file; false (and the file closed) when a save that took it
    // for a dead writer's removed it before the lock was held.
    bool LockOwnName() {
        while (flock(FHandle, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat Own, Named;
        if (fstat(FHandle, &Own) == 0 && lstat(FName.c_str(), &Named) == 0 && SameFile(Own, Named))
            return true;
        close(FHandle);
        return false;
    }
    void SyncDirectory() {
        String Dir = ExtractFilePath(FTarget);
        const int Handle =
            open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (Handle >= 0) {
            fsync(Handle);
            close(Handle);
        }
    }

    String FTarget;
    String FName;
    int FHandle = -1;
    bool FCommitted = false;
};

} // namespace

bool RegularFileExists(const String& FileName) {
    struct stat Info;
    return StatFile(FileName, Info) && S_ISREG(Info.st_mode);
}

Integer FileGetAttr(const String& FileName) {
    struct stat Info;
    if (!StatFile(FileName, Info))
        return -1;
    return AttributesOf(ExtractFileName(NativePath(FileName)), Info);
}

bool FileSetAttr(const String& FileName, Integer Attr) {
    struct stat Info;
    if (!StatFile(FileName, Info))
        return false;
    mode_t Mode = Info.st_mode & 07777;
    if (Attr & faReadOnly)
        Mode &= ~WriteBits;
    else if ((Mode & WriteBits) == 0)
        Mode |= S_IWUSR;
    return Mode == (Info.st_mode & 07777) || chmod(NativePath(FileName).c_str(), Mode) == 0;
}

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
    std::vector<TSearchRec> Found = Search(Path, Attr);
    if (Found.empty()) {
        F = TSearchRec();
        return ENOENT;
    }
    std::reverse(Found.begin(), Found.end());
    F.Pending = std::move(Found);
    return FindNext(F);
}

Integer FindNext(TSearchRec& F) {
    if (F.Pending.empty())
        return ENOENT;
    TSearchRec Next = std::move(F.Pending.back());
    F.Pending.pop_back();
    F.Name = std::move(Next.Name);
    F.Attr = Next.Attr;
    F.Size = Next.Size;
    F.Time = Next.Time;
    return 0;
}

void FindClose(TSearchRec& F) {
    F.Pending.clear();
}

bool FileExists(const String& FileName) {
    struct stat Info;
    return StatFile(FileName, Info) && !S_ISDIR(Info.st_mode);
}

bool DirectoryExists(const String& Name) {
    struct stat Info;
    return StatFile(Name, Info) && S_ISDIR(Info.st_mode);
}

bool CopyFile(const String& Source, const String& Target, bool FailIfExists) {
    struct stat Info;
    if (!StatFile(Source, Info) || S_ISDIR(Info.st_mode) || (FailIfExists && FileExists(Target)))
        return false;
    try {
        const String Content = ReadFileContent(Source);
        TSiblingFile Copy(NativePath(Target));
        Copy.Write(Content.data(), Content.size());
        Copy.SetMode(Info.st_mode & 07777);
        Copy.Commit(!FailIfExists);
        return true;
    } catch (const Exception&) {
        return false;
    } catch (const TSystemError&) {
        return false;
    }
}

bool DeleteFile(const String& FileName) {
    return FileExists(FileName) && unlink(NativePath(FileName).c_str()) == 0;
}

bool CreateDir(const String& Dir) {
    return !Dir.empty() && mkdir(NativePath(Dir).c_str(), 0777) == 0;
}

bool ForceDirectories(const String& Dir) {
    const String Native = NativePath(Dir);
    if (Native.empty() || DirectoryExists(Native))
        return !Native.empty();
    String Parent = Native;
    while (HasTrailingPathDelimiter(Parent) && Parent.size() > 1)
        Parent.pop_back();
    Parent = ExtractFileDir(Parent);
    if (!Parent.empty() && Parent != Native && !ForceDirectories(Parent))
        return false;
    return CreateDir(Native) || DirectoryExists(Native);
}

bool RemoveDir(const String& Dir) {
    return !Dir.empty() && rmdir(NativePath(Dir).c_str()) == 0;
}

String GetCurrentDir() {
    std::vector<char> Buffer(4096);
    while (!getcwd(Buffer.data(), Buffer.size())) {
        if (errno != ERANGE)
            return String();
        Buffer.resize(Buffer.size() * 2);
    }
    return Buffer.data();
}

String ReadFileContent(const String& FileName) {
    const int Handle = open(NativePath(FileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (Handle < 0)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, strerror(errno)));
    String Content;
    char Buffer[65536];
    for (;;) {
        const ssize_t Count = read(Handle, Buffer, sizeof(Buffer));
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count < 0) {
            const int Error = errno;
            close(Handle);
            throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, strerror(Error)));
        }
        if (Count == 0)
            break;
        Content.append(Buffer, static_cast<size_t>(Count));
    }
    close(Handle);
    return Content;
}

int TryReplaceFileContent(const String& FileName, const char* Data, size_t Size) {
    try {
        const TSaveTarget Target = SaveTargetOf(FileName);
        if (Target.InPlace) {
            WriteInPlace(Target.Name, Data, Size);
            return 0;
        }
        TSiblingFile File(Target.Name);
        File.Write(Data, Size);
        struct stat Info;
        File.SetMode(stat(Target.Name.c_str(), &Info) == 0 ? Info.st_mode & 07777 : NewFileMode());
        File.Commit(true);
        return 0;
    } catch (const TSystemError& E) {
        return E.Error;
    }
}

void ReplaceFileContent(const String& FileName, const String& Content) {
    if (const int Error = TryReplaceFileContent(FileName, Content.data(), Content.size()))
        throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName, strerror(Error)));
}

} // namespace orlo
