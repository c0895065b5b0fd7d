// The steps every page subcommand takes: refusals on standard error, opening
// the page through its session, and building it (page, then linked feed).
// Each returns 0 or the exit code to end with, the reason already written.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "feed/PageFeed.h"
#include "page/PageSession.h"

// Writes "CAPTION: MESSAGE" (with the system's reason, for a failure).
int Refuse(const std::string& caption, const char* message);
int Refuse(const std::string& caption, const SessionFailure& failure);

// Tests the path and opens the page in `session`, keeping the lock for a
// command that writes.
int OpenPage(const std::string& page, PageSession* session, const PageOptions& options,
             bool forWriting);

// Refuses to drop `unread`, what the list holds beyond its entries, unless
// forced.
int RefuseDrops(const std::string& page, const std::vector<std::string>& unread,
                const PageOptions& options);

// Says what a feed write did when it was not the plain success: a link to no
// local file is named (exit 0); a failed write, a page without a URL and a
// link that leads outside the document tree are reported (exit 1).
int ReportFeed(const std::string& page, const FeedResult& result);

// Tests the path, then reads and writes the page in one pass through the
// session: `edit` changes the page's entries once they are read (false:
// refused, having said why), what rebuilding the section would drop is
// refused unless forced; then writes the feed the page links, still under
// the page's lock.
int EditPage(const std::string& page, PageSession* session, const PageOptions& options,
             const std::function<bool(ItemList& entries)>& edit);
