// Encoding labels: the names a page may give its encoding, as browsers know
// them (the WHATWG Encoding Standard's label table), resolved to the iconv
// names the library converts with.
#ifndef HTMLPARSE_ENCODING_LABELS_H
#define HTMLPARSE_ENCODING_LABELS_H

#include <cstddef>

namespace htmlparse {

// The encoding a label names (white space around it and letter case ignored),
// as an iconv name ("UTF-8", "windows-1252", "SHIFT_JIS" ...), written to `out`
// (`capacity` bytes). As in browsers, ISO-8859-1 and US-ASCII read as
// windows-1252, a declared UTF-16 reads as UTF-8, and x-user-defined reads as
// windows-1252. Returns false for a label browsers do not know (UTF-32, UTF-7,
// EBCDIC ...), which a page's declaration must then be read without, and for
// the labels browsers decode as one replacement character.
bool ResolveEncodingLabel(const char* label, std::size_t length, char* out, std::size_t capacity);

}  // namespace htmlparse

#endif
