#include <gtest/gtest.h>

#include <string>

#include "support/RunProgram.h"
#include "support/TempDir.h"

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

// Started with -r for a machine that has no hive, in a session without a
// runtime folder (su, ssh): one line saying why, on standard error, no box
// and no warning of the toolkit's.
TEST(WizardProcessTest, AnUnreachableMachineIsOneLineOnStandardError) {
    const TempDir scratch;
    const ProgramResult result =
        RunProgram({TAVREL_WIZARD_PATH, "-r", "nowhere", "page.htm"},
                   {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR", "TMPDIR=" + scratch.path(),
                    "TAVREL_REGISTRY_DIR=" + scratch.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, "tavrel-wizard: cannot reach the registry of machine \"nowhere\": " +
                                 scratch / "nowhere.reg" + " does not exist.\n");
}
