// Writes a parse tree back out as HTML.
//
// Everything written comes from the tree: element names from the library
// (upper case), attribute names and values as stored, text escaped ("&", "<"
// and ">" only), and line ends after tags where the layout flags recorded
// them. Before writing, HoistNamedAnchors moves the content of named anchors
// (NAME, no HREF) out behind them. Both walk the tree with an explicit stack,
// so the depth of a page's nesting is limited by memory only.
//
// A parsed page is written back token for token as the page had it, so that a
// browser builds the same tree from it: a parsed element gets an end tag only
// where the page had one (BF_END_TAG), whatever HTML would allow, and end tags
// that closed nothing and processing instructions come back from their source
// (BF_VERBATIM). Elements the program built (the generated section) follow
// HTML's rules instead: void elements (BR, IMG, META ...) never get an end
// tag, and the end tag of a P or LI is left out where a browser would close it
// at the same place anyway. The content of SCRIPT, STYLE, TITLE and the other
// raw-text elements (TEXT the parser marked BF_RAW_TEXT) is written unescaped;
// a comment gets a blank before "-->" unless the page had none
// (BF_COMMENT_NO_BLANK) and is followed by a line end only where the page had
// one (BF_BREAK_AFTER_END); an element without code of its own is closed with its
// own name.
#pragma once

#include <cstdio>

#include "htmlparse.h"

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
