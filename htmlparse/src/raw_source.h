// Raw source: the bytes of a page from a stdio stream, read in pieces, twice.
//
// A page is read once to learn its facts (input_facts.h) and once more to be
// parsed, so that neither pass holds it whole. A stream that can seek is
// read twice from the position it had when the parse began; one that cannot
// (a pipe) is read whole into memory first and served from there. The second
// pass reads no further than the first did, so both see the same bytes: a
// read error ends the page for both, where it happened.
#ifndef HTMLPARSE_RAW_SOURCE_H
#define HTMLPARSE_RAW_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace htmlparse {

class RawSource {
  public:
    // Reads `stream` (open for reading; the caller keeps and closes it) from
    // its current position. Throws std::bad_alloc when a stream that cannot
    // seek does not fit in memory.
    explicit RawSource(std::FILE* stream);
    ~RawSource();
    RawSource(const RawSource&) = delete;
    RawSource& operator=(const RawSource&) = delete;

    // Reads up to `size` bytes at the next position into `buffer`; returns
    // how many, fewer only at the end of the page (or of the first pass, or
    // where a read failed).
    std::size_t Read(char* buffer, std::size_t size);

    // Ends the first pass: the next Read starts again at the page's first
    // byte and stops where the first pass stopped. False, with Error() set,
    // when the stream cannot be set back.
    bool Rewind();

    // The errno value of the first read that failed, 0 when none did.
    int Error() const { return error_; }

  private:
    std::size_t ReadStream(char* buffer, std::size_t size);
    void ReadWholeIntoMemory();

    std::FILE* stream_;
    long start_ = 0;          // the stream's position when the parse began
    bool in_memory_ = false;  // the stream could not seek: its bytes are in memory_
    char* memory_ = nullptr;
    std::uint64_t at_ = 0;              // bytes read in this pass
    std::uint64_t limit_ = UINT64_MAX;  // second pass: what the first pass read
    int error_ = 0;
};

}  // namespace htmlparse

#endif
