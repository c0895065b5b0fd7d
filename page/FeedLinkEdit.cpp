#include "page/FeedLinkEdit.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "page/LinkText.h"
#include "page/PageHead.h"

namespace {

bool IsNamed(const block* node, std::string_view name) {
    return node->type == BT_ELEMENT && _ElementToName(node->tag) == name;
}

char* HeapCopy(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// The element code the parser gives LINK.
int LinkCode() {
    for (int code = 0; code < 1024; ++code) {
        if (std::string_view(_ElementToName(code)) == "LINK") return code;
    }
    return HTML_UNKNOWN;
}

AttrRec* NewAttribute(const char* name, const std::string& value, AttrRec* next) {
    auto* attr = static_cast<AttrRec*>(std::calloc(1, sizeof(AttrRec)));
    if (attr == nullptr) throw std::bad_alloc();
    attr->name = HeapCopy(name);
    attr->value = HeapCopy(value);
    attr->flags = AF_DOUBLE_QUOTED;
    attr->attr = std::strcmp(name, "href") == 0 ? HTML_ATTR_HREF : -1;
    attr->next = next;
    return attr;
}

// Every element before BODY, in document order, as ReadPageHead walks them.
std::vector<block*> NodesBeforeBody(block* root) {
    std::vector<block*> nodes;
    std::vector<block*> pending{root->first_child};
    while (!pending.empty()) {
        block* node = pending.back();
        pending.pop_back();
        if (node == nullptr || IsNamed(node, "BODY")) continue;
        nodes.push_back(node);
        pending.push_back(node->next_sib);
        pending.push_back(node->first_child);
    }
    return nodes;
}

void Unlink(block* root, block* node) {
    block** link = &(node->parent != nullptr ? node->parent : root)->first_child;
    while (*link != node) link = &(*link)->next_sib;
    *link = node->next_sib;
    node->next_sib = nullptr;
}

}  // namespace

bool AddFeedLink(block* root, const std::string& href) {
    block* head = nullptr;
    for (block* node : NodesBeforeBody(root)) {
        if (IsNamed(node, "HEAD")) {
            head = node;
            break;
        }
    }
    if (head == nullptr) return false;
    auto* link = static_cast<block*>(std::calloc(1, sizeof(block)));
    if (link == nullptr) throw std::bad_alloc();
    link->type = BT_ELEMENT;
    link->tag = LinkCode();
    link->text = HeapCopy("link");
    link->flags = BF_BREAK_AFTER_START;
    link->parent = head;
    link->attrs =
        NewAttribute("rel", "alternate",
                     NewAttribute("type", "application/atom+xml",
                                  NewAttribute("href", AttributeSafeLink(href), nullptr)));
    block** last = &head->first_child;
    while (*last != nullptr) last = &(*last)->next_sib;
    *last = link;
    return true;
}

int RemoveFeedLinks(block* root) {
    std::vector<block*> links;
    for (block* node : NodesBeforeBody(root)) {
        if (IsFeedLinkNode(node)) links.push_back(node);
    }
    // Last first, so a link inside another is removed before its container.
    for (auto link = links.rbegin(); link != links.rend(); ++link) {
        Unlink(root, *link);
        HTMLFreeTree(*link);
    }
    return static_cast<int>(links.size());
}
