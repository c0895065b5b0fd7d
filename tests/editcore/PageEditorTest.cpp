// The wizard's editing core driven as a front end would, with its questions
// answered from a script: opening, editing, Build It with another program
// writing the page meanwhile, and every failure told.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "editcore/PageEditor.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/PageSession.h"
#include "support/Hive.h"
#include "support/TempDir.h"

namespace {

using Texts = std::vector<std::string>;

// Answers each question with the next scripted answer, or with its escape
// answer when the script has run out; records what was asked and told as
// "text|caption" (a question also with its answers: "|[A/B]").
class ScriptedView : public EditorView {
  public:
    Answer Ask(const Question& question) override {
        std::string record = question.text + "|" + question.caption + "|[";
        for (const Answer answer : question.answers) {
            record += std::string(record.back() == '[' ? "" : "/") + LabelOf(answer);
        }
        said.push_back(record + "]");
        if (answers.empty()) return question.escape;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Tell(const std::string& text, const std::string& caption) override {
        said.push_back(text + "|" + caption);
    }
    // Records how much had been said when the list was shown anew.
    void ShowEntries(int /*row*/) override { shownAfter.push_back(said.size()); }

    std::deque<Answer> answers;
    Texts said;
    std::vector<std::size_t> shownAfter;
};

std::time_t FixedClock() { return 1'733'486'400; }  // Friday, December 06, 2024, noon UTC

EntryText Entry(const std::string& title, const std::string& link = "/x.htm",
                const std::string& description = "", const std::string& date = "a day") {
    return {date, title, link, description};
}

// The titles of the entries of `list`, first to last.
Texts TitlesOf(const ItemList& list) {
    Texts titles;
    for (const CTavrelItem* item = list.Head(); item != nullptr; item = item->GetNext())
        titles.push_back(item->GetTitle());
    return titles;
}

// The titles of the entries of the page at `path`, as a fresh read finds them.
Texts TitlesOn(const std::string& path) {
    PageSession session(path);
    EXPECT_FALSE(session.Open(0, false));
    return TitlesOf(session.Page().entries);
}

std::string ChangedOnDiskQuestion(const std::string& page) {
    return std::string(kMsgChangedOnDisk) + "|" + page + "|[" + kBtnApplyMyChanges + "/" +
           kBtnOverwrite + "/" + kBtnGoBack + "]";
}

class PageEditorTest : public testing::Test {
  protected:
    void SetUp() override { SetDateClock(FixedClock); }
    void TearDown() override { SetDateClock(nullptr); }

    // A new editor on `path`, opened; `opened` tells whether Open succeeded.
    PageEditor& Open(const std::string& path, bool* opened = nullptr) {
        m_editor = std::make_unique<PageEditor>(path, &m_view, 0.2);
        const bool ok = m_editor->Open();
        if (opened != nullptr) *opened = ok;
        return *m_editor;
    }
    // Build It with nothing typed, answering with `answers`.
    BuildOutcome Build(std::deque<Answer> answers = {}) {
        m_view.answers = std::move(answers);
        return m_editor->BuildIt({});
    }
    // Writes the page at `path` through the editor, with `entries` newest first.
    void WritePage(const std::string& path, const std::vector<EntryText>& entries) {
        Open(path);
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) m_editor->Add(*it);
        EXPECT_EQ(Build(), BuildOutcome::kWritten);
        Said();
    }
    // The pages of another program: its bytes, once written here and taken away.
    std::string Theirs(const std::vector<EntryText>& entries) {
        const std::string other = m_dir / "other.html";
        std::filesystem::remove(other);
        WritePage(other, entries);
        return ReadFileBytes(other);
    }
    Texts Said() { return std::exchange(m_view.said, {}); }
    Texts Shown() const { return TitlesOf(m_editor->Entries()); }

    TempDir m_dir;
    const std::string m_page = m_dir / "news.html";
    ScriptedView m_view;
    std::unique_ptr<PageEditor> m_editor;
};

TEST_F(PageEditorTest, OpeningRefusesWhatIsNoPageAndSaysWhatBuildItWillMeet) {
    const std::string folder = m_dir / "folder.html";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    bool opened = true;
    for (const std::string& path : {m_dir / "page.txt", std::string(), folder}) {
        Open(path, &opened);
        EXPECT_FALSE(opened) << path;
        EXPECT_EQ(Said(), Texts{std::string(path == folder ? kMsgNotRegularFile : kMsgNotHtml) +
                                "|" + path});
    }

    const std::string nowhere = m_dir / "no-such-folder/new.html";
    EXPECT_EQ(Open(nowhere).Title(),
              std::string("new.html (new page)") + kTitleSeparator + kAppCaption);
    EXPECT_EQ(Said(), Texts{std::string(kMsgFolderMissing) + "|" + nowhere});

    const std::string plain = m_dir / "plain.html";
    WriteFileBytes(plain, "<p>no list</p>");
    EXPECT_EQ(Open(plain).Title(),
              std::string("plain.html (no list yet)") + kTitleSeparator + kAppCaption);
    EXPECT_TRUE(Said().empty());

    ASSERT_EQ(chmod(plain.c_str(), 0444), 0);  // the user can still look
    Open(plain, &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Said(), Texts{std::string(kMsgPageNotWritable) + "|" + plain});
}

// An edit that finds no entry is told and forgotten; the edits that were
// made stay recorded until a write of them succeeds.
TEST_F(PageEditorTest, ApplyMyChangesKeepsTheUsersEditsUntilTheyAreWritten) {
    const std::string onlyZ = Theirs({Entry("Z")}), yAndZ = Theirs({Entry("Y"), Entry("Z")});
    WritePage(m_page, {Entry("A"), Entry("B")});
    Open(m_page);
    m_editor->Add(Entry("Mine", "/mine.htm"));
    m_editor->Delete(1);            // A
    WriteFileBytes(m_page, onlyZ);  // another program's write, meanwhile

    EXPECT_EQ(Build({Answer::kApplyMyChanges}), BuildOutcome::kStayed);
    Texts said = Said();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], ChangedOnDiskQuestion(m_page));
    EXPECT_NE(said[1].find("Delete of \"A\" (/x.htm)"), std::string::npos) << said[1];
    // Shown anew before the message that says it is shown.
    EXPECT_EQ(m_view.shownAfter, std::vector<std::size_t>{1});
    EXPECT_EQ(Shown(), (Texts{"Mine", "Z"}));
    EXPECT_EQ(ReadFileBytes(m_page), onlyZ);

