// UTF-8 helpers: encoding one code point and checking a byte run.
//
// The parser hands all text over in UTF-8; these are the two primitives the
// reference decoder and the encoding detector share.
#ifndef HTMLPARSE_UTF8_H
#define HTMLPARSE_UTF8_H

#include <cstddef>
#include <cstdint>

namespace htmlparse {

// The UTF-8 of U+FFFD REPLACEMENT CHARACTER.
inline constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

// Writes the UTF-8 form of `code_point` (at most 0x10FFFF, surrogates allowed
// through as their 3-byte form) to `out`, which has room for 4 bytes.
// Returns the number of bytes written, 1 to 4.
inline std::size_t EncodeUtf8(std::uint32_t code_point, char* out) {
    if (code_point < 0x80) {
        out[0] = static_cast<char>(code_point);
        return 1;
    }
    if (code_point < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code_point >> 6));
        out[1] = static_cast<char>(0x80 | (code_point & 0x3F));
        return 2;
    }
    if (code_point < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code_point >> 12));
        out[1] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code_point & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code_point >> 18));
    out[1] = static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code_point & 0x3F));
    return 4;
}

// Result of scanning a byte run for UTF-8 validity.
struct Utf8Scan {
    bool valid;       // well-formed UTF-8: no overlongs, surrogates or values past U+10FFFF
    bool ascii_only;  // every byte is below 0x80
};

// Scans `size` bytes at `data`.
Utf8Scan ScanUtf8(const unsigned char* data, std::size_t size);

}  // namespace htmlparse

#endif
