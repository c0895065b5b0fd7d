#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "support/Hive.h"

namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;  // "URL path-below-the-temp-root"

class DirectoryWalkTest : public ::testing::Test {
  protected:
    TempDir root;

    void SetUp() override {
        for (const char* dir : {"sub/deeper", "news", ".hidden/inner", "sub/.git"})
            fs::create_directories(root / dir);
        for (const char* file : {"index.htm", "news/a.htm", "sub/deeper/b"})
            WriteFileBytes(root / file, "x");
    }

    // The items sorted, as the chooser and the tavrel command show them.
    Items Sorted(const std::vector<DirectoryItem>& items) const {
        Items sorted;
        for (const DirectoryItem& item : items)
            sorted.push_back(item.url + " " + item.path.substr(root.path().size()));
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }

    Items Walk(const std::string& directory, const std::string& prefix) const {
        std::vector<DirectoryItem> items;
        WalkDirectory(directory, prefix, &items);
        return Sorted(items);
    }
};

TEST_F(DirectoryWalkTest, DirectoriesWithoutDotNamesUnderPrefixAndPathJoinedByOneSlash) {
    std::string backslashed = root.path() + "\\";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    const struct {
        std::string directory, prefix, rootUrl, subUrl;
    } cases[] = {
        {root.path(), "/", "/", "/sub"},
        {root.path() + "/", "/docs", "/docs", "/docs/sub"},
        {root.path(), "/docs/", "/docs/", "/docs/sub"},
        {backslashed, "\\docs\\", "/docs/", "/docs/sub"},
        {root.path(), "", "", "/sub"},
    };
    for (const auto& c : cases) {
        const std::string news = c.subUrl.substr(0, c.subUrl.size() - 3) + "news";
        EXPECT_EQ(Walk(c.directory, c.prefix),
                  (Items{c.rootUrl + " ", news + " /news", c.subUrl + " /sub",
                         c.subUrl + "/deeper /sub/deeper"}))
            << c.directory << " under " << c.prefix;
    }
}

TEST_F(DirectoryWalkTest, EachDirectoryIsEnteredOnceOtherWaysAreListedOnly) {
    TempDir outside;
    fs::create_directories(outside / "shared/inner");
    fs::create_directory_symlink("..", root / "sub/up");
    fs::create_directory_symlink(".", root / "sub/deeper/self");
    // "alias" lists before "sub" in most orders: the real directory still
    // gets the subtree, whatever order the system lists the names in.
    fs::create_directory_symlink(root / "sub", root / "alias");
    fs::create_directory_symlink(outside / "shared", root / "news/b-out");
    fs::create_directory_symlink(outside / "shared", root / "news/a-out");  // followed first
    fs::create_symlink("index.htm", root / "page-link.htm");
    fs::create_symlink("missing", root / "dangling");
    EXPECT_EQ(
        Walk(root.path(), "/"),
        (Items{"/ ", "/alias /alias", "/news /news", "/news/a-out /news/a-out",
               "/news/a-out/inner /news/a-out/inner", "/news/b-out /news/b-out", "/sub /sub",
               "/sub/deeper /sub/deeper", "/sub/deeper/self /sub/deeper/self", "/sub/up /sub/up"}));
}

TEST_F(DirectoryWalkTest, TreeLinkedTwiceFromLevelToLevelStaysLinear) {
    // Each level holds the next as "a" and a link "b" to it, and every
    // level links twice back to the top: 2^20 ways, 21 directories.
    constexpr int kLevels = 20;
    fs::path level = root / "sub";
    for (int i = 0; i < kLevels; ++i) {
        fs::create_directory(level / "a");
        fs::create_directory_symlink("a", level / "b");
        fs::create_directory_symlink(root / "sub", level / "top1");
        fs::create_directory_symlink(root / "sub", level / "top2");
        level /= "a";
    }
    std::vector<DirectoryItem> items;
    WalkDirectory(root / "sub", "/s", &items);
    EXPECT_EQ(items.size(), 1u + 4 * kLevels + 1);  // sub, deeper and four ways per level
}

TEST_F(DirectoryWalkTest, DeepTreeIsWalkedWholeBeyondPathAndOpenFileLimits) {
    // 300 levels of 20-character names: paths beyond 4096 bytes, and more
    // levels than the lowered open-file limit allows handles.
    const std::string name(20, 'z');  // sorts last
    const fs::path before = fs::current_path();
    std::string below;
    fs::current_path(root / "sub");
    for (int level = 0; level < 300; ++level, below += "/" + name) {
        fs::create_directory(name);
        fs::current_path(name);
    }
    fs::current_path(before);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit lowered{100, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    std::vector<DirectoryItem> items;
    WalkDirectory(root / "sub", "/s", &items);
    setrlimit(RLIMIT_NOFILE, &limit);

    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(items.size(), 302u);  // sub, deeper and the 300 levels
    EXPECT_EQ(Sorted(items).back(), "/s" + below + " /sub" + below);
    // The temporary folder is removed by full paths, too long for this tree.
    EXPECT_EQ(std::system(("rm -rf " + root / "sub").c_str()), 0);
}

TEST_F(DirectoryWalkTest, MapEntriesOverlappingOnesOncePerEntryMissingOnesNot) {
    ScopedHiveFolder hives;
    hives.Write("local",
                ServerHiveText("/", std::vector<MapValueText>{{"/", root.path() + "/"},
                                                              {"/gone", root / "missing"},
                                                              {"/file", root / "index.htm"},
                                                              {"/s", root / "sub"}}));
    DocMapEntry head;
    head.ReadDocMap();
    EXPECT_EQ(Sorted(WalkDocMap(head)),
              (Items{"/ ", "/news /news", "/s /sub", "/s/deeper /sub/deeper", "/sub /sub",
                     "/sub/deeper /sub/deeper"}));
}

}  // namespace
