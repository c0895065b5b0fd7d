// The walk over the document tree that fills the link chooser's directory list.
//
// Each mapped directory and every directory below it becomes one item: its
// URL path and its absolute path. The walk is depth first; a directory's own
// item comes before those of its sub-directories, which follow in the order
// the system lists them. Names beginning with '.' are left out together with
// everything below them. A directory that cannot be entered is left out with
// its subtree, silently.
//
// The walk reads directories through open handles and opens each child
// relative to its parent, so it neither uses nor changes the process's
// current directory and no path length limit applies below a mapped
// directory. Each directory (by device and inode) is entered once, however
// many links lead to it, so every tree ends and the work grows with the
// number of directories. The real tree is walked first; symbolic links to
// directories are followed after it, in the order of their paths. A way to a
// directory already entered (a link, a loop, a second mount) is listed as an
// item of its own and not entered again, so its sub-directories appear only
// under the way that entered it. Neither the depth of a tree nor the length
// of its paths is limited.
#pragma once

#include <string>
#include <vector>

class DocMapEntry;

struct DirectoryItem {
    // The URL path: the entry's prefix and the path below the entry's
    // directory joined by exactly one slash, every backslash made a slash.
    std::string url;
    // The absolute path in the system's form ('/' separators, no doubled
    // slashes); a relative mapped directory is taken from the current
    // directory at the time of the walk.
    std::string path;
};

// The URL of a directory `below` (a '/'-separated path, "" for the mapped
// directory itself) under `prefix`: the two joined by exactly one slash,
// every backslash made a slash.
std::string DirectoryUrl(const std::string& prefix, const std::string& below);

// Appends the items of `directory` and everything below it, listed under
// `urlPrefix`. Backslashes in `directory` are separators. Nothing is appended
// when `directory` cannot be opened. The path of every directory below it that
// exists but cannot be entered is appended to `unreadable`, when given.
void WalkDirectory(const std::string& directory, const std::string& urlPrefix,
                   std::vector<DirectoryItem>* items,
                   std::vector<std::string>* unreadable = nullptr);

// The items of every entry of a list read by ReadDocMap, entry after entry in
// list order. Each entry is walked on its own: directories shared by
// overlapping entries appear once per entry, each under that entry's URL. An empty map gives no
// items. `unreadable` as for WalkDirectory.
std::vector<DirectoryItem> WalkDocMap(const DocMapEntry& head,
                                      std::vector<std::string>* unreadable = nullptr);
