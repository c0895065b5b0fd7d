// Entry point of the GUI tests: one QApplication for all of them, on the
// offscreen platform unless a display platform was chosen explicitly, with a
// runtime folder of their own unless the session has one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_RUNTIME_DIR", TAVREL_TEST_RUNTIME_DIR, 0);
    QApplication application(argc, argv);
    // Settings the dialogs remember go to a scratch folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
