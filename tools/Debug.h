#pragma once
// Debug tracing of the library. Silent unless the environment variable
// ORLO_DEBUG is set when the process starts; then every trace line goes to
// standard error, indented by the nesting of Enter/Leave.

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"

#include <string_view>

namespace orlo {

class TDebug {
public:
    static bool Enabled() noexcept;
    static void Write(const String& Text);
    // The text is only formatted when tracing is on, so silent calls cost a test.
    template <class... A> static void WriteFmt(std::string_view Fmt, const A&... Args) {
        if (Enabled())
            Write(Format(String(Fmt), Args...));
    }
    static void Enter(const String& Name); // opens a nested section
    static void Leave(const String& Name);

    // Receives every trace line instead of standard error, and turns tracing on,
    // while set (tests read traces this way); nil goes back to the default.
    using TSink = void (*)(const String& Line);
    static void SetSink(TSink Sink) noexcept;
};

// Start and end of a traced session; memory checks hook in here.
void DebugInit();
void DebugDone();

} // namespace orlo
