#include "utf8.h"

#include <cstring>

namespace htmlparse {

namespace {

// Length of the well-formed sequence starting at `p`, or 0 when it is not one.
std::size_t SequenceLength(const unsigned char* p, const unsigned char* end) {
    unsigned char lead = p[0];
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
    }
    return length;
}

}  // namespace

Utf8Scan ScanUtf8(const unsigned char* data, std::size_t size) {
    Utf8Scan scan{true, true};
    const unsigned char* p = data;
    const unsigned char* end = data + size;
    while (p < end) {
        // Skip ASCII eight bytes at a time: most pages are mostly ASCII.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ull) != 0) break;
            p += 8;
        }
        if (p >= end) break;
        if (*p < 0x80) {
            ++p;
            continue;
        }
        scan.ascii_only = false;
        std::size_t length = SequenceLength(p, end);
        if (length == 0) {
            scan.valid = false;
            return scan;
        }
        p += length;
    }
    return scan;
}

}  // namespace htmlparse
