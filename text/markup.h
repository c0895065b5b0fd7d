// The one escaper of markup text, for HTML and XML alike: what a page's or a
// feed's reader must not take for markup, written as character references.
#pragma once

#include <string>
#include <string_view>

// Which characters EscapeMarkup writes as references besides "&", "<", ">".
enum class QuoteRule {
    kKeepQuotes,    // text, and attributes the caller quotes otherwise
    kEscapeQuotes,  // also '"' as "&quot;", for double-quoted attribute values
};

// The reference EscapeMarkup writes for the byte `c` ("&amp;", "&lt;",
// "&gt;", and "&quot;" by `quotes`), or null for a byte it keeps as it is.
// Inline: builders of long text ask it for every byte.
inline const char* MarkupReference(char c, QuoteRule quotes = QuoteRule::kKeepQuotes) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return quotes == QuoteRule::kEscapeQuotes ? "&quot;" : nullptr;
        default:
            return nullptr;
    }
}

// `text` with "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;" (and '"'
// as "&quot;" by `quotes`); every other byte stays as it is.
std::string EscapeMarkup(std::string_view text, QuoteRule quotes = QuoteRule::kKeepQuotes);
