#include "linkchooser/DirectoryWalk.h"

#include <unordered_set>
#include <utility>

#include "linkchooser/DocMap.h"
#include "platform/file_system.h"

namespace {

// A directory on the path from the mapped directory down to the one being read.
struct OpenDirectory {
    DirectoryReader reader;
    std::string path;
    // The path below the mapped directory, '/'-separated; "" for the mapped one.
    std::string below;
};

// The prefix and the path below the mapped directory joined by exactly one
// slash; every backslash becomes a slash.
std::string DirectoryUrl(const std::string& prefix, const std::string& below) {
    std::string url = SystemPath(prefix);
    if (!below.empty()) {
        if (url.empty() || url.back() != '/') url += '/';
        url += SystemPath(below);
    }
    return url;
}

std::string JoinBelow(const std::string& below, std::string_view name) {
    std::string joined = below;
    if (!joined.empty()) joined += '/';
    joined += name;
    return joined;
}

// The depth-first walk below one mapped directory. Each open directory stays
// on the stack while its names are read; its identity stays in `m_onPath`
// until it is left, which is how a link back to it is recognised.
class Walk {
  public:
    Walk(const std::string& urlPrefix, std::vector<DirectoryItem>* items)
        : m_urlPrefix(urlPrefix), m_items(items) {}

    void Run(const std::string& directory) {
        DirectoryReader root = DirectoryReader::Open(directory);
        if (!root.IsOpen()) return;
        Enter(std::move(root), AbsoluteSystemPath(directory), "");
        while (!m_stack.empty()) ReadNextName();
    }

  private:
    // Lists the directory, then keeps it open for reading unless it is
    // already on the path (a link loop), in which case it is not entered.
    void Enter(DirectoryReader reader, std::string path, std::string below) {
        m_items->push_back({DirectoryUrl(m_urlPrefix, below), path});
        if (!m_onPath.insert(reader.Id()).second) return;
        m_stack.push_back({std::move(reader), std::move(path), std::move(below)});
    }

    void ReadNextName() {
        OpenDirectory& current = m_stack.back();
        DirectoryEntry entry;
        if (!current.reader.Next(&entry)) {
            m_onPath.erase(current.reader.Id());
            m_stack.pop_back();
            return;
        }
        if (entry.name.empty() || entry.name[0] == '.' || !entry.mayBeDirectory) return;
        DirectoryReader child = current.reader.OpenChild(entry.name);
        if (!child.IsOpen()) return;
        std::string path = current.path;
        if (path.back() != '/') path += '/';
        path += entry.name;
        std::string below = JoinBelow(current.below, entry.name);
        Enter(std::move(child), std::move(path), std::move(below));
    }

    const std::string& m_urlPrefix;
    std::vector<DirectoryItem>* m_items;
    std::vector<OpenDirectory> m_stack;
    std::unordered_set<FileId, FileIdHash> m_onPath;
};

}  // namespace

void WalkDirectory(const std::string& directory, const std::string& urlPrefix,
                   std::vector<DirectoryItem>* items) {
    Walk(urlPrefix, items).Run(directory);
}

std::vector<DirectoryItem> WalkDocMap(const DocMapEntry& head) {
    std::vector<DirectoryItem> items;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (entry->m_pszResolvedDir == nullptr || entry->m_pszUrlPrefix == nullptr) continue;
        WalkDirectory(entry->m_pszResolvedDir.get(), entry->m_pszUrlPrefix.get(), &items);
    }
    return items;
}
