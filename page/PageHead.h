// What the HEAD of a parsed page says about the page itself: its title and
// the address of the Atom feed it links.
//
// The feed is the first LINK element before BODY whose REL lists "alternate"
// and whose TYPE is "application/atom+xml" (letter case ignored in both).
// Texts come back as UTF-8 with character references decoded.
#pragma once

#include <string>
#include <vector>

#include "htmlparse.h"
#include "page/PageSplice.h"

struct PageHead {
    std::string title;     // the text of the first TITLE, empty when none
    std::string feedHref;  // the HREF of the feed link, empty when the page links none
    bool linksFeed = false;
};

// True when `node` is a feed link: a LINK whose REL lists "alternate" and
// whose TYPE is "application/atom+xml". Throws std::bad_alloc when memory
// runs out.
bool IsFeedLinkNode(const block* node);

// Reads the head of a page from its nodes, given in page order one subtree
// at a time (a node with its descendants, not its siblings), up to BODY.
class HeadReader {
  public:
    // Looks at `node` and its descendants, passing over a BODY and all in
    // it. Throws std::bad_alloc when memory runs out.
    void Read(const block* node);

    const PageHead& Head() const { return m_head; }

    // Where every feed link read stands in the page, in page order.
    const std::vector<ByteRange>& FeedLinks() const { return m_feedLinks; }

  private:
    void Visit(const block* node);

    PageHead m_head;
    bool m_titleSeen = false;
    std::vector<ByteRange> m_feedLinks;
};
