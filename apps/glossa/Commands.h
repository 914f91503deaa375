#pragma once
// The subcommands of glossa. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 failed (or, where a command says so, a
// check did not pass), 2 bad usage. Errors go to standard error, naming the file.

#include "platform/rtl/Types.h"

#include <vector>

namespace orlo::glossa {

using TArguments = std::vector<String>;

// A subcommand as the dispatcher lists it.
struct TCommand {
    const char* Name;
    int (*Run)(const TArguments& Args);
    const char* Usage; // one line per form of the command, without "glossa "
};

// The table of subcommands; the dispatcher adds no others.
const std::vector<TCommand>& Commands();

int RunShow(const TArguments& Args);

// Exit status for bad usage: prints Usage of the command to standard error.
int UsageError(const char* Command);

} // namespace orlo::glossa
