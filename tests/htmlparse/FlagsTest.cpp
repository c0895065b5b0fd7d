// Line ends directly after tags become layout flags, except where the tree
// writer would not put them back; comments and doctypes carry theirs too.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

using parsetest::ParsedPage;

TEST(Flags, LineEndAfterTagsBecomesAFlag) {
    EXPECT_EQ(ParsedPage("<div>\n<span>x</span>\n</div>\n").outline(), "DIV/s/e{SPAN/e{\"x\"}}");
    EXPECT_EQ(ParsedPage("<br>\n<hr>\nx").outline(), "BR/s HR/s \"x\"");
}

TEST(Flags, OnlyTheFirstLineEndIsTaken) {
    EXPECT_EQ(ParsedPage("<div>\n\n  x</div>\n\n").outline(), "DIV/s/e{\"\n  x\"} \"\n\"");
}

TEST(Flags, LineEndAfterOmittedEndTagsStaysText) {
    EXPECT_EQ(ParsedPage("<p>a</p>\n<ul><li>b</li>\n</ul>").outline(),
              "P{\"a\"} \"\n\" UL{LI{\"b\"} \"\n\"}");
    EXPECT_EQ(ParsedPage("x</br>\ny</img>\n").outline(), "\"x\" BR \"\ny\" \"\n\"");
}

TEST(Flags, InsidePreEndTagsKeepTheirLineEndsAsText) {
    EXPECT_EQ(ParsedPage("<pre>\n<b>a</b>\n<i>b</i>\n</pre>\nx").outline(),
              "PRE/s/e{B{\"a\"} \"\n\" I{\"b\"} \"\n\"} \"x\"");
    EXPECT_EQ(ParsedPage("<pre><pre>a</pre>\n</pre>\n").outline(), "PRE/e{PRE{\"a\"} \"\n\"}");
}

TEST(Flags, CommentsAndDoctypesRecordTheLineEndAfterThem) {
    EXPECT_EQ(ParsedPage("<!DOCTYPE html>\n<!-- a -->\n<!--b-->x").outline(),
              "<!DOCTYPE html>/e <!-- a-->/e <!--b--> \"x\"");
}

TEST(Flags, LineEndAfterRawTextStartTag) {
    EXPECT_EQ(ParsedPage("<script>\nx\n</script>\n").outline(), "SCRIPT/s/e{\"x\n\"}");
}

TEST(Flags, CarriageReturnLineEndsAreReadAsLineFeeds) {
    ParsedPage page("<div>\r\n<p>a\r\nb</p>\r\n</div>\r\n");
    EXPECT_EQ(page.outline(), "DIV/s/e{P{\"a\nb\"} \"\n\"}");
    EXPECT_EQ(page.info().crlf, 1);
    EXPECT_EQ(ParsedPage("<div>\na\r\n</div>\n").info().crlf, 0);
    EXPECT_EQ(ParsedPage("a\rb").outline(), "\"a\rb\"");  // a lone CR is kept
}
