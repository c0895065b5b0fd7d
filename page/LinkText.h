// How fields are put into a page as text the page reader gives back exactly:
// a hyperlink into a double-quoted HREF attribute (both page writers), and
// any field as plain ASCII markup (the fresh page, which declares no encoding).
#pragma once

#include <string>

#include "text/markup.h"

// `link` with every double quote written as %22 (a quote would end the
// attribute early; in a URL the character is written %22 anyway) and then
// escaped as markup (text/markup.h), so that no part of the link reads back
// as a character reference. Everything else stays as it is.
std::string AttributeSafeLink(const std::string& link);

// What AttributeSafeLink writes for the byte `c` of a link ("%22" for a
// double quote, a markup reference for "&", "<" and ">"), or null for a byte
// it keeps as it is.
inline const char* LinkByteText(char c) { return c == '"' ? "%22" : MarkupReference(c); }

// `text` (UTF-8) with every character outside ASCII written as a decimal
// character reference ("&#233;"); a byte that starts no valid UTF-8
// character becomes "&#65533;".
std::string AsciiWithReferences(const std::string& text);
