#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/ServerRegistry.h"
#include "app/TavrelApp.h"
#include "editor/Messages.h"
#include "platform/message_box.h"
#include "support/Hive.h"

namespace {

struct ShownBox {
    QWidget* owner;
    std::string text;
    std::string caption;
    MessageBoxIcon icon;
};

// Records the message boxes shown while it lives instead of showing them.
class BoxRecorder {
  public:
    BoxRecorder() {
        m_previous = SetMessageBoxFunction([this](QWidget* owner, const std::string& text,
                                                  const std::string& caption, MessageBoxIcon icon) {
            boxes.push_back({owner, text, caption, icon});
        });
    }
    ~BoxRecorder() { SetMessageBoxFunction(m_previous); }

    std::vector<ShownBox> boxes;

  private:
    MessageBoxFunction m_previous;
};

std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

class TavrelAppTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    BoxRecorder recorder;

    void SetUp() override {
        hives.Write("local", "");
        hives.Write("web1", "");
        g_hkeyServer = nullptr;
    }

    // The editor refuses a page that is not HTML with the page path as the
    // caption; that caption shows which path start-up handed over.
    std::string RefusedPagePath() const {
        if (recorder.boxes.size() != 1 || recorder.boxes[0].text != kMsgNotHtml) return "<none>";
        return recorder.boxes[0].caption;
    }
};

TEST_F(TavrelAppTest, ASwitchWithoutMachineIsFatal) {
    CTavrelApp app("tavrel-wizard page.htm -r");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitCode(), 1);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].owner, nullptr);
    EXPECT_EQ(recorder.boxes[0].text, "No remote server registry supplied for -r switch");
    EXPECT_EQ(recorder.boxes[0].caption, "Fatal Error");
    EXPECT_EQ(recorder.boxes[0].icon, MessageBoxIcon::Stop);
}

TEST_F(TavrelAppTest, AnUnreachableMachineEndsWithoutAMessage) {
    CTavrelApp app("tavrel-wizard -r web2 page.txt");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitCode(), 1);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(TavrelAppTest, TheEditorGetsTheLastPlainArgumentMadeAbsolute) {
    CTavrelApp app("tavrel-wizard -r web1 \"my notes.txt\"");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitCode(), 0);
    EXPECT_NE(g_hkeyServer, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RefusedPagePath(), CurrentDirectory() + "/my notes.txt");
}

TEST_F(TavrelAppTest, WithoutSwitchTheEditorGetsTheUnquotedTail) {
    CTavrelApp app("\"/opt/tavrel wizard/tavrel-wizard\" \"/srv/my notes.txt\"");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(g_hkeyServer, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RefusedPagePath(), "/srv/my notes.txt");
}

}  // namespace
