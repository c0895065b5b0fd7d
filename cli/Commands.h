// The subcommands of the tavrel command, one function each. The command line
// is parsed in main.cpp; each function gets its options checked for form and
// returns the exit code: 0 success, 1 refused or failed (the reason already
// written to standard error), 2 bad usage.
#pragma once

#include <optional>
#include <string>

struct EntryFields {
    std::optional<std::string> date;
    std::optional<std::string> title;
    std::optional<std::string> hyperlink;
    std::optional<std::string> description;
};

// How a page command treats the page.
struct PageOptions {
    // How long to wait for another program to finish with the page; 0: not at all.
    double waitSeconds = 5;
    // Build the page even when its list holds content that rebuilding drops.
    bool force = false;
    // The site's address for this run's feed; empty: the registry's SiteURL.
    std::string baseUrl;
};

// What `tavrel feed` does beside printing the feed.
struct FeedChange {
    // Link a feed from the page: the HREF to link (relative to the page, or
    // an absolute URL path); an empty one links the default feed file.
    std::optional<std::string> enable;
    bool disable = false;  // remove the page's feed link, leave the file
};

// Every field of every command is checked to be UTF-8 before the page is
// read; a field that is not is refused with exit code 1, naming its option.
// `add` without a hyperlink and `change` without any field are usage errors
// (exit code 2).
int RunList(const std::string& page, bool json, const PageOptions& options = {});
int RunAdd(const std::string& page, const EntryFields& fields, const PageOptions& options = {});
int RunChange(const std::string& page, long long index, const EntryFields& fields,
              const PageOptions& options = {});
int RunDelete(const std::string& page, long long index, const PageOptions& options = {});
int RunRebuild(const std::string& page, const PageOptions& options = {});
// Prints the feed of the page's entries; with a change, edits the page's
// feed link instead (and writes the feed when one is linked).
int RunFeed(const std::string& page, const FeedChange& change, const PageOptions& options = {});

// Every command that builds a page also writes the feed file the page links,
// under the page's lock, after the page. A link to another host or to no
// local file is named once on standard error; a feed that cannot be written
// is reported with exit code 1, and the page stays written.

// `machine` empty: this machine's settings (a server configuration or the
// registry, as model/ServerSource.h tells); otherwise the -r machine's hive.
// docmap prints which source it read and where each row comes from.
int RunDocmap(const std::string& machine, bool json);
int RunDirs(const std::string& machine, bool json);
int RunFiles(const std::string& directory, bool json);
// Prints the hyperlink the link chooser composes for `file`; exit code 1,
// with a message, for a file in no directory the chooser lists.
int RunUrl(const std::string& machine, const std::string& file);
