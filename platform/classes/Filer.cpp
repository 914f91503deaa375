#include "platform/classes/Filer.h"

#include "platform/classes/Collection.h"
#include "platform/classes/TextCodec.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <unordered_set>

namespace orlo {

namespace {

constexpr char Signature[4] = {'T', 'P', 'F', '0'};
constexpr Integer MaxShortString = 255;

[[noreturn]] void InvalidValue() {
    throw EReadError("Invalid property value");
}

// --- Little-endian numbers and the 80-bit extended float ---------------------

template <class T> T LoadLE(const Byte* P) {
    std::make_unsigned_t<T> V = 0;
    for (size_t I = 0; I < sizeof(T); ++I)
        V |= static_cast<std::make_unsigned_t<T>>(P[I]) << (8 * I);
    return static_cast<T>(V);
}

template <class T> void StoreLE(Byte* P, T Value) {
    auto V = static_cast<std::make_unsigned_t<T>>(Value);
    for (size_t I = 0; I < sizeof(T); ++I)
        P[I] = static_cast<Byte>(V >> (8 * I));
}

// Sign, 15-bit exponent biased by 16383 and a 64-bit mantissa with an explicit
// integer bit; computed arithmetically so it does not depend on the layout of
// long double.
Extended DecodeExtended(const Byte* P) {
    auto Mantissa = LoadLE<UInt64>(P);
    auto SignExp = LoadLE<Word>(P + 8);
    bool Negative = (SignExp & 0x8000) != 0;
    int Exponent = SignExp & 0x7FFF;
    Extended Value;
    if (Exponent == 0x7FFF)
        Value = (Mantissa << 1) != 0 ? std::numeric_limits<Extended>::quiet_NaN()
                                     : std::numeric_limits<Extended>::infinity();
    else
        Value = std::ldexp(static_cast<Extended>(Mantissa),
                           (Exponent == 0 ? 1 : Exponent) - 16383 - 63);
    return Negative ? -Value : Value;
}

void EncodeExtended(Extended Value, Byte* P) {
    Word SignExp = std::signbit(Value) ? 0x8000 : 0;
    UInt64 Mantissa = 0;
    if (std::isnan(Value)) {
        SignExp |= 0x7FFF;
        Mantissa = 0xC000000000000000ull;
    } else if (std::isinf(Value)) {
        SignExp |= 0x7FFF;
        Mantissa = 0x8000000000000000ull;
    } else if (Value != 0) {
        int Exp;
        Extended Fraction = std::frexp(std::fabs(Value), &Exp); // in [0.5, 1)
        int Biased = Exp - 1 + 16383;
        if (Biased <= 0) { // subnormal
            Mantissa = static_cast<UInt64>(std::ldexp(Fraction, Biased + 63));
            Biased = 0;
        } else {
            Mantissa = static_cast<UInt64>(std::ldexp(Fraction, 64));
        }
        SignExp |= static_cast<Word>(Biased);
    }
    StoreLE(P, Mantissa);
    StoreLE(P + 8, SignExp);
}

bool IsIntegerValue(TValueType Value) {
    return Value == vaInt8 || Value == vaInt16 || Value == vaInt32 || Value == vaInt64;
}

bool IsDateType(const TTypeInfo* Info) {
    return Info == TDateTimeTypeInfo() || SameText(Info->Name, "TDateTime") ||
           SameText(Info->Name, "TDate") || SameText(Info->Name, "TTime");
}

String ComponentLabel(const TPersistent* Instance) {
    if (auto* C = dynamic_cast<const TComponent*>(Instance); C && !C->Name().empty())
        return C->Name();
    return Instance ? Instance->ClassName() : String();
}

} // namespace

ORLO_UNPUBLISHED(TFiler, "Classes")
ORLO_UNPUBLISHED(TReader, "Classes")
ORLO_UNPUBLISHED(TWriter, "Classes")

TFiler::TFiler(TStream* Stream, Integer BufSize)
    : FStream(Stream), FBuffer(static_cast<size_t>(std::max(BufSize, 16))) {}

void TFiler::SetRoot(TComponent* Value) {
    FRoot = Value;
    FLookupRoot = Value;
}

// --- TReader: raw data -------------------------------------------------------

TReader::TReader(TStream* Stream, Integer BufSize) : TFiler(Stream, BufSize) {}

TReader::~TReader() {
    if (FBufPos < FBufEnd) {
        try {
            FStream->Seek(-static_cast<Int64>(FBufEnd - FBufPos), soFromCurrent);
        } catch (...) {
            // The stream cannot go back; whoever reads it next starts later.
        }
    }
}

void TReader::FillBuffer() {
    Integer N = FStream->Read(FBuffer.data(), static_cast<Integer>(FBuffer.size()));
    if (N <= 0)
        throw EReadError("Stream read error");
    FBufPos = 0;
    FBufEnd = static_cast<size_t>(N);
}

Byte TReader::ReadByte() {
    if (FBufPos == FBufEnd)
        FillBuffer();
    return FBuffer[FBufPos++];
}

void TReader::Read(void* Buffer, Integer Count) {
    auto* Out = static_cast<Byte*>(Buffer);
    auto Left = static_cast<size_t>(std::max(Count, 0));
    while (Left > 0) {
        if (FBufPos == FBufEnd)
            FillBuffer();
        size_t N = std::min(Left, FBufEnd - FBufPos);
        std::memcpy(Out, FBuffer.data() + FBufPos, N);
        FBufPos += N;
        Out += N;
        Left -= N;
    }
}

void TReader::CheckAvailable(Int64 Count) {
    if (Count < 0)
        InvalidValue();
    // Large counts are checked against the stream before anything is allocated.
    auto Buffered = static_cast<Int64>(FBufEnd - FBufPos);
    if (Count > Buffered && Count > 0x10000 &&
        Count - Buffered > FStream->Size() - FStream->Position())
        throw EReadError("Stream read error");
}

Int64 TReader::Position() const {
    return FStream->Position() - static_cast<Int64>(FBufEnd - FBufPos);
}

String TReader::ReadStr() {
    Byte Len = ReadByte();
    String S(Len, '\0');
    Read(S.data(), Len);
    return S;
}

TReader::TNesting::TNesting(Integer& Depth) : FDepth(Depth) {
    if (FDepth >= MaxStreamNesting)
        throw EReadError("Stream nesting too deep");
    ++FDepth;
}

// --- TReader: values ---------------------------------------------------------

TValueType TReader::ReadValue() {
    Byte B = ReadByte();
    if (B > vaUTF8String)
        throw EReadError(Format("Invalid value code %d", Integer(B)));
    return static_cast<TValueType>(B);
}

TValueType TReader::NextValue() {
    TValueType Result = ReadValue();
    --FBufPos;
    return Result;
}

bool TReader::EndOfList() {
    // Also asked where a name or a prefix may follow: only the byte counts.
    bool Result = ReadByte() == vaNull;
    --FBufPos;
    return Result;
}

void TReader::CheckValue(TValueType Value) {
    if (ReadValue() != Value)
        InvalidValue();
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

Int64 TReader::ReadIntegerOf(TValueType Value) {
    Byte B[8];
    switch (Value) {
    case vaInt8:
        return static_cast<int8_t>(ReadByte());
    case vaInt16:
        Read(B, 2);
        return LoadLE<int16_t>(B);
    case vaInt32:
        Read(B, 4);
        return LoadLE<int32_t>(B);
    case vaInt64:
        Read(B, 8);
        return LoadLE<Int64>(B);
    default:
        InvalidValue();
    }
}

Integer TReader::ReadInteger() {
    Int64 V = ReadIntegerOf(ReadValue());
    if (V < INT32_MIN || V > INT32_MAX)
        InvalidValue();
    return static_cast<Integer>(V);
}

Int64 TReader::ReadInt64() {
    return ReadIntegerOf(ReadValue());
}

bool TReader::ReadBoolean() {
    TValueType V = ReadValue();
    if (V != vaTrue && V != vaFalse)
        InvalidValue();
    return V == vaTrue;
}

char TReader::ReadChar() {
    String S = ReadString();
    if (S.size() == 1)
        return S[0];
    size_t Pos = 0;
    char32_t C = S.empty() ? 0x100 : NextCodePoint(S, Pos);
    if (Pos != S.size() || C > 0xFF)
        InvalidValue();
    return static_cast<char>(C);
}

Extended TReader::ReadFloat() {
    TValueType V = ReadValue();
    Byte B[10];
    switch (V) {
    case vaExtended:
        Read(B, 10);
        return DecodeExtended(B);
    case vaSingle:
        Read(B, 4);
        return std::bit_cast<Single>(LoadLE<Cardinal>(B));
    case vaDate:
        Read(B, 8);
        return std::bit_cast<Double>(LoadLE<UInt64>(B));
    case vaCurrency:
        Read(B, 8);
        return static_cast<Extended>(LoadLE<Int64>(B)) / Currency::Scale;
    default:
        return static_cast<Extended>(ReadIntegerOf(V));
    }
}

Single TReader::ReadSingle() {
    return static_cast<Single>(ReadFloat());
}

TDateTime TReader::ReadDate() {
    return static_cast<TDateTime>(ReadFloat());
}

Currency TReader::ReadCurrency() {
    if (NextValue() == vaCurrency) {
        ReadValue();
        Byte B[8];
        Read(B, 8);
        return Currency::FromScaled(LoadLE<Int64>(B));
    }
    Currency Result;
    if (!Currency::TryFromDouble(static_cast<double>(ReadFloat()), Result))
        InvalidValue();
    return Result;
}

String TReader::ReadStringOf(TValueType Value) {
    if (Value == vaString)
        return ReadStr();
    if (Value != vaLString && Value != vaUTF8String && Value != vaWString)
        InvalidValue();
    Byte B[4];
    Read(B, 4);
    Int64 Count = LoadLE<int32_t>(B);
    if (Value == vaWString) {
        CheckAvailable(Count * 2);
        std::vector<Byte> Raw(static_cast<size_t>(Count) * 2);
        Read(Raw.data(), static_cast<Integer>(Raw.size()));
        std::vector<char16_t> Units(static_cast<size_t>(Count));
        for (size_t I = 0; I < Units.size(); ++I)
            Units[I] = static_cast<char16_t>(LoadLE<Word>(&Raw[2 * I]));
        return Utf16ToUtf8(Units);
    }
    CheckAvailable(Count);
    String S(static_cast<size_t>(Count), '\0');
    Read(S.data(), static_cast<Integer>(Count));
    return S;
}

String TReader::ReadString() {
    return ReadStringOf(ReadValue());
}

String TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        InvalidValue();
    }
}

