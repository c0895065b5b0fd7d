// The tavrel command under the conditions that lost pages before: several
// writers at once, too little memory, paths that are not pages, fields that
// did not come back as given, write-protected pages and folders, signals in
// the middle of a write. Most cases run the real program as processes.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CliTesting.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using Args = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// Runs `binary` (tavrel, or a copy of it) with `args`; `inChild` runs in the
// child first (support/RunProgram.h).
ProgramResult RunTavrel(Args args, const std::function<void()>& inChild = {},
                        const std::string& binary = TAVREL_CLI_PATH) {
    args.insert(args.begin(), binary);
    return RunProgram(args, {}, inChild);
}

// Starts tavrel with `args` in a child of its own; Wait gives its exit code.
// The child keeps none of the test's files open: a lock held through one
// would outlive its release by the test.
pid_t Spawn(const Args& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        closefrom(3);
        _exit(RunTavrel(args).exitCode);
    }
    return pid;
}

// The exit code of `pid`.
int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The status of `path`, its links followed.
struct stat Stat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info;
}

// What lowers the child's `resource` to `limit`.
std::function<void()> Limit(int resource, rlim_t limit) {
    return [resource, limit] {
        const rlimit cap{limit, limit};
        setrlimit(resource, &cap);
    };
}

class PageSafetyTest : public ::testing::Test {
  protected:
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";

    // Runs tavrel to its end; what it said (output, then errors) in `said`.
    static int Tavrel(const Args& args, std::string* said = nullptr) {
        const ProgramResult result = RunTavrel(args);
        if (said != nullptr) *said = result.output + result.errors;
        return result.exitCode;
    }

    // Success when tavrel with `args` exits with `code`, having said `part`.
    static ::testing::AssertionResult Ends(const Args& args, int code, const std::string& part) {
        std::string said;
        const int got = Tavrel(args, &said);
        if (got != code) return ::testing::AssertionFailure() << "exit " << got << ":\n" << said;
        return Says(said, part);
    }

    nlohmann::json Entries(const std::string& page) {
        std::string output;
        EXPECT_EQ(Tavrel({"list", page, "--json"}, &output), 0) << output;
        return nlohmann::json::parse(output, nullptr, false);
    }

    // A page with `count` entries "e0" ... and text around the list.
    void WritePage(int count) {
        ASSERT_EQ(Tavrel({"add", m_page, "--link", "/first.htm", "--title", "e0"}), 0);
        std::string page = ReadFileBytes(m_page);
        page.insert(page.find("<H1>"), "<p>Before the list</p>\n");
        page.insert(page.find("</body>"), "<p>After the list</p>\n");
        WriteFileBytes(m_page, page);
        for (int i = 1; i < count; ++i) {
            ASSERT_EQ(
                Tavrel({"add", m_page, "--link", "/e.htm", "--title", "e" + std::to_string(i)}), 0);
        }
    }
};

