// UTF-8 for the whole program: encoding a code point, decoding and checking
// byte runs, and cutting text without splitting a character. The parser, the
// page writers, the registry reader and the dialogs all use these.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// U+FFFD REPLACEMENT CHARACTER, and its UTF-8.
inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr char kReplacementBytes[] = "\xEF\xBF\xBD";

// Writes the UTF-8 of `code_point` (at most 0x10FFFF; a surrogate is let
// through as its 3-byte form) to `out`, which has room for 4 bytes. Returns
// the number of bytes written, 1 to 4.
inline std::size_t Encode(char32_t code_point, char* out) {
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

// Appends the UTF-8 of `code_point` to `out`, as Encode writes it.
void Append(std::string& out, char32_t code_point);

// Decodes the character at the start of `bytes`: returns its length (1 to 4)
// and sets `code_point`. Returns 0, leaving `code_point` unspecified, when
// `bytes` is empty or does not start with a well-formed sequence (an overlong
// form, a surrogate, a value past U+10FFFF, a stray or missing continuation
// byte, or a sequence cut short).
std::size_t Decode(std::string_view bytes, char32_t& code_point);

// True when `bytes` is the beginning of a well-formed sequence that is cut
// short: more bytes could still make it a character.
bool IsIncomplete(std::string_view bytes);

// What a scan of a byte run found.
struct Scan {
    bool valid;       // well-formed UTF-8 throughout
    bool ascii_only;  // every byte is below 0x80
};

// Scans `bytes`; fast over runs of ASCII.
Scan ScanBytes(std::string_view bytes);

// True when `bytes` is well-formed UTF-8.
inline bool IsValid(std::string_view bytes) { return ScanBytes(bytes).valid; }

// The longest start of `text` of at most `max_bytes` bytes that does not end
// inside a character.
std::string Prefix(const std::string& text, std::size_t max_bytes);

}  // namespace utf8
