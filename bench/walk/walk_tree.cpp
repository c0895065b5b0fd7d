// The link chooser's walk over a large document tree, for timing beside
// find(1): `walk_tree make TREE COUNT` builds a tree of COUNT directories
// (ten sub-directories and one page per directory, breadth first);
// `walk_tree walk TREE` walks it as the chooser does and prints the number of
// directories listed.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "linkchooser/DirectoryWalk.h"

namespace {

constexpr int kFanOut = 10;

bool MakeDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0) {
        std::perror(path.c_str());
        return false;
    }
    FILE* page = std::fopen((path + "/index.htm").c_str(), "w");
    if (page == nullptr) return false;
    std::fputs("<html><body>page</body></html>\n", page);
    std::fclose(page);
    return true;
}

int MakeTree(const std::string& tree, long count) {
    if (!MakeDirectory(tree)) return 1;
    std::deque<std::string> pending = {tree};
    long made = 1;
    while (made < count && !pending.empty()) {
        const std::string parent = pending.front();
        pending.pop_front();
        for (int i = 0; i < kFanOut && made < count; ++i, ++made) {
            std::string child = parent + "/dir" + std::to_string(i);
            if (!MakeDirectory(child)) return 1;
            pending.push_back(std::move(child));
        }
    }
    std::printf("%ld\n", made);
    return 0;
}

int WalkTree(const std::string& tree) {
    std::vector<DirectoryItem> items;
    WalkDirectory(tree, "/", &items);
    std::printf("%zu\n", items.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    if (command == "make" && argc == 4) return MakeTree(argv[2], std::atol(argv[3]));
    if (command == "walk" && argc == 3) return WalkTree(argv[2]);
    std::fprintf(stderr, "usage: walk_tree make TREE COUNT | walk_tree walk TREE\n");
    return 2;
}
