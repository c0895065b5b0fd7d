#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>
#include <string>

#include "app/TavrelApp.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "platform/registry.h"
#include "support/DialogDriver.h"
#include "support/Hive.h"
#include "support/TempDir.h"

namespace {

// Start-up on the machines "local" and "web1", message boxes recorded.
class TavrelAppTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    MessageRecorder recorder;

    void SetUp() override {
        hives.Write("local", "");
        hives.Write("web1", "");
        g_hkeyServer = nullptr;
    }

    // Runs start-up on `commandLine`: "exit code|boxes". The editor refuses a
    // page that is not HTML with its path as the caption, which shows the
    // path start-up handed over.
    std::string Start(const std::string& commandLine) {
        CTavrelApp app(commandLine);
        EXPECT_FALSE(app.InitInstance());
        std::string outcome = std::to_string(app.ExitCode());
        for (const std::string& box : recorder.messages) outcome += "|" + box;
        recorder.messages.clear();
        return outcome;
    }
};

TEST_F(TavrelAppTest, ASwitchWithoutMachineIsFatalAnUnreachableOneSaidWithoutABox) {
    EXPECT_EQ(Start("tavrel-wizard page.htm -r"),
              "1|No remote server registry supplied for -r switch|Fatal Error|alone|stop");
    // An unreachable machine is said as WizardProcessTest shows.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Start("tavrel-wizard -r ../x page.txt"), "1");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"../x\" is no machine name"), std::string::npos) << said;
}

TEST_F(TavrelAppTest, TheEditorGetsThePagePathMadeAbsolute) {
    const std::string refused = std::string("|") + kMsgNotHtml + "|";
    EXPECT_EQ(Start("tavrel-wizard -r web1 \"my notes.txt\""),
              "0" + refused + std::filesystem::current_path().string() + "/my notes.txt");
    ASSERT_NE(g_hkeyServer, HKEY_LOCAL_MACHINE);
    RegCloseKey(g_hkeyServer);  // start-up keeps the connection for the process's life
    EXPECT_EQ(Start("\"/opt/tavrel wizard/tavrel-wizard\" \"/srv/my notes.txt\""),
              "0" + refused + "/srv/my notes.txt");
    EXPECT_EQ(g_hkeyServer, HKEY_LOCAL_MACHINE);
}

TEST_F(TavrelAppTest, WithoutAPageAFileDialogInTheDocumentRootAsksAndCancelEndsTheRun) {
    const TempDir server;
    std::filesystem::create_directories(server / "docs");
    // Written as a registry editor does, with backslashes.
    hives.Write("local", ServerHiveText(server.path(), {{{"/", "docs\\"}}}));
    QObject context;
    QString shownFolder;
    QStringList filters;
    WhenModalShown(&context, [&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        shownFolder = files->directory().canonicalPath();
        filters = files->nameFilters();
    });                                      // closed as Cancel
    EXPECT_EQ(Start("tavrel-wizard"), "0");  // no editor, no message
    EXPECT_EQ(shownFolder.toStdString(), std::filesystem::canonical(server / "docs").string());
    EXPECT_EQ(filters, QStringList{QStringLiteral("HTML pages (*.htm *.html)")});
}

}  // namespace
