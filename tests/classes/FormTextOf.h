#pragma once
// A component tree as the text of its form file, and such a text read into a
// component, for tests that look at or write form files.

#include "platform/classes/Component.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"

namespace orlo::test {

inline String FormTextOf(TComponent* Root) {
    TMemoryStream Binary;
    Binary.WriteComponent(Root);
    Binary.SetPosition(0);
    TStringStream Text;
    ObjectBinaryToText(&Binary, &Text);
    return Text.DataString();
}

// Reads Text into Root (a new root when Root is nil) and returns it.
inline TComponent* ReadFormText(TComponent* Root, const String& Text) {
    TStringStream Input(Text);
    TMemoryStream Binary;
    ObjectTextToBinary(&Input, &Binary);
    Binary.SetPosition(0);
    return Binary.ReadComponent(Root);
}

} // namespace orlo::test
