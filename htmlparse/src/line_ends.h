// Line ends and NUL bytes: the last step in preparing a page's text.
//
// Browsers read CRLF and a lone CR as one line feed; the tokenizer does too,
// as it only ever sees LF. NUL bytes, which the tokenizer's C strings cannot
// hold, become the byte stand-in for 0x00 (HTML_BYTE_STAND_IN_BASE).
#ifndef HTMLPARSE_LINE_ENDS_H
#define HTMLPARSE_LINE_ENDS_H

#include <cstddef>

#include "malloc_block.h"
#include "source_offsets.h"

namespace htmlparse {

// How the page's lines end, by the most common form.
enum class LineEndStyle { kLf, kCrLf, kCr };

// Rewrites the `size` bytes at `text` (inside `block`) with CRLF and lone CR as
// LF and NUL as its stand-in. Returns the new size; `block` and `text` are
// replaced by a larger block when NUL bytes need room. Sets `style`, and
// records in `offsets` where the rewritten text's bytes came from. Throws
// std::bad_alloc.
std::size_t NormalizeLineEnds(MallocBlock& block, char*& text, std::size_t size,
                              LineEndStyle* style, OffsetMap* offsets);

}  // namespace htmlparse

#endif
