// The POSIX backend's own file operations, behind platform/file_ops.h: each
// behaves as the system call it is named after and counts as one operation
// of the fault counter (platform/file_faults.h).
#pragma once

#include <dirent.h>
#include <sys/types.h>

#include "platform/file_ops.h"

// Opens `path` as open(2) does. -1 with errno set on failure.
int FileOpen(const char* path, int flags, mode_t mode = 0);
// Opens `path` relative to the open directory `dir`, as openat(2) does.
int FileOpenAt(int dir, const char* path, int flags, mode_t mode = 0);
// Writes at the file position, as write(2) does; a short write is possible.
ssize_t FileWrite(int fd, const void* data, size_t size);
// Writes at `offset`, as pwrite(2) does; a short write is possible.
ssize_t FilePwrite(int fd, const void* data, size_t size, off_t offset);
// Writes all `size` bytes at `offset`; false with errno set (EIO for a write
// that took nothing) when any part could not be written.
bool FileWriteAll(int fd, const void* data, size_t size, off_t offset);
// Syncs the file's data and metadata to disk, as fsync(2) does.
int FileSync(int fd);
// Reserves disk room for the first `size` bytes of the file without changing
// its size, so that writing them cannot run out of room. 0 also where the
// file system cannot reserve room (nothing was promised then); -1 with errno
// set (ENOSPC, EDQUOT, EFBIG...) when the room is not there.
int FileReserve(int fd, off_t size);
// Truncates or extends the file to `size`, as ftruncate(2) does.
int FileTruncate(int fd, off_t size);
// Renames `from` over `to`, as rename(2) does.
int FileRename(const char* from, const char* to);
// Removes `path`, as unlink(2) does.
int FileUnlink(const char* path);
// Removes `name` in the open directory `dir`, as unlinkat(2) does.
int FileUnlinkAt(int dir, const char* name, int flags);
// Applies a flock(2) operation.
int FileLock(int fd, int operation);
// Sets the permission bits, as fchmod(2) does.
int FileChmod(int fd, mode_t mode);
// Sets the owner and group, as fchown(2) does.
int FileChown(int fd, uid_t owner, gid_t group);
// Creates a unique file from `pattern` (ending in XXXXXX, which is filled
// in), open for reading and writing, as mkstemp(3) does, close-on-exec.
int FileMakeTemporary(char* pattern);
// Reads the next directory entry, as readdir(3) does: null at the end, and
// null with errno set when the read fails.
dirent* FileReadDirectory(DIR* dir);
