// Hostile and huge input: no crash, no hang, no recursion on nesting depth.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::ParsedPage;

namespace {

// Counts the nodes of a tree without recursing.
std::size_t CountNodes(const block* root) {
    std::size_t count = 0;
    std::vector<const block*> pending{root->first_child};
    while (!pending.empty()) {
        const block* node = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        ++count;
        pending.push_back(node->next_sib);
        pending.push_back(node->first_child);
    }
    return count;
}

}  // namespace

TEST(Robustness, BinaryBytesGiveATree) {
    std::mt19937 random(42);
    std::string bytes(200000, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    ParsedPage page(bytes);
    EXPECT_GT(CountNodes(page.root()), 0u);
}

TEST(Robustness, MarkupFragmentsInRandomOrder) {
    const char* pieces[] = {"<p>",       "</p>",  "<div a='", "\"",       "<!--",  "-->",
                            "<table>",   "<td>",  "</tr>",    "&amp",     "&#x",   "<script>",
                            "</script>", "<svg>", "/>",       "<li>",     "x",     "\n",
                            "<",         ">",     "</",       "<dl><dt>", "<pre>", "</x-y>"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string page_text;
        for (int i = 0; i < 300; ++i) page_text += pieces[random() % std::size(pieces)];
        ParsedPage page(page_text);
        EXPECT_NE(page.root(), nullptr);
    }
}

TEST(Robustness, FiveMegabyteAttributeValue) {
    std::string value(5 * 1024 * 1024, 'v');
    ParsedPage page("<a href=\"" + value + "\">x</a>");
    EXPECT_EQ(std::string(HTMLGetAttr(Child(page.root(), 0), "href")).size(), value.size());
}

TEST(Robustness, UnterminatedConstructsAtTheEnd) {
    EXPECT_EQ(ParsedPage("<p>x<!-- never closed").outline(), "P{\"x\" <!-- never closed-->}");
    EXPECT_EQ(ParsedPage("<p>x<a href='never closed>").outline(), "P{\"x<a href='never closed>\"}");
    EXPECT_EQ(ParsedPage("<!DOCTYPE html").outline(), "<!DOCTYPE html>");
    EXPECT_EQ(ParsedPage("<").outline(), "\"<\"");
    EXPECT_EQ(ParsedPage("&").outline(), "\"&\"");
}

TEST(Robustness, ManyUnterminatedTagsDoNotRescanThePage) {
    std::string page_text;
    for (int i = 0; i < 100000; ++i) page_text += "<a b='";
    ParsedPage page(page_text);  // would take hours if every "<" rescanned to the end
    EXPECT_EQ(CountNodes(page.root()), 1u);
}

TEST(Robustness, HundredThousandNestedElements) {
    const int depth = 100000;
    std::string page_text;
    for (int i = 0; i < depth; ++i) page_text += "<div>";
    page_text += "deep";
    for (int i = 0; i < depth; ++i) page_text += "</div>";
    ParsedPage page(page_text);
    const block* node = page.root();
    int levels = 0;
    while (node->first_child != nullptr && node->first_child->type == BT_ELEMENT) {
        node = node->first_child;
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_STREQ(node->first_child->text, "deep");
}

TEST(Robustness, DeepUnknownElementsAndStrayEndTags) {
    std::string page_text;
    for (int i = 0; i < 50000; ++i) page_text += "<x-a><li><td>";
    for (int i = 0; i < 50000; ++i) page_text += "</x-b></p></li><li>";
    ParsedPage page(page_text);
    EXPECT_GT(CountNodes(page.root()), 150000u);
}
