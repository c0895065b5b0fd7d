// The editor dialog driven through its buttons and fields, headless.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <array>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <utility>

#include "editor/TavrelDlg.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "platform/list_box.h"
#include "support/DialogDriver.h"
#include "support/Hive.h"
#include "support/TempDir.h"

namespace {

// The dialog's clock stands still on one day, so a run that crosses midnight
// sees the same date throughout.
std::time_t FixedClock() { return 1'733'486'400; }  // Friday, December 06, 2024, noon UTC
const std::string kToday = "Friday, December 06, 2024";

const std::string kTitleHint = "*** Add Tavrel Item here ***";
const std::string kHints =
    kTitleHint + "|*** Add hyperlink here ***|*** Add the item description here ***|";

// Opens the dialog on pages and presses its buttons; message boxes are
// recorded.
class TavrelDlgTest : public testing::Test {
  protected:
    void SetUp() override { SetDateClock(FixedClock); }
    void TearDown() override {
        Close();
        SetDateClock(nullptr);
    }

    // Drops the dialog with what it read.
    void Close() {
        m_dialog.reset();
        ClearItemList();
        g_bNewPage = 0;
    }
    // Writes a new page through the dialog, with entries given as {date,
    // title, hyperlink, description}, newest first.
    void WritePage(const std::string& path,
                   const std::vector<std::array<std::string, 4>>& entries) {
        Open(path);
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            AddEntry((*it)[1], (*it)[2], (*it)[3], (*it)[0]);
        Click(IDC_BUILD_IT);
    }
    // Opens the dialog on `path` as DoModal does, shown unless opening ended it.
    CTavrelDlg& Open(const std::string& path) {
        Close();
        m_dialog = std::make_unique<CTavrelDlg>();
        m_dialog->m_strPagePath = path;
        m_dialog->OnInitDialog();
        if (m_dialog->ModalResult() == 0) m_dialog->show();
        return *m_dialog;
    }

    ListBox* List() const { return ItemAs<ListBox>(m_dialog.get(), IDC_ITEM_LIST); }
    Texts Rows() const { return RowTexts(List()); }
    // The selected row (-1 for none) and Add, Delete, Change: "+" enabled.
    std::string State() const {
        const auto selected = List()->selectedItems();
        std::string state = std::to_string(selected.isEmpty() ? -1 : List()->row(selected[0]));
        for (const int id : {IDC_ADD, IDC_DELETE, IDC_CHANGE})
            state += DialogItem(m_dialog.get(), id)->isEnabled() ? '+' : '-';
        return state;
    }
    std::string Field(int id) const { return GetDlgItemText(m_dialog.get(), id, 100000); }
    // Title, hyperlink, description and date, joined by "|".
    std::string Fields() const {
        return Field(IDC_TITLE) + "|" + Field(IDC_HYPERLINK) + "|" + Field(IDC_DESCRIPTION) + "|" +
               Field(IDC_DATE);
    }
    // The message boxes shown since the last call, as "text|caption".
    Texts TakeMessages() { return std::exchange(m_recorder.messages, {}); }
    static Texts Said(const std::string& text, const std::string& caption) {
        return {text + "|" + caption};
    }
    void Type(int id, const std::string& text) { SetDlgItemText(m_dialog.get(), id, text); }
    void Click(int id) { Press(m_dialog.get(), id); }
    void Select(int row) { ClickRow(List(), row); }
    // New Item, the four fields, Add.
    void AddEntry(const std::string& title, const std::string& link,
                  const std::string& description = "", const std::string& date = "a day") {
        Click(IDC_NEW_ITEM);
        Type(IDC_TITLE, title);
        Type(IDC_HYPERLINK, link);
        Type(IDC_DESCRIPTION, description);
        Type(IDC_DATE, date);
        Click(IDC_ADD);
    }

    TempDir m_dir;
    std::unique_ptr<CTavrelDlg> m_dialog;
    MessageRecorder m_recorder;
};

TEST_F(TavrelDlgTest, RefusedOrUnreadablePagesEndTheDialogUntouched) {
    const std::string folder = m_dir / "folder.html";  // a page's name, but no page
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    for (const std::string& path : {m_dir / "page.txt", m_dir / "page.ht", std::string(), folder}) {
        EXPECT_EQ(Open(path).ModalResult(), IDCANCEL) << path;
        EXPECT_EQ(TakeMessages(), Said(path == folder ? kMsgNotRegularFile : kMsgNotHtml, path));
        EXPECT_EQ(g_pItemHead, nullptr);
    }
    EXPECT_FALSE(PathExists(m_dir / "page.txt"));
}

TEST_F(TavrelDlgTest, PageWithEntriesOpensOnTheFirstAndChangeAndDeleteWorkInPlace) {
    WritePage(m_dir / "news.HTM", {{"Mon", "First", "/1.htm", "one"},
                                   {"Tue", "", "/2.htm", "untitled"},
                                   {"Wed", "Third", "/3.htm", "three"},
                                   {"Thu", "Fourth", "/4.htm", "four"}});
    Open(m_dir / "news.HTM");
    EXPECT_EQ(Rows(), (Texts{"First", "", "Third", "Fourth"}));  // not "[none]" when read
    EXPECT_EQ(State() + Fields(), "0-++First|/1.htm|one|Mon");

    Select(2);
    Type(IDC_TITLE, "");
    Type(IDC_HYPERLINK, "");  // Change needs no hyperlink
    Type(IDC_DESCRIPTION, "changed");
    Click(IDC_CHANGE);
    EXPECT_EQ(Rows(), (Texts{"First", "", "[none]", "Fourth"}));
    EXPECT_EQ(
        ItemAt(2)->GetTitle() + "|" + ItemAt(2)->GetHyperlink() + "|" + ItemAt(2)->GetDescription(),
        "||changed");
    EXPECT_EQ(State(), "2-++");
    Type(IDC_TITLE, "never stored");  // dropped when another row is selected
    Select(0);
    Select(2);
    EXPECT_EQ(Field(IDC_TITLE), "");

    Click(IDC_DELETE);  // the one before it is selected next
    EXPECT_EQ(Rows(), (Texts{"First", "", "Fourth"}));
    EXPECT_EQ(State() + Fields(), "1-++|/2.htm|untitled|Tue");
    Select(0);  // the first: the one that followed it is selected next
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), (Texts{"", "Fourth"}));
    EXPECT_EQ(State() + Fields(), "0-++|/2.htm|untitled|Tue");
    Click(IDC_DELETE);
    Click(IDC_DELETE);  // the only one left
    EXPECT_EQ(g_pItemHead, nullptr);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(State() + Fields(), "-1---|||");
}

