#include "linkchooser/DirectoryWalk.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "linkchooser/DocMap.h"
#include "platform/file_system.h"

namespace {

// At most this many directories on the current path keep their handle open;
// the names still unread in shallower ones are read ahead into memory and
// their handles closed, so the depth of a tree is not bound by the number of
// files a process may open.
constexpr std::size_t kMaxOpenDirectories = 64;

// A directory on the path from the mapped directory down to the one being read.
struct OpenDirectory {
    DirectoryReader reader;
    std::string path;
    // The path below the mapped directory, '/'-separated; "" for the mapped one.
    std::string below;
    FileId id;
    // The unread names once the handle has been closed, and the next of them.
    std::vector<std::string> names;
    std::size_t nextName = 0;
};

// `text` with every backslash made a slash, as URLs want them.
std::string WithSlashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// The prefix and the path below the mapped directory joined by exactly one
// slash; every backslash becomes a slash.
std::string DirectoryUrl(const std::string& prefix, const std::string& below) {
    std::string url = WithSlashes(prefix);
    if (!below.empty()) {
        if (url.empty() || url.back() != '/') url += '/';
        url += WithSlashes(below);
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
        const FileId id = reader.Id();
        if (!m_onPath.insert(id).second) return;
        m_stack.push_back({std::move(reader), std::move(path), std::move(below), id, {}, 0});
        if (m_stack.size() > kMaxOpenDirectories) {
            ReadAhead(&m_stack[m_stack.size() - 1 - kMaxOpenDirectories]);
        }
    }

    // Moves the unread names that may be directories into memory and closes
    // the handle.
    static void ReadAhead(OpenDirectory* directory) {
        DirectoryEntry entry;
        while (directory->reader.Next(&entry)) {
            if (IsCandidate(entry)) directory->names.emplace_back(entry.name);
        }
        directory->reader = DirectoryReader();
    }

    static bool IsCandidate(const DirectoryEntry& entry) {
        return !entry.name.empty() && entry.name[0] != '.' && entry.mayBeDirectory;
    }

    // The next name of the directory that may be a sub-directory; false when
    // there is none left.
    static bool NextCandidate(OpenDirectory* directory, std::string* name) {
        if (!directory->reader.IsOpen()) {
            if (directory->nextName == directory->names.size()) return false;
            *name = std::move(directory->names[directory->nextName++]);
            return true;
        }
        DirectoryEntry entry;
        while (directory->reader.Next(&entry)) {
            if (IsCandidate(entry)) {
                *name = entry.name;
                return true;
            }
        }
        return false;
    }

    void ReadNextName() {
        OpenDirectory& current = m_stack.back();
        std::string name;
        if (!NextCandidate(&current, &name)) {
            m_onPath.erase(current.id);
            m_stack.pop_back();
            return;
        }
        std::string path = current.path;
        if (path.back() != '/') path += '/';
        path += name;
        DirectoryReader child =
            current.reader.IsOpen() ? current.reader.OpenChild(name) : DirectoryReader::Open(path);
        if (!child.IsOpen()) return;
        std::string below = JoinBelow(current.below, name);
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
