#include "platform/forms/QtSupport.h"

#include "platform/rtl/Exception.h"

#include <QApplication>
#include <QWidget>

namespace orlo {

namespace {

QApplication* OwnApplication = nullptr;

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
}

bool IsWidgetApplication() noexcept {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void ReleaseWidgetApplication() {
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete OwnApplication;
    OwnApplication = nullptr;
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
