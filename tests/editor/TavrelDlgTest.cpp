// The editor dialog driven through its buttons and fields, headless.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <array>
#include <memory>
#include <utility>

#include "editor/TavrelDlg.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/NewPageWriter.h"
#include "page/PageSession.h"
#include "platform/list_box.h"
#include "support/DialogDriver.h"
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
    void Close() { m_dialog.reset(); }
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
    EXPECT_EQ(State(), "2-++");
    Type(IDC_TITLE, "never stored");  // dropped when another row is selected
    Select(0);
    Select(2);
    EXPECT_EQ(Fields(), "||changed|Wed");  // as stored

    Click(IDC_DELETE);  // the one before it is selected next
    EXPECT_EQ(Rows(), (Texts{"First", "", "Fourth"}));
    EXPECT_EQ(State() + Fields(), "1-++|/2.htm|untitled|Tue");
    Select(0);  // the first: the one that followed it is selected next
    Click(IDC_DELETE);
    EXPECT_EQ(Rows(), (Texts{"", "Fourth"}));
    EXPECT_EQ(State() + Fields(), "0-++|/2.htm|untitled|Tue");
    Click(IDC_DELETE);
    Click(IDC_DELETE);  // the only one left
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(State() + Fields(), "-1---|||");
}

// The title is the core's; focus goes where the next keystroke belongs.
TEST_F(TavrelDlgTest, MissingPageStartsWithPlaceholdersAndAddPutsTheFieldsOnTop) {
    EXPECT_EQ(Open(m_dir / "new.html").windowTitle().toStdString(),
              "new.html (new page) \u2014 Tavrel Wizard");
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(State() + Fields(), "-1+--" + kHints + kToday);
    Click(IDC_ADD);  // the placeholders are ordinary text, the link one included
    EXPECT_EQ(Rows(), Texts{kTitleHint});
    EXPECT_EQ(State(), "0-++");

    DialogItem(m_dialog.get(), IDC_DATE)->setFocus();
    Click(IDC_NEW_ITEM);
    EXPECT_EQ(State() + Fields(), "-1+--|||" + kToday);
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_TITLE));
    Type(IDC_TITLE, "No link");
    Click(IDC_ADD);
    EXPECT_EQ(TakeMessages(), Said(kMsgHyperlinkRequired, kAppCaption));
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_HYPERLINK));

    // 255 characters are 256 bytes here: the entry stores what the field shows.
    const std::string longTitle = std::string(254, 't') + "\xC3\xA9";
    AddEntry(longTitle, " ", "two\nlines", "");  // a blank is a hyperlink
    EXPECT_EQ(Rows(), (Texts{longTitle, kTitleHint}));
    EXPECT_EQ(State() + Fields(), "0-++" + longTitle + "| |two\nlines|");
}

TEST_F(TavrelDlgTest, DoModalRunsUntilEnterInTheDateBuildsThePage) {
    CTavrelDlg dialog;
    dialog.m_strPagePath = m_dir / "modal.html";
    WhenModalShown(&dialog, [](QWidget* modal) {
        QTest::keyClick(DialogItem(modal, IDC_DATE), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(PathExists(m_dir / "modal.html"));

    // A page the core refuses: its message is shown, and DoModal returns at
    // once, with no loop to end.
    CTavrelDlg refused;
    refused.m_strPagePath = m_dir / "page.txt";
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    EXPECT_EQ(TakeMessages(), Said(kMsgNotHtml, m_dir / "page.txt"));
}

// The first entry of the page at `path`, as a fresh read finds it.
EntryText FirstEntryOn(const std::string& path) {
    PageSession session(path);
    EXPECT_FALSE(session.Open(0, false));
    const CTavrelItem* first = session.Page().entries.Head();
    return first != nullptr ? TextOf(*first) : EntryText{};
}

// Build It's question about fields typed but never stored, as recorded.
std::string TypedQuestion(const char* question, const std::string& page) {
    return std::string(question) + "|" + page + "|[" + kBtnYes + "/" + kBtnNo + "/" + kBtnCancel +
           "]";
}

TEST_F(TavrelDlgTest, BuildItAsksAboutTypedFieldsAndDoesWhatTheAnswerSays) {
    const std::string page = m_dir / "news.html";
    WritePage(page, {{"Mon", "A", "/a.htm", "a"}});
    Open(page);
    Type(IDC_TITLE, "Typed");  // over the selected entry
    m_recorder.answers = {2};  // Cancel: nothing typed is lost
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), Texts{TypedQuestion(kMsgChangeBeforeBuilding, page)});
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(Field(IDC_TITLE), "Typed");

    // Yes for a new entry without a hyperlink: Add refuses, and the dialog
    // stays on the field.
    Click(IDC_NEW_ITEM);
    Type(IDC_TITLE, "Typed");
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), (Texts{TypedQuestion(kMsgAddBeforeBuilding, page),
                                     std::string(kMsgHyperlinkRequired) + "|" + kAppCaption}));
    EXPECT_EQ(m_dialog->ModalResult(), 0);
    EXPECT_EQ(m_dialog->focusWidget(), DialogItem(m_dialog.get(), IDC_HYPERLINK));
    Type(IDC_HYPERLINK, "/typed.htm");  // as Browse puts it there
    m_recorder.answers = {0};
    Click(IDC_BUILD_IT);
    EXPECT_EQ(TakeMessages(), Texts{TypedQuestion(kMsgAddBeforeBuilding, page)});
    EXPECT_EQ(m_dialog->ModalResult(), IDOK);
    Open(page);
    EXPECT_EQ(Rows(), (Texts{"Typed", "A"}));

    // Fields as the dialog showed them, placeholders included, are no edits.
    for (const std::string& path : {page, m_dir / "new.html"}) {
        Open(path);
        Click(IDC_BUILD_IT);
        EXPECT_EQ(m_dialog->ModalResult(), IDOK) << path;
        EXPECT_TRUE(TakeMessages().empty()) << path;
    }
}

