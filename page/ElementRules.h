// What HTML says about an element that the tree writer must respect: whether
// it may have an end tag at all, whether its content is raw text that must
// not be escaped, and where the end tag of a paragraph or list item may be
// left out without changing the page.
//
// Elements are recognised by name (the library's name for their code, or the
// name stored for an element the library has no code for), in either letter
// case, so the rules hold whatever codes the library gives.
#pragma once

#include <string>

#include "htmlparse.h"

// The element's name in upper case: the library's name for its code, or for
// an element without code of its own (code 46) the name from its `text`
// ("<name" as written). Empty for nodes that are not elements.
std::string ElementName(const block* node);

// A void element (BR, IMG, META, LINK, INPUT, HR ...): HTML forbids its end tag.
bool IsVoidElement(const block* node);

// An element whose content is raw text (SCRIPT, STYLE ...): its text is
// written exactly as stored, never escaped.
bool IsRawTextElement(const block* node);

// True when the end tag of `node`, a P or LI, can be left out without a
// browser reading the page differently: a P directly followed by an element
// that closes a paragraph (P, a list, a table, a heading, DIV ...), an LI
// directly followed by another LI, or either followed by nothing but white
// space up to the end of `parent` (for a P, unless `parent` is an element
// whose end does not close a paragraph, such as A, INS or DEL). Always false
// for other elements.
bool MayOmitEndTag(const block* node, const block* parent);