// Every usage error exits 2 before the page is touched, naming what is wrong
// and, for a mistyped name, the nearest known one.
TEST_F(PageSafetyTest, UsageErrorsNameTheMistakeAndSuggestTheNearestName) {
    WritePage(1);
    const std::string before = ReadFileBytes(m_page);
    std::vector<std::pair<Args, std::string>> cases = {
        {{}, "tavrel: a command is required: list, add, change"},
        {{"ad", m_page}, "there is no command \"ad\"; did you mean add?"},
        {{"frobnicate"}, "there is no command \"frobnicate\".\nThe commands: list, add"},
        {{"add", m_page, "--link", "/a", "--titel", "Oops"},
         "tavrel add: there is no option --titel; did you mean --title?"},
        {{"--wiat", "3", "rebuild", m_page}, "there is no option --wiat; did you mean --wait?"},
        {{"add", m_page}, "--link URL is required"},
        {{"add", m_page, "--link", ""}, "--link URL is required"},
        {{"delete", m_page, "-1"}, "\"-1\" is no entry: entries are numbered from 0"},
        {{"change", m_page, "x"}, "\"x\" is no entry number"},
        {{"change", m_page, "0"}, "give the fields to change"},
        {{"docmap", "-r", "../x"}, "\"../x\" is no machine name"},
        {{"dirs", "-r", "a/b"}, "\"a/b\" is no machine name: it names MACHINE.reg"},
        {{"docmap", "-r", "web1", "--server-config", "x.conf"}, "does not go with --server-config"},
        {{"feed", m_page, "--base-url", "notaurl"}, "\"notaurl\" is no site address"},
        {{"feed", m_page, "--enable", "--disable"}, "exclude each other"},
    };
    // A wait the clock cannot hold is no wait at all, but a usage error.
    for (const char* wait : {"nan", "inf", "1e10", "86401", "-1", "5s"}) {
        cases.push_back({{"--wait", wait, "list", m_page}, "SECONDS must be a number from 0"});
    }
    for (const char* index : {"0x1", "1e1", "+2", " 3", ""}) {
        cases.push_back({{"delete", m_page, index}, "is no entry"});
    }
    for (const auto& [args, said] : cases) {
        const ProgramResult result = RunTavrel(args);
        EXPECT_EQ(result.exitCode, 2) << said;
        EXPECT_TRUE(Says(result.errors, said));
        EXPECT_TRUE(result.output.empty()) << result.output;
    }
    EXPECT_EQ(ReadFileBytes(m_page), before);
    const ProgramResult help = RunTavrel({"change", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Says(help.output, "INDEX"));
}

// Every kind of writer at once: no edit is lost, nothing outside the list
// changes, and no temporary file stays.
TEST_F(PageSafetyTest, ConcurrentEditsKeepEveryEntryAndTheRestOfThePage) {
    WritePage(20);
    std::vector<pid_t> writers;
    for (int i = 0; i < 40; ++i) {
        writers.push_back(Spawn({"--wait", "60", "add", m_page, "--link", "/n.htm"}));
        if (i % 8 == 0) writers.push_back(Spawn({"--wait", "60", "delete", m_page, "5"}));
        if (i % 8 == 4) {
            writers.push_back(Spawn({"--wait", "60", "change", m_page, "3", "--title", "changed"}));
        }
        if (i % 4 == 0) writers.push_back(Spawn({"--wait", "60", "rebuild", m_page}));
    }
    for (const pid_t pid : writers) EXPECT_EQ(Wait(pid), 0);
    EXPECT_EQ(Entries(m_page).size(), 55u);
    const std::string page = ReadFileBytes(m_page);
    EXPECT_TRUE(Says(page, "Before the list"));
    EXPECT_TRUE(Says(page, "After the list"));
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"page.html"});
}

// A lock another program holds is waited for as long as asked, then the
// edit is refused (writers that wait for each other and then go on are the
// concurrent test's).
TEST_F(PageSafetyTest, AHeldLockIsWaitedForAndThenRefused) {
    WritePage(1);
    const std::string before = ReadFileBytes(m_page);
    const int holder = open(m_page.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    const auto start = Clock::now();
    EXPECT_TRUE(Ends({"--wait", "0", "add", m_page, "--link", "/x.htm"}, 1,
                     "Another program is changing the page."));
    EXPECT_EQ(Tavrel({"rebuild", m_page, "--wait", "1"}), 1);
    EXPECT_GE(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(ReadFileBytes(m_page), before);
    close(holder);
}

TEST_F(PageSafetyTest, TooLittleMemoryWritesTheWholePageOrNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than any limit here";
#endif
    WritePage(3);
    std::string big = ReadFileBytes(m_page);
    std::string filler;
    for (int i = 0; i < 60000; ++i)
        filler += "<div class=\"x\"><b>row " + std::to_string(i) + "</b></div>\n";
    big.insert(big.rfind('<', big.find("After the list")), filler);
    WriteFileBytes(m_page, big);
    ASSERT_EQ(Tavrel({"rebuild", m_page}), 0);  // the form every rebuild writes
    const std::string rebuilt = ReadFileBytes(m_page);

    int refused = 0, written = 0;
    for (const rlim_t megabytes : {8, 16, 24, 32, 48, 64, 96, 128, 256, 1024}) {
        WriteFileBytes(m_page, rebuilt);
        const int code = RunTavrel({"rebuild", m_page}, Limit(RLIMIT_AS, megabytes << 20)).exitCode;
        EXPECT_TRUE(code == 0 || code == 1 || code == 128 + SIGABRT)
            << megabytes << " MB: " << code;
        EXPECT_EQ(ReadFileBytes(m_page), rebuilt) << megabytes << " MB";
        (code == 0 ? written : refused) += 1;
    }
    EXPECT_GT(written, 0);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"page.html"});
}

