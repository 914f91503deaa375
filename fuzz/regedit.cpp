// REGEDIT4 text from outside: any bytes either parse or fail with the
// format's own exception, and what parses is written and read back the same.

#include "platform/os/RegEditFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    std::vector<TRegEditKey> Keys;
    try {
        Keys = ParseRegEdit(Text);
    } catch (const ERegEditError&) {
        return 0;
    }
    String Written;
    try {
        Written = FormatRegEdit(Keys);
    } catch (const ERegEditError&) {
        return 0; // a name with a carriage return inside a line cannot be written
    }
    if (ParseRegEdit(Written) != Keys)
        std::abort();
    return 0;
}
