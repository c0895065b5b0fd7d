// Encoding labels: the names a page may give its encoding, as browsers know
// them (the WHATWG Encoding Standard's label table), resolved to the names of
// the charsets the program decodes (charset.h), UTF-8 and windows-1252.
#pragma once

#include <string_view>

namespace charset {

// The encoding a label names (white space around it and letter case
// ignored): "UTF-8", "windows-1252", "CP932" ... As in browsers, ISO-8859-1
// and US-ASCII read as windows-1252, a declared UTF-16 reads as UTF-8, and
// x-user-defined reads as windows-1252. Null for a label browsers do not know
// (UTF-32, UTF-7, EBCDIC ...), which a page's declaration must then be read
// without, and for the labels browsers decode as one replacement character.
const char* NameOfLabel(std::string_view label);

}  // namespace charset
