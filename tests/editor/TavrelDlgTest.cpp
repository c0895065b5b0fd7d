// The editor dialog driven through its buttons and fields, headless.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "editor/DateText.h"
#include "editor/ItemList.h"
#include "editor/Messages.h"
#include "editor/TavrelDlg.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/message_box.h"
#include "res/resource.h"
#include "support/TempDir.h"

namespace {

constexpr char kTitleHint[] = "*** Add Tavrel Item here ***";
constexpr char kDescriptionHint[] = "*** Add the item description here ***";
constexpr char kHyperlinkHint[] = "*** Add hyperlink here ***";

struct Message {
    std::string text;
    std::string caption;
};

using Buttons = std::array<bool, 3>;  // Add, Delete, Change enabled
constexpr Buttons kEntryState{true, false, false};
constexpr Buttons kItemState{false, true, true};
constexpr Buttons kEmptyState{false, false, false};

// Writes a page as the wizard writes a fresh one, with entries given as
// {date, title, hyperlink, description}, newest first. The entries go into a
// list of their own, so the dialog's item list is left alone.
void WritePage(const std::string& path, const std::vector<std::array<std::string, 4>>& entries) {
    CTavrelItem* head = nullptr;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        auto* item = new CTavrelItem;
        item->SetDate((*it)[0]);
        item->SetTitle((*it)[1]);
        item->SetHyperlink((*it)[2]);
        item->SetDescription((*it)[3]);
        item->SetNext(head);
        head = item;
    }
    EXPECT_TRUE(WriteNewPage(path, head));
    while (head != nullptr) {
        CTavrelItem* next = head->GetNext();
        delete head;
        head = next;
    }
}

// Releases what a read page left alive: the part of BODY that followed the
// old section, which hangs outside the tree until Build It, then the tree.
void ReleaseKeptPage() {
    for (block* rest = g_pSectionNext; rest != nullptr;) {
        block* next = rest->next_sib;
        HTMLFreeTree(rest);
        rest = next;
    }
    HTMLFreeTree(g_pRoot);
    ClearSplicePoints();
}

class TavrelDlgTest : public testing::Test {
  protected:
    void SetUp() override {
        m_previousBox = SetMessageBoxFunction(
            [this](QWidget*, const std::string& text, const std::string& caption, MessageBoxIcon) {
                m_messages.push_back({text, caption});
            });
    }

    void TearDown() override {
        m_dialog.reset();
        SetMessageBoxFunction(m_previousBox);
        ReleaseKeptPage();
        ClearItemList();
        g_bNewPage = 0;
    }

    // Opens the dialog on `path` as DoModal does, and shows it unless the
    // opening already ended it.
    CTavrelDlg& Open(const std::string& path) {
        m_dialog = std::make_unique<CTavrelDlg>();
        m_dialog->m_strPagePath = path;
        m_dialog->OnInitDialog();
        if (m_dialog->ModalResult() == 0) m_dialog->show();
        return *m_dialog;
    }

    QListWidget* List() const {
        return qobject_cast<QListWidget*>(DialogItem(m_dialog.get(), IDC_ITEM_LIST));
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < List()->count(); ++i)
            rows.push_back(List()->item(i)->text().toStdString());
        return rows;
    }
    int SelectedRow() const {
        const auto selected = List()->selectedItems();
        return selected.isEmpty() ? -1 : List()->row(selected.first());
    }
    Buttons ButtonStates() const {
        return {DialogItem(m_dialog.get(), IDC_ADD)->isEnabled(),
                DialogItem(m_dialog.get(), IDC_DELETE)->isEnabled(),
                DialogItem(m_dialog.get(), IDC_CHANGE)->isEnabled()};
    }
    std::string Field(int id) const { return GetDlgItemText(m_dialog.get(), id, 100000); }
    void Type(int id, const std::string& text) { SetDlgItemText(m_dialog.get(), id, text); }
    void Click(int id) { qobject_cast<QPushButton*>(DialogItem(m_dialog.get(), id))->click(); }
    // Selects a row as the user does, by clicking it.
    void Select(int row) {
        QListWidget* list = List();
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Fills the four fields and presses Add.
    void AddEntry(const std::string& title, const std::string& link,
                  const std::string& description = "", const std::string& date = "a day") {
        Click(IDC_NEW_ITEM);
        Type(IDC_TITLE, title);
        Type(IDC_HYPERLINK, link);
        Type(IDC_DESCRIPTION, description);
        Type(IDC_DATE, date);
        Click(IDC_ADD);
    }
    std::vector<std::string> ListTitles() const {
        std::vector<std::string> titles;
        for (const CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
            titles.push_back(item->GetTitle());
        }
        return titles;
    }

    TempDir m_dir;
    std::unique_ptr<CTavrelDlg> m_dialog;
    std::vector<Message> m_messages;
    MessageBoxFunction m_previousBox;
};

