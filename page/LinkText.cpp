#include "page/LinkText.h"

#include <string_view>

#include "text/utf8.h"

namespace {

// Decodes the UTF-8 character at `text[*at]` and moves `*at` past it; an
// invalid sequence yields U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view text, std::size_t* at) {
    char32_t code_point = 0;
    const std::size_t length = utf8::Decode(text.substr(*at), code_point);
    *at += length != 0 ? length : 1;
    return length != 0 ? code_point : utf8::kReplacement;
}

}  // namespace

std::string AttributeSafeLink(const std::string& link) {
    std::string safe;
    safe.reserve(link.size());
    for (const char c : link) {
        if (const char* text = LinkByteText(c)) {
            safe += text;
        } else {
            safe += c;
        }
    }
    return safe;
}

std::string AsciiWithReferences(const std::string& text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = NextCodePoint(text, &at);
        if (code < 0x80) {
            ascii += static_cast<char>(code);
        } else {
            ascii += "&#" + std::to_string(code) + ";";
        }
    }
    return ascii;
}
