#include "text/line_ends.h"

#include <cstring>

namespace lineends {

namespace {

// Lines are tens of bytes long: a search per line beats a look at every byte.
std::uint64_t CountLineFeeds(const char* data, std::size_t size) {
    std::uint64_t count = 0;
    for (std::size_t at = 0; at < size; ++count) {
        const void* found = std::memchr(data + at, '\n', size - at);
        if (found == nullptr) break;
        at = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
    }
    return count;
}

}  // namespace

Form MostCommon(const Counts& counts) {
    if (counts.cr > counts.lf && counts.cr > counts.crlf) return Form::kCr;
    if (counts.crlf > 0 && counts.crlf >= counts.lf + counts.cr) return Form::kCrLf;
    return Form::kLf;
}

void Counter::Unit(char32_t unit) {
    if (after_cr_) {
        after_cr_ = false;
        if (unit == '\n') {
            ++counts_.crlf;
            return;
        }
        ++counts_.cr;
    }
    if (unit == '\n') ++counts_.lf;
    if (unit == '\r') after_cr_ = true;
}

void Counter::Bytes(const char* data, std::size_t size) {
    if (!after_cr_ && std::memchr(data, '\r', size) == nullptr) {
        counts_.lf += CountLineFeeds(data, size);
        return;
    }
    for (std::size_t i = 0; i < size; ++i) Unit(static_cast<unsigned char>(data[i]));
}

Counts Counter::Finish() const {
    Counts counts = counts_;
    if (after_cr_) ++counts.cr;
    return counts;
}

}  // namespace lineends
