#include "feed/XmlText.h"

#include <string_view>

#include "htmlparse.h"
#include "text/markup.h"
#include "text/utf8.h"

namespace {

bool IsXmlChar(char32_t c) {
    if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    if (c >= HTML_BYTE_STAND_IN_BASE) return false;  // the parser's stand-ins for undecodable bytes
    return c <= 0x10FFFF;
}

// Decodes the character at `*pos` and moves past it; an invalid sequence is
// one byte long and decodes to U+FFFD.
char32_t NextChar(std::string_view text, std::size_t* pos) {
    char32_t c = 0;
    const std::size_t length = utf8::Decode(text.substr(*pos), c);
    *pos += length != 0 ? length : 1;
    return length != 0 ? c : utf8::kReplacement;
}

}  // namespace

// XML keeps its own rule for which characters a document may hold; the
// escaping is the markup escaper's, with quotes, as every value is written
// in double quotes.
std::string XmlText(const std::string& text) {
    std::string allowed;
    allowed.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextChar(text, &pos);
        if (IsXmlChar(c)) utf8::Append(allowed, c);
    }
    return EscapeMarkup(allowed, QuoteRule::kEscapeQuotes);
}
