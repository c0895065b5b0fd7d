// The <meta> prescan: the encoding a page declares in its first 1024 bytes,
// found as browsers find it, before the page is decoded.
#ifndef HTMLPARSE_META_PRESCAN_H
#define HTMLPARSE_META_PRESCAN_H

#include <cstddef>

namespace htmlparse {

// The encoding declared by a <meta charset> or <meta http-equiv="Content-Type"
// content="...; charset=..."> in the first 1024 bytes of `data`, resolved by
// ResolveEncodingLabel into `out` (`capacity` bytes). A declaration whose label
// browsers do not know is passed over, as browsers pass it over. False when
// there is none.
bool FindDeclaredEncoding(const char* data, std::size_t size, char* out, std::size_t capacity);

}  // namespace htmlparse

#endif
