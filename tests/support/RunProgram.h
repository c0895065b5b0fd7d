// Runs a program as its own process, or a command inside the test process,
// and collects what it says, for tests that check a command's exit code and
// output exactly.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;   // the exit status; 128 + N when signal N ended it
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs `argv` (argv[0] a path) with no standard input and waits for it.
// `environment` entries ("NAME=value", or "NAME" alone to remove NAME) change
// the test's own environment for the child. `inChild`, when given, runs in
// the child just before the program starts, its output files already open
// (to lower a limit, or to become another user).
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {},
                         const std::function<void()>& inChild = {});

// Runs `command` in this process with its standard output and error captured;
// its return value is the exit code.
inline ProgramResult RunInProcess(const std::function<int()>& command) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ProgramResult result;
    result.exitCode = command();
    result.output = testing::internal::GetCapturedStdout();
    result.errors = testing::internal::GetCapturedStderr();
    return result;
}
