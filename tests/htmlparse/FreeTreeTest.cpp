// Releasing trees that mix parsed records with records the caller added, and
// the small lookups of the interface. Run under the sanitizers: a leak or a
// free() of a parsed record fails the test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::FindFirst;

namespace {

block* Parse(const char* html) {
    std::FILE* stream = std::tmpfile();
    std::fputs(html, stream);
    std::rewind(stream);
    HTMLParseBegin();
    HTMLParseDo(stream);
    block* root = HTMLParseEnd();
    std::fclose(stream);
    return root;
}

// An element as the program builds it: calloc'd, with its own strings.
block* CallerElement(int code, const char* name, block* parent) {
    auto* node = static_cast<block*>(std::calloc(1, sizeof(block)));
    node->type = BT_ELEMENT;
    node->tag = code;
    node->text = strdup(name);
    node->parent = parent;
    return node;
}

block* CallerText(const char* text, block* parent) {
    auto* node = static_cast<block*>(std::calloc(1, sizeof(block)));
    node->type = BT_TEXT;
    node->tag = HTML_TEXT;
    node->text = strdup(text);
    node->parent = parent;
    return node;
}

AttrRec* CallerAttr(const char* name, const char* value) {
    auto* attr = static_cast<AttrRec*>(std::calloc(1, sizeof(AttrRec)));
    attr->attr = HTML_ATTR_HREF;
    attr->name = strdup(name);
    attr->value = value == nullptr ? nullptr : strdup(value);
    return attr;
}

}  // namespace

TEST(FreeTree, CallerRecordsAreReleasedWithTheParsedTree) {
    block* root = Parse("<html><body><p>a</p><dl><dt>x</dl><p>b</body></html>");
    block* body = FindFirst(root, HTML_BODY);
    // A new section hung in after the first P, with attributes on a parsed
    // element and on a caller element.
    block* first = body->first_child;
    block* list = CallerElement(HTML_DL, "dl", body);
    block* term = CallerElement(HTML_DT, "dt", list);
    block* anchor = CallerElement(HTML_A, "a", term);
    anchor->attrs = CallerAttr("href", "x.html");
    anchor->first_child = CallerText("title", anchor);
    term->first_child = anchor;
    list->first_child = term;
    list->next_sib = first->next_sib;
    first->next_sib = list;
    AttrRec* added = CallerAttr("class", nullptr);
    added->next = first->attrs;
    first->attrs = added;
    EXPECT_STREQ(HTMLGetAttr(anchor, "HREF"), "x.html");
    HTMLFreeTree(root);  // leak-checked by the sanitizer build
}

TEST(FreeTree, ASubtreeIsReleasedWithoutTouchingItsSiblings) {
    block* root = Parse("<body><dl><dt>a<dd>b</dl><p>after</p></body>");
    block* body = Child(root, 0);
    block* list = body->first_child;
    block* after = list->next_sib;
    list->first_child->first_child = CallerText("added", list->first_child);
    HTMLFreeTree(list);
    body->first_child = after;
    EXPECT_EQ(after->tag, HTML_P);
    EXPECT_STREQ(after->first_child->text, "after");
    HTMLFreeTree(root);
}

TEST(FreeTree, DeepTreesAndEmptyCalls) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<span>";
    HTMLFreeTree(Parse(deep.c_str()));
    HTMLFreeTree(nullptr);
    HTMLParseBegin();
    block* root = HTMLParseEnd();  // no HTMLParseDo: an empty root
    EXPECT_EQ(root->first_child, nullptr);
    HTMLFreeTree(root);
}

TEST(FreeTree, ParseBeginDiscardsAnUnfinishedParse) {
    std::FILE* stream = std::tmpfile();
    std::fputs("<p>left behind", stream);
    std::rewind(stream);
    HTMLParseBegin();
    HTMLParseDo(stream);
    std::fclose(stream);
    block* root = Parse("<p>kept");
    EXPECT_EQ(parsetest::Outline(root->first_child), "P{\"kept\"}");
    HTMLFreeTree(root);
}

TEST(Interface, AttributeLookupIgnoresLetterCase) {
    block* root = Parse("<a name=n HREF>x</a><a Href=\"y\">z</a>");
    EXPECT_STREQ(HTMLGetAttr(Child(root, 0), "href"), "");
    EXPECT_EQ(HTMLGetAttr(Child(root, 0), "title"), nullptr);
    EXPECT_STREQ(HTMLGetAttr(Child(root, 1), "HREF"), "y");
    HTMLFreeTree(root);
}

TEST(Interface, ElementNamesAreUpperCaseAndParseBack) {
    EXPECT_STREQ(_ElementToName(HTML_A), "A");
    EXPECT_STREQ(_ElementToName(HTML_OPTIONAL_END_22), "HR");
    EXPECT_STREQ(_ElementToName(HTML_OPTIONAL_END_29), "LI");
    EXPECT_STREQ(_ElementToName(HTML_PRE), "PRE");
    EXPECT_STREQ(_ElementToName(-1), "");
    EXPECT_STREQ(_ElementToName(100000), "");
    EXPECT_STRNE(_ElementToName(HTML_UNKNOWN), "");
    // Every code with a name parses back to itself.
    for (int code = 0; code < 256; ++code) {
        const char* name = _ElementToName(code);
        if (*name == '\0' || code == HTML_UNKNOWN) continue;
        std::string html = "<" + std::string(name) + ">";
        block* root = Parse(html.c_str());
        EXPECT_EQ(root->first_child->tag, code) << name;
        HTMLFreeTree(root);
    }
}
