#pragma once
// The subcommands of glossa. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 failed (or, where a command says so, a
// check did not pass), 2 bad usage. Errors go to standard error, naming the file.
//
// A command that changes a form reads it, changes only its language data
// and writes it back in its own format (see FormFile.h); it writes nothing
// when it fails.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo::glossa {

using TArguments = std::vector<String>;

// A subcommand as the dispatcher lists it.
struct TCommand {
    const char* Name;
    int (*Run)(const TArguments& Args);
    const char* Usage; // the command's arguments, as "glossa help" lists them
};

// The table of subcommands; the dispatcher knows no others.
const std::vector<TCommand>& Commands();

// Languages, named strings, translated properties, values filled per language.
int RunShow(const TArguments& Args);
// The exchange file (default), a PO file or a PO template by the output's extension.
int RunExport(const TArguments& Args);
// Exchange or PO files into the form; --strict fails when something was rejected.
int RunImport(const TArguments& Args);
// Every stored caption, hint, text and string list of the form's components.
int RunCollect(const TArguments& Args);
int RunAddLanguage(const TArguments& Args);
// Removes a language and its values; the active language stays.
int RunRemoveLanguage(const TArguments& Args);
// Completeness per language; --require fails below the given percentage.
int RunStats(const TArguments& Args);

} // namespace orlo::glossa
