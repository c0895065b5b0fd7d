#include "page/TreeSerializer.h"

#include <vector>

#include "page/TreeWriter.h"

namespace {

bool IsElement(const block* node, int code) {
    return node->type == BT_ELEMENT && node->tag == code;
}

// Moves the children of an anchor without HREF out behind it.
void HoistChildren(block* anchor) {
    block* first = anchor->first_child;
    block* last = first;
    while (last->next_sib != nullptr) last = last->next_sib;
    last->next_sib = anchor->next_sib;
    anchor->next_sib = first;
    anchor->first_child = nullptr;
    // Emptied, it must be closed at once, whether or not the page closed it.
    anchor->flags |= BF_END_TAG;
}

}  // namespace

bool IsNamedAnchor(const block* node) {
    return IsElement(node, HTML_A) && HTMLGetAttr(node, "HREF") == nullptr &&
           HTMLGetAttr(node, "NAME") != nullptr;
}

void HoistNamedAnchors(block* node) {
    // Each entry is a node whose children are being visited; when they are
    // done, the walk goes on with its next sibling.
    std::vector<block*> resume;
    while (node != nullptr || !resume.empty()) {
        if (node == nullptr) {
            node = resume.back()->next_sib;
            resume.pop_back();
            continue;
        }
        if (node->first_child != nullptr && IsNamedAnchor(node)) {
            HoistChildren(node);
        }
        if (node->first_child != nullptr) {
            resume.push_back(node);
            node = node->first_child;
        } else {
            node = node->next_sib;
        }
    }
}

void dump_tree(FILE* stream, block* top, int level) {
    TreeWriter writer(stream, top);
    if (level == 0) writer.TakeAsStarted(top);
    writer.Finish(top, 0);
}
