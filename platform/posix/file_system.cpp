#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/posix_file_ops.h"

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;

// The current directory, however long; "" when it cannot be read.
std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// Opens `path` one component at a time from the root or the current
// directory: for paths the system refuses whole as too long.
int OpenByComponents(const std::string& path) {
    int fd = FileOpen(path[0] == '/' ? "/" : ".", kDirectoryFlags);
    std::size_t start = 0;
    while (fd >= 0 && start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const std::string component = path.substr(start, end - start);
            const int child = FileOpenAt(fd, component.c_str(), kDirectoryFlags);
            FileClose(fd);
            fd = child;
        }
        start = end + 1;
    }
    return fd;
}

constexpr int kMaxLinkHops = 40;

}  // namespace

struct DirectoryReader::Handle {
    DIR* dir;

    // The kind of the entry `name` from its own status, for file systems
    // whose listings do not give it; DT_UNKNOWN when it cannot be examined.
    unsigned char ChildType(const char* name) const {
        struct stat info {};
        if (fstatat(dirfd(dir), name, &info, AT_SYMLINK_NOFOLLOW) != 0) return DT_UNKNOWN;
        if (S_ISLNK(info.st_mode)) return DT_LNK;
        return S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
    }

    // A reader of the open directory `fd`, which it takes over; not open
    // when `fd` is -1 or no directory.
    static DirectoryReader Reader(int fd) {
        if (fd < 0) return {};
        struct stat info {};
        DIR* dir = fstat(fd, &info) == 0 ? fdopendir(fd) : nullptr;
        if (dir == nullptr) {
            FileClose(fd);
            return {};
        }
        return {new Handle{dir},
                {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}};
    }
};

bool ResolveLinks(std::string* path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(path->c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        char target[PATH_MAX];
        const ssize_t length = readlink(path->c_str(), target, sizeof target - 1);
        if (length < 0) return true;
        target[length] = '\0';
        if (target[0] == '/') {
            *path = target;
        } else {
            const std::string::size_type slash = path->rfind('/');
            *path =
                (slash == std::string::npos ? std::string() : path->substr(0, slash + 1)) + target;
        }
    }
    errno = ELOOP;
    return false;
}

std::string SystemPath(std::string_view path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TidySystemPath(std::string_view path) {
    std::string result;
    result.reserve(path.size());
    for (char c : SystemPath(path)) {
        if (c != '/' || result.empty() || result.back() != '/') result += c;
    }
    if (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

bool IsAbsolutePathText(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string CurrentDirectoryPath() { return CurrentDirectory(); }

std::string AbsoluteSystemPath(std::string_view path) {
    std::string joined = SystemPath(path);
    if (joined.empty() || joined[0] != '/') {
        const std::string current = CurrentDirectory();
        if (!current.empty()) joined = current + "/" + joined;
    }
    return TidySystemPath(joined);
}

bool IsSymbolicLink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

PathKind KindOfPath(const std::string& path) {
    struct stat info {};
    if (stat(SystemPath(path).c_str(), &info) != 0) return PathKind::kMissing;
    return S_ISDIR(info.st_mode) ? PathKind::kDirectory : PathKind::kOther;
}

DirectoryReader DirectoryReader::Open(const std::string& path) {
    const std::string systemPath = SystemPath(path);
    if (systemPath.empty()) return {};
    int fd = FileOpen(systemPath.c_str(), kDirectoryFlags);
    if (fd < 0 && errno == ENAMETOOLONG) fd = OpenByComponents(systemPath);
    return Handle::Reader(fd);
}

void DirectoryReader::Close() {
    if (m_handle == nullptr) return;
    closedir(m_handle->dir);
    delete m_handle;
    m_handle = nullptr;
}

DirectoryReader DirectoryReader::OpenChild(std::string_view name) const {
    if (m_handle == nullptr) return {};
    const std::string childName(name);
    return Handle::Reader(FileOpenAt(dirfd(m_handle->dir), childName.c_str(), kDirectoryFlags));
}

bool DirectoryReader::ChildIsDirectory(std::string_view name) const {
    if (m_handle == nullptr) return false;
    const std::string childName(name);
    struct stat info {};
    return fstatat(dirfd(m_handle->dir), childName.c_str(), &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool DirectoryReader::Next(DirectoryEntry* entry) {
    if (m_handle == nullptr) return false;
    const dirent* found = FileReadDirectory(m_handle->dir);
    if (found == nullptr) return false;
    entry->name = found->d_name;
    const unsigned char type =
        found->d_type == DT_UNKNOWN ? m_handle->ChildType(found->d_name) : found->d_type;
    entry->mayBeDirectory = type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN;
    entry->isLink = type == DT_LNK;
    return true;
}
