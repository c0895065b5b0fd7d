// The one lookup of the document map: of several paths (mapped directories,
// or URL prefixes), the one that holds a given path most closely. The link
// chooser, the feed's URLs and the file dialog's start folder all use it, so
// a page, its link and its feed agree on where a file lies.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Where `path` lies below one of the holders.
struct Holding {
    std::size_t index = 0;  // the holder's position in the list given
    std::string rest;       // the path below it, without a leading slash ("" for the holder itself)
};

// Of `holders` ("/"-separated, without a trailing slash except the root "/";
// "" counts as the root), the longest one that is `path` or one of its
// folders, with the rest of `path` below it; the first of equal holders,
// as the map lists them. Nothing when none holds it. Paths are compared segment by segment
// as written: the caller gives both in one form.
std::optional<Holding> LongestHolder(const std::vector<std::string>& holders,
                                     const std::string& path);
