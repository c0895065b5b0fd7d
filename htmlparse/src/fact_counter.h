// Fact counter: what a page's bytes say about it as they go by, piece by
// piece: whether every byte is ASCII, and how its lines end (the most common
// form; a page mostly in CRLF keeps CRLF). A CRLF cut between two pieces is
// still one line end. Counted on the first pass over a page whose encoding
// is sniffed, on the second (the parse) for any other.
#ifndef HTMLPARSE_FACT_COUNTER_H
#define HTMLPARSE_FACT_COUNTER_H

#include <cstddef>

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
    void Unit(char32_t unit);
    void LineEndBytes(const char* data, std::size_t size);
    void Utf16Bytes(const char* data, std::size_t size);

    bool utf16_ = false;
    bool big_endian_ = false;
    bool ascii_only_ = true;
    std::size_t lf_ = 0;  // LF not after CR
    std::size_t crlf_ = 0;
    std::size_t cr_ = 0;  // CR not before LF
    bool after_cr_ = false;
    unsigned first_byte_ = 0;  // UTF-16: the first byte of a unit cut short
    bool has_first_byte_ = false;
};

}  // namespace htmlparse

#endif
