#include "feed/FeedPlace.h"

#include "feed/FeedUrl.h"
#include "linkchooser/DocMap.h"
#include "platform/config_files.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace {

// `path` with its symbolic links and dot segments resolved, or nothing when
// it cannot be resolved.
std::optional<std::string> Canonical(const std::string& path) { return RealPath(path); }

// `path` below `folder` (both without a trailing slash, "" for the root):
// the rest after the folder's slash, or nothing.
std::optional<std::string> Below(const std::string& path, const std::string& folder) {
    const std::string withSlash = folder == "/" ? folder : folder + "/";
    if (path == folder) return std::string();
    if (path.rfind(withSlash, 0) != 0) return std::nullopt;
    return path.substr(withSlash.size());
}

std::string WithoutTrailingSlashes(std::string text) {
    while (!text.empty() && text.back() == '/') text.pop_back();
    return text;
}

// The mapping of `space` whose `part` holds `path` longest, with the rest.
template <typename Part>
const UrlMapping* Longest(const UrlSpace& space, const std::string& path, Part part,
                          std::string* rest) {
    const UrlMapping* best = nullptr;
    for (const UrlMapping& mapping : space) {
        const std::string& holder = part(mapping);
        const std::optional<std::string> below = Below(path, holder.empty() ? "/" : holder);
        if (below && (best == nullptr || holder.size() >= part(*best).size())) {
            best = &mapping;
            *rest = *below;
        }
    }
    return best;
}

// True when `path` lies in `folder` (or is it) once links are followed.
bool Inside(const std::string& path, const std::string& folder) {
    const std::optional<std::string> real = Canonical(path);
    return real && Below(*real, folder).has_value();
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
        const std::optional<std::string> folder = Canonical(entry->m_pszResolvedDir.get());
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
        space, file, [](const UrlMapping& m) -> const std::string& { return m.folder; }, &rest);
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
        space, *urlPath, [](const UrlMapping& m) -> const std::string& { return m.prefix; }, &rest);
    if (mapping == nullptr) return {FeedPlace::kOutside, {}};
    return Confined(mapping->folder + "/" + DecodedPath(rest), mapping->folder);
}

std::string FeedHost(const std::string& adminEmail) {
    const std::string::size_type at = adminEmail.rfind('@');
    if (at != std::string::npos && at + 1 < adminEmail.size()) return adminEmail.substr(at + 1);
    return HostName();
}
