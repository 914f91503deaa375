#include "tools/Debug.h"

#include <cstdio>
#include <cstdlib>

namespace orlo {

namespace {

int Depth = 0;

} // namespace

bool TDebug::Enabled() noexcept {
    static const bool On = std::getenv("ORLO_DEBUG") != nullptr;
    return On;
}

void TDebug::Write(const String& Text) {
    if (!Enabled())
        return;
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
