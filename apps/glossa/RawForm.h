#pragma once
// A binary form read without the classes of its components: every component
// with its stored properties as raw bytes, written back exactly as read.
// And the text form counterpart: changed properties put into a text form in
// place, every other line kept as it was.

#include "platform/classes/Filer.h"
#include "platform/rtl/Types.h"

#include <vector>

namespace orlo::glossa {

// Whether S begins (ends) with Part, ASCII letter case aside.
bool StartsWithText(const String& Part, const String& S);
bool EndsWithText(const String& Part, const String& S);

// One stored property: its name and its value as the binary form stores it
// (value code and data).
struct TRawProperty {
    String Name;
    std::vector<Byte> Value;
};

// One component of the form as it was read.
struct TRawObject {
    TFilerFlags Flags;
    Integer ChildPos = 0;
    String ClassName;
    String Name;
    std::vector<TRawProperty> Properties;
    std::vector<TRawObject> Children;

    // Without regard to case; nil when the component does not store it.
    const TRawProperty* FindProperty(const String& PropName) const;
    TRawProperty* FindProperty(const String& PropName);
};

// The root component of a binary form (signature included). EReadError for
// a damaged stream.
TRawObject ParseRawForm(const String& Binary);
// The binary form of Root, signature included.
String RawFormBytes(const TRawObject& Root);
// One component (prefix, class, name, properties, children) read from
// Reader, which reads Stream; the raw bytes are taken from Stream's memory.
TRawObject ReadRawObject(TReader& Reader, TMemoryStream& Stream);
void WriteRawObject(TWriter& Writer, const TRawObject& Object);
// A property list up to its end marker, as ReadRawObject reads it.
std::vector<TRawProperty> ReadRawProperties(TReader& Reader, TMemoryStream& Stream);

// Original is a text form whose binary form is OldBinary; the result is the
// text form of NewBinary, which differs from OldBinary in property values
// only: the lines of every changed property are replaced by their new text
// (indented like the original), added properties are put after the last
// property of their component, removed ones leave. A layout this cannot follow
// gives the whole text of NewBinary instead.
String SpliceFormText(const String& Original, const String& OldBinary, const String& NewBinary);

} // namespace orlo::glossa
