// The Win32 file backend: identity, share modes, locks, long paths, binary
// bytes, the page's protection kept across a replacement, scratch files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/file_replace.h"
#include "platform/page_lock.h"
#include "support/TempDir.h"

namespace {

// The test paths are ASCII; the system's long form wants backslashes.
std::wstring Wide(const std::string& text) {
    std::wstring wide(text.begin(), text.end());
    for (wchar_t& c : wide) {
        if (c == L'/') c = L'\\';
    }
    return wide;
}

bool Write(const std::string& path, const std::string& bytes) {
    return ReplaceFileSafely(path, [&bytes](FILE* stream) {
        return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    });
}

// Everything the open descriptor `fd` reads from offset 0.
std::string ReadAll(int fd) {
    std::string bytes;
    char piece[4096];
    ssize_t got = 0;
    while ((got = FilePread(fd, piece, sizeof piece, static_cast<off_t>(bytes.size()))) > 0) {
        bytes.append(piece, static_cast<size_t>(got));
    }
    return bytes;
}

TEST(WindowsFilesTest, EveryPathToAFileGivesOneIdentityAndOtherFilesOthers) {
    TempDir dir;
    WriteFileBytes(dir / "Page.html", "a");
    WriteFileBytes(dir / "other.html", "a");
    std::string backslashed = dir / "PAGE.HTML";
    for (char& c : backslashed) {
        if (c == '/') c = '\\';
    }
    FileStatus page;
    FileStatus samePage;
    FileStatus other;
    ASSERT_TRUE(PathStatus(dir / "Page.html", &page));
    ASSERT_TRUE(PathStatus(backslashed, &samePage));
    ASSERT_TRUE(PathStatus(dir / "other.html", &other));
    EXPECT_EQ(page.id, samePage.id);
    EXPECT_NE(page.id, other.id);
    EXPECT_TRUE(page.regular);
    FileStatus folder;
    ASSERT_TRUE(PathStatus(dir.path(), &folder));
    EXPECT_TRUE(folder.directory);
    EXPECT_FALSE(PathStatus(dir / "missing.html", &folder));
    EXPECT_EQ(errno, ENOENT);
}

TEST(WindowsFilesTest, BytesGoInAndOutUnchangedCarriageReturnsAndCtrlZIncluded) {
    TempDir dir;
    const std::string bytes("one\r\ntwo\n\x1a three\r\n\0end", 23);
    ASSERT_TRUE(Write(dir / "page.html", bytes));
    const int fd = FileOpenForReading((dir / "page.html").c_str());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ReadAll(fd), bytes);
    FILE* stream = OpenReadStream(fd);
    ASSERT_NE(stream, nullptr);
    std::string streamed(64, '\0');
    streamed.resize(std::fread(streamed.data(), 1, streamed.size(), stream));
    std::fclose(stream);
    EXPECT_EQ(streamed, bytes);
    FileClose(fd);
}

TEST(WindowsFilesTest, APageHeldOpenIsReplacedAndItsHolderKeepsReadingTheOldBytes) {
    TempDir dir;
    const std::string page = dir / "page.html";
    ASSERT_TRUE(Write(page, "old"));
    const int held = FileOpenForReading(page.c_str());
    ASSERT_GE(held, 0);
    FILE* stream = OpenReadStream(held);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(Write(page, "new"));
    EXPECT_EQ(ReadFileBytes(page), "new");
    EXPECT_EQ(ReadAll(held), "old");
    std::fclose(stream);
    FileClose(held);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});
}

TEST(WindowsFilesTest, ALockKeepsOtherLockersOutButNotReaders) {
    TempDir dir;
    const std::string page = dir / "page.html";
    WriteFileBytes(page, "the page");
    const int first = FileOpenForReading(page.c_str());
    const int second = FileOpenForReading(page.c_str());
    ASSERT_TRUE(LockExclusive(first, 0));
    EXPECT_FALSE(LockExclusive(second, 0.1));
    EXPECT_EQ(errno, EWOULDBLOCK);
    EXPECT_EQ(ReadAll(second), "the page");
    EXPECT_EQ(ReadFileBytes(page), "the page");
    FileClose(first);
    EXPECT_TRUE(LockExclusive(second, 0));
    FileClose(second);
}

TEST(WindowsFilesTest, AFolderIsLockedThroughOneLockFileWhateverItsSpelling) {
    TempDir dir;
    std::string spelled = dir.path() + "/";
    for (char& c : spelled) {
        if (c == '/') c = '\\';
    }
    const int first = OpenFolderLock(dir.path());
    const int second = OpenFolderLock(spelled);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    ASSERT_TRUE(LockExclusive(first, 0));
    EXPECT_FALSE(LockExclusive(second, 0));
    FileClose(first);
    FileClose(second);
    EXPECT_EQ(OpenFolderLock(dir / "missing"), -1);
}

TEST(WindowsFilesTest, AReplacedPageKeepsItsAttributes) {
    TempDir dir;
    const std::string page = dir / "page.html";
    WriteFileBytes(page, "old");
    ASSERT_TRUE(SetFileAttributesW(Wide(page).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(Write(page, "new"));
    EXPECT_EQ(ReadFileBytes(page), "new");
    EXPECT_NE(GetFileAttributesW(Wide(page).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(WindowsFilesTest, AReadOnlyPageIsRefusedAndLeftAlone) {
    TempDir dir;
    const std::string page = dir / "page.html";
    WriteFileBytes(page, "old");
    ASSERT_TRUE(SetFileAttributesW(Wide(page).c_str(), FILE_ATTRIBUTE_READONLY));
    int error = 0;
    EXPECT_FALSE(ReplaceFileSafely(
        page, [](FILE*) { return true; }, &error));
    EXPECT_EQ(error, EACCES);
    SetFileAttributesW(Wide(page).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(page), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"page.html"});
}

TEST(WindowsFilesTest, PathsLongerThanTheOldLimitWork) {
    TempDir dir;
    std::string folder = dir.path();
    while (folder.size() < 300) {
        folder += "/a-folder-name-of-forty-characters-long-x";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(folder)).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::string page = folder + "/page.html";
    ASSERT_TRUE(Write(page, "deep"));
    const int fd = FileOpenForReading(page.c_str());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ReadAll(fd), "deep");
    FileClose(fd);
}

// The scratch file is the user's (TMP names the folder), never the drive's
// root, which only an administrator may write to; it goes with its stream.
TEST(WindowsFilesTest, AScratchStreamLivesInTheTemporaryFolderUntilClosed) {
    TempDir dir;
    wchar_t saved[MAX_PATH + 1] = L"";
    const bool hadTmp = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1) != 0;
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", Wide(dir.path()).c_str()));
    FILE* stream = OpenScratchStream();
    SetEnvironmentVariableW(L"TMP", hadTmp ? saved : nullptr);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(dir.Names().size(), 1u);
    const std::string bytes("a\r\nb\x1a", 5);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), stream), bytes.size());
    std::rewind(stream);
    std::string back(16, '\0');
    back.resize(std::fread(back.data(), 1, back.size(), stream));
    EXPECT_EQ(back, bytes);
    std::fclose(stream);
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
