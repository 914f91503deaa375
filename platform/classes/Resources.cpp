#include "platform/classes/Resources.h"

#include "platform/classes/Filer.h"
#include "platform/classes/TextCodec.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace orlo {

// --- Component resources -----------------------------------------------------

namespace {

struct TRegistry {
    std::mutex Lock;
    std::map<String, TComponentResource> Resources; // by upper-case name
};

TRegistry& Registry() {
    static TRegistry* R = new TRegistry(); // outlives the registrars of every library
    return *R;
}

} // namespace

void RegisterComponentResource(const String& Name, const Byte* Data, size_t Size) {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Resources[AnsiUpperCase(Name)] = TComponentResource{Name, Data, Size};
}

void UnregisterComponentResource(const String& Name, const Byte* Data) {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    auto Found = R.Resources.find(AnsiUpperCase(Name));
    if (Found != R.Resources.end() && Found->second.Data == Data)
        R.Resources.erase(Found);
}

const TComponentResource* FindComponentResource(const String& Name) {
    TRegistry& R = Registry();
    std::lock_guard Guard(R.Lock);
    auto Found = R.Resources.find(AnsiUpperCase(Name));
    return Found == R.Resources.end() ? nullptr : &Found->second;
}

TComponentResourceRegistrar::TComponentResourceRegistrar(const char* Name, const Byte* Data,
                                                         size_t Size)
    : FName(Name), FData(Data) {
    RegisterComponentResource(Name, Data, Size);
}

TComponentResourceRegistrar::~TComponentResourceRegistrar() {
    UnregisterComponentResource(FName, FData);
}

TComponent* ReadComponentRes(const String& ResName, TComponent* Instance) {
    TResourceStream Stream(ResName);
    return Stream.ReadComponent(Instance);
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
    std::vector<TClass> Classes;
    for (TClass C = Instance->ClassType(); C && C != RootAncestor && C != TComponent::StaticClass();
         C = C->ClassParent())
        Classes.push_back(C);
    TLoadingBatch Batch;
    bool Found = false;
    for (auto C = Classes.rbegin(); C != Classes.rend(); ++C) {
        if (!FindComponentResource((*C)->ClassName()))
            continue;
        ReadComponentRes((*C)->ClassName(), Instance);
        Found = true;
    }
    Batch.Finish();
    return Found;
}

// --- Resource ids ------------------------------------------------------------

String TResourceId::Text() const {
    return IsOrdinal ? "#" + IntToStr(Integer(Ordinal)) : Name;
}

bool TResourceId::Matches(const String& Text) const {
    if (!IsOrdinal)
        return AnsiSameText(Name, Text);
    Integer Value;
    return Text.size() > 1 && Text[0] == '#' && TryStrToInt(Text.substr(1), Value) &&
           Value == Ordinal;
}

// --- Resource files ----------------------------------------------------------

