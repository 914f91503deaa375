#pragma once
// Text forms of enumeration and set values, read and written through the
// run-time type information of their types:
//
//   EnumToStr(TypeInfoOf<TAlign>(), alTop)        -> "alTop"
//   SetToStr(Info, 3)                             -> "[fsBold,fsItalic]"
//   StrToSet(Info, " [fsBold,fsItalic] ")         -> 3
//
// A set value is a 32-bit mask in which bit n stands for the element with
// ordinal n, the layout of TSet. This holds for every element type, also for a
// subrange whose lowest ordinal is above 0 (a set of 5..9 keeps its elements in
// bits 5 to 9), so a mask means the same to the type information, to TSet and
// to these routines. Ordinals outside 0..31 have no bit: SetToStr never names
// them and StrToSet refuses them.
//
// Every failure raises ETypeToolError "<routine> failed. <reason>".

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"

namespace orlo {

ORLO_EXCEPTION(ETypeToolError, Exception);

// Element names of an enumeration from its lowest to its highest ordinal,
// joined by "," without blanks: "False,True". "Not an enumeration".
String EnumTypeDecl(const TTypeInfo* TypeInfo);

// Name of the element with ordinal Value. "Not an enumeration", "Invalid
// ordinal value" when Value lies outside the type's range.
String EnumToStr(const TTypeInfo* TypeInfo, Integer Value);

// EnumTypeDecl of the set's element type. "Not a set".
String SetTypeDecl(const TTypeInfo* TypeInfo);

// Ordinal of the element named S, compared without regard to case; S is taken
// as it is (blanks are part of the name). "Not an enumeration", "String value
// not found in enumeration type".
Integer StrToEnum(const TTypeInfo* TypeInfo, const String& S);

// "[a,c]" for the elements whose bits are set; "[]" for the empty set.
// "Not a set".
String SetToStr(const TTypeInfo* TypeInfo, Integer Value);

// Reads "[a,b]". Blanks and control characters around the text are ignored;
// inside the brackets they belong to the names, so "[a, b]" looks up " b". A
// "," before the closing bracket is accepted ("[a,]"). At most as many names
// are read as the element type has elements; what follows them is not
// examined. "Not a set", "Malformed set text", "Set element out of range",
// and the failures of StrToEnum for an unknown name.
Integer StrToSet(const TTypeInfo* TypeInfo, const String& S);

} // namespace orlo
