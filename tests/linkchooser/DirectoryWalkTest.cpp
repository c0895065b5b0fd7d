#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "ServerHive.h"
#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "support/Hive.h"

namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::pair<std::string, std::string>>;  // URL, path below the temp root

class DirectoryWalkTest : public ::testing::Test {
  protected:
    TempDir root;

    void SetUp() override {
        for (const char* dir : {"sub/deeper", "news", ".hidden/inner", "sub/.git"}) {
            fs::create_directories(root / dir);
        }
        for (const char* file : {"index.htm", "news/a.htm", ".hidden/x.htm", "sub/deeper/b"}) {
            WriteFileBytes(root / file, "x");
        }
    }

    // The items with paths shown relative to the temp root ("" for the root).
    Items Relative(const std::vector<DirectoryItem>& items) const {
        Items relative;
        for (const DirectoryItem& item : items) {
            EXPECT_EQ(item.path.rfind(root.path(), 0), 0u) << item.path;
            std::string below = item.path.substr(std::min(item.path.size(), root.path().size()));
            if (!below.empty()) below.erase(0, 1);
            relative.emplace_back(item.url, below);
        }
        return relative;
    }

    Items Walk(const std::string& directory, const std::string& prefix) const {
        std::vector<DirectoryItem> items;
        WalkDirectory(directory, prefix, &items);
        return Relative(items);
    }

    static Items Sorted(Items items) {
        std::sort(items.begin(), items.end());
        return items;
    }
};

TEST_F(DirectoryWalkTest, ListsDirectoriesOnlyDepthFirstWithoutDotNames) {
    const Items items = Walk(root.path(), "/");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], (Items::value_type{"/", ""}));
    const auto position = [&](const std::string& url) {
        return std::find_if(items.begin(), items.end(), [&](auto& i) { return i.first == url; }) -
               items.begin();
    };
    EXPECT_LT(position("/sub"), position("/sub/deeper"));
    EXPECT_EQ(
        Sorted(items),
        (Items{{"/", ""}, {"/news", "news"}, {"/sub", "sub"}, {"/sub/deeper", "sub/deeper"}}));
}

TEST_F(DirectoryWalkTest, PrefixAndPathBelowAreJoinedByExactlyOneSlash) {
    const std::string trailing = root.path() + "/";
    const std::string backslashed = [&] {
        std::string text = root.path() + "\\";
        std::replace(text.begin(), text.end(), '/', '\\');
        return text;
    }();
    struct Case {
        std::string directory, prefix, rootUrl, subUrl;
    } cases[] = {
        {root.path(), "/", "/", "/sub"},
        {trailing, "/", "/", "/sub"},
        {trailing, "/docs", "/docs", "/docs/sub"},
        {root.path(), "/docs/", "/docs/", "/docs/sub"},
        {backslashed, "\\docs\\", "/docs/", "/docs/sub"},
        {root.path(), "", "", "/sub"},
    };
    for (const Case& c : cases) {
        const Items items = Sorted(Walk(c.directory, c.prefix));
        ASSERT_EQ(items.size(), 4u) << c.directory;
        EXPECT_EQ(items[0], (Items::value_type{c.rootUrl, ""})) << c.directory << " " << c.prefix;
        EXPECT_EQ(items[2], (Items::value_type{c.subUrl, "sub"})) << c.directory << " " << c.prefix;
        EXPECT_EQ(items[3], (Items::value_type{c.subUrl + "/deeper", "sub/deeper"}));
    }
}

TEST_F(DirectoryWalkTest, LinkBackToADirectoryOnThePathIsListedOnceAndNotEntered) {
    fs::create_directory_symlink("..", root / "sub/up");
    fs::create_directory_symlink(".", root / "sub/deeper/self");
    fs::create_directory_symlink(root / "sub", root / "news/alias");  // no loop: entered
    fs::create_symlink("index.htm", root / "page-link.htm");
    fs::create_symlink("missing", root / "dangling");
    EXPECT_EQ(Sorted(Walk(root.path(), "/")),
              (Items{{"/", ""},
                     {"/news", "news"},
                     {"/news/alias", "news/alias"},
                     {"/news/alias/deeper", "news/alias/deeper"},
                     {"/news/alias/deeper/self", "news/alias/deeper/self"},
                     {"/news/alias/up", "news/alias/up"},
                     {"/sub", "sub"},
                     {"/sub/deeper", "sub/deeper"},
                     {"/sub/deeper/self", "sub/deeper/self"},
                     {"/sub/up", "sub/up"}}));
}

TEST_F(DirectoryWalkTest, DeepTreeBeyondTheSystemPathLimitIsWalkedWhole) {
    // 60 levels of 100-character names: paths far beyond 260 and 4096 bytes,
    // made (and removed) relative to open handles.
    const std::string name(100, 'd');
    std::vector<int> levels = {open((root / "sub").c_str(), O_RDONLY | O_DIRECTORY)};
    std::string expectedBelow;
    for (int level = 0; level < 60; ++level) {
        ASSERT_EQ(mkdirat(levels.back(), name.c_str(), 0755), 0);
        levels.push_back(openat(levels.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
        expectedBelow += "/" + name;
    }
    const fs::path before = fs::current_path();

    std::vector<DirectoryItem> items;
    WalkDirectory(root / "sub", "/s", &items);

    EXPECT_EQ(fs::current_path(), before);
    ASSERT_EQ(items.size(), 62u);  // sub, deeper and the 60 levels
    const auto deepest = std::max_element(
        items.begin(), items.end(), [](auto& a, auto& b) { return a.url.size() < b.url.size(); });
    EXPECT_EQ(deepest->url, "/s" + expectedBelow);
    EXPECT_EQ(deepest->path, root / "sub" + expectedBelow);

    for (std::size_t level = levels.size() - 1; level > 0; --level) {
        close(levels[level]);
        unlinkat(levels[level - 1], name.c_str(), AT_REMOVEDIR);
    }
    close(levels[0]);
}

TEST_F(DirectoryWalkTest, MapEntriesAreWalkedInOrderOverlappingOnesOncePerEntry) {
    ScopedHiveFolder hives;
    hives.Write("local", ServerHiveText("/", std::vector<MapValueText>{{"/", root.path() + "/"},
                                                                       {"/gone", root / "missing"},
                                                                       {"/s", root / "sub"}}));
    DocMapEntry head;
    head.ReadDocMap();
    const Items items = Relative(WalkDocMap(head));
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(
        Sorted(Items(items.begin(), items.begin() + 4)),
        (Items{{"/", ""}, {"/news", "news"}, {"/sub", "sub"}, {"/sub/deeper", "sub/deeper"}}));
    EXPECT_EQ(Items(items.begin() + 4, items.end()),
              (Items{{"/s", "sub"}, {"/s/deeper", "sub/deeper"}}));
}

TEST_F(DirectoryWalkTest, MissingOrFileDirectoryListsNothing) {
    EXPECT_TRUE(Walk(root / "missing", "/").empty());
    EXPECT_TRUE(Walk(root / "index.htm", "/").empty());
    EXPECT_TRUE(Walk("", "/").empty());
}

}  // namespace