Variant TReader::ReadVariant() {
    TValueType V = NextValue();
    switch (V) {
    case vaNil:
        ReadValue();
        return Variant();
    case vaNull:
        ReadValue();
        return Variant::Null();
    case vaInt8:
    case vaInt16:
    case vaInt32:
        return Variant(ReadInteger());
    case vaInt64:
        return Variant(ReadInt64());
    case vaExtended:
        return Variant(static_cast<double>(ReadFloat()));
    case vaSingle:
        return Variant::FromSingle(ReadSingle());
    case vaDate:
        return Variant::FromDate(ReadDate());
    case vaCurrency:
        return Variant(ReadCurrency());
    case vaFalse:
    case vaTrue:
        return Variant(ReadBoolean());
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        return Variant(ReadString());
    default:
        InvalidValue();
    }
}

std::vector<Byte> TReader::ReadBinary() {
    CheckValue(vaBinary);
    Byte B[4];
    Read(B, 4);
    Int64 Count = LoadLE<int32_t>(B);
    CheckAvailable(Count);
    std::vector<Byte> Data(static_cast<size_t>(Count));
    Read(Data.data(), static_cast<Integer>(Count));
    return Data;
}

std::vector<String> TReader::ReadSet() {
    CheckValue(vaSet);
    std::vector<String> Names;
    for (String Name = ReadStr(); !Name.empty(); Name = ReadStr())
        Names.push_back(std::move(Name));
    return Names;
}

