#include "page/ElementRules.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/ascii.h"

namespace {

enum : uint8_t {
    kKnown = 1,
    kVoid = 2,
    kClosesParagraph = 4,
    kKeepsParagraphOpen = 8,  // its end does not end a paragraph inside it
};

constexpr std::string_view kVoidNames[] = {
    "AREA",  "BASE",  "BASEFONT", "BGSOUND", "BR",   "COL",  "EMBED", "FRAME",  "HR",    "IMG",
    "IMAGE", "INPUT", "ISINDEX",  "KEYGEN",  "LINK", "META", "PARAM", "SOURCE", "TRACK", "WBR"};
constexpr std::string_view kParagraphClosers[] = {
    "ADDRESS",  "ARTICLE",    "ASIDE",  "BLOCKQUOTE", "DETAILS", "DIALOG", "DIV",  "DL",
    "FIELDSET", "FIGCAPTION", "FIGURE", "FOOTER",     "FORM",    "H1",     "H2",   "H3",
    "H4",       "H5",         "H6",     "HEADER",     "HGROUP",  "HR",     "MAIN", "MENU",
    "NAV",      "OL",         "P",      "PRE",        "SECTION", "TABLE",  "UL"};
constexpr std::string_view kParagraphKeepers[] = {"A",   "AUDIO",    "DEL",  "INS",
                                                  "MAP", "NOSCRIPT", "VIDEO"};

template <size_t N>
bool Contains(const std::string_view (&names)[N], std::string_view name) {
    for (std::string_view candidate : names) {
        if (candidate == name) return true;
    }
    return false;
}

uint8_t ClassifyName(std::string_view name) {
    uint8_t traits = kKnown;
    if (Contains(kVoidNames, name)) traits |= kVoid;
    if (Contains(kParagraphClosers, name)) traits |= kClosesParagraph;
    if (Contains(kParagraphKeepers, name)) traits |= kKeepsParagraphOpen;
    return traits;
}

uint8_t Traits(const block* node) {
    if (node->type != BT_ELEMENT) return kKnown;
    // An element the library has no code for: a custom element, which
    // HTML treats like a keeper of open paragraphs.
    if (node->tag == HTML_UNKNOWN) return kKnown | kKeepsParagraphOpen;
    static std::vector<uint8_t> cache;
    if (node->tag < 0) return kKnown;
    const auto code = static_cast<size_t>(node->tag);
    if (code >= cache.size()) cache.resize(code + 1, 0);
    if (cache[code] == 0) {
        cache[code] = ClassifyName(ElementName(node));
        if (code == HTML_BR || code == HTML_HR) cache[code] |= kVoid;
    }
    return cache[code];
}

bool IsWhiteSpaceText(const block* node) {
    if (node->type != BT_TEXT) return false;
    for (const char* c = node->text; c != nullptr && *c != '\0'; ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r' && *c != '\f') return false;
    }
    return true;
}

}  // namespace

std::string ElementName(const block* node) {
    if (node->type != BT_ELEMENT) return {};
    std::string name;
    if (node->tag == HTML_UNKNOWN) {
        const char* text = node->text != nullptr ? node->text : "";
        if (*text == '<') ++text;
        name = text;
    } else {
        name = _ElementToName(node->tag);
    }
    return ascii::Uppercase(name);
}

bool IsVoidElement(const block* node) { return (Traits(node) & kVoid) != 0; }

bool MayOmitEndTag(const block* node, const block* parent) {
    if (node->type != BT_ELEMENT) return false;
    const bool paragraph = node->tag == HTML_P;
    if (!paragraph && node->tag != HTML_LI) return false;
    const block* next = node->next_sib;
    if (next != nullptr && next->type == BT_ELEMENT) {
        return paragraph ? (Traits(next) & kClosesParagraph) != 0 : next->tag == node->tag;
    }
    while (next != nullptr && IsWhiteSpaceText(next)) next = next->next_sib;
    if (next != nullptr) return false;
    return !paragraph || parent == nullptr || (Traits(parent) & kKeepsParagraphOpen) == 0;
}
