#pragma once
// The few things every unit of the forms layer needs of Qt: the one
// QApplication of the process, and string conversion.

#include "platform/rtl/Types.h"

#include <QString>

class QWidget;

namespace orlo {

// Creates the process's QApplication on first need (controls, fonts and icons
// need one). EInvalidOperation when a non-GUI QCoreApplication already runs.
void NeedWidgetApplication();
// Whether the process shows windows: a QApplication exists.
bool IsWidgetApplication() noexcept;
// Deletes the widgets still waiting for the event loop (process exit); the
// QApplication stays for the process's own exit.
void ReleaseWidgetApplication();
// Called when an outermost event loop ends: the application's forms and
// their widgets are then freed at exit before every static Qt made so far.
void ReleaseAtExitBeforeQtStatics();

inline QString ToQString(const String& S) {
    return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()));
}
inline String FromQString(const QString& S) {
    return S.toUtf8().toStdString();
}

// Qt signals and events are dispatched to controls inside this guard; a widget
// destroyed while any dispatch runs is deleted later, never under Qt's feet.
class TQtDispatch {
public:
    TQtDispatch() noexcept { ++FDepth; }
    ~TQtDispatch() { --FDepth; }
    TQtDispatch(const TQtDispatch&) = delete;
    TQtDispatch& operator=(const TQtDispatch&) = delete;
    static bool Running() noexcept { return FDepth > 0; }

private:
    static inline Integer FDepth = 0;
};

// Deletes Widget now, or after the running dispatch has unwound.
void DisposeWidget(QWidget* Widget);

} // namespace orlo
