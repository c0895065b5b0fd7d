#include "feed/FeedPlace.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "feed/FeedUrl.h"
#include "linkchooser/DocMap.h"
#include "platform/file_system.h"

namespace {

// `path` with its symbolic links and dot segments resolved, or as given
// without its trailing slashes when it cannot be resolved.
std::string Canonical(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                           &std::free);
    std::string result = real ? real.get() : path;
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

// `path` below `folder`: the rest after the folder and its slash.
std::optional<std::string> Below(const std::string& path, const std::string& folder) {
    const std::string withSlash = folder == "/" ? folder : folder + "/";
    if (path.rfind(withSlash, 0) != 0) return std::nullopt;
    return path.substr(withSlash.size());
}

std::string JoinUrl(const std::string& prefix, const std::string& rest) {
    const std::string base = prefix.empty() || prefix.back() != '/' ? prefix + "/" : prefix;
    return (base.front() == '/' ? base : "/" + base) + rest;
}

}  // namespace

std::string UrlPathOfFile(const std::string& path) {
    DocMapEntry map;
    map.ReadDocMap();
    const std::string file = Canonical(path);
    std::string best = "/" + NameOf(file);
    std::size_t bestLength = 0;
    for (const DocMapEntry* entry = &map; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        const std::string folder = Canonical(entry->m_pszResolvedDir.get());
        const std::optional<std::string> rest = Below(file, folder);
        if (rest && folder.size() >= bestLength) {
            best = JoinUrl(entry->m_pszUrlPrefix.get(), *rest);
            bestLength = folder.size();
        }
    }
    return best;
}

std::optional<std::string> LocalFeedFile(const std::string& pagePath, const std::string& href) {
    const std::string path = ReferencePath(href);
    if (HasOwnHost(href) || path.empty() || path.back() == '/') return std::nullopt;
    if (path.front() != '/') return FolderOf(pagePath) + "/" + path;
    DocMapEntry map;
    map.ReadDocMap();
    std::optional<std::string> best;
    std::size_t bestLength = 0;
    for (const DocMapEntry* entry = &map; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir || !entry->m_pszUrlPrefix) continue;
        std::string prefix = entry->m_pszUrlPrefix.get();
        while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
        const std::optional<std::string> rest = Below(path, prefix.empty() ? "/" : prefix);
        if (rest && (!best || prefix.size() >= bestLength)) {
            best = Canonical(entry->m_pszResolvedDir.get()) + "/" + *rest;
            bestLength = prefix.size();
        }
    }
    return best;
}

std::string FeedHost(const std::string& adminEmail) {
    const std::string::size_type at = adminEmail.rfind('@');
    if (at != std::string::npos && at + 1 < adminEmail.size()) return adminEmail.substr(at + 1);
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}
