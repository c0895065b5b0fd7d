// URL references as the feed needs them: told apart, resolved against the
// page's URL path, and made absolute against the site's address.
#pragma once

#include <string>

// True when `reference` starts with a scheme ("https:", "mailto:") or with
// "//": it names its own host.
bool HasOwnHost(const std::string& reference);

// `reference` resolved against the URL path `base` ("/news/index.html"): one
// with its own host as it is, an absolute path as it is, a query or fragment
// on the base path, anything else in the base path's folder. Dot segments
// are left for readers to remove.
std::string ResolveReference(const std::string& base, const std::string& reference);

// `reference` (already resolved) on the site `siteUrl` ("https://example.org",
// no trailing slash): an absolute path gets the site in front, anything else
// is kept. An empty site keeps everything.
std::string OnSite(const std::string& siteUrl, const std::string& reference);

// `siteUrl` without the slashes it ends in.
std::string TrimSiteUrl(std::string siteUrl);

// The path of a URL reference: what comes before "?" or "#", with %XX
// escapes decoded.
std::string ReferencePath(const std::string& reference);
