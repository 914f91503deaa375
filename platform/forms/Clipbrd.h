#pragma once
// The clipboard, as text.

#include "platform/rtl/Types.h"

namespace orlo {

class TClipboard {
public:
    String AsText() const;
    // Puts Value on the clipboard; recorded in the application's action log
    // while one is installed.
    void SetAsText(const String& Value);
    void Clear() { SetAsText(String()); }
};

// The clipboard of the process.
TClipboard* Clipboard();

} // namespace orlo
