#pragma once
// A modal form's own event loop, driven live: steps run inside the loop as a
// user's keys and clicks would, and a watchdog ends a loop left open.

#include "platform/forms/Forms.h"
#include "platform/forms/ModalScript.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <utility>

namespace orlo::test {

// Runs Open, which shows a modal form in its own event loop, with Steps
// inside that loop, and returns what Open returns. A form still open long
// after ends with mrAbort, so that a fault fails instead of hanging.
template <class Opener> auto RunLive(Opener&& Open, std::function<void()> Steps) {
    QTimer::singleShot(0, std::move(Steps));
    const TModalWatchdog Watchdog;
    return std::forward<Opener>(Open)();
}

// The window of the innermost open modal form.
inline QWindow* TopWindow() {
    QWidget* Top = QApplication::activeModalWidget();
    return Top ? Top->windowHandle() : nullptr;
}

} // namespace orlo::test