// The fields refuse typing past 255 characters (not bytes: "é" is two), so
// what is shown is what is stored; text from the page is never cut, and can
// still be shortened.
TEST_F(TavrelDlgTest, FieldsRefuseTypingPast255CharactersAndKeepPageTextWhole) {
    const std::string page = m_dir / "news.html";
    const std::string title(243, 't'), link = "/" + std::string(300, 'h'), description(400, 'd');
    ItemList list;  // straight from a list: no field holds the texts to the typing limit
    list.InsertAtHead(ItemOf({"Mon", title + "-end", link, description}));
    ASSERT_TRUE(WriteNewPage(page, list.Head(), ""));

    Open(page);
    Click(IDC_CHANGE);  // untouched: nothing is cut
    Click(IDC_BUILD_IT);
    EXPECT_EQ(FirstEntryOn(page), (EntryText{"Mon", title + "-end", link, description}));
    Open(page);
    QWidget* descriptionField = DialogItem(m_dialog.get(), IDC_DESCRIPTION);
    descriptionField->setFocus();
    qobject_cast<QPlainTextEdit*>(descriptionField)->moveCursor(QTextCursor::End);
    QTest::keyClicks(descriptionField, "+");               // longer than the limit: refused
    QTest::keyClick(descriptionField, Qt::Key_Backspace);  // shorter: taken
    Click(IDC_CHANGE);
    EXPECT_EQ(Field(IDC_DESCRIPTION), std::string(399, 'd'));

    std::string typed(250, 'a');  // and five of the ten "é" typed after it
    for (int i = 0; i < 5; ++i) typed += "\xc3\xa9";
    for (const int id : {IDC_TITLE, IDC_DESCRIPTION}) {
        Type(id, "");
        QWidget* field = DialogItem(m_dialog.get(), id);
        field->setFocus();
        QTest::keyClicks(field, QString(250, QChar('a')));
        for (int i = 0; i < 10; ++i) {  // keys beyond ASCII, as a keyboard layout sends them
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(QChar(0xe9)),
                                Qt::NoModifier);
        }
        EXPECT_EQ(Field(id), typed) << id;
    }
    Click(IDC_CHANGE);
    Click(IDC_BUILD_IT);
    EXPECT_EQ(FirstEntryOn(page), (EntryText{"Mon", typed, link, typed}));
}

TEST_F(TavrelDlgTest, HelpOpensOnF1OrTheButtonBesideAndClosesOnEscapeAndCtrlW) {
    Open(m_dir / "news.html");
    m_dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    QTest::keyClick(DialogItem(m_dialog.get(), IDC_TITLE), Qt::Key_F1);
    auto* help = m_dialog->findChild<QTextBrowser*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    Click(IDC_HELP_BUTTON);  // the same window again
    EXPECT_TRUE(help->isVisible());
    QTest::keyClick(help, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(help->isVisible());
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
