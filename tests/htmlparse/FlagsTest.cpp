// Line ends directly after tags become layout flags, except where the tree
// writer would not put them back; comments and doctypes carry theirs too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParseHelpers.h"

using parsetest::ExpectOutlines;

TEST(Flags, LineEndsAfterTags) {
    ExpectOutlines({
        {"<div>\n<span>x</span>\n</div>\n", "DIV/s/e{SPAN/e{\"x\"}}"},
        {"<br>\n<hr>\nx", "BR/s HR/s \"x\""},
        // Only the first line end is taken.
        {"<div>\n\n  x</div>\n\n", "DIV/s/e{\"\n  x\"} \"\n\""},
        // Every end tag the page had is written back, P and LI too: the line
        // end after it is a flag. After one that closed nothing it is text.
        {"<p>a</p>\n<ul><li>b</li>\n</ul>", "P/e{\"a\"} UL{LI/e{\"b\"}}"},
        {"<p>a</p></li>\nb", "P{\"a\"} </li> \"\nb\""},
        {"x</br>\ny</img>\n", "\"x\" </br> \"\ny\" </img> \"\n\""},
        // Inside PRE, line ends after end tags are content.
        {"<pre>\n<b>a</b>\n<i>b</i>\n</pre>\nx", "PRE/s/e{B{\"a\"} \"\n\" I{\"b\"} \"\n\"} \"x\""},
        {"<pre><pre>a</pre>\n</pre>\n", "PRE/e{PRE{\"a\"} \"\n\"}"},
        {"<!DOCTYPE html>\n<!-- a -->\n<!--b-->x", "<!DOCTYPE html>/e <!-- a-->/e <!--b--> \"x\""},
        {"<script>\nx\n</script>\n", "SCRIPT/s/e{\"x\n\"/r}"},
        // A lone CR is a line end, as CRLF is (see the encoding tests).
        {"<div>\r<p>a\rb", "DIV/s{P{\"a\nb\"}}"},
    });
}

namespace {

// The elements whose own end tag closed them, in document order.
std::string ClosedByEndTag(std::string_view page) {
    parsetest::Tree root = parsetest::ParseTree(page);
    std::string names;
    for (const block* node : parsetest::NodesInOrder(root.get())) {
        if (node->flags & BF_END_TAG)
            names += std::string(names.empty() ? "" : " ") + HTMLElementName(node->tag);
    }
    return names;
}

}  // namespace

TEST(Flags, EndTagsThatStoodInThePage) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<p>a<p>b</p>", "P"},
        {"<b><i>x</b> y</i>", "B"},
        {"<ul><li>a<li>b</ul>", "UL"},
        {"<table><tr><td>a</table>", "TABLE"},
        {"<div><span>a</div>", "DIV"},
        {"<script>x</script><title>t</title><textarea>u</TEXTAREA >", "SCRIPT TITLE TEXTAREA"},
        {"<svg><circle/></svg>", "SVG"},
        {"<p>open to the end", ""},
    };
    for (auto [page, names] : cases) EXPECT_EQ(ClosedByEndTag(page), names) << "page: " << page;
}
