// Runs a program as its own process and collects what it says, for tests that
// check a command's exit code and output exactly.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;   // the exit status; 128 + N when signal N ended it
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs `argv` (argv[0] a path) with no standard input and waits for it.
// `environment` entries ("NAME=value", or "NAME" alone to remove NAME) change
// the test's own environment for the child.
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment = {});
