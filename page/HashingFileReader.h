// Reading an open file from its start while hashing every byte read, so that
// a page's identity comes from exactly the bytes that were parsed, without
// holding a second copy of the page for the purpose. A reader that goes over
// the file more than once (the parser does) hashes each byte once: the hash
// is of the bytes from the start up to the furthest read.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

class HashingFileReader {
  public:
    // Reads `fd` from offset 0 on; the descriptor stays the caller's.
    explicit HashingFileReader(int fd) : m_fd(fd) {}

    // Reads up to `size` bytes at the next position into `buffer` and hashes
    // them. Returns how many, 0 at the end of the file, or -1 with Error()
    // set when the read fails. An interrupted read is retried.
    ssize_t Read(char* buffer, size_t size);
    // The same from byte `offset` on; the next Read goes on after it.
    ssize_t ReadAt(char* buffer, size_t size, uint64_t offset);

    // A seekable stdio stream that reads through this reader, for a reader
    // that takes a stream; valid while this reader lives, closed by the
    // caller. Null with errno set when it cannot be made.
    FILE* OpenStream();

    // A 64-bit hash of the bytes from the start to the furthest read, the
    // same however the reads were split: enough to tell a changed page from
    // an unchanged one.
    uint64_t Hash() const;

    // The errno value of the failed read, 0 when none failed.
    int Error() const { return m_error; }

  private:
    void Mix(const char* bytes, size_t size);

    int m_fd;
    off_t m_offset = 0;
    uint64_t m_hashedTo = 0;  // the bytes before this offset are in the hash
    uint64_t m_hash = 0xcbf29ce484222325ULL;
    uint64_t m_word = 0;       // the bytes of an unfinished 8-byte word
    unsigned m_wordBytes = 0;  // how many bytes m_word holds
    int m_error = 0;
};
