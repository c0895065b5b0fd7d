#include "cli/SettingsReport.h"

#include <iostream>

#include "linkchooser/DocMap.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace {

std::string Text(const std::unique_ptr<char[]>& text) { return text ? text.get() : ""; }

bool IsReadableDirectory(const std::string& path) { return DirectoryReader::Open(path).IsOpen(); }

// The stored directory began with a separator, so it was put below
// ServerRoot; when that is what went wrong, the stored path exists.
void HintServerRoot(const std::string& stored) {
    if (stored.empty() || (stored[0] != '/' && stored[0] != '\\')) return;
    std::cerr << "  A directory that begins with \"/\" is taken below ServerRoot";
    if (KindOfPath(stored) == PathKind::kDirectory) {
        std::cerr << "; " << TidySystemPath(stored)
                  << " itself exists: make ServerRoot its parent and the value relative to it, "
                     "or set ServerRoot to \"/\"";
    }
    std::cerr << " (man tavrel-registry).\n";
}

}  // namespace

bool ReportSettingsSource(const std::string& machine) {
    const std::string file = RegHiveFile(machine.c_str());
    if (!RegUsesHiveFiles()) {
        std::cerr << "tavrel: settings read from " << file << '\n';
        return true;
    }
    const std::string folder = FolderOf(file);
    if (KindOfPath(folder) != PathKind::kDirectory) {
        std::cerr << "tavrel: the registry folder " << folder
                  << " does not exist; TAVREL_REGISTRY_DIR names it "
                     "(default /etc/tavrel-wizard/registry).\n";
        return false;
    }
    if (KindOfPath(file) != PathKind::kMissing) {
        std::cerr << "tavrel: settings read from " << file << '\n';
        return true;
    }
    if (!machine.empty()) {
        std::cerr << "tavrel: cannot reach the registry of machine \"" << machine << "\": " << file
                  << " does not exist.\n";
        return false;
    }
    std::cerr << "tavrel: " << file
              << " does not exist, so the document map is empty. Write it from the example "
                 "local.reg.example (man tavrel-registry).\n";
    return true;
}

void ReportMappedDirectories(const std::string& machine, const DocMapEntry& head) {
    const std::string file = RegHiveFile(machine.c_str());
    if (!head.m_pszResolvedDir) {
        if (KindOfPath(file) != PathKind::kMissing) {
            std::cerr << "tavrel: " << file
                      << " maps no directory (its DocMap key has no values).\n";
        }
        return;
    }
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir) continue;
        const std::string resolved = TidySystemPath(Text(entry->m_pszResolvedDir));
        const std::string prefix = Text(entry->m_pszUrlPrefix);
        const PathKind kind = KindOfPath(resolved);
        if (kind == PathKind::kMissing) {
            std::cerr << "tavrel: the directory of \"" << prefix << "\", " << resolved
                      << ", does not exist.\n";
            HintServerRoot(Text(entry->m_pszStoredDir));
        } else if (kind != PathKind::kDirectory) {
            std::cerr << "tavrel: the directory of \"" << prefix << "\", " << resolved
                      << ", is not a directory.\n";
        } else if (!IsReadableDirectory(resolved)) {
            std::cerr << "tavrel: the directory of \"" << prefix << "\", " << resolved
                      << ", cannot be read by this user; it is not listed.\n";
        }
    }
}

void ReportUnreadable(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::cerr << "tavrel: " << path
                  << " cannot be read by this user; what lies below it is not listed.\n";
    }
}
