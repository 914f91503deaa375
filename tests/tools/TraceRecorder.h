#pragma once
// Collects the lines of the debug trace for as long as it lives; tracing is on
// meanwhile.

#include "tools/Debug.h"

#include <algorithm>
#include <vector>

namespace orlo::test {

class TTraceRecorder {
public:
    TTraceRecorder() {
        Lines().clear();
        TDebug::SetSink([](const String& Line) { Lines().push_back(Line); });
    }
    ~TTraceRecorder() { TDebug::SetSink(nullptr); }
    TTraceRecorder(const TTraceRecorder&) = delete;
    TTraceRecorder& operator=(const TTraceRecorder&) = delete;

    const std::vector<String>& Traced() const { return Lines(); }
    bool Contains(const String& Line) const {
        return std::find(Lines().begin(), Lines().end(), Line) != Lines().end();
    }

private:
    static std::vector<String>& Lines() {
        static std::vector<String> Collected;
        return Collected;
    }
};

} // namespace orlo::test
