// Checks and hints for the tavrel command line that need no parser: the
// nearest known name to a mistyped one, and the form a site address must
// have.
#pragma once

#include <string>
#include <vector>

// The name of `names` nearest to `word` by edit distance (insertions,
// deletions, substitutions and swaps of neighbours each count one), when it
// is near enough to be the one meant: at most two edits, and fewer than the
// length of `word`. "" when none is.
std::string NearestName(const std::string& word, const std::vector<std::string>& names);

// True for an absolute http or https URL with a host, such as
// "https://www.example.org" or "http://host:8080/site".
bool IsSiteAddress(const std::string& url);