void TReader::SkipValue() {
    TValueType V = ReadValue();
    switch (V) {
    case vaList: {
        TNesting Nesting(FNesting);
        while (!EndOfList())
            SkipValue();
        ReadListEnd();
        break;
    }
    case vaCollection: {
        TNesting Nesting(FNesting);
        while (!EndOfList()) {
            if (IsIntegerValue(NextValue()))
                SkipValue();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaIdent:
        ReadStr();
        break;
    case vaBinary:
        --FBufPos;
        ReadBinary();
        break;
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        ReadStringOf(V);
        break;
    case vaExtended:
    case vaSingle:
    case vaDate:
    case vaCurrency:
        --FBufPos;
        ReadFloat();
        break;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        ReadIntegerOf(V);
        break;
    default: // vaNull, vaFalse, vaTrue, vaNil carry no data
        break;
    }
}

// --- TReader: structure ------------------------------------------------------

void TReader::ReadSignature() {
    char S[4];
    Read(S, 4);
    if (std::memcmp(S, Signature, 4) != 0)
        throw EReadError("Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, Integer& ChildPos) {
    Flags = TFilerFlags();
    ChildPos = 0;
    Byte B = ReadByte();
    if ((B & 0xF0) != 0xF0) {
        --FBufPos;
        return;
    }
    Flags = TFilerFlags::FromBits(B & 0x07);
    if (Flags.Contains(ffChildPos))
        ChildPos = ReadInteger();
}

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&,
                             bool) {
    if (ReadData && !FPropName.empty() && SameText(Name, FPropName)) {
        FPropName.clear();
        ReadData(this);
    }
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                   const TStreamProc&, bool) {
    if (!ReadData || FPropName.empty() || !SameText(Name, FPropName))
        return;
    FPropName.clear();
    std::vector<Byte> Data = ReadBinary();
    TMemoryStream Stream;
    Stream.WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
    Stream.SetPosition(0);
    ReadData(&Stream);
}

bool TReader::HandleError(const String& Message) {
    bool Handled = false;
    if (OnError)
        OnError(this, Message, Handled);
    return Handled;
}

void TReader::PropertyError(const String& Message) {
    throw EReadError(
        Format("Error reading %s.%s: %s", ComponentLabel(FReading), FPropPath, Message));
}

void TReader::ReadProperty(TPersistent* Instance) {
    String Path = ReadStr();
    if (FPropDepth > 0) {
        ReadPropertyPath(Instance, Path);
        return;
    }
    TSetForScope<Integer> Depth(FPropDepth, 1);
    TSetForScope<String> Where(FPropPath, Path);
    try {
        ReadPropertyPath(Instance, Path);
    } catch (const Exception& E) {
        if (FReported) { // the message already names the component and property
            FReported = false;
            throw;
        }
        PropertyError(E.Message());
    }
}

void TReader::ReadPropertyPath(TPersistent* Instance, const String& Path) {
    TPersistent* Target = Instance;
    for (size_t Start = 0;;) {
        size_t Dot = Path.find('.', Start);
        String Part = Path.substr(Start, Dot == String::npos ? String::npos : Dot - Start);
        const TPropInfo* PropInfo = Target->ClassType()->FindProperty(Part);
        if (Dot == String::npos) {
            if (PropInfo)
                ReadPropValue(Target, PropInfo);
            else
                ReadDefinedProperty(Target, Path, Part);
            return;
        }
        TPersistent* Sub = nullptr;
        if (PropInfo && PropInfo->PropType->Kind == tkClass)
            Sub = dynamic_cast<TPersistent*>(GetObjectProp(Target, PropInfo));
        if (!Sub)
            return ReadDefinedProperty(Target, Path, String());
        Target = Sub;
        Start = Dot + 1;
    }
}

void TReader::ReadDefinedProperty(TPersistent* Instance, const String& Path, const String& Name) {
    if (!Name.empty()) {
        FPropName = Name;
        Instance->DefineProperties(this);
        if (FPropName.empty())
            return;
        FPropName.clear();
    }
    SkipValue();
    String Message = Format("Error reading %s.%s: Property %s does not exist",
                            ComponentLabel(FReading), FPropPath, Path);
    if (HandleError(Message))
        return;
    FReported = true;
    throw EReadError(Message);
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* PropInfo) {
    switch (PropInfo->PropType->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        return ReadOrdinalValue(Instance, PropInfo);
    case tkInt64:
        return SetInt64Prop(Instance, PropInfo, ReadInt64());
    case tkFloat:
        if (PropInfo->PropType->Data.FloatType == ftCurr)
            return SetFloatProp(Instance, PropInfo,
                                static_cast<Extended>(ReadCurrency().Scaled) / Currency::Scale);
        return SetFloatProp(Instance, PropInfo, ReadFloat());
    case tkString:
    case tkLString:
    case tkWString:
        return SetStrProp(Instance, PropInfo, ReadString());
    case tkVariant:
        return SetVariantProp(Instance, PropInfo, ReadVariant());
    case tkMethod:
        return ReadMethodValue(Instance, PropInfo);
    case tkClass:
        return ReadClassValue(Instance, PropInfo);
    default:
        SkipValue();
        InvalidValue();
    }
}

Int64 TReader::ReadIntegerOrIdent(const TTypeInfo* Type) {
    if (NextValue() != vaIdent)
        return ReadInt64();
    std::optional<Int64> Value = IdentToInt(Type, ReadIdent());
    if (!Value)
        InvalidValue();
    return *Value;
}

void TReader::ReadOrdinalValue(TPersistent* Instance, const TPropInfo* PropInfo) {
    const TTypeInfo* Type = PropInfo->PropType;
    Int64 Value = 0;
    switch (Type->Kind) {
    case tkInteger:
        Value = ReadIntegerOrIdent(Type);
        if (Type->Data.MinValue < Type->Data.MaxValue &&
            (Value < Type->Data.MinValue || Value > Type->Data.MaxValue))
            InvalidValue();
        break;
    case tkChar:
        Value = static_cast<unsigned char>(ReadChar());
        break;
    case tkEnumeration:
        Value = GetEnumValue(Type, ReadIdent());
        if (Value < 0)
            InvalidValue();
        break;
    default: // tkSet
        for (const String& Name : ReadSet()) {
            Integer Element = GetEnumValue(Type->Data.CompType, Name);
            if (Element < 0 || Element > 31)
                InvalidValue();
            Value |= Int64(1) << Element;
        }
        break;
    }
    SetOrdProp(Instance, PropInfo, Value);
}

void TReader::ReadMethodValue(TPersistent* Instance, const TPropInfo* PropInfo) {
    if (NextValue() == vaNil) {
        ReadValue();
        return SetMethodProp(Instance, PropInfo, TMethod{});
    }
    String Name = ReadIdent();
    void* Code = FLookupRoot ? FLookupRoot->MethodAddress(Name) : nullptr;
    if (!Code && OnFindMethod)
        OnFindMethod(this, Name, Code);
    if (!Code)
        throw EReadError(Format("Method %s not found", Name));
    SetMethodProp(Instance, PropInfo, TMethod{Code, dynamic_cast<void*>(FLookupRoot)});
}

void TReader::ReadClassValue(TPersistent* Instance, const TPropInfo* PropInfo) {
    switch (NextValue()) {
    case vaNil:
        ReadValue();
        return SetObjectProp(Instance, PropInfo, nullptr);
    case vaCollection: {
        ReadValue();
        auto* Collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, PropInfo));
        if (!Collection)
            InvalidValue();
        return ReadCollection(Collection);
    }
    case vaIdent: {
        TClass Class = PropInfo->PropType->Data.ClassType();
        if (!Class || !Class->InheritsFrom(TComponent::StaticClass()))
            InvalidValue();
        if (!PropInfo->HasSetter())
            throw EPropertyError(Format("Property %s is read-only", PropInfo->Name));
        String Where = ComponentLabel(FReading) + "." + FPropPath;
        FFixups.push_back(TFixup{FReading ? FReading : FRoot, Instance, PropInfo, ReadIdent(),
                                 std::move(Where), FOptionalReferences});
        return;
    }
    default:
        SkipValue();
        InvalidValue();
    }
}

