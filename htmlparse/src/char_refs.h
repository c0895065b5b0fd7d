// Character references: decoding "&name;", "&#123;" and "&#x7B;" in text.
//
// Named references follow the HTML5 table (generated into named_refs.inc),
// including the legacy names that browsers accept without a ";". Numeric
// references are decimal or hexadecimal with an optional ";"; 128 to 159 map
// through windows-1252, and zero, surrogates and values past U+10FFFF become
// U+FFFD. A "&" that starts no reference, and every byte outside references,
// passes through unchanged.
#ifndef HTMLPARSE_CHAR_REFS_H
#define HTMLPARSE_CHAR_REFS_H

#include <cstddef>

#include "arena.h"

namespace htmlparse {

// A decoded, NUL-terminated text.
struct DecodedText {
    char* text;
    std::size_t length;
};

// Decodes the references in [begin, end). The byte at `end` must be writable:
// the result is written in place and terminated at or before `end`, unless a
// reference's UTF-8 is longer than its source and overtakes the unread bytes;
// then the result is built in `arena`. Throws std::bad_alloc from the arena.
DecodedText DecodeReferences(char* begin, char* end, Arena& arena);

// Decodes the one reference that starts at `source` (which points at "&"),
// reading no further than `end`. Writes its UTF-8 (at most 8 bytes) to `out`
// and the number of source bytes it spans to `consumed`. Returns the number
// of bytes written, or 0 when no reference starts there.
std::size_t DecodeOneReference(const char* source, const char* end, char* out,
                               std::size_t* consumed);

}  // namespace htmlparse

#endif
