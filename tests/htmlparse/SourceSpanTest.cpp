// Where parsed nodes stood in the page's bytes, whatever the page's encoding
// and line ends: every element begins at its "<" and its end tag at "</",
// and the text between two nodes is the page's own.
#include <gtest/gtest.h>

#include <string>

#include "ParseHelpers.h"

namespace {

using namespace std::string_view_literals;
using parsetest::ParseTree;

// The bytes of `ascii` in the page: two for each character in UTF-16LE.
std::string Bytes(const std::string& ascii, bool utf16) {
    if (!utf16) return ascii;
    std::string bytes;
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
}

void ExpectSpansPointAtTags(const std::string& page, bool utf16 = false) {
    const std::string open = Bytes("<", utf16), close = Bytes("</", utf16), end = Bytes(">", utf16);
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
        EXPECT_EQ(page.substr(span.begin, open.size()), open);
        if ((node->flags & BF_END_TAG) != 0) {
            EXPECT_EQ(page.substr(span.content_end, close.size()), close);
            EXPECT_EQ(page.substr(span.end - end.size(), end.size()), end);
        }
    }
    EXPECT_GE(elements, 3) << page;
}

TEST(SourceSpanTest, NodesKnowTheirBytesInEveryEncodingAndLineEnd) {
    for (std::string_view page :
         {"<html><body>\n<p>caf\xC3\xA9 &amp; more</p>\n<dl><dt>t<dd>d</dl>\n<!-- c -->"
          "</body></html>\n"sv,
          "\xEF\xBB\xBF<html>\r\n<body>\r\n<p>a\r\nb</p>\r\n<ul><li>x</ul>\r\n"sv,
          "<html>\r<body>\r<p>a\rb</p>\r<ul><li>x</ul>\r"sv,
          "<p>caf\xE9 \x80\x81</p><p>\x93q\x94</p><b>x</b>"sv,
          "<p>a\0b</p><p>\0</p><i>\0</i><b>x</b>"sv,
          "<meta charset=shift_jis><p>\x93\xfa\x96\x7b \x80\xff</p><b>x</b>"sv,
          // A letter that waits for a combining mark, and a shift state.
          "<meta charset=windows-1258><p>Ha\xEC</p><p>ab\x81</p><b>x</b>"sv,
          "<meta charset=iso-2022-jp><p>\x1B$BF|\x1B(B</p><b>x</b>"sv}) {
        ExpectSpansPointAtTags(std::string(page));
    }
    ExpectSpansPointAtTags("\xFF\xFE" + Bytes("<p>a\r\nb</p><p>\xE9</p><b>x</b>", true), true);
}

}  // namespace