TEST_F(TavrelDlgTest, MissingPageStartsWithPlaceholdersAndAddPutsTheFieldsOnTop) {
    EXPECT_EQ(Open(m_dir / "new.html").ModalResult(), 0);
    EXPECT_EQ(State() + Fields(), "-1+--" + kHints + kToday);
    Click(IDC_ADD);  // the placeholders are ordinary text, the link one included
    EXPECT_EQ(Rows(), Texts{kTitleHint});
    EXPECT_EQ(State(), "0-++");

    Click(IDC_NEW_ITEM);
    EXPECT_EQ(State() + Fields(), "-1+--|||" + kToday);
    Type(IDC_TITLE, "No link");
    Click(IDC_ADD);
    EXPECT_EQ(TakeMessages(), Said(kMsgHyperlinkRequired, kAppCaption));

    // 255 characters are 256 bytes here: the entry stores what the field shows.
    const std::string longTitle = std::string(254, 't') + "\xC3\xA9";
    AddEntry(longTitle, " ", "two\nlines", "");  // a blank is a hyperlink
    EXPECT_EQ(Rows(), (Texts{longTitle, kTitleHint}));
    EXPECT_EQ(State() + Fields(), "0-++" + longTitle + "| |two\nlines|");
    EXPECT_EQ(g_pItemHead->GetTitle() + "|" + g_pItemHead->GetDescription() + "|" +
                  g_pItemHead->GetDate(),
              longTitle + "|two\nlines|");
}

