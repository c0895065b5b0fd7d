// Changing an existing page: the page is scanned (page/PageScan.h), the
// change says which ranges of its bytes to replace, and the page is copied
// with those ranges replaced (page/PageSplice.h). Every byte outside them is
// the page's own, so a page is never written back in another form than it
// had; and since the scan releases the tree as it goes and the copy goes
// through a fixed buffer, a large page is never held whole as a tree.
//
// The generated section is the program's: on a page that has one, exactly
// its bytes, from the "<" of its start tag to the ">" of its end tag, are
// replaced by the section rebuilt from the entries (page/SectionBuilder.h),
// which leaves white space and line ends around it as they were, so a
// second build changes nothing. The section is written in the line ends
// most common outside it, which a rewrite of it never changes. A page
// without a section gets one, with its heading, at the end of BODY's content
// as a browser sees it, on lines of its own, once its list is not empty;
// nothing else changes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "model/ItemList.h"
#include "page/PageScan.h"
#include "page/PageSplice.h"
#include "page/SessionFailure.h"

// Told what the scan found, adds the splices that make the change, in page
// order; it may change the entries of `scan` to what the page will hold.
// Returns false to leave the page as it was, having said why.
using PageChange = std::function<bool(PageScan& scan, std::vector<PageSplice>* splices)>;

// A change of the page's entries: may change `entries` (the page's, as
// read) or return false to refuse, having said why.
using EntriesEdit = std::function<bool(const PageScan& scan, ItemList& entries)>;

// The splice that puts the section of `entries` into the page `scan`
// describes; none on a page without a section while the list is empty.
// Throws std::bad_alloc.
std::optional<PageSplice> SectionSplice(const PageScan& scan, const ItemList& entries);

// The change that calls `edit` on the page's entries and then rebuilds the
// section from them.
PageChange SectionChange(const EntriesEdit& edit);

// Scans the page from `stream` (open for reading at its start, seekable; the
// caller closes it), asks `change`, and writes the page with the splices to
// `out`; fills `*scan` with the page as written. On refusal the failure says why (a failed read
// with its errno value; a change that refused gives kMsgEditRefused; a failed write
// kMsgCouldNotCreate without errno value, which the caller knows); partial output is then left in
// `out` for the caller to throw away.
SessionFailure RewritePage(FILE* stream, FILE* out, const PageChange& change, PageScan* scan,
                           size_t partSize = kScanPartSize);
