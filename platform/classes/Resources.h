#pragma once
// Component resources and resource files.
//
// Component resources are binary form streams compiled into a program or
// library (see cmake/OrloForms.cmake) and registered by name at load time; a
// form class finds its stream under its class name. Resource files hold named
// resources in the 32-bit ".res" layout: an empty 32-byte record, then per
// resource a header (data size, header size, type, name, DWORD alignment, data
// version, memory flags, language, version, characteristics) and its data
// padded to a DWORD.

#include "platform/classes/Streams.h"

#include <cstddef>
#include <vector>

namespace orlo {

// --- Component resources -----------------------------------------------------

struct TComponentResource {
    String Name;
    const Byte* Data;
    size_t Size;
};

// Registers Data (kept, not copied) under Name; names compare without regard
// to case, and a later registration of a name replaces the earlier one.
void RegisterComponentResource(const String& Name, const Byte* Data, size_t Size);
// Removes the registration of Name when it is still the one for Data.
void UnregisterComponentResource(const String& Name, const Byte* Data);
// Nil when no resource has that name. The result stays valid while registered.
const TComponentResource* FindComponentResource(const String& Name);

// Registers a resource for the lifetime of a static object; the code that the
// build generates for each form file declares one.
class TComponentResourceRegistrar {
public:
    TComponentResourceRegistrar(const char* Name, const Byte* Data, size_t Size);
    ~TComponentResourceRegistrar();
    TComponentResourceRegistrar(const TComponentResourceRegistrar&) = delete;
    TComponentResourceRegistrar& operator=(const TComponentResourceRegistrar&) = delete;

private:
    const char* FName;
    const Byte* FData;
};

// Reads the resource ResName into Instance (created when nil). EResNotFound
// "Resource %s not found".
TComponent* ReadComponentRes(const String& ResName, TComponent* Instance);
// Reads the resource of every form class from just below RootAncestor down to
// Instance's own class, ancestors first, and calls Loaded once for everything
// read. False when none of those classes has a resource.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);

// --- Resource files ----------------------------------------------------------

constexpr Word RT_RCDATA = 10;

// A resource type or name: a string, or an ordinal when IsOrdinal.
struct TResourceId {
    bool IsOrdinal = false;
    Word Ordinal = 0;
    String Name;

    static TResourceId OfOrdinal(Word Value) { return TResourceId{true, Value, String()}; }
    static TResourceId OfName(const String& Value) { return TResourceId{false, 0, Value}; }
    // "#10" for an ordinal, else the name.
    String Text() const;
    // Names without regard to case; "#n" matches the ordinal n.
    bool Matches(const String& Text) const;
};

struct TResourceEntry {
    TResourceId Type;
    TResourceId Name;
    Word MemoryFlags = 0x1030; // moveable, pure, discardable
    Word LanguageId = 0;
    Cardinal DataVersion = 0;
    Cardinal Version = 0;
    Cardinal Characteristics = 0;
    std::vector<Byte> Data;
};

// The resources of a resource file. Reading raises EReadError "Invalid resource
// file: ..." for anything that does not follow the layout.
class TResourceFile {
public:
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);
    void SaveToStream(TStream* Stream) const;
    // Replaces FileName only once the new content is complete.
    void SaveToFile(const String& FileName) const;

    std::vector<TResourceEntry>& Entries() noexcept { return FEntries; }
    const std::vector<TResourceEntry>& Entries() const noexcept { return FEntries; }
    // The RCDATA resource of that name (without regard to case), or the first
    // RCDATA resource when Name is empty; nil when there is none.
    const TResourceEntry* FindRCData(const String& Name = String()) const;
    // Copies the data of the resource FindRCData finds into Data, positioned at
    // its start. EResNotFound "Resource %s not found" (RCDATA for an empty name).
    const TResourceEntry& ReadRCData(const String& Name, TMemoryStream& Data) const;
    // Adds an RCDATA resource; the name is stored upper-cased.
    TResourceEntry& AddRCData(const String& Name, std::vector<Byte> Data);

private:
    std::vector<TResourceEntry> FEntries;
};

// Whether Stream, from its position, starts with the empty record of a resource
// file; the position is left where it was.
bool IsResourceFile(TStream* Stream);

// One component as the only resource of a file, named after its class.
void WriteComponentResFile(const String& FileName, TComponent* Instance);
// Reads the named RCDATA resource of the file (the first one when ResName is
// empty) into Instance (created when nil). EResNotFound "Resource %s not found".
TComponent* ReadComponentResFile(const String& FileName, TComponent* Instance,
                                 const String& ResName = String());

} // namespace orlo
