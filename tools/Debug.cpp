#include "tools/Debug.h"

#include "tools/VersionControl.h"

#include <cstdio>
#include <cstdlib>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /tools/Debug.cpp 1.0 09.12.26 22:00 orlo $");

int Depth = 0;
TDebug::TSink Sink = nullptr;

} // namespace

bool TDebug::Enabled() noexcept {
    static const bool On = std::getenv("ORLO_DEBUG") != nullptr;
    return On || Sink != nullptr;
}

void TDebug::SetSink(TSink NewSink) noexcept {
    Sink = NewSink;
}

void TDebug::Write(const String& Text) {
    if (!Enabled())
        return;
    if (Sink)
        Sink(String(static_cast<std::size_t>(Depth) * 2, ' ') + Text);
    else
        std::fprintf(stderr, "%*s%s\n", Depth * 2, "", Text.c_str());
}

void TDebug::Enter(const String& Name) {
    Write("> " + Name);
    ++Depth;
}

void TDebug::Leave(const String& Name) {
    if (Depth > 0)
        --Depth;
    Write("< " + Name);
}

void DebugInit() {
    TDebug::Write("Debug session started");
}

void DebugDone() {
    TDebug::Write("Debug session ended");
}

} // namespace orlo
