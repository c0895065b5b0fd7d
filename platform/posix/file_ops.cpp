#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "platform/file_faults.h"
#include "platform/posix/posix_file_ops.h"

namespace {

// A page is read whole, more than once: large reads keep the system calls few.
constexpr size_t kReadStreamBuffer = size_t{1} << 18;

// A stream's file: its descriptor and, for reading, where the next read
// starts and the stream's buffer (the C library takes a size only with a
// buffer).
struct StreamFile {
    int fd;
    off_t offset;
    std::unique_ptr<char[]> buffer;
};

// Gives `stream` a buffer of `size` bytes held by `buffer`; where there is no
// memory for it, the stream keeps the C library's own.
void SetStreamBuffer(FILE* stream, std::unique_ptr<char[]>& buffer, size_t size) {
    buffer.reset(new (std::nothrow) char[size]);
    if (buffer) std::setvbuf(stream, buffer.get(), _IOFBF, size);
}

ssize_t ReadCookie(void* cookie, char* buffer, size_t size) {
    auto* file = static_cast<StreamFile*>(cookie);
    const ssize_t got = FilePread(file->fd, buffer, size, file->offset);
    if (got > 0) file->offset += got;
    return got;
}

// The C library counts a short write as a failed one, so all is written.
ssize_t WriteCookie(void* cookie, const char* data, size_t size) {
    auto* file = static_cast<StreamFile*>(cookie);
    size_t done = 0;
    while (done < size) {
        const ssize_t written = FileWrite(file->fd, data + done, size - done);
        if (written == 0) errno = EIO;
        if (written <= 0) return -1;
        done += static_cast<size_t>(written);
    }
    return static_cast<ssize_t>(size);
}

// A stream over a caller's source of bytes, and where its next read starts.
struct SourceFile {
    void* context;
    StreamSource source;
    off_t offset;
    std::unique_ptr<char[]> buffer;
};

ssize_t ReadSourceCookie(void* cookie, char* buffer, size_t size) {
    auto* file = static_cast<SourceFile*>(cookie);
    const ssize_t got =
        file->source(file->context, buffer, size, static_cast<uint64_t>(file->offset));
    if (got > 0) file->offset += got;
    return got;
}

int CloseSourceCookie(void* cookie) {
    delete static_cast<SourceFile*>(cookie);
    return 0;
}

// A read stream may go back to where it began, or anywhere else in its
// file: the position is its own, not the descriptor's.
template <typename File>
int SeekCookie(void* cookie, off64_t* position, int whence) {
    auto* file = static_cast<File*>(cookie);
    off_t base = 0;
    if (whence == SEEK_CUR) {
        base = file->offset;
    } else if (whence != SEEK_SET) {
        errno = EINVAL;
        return -1;
    }
    if (base + *position < 0) {
        errno = EINVAL;
        return -1;
    }
    file->offset = static_cast<off_t>(base + *position);
    *position = file->offset;
    return 0;
}

int CloseCookie(void* cookie) {
    auto* file = static_cast<StreamFile*>(cookie);
    const int result = FileClose(file->fd);
    delete file;
    return result;
}

// `bufferSize` 0: the C library's own buffer.
FILE* StreamOver(int fd, const char* mode, const cookie_io_functions_t& functions,
                 size_t bufferSize = 0) {
    auto* file = new (std::nothrow) StreamFile{fd, 0, nullptr};
    FILE* stream = file != nullptr ? fopencookie(file, mode, functions) : nullptr;
    if (stream == nullptr) {
        const int error = file != nullptr ? errno : ENOMEM;
        delete file;
        FileClose(fd);
        errno = error;
        return nullptr;
    }
    if (bufferSize != 0) SetStreamBuffer(stream, file->buffer, bufferSize);
    return stream;
}

FileStatus StatusFrom(const struct stat& info) {
    FileStatus status;
    status.id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    status.regular = S_ISREG(info.st_mode);
    status.directory = S_ISDIR(info.st_mode);
    status.size = info.st_size;
    status.modifiedSeconds = info.st_mtim.tv_sec;
    status.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return status;
}

}  // namespace

int FileOpen(const char* path, int flags, mode_t mode) {
    return FileOperation([&] { return open(path, flags, mode); });
}