void TReader::ReadCollection(TCollection* Collection) {
    TNesting Nesting(FNesting);
    struct TUpdate {
        TCollection* C;
        ~TUpdate() { C->EndUpdate(); }
    };
    Collection->BeginUpdate();
    {
        TUpdate Update{Collection};
        Collection->Clear();
        while (!EndOfList()) {
            // An item order belongs to the ancestor's item of that index; items
            // are always read in stream order.
            if (IsIntegerValue(NextValue()))
                ReadInteger();
            TCollectionItem* Item = Collection->Add();
            ReadListBegin();
            while (!EndOfList())
                ReadProperty(Item);
            ReadListEnd();
        }
        ReadListEnd();
    }
}

// --- TReader: components -----------------------------------------------------

void TReader::NameComponent(TComponent* Component, String Name) {
    if (OnSetName)
        OnSetName(this, Component, Name);
    Component->SetName(Name);
}

TComponent* TReader::CreateComponent(const String& ClassName, const String& Name) {
    TClass Class = nullptr;
    // The class of the root's published field of that name needs no registration.
    if (const TPublishedField* Field = FRoot ? FRoot->ClassType()->FindField(Name) : nullptr)
        if (TClass FieldClass = Field->FieldClass(); SameText(FieldClass->ClassName(), ClassName))
            Class = FieldClass;
    if (!Class)
        Class = GetClass(ClassName);
    if (!Class)
        throw EReadError(Format("Error reading %s: Class %s not found", Name, ClassName));
    if (!Class->NewComponent)
        throw EReadError(Format("Class %s is not a component class", ClassName));
    TComponent* Result = Class->NewComponent(FOwner);
    FCreated.push_back(Result);
    return Result;
}

TComponent* TReader::FindInherited(const String& Name) {
    TComponent* Result = FOwner ? FOwner->FindComponent(Name) : nullptr;
    if (!Result)
        throw EReadError(Format("Ancestor for '%s' not found", Name));
    return Result;
}

void TReader::ReadComponentData(TComponent* Instance) {
    {
        TSetForScope<TComponent*> Reading(FReading, Instance);
        while (!EndOfList())
            ReadProperty(Instance);
        ReadListEnd();
    }
    TComponent* ChildOwner = Instance->GetChildOwner();
    TSetForScope<TComponent*> Owner(FOwner, ChildOwner ? ChildOwner : FRoot);
    TSetForScope<TComponent*> Parent(FParent, Instance->GetChildParent());
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadListEnd();
}

TComponent* TReader::ReadComponent(TComponent* Component) {
    TNesting Nesting(FNesting);
    size_t Created = FCreated.size(), Fixups = FFixups.size(), Loaded = FLoaded.size();
    try {
        TFilerFlags Flags;
        Integer ChildPos;
        ReadPrefix(Flags, ChildPos);
        String ClassName = ReadStr();
        String Name = ReadStr();
        TComponent* Result = Component;
        if (!Result)
            Result = Flags.Contains(ffInherited) ? FindInherited(Name)
                                                 : CreateComponent(ClassName, Name);
        Result->IncludeState(csLoading);
        Result->IncludeState(csReading);
        FLoaded.push_back(Result);
        if (!Flags.Contains(ffInherited))
            NameComponent(Result, Name);
        if (Flags.Contains(ffInline))
            Result->SetInline(true);
        if (FParent && Result->HasParent())
            Result->SetParentComponent(FParent);
        ReadComponentData(Result);
        if (FParent && Flags.Contains(ffChildPos))
            FParent->SetChildOrder(Result, ChildPos);
        return Result;
    } catch (...) {
        Rollback(Created, Fixups, Loaded);
        throw;
    }
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    size_t Created = FCreated.size(), Fixups = FFixups.size(), Loaded = FLoaded.size();
    try {
        ReadSignature();
        TFilerFlags Flags;
        Integer ChildPos;
        ReadPrefix(Flags, ChildPos);
        String ClassName = ReadStr();
        String Name = ReadStr();
        if (!Root) {
            SetRoot(nullptr);
            TSetForScope<TComponent*> Owner(FOwner, nullptr);
            Root = CreateComponent(ClassName, Name);
        }
        SetRoot(Root);
        Root->IncludeState(csLoading);
        Root->IncludeState(csReading);
        FLoaded.push_back(Root);
        NameComponent(Root, Name);
        {
            TSetForScope<TComponent*> Owner(FOwner, Root);
            TSetForScope<TComponent*> Parent(FParent, Root->GetChildParent());
            ReadComponentData(Root);
        }
        FixupReferences();
        CallLoaded(Loaded);
        FCreated.resize(Created);
    } catch (const EReadError&) {
        Rollback(Created, Fixups, Loaded);
        throw;
    } catch (const EAbort&) {
        Rollback(Created, Fixups, Loaded);
        throw;
    } catch (const Exception& E) {
        Rollback(Created, Fixups, Loaded);
        throw EReadError(E.Message());
    } catch (...) {
        Rollback(Created, Fixups, Loaded);
        throw;
    }
    GlobalFixupReferences();
    return Root;
}

