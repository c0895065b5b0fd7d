#include "fact_counter.h"

#include <cstdint>
#include <cstring>

#include "input_facts.h"

namespace htmlparse {

namespace {

// Eight bytes at a time: a page is mostly ASCII.
bool AllAscii(const char* data, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        any |= word;
    }
    for (; i < size; ++i) any |= static_cast<unsigned char>(data[i]);
    return (any & kHighBits) == 0;
}

// Lines are tens of bytes long: a search per line beats a look at every byte.
std::size_t CountLineFeeds(const char* data, std::size_t size) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < size; ++count) {
        const void* found = std::memchr(data + at, '\n', size - at);
        if (found == nullptr) break;
        at = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
    }
    return count;
}

}  // namespace

FactCounter::FactCounter(const bool* utf16_big_endian) {
    if (utf16_big_endian == nullptr) return;
    utf16_ = true;
    big_endian_ = *utf16_big_endian;
}

void FactCounter::Bytes(const char* data, std::size_t size, bool text) {
    if (ascii_only_) ascii_only_ = AllAscii(data, size);
    if (!text) return;
    if (utf16_) {
        Utf16Bytes(data, size);
    } else {
        LineEndBytes(data, size);
    }
}

void FactCounter::Finish(PageFacts& facts) {
    if (after_cr_) ++cr_;
    after_cr_ = false;
    facts.ascii_only = ascii_only_;
    facts.lf_count = lf_;
    facts.crlf_count = crlf_;
    facts.cr_count = cr_;
    facts.cr = cr_ > lf_ && cr_ > crlf_;
    facts.crlf = !facts.cr && crlf_ > 0 && crlf_ >= lf_ + cr_;
}

void FactCounter::Unit(char32_t unit) {
    if (after_cr_) {
        after_cr_ = false;
        if (unit == '\n') {
            ++crlf_;
            return;
        }
        ++cr_;
    }
    if (unit == '\n') ++lf_;
    if (unit == '\r') after_cr_ = true;
}

// In an ASCII-compatible page CR and LF are bytes.
void FactCounter::LineEndBytes(const char* data, std::size_t size) {
    if (!after_cr_ && std::memchr(data, '\r', size) == nullptr) {
        lf_ += CountLineFeeds(data, size);
        return;
    }
    for (std::size_t i = 0; i < size; ++i) Unit(static_cast<unsigned char>(data[i]));
}

void FactCounter::Utf16Bytes(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (!has_first_byte_) {
            first_byte_ = byte;
            has_first_byte_ = true;
            continue;
        }
        has_first_byte_ = false;
        Unit(big_endian_ ? (first_byte_ << 8) | byte : (byte << 8) | first_byte_);
    }
}

}  // namespace htmlparse
