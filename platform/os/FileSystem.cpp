#include "platform/os/FileSystem.h"

#include "platform/os/FilePaths.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
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

// A new file beside Target under a name of its own, removed unless committed.
class TSiblingFile {
public:
    explicit TSiblingFile(const String& Target) : FTarget(NativePath(Target)) {
        std::random_device Random;
        const String Dir = ExtractFilePath(FTarget);
        for (int Attempt = 0; Attempt < 100 && FHandle < 0; ++Attempt) {
            FName = Dir + "." + ExtractFileName(FTarget) + "." + IntToHex(Int64(Random()), 8);
            FHandle = open(FName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (FHandle < 0 && errno != EEXIST)
                break;
        }
        if (FHandle < 0)
            Fail(errno);
    }
    ~TSiblingFile() {
        if (FHandle >= 0)
            close(FHandle);
        if (!FCommitted)
            unlink(FName.c_str());
    }
    TSiblingFile(const TSiblingFile&) = delete;
    TSiblingFile& operator=(const TSiblingFile&) = delete;

    void Write(const char* Data, size_t Size) {
        while (Size > 0) {
            const ssize_t Written = write(FHandle, Data, Size);
            if (Written < 0 && errno == EINTR)
                continue;
            if (Written <= 0)
                Fail(errno);
            Data += Written;
            Size -= static_cast<size_t>(Written);
        }
    }
    void SetMode(mode_t Mode) {
        if (fchmod(FHandle, Mode) != 0)
            Fail(errno);
    }
    // Makes the written content durable and puts it in the target's place:
    // over an existing target, or only where none exists.
    void Commit(bool Replace) {
        if (fsync(FHandle) != 0)
            Fail(errno);
        const int Result =
            Replace ? rename(FName.c_str(), FTarget.c_str()) : link(FName.c_str(), FTarget.c_str());
        if (Result != 0)
            Fail(errno);
        if (Replace)
            FCommitted = true;
        SyncDirectory();
    }

private:
    void SyncDirectory() {
        String Dir = ExtractFilePath(FTarget);
        const int Handle =
            open(Dir.empty() ? "." : Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (Handle >= 0) {
            fsync(Handle);
            close(Handle);
        }
    }
    [[noreturn]] void Fail(int Error) {
        throw EFCreateError(Format("Cannot create file \"%s\". %s", FTarget, strerror(Error)));
    }

    String FTarget;
    String FName;
    int FHandle = -1;
    bool FCommitted = false;
};

} // namespace

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
        TSiblingFile Copy(Target);
        Copy.Write(Content.data(), Content.size());
        Copy.SetMode(Info.st_mode & 07777);
        Copy.Commit(!FailIfExists);
        return true;
    } catch (const Exception&) {
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

void ReplaceFileContent(const String& FileName, const String& Content) {
    TSiblingFile File(FileName);
    File.Write(Content.data(), Content.size());
    struct stat Info;
    if (StatFile(FileName, Info))
        File.SetMode(Info.st_mode & 07777);
    File.Commit(true);
}

} // namespace orlo