TEST_F(TavrelDlgTest, BuildItWritesNewPagesAndUpdatesExistingOnesThroughTheirTree) {
    const std::string page = m_dir / "news.html";
    Open(page);
    AddEntry("Older", "/older.htm", "first text", "Mon");
    AddEntry("Newer", "/newer.htm", "second text", "Tue");
    Click(IDC_NEW_ITEM);
    Type(IDC_TITLE, "Typed but never added");
    m_recorder.answers = {1};  // build without it
    Click(IDC_BUILD_IT);
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    TakeMessages();

    Open(page);  // read back, then changed
    EXPECT_EQ(Rows(), (Texts{"Newer", "Older"}));
    Select(1);
    EXPECT_EQ(Fields(), "Older|/older.htm|first text|Mon");
    Type(IDC_TITLE, "Oldest");
    Click(IDC_CHANGE);
    Click(IDC_BUILD_IT);
    Open(page);  // read back
    EXPECT_EQ(Rows(), (Texts{"Newer", "Oldest"}));
    EXPECT_EQ(Fields(), "Newer|/newer.htm|second text|Tue");

    // A page without a section gets one and keeps its own content.
    WriteFileBytes(page, "<html><body><p>Keep me</p></body></html>\n");
    Open(page);
    EXPECT_EQ(State() + Fields(), "-1+--" + kHints + kToday);
    Type(IDC_HYPERLINK, "/entry.htm");
    Click(IDC_ADD);
    Click(IDC_BUILD_IT);
    for (const std::string part : {"Keep me", kMarkerBody, "/entry.htm"})
        EXPECT_NE(ReadFileBytes(page).find(part), std::string::npos) << part;
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TavrelDlgTest, BuildItWritesTheFeedThePageLinksAndNoneOtherwise) {
    ScopedHiveFolder hives;  // the test's folder is the document root
    hives.Write("local", ServerHiveText(std::nullopt, {{{"/", m_dir.path()}}}));
    const std::string page = m_dir / "linked.html";
    WriteFileBytes(page,
                   "<html><head><link rel=alternate type=application/atom+xml href=linked.atom>"
                   "</head><body></body></html>\n");
    Open(page);
    AddEntry("Fed", "/fed.htm", "fed & read", "2026-12-06");
    Click(IDC_BUILD_IT);
    EXPECT_NE(ReadFileBytes(m_dir / "linked.atom").find("fed &amp; read"), std::string::npos);

    // A page outside the document map gets no feed, said after it is written.
    WriteFileBytes(page,
                   "<html><head><link rel=alternate type=application/atom+xml "
                   "href=\"../escaped.atom\"></head><body></body></html>\n");
    Open(page);
    hives.Write("local", ServerHiveText(std::nullopt, {{{"/", m_dir / "site"}}}));
    mkdir((m_dir / "site").c_str(), 0755);
    AddEntry("Kept", "/kept.htm", "", "2026-12-06");
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), Said(kMsgFeedHasNoPlace, page));
    EXPECT_NE(ReadFileBytes(page).find("/kept.htm"), std::string::npos);
    EXPECT_FALSE(PathExists(m_dir / "escaped.atom"));

    Open(m_dir / "plain.html");
    AddEntry("Unfed", "/unfed.htm", "", "2026-12-06");
    Click(IDC_BUILD_IT);
    EXPECT_TRUE(PathExists(m_dir / "plain.html"));
    EXPECT_FALSE(PathExists(m_dir / "plain.atom"));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(TavrelDlgTest, CancelEscAndTheCloseBoxNeverWrite) {
    const std::string page = m_dir / "news.html", missing = m_dir / "missing.html";
    WritePage(page, {{"Mon", "Only", "/only.htm", "text"}});
    const std::string before = ReadFileBytes(page);
    Open(page);
    AddEntry("Added", "/added.htm");
    m_recorder.answers = {0};  // discard
    Click(IDCANCEL);
    EXPECT_EQ(m_dialog->ModalResult(), IDCANCEL);
    Open(missing);
    Click(IDC_ADD);
    m_recorder.answers = {0};
    QTest::keyClick(DialogItem(m_dialog.get(), IDC_TITLE), Qt::Key_Escape);
    EXPECT_EQ(m_dialog->ModalResult(), IDCANCEL);
    Open(missing).close();  // untouched placeholders: nothing to ask about
    EXPECT_EQ(m_dialog->ModalResult(), IDCANCEL);
    EXPECT_EQ(TakeMessages().size(), 2u);
    EXPECT_EQ(ReadFileBytes(page), before);
    EXPECT_FALSE(PathExists(missing));
}

// The choice offered at Build It when another program changed the page.
std::string ChangedOnDiskQuestion(const std::string& page) {
    return std::string(kMsgChangedOnDisk) + "|" + page + "|[" + kBtnApplyMyChanges + "/" +
           kBtnOverwrite + "/" + kBtnGoBack + "]";
}

