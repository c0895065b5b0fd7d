#include "ParseHelpers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/ByteStream.h"

namespace parsetest {

Tree ParseTree(std::string_view bytes) {
    const ByteStream stream(bytes);
    HTMLParseBegin();
    HTMLParseDo(stream.get());
    return Tree(HTMLParseEnd(), HTMLFreeTree);
}

namespace {

std::string Flags(const block* node) {
    std::string flags;
    if (node->flags & BF_BREAK_AFTER_START) flags += "/s";
    if (node->flags & BF_BREAK_AFTER_END) flags += "/e";
    if (node->flags & BF_RAW_TEXT) flags += "/r";
    return flags;
}

std::string Attributes(const AttrRec* attr) {
    std::string out;
    for (; attr != nullptr; attr = attr->next) {
        out += (out.empty() ? "" : " ") + std::string(attr->name);
        if (attr->value == nullptr) continue;
        const char* quote = (attr->flags & AF_DOUBLE_QUOTED)   ? "\""
                            : (attr->flags & AF_SINGLE_QUOTED) ? "'"
                                                               : "";
        out += "=" + (quote + std::string(attr->value)) + quote;
    }
    return out.empty() ? out : "[" + out + "]";
}

std::string Describe(const block* node) {
    switch (node->type) {
        case BT_TEXT:
            EXPECT_EQ(node->tag, HTML_TEXT);
            return '"' + std::string(node->text) + '"' + Flags(node);
        case BT_COMMENT:
            return "<!--" + std::string(node->text) + "-->" + Flags(node);
        case BT_DOCTYPE:
            return "<!DOCTYPE " + std::string(node->text) + ">" + Flags(node);
    }
    std::string out = node->tag == HTML_UNKNOWN ? node->text : HTMLElementName(node->tag);
    out += Attributes(node->attrs) + Flags(node);
    if (node->first_child != nullptr) out += '{' + Outline(node) + '}';
    return out;
}

}  // namespace

std::string Outline(const block* parent) {
    std::string out;
    for (const block* node = parent->first_child; node != nullptr; node = node->next_sib) {
        EXPECT_EQ(node->parent, parent) << "wrong parent link at " << out;
        out += (out.empty() ? "" : " ") + Describe(node);
    }
    return out;
}

std::string OutlineOf(std::string_view bytes) {
    Tree root = ParseTree(bytes);
    EXPECT_EQ(root->parent, nullptr);
    return Outline(root.get());
}

void ExpectOutlines(std::initializer_list<std::pair<std::string_view, std::string_view>> cases) {
    for (auto [html, outline] : cases) EXPECT_EQ(OutlineOf(html), outline) << "page: " << html;
}

std::vector<const block*> NodesInOrder(const block* root) {
    std::vector<const block*> nodes;
    // Each node with the parent it must name.
    std::vector<std::pair<const block*, const block*>> pending{{root->first_child, root}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        EXPECT_EQ(node->parent, parent) << "wrong parent link at node " << nodes.size();
        nodes.push_back(node);
        pending.emplace_back(node->next_sib, parent);
        pending.emplace_back(node->first_child, node);
    }
    return nodes;
}

std::size_t CountNodes(const block* root) {
    const std::vector<const block*> nodes = NodesInOrder(root);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const block* node = nodes[i];
        EXPECT_TRUE(node->type >= BT_ELEMENT && node->type <= BT_DOCTYPE) << "node " << i;
        EXPECT_NE(node->text, nullptr) << "node " << i;
        EXPECT_TRUE(node->type != BT_TEXT || node->tag == HTML_TEXT) << "node " << i;
    }
    return nodes.size();
}

}  // namespace parsetest
