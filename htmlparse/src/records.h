// Records of the library: how parsed `block` and `AttrRec` records are made
// and recognised.
//
// Records the parser makes come from the tree's arena and carry a mark in
// their `reserved` field; records a caller adds have zero there and come from
// malloc/calloc. The release of a tree relies on this difference. The root of
// a parsed tree sits in a RootRecord that also owns the tree's arena and the
// windows of page text its nodes point into.
#ifndef HTMLPARSE_RECORDS_H
#define HTMLPARSE_RECORDS_H

#include <cstdint>

#include "arena.h"
#include "htmlparse.h"
#include "text_window.h"

namespace htmlparse {

// `reserved` of a parsed node, attribute or root.
inline constexpr std::uint32_t kNodeMark = 0x48504E44u;  // "HPND"
inline constexpr std::uint32_t kRootMark = 0x48505254u;  // "HPRT"

// The root of a parsed tree: the root node followed by the arena holding the
// whole tree. Allocated with new, so the arena's lifetime is the root's.
struct RootRecord {
    block node{};  // first member: a block* of the root converts back
    Arena arena;
    WindowSet windows;
};

inline bool IsLibraryRecord(std::uint32_t reserved) {
    return reserved == kNodeMark || reserved == kRootMark;
}

// A parsed node with where it stood in the page's bytes (see
// HTMLGetSourceSpan). `node` is the first member, so a block* of a parsed
// node converts back.
struct NodeRecord {
    block node;
    std::uint64_t begin;    // the node's first byte
    std::uint64_t end;      // after its last byte, its end tag included
    std::uint32_t end_tag;  // the length of its end tag; 0 when it had none
    TextWindow* window;     // the window its strings point into, which it holds
};

inline NodeRecord* RecordOf(block* node) { return reinterpret_cast<NodeRecord*>(node); }
inline const NodeRecord* RecordOf(const block* node) {
    return reinterpret_cast<const NodeRecord*>(node);
}

// A new node of `type` from the arena, marked as the library's, holding
// `window`, the window of text its strings point into.
inline block* NewNode(Arena& arena, std::int32_t type, std::int32_t tag, char* text,
                      TextWindow* window) {
    NodeRecord* record = arena.New<NodeRecord>();
    block* node = &record->node;
    node->type = type;
    node->tag = tag;
    node->text = text;
    node->reserved = kNodeMark;
    record->window = window;
    WindowSet::Hold(window);
    return node;
}

}  // namespace htmlparse

#endif
