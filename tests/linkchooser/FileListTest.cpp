#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "linkchooser/FileList.h"
#include "linkchooser/ListOrder.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> SortedNames(const std::string& directory) {
    std::vector<std::string> names = {"left over"};
    EXPECT_TRUE(ListFileNames(directory, &names)) << directory;
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileListTest, ListsNamesThatAreNoDirectoriesAndDoNotBeginWithADot) {
    TempDir dir;
    fs::create_directories(dir / "sub/inner");
    fs::create_directory(dir / ".git");
    for (const char* file : {"index.htm", "B.HTM", ".htaccess", "sub/a.htm"}) {
        WriteFileBytes(dir / file, "x");
    }
    fs::create_directory_symlink("sub", dir / "sub-link");
    fs::create_symlink("index.htm", dir / "home.htm");
    fs::create_symlink("nowhere", dir / "dangling.htm");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);

    EXPECT_EQ(SortedNames(dir.path()),
              (std::vector<std::string>{"B.HTM", "dangling.htm", "home.htm", "index.htm", "pipe"}));
    EXPECT_EQ(SortedNames(dir / "sub"), (std::vector<std::string>{"a.htm"}));
    EXPECT_TRUE(SortedNames(dir / "sub/inner").empty());
}

TEST(FileListTest, BackslashesAreSeparatorsAndAMissingDirectoryFails) {
    TempDir dir;
    fs::create_directory(dir / "sub");
    WriteFileBytes(dir / "sub/a.htm", "x");
    std::string backslashed = dir / "sub\\";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(SortedNames(backslashed), (std::vector<std::string>{"a.htm"}));

    std::vector<std::string> names = {"left over"};
    EXPECT_FALSE(ListFileNames(dir / "missing", &names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(ListFileNames(dir / "sub/a.htm", &names));
}

TEST(ListOrderTest, IgnoresLetterCaseOnly) {
    std::vector<std::string> texts = {"b.htm", "A.htm", "a.htm", "_x", "B.htm", "/Z", "/a/b", "/a"};
    std::stable_sort(texts.begin(), texts.end(), ListTextLess);
    EXPECT_EQ(texts, (std::vector<std::string>{"/a", "/a/b", "/Z", "_x", "A.htm", "a.htm", "b.htm",
                                               "B.htm"}));
}

}  // namespace
