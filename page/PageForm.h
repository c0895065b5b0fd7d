// The form of a page's bytes: its encoding and line ends, and the text the
// program puts into a page (the generated section, a feed link) encoded in
// that form, so that it reads back as the characters it was made of.
//
// Every line end of the text (LF) is written as the page's own: CRLF, CR or
// LF. Text goes into the page's encoding; a character the encoding cannot
// hold is written as a numeric character reference ("&#8364;"), and so is
// every non-ASCII character of a page that declared no encoding and was
// plain ASCII, since a browser would have to guess the encoding of
// anything else. A C1 control that stands for one of the five bytes
// windows-1252 leaves undefined is written as that byte, which a browser
// reads as the same control. Every other character is written as itself:
// code points U+10FF00 to U+10FFFF included, which are characters like any
// other here, never bytes. Invalid UTF-8 is written as U+FFFD.
#pragma once

#include <string>
#include <string_view>

#include "htmlparse.h"
#include "text/line_ends.h"

struct PageForm {
    std::string encoding = "UTF-8";  // name of the page's encoding (text/charset.h)
    bool asciiOnly = false;          // write only ASCII; all else as references
    bool crlf = false;               // lines end in CRLF
    bool cr = false;                 // lines end in a lone CR (when not crlf)
};

// The form of the page that `info` describes (as the parser reports it).
PageForm PageFormOf(const HTMLPageInfo& info);

// Sets the line ends of `form` to the form most common among `counts`, by
// the rule the parser weighs a whole page by (text/line_ends.h).
void SetLineEnds(PageForm* form, const lineends::Counts& counts);

// `text` (UTF-8 with LF line ends) as bytes of a page in `form`. The encoding
// is UTF-8, UTF-16LE or UTF-16BE, a charset (text/charset.h) or an encoding
// label; any other name gets ASCII with references.
std::string EncodeForPage(std::string text, const PageForm& form);