TEST_F(TavrelDlgTest, APageChangedOnDiskIsWrittenOnlyAsTheUserChooses) {
    const std::string page = m_dir / "news.html", other = m_dir / "other.html";
    WritePage(other, {{"Sun", "Other", "/other.htm", "theirs"},
                      {"Mon", "A", "/a.htm", "a"},
                      {"Tue", "B", "/b.htm", "b"},
                      {"Wed", "C", "/c.htm", "c"}});
    WritePage(
        page,
        {{"Mon", "A", "/a.htm", "a"}, {"Tue", "B", "/b.htm", "b"}, {"Wed", "C", "/c.htm", "c"}});
    const std::string base = ReadFileBytes(page), changed = ReadFileBytes(other);
    struct Case {
        int answer;
        int result;
        Texts rows;  // of the page afterwards
    };
    const Case cases[] = {
        {0, IDOK, {"Mine", "Other", "A", "B2"}},
        {1, IDOK, {"Mine", "A", "B2"}},
        {2, 0, {"Other", "A", "B", "C"}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(page, base);
        Open(page);
        AddEntry("Mine", "/mine.htm", "mine", "Thu");
        Select(2);
        Type(IDC_TITLE, "B2");
        Click(IDC_CHANGE);
        Select(3);
        Click(IDC_DELETE);
        WriteFileBytes(page, changed);  // another program's write, meanwhile
        m_recorder.answers = {c.answer};
        Click(IDC_BUILD_IT);
        EXPECT_EQ(TakeMessages(), Texts{ChangedOnDiskQuestion(page)}) << c.answer;
        EXPECT_EQ(m_dialog->ModalResult(), c.result) << c.answer;
        if (c.result == 0) {  // back in the editor: Escape in the box goes back again
            EXPECT_EQ(Rows(), (Texts{"Mine", "A", "B2"}));
            Click(IDC_BUILD_IT);
            EXPECT_EQ(TakeMessages(), Texts{ChangedOnDiskQuestion(page)});
            EXPECT_EQ(ReadFileBytes(page), changed);
        }
        Open(page);
        EXPECT_EQ(Rows(), c.rows) << c.answer;
    }
}

TEST_F(TavrelDlgTest, EditsThatFindNoEntryAreReportedAndShownBeforeAnythingIsWritten) {
    const std::string page = m_dir / "news.html", other = m_dir / "other.html";
    WritePage(other, {{"Sun", "Z", "/z.htm", "z"}});
    const std::string theirs = ReadFileBytes(other);
    WritePage(page, {{"Mon", "A", "/a.htm", "a"}, {"Tue", "B", "/b.htm", "b"}});
    Open(page);
    Select(1);
    Type(IDC_TITLE, "B2");
    Click(IDC_CHANGE);
    Select(0);
    Click(IDC_DELETE);
    WriteFileBytes(page, theirs);
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    const Texts said = TakeMessages();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_NE(said[1].find(kMsgNotReplayed), std::string::npos) << said[1];
    EXPECT_NE(said[1].find("Change of \"B\" (/b.htm)"), std::string::npos) << said[1];
    EXPECT_NE(said[1].find("Delete of \"A\" (/a.htm)"), std::string::npos) << said[1];
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(Rows(), Texts{"Z"});
    EXPECT_EQ(ReadFileBytes(page), theirs);
    AddEntry("Mine", "/mine.htm");
    Click(IDC_BUILD_IT);  // the page is now the one shown: written without a question
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    Open(page);
    EXPECT_EQ(Rows(), (Texts{"Mine", "Z"}));
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's shadow memory defeats RLIMIT_AS
// The address space this process uses now, in bytes.
rlim_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

TEST_F(TavrelDlgTest, AFailedReadWhileApplyingMyChangesKeepsTheUsersListAndEdits) {
    const std::string page = m_dir / "news.html", other = m_dir / "other.html";
    WritePage(other, {{"Sun", "Z", "/z.htm", "z"}, {"Mon", "A", "/a.htm", "a"}});
    const std::string theirs = ReadFileBytes(other);
    WritePage(page, {{"Mon", "A", "/a.htm", "a"}});
    Open(page);
    AddEntry("Mine", "/mine.htm");
    // Another program writes a page too large to be read in the memory left.
    std::string large = "<html><body>\n";
    while (large.size() < 48u << 20) large += "<p>Another program's paragraph.\n";
    WriteFileBytes(page, large);
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &unlimited), 0);
    const rlimit cap{AddressSpaceInUse() + (24u << 20), unlimited.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &unlimited), 0);
    const Texts said = TakeMessages();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], ChangedOnDiskQuestion(page));
    EXPECT_NE(said[1].find(kMsgReadIncomplete), std::string::npos) << said[1];
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(Rows(), (Texts{"Mine", "A"}));

    WriteFileBytes(page, theirs);
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), Texts{ChangedOnDiskQuestion(page)});
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    Open(page);
    EXPECT_EQ(Rows(), (Texts{"Mine", "Z", "A"}));
}
#endif

