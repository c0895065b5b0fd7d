#include "page/LinkText.h"

#include <cstdint>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Decodes the UTF-8 character at `text[*at]` and moves `*at` past it; an
// invalid sequence yields kReplacement and moves one byte.
uint32_t NextCodePoint(const std::string& text, std::size_t* at, bool* valid) {
    const auto lead = static_cast<unsigned char>(text[*at]);
    int length = 0;
    uint32_t value = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        length = 1, value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    }
    bool ok = length > 0 && *at + length <= text.size();
    for (int i = 1; ok && i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[*at + i]);
        ok = (next & 0xC0) == 0x80;
        value = (value << 6) | (next & 0x3F);
    }
    ok = ok && value >= minimum && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    *valid = ok;
    *at += ok ? length : 1;
    return ok ? value : kReplacement;
}

}  // namespace

std::string AttributeSafeLink(const std::string& link) {
    std::string safe;
    safe.reserve(link.size());
    for (char c : link) {
        if (c == '"') {
            safe += "%22";
        } else if (c == '&') {
            safe += "&amp;";
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string EscapeMarkup(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '&') {
            escaped += "&amp;";
        } else if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string AsciiWithReferences(const std::string& text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        bool valid = true;
        const uint32_t code = NextCodePoint(text, &at, &valid);
        if (code < 0x80) {
            ascii += static_cast<char>(code);
        } else {
            ascii += "&#" + std::to_string(code) + ";";
        }
    }
    return ascii;
}

bool IsValidUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        bool valid = true;
        NextCodePoint(text, &at, &valid);
        if (!valid) return false;
    }
    return true;
}
