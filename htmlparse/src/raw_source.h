// Raw source: the bytes of a page from a stdio stream, read in pieces.
//
// A page whose encoding its start declares (or a byte-order mark gives) is
// read once: the piece read to find that out is handed back (PutBack) and
// read again first. A page whose encoding is sniffed is read twice, once to
// learn its facts (input_facts.h) and once more to be parsed, so that neither
// pass holds it whole: a stream that can seek is set back to the position it
// had when the parse began; the bytes of one that cannot (a pipe) are kept in
// memory as the first pass reads them. The second pass reads no further than
// the first did, so both see the same bytes: a read error ends the page for
// both, where it happened.
#ifndef HTMLPARSE_RAW_SOURCE_H
#define HTMLPARSE_RAW_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace htmlparse {

class RawSource {
  public:
    // Reads `stream` (open for reading; the caller keeps and closes it) from
    // its current position.
    explicit RawSource(std::FILE* stream);
    RawSource(const RawSource&) = delete;
    RawSource& operator=(const RawSource&) = delete;

    // Reads up to `size` bytes at the next position into `buffer`; returns
    // how many, fewer only at the end of the page (or of the first pass, or
    // where a read failed). Throws std::bad_alloc when the bytes of a stream
    // that cannot seek do not fit in memory.
    std::size_t Read(char* buffer, std::size_t size);

    // Ends the first pass after all it read was the `size` bytes at `data`:
    // they are read again first, then the rest of the page. Throws
    // std::bad_alloc.
    void PutBack(const char* data, std::size_t size);

    // Ends the first pass: the next Read starts again at the page's first
    // byte and stops where the first pass stopped. False, with Error() set,
    // when the stream cannot be set back.
    bool Rewind();

    // The errno value of the first read that failed, 0 when none did.
    int Error() const { return error_; }

  private:
    std::size_t ReadStream(char* buffer, std::size_t size);
    static std::size_t Serve(const std::string& bytes, std::uint64_t from, char* buffer,
                             std::size_t size);

    std::FILE* stream_;
    long start_ = 0;                    // the stream's position when the parse began
    bool seekable_ = false;             // else the first pass keeps what it reads in `kept_`
    bool replaying_ = false;            // the second pass of a stream that cannot seek
    std::string kept_;                  // bytes read again: put back, or kept for the second pass
    std::uint64_t at_ = 0;              // bytes read in this pass
    std::uint64_t limit_ = UINT64_MAX;  // second pass: what the first pass read
    std::uint64_t put_back_ = 0;        // bytes of `kept_` put back, still to be read
    int error_ = 0;
};

}  // namespace htmlparse

#endif
