// Attributes: attribute codes and lookup of an element's attributes.
//
// Attributes are stored as written: the name in its own letter case, the
// value without quotes and without decoding, the quoting in the flags. The
// code of an attribute comes from a small table of common names (HREF is 8);
// other names get kAttrUnknown.
#ifndef HTMLPARSE_ATTRIBUTES_H
#define HTMLPARSE_ATTRIBUTES_H

#include <cstddef>

#include "htmlparse.h"

namespace htmlparse {

// Code of an attribute name the table does not know.
inline constexpr int kAttrUnknown = 0;

// The code of an attribute name (`length` bytes, any letter case).
int LookupAttribute(const char* name, std::size_t length);

// The first attribute of `node` whose name equals `name` without regard to
// letter case; null when there is none or `node` is null.
const AttrRec* FindAttribute(const block* node, const char* name);

}  // namespace htmlparse

#endif