void TReader::CallLoaded(size_t From) {
    std::vector<TComponent*> Done(FLoaded.begin() + static_cast<ptrdiff_t>(From), FLoaded.end());
    FLoaded.resize(From);
    for (TComponent* C : Done)
        C->ExcludeState(csReading);
    TLoadingBatch* Batch = TLoadingBatch::Current();
    for (TComponent* C : Done) {
        if (Batch)
            Batch->Add(C);
        else
            C->Loaded();
    }
}

void TReader::Rollback(size_t Created, size_t Fixups, size_t Loaded) noexcept {
    FFixups.resize(std::min(Fixups, FFixups.size()));
    std::unordered_set<TComponent*> Doomed(FCreated.begin() + static_cast<ptrdiff_t>(Created),
                                           FCreated.end());
    for (size_t I = Loaded; I < FLoaded.size(); ++I)
        if (!Doomed.count(FLoaded[I])) {
            FLoaded[I]->ExcludeState(csLoading);
            FLoaded[I]->ExcludeState(csReading);
        }
    FLoaded.resize(std::min(Loaded, FLoaded.size()));
    // Newest first: a component is always created after its owner.
    while (FCreated.size() > Created) {
        TComponent* C = FCreated.back();
        FCreated.pop_back();
        delete C;
    }
}

// --- References --------------------------------------------------------------

namespace {

std::vector<TFindGlobalComponent>& GlobalFinders() {
    static std::vector<TFindGlobalComponent> Finders;
    return Finders;
}

// "Form2.Button1": the first name is a root, or a component of Start.
TComponent* ResolvePath(TComponent* Start, const String& Reference) {
    TComponent* Current = nullptr;
    for (size_t Begin = 0; Begin <= Reference.size();) {
        size_t Dot = std::min(Reference.find('.', Begin), Reference.size());
        String Part = Reference.substr(Begin, Dot - Begin);
        if (Begin == 0) {
            if (Start && (SameText(Part, "Owner") || SameText(Part, Start->Name())))
                Current = Start;
            else if (Start)
                Current = Start->FindComponent(Part);
            if (!Current)
                Current = FindGlobalComponent(Part);
        } else {
            Current = Current->FindComponent(Part);
        }
        if (!Current)
            return nullptr;
        Begin = Dot + 1;
    }
    return Current;
}

// A qualified reference whose first name is neither Start, nor one of its
// components, nor a root that is loaded: it waits for that root.
bool RootIsMissing(TComponent* Start, const String& Reference) {
    size_t Dot = Reference.find('.');
    return Dot != String::npos && !ResolvePath(Start, Reference.substr(0, Dot));
}

// References to roots that were not loaded yet. A watcher drops the entries of
// a component that goes away before they are resolved.
class TPendingFixups : public TComponent {
public:
    TPendingFixups() : TComponent(nullptr) {}

    struct TEntry {
        TComponent* Context;
        TPersistent* Instance;
        const TPropInfo* PropInfo;
        String Reference;
    };

    void Add(TEntry Entry) {
        Entry.Context->FreeNotification(this);
        FEntries.push_back(std::move(Entry));
    }

    void Resolve() {
        for (size_t I = 0; I < FEntries.size();) {
            TComponent* Target = ResolvePath(nullptr, FEntries[I].Reference);
            if (!Target) {
                ++I;
                continue;
            }
            TEntry Entry = FEntries[I];
            FEntries.erase(FEntries.begin() + static_cast<ptrdiff_t>(I));
            try {
                SetObjectProp(Entry.Instance, Entry.PropInfo, Target);
            } catch (const Exception&) {
                // A component of another class now has that name: the reference stays nil.
            }
        }
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            std::erase_if(FEntries, [&](const TEntry& E) { return E.Context == AComponent; });
    }

private:
    std::vector<TEntry> FEntries;
};

TPendingFixups& PendingFixups() {
    static TPendingFixups* Pending = new TPendingFixups(); // lives as long as the process
    return *Pending;
}

} // namespace

void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
    auto& Finders = GlobalFinders();
    if (std::find(Finders.begin(), Finders.end(), Proc) == Finders.end())
        Finders.push_back(Proc);
}

void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc) {
    std::erase(GlobalFinders(), Proc);
}

TComponent* FindGlobalComponent(const String& Name) {
    for (TFindGlobalComponent Find : GlobalFinders())
        if (TComponent* Found = Find(Name))
            return Found;
    return nullptr;
}

void GlobalFixupReferences() {
    PendingFixups().Resolve();
}

TComponent* TReader::ResolveReference(const String& Reference) const {
    return ResolvePath(FLookupRoot, Reference);
}

void TReader::FixupReferences() {
    std::vector<TFixup> Fixups;
    Fixups.swap(FFixups);
    for (const TFixup& F : Fixups) {
        TComponent* Target = ResolveReference(F.Reference);
        if (!Target && RootIsMissing(FLookupRoot, F.Reference)) {
            PendingFixups().Add({F.Context, F.Instance, F.PropInfo, F.Reference});
            continue;
        }
        if (!Target && F.Optional) {
            if (OnMissingReference)
                OnMissingReference(F.Instance, F.Reference);
            continue;
        }
        if (!Target) {
            String Message =
                Format("Error reading %s: Unresolved reference to %s", F.Where, F.Reference);
            if (HandleError(Message))
                continue;
            throw EReadError(Message);
        }
        try {
            SetObjectProp(F.Instance, F.PropInfo, Target);
        } catch (const Exception& E) {
            throw EReadError(Format("Error reading %s: %s", F.Where, E.Message()));
        }
    }
}

