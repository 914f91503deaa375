#pragma once
// Reading and writing component trees in the binary form: TReader and TWriter
// over a stream, their common base TFiler through which DefineProperties adds
// extra streamed properties, and the value codes of the format.
//
// A reader creates the components a stream names (or finds those an ancestor
// stream made, for inherited forms), sets their published properties, reads
// their defined properties, binds published fields and events of the root by
// name and resolves component references once the whole root is read; then it
// calls Loaded for every component it read. A failed read raises EReadError and
// frees every component it created.

#include "platform/classes/Component.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <unordered_set>
#include <vector>

namespace orlo {

class TCollection;
class TReader;
class TWriter;

enum TValueType : Byte {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String
};

enum TFilerFlag : Byte { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// Components, lists and collections nest at most this deep in a stream.
constexpr Integer MaxStreamNesting = 200;

class TFiler : public TObject {
    ORLO_CLASS(TFiler, TObject)
public:
    TFiler(TStream* Stream, Integer BufSize);

    // An extra property Name read by ReadData and written by WriteData; the
    // writer writes it only when HasData.
    virtual void DefineProperty(const String& Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;
    // The same for raw bytes, streamed as a binary value.
    virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                      const TStreamProc& WriteData, bool HasData) = 0;

    // The component the stream is about, and the one names are looked up in.
    TComponent* Root() const noexcept { return FRoot; }
    virtual void SetRoot(TComponent* Value);
    TComponent* LookupRoot() const noexcept { return FLookupRoot; }
    // While writing an inherited form: the object of the ancestor that the
    // object being written is compared with; nil otherwise.
    TPersistent* Ancestor() const noexcept { return FAncestor; }
    void SetAncestor(TPersistent* Value) noexcept { FAncestor = Value; }
    bool IgnoreChildren = false;

protected:
    TStream* FStream;
    std::vector<Byte> FBuffer;
    size_t FBufPos = 0;
    size_t FBufEnd = 0;
    TComponent* FRoot = nullptr;
    TComponent* FLookupRoot = nullptr;
    TPersistent* FAncestor = nullptr;
};

class TReader : public TFiler {
    ORLO_CLASS(TReader, TFiler)
public:
    explicit TReader(TStream* Stream, Integer BufSize = 4096);
    // Leaves the stream right behind the last byte read.
    ~TReader() override;

