#pragma once
// The unit-version registry: every unit of the product records one version
// header line at start-up, so a program can list what it was built from.
//
// A header line reads
//     $Header: /<path>/<file> <revision> <date> <time> <author> $
// for example "$Header: /tools/StringTools.cpp 1.0 09.12.26 12:00 orlo $".
//
// Convention for every unit source file: register its header once, at file
// scope, near the top of the .cpp, with a registrar object:
//
//     namespace {
//     const orlo::TUnitVersion Version("$Header: /runtime/ClassInfo.cpp 1.0 09.12.26 12:00 orlo
//     $");
//     }
//
// The path is the file's path from the project root, the date is dd.mm.yy and
// the time hh:nn (24 hours). The registry is created on first use, so the order
// in which units start never matters; a unit whose library is unloaded takes
// its line out again.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo {

class TStrings;

// Adds a header line. Exception "RegisterUnitVersion failed. ..." when the line
// does not begin with "$Header: /" or does not end with " $".
void RegisterUnitVersion(const String& Header);
// Removes the most recent registration of exactly this line; nothing if absent.
void UnregisterUnitVersion(const String& Header);

// Every registered line, in registration order.
std::vector<String> GetUnitVersions();
// The same into List, replacing what it held.
void GetUnitVersions(TStrings* List);

// The parts of a header line.
struct TUnitHeader {
    String Path;     // "/tools/", with its trailing separator
    String FileName; // "StringTools.cpp"
    String Revision; // "1.0"
    TDateTime Date;  // whole days
    TDateTime Time;  // fraction of a day
    String Author;   // the rest of the line; may hold blanks
};

// Splits a header line. The date and time are read as "dd.mm.yy hh:nn" and, if
// that fails, as "mm/dd/yy hh:nn" with an optional "a"/"p" ("am"/"pm") suffix
// for 12-hour times; a two-digit year lies within 50 years of the current year,
// a four-digit one is taken as it is. Exception "ExtractHeader failed. ..." for
// a malformed line, missing fields or an unreadable date or time.
TUnitHeader ExtractHeader(const String& Header);
void ExtractHeader(const String& Header, String& Path, String& FileName, String& Revision,
                   TDateTime& Date, TDateTime& Time, String& Author);

// Registers a unit's header for as long as the object lives (see above).
class TUnitVersion {
public:
    explicit TUnitVersion(const char* Header);
    ~TUnitVersion();
    TUnitVersion(const TUnitVersion&) = delete;
    TUnitVersion& operator=(const TUnitVersion&) = delete;

private:
    String FHeader;
};

} // namespace orlo