// --- Opening ---------------------------------------------------------------

TEST_F(TavrelDlgTest, RefusedOrUnreadablePagesEndTheDialogUntouched) {
    // A folder with a page's name exists but cannot be read as a page.
    const std::string folder = m_dir / "folder.html";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::vector<std::pair<std::string, const char*>> cases = {
        {m_dir / "page.txt", kMsgNotHtml},
        {m_dir / "page.ht", kMsgNotHtml},
        {"", kMsgNotHtml},
        {folder, kMsgCannotRead}};
    for (const auto& [path, message] : cases) {
        m_messages.clear();
        CTavrelDlg& dialog = Open(path);
        EXPECT_EQ(dialog.ModalResult(), IDCANCEL) << path;
        ASSERT_EQ(m_messages.size(), 1u) << path;
        EXPECT_EQ(m_messages[0].text, message);
        EXPECT_EQ(m_messages[0].caption, path);
        EXPECT_EQ(g_pItemHead, nullptr);
    }
    EXPECT_FALSE(PathExists(m_dir / "page.txt"));
}

TEST_F(TavrelDlgTest, PageWithEntriesShowsThemInPageOrderAndTheFirstSelected) {
    const std::string page = m_dir / "news.HTM";
    WritePage(page, {{"Mon", "First", "/1.htm", "one"},
                     {"Tue", "", "/2.htm", "untitled"},
                     {"Wed", "Third", "/3.htm", "three"}});
    Open(page);
    EXPECT_EQ(g_bNewPage, 0);
    // An entry read without a title shows as an empty row, not "[none]".
    EXPECT_EQ(Rows(), (std::vector<std::string>{"First", "", "Third"}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(ButtonStates(), kItemState);
    EXPECT_EQ(Field(IDC_TITLE) + Field(IDC_HYPERLINK) + Field(IDC_DESCRIPTION) + Field(IDC_DATE),
              "First/1.htmoneMon");
    EXPECT_EQ(g_pItemTail, ItemAt(2));
}

// --- New Item, Add, Change, Delete ----------------------------------------

TEST_F(TavrelDlgTest, MissingPageStartsWithPlaceholdersWhichAddTakesAsTheyAre) {
    CTavrelDlg& dialog = Open(m_dir / "new.html");
    EXPECT_EQ(dialog.ModalResult(), 0);
    EXPECT_EQ(g_bNewPage, 1);
    EXPECT_EQ(ButtonStates(), kEntryState);
    EXPECT_EQ(Field(IDC_TITLE) + Field(IDC_DESCRIPTION) + Field(IDC_HYPERLINK),
              std::string(kTitleHint) + kDescriptionHint + kHyperlinkHint);
    EXPECT_EQ(Field(IDC_DATE), DateText());
    Click(IDC_ADD);  // the placeholders are ordinary text, the link one included
    EXPECT_EQ(Rows(), (std::vector<std::string>{kTitleHint}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(ButtonStates(), kItemState);
}

TEST_F(TavrelDlgTest, NewItemThenAddPutsTheFieldsOnTopAndNeedsAHyperlink) {
    Open(m_dir / "new.html");
    AddEntry("First", "/first.htm");
    Click(IDC_NEW_ITEM);
    EXPECT_EQ(Field(IDC_TITLE) + Field(IDC_HYPERLINK) + Field(IDC_DESCRIPTION), "");
    EXPECT_EQ(Field(IDC_DATE), DateText());
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_EQ(ButtonStates(), kEntryState);

    Type(IDC_TITLE, "No link");
    Click(IDC_ADD);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, kMsgHyperlinkRequired);
    EXPECT_EQ(m_messages[0].caption, kAppCaption);
    EXPECT_EQ(Rows().size(), 1u);
    EXPECT_EQ(ButtonStates(), kEntryState);

    // Over-long fields are cut to 255 bytes, before a character that would split.
    const std::string longTitle = std::string(254, 't') + "\xC3\xA9";
    Type(IDC_TITLE, longTitle);
    Type(IDC_HYPERLINK, " ");  // a blank is text
    Type(IDC_DESCRIPTION, "two\nlines");
    Type(IDC_DATE, "");
    Click(IDC_ADD);
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{std::string(254, 't'), "First"}));
    EXPECT_EQ(Rows()[0], std::string(254, 't'));
    EXPECT_EQ(g_pItemHead->GetDescription(), "two\nlines");
    EXPECT_EQ(g_pItemHead->GetDate(), "");
    EXPECT_EQ(Field(IDC_TITLE), longTitle);  // the field keeps all of it
    EXPECT_EQ(ButtonStates(), kItemState);
    Click(IDC_ADD);  // disabled now: the same fields cannot go in twice
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(TavrelDlgTest, ChangeRewritesTheSelectedEntryInPlace) {
    Open(m_dir / "new.html");
    AddEntry("C", "/c.htm");
    AddEntry("B", "/b.htm");
    AddEntry("A", "/a.htm");
    Select(1);
    EXPECT_EQ(Field(IDC_TITLE), "B");
    EXPECT_EQ(ButtonStates(), kItemState);

    Type(IDC_TITLE, "");
    Type(IDC_HYPERLINK, "");  // Change needs no hyperlink
    Type(IDC_DESCRIPTION, "changed");
    Click(IDC_CHANGE);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"A", "[none]", "C"}));
    EXPECT_EQ(ListTitles(), (std::vector<std::string>{"A", "", "C"}));
    EXPECT_EQ(ItemAt(1)->GetHyperlink(), "");
    EXPECT_EQ(ItemAt(1)->GetDescription(), "changed");
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(ButtonStates(), kItemState);

    // Edits of a selected entry are dropped when another row is selected.
    Type(IDC_TITLE, "never stored");
    Select(2);
    Select(1);
    EXPECT_EQ(Field(IDC_TITLE), "");
}

