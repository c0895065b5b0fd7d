// The feed of a Tavrel page: its text for the page's entries, and the write
// of the feed file the page links, done after the page is built.
//
// The site's address comes from FeedOptions::baseUrl, else the value
// "SiteURL" of the web server's key in this machine's registry; without
// one, links to the page and the feed are URL paths that readers resolve
// against the feed's own address. The author is the "ServerAdmin" address
// (as email, with its host as name), or the machine's host name alone.
#pragma once

#include <ctime>
#include <string>

#include "page/PageSession.h"

struct FeedOptions {
    std::string baseUrl;      // the site's address for this run; empty: from the registry
    std::time_t buildTime{};  // the time of this build; 0: now
};

// The file name of a page's default feed: the page's with ".atom" in place of
// its extension, in the same folder.
std::string DefaultFeedFile(const std::string& pagePath);

// The feed text for the entries `session` holds (the item list), as if the
// feed were the file `feedFile`.
std::string FeedTextFor(const PageSession& session, const std::string& feedFile,
                        const FeedOptions& options);

// What WriteLinkedFeed did.
enum class FeedOutcome {
    kNoLink,     // the page links no feed: nothing written
    kElsewhere,  // the link names another host or no local file: nothing written
    kWritten,    // the feed file now holds the feed
    kFailed      // the feed could not be written; the old file stays
};

struct FeedResult {
    FeedOutcome outcome = FeedOutcome::kNoLink;
    std::string file;  // the feed file, when the link names one
    int error = 0;     // errno of a failure
};

// Writes the feed for the entries `session` holds to `file`, through a file
// replacement; the old file stays when this fails.
FeedResult WriteFeedFile(const PageSession& session, const std::string& file,
                         const FeedOptions& options);

// Writes the feed file the page of `session` links (by the head of its last
// read), through a file replacement. Call it after the page was written and
// while the session still holds the page's lock. Entries with a date that
// names no day keep the `updated` of the file's previous contents.
FeedResult WriteLinkedFeed(const PageSession& session, const FeedOptions& options);
