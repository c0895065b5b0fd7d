// Builds the generated section from the item list as tree nodes, splices it
// into the tree that ReadPage kept, and writes the whole page back.
//
// Every node and string built here comes from calloc/malloc, so that
// HTMLFreeTree of the root releases them with the parsed nodes. Element nodes
// carry their name in lower case as `text`; each node built under another has
// it as `parent`. When memory runs out the builders throw std::bad_alloc.
#pragma once

#include <cstdio>
#include <string>

#include "htmlparse.h"
#include "model/TavrelItem.h"

// The heading put in front of a section added to a page that had none.
inline constexpr const char kSectionHeading[] = "Tavrel";

// Builds the section from g_pItemHead, splices it in where the old section
// stood (an empty DL with its marker when the list is empty), or, with a
// heading, at the end of BODY when the page had none and the list is not
// empty; writes the tree to
// `pagePath` through a safe replacement and releases the tree. False when the
// page could not be written, with `*error` (when given) set to the errno
// value of the failure; the file is then unchanged. A page in which ReadPage
// found no BODY (g_pBody null) is never written: false, file untouched. With
// `keptLock`, the new page stays locked and `*keptLock` gets the descriptor
// (see FileReplacement::KeepLocked), or -1.
bool WriteUpdatedPage(const std::string& pagePath, int* error = nullptr, int* keptLock = nullptr);

// What WriteUpdatedPage writes, written to `stream` instead; the tree is
// released. False when there is no tree with a BODY (nothing then written
// or released) or a write failed.
bool WriteUpdatedTree(FILE* stream);

// The new section for the list at `head` (null: no entries): the DL holding the
// marker and a DT and DD per entry, preceded by the heading when the page had
// no section (g_bNoSection). The DL's `next_sib` is null.
block* BuildSection(const CTavrelItem* head);

// A TEXT node holding a copy of `text`.
block* BuildText(const std::string& text);
// H2 holding a TEXT of `text`; line end after its end tag.
block* BuildHeading(const std::string& text);
// STRONG holding a TEXT of `text`; line end after its end tag.
block* BuildStrong(const std::string& text);
// BR; line end after its start tag.
block* BuildBreak();
// P without children; line end after its end tag.
block* BuildParagraph();
// A with a double-quoted "href" of `hyperlink`, holding a STRONG of `title`.
// A double quote in the hyperlink, which would end the attribute, is stored
// as %22, as a URL writes it anyway.
block* BuildAnchor(const std::string& hyperlink, const std::string& title);
// DT holding STRONG of the date, BR and the anchor of hyperlink and title.
block* BuildTerm(const CTavrelItem& item);
// DD holding TEXT of the description, BR and P.
block* BuildDefinition(const CTavrelItem& item);
// The marker comment, line ends after it.
block* BuildMarker();
