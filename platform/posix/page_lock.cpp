#include "platform/page_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/lock_attempt.h"
#include "platform/posix/posix_file_ops.h"

namespace {

// The system's lock directory, shared by every user.
constexpr char kLockDirectory[] = "/run/lock";

constexpr int kLockFileFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

// Opens the lock file at `path`, creating it when it is missing; only a
// regular file will do, so nobody can plant something else there.
int OpenLockFile(const std::string& path) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = FileOpen(path.c_str(), kLockFileFlags);
        if (fd < 0 && errno == ENOENT) {
            fd = FileOpen(path.c_str(), kLockFileFlags | O_CREAT | O_EXCL, 0444);
            if (fd < 0 && errno == EEXIST) continue;
            // Readable by every user whatever the creator's file-creation mask.
            if (fd >= 0) FileChmod(fd, 0444);
        }
        struct stat info {};
        if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            FileClose(fd);
            errno = EEXIST;
            return -1;
        }
        return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

int OpenFolderLock(const std::string& folder) {
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) return -1;
    const std::string path = std::string(kLockDirectory) + "/tavrel-folder-" +
                             std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino);
    const int fd = OpenLockFile(path);
    if (fd >= 0) return fd;
    return FileOpen(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool TryLockExclusive(int fd) { return FileLock(fd, LOCK_EX | LOCK_NB) == 0; }
