#pragma once
// File names as strings. "/" and "\" both separate folders; "/" is what the
// platform writes. A drive prefix ("C:") or a network root ("\\server\share")
// is kept as it is given; on this platform it is just part of the name.

#include "platform/rtl/Types.h"

namespace orlo {

constexpr char PathDelim = '/';

bool IsPathDelimiter(char C) noexcept; // "/" or "\"
// True when S ends in a separator.
bool HasTrailingPathDelimiter(const String& S) noexcept;
// The name as the file system takes it: every "\" becomes "/".
String NativePath(const String& FileName);

// "C:" of "C:\a", "\\server\share" of "\\server\share\a" (either separator);
// empty otherwise.
String ExtractFileDrive(const String& FileName);
// Everything up to and including the last separator (or the drive colon).
String ExtractFilePath(const String& FileName);
// The same without the trailing separator, unless that separator is the
// root's ("/", "C:\").
String ExtractFileDir(const String& FileName);
String ExtractFileName(const String& FileName);
// ".txt"; empty when the name part has no dot.
String ExtractFileExt(const String& FileName);
// The name with its extension replaced by Extension (which brings its dot).
String ChangeFileExt(const String& FileName, const String& Extension);

} // namespace orlo
