// Input facts: what a first pass over a page's bytes finds out before the
// page is parsed, and so how its bytes become the text the tokenizer reads.
//
// The encoding is found as browsers find it: a byte-order mark; else a
// <meta> declaration with a label browsers know in the first 1024 bytes
// (meta_prescan.h, encoding_labels.h); else UTF-8 when the whole page is
// valid UTF-8; else windows-1252. Only that last rule needs the whole page
// before it is parsed: a page with a mark or a declaration is read once, and
// whether every byte is ASCII and how its lines end (fact_counter.h) are
// counted while it is parsed; for a page whose encoding is sniffed, the first
// pass counts them too. The pass reads the page in pieces and keeps none of
// them, so its memory does not grow with the page.
#ifndef HTMLPARSE_INPUT_FACTS_H
#define HTMLPARSE_INPUT_FACTS_H

#include <cstddef>

#include "htmlparse.h"
#include "raw_source.h"
#include "text/line_ends.h"

namespace htmlparse {

// What was found out about a page before it was parsed.
struct PageFacts {
    char encoding[48] = "UTF-8";  // charset name of the page's encoding (text/charset.h)
    int encoding_source = HTML_ENCODING_SNIFFED;
    bool has_bom = false;
    bool crlf = false;           // most line ends were CRLF
    bool cr = false;             // most line ends were a lone CR
    bool ascii_only = true;      // every byte of the page was below 0x80
    lineends::Counts line_ends;  // how many of each form
};

// How the page's bytes become parse text.
struct InputPlan {
    PageFacts facts;
    std::size_t text_start = 0;  // bytes before the text: the byte-order mark
    bool transcode = false;      // decode from `facts.encoding`; else the bytes are UTF-8 already
    bool facts_counted = false;  // ASCII and line ends are in `facts`; else the parse counts them
};

// Plans the parse of `source`, reading it to its end and setting it back
// where the encoding must be sniffed, else reading its first piece and
// putting it back. Throws std::bad_alloc.
InputPlan ScanInput(RawSource& source);

}  // namespace htmlparse

#endif