    WriteFileBytes(m_page, yAndZ);
    EXPECT_EQ(Build({Answer::kApplyMyChanges}), BuildOutcome::kWritten);
    EXPECT_EQ(Said(), Texts{ChangedOnDiskQuestion(m_page)});
    EXPECT_EQ(TitlesOn(m_page), (Texts{"Mine", "Y", "Z"}));
}

TEST_F(PageEditorTest, OverwriteGoBackAndClosingDoWhatTheySay) {
    const std::string changed =
        Theirs({Entry("Other"), Entry("A", "/a.htm"), Entry("B", "/b.htm"), Entry("C", "/c.htm")});
    WritePage(m_page, {Entry("A", "/a.htm"), Entry("B", "/b.htm"), Entry("C", "/c.htm")});
    const std::string base = ReadFileBytes(m_page);
    const struct {
        Answer answer;
        BuildOutcome outcome;
        Texts titles;  // on the page afterwards
    } cases[] = {
        {Answer::kApplyMyChanges, BuildOutcome::kWritten, {"Mine", "Other", "A", "B2"}},
        {Answer::kOverwrite, BuildOutcome::kWritten, {"Mine", "A", "B2"}},
        {Answer::kGoBack, BuildOutcome::kStayed, {"Other", "A", "B", "C"}},
    };
    for (const auto& c : cases) {
        WriteFileBytes(m_page, base);
        Open(m_page);
        m_editor->Add(Entry("Mine", "/mine.htm"));
        m_editor->Change(2, Entry("B2", "/b.htm"));
        m_editor->Delete(3);
        WriteFileBytes(m_page, changed);
        EXPECT_EQ(Build({c.answer}), c.outcome);
        EXPECT_EQ(Said(), Texts{ChangedOnDiskQuestion(m_page)});
        EXPECT_EQ(TitlesOn(m_page), c.titles);
    }
    EXPECT_EQ(Shown(), (Texts{"Mine", "A", "B2"}));  // going back keeps the user's list
    EXPECT_TRUE(m_editor->HasUnwrittenEdits());

    // Closing asks when the list's edits or typed fields would be lost.
    EXPECT_FALSE(m_editor->MayClose(false));  // the box's Escape: back to the editor
    m_view.answers = {Answer::kDiscard};
    EXPECT_TRUE(m_editor->MayClose(false));
    EXPECT_TRUE(Open(m_page).MayClose(false));
    EXPECT_FALSE(m_editor->MayClose(true));
    const std::string discard = "Discard your changes to news.html?|" + m_page + "|[" +
                                kBtnDiscard + "/" + kBtnCancel + "]";
    EXPECT_EQ(Said(), (Texts{discard, discard, discard}));
    EXPECT_EQ(TitlesOn(m_page), (Texts{"Other", "A", "B", "C"}));
}

