#include "linkchooser/FileUrl.h"

#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "platform/config_files.h"
#include "platform/file_system.h"

namespace {

// The path of `folder` below `directory` ("" for the directory itself), or
// nothing when `directory` does not hold it or the walk would leave it out.
std::optional<std::string> Below(const std::string& folder, const std::string& directory) {
    std::string below;
    if (folder == directory) return below;
    const std::string withSlash = directory == "/" ? directory : directory + "/";
    if (folder.rfind(withSlash, 0) != 0) return std::nullopt;
    below = folder.substr(withSlash.size());
    if (below[0] == '.' || below.find("/.") != std::string::npos) return std::nullopt;
    return below;
}

// The URL under the entry of `head` whose directory holds `folder` most
// closely, with `Form` applied to the entries' directories.
template <typename Form>
std::optional<std::string> UrlUnder(const DocMapEntry& head, const std::string& folder, Form form) {
    std::optional<std::string> best;
    std::size_t bestLength = 0;
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        const std::optional<std::string> directory = form(entry->m_pszResolvedDir.get());
        if (!directory) continue;
        const std::optional<std::string> below = Below(folder, *directory);
        if (below && (!best || directory->size() > bestLength)) {
            best = DirectoryUrl(entry->m_pszUrlPrefix.get(), *below);
            bestLength = directory->size();
        }
    }
    return best;
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
