#include "platform/forms/Clipbrd.h"

#include "platform/forms/Forms.h"

#include <QApplication>
#include <QClipboard>

namespace orlo {

String TClipboard::AsText() const {
    NeedWidgetApplication();
    return FromQString(QApplication::clipboard()->text());
}

void TClipboard::SetAsText(const String& Value) {
    if (Application && Application->ActionLog())
        Application->ActionLog()->ClipboardTexts.push_back(Value);
    NeedWidgetApplication();
    QApplication::clipboard()->setText(ToQString(Value));
}

TClipboard* Clipboard() {
    static TClipboard Instance;
    return &Instance;
}

} // namespace orlo
