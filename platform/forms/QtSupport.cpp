#include "platform/forms/QtSupport.h"

#include "platform/rtl/Exception.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>

namespace orlo {

// Frees the application object's forms and widgets (Forms.cpp).
void FreeApplicationObjects();

namespace {

QApplication* OwnApplication = nullptr;

// Runs before the statics of the platform plugin (loaded with the
// QApplication, so registered later) go away; freeing the QApplication
// after them, at library unload, would crash. Running it twice is harmless.
void ReleaseAtExit() {
    FreeApplicationObjects();
    ReleaseWidgetApplication();
}

} // namespace

void NeedWidgetApplication() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (QCoreApplication::instance())
        throw EInvalidOperation("Windows need a QApplication, not a QCoreApplication");
    static int Argc = 1;
    static char Arg0[] = "orlo";
    static char* Argv[] = {Arg0, nullptr};
    OwnApplication = new QApplication(Argc, Argv);
    std::atexit(ReleaseAtExit);
}

// Exit handlers run in reverse order of registration, and Qt makes many of its
// statics only while windows are shown (the X11 platform's OpenGL context
// storage, the accessibility plugins): registered at start-up only, the
// release ran after them, and deleting a window or enabling a widget at exit
// crashed.
void ReleaseAtExitBeforeQtStatics() {
    if (OwnApplication)
        std::atexit(ReleaseAtExit);
}

bool IsWidgetApplication() noexcept {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void ReleaseWidgetApplication() {
    // Widgets whose deletion waits for the event loop go now. The QApplication
    // itself stays: its destructor calls into the platform plugin, whose
    // statics may already be gone at exit.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DisposeWidget(QWidget* Widget) {
    if (!Widget)
        return;
    if (!TQtDispatch::Running()) {
        delete Widget;
        return;
    }
    Widget->hide();
    Widget->setParent(nullptr);
    Widget->deleteLater();
}

} // namespace orlo
