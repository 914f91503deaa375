// glossa: works on the language data of form files (".dfm" text or binary
// form, ".lng" resource files) without the application's classes.
//
//   glossa COMMAND ARGUMENTS...     see "glossa help" for the commands
//
// Exit codes: 0 done, 1 failed or a check did not pass, 2 bad usage.

#include "apps/glossa/Commands.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace orlo;
using namespace orlo::glossa;

void PrintUsage(std::FILE* Out) {
    std::fputs("usage: glossa COMMAND ARGUMENTS...\n", Out);
    for (const TCommand& Command : Commands())
        std::fprintf(Out, "  glossa %s %s\n", Command.Name, Command.Usage);
}

} // namespace

int main(int Argc, char** Argv) {
    if (Argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const String Name = Argv[1];
    if (Name == "help" || Name == "--help" || Name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    TArguments Args(Argv + 2, Argv + Argc);
    for (const TCommand& Command : Commands())
        if (Name == Command.Name)
            return Command.Run(Args);
    std::fprintf(stderr, "glossa: unknown command \"%s\"\n", Name.c_str());
    PrintUsage(stderr);
    return 2;
}
