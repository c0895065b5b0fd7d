// Where a page and its feed live: URL paths through the web server's
// document map, and the local file a feed link names.
#pragma once

#include <optional>
#include <string>

// The URL path of the local file `path` under the document map: the longest
// mapped directory that holds it, its URL prefix and the rest of the path.
// A file outside every mapped directory gets "/" and its name.
std::string UrlPathOfFile(const std::string& path);

// The local file the feed link `href` of the page `pagePath` names: a
// relative reference in the page's folder, an absolute path through the
// document map. Nothing for a reference to another host, an empty one, or an
// absolute path no mapping covers.
std::optional<std::string> LocalFeedFile(const std::string& pagePath, const std::string& href);

// The host name the feed's author and tag ids are named after: the host
// part of the administrator's address `adminEmail`, else the machine's name.
std::string FeedHost(const std::string& adminEmail);
