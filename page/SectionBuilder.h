// Builds the generated section from the item list as tree nodes, splices it
// into the tree that ReadPage kept, and writes the whole page back.
#pragma once

#include <string>

// Builds the section from g_pItemHead, splices it in where the old section
// stood (or, with a heading, at the end of BODY), writes the tree to
// `pagePath` through a safe replacement and releases the tree. False when the
// page could not be written; the file is then unchanged. A page in which
// ReadPage found no BODY (g_pBody null) is never written: false, file untouched.
bool WriteUpdatedPage(const std::string& pagePath);