// Files that would block a read or never end it, and a name that is no page
// (a folder is refused by the page session the editor's tests open).
TEST_F(PageSafetyTest, PathsThatAreNotPagesAreRefusedAtOnce) {
    const std::string fifo = m_dir / "fifo.html", zero = m_dir / "zero.html";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    const std::pair<std::string, const char*> refused[] = {
        {fifo, "not a regular file"},
        {zero, "not a regular file"},
        {m_dir / "page.txt", "The file path is not an HTML document."}};
    for (const auto& [path, reason] : refused) {
        for (const char* command : {"list", "rebuild"}) {
            const auto start = Clock::now();
            EXPECT_TRUE(Ends({command, path}, 1, reason));
            // Well short of the 5 s lock wait; a loaded machine under the
            // sanitizer takes over a second to start the program.
            EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << path;
        }
    }
    EXPECT_TRUE(Ends({"list", m_dir / "missing.html"}, 1, "The page does not exist."));
}

TEST_F(PageSafetyTest, FieldsAndIndexesAreCheckedBeforeThePageIsTouched) {
    WritePage(12);
    const std::string before = ReadFileBytes(m_page);
    EXPECT_TRUE(Ends({"add", m_page, "--link", "/x.htm", "--title", "caf\xe9"}, 1, "--title"));
    EXPECT_TRUE(Ends({"change", m_page, "0", "--description", "\xc3("}, 1, "--description"));
    EXPECT_TRUE(Ends({"add", m_dir / "new.html", "--link", "/\xff"}, 1, "--link"));
    EXPECT_FALSE(PathExists(m_dir / "new.html"));
    EXPECT_EQ(ReadFileBytes(m_page), before);
    EXPECT_EQ(Tavrel({"delete", m_page, "010"}), 0);  // ten, not eight
    const nlohmann::json entries = Entries(m_page);
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries[9]["title"], "e2");  // e1 (entry 10) is gone
    EXPECT_EQ(entries[10]["title"], "e0");
    EXPECT_EQ(Tavrel({"delete", m_page, "99999999999999999999999"}), 1);
}

TEST_F(PageSafetyTest, ListContentThatEntriesCannotHoldIsNotDroppedUnasked) {
    const std::string marker = "<!-- Automatically generated by TavrelWizard. Do Not Delete. -->";
    const std::string head = "<html><body>\n<dl>\n" + marker + "\n";
    const std::string entry =
        "<dt><strong>d</strong><br><a href=\"/a.htm\"><strong>t</strong></a>\n<dd>text<br><p>\n";
    const std::pair<std::string, std::string> cases[] = {
        {"<dd>stray</dd>\n" + entry, "a description (DD) before the first entry"},
        {"<dt><strong>lone</strong>\n" + entry,
         "a term (DT) without its description (DD) in entry 0"},
        {entry + "<p>between</p>\n", "a P element in the description in entry 0"},
        {"<dt><strong>d</strong></dt><dd>text</dd>\n<!-- by hand -->\n" + entry,
         "a comment between entries"},
    };
    for (const auto& [list, said] : cases) {
        const std::string page = head + list + "</dl>\n</body></html>\n";
        WriteFileBytes(m_page, page);
        EXPECT_TRUE(Ends({"rebuild", m_page}, 1, said));
        EXPECT_EQ(Tavrel({"add", m_page, "--link", "/x.htm"}), 1);
        EXPECT_EQ(ReadFileBytes(m_page), page);
        EXPECT_EQ(Tavrel({"rebuild", m_page, "--force"}), 0);
        EXPECT_EQ(Tavrel({"rebuild", m_page}), 0) << list;  // nothing left to drop
    }
    // On an indented page the white space before the marker is no content.
    WriteFileBytes(m_page, "<html><body>\n  <dl>\n    " + marker + "\n    " + entry +
                               "  </dl>\n</body></html>\n");
    EXPECT_EQ(Tavrel({"add", m_page, "--link", "/x.htm"}), 0);
    EXPECT_EQ(Entries(m_page).size(), 2u);
}