// --- TLoadingBatch -----------------------------------------------------------

namespace {
thread_local TLoadingBatch* CurrentBatch = nullptr;
}

TLoadingBatch::TLoadingBatch() : FOuter(CurrentBatch) {
    CurrentBatch = this;
}

TLoadingBatch::~TLoadingBatch() {
    CurrentBatch = FOuter;
    for (TComponent* C : FComponents)
        C->ExcludeState(csLoading);
}

TLoadingBatch* TLoadingBatch::Current() noexcept {
    return CurrentBatch;
}

void TLoadingBatch::Add(TComponent* Component) {
    if (FSeen.insert(Component).second)
        FComponents.push_back(Component);
}

void TLoadingBatch::Finish() {
    CurrentBatch = FOuter;
    std::vector<TComponent*> Components;
    Components.swap(FComponents);
    FSeen.clear();
    for (TComponent* C : Components)
        C->Loaded();
}

// --- TWriter: raw data and values --------------------------------------------

TWriter::TWriter(TStream* Stream, Integer BufSize) : TFiler(Stream, BufSize) {}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // Destructors cannot report; callers that care call FlushBuffer.
    }
}

void TWriter::FlushBuffer() {
    if (FBufPos == 0)
        return;
    auto Count = static_cast<Integer>(FBufPos);
    FBufPos = 0;
    FStream->WriteBuffer(FBuffer.data(), Count);
}

void TWriter::Write(const void* Buffer, Integer Count) {
    auto N = static_cast<size_t>(std::max(Count, 0));
    if (N == 0)
        return;
    if (FBufPos + N > FBuffer.size())
        FlushBuffer();
    if (N >= FBuffer.size())
        return FStream->WriteBuffer(Buffer, Count);
    std::memcpy(FBuffer.data() + FBufPos, Buffer, N);
    FBufPos += N;
}

Int64 TWriter::Position() const {
    return FStream->Position() + static_cast<Int64>(FBufPos);
}

void TWriter::WriteValue(TValueType Value) {
    Byte B = Value;
    Write(&B, 1);
}

void TWriter::WriteStr(const String& Value) {
    if (Value.size() > MaxShortString)
        throw EWriteError(Format("Name longer than 255 bytes: %s", Value.substr(0, 64)));
    Byte Len = static_cast<Byte>(Value.size());
    Write(&Len, 1);
    Write(Value.data(), Len);
}

void TWriter::WriteInteger(Int64 Value) {
    Byte B[9];
    size_t Size;
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        B[0] = vaInt8;
        B[1] = static_cast<Byte>(Value);
        Size = 2;
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        B[0] = vaInt16;
        StoreLE(B + 1, static_cast<int16_t>(Value));
        Size = 3;
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        B[0] = vaInt32;
        StoreLE(B + 1, static_cast<int32_t>(Value));
        Size = 5;
    } else {
        B[0] = vaInt64;
        StoreLE(B + 1, Value);
        Size = 9;
    }
    Write(B, static_cast<Integer>(Size));
}

void TWriter::WriteFloat(Extended Value) {
    Byte B[11] = {vaExtended};
    EncodeExtended(Value, B + 1);
    Write(B, 11);
}

void TWriter::WriteSingle(Single Value) {
    Byte B[5] = {vaSingle};
    StoreLE(B + 1, std::bit_cast<Cardinal>(Value));
    Write(B, 5);
}

void TWriter::WriteCurrency(Currency Value) {
    Byte B[9] = {vaCurrency};
    StoreLE(B + 1, Value.Scaled);
    Write(B, 9);
}

void TWriter::WriteDate(TDateTime Value) {
    Byte B[9] = {vaDate};
    StoreLE(B + 1, std::bit_cast<UInt64>(static_cast<Double>(Value)));
    Write(B, 9);
}

void TWriter::WriteString(const String& Value) {
    if (Value.size() <= MaxShortString) {
        WriteValue(vaString);
        return WriteStr(Value);
    }
    if (Value.size() > INT32_MAX)
        throw EWriteError("Stream write error");
    Byte B[5] = {vaLString};
    StoreLE(B + 1, static_cast<int32_t>(Value.size()));
    Write(B, 5);
    Write(Value.data(), static_cast<Integer>(Value.size()));
}

void TWriter::WriteChar(char Value) {
    String S;
    AppendUtf8(S, static_cast<unsigned char>(Value));
    WriteString(S);
}

void TWriter::WriteIdent(const String& Ident) {
    static const std::pair<const char*, TValueType> Special[] = {
        {"False", vaFalse}, {"True", vaTrue}, {"nil", vaNil}, {"Null", vaNull}};
    for (const auto& [Name, Value] : Special)
        if (SameText(Ident, Name))
            return WriteValue(Value);
    WriteValue(vaIdent);
    WriteStr(Ident);
}

void TWriter::WriteBinary(const void* Data, Integer Count) {
    Byte B[5] = {vaBinary};
    StoreLE(B + 1, static_cast<int32_t>(Count));
    Write(B, 5);
    Write(Data, Count);
}

void TWriter::WriteSet(const std::vector<String>& Names) {
    WriteValue(vaSet);
    for (const String& Name : Names)
        WriteStr(Name);
    WriteStr(String());
}

