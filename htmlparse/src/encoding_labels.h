// Encoding labels for the parser: the label table (text/charset_labels.h)
// with its answer copied into a caller's buffer.
#ifndef HTMLPARSE_ENCODING_LABELS_H
#define HTMLPARSE_ENCODING_LABELS_H

#include <cstddef>

namespace htmlparse {

// The encoding a label names, as charset::NameOfLabel resolves it, written to
// `out` (`capacity` bytes). False for a label browsers do not know or decode
// as one replacement character, and when the name does not fit.
bool ResolveEncodingLabel(const char* label, std::size_t length, char* out, std::size_t capacity);

}  // namespace htmlparse

#endif
