#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

// Runs the wizard with `arguments` and no display at all; standard output and
// standard error are collected together.
Outcome RunWithoutDisplay(const std::string& arguments) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVREL_WIZARD_PATH) + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    Outcome outcome{-1, ""};
    if (pipe == nullptr) return outcome;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) outcome.output += buffer;
    const int status = pclose(pipe);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    return outcome;
}

TEST(WizardProcessTest, WithoutADisplaySaysSoInOneLineAndFails) {
    const Outcome outcome = RunWithoutDisplay("page.htm");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.output,
              "tavrel-wizard: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
              "`tavrel` edits pages headless\n");
}

}  // namespace
