#pragma once
// Runs one test of this test program in a new process of the program (a new
// program run, not a fork): for what depends on a process's start, and for
// settings written by one run and read by the next. The test to run is
// usually a DISABLED_ one, which ordinary runs skip.

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace orlo::test {

// This process's environment without the variables named in Drop, plus Extra ("NAME=value").
inline std::vector<String> ChildEnvironment(const std::vector<String>& Extra,
                                            const std::vector<String>& Drop = {}) {
    std::vector<String> Result;
    for (char** Var = environ; *Var; ++Var) {
        const String Entry = *Var;
        const String Name = Entry.substr(0, Entry.find('='));
        bool Dropped = false;
        for (const String& D : Drop)
            Dropped = Dropped || Name == D;
        if (!Dropped)
            Result.push_back(Entry);
    }
    Result.insert(Result.end(), Extra.begin(), Extra.end());
    return Result;
}

class TFreshProcess {
public:
    // Starts the test Name ("Suite.DISABLED_Test") with the environment Environment.
    TFreshProcess(const String& Name, std::vector<String> Environment) : FName(Name) {
        const char* Dir = std::getenv("ORLO_TEST_TMP");
        if (!Dir || !*Dir)
            Dir = std::getenv("TMPDIR");
        static int Counter = 0;
        FLog = String(Dir && *Dir ? Dir : "/tmp") + "/fresh-" + IntToStr(getpid()) + "-" +
               IntToStr(++Counter) + ".log";
        std::vector<String> Args = {"/proc/self/exe", "--gtest_filter=" + Name,
                                    "--gtest_also_run_disabled_tests"};
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, FLog.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&Actions, STDOUT_FILENO, STDERR_FILENO);
        FError = posix_spawn(&FPid, "/proc/self/exe", &Actions, nullptr, Pointers(Args).data(),
                             Pointers(Environment).data());
        posix_spawn_file_actions_destroy(&Actions);
    }
    ~TFreshProcess() {
        if (FError == 0 && !FWaited) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        std::remove(FLog.c_str());
    }
    TFreshProcess(const TFreshProcess&) = delete;
    TFreshProcess& operator=(const TFreshProcess&) = delete;

    pid_t Pid() const noexcept { return FPid; }

    // Waits for the process; succeeds when exactly its test ran and passed.
    ::testing::AssertionResult Passed() {
        if (FError != 0)
            return ::testing::AssertionFailure() << "cannot start: " << std::strerror(FError);
        int Status = 0;
        waitpid(FPid, &Status, 0);
        FWaited = true;
        const String Output = this->Output();
        if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0 &&
            Output.find("[  PASSED  ] 1 test.") != String::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << FName << " failed:\n" << Output;
    }
    // Ends the process at once, as a crash or kill -9 would.
    void Kill() {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
        FWaited = true;
    }
    String Output() const {
        std::stringstream Text;
        Text << std::ifstream(FLog).rdbuf();
        return Text.str();
    }

private:
    static std::vector<char*> Pointers(std::vector<String>& Strings) {
        std::vector<char*> Result;
        for (String& S : Strings)
            Result.push_back(S.data());
        Result.push_back(nullptr);
        return Result;
    }

    String FName;
    String FLog;
    pid_t FPid = 0;
    int FError = 0;
    bool FWaited = false;
};

} // namespace orlo::test
