#include "tree_release.h"

#include <cstdlib>

#include "records.h"

namespace htmlparse {

namespace {

Arena* g_recycling_arena = nullptr;

// Where the parsed records of one release go: back to the arena of the parse
// in progress when they came from there (asked once: a subtree's parsed
// records all come from one tree), otherwise nowhere, their tree's arena
// keeping them.
class Recycler {
  public:
    void Take(void* record, std::size_t size) {
        if (g_recycling_arena == nullptr) return;
        if (!m_asked) {
            m_owned = g_recycling_arena->Owns(record);
            m_asked = true;
        }
        if (m_owned) g_recycling_arena->Recycle(record, size);
    }

  private:
    bool m_asked = false;
    bool m_owned = false;
};

void ReleaseAttributes(AttrRec* attr, Recycler& recycler) {
    while (attr != nullptr) {
        AttrRec* next = attr->next;
        if (!IsLibraryRecord(attr->reserved)) {
            std::free(attr->name);
            std::free(attr->value);
            std::free(attr);
        } else {
            recycler.Take(attr, sizeof(AttrRec));
        }
        attr = next;
    }
}

void ReleaseRecord(block* node, Recycler& recycler) {
    ReleaseAttributes(node->attrs, recycler);
    if (node->reserved == kRootMark) {
        delete reinterpret_cast<RootRecord*>(node);
    } else if (node->reserved == kNodeMark) {
        WindowSet::Release(RecordOf(node)->window);
        recycler.Take(node, sizeof(NodeRecord));
    } else {
        std::free(node->text);
        std::free(node);
    }
}

}  // namespace

void ReleaseSubtree(block* node) {
    if (node == nullptr) return;
    Recycler recycler;
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
        ReleaseRecord(current, recycler);
    }
    ReleaseRecord(node, recycler);
}

void SetRecyclingArena(Arena* arena) { g_recycling_arena = arena; }

}  // namespace htmlparse
