// Helpers for the parser tests: parse bytes, and describe a tree as compact
// text so that a whole shape can be compared at once.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "htmlparse.h"

namespace parsetest {

// A parsed tree, released with HTMLFreeTree when it goes out of scope.
using Tree = std::unique_ptr<block, void (*)(block*)>;

// Parses `bytes` as a page; HTMLGetPageInfo then describes it.
Tree ParseTree(std::string_view bytes);

// Describes the children of `parent`, separated by blanks: elements as
// NAME[attributes]{children} (unknown elements by their text), attributes as
// written with their quoting, TEXT as "text", comments as <!--text-->, doctypes
// as <!DOCTYPE text>. Flags follow a node: "/s" line end after the start tag,
// "/e" after the end, "/r" raw text. A child whose parent link is wrong, or a
// TEXT node whose tag is not HTML_TEXT, fails the calling test.
std::string Outline(const block* parent);

// The outline of the top-level nodes of `bytes` parsed as a page.
std::string OutlineOf(std::string_view bytes);

// Checks the outline of each page (first) against the expected one (second).
void ExpectOutlines(std::initializer_list<std::pair<std::string_view, std::string_view>> cases);

// The nodes below `root` in tree order, gathered without recursion. A node
// whose parent link is wrong fails the calling test.
std::vector<const block*> NodesInOrder(const block* root);

// The number of nodes below `root`, counted without recursion. A node whose
// kind is unknown, or that lacks its text (TEXT, comment, doctype, element),
// fails the calling test, as one NodesInOrder fails.
std::size_t CountNodes(const block* root);

}  // namespace parsetest
