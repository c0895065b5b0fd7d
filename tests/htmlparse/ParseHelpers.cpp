#include "ParseHelpers.h"

#include <cstdio>
#include <vector>

namespace parsetest {

ParsedPage::ParsedPage(std::string_view bytes) {
    std::FILE* stream = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::rewind(stream);
    HTMLParseBegin();
    HTMLParseDo(stream);
    root_ = HTMLParseEnd();
    HTMLGetPageInfo(&info_);
    std::fclose(stream);
}

ParsedPage::~ParsedPage() { HTMLFreeTree(root_); }

std::string ParsedPage::outline() const { return Outline(root_->first_child); }

namespace {

std::string Flags(const block* node) {
    std::string flags;
    if (node->flags & BF_BREAK_AFTER_START) flags += "/s";
    if (node->flags & BF_BREAK_AFTER_END) flags += "/e";
    return flags;
}

void Describe(const block* node, std::string& out) {
    switch (node->type) {
        case BT_TEXT:
            out += '"' + std::string(node->text) + '"';
            return;
        case BT_COMMENT:
            out += "<!--" + std::string(node->text) + "-->" + Flags(node);
            return;
        case BT_DOCTYPE:
            out += "<!DOCTYPE " + std::string(node->text) + ">" + Flags(node);
            return;
        default:
            break;
    }
    out += node->tag == HTML_UNKNOWN ? std::string(node->text) : _ElementToName(node->tag);
    out += Flags(node);
    if (node->first_child != nullptr) {
        out += '{';
        out += Outline(node->first_child);
        out += '}';
    }
}

}  // namespace

std::string Outline(const block* node) {
    std::string out;
    for (; node != nullptr; node = node->next_sib) {
        if (!out.empty()) out += ' ';
        Describe(node, out);
    }
    return out;
}

block* Child(const block* node, int index) {
    block* child = node->first_child;
    while (child != nullptr && index-- > 0) child = child->next_sib;
    return child;
}

block* FindFirst(const block* node, int code) {
    std::vector<block*> pending{node->first_child};  // preorder: child before sibling
    while (!pending.empty()) {
        block* current = pending.back();
        pending.pop_back();
        if (current == nullptr) continue;
        if (current->type == BT_ELEMENT && current->tag == code) return current;
        pending.push_back(current->next_sib);
        pending.push_back(current->first_child);
    }
    return nullptr;
}

}  // namespace parsetest
