#include "text_feed.h"

#include <algorithm>
#include <cstring>

namespace htmlparse {

namespace {

// Room for what the decoder leaves of a piece: a character cut short and
// the bytes it looked past it.
constexpr std::size_t kHeldRoom = 64;

}  // namespace

TextFeed::TextFeed(RawSource& source, const InputPlan& plan, WindowSet& windows,
                   std::size_t read_size)
    : source_(source),
      decoder_(plan),
      windows_(windows),
      read_size_(read_size),
      raw_capacity_(read_size + kHeldRoom) {
    // A UTF-8 page is read straight into its windows; others through a
    // buffer of raw bytes.
    if (!decoder_.TakesBytesAsTheyAre()) raw_.reset(new char[raw_capacity_]);
    if (!plan.facts_counted) {
        const bool big_endian = std::strcmp(plan.facts.encoding, "UTF-16BE") == 0;
        const bool utf16 = std::strncmp(plan.facts.encoding, "UTF-16", 6) == 0;
        counter_.emplace(utf16 ? &big_endian : nullptr);
    }
    char mark[4];  // the byte-order mark, at most three bytes
    const std::size_t got = source_.Read(mark, plan.text_start);
    if (counter_) counter_->Bytes(mark, got, false);
}

void TextFeed::FinishFacts(PageFacts& facts) {
    if (counter_) counter_->Finish(facts);
}

// A UTF-8 page is read straight into the window.
void TextFeed::ReadPieceInPlace(TextWindow& window) {
    const std::size_t got = source_.Read(window.Reserve(read_size_), read_size_);
    if (counter_) counter_->Bytes(window.text + window.size, got);
    decoder_.DecodeInPlace(got, window);
    exhausted_ = got < read_size_;
}

TextWindow* TextFeed::Next(const TextWindow* from, std::size_t carry) {
    const std::size_t carried = from != nullptr ? from->size - carry : 0;
    const std::size_t fresh = std::max(read_size_, carried);
    TextWindow* window = windows_.Add(carried + fresh + fresh / 2);
    if (from != nullptr) {
        window->Append(from->text + carry, carried);
        window->map = from->map.Tail(carry);
        window->text_offset = from->text_offset + carry;
    }
    while (!exhausted_ && window->size - carried < fresh) ReadPiece(*window);
    window->text[window->size] = '\0';
    return window;
}

// A short read is the end of the page: the decoder then takes every byte.
void TextFeed::ReadPiece(TextWindow& window) {
    if (decoder_.TakesBytesAsTheyAre()) {
        ReadPieceInPlace(window);
        return;
    }
    const std::size_t wanted = raw_capacity_ - held_;
    const std::size_t got = source_.Read(raw_.get() + held_, wanted);
    if (counter_) counter_->Bytes(raw_.get() + held_, got);
    const bool final = got < wanted;
    const std::size_t total = held_ + got;
    const std::size_t used = decoder_.Decode(raw_.get(), total, final, window);
    held_ = total - used;
    std::memmove(raw_.get(), raw_.get() + used, held_);
    exhausted_ = final;
}

}  // namespace htmlparse
