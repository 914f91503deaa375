#pragma once
// Globally unique identifiers: random (version 4) GUIDs and their text form.

#include "platform/rtl/Types.h"

#include <array>

namespace orlo {

struct TGUID {
    Cardinal D1 = 0;
    Word D2 = 0;
    Word D3 = 0;
    std::array<Byte, 8> D4{};

    friend bool operator==(const TGUID&, const TGUID&) = default;
};

// A new GUID from the system's random source.
TGUID CreateGUID();
// "{0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9}": braced, upper-case hexadecimal.
String GUIDToString(const TGUID& Guid);
// The text form of a new GUID.
String CreateGUIDString();

} // namespace orlo
