// Where parsed nodes stood in the page's bytes, whatever the page's encoding
// and line ends: every element begins at its "<" and its end tag at "</",
// and the text between two nodes is the page's own.
#include <gtest/gtest.h>

#include <string>

#include "ParseHelpers.h"

namespace {

using parsetest::ParseTree;

// The bytes of one ASCII character in the page: two for UTF-16LE.
std::string Ascii(char c, bool utf16) { return utf16 ? std::string{c, '\0'} : std::string(1, c); }

void ExpectSpansPointAtTags(const std::string& page, bool utf16) {
    parsetest::Tree root = ParseTree(page);
    HTMLSourceSpan span{};
    EXPECT_EQ(HTMLGetSourceSpan(root.get(), &span), 0);
    int elements = 0;
    for (const block* node : parsetest::NodesInOrder(root.get())) {
        ASSERT_EQ(HTMLGetSourceSpan(node, &span), 1);
        ASSERT_LE(span.begin, span.content_end);
        ASSERT_LE(span.content_end, span.end);
        ASSERT_LE(span.end, page.size());
        if (node->type != BT_ELEMENT) continue;
        ++elements;
        EXPECT_EQ(page.substr(span.begin, Ascii('<', utf16).size()), Ascii('<', utf16));
        if ((node->flags & BF_END_TAG) != 0) {
            EXPECT_EQ(page.substr(span.content_end, 2 * Ascii('<', utf16).size()),
                      Ascii('<', utf16) + Ascii('/', utf16));
            EXPECT_EQ(page.substr(span.end - Ascii('>', utf16).size(), Ascii('>', utf16).size()),
                      Ascii('>', utf16));
        }
    }
    EXPECT_GE(elements, 3) << page;
}

TEST(SourceSpanTest, NodesKnowTheirBytesInEveryEncodingAndLineEnd) {
    const std::string body = "<p>caf\xC3\xA9 &amp; more</p>\n<dl><dt>t<dd>d</dl>\n<!-- c -->";
    ExpectSpansPointAtTags("<html><body>\n" + body + "</body></html>\n", false);
    ExpectSpansPointAtTags("\xEF\xBB\xBF<html>\r\n<body>\r\n<p>a\r\nb</p>\r\n<ul><li>x</ul>\r\n",
                           false);
    ExpectSpansPointAtTags("<html>\r<body>\r<p>a\rb</p>\r<ul><li>x</ul>\r", false);
    ExpectSpansPointAtTags("<p>caf\xE9 \x80\x81</p><p>\x93q\x94</p><b>x</b>", false);
    const char nuls[] = "<p>a\0b</p><p>\0</p><i>\0</i><b>x</b>";
    ExpectSpansPointAtTags(std::string(nuls, sizeof nuls - 1), false);
    ExpectSpansPointAtTags("<meta charset=shift_jis><p>\x93\xfa\x96\x7b \x80\xff</p><b>x</b>",
                           false);
    // A letter that waits for a combining mark, and a shift state.
    ExpectSpansPointAtTags("<meta charset=windows-1258><p>Ha\xEC</p><p>ab\x81</p><b>x</b>", false);
    ExpectSpansPointAtTags("<meta charset=iso-2022-jp><p>\x1B$BF|\x1B(B</p><b>x</b>", false);
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<p>a\r\nb</p><p>\xE9</p><b>x</b>")) utf16 += Ascii(c, true);
    ExpectSpansPointAtTags(utf16, true);
}

}  // namespace
