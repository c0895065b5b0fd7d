#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "linkchooser/FileList.h"
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

    std::vector<std::string> names = {"left over"};
    EXPECT_FALSE(ListFileNames(dir / "missing", &names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(ListFileNames(dir / "index.htm", &names));
}

}  // namespace
