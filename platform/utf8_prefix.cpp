#include "platform/utf8_prefix.h"

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string Utf8Prefix(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Back up over the continuation bytes of a character that the cut would split.
    while (end > 0 && IsContinuationByte(text[end])) --end;
    return text.substr(0, end);
}
