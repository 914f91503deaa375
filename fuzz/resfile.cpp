// Resource files from outside: loading fails only with EReadError, a loaded
// file saves and loads again to the same bytes, and reading its first RCDATA
// resource as a form fails only with the reader's errors.

#include "platform/classes/FormText.h"
#include "platform/classes/Resources.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

String Saved(const TResourceFile& File) {
    TStringStream Out;
    File.SaveToStream(&Out);
    return Out.DataString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TStringStream In(String(reinterpret_cast<const char*>(Data), Size));
    TResourceFile File;
    try {
        File.LoadFromStream(&In);
    } catch (const EReadError&) {
        return 0;
    }
    String First = Saved(File);
    TStringStream Again(First);
    TResourceFile Reloaded;
    Reloaded.LoadFromStream(&Again);
    if (Saved(Reloaded) != First)
        std::abort();
    Again.SetPosition(0);
    TStringStream Text;
    try {
        ObjectResourceToText(&Again, &Text);
    } catch (const EReadError&) {
    } catch (const EResNotFound&) {
    }
    return 0;
}
