// Tags, attributes, comments, doctypes and raw text as the tokenizer reads them.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

using parsetest::ExpectOutlines;
using parsetest::ParseTree;

TEST(Tokenizing, Tags) {
    ExpectOutlines({
        {"<DiV><sPaN>x</SpAn></div>", "DIV{SPAN{\"x\"}}"},
        {"<My-Widget a=1>x</my-widget>y", "<My-Widget[a=1]{\"x\"} \"y\""},
        {"<p>a < b <3 <</p>", "P{\"a < b <3 <\"}"},
        // A trailing slash closes only void elements, unknown and SVG ones.
        {"<div/>x</div>", "DIV{\"x\"}"},
        {"<br/>x", "BR \"x\""},
        {"<x-icon/>x", "<x-icon{\"x\"}"},
        {"<svg><circle r=\"1\"/><path/></svg>x", "SVG{<circle[r=\"1\"] <path} \"x\""},
        // A tag cut off by the end of the page is kept as text.
        {"<p>x<a href=\"y", "P{\"x<a href=\"y\"}"},
        {"<p>x<a href='never closed>", "P{\"x<a href='never closed>\"}"},
        {"x<div", "\"x<div\""},
        {"<b>x</b", "B{\"x</b\"}"},
    });
}

TEST(Tokenizing, AttributesAreKeptAsWritten) {
    ExpectOutlines({
        // References stay undecoded, duplicates are kept.
        {"<a HREF=\"x&amp;y\" title='it' data-n=3 hidden Href=second>t</a>",
         "A[HREF=\"x&amp;y\" title='it' data-n=3 hidden Href=second]{\"t\"}"},
        {"<A HREF =\"u\">a</A><a href= 'v' >b</a><p x=>c",
         "A[HREF=\"u\"]{\"a\"} A[href='v']{\"b\"} P[x=]{\"c\"}"},
        {"<img src=\"a.gif\"alt=x / width=2>", "IMG[src=\"a.gif\" alt=x width=2]"},
        // An unquoted value takes the slash, so the tag stays open.
        {"<x-y r=1/>x", "<x-y[r=1/]{\"x\"}"},
    });
    // HREF gets its code and is found in any letter case.
    auto root = ParseTree("<a name=n HREF>x</a><a Href=\"y\">z</a>");
    const block* first = root->first_child;
    EXPECT_EQ(first->attrs->next->attr, HTML_ATTR_HREF);
    EXPECT_EQ(first->next_sib->attrs->attr, HTML_ATTR_HREF);
    EXPECT_STREQ(HTMLGetAttr(first, "href"), "");
    EXPECT_EQ(HTMLGetAttr(first, "title"), nullptr);
    EXPECT_STREQ(HTMLGetAttr(first->next_sib, "HREF"), "y");
}

TEST(Tokenizing, CommentsDoctypesAndBogusComments) {
    ExpectOutlines({
        {"<!--  two -->", "<!--  two-->"},
        {"<!-->x", "<!----> \"x\""},
        {"<!--->x", "<!----> \"x\""},
        {"<!-- a <b> -- c --!>d", "<!-- a <b> -- c--> \"d\""},
        {"<p>x<!-- open to the end <b>", "P{\"x\" <!-- open to the end <b>-->}"},
        {"<!DOCTYPE html", "<!DOCTYPE html>"},
        {"<!doctype HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">"},
        {"<?xml version=\"1.0\"?><p>", "<!--<?xml version=\"1.0\"?>--> P"},
        {"<?php if ($n > 1) { ?>x", "<!--<?php if ($n > 1) { ?>--> \"x\""},
        {"<?bogus>x", "<!--<?bogus>--> \"x\""},
        {"<![CDATA[x]>y", "<!--[CDATA[x]--> \"y\""},
        {"a</>b</ 3>c", "\"a\" \"b\" <!-- 3--> \"c\""},
    });
}

TEST(Tokenizing, RawTextKeepsItsContentByteForByte) {
    ExpectOutlines({
        {"<script>if (a<b && c) document.write(\"</p>&amp;\");</script>x",
         "SCRIPT{\"if (a<b && c) document.write(\"</p>&amp;\");\"/r} \"x\""},
        {"<style>p>a{}</STYLE >x", "STYLE{\"p>a{}\"/r} \"x\""},
        {"<xmp><b>&lt;</xmp>", "XMP{\"<b>&lt;\"/r}"},
        {"<script>var s = '</scripty>';</script>", "SCRIPT{\"var s = '</scripty>';\"/r}"},
        {"<script>a</scrip", "SCRIPT{\"a</scrip\"/r}"},
        {"<style></style>", "STYLE"},
        {"<plaintext><b>x</plaintext>y", "PLAINTEXT{\"<b>x</plaintext>y\"/r}"},
    });
}
