#include "linkchooser/FileList.h"

#include "platform/file_system.h"

bool ListFileNames(const std::string& directory, std::vector<std::string>* names) {
    names->clear();
    DirectoryReader reader = DirectoryReader::Open(directory);
    if (!reader.IsOpen()) return false;
    DirectoryEntry entry;
    while (reader.Next(&entry)) {
        if (entry.name.empty() || entry.name[0] == '.') continue;
        if (entry.mayBeDirectory && reader.ChildIsDirectory(entry.name)) continue;
        names->emplace_back(entry.name);
    }
    return true;
}
