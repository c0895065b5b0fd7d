// Scanning an existing page: what the program needs of it, read in one pass
// while it is parsed, so that the page is never held whole as a tree.
//
// The parser hands the tree over part by part (HTMLParseDoInParts); each
// settled node is looked at once, in page order, and released. What is kept
// is where things stand in the page's bytes (HTMLGetSourceSpan):
//   - the generated section: the first DL, in page order, whose first child
//     after white space is the marker comment, from the "<" of its start
//     tag to the ">" of its end tag (to the end of its content when it has
//     none); its entries are read into the scan;
//   - where a page without a section gets one: the end of BODY's content as
//     a browser sees it. That is where "</body>" begins, or, when content
//     stands after "</body>" or "</html>" (a browser puts it into BODY),
//     the end of that content. A page without a BODY element is a page
//     whose BODY is implied: its content is everything that is not HEAD,
//     and the section goes after the last of it;
//   - the HEAD: the title, the feed links (page/PageHead.h) and where its
//     content ends, for a feed link to be added;
//   - the page's form (page/PageForm.h), as the parser found it.
// A DL and a HEAD are looked at only once settled, since either may turn out
// to be, or to hold, what is looked for.
//
// The result is the page as a value: its form, its head, the section's
// place, its entries and what they cannot carry. The page session owns the
// one of its last read, and the rewriter, the feed and the editor take it
// from there; nothing of it is kept anywhere else.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "model/ItemList.h"
#include "page/PageForm.h"
#include "page/PageHead.h"
#include "page/PageSplice.h"
#include "page/SessionFailure.h"

struct PageScan {
    PageForm form;
    PageHead head;
    bool hasSection = false;
    ByteRange section;          // the section's bytes, when it has one
    uint64_t sectionPlace = 0;  // where a section goes on a page without one
    bool frameset = false;      // a FRAMESET page without BODY: no place for a section
    bool hasHeadElement = false;
    uint64_t headContentEnd = 0;       // where HEAD's content ends, when it has one
    std::vector<ByteRange> feedLinks;  // every feed link before BODY, in page order
    ItemList entries;                  // the section's entries, in page order
    // What the section holds that its entries do not (page/SectionCheck.h):
    // lost when the section is rebuilt. Empty when the entries hold it all.
    std::vector<std::string> unreadContent;
};

// How much of the page is parsed between two looks at the tree, in bytes.
inline constexpr size_t kScanPartSize = size_t{1} << 16;

// Parses the page from `stream` (open for reading at its start; the caller
// closes it) and fills `scan`, replacing all it held.
// Refused: a read that failed (with its errno value), or a parse that did not
// take in the whole page (memory ran out).
SessionFailure ScanPage(FILE* stream, PageScan* scan, size_t partSize = kScanPartSize);
