#pragma once
// Streams: sequential and random access to bytes in memory, in files, in strings
// and in the component resources linked into the program. Streams also read and
// write component trees in the binary form (see Filer.h).

#include "platform/classes/Object.h"
#include "platform/rtl/Exception.h"

#include <vector>

namespace orlo {

class TComponent;

// Origins of TStream::Seek.
constexpr Word soFromBeginning = 0;
constexpr Word soFromCurrent = 1;
constexpr Word soFromEnd = 2;

class TStream : public TObject {
    ORLO_CLASS(TStream, TObject)
public:
    TStream() = default;

    // Reads or writes up to Count bytes and answers how many it moved.
    virtual Integer Read(void* Buffer, Integer Count) = 0;
    virtual Integer Write(const void* Buffer, Integer Count) = 0;
    // Moves the position and answers the new one.
    virtual Int64 Seek(Int64 Offset, Word Origin) = 0;

    Int64 Position() { return Seek(0, soFromCurrent); }
    void SetPosition(Int64 Value) { Seek(Value, soFromBeginning); }
    virtual Int64 Size();
    // EStreamError "Stream size cannot be changed" unless the stream can.
    virtual void SetSize(Int64 NewSize);

    // Exactly Count bytes: EReadError "Stream read error", EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, Integer Count);
    void WriteBuffer(const void* Buffer, Integer Count);
    // Copies Count bytes from Source's position; Count 0 copies all of Source from its start.
    Int64 CopyFrom(TStream* Source, Int64 Count);

    // Component trees in the binary form, at the stream's position.
    // ReadComponent creates the root when Instance is nil.
    TComponent* ReadComponent(TComponent* Instance);
    void WriteComponent(TComponent* Instance);
    // Writes only what Instance changes of Ancestor (an inherited form).
    void WriteDescendent(TComponent* Instance, TComponent* Ancestor);
    // The same inside a resource file layout (see Resources.h): ReadComponentRes
    // reads the first RCDATA resource; WriteComponentRes writes a whole resource
    // file with one resource named ResName.
    TComponent* ReadComponentRes(TComponent* Instance);
    void WriteComponentRes(const String& ResName, TComponent* Instance);
};

// Bytes in memory, read-only unless a descendant allows writing.
class TCustomMemoryStream : public TStream {
    ORLO_CLASS(TCustomMemoryStream, TStream)
public:
    TCustomMemoryStream() = default;

    Integer Read(void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    Int64 Size() override { return FSize; }

    const Byte* Memory() const noexcept { return FMemory; }
    void SaveToStream(TStream* Stream) const;
    // Replaces FileName only once the new content is complete.
    void SaveToFile(const String& FileName) const;

protected:
    void SetPointer(const Byte* Memory, Int64 Size) noexcept;
    Int64 FPosition = 0;

private:
    const Byte* FMemory = nullptr;
    Int64 FSize = 0;
};

// A growing buffer of bytes.
class TMemoryStream : public TCustomMemoryStream {
    ORLO_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;

    Integer Write(const void* Buffer, Integer Count) override;
    void SetSize(Int64 NewSize) override;
    Byte* Memory() noexcept { return FData.data(); }
    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);

private:
    void Resize(Int64 NewSize);
    std::vector<Byte> FData;
};

// File access and sharing modes of TFileStream; combine one of each.
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;
constexpr Word fmCreate = 0xFF00; // creates or empties the file, opened for reading and writing

// A file. Sharing is enforced among the streams of all processes through
// advisory locks: exclusive and deny-read hold an exclusive lock, deny-write a
// shared one; every opener first checks that no holder denies its access.
// EFCreateError "Cannot create file %s" / EFOpenError "Cannot open file %s",
// each followed by the system's reason.
class TFileStream : public TStream {
    ORLO_CLASS(TFileStream, TStream)
public:
    TFileStream(const String& FileName, Word Mode);
    ~TFileStream() override;

    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    void SetSize(Int64 NewSize) override;

    const String& FileName() const noexcept { return FFileName; }
    int Handle() const noexcept { return FHandle; }

private:
    String FFileName;
    int FHandle = -1;
};

// A string of bytes held as a String.
class TStringStream : public TStream {
    ORLO_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(String Data = String()) : FData(std::move(Data)) {}

    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    Int64 Seek(Int64 Offset, Word Origin) override;
    void SetSize(Int64 NewSize) override;

    const String& DataString() const noexcept { return FData; }
    // Count bytes from the position (fewer at the end).
    String ReadString(Integer Count);
    void WriteString(const String& S) { WriteBuffer(S.data(), Length(S)); }

private:
    String FData;
    Int64 FPosition = 0;
};

// A read-only stream over a component resource linked into the program.
// EResNotFound "Resource %s not found".
class TResourceStream : public TCustomMemoryStream {
    ORLO_CLASS(TResourceStream, TCustomMemoryStream)
public:
    explicit TResourceStream(const String& ResName);
    // EStreamError "Can't write to a read-only resource stream".
    Integer Write(const void* Buffer, Integer Count) override;
};

} // namespace orlo
