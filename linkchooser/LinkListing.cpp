#include "linkchooser/LinkListing.h"

#include <algorithm>

#include "linkchooser/DocMap.h"
#include "linkchooser/FileList.h"
#include "linkchooser/FileUrl.h"
#include "linkchooser/ListOrder.h"
#include "model/Messages.h"

bool LinkListing::Load(std::string* failure) {
    DocMapEntry map;
    if (map.ReadDocMap() != ERROR_SUCCESS) {
        *failure = std::string(kMsgCannotReadServerSettings) + "\n" + DocMapFailure();
        return false;
    }
    m_directories = WalkDocMap(map);
    std::stable_sort(
        m_directories.begin(), m_directories.end(),
        [](const DirectoryItem& a, const DirectoryItem& b) { return ListTextLess(a.url, b.url); });
    return true;
}

std::vector<std::string> LinkListing::FilesIn(std::size_t index) const {
    std::vector<std::string> names;
    if (index >= m_directories.size()) return names;
    ListFileNames(m_directories[index].path, &names);
    std::stable_sort(names.begin(), names.end(), ListTextLess);
    return names;
}

std::string LinkListing::LinkFor(std::size_t index, const std::string& name) const {
    return index < m_directories.size() ? ChooserLink(m_directories[index].url, name) : name;
}
