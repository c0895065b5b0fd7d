// Splicing a page: its own bytes copied as they are, with a few ranges of
// them replaced by bytes the program made.
//
// This is how every change reaches an existing page. The program owns only
// what it replaces (the generated section, or the feed link it adds or
// removes); everything else, every byte of markup, white space, character
// references, undecodable bytes and line ends, is copied from the page's
// file unchanged, so a `diff` of the page shows only the replaced ranges.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A range of the page's bytes, offsets from the page's first byte.
struct ByteRange {
    uint64_t begin = 0;
    uint64_t end = 0;  // the byte after the last; `begin` for an empty range (an insertion)
};

// Replaces `range` of the page by `bytes`, which are already in the page's
// encoding and line ends.
struct PageSplice {
    ByteRange range;
    std::string bytes;
    // The page's line end, for a splice that stands on a line of its own;
    // empty for one that does not. An insertion (`bytes` not empty) gets it
    // after `bytes` where the page is at the start of a line, and before them
    // elsewhere. A removal (`bytes` empty) takes one line end beside the
    // range with it: the one after it when a line end (or the page's start)
    // stands before it too, else the one before it. So a removal undoes the
    // insertion of the same bytes exactly.
    std::string lineEnd;
};

// Copies `source` (open for reading, from offset 0) to `out`, each splice's
// range replaced by its bytes. The splices are in page order and do not
// overlap. False when a read or a write failed, or when the source ended
// before a splice's range did (it changed since it was read): `*readError`
// is then the errno value of a failed read (EIO for a page that got
// shorter), or 0 when writing to `out` failed.
bool CopyWithSplices(FILE* source, FILE* out, const std::vector<PageSplice>& splices,
                     int* readError);
