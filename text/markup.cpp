#include "text/markup.h"

std::string EscapeMarkup(std::string_view text, QuoteRule quotes) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += quotes == QuoteRule::kEscapeQuotes ? "&quot;" : "\"";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}
