// The file operations the layers above the platform use, the same on every
// system: descriptors opened for reading, reads, what a file is, and stdio
// streams over descriptors and over a reader's function.
//
// A descriptor is an int on every system (on Windows, a C runtime descriptor
// over the handle the backend opened, in binary mode). Every operation here
// and in the backends goes through one fault counter, so that a test can make
// any one of them fail: SetFileFault(N, error) makes the Nth operation from
// then on fail with `error`, once, as the system would have failed it. An
// interrupted call (EINTR) is retried, so no caller ever sees one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/file_system.h"

// Opens `path` for reading in binary mode, without waiting on what is no
// regular file (a FIFO, a device), not inherited by child processes; a
// folder opens as well, so that the caller can tell it from a file. -1 with
// errno set on failure (ENOENT for a missing file).
int FileOpenForReading(const char* path);
// Reads at the file position, as read(2) does.
ssize_t FileRead(int fd, void* buffer, size_t size);
// Reads at `offset` without depending on the file position.
ssize_t FilePread(int fd, void* buffer, size_t size, off_t offset);
// A second descriptor of the open file `fd`, not inherited by child
// processes: it shares the file position and a lock taken through either.
int FileDuplicate(int fd);
// Closes the descriptor (and releases a lock taken on it). An interrupted
// close has closed the descriptor all the same and counts as done.
int FileClose(int fd);

// What an open file or a path is.
struct FileStatus {
    FileId id;                         // same id, same file, by whatever path
    bool regular = false;              // a regular file (not a folder, FIFO, device)
    bool directory = false;            // a folder
    std::int64_t size = 0;             // in bytes
    std::int64_t modifiedSeconds = 0;  // last change of the contents, Unix time
    long modifiedNanoseconds = 0;      // and its fraction
};
// The status of the open file `fd`; false with errno set.
bool FileStatusOf(int fd, FileStatus* status);
// The status of what `path` names, following links; false with errno set
// (ENOENT when nothing is there).
bool PathStatus(const std::string& path, FileStatus* status);

// A buffered, seekable stream reading the open file `fd` from its start through
// a descriptor of its own (`fd` stays the caller's). Null with errno set when
// none can be made.
FILE* OpenReadStream(int fd);
// A buffered stream writing to `fd`, which it takes over: closing the stream
// closes it, and the close's failure is the stream's. Null with errno set
// (and `fd` closed) when none can be made.
FILE* OpenWriteStream(int fd);

// A stream that reads and writes a new file of the system's temporary
// folder, which goes away when the stream is closed or the program ends.
// It is the user's temporary folder on Windows, never the root of a drive,
// where a user who is no administrator may create no file. Null with errno
// set when none can be made.
FILE* OpenScratchStream();

// Supplies up to `size` bytes of the source from byte `offset` on into
// `buffer` for a stream: how many, 0 at the end, -1 on failure.
using StreamSource = ssize_t (*)(void* context, char* buffer, size_t size, uint64_t offset);
// A read-only stream of the bytes `source` supplies, read in pieces of
// `bufferSize`; it can seek, as a reader that goes over its bytes twice
// needs. The caller closes it, and `context` must outlive it. Where
// the system has no streams over functions (Windows), every byte is drawn
// from `source` before the stream is returned, into a temporary file that
// goes away with the stream: the same bytes either way, and a failure of
// `source` shows as it does in a stream that stops early. Null with errno
// set when none can be made.
FILE* OpenSourceStream(void* context, StreamSource source, size_t bufferSize);

// Test seam. Makes the `nth` file operation from now on (1: the next one)
// fail with `error`, once; 0 turns injection off. Counting restarts.
void SetFileFault(long nth, int error);
// How many file operations ran since the last SetFileFault.
long FileOperationsSince();
// Whether the injected failure has happened since the last SetFileFault.
bool FileFaultHappened();
