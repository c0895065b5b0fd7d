#include "text_decoder.h"

#include <cstring>
#include <string>

#include "htmlparse.h"
#include "text/utf8.h"
#include "windows1252.h"

namespace htmlparse {

namespace {

// Bytes a charset decoder looks past a character it hands out: more than
// its longest character, so that one cut short at the end of a piece is
// never taken for an undecodable byte.
constexpr std::size_t kCharsetLookahead = 8;

const char* FindOrEnd(const char* from, const char* end, char c) {
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found == nullptr ? end : static_cast<const char*>(found);
}

}  // namespace

TextDecoder::TextDecoder(const InputPlan& plan) : source_at_(plan.text_start) {
    if (!plan.transcode) return;
    const char* encoding = plan.facts.encoding;
    if (std::strcmp(encoding, "windows-1252") == 0) {
        kind_ = Kind::kWindows1252;
    } else if (std::strncmp(encoding, "UTF-16", 6) == 0) {
        kind_ = Kind::kUtf16;
        big_endian_ = std::strcmp(encoding, "UTF-16BE") == 0;
    } else if ((charset_ = charset::Find(encoding)) != nullptr) {
        kind_ = Kind::kCharset;
    }
}

std::size_t TextDecoder::Decode(const char* data, std::size_t size, bool final,
                                TextWindow& window) {
    // The text so far ends where the bytes decoded so far end.
    window.map.Add(window.size, source_at_);
    std::size_t used = size;
    switch (kind_) {
        case Kind::kUtf8:
            used = DecodeUtf8(data, size, window);
            break;
        case Kind::kWindows1252:
            used = DecodeWindows1252(data, size, window);
            break;
        case Kind::kUtf16:
            used = DecodeUtf16(data, size, final, window);
            break;
        case Kind::kCharset:
            used = DecodeCharset(data, size, final, window);
            break;
    }
    source_at_ += used;
    return used;
}

void TextDecoder::DecodeInPlace(std::size_t size, TextWindow& window) {
    const char* data = window.text + window.size;
    if (!after_cr_ && std::memchr(data, '\r', size) == nullptr &&
        std::memchr(data, '\0', size) == nullptr) {
        window.map.Add(window.size, source_at_);
        window.size += size;
        source_at_ += size;
        return;
    }
    const std::string bytes(data, size);
    Decode(bytes.data(), size, false, window);
}

// Runs without CR or NUL, the whole of most pages, are copied as they are.
std::size_t TextDecoder::DecodeUtf8(const char* data, std::size_t size, TextWindow& window) {
    const char* end = data + size;
    const char* next_cr = FindOrEnd(data, end, '\r');
    const char* next_nul = FindOrEnd(data, end, '\0');
    for (const char* p = data; p < end;) {
        const std::uint64_t source = source_at_ + static_cast<std::uint64_t>(p - data);
        if (after_cr_ && *p == '\n') {
            after_cr_ = false;
            window.map.Add(window.size, source + 1);
            ++p;
            continue;
        }
        after_cr_ = false;
        if (next_cr < p) next_cr = FindOrEnd(p, end, '\r');
        if (next_nul < p) next_nul = FindOrEnd(p, end, '\0');
        const char* special = next_cr < next_nul ? next_cr : next_nul;
        if (special > p) {
            window.map.Add(window.size, source);
            window.Append(p, static_cast<std::size_t>(special - p));
            p = special;
            continue;
        }
        Put(static_cast<unsigned char>(*p), source + 1, window);
        ++p;
    }
    return size;
}

std::size_t TextDecoder::DecodeWindows1252(const char* data, std::size_t size, TextWindow& window) {
    for (std::size_t i = 0; i < size; ++i) {
        Put(Windows1252CodePoint(static_cast<unsigned char>(data[i])), source_at_ + i + 1, window);
    }
    return size;
}

// A surrogate pair cut by the end of the piece waits for the next one; a
// lone last byte of the page is one U+FFFD.
std::size_t TextDecoder::DecodeUtf16(const char* data, std::size_t size, bool final,
                                     TextWindow& window) {
    auto unit_at = [data, this](std::size_t i) {
        auto first = static_cast<unsigned char>(data[i]);
        auto second = static_cast<unsigned char>(data[i + 1]);
        return static_cast<char32_t>(big_endian_ ? (first << 8) | second : (second << 8) | first);
    };
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        const char32_t unit = unit_at(i);
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 3 >= size && !final) break;
            const char32_t low = i + 3 < size ? unit_at(i + 2) : 0;
            if (low >= 0xDC00 && low < 0xE000) {
                Put(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), source_at_ + i + 4, window);
                i += 2;
                continue;
            }
        }
        const bool surrogate = unit >= 0xD800 && unit < 0xE000;
        Put(surrogate ? utf8::kReplacement : unit, source_at_ + i + 2, window);
    }
    if (final && i < size) {
        Put(utf8::kReplacement, source_at_ + size, window);
        i = size;
    }
    return i;
}

std::size_t TextDecoder::DecodeCharset(const char* data, std::size_t size, bool final,
                                       TextWindow& window) {
    charset::Decoder decoder(*charset_, {data, size}, shift_state_);
    charset::Piece piece{};
    std::size_t taken = 0;
    while (decoder.Next(piece)) {
        if (!final && piece.end + kCharsetLookahead > size) break;
        const std::uint64_t source_end = source_at_ + piece.end;
        if (piece.undecodable) {
            const auto byte = static_cast<unsigned char>(data[piece.end - 1]);
            Put(HTML_BYTE_STAND_IN_BASE + byte, source_end, window);
        }
        for (std::size_t i = 0; i < piece.count; ++i) Put(piece.code[i], source_end, window);
        window.map.Add(window.size, source_end);  // an escape sequence gives no text
        taken = piece.end;
        shift_state_ = decoder.ShiftState();
    }
    return final ? size : taken;
}

// One character of the text: CR and CRLF as LF, NUL as its stand-in.
void TextDecoder::Put(char32_t code, std::uint64_t source_end, TextWindow& window) {
    if (after_cr_) {
        after_cr_ = false;
        if (code == '\n') {
            window.map.Add(window.size, source_end);
            return;
        }
    }
    if (code == '\r') {
        code = '\n';
        after_cr_ = true;
    } else if (code == 0) {
        code = HTML_BYTE_STAND_IN_BASE;
    }
    char* out = window.Reserve(4);
    window.size += utf8::Encode(code, out);
    window.map.Add(window.size, source_end);
}

}  // namespace htmlparse
