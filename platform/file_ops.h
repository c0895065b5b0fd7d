// The file operations of the whole program, in one place.
//
// Every call that opens, reads, writes, syncs, reserves, truncates, renames,
// removes, locks, gives away or lists a file goes through these functions, so
// that a test can make any one of them fail: SetFileFault(N, error) makes the
// Nth operation from then on fail with `error`, once, as the system would
// have failed it. The functions otherwise behave as the system calls they are
// named after; an interrupted call (EINTR) is retried here, so no caller ever
// sees one, an injected one included.
//
// Streams over files are made here as well (OpenReadStream, OpenWriteStream),
// so the C library's buffered reads and writes reach the file through the
// same operations.
#pragma once

#include <dirent.h>
#include <sys/types.h>

#include <cstdio>

// Opens `path` as open(2) does. -1 with errno set on failure.
int FileOpen(const char* path, int flags, mode_t mode = 0);
// Opens `path` relative to the open directory `dir`, as openat(2) does.
int FileOpenAt(int dir, const char* path, int flags, mode_t mode = 0);
// Reads at the file position, as read(2) does.
ssize_t FileRead(int fd, void* buffer, size_t size);
// Reads at `offset`, as pread(2) does.
ssize_t FilePread(int fd, void* buffer, size_t size, off_t offset);
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
// A second descriptor of the open file `fd`, close-on-exec, as
// fcntl(F_DUPFD_CLOEXEC) makes it: it shares the file position and a lock
// taken through either.
int FileDuplicate(int fd);
// Closes the descriptor, as close(2) does. An interrupted close has closed
// the descriptor all the same on this system and counts as done.
int FileClose(int fd);
// Reads the next directory entry, as readdir(3) does: null at the end, and
// null with errno set when the read fails.
dirent* FileReadDirectory(DIR* dir);

// A buffered, seekable stream reading the open file `fd` from its start through a
// descriptor of its own (`fd` stays the caller's). Null with errno set when
// none can be made.
FILE* OpenReadStream(int fd);
// A buffered stream writing to `fd`, which it takes over: closing the stream
// closes it, and the close's failure is the stream's. Null with errno set
// (and `fd` closed) when none can be made.
FILE* OpenWriteStream(int fd);

// Test seam. Makes the `nth` file operation from now on (1: the next one)
// fail with `error`, once; 0 turns injection off. Counting restarts.
void SetFileFault(long nth, int error);
// How many file operations ran since the last SetFileFault.
long FileOperationsSince();
// Whether the injected failure has happened since the last SetFileFault.
bool FileFaultHappened();
