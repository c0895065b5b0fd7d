// Reads the generated section out of an existing page.
//
// ReadPage parses the page into a tree, finds BODY and, among BODY's
// children, the generated section (a DL whose first child is the marker
// comment), reads its entries into a new item list, releases the old
// section's nodes and remembers where it stood. The tree stays alive, owned
// by the program, until the section builder writes and releases it.
#pragma once

#include <cstdio>

#include "editor/TavrelItem.h"
#include "htmlparse.h"

// Splice points, set once by ReadPage and read by the section builder.
extern block* g_pRoot;         // root of the parsed tree
extern block* g_pBody;         // the BODY element; null when the page has none
extern block* g_pSectionPrev;  // BODY child before the old section (or BODY's last child)
extern block* g_pSectionNext;  // BODY child after the old section
extern int g_bNoSection;       // BODY had no generated section

// Parses the page from `stream` (open for reading at its start; the caller
// closes it) and returns the head of a new item list of its entries in page
// order, or null when none was read. Sets the splice points.
CTavrelItem* ReadPage(FILE* stream);
