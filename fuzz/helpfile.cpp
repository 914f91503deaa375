// Help files and form file headers from outside: any bytes either read or are
// refused with EHelpError, what reads has a page for every context, and the
// root name of a form file is never empty.

#include "platform/forms/Help.h"
#include "platform/ide/ToolServices.h"
#include "platform/rtl/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    try {
        const THelpFile File("/nonexistent/fuzz.hlp", Text);
        Check(File.Title() == Trim(File.Title()));
        for (const auto& [Context, Page] : File.Map()) {
            Check(!Page.empty() && Page == Trim(Page));
            try {
                File.ContextPage(Context); // no page exists there
                Check(false);
            } catch (const EHelpError&) {
            }
        }
    } catch (const EHelpError& Error) {
        Check(Error.Message().starts_with("Help file \"/nonexistent/fuzz.hlp\""));
    }
    const std::optional<String> Root = FormRootName(Text);
    Check(!Root || !Root->empty());
    return 0;
}
