// Tree release: freeing a subtree whose records come from two owners.
//
// Parsed records carry the library's mark in `reserved` and live in the
// tree's arena; records the caller added have zero there and came from
// malloc/calloc, as did their strings. Releasing a subtree frees the caller's
// records (and attribute records) with free() and leaves the library's to the
// arena, which goes when the root of the parsed tree is released. The walk
// splices each child chain into the work list instead of recursing or
// allocating, so any nesting depth is released in linear time. While a parse
// hands settled parts of its tree to its caller, released records of that
// parse go back to its arena to be used again (the parsed records of one
// subtree all come from one tree: a tree's records never move to another).
// A released parsed node also lets go of the window of page text its strings
// point into (text_window.h), which goes with the last node that held it.
#ifndef HTMLPARSE_TREE_RELEASE_H
#define HTMLPARSE_TREE_RELEASE_H

#include "arena.h"
#include "htmlparse.h"

namespace htmlparse {

// Releases `node` and its descendants; the node's following siblings are not
// touched. A parsed root also releases its arena. Null does nothing.
void ReleaseSubtree(block* node);

// Makes `arena` (null: none) the one whose records ReleaseSubtree recycles.
void SetRecyclingArena(Arena* arena);

}  // namespace htmlparse

#endif
