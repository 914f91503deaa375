#pragma once
// Registry keys as "REGEDIT4" text, the exchange format of registry editors:
//
//     REGEDIT4
//
//     [HKEY_CURRENT_USER\Software\Orlo GbR\Designers]
//     "Global\\Language"="Deutsch"
//     "Count"=dword:0000000a
//     @="the key's default value"
//
//     [-HKEY_CURRENT_USER\Software\Old]      (deletes the key)
//     "Obsolete"=-                           (deletes the value)
//
// In quoted names and strings "\\" stands for "\" and "\"" for a quote. A
// string with control characters (line breaks, tabs) is written as hex(1):
// bytes ending in 00, so every value survives the round trip. A line that
// ends in "\" continues on the next one; lines starting with ";" are comments.

#include "platform/os/RegistryStore.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

ORLO_EXCEPTION(ERegEditError, EParserError);

struct TRegEditValue {
    String Name;         // empty for the default value "@"
    bool Delete = false; // "name"=-
    TRegValue Value;

    friend bool operator==(const TRegEditValue& A, const TRegEditValue& B) {
        return A.Name == B.Name && A.Delete == B.Delete && A.Value.DataType == B.Value.DataType &&
               A.Value.Text == B.Value.Text && A.Value.Number == B.Value.Number;
    }
};

struct TRegEditKey {
    HKEY Root = HKEY_CURRENT_USER;
    String Path;         // below the root, names separated by "\"; empty for the root
    bool Delete = false; // [-...]
    std::vector<TRegEditValue> Values;

    friend bool operator==(const TRegEditKey&, const TRegEditKey&) = default;
};

// Reads REGEDIT4 text (a UTF-8 byte-order mark and CR LF or LF line ends are
// accepted). ERegEditError "Line %d: %s" with the reason, for the first line
// that is not understood; nothing is returned then.
std::vector<TRegEditKey> ParseRegEdit(const String& Text);
// The keys as REGEDIT4 text with CR LF line ends. ERegEditError for a name
// with a line break or a string with a NUL character, which the format cannot hold.
String FormatRegEdit(const std::vector<TRegEditKey>& Keys);
// One value line ("Name"="text", without line end).
String FormatRegEditValue(const TRegEditValue& Value);

// The key at Path below Root and every key below it, parents first, sub-keys in
// the order of their names. ERegistryException "Key not found: %s".
std::vector<TRegEditKey> ExportRegistryKeys(TRegistryStore& Store, HKEY Root, const String& Path);
// Creates, changes and deletes keys and values as the list says, in its order.
void ImportRegistryKeys(TRegistryStore& Store, const std::vector<TRegEditKey>& Keys);

// "HKEY_CURRENT_USER\Software\Orlo" as root and path. ERegEditError "Unknown
// root key '%s'".
void SplitRegistryPath(const String& FullPath, HKEY& Root, String& Path);

} // namespace orlo
