// Stand-in for the parser library while it is being written: names, attribute
// lookup and release over hand-built trees; parsing yields an empty root.
#include <strings.h>

#include <cstdlib>

#include "htmlparse.h"

namespace {

const char* const kNames[] = {
    "A",     "ABBR",   "ADDRESS", "B",       "BLOCKQUOTE", "BODY",  "BR",     "CENTER",
    "DIV",   "DD",     "EM",      "DL",      "DT",         "FORM",  "H1",     "HEAD",
    "H2",    "H3",     "I",       "IMG",     "INPUT",      "LINK",  "HR",     "HTML",
    "META",  "OL",     "UL",      "SPAN",    "TABLE",      "LI",    "TD",     "TR",
    "SCRIPT", "STYLE", "TEXTAREA", "FONT",   "P",          "PRE",   "SELECT", "OPTION",
    "STRONG", "SMALL", "TITLE",   "U",       "CODE",       "INS",   "UNKNOWN", "#text"};

}  // namespace

extern "C" {

void HTMLParseBegin(void) {}
void HTMLParseDo(FILE*) {}
block* HTMLParseEnd(void) { return static_cast<block*>(std::calloc(1, sizeof(block))); }

// Frees one record and its own strings; its children must be gone or moved.
static void FreeRecord(block* node) {
    for (AttrRec* attr = node->attrs; attr != nullptr;) {
        AttrRec* next = attr->next;
        std::free(attr->name);
        std::free(attr->value);
        std::free(attr);
        attr = next;
    }
    std::free(node->text);
    std::free(node);
}

void HTMLFreeTree(block* node) {
    if (node == nullptr) return;
    // Children are spliced in place of their parent, so no stack is needed.
    block* pending = node;
    pending->next_sib = nullptr;
    while (pending != nullptr) {
        block* current = pending;
        pending = current->next_sib;
        if (current->first_child != nullptr) {
            block* last = current->first_child;
            while (last->next_sib != nullptr) last = last->next_sib;
            last->next_sib = pending;
            pending = current->first_child;
        }
        FreeRecord(current);
    }
}

const char* HTMLGetAttr(const block* node, const char* name) {
    for (const AttrRec* attr = node->attrs; attr != nullptr; attr = attr->next) {
        if (attr->name != nullptr && strcasecmp(attr->name, name) == 0) {
            return attr->value != nullptr ? attr->value : "";
        }
    }
    return nullptr;
}

const char* _ElementToName(int code) {
    if (code < 0 || code >= static_cast<int>(sizeof kNames / sizeof kNames[0])) return "";
    return kNames[code];
}

void HTMLGetPageInfo(HTMLPageInfo* info) {
    *info = HTMLPageInfo{"UTF-8", HTML_ENCODING_SNIFFED, 0, 0, 1};
}
}