// The question is asked about the page as it is when written, after the
// changed-on-disk choice, not about the page as it was opened.
TEST_F(PageEditorTest, TheDropQuestionNamesWhatThePageHoldsWhenItIsWritten) {
    WritePage(m_page, {Entry("A", "/a.htm")});
    Open(m_page);
    m_editor->Add(Entry("Mine", "/mine.htm"));
    const std::string byHand =
        "<html><body>\n<dl>\n<!-- Automatically generated by TavrelWizard. Do Not Delete. -->\n"
        "<dt><strong>d</strong><br><a href=\"/a.htm\"><strong>A</strong></a>\n"
        "<dd>text <em>by hand</em><br><p>\n</dl>\n</body></html>\n";
    WriteFileBytes(m_page, byHand);
    const std::string named =
        std::string(kMsgUnreadContent) + "\n- an EM element in the description in entry 0";
    const std::string dropQuestion = named + "\n\n" + kMsgBuildAnyway + "|" + m_page + "|[" +
                                     kBtnBuildAnyway + "/" + kBtnGoBack + "]";
    for (const Answer choice : {Answer::kOverwrite, Answer::kApplyMyChanges}) {
        EXPECT_EQ(Build({choice}), BuildOutcome::kStayed);  // the drop question: go back
        EXPECT_EQ(Said(), (Texts{ChangedOnDiskQuestion(m_page), dropQuestion}));
        EXPECT_EQ(ReadFileBytes(m_page), byHand);
    }
    EXPECT_EQ(Build({Answer::kBuildAnyway}), BuildOutcome::kWritten);  // read: unchanged
    EXPECT_EQ(Said(), Texts{dropQuestion});
    EXPECT_EQ(ReadFileBytes(m_page).find("by hand"), std::string::npos);
    EXPECT_EQ(TitlesOn(m_page), (Texts{"Mine", "A"}));

    WriteFileBytes(m_page, byHand);  // said when the page opens, too
    Open(m_page);
    EXPECT_EQ(Said(), Texts{named + "|" + m_page});
}