TEST_F(TavrelDlgTest, ListContentTheEntriesCannotHoldIsNamedAtOpenAndBuildItAsksAgain) {
    const std::string page = m_dir / "news.html";
    const std::string text =
        "<html><body>\n<dl>\n<!-- Automatically generated by TavrelWizard. Do Not Delete. -->\n"
        "<dt><strong>d</strong><br><a href=\"/a.htm\"><strong>t</strong></a>\n"
        "<dd>text <em>by hand</em><br><p>\n</dl>\n</body></html>\n";
    WriteFileBytes(page, text);
    Open(page);
    const std::string named =
        std::string(kMsgUnreadContent) + "\n- an EM element in the description in entry 0";
    EXPECT_EQ(TakeMessages(), Said(named, page));
    EXPECT_EQ(Rows(), Texts{"t"});
    Click(IDC_BUILD_IT);  // the question's escape button: go back
    EXPECT_EQ(TakeMessages(), Texts{named + "\n\n" + kMsgBuildAnyway + "|" + page + "|[" +
                                    kBtnBuildAnyway + "/" + kBtnGoBack + "]"});
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(ReadFileBytes(page), text);
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    EXPECT_EQ(ReadFileBytes(page).find("by hand"), std::string::npos);
}

TEST_F(TavrelDlgTest, FailuresAreReportedAndLeaveThePageAlone) {
    const std::string nowhere = m_dir / "no-such-folder/new.html";
    Open(nowhere);
    EXPECT_EQ(TakeMessages(), Said(kMsgFolderMissing, nowhere));  // said when opening
    Click(IDC_BUILD_IT);
    EXPECT_EQ(m_dialog->ModalResult(), 0);  // the dialog stays, with all that was typed
    // The fixed first line, then the folder in the way and the fix.
    const auto notFound = [](const std::string& folder) {
        return std::string(kMsgCouldNotCreate) + "\nThe folder " + folder +
               " does not exist; nothing was written. Create it first (mkdir -p " + folder +
               ") or check the page's path.";
    };
    EXPECT_EQ(TakeMessages(), Said(notFound(m_dir / "no-such-folder"), nowhere));
    EXPECT_FALSE(PathExists(nowhere));

    // An existing page whose folder was moved away while it was edited.
    const std::string folder = m_dir / "site", moved = m_dir / "site-moved";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string page = folder + "/news.html";
    WritePage(page, {{"Mon", "Only", "/only.htm", "text"}});
    const std::string before = ReadFileBytes(page);
    Open(page);
    ASSERT_EQ(std::rename(folder.c_str(), moved.c_str()), 0);
    m_recorder.answers = {1};  // the page is gone: overwrite it
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(),
              (Texts{std::string(kMsgChangedOnDisk) + "|" + page + "|[" + kBtnApplyMyChanges + "/" +
                         kBtnOverwrite + "/" + kBtnGoBack + "]",
                     notFound(folder) + "|" + page}));
    EXPECT_FALSE(PathExists(page));
    EXPECT_EQ(ReadFileBytes(moved + "/news.html"), before);

    // A fresh page is not signed with nothing when the hive is damaged.
    {
        ScopedHiveFolder hives;
        hives.Write("local", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"x\"=broken\r\n");
        const std::string fresh = m_dir / "fresh.html";
        Open(fresh);
        AddEntry("A", "/a.htm");
        Click(IDC_BUILD_IT);
        const Texts said = TakeMessages();
        ASSERT_EQ(said.size(), 1U);
        EXPECT_EQ(said[0].rfind(kMsgRegistryDamaged, 0), 0U) << said[0];
        EXPECT_NE(said[0].find("local.reg:4: malformed registry hive"), std::string::npos);
        EXPECT_EQ(m_dialog->ModalResult(), 0);
        EXPECT_FALSE(PathExists(fresh));
    }
}

