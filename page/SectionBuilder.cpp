#include "page/SectionBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "model/ItemList.h"
#include "page/LinkText.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/TreeSerializer.h"
#include "platform/file_replace.h"

namespace {

// A heap copy of `text` in a buffer of at least `room` bytes, freed by the
// library with the tree.
char* CopyString(const std::string& text, size_t room) {
    const size_t size = std::max(room, text.size() + 1);
    auto* copy = static_cast<char*>(std::calloc(size, 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

constexpr size_t kNameRoom = 32;
constexpr size_t kMarkerRoom = 64;
constexpr size_t kLinkRoom = 256;
constexpr size_t kTextRoom = 1024;

block* NewBlock(int type, int tag) {
    auto* node = static_cast<block*>(std::calloc(1, sizeof(block)));
    if (node == nullptr) throw std::bad_alloc();
    node->type = type;
    node->tag = tag;
    return node;
}

block* NewElement(int tag, const char* name, uint32_t flags) {
    block* node = NewBlock(BT_ELEMENT, tag);
    node->text = CopyString(name, kNameRoom);
    node->flags = flags;
    return node;
}

// Links `children` under `parent` in order.
void Adopt(block* parent, std::initializer_list<block*> children) {
    block* last = nullptr;
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

block* LastOf(block* first) {
    while (first->next_sib != nullptr) first = first->next_sib;
    return first;
}

// Puts `first` (the new section, or null for none) where the old section
// stood, followed by the content that followed the old section.
void Splice(block* first) {
    block* parent = g_pSectionParent != nullptr ? g_pSectionParent : g_pBody;
    block* chain = first != nullptr ? first : g_pSectionNext;
    if (first != nullptr) {
        for (block* node = first; node != nullptr; node = node->next_sib) node->parent = parent;
        LastOf(first)->next_sib = g_pSectionNext;
    }
    if (g_pSectionPrev != nullptr) {
        g_pSectionPrev->next_sib = chain;
    } else {
        parent->first_child = chain;
    }
}

}  // namespace

block* BuildText(const std::string& text) {
    block* node = NewBlock(BT_TEXT, HTML_TEXT);
    node->text = CopyString(text, kTextRoom);
    return node;
}

block* BuildHeading(const std::string& text) {
    block* heading = NewElement(HTML_H2, "h2", BF_BREAK_AFTER_END);
    Adopt(heading, {BuildText(text)});
    return heading;
}

block* BuildStrong(const std::string& text) {
    block* strong = NewElement(HTML_STRONG, "strong", BF_BREAK_AFTER_END);
    Adopt(strong, {BuildText(text)});
    return strong;
}

block* BuildBreak() { return NewElement(HTML_BR, "br", BF_BREAK_AFTER_START); }

block* BuildParagraph() { return NewElement(HTML_P, "p", BF_BREAK_AFTER_END); }

block* BuildAnchor(const std::string& hyperlink, const std::string& title) {
    block* anchor = NewElement(HTML_A, "a", BF_BREAK_AFTER_END);
    auto* href = static_cast<AttrRec*>(std::calloc(1, sizeof(AttrRec)));
    if (href == nullptr) throw std::bad_alloc();
    href->attr = HTML_ATTR_HREF;
    href->name = CopyString("href", kNameRoom);
    href->value = CopyString(AttributeSafeLink(hyperlink), kLinkRoom);
    href->flags = AF_DOUBLE_QUOTED;
    anchor->attrs = href;
    Adopt(anchor, {BuildStrong(title)});
    return anchor;
}

block* BuildTerm(const CTavrelItem& item) {
    block* term = NewElement(HTML_DT, "dt", BF_BREAK_AFTER_END);
    Adopt(term, {BuildStrong(item.GetDate()), BuildBreak(),
                 BuildAnchor(item.GetHyperlink(), item.GetTitle())});
    return term;
}

block* BuildDefinition(const CTavrelItem& item) {
    block* definition = NewElement(HTML_DD, "dd", BF_BREAK_AFTER_END);
    Adopt(definition, {BuildText(item.GetDescription()), BuildBreak(), BuildParagraph()});
    return definition;
}

block* BuildMarker() {
    block* marker = NewBlock(BT_COMMENT, HTML_UNKNOWN);
    marker->text = CopyString(kMarkerBody, kMarkerRoom);
    marker->flags = BF_BREAK_AFTER_START | BF_BREAK_AFTER_END;
    return marker;
}

block* BuildSection(const CTavrelItem* head) {
    block* list = NewElement(HTML_DL, "dl", BF_BREAK_AFTER_START | BF_BREAK_AFTER_END);
    block* last = BuildMarker();
    Adopt(list, {last});
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        block* term = BuildTerm(*item);
        block* definition = BuildDefinition(*item);
        term->parent = definition->parent = list;
        last->next_sib = term;
        term->next_sib = definition;
        last = definition;
    }
    if (!g_bNoSection) return list;
    block* heading = BuildHeading(kSectionHeading);
    heading->next_sib = list;
    return heading;
}

namespace {

// Writes the spliced tree in the page's form and releases it. The tree is one
// whole again once spliced, so it is released on every way out, running out of
// memory included: nothing is left to be released a second time.
bool WriteSplicedTree(FILE* stream) {
    struct TreeRelease {
        ~TreeRelease() {
            HTMLFreeTree(g_pRoot);
            ClearSplicePoints();
        }
    } release;
    HoistNamedAnchors(g_pRoot);
    block* root = g_pRoot;
    return WriteInPageForm(stream, g_pageForm, [root](FILE* out) {
        dump_tree(out, root, 0);
        return std::ferror(out) == 0;
    });
}

}  // namespace

bool WriteUpdatedTree(FILE* stream) {
    if (g_pRoot == nullptr || g_pBody == nullptr) return false;
    // A page that had a section keeps it, empty when the last entry went, so
    // the next entry goes back to the same place.
    const bool section = g_pItemHead != nullptr || !g_bNoSection;
    Splice(section ? BuildSection(g_pItemHead) : nullptr);
    return WriteSplicedTree(stream);
}

bool WriteUpdatedPage(const std::string& pagePath, int* error, int* keptLock) {
    if (error != nullptr) *error = 0;
    if (keptLock != nullptr) *keptLock = -1;
    if (g_pRoot == nullptr || g_pBody == nullptr) return false;
    FileReplacement replacement(pagePath);
    if (keptLock != nullptr) replacement.KeepLocked();
    if (!replacement.Open()) {
        if (error != nullptr) *error = replacement.Error();
        return false;
    }
    const bool written = WriteUpdatedTree(replacement.Stream());
    if (!written) replacement.Abandon();
    const bool committed = written && replacement.Commit();
    if (!committed && error != nullptr) *error = replacement.Error();
    if (keptLock != nullptr) *keptLock = replacement.TakeLock();
    return committed;
}
