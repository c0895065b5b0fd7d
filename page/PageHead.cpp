#include "page/PageHead.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

bool IsNamed(const block* node, std::string_view name) {
    return node->type == BT_ELEMENT && _ElementToName(node->tag) == name;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Decoded(const char* value) {
    if (value == nullptr) return {};
    const std::unique_ptr<char, decltype(&std::free)> copy(HTMLDecodeAttribute(value), &std::free);
    if (copy == nullptr) throw std::bad_alloc();
    return copy.get();
}

bool ListsWord(const std::string& list, const std::string& word) {
    std::istringstream words(Lower(list));
    std::string each;
    while (words >> each) {
        if (each == word) return true;
    }
    return false;
}

}  // namespace

bool IsFeedLinkNode(const block* node) {
    if (!IsNamed(node, "LINK")) return false;
    const std::string rel = Decoded(HTMLGetAttr(node, "rel"));
    const std::string type = Lower(Decoded(HTMLGetAttr(node, "type")));
    return ListsWord(rel, "alternate") && type == "application/atom+xml";
}

namespace {

std::string TitleText(const block* title) {
    std::string text;
    for (const block* child = title->first_child; child != nullptr; child = child->next_sib) {
        if (child->type == BT_TEXT && child->text != nullptr) text += child->text;
    }
    return Decoded(text.c_str());
}

void Visit(const block* node, PageHead* head, bool* titleSeen) {
    if (IsNamed(node, "TITLE") && !*titleSeen) {
        head->title = TitleText(node);
        *titleSeen = true;
    } else if (!head->linksFeed && IsFeedLinkNode(node)) {
        head->feedHref = Decoded(HTMLGetAttr(node, "href"));
        head->linksFeed = true;
    }
}

}  // namespace

PageHead ReadPageHead(const block* root) {
    PageHead head;
    bool titleSeen = false;
    std::vector<const block*> pending;
    if (root != nullptr) pending.push_back(root->first_child);
    while (!pending.empty()) {
        const block* node = pending.back();
        pending.pop_back();
        if (node == nullptr || IsNamed(node, "BODY")) continue;
        Visit(node, &head, &titleSeen);
        pending.push_back(node->next_sib);
        pending.push_back(node->first_child);
    }
    return head;
}
