// Every path that names one page, or the folder a missing page will be
// created in, leads to one lock: two writers can never both hold it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "model/Messages.h"
#include "page/PageSession.h"
#include "support/TempDir.h"

namespace {

// Whether a session on `path` finds the page locked, without waiting.
bool Busy(const std::string& path) {
    PageSession session(path);
    return session.Open(0, true).code == FailureCode::kPageBusy;
}

TEST(PageLockTest, ADanglingLinkAndItsTargetsFolderShareOneLock) {
    TempDir dir;
    ASSERT_EQ(mkdir((dir / "site").c_str(), 0755), 0);
    ASSERT_EQ(symlink("site/news.html", (dir / "link.html").c_str()), 0);
    PageSession holder(dir / "link.html");
    ASSERT_FALSE(holder.Open(0, true));
    EXPECT_TRUE(Busy(dir / "site/news.html"));
    EXPECT_TRUE(Busy(dir / "site/../site/other.html"));
    EXPECT_FALSE(Busy(dir / "elsewhere.html"));
    holder.Unlock();
    EXPECT_FALSE(Busy(dir / "site/news.html"));
}

// A user who may create files in a folder but not open it still takes the
// folder's lock.
TEST(PageLockTest, AFolderTheUserCannotOpenIsLockedAllTheSame) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    TempDir dir;
    chmod(dir.path().c_str(), 0711);
    const std::string folder = dir / "drop";
    ASSERT_EQ(mkdir(folder.c_str(), 0733), 0);
    chmod(folder.c_str(), 0733);
    PageSession holder(folder + "/news.html");
    ASSERT_FALSE(holder.Open(0, true));
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(126);
        _exit(Busy(folder + "/news.html") ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