TEST_F(TavrelDlgTest, DeleteSelectsTheNeighbourAndEmptiesAtTheEnd) {
    Open(m_dir / "new.html");
    for (const char* title : {"D", "C", "B", "A"}) AddEntry(title, "/x.htm");

    Select(2);  // C: the one before it is selected next
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"A", "B", "D"}));
    EXPECT_EQ(ListTitles(), Rows());
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Field(IDC_TITLE), "B");
    EXPECT_EQ(ButtonStates(), kItemState);

    Select(0);  // the first: the one that followed it is selected next
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Field(IDC_TITLE), "B");

    Select(1);
    Click(IDC_DELETE);
    EXPECT_EQ(g_pItemTail, g_pItemHead);
    Click(IDC_DELETE);  // the only one left
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(g_pItemHead, nullptr);
    EXPECT_EQ(ButtonStates(), kEmptyState);
    EXPECT_EQ(Field(IDC_TITLE) + Field(IDC_HYPERLINK) + Field(IDC_DESCRIPTION) + Field(IDC_DATE),
              "");
    Click(IDC_NEW_ITEM);
    EXPECT_EQ(ButtonStates(), kEntryState);
}

// --- Build It, Cancel --------------------------------------------------------

TEST_F(TavrelDlgTest, BuildItWritesAFreshPageWithTheListOnly) {
    const std::string page = m_dir / "fresh.html";
    CTavrelDlg& dialog = Open(page);
    AddEntry("Older", "/older.htm", "first text", "Monday");
    AddEntry("Newer", "/newer.htm", "second text", "Tuesday");
    Click(IDC_NEW_ITEM);
    Type(IDC_TITLE, "Typed but never added");
    Click(IDC_BUILD_IT);
    EXPECT_EQ(dialog.ModalResult(), IDOK);
    EXPECT_TRUE(m_messages.empty());

    const std::string expected = m_dir / "expected.html";
    WritePage(expected, {{"Tuesday", "Newer", "/newer.htm", "second text"},
                         {"Monday", "Older", "/older.htm", "first text"}});
    EXPECT_EQ(ReadFileBytes(page), ReadFileBytes(expected));
}

TEST_F(TavrelDlgTest, BuildItUpdatesAnExistingPageThroughItsTree) {
    const std::string page = m_dir / "news.html";
    WritePage(page, {{"Mon", "Old one", "/old.htm", "old text"}});
    Open(page);
    AddEntry("New one", "/new.htm", "new text", "Tue");
    Click(IDC_BUILD_IT);
    EXPECT_TRUE(m_messages.empty());
    ReleaseKeptPage();
    ClearItemList();

    Open(page);  // read back
    EXPECT_EQ(Rows(), (std::vector<std::string>{"New one", "Old one"}));
    EXPECT_EQ(ItemAt(0)->GetHyperlink() + ItemAt(0)->GetDescription(), "/new.htmnew text");
    EXPECT_EQ(ItemAt(1)->GetDate(), "Mon");
}

