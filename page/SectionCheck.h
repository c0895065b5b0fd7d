// Finds what the reader of the generated section cannot take into entries.
//
// An entry is a DT holding the date in a STRONG, a BR and an anchor whose
// STRONG holds the title, followed by one DD holding the description as text,
// BR and an empty P. Rebuilding the section from its entries drops everything
// else in it: a DD before any DT, a DT without its DD, a second DD, elements
// and text between entries, markup inside a field. CheckSection names each of
// these, so that a caller can refuse to drop them silently.
#pragma once

#include <string>
#include <vector>

#include "htmlparse.h"

// One line per piece of content in the section `dl` (the DL with the marker
// comment) that reading it into entries would drop, in page order; empty when
// the section reads without loss.
std::vector<std::string> CheckSection(const block* dl);
