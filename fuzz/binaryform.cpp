// Binary form streams from outside: reading them as components or converting
// them to text fails only with EReadError, and any text made from them is in
// the canonical form (reading it back and converting again gives the same text).

#include "platform/classes/FormText.h"
#include "tests/components/TestComponents.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

String BinaryToText(const String& Binary) {
    TStringStream In(Binary), Out;
    ObjectBinaryToText(&In, &Out);
    return Out.DataString();
}

void ReadAsComponents(const String& Binary) {
    TStringStream In(Binary);
    try {
        delete In.ReadComponent(nullptr);
    } catch (const EReadError&) {
    }
}

void ConvertToText(const String& Binary) {
    String Text;
    try {
        Text = BinaryToText(Binary);
    } catch (const EReadError&) {
        return;
    }
    TStringStream TextIn(Text), Binary2;
    try {
        ObjectTextToBinary(&TextIn, &Binary2);
    } catch (const EParserError&) {
        return; // names that are no identifiers have no text form
    }
    if (BinaryToText(Binary2.DataString()) != Text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const bool Registered = (test::RegisterTestClasses(), true);
    (void)Registered;
    String Binary(reinterpret_cast<const char*>(Data), Size);
    ReadAsComponents(Binary);
    ConvertToText(Binary);
    return 0;
}
