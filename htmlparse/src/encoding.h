// Page encoding: finding it and producing the UTF-8 text the tokenizer reads.
//
// The encoding is found as browsers find it: a byte-order mark; else a
// <meta charset> or http-equiv Content-Type declaration in the first 1024
// bytes; else UTF-8 when the bytes are valid UTF-8; else windows-1252. A page
// in another encoding is transcoded to a UTF-8 copy (windows-1252 by table,
// keeping its five undefined bytes as the C1 controls of the same value, so
// they can be written back; everything else through iconv). A UTF-8 page is
// never transcoded. Afterwards CRLF becomes LF, as in a text-mode read, and
// NUL bytes become U+FFFD, so the tokenizer can use C strings throughout.
#ifndef HTMLPARSE_ENCODING_H
#define HTMLPARSE_ENCODING_H

#include <cstddef>

#include "htmlparse.h"

namespace htmlparse {

// What was found out about a page while preparing its text.
struct PageFacts {
    char encoding[48] = "UTF-8";  // iconv name of the page's encoding
    int encoding_source = HTML_ENCODING_SNIFFED;
    bool has_bom = false;
    bool crlf = false;       // more line ends were CRLF than bare LF
    bool ascii_only = true;  // every byte of the page was below 0x80
};

// The page as the tokenizer reads it.
struct PageText {
    char* buffer = nullptr;  // malloc'd block to release (text may start inside it)
    char* text = nullptr;    // UTF-8, LF line ends, no NUL bytes; text[size] == '\0'
    std::size_t size = 0;
    PageFacts facts;
};

// Turns the raw bytes of a page into its parse text. `raw` is a malloc'd block
// of `size` bytes with room for one byte more; ownership passes to the result
// (which may return it or a replacement; a replaced block is freed). Throws
// std::bad_alloc when memory runs out, after freeing what it owns.
PageText PreparePageText(char* raw, std::size_t size);

// The encoding a label names, as an iconv name ("UTF-8", "windows-1252", ...),
// following the browsers' label table for the common encodings (ISO-8859-1 and
// US-ASCII read as windows-1252, a declared UTF-16 reads as UTF-8). Labels the
// table does not know are returned upper-cased when iconv accepts them. Returns
// false when the label names no usable encoding. `out` has `capacity` bytes.
bool ResolveEncodingLabel(const char* label, std::size_t length, char* out, std::size_t capacity);

// The Unicode code point of a windows-1252 byte; the five bytes the encoding
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value.
char32_t Windows1252CodePoint(unsigned char byte);

// The encoding declared by a <meta> element in the first 1024 bytes, resolved
// by ResolveEncodingLabel; false when there is none.
bool FindDeclaredEncoding(const char* data, std::size_t size, char* out, std::size_t capacity);

}  // namespace htmlparse

#endif
