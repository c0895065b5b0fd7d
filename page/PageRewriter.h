// Rewrites an existing page while it is being parsed, so that a large page is
// never held whole: what the parser has settled is written out and released
// part by part.
//
// The output is exactly what reading the whole page (ReadTree) and writing
// it with its new section (WriteUpdatedPage) gives. Nothing is written until
// BODY has been found, which is when the page's head is read; from then on
// the settled nodes are written in page order, each searched for the
// generated section first while it lies inside BODY or after it. Where the
// section is found, `edit` is called once with its entries in the item list
// (g_pItemHead) and what rebuilding it would drop in g_unreadContent; the
// rebuilt section takes its place. A page whose section has not been found
// is held from the end of BODY on, because a section after "</body>" is
// still the page's; at the end of the page `edit` is called with an empty
// list (g_bNoSection set), and a section is added at the end of BODY when the
// list is no longer empty. A DL and a named anchor are written only once
// settled (either may turn out to be, or to need to move, what follows), so
// content that stays inside one of them until the end is held until then.
//
// The caller owns the output: a refusal (no BODY, an edit that refused, a
// parse that did not take in the whole page, a write that failed, which ends
// the parse) leaves partial output behind, which the caller must throw away.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>

#include "page/PageHead.h"
#include "page/PageSession.h"

// Told of the page's entries as described above; may change the item list.
// Returns false to leave the page as it was, having said why.
using EntryEdit = std::function<bool()>;

// How much of the page is parsed between two writes, in bytes.
inline constexpr size_t kRewritePartSize = size_t{1} << 16;

// Parses the page from `stream` (open for reading at its start; the caller
// closes it) and writes it, with its rebuilt section, to `out` in the page's
// own form. Fills `*head` from the page's head. On refusal the failure says
// why (a failed read of `stream` with its errno value); an edit that refused
// gives kMsgEditRefused.
SessionFailure RewritePage(FILE* stream, FILE* out, const EntryEdit& edit, PageHead* head,
                           size_t partSize = kRewritePartSize);
