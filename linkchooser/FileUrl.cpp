#include "linkchooser/FileUrl.h"

#include <vector>

#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "linkchooser/LongestHolder.h"
#include "platform/config_files.h"
#include "platform/file_system.h"

namespace {

// Whether the walk lists the folder `below` a mapped directory: it leaves
// out every name that starts with '.'.
bool Walked(const std::string& below) {
    return below.empty() || (below[0] != '.' && below.find("/.") == std::string::npos);
}

// The URL under the entry of `head` whose directory holds `folder` most
// closely, with `Form` applied to the entries' directories.
template <typename Form>
std::optional<std::string> UrlUnder(const DocMapEntry& head, const std::string& folder, Form form) {
    std::vector<const DocMapEntry*> entries;
    std::vector<std::string> directories;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        std::optional<std::string> directory = form(entry->m_pszResolvedDir.get());
        if (!directory) continue;
        entries.push_back(entry);
        directories.push_back(std::move(*directory));
    }
    const std::optional<Holding> holding = LongestHolder(directories, folder);
    if (!holding || !Walked(holding->rest)) return std::nullopt;
    return DirectoryUrl(entries[holding->index]->m_pszUrlPrefix.get(), holding->rest);
}

}  // namespace

std::string ChooserLink(const std::string& directoryUrl, const std::string& name) {
    std::string link = directoryUrl;
    if (link.empty() || link.back() != '/') link += '/';
    return link + name;
}

std::optional<std::string> ChooserUrlOfFile(const DocMapEntry& head, const std::string& path) {
    const std::string file = AbsoluteSystemPath(path);
    const std::string folder = TidySystemPath(FolderOf(file));
    std::optional<std::string> url = UrlUnder(head, folder, [](const std::string& directory) {
        return std::optional<std::string>(TidySystemPath(AbsoluteSystemPath(directory)));
    });
    if (!url) {
        if (const std::optional<std::string> real = RealPath(folder)) {
            url = UrlUnder(head, *real, [](const std::string& directory) {
                return RealPath(SystemPath(directory));
            });
        }
    }
    if (!url) return std::nullopt;
    return ChooserLink(*url, NameOf(file));
}

std::optional<std::string> FolderOfUrl(const DocMapEntry& head, const std::string& urlPath) {
    std::vector<const DocMapEntry*> entries;
    std::vector<std::string> prefixes;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        std::string prefix = entry->m_pszUrlPrefix.get();
        while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
        entries.push_back(entry);
        prefixes.push_back(std::move(prefix));
    }
    const std::optional<Holding> holding = LongestHolder(prefixes, urlPath);
    if (!holding) return std::nullopt;
    const std::string folder = entries[holding->index]->m_pszResolvedDir.get();
    return TidySystemPath(holding->rest.empty() ? folder : folder + "/" + holding->rest);
}

std::optional<std::string> DocumentRootFolder() {
    DocMapEntry map;
    if (map.ReadDocMap() != ERROR_SUCCESS) return std::nullopt;
    return FolderOfUrl(map, "/");
}
