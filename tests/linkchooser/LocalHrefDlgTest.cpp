// The link chooser driven through its lists and buttons, alone and from the
// editor's Browse button, headless.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <functional>
#include <string>

#include "editor/TavrelDlg.h"
#include "linkchooser/LocalHrefDlg.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "platform/list_box.h"
#include "platform/simple_combo_box.h"
#include "support/DialogDriver.h"
#include "support/Hive.h"

namespace {

namespace fs = std::filesystem;
using Steps = std::function<void(QWidget*)>;

ListBox* Dirs(QWidget* dlg) { return ItemAs<ListBox>(dlg, IDC_DIR_LIST); }
SimpleComboBox* Files(QWidget* dlg) { return ItemAs<SimpleComboBox>(dlg, IDC_FILE_COMBO); }
// Clicks (or double-clicks) the row with `text`.
void ClickText(QListWidget* list, const std::string& text, bool twice = false) {
    const auto found = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << text;
    ClickRow(list, list->row(found.front()), twice);
}

class LocalHrefDlgTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir server;
    std::string result;

    void SetUp() override {
        for (const char* dir :
             {"docs/sub/deeper", "docs/alpha", "docs/Beta", "docs/gamma", "docs/.git"})
            fs::create_directories(server / dir);
        for (const char* file :
             {"docs/index.htm", "docs/B.htm", "docs/a.htm", "docs/.hidden.htm", "docs/sub/a.htm"})
            WriteFileBytes(server / file, "x");
        hives.Write("local", ServerHiveText(server.path() + "/", {{{"/", "docs"}}}));
        g_hkeyServer = HKEY_LOCAL_MACHINE;
    }
    // Runs a chooser through `steps`; returns DoModal's result and puts the
    // composed hyperlink into `result`.
    int Run(const Steps& steps) {
        CLocalHrefDlg dlg(nullptr);
        WhenModalShown(&dlg, steps);
        const int modalResult = dlg.DoModal();
        result = dlg.m_strResult;
        return modalResult;
    }
    // Selects `dir` and clicks `file` when given, types `typed`, presses OK;
    // returns the composed hyperlink, after "open:" when OK left the chooser open.
    std::string Compose(const std::string& dir, const std::string& file, const char* typed = "") {
        const int modalResult = Run([&](QWidget* dlg) {
            if (!dir.empty()) ClickText(Dirs(dlg), dir);
            if (!file.empty()) ClickText(Files(dlg)->List(), file);
            QTest::keyClicks(Files(dlg)->Edit(), typed);
            Press(dlg, IDOK);
        });
        return (modalResult == IDOK ? "" : "open:") + result;
    }
    // Opens an editor on a page not written yet, presses Browse, lets `steps`
    // act on the chooser, and returns the editor's hyperlink field afterwards.
    // The chooser must leave that field in sight.
    std::string HyperlinkAfterBrowse(const Steps& steps) {
        CTavrelDlg editor;
        editor.m_strPagePath = server / "news.htm";
        editor.OnInitDialog();
        editor.show();
        QWidget* field = DialogItem(&editor, IDC_HYPERLINK);
        const QRect fieldOnScreen(field->mapToGlobal(QPoint(0, 0)), field->size());
        WhenModalShown(&editor, [&](QWidget* dlg) {
            EXPECT_FALSE(dlg->frameGeometry().intersects(fieldOnScreen))
                << dlg->frameGeometry().y() << " " << fieldOnScreen.y();
            steps(dlg);
        });
        Press(&editor, IDC_BROWSE);
        EXPECT_EQ(ItemAs<QListWidget>(&editor, IDC_ITEM_LIST)->count(), 0);  // no entry added
        return GetDlgItemText(&editor, IDC_HYPERLINK, 1000);
    }
};