// A replaced page keeps its owner, group and mode; a write-protected one and
// a loop of links are refused, naming the cause.
TEST_F(PageSafetyTest, ReplacedPagesKeepOwnerAndModeProtectedOnesAndLinkLoopsAreRefused) {
    WritePage(1);
    const std::string written = ReadFileBytes(m_page);
    chmod(m_page.c_str(), 0444);
    std::string output;
    EXPECT_EQ(Tavrel({"add", m_page, "--link", "/x.htm"}, &output), 1);
    EXPECT_TRUE(Says(output, "The page could not be written. The page " + m_page +
                                 " is write-protected (owner "));
    EXPECT_TRUE(Says(output,
                     "mode 444); the page was left unchanged. To allow writing it: "
                     "chmod u+w"));
    EXPECT_EQ(ReadFileBytes(m_page), written);

    if (geteuid() == 0) {
        ASSERT_EQ(chown(m_page.c_str(), 65534, 65534), 0);
    }
    chmod(m_page.c_str(), 0640);
    const struct stat before = Stat(m_page);
    ASSERT_EQ(Tavrel({"add", m_page, "--link", "/y.htm"}), 0);
    const struct stat after = Stat(m_page);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);

    const std::string a = m_dir / "a.html", b = m_dir / "b.html";
    ASSERT_EQ(symlink("b.html", a.c_str()), 0);
    ASSERT_EQ(symlink("a.html", b.c_str()), 0);
    EXPECT_TRUE(Ends({"add", a, "--link", "/x.htm"}, 1, "Too many levels of symbolic links"));
    struct stat info {};
    EXPECT_TRUE(lstat(a.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
}

// A page written in place that cannot take its new bytes (here: past the
// file-size limit) keeps exactly its old ones, under both its names.
TEST_F(PageSafetyTest, AnInPlaceWriteThatCannotFinishLeavesTheOldBytes) {
    WritePage(3);
    std::string page = ReadFileBytes(m_page);
    page.insert(page.rfind('<', page.find("After the list")), std::string(150000, 'x') + "\n");
    WriteFileBytes(m_page, page);
    ASSERT_EQ(link(m_page.c_str(), (m_dir / "other-name.html").c_str()), 0);
    const rlim_t limit = (page.size() / 1024 + 1) * 1024;
    const Args add = {"add", m_page, "--link", "/x.htm", "--description", std::string(4000, 'd')};
    EXPECT_EQ(RunTavrel(add, Limit(RLIMIT_FSIZE, limit)).exitCode, 1);
    EXPECT_TRUE(ReadFileBytes(m_page) == page) << "the page changed";
    EXPECT_TRUE(ReadFileBytes(m_dir / "other-name.html") == page) << "its other name changed";
}

// A group the unprivileged user below belongs to, besides its own.
constexpr gid_t kSharedGroup = 100;

// Runs `binary` (a copy of tavrel that the other user can reach: the build
// tree may lie in a folder only its owner may enter, such as a checkout
// under /root) as user and group 65534, a member of kSharedGroup too, in
// `folder`. What it writes to standard error goes to `said`, when given.
int TavrelAsNobody(const std::string& binary, const std::string& folder, const Args& args,
                   std::string* said = nullptr) {
    const ProgramResult result = RunTavrel(
        args,
        [&folder] {
            const gid_t groups[] = {kSharedGroup};
            if (setgroups(1, groups) != 0 || setgid(65534) != 0 || setuid(65534) != 0 ||
                chdir(folder.c_str()) != 0) {
                _exit(126);
            }
        },
        binary);
    if (said != nullptr) *said = result.errors;
    return result.exitCode;
}

TEST_F(PageSafetyTest,
       AsAPlainUserReadOnlyFoldersAreWrittenInPlaceUnreadablePagesRefusedGroupsKept) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    WritePage(1);
    chmod(m_dir.path().c_str(), 0755);
    const std::string tavrel = m_dir / "tavrel", folder = m_dir / "site";
    WriteFileBytes(tavrel, ReadFileBytes(TAVREL_CLI_PATH));
    ASSERT_EQ(chmod(tavrel.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
    const std::string page = folder + "/page.html";
    ASSERT_EQ(std::rename(m_page.c_str(), page.c_str()), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chown(page.c_str(), 65534, 65534), 0);
    const ino_t inode = Stat(page).st_ino;
    EXPECT_EQ(TavrelAsNobody(tavrel, folder, {"add", "page.html", "--link", "/x.htm"}), 0);
    EXPECT_EQ(Stat(page).st_ino, inode);
    EXPECT_EQ(Entries(page).size(), 2u);

    // A new page in a folder of another owner, and someone else's page: the
    // refusal names the folder or page, the owner, the mode and the fix.
    std::string said;
    EXPECT_EQ(TavrelAsNobody(tavrel, m_dir.path(), {"add", "new.html", "--link", "/x.htm"}, &said),
              1);
    EXPECT_TRUE(Says(said, "The folder " + m_dir.path() +
                               " is not writable by nobody (owner root, mode 755), so the page "
                               "cannot be created in it; nothing was written. Run this as a user "
                               "who may"));
    ASSERT_EQ(chown(page.c_str(), 0, 0), 0);
    EXPECT_EQ(TavrelAsNobody(tavrel, folder, {"add", "page.html", "--link", "/x.htm"}, &said), 1);
    EXPECT_TRUE(
        Says(said, "The page " + page + " is not writable by nobody (owner root, mode 644)"));
    ASSERT_EQ(chown(page.c_str(), 65534, 65534), 0);

    chmod(page.c_str(), 0200);
    // Refused at once, not after the 5 seconds a held lock is waited for
    // (a slow machine, a sanitizer build, takes its time either way).
    const auto start = Clock::now();
    EXPECT_EQ(TavrelAsNobody(tavrel, folder, {"list", "page.html"}), 1);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));

    // Someone else's page, writable through a shared group, keeps that group.
    chmod(folder.c_str(), 0755);
    ASSERT_EQ(chown(page.c_str(), 0, kSharedGroup), 0);
    chmod(page.c_str(), 0664);
    EXPECT_EQ(TavrelAsNobody(tavrel, folder, {"add", "page.html", "--link", "/y.htm"}), 0);
    EXPECT_EQ(Stat(page).st_gid, kSharedGroup);
    EXPECT_EQ(Stat(page).st_mode & 07777, 0664u);
    EXPECT_EQ(Entries(page).size(), 3u);
}

TEST_F(PageSafetyTest, TemporaryFilesOfKilledRunsAreRemoved) {
    WritePage(1);
    // A run that is gone: a child that has exited and been reaped.
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    Wait(gone);
    const std::string stale = m_dir / (".page.html.tavrel-" + std::to_string(gone) + "-abcdef");
    const std::string live = m_dir / (".page.html.tavrel-" + std::to_string(getpid()) + "-abcdef");
    WriteFileBytes(stale, "half a page");
    WriteFileBytes(live, "another run's page, still being written");
    ASSERT_EQ(Tavrel({"add", m_page, "--link", "/x.htm"}), 0);
    EXPECT_FALSE(PathExists(stale));
    EXPECT_TRUE(PathExists(live));
}

}  // namespace
