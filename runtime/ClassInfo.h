#pragma once
// TClassInfo: the one accessor through which the product reads and writes a
// published property of any object by its run-time type information, without
// knowing the object's class.
//
//   TClassInfo Info(Label);                  // all published properties of Label
//   Info.Select(Info.IndexOf("Caption"));
//   Info.SetValue(Variant("&OK"));           // by kind: text, number, element name ...
//   String Text = Info.GetAsString();
//
// Values travel as Variant; every kind has a text form:
//   tkInteger, tkChar   integer Variant (a character as its code)
//   tkEnumeration       the element name ("alTop")
//   tkFloat             double Variant
//   string kinds        string Variant
//   tkSet               "[fsBold,fsItalic]" (see TypeTools.h)
//   tkClass             the object's address as 16 upper-case hexadecimal digits
//                       and "h"; nil is "0000000000000000h"
//   tkMethod            code and data address, 16 digits each, then "h" (33 characters)
//   tkVariant           the Variant itself
// Other kinds (tkWChar, tkInt64, arrays, records, interfaces) are refused.
//
// Object and method texts name addresses, so writing one back is checked: the
// accessor stores only nil, the value the property already holds, or an object
// it can vouch for (the instance itself and the components of the component
// tree the instance belongs to; for an event, a published method of such an
// object). Any other address raises instead of being stored.
//
// Failures raise EObjectBrowseError "TClassInfo.<operation>: <message>". The
// accessor is a plain class; its messages always name it "TClassInfo". It does
// not own or watch the instance: the caller keeps the instance alive while the
// accessor points at it.

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"

#include <vector>

namespace orlo {

ORLO_EXCEPTION(EObjectBrowseError, Exception);

enum TPropMode : Byte { pmRead, pmWrite };
using TPropModes = TSet<TPropMode>;

// Unit name recorded in the type information of Obj's class; "" when the class
// publishes no type information or Obj is nil.
String GetUnitNameOfClass(const TObject* Obj);

class TClassInfo {
public:
    TClassInfo() = default; // targets nothing
    explicit TClassInfo(TObject* Instance);
    // Selects the given property of Instance at once (Count 1, Index 0).
    TClassInfo(TObject* Instance, const TPropInfo* PropInfo);

    // Targets Instance: all its published properties, or only PropInfo (then
    // selected). Nil targets nothing. A PropInfo that is not a property of
    // Instance's class raises "Init: Property does not belong to the object's class".
    void Init(TObject* Instance, const TPropInfo* PropInfo = nullptr);
    void SetInstance(TObject* Instance) { Init(Instance); }
    void Done(); // back to targeting nothing

    // Selects the property at 0-based Index; true when it has type information.
    // "Select: Invalid Index" outside 0..Count-1, with nothing changed.
    bool Select(Integer Index);
    // Position of the property named PropName (trimmed, without regard to
    // case); -1 when there is none.
    Integer IndexOf(const String& PropName) const;

    // The state; all of it is reset by Done.
    TObject* Instance() const noexcept { return FInstance; }
    const TTypeInfo* ClassTypeInfo() const noexcept { return FClassTypeInfo; }
    const TTypeData* ClassTypeData() const noexcept { return FClassTypeData; }
    const std::vector<const TPropInfo*>& PropList() const noexcept { return FPropList; }
    Integer PropListSize() const noexcept; // bytes of PropList's entries
    const TPropInfo* PropInfo() const noexcept { return FPropInfo; }
    const TTypeInfo* PropType() const noexcept { return FPropType; }
    Integer Count() const noexcept { return FCount; }
    Integer Index() const noexcept { return FIndex; }
    bool IsOrdinal() const noexcept { return FIsOrdinal; }
    bool IsString() const noexcept { return FIsString; }
    TTypeKind Kind() const noexcept { return FKind; }
    TPropModes Mode() const noexcept { return FMode; }
    Integer PropIndex() const noexcept { return FPropIndex; }

    // The selected property. Every operation from here on needs a selection:
    // "No property selected", "Property information not available",
    // "Property type information not available".
    const TPropInfo* PropRef() const;
    String Name() const;
    String Typ() const;    // type name: "TCaption", "Boolean"
    String TypDef() const; // "(False,True)", "[fsBold,fsItalic]"; "" for other kinds
    String UnitName() const { return GetUnitNameOfClass(FInstance); }

    // Reading needs a read accessor, writing a write accessor: "Method for read
    // or write access not available".
    Variant GetValue() const;
    void SetValue(const Variant& Value);
    // The raw ordinal of an ordinal kind; for tkClass the object's address.
    Int64 GetAsInteger() const;
    void SetAsInteger(Int64 Value);
    TObject* GetAsObject() const;
    void SetAsObject(TObject* Value);
    TMethod GetAsMethod() const;
    void SetAsMethod(const TMethod& Value);
    Extended GetAsFloat() const;
    void SetAsFloat(Extended Value);
    String GetAsString() const;
    void SetAsString(const String& Value);
    // The text stays valid until the next GetAsPChar or the accessor's end.
    const char* GetAsPChar() const;
    void SetAsPChar(const char* Value); // nil is the empty text

    bool IsStored() const;
    Integer DefaultInteger() const; // NoDefault when the property has none
    // The default in text form; an integer Variant NoDefault when there is none.
    Variant Default() const;
    // An ordinal in the property's text form: element name, set text,
    // one-character string, or the integer itself.
    Variant FormatValue(Integer Value) const;
    // What the property holds when nothing was set: for ordinal kinds the raw
    // default (or, without one, the ordinal nearest 0 in the type's range; 0,
    // the empty set, for sets; NoDefault for objects), else "".
    Variant EmptyValue() const;

    // The value's byte form, little-endian: 4-byte ordinals, 1-byte characters,
    // 10-byte 80-bit floats, the characters of texts (and of a Variant's text),
    // 8 bytes per address for objects and methods (code, then data).
    Integer Size() const;
    void CopyTo(void* Buffer, Integer Count) const;
    void CopyFrom(const void* Buffer, Integer Count);

private:
    [[noreturn]] void Raise(const char* Operation, const char* Message) const;
    void CheckSelected(const char* Operation) const;
    void CheckAccess(const char* Operation, TPropMode Needed) const;
    void ResetSelection() noexcept;

    Int64 ReadOrdinal() const;
    Variant ReadValue(const char* Operation) const;
    void WriteValue(const char* Operation, const Variant& Value);
    String ByteForm(const char* Operation) const;
    void StoreObject(const char* Operation, UInt64 Address);
    void StoreMethod(const char* Operation, const TMethod& Value);
    bool Vouches(const void* Address) const;

    TObject* FInstance = nullptr;
    const TTypeInfo* FClassTypeInfo = nullptr;
    const TTypeData* FClassTypeData = nullptr;
    std::vector<const TPropInfo*> FPropList;
    const TPropInfo* FPropInfo = nullptr;
    const TTypeInfo* FPropType = nullptr;
    Integer FCount = 0;
    Integer FIndex = -1;
    bool FIsOrdinal = false;
    bool FIsString = false;
    TTypeKind FKind = tkUnknown;
    TPropModes FMode;
    Integer FPropIndex = -1;
    mutable String FPCharText;
};

} // namespace orlo
