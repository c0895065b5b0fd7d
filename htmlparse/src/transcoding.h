// Transcoding: a page's bytes in its own encoding to the UTF-8 the tokenizer
// reads, decoded as browsers decode them.
//
// windows-1252 goes by table (its five undefined bytes 0x81, 0x8D, 0x8F, 0x90
// and 0x9D become the C1 controls of the same value, as in browsers); UTF-16
// by its own decoder (an unpaired surrogate is one U+FFFD, nothing after it
// shifts); every other charset by the charset decoder (text/charset.h). A
// byte the encoding cannot decode becomes its byte stand-in
// (HTML_BYTE_STAND_IN_BASE plus the byte).
#ifndef HTMLPARSE_TRANSCODING_H
#define HTMLPARSE_TRANSCODING_H

#include <cstddef>

#include "source_offsets.h"

namespace htmlparse {

// The Unicode code point of a windows-1252 byte; the five bytes the encoding
// leaves undefined map to the C1 control of the same value.
char32_t Windows1252CodePoint(unsigned char byte);

// Each of these converts `size` bytes at `data` to a new malloc'd UTF-8 block
// with room for a NUL after its `*out_size` bytes, records in `offsets` where
// each character of the output came from, and throws std::bad_alloc when
// memory runs out.

char* TranscodeWindows1252(const char* data, std::size_t size, std::size_t* out_size,
                           OffsetMap* offsets);

// UTF-16 in the given byte order; a lone last byte becomes U+FFFD.
char* TranscodeUtf16(const char* data, std::size_t size, bool big_endian, std::size_t* out_size,
                     OffsetMap* offsets);

// From the charset named `encoding` (text/charset.h), one character at a
// time so that each one's source is known; null when there is no such
// charset.
char* TranscodeCharset(const char* encoding, const char* data, std::size_t size,
                       std::size_t* out_size, OffsetMap* offsets);

}  // namespace htmlparse

#endif
