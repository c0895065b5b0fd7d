#include "tree_release.h"

#include <cstdlib>

#include "records.h"

namespace htmlparse {

namespace {

Arena* g_recycling_arena = nullptr;

// Hands a parsed record back to the arena of a parse in progress, when it
// came from there; other parsed records stay with their tree's arena.
void RecycleParsed(void* record, std::size_t size) {
    if (g_recycling_arena != nullptr && g_recycling_arena->Owns(record)) {
        g_recycling_arena->Recycle(record, size);
    }
}

void ReleaseAttributes(AttrRec* attr) {
    while (attr != nullptr) {
        AttrRec* next = attr->next;
        if (!IsLibraryRecord(attr->reserved)) {
            std::free(attr->name);
            std::free(attr->value);
            std::free(attr);
        } else {
            RecycleParsed(attr, sizeof(AttrRec));
        }
        attr = next;
    }
}

void ReleaseRecord(block* node) {
    ReleaseAttributes(node->attrs);
    if (node->reserved == kRootMark) {
        delete reinterpret_cast<RootRecord*>(node);
    } else if (node->reserved == kNodeMark) {
        RecycleParsed(node, sizeof(block));
    } else {
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

void SetRecyclingArena(Arena* arena) { g_recycling_arena = arena; }

}  // namespace htmlparse
