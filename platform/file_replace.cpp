#include "platform/file_replace.h"

#include <cerrno>
#include <utility>

#include "platform/file_ops.h"

FileReplacement::FileReplacement(std::string path) : m_target(std::move(path)) {}

FileReplacement::~FileReplacement() {
    Rollback();
    if (m_lockFd >= 0) FileClose(m_lockFd);
}

int FileReplacement::TakeLock() {
    const int fd = m_lockFd;
    m_lockFd = -1;
    return fd;
}

bool FileReplacement::Fail(int error) {
    m_error = error;
    Rollback();
    return false;
}

void FileReplacement::Abandon() {
    const int error = errno;
    m_error = m_stream != nullptr && std::ferror(m_stream) ? (error != 0 ? error : EIO) : 0;
    Rollback();
}

bool ReplaceFileSafely(const std::string& path, const std::function<bool(FILE*)>& write, int* error,
                       int* keptLock) {
    FileReplacement replacement(path);
    if (keptLock != nullptr) replacement.KeepLocked();
    bool ok = replacement.Open();
    if (ok && !write(replacement.Stream())) {
        replacement.Abandon();
        ok = false;
    }
    ok = ok && replacement.Commit();
    if (error != nullptr) *error = ok ? 0 : replacement.Error();
    if (keptLock != nullptr) *keptLock = replacement.TakeLock();
    return ok;
}
