// Fact counter: what a page's bytes say about it as they go by, piece by
// piece: whether every byte is ASCII, and how its lines end (counted and
// weighed by text/line_ends.h; by code unit in a UTF-16 page). Counted on
// the first pass over a page whose encoding is sniffed, on the second (the
// parse) for any other.
#ifndef HTMLPARSE_FACT_COUNTER_H
#define HTMLPARSE_FACT_COUNTER_H

#include <cstddef>

#include "text/line_ends.h"

namespace htmlparse {

struct PageFacts;

class FactCounter {
  public:
    // `utf16_big_endian`: the page is UTF-16 in that byte order, its line
    // ends are counted by code unit; null: its line ends are bytes.
    explicit FactCounter(const bool* utf16_big_endian);

    // Counts the next `size` bytes of the page; `text` false for bytes
    // before its text (a byte-order mark), which count for ASCII only.
    void Bytes(const char* data, std::size_t size, bool text = true);

    // Sets the ASCII and line-end facts of `facts` for the bytes counted.
    void Finish(PageFacts& facts);

  private:
    void Utf16Bytes(const char* data, std::size_t size);

    bool utf16_ = false;
    bool big_endian_ = false;
    bool ascii_only_ = true;
    lineends::Counter line_ends_;
    unsigned first_byte_ = 0;  // UTF-16: the first byte of a unit cut short
    bool has_first_byte_ = false;
};

}  // namespace htmlparse

#endif
