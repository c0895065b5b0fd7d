// The feed of a Tavrel page: its text for the page's entries, and the write
// of the feed file the page links, done after the page is built.
//
// The site's address comes from FeedOptions::baseUrl, else the value
// "SiteURL" of the web server's key in this machine's registry; without
// one, links to the page and the feed are URL paths that readers resolve
// against the feed's own address. The author is the "ServerAdmin" address
// (as email, with its host as name), or the machine's host name alone.
//
// A page has a URL only inside the web server's document map; its feed link
// is resolved against that URL and mapped back to a file (feed/FeedPlace.h).
// A page outside the map gets no feed written, as neither the feed's place
// nor the addresses in it are known; only a printed feed may take the
// page's folder to be served at the base URL the user gives.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "feed/FeedPlace.h"
#include "page/PageSession.h"

struct FeedOptions {
    std::string baseUrl;      // the site's address for this run; empty: from the registry
    std::time_t buildTime{};  // the time of this build; 0: now
    // A page outside the document map is taken to be served from its folder
    // at baseUrl, when one is given.
    bool folderAtBaseUrl = false;
};

// The file name of a page's default feed: the page's with ".atom" in place of
// its extension, in the same folder.
std::string DefaultFeedFile(const std::string& pagePath);

// What a feed step did.
enum class FeedOutcome {
    kNoLink,     // the page links no feed: nothing written
    kElsewhere,  // the link names another host or no local file: nothing written
    kNoUrl,      // the page is outside the document map: nothing written
    kOutside,    // the link leads outside the document tree: refused, nothing written
    kPlaced,     // the link names the local file `file` (LocateFeed only)
    kWritten,    // the feed file now holds the feed
    kFailed      // the feed could not be written; the old file stays
};

struct FeedResult {
    FeedOutcome outcome = FeedOutcome::kNoLink;
    std::string file;    // the feed file, when the link names one
    int error = 0;       // errno of a failure
    std::string detail;  // the registry's failure, when it could not be read
};

// Where the feed link `href` of the page at `pagePath` leads: kPlaced with
// the file, or kElsewhere, kNoUrl or kOutside; kFailed (with the detail)
// when the registry cannot be read.
FeedResult LocateFeed(const std::string& pagePath, const std::string& href,
                      const FeedOptions& options);

// The feed text for the entries of the page `session` holds, as if it
// were the file the page links (or its default feed file). Nothing when the
// page has no URL, its link leads outside the document tree or the registry
// cannot be read (`*why` then tells which).
std::optional<std::string> FeedTextFor(const PageSession& session, const FeedOptions& options,
                                       FeedResult* why);

// Writes the feed for the entries `session` holds to `file` (as LocateFeed
// placed it), through a file replacement; the old file stays when this fails.
FeedResult WriteFeedFile(const PageSession& session, const std::string& file,
                         const FeedOptions& options);

// Writes the feed file the page of `session` links (by the head of its last
// read), through a file replacement. Call it after the page was written and
// while the session still holds the page's lock. Entries with a date that
// names no day keep the `updated` of the file's previous contents.
FeedResult WriteLinkedFeed(const PageSession& session, const FeedOptions& options);