TEST_F(TavrelDlgTest, DoModalRunsUntilEnterInTheDateBuildsThePage) {
    CTavrelDlg dialog;
    dialog.m_strPagePath = m_dir / "modal.html";
    WhenModalShown(&dialog, [](QWidget* modal) {
        Press(modal, IDC_HELP_BUTTON);
        EXPECT_NE(modal->findChild<QTextBrowser*>(), nullptr);  // help opens, the dialog stays
        QTest::keyClick(DialogItem(modal, IDC_DATE), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(PathExists(m_dir / "modal.html"));

    CTavrelDlg refused;
    refused.m_strPagePath = m_dir / "page.txt";
    EXPECT_EQ(refused.DoModal(), IDCANCEL);  // returns at once, no loop to end
}

// Writes a fresh page with one entry, straight from the item list: no field
// of the dialog holds its texts to the typing limit.
void WriteOneEntryPage(const std::string& path, const std::string& title, const std::string& link,
                       const std::string& description) {
    auto* item = new CTavrelItem;
    item->SetTitle(title);
    item->SetHyperlink(link);
    item->SetDescription(description);
    item->SetDate("Mon");
    InsertItemAtHead(item);
    ASSERT_TRUE(WriteNewPage(path, g_pItemHead, ""));
    ClearItemList();
}

// Build It's question about fields typed but never stored, as recorded.
std::string TypedQuestion(const char* question, const std::string& page) {
    return std::string(question) + "|" + page + "|[" + kBtnYes + "/" + kBtnNo + "/" + kBtnCancel +
           "]";
}

TEST_F(TavrelDlgTest, BuildItAsksAboutTypedFieldsAndDoesWhatTheAnswerSays) {
    const std::string page = m_dir / "news.html";
    WritePage(page, {{"Mon", "A", "/a.htm", "a"}});
    const std::string before = ReadFileBytes(page);
    struct Case {
        bool selected;  // Change the selected entry, or Add a new one
        int answer;     // Yes, No, Cancel
        int result;
        Texts rows;  // of the page afterwards
    };
    const Case cases[] = {
        {false, 0, IDOK, {"Typed", "A"}}, {false, 1, IDOK, {"A"}}, {false, 2, 0, {"A"}},
        {true, 0, IDOK, {"Typed"}},       {true, 1, IDOK, {"A"}},  {true, 2, 0, {"A"}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(page, before);
        Open(page);
        if (!c.selected) Click(IDC_NEW_ITEM);
        Type(IDC_TITLE, "Typed");
        Type(IDC_HYPERLINK, "/typed.htm");  // as Browse puts it there
        m_recorder.answers = {c.answer};
        Click(IDC_BUILD_IT);
        const char* question = c.selected ? kMsgChangeBeforeBuilding : kMsgAddBeforeBuilding;
        EXPECT_EQ(TakeMessages(), Texts{TypedQuestion(question, page)});
        EXPECT_EQ(m_dialog->ModalResult(), c.result) << c.selected << c.answer;
        if (c.result == 0) {
            EXPECT_EQ(Field(IDC_TITLE), "Typed");  // nothing typed is lost
        }
        Open(page);
        EXPECT_EQ(Rows(), c.rows) << c.selected << c.answer;
    }

    // Yes without a hyperlink: Add refuses, and the dialog stays on the field.
    Open(page);
    Click(IDC_NEW_ITEM);
    Type(IDC_TITLE, "No link");
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), (Texts{TypedQuestion(kMsgAddBeforeBuilding, page),
                                     std::string(kMsgHyperlinkRequired) + "|" + kAppCaption}));
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_HYPERLINK));

    // Fields as the dialog showed them, placeholders included, are no edits.
    for (const std::string& path : {page, m_dir / "new.html"}) {
        Open(path);
        Click(IDC_BUILD_IT);
        EXPECT_EQ(m_dialog->ModalResult(), IDOK) << path;
        EXPECT_TRUE(TakeMessages().empty()) << path;
    }
}

TEST_F(TavrelDlgTest, CancelAsksBeforeDiscardingEditsNotWritten) {
    const std::string page = m_dir / "news.html";
    WritePage(page, {{"Mon", "A", "/a.htm", "a"}, {"Tue", "B", "/b.htm", "b"}});
    const std::string discard =
        "Discard your changes to news.html?|" + page + "|[" + kBtnDiscard + "/" + kBtnCancel + "]";
    const std::vector<std::function<void()>> edits = {
        [&] { Type(IDC_DESCRIPTION, "edited"); },
        [&] { Click(IDC_DELETE); },
        [&] {
            Type(IDC_TITLE, "A2");
            Click(IDC_CHANGE);  // stored in the list, not yet in the page
        },
    };
    for (const auto& edit : edits) {
        Open(page);
        edit();
        Click(IDCANCEL);  // the box's Escape: back to the dialog
        EXPECT_EQ(TakeMessages(), Texts{discard});
        EXPECT_EQ(m_dialog->ModalResult(), 0);
        m_recorder.answers = {0};
        m_dialog->close();
        EXPECT_EQ(TakeMessages(), Texts{discard});
        EXPECT_EQ(m_dialog->ModalResult(), IDCANCEL);
    }
    Open(page);
    Select(1);  // looking is no edit
    Click(IDCANCEL);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(m_dialog->ModalResult(), IDCANCEL);
}

