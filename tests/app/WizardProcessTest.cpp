#include <gtest/gtest.h>

#include <string>

#include "support/RunProgram.h"

// The wizard with no display at all says so in one line and fails, without
// the abort a GUI start-up would end in.
TEST(WizardProcessTest, WithoutADisplaySaysSoInOneLineAndFails) {
    const ProgramResult result = RunProgram({TAVREL_WIZARD_PATH, "page.htm"},
                                            {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors,
              "tavrel-wizard: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
              "`tavrel` edits pages headless\n");
}
