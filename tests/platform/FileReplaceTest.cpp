#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/file_replace.h"
#include "support/TempDir.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
    return ReplaceFile(path, [&text](FILE* stream) {
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    });
}

std::size_t EntriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(FileReplaceTest, CreatesAndReplacesWithoutLeavingTemporaryFiles) {
    TempDir dir;
    ASSERT_TRUE(WriteText(dir / "page.html", "first"));
    ASSERT_TRUE(WriteText(dir / "page.html", "second"));
    EXPECT_EQ(ReadFileBytes(dir / "page.html"), "second");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileReplaceTest, AbandonedOrFailedWritesLeaveTheOldFile) {
    TempDir dir;
    WriteFileBytes(dir / "page.html", "old contents");
    EXPECT_FALSE(ReplaceFile(dir / "page.html", [](FILE* stream) {
        std::fputs("half", stream);
        return false;
    }));
    EXPECT_EQ(ReadFileBytes(dir / "page.html"), "old contents");
    EXPECT_FALSE(WriteText(dir / "missing-folder/page.html", "x"));
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileReplaceTest, AWriteBeyondTheFileSizeLimitFailsAndKeepsTheOldPage) {
    TempDir dir;
    WriteFileBytes(dir / "page.html", "old contents");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = WriteText(dir / "page.html", std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFileBytes(dir / "page.html"), "old contents");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileReplaceTest, KeepsPermissionsAndWritesThroughSymbolicLinks) {
    TempDir dir;
    WriteFileBytes(dir / "real.html", "old");
    chmod((dir / "real.html").c_str(), 0640);
    ASSERT_EQ(symlink("real.html", (dir / "link.html").c_str()), 0);
    ASSERT_TRUE(WriteText(dir / "link.html", "new"));
    struct stat info {};
    ASSERT_EQ(lstat((dir / "link.html").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat((dir / "real.html").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(dir / "real.html"), "new");
}

}  // namespace