TEST_F(TavrelDlgTest, EnterInTheDescriptionBreaksTheLineAndElsewhereBuilds) {
    Open(m_dir / "new.html");
    Click(IDC_NEW_ITEM);
    QWidget* description = DialogItem(m_dialog.get(), IDC_DESCRIPTION);
    QTest::keyClicks(description, "one");
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, "two");
    QTest::keyClick(description, Qt::Key_Enter, Qt::ControlModifier);
    QTest::keyClicks(description, "three");
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(Field(IDC_DESCRIPTION), "one\ntwo\nthree");
    Type(IDC_HYPERLINK, "/x.htm");
    m_recorder.answers = {0};
    QTest::keyClick(DialogItem(m_dialog.get(), IDC_TITLE), Qt::Key_Return);
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    Open(m_dir / "new.html");
    EXPECT_EQ(Field(IDC_DESCRIPTION), "one\ntwo\nthree");
}

TEST_F(TavrelDlgTest, AFailedWriteKeepsTheDialogAndBuildItCanBePressedAgain) {
    const std::string page = m_dir / "news.html";
    WriteOneEntryPage(page, "A", "/a.htm", std::string(3000, 'a'));
    const std::string before = ReadFileBytes(page);
    Open(page);
    AddEntry("Mine", "/mine.htm");
    // Files may not grow past 1000 bytes, for root too: the write fails midway.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1000, saved.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    Click(IDC_BUILD_IT);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(TakeMessages(), Said(std::string(kMsgCouldNotCreate) + "\nFile too large.", page));
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(ReadFileBytes(page), before);
    EXPECT_EQ(Rows(), (Texts{"Mine", "A"}));

    Click(IDC_BUILD_IT);  // the cause is gone: the same list is written
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    Open(page);
    EXPECT_EQ(Rows(), (Texts{"Mine", "A"}));
    Select(1);
    EXPECT_EQ(Field(IDC_DESCRIPTION), std::string(3000, 'a'));
}

// The fields refuse typing past 255 characters (not bytes: "é" is two), so
// what is shown is what is stored; text from the page is never cut, and can
// still be shortened.
TEST_F(TavrelDlgTest, FieldsRefuseTypingPast255CharactersAndKeepPageTextWhole) {
    const std::string page = m_dir / "news.html";
    const std::string title(243, 't'), description(400, 'd');
    WriteOneEntryPage(page, title + "-end", "/" + std::string(300, 'h'), description);

    Open(page);
    Click(IDC_CHANGE);  // untouched: nothing is cut
    EXPECT_EQ(ItemAt(0)->GetTitle(), title + "-end");
    EXPECT_EQ(ItemAt(0)->GetHyperlink(), "/" + std::string(300, 'h'));
    EXPECT_EQ(ItemAt(0)->GetDescription(), description);
    QWidget* descriptionField = DialogItem(m_dialog.get(), IDC_DESCRIPTION);
    descriptionField->setFocus();
    qobject_cast<QPlainTextEdit*>(descriptionField)->moveCursor(QTextCursor::End);
    QTest::keyClicks(descriptionField, "+");               // longer than the limit: refused
    QTest::keyClick(descriptionField, Qt::Key_Backspace);  // shorter: taken
    Click(IDC_CHANGE);
    EXPECT_EQ(ItemAt(0)->GetDescription(), std::string(399, 'd'));

    for (const int id : {IDC_TITLE, IDC_DESCRIPTION}) {
        Type(id, "");
        QWidget* field = DialogItem(m_dialog.get(), id);
        field->setFocus();
        QTest::keyClicks(field, QString(250, QChar('a')));
        for (int i = 0; i < 10; ++i) {  // keys beyond ASCII, as a keyboard layout sends them
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(QChar(0xe9)),
                                Qt::NoModifier);
        }
        std::string expected(250, 'a');
        for (int i = 0; i < 5; ++i) expected += "\xc3\xa9";
        EXPECT_EQ(Field(id), expected) << id;
    }
    Click(IDC_CHANGE);
    EXPECT_EQ(ItemAt(0)->GetTitle(), Field(IDC_TITLE));
    EXPECT_EQ(ItemAt(0)->GetDescription(), Field(IDC_DESCRIPTION));
}

