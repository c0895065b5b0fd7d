// What the HEAD of a parsed page says about the page itself: its title and
// the address of the Atom feed it links.
//
// The feed is the first LINK element before BODY whose REL lists "alternate"
// and whose TYPE is "application/atom+xml" (letter case ignored in both).
// Texts come back as UTF-8 with character references decoded.
#pragma once

#include <string>

#include "htmlparse.h"

struct PageHead {
    std::string title;     // the text of the first TITLE, empty when none
    std::string feedHref;  // the HREF of the feed link, empty when the page links none
    bool linksFeed = false;
};

// True when `node` is a feed link: a LINK whose REL lists "alternate" and
// whose TYPE is "application/atom+xml". Throws std::bad_alloc when memory
// runs out.
bool IsFeedLinkNode(const block* node);

// Reads the head of the tree under `root` (as the parser handed it over).
// Throws std::bad_alloc when memory runs out.
PageHead ReadPageHead(const block* root);
