// Text decoder: a page's bytes, piece by piece, as the parse text the
// tokenizer reads.
//
// The text is UTF-8: a page in another encoding is decoded as browsers
// decode it (windows-1252 by table, its five undefined bytes as the C1
// controls of the same value; UTF-16 by its own rule, an unpaired surrogate
// as one U+FFFD; every other charset by the charset decoder, text/charset.h),
// and a byte the encoding cannot decode becomes its byte stand-in
// (HTML_BYTE_STAND_IN_BASE plus the byte). A UTF-8 page is taken as it is.
// Every line end is LF, as browsers read CRLF and a lone CR, and a NUL byte is
// the stand-in for 0x00, so that the tokenizer can use C strings. The window
// the text goes into records where it came from in the page's bytes.
//
// The pieces may be cut anywhere: a character cut short at the end of one is
// left for the next, and a CRLF cut between two is still one line end.
#ifndef HTMLPARSE_TEXT_DECODER_H
#define HTMLPARSE_TEXT_DECODER_H

#include <cstddef>
#include <cstdint>

#include "input_facts.h"
#include "text/charset.h"
#include "text_window.h"

namespace htmlparse {

class TextDecoder {
  public:
    // Decodes a page planned as `plan` says, from its first byte after the
    // byte-order mark on.
    explicit TextDecoder(const InputPlan& plan);

    // Appends the text of the `size` bytes at `data`, which follow those
    // decoded before, to `window`. `final`: no bytes follow them. Returns
    // how many bytes were decoded; the rest, the start of a character cut
    // short, must be given again at the front of the next piece. Throws
    // std::bad_alloc.
    std::size_t Decode(const char* data, std::size_t size, bool final, TextWindow& window);

    // Whether the page's bytes are its text, but for CR and NUL (UTF-8).
    bool TakesBytesAsTheyAre() const { return kind_ == Kind::kUtf8; }
    // For such a page: decodes the `size` bytes read straight into `window`
    // after its text, so that most of them need not be copied at all.
    // Throws std::bad_alloc.
    void DecodeInPlace(std::size_t size, TextWindow& window);

  private:
    enum class Kind { kUtf8, kWindows1252, kUtf16, kCharset };

    std::size_t DecodeUtf8(const char* data, std::size_t size, TextWindow& window);
    std::size_t DecodeWindows1252(const char* data, std::size_t size, TextWindow& window);
    std::size_t DecodeUtf16(const char* data, std::size_t size, bool final, TextWindow& window);
    std::size_t DecodeCharset(const char* data, std::size_t size, bool final, TextWindow& window);
    void Put(char32_t code, std::uint64_t source_end, TextWindow& window);

    Kind kind_ = Kind::kUtf8;
    bool big_endian_ = false;
    const charset::Charset* charset_ = nullptr;
    unsigned shift_state_ = 0;  // the charset decoder's, between pieces
    std::uint64_t source_at_;   // the page offset of the next byte to decode
    bool after_cr_ = false;     // the last character was a CR: an LF now is its line end
};

}  // namespace htmlparse

#endif