TEST_F(PageEditorTest, TypedFieldsAreAddedOrChangedAsTheAnswerSays) {
    WritePage(m_page, {Entry("A", "/a.htm")});
    const std::string before = ReadFileBytes(m_page);
    const auto question = [&](const char* text) {
        return std::string(text) + "|" + m_page + "|[" + kBtnYes + "/" + kBtnNo + "/" + kBtnCancel +
               "]";
    };
    const struct {
        int selected;
        Answer answer;
        BuildOutcome outcome;
        Texts titles;  // on the page afterwards
    } cases[] = {
        {-1, Answer::kYes, BuildOutcome::kWritten, {"Typed", "A"}},
        {-1, Answer::kNo, BuildOutcome::kWritten, {"A"}},
        {-1, Answer::kCancel, BuildOutcome::kStayed, {"A"}},
        {0, Answer::kYes, BuildOutcome::kWritten, {"Typed"}},
        {0, Answer::kNo, BuildOutcome::kWritten, {"A"}},
        {0, Answer::kCancel, BuildOutcome::kStayed, {"A"}},
    };
    for (const auto& c : cases) {
        WriteFileBytes(m_page, before);
        Open(m_page);
        m_view.answers = {c.answer};
        EXPECT_EQ(m_editor->BuildIt({Entry("Typed", "/t.htm"), true, c.selected}), c.outcome);
        EXPECT_EQ(Said(), Texts{question(c.selected < 0 ? kMsgAddBeforeBuilding
                                                        : kMsgChangeBeforeBuilding)});
        EXPECT_EQ(TitlesOn(m_page), c.titles);
    }
    Open(m_page);
    m_view.answers = {Answer::kYes};
    EXPECT_EQ(m_editor->BuildIt({Entry("No link", ""), true, -1}), BuildOutcome::kHyperlinkMissing);
    EXPECT_EQ(Said(), (Texts{question(kMsgAddBeforeBuilding),
                             std::string(kMsgHyperlinkRequired) + "|" + kAppCaption}));
}

// A refusal at Build It is told with its reason and leaves the page and the
// editor as they were, the user's list and record of edits included: once
// the cause is gone, Build It merges and writes them.
TEST_F(PageEditorTest, FailuresAreToldAndLeaveThePageAndTheEditorAsTheyWere) {
    // An existing page whose folder was moved away while it was edited: the
    // merge finds no page, and its write no folder.
    const std::string folder = m_dir / "site", moved = m_dir / "site-moved";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string page = folder + "/news.html";
    WritePage(page, {Entry("Only")});
    Open(page);
    m_editor->Add(Entry("Mine"));
    ASSERT_EQ(std::rename(folder.c_str(), moved.c_str()), 0);
    EXPECT_EQ(Build({Answer::kApplyMyChanges}), BuildOutcome::kStayed);
    EXPECT_EQ(Said(),
              (Texts{ChangedOnDiskQuestion(page),
                     std::string(kMsgCouldNotCreate) + "\nThe folder " + folder +
                         " does not exist; nothing was written. Create it first (mkdir -p " +
                         folder + ") or check the page's path.|" + page}));
    EXPECT_EQ(Shown(), Texts{"Mine"});
    EXPECT_TRUE(m_editor->HasUnwrittenEdits());
    ASSERT_EQ(std::rename(moved.c_str(), folder.c_str()), 0);

    // Another program holds the page past the wait.
    {
        PageSession holder(page);
        ASSERT_FALSE(holder.Open(0, true));
        EXPECT_EQ(Build(), BuildOutcome::kStayed);
        EXPECT_EQ(Said(), Texts{std::string(kMsgPageBusy) + "|" + page});
    }
    EXPECT_EQ(Build({Answer::kApplyMyChanges}), BuildOutcome::kWritten);
    EXPECT_EQ(TitlesOn(page), (Texts{"Mine", "Only"}));
    EXPECT_FALSE(m_editor->HasUnwrittenEdits());
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's shadow memory defeats RLIMIT_AS
// The address space this process uses now, in bytes.
rlim_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

TEST_F(PageEditorTest, AFailedReadWhileApplyingMyChangesKeepsTheUsersListAndEdits) {
    const std::string theirs = Theirs({Entry("Z"), Entry("A")});
    WritePage(m_page, {Entry("A")});
    Open(m_page);
    m_editor->Add(Entry("Mine"));
    // Another program writes a page whose one run of text is too large to
    // be read in the memory left.
    std::string large = "<html><body>\n";
    while (large.size() < 48u << 20) large += "Another program's text, without markup.\n";
    WriteFileBytes(m_page, large);
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &unlimited), 0);
    const rlimit cap{AddressSpaceInUse() + (24u << 20), unlimited.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &cap), 0);
    const BuildOutcome outcome = Build({Answer::kApplyMyChanges});
    ASSERT_EQ(setrlimit(RLIMIT_AS, &unlimited), 0);
    const Texts said = Said();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0], ChangedOnDiskQuestion(m_page));
    EXPECT_NE(said[1].find(kMsgReadIncomplete), std::string::npos) << said[1];
    EXPECT_EQ(outcome, BuildOutcome::kStayed);
    EXPECT_EQ(Shown(), (Texts{"Mine", "A"}));

    WriteFileBytes(m_page, theirs);
    EXPECT_EQ(Build({Answer::kApplyMyChanges}), BuildOutcome::kWritten);
    EXPECT_EQ(TitlesOn(m_page), (Texts{"Mine", "Z", "A"}));
}
#endif

