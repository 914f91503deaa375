#include "platform/classes/Streams.h"

#include "platform/classes/Resources.h"
#include "platform/classes/TypInfo.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orlo {

namespace {

// Position for Seek on a stream of the given size, clamped at 0.
Int64 SeekTarget(Int64 Offset, Word Origin, Int64 Current, Int64 Size) {
    Int64 Base = Origin == soFromBeginning ? 0 : Origin == soFromCurrent ? Current : Size;
    return std::max<Int64>(0, Base + Offset);
}

// How many of Count bytes a stream of Size holds from Position on.
Integer Available(Int64 Position, Int64 Size, Integer Count) {
    if (Count <= 0 || Position >= Size)
        return 0;
    return static_cast<Integer>(std::min<Int64>(Count, Size - Position));
}

String SystemReason(int Error) {
    return String(std::strerror(Error));
}

} // namespace

ORLO_UNPUBLISHED(TStream, "Classes")
ORLO_UNPUBLISHED(TCustomMemoryStream, "Classes")
ORLO_UNPUBLISHED(TMemoryStream, "Classes")
ORLO_UNPUBLISHED(TFileStream, "Classes")
ORLO_UNPUBLISHED(TStringStream, "Classes")
ORLO_UNPUBLISHED(TResourceStream, "Classes")

// --- TStream -----------------------------------------------------------------

Int64 TStream::Size() {
    Int64 Pos = Seek(0, soFromCurrent);
    Int64 Result = Seek(0, soFromEnd);
    Seek(Pos, soFromBeginning);
    return Result;
}

void TStream::SetSize(Int64) {
    throw EStreamError("Stream size cannot be changed");
}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    constexpr Integer MaxBufSize = 0x10000;
    std::vector<Byte> Buffer(static_cast<size_t>(std::min<Int64>(Count, MaxBufSize)));
    for (Int64 Left = Count; Left > 0;) {
        auto N = static_cast<Integer>(std::min<Int64>(Left, MaxBufSize));
        Source->ReadBuffer(Buffer.data(), N);
        WriteBuffer(Buffer.data(), N);
        Left -= N;
    }
    return Count;
}

// --- TCustomMemoryStream -----------------------------------------------------

void TCustomMemoryStream::SetPointer(const Byte* Memory, Int64 Size) noexcept {
    FMemory = Memory;
    FSize = Size;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
    Integer N = Available(FPosition, FSize, Count);
    if (N > 0) {
        std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(N));
        FPosition += N;
    }
    return N;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, Word Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, FSize);
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) const {
    for (Int64 Done = 0; Done < FSize;) {
        auto N = static_cast<Integer>(std::min<Int64>(FSize - Done, INT_MAX));
        Stream->WriteBuffer(FMemory + Done, N);
        Done += N;
    }
}

void TCustomMemoryStream::SaveToFile(const String& FileName) const {
    // A failure at any point leaves the old file as it was.
    if (const int Error = TryReplaceFileContent(FileName, reinterpret_cast<const char*>(FMemory),
                                                static_cast<size_t>(FSize)))
        throw EFCreateError(Format("Cannot create file %s", FileName) + ". " + SystemReason(Error));
}

// --- TMemoryStream -----------------------------------------------------------

void TMemoryStream::Resize(Int64 NewSize) {
    if (NewSize > static_cast<Int64>(FData.capacity()))
        FData.reserve(static_cast<size_t>(std::max<Int64>(NewSize, 2 * FData.capacity())));
    FData.resize(static_cast<size_t>(NewSize));
    SetPointer(FData.data(), NewSize);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
    if (Count <= 0)
        return 0;
    Int64 End = FPosition + Count;
    if (End > Size())
        Resize(End);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = End;
    return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    Resize(std::max<Int64>(0, NewSize));
    FPosition = std::min(FPosition, NewSize);
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    Int64 Count = Stream->Size();
    SetSize(Count);
    if (Count > 0)
        Stream->ReadBuffer(FData.data(), static_cast<Integer>(Count));
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&File);
}

// --- TFileStream -------------------------------------------------------------

namespace {

bool OpensForWriting(Word Mode) {
    return Mode == fmCreate || (Mode & 3) != fmOpenRead;
}

// The lock a stream holds while it is open: none, LOCK_SH or LOCK_EX.
int HeldLock(Word Mode) {
    Word Share = Mode == fmCreate ? fmShareCompat : (Mode & 0xF0);
    if (Share == fmShareExclusive || Share == fmShareDenyRead)
        return LOCK_EX;
    return Share == fmShareDenyWrite ? LOCK_SH : 0;
}

// Takes the lock that proves nobody denies this access, then keeps the lock
// the sharing mode asks for. False when another holder refuses.
bool AcquireSharing(int Fd, Word Mode) {
    int Held = HeldLock(Mode);
    int Probe = (OpensForWriting(Mode) || Held == LOCK_EX) ? LOCK_EX : LOCK_SH;
    while (::flock(Fd, Probe | LOCK_NB) != 0)
        if (errno != EINTR)
            return false;
    if (Held != Probe)
        ::flock(Fd, Held ? Held : LOCK_UN);
    return true;
}

} // namespace