    void DefineProperty(const String& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // --- Values. A value of another kind than asked raises EReadError
    // "Invalid property value"; a stream that ends early "Stream read error".
    TValueType ReadValue();
    TValueType NextValue(); // without consuming it
    bool EndOfList();       // the next value is vaNull
    void CheckValue(TValueType Value);
    void ReadListBegin();
    void ReadListEnd();
    void SkipValue();
    bool ReadBoolean();
    char ReadChar();
    Integer ReadInteger();
    Int64 ReadInt64();
    Extended ReadFloat(); // any float or integer code
    Single ReadSingle();
    Currency ReadCurrency();
    TDateTime ReadDate();
    String ReadString(); // any string code, as UTF-8
    String ReadIdent();  // vaIdent, and vaFalse/vaTrue/vaNil/vaNull by name
    Variant ReadVariant();
    std::vector<Byte> ReadBinary();
    std::vector<String> ReadSet(); // the element names of a vaSet
    // A collection whose vaCollection code has been read: its items replace
    // the collection's.
    void ReadCollection(TCollection* Collection);

    // --- Raw data.
    String ReadStr(); // a short string: length byte and bytes
    void Read(void* Buffer, Integer Count);
    Int64 Position() const;

    // --- Structure.
    void ReadSignature(); // EReadError "Invalid stream format" unless "TPF0"
    void ReadPrefix(TFilerFlags& Flags, Integer& ChildPos);
    // Reads one property (name and value) of Instance.
    void ReadProperty(TPersistent* Instance);
    // Reads one component into Component, or creates it when nil (finds it
    // among the owner's components when the stream says inherited).
    TComponent* ReadComponent(TComponent* Component);
    // Reads a whole root, resolves its references and calls Loaded; creates
    // the root when Root is nil.
    TComponent* ReadRootComponent(TComponent* Root);
    // Resolves the references read so far.
    void FixupReferences();

    TComponent* Owner() const noexcept { return FOwner; }
    void SetOwner(TComponent* Value) noexcept { FOwner = Value; }
    TComponent* Parent() const noexcept { return FParent; }
    void SetParent(TComponent* Value) noexcept { FParent = Value; }

    // While set, a component reference read that names no component leaves its
    // property nil instead of failing the read: for data that outlives the
    // components it refers to, such as stored translations.
    bool OptionalReferences() const noexcept { return FOptionalReferences; }
    void SetOptionalReferences(bool Value) noexcept { FOptionalReferences = Value; }

    // Called for an unknown property (its value already skipped) and for a
    // reference that names no component; setting Handled goes on without it.
    std::function<void(TReader* Reader, const String& Message, bool& Handled)> OnError;
    // Called for an event handler name the root does not publish.
    std::function<void(TReader* Reader, const String& MethodName, void*& Address)> OnFindMethod;
    // Called for an optional reference that names no component (see
    // OptionalReferences), with the object whose property stays nil.
    std::function<void(TPersistent* Instance, const String& Reference)> OnMissingReference;
    // Called before a read component gets its name; may change it.
    std::function<void(TReader* Reader, TComponent* Component, String& Name)> OnSetName;

private:
    struct TFixup {
        TComponent* Context; // the component whose property this is
        TPersistent* Instance;
        const TPropInfo* PropInfo;
        String Reference;
        String Where;  // "Component.Property" for messages
        bool Optional; // unresolved leaves the property nil
    };

    Byte ReadByte();
    void FillBuffer();
    void CheckAvailable(Int64 Count);
    Int64 ReadIntegerOf(TValueType Value);
    String ReadStringOf(TValueType Value);
    // Counts one level of nesting for its lifetime; EReadError past the limit.
    class TNesting {
    public:
        explicit TNesting(Integer& Depth);
        ~TNesting() { --FDepth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        Integer& FDepth;
    };

    TComponent* CreateComponent(const String& ClassName, const String& Name);
    TComponent* FindInherited(const String& Name);
    void ReadComponentData(TComponent* Instance);
    void NameComponent(TComponent* Component, String Name);
    void ReadPropertyPath(TPersistent* Instance, const String& Path);
    void ReadPropValue(TPersistent* Instance, const TPropInfo* PropInfo);
    Int64 ReadIntegerOrIdent(const TTypeInfo* Type);
    void ReadOrdinalValue(TPersistent* Instance, const TPropInfo* PropInfo);
    void ReadClassValue(TPersistent* Instance, const TPropInfo* PropInfo);
    void ReadMethodValue(TPersistent* Instance, const TPropInfo* PropInfo);
    void ReadDefinedProperty(TPersistent* Instance, const String& Path, const String& Name);
    [[noreturn]] void PropertyError(const String& Message);
    bool HandleError(const String& Message);
    TComponent* ResolveReference(const String& Reference) const;
    void CallLoaded(size_t From);
    void Rollback(size_t Created, size_t Fixups, size_t Loaded) noexcept;

    TComponent* FOwner = nullptr;
    TComponent* FParent = nullptr;
    TComponent* FReading = nullptr; // the component whose properties are read
    String FPropPath;               // top-level property being read, for messages
    Integer FPropDepth = 0;
    Integer FNesting = 0;
    String FPropName;       // the defined property DefineProperties is asked for
    bool FReported = false; // the error in flight already names component and property
    bool FOptionalReferences = false;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoaded;
    std::vector<TFixup> FFixups;
};

class TWriter : public TFiler {
    ORLO_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream* Stream, Integer BufSize = 4096);
    // Flushes what is still buffered; call FlushBuffer to see write errors.
    ~TWriter() override;

    void DefineProperty(const String& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;
    void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                              const TStreamProc& WriteData, bool HasData) override;

    // --- Values.
    void WriteValue(TValueType Value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteChar(char Value);
    void WriteInteger(Int64 Value); // in the smallest integer code that holds it
    void WriteFloat(Extended Value);
    void WriteSingle(Single Value);
    void WriteCurrency(Currency Value);
    void WriteDate(TDateTime Value);
    void WriteString(const String& Value); // vaString up to 255 bytes, else vaLString
    // vaIdent, but "False", "True", "nil" and "Null" as their own codes.
    void WriteIdent(const String& Ident);
    void WriteVariant(const Variant& Value);
    void WriteBinary(const void* Data, Integer Count);
    void WriteSet(const std::vector<String>& Names);
    // vaCollection, each item's stored properties in a list, and the end.
    void WriteCollection(TCollection* Value);

    // --- Raw data.
    void WriteStr(const String& Value); // a short string; EWriteError over 255 bytes
    void Write(const void* Buffer, Integer Count);
    void FlushBuffer();
    Int64 Position() const;

    // --- Structure.
    void WriteSignature();
    void WritePrefix(TFilerFlags Flags, Integer ChildPos);
    // Writes the stored published and defined properties of Instance.
    void WriteProperties(TPersistent* Instance);
    void WriteComponent(TComponent* Component);
    // A whole root; with an ancestor root, only what differs from it.
    void WriteRootComponent(TComponent* Root);
    void WriteDescendent(TComponent* Root, TComponent* AncestorRoot);

private:
    void WriteProperty(TPersistent* Instance, const TPropInfo* PropInfo);
    void WritePropName(const String& Name);
    void WriteOrdinalProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteInt64Prop(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteFloatProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteStringProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteVariantProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteMethodProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteClassProp(TPersistent* Instance, const TPropInfo* PropInfo);
    void WriteReferenceProp(TComponent* Value, const TPropInfo* PropInfo);
    void WriteCollectionProp(TCollection* Value, const TPropInfo* PropInfo);
    void WriteSubObject(TPersistent* Value, const TPropInfo* PropInfo);
    String ReferenceName(const TComponent* Value) const;
    String HandlerName(const TMethod& Value) const;
    bool CollectionsEqual(TCollection* A, TCollection* B);

    String FPropPath; // prefix of sub-object properties: "Font."
    TComponent* FRootAncestor = nullptr;
};

// While a batch exists on the current thread, readers defer Loaded: Finish
// calls it once for every component read, in reading order. A batch ended
// without Finish (a failed load) only clears the loading state.
class TLoadingBatch {
public:
    TLoadingBatch();
    ~TLoadingBatch();
    TLoadingBatch(const TLoadingBatch&) = delete;
    TLoadingBatch& operator=(const TLoadingBatch&) = delete;

    void Add(TComponent* Component);
    void Finish();
    static TLoadingBatch* Current() noexcept;

private:
    TLoadingBatch* FOuter;
    std::vector<TComponent*> FComponents;
    std::unordered_set<TComponent*> FSeen;
};

// Roots that references of other roots ("Form2.Button1") are resolved against:
// each registered procedure is asked in turn for a root of that name.
using TFindGlobalComponent = TComponent* (*)(const String& Name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc);
void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc);
TComponent* FindGlobalComponent(const String& Name);
// Resolves references to roots that were not there when their stream was read;
// every root read does this on completion.
void GlobalFixupReferences();

} // namespace orlo
