// Tags, attributes, comments, doctypes and raw text as the tokenizer reads them.
#include <gtest/gtest.h>

#include <cstring>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::ParsedPage;

TEST(Tokenizing, NamesInEitherLetterCase) {
    ParsedPage page("<DiV><sPaN>x</SpAn></div>");
    EXPECT_EQ(page.outline(), "DIV{SPAN{\"x\"}}");
}

TEST(Tokenizing, AttributesKeepNameCaseValueAndQuoting) {
    ParsedPage page("<a HREF=\"x&amp;y\" title='it' data-n=3 hidden Href=second>t</a>");
    const block* anchor = Child(page.root(), 0);
    const AttrRec* attr = anchor->attrs;
    ASSERT_NE(attr, nullptr);
    EXPECT_STREQ(attr->name, "HREF");
    EXPECT_STREQ(attr->value, "x&amp;y");  // stored as written, not decoded
    EXPECT_EQ(attr->flags, AF_DOUBLE_QUOTED);
    EXPECT_EQ(attr->attr, HTML_ATTR_HREF);
    attr = attr->next;
    EXPECT_STREQ(attr->value, "it");
    EXPECT_EQ(attr->flags, AF_SINGLE_QUOTED);
    attr = attr->next;
    EXPECT_STREQ(attr->name, "data-n");
    EXPECT_STREQ(attr->value, "3");
    EXPECT_EQ(attr->flags, 0u);
    attr = attr->next;
    EXPECT_STREQ(attr->name, "hidden");
    EXPECT_EQ(attr->value, nullptr);
    attr = attr->next;  // duplicates are kept
    EXPECT_STREQ(attr->name, "Href");
    EXPECT_EQ(attr->attr, HTML_ATTR_HREF);
    EXPECT_EQ(attr->next, nullptr);
}

TEST(Tokenizing, AttributeSpellingsOfTheFreshPage) {
    ParsedPage page("<A HREF =\"u\">a</A><a href= 'v' >b</a><p x=>c");
    EXPECT_STREQ(HTMLGetAttr(Child(page.root(), 0), "href"), "u");
    EXPECT_STREQ(HTMLGetAttr(Child(page.root(), 1), "HREF"), "v");
    const AttrRec* empty = Child(page.root(), 2)->attrs;
    EXPECT_STREQ(empty->name, "x");
    EXPECT_STREQ(empty->value, "");
    EXPECT_EQ(page.outline(), "A{\"a\"} A{\"b\"} P{\"c\"}");
}

TEST(Tokenizing, AttributesAfterQuotesAndSlashes) {
    ParsedPage page("<img src=\"a.gif\"alt=x / width=2>");
    const AttrRec* attr = Child(page.root(), 0)->attrs;
    EXPECT_STREQ(attr->name, "src");
    EXPECT_STREQ(attr->next->name, "alt");
    EXPECT_STREQ(attr->next->next->name, "width");
    EXPECT_STREQ(attr->next->next->value, "2");
}

TEST(Tokenizing, Comments) {
    EXPECT_EQ(ParsedPage("<!-- a -->").outline(), "<!-- a-->");
    EXPECT_EQ(ParsedPage("<!--a-->").outline(), "<!--a-->");
    EXPECT_EQ(ParsedPage("<!--  two -->").outline(), "<!--  two-->");
    EXPECT_EQ(ParsedPage("<!-->x").outline(), "<!----> \"x\"");
    EXPECT_EQ(ParsedPage("<!--->x").outline(), "<!----> \"x\"");
    EXPECT_EQ(ParsedPage("<!-- a <b> -- c --!>d").outline(), "<!-- a <b> -- c--> \"d\"");
    EXPECT_EQ(ParsedPage("<p>x<!-- open to the end <b>").outline(),
              "P{\"x\" <!-- open to the end <b>-->}");
}

TEST(Tokenizing, DoctypeAndBogusComments) {
    EXPECT_EQ(ParsedPage("<!DOCTYPE html>").outline(), "<!DOCTYPE html>");
    EXPECT_EQ(ParsedPage("<!doctype HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">").outline(),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">");
    EXPECT_EQ(ParsedPage("<?xml version=\"1.0\"?><p>").outline(), "<!--?xml version=\"1.0\"?--> P");
    EXPECT_EQ(ParsedPage("<![CDATA[x]>y").outline(), "<!--[CDATA[x]--> \"y\"");
    EXPECT_EQ(ParsedPage("a</>b</ 3>c").outline(), "\"a\" \"b\" <!-- 3--> \"c\"");
}

TEST(Tokenizing, LessThanThatStartsNoTagIsText) {
    ParsedPage page("<p>a < b <3 <</p>");
    EXPECT_EQ(page.outline(), "P{\"a < b <3 <\"}");
}

TEST(Tokenizing, RawTextElementsKeepTheirContentByteForByte) {
    ParsedPage page(
        "<script>if (a<b && c) document.write(\"</p>&amp;\");</script>"
        "<style>p>a{}</STYLE >"
        "<xmp><b>&lt;</xmp>"
        "<script>var s = '</scripty>';</script>");
    const block* script = Child(page.root(), 0);
    EXPECT_STREQ(script->first_child->text, "if (a<b && c) document.write(\"</p>&amp;\");");
    EXPECT_EQ(script->first_child->flags, BF_RAW_TEXT);
    EXPECT_STREQ(Child(page.root(), 1)->first_child->text, "p>a{}");
    EXPECT_STREQ(Child(page.root(), 2)->first_child->text, "<b>&lt;");
    EXPECT_STREQ(Child(page.root(), 3)->first_child->text, "var s = '</scripty>';");
    EXPECT_EQ(Child(page.root(), 4), nullptr);
}

TEST(Tokenizing, RawTextWithoutEndTagRunsToTheEnd) {
    ParsedPage page("<script>a</scrip");
    EXPECT_EQ(page.outline(), "SCRIPT{\"a</scrip\"}");
    EXPECT_EQ(ParsedPage("<style></style>").outline(), "STYLE");
}

TEST(Tokenizing, UnknownElementsKeepTheirNameAsWritten) {
    ParsedPage page("<My-Widget a=1>x</my-widget>y");
    const block* widget = Child(page.root(), 0);
    EXPECT_EQ(widget->tag, HTML_UNKNOWN);
    EXPECT_STREQ(widget->text, "<My-Widget");
    EXPECT_EQ(page.outline(), "<My-Widget{\"x\"} \"y\"");
}

TEST(Tokenizing, SelfClosingSlashOnlyWhereBrowsersHonourIt) {
    EXPECT_EQ(ParsedPage("<div/>x</div>").outline(), "DIV{\"x\"}");
    EXPECT_EQ(ParsedPage("<x-icon/>x").outline(), "<x-icon \"x\"");
    EXPECT_EQ(ParsedPage("<svg><circle r=\"1\"/><path/></svg>x").outline(),
              "SVG{<circle <path} \"x\"");
    // An unquoted value takes the slash: r is "1/" and the tag stays open.
    EXPECT_STREQ(Child(ParsedPage("<x-y r=1/>").root(), 0)->attrs->value, "1/");
    EXPECT_EQ(ParsedPage("<br/>x").outline(), "BR \"x\"");
}

TEST(Tokenizing, TagCutOffAtTheEndIsKeptAsText) {
    EXPECT_EQ(ParsedPage("<p>x<a href=\"y").outline(), "P{\"x<a href=\"y\"}");
    EXPECT_EQ(ParsedPage("x<div").outline(), "\"x<div\"");
    EXPECT_EQ(ParsedPage("<b>x</b").outline(), "B{\"x</b\"}");
}
