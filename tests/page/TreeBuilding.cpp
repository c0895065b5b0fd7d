#include "TreeBuilding.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "page/TreeSerializer.h"

namespace {

constexpr int kMaxCode = 512;

char* Copy(const std::string& text) {
    char* copy = static_cast<char*>(std::calloc(text.size() + 1, 1));
    std::memcpy(copy, text.data(), text.size());
    return copy;
}

block* NewBlock(int type, int tag, const std::string& text) {
    auto* node = static_cast<block*>(std::calloc(1, sizeof(block)));
    node->type = type;
    node->tag = tag;
    node->text = Copy(text);
    return node;
}

}  // namespace

int CodeOf(const std::string& name) {
    for (int code = 0; code < kMaxCode; ++code) {
        if (code == HTML_UNKNOWN || code == HTML_TEXT) continue;
        if (strcasecmp(_ElementToName(code), name.c_str()) == 0) return code;
    }
    ADD_FAILURE() << "no element code for " << name;
    return HTML_UNKNOWN;
}

std::string NameOf(int code) { return _ElementToName(code); }

void Append(block* parent, std::initializer_list<block*> children) {
    block* last = parent->first_child;
    while (last != nullptr && last->next_sib != nullptr) last = last->next_sib;
    for (block* child : children) {
        child->parent = parent;
        if (last == nullptr) {
            parent->first_child = child;
        } else {
            last->next_sib = child;
        }
        last = child;
    }
}

block* Element(int code, std::initializer_list<block*> children, unsigned flags) {
    block* node = NewBlock(BT_ELEMENT, code, NameOf(code));
    node->flags = flags;
    Append(node, children);
    return node;
}

block* Element(const std::string& name, std::initializer_list<block*> children, unsigned flags) {
    return Element(CodeOf(name), children, flags);
}

block* Text(const std::string& text) { return NewBlock(BT_TEXT, HTML_TEXT, text); }

block* Comment(const std::string& body, unsigned flags) {
    block* node = NewBlock(BT_COMMENT, 0, body);
    node->flags = flags;
    return node;
}

block* Doctype(const std::string& text) { return NewBlock(BT_DOCTYPE, 0, text); }

block* UnknownElement(const std::string& name, std::initializer_list<block*> children) {
    block* node = NewBlock(BT_ELEMENT, HTML_UNKNOWN, "<" + name);
    Append(node, children);
    return node;
}

void AddAttr(block* element, int code, const std::string& name, const char* value,
             unsigned flags) {
    auto* attr = static_cast<AttrRec*>(std::calloc(1, sizeof(AttrRec)));
    attr->attr = code;
    attr->name = Copy(name);
    attr->value = value != nullptr ? Copy(value) : nullptr;
    attr->flags = flags;
    AttrRec** link = &element->attrs;
    while (*link != nullptr) link = &(*link)->next;
    *link = attr;
}

block* Page(std::initializer_list<block*> body, block** body_out) {
    block* bodyElement = Element(HTML_BODY, body, BF_BREAK_AFTER_START | BF_BREAK_AFTER_END);
    block* html = Element(HTML_HTML, {Element("HEAD"), bodyElement}, BF_BREAK_AFTER_START);
    auto* root = static_cast<block*>(std::calloc(1, sizeof(block)));
    Append(root, {html});
    if (body_out != nullptr) *body_out = bodyElement;
    return root;
}

std::string Dump(block* top, int level) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    dump_tree(stream, top, level);
    std::fclose(stream);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}
