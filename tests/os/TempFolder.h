#pragma once
// Test helpers shared by the test folders: a temporary folder of the test's own,
// a registry database of its own, and helper processes.

#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/Types.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace orlo::test {

// A new, empty folder below $ORLO_TEST_TMP (or the temporary directory),
// removed with everything in it when the object goes.
class TTempFolder {
public:
    TTempFolder() {
        String Base = GetEnvironmentVariable("ORLO_TEST_TMP");
        if (Base.empty())
            Base = TempDirectory();
        ForceDirectories(Base);
        String Pattern = Base + "/orlo-XXXXXX";
        if (!mkdtemp(Pattern.data()))
            throw std::runtime_error("cannot create a temporary folder in " + Base);
        FPath = Pattern;
    }
    ~TTempFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const String& Path() const { return FPath; }
    String File(const String& Name) const { return FPath + "/" + Name; }

private:
    String FPath;
};

// Sets an environment variable for the life of the object.
class TScopedEnvironment {
public:
    TScopedEnvironment(const char* Name, const String& Value) : FName(Name) {
        if (const char* Old = std::getenv(Name)) {
            FHadOld = true;
            FOld = Old;
        }
        setenv(Name, Value.c_str(), 1);
    }
    ~TScopedEnvironment() {
        if (FHadOld)
            setenv(FName, FOld.c_str(), 1);
        else
            unsetenv(FName);
    }
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    const char* FName;
    bool FHadOld = false;
    String FOld;
};

// A temporary folder with the registry database inside it, so that no test
// touches the user's own registry.
class TRegistrySandbox : public TTempFolder {
public:
    TRegistrySandbox() : FRegistry("ORLO_REGISTRY", File("registry.db")) {}
    String DatabaseFileName() const { return File("registry.db"); }

private:
    TScopedEnvironment FRegistry;
};

// A folder of the kind TFolder (TTempFolder or TRegistrySandbox) with one text
// file in it, written and read as a whole.
template <class TFolder> class TTextFileIn : public TFolder {
public:
    explicit TTextFileIn(const String& Name) : FileName(this->File(Name)) {}

    void Write(const String& Text) const { ReplaceFileContent(FileName, Text); }
    String Read() const { return ReadFileContent(FileName); }

    const String FileName;
};

// Runs Body in a child process; its result is the child's exit status (an
// exception gives 100).
inline pid_t StartHelperProcess(const std::function<int()>& Body) {
    const pid_t Child = fork();
    if (Child == 0) {
        int Status = 100;
        try {
            Status = Body();
        } catch (...) {
        }
        _exit(Status);
    }
    return Child;
}

// The child's exit status; -1 when it did not exit normally.
inline int WaitForHelperProcess(pid_t Child) {
    int Status = 0;
    if (waitpid(Child, &Status, 0) != Child || !WIFEXITED(Status))
        return -1;
    return WEXITSTATUS(Status);
}

} // namespace orlo::test