// One write path: the wizard's Build It and tavrel's commands give the same
// bytes for the same edits.
TEST_F(PageEditorTest, TheSameEditsThroughTheEditorAndTavrelGiveTheSamePage) {
    const std::string demo = std::string(TAVREL_SOURCE_DIR) + "/demo/htdocs/tavrel.html";
    const std::string wizard = m_dir / "wizard.html", command = m_dir / "command.html";
    ScopedHiveFolder hives;  // the pages' feeds are written too
    hives.Write("local", ServerHiveText(std::nullopt, {{{"/", m_dir.path()}}}));
    std::filesystem::copy_file(demo, wizard);
    std::filesystem::copy_file(demo, command);

    const EntryText added = Entry("New & <improved>", "/new.htm?a=1&b=\"2\"", "two\nlines",
                                  "Monday, December 07, 2026");
    const EntryText changed = Entry("Changed", "/changed.htm", "", "Tuesday");
    Open(wizard);
    m_editor->Add(added);
    m_editor->Change(2, changed);
    m_editor->Delete(3);
    EXPECT_EQ(Build(), BuildOutcome::kWritten);
    EXPECT_TRUE(Said().empty());

    EXPECT_EQ(RunAdd(command, {added.date, added.title, added.hyperlink, added.description}), 0);
    EXPECT_EQ(RunChange(command, 2,
                        {changed.date, changed.title, changed.hyperlink, changed.description}),
              0);
    EXPECT_EQ(RunDelete(command, 3), 0);

    EXPECT_EQ(ReadFileBytes(wizard), ReadFileBytes(command));
    EXPECT_NE(ReadFileBytes(wizard), ReadFileBytes(demo));
}

// The demo's own hive: the root mapped as "htdocs\\", relative to the server
// root, with a backslash.
TEST_F(PageEditorTest, TheFeedOfAPageInASubfolderKnowsThePagesAddress) {
    const std::string root = m_dir / "demo";
    std::filesystem::create_directories(root + "/htdocs/sub");
    std::filesystem::create_directories(root + "/htdocs/feeds");
    std::filesystem::create_directories(root + "/archive");
    std::string hive =
        ReadFileBytes(std::string(TAVREL_SOURCE_DIR) + "/demo/registry/local.reg.in");
    hive = hive.substr(hive.find('\n') + 1);  // the header is written anew
    for (auto at = hive.find("@DEMO_ROOT@"); at != std::string::npos; at = hive.find("@DEMO_ROOT@"))
        hive.replace(at, 11, root);
    ScopedHiveFolder hives;
    hives.Write("local", hive);

    const std::string page = root + "/htdocs/sub/news.html";
    WriteFileBytes(
        page,
        "<html><head><title>Sub news</title><link rel=alternate "
        "type=application/atom+xml href=\"/feeds/x.atom\"></head><body></body></html>\n");
    Open(page);
    m_editor->Add(Entry("Fed", "/fed.htm", "", "2026-12-06"));
    EXPECT_EQ(Build(), BuildOutcome::kWritten);
    EXPECT_EQ(Said(), Texts{});
    const std::string text = ReadFileBytes(root + "/htdocs/feeds/x.atom");
    EXPECT_NE(text.find("<link rel=\"alternate\" href=\"/sub/news.html\""), std::string::npos)
        << text;
    EXPECT_NE(text.find("<id>tag:example.org,2000:/sub/news.html</id>"), std::string::npos) << text;
}

}  // namespace
