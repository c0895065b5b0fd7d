// Writes a parse tree back out as HTML.
//
// Everything written comes from the tree: element names from the library
// (upper case), attribute names and values as stored, text escaped ("&", "<"
// and ">" only), and line ends after tags where the layout flags recorded
// them. Before writing, HoistNamedAnchors moves the content of anchors
// without HREF out behind them. Both walk the tree with an explicit stack, so
// the depth of a page's nesting is limited by memory only.
//
// Where HTML needs it for the page to mean what it meant, the writer departs
// from a plain rule-by-flag dump: void elements (BR, IMG, META ...) never get
// an end tag; SCRIPT and STYLE content is written unescaped; the end tag of a
// P or LI is left out only where a browser would close it at the same place
// anyway; a comment is followed by a line end only where the page had one
// (BF_BREAK_AFTER_END); an element without code of its own is closed with its
// own name.
#pragma once

#include <cstdio>

#include "htmlparse.h"

// Moves the children of every A element without HREF (in the tree from
// `node` and its following siblings) out behind the anchor, in order; the
// moved nodes are then visited at their new level. Their `parent` still names
// the anchor.
void HoistNamedAnchors(block* node);

// Writes `top`, its subtree and its end tag to `stream`. At level 0 `top`
// itself (the root container) is not written, only its children and, if it
// is an element, its end tag. Problems in the tree are reported on standard
// error and writing goes on.
void dump_tree(FILE* stream, block* top, int level);
