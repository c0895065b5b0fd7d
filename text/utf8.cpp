#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace utf8 {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// What a lead byte promises: the sequence's length (0 for a byte that starts
// none) and the range its second byte must lie in, which rules out overlong
// forms, surrogates and values past U+10FFFF.
struct Lead {
    std::size_t length;
    unsigned char low;
    unsigned char high;
};

Lead ReadLead(unsigned char lead) {
    if (lead < 0x80) return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    return {0, 0, 0};
}

// How many bytes at the start of `bytes` (at most `lead.length`) fit the
// sequence `lead` starts.
std::size_t FittingBytes(std::string_view bytes, const Lead& lead) {
    std::size_t fit = 1;
    for (; fit < lead.length && fit < bytes.size(); ++fit) {
        const auto byte = static_cast<unsigned char>(bytes[fit]);
        const bool fits = fit == 1 ? byte >= lead.low && byte <= lead.high : IsContinuation(byte);
        if (!fits) break;
    }
    return fit;
}

}  // namespace

void Append(std::string& out, char32_t code_point) {
    char bytes[4];
    out.append(bytes, Encode(code_point, bytes));
}

std::size_t Decode(std::string_view bytes, char32_t& code_point) {
    if (bytes.empty()) return 0;
    const auto first = static_cast<unsigned char>(bytes[0]);
    const Lead lead = ReadLead(first);
    if (lead.length == 0 || FittingBytes(bytes, lead) != lead.length) return 0;
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    code_point = first & kLeadBits[lead.length];
    for (std::size_t i = 1; i < lead.length; ++i) {
        code_point = (code_point << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    }
    return lead.length;
}

bool IsIncomplete(std::string_view bytes) {
    if (bytes.empty()) return false;
    const Lead lead = ReadLead(static_cast<unsigned char>(bytes[0]));
    return lead.length > bytes.size() && FittingBytes(bytes, lead) == bytes.size();
}

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

std::uint64_t LoadWord(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Where the ASCII run at `at` ends: 32 bytes, then 8, at a time.
std::size_t SkipAscii(std::string_view bytes, std::size_t at) {
    const char* data = bytes.data();
    while (bytes.size() - at >= 32) {
        const std::uint64_t any = LoadWord(data + at) | LoadWord(data + at + 8) |
                                  LoadWord(data + at + 16) | LoadWord(data + at + 24);
        if ((any & kHighBits) != 0) break;
        at += 32;
    }
    while (bytes.size() - at >= 8 && (LoadWord(data + at) & kHighBits) == 0) at += 8;
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) ++at;
    return at;
}

// The length of a two-byte sequence at `at` (most letters of European
// languages), or 0 for anything else.
std::size_t TwoByteSequence(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0xC2 || lead > 0xDF || at + 1 >= bytes.size()) return 0;
    return (static_cast<unsigned char>(bytes[at + 1]) & 0xC0) == 0x80 ? 2 : 0;
}

}  // namespace

Scan ScanBytes(std::string_view bytes) {
    Scan scan{true, true};
    std::size_t at = SkipAscii(bytes, 0);
    while (at < bytes.size()) {
        scan.ascii_only = false;
        std::size_t length = TwoByteSequence(bytes, at);
        if (length == 0) {
            char32_t code_point;
            length = Decode(bytes.substr(at), code_point);
        }
        if (length == 0) {
            scan.valid = false;
            return scan;
        }
        at = SkipAscii(bytes, at + length);
    }
    return scan;
}

std::string Prefix(const std::string& text, std::size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    std::size_t end = max_bytes;
    // Back up over the continuation bytes of a character the cut would split.
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
    return text.substr(0, end);
}

}  // namespace utf8
