// Adding and removing the Atom feed link in the HEAD of a page, as splices of
// the page's bytes (page/PageSplice.h): only the link's own bytes change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "page/PageScan.h"
#include "page/PageSplice.h"

// The splice that puts <link rel="alternate" type="application/atom+xml"
// href="HREF"> at the end of HEAD's content, on a line of its own; none when
// the page has no HEAD element.
std::optional<PageSplice> AddFeedLink(const PageScan& scan, const std::string& href);

// The splices that remove every feed link before BODY (as the head reader
// finds them), each with the line it stood on when it stood alone there.
std::vector<PageSplice> RemoveFeedLinks(const PageScan& scan);
