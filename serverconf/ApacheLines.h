// The lines of an Apache configuration file as the server reads them.
#pragma once

#include <string>
#include <vector>

struct ApacheLine {
    std::string text;  // one logical line: continuations joined, no line end
    int line = 0;      // the line it starts on
};

// The logical lines of `text`: a line ending in a backslash goes on with the
// next one; blank lines and lines whose first non-blank character is '#' are
// left out; leading and trailing blanks are cut. CR LF and LF both end a line.
std::vector<ApacheLine> ApacheLogicalLines(const std::string& text);

// The words of a line: separated by blanks; a word that starts with a double
// or single quote runs to the matching quote (a backslash before the quote
// keeps it in the word), and loses its quotes. An unclosed quote runs to the
// end of the line.
std::vector<std::string> ApacheWords(const std::string& text);