TEST_F(TavrelDlgTest, PageWithoutSectionGetsOneAndKeepsItsContent) {
    const std::string page = m_dir / "plain.html";
    WriteFileBytes(page, "<html><body><p>Keep me</p></body></html>\n");
    Open(page);
    EXPECT_EQ(g_bNewPage, 0);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(ButtonStates(), kEntryState);
    EXPECT_EQ(Field(IDC_TITLE), kTitleHint);
    Type(IDC_HYPERLINK, "/entry.htm");
    Click(IDC_ADD);
    Click(IDC_BUILD_IT);
    const std::string written = ReadFileBytes(page);
    EXPECT_NE(written.find("Keep me"), std::string::npos);
    EXPECT_NE(written.find(kMarkerBody), std::string::npos);
    EXPECT_NE(written.find("/entry.htm"), std::string::npos);
}

TEST_F(TavrelDlgTest, CancelEscAndTheCloseBoxNeverWrite) {
    const std::string page = m_dir / "news.html";
    WritePage(page, {{"Mon", "Only", "/only.htm", "text"}});
    const std::string before = ReadFileBytes(page);
    const std::string missing = m_dir / "missing.html";

    CTavrelDlg& byButton = Open(page);
    AddEntry("Added", "/added.htm");
    Click(IDCANCEL);
    EXPECT_EQ(byButton.ModalResult(), IDCANCEL);
    ReleaseKeptPage();
    ClearItemList();

    CTavrelDlg& byEsc = Open(missing);
    Click(IDC_ADD);
    QTest::keyClick(DialogItem(&byEsc, IDC_TITLE), Qt::Key_Escape);
    EXPECT_EQ(byEsc.ModalResult(), IDCANCEL);
    ClearItemList();

    CTavrelDlg& byClose = Open(missing);
    byClose.close();
    EXPECT_EQ(byClose.ModalResult(), IDCANCEL);

    EXPECT_EQ(ReadFileBytes(page), before);
    EXPECT_FALSE(PathExists(missing));
}

TEST_F(TavrelDlgTest, WriteFailureIsReportedAndLeavesThePageAlone) {
    const std::string nowhere = m_dir / "no-such-folder/new.html";
    CTavrelDlg& fresh = Open(nowhere);
    Click(IDC_BUILD_IT);
    EXPECT_EQ(fresh.ModalResult(), IDOK);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, kMsgCouldNotCreate);
    EXPECT_EQ(m_messages[0].caption, nowhere);
    EXPECT_FALSE(PathExists(nowhere));

    // An existing page whose folder was moved away while it was edited.
    const std::string folder = m_dir / "site";
    const std::string moved = m_dir / "site-moved";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string page = folder + "/news.html";
    WritePage(page, {{"Mon", "Only", "/only.htm", "text"}});
    const std::string before = ReadFileBytes(page);
    m_messages.clear();
    ClearItemList();
    Open(page);
    ASSERT_EQ(std::rename(folder.c_str(), moved.c_str()), 0);
    Click(IDC_BUILD_IT);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, kMsgCouldNotCreate);
    EXPECT_EQ(m_messages[0].caption, page);
    EXPECT_FALSE(PathExists(page));
    EXPECT_EQ(ReadFileBytes(moved + "/news.html"), before);
}

TEST_F(TavrelDlgTest, PageWithoutBodyIsNeverWritten) {
    const std::string page = m_dir / "bodiless.html";
    WriteFileBytes(page, "<p>No body here</p>\n");
    Open(page);
    EXPECT_EQ(ButtonStates(), kEntryState);
    Click(IDC_ADD);
    Click(IDC_BUILD_IT);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, kMsgNoBody);
    EXPECT_EQ(m_messages[0].caption, page);
    EXPECT_EQ(ReadFileBytes(page), "<p>No body here</p>\n");
}

// --- The modal run ----------------------------------------------------------

TEST_F(TavrelDlgTest, DoModalRunsUntilEnterInTheDescriptionBuildsThePage) {
    CTavrelDlg dialog;
    dialog.m_strPagePath = m_dir / "modal.html";
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        qobject_cast<QPushButton*>(DialogItem(modal, IDC_HELP_BUTTON))->click();
        ASSERT_NE(modal->findChild<QTextBrowser*>(), nullptr);  // help opens, dialog stays
        QTest::keyClick(DialogItem(modal, IDC_DESCRIPTION), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(PathExists(m_dir / "modal.html"));

    CTavrelDlg refused;
    refused.m_strPagePath = m_dir / "page.txt";
    EXPECT_EQ(refused.DoModal(), IDCANCEL);  // returns at once, no loop to end
}

}  // namespace
