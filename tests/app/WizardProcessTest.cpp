#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

// The wizard with no display at all says so in one line and fails, without
// the abort a GUI start-up would end in.
TEST(WizardProcessTest, WithoutADisplaySaysSoInOneLineAndFails) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(TAVREL_WIZARD_PATH) + "' page.htm 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(output,
              "tavrel-wizard: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
              "`tavrel` edits pages headless\n");
}
