// Text feed: a page's parse text, window after window (text_window.h).
//
// The feed reads the page's bytes in pieces (raw_source.h; a UTF-8 page
// straight into the window), decodes them (text_decoder.h) and fills a new
// window each time the tokenizer asks for one. A window begins with the end
// of the one before it that the tokenizer has not used up, the token it was
// cut in; then come at least as many new bytes as that, and at least the
// read size, so a token longer than a window is read in windows that double
// in size, and the whole page is read in time linear in its size. Where the first pass did
// not count the page's facts (input_facts.h), the feed counts them as it
// reads.
#ifndef HTMLPARSE_TEXT_FEED_H
#define HTMLPARSE_TEXT_FEED_H

#include <cstddef>
#include <memory>
#include <optional>

#include "fact_counter.h"
#include "input_facts.h"
#include "raw_source.h"
#include "text_decoder.h"
#include "text_window.h"

namespace htmlparse {

class TextFeed {
  public:
    // Reads the page from `source`, rewound after its first pass, as `plan`
    // says, about `read_size` bytes of it at a time; windows come from
    // `windows`. Throws std::bad_alloc.
    TextFeed(RawSource& source, const InputPlan& plan, WindowSet& windows, std::size_t read_size);

    // A new window: the text of `from` from position `carry` on (none when
    // `from` is null), then more of the page, up to its end. Throws
    // std::bad_alloc.
    TextWindow* Next(const TextWindow* from, std::size_t carry);

    // Whether the whole page has been handed out.
    bool Exhausted() const { return exhausted_; }

    // Sets the facts of `facts` the first pass did not count, for the bytes
    // read so far.
    void FinishFacts(PageFacts& facts);

  private:
    void ReadPiece(TextWindow& window);
    void ReadPieceInPlace(TextWindow& window);

    RawSource& source_;
    TextDecoder decoder_;
    std::optional<FactCounter> counter_;  // when the first pass did not count
    WindowSet& windows_;
    std::size_t read_size_;
    std::size_t raw_capacity_;
    std::unique_ptr<char[]> raw_;
    std::size_t held_ = 0;  // bytes at the front of raw_ the decoder left for the next piece
    bool exhausted_ = false;
};

}  // namespace htmlparse

#endif
