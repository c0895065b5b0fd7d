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
// second build changes nothing. A page without a section gets one, with its
// heading, at the end of BODY's content as a browser sees it, on lines of
// its own, once its list is not empty; nothing else changes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "model/TavrelItem.h"
#include "page/PageScan.h"
#include "page/PageSplice.h"
#include "page/SessionFailure.h"

// Told what the scan found (with the page's entries in the item list), adds
// the splices that make the change, in page order. Returns false to leave
// the page as it was, having said why.
using PageChange = std::function<bool(const PageScan& scan, std::vector<PageSplice>* splices)>;

// The splice that puts the section of the list at `head` into the page
// `scan` describes; none on a page without a section while the list is
// empty. Throws std::bad_alloc.
std::optional<PageSplice> SectionSplice(const PageScan& scan, const CTavrelItem* head);

// The change that calls `edit`, which may change the item list or return
// false to refuse, and then rebuilds the section from the item list.
PageChange SectionChange(const std::function<bool()>& edit);

// Scans the page from `stream` (open for reading at its start, seekable; the
// caller closes it), asks `change`, and writes the page with the splices to
// `out`; fills `*scan`. On refusal the failure says why (a failed read with
// its errno value; a change that refused gives kMsgEditRefused; a failed
// write kMsgCouldNotCreate without errno value, which the caller knows);
// partial output is then left in `out` for the caller to throw away.
SessionFailure RewritePage(FILE* stream, FILE* out, const PageChange& change, PageScan* scan,
                           size_t partSize = kScanPartSize);
