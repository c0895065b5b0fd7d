#include "platform/config_files.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/file_system.h"

bool ReadConfigFile(const std::string& path, std::string* text, std::string* reason) {
    text->clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *reason = std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        *reason = S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        close(fd);
        return false;
    }
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) text->append(buffer, got);
    const int error = errno;
    close(fd);
    if (got < 0) {
        *reason = std::strerror(error);
        return false;
    }
    return true;
}

std::vector<std::string> MatchConfigFiles(const std::string& pattern) {
    glob_t found{};
    std::vector<std::string> paths;
    if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) paths.emplace_back(found.gl_pathv[i]);
    }
    globfree(&found);
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool IsConfigFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool ConfigPathExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
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

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> RealPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (!real) return std::nullopt;
    return std::string(real.get());
}
