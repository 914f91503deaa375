#pragma once
// The entry of an example program: runs its body and reports a failure on the
// error output as "<program>: <message>" with exit code 1.

#include <exception>
#include <iostream>

namespace example {

inline int RunProgram(const char* Program, int (*Run)(int, char**), int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& Error) {
        std::cerr << Program << ": " << Error.what() << "\n";
        return 1;
    }
}

} // namespace example