int FileOpenForReading(const char* path) {
    return FileOpen(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

bool FileStatusOf(int fd, FileStatus* status) {
    struct stat info {};
    if (fstat(fd, &info) != 0) return false;
    *status = StatusFrom(info);
    return true;
}

bool PathStatus(const std::string& path, FileStatus* status) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return false;
    *status = StatusFrom(info);
    return true;
}

int FileOpenAt(int dir, const char* path, int flags, mode_t mode) {
    return FileOperation([&] { return openat(dir, path, flags, mode); });
}

ssize_t FileRead(int fd, void* buffer, size_t size) {
    return FileOperation([&] { return read(fd, buffer, size); });
}

ssize_t FilePread(int fd, void* buffer, size_t size, off_t offset) {
    return FileOperation([&] { return pread(fd, buffer, size, offset); });
}

ssize_t FileWrite(int fd, const void* data, size_t size) {
    return FileOperation([&] { return write(fd, data, size); });
}

ssize_t FilePwrite(int fd, const void* data, size_t size, off_t offset) {
    return FileOperation([&] { return pwrite(fd, data, size, offset); });
}

bool FileWriteAll(int fd, const void* data, size_t size, off_t offset) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t written =
            FilePwrite(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
        if (written == 0) errno = EIO;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

int FileSync(int fd) {
    return FileOperation([&] { return fsync(fd); });
}

int FileReserve(int fd, off_t size) {
    if (size == 0) return 0;
    // Room reserved past the file's end is not held to the file-size limit,
    // which the write would then meet half-way.
    struct rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(size) > limit.rlim_cur) {
        errno = EFBIG;
        return -1;
    }
    const int result = FileOperation([&] { return fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size); });
    if (result != 0 && (errno == EOPNOTSUPP || errno == ENOSYS)) return 0;
    return result;
}

int FileTruncate(int fd, off_t size) {
    return FileOperation([&] { return ftruncate(fd, size); });
}

int FileRename(const char* from, const char* to) {
    return FileOperation([&] { return rename(from, to); });
}

int FileUnlink(const char* path) {
    return FileOperation([&] { return unlink(path); });
}

int FileUnlinkAt(int dir, const char* name, int flags) {
    return FileOperation([&] { return unlinkat(dir, name, flags); });
}

int FileLock(int fd, int operation) {
    return FileOperation([&] { return flock(fd, operation); });
}

int FileChmod(int fd, mode_t mode) {
    return FileOperation([&] { return fchmod(fd, mode); });
}

int FileChown(int fd, uid_t owner, gid_t group) {
    return FileOperation([&] { return fchown(fd, owner, group); });
}

int FileMakeTemporary(char* pattern) {
    return FileOperation([&] { return mkostemp(pattern, O_CLOEXEC); });
}

int FileDuplicate(int fd) {
    return FileOperation([&] { return fcntl(fd, F_DUPFD_CLOEXEC, 0); });
}

int FileClose(int fd) {
    if (FileFaultInjected() && errno != EINTR) {
        close(fd);  // a failed close has still released the descriptor
        return -1;
    }
    return close(fd) == 0 || errno == EINTR ? 0 : -1;
}

dirent* FileReadDirectory(DIR* dir) {
    while (true) {
        if (FileFaultInjected()) {
            if (errno == EINTR) continue;
            return nullptr;
        }
        errno = 0;
        return readdir(dir);
    }
}

FILE* OpenReadStream(int fd) {
    const int own = FileDuplicate(fd);
    if (own < 0) return nullptr;
    return StreamOver(own, "rb", {ReadCookie, nullptr, SeekCookie<StreamFile>, CloseCookie},
                      kReadStreamBuffer);
}

FILE* OpenWriteStream(int fd) {
    return StreamOver(fd, "wb", {nullptr, WriteCookie, nullptr, CloseCookie});
}

FILE* OpenScratchStream() {
    while (true) {
        if (FileFaultInjected()) {
            if (errno == EINTR) continue;
            return nullptr;
        }
        return std::tmpfile();  // unlinked at once: nothing is left behind
    }
}

FILE* OpenSourceStream(void* context, StreamSource source, size_t bufferSize) {
    auto* file = new (std::nothrow) SourceFile{context, source, 0, nullptr};
    if (file == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    FILE* stream = fopencookie(
        file, "rb", {ReadSourceCookie, nullptr, SeekCookie<SourceFile>, CloseSourceCookie});
    if (stream == nullptr) {
        delete file;
        return nullptr;
    }
    SetStreamBuffer(stream, file->buffer, bufferSize);
    return stream;
}
