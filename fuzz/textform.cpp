// Text forms from outside: the parser fails only with EParserError (with a line
// and column), and what it accepts converts to text and back to the same bytes.

#include "platform/classes/FormText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TStringStream Text(String(reinterpret_cast<const char*>(Data), Size));
    TStringStream Binary;
    try {
        ObjectTextToBinary(&Text, &Binary);
    } catch (const EParserError& E) {
        if (E.Message().rfind("Line ", 0) != 0)
            std::abort();
        return 0;
    }
    Binary.SetPosition(0);
    TStringStream Text2, Binary2;
    ObjectBinaryToText(&Binary, &Text2);
    Text2.SetPosition(0);
    ObjectTextToBinary(&Text2, &Binary2);
    if (Binary2.DataString() != Binary.DataString())
        std::abort();
    return 0;
}
