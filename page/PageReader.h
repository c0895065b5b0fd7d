// Reads the generated section out of an existing page.
//
// ReadPage parses the page into a tree, finds BODY and the generated section
// (a DL whose first child, after white space, is the marker comment) wherever
// a browser shows it in BODY: at any depth inside BODY, or after "</body>"
// or "</html>". It reads the section's entries into a new item list, releases
// the old section's nodes and remembers where it stood. The tree stays alive, owned
// by the program, until the section builder writes and releases it.
//
// Every test on a node compares its element code and nothing else; only the
// marker test also requires the node to be a comment. Inside the section
// only direct children are looked at, at every level.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "htmlparse.h"
#include "model/TavrelItem.h"
#include "page/PageForm.h"

// Splice points, set once by ReadPage and read by the section builder.
extern block* g_pRoot;           // root of the parsed tree
extern block* g_pBody;           // the BODY element; null when the page has none
extern block* g_pSectionParent;  // the node the old section hung in (BODY when none)
extern block* g_pSectionPrev;    // its sibling before the old section (or BODY's last child)
extern block* g_pSectionNext;    // its sibling after the old section
extern int g_bNoSection;         // BODY had no generated section
extern PageForm g_pageForm;      // encoding and line ends of the page ReadPage parsed
// What the old section held that its entries do not (see CheckSection): lost
// when the section is rebuilt. Empty when the entries hold it all.
extern std::vector<std::string> g_unreadContent;

// Parses the page from `stream` (open for reading at its start; the caller
// closes it) and returns the head of a new item list of its entries in page
// order, or null when none was read. Sets the splice points. A page without
// BODY sets none of them (g_pBody stays null) and its tree is released.
CTavrelItem* ReadPage(FILE* stream);

// What ReadPage does once the page is parsed: takes `root` (as the parser
// handed it over) and the page's `form`, reads the section and sets the
// splice points; without BODY the tree is released and nothing is set.
CTavrelItem* ReadTree(block* root, const PageForm& form);

// The first BODY child of the first HTML child of `root` that has one, or null.
block* FindBody(block* root);

// Whether `node` is a generated section: a DL whose first child, after white
// space, is the marker comment.
bool IsSection(const block* node);

// The first section in document order among `from`, its following siblings
// and all their descendants, or null.
block* FindSectionFrom(block* from);

// The section a browser shows in BODY: the first in document order inside
// `body`, or after its end (after "</body>" or "</html>"), or null.
block* FindSection(block* body);

// The entries of the section `dl`, in page order, or null. A DT starts an
// entry and a DD describes the latest one; a DD before any DT makes the whole
// section read as empty. Entries that a malformed order leaves unreachable
// from the head are destroyed.
CTavrelItem* ReadSection(const block* dl);

// Fills the date (first STRONG child) and, from every A child in turn, the
// hyperlink and title of `item`.
void ReadTerm(CTavrelItem* item, const block* dt);

// Hyperlink from the anchor's first HREF attribute with its character
// references decoded (an empty string for one without value), title from its
// first STRONG child. Throws std::bad_alloc when memory runs out. Fields with no source
// stay as they were.
void ReadAnchor(CTavrelItem* item, const block* anchor);

// Description from the first TEXT child of `dd`; none: unchanged.
void ReadDefinition(CTavrelItem* item, const block* dd);

// Which field of an entry ReadStrongText fills.
enum class StrongField { kDate, kTitle };

// Sets `field` of `item` from the first TEXT child of `strong`; none: unchanged.
void ReadStrongText(CTavrelItem* item, const block* strong, StrongField field);

// Releases the tree ReadPage kept, if any, and clears the splice points;
// for a run that ends without writing the page.
void ReleasePageTree();

// Forgets the splice points (all null, flag clear) without releasing anything.
void ClearSplicePoints();
