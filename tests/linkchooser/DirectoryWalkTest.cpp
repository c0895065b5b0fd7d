#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "ServerHive.h"
#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "support/Hive.h"

namespace {

namespace fs = std::filesystem;
using Items = std::vector<std::string>;  // "URL path-below-the-temp-root", sorted

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

    // The items, sorted, after checking that each directory came after the
    // one it is listed below (depth first, parent first).
    Items Sorted(const std::vector<DirectoryItem>& items) const {
        Items sorted;
        std::set<std::string> seen;
        for (const DirectoryItem& item : items) {
            const std::string parent = fs::path(item.path).parent_path();
            EXPECT_TRUE(seen.empty() || seen.count(parent) > 0) << item.path;
            seen.insert(item.path);
            EXPECT_EQ(item.path.rfind(root.path(), 0), 0u) << item.path;
            sorted.push_back(item.url + " " + item.path.substr(root.path().size()));
        }
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
    struct Case {
        std::string directory, prefix, rootUrl, subUrl;
    } cases[] = {
        {root.path(), "/", "/", "/sub"},
        {root.path() + "/", "/", "/", "/sub"},
        {root.path() + "/", "/docs", "/docs", "/docs/sub"},
        {root.path(), "/docs/", "/docs/", "/docs/sub"},
        {backslashed, "\\docs\\", "/docs/", "/docs/sub"},
        {root.path(), "", "", "/sub"},
    };
    for (const Case& c : cases) {
        const std::string news = c.subUrl.substr(0, c.subUrl.size() - 3) + "news";
        EXPECT_EQ(Walk(c.directory, c.prefix),
                  (Items{c.rootUrl + " ", news + " /news", c.subUrl + " /sub",
                         c.subUrl + "/deeper /sub/deeper"}))
            << c.directory << " under " << c.prefix;
    }
}

TEST_F(DirectoryWalkTest, LinkBackToADirectoryOnThePathIsListedOnceAndNotEntered) {
    fs::create_directory_symlink("..", root / "sub/up");
    fs::create_directory_symlink(".", root / "sub/deeper/self");
    fs::create_directory_symlink(root / "sub", root / "news/alias");  // no loop: entered
    fs::create_symlink("index.htm", root / "page-link.htm");
    fs::create_symlink("missing", root / "dangling");
    EXPECT_EQ(Walk(root.path(), "/"),
              (Items{"/ ", "/news /news", "/news/alias /news/alias",
                     "/news/alias/deeper /news/alias/deeper",
                     "/news/alias/deeper/self /news/alias/deeper/self",
                     "/news/alias/up /news/alias/up", "/sub /sub", "/sub/deeper /sub/deeper",
                     "/sub/deeper/self /sub/deeper/self", "/sub/up /sub/up"}));
}

// Opens (making where missing) `depth` nested directories `name` below
// `base`; the handles, outermost first.
std::vector<int> OpenChain(const std::string& base, const std::string& name, int depth) {
    std::vector<int> chain = {open(base.c_str(), O_RDONLY | O_DIRECTORY)};
    for (int level = 0; level < depth; ++level) {
        mkdirat(chain.back(), name.c_str(), 0755);
        chain.push_back(openat(chain.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
    }
    return chain;
}

TEST_F(DirectoryWalkTest, DeepTreeIsWalkedWholeBeyondPathAndOpenFileLimits) {
    // 300 levels of 20-character names: paths beyond 260 and 4096 bytes, and
    // more levels than the lowered open-file limit allows handles.
    const std::string name(20, 'z');  // sorts last
    for (int fd : OpenChain(root / "sub", name, 300)) close(fd);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    rlimit lowered = limit;
    lowered.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const fs::path before = fs::current_path();

    std::vector<DirectoryItem> items;
    WalkDirectory(root / "sub", "/s", &items);

    setrlimit(RLIMIT_NOFILE, &limit);
    EXPECT_EQ(fs::current_path(), before);
    std::string below;
    for (int level = 0; level < 300; ++level) below += "/" + name;
    EXPECT_EQ(Sorted(items).back(), "/s" + below + " /sub" + below);
    EXPECT_EQ(items.size(), 302u);  // sub, deeper and the 300 levels

    std::vector<int> chain = OpenChain(root / "sub", name, 300);
    for (std::size_t level = chain.size() - 1; level > 0; --level) {
        close(chain[level]);
        unlinkat(chain[level - 1], name.c_str(), AT_REMOVEDIR);
    }
    close(chain[0]);
}

TEST_F(DirectoryWalkTest, MapEntriesInOrderOverlappingOnesOncePerEntryMissingOnesNot) {
    ScopedHiveFolder hives;
    hives.Write("local",
                ServerHiveText("/", std::vector<MapValueText>{{"/", root.path() + "/"},
                                                              {"/gone", root / "missing"},
                                                              {"/file", root / "index.htm"},
                                                              {"/s", root / "sub"}}));
    DocMapEntry head;
    head.ReadDocMap();
    const std::vector<DirectoryItem> items = WalkDocMap(head);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(Sorted({items.begin(), items.begin() + 4}),
              (Items{"/ ", "/news /news", "/sub /sub", "/sub/deeper /sub/deeper"}));
    EXPECT_EQ(Sorted({items.begin() + 4, items.end()}),
              (Items{"/s /sub", "/s/deeper /sub/deeper"}));
}

}  // namespace
