// How a hyperlink is put into a double-quoted HREF attribute by both page
// writers.
#pragma once

#include <string>

// `link` with every double quote written as %22: a quote would end the
// attribute early and break the page, and in a URL the character is written
// %22 anyway. Everything else stays as it is.
std::string AttributeSafeLink(const std::string& link);
