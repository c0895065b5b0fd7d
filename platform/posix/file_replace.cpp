#include "platform/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

#include "platform/file_system.h"
#include "platform/page_lock.h"
#include "platform/posix/posix_file_ops.h"

namespace {

constexpr char kTempTag[] = ".tavrel-";

// "." + name + ".tavrel-": how every temporary file of `name` begins.
std::string TempPrefix(const std::string& name) { return "." + name + kTempTag; }

// The process's file-creation mask, read where Linux shows it: umask(2) can
// only read it by setting it, which another thread creating a file in the
// meantime would feel. Kernels that do not show it get the umask(2) way.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Gives the temporary file the target's owner, group and permission bits, or,
// for a new file, the bits an ordinary create would give it. A writer that may
// not give the file away still keeps the group when it belongs to it; when
// neither can be kept the mode still is: only a refusal to give the file
// away (EPERM) is expected. False (errno set) when the owner or group failed
// otherwise or the mode could not be set, as the page would then come out
// readable by its writer alone.
bool CopyPermissions(int fd, const struct stat* target) {
    if (target == nullptr) return FileChmod(fd, 0666 & ~CurrentUmask()) == 0;
    if (FileChown(fd, target->st_uid, target->st_gid) != 0) {
        if (errno != EPERM) return false;
        if (FileChown(fd, static_cast<uid_t>(-1), target->st_gid) != 0 && errno != EPERM) {
            return false;
        }
    }
    return FileChmod(fd, target->st_mode & 07777) == 0;
}

// Syncs the folder's entries after a rename. The rename has happened whether
// or not this succeeds, so a failure here is not the write's.
void SyncFolder(const std::string& folder) {
    const int fd = FileOpen(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    FileSync(fd);
    FileClose(fd);
}

// Reads the whole file open at `fd` into `bytes`; false with errno set.
bool ReadWhole(int fd, std::string* bytes) {
    char piece[1 << 16];
    ssize_t got = 0;
    while ((got = FilePread(fd, piece, sizeof piece, static_cast<off_t>(bytes->size()))) > 0) {
        bytes->append(piece, static_cast<size_t>(got));
    }
    return got == 0;
}

// Makes the file open at `fd` hold exactly `size` bytes at `data`, synced.
bool WriteWhole(int fd, const char* data, size_t size) {
    return FileWriteAll(fd, data, size, 0) && FileTruncate(fd, static_cast<off_t>(size)) == 0 &&
           FileSync(fd) == 0;
}

// A temporary file's name names the process that wrote it; true when that
// process no longer exists.
bool OwnerIsGone(const char* entry, const std::string& prefix) {
    if (std::strncmp(entry, prefix.c_str(), prefix.size()) != 0) return false;
    char* end = nullptr;
    const long pid = std::strtol(entry + prefix.size(), &end, 10);
    if (end == entry + prefix.size() || *end != '-' || pid <= 0) return false;
    if (pid == getpid()) return false;
    return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the temporary files of `target` left behind by runs that were killed.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string prefix = TempPrefix(NameOf(target));
    const int fd = FileOpen(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        FileClose(fd);
        return;
    }
    while (const dirent* entry = FileReadDirectory(dir)) {
        if (OwnerIsGone(entry->d_name, prefix)) FileUnlinkAt(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// The temporary file that a termination signal must remove, kept where the
// handler can read it without allocating.
char g_pendingTemp[PATH_MAX];
volatile sig_atomic_t g_hasPendingTemp = 0;
constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previousActions[3];

// Removes the temporary file, then hands the signal to what handled it before.
void RemovePendingAndReraise(int signal) {
    if (g_hasPendingTemp) unlink(g_pendingTemp);
    g_hasPendingTemp = 0;
    for (int i = 0; i < 3; ++i) {
        if (kCleanupSignals[i] == signal) sigaction(signal, &g_previousActions[i], nullptr);
    }
    raise(signal);
}

void GuardTemporary(const std::string& path) {
    if (path.size() >= sizeof g_pendingTemp) return;
    std::memcpy(g_pendingTemp, path.c_str(), path.size() + 1);
    g_hasPendingTemp = 1;
    struct sigaction action {};
    action.sa_handler = RemovePendingAndReraise;
    sigemptyset(&action.sa_mask);
    // A signal the process ignores (nohup's SIGHUP) stays ignored: it cannot
    // end the write, so there is nothing to clean up after it.
    for (int i = 0; i < 3; ++i) {
        sigaction(kCleanupSignals[i], nullptr, &g_previousActions[i]);
        if (g_previousActions[i].sa_handler != SIG_IGN) {
            sigaction(kCleanupSignals[i], &action, nullptr);
        }
    }
}

void ReleaseGuard() {
    if (!g_hasPendingTemp) return;
    for (int i = 0; i < 3; ++i) sigaction(kCleanupSignals[i], &g_previousActions[i], nullptr);
    g_hasPendingTemp = 0;
}

// True when nobody may write the file: every write permission bit is clear.
// Even a process that could write it anyway (root) leaves such a file alone.
bool WriteProtected(const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

bool FileReplacement::Open() {
    m_error = 0;
    if (!ResolveLinks(&m_target)) return Fail(errno);
    struct stat info {};
    const bool exists = stat(m_target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) return Fail(errno);
    if (exists && (WriteProtected(info) || access(m_target.c_str(), W_OK) != 0)) {
        return Fail(EACCES);
    }
    m_inPlace = exists && (info.st_nlink > 1 || access(FolderOf(m_target).c_str(), W_OK) != 0);
    if (m_inPlace) return OpenBuffer();
    RemoveStaleTemporaries(m_target);
    if (!OpenTemporary()) return Fail(errno);
    if (!CopyPermissions(m_fd, exists ? &info : nullptr)) return Fail(errno);
    return true;
}

bool FileReplacement::OpenTemporary() {
    std::string pattern = FolderOf(m_target) + "/" + TempPrefix(NameOf(m_target)) +
                          std::to_string(getpid()) + "-XXXXXX";
    const int fd = FileMakeTemporary(pattern.data());
    if (fd < 0) return false;
    m_tempPath = std::move(pattern);  // a move: nothing can fail once the file exists
    GuardTemporary(m_tempPath);
    m_stream = OpenWriteStream(fd);
    if (m_stream == nullptr) return false;
    m_fd = fd;
    return true;
}

bool FileReplacement::OpenBuffer() {
    m_stream = open_memstream(&m_buffer, &m_bufferSize);
    return m_stream != nullptr || Fail(errno);
}

bool FileReplacement::Commit() {
    if (m_stream == nullptr) return Fail(m_error != 0 ? m_error : EBADF);
    return m_inPlace ? CommitInPlace() : CommitTemporary();
}

// Nothing is allocated from the rename on: once the new file is in place,
// running out of memory must not report the write as failed.
bool FileReplacement::CommitTemporary() {
    const std::string folder = FolderOf(m_target);
    errno = EIO;
    bool ok = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    ok = ok && FileSync(m_fd) == 0;
    int error = errno;
    // Locked before the rename: nobody can lock the file before this writer.
    const int lock = ok && m_keepLocked ? LockedDuplicate(m_fd) : -1;
    if (std::fclose(m_stream) != 0 && ok) {
        ok = false;
        error = errno;
    }
    m_stream = nullptr;
    m_fd = -1;
    if (ok && FileRename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (lock >= 0) FileClose(lock);
        return Fail(error);
    }
    m_lockFd = lock;
    ReleaseGuard();
    m_tempPath.clear();
    SyncFolder(folder);
    return true;
}

// The old contents are read whole and the room for the new ones reserved
// before a byte is written; any failure from then until the new contents are
// synced writes the old ones back. A failed close after the sync changes
// nothing: the new contents are on disk, and the descriptor is gone either way.
bool FileReplacement::CommitInPlace() {
    errno = ENOMEM;
    const bool prepared = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    std::fclose(m_stream);
    m_stream = nullptr;
    if (!prepared) return Fail(errno);
    const int fd = FileOpen(m_target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return Fail(errno);
    std::string old;
    bool ok = ReadWhole(fd, &old);
    ok = ok && FileReserve(fd, static_cast<off_t>(std::max(old.size(), m_bufferSize))) == 0;
    const bool reserved = ok;
    ok = ok && WriteWhole(fd, m_buffer, m_bufferSize);
    const int error = errno;
    if (!ok && reserved) WriteWhole(fd, old.data(), old.size());
    FileClose(fd);
    return ok ? (Rollback(), true) : Fail(error);
}

void FileReplacement::Rollback() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
        m_fd = -1;
    }
    std::free(m_buffer);
    m_buffer = nullptr;
    m_bufferSize = 0;
    if (!m_tempPath.empty()) {
        FileUnlink(m_tempPath.c_str());
        m_tempPath.clear();
        ReleaseGuard();
    }
}
