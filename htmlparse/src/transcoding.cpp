#include "transcoding.h"

#include <cstdint>
#include <cstring>

#include "htmlparse.h"
#include "malloc_block.h"
#include "text/charset.h"
#include "text/utf8.h"

namespace htmlparse {

namespace {

// Code points of the windows-1252 bytes 0x80 to 0x9F.
constexpr char16_t kWindows1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Growable output of a conversion.
class ConversionOutput {
  public:
    explicit ConversionOutput(std::size_t capacity)
        : data_(AllocateOrThrow(capacity)), capacity_(capacity) {}
    ~ConversionOutput() { std::free(data_); }
    ConversionOutput(const ConversionOutput&) = delete;
    ConversionOutput& operator=(const ConversionOutput&) = delete;

    char* cursor() { return data_ + used_; }
    std::size_t room() const { return capacity_ - used_ - 1; }  // one byte kept for the NUL
    void Advance(char* cursor) { used_ = static_cast<std::size_t>(cursor - data_); }
    std::size_t used() const { return used_; }
    void Grow() {
        char* grown = static_cast<char*>(std::realloc(data_, capacity_ * 2));
        if (grown == nullptr) throw std::bad_alloc();
        data_ = grown;
        capacity_ *= 2;
    }
    void Append(const char* bytes, std::size_t length) {
        while (room() < length) Grow();
        std::memcpy(cursor(), bytes, length);
        used_ += length;
    }
    char* Release(std::size_t* size) {
        *size = used_;
        char* data = data_;
        data_ = nullptr;
        return data;
    }

  private:
    char* data_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

void AppendCodePoint(ConversionOutput& out, char32_t code_point) {
    char bytes[4];
    out.Append(bytes, utf8::Encode(code_point, bytes));
}

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kWindows1252C1[byte - 0x80];
    return byte;
}

// Converts windows-1252 to UTF-8 by table.
char* TranscodeWindows1252(const char* data, std::size_t size, std::size_t* out_size,
                           OffsetMap* offsets) {
    std::size_t needed = 0;
    for (std::size_t i = 0; i < size; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        needed += byte < 0x80 ? 1 : Windows1252CodePoint(byte) < 0x800 ? 2 : 3;
    }
    char* out = AllocateOrThrow(needed + 1);
    char* w = out;
    for (std::size_t i = 0; i < size; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            *w++ = static_cast<char>(byte);
        } else {
            w += utf8::Encode(Windows1252CodePoint(byte), w);
            offsets->Add(static_cast<std::size_t>(w - out), i + 1);
        }
    }
    *out_size = static_cast<std::size_t>(w - out);
    return out;
}

char* TranscodeUtf16(const char* data, std::size_t size, bool big_endian, std::size_t* out_size,
                     OffsetMap* offsets) {
    ConversionOutput out(size * 2 + 16);
    auto unit_at = [data, big_endian](std::size_t i) {
        auto first = static_cast<unsigned char>(data[i]);
        auto second = static_cast<unsigned char>(data[i + 1]);
        return static_cast<char32_t>(big_endian ? (first << 8) | second : (second << 8) | first);
    };
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        char32_t unit = unit_at(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < size) {
            char32_t low = unit_at(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                offsets->Add(out.used(), i + 2);
                continue;
            }
        }
        const bool surrogate = unit >= 0xD800 && unit < 0xE000;
        AppendCodePoint(out, surrogate ? 0xFFFD : unit);
        offsets->Add(out.used(), i + 2);
    }
    if (i < size) {
        AppendCodePoint(out, 0xFFFD);
        offsets->Add(out.used(), size);
    }
    return out.Release(out_size);
}

char* TranscodeCharset(const char* encoding, const char* data, std::size_t size,
                       std::size_t* out_size, OffsetMap* offsets) {
    const charset::Charset* found = charset::Find(encoding);
    if (found == nullptr) return nullptr;
    ConversionOutput out(size * 2 + 16);
    charset::Decoder decoder(*found, {data, size});
    charset::Piece piece{};
    while (decoder.Next(piece)) {
        if (piece.undecodable) {
            const auto byte = static_cast<unsigned char>(data[piece.end - 1]);
            AppendCodePoint(out, HTML_BYTE_STAND_IN_BASE + byte);
        }
        for (std::size_t i = 0; i < piece.count; ++i) AppendCodePoint(out, piece.code[i]);
        offsets->Add(out.used(), piece.end);
    }
    return out.Release(out_size);
}

}  // namespace htmlparse
