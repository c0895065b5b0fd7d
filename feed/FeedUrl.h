// URL references as the feed needs them: told apart, resolved against the
// page's URL path, and made absolute against the site's address.
#pragma once

#include <optional>
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

// The URL path the reference `reference` (without a host of its own) names
// when read on a page at the URL path `base`, as a browser reads it: "?" or
// "#" ends the path, "\" is "/", and dot segments are removed (RFC 3986,
// with "%2e" read as "."), ".." above the root staying at the root. Percent
// escapes stay as written. Nothing when a segment's escapes would decode
// into a separator ("%2f", "%5c") or a NUL.
std::optional<std::string> ResolveUrlPath(const std::string& base, const std::string& reference);

// `urlPath` (as ResolveUrlPath gives it) with its %XX escapes decoded.
std::string DecodedPath(const std::string& urlPath);
