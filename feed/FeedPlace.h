// Where a page and its feed live: URL paths through the web server's
// document map, and the local file a feed link names.
//
// A feed link is resolved as a browser resolves it against the page's URL,
// then mapped to a file: the page, whoever may edit it, must not choose a
// file outside the document tree. The link's dot segments are removed
// (RFC 3986; "%2e" counts as a dot, "\" as "/", as browsers read them) and
// ".." above the root stays at the root. Percent escapes are decoded only
// within a segment: one that would decode into a separator or NUL names no
// file. The resolved path is mapped through the longest URL prefix that
// holds it, and the file's folder (and the file, when it is a symbolic link)
// must lie inside that prefix's directory once links are followed.
#pragma once

#include <optional>
#include <string>
#include <vector>

// One URL prefix ("" for the root, no trailing slash) and the directory it
// maps to, with its links resolved.
struct UrlMapping {
    std::string prefix;
    std::string folder;
};

// The URL space a page lives in.
using UrlSpace = std::vector<UrlMapping>;

// Puts the web server's document map into `*space` as a URL space (empty
// when there is none). False when the registry cannot be read
// (RegGetLastFailure says why).
bool DocumentSpace(UrlSpace* space);

// The space of one folder served as the root of its own site: for a page
// outside the document map whose address the user gave.
UrlSpace FolderSpace(const std::string& folder);

// The URL path of the local file `path` (which need not exist; its folder
// must) in `space`: the longest mapped directory that holds it, its prefix
// and the rest of the path. Nothing when no mapped directory holds it: the
// file has no known URL.
std::optional<std::string> UrlPathIn(const UrlSpace& space, const std::string& path);

// Where a feed link leads.
struct FeedPlace {
    enum Kind {
        kFile,       // the local file `file`
        kElsewhere,  // another host, or no file name: nothing to write
        kOutside     // outside every mapped directory: refused
    };
    Kind kind = kElsewhere;
    std::string file;
};

// Where the feed link `href` of the page at URL path `pageUrlPath` leads in
// `space`.
FeedPlace FeedPlaceIn(const UrlSpace& space, const std::string& pageUrlPath,
                      const std::string& href);

// The host name the feed's author and tag ids are named after: the host
// part of the administrator's address `adminEmail`, else the machine's name.
std::string FeedHost(const std::string& adminEmail);
