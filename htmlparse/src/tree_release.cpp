#include "tree_release.h"

#include <cstdlib>

#include "records.h"

namespace htmlparse {

namespace {

void ReleaseAttributes(AttrRec* attr) {
    while (attr != nullptr) {
        AttrRec* next = attr->next;
        if (!IsLibraryRecord(attr->reserved)) {
            std::free(attr->name);
            std::free(attr->value);
            std::free(attr);
        }
        attr = next;
    }
}

void ReleaseRecord(block* node) {
    ReleaseAttributes(node->attrs);
    if (node->reserved == kRootMark) {
        delete reinterpret_cast<RootRecord*>(node);
    } else if (node->reserved != kNodeMark) {
        std::free(node->text);
        std::free(node);
    }
}

}  // namespace

void ReleaseSubtree(block* node) {
    if (node == nullptr) return;
    block* pending = node->first_child;
    while (pending != nullptr) {
        block* current = pending;
        pending = current->next_sib;
        if (block* child = current->first_child) {
            block* last = child;
            while (last->next_sib != nullptr) last = last->next_sib;
            last->next_sib = pending;
            pending = child;
        }
        ReleaseRecord(current);
    }
    ReleaseRecord(node);
}

}  // namespace htmlparse
