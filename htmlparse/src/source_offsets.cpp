#include "source_offsets.h"

#include <algorithm>

namespace htmlparse {

std::uint64_t OffsetMap::Search(std::uint64_t output) const {
    std::size_t next = cursor_;
    if (next > 0 && anchors_[next - 1].output > output) {
        // Backwards: search from the start.
        next = static_cast<std::size_t>(
            std::upper_bound(
                anchors_.begin(), anchors_.end(), output,
                [](std::uint64_t value, const Anchor& anchor) { return value < anchor.output; }) -
            anchors_.begin());
    } else {
        while (next < anchors_.size() && anchors_[next].output <= output) ++next;
    }
    cursor_ = next;
    run_begin_ = next == 0 ? 0 : anchors_[next - 1].output;
    run_end_ = next < anchors_.size() ? anchors_[next].output : UINT64_MAX;
    run_shift_ = next == 0 ? 0 : anchors_[next - 1].shift;
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(output) + run_shift_);
}

OffsetMap OffsetMap::Tail(std::uint64_t start) const {
    OffsetMap tail;
    tail.Add(0, InputOf(start));
    for (const Anchor& anchor : anchors_) {
        if (anchor.output <= start) continue;
        tail.Add(
            anchor.output - start,
            static_cast<std::uint64_t>(static_cast<std::int64_t>(anchor.output) + anchor.shift));
    }
    return tail;
}

}  // namespace htmlparse
