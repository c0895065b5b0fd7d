#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ServerHive.h"
#include "app/ServerRegistry.h"
#include "editor/ItemList.h"
#include "editor/TavrelDlg.h"
#include "linkchooser/LocalHrefDlg.h"
#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/list_box.h"
#include "platform/simple_combo_box.h"
#include "res/resource.h"
#include "support/Hive.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

QListWidget* DirList(CLocalHrefDlg& dlg) {
    return qobject_cast<QListWidget*>(DialogItem(&dlg, IDC_DIR_LIST));
}

SimpleComboBox* FileCombo(CLocalHrefDlg& dlg) {
    return qobject_cast<SimpleComboBox*>(DialogItem(&dlg, IDC_FILE_COMBO));
}

Texts RowTexts(const QListWidget* list) {
    Texts texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text().toStdString());
    return texts;
}

QListWidgetItem* Row(QListWidget* list, const std::string& text) {
    const auto found = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
}

QPoint RowCentre(QListWidget* list, QListWidgetItem* item) {
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}

void ClickRow(QListWidget* list, const std::string& text) {
    QListWidgetItem* item = Row(list, text);
    ASSERT_NE(item, nullptr) << text;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, item));
}

void DoubleClickRow(QListWidget* list, const std::string& text) {
    QListWidgetItem* item = Row(list, text);
    ASSERT_NE(item, nullptr) << text;
    // A user's double click is a click followed by the second press.
    const QPoint centre = RowCentre(list, item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void ClickOk(CLocalHrefDlg& dlg) { qobject_cast<QPushButton*>(DialogItem(&dlg, IDOK))->click(); }

std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

class LocalHrefDlgTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir server;
    std::string result;

    void SetUp() override {
        for (const char* dir :
             {"docs/sub/deeper", "docs/alpha", "docs/Beta", "docs/gamma", "docs/.git"}) {
            fs::create_directories(server / dir);
        }
        for (const char* file :
             {"docs/index.htm", "docs/B.htm", "docs/a.htm", "docs/.hidden.htm", "docs/sub/a.htm"}) {
            WriteFileBytes(server / file, "x");
        }
        hives.Write("local", ServerHiveText(server.path() + "/", {{{"/", "docs"}}}));
        g_hkeyServer = HKEY_LOCAL_MACHINE;
    }

    // Runs a chooser; `steps` act on it once it shows, and a chooser they
    // leave open is cancelled. Returns DoModal's result; `result` gets the
    // composed hyperlink.
    int Run(const std::function<void(CLocalHrefDlg&)>& steps) {
        CLocalHrefDlg dlg(nullptr);
        QTimer::singleShot(0, &dlg, [&] {
            steps(dlg);
            if (dlg.isVisible()) dlg.reject();
        });
        const int modalResult = dlg.DoModal();
        result = dlg.m_strResult;
        return modalResult;
    }
};

TEST_F(LocalHrefDlgTest, OpensWithEveryVisibleDirectorySortedAndNothingSelected) {
    const int modalResult = Run([](CLocalHrefDlg& dlg) {
        EXPECT_EQ(RowTexts(DirList(dlg)),
                  (Texts{"/", "/alpha", "/Beta", "/gamma", "/sub", "/sub/deeper"}));
        EXPECT_TRUE(DirList(dlg)->selectedItems().isEmpty());
        EXPECT_EQ(FileCombo(dlg)->Count(), 0);
    });
    EXPECT_EQ(modalResult, IDCANCEL);
    EXPECT_EQ(result, "");
}

TEST_F(LocalHrefDlgTest, OpensEmptyWithoutADocumentMap) {
    hives.Write("local", ServerHiveText(server.path(), std::nullopt));
    Run([](CLocalHrefDlg& dlg) { EXPECT_EQ(DirList(dlg)->count(), 0); });
}

TEST_F(LocalHrefDlgTest, SelectingOrDoubleClickingADirectoryListsItsFiles) {
    Run([](CLocalHrefDlg& dlg) {
        ClickRow(DirList(dlg), "/");
        EXPECT_EQ(RowTexts(FileCombo(dlg)->List()), (Texts{"a.htm", "B.htm", "index.htm"}));
        ClickRow(DirList(dlg), "/sub");
        EXPECT_EQ(RowTexts(FileCombo(dlg)->List()), (Texts{"a.htm"}));
        // A double click on the directory already selected refills the list too.
        FileCombo(dlg)->ResetContent();
        DoubleClickRow(DirList(dlg), "/sub");
        EXPECT_EQ(RowTexts(FileCombo(dlg)->List()), (Texts{"a.htm"}));
        ClickRow(DirList(dlg), "/sub/deeper");
        EXPECT_EQ(FileCombo(dlg)->Count(), 0);
    });
}

TEST_F(LocalHrefDlgTest, OkJoinsDirectoryAndFileWithOneSlash) {
    EXPECT_EQ(Run([](CLocalHrefDlg& dlg) {
                  ClickRow(DirList(dlg), "/");
                  ClickRow(FileCombo(dlg)->List(), "index.htm");
                  ClickOk(dlg);
              }),
              IDOK);
    EXPECT_EQ(result, "/index.htm");

    Run([](CLocalHrefDlg& dlg) {
        ClickRow(DirList(dlg), "/sub");
        ClickRow(FileCombo(dlg)->List(), "a.htm");
        ClickOk(dlg);
    });
    EXPECT_EQ(result, "/sub/a.htm");

    // The file field is taken as it stands: typed, or left empty.
    Run([](CLocalHrefDlg& dlg) {
        ClickRow(DirList(dlg), "/sub");
        QTest::keyClicks(FileCombo(dlg)->Edit(), "new page.htm");
        ClickOk(dlg);
    });
    EXPECT_EQ(result, "/sub/new page.htm");

    Run([](CLocalHrefDlg& dlg) {
        ClickRow(DirList(dlg), "/sub");
        ClickOk(dlg);
    });
    EXPECT_EQ(result, "/sub/");
}

TEST_F(LocalHrefDlgTest, OkWithoutADirectoryKeepsTheDialogOpen) {
    const int modalResult = Run([](CLocalHrefDlg& dlg) {
        FileCombo(dlg)->SetText("index.htm");
        ClickOk(dlg);
        EXPECT_TRUE(dlg.isVisible());
    });
    EXPECT_EQ(modalResult, IDCANCEL);
    EXPECT_EQ(result, "");
}

TEST_F(LocalHrefDlgTest, DoubleClickOnAFileIsOk) {
    EXPECT_EQ(Run([](CLocalHrefDlg& dlg) {
                  ClickRow(DirList(dlg), "/sub");
                  DoubleClickRow(FileCombo(dlg)->List(), "a.htm");
              }),
              IDOK);
    EXPECT_EQ(result, "/sub/a.htm");
}

TEST_F(LocalHrefDlgTest, LeavesTheCurrentDirectoryAsFound) {
    const std::string before = CurrentDirectory();
    Run([](CLocalHrefDlg& dlg) {
        ClickRow(DirList(dlg), "/sub/deeper");
        ClickOk(dlg);
    });
    EXPECT_EQ(CurrentDirectory(), before);
}

// Browse in the editor runs the chooser over it.
class BrowseTest : public LocalHrefDlgTest {
  protected:
    // Opens an editor on a page not written yet, presses Browse, lets `steps`
    // act on the chooser, and returns the editor's hyperlink field afterwards.
    std::string HyperlinkAfterBrowse(const std::function<void(CLocalHrefDlg&)>& steps) {
        CTavrelDlg editor;
        editor.m_strPagePath = server / "news.htm";
        editor.OnInitDialog();
        editor.show();
        QTimer::singleShot(0, &editor, [&] {
            auto* chooser = qobject_cast<CLocalHrefDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            steps(*chooser);
            if (chooser->isVisible()) chooser->reject();
        });
        qobject_cast<QPushButton*>(DialogItem(&editor, IDC_BROWSE))->click();
        EXPECT_EQ(g_pItemHead, nullptr);  // the entries are not touched
        return GetDlgItemText(&editor, IDC_HYPERLINK, 1000);
    }

    void TearDown() override {
        ClearItemList();
        g_bNewPage = 0;
    }
};

TEST_F(BrowseTest, OkPutsTheHyperlinkIntoTheField) {
    EXPECT_EQ(HyperlinkAfterBrowse([](CLocalHrefDlg& dlg) {
                  ClickRow(DirList(dlg), "/sub");
                  DoubleClickRow(FileCombo(dlg)->List(), "a.htm");
              }),
              "/sub/a.htm");
}

TEST_F(BrowseTest, CancelLeavesTheFieldAlone) {
    EXPECT_EQ(HyperlinkAfterBrowse([](CLocalHrefDlg& dlg) {
                  ClickRow(DirList(dlg), "/sub");
                  ClickRow(FileCombo(dlg)->List(), "a.htm");
                  qobject_cast<QPushButton*>(DialogItem(&dlg, IDCANCEL))->click();
              }),
              "*** Add hyperlink here ***");
}

}  // namespace
