#pragma once
// Run-time type information of published properties: type kinds and type data,
// property descriptors with type-erased accessors, the typed property routines,
// and the registration block through which a class publishes its members:
//
//   ORLO_PUBLISHED(TLabel, "StdCtrls") {
//       P.Property("Caption", &TLabel::GetCaption, &TLabel::SetCaption).Type(TCaptionInfo());
//       P.Property("Tag", &TLabel::FTag).Default(0);
//       P.Field("Button1", &TForm1::Button1);
//       P.Method<&TForm1::Button1Click>("Button1Click");
//   }

#include "platform/classes/Object.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <type_traits>

namespace orlo {

// The kinds of published properties; their names (TypeInfoOf<TTypeKind>()) are
// also their stored form.
enum TTypeKind : Byte {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;
constexpr TTypeKinds tkAny = TTypeKinds::FromBits((1u << (tkDynArray + 1)) - 1);
constexpr TTypeKinds tkProperties = tkAny - TTypeKinds{tkMethod};

enum TOrdType : Byte { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : Byte { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// The no-default marker of a property descriptor, and of "no index specifier".
constexpr Integer NoDefault = std::numeric_limits<Integer>::min();

struct TTypeData {
    TOrdType OrdType = otSLong; // ordinal kinds
    Int64 MinValue = 0;         // ordinal kinds and tkInt64
    Int64 MaxValue = 0;
    std::vector<String> EnumNames;       // tkEnumeration: name of ordinal n at n
    const TTypeInfo* CompType = nullptr; // tkSet: element type
    TFloatType FloatType = ftDouble;     // tkFloat
    TClass (*ClassTypeOf)() = nullptr;   // tkClass: the class, built on demand
    TClass ClassType() const { return ClassTypeOf ? ClassTypeOf() : nullptr; }
};

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    String Name;
    TTypeData Data;
};

inline const TTypeData* GetTypeData(const TTypeInfo* Info) {
    return Info ? &Info->Data : nullptr;
}

// Makers of type information for named types (aliases, subranges, enumerations, sets).
TTypeInfo MakeOrdinalTypeInfo(const char* Name, TTypeKind Kind, TOrdType OrdType, Int64 Min,
                              Int64 Max);
TTypeInfo MakeEnumTypeInfo(const char* Name, const char* CommaSeparatedNames);
TTypeInfo MakeSetTypeInfo(const char* Name, const TTypeInfo* ElementType);
TTypeInfo MakeStringTypeInfo(const char* Name, TTypeKind Kind = tkLString);
TTypeInfo MakeFloatTypeInfo(const char* Name, TFloatType FloatType);
TTypeInfo MakeMethodTypeInfo(const char* Name);
TTypeInfo MakeClassTypeInfo(const char* Name, TClass (*ClassTypeOf)());

// Type information of the built-in types, found by overload (and by ADL for
// the types that ORLO_ENUM, ORLO_SET, ORLO_EVENT and ORLO_CLASS declare).
const TTypeInfo* TypeInfoFor(Integer*);
const TTypeInfo* TypeInfoFor(Cardinal*);
const TTypeInfo* TypeInfoFor(SmallInt*);
const TTypeInfo* TypeInfoFor(Word*);
const TTypeInfo* TypeInfoFor(ShortInt*);
const TTypeInfo* TypeInfoFor(Byte*);
const TTypeInfo* TypeInfoFor(Int64*);
const TTypeInfo* TypeInfoFor(bool*);
const TTypeInfo* TypeInfoFor(char*);
const TTypeInfo* TypeInfoFor(String*);
const TTypeInfo* TypeInfoFor(Single*);
const TTypeInfo* TypeInfoFor(Double*);
const TTypeInfo* TypeInfoFor(Extended*);
const TTypeInfo* TypeInfoFor(Currency*);
const TTypeInfo* TypeInfoFor(Variant*);
const TTypeInfo* TypeInfoFor(TNotifyEvent*);
const TTypeInfo* TypeInfoFor(TTypeKind*);
const TTypeInfo* TDateTimeTypeInfo(); // TDateTime is a Double; declare it with .Type()

template <class U>
requires std::is_base_of_v<TObject, U>
const TTypeInfo* TypeInfoFor(U**) {
    static const TTypeInfo Info = MakeClassTypeInfo(U::StaticClassName, &U::StaticClass);
    return &Info;
}

template <class T> const TTypeInfo* TypeInfoOf() {
    return TypeInfoFor(static_cast<T*>(nullptr));
}

// Declares an enumeration with its element names: ORLO_ENUM(TAlign, alNone, alTop).
#define ORLO_ENUM(Name, ...)                                                                       \
    enum Name : ::orlo::Byte { __VA_ARGS__ };                                                      \
    inline const ::orlo::TTypeInfo* TypeInfoFor(Name*) {                                           \
        static const ::orlo::TTypeInfo Info = ::orlo::MakeEnumTypeInfo(#Name, #__VA_ARGS__);       \
        return &Info;                                                                              \
    }

// Declares a set type of an ORLO_ENUM enumeration: ORLO_SET(TFontStyles, TFontStyle).
#define ORLO_SET(Name, Element)                                                                    \
    using Name = ::orlo::TSet<Element>;                                                            \
    inline const ::orlo::TTypeInfo* TypeInfoFor(::orlo::TSet<Element>*) {                          \
        static const ::orlo::TTypeInfo Info =                                                      \
            ::orlo::MakeSetTypeInfo(#Name, TypeInfoFor(static_cast<Element*>(nullptr)));           \
        return &Info;                                                                              \
    }

// Declares an event type with type information: ORLO_EVENT(TLangNotify, void(TGlossa*)).
#define ORLO_EVENT(Name, ...)                                                                      \
    ORLO_EVENT_TYPE(Name, __VA_ARGS__);                                                            \
    inline const ::orlo::TTypeInfo* TypeInfoFor(Name*) {                                           \
        static const ::orlo::TTypeInfo Info = ::orlo::MakeMethodTypeInfo(#Name);                   \
        return &Info;                                                                              \
    }

// Type-erased access to one property; each method serves one group of kinds.
class TPropAccess {
public:
    virtual ~TPropAccess() = default;
    virtual bool CanRead() const = 0;
    virtual bool CanWrite() const = 0;
    virtual bool IsStored(const TObject* Instance) const = 0;
    virtual Int64 GetOrd(const TObject* Instance) const; // ordinals, tkInt64
    virtual void SetOrd(TObject* Instance, Int64 Value) const;
    virtual String GetStr(const TObject* Instance) const; // string kinds
    virtual void SetStr(TObject* Instance, const String& Value) const;
    virtual Extended GetFloat(const TObject* Instance) const; // tkFloat
    virtual void SetFloat(TObject* Instance, Extended Value) const;
    virtual TMethod GetMethod(const TObject* Instance) const; // tkMethod
    virtual void SetMethod(TObject* Instance, const TMethod& Value) const;
    virtual Variant GetVariant(const TObject* Instance) const; // tkVariant
    virtual void SetVariant(TObject* Instance, const Variant& Value) const;
};

struct TPropInfo {
    const TTypeInfo* PropType = nullptr;
    String Name;
    Integer Index = NoDefault;   // index specifier; NoDefault when none
    Integer Default = NoDefault; // default ordinal; NoDefault when none
    Integer NameIndex = 0;       // position in the class's property list
    std::unique_ptr<TPropAccess> Access;

    bool HasGetter() const { return Access->CanRead(); }
    bool HasSetter() const { return Access->CanWrite(); }
};

// Published properties of a class (ancestors first), filtered by kind.
std::vector<const TPropInfo*> GetPropList(const TTypeInfo* TypeInfo, TTypeKinds Kinds = tkAny);
std::vector<const TPropInfo*> GetPropList(const TObject* Instance, TTypeKinds Kinds = tkAny);
const TPropInfo* GetPropInfo(const TTypeInfo* TypeInfo, const String& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const String& PropName);
TTypeKind PropType(const TObject* Instance, const String& PropName); // EPropertyError if unknown

// Typed access; wrong kinds and missing accessors raise EPropertyError.
Int64 GetOrdProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value);
String GetStrProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetStrProp(TObject* Instance, const TPropInfo* PropInfo, const String& Value);
Extended GetFloatProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetFloatProp(TObject* Instance, const TPropInfo* PropInfo, Extended Value);
Int64 GetInt64Prop(const TObject* Instance, const TPropInfo* PropInfo);
void SetInt64Prop(TObject* Instance, const TPropInfo* PropInfo, Int64 Value);
TMethod GetMethodProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetMethodProp(TObject* Instance, const TPropInfo* PropInfo, const TMethod& Value);
Variant GetVariantProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetVariantProp(TObject* Instance, const TPropInfo* PropInfo, const Variant& Value);
TObject* GetObjectProp(const TObject* Instance, const TPropInfo* PropInfo);
void SetObjectProp(TObject* Instance, const TPropInfo* PropInfo, TObject* Value);
bool IsStoredProp(const TObject* Instance, const TPropInfo* PropInfo);

// Name of an enumeration value, "" when out of range; value of a name
// (without regard to case), -1 when there is none.
String GetEnumName(const TTypeInfo* TypeInfo, Integer Value);
Integer GetEnumValue(const TTypeInfo* TypeInfo, const String& Name);

// Named values of an integer type ("clBtnFace" for a TColor): the form reader
// takes the name where a number is expected and the writer writes the name.
struct TIdentMapEntry {
    Int64 Value;
    const char* Name;
};
// Registers the names of IntegerType (replacing earlier ones); Map is kept, not copied.
void RegisterIntegerConsts(const TTypeInfo* IntegerType, std::span<const TIdentMapEntry> Map);
// Without regard to case; nothing when IntegerType has no such name.
std::optional<Int64> IdentToInt(const TTypeInfo* IntegerType, const String& Ident);
std::optional<String> IntToIdent(const TTypeInfo* IntegerType, Int64 Value);

// Unit name recorded for a class; "" for a class without type information.
String GetTypeUnitName(const TTypeInfo* TypeInfo);

namespace detail {

template <class T> struct IsEvent : std::is_base_of<TMethod, T> {};
template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type {};
template <class T>
constexpr bool IsObjectPointer =
    std::is_pointer_v<T>&& std::is_base_of_v<TObject, std::remove_pointer_t<T>>;
template <class T>
constexpr bool IsOrdinal =
    std::is_integral_v<T> || std::is_enum_v<T> || IsSet<T>::value || IsObjectPointer<T>;
template <class T>
constexpr bool IsFloat = std::is_floating_point_v<T> || std::is_same_v<T, Currency>;

[[noreturn]] void RaiseInvalidPropertyValue();

template <class T> Int64 ToOrd(const T& Value) {
    if constexpr (IsSet<T>::value)
        return Value.Bits();
    else if constexpr (IsObjectPointer<T>)
        return reinterpret_cast<intptr_t>(static_cast<const TObject*>(Value));
    else if constexpr (std::is_same_v<T, char>)
        return static_cast<unsigned char>(Value); // character codes are 0..255
    else
        return static_cast<Int64>(Value);
}

template <class T> T FromOrd(Int64 Value) {
    if constexpr (IsSet<T>::value) {
        return T::FromBits(static_cast<Cardinal>(Value));
    } else if constexpr (IsObjectPointer<T>) {
        auto* Obj = reinterpret_cast<TObject*>(static_cast<intptr_t>(Value));
        auto* Typed = dynamic_cast<T>(Obj);
        if (Obj && !Typed)
            RaiseInvalidPropertyValue();
        return Typed;
    } else {
        return static_cast<T>(Value);
    }
}

template <class T> Extended ToFloat(const T& Value) {
    if constexpr (std::is_same_v<T, Currency>)
        return static_cast<Extended>(Value.Scaled) / Currency::Scale;
    else
        return static_cast<Extended>(Value);
}

template <class T> T FromFloat(Extended Value) {
    if constexpr (std::is_same_v<T, Currency>)
        return Currency::FromDouble(static_cast<double>(Value));
    else
        return static_cast<T>(Value);
}

// The accessor of a property of type T on class C.
template <class C, class T> class TTypedAccess final : public TPropAccess {
public:
    using Getter = std::function<T(const C&)>;
    using Setter = std::function<void(C&, const T&)>;
    using StoredFn = std::function<bool(const C&)>;

    TTypedAccess(Getter Get, Setter Set) : FGet(std::move(Get)), FSet(std::move(Set)) {}
    void SetStored(StoredFn Stored) { FStored = std::move(Stored); }

    bool CanRead() const override { return static_cast<bool>(FGet); }
    bool CanWrite() const override { return static_cast<bool>(FSet); }
    bool IsStored(const TObject* Instance) const override {
        return !FStored || FStored(Self(Instance));
    }

    Int64 GetOrd(const TObject* Instance) const override {
        if constexpr (IsOrdinal<T>)
            return ToOrd(Read(Instance));
        else
            return TPropAccess::GetOrd(Instance);
    }
    void SetOrd(TObject* Instance, Int64 Value) const override {
        if constexpr (IsOrdinal<T>)
            Write(Instance, FromOrd<T>(Value));
        else
            TPropAccess::SetOrd(Instance, Value);
    }
    String GetStr(const TObject* Instance) const override {
        if constexpr (std::is_same_v<T, String>)
            return Read(Instance);
        else
            return TPropAccess::GetStr(Instance);
    }
    void SetStr(TObject* Instance, const String& Value) const override {
        if constexpr (std::is_same_v<T, String>)
            Write(Instance, Value);
        else
            TPropAccess::SetStr(Instance, Value);
    }
    Extended GetFloat(const TObject* Instance) const override {
        if constexpr (IsFloat<T>)
            return ToFloat(Read(Instance));
        else
            return TPropAccess::GetFloat(Instance);
    }
    void SetFloat(TObject* Instance, Extended Value) const override {
        if constexpr (IsFloat<T>)
            Write(Instance, FromFloat<T>(Value));
        else
            TPropAccess::SetFloat(Instance, Value);
    }
    TMethod GetMethod(const TObject* Instance) const override {
        if constexpr (IsEvent<T>::value)
            return Read(Instance);
        else
            return TPropAccess::GetMethod(Instance);
    }
    void SetMethod(TObject* Instance, const TMethod& Value) const override {
        if constexpr (IsEvent<T>::value)
            Write(Instance, T(Value));
        else
            TPropAccess::SetMethod(Instance, Value);
    }
    Variant GetVariant(const TObject* Instance) const override {
        if constexpr (std::is_same_v<T, Variant>)
            return Read(Instance);
        else
            return TPropAccess::GetVariant(Instance);
    }
    void SetVariant(TObject* Instance, const Variant& Value) const override {
        if constexpr (std::is_same_v<T, Variant>)
            Write(Instance, Value);
        else
            TPropAccess::SetVariant(Instance, Value);
    }

private:
    static const C& Self(const TObject* Instance) { return static_cast<const C&>(*Instance); }
    T Read(const TObject* Instance) const { return FGet(Self(Instance)); }
    void Write(TObject* Instance, const T& Value) const { FSet(static_cast<C&>(*Instance), Value); }

    Getter FGet;
    Setter FSet;
    StoredFn FStored;
};

template <class M> struct MemberFn;
template <class C, class R> struct MemberFn<R (C::*)() const> { using Value = std::decay_t<R>; };
template <class C, class R> struct MemberFn<R (C::*)(Integer) const> {
    using Value = std::decay_t<R>;
};
template <class C, class R> struct MemberFn<R (C::*)() const noexcept> {
    using Value = std::decay_t<R>;
};
template <class C, class R> struct MemberFn<R (C::*)(Integer) const noexcept> {
    using Value = std::decay_t<R>;
};

} // namespace detail

// Fluent options of one published property.
template <class C, class T> class TPropBuilder {
public:
    TPropBuilder(TPropInfo& Info, detail::TTypedAccess<C, T>& Access)
        : FInfo(Info), FAccess(Access) {}
    TPropBuilder& Default(Integer Value) {
        FInfo.Default = Value;
        return *this;
    }
    TPropBuilder& Stored(bool Value) {
        FAccess.SetStored([Value](const C&) { return Value; });
        return *this;
    }
    TPropBuilder& Stored(bool (C::*Predicate)() const) {
        FAccess.SetStored([Predicate](const C& Obj) { return (Obj.*Predicate)(); });
        return *this;
    }
    // Gives the property a named type ("TCaption") of the same kind as T.
    TPropBuilder& Type(const TTypeInfo* Info) {
        FInfo.PropType = Info;
        return *this;
    }

private:
    TPropInfo& FInfo;
    detail::TTypedAccess<C, T>& FAccess;
};

// The registration block's view of the class being published.
template <class C> class TPublisher {
public:
    explicit TPublisher(TMetaClass& Meta) : FMeta(Meta) {}

    // Read and write through a field (of C or of a base class of C).
    template <class T, class B>
    requires(!std::is_function_v<T> &&
             std::is_base_of_v<B, C>) TPropBuilder<C, T> Property(const char* Name, T B::*Field) {
        return Add<T>(
            Name, NoDefault, [Field](const C& Obj) { return Obj.*Field; },
            [Field](C& Obj, const T& V) { Obj.*Field = V; });
    }
    // Read through a getter, write through a setter (taking T or const T&).
    template <class G, class B, class S>
    requires std::is_member_function_pointer_v<G> && std::is_base_of_v<B, C>
    auto Property(const char* Name, G Get, void (B::*Set)(S)) {
        using T = typename detail::MemberFn<G>::Value;
        return Add<T>(
            Name, NoDefault, [Get](const C& Obj) -> T { return (Obj.*Get)(); },
            [Set](C& Obj, const T& V) { (Obj.*Set)(V); });
    }
    // Read through a field, write through a setter.
    template <class T, class B, class B2, class S>
    requires(!std::is_function_v<T> && std::is_base_of_v<B, C> &&
             std::is_base_of_v<B2, C>) TPropBuilder<C, T> Property(const char* Name, T B::*Field,
                                                                   void (B2::*Set)(S)) {
        return Add<T>(
            Name, NoDefault, [Field](const C& Obj) { return Obj.*Field; },
            [Set](C& Obj, const T& V) { (Obj.*Set)(V); });
    }
    // Read-only through a getter.
    template <class G>
    requires std::is_member_function_pointer_v<G>
    auto ReadOnly(const char* Name, G Get) {
        using T = typename detail::MemberFn<G>::Value;
        return Add<T>(Name, NoDefault, [Get](const C& Obj) -> T { return (Obj.*Get)(); }, {});
    }
    // Read-only through a field.
    template <class T, class B>
    requires(!std::is_function_v<T> &&
             std::is_base_of_v<B, C>) TPropBuilder<C, T> ReadOnly(const char* Name, T B::*Field) {
        return Add<T>(Name, NoDefault, [Field](const C& Obj) { return Obj.*Field; }, {});
    }
    // With an index specifier: Get(Index) and Set(Index, Value).
    template <class G, class B, class S>
    requires std::is_base_of_v<B, C>
    auto Indexed(const char* Name, Integer Index, G Get, void (B::*Set)(Integer, S)) {
        using T = typename detail::MemberFn<G>::Value;
        return Add<T>(
            Name, Index, [Get, Index](const C& Obj) -> T { return (Obj.*Get)(Index); },
            [Set, Index](C& Obj, const T& V) { (Obj.*Set)(Index, V); });
    }

    // A published field: a component reference bound by name when a form is read.
    template <class F, class B>
    requires std::is_base_of_v<B, C>
    void Field(const char* Name, F* B::*Member) {
        static_assert(std::is_base_of_v<TObject, F>);
        FMeta.AddField(
            TPublishedField{Name, &F::StaticClass, [Member](TObject* Instance, TObject* Value) {
                                static_cast<C*>(Instance)->*Member = dynamic_cast<F*>(Value);
                            }});
    }

    // A published method: an event handler found by name.
    template <auto Member> void Method(const char* Name) {
        FMeta.AddMethod(TPublishedMethod{Name, MethodThunk<Member>()});
    }

private:
    template <class T>
    TPropBuilder<C, T> Add(const char* Name, Integer Index,
                           typename detail::TTypedAccess<C, T>::Getter Get,
                           typename detail::TTypedAccess<C, T>::Setter Set) {
        auto Access = std::make_unique<detail::TTypedAccess<C, T>>(std::move(Get), std::move(Set));
        auto& AccessRef = *Access;
        auto Info = std::make_unique<TPropInfo>();
        Info->PropType = TypeInfoOf<T>();
        Info->Name = Name;
        Info->Index = Index;
        Info->Access = std::move(Access);
        auto& InfoRef = *Info;
        FMeta.AddProperty(std::move(Info));
        return TPropBuilder<C, T>(InfoRef, AccessRef);
    }

    TMetaClass& FMeta;
};

template <class C>
const TMetaClass* TMetaClass::Make(const char* Name, const char* UnitName, bool Published) {
    auto* Meta = new TMetaClass(Name, UnitName, C::inherited::StaticClass(),
                                TypeInfoFor(static_cast<C**>(nullptr)), Published);
    Meta->FTypeId = &typeid(C);
    if constexpr (std::is_base_of_v<TComponent, C>)
        Meta->FOverridesNotification =
            !std::is_same_v<decltype(&C::Notification),
                            void (TComponent::*)(TComponent*, TOperation)>;
    if constexpr (!std::is_abstract_v<C>) {
        if constexpr (std::is_base_of_v<TComponent, C> && std::is_constructible_v<C, TComponent*>)
            Meta->NewComponent = [](TComponent* Owner) -> TComponent* { return new C(Owner); };
        if constexpr (std::is_base_of_v<TCollectionItem, C> &&
                      std::is_constructible_v<C, TCollection*>)
            Meta->NewCollectionItem = [](TCollection* Collection) -> TCollectionItem* {
                return new C(Collection);
            };
        if constexpr (std::is_default_constructible_v<C>)
            Meta->NewObject = []() -> TObject* { return new C(); };
    }
    TPublisher<C> Publisher(*Meta);
    C::Publish(Publisher);
    Meta->Finish();
    return Meta;
}

// Defines the metaclass of a class and opens its registration block:
//   ORLO_PUBLISHED(TLabel, "StdCtrls") { P.Property(...); }
#define ORLO_PUBLISHED(Name, UnitName)                                                             \
    ::orlo::TClass Name::StaticClass() {                                                           \
        static const ::orlo::TMetaClass* const Meta =                                              \
            ::orlo::TMetaClass::Make<Name>(#Name, UnitName, true);                                 \
        return Meta;                                                                               \
    }                                                                                              \
    void Name::Publish([[maybe_unused]] ::orlo::TPublisher<Name>& P)

// Defines the metaclass of a class that publishes no type information.
#define ORLO_UNPUBLISHED(Name, UnitName)                                                           \
    ::orlo::TClass Name::StaticClass() {                                                           \
        static const ::orlo::TMetaClass* const Meta =                                              \
            ::orlo::TMetaClass::Make<Name>(#Name, UnitName, false);                                \
        return Meta;                                                                               \
    }                                                                                              \
    void Name::Publish(::orlo::TPublisher<Name>&) {}

} // namespace orlo
