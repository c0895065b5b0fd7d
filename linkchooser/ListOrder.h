// The order of the link chooser's sorted lists.
//
// The directory list and the file list are sorted without regard to letter
// case; texts that compare equal keep the order in which they were added.
#pragma once

#include <string_view>

// True when `a` sorts before `b`: byte-wise after folding ASCII letters to
// lower case. Use with std::stable_sort.
bool ListTextLess(std::string_view a, std::string_view b);