namespace {

constexpr size_t EmptyRecordSize = 32;
constexpr Byte EmptyRecord[EmptyRecordSize] = {0,    0,    0, 0, 0x20, 0,    0, 0,
                                               0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

size_t AlignDword(size_t N) {
    return (N + 3) & ~size_t(3);
}

[[noreturn]] void InvalidResourceFile(const char* Reason) {
    throw EReadError(Format("Invalid resource file: %s", Reason));
}

// Bounds-checked little-endian reads over the bytes of a file.
class TResourceParser {
public:
    explicit TResourceParser(const std::vector<Byte>& Data) : FData(Data) {}

    Cardinal Dword(size_t At, size_t Limit) const {
        Need(At, 4, Limit);
        return Cardinal(FData[At]) | Cardinal(FData[At + 1]) << 8 | Cardinal(FData[At + 2]) << 16 |
               Cardinal(FData[At + 3]) << 24;
    }
    Word Wrd(size_t At, size_t Limit) const {
        Need(At, 2, Limit);
        return static_cast<Word>(FData[At] | FData[At + 1] << 8);
    }
    // An ordinal (FFFF n) or a zero-terminated UTF-16 name; At moves behind it.
    TResourceId Id(size_t& At, size_t Limit) const {
        if (Wrd(At, Limit) == 0xFFFF) {
            Word Value = Wrd(At + 2, Limit);
            At += 4;
            return TResourceId::OfOrdinal(Value);
        }
        std::vector<char16_t> Units;
        for (Word U = Wrd(At, Limit); U != 0; U = Wrd(At, Limit)) {
            Units.push_back(static_cast<char16_t>(U));
            At += 2;
        }
        At += 2;
        return TResourceId::OfName(Utf16ToUtf8(Units));
    }

private:
    void Need(size_t At, size_t Count, size_t Limit) const {
        if (At > Limit || Limit - At < Count)
            InvalidResourceFile("truncated resource header");
    }
    const std::vector<Byte>& FData;
};

void PutDword(std::vector<Byte>& Out, Cardinal V) {
    for (int I = 0; I < 4; ++I)
        Out.push_back(static_cast<Byte>(V >> (8 * I)));
}

void PutWord(std::vector<Byte>& Out, Word V) {
    Out.push_back(static_cast<Byte>(V));
    Out.push_back(static_cast<Byte>(V >> 8));
}

void PutId(std::vector<Byte>& Out, const TResourceId& Id) {
    if (Id.IsOrdinal) {
        PutWord(Out, 0xFFFF);
        PutWord(Out, Id.Ordinal);
        return;
    }
    for (char16_t U : Utf8ToUtf16(Id.Name))
        PutWord(Out, U);
    PutWord(Out, 0);
}

void PadDword(std::vector<Byte>& Out) {
    Out.resize(AlignDword(Out.size()), 0);
}

bool IsEmptyRecord(const TResourceEntry& E) {
    return E.Data.empty() && E.Type.IsOrdinal && E.Type.Ordinal == 0 && E.Name.IsOrdinal &&
           E.Name.Ordinal == 0;
}

} // namespace

void TResourceFile::LoadFromStream(TStream* Stream) {
    Int64 Size = Stream->Size() - Stream->Position();
    if (Size < 0 || Size > INT32_MAX)
        InvalidResourceFile("too large");
    std::vector<Byte> Data(static_cast<size_t>(Size));
    Stream->ReadBuffer(Data.data(), static_cast<Integer>(Size));
    if (Data.size() < EmptyRecordSize ||
        !std::equal(EmptyRecord, EmptyRecord + EmptyRecordSize, Data.begin()))
        InvalidResourceFile("it does not start with the empty resource record");
    TResourceParser Parser(Data);
    std::vector<TResourceEntry> Entries;
    for (size_t Pos = EmptyRecordSize; Pos < Data.size();) {
        size_t End = Data.size();
        Cardinal DataSize = Parser.Dword(Pos, End);
        Cardinal HeaderSize = Parser.Dword(Pos + 4, End);
        if (HeaderSize < 28 || HeaderSize > End - Pos || DataSize > End - Pos - HeaderSize)
            InvalidResourceFile("a resource runs past the end of the file");
        size_t HeaderEnd = Pos + HeaderSize;
        size_t At = Pos + 8;
        TResourceEntry Entry;
        Entry.Type = Parser.Id(At, HeaderEnd);
        Entry.Name = Parser.Id(At, HeaderEnd);
        At = Pos + AlignDword(At - Pos);
        Entry.DataVersion = Parser.Dword(At, HeaderEnd);
        Entry.MemoryFlags = Parser.Wrd(At + 4, HeaderEnd);
        Entry.LanguageId = Parser.Wrd(At + 6, HeaderEnd);
        Entry.Version = Parser.Dword(At + 8, HeaderEnd);
        Entry.Characteristics = Parser.Dword(At + 12, HeaderEnd);
        Entry.Data.assign(Data.begin() + static_cast<ptrdiff_t>(HeaderEnd),
                          Data.begin() + static_cast<ptrdiff_t>(HeaderEnd + DataSize));
        if (!IsEmptyRecord(Entry))
            Entries.push_back(std::move(Entry));
        Pos = std::min(AlignDword(HeaderEnd + DataSize), Data.size());
    }
    FEntries = std::move(Entries);
}

void TResourceFile::LoadFromFile(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

void TResourceFile::SaveToStream(TStream* Stream) const {
    std::vector<Byte> Out(EmptyRecord, EmptyRecord + EmptyRecordSize);
    for (const TResourceEntry& E : FEntries) {
        if (E.Data.size() > INT32_MAX)
            throw EWriteError("Stream write error");
        std::vector<Byte> Header;
        PutId(Header, E.Type);
        PutId(Header, E.Name);
        Header.insert(Header.begin(), 8, 0);
        PadDword(Header);
        PutDword(Header, E.DataVersion);
        PutWord(Header, E.MemoryFlags);
        PutWord(Header, E.LanguageId);
        PutDword(Header, E.Version);
        PutDword(Header, E.Characteristics);
        auto HeaderSize = static_cast<Cardinal>(Header.size());
        auto DataSize = static_cast<Cardinal>(E.Data.size());
        for (int I = 0; I < 4; ++I) {
            Header[I] = static_cast<Byte>(DataSize >> (8 * I));
            Header[4 + I] = static_cast<Byte>(HeaderSize >> (8 * I));
        }
        Out.insert(Out.end(), Header.begin(), Header.end());
        Out.insert(Out.end(), E.Data.begin(), E.Data.end());
        PadDword(Out);
    }
    Stream->WriteBuffer(Out.data(), static_cast<Integer>(Out.size()));
}

void TResourceFile::SaveToFile(const String& FileName) const {
    TMemoryStream Stream;
    SaveToStream(&Stream);
    Stream.SaveToFile(FileName);
}

const TResourceEntry* TResourceFile::FindRCData(const String& Name) const {
    for (const TResourceEntry& E : FEntries)
        if (E.Type.IsOrdinal && E.Type.Ordinal == RT_RCDATA &&
            (Name.empty() || E.Name.Matches(Name)))
            return &E;
    return nullptr;
}

const TResourceEntry& TResourceFile::ReadRCData(const String& Name, TMemoryStream& Data) const {
    const TResourceEntry* Entry = FindRCData(Name);
    if (!Entry)
        throw EResNotFound(Format("Resource %s not found", Name.empty() ? "RCDATA" : Name));
    Data.WriteBuffer(Entry->Data.data(), static_cast<Integer>(Entry->Data.size()));
    Data.SetPosition(0);
    return *Entry;
}

TResourceEntry& TResourceFile::AddRCData(const String& Name, std::vector<Byte> Data) {
    TResourceEntry Entry;
    Entry.Type = TResourceId::OfOrdinal(RT_RCDATA);
    Entry.Name = TResourceId::OfName(AnsiUpperCase(Name));
    Entry.Data = std::move(Data);
    FEntries.push_back(std::move(Entry));
    return FEntries.back();
}

bool IsResourceFile(TStream* Stream) {
    Int64 Start = Stream->Position();
    Byte Head[EmptyRecordSize];
    Integer N = Stream->Read(Head, EmptyRecordSize);
    Stream->SetPosition(Start);
    return N == EmptyRecordSize && std::equal(Head, Head + EmptyRecordSize, EmptyRecord);
}

namespace {

TComponent* ReadResource(const TResourceFile& File, const String& ResName, TComponent* Instance) {
    TMemoryStream Stream;
    File.ReadRCData(ResName, Stream);
    return Stream.ReadComponent(Instance);
}

std::vector<Byte> ComponentBytes(TComponent* Instance) {
    TMemoryStream Stream;
    Stream.WriteComponent(Instance);
    return std::vector<Byte>(Stream.Memory(), Stream.Memory() + Stream.Size());
}

} // namespace

TComponent* TStream::ReadComponentRes(TComponent* Instance) {
    TResourceFile File;
    File.LoadFromStream(this);
    return ReadResource(File, String(), Instance);
}

void TStream::WriteComponentRes(const String& ResName, TComponent* Instance) {
    TResourceFile File;
    File.AddRCData(ResName, ComponentBytes(Instance));
    File.SaveToStream(this);
}

void WriteComponentResFile(const String& FileName, TComponent* Instance) {
    TResourceFile File;
    File.AddRCData(Instance->ClassName(), ComponentBytes(Instance));
    File.SaveToFile(FileName);
}

TComponent* ReadComponentResFile(const String& FileName, TComponent* Instance,
                                 const String& ResName) {
    TResourceFile File;
    File.LoadFromFile(FileName);
    return ReadResource(File, ResName, Instance);
}

} // namespace orlo
