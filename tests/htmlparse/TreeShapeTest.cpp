// The tree keeps the page's structure: nothing invented or moved, implied
// ends where HTML implies them, end tags matched to what is open.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::ParsedPage;

TEST(TreeShape, NothingIsInvented) {
    EXPECT_EQ(ParsedPage("<title>t</title><h1>x</h1>").outline(), "TITLE{\"t\"} H1{\"x\"}");
    EXPECT_EQ(ParsedPage("").outline(), "");
}

TEST(TreeShape, HeadEndsWhereBodyContentStarts) {
    EXPECT_EQ(ParsedPage("<html><head><title>t</title><meta a=b><body>x</body></html>").outline(),
              "HTML{HEAD{TITLE{\"t\"} META} BODY{\"x\"}}");
    EXPECT_EQ(ParsedPage("<html><head><title>t</title>text</html>").outline(),
              "HTML{HEAD{TITLE{\"t\"}} \"text\"}");
}

TEST(TreeShape, VoidElementsTakeNoChildren) {
    EXPECT_EQ(ParsedPage("<p><img src=a>x<br>y<hr><input>z").outline(),
              "P{IMG \"x\" BR \"y\"} HR INPUT \"z\"");
}

TEST(TreeShape, ParagraphsCloseAtBlockStart) {
    EXPECT_EQ(ParsedPage("<p>a<p>b<div>c</div><p>d<ul><li>e</ul>").outline(),
              "P{\"a\"} P{\"b\"} DIV{\"c\"} P{\"d\"} UL{LI{\"e\"}}");
    EXPECT_EQ(ParsedPage("<p>a<span>b<h1>c</h1>").outline(), "P{\"a\" SPAN{\"b\"}} H1{\"c\"}");
    // A button bounds the search for the open P.
    EXPECT_EQ(ParsedPage("<p><button><div>x</div></button>").outline(), "P{BUTTON{DIV{\"x\"}}}");
}

TEST(TreeShape, ListItemsTermsAndOptionsCloseTheirSiblings) {
    EXPECT_EQ(ParsedPage("<ul><li>a<li>b<ul><li>c</ul><li>d</ul>").outline(),
              "UL{LI{\"a\"} LI{\"b\" UL{LI{\"c\"}}} LI{\"d\"}}");
    EXPECT_EQ(ParsedPage("<dl><dt>a<dd>b<p>c<dt>d</dl>").outline(),
              "DL{DT{\"a\"} DD{\"b\" P{\"c\"}} DT{\"d\"}}");
    EXPECT_EQ(ParsedPage("<select><option>a<option>b<optgroup><option>c</select>").outline(),
              "SELECT{OPTION{\"a\"} OPTION{\"b\"} OPTGROUP{OPTION{\"c\"}}}");
    // A DIV does not shelter an open LI from the next one; a BLOCKQUOTE does.
    EXPECT_EQ(ParsedPage("<li>a<div><li>b</div>").outline(), "LI{\"a\" DIV} LI{\"b\"}");
    EXPECT_EQ(ParsedPage("<li>a<blockquote><li>b</blockquote>").outline(),
              "LI{\"a\" BLOCKQUOTE{LI{\"b\"}}}");
}

TEST(TreeShape, TableRowsCellsAndSections) {
    EXPECT_EQ(ParsedPage("<table><tr><td>a<td>b<tr><th>c</table>").outline(),
              "TABLE{TR{TD{\"a\"} TD{\"b\"}} TR{TH{\"c\"}}}");
    EXPECT_EQ(ParsedPage("<table><thead><tr><td>a<tbody><tr><td>b</table>").outline(),
              "TABLE{THEAD{TR{TD{\"a\"}}} TBODY{TR{TD{\"b\"}}}}");
    // A nested table's cells do not close the outer cell.
    EXPECT_EQ(ParsedPage("<table><tr><td><table><tr><td>x</table>y<td>z</table>").outline(),
              "TABLE{TR{TD{TABLE{TR{TD{\"x\"}}} \"y\"} TD{\"z\"}}}");
}

TEST(TreeShape, EndTagsCloseUpToTheirNearestOpenMatch) {
    EXPECT_EQ(ParsedPage("<div><b><i>x</div>y").outline(), "DIV{B{I{\"x\"}}} \"y\"");
    EXPECT_EQ(ParsedPage("<b>x</i>y</b>").outline(), "B{\"x\" \"y\"}");
    EXPECT_EQ(ParsedPage("<x-a><x-b>1</X-A>2").outline(), "<x-a{<x-b{\"1\"}} \"2\"");
    // A stray end tag inside a table cell does not tear the table apart.
    EXPECT_EQ(ParsedPage("<div><table><tr><td>a</div>b</td></tr></table></div>").outline(),
              "DIV{TABLE{TR{TD{\"a\" \"b\"}}}}");
}

TEST(TreeShape, StrayParagraphAndBreakEndTags) {
    EXPECT_EQ(ParsedPage("a</p>b</br>c").outline(), "\"a\" P \"b\" BR \"c\"");
    // Placed where their start tags would go: after HEAD, not in it.
    EXPECT_EQ(ParsedPage("<head></p>").outline(), "HEAD P");
}

TEST(TreeShape, NestedAnchorsCloseTheOuterOne) {
    EXPECT_EQ(ParsedPage("<a href=1>x<a href=2>y</a>").outline(), "A{\"x\"} A{\"y\"}");
}

TEST(TreeShape, ParentLinksAndOpenElementsAtTheEnd) {
    ParsedPage page("<html><body><div><p>x");
    const block* html = Child(page.root(), 0);
    const block* text = html->first_child->first_child->first_child->first_child;
    EXPECT_STREQ(text->text, "x");
    EXPECT_EQ(text->parent->tag, HTML_P);
    EXPECT_EQ(text->parent->parent->parent->parent, html);
    EXPECT_EQ(html->parent, page.root());
    EXPECT_EQ(page.root()->parent, nullptr);
    EXPECT_EQ(text->tag, HTML_TEXT);
}
