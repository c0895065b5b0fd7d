// Source offsets: where a position of the page's parse text stood in the
// page's bytes as read.
//
// The tokenizer reads a prepared copy of the page (text_decoder.h): a
// byte-order mark taken off, the text transcoded to UTF-8, CRLF read as LF
// and NUL as a four-byte stand-in. Each of these can make the copy longer or
// shorter than the bytes it came from. An OffsetMap records the places where
// the two stop advancing together: from an anchor's output offset on, output
// and input advance byte for byte until the next anchor. Anchors are added
// only where the difference between the two changes, so a window of a UTF-8
// page with LF line ends keeps one, and every lookup is a single addition.
//
// Positions asked for are token boundaries, which always fall between whole
// characters, so a position inside a multi-byte character never needs an
// answer.
#ifndef HTMLPARSE_SOURCE_OFFSETS_H
#define HTMLPARSE_SOURCE_OFFSETS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace htmlparse {

class OffsetMap {
  public:
    // Records that output offset `output` stands for input offset `input`,
    // and so on byte for byte after it. Offsets are added in increasing
    // order. Throws std::bad_alloc.
    void Add(std::uint64_t output, std::uint64_t input) {
        const std::int64_t shift = static_cast<std::int64_t>(input - output);
        if (shift == shift_at_end_) return;
        anchors_.push_back({output, shift});
        shift_at_end_ = shift;
        run_begin_ = 1;  // the run found last may end here now
        run_end_ = 0;
    }

    // The input offset of output offset `output`. Lookups that go forward
    // are cheap: the map remembers where the last one ended.
    std::uint64_t InputOf(std::uint64_t output) const {
        if (output >= run_begin_ && output < run_end_) {
            return static_cast<std::uint64_t>(static_cast<std::int64_t>(output) + run_shift_);
        }
        return Search(output);
    }

    // The map of the output from `start` on, its offsets counted from
    // `start`: for a window that begins with the end of another. Throws
    // std::bad_alloc.
    OffsetMap Tail(std::uint64_t start) const;

  private:
    std::uint64_t Search(std::uint64_t output) const;

    struct Anchor {
        std::uint64_t output;
        std::int64_t shift;  // input minus output from here on
    };
    std::vector<Anchor> anchors_;
    std::int64_t shift_at_end_ = 0;
    mutable std::size_t cursor_ = 0;  // the anchor the last lookup used, plus one
    // The run of outputs between two anchors that the last lookup fell in,
    // and its shift: most lookups fall in the same run as the one before.
    mutable std::uint64_t run_begin_ = 1;
    mutable std::uint64_t run_end_ = 0;
    mutable std::int64_t run_shift_ = 0;
};

}  // namespace htmlparse

#endif
