#include "text/markup.h"

std::string EscapeMarkup(std::string_view text, QuoteRule quotes) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (const char* reference = MarkupReference(c, quotes)) {
            escaped += reference;
        } else {
            escaped += c;
        }
    }
    return escaped;
}
