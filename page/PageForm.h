// The form in which a page is written back: its own encoding, byte-order mark
// and line ends, so that rewriting a page changes nothing a browser decodes
// differently.
//
// The tree holds UTF-8 text and the serializer writes UTF-8 with line feeds.
// WriteInPageForm puts a converting stream between the two: every line end
// (LF, a lone CR or CRLF, all one line break to a browser) is written as the
// page's own, CRLF, CR or LF, the UTF-8 is converted to the page's encoding,
// a byte stand-in (HTML_BYTE_STAND_IN_BASE plus a byte) is written as the byte
// it stands for (a NUL as the encoding's NUL character), a C1 control that
// stands for one of the five bytes windows-1252 leaves undefined is written
// as that byte, and any other character the encoding cannot hold is written
// as a numeric character reference ("&#8364;"). A page that declared no encoding and was
// plain ASCII stays plain ASCII, every other character becoming a reference,
// because a browser would have to guess the encoding of anything else.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "htmlparse.h"

struct PageForm {
    std::string encoding = "UTF-8";  // iconv name of the page's encoding
    bool asciiOnly = false;          // write only ASCII; all else as references
    bool crlf = false;               // lines end in CRLF
    bool bom = false;                // the page starts with a byte-order mark
    bool cr = false;                 // lines end in a lone CR (when not crlf)
};

// The form of the page that `info` describes (as the parser reports it).
PageForm PageFormOf(const HTMLPageInfo& info);

class PageEncoder;

// A stream that takes UTF-8 text with line feeds and puts it into `out` in
// `form` (after the byte-order mark, when the page had one).
class PageFormStream {
  public:
    PageFormStream(FILE* out, const PageForm& form);
    ~PageFormStream();  // closes the stream if Close was not called
    PageFormStream(const PageFormStream&) = delete;
    PageFormStream& operator=(const PageFormStream&) = delete;

    // The stream to write to; null when the encoding is unknown or the
    // stream could not be made.
    FILE* Stream() const { return m_stream; }

    // Closes the stream. True only when there was one and every byte
    // written to it reached `out`.
    bool Close();

  private:
    FILE* m_out;
    std::unique_ptr<PageEncoder> m_encoder;
    FILE* m_stream = nullptr;
    bool m_ok = true;
};

// Calls `write` with a stream that takes UTF-8 text with line feeds and puts
// it into `out` in `form`. True only when the encoding is known, `write`
// returned true and every byte reached `out`. Invalid UTF-8 is written as
// "&#65533;". The stream handed to `write` is valid only during the call.
bool WriteInPageForm(FILE* out, const PageForm& form, const std::function<bool(FILE*)>& write);
