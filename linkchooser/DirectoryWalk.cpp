#include "linkchooser/DirectoryWalk.h"

#include <algorithm>
#include <map>
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

// A named child that may be a directory.
struct Candidate {
    std::string name;
    bool isLink = false;
};

// A directory on the path from the mapped directory (or from a link being
// followed) down to the one being read.
struct OpenDirectory {
    DirectoryReader reader;
    std::string path;
    // The path below the mapped directory, '/'-separated; "" for the mapped one.
    std::string below;
    // The unread candidates once the handle has been closed, and the next of them.
    std::vector<Candidate> names;
    std::size_t nextName = 0;
};

// `text` with every backslash made a slash, as URLs want them.
std::string WithSlashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string JoinBelow(const std::string& below, std::string_view name) {
    std::string joined = below;
    if (!joined.empty()) joined += '/';
    joined += name;
    return joined;
}

std::string JoinPath(const std::string& path, std::string_view name) {
    std::string joined = path;
    if (joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

// The walk below one mapped directory. Every directory is entered at most
// once, by device and inode, so the work grows with the number of
// directories, not with the number of ways to them. The real tree (no
// symbolic links followed) is walked first, depth first; links to
// directories are set aside and followed afterwards in the order of their
// paths below the mapped directory, so a directory is walked under its own
// name whatever order the system lists names in, and a directory outside the
// tree that several links reach is walked under the first of them. Every
// other way to a directory already entered is listed and not entered.
class Walk {
  public:
    Walk(const std::string& urlPrefix, std::vector<DirectoryItem>* items,
         std::vector<std::string>* unreadable)
        : m_urlPrefix(urlPrefix), m_items(items), m_unreadable(unreadable) {}

    void Run(const std::string& directory) {
        DirectoryReader root = DirectoryReader::Open(directory);
        if (!root.IsOpen()) return;
        Enter(std::move(root), AbsoluteSystemPath(directory), "");
        for (;;) {
            while (!m_stack.empty()) ReadNextName();
            if (m_links.empty()) return;
            FollowFirstLink();
        }
    }

  private:
    // Lists the directory, then keeps it open for reading unless it was
    // entered before by another way.
    void Enter(DirectoryReader reader, std::string path, std::string below) {
        m_items->push_back({DirectoryUrl(m_urlPrefix, below), path});
        if (!m_entered.insert(reader.Id()).second) return;
        m_stack.push_back({std::move(reader), std::move(path), std::move(below), {}, 0});
        if (m_stack.size() > kMaxOpenDirectories) {
            ReadAhead(&m_stack[m_stack.size() - 1 - kMaxOpenDirectories]);
        }
    }

    // Moves the unread candidates into memory and closes the handle.
    static void ReadAhead(OpenDirectory* directory) {
        DirectoryEntry entry;
        while (directory->reader.Next(&entry)) {
            if (IsCandidate(entry))
                directory->names.push_back({std::string(entry.name), entry.isLink});
        }
        directory->reader = DirectoryReader();
    }

    static bool IsCandidate(const DirectoryEntry& entry) {
        return !entry.name.empty() && entry.name[0] != '.' && entry.mayBeDirectory;
    }

    // The next candidate of the directory; false when there is none left.
    static bool NextCandidate(OpenDirectory* directory, Candidate* candidate) {
        if (!directory->reader.IsOpen()) {
            if (directory->nextName == directory->names.size()) return false;
            *candidate = std::move(directory->names[directory->nextName++]);
            return true;
        }
        DirectoryEntry entry;
        while (directory->reader.Next(&entry)) {
            if (IsCandidate(entry)) {
                *candidate = {std::string(entry.name), entry.isLink};
                return true;
            }
        }
        return false;
    }

    void ReadNextName() {
        OpenDirectory& current = m_stack.back();
        Candidate candidate;
        if (!NextCandidate(&current, &candidate)) {
            m_stack.pop_back();
            return;
        }
        std::string path = JoinPath(current.path, candidate.name);
        std::string below = JoinBelow(current.below, candidate.name);
        if (candidate.isLink) {
            m_links.emplace(std::move(below), std::move(path));
            return;
        }
        DirectoryReader child = current.reader.IsOpen() ? current.reader.OpenChild(candidate.name)
                                                        : DirectoryReader::Open(path);
        if (child.IsOpen()) {
            Enter(std::move(child), std::move(path), std::move(below));
        } else {
            NoteUnreadable(path);
        }
    }

    // A directory that exists but cannot be entered is left out, and noted.
    void NoteUnreadable(const std::string& path) {
        if (m_unreadable != nullptr && KindOfPath(path) == PathKind::kDirectory) {
            m_unreadable->push_back(path);
        }
    }

    void FollowFirstLink() {
        auto first = m_links.begin();
        std::string below = first->first;
        std::string path = std::move(first->second);
        m_links.erase(first);
        DirectoryReader target = DirectoryReader::Open(path);
        if (target.IsOpen()) {
            Enter(std::move(target), std::move(path), std::move(below));
        } else {
            NoteUnreadable(path);
        }
    }

    const std::string& m_urlPrefix;
    std::vector<DirectoryItem>* m_items;
    std::vector<std::string>* m_unreadable;
    std::vector<OpenDirectory> m_stack;
    std::unordered_set<FileId, FileIdHash> m_entered;
    // Links to follow once the directories open now are read: path below
    // the mapped directory to the link's full path.
    std::map<std::string, std::string> m_links;
};

}  // namespace

std::string DirectoryUrl(const std::string& prefix, const std::string& below) {
    std::string url = WithSlashes(prefix);
    if (!below.empty()) {
        if (url.empty() || url.back() != '/') url += '/';
        url += WithSlashes(below);
    }
    return url;
}

void WalkDirectory(const std::string& directory, const std::string& urlPrefix,
                   std::vector<DirectoryItem>* items, std::vector<std::string>* unreadable) {
    Walk(urlPrefix, items, unreadable).Run(directory);
}

std::vector<DirectoryItem> WalkDocMap(const DocMapEntry& head,
                                      std::vector<std::string>* unreadable) {
    std::vector<DirectoryItem> items;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (entry->m_pszResolvedDir == nullptr || entry->m_pszUrlPrefix == nullptr) continue;
        WalkDirectory(entry->m_pszResolvedDir.get(), entry->m_pszUrlPrefix.get(), &items,
                      unreadable);
    }
    return items;
}
