// Releasing trees that mix parsed records with records the caller added, the
// parse calls out of their usual order or on a stream that fails, and element
// names. A record left behind or released twice is only seen by the
// sanitizers: these tests do their checking in the CI's AddressSanitizer run
// (LeakSanitizer reports a leak at exit, a free() of a parsed record stops the
// run). The allocator's own counts cannot stand in for it: stdio keeps buffers
// of its own between calls.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "ParseHelpers.h"
#include "support/ByteStream.h"
#include "support/TempDir.h"

using parsetest::OutlineOf;
using parsetest::ParseTree;

namespace {

// A record as the program builds it: calloc'd, with its own string.
block* CallerNode(int type, int code, const char* text, block* parent) {
    auto* node = static_cast<block*>(std::calloc(1, sizeof(block)));
    node->type = type;
    node->tag = code;
    node->text = strdup(text);
    node->parent = parent;
    return node;
}

AttrRec* CallerAttr(const char* name, const char* value, AttrRec* next) {
    auto* attr = static_cast<AttrRec*>(std::calloc(1, sizeof(AttrRec)));
    attr->attr = HTML_ATTR_HREF;
    attr->name = strdup(name);
    attr->value = value == nullptr ? nullptr : strdup(value);
    attr->next = next;
    return attr;
}

}  // namespace

// A new section hung in after the first P, with attributes on a parsed
// element and on a caller element; a parsed subtree holding a caller record
// released on its own; the rest released with the tree.
TEST(FreeTree, CallerRecordsAndSubtreesAreReleasedWithoutTouchingTheirSiblings) {
    auto root = ParseTree("<body><p>a</p><dl><dt>x<dd>b</dl><p>after</p></body>");
    block* body = root->first_child;
    block* first = body->first_child;
    block* old = first->next_sib;
    block* list = CallerNode(BT_ELEMENT, HTML_DL, "dl", body);
    block* term = CallerNode(BT_ELEMENT, HTML_DT, "dt", list);
    block* anchor = CallerNode(BT_ELEMENT, HTML_A, "a", term);
    anchor->attrs = CallerAttr("href", "x.html", nullptr);
    anchor->first_child = CallerNode(BT_TEXT, HTML_TEXT, "title", anchor);
    term->first_child = anchor;
    list->first_child = term;
    list->next_sib = old->next_sib;
    first->next_sib = list;
    first->attrs = CallerAttr("class", nullptr, first->attrs);
    old->first_child->first_child = CallerNode(BT_TEXT, HTML_TEXT, "added", old->first_child);
    HTMLFreeTree(old);
    EXPECT_EQ(parsetest::Outline(body),
              "P[class]{\"a\"} DL{DT{A[href=x.html]{\"title\"}}} P{\"after\"}");
}

// A parse never ended is discarded by the next one; the page info says
// whether a parse read its whole stream.
TEST(FreeTree, CallsOutOfTheUsualOrderAndAStreamThatCannotBeRead) {
    HTMLFreeTree(nullptr);
    HTMLParseBegin();
    block* root = HTMLParseEnd();  // no HTMLParseDo: an empty root
    EXPECT_EQ(root->first_child, nullptr);
    HTMLFreeTree(root);
    const ByteStream stream("<p>left behind");
    HTMLParseBegin();
    HTMLParseDo(stream.get());
    EXPECT_EQ(OutlineOf("<p>kept"), "P{\"kept\"}");
    HTMLPageInfo info{};
    HTMLGetPageInfo(&info);
    EXPECT_EQ(info.complete, 1);
    HTMLParseBegin();
    HTMLGetPageInfo(&info);
    EXPECT_EQ(info.complete, 0);

    TempDir dir;
    WriteFileBytes(dir / "page.html", "<p>never read</p>");
    FILE* broken = std::fopen((dir / "page.html").c_str(), "rb");
    ASSERT_NE(broken, nullptr);
    close(fileno(broken));  // the stream stays, every read of it fails
    HTMLParseBegin();
    HTMLParseDo(broken);
    HTMLFreeTree(HTMLParseEnd());
    std::fclose(broken);
    HTMLGetPageInfo(&info);
    EXPECT_EQ(info.complete, 0);
}

TEST(ElementNames, ParseBackAndOutsideTheTableAreEmpty) {
    EXPECT_STREQ(HTMLElementName(-1), "");
    EXPECT_STREQ(HTMLElementName(100000), "");
    for (int code = 0; code < 256; ++code) {
        const char* name = HTMLElementName(code);
        if (*name == '\0' || code == HTML_UNKNOWN) continue;
        auto root = ParseTree("<" + std::string(name) + ">");
        EXPECT_EQ(root->first_child->tag, code) << name;
    }
}
