#include "platform/file_ops.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "platform/file_faults.h"
#include "platform/win32/lock_range.h"
#include "platform/win32/wide_path.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::int64_t kTicksPerSecond = 10000000;            // FILETIME counts 100 ns
constexpr std::int64_t kUnixEpochTicks = 116444736000000000;  // 1970 in FILETIME

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

// The status of an open handle; a pipe or a console is neither a regular
// file nor a folder and has no identity.
bool StatusOfHandle(HANDLE handle, FileStatus* status) {
    *status = FileStatus{};
    if (GetFileType(handle) != FILE_TYPE_DISK) return true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return FailWithLastError(false);
    status->id = {info.dwVolumeSerialNumber,
                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    status->directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status->regular = !status->directory;
    status->size =
        static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    const std::int64_t ticks = Ticks(info.ftLastWriteTime) - kUnixEpochTicks;
    status->modifiedSeconds = ticks / kTicksPerSecond;
    status->modifiedNanoseconds = static_cast<long>(ticks % kTicksPerSecond * 100);
    return true;
}

// A file of the temporary folder that removes itself when closed.
HANDLE OpenScratchFile() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"tvr", 0, name) == 0) {
        return FailWithLastError(INVALID_HANDLE_VALUE);
    }
    const HANDLE file =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(name);
        return FailWithLastError(INVALID_HANDLE_VALUE);
    }
    return file;
}

// A stream in `mode` over the scratch file `file`, which it takes over:
// closing the stream removes the file. Null with errno set (and the file
// gone) when none can be made.
FILE* StreamOverScratch(HANDLE file, int flags, const char* mode) {
    const int fd = DescriptorOf(file, flags);
    FILE* stream = fd >= 0 ? _fdopen(fd, mode) : nullptr;
    if (stream == nullptr && fd >= 0) _close(fd);
    return stream;
}

// Copies what `source` supplies into `file`; stops early, as a stream over
// `source` would, when it fails. False with errno set when `file` cannot
// take the bytes.
bool Drain(void* context, StreamSource source, HANDLE file) {
    char piece[1 << 16];
    ssize_t got = 0;
    uint64_t offset = 0;
    while ((got = source(context, piece, sizeof piece, offset)) > 0) {
        offset += static_cast<uint64_t>(got);
        DWORD written = 0;
        if (!WriteFile(file, piece, static_cast<DWORD>(got), &written, nullptr)) {
            return FailWithLastError(false);
        }
    }
    return true;
}

}  // namespace

int FileOpenForReading(const char* path) {
    return FileOperation([&] {
        const HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return FailWithLastError(-1);
        return DescriptorOf(file, _O_RDONLY);
    });
}

ssize_t FileRead(int fd, void* buffer, size_t size) {
    return FileOperation([&]() -> ssize_t {
        DWORD got = 0;
        if (ReadFile(HandleOf(fd), buffer, static_cast<DWORD>(size), &got, nullptr)) return got;
        if (GetLastError() == ERROR_BROKEN_PIPE) return 0;
        return FailWithLastError(-1);
    });
}

ssize_t FilePread(int fd, void* buffer, size_t size, off_t offset) {
    return FileOperation([&]() -> ssize_t {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
        DWORD got = 0;
        if (ReadFile(HandleOf(fd), buffer, static_cast<DWORD>(size), &got, &at)) return got;
        if (GetLastError() == ERROR_HANDLE_EOF) return 0;
        return FailWithLastError(-1);
    });
}

int FileClose(int fd) {
    OVERLAPPED range = LockRange();
    UnlockFileEx(HandleOf(fd), 0, kLockLength, 0, &range);
    if (FileFaultInjected() && errno != EINTR) {
        _close(fd);  // a failed close has still released the descriptor
        return -1;
    }
    _close(fd);
    return 0;
}

int FileDuplicate(int fd) {
    return FileOperation([&] { return _dup(fd); });
}

bool FileStatusOf(int fd, FileStatus* status) {
    return FileOperation([&] { return StatusOfHandle(HandleOf(fd), status) ? 0 : -1; }) == 0;
}

bool PathStatus(const std::string& path, FileStatus* status) {
    const HANDLE file = CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailWithLastError(false);
    const bool ok = StatusOfHandle(file, status);
    CloseHandle(file);
    return ok;
}

// A handle of its own, reopened from the original, so that its position is
// the stream's alone.
FILE* OpenReadStream(int fd) {
    const HANDLE own = ReOpenFile(HandleOf(fd), GENERIC_READ, kShareAll, 0);
    if (own == INVALID_HANDLE_VALUE) return FailWithLastError(nullptr);
    const int ownFd = DescriptorOf(own, _O_RDONLY);
    if (ownFd < 0) return nullptr;
    FILE* stream = _fdopen(ownFd, "rb");
    if (stream == nullptr) {
        _close(ownFd);
        return nullptr;
    }
    // A page is read whole, more than once: large reads keep the calls few.
    std::setvbuf(stream, nullptr, _IOFBF, std::size_t{1} << 18);
    return stream;
}

FILE* OpenWriteStream(int fd) {
    FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr) _close(fd);
    return stream;
}

FILE* OpenScratchStream() {
    if (FileFaultInjected()) return nullptr;
    const HANDLE file = OpenScratchFile();
    return file == INVALID_HANDLE_VALUE ? nullptr : StreamOverScratch(file, _O_RDWR, "w+b");
}

FILE* OpenSourceStream(void* context, StreamSource source, size_t bufferSize) {
    const HANDLE file = OpenScratchFile();
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (!Drain(context, source, file) || SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0) {
        const int error = errno != 0 ? errno : EIO;
        CloseHandle(file);
        errno = error;
        return nullptr;
    }
    FILE* stream = StreamOverScratch(file, _O_RDONLY, "rb");
    if (stream != nullptr) std::setvbuf(stream, nullptr, _IOFBF, bufferSize);
    return stream;
}