TEST_F(LocalHrefDlgTest, ListsVisibleDirectoriesSortedAndTheirFilesOnSelection) {
    EXPECT_EQ(Run([](QWidget* dlg) {
                  EXPECT_EQ(RowTexts(Dirs(dlg)),
                            (Texts{"/", "/alpha", "/Beta", "/gamma", "/sub", "/sub/deeper"}));
                  EXPECT_TRUE(Dirs(dlg)->selectedItems().isEmpty());
                  EXPECT_EQ(Files(dlg)->Count(), 0);
                  ClickText(Dirs(dlg), "/");
                  EXPECT_EQ(RowTexts(Files(dlg)->List()), (Texts{"a.htm", "B.htm", "index.htm"}));
                  Files(dlg)->ResetContent();  // a double click refills it too
                  ClickText(Dirs(dlg), "/", true);
                  EXPECT_EQ(Files(dlg)->Count(), 3);
                  ClickText(Dirs(dlg), "/sub/deeper");
                  EXPECT_EQ(Files(dlg)->Count(), 0);
              }),
              IDCANCEL);
    EXPECT_EQ(result, "");

    hives.Write("local", ServerHiveText(server.path(), std::nullopt));  // no document map
    Run([](QWidget* dlg) { EXPECT_EQ(Dirs(dlg)->count(), 0); });
}

TEST_F(LocalHrefDlgTest, OkJoinsDirectoryAndFileWithOneSlashOnlyWithADirectorySelected) {
    const fs::path before = fs::current_path();
    MessageRecorder recorder;
    EXPECT_EQ(Compose("/", "index.htm"), "/index.htm");
    EXPECT_EQ(Compose("/sub", "a.htm"), "/sub/a.htm");
    EXPECT_EQ(Compose("/sub", "", "new page.htm"), "/sub/new page.htm");  // typed
    EXPECT_EQ(Compose("/sub/deeper", ""), "/sub/deeper/");
    EXPECT_EQ(recorder.messages, Texts{});
    EXPECT_EQ(Compose("", "", "index.htm"), "open:");  // no directory selected: says why
    EXPECT_EQ(recorder.messages, Texts{std::string(kMsgChooseDirectory) + "|" + kLocalHrefCaption});
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(LocalHrefDlgTest, BrowseFillsTheEditorsFieldOnOkOnly) {
    EXPECT_EQ(HyperlinkAfterBrowse([](QWidget* dlg) {
                  ClickText(Dirs(dlg), "/sub");
                  ClickText(Files(dlg)->List(), "a.htm", true);  // a double click is OK
              }),
              "/sub/a.htm");
    EXPECT_EQ(HyperlinkAfterBrowse([](QWidget* dlg) {
                  ClickText(Dirs(dlg), "/sub");
                  ClickText(Files(dlg)->List(), "a.htm");
                  Press(dlg, IDCANCEL);
              }),
              "*** Add hyperlink here ***");
}

TEST_F(LocalHrefDlgTest, DamagedHiveIsShownOnceAtBrowseInsteadOfEmptyLists) {
    hives.Write("local", "[HKEY_LOCAL_MACHINE\\SOFTWARE\r\n");
    MessageRecorder recorder;
    // No chooser opens: the steps never run.
    EXPECT_EQ(HyperlinkAfterBrowse([](QWidget*) {}), "*** Add hyperlink here ***");
    EXPECT_EQ(recorder.messages,
              (Texts{std::string(kMsgCannotReadServerSettings) + "\n" +
                     hives.folder() /
                         "local.reg:3: malformed registry hive: key line without closing ']'|" +
                     kAppCaption}));
}

TEST_F(LocalHrefDlgTest, BrowseFollowsTheServerConfigurationTheHiveNames) {
    hives.Write("local",
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrim\\WebServer\\CurrentVersion]\r\n"
                "\"ServerConfig\"=\"" +
                    server / "nginx.conf" + "\"\r\n");
    WriteFileBytes(server / "nginx.conf", "http { server { root " + server.path() +
                                              "/docs/sub;\n location /a/ { alias " + server.path() +
                                              "/docs/alpha/; } } }\n");
    Run([](QWidget* dlg) { EXPECT_EQ(RowTexts(Dirs(dlg)), (Texts{"/", "/a/", "/deeper"})); });

    WriteFileBytes(server / "nginx.conf", "http {\n server { root /srv }\n}\n");
    MessageRecorder recorder;
    EXPECT_EQ(Run([](QWidget*) {}), IDCANCEL);
    EXPECT_EQ(recorder.messages,
              (Texts{std::string(kMsgCannotReadServerSettings) + "\n" + server / "nginx.conf" +
                     ":2: root has no ';' before '}'|" + kAppCaption + "|alone"}));
}

}  // namespace