void TWriter::WriteVariant(const Variant& Value) {
    switch (Value.VarType()) {
    case varEmpty:
        return WriteValue(vaNil);
    case varNull:
        return WriteValue(vaNull);
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
        return WriteInteger(Value.AsInt64());
    case varInt64: { // keeps its type: always the 64-bit code
        Byte B[9] = {vaInt64};
        StoreLE(B + 1, Value.AsInt64());
        return Write(B, 9);
    }
    case varSingle:
        return WriteSingle(static_cast<Single>(Value.AsDouble()));
    case varDouble:
        return WriteFloat(Value.AsDouble());
    case varCurrency:
        return WriteCurrency(Value.AsCurrency());
    case varDate:
        return WriteDate(Value.AsDate());
    case varBoolean:
        return WriteBoolean(Value.AsBoolean());
    case varString:
    case varOleStr:
        return WriteString(Value.AsString());
    default:
        throw EWriteError(
            Format("A variant of type %s cannot be streamed", VarTypeAsText(Value.VarType())));
    }
}

void TWriter::WriteCollection(TCollection* Value) {
    WriteValue(vaCollection);
    for (Integer I = 0; Value && I < Value->Count(); ++I) {
        WriteListBegin();
        {
            TSetForScope<String> Path(FPropPath, String());
            TSetForScope<TPersistent*> Ancestor(FAncestor, nullptr);
            WriteProperties(Value->Items(I));
        }
        WriteListEnd();
    }
    WriteListEnd();
}

// --- TWriter: properties -----------------------------------------------------

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
    if (!HasData || !WriteData)
        return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&,
                                   const TStreamProc& WriteData, bool HasData) {
    if (!HasData || !WriteData)
        return;
    TMemoryStream Data;
    WriteData(&Data);
    if (Data.Size() > INT32_MAX)
        throw EWriteError("Stream write error");
    WritePropName(Name);
    WriteBinary(Data.Memory(), static_cast<Integer>(Data.Size()));
}

void TWriter::WritePropName(const String& Name) {
    WriteStr(FPropPath + Name);
}

void TWriter::WriteProperties(TPersistent* Instance) {
    for (const TPropInfo* PropInfo : Instance->ClassType()->Properties())
        if (PropInfo->HasGetter() && IsStoredProp(Instance, PropInfo))
            WriteProperty(Instance, PropInfo);
    Instance->DefineProperties(this);
}

namespace {

// The ancestor object to compare a property with, when it has the same property.
TPersistent* AncestorOf(TPersistent* Ancestor, const TPropInfo* PropInfo) {
    if (!Ancestor)
        return nullptr;
    const auto& Props = Ancestor->ClassType()->Properties();
    auto Index = static_cast<size_t>(PropInfo->NameIndex);
    return Index < Props.size() && Props[Index] == PropInfo ? Ancestor : nullptr;
}

} // namespace

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* PropInfo) {
    TTypeKind Kind = PropInfo->PropType->Kind;
    if (!PropInfo->HasSetter() && Kind != tkClass)
        return;
    switch (Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        return WriteOrdinalProp(Instance, PropInfo);
    case tkInt64:
        return WriteInt64Prop(Instance, PropInfo);
    case tkFloat:
        return WriteFloatProp(Instance, PropInfo);
    case tkString:
    case tkLString:
    case tkWString:
        return WriteStringProp(Instance, PropInfo);
    case tkVariant:
        return WriteVariantProp(Instance, PropInfo);
    case tkMethod:
        return WriteMethodProp(Instance, PropInfo);
    case tkClass:
        return WriteClassProp(Instance, PropInfo);
    default:
        return;
    }
}

void TWriter::WriteOrdinalProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    Int64 Value = GetOrdProp(Instance, PropInfo);
    if (TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo)) {
        if (Value == GetOrdProp(Ancestor, PropInfo))
            return;
    } else if (PropInfo->Default != NoDefault && Value == PropInfo->Default) {
        return;
    }
    const TTypeInfo* Type = PropInfo->PropType;
    WritePropName(PropInfo->Name);
    switch (Type->Kind) {
    case tkInteger:
        if (std::optional<String> Ident = IntToIdent(Type, Value))
            return WriteIdent(*Ident);
        return WriteInteger(Value);
    case tkChar:
        return WriteChar(static_cast<char>(Value));
    case tkEnumeration:
        return WriteIdent(GetEnumName(Type, static_cast<Integer>(Value)));
    default: { // tkSet
        std::vector<String> Names;
        for (Integer Element = 0; Element < 32; ++Element)
            if (Value & (Int64(1) << Element))
                Names.push_back(GetEnumName(Type->Data.CompType, Element));
        return WriteSet(Names);
    }
    }
}

void TWriter::WriteInt64Prop(TPersistent* Instance, const TPropInfo* PropInfo) {
    Int64 Value = GetInt64Prop(Instance, PropInfo);
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    if (Value == (Ancestor ? GetInt64Prop(Ancestor, PropInfo) : 0))
        return;
    WritePropName(PropInfo->Name);
    WriteInteger(Value);
}

void TWriter::WriteFloatProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    Extended Value = GetFloatProp(Instance, PropInfo);
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    Extended Base = Ancestor ? GetFloatProp(Ancestor, PropInfo) : 0;
    if (Value == Base && std::signbit(Value) == std::signbit(Base))
        return;
    WritePropName(PropInfo->Name);
    const TTypeInfo* Type = PropInfo->PropType;
    if (Type->Data.FloatType == ftSingle)
        WriteSingle(static_cast<Single>(Value));
    else if (Type->Data.FloatType == ftCurr)
        WriteCurrency(Currency::FromScaled(std::llround(Value * Currency::Scale)));
    else if (IsDateType(Type))
        WriteDate(static_cast<TDateTime>(Value));
    else
        WriteFloat(Value);
}

void TWriter::WriteStringProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    String Value = GetStrProp(Instance, PropInfo);
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    if (Value == (Ancestor ? GetStrProp(Ancestor, PropInfo) : String()))
        return;
    WritePropName(PropInfo->Name);
    WriteString(Value);
}

void TWriter::WriteVariantProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    Variant Value = GetVariantProp(Instance, PropInfo);
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    if (Value.SameAs(Ancestor ? GetVariantProp(Ancestor, PropInfo) : Variant()))
        return;
    WritePropName(PropInfo->Name);
    WriteVariant(Value);
}

String TWriter::HandlerName(const TMethod& Value) const {
    if (!Value.Assigned() || !FLookupRoot || Value.Data != dynamic_cast<void*>(FLookupRoot))
        return String();
    return FLookupRoot->MethodName(Value.Code);
}

