#include "platform/config_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file_ops.h"
#include "platform/file_system.h"

bool ReadConfigFile(const std::string& path, std::string* text, std::string* reason) {
    text->clear();
    const int fd = FileOpenForReading(path.c_str());
    if (fd < 0) {
        *reason = std::strerror(errno);
        return false;
    }
    FileStatus status;
    if (!FileStatusOf(fd, &status) || !status.regular) {
        *reason = status.directory ? std::strerror(EISDIR) : "not a regular file";
        FileClose(fd);
        return false;
    }
    char buffer[65536];
    ssize_t got = 0;
    while ((got = FileRead(fd, buffer, sizeof buffer)) > 0) text->append(buffer, got);
    const int error = errno;
    FileClose(fd);
    if (got < 0) {
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

bool IsConfigFolder(const std::string& path) {
    FileStatus status;
    return PathStatus(path, &status) && status.directory;
}

bool ConfigPathExists(const std::string& path) {
    FileStatus status;
    return PathStatus(path, &status);
}

namespace {

// Folders nest at most this deep below the one named, so a link back up the
// tree ends the listing instead of looping.
constexpr int kMaxFolderDepth = 16;

// Appends the files below `folder` while `*budget` lasts; every name read
// from a folder spends one.
void AppendFilesBelow(const std::string& folder, int depth, std::size_t* budget,
                      std::vector<std::string>* files) {
    std::vector<std::string> names;
    DirectoryReader reader = DirectoryReader::Open(folder);
    DirectoryEntry entry;
    while (*budget > 0 && reader.IsOpen() && reader.Next(&entry)) {
        --*budget;
        if (!entry.name.empty() && entry.name[0] != '.') names.emplace_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string path = folder;
        path += '/';
        path += name;
        if (!IsConfigFolder(path)) {
            files->push_back(path);
        } else if (depth<kMaxFolderDepth&& * budget> 0) {
            AppendFilesBelow(path, depth + 1, budget, files);
        }
    }
}

}  // namespace

bool FilesBelow(const std::string& folder, std::size_t limit, std::vector<std::string>* files) {
    files->clear();
    std::size_t budget = limit + 1;
    AppendFilesBelow(folder, 0, &budget, files);
    return budget > 0;
}
