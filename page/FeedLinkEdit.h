// Adding and removing the Atom feed link in the HEAD of a parsed page, so
// that the next write of the tree carries the change.
#pragma once

#include <string>

#include "htmlparse.h"

// Appends <link rel="alternate" type="application/atom+xml" href="HREF"> as
// the last child of the first HEAD before BODY under `root`. False when the
// page has no HEAD. Throws std::bad_alloc when memory runs out.
bool AddFeedLink(block* root, const std::string& href);

// Removes every feed link (as ReadPageHead finds them) before BODY under
// `root`; returns how many were removed.
int RemoveFeedLinks(block* root);
