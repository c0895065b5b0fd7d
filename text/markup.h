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

// `text` with "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;" (and '"'
// as "&quot;" by `quotes`); every other byte stays as it is.
std::string EscapeMarkup(std::string_view text, QuoteRule quotes = QuoteRule::kKeepQuotes);
