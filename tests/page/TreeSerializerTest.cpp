// The tree writer over pages parsed by the real parser: the bytes it writes
// for each kind of node, where HTML forbids or allows leaving an end tag out,
// tree problems reported on standard error, and nesting far deeper than a
// call stack would allow.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "page/TreeSerializer.h"

namespace {

block* Parse(const std::string& html) {
    FILE* stream = fmemopen(const_cast<char*>(html.data()), html.size(), "r");
    HTMLParseBegin();
    HTMLParseDo(stream);
    std::fclose(stream);
    return HTMLParseEnd();
}

std::string Dump(block* top, int level) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    dump_tree(stream, top, level);
    std::fclose(stream);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// What the writer gives for the parsed `html`, named anchors hoisted first as
// before every write.
std::string Rewrite(const std::string& html) {
    block* root = Parse(html);
    HoistNamedAnchors(root->first_child);
    const std::string written = Dump(root, 0);
    HTMLFreeTree(root);
    return written;
}

struct Case {
    std::string html, written;
};

TEST(TreeSerializerTest, EachKindOfNodeIsWrittenAsHtmlNeeds) {
    std::string ampersands;
    for (int i = 0; i < 510; ++i) ampersands += "&amp;";  // grows five-fold when escaped
    const Case cases[] = {
        {"<span Class=\"a&amp;b\" title='say \"hi\"' width=10 hidden>x</span>",
         "<SPAN Class=\"a&amp;b\" title='say \"hi\"' width=10 hidden>x</SPAN>"},
        {ampersands, ampersands},
        // Raw text only where the parser marked it: a STYLE in SVG is escaped.
        {"<script>if (a < b && c > d) { x = \"&amp;\"; }\n</script>"
         "<style>p > a { }</style><svg><style>&lt;p s=\"</style></svg>",
         "<SCRIPT>if (a < b && c > d) { x = \"&amp;\"; }\n</SCRIPT><STYLE>p > a { }</STYLE>"
         "<SVG><STYLE>&lt;p s=\"</STYLE></SVG>"},
        {"it&#8217;<!-- x -->)<!--y-->\n", "it\xE2\x80\x99<!-- x -->)<!--y-->\n"},
        {"<br>\n<img src=\"a.png\">\n<input><hr>\n", "<BR>\n<IMG src=\"a.png\">\n<INPUT><HR>\n"},
        {"<my-widget data-n=\"1\">x</my-widget>\n", "<MY-WIDGET\n data-n=\"1\">x</MY-WIDGET>\n"},
        {"<p>1\n<p>2</p> <table></table><p>3</p>after<p>4</p><b>bold</b>"
         "<a href=x><p>5</p></a><dl><dd>d<p>\n</dl><p>6\n  ",
         "<P>1\n<P>2</P> <TABLE></TABLE><P>3</P>after<P>4</P><B>bold</B><A href=x><P>5</P></A>"
         "<DL><DD>d<P>\n</DL><P>6\n  "},
        {"<ul><li>1<li>2</li> <li>3</li>loose<li>4\n</ul>",
         "<UL><LI>1<LI>2</LI> <LI>3</LI>loose<LI>4\n</UL>"},
        {"<pre>\n<b>\n<i>x</i>\n</b>\n<!--c-->\n</pre>\n",
         "<PRE>\n<B>\n<I>x</I>\n</B>\n<!--c-->\n</PRE>\n"},
        {"<title>T &amp;copy; &lt;b></title><title></title>",
         "<TITLE>T &amp;copy; &lt;b></TITLE><TITLE></TITLE>"},
        {"<a name=out>a<a name=in>b<i>c</i></a>d</a>e<a href=\"/x\"><strong>t</strong></a>",
         "<A name=out></A>a<A name=in></A>b<I>c</I>d</a>e<A href=\"/x\"><STRONG>t</STRONG></A>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Rewrite(c.html), c.written) << c.html;
}

// A parsed page comes back token for token, so a browser recovers from its
// faults as it did before: end tags where the page had them and nowhere
// else, stray end tags and processing instructions as written.
TEST(TreeSerializerTest, ParsedPagesKeepTheirEndTagsAsWritten) {
    const Case cases[] = {
        {"<p><font face=Arial>First.\n<p>Second</font>",
         "<P><FONT face=Arial>First.\n<P>Second</font>"},
        {"<p><b><i>x</b> still italic</i>", "<P><B><I>x</B> still italic</i>"},
        {"<font><p>Para</p></font>\nafter", "<FONT><P>Para</P></FONT>\nafter"},
        {"<p>before<table><tr><td>x</table>", "<P>before<TABLE><TR><TD>x</TABLE>"},
        {"<div><my-icon/>Label</div>", "<DIV><MY-ICON\n>Label</DIV>"},
        {"<svg><circle r=4/><path d=x /></svg>", "<SVG><CIRCLE\n r=4/><PATH\n d=x /></SVG>"},
        {"a</p>b</br>c</span >d", "a</p>b</br>c</span >d"},
        {"<?php if ($n > 1) { ?>\nx<? } ?>", "<?php if ($n > 1) { ?>\nx<? } ?>"},
        {"<title lang=en>\n\nA &amp; B</title>", "<TITLE lang=en>\n\nA &amp; B</TITLE>"},
        {"<plaintext><b>x</plaintext>", "<PLAINTEXT><b>x</plaintext>"},
        {"<a onclick=go()>Go</a><a name=n>N</a>", "<A onclick=go()>Go</A><A name=n></A>N"},
        {"<!--a--><!-- b --><!---><! c ></ d><!--e--!>",
         "<!--a--><!-- b --><!----><!-- c --><!-- d--><!--e-->"},
    };
    for (const Case& c : cases) EXPECT_EQ(Rewrite(c.html), c.written) << c.html;
}

// Inside PRE a line end is text: a break flag on an end tag there (from a
// tree not made by the parser) must not add one.
TEST(TreeSerializerTest, InsidePreEndTagsGetNoLineEndFromTheirFlag) {
    block* root = Parse("<pre><i>x</i>y</pre>");
    root->first_child->first_child->flags |= BF_BREAK_AFTER_END;
    EXPECT_EQ(Dump(root, 0), "<PRE><I>x</I>y</PRE>");
    HTMLFreeTree(root);
}

TEST(TreeSerializerTest, TreeProblemsAreReportedAndWritingGoesOn) {
    block* root = Parse("<b>kept</b><svg><title>t<b>u</b>v</title></svg>");
    root->first_child->type = 9;
    testing::internal::CaptureStderr();
    const std::string written = Dump(root, 0);
    const std::string errors = testing::internal::GetCapturedStderr();
    HTMLFreeTree(root);
    EXPECT_EQ(written, "kept<SVG><TITLE>t<B>u</B>v</TITLE></SVG>");
    EXPECT_EQ(errors,
              "Internal error in HTML parser dump_tree()\n\t-- unknown value for top->type\n");
}

TEST(TreeSerializerTest, HundredThousandNestedElementsWriteWithoutRecursion) {
    constexpr int kDepth = 100000;
    // The anchor is emptied first: its content is moved out behind it.
    std::string html = "<a name=n>", expected = "<A name=n></A>";
    for (int i = 0; i < kDepth; ++i) {
        html += "<div>\n";
        expected += "<DIV>\n";
    }
    html += "core";
    expected += "core";
    for (int i = 0; i < kDepth; ++i) {
        html += "</div>";
        expected += "</DIV>";
    }
    EXPECT_TRUE(Rewrite(html + "</a>") == expected);  // no diff of megabyte strings on failure
}

}  // namespace
