#include "page/PageHead.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

bool IsNamed(const block* node, std::string_view name) {
    return node->type == BT_ELEMENT && HTMLElementName(node->tag) == name;
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

}  // namespace

void HeadReader::Visit(const block* node) {
    if (IsNamed(node, "TITLE") && !m_titleSeen) {
        m_head.title = TitleText(node);
        m_titleSeen = true;
    } else if (IsFeedLinkNode(node)) {
        if (!m_head.linksFeed) {
            m_head.feedHref = Decoded(HTMLGetAttr(node, "href"));
            m_head.linksFeed = true;
        }
        HTMLSourceSpan span{};
        if (HTMLGetSourceSpan(node, &span) != 0) m_feedLinks.push_back({span.begin, span.end});
    }
}

void HeadReader::Read(const block* node) {
    std::vector<const block*> pending{node};
    while (!pending.empty()) {
        const block* each = pending.back();
        pending.pop_back();
        if (each == nullptr || IsNamed(each, "BODY")) continue;
        Visit(each);
        if (each != node) pending.push_back(each->next_sib);
        pending.push_back(each->first_child);
    }
}
