#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <utility>

namespace {

// Follows symbolic links from `path` to the file they finally name, which
// need not exist yet. Gives up after as many hops as the system allows.
std::string ResolveLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
        if (length < 0) return path;
        target[length] = '\0';
        if (target[0] == '/') {
            path = target;
        } else {
            const std::string::size_type slash = path.rfind('/');
            path =
                (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
    }
    return path;
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

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Gives the temporary file the target's permission bits and owner, or, for a
// new file, the bits an ordinary create would give it.
void CopyPermissions(int fd, const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) {
        if (fchown(fd, info.st_uid, info.st_gid) != 0) {
            // Only the owner can be kept by an unprivileged writer; the mode still is.
        }
        fchmod(fd, info.st_mode & 07777);
    } else {
        fchmod(fd, 0666 & ~CurrentUmask());
    }
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

FileReplacement::FileReplacement(std::string path) : m_target(ResolveLinks(std::move(path))) {}

FileReplacement::~FileReplacement() { Rollback(); }

bool FileReplacement::Open() {
    // A write past a file-size limit must fail with EFBIG and be reported,
    // not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string pattern = FolderOf(m_target) + "/." + NameOf(m_target) + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return false;
    m_tempPath = pattern;
    CopyPermissions(fd, m_target);
    m_stream = fdopen(fd, "wb");
    if (m_stream == nullptr) {
        close(fd);
        Rollback();
        return false;
    }
    return true;
}

bool FileReplacement::Commit() {
    if (m_stream == nullptr) return false;
    bool ok = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    ok = ok && fsync(fileno(m_stream)) == 0;
    ok = (std::fclose(m_stream) == 0) && ok;
    m_stream = nullptr;
    ok = ok && std::rename(m_tempPath.c_str(), m_target.c_str()) == 0;
    if (!ok) {
        Rollback();
        return false;
    }
    m_tempPath.clear();
    SyncFolder(FolderOf(m_target));
    return true;
}

void FileReplacement::Rollback() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_tempPath.empty()) {
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

bool ReplaceFile(const std::string& path, const std::function<bool(FILE*)>& write) {
    FileReplacement replacement(path);
    if (!replacement.Open()) return false;
    if (!write(replacement.Stream())) return false;
    return replacement.Commit();
}
