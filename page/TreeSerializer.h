// Writes a parse tree back out as HTML, in the form page/TreeWriter.h
// describes. Before writing, HoistNamedAnchors moves the content of named
// anchors (NAME, no HREF) out behind them. Both walk the tree with an
// explicit stack, so the depth of a page's nesting is limited by memory only.
#pragma once

#include <cstdio>

#include "htmlparse.h"

// A named anchor: an A with NAME and without HREF. An A with neither (a
// script button, a placeholder link) is no anchor to hoist out of.
bool IsNamedAnchor(const block* node);

// Moves the children of every named anchor, an A element with NAME and
// without HREF (in the tree from `node` and its following siblings), out
// behind the anchor, in order; the moved nodes are then visited at their new
// level. Their `parent` still names the anchor.
void HoistNamedAnchors(block* node);

// Writes `top`, its subtree and its end tag to `stream`. At level 0 `top`
// itself (the root container) is not written, only its children and, if it
// is an element, its end tag. Problems in the tree are reported on standard
// error and writing goes on.
void dump_tree(FILE* stream, block* top, int level);