TEST_F(TavrelDlgTest, TheTitleNamesThePageAndOpeningSaysWhatBuildItWillRefuse) {
    const std::string news = m_dir / "news.html", index = m_dir / "index.htm";
    WritePage(news, {{"Mon", "A", "/a.htm", "a"}});
    WriteFileBytes(index, "<html><body><p>Mine</p></body></html>\n");
    const std::string dash = " \u2014 Tavrel Wizard";
    EXPECT_EQ(Open(news).windowTitle().toStdString(), "news.html" + dash);
    EXPECT_EQ(Open(m_dir / "fresh.html").windowTitle().toStdString(),
              "fresh.html (new page)" + dash);
    EXPECT_EQ(Open(index).windowTitle().toStdString(), "index.htm (no list yet)" + dash);
    EXPECT_TRUE(TakeMessages().empty());

    ASSERT_EQ(chmod(news.c_str(), 0444), 0);
    Open(news);
    EXPECT_EQ(TakeMessages(), Said(kMsgPageNotWritable, news));
    EXPECT_EQ(Rows(), Texts{"A"});  // the user can still look
}

TEST_F(TavrelDlgTest, FocusGoesWhereTheNextKeystrokeBelongs) {
    Open(m_dir / "news.html");
    DialogItem(m_dialog.get(), IDC_DATE)->setFocus();
    Click(IDC_NEW_ITEM);
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_TITLE));
    Type(IDC_TITLE, "No link");
    Click(IDC_ADD);
    EXPECT_EQ(TakeMessages(), Said(kMsgHyperlinkRequired, kAppCaption));
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_HYPERLINK));
    EXPECT_EQ(ItemAs<QPushButton>(m_dialog.get(), IDC_CHANGE)->text(), "Chan&ge");
}

TEST_F(TavrelDlgTest, HelpOpensOnF1OrTheButtonBesideAndClosesOnEscapeAndCtrlW) {
    Open(m_dir / "news.html");
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
        if (keys.key() == Qt::Key_Escape) {
            m_dialog->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
            QTest::keyClick(DialogItem(m_dialog.get(), IDC_TITLE), Qt::Key_F1);
        } else {
            Click(IDC_HELP_BUTTON);
        }
        auto* help = m_dialog->findChild<QTextBrowser*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        QTest::keyClick(help, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(help->isVisible());
    }
    EXPECT_EQ(m_dialog->ModalResult(), 0);  // Escape went to the help, not the wizard
}

TEST_F(TavrelDlgTest, TheDialogGrowsFromTheTemplateSizeAndRemembersItsSize) {
    QSettings(QStringLiteral("tavrel-wizard"), QStringLiteral("tavrel-wizard")).clear();
    Open(m_dir / "news.html");
    const QSize base = m_dialog->size();
    EXPECT_EQ(m_dialog->minimumSize(), base);
    const auto geometry = [this](int id) { return DialogItem(m_dialog.get(), id)->geometry(); };
    const QRect list = geometry(IDC_ITEM_LIST), description = geometry(IDC_DESCRIPTION),
                title = geometry(IDC_TITLE), build = geometry(IDC_BUILD_IT);
    m_dialog->resize(base + QSize(100, 81));
    QApplication::processEvents();
    EXPECT_EQ(geometry(IDC_ITEM_LIST), list.adjusted(0, 0, 100, 40));
    EXPECT_EQ(geometry(IDC_TITLE), title.translated(0, 40));
    EXPECT_EQ(geometry(IDC_DESCRIPTION), description.adjusted(0, 40, 100, 81));
    EXPECT_EQ(geometry(IDC_BUILD_IT), build.translated(0, 81));
    Click(IDCANCEL);

    Open(m_dir / "news.html");
    EXPECT_EQ(m_dialog->size(), base + QSize(100, 81));
    for (int i = 0; i < 200; ++i)
        AddEntry("Entry " + std::to_string(i) + std::string(200, 'x'), "/e");
    EXPECT_EQ(List()->item(0)->toolTip().toStdString(), "Entry 199" + std::string(200, 'x'));
}

}  // namespace
