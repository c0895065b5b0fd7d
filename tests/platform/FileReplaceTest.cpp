#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "platform/file_replace.h"
#include "support/TempDir.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
    return ReplaceFileSafely(path, [&text](FILE* stream) {
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    });
}

bool WriteX(FILE* stream) { return std::fputc('x', stream) == 'x'; }

TEST(FileReplaceTest, CreatesAndReplacesThroughLinksKeepingPermissions) {
    TempDir dir;
    ASSERT_TRUE(WriteText(dir / "real.html", "old"));
    chmod((dir / "real.html").c_str(), 0640);
    ASSERT_EQ(symlink("real.html", (dir / "link.html").c_str()), 0);
    ASSERT_TRUE(WriteText(dir / "link.html", "new"));
    struct stat info {};
    ASSERT_EQ(stat((dir / "real.html").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(dir / "real.html"), "new");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link.html", "real.html"}));

    // A new file gets the mode an ordinary create gives, and the mask stays.
    const mode_t mask = umask(027);
    ASSERT_TRUE(WriteText(dir / "fresh.html", "fresh"));
    EXPECT_EQ(umask(mask), 027u);
    ASSERT_EQ(stat((dir / "fresh.html").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Whether another open file description can lock `path` at once.
bool Lockable(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool locked = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) close(fd);
    return locked;
}

TEST(FileReplaceTest, AKeptLockHoldsTheNewFileFromBeforeItsRename) {
    TempDir dir;
    WriteFileBytes(dir / "page.html", "old");
    int lock = -1;
    ASSERT_TRUE(ReplaceFileSafely(dir / "page.html", WriteX, nullptr, &lock));
    ASSERT_GE(lock, 0);
    EXPECT_FALSE(Lockable(dir / "page.html"));
    close(lock);
    EXPECT_TRUE(Lockable(dir / "page.html"));

    // Written in place, the file keeps its inode and whatever lock is on it.
    ASSERT_EQ(link((dir / "page.html").c_str(), (dir / "second.html").c_str()), 0);
    ASSERT_TRUE(ReplaceFileSafely(dir / "page.html", WriteX, nullptr, &lock));
    EXPECT_EQ(lock, -1);
    EXPECT_TRUE(Lockable(dir / "page.html"));
}

TEST(FileReplaceTest, FailedWritesKeepTheOldFileAndLeaveNothingBehind) {
    TempDir dir;
    WriteFileBytes(dir / "page.html", "old contents");
    EXPECT_FALSE(ReplaceFileSafely(dir / "page.html", [](FILE* stream) {
        std::fputs("half", stream);
        return false;
    }));
    std::signal(SIGXFSZ, SIG_IGN);  // as each program's main does
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 4096;  // the write fails only when the data is flushed
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    int error = 0;
    const bool written = ReplaceFileSafely(
        dir / "page.html",
        [](FILE* stream) { return std::fputs(std::string(100000, 'x').c_str(), stream) >= 0; },
        &error);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, EFBIG);
    EXPECT_FALSE(ReplaceFileSafely(dir / "missing-folder/page.html", WriteX, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(ReadFileBytes(dir / "page.html"), "old contents");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});
}

// A child process that is ended by `signal` in the middle of writing the page.
int SignalDuringWrite(const std::string& page, int signal) {
    const pid_t child = fork();
    if (child == 0) {
        ReplaceFileSafely(page, [signal](FILE* stream) {
            std::fputs("half a page", stream);
            std::fflush(stream);
            raise(signal);
            return true;
        });
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

TEST(FileReplaceTest, SignalsDuringAWriteRemoveTheTemporaryFile) {
    TempDir dir;
    WriteFileBytes(dir / "page.html", "old contents");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EQ(SignalDuringWrite(dir / "page.html", signal), signal);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"}) << signal;
        EXPECT_EQ(ReadFileBytes(dir / "page.html"), "old contents");
    }
}

}  // namespace
