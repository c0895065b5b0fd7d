#include "page/PageReader.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "page/NewPageWriter.h"
#include "page/SectionCheck.h"

namespace {

const block* FirstChildWithCode(const block* node, int code) {
    for (const block* child = node->first_child; child != nullptr; child = child->next_sib) {
        if (child->tag == code) return child;
    }
    return nullptr;
}

// The text of the first TEXT child of `node`, or null when it has none.
const char* FirstText(const block* node) {
    const block* text = FirstChildWithCode(node, HTML_TEXT);
    if (text == nullptr) return nullptr;
    return text->text != nullptr ? text->text : "";
}

bool IsBlankText(const block* node) {
    if (node->type != BT_TEXT || node->text == nullptr) return false;
    return node->text[std::strspn(node->text, " \t\n\r\f")] == '\0';
}

}  // namespace

// After white space: an indented page.
bool IsSection(const block* node) {
    if (node->tag != HTML_DL) return false;
    const block* first = node->first_child;
    while (first != nullptr && IsBlankText(first)) first = first->next_sib;
    if (first == nullptr || first->type != BT_COMMENT || first->text == nullptr) return false;
    return std::strncmp(first->text, kMarkerBody, kMarkerPrefixLength) == 0;
}

// Walks down and along the tree by its links, climbing back by `parent`,
// so that nothing is allocated for the nodes still to visit.
block* FindSectionFrom(block* from) {
    const block* top = from != nullptr ? from->parent : nullptr;
    for (block* node = from; node != nullptr;) {
        if (node->tag == HTML_DL && IsSection(node)) return node;
        if (node->first_child != nullptr) {
            node = node->first_child;
            continue;
        }
        while (node->next_sib == nullptr && node->parent != top) node = node->parent;
        node = node->next_sib;
    }
    return nullptr;
}

namespace {

// Destroys every item in `created` that cannot be reached from `head`. The
// list from `head` holds only created items, each once, so when it is as
// long as `created` every item is reached: the common case, checked without
// building a set.
void DiscardUnreachable(const CTavrelItem* head, const std::vector<CTavrelItem*>& created) {
    size_t reached = 0;
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) ++reached;
    if (reached == created.size()) return;
    std::unordered_set<const CTavrelItem*> kept;
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        kept.insert(item);
    }
    for (CTavrelItem* item : created) {
        if (kept.count(item) == 0) delete item;
    }
}

// An attribute value as the browser reads it: references decoded. A value
// without "&" holds none and is taken as it is.
std::string DecodedValue(const char* value) {
    if (value == nullptr) return {};
    if (std::strchr(value, '&') == nullptr) return value;
    const std::unique_ptr<char, decltype(&std::free)> decoded(HTMLDecodeAttribute(value),
                                                              &std::free);
    if (decoded == nullptr) throw std::bad_alloc();
    return decoded.get();
}

}  // namespace

void ReadStrongText(CTavrelItem* item, const block* strong, StrongField field) {
    const char* text = FirstText(strong);
    if (text == nullptr) return;
    if (field == StrongField::kDate) {
        item->SetDate(text);
    } else {
        item->SetTitle(text);
    }
}

void ReadAnchor(CTavrelItem* item, const block* anchor) {
    for (const AttrRec* attr = anchor->attrs; attr != nullptr; attr = attr->next) {
        if (attr->attr == HTML_ATTR_HREF) {
            item->SetHyperlink(DecodedValue(attr->value));
            break;
        }
    }
    const block* strong = FirstChildWithCode(anchor, HTML_STRONG);
    if (strong != nullptr) ReadStrongText(item, strong, StrongField::kTitle);
}

void ReadTerm(CTavrelItem* item, const block* dt) {
    bool dateRead = false;
    for (const block* child = dt->first_child; child != nullptr; child = child->next_sib) {
        if (child->tag == HTML_A) {
            ReadAnchor(item, child);
        } else if (child->tag == HTML_STRONG && !dateRead) {
            ReadStrongText(item, child, StrongField::kDate);
            dateRead = true;
        }
    }
}

void ReadDefinition(CTavrelItem* item, const block* dd) {
    const char* text = FirstText(dd);
    if (text != nullptr) item->SetDescription(text);
}

SectionReader::~SectionReader() {
    for (CTavrelItem* item : m_created) delete item;
}

void SectionReader::Child(const block* child) {
    if (m_emptied) return;
    if (child->tag == HTML_DT) {
        auto made = std::make_unique<CTavrelItem>();
        m_created.push_back(made.get());
        CTavrelItem* item = made.release();
        if (m_head == nullptr) {
            m_head = item;
        } else if (m_defined != nullptr) {
            m_defined->SetNext(item);
        }
        m_current = item;
        ReadTerm(item, child);
    } else if (child->tag == HTML_DD) {
        if (m_current == nullptr) {
            m_head = nullptr;
            m_emptied = true;
            return;
        }
        m_defined = m_current;
        ReadDefinition(m_current, child);
    }
}

CTavrelItem* SectionReader::Finish() {
    DiscardUnreachable(m_head, m_created);
    m_created.clear();
    CTavrelItem* head = m_head;
    m_head = m_current = m_defined = nullptr;
    return head;
}

CTavrelItem* ReadSection(const block* dl) {
    SectionReader reader;
    for (const block* child = dl->first_child; child != nullptr; child = child->next_sib) {
        reader.Child(child);
    }
    return reader.Finish();
}
