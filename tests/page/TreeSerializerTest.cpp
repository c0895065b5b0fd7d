// The tree writer over hand-built trees: the bytes it writes for each kind of
// node, the places where HTML forbids or allows leaving an end tag out, and
// pages nested far deeper than a call stack would allow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TreeBuilding.h"
#include "page/TreeSerializer.h"

namespace {

std::string Start(const std::string& name) { return "<" + name + ">"; }
std::string End(const std::string& name) { return "</" + name + ">"; }

class TreeSerializerTest : public ::testing::Test {
  protected:
    void TearDown() override { HTMLFreeTree(m_tree); }
    // Keeps `tree` for release and returns what dump_tree writes from it.
    std::string Write(block* tree, int level = 0) {
        m_tree = tree;
        return Dump(tree, level);
    }
    block* m_tree = nullptr;
};

TEST_F(TreeSerializerTest, RootIsNotWrittenOnlyItsChildren) {
    block* root = Element("DIV", {Text("a"), Comment(" c ", BF_BREAK_AFTER_END), Doctype("x")});
    root->type = 0;  // the container the library hands over is no element
    EXPECT_EQ(Write(root), "a<!-- c  -->\n<!DOCTYPE x>\n");
}

TEST_F(TreeSerializerTest, ElementRootGetsItsEndTagAtTheEnd) {
    const std::string div = NameOf(CodeOf("DIV"));
    EXPECT_EQ(Write(Element("DIV", {Text("x")}, BF_BREAK_AFTER_END)), "x" + End(div) + "\n");
}

TEST_F(TreeSerializerTest, AttributesAreWrittenAsStoredWithTheirQuoting) {
    block* span = Element("SPAN", {}, BF_BREAK_AFTER_START);
    AddAttr(span, 1, "Class", "a&b", AF_DOUBLE_QUOTED | AF_SINGLE_QUOTED);
    AddAttr(span, 2, "title", "say \"hi\"", AF_SINGLE_QUOTED);
    AddAttr(span, 3, "width", "10", 0);
    AddAttr(span, 4, "hidden", nullptr);
    const std::string name = NameOf(CodeOf("SPAN"));
    EXPECT_EQ(Write(span, 1),
              "<" + name + " Class=\"a&b\" title='say \"hi\"' width=10 hidden>\n" + End(name));
}

TEST_F(TreeSerializerTest, TextIsEscapedWholeWhateverItsLength) {
    // A chunk of 510 "&" grows five-fold; line feeds stay where they stood.
    const std::string ampersands(510, '&');
    std::string expected;
    for (int i = 0; i < 510; ++i) expected += "&amp;";
    EXPECT_EQ(Write(Text(ampersands), 1), expected);
    HTMLFreeTree(m_tree);

    std::string long_text(1200, 'x');
    long_text[509] = '<';
    long_text[510] = '>';
    long_text += "\n\n\"q\"\r\xC3\xA9&";
    std::string long_expected(1200, 'x');
    long_expected.replace(509, 2, "&lt;&gt;");
    long_expected += "\n\n\"q\"\r\xC3\xA9&amp;";
    EXPECT_EQ(Write(Text(long_text), 1), long_expected);
    HTMLFreeTree(m_tree);

    EXPECT_EQ(Write(Text(""), 1), "");
}

// Raw text is what the parser marked so: a STYLE inside SVG holds ordinary,
// escaped text.
TEST_F(TreeSerializerTest, RawTextIsWrittenUnescapedAndOnlyIt) {
    const std::string script = "if (a < b && c > d) { x = \"&amp;\"; }\n";
    block* raw = Text(script);
    raw->flags = BF_RAW_TEXT;
    block* rawStyle = Text("p > a { }");
    rawStyle->flags = BF_RAW_TEXT;
    block* root = Element("DIV", {Element("SCRIPT", {raw}), Element("STYLE", {rawStyle}),
                                  UnknownElement("svg", {Element("STYLE", {Text("<p s=\"")})})});
    root->type = 0;
    const std::string scriptName = NameOf(CodeOf("SCRIPT"));
    const std::string styleName = NameOf(CodeOf("STYLE"));
    EXPECT_EQ(Write(root), Start(scriptName) + script + End(scriptName) + Start(styleName) +
                               "p > a { }" + End(styleName) + "<SVG\n>" + Start(styleName) +
                               "&lt;p s=\"" + End(styleName) + "</SVG>");
}

TEST_F(TreeSerializerTest, CommentGetsALineEndOnlyWhereThePageHadOne) {
    block* root = Element("DIV", {Text("it\xE2\x80\x99"), Comment(" x "), Text(")"),
                                  Comment("y", BF_BREAK_AFTER_END)});
    root->type = 0;
    EXPECT_EQ(Write(root), "it\xE2\x80\x99<!-- x  -->)<!--y -->\n");
}

TEST_F(TreeSerializerTest, VoidElementsNeverGetAnEndTag) {
    block* img = Element("IMG", {}, BF_BREAK_AFTER_START | BF_BREAK_AFTER_END);
    AddAttr(img, 1, "src", "a.png");
    block* root = Element(
        "DIV", {Element(HTML_BR, {}, BF_BREAK_AFTER_END), img, Element("META"), Element("LINK"),
                Element("INPUT"), Element(HTML_OPTIONAL_END_22, {}, BF_BREAK_AFTER_START)});
    root->type = 0;
    EXPECT_EQ(Write(root), Start(NameOf(HTML_BR)) + "<" + NameOf(CodeOf("IMG")) +
                               " src=\"a.png\">\n" + Start(NameOf(CodeOf("META"))) +
                               Start(NameOf(CodeOf("LINK"))) + Start(NameOf(CodeOf("INPUT"))) +
                               Start(NameOf(HTML_OPTIONAL_END_22)) + "\n");
}

TEST_F(TreeSerializerTest, UnknownElementIsOpenedAndClosedWithItsOwnName) {
    block* custom = UnknownElement("my-widget", {Text("x")});
    custom->flags = BF_BREAK_AFTER_END;
    AddAttr(custom, 1, "data-n", "1");
    EXPECT_EQ(Write(custom, 1), "<MY-WIDGET\n data-n=\"1\">x</MY-WIDGET>\n");
}

TEST_F(TreeSerializerTest, ParagraphEndTagIsLeftOutOnlyWhereABrowserClosesItAnyway) {
    const std::string p = NameOf(HTML_P);
    const std::string table = NameOf(CodeOf("TABLE"));
    const std::string a = NameOf(HTML_A);
    block* root = Element(
        "DIV", {Element(HTML_P, {Text("1")}, BF_BREAK_AFTER_END), Element(HTML_P, {Text("2")}),
                Text(" "), Element("TABLE"), Element(HTML_P, {Text("3")}), Text("after"),
                Element(HTML_P, {Text("4")}), Element("B", {Text("bold")}),
                Element(HTML_A, {Element(HTML_P, {Text("5")})}),
                Element(HTML_DD, {Text("d"), Element(HTML_P, {}, BF_BREAK_AFTER_END)}),
                Element(HTML_P, {Text("6")}), Text("\n  ")});
    root->type = 0;
    const std::string b = NameOf(CodeOf("B"));
    const std::string dd = NameOf(HTML_DD);
    EXPECT_EQ(Write(root),
              Start(p) + "1" + Start(p) + "2" + End(p) + " " + Start(table) + End(table) +
                  Start(p) + "3" + End(p) + "after" +                     //
                  Start(p) + "4" + End(p) + Start(b) + "bold" + End(b) +  //
                  Start(a) + Start(p) + "5" + End(p) + End(a) +           //
                  Start(dd) + "d" + Start(p) + End(dd) +                  //
                  Start(p) + "6\n  ");
}

TEST_F(TreeSerializerTest, ListItemEndTagIsLeftOutBeforeAnotherItemOrTheListEnd) {
    const std::string li = NameOf(HTML_OPTIONAL_END_29);
    const std::string ul = NameOf(CodeOf("UL"));
    block* list = Element("UL", {Element(HTML_OPTIONAL_END_29, {Text("1")}),
                                 Element(HTML_OPTIONAL_END_29, {Text("2")}), Text(" "),
                                 Element(HTML_OPTIONAL_END_29, {Text("3")}), Text("loose"),
                                 Element(HTML_OPTIONAL_END_29, {Text("4")}), Text("\n")});
    EXPECT_EQ(Write(list, 1), Start(ul) + Start(li) + "1" + Start(li) + "2" + End(li) + " " +
                                  Start(li) + "3" + End(li) + "loose" + Start(li) + "4\n" +
                                  End(ul));
}

TEST_F(TreeSerializerTest, InsidePreEndTagsKeepNoLineEndButPreItselfDoes) {
    const std::string pre = NameOf(HTML_PRE);
    const std::string b = NameOf(CodeOf("B"));
    const std::string i = NameOf(CodeOf("I"));
    block* root =
        Element("DIV", {Element(HTML_PRE,
                                {Element("B", {Element("I", {Text("x")}, BF_BREAK_AFTER_END)},
                                         BF_BREAK_AFTER_START | BF_BREAK_AFTER_END),
                                 Comment("c", BF_BREAK_AFTER_END)},
                                BF_BREAK_AFTER_START | BF_BREAK_AFTER_END)});
    root->type = 0;
    EXPECT_EQ(Write(root), Start(pre) + "\n" + Start(b) + "\n" + Start(i) + "x" + End(i) + End(b) +
                               "<!--c -->\n" + End(pre) + "\n");
}

TEST_F(TreeSerializerTest, TitleWritesItsFirstTextEscapedAndWhole) {
    const std::string title = NameOf(HTML_TITLE);
    const std::string text = std::string(600, 'T') + " &copy; <b>";
    block* page = Element("HEAD", {Element(HTML_TITLE, {Text(text)}), Element(HTML_TITLE)});
    page->type = 0;
    EXPECT_EQ(Write(page), Start(title) + std::string(600, 'T') + " &amp;copy; &lt;b&gt;" +
                               End(title) + Start(title) + End(title));
}

// A TITLE with markup (as in SVG) is reported yet written whole.
TEST_F(TreeSerializerTest, TreeProblemsAreReportedAndWritingGoesOn) {
    block* odd = Element("B", {Text("kept")});
    odd->type = 9;
    block* title = Element(HTML_TITLE, {Text("t"), Element("B", {Text("u")}), Text("v")});
    block* root = Element("DIV", {odd, title});
    root->type = 0;
    testing::internal::CaptureStderr();
    const std::string written = Write(root);
    const std::string errors = testing::internal::GetCapturedStderr();
    const std::string name = NameOf(HTML_TITLE);
    const std::string b = NameOf(CodeOf("B"));
    EXPECT_EQ(written, "kept" + Start(name) + "t" + Start(b) + "u" + End(b) + "v" + End(name));
    EXPECT_EQ(errors,
              "Internal error in HTML parser dump_tree()\n\t-- unknown value for top->type\n"
              "Internal error in HTML parser dump_tree()\n"
              "\t-- TITLE's TEXT child has non-NULL '->next_sib' slot...\n");
}

TEST_F(TreeSerializerTest, HoistingEmptiesAnchorsWithoutHrefInDocumentOrder) {
    block* inner = Element(HTML_A, {Text("b"), Element("I", {Text("c")})});
    AddAttr(inner, 1, "name", "in");
    block* outer = Element(HTML_A, {Text("a"), inner, Text("d")});
    AddAttr(outer, 1, "name", "out");
    block* linked = Element(HTML_A, {Element(HTML_STRONG, {Text("t")})});
    AddAttr(linked, HTML_ATTR_HREF, "href", "/x");
    block* root = Element("DIV", {outer, Text("e"), linked});
    root->type = 0;
    HoistNamedAnchors(root);
    const std::string a = NameOf(HTML_A);
    const std::string i = NameOf(CodeOf("I"));
    const std::string strong = NameOf(HTML_STRONG);
    EXPECT_EQ(Write(root), "<" + a + " name=\"out\">" + End(a) + "a<" + a + " name=\"in\">" +
                               End(a) + "b" + Start(i) + "c" + End(i) + "de<" + a +
                               " href=\"/x\">" + Start(strong) + "t" + End(strong) + End(a));
}

TEST_F(TreeSerializerTest, HundredThousandNestedElementsWriteWithoutRecursion) {
    constexpr int kDepth = 100000;
    block* root = Element("DIV");
    root->type = 0;
    block* innermost = root;
    for (int i = 0; i < kDepth; ++i) {
        block* next =
            Element(i % 2 == 0 ? HTML_A : CodeOf("DIV"), {}, i % 3 == 0 ? BF_BREAK_AFTER_END : 0);
        Append(innermost, {next});
        innermost = next;
    }
    Append(innermost, {Text("core")});
    HoistNamedAnchors(root);
    // Every anchor was emptied: the nesting is now only through the DIVs.
    const std::string written = Write(root);
    std::string expected;
    std::vector<std::string> ends;
    const std::string a = NameOf(HTML_A);
    const std::string div = NameOf(CodeOf("DIV"));
    for (int i = 0; i < kDepth; ++i) {
        const bool anchor = i % 2 == 0;
        const std::string end = End(anchor ? a : div) + (i % 3 == 0 ? "\n" : "");
        expected += Start(anchor ? a : div);
        if (anchor) {
            expected += end;
        } else {
            ends.push_back(end);
        }
    }
    expected += "core";
    for (auto end = ends.rbegin(); end != ends.rend(); ++end) expected += *end;
    EXPECT_EQ(written, expected);
}

}  // namespace
