// Page encoding: finding it and producing the UTF-8 text the tokenizer reads.
//
// The encoding is found as browsers find it: a byte-order mark; else a
// <meta> declaration with a label browsers know (meta_prescan.h,
// encoding_labels.h); else UTF-8 when the bytes are valid UTF-8; else
// windows-1252. A page in another encoding is transcoded to a UTF-8 copy
// (transcoding.h); a UTF-8 page is never transcoded. Afterwards every line end
// is LF and NUL bytes are stand-ins (line_ends.h), so the tokenizer can use C
// strings throughout.
#ifndef HTMLPARSE_ENCODING_H
#define HTMLPARSE_ENCODING_H

#include <cstddef>

#include "encoding_labels.h"
#include "htmlparse.h"
#include "meta_prescan.h"
#include "source_offsets.h"
#include "transcoding.h"

namespace htmlparse {

// What was found out about a page while preparing its text.
struct PageFacts {
    char encoding[48] = "UTF-8";  // charset name of the page's encoding (text/charset.h)
    int encoding_source = HTML_ENCODING_SNIFFED;
    bool has_bom = false;
    bool crlf = false;       // most line ends were CRLF
    bool cr = false;         // most line ends were a lone CR
    bool ascii_only = true;  // every byte of the page was below 0x80
};

// The page as the tokenizer reads it.
struct PageText {
    char* buffer = nullptr;  // malloc'd block to release (text may start inside it)
    char* text = nullptr;    // UTF-8, LF line ends, no NUL bytes; text[size] == '\0'
    std::size_t size = 0;
    PageFacts facts;
    SourceOffsets offsets;  // where each position of `text` stood in the page's bytes
};

// Turns the raw bytes of a page into its parse text. `raw` is a malloc'd block
// of `size` bytes with room for one byte more; ownership passes to the result
// (which may return it or a replacement; a replaced block is freed). Throws
// std::bad_alloc when memory runs out, after freeing what it owns.
PageText PreparePageText(char* raw, std::size_t size);

}  // namespace htmlparse

#endif
