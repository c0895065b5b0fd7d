#include "line_ends.h"

#include <algorithm>
#include <cstring>

#include "htmlparse.h"
#include "text/utf8.h"

namespace htmlparse {

namespace {

struct LineEndCount {
    std::size_t lf = 0;  // LF not after CR
    std::size_t crlf = 0;
    std::size_t cr = 0;  // CR not before LF
    std::size_t nul = 0;
};

LineEndCount CountLineEnds(const char* text, std::size_t size) {
    LineEndCount count;
    for (std::size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '\n') {
            ++count.lf;
        } else if (c == '\r') {
            if (i + 1 < size && text[i + 1] == '\n') {
                ++count.crlf;
                ++i;
            } else {
                ++count.cr;
            }
        } else if (c == '\0') {
            ++count.nul;
        }
    }
    return count;
}

LineEndStyle StyleOf(const LineEndCount& count) {
    if (count.cr > count.lf && count.cr > count.crlf) return LineEndStyle::kCr;
    // A page mostly in CRLF keeps CRLF, as it always did.
    if (count.crlf > 0 && count.crlf >= count.lf + count.cr) return LineEndStyle::kCrLf;
    return LineEndStyle::kLf;
}

}  // namespace

std::size_t NormalizeLineEnds(MallocBlock& block, char*& text, std::size_t size,
                              LineEndStyle* style, OffsetMap* offsets) {
    // Most pages have neither CR nor NUL: two fast searches settle that.
    if (std::memchr(text, '\r', size) == nullptr && std::memchr(text, '\0', size) == nullptr) {
        *style = LineEndStyle::kLf;
        return size;
    }
    const LineEndCount count = CountLineEnds(text, size);
    *style = StyleOf(count);
    if (count.crlf == 0 && count.cr == 0 && count.nul == 0) return size;
    char stand_in[4];
    const std::size_t stand_in_size = utf8::Encode(HTML_BYTE_STAND_IN_BASE, stand_in);
    char* out = count.nul > 0 ? AllocateOrThrow(size + count.nul * (stand_in_size - 1) + 1) : text;
    char* w = out;
    for (std::size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '\r') {
            *w++ = '\n';
            if (i + 1 < size && text[i + 1] == '\n') {
                ++i;
                offsets->Add(static_cast<std::size_t>(w - out), i + 1);
            }
        } else if (c == '\0') {
            w = std::copy_n(stand_in, stand_in_size, w);
            offsets->Add(static_cast<std::size_t>(w - out), i + 1);
        } else {
            *w++ = c;
        }
    }
    if (out != text) {
        block.reset(out);
        text = out;
    }
    return static_cast<std::size_t>(w - out);
}

}  // namespace htmlparse