void TWriter::WriteMethodProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    TMethod Value = GetMethodProp(Instance, PropInfo);
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    TMethod Base = Ancestor ? GetMethodProp(Ancestor, PropInfo) : TMethod{};
    if (Value.Code == Base.Code)
        return;
    String Name = HandlerName(Value);
    if (!Name.empty()) {
        WritePropName(PropInfo->Name);
        WriteIdent(Name);
    } else if (Base.Assigned()) { // the ancestor's handler is taken away
        WritePropName(PropInfo->Name);
        WriteValue(vaNil);
    }
}

void TWriter::WriteClassProp(TPersistent* Instance, const TPropInfo* PropInfo) {
    TObject* Value = GetObjectProp(Instance, PropInfo);
    TClass Class = PropInfo->PropType->Data.ClassType();
    if (Class && Class->InheritsFrom(TComponent::StaticClass())) {
        if (PropInfo->HasSetter())
            WriteReferenceProp(static_cast<TComponent*>(Value), PropInfo);
    } else if (auto* Collection = dynamic_cast<TCollection*>(Value)) {
        WriteCollectionProp(Collection, PropInfo);
    } else if (auto* Sub = dynamic_cast<TPersistent*>(Value)) {
        WriteSubObject(Sub, PropInfo);
    }
}

String TWriter::ReferenceName(const TComponent* Value) const {
    if (!Value)
        return String();
    if (Value == FLookupRoot)
        return "Owner";
    String Path = Value->Name();
    for (const TComponent* O = Value->Owner(); !Path.empty() && O && O != FLookupRoot;
         O = O->Owner())
        Path = O->Name().empty() ? String() : O->Name() + "." + Path;
    return Path;
}

void TWriter::WriteReferenceProp(TComponent* Value, const TPropInfo* PropInfo) {
    String Name = ReferenceName(Value);
    if (TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo)) {
        // The ancestor's references name the ancestor's components.
        TSetForScope<TComponent*> Lookup(FLookupRoot, FRootAncestor);
        String Base = ReferenceName(static_cast<TComponent*>(GetObjectProp(Ancestor, PropInfo)));
        if (SameText(Name, Base))
            return;
        if (Name.empty()) {
            WritePropName(PropInfo->Name);
            return WriteValue(vaNil);
        }
    }
    if (Name.empty())
        return;
    WritePropName(PropInfo->Name);
    WriteIdent(Name);
}

bool TWriter::CollectionsEqual(TCollection* A, TCollection* B) {
    auto Bytes = [](TCollection* C, TComponent* Root) {
        TMemoryStream Stream;
        TWriter Writer(&Stream);
        Writer.SetRoot(Root);
        Writer.WriteCollection(C);
        Writer.FlushBuffer();
        return std::vector<Byte>(Stream.Memory(), Stream.Memory() + Stream.Size());
    };
    return Bytes(A, FLookupRoot) == Bytes(B, FRootAncestor);
}

void TWriter::WriteCollectionProp(TCollection* Value, const TPropInfo* PropInfo) {
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    auto* Base = Ancestor ? dynamic_cast<TCollection*>(GetObjectProp(Ancestor, PropInfo)) : nullptr;
    if (Base ? CollectionsEqual(Value, Base) : Value->Count() == 0)
        return;
    WritePropName(PropInfo->Name);
    WriteCollection(Value);
}

void TWriter::WriteSubObject(TPersistent* Value, const TPropInfo* PropInfo) {
    TPersistent* Ancestor = AncestorOf(FAncestor, PropInfo);
    auto* Base = Ancestor ? dynamic_cast<TPersistent*>(GetObjectProp(Ancestor, PropInfo)) : nullptr;
    TSetForScope<String> Path(FPropPath, FPropPath + PropInfo->Name + ".");
    TSetForScope<TPersistent*> AncestorScope(FAncestor, Base);
    WriteProperties(Value);
}

// --- TWriter: components -----------------------------------------------------

void TWriter::WriteSignature() {
    Write(Signature, 4);
}

void TWriter::WritePrefix(TFilerFlags Flags, Integer ChildPos) {
    if (Flags.Empty())
        return;
    Byte B = static_cast<Byte>(0xF0 | Flags.Bits());
    Write(&B, 1);
    if (Flags.Contains(ffChildPos))
        WriteInteger(ChildPos);
}

void TWriter::WriteComponent(TComponent* Component) {
    struct TWriting {
        TComponent* C;
        ~TWriting() { C->ExcludeState(csWriting); }
    };
    Component->IncludeState(csWriting);
    TWriting Writing{Component};
    TFilerFlags Flags;
    if (FAncestor)
        Flags.Include(ffInherited);
    if (Component->ComponentState().Contains(csInline))
        Flags.Include(ffInline);
    WritePrefix(Flags, 0);
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    WriteProperties(Component);
    WriteListEnd();
    if (!IgnoreChildren)
        Component->GetChildren(
            [this](TComponent* Child) {
                TComponent* Base = FRootAncestor && Child->Owner() == FRoot
                                       ? FRootAncestor->FindComponent(Child->Name())
                                       : nullptr;
                TSetForScope<TPersistent*> Ancestor(FAncestor, Base);
                WriteComponent(Child);
            },
            FRoot);
    WriteListEnd();
}

void TWriter::WriteRootComponent(TComponent* Root) {
    WriteDescendent(Root, nullptr);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* AncestorRoot) {
    SetRoot(Root);
    FRootAncestor = AncestorRoot;
    FAncestor = AncestorRoot;
    WriteSignature();
    WriteComponent(Root);
    FlushBuffer();
}

// --- TStream -----------------------------------------------------------------

TComponent* TStream::ReadComponent(TComponent* Instance) {
    TReader Reader(this);
    return Reader.ReadRootComponent(Instance);
}

void TStream::WriteComponent(TComponent* Instance) {
    WriteDescendent(Instance, nullptr);
}

void TStream::WriteDescendent(TComponent* Instance, TComponent* Ancestor) {
    TWriter Writer(this);
    Writer.WriteDescendent(Instance, Ancestor);
}

} // namespace orlo
