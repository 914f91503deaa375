#pragma once
// glossa check: compares the named strings of a form's TGlossa with the
// GetString calls of source files and reports, as compilers do
// ("file:line:column: message"), every undefined name, every unused name and
// every call it cannot analyse.

#include "design/SourceParser.h"
#include "platform/rtl/Types.h"

#include <iosfwd>
#include <vector>

namespace orlo {
class TStrings;
}

namespace orlo::glossa {

// The string table the sources are checked against.
struct TCheckTable {
    String FormFile;      // named in the messages about unused strings
    String ComponentName; // the TGlossa that qualified calls go through
    bool QualifiedOnly;   // only calls through ComponentName count
    const TStrings* Names;
};

// Checks every source against Table: messages to Out, failures to read a
// source to Err. 0 when every name used is defined; 1 when one is not, or a
// source could not be read or checked.
int CheckSources(const TCheckTable& Table, const std::vector<String>& Sources, std::ostream& Out,
                 std::ostream& Err);

// glossa check [--qualified | --unqualified] FORM SOURCE...
// A form file (".dfm") is checked in the qualified mode, a form-less unit's
// resource (".lng") in the unqualified one, unless an option says otherwise.
// Exit status as CheckSources; 2 for bad usage.
int RunCheck(const std::vector<String>& Args, std::ostream& Out, std::ostream& Err);
// The same on standard output and standard error.
int RunCheck(const std::vector<String>& Args);

// The language of a source file by its extension: Pascal for .pas, .pp,
// .dpr, .lpr and .inc, C for .c, C++ for every other.
TCodeType SourceLanguage(const String& FileName);

} // namespace orlo::glossa
