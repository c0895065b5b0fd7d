// The Atom 1.0 document (RFC 4287) of a Tavrel page's entries.
//
// The feed's id is the page's absolute URL when the site's address is known,
// else a tag URI of the host and the page's URL path
// ("tag:HOST,2000:/tavrel.html"). An entry's id is a name-based UUID of the
// feed id, its hyperlink and its date text, so editing its title or
// description keeps it; the same hyperlink on the same date is the same entry.
#pragma once

#include <ctime>
#include <map>
#include <string>

#include "model/TavrelItem.h"

// Everything about the feed that does not come from the entries.
struct FeedContext {
    std::string title;        // the page's title
    std::string siteUrl;      // "https://example.org" without a trailing slash; empty: unknown
    std::string pageUrlPath;  // the page's URL path, "/tavrel.html"
    std::string feedUrlPath;  // the feed's URL path, "/tavrel.atom"
    std::string host;         // the host name the author and a tag id are named after
    std::string adminEmail;   // the administrator's address; empty: none
    std::time_t buildTime = 0;
    // The `updated` of each entry id in the previous feed file.
    std::map<std::string, std::string> previousUpdated;
};

// The feed's id (see above).
std::string FeedId(const FeedContext& context);

// The id of the entry with `hyperlink` and `dateText` in the feed `feedId`.
std::string EntryId(const std::string& feedId, const std::string& hyperlink,
                    const std::string& dateText);

// The feed document for the item list from `head`, in list order, as UTF-8.
// An entry whose date text names no day keeps its `updated` from
// previousUpdated, else gets buildTime; the feed's `updated` is the newest
// entry's (buildTime for a feed without entries).
std::string AtomFeedText(const FeedContext& context, const CTavrelItem* head);

// The `updated` of every entry of a feed document this program wrote, by id.
// Anything it does not recognise is skipped.
std::map<std::string, std::string> PreviousUpdates(const std::string& feedText);
