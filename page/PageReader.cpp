#include "page/PageReader.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "page/NewPageWriter.h"
#include "page/SectionCheck.h"

block* g_pRoot = nullptr;
block* g_pBody = nullptr;
block* g_pSectionParent = nullptr;
block* g_pSectionPrev = nullptr;
block* g_pSectionNext = nullptr;
int g_bNoSection = 0;
PageForm g_pageForm;
std::vector<std::string> g_unreadContent;

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
        if (IsSection(node)) return node;
        if (node->first_child != nullptr) {
            node = node->first_child;
            continue;
        }
        while (node->next_sib == nullptr && node->parent != top) node = node->parent;
        node = node->next_sib;
    }
    return nullptr;
}

// Inside BODY at any depth (pages wrap their content in MAIN or DIV), or
// after "</body>" or "</html>", content a browser still shows in BODY.
block* FindSection(block* body) {
    block* section = FindSectionFrom(body->first_child);
    if (section == nullptr) section = FindSectionFrom(body->next_sib);
    if (section == nullptr && body->parent != nullptr) {
        section = FindSectionFrom(body->parent->next_sib);
    }
    return section;
}

namespace {

block* PreviousSibling(const block* node) {
    block* prev = nullptr;
    for (block* child = node->parent->first_child; child != node; child = child->next_sib) {
        prev = child;
    }
    return prev;
}

// Hands every item in `created` that can be reached from `head` over to the
// list; the rest are destroyed with `created`.
void KeepReachable(const CTavrelItem* head, std::vector<std::unique_ptr<CTavrelItem>>* created) {
    std::unordered_set<const CTavrelItem*> kept;
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        kept.insert(item);
    }
    for (std::unique_ptr<CTavrelItem>& item : *created) {
        if (kept.count(item.get()) != 0) (void)item.release();
    }
}

// An attribute value as the browser reads it: references decoded.
std::string DecodedValue(const char* value) {
    if (value == nullptr) return {};
    const std::unique_ptr<char, decltype(&std::free)> decoded(HTMLDecodeAttribute(value),
                                                              &std::free);
    if (decoded == nullptr) throw std::bad_alloc();
    return decoded.get();
}

}  // namespace

void ClearSplicePoints() {
    g_pRoot = g_pBody = g_pSectionParent = g_pSectionPrev = g_pSectionNext = nullptr;
    g_bNoSection = 0;
    g_pageForm = PageForm{};
    g_unreadContent.clear();
}

void ReleasePageTree() {
    HTMLFreeTree(g_pRoot);
    ClearSplicePoints();
}

block* FindBody(block* root) {
    for (block* html = root->first_child; html != nullptr; html = html->next_sib) {
        if (html->tag != HTML_HTML) continue;
        for (block* child = html->first_child; child != nullptr; child = child->next_sib) {
            if (child->tag == HTML_BODY) return child;
        }
    }
    return nullptr;
}

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

CTavrelItem* ReadSection(const block* dl) {
    // Every item made is owned here until the list is known, so that running
    // out of memory half-way releases them all.
    std::vector<std::unique_ptr<CTavrelItem>> created;
    CTavrelItem* head = nullptr;
    CTavrelItem* current = nullptr;
    CTavrelItem* defined = nullptr;
    for (const block* child = dl->first_child; child != nullptr; child = child->next_sib) {
        if (child->tag == HTML_DT) {
            auto item = std::make_unique<CTavrelItem>();
            current = item.get();
            created.push_back(std::move(item));
            if (head == nullptr) {
                head = current;
            } else if (defined != nullptr) {
                defined->SetNext(current);
            }
            ReadTerm(current, child);
        } else if (child->tag == HTML_DD) {
            if (current == nullptr) {
                head = nullptr;
                break;
            }
            defined = current;
            ReadDefinition(current, child);
        }
    }
    KeepReachable(head, &created);
    return head;
}

CTavrelItem* ReadPage(FILE* stream) {
    HTMLParseBegin();
    HTMLParseDo(stream);
    block* root = HTMLParseEnd();
    HTMLPageInfo info;
    HTMLGetPageInfo(&info);
    return ReadTree(root, PageFormOf(info));
}

CTavrelItem* ReadTree(block* root, const PageForm& form) {
    block* body = FindBody(root);
    if (body == nullptr) {
        HTMLFreeTree(root);
        return nullptr;
    }

    CTavrelItem* items = nullptr;
    block* parent = body;
    block* prev = nullptr;
    block* next = nullptr;
    block* section = FindSection(body);
    if (section != nullptr) {
        g_unreadContent = CheckSection(section);
        parent = section->parent;
        prev = PreviousSibling(section);
        items = ReadSection(section);
        next = section->next_sib;
        HTMLFreeTree(section);
        if (prev != nullptr) {
            prev->next_sib = nullptr;
        } else {
            parent->first_child = nullptr;
        }
    } else {
        for (block* child = body->first_child; child != nullptr; child = child->next_sib) {
            prev = child;
        }
        g_bNoSection = 1;
    }

    g_pSectionParent = parent;
    g_pSectionPrev = prev;
    g_pBody = body;
    g_pRoot = root;
    g_pSectionNext = next;
    g_pageForm = form;
    return items;
}
