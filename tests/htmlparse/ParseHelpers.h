// Helpers for the parser tests: parse a string, find nodes, and describe a
// tree as compact text so that a whole shape can be compared at once.
#pragma once

#include <string>
#include <string_view>

#include "htmlparse.h"

namespace parsetest {

// Owns a parsed tree; released with HTMLFreeTree.
class ParsedPage {
  public:
    explicit ParsedPage(std::string_view bytes);
    ~ParsedPage();
    ParsedPage(const ParsedPage&) = delete;
    ParsedPage& operator=(const ParsedPage&) = delete;

    block* root() const { return root_; }
    const HTMLPageInfo& info() const { return info_; }
    // The top-level nodes described by Outline.
    std::string outline() const;

  private:
    block* root_;
    HTMLPageInfo info_{};
};

// Describes `node` and its following siblings: elements as NAME{children},
// unknown elements by their text, TEXT as "text", comments as <!--text-->,
// doctypes as <!DOCTYPE text>, separated by blanks. Layout flags are shown
// after a name or comment: "/s" for a line end after the start tag, "/e"
// after the end.
std::string Outline(const block* node);

// The `index`th child of `node` (0 is the first), or null.
block* Child(const block* node, int index);

// The first node in document order below `node` with element code `code`.
block* FindFirst(const block* node, int code);

}  // namespace parsetest
