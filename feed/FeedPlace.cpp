#include "feed/FeedPlace.h"

#include <vector>

#include "feed/FeedUrl.h"
#include "linkchooser/DocMap.h"
#include "linkchooser/LongestHolder.h"
#include "platform/config_files.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace {

// `path` with its symbolic links and dot segments resolved, or nothing when
// it cannot be resolved.
std::optional<std::string> Canonical(const std::string& path) { return RealPath(path); }

std::string WithoutTrailingSlashes(std::string text) {
    while (!text.empty() && text.back() == '/') text.pop_back();
    return text;
}

// The mapping of `space` whose `part` holds `path` most closely, with the
// rest of `path` below it.
template <typename Part>
const UrlMapping* Longest(const UrlSpace& space, const std::string& path, Part part,
                          std::string* rest) {
    std::vector<std::string> holders;
    for (const UrlMapping& mapping : space) holders.push_back(part(mapping));
    const std::optional<Holding> holding = LongestHolder(holders, path);
    if (!holding) return nullptr;
    *rest = holding->rest;
    return &space[holding->index];
}

// True when `path` lies in `folder` (or is it) once links are followed.
bool Inside(const std::string& path, const std::string& folder) {
    const std::optional<std::string> real = Canonical(path);
    return real && LongestHolder({folder}, *real).has_value();
}

// The file at `path` (in `folder`), or kOutside when its folder, or the file
// as a link, leads out of `folder`.
FeedPlace Confined(const std::string& path, const std::string& folder) {
    const std::string parent = FolderOf(path);
    if (!Inside(parent, folder)) return {FeedPlace::kOutside, {}};
    if (IsSymbolicLink(path) && !Inside(path, folder)) {
        return {FeedPlace::kOutside, {}};
    }
    return {FeedPlace::kFile, *Canonical(parent) + "/" + NameOf(path)};
}

}  // namespace

bool DocumentSpace(UrlSpace* space) {
    space->clear();
    DocMapEntry map;
    if (map.ReadDocMap() == ERROR_BADDB) return false;
    for (const DocMapEntry* entry = &map; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        // The directory as the system names it: a stored "htdocs\\" names
        // the folder htdocs.
        const std::optional<std::string> folder =
            Canonical(SystemPath(entry->m_pszResolvedDir.get()));
        if (!folder) continue;
        std::string prefix = WithoutTrailingSlashes(entry->m_pszUrlPrefix.get());
        if (!prefix.empty() && prefix.front() != '/') prefix.insert(0, "/");
        space->push_back({prefix, *folder});
    }
    return true;
}

UrlSpace FolderSpace(const std::string& folder) {
    const std::optional<std::string> real = Canonical(folder);
    if (!real) return {};
    return {{"", *real}};
}

std::optional<std::string> UrlPathIn(const UrlSpace& space, const std::string& path) {
    const std::optional<std::string> folder = Canonical(FolderOf(path));
    if (!folder) return std::nullopt;
    const std::string file = (*folder == "/" ? "" : *folder) + "/" + NameOf(path);
    std::string rest;
    const UrlMapping* mapping = Longest(
        space, file, [](const UrlMapping& m) { return m.folder; }, &rest);
    if (mapping == nullptr) return std::nullopt;
    return mapping->prefix + "/" + rest;
}

FeedPlace FeedPlaceIn(const UrlSpace& space, const std::string& pageUrlPath,
                      const std::string& href) {
    if (HasOwnHost(href)) return {};
    const std::optional<std::string> urlPath = ResolveUrlPath(pageUrlPath, href);
    if (!urlPath) return {FeedPlace::kOutside, {}};
    if (urlPath->back() == '/') return {};
    std::string rest;
    const UrlMapping* mapping = Longest(
        space, *urlPath, [](const UrlMapping& m) { return m.prefix; }, &rest);
    if (mapping == nullptr) return {FeedPlace::kOutside, {}};
    return Confined(mapping->folder + "/" + DecodedPath(rest), mapping->folder);
}

std::string FeedHost(const std::string& adminEmail) {
    const std::string::size_type at = adminEmail.rfind('@');
    if (at != std::string::npos && at + 1 < adminEmail.size()) return adminEmail.substr(at + 1);
    return HostName();
}
