#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "linkchooser/FileList.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

TEST(FileListTest, ListsEverythingButDirectoriesAndDotNamesOrFailsEmpty) {
    TempDir dir;
    for (const char* sub : {"sub", ".git"}) fs::create_directory(dir / sub);
    for (const char* file : {"index.htm", "B.HTM", ".htaccess"}) WriteFileBytes(dir / file, "x");
    fs::create_directory_symlink("sub", dir / "sub-link");
    fs::create_symlink("index.htm", dir / "home.htm");
    fs::create_symlink("nowhere", dir / "dangling.htm");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);

    std::vector<std::string> names = {"left over"};
    ASSERT_TRUE(ListFileNames(dir.path(), &names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"B.HTM", "dangling.htm", "home.htm", "index.htm", "pipe"}));
    EXPECT_FALSE(ListFileNames(dir / "missing", &names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(ListFileNames(dir / "index.htm", &names));
}

}  // namespace