TFileStream::TFileStream(const String& FileName, Word Mode) : FFileName(FileName) {
    bool Creating = Mode == fmCreate;
    int Flags = Creating                        ? (O_RDWR | O_CREAT)
                : (Mode & 3) == fmOpenWrite     ? O_WRONLY
                : (Mode & 3) == fmOpenReadWrite ? O_RDWR
                                                : O_RDONLY;
    FHandle = ::open(FileName.c_str(), Flags | O_CLOEXEC, 0666);
    int Error = errno;
    if (FHandle >= 0 && !AcquireSharing(FHandle, Mode)) {
        Error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(FHandle);
        FHandle = -1;
    }
    // Empty a created file only once the locks allow writing to it.
    if (FHandle >= 0 && Creating && ::ftruncate(FHandle, 0) != 0) {
        Error = errno;
        ::close(FHandle);
        FHandle = -1;
    }
    if (FHandle >= 0)
        return;
    String Reason = ". " + SystemReason(Error);
    if (Creating)
        throw EFCreateError(Format("Cannot create file %s", FileName) + Reason);
    throw EFOpenError(Format("Cannot open file %s", FileName) + Reason);
}

TFileStream::~TFileStream() {
    if (FHandle >= 0)
        ::close(FHandle);
}

Integer TFileStream::Read(void* Buffer, Integer Count) {
    Integer Done = 0;
    while (Done < Count) {
        ssize_t N =
            ::read(FHandle, static_cast<Byte*>(Buffer) + Done, static_cast<size_t>(Count - Done));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            break;
        Done += static_cast<Integer>(N);
    }
    return Done;
}

Integer TFileStream::Write(const void* Buffer, Integer Count) {
    Integer Done = 0;
    while (Done < Count) {
        ssize_t N = ::write(FHandle, static_cast<const Byte*>(Buffer) + Done,
                            static_cast<size_t>(Count - Done));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            break;
        Done += static_cast<Integer>(N);
    }
    return Done;
}

Int64 TFileStream::Seek(Int64 Offset, Word Origin) {
    int Whence = Origin == soFromBeginning ? SEEK_SET
                 : Origin == soFromCurrent ? SEEK_CUR
                                           : SEEK_END;
    off_t Result = ::lseek(FHandle, Offset, Whence);
    if (Result < 0)
        throw EStreamError(Format("Cannot seek in file %s", FFileName) + ". " +
                           SystemReason(errno));
    return Result;
}

void TFileStream::SetSize(Int64 NewSize) {
    if (::ftruncate(FHandle, NewSize) != 0)
        throw EStreamError(Format("Cannot change the size of file %s", FFileName) + ". " +
                           SystemReason(errno));
    if (Position() > NewSize)
        SetPosition(NewSize);
}

// --- TStringStream -----------------------------------------------------------

Integer TStringStream::Read(void* Buffer, Integer Count) {
    Integer N = Available(FPosition, Length(FData), Count);
    if (N > 0) {
        std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(N));
        FPosition += N;
    }
    return N;
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
    if (Count <= 0)
        return 0;
    auto Pos = static_cast<size_t>(FPosition);
    if (Pos + static_cast<size_t>(Count) > FData.size())
        FData.resize(Pos + static_cast<size_t>(Count));
    std::memcpy(FData.data() + Pos, Buffer, static_cast<size_t>(Count));
    FPosition += Count;
    return Count;
}

Int64 TStringStream::Seek(Int64 Offset, Word Origin) {
    FPosition = SeekTarget(Offset, Origin, FPosition, Length(FData));
    return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
    FData.resize(static_cast<size_t>(std::max<Int64>(0, NewSize)));
    FPosition = std::min<Int64>(FPosition, Length(FData));
}

String TStringStream::ReadString(Integer Count) {
    Integer N = Available(FPosition, Length(FData), Count);
    String Result = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
    FPosition += N;
    return Result;
}

// --- TResourceStream ---------------------------------------------------------

TResourceStream::TResourceStream(const String& ResName) {
    const TComponentResource* Res = FindComponentResource(ResName);
    if (!Res)
        throw EResNotFound(Format("Resource %s not found", ResName));
    SetPointer(Res->Data, static_cast<Int64>(Res->Size));
}

Integer TResourceStream::Write(const void*, Integer) {
    throw EStreamError("Can't write to a read-only resource stream");
}

} // namespace orlo
