// Hostile and huge input: no crash, no hang, no recursion on nesting depth.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ParseHelpers.h"

using parsetest::CountNodes;
using parsetest::ParseTree;

TEST(Robustness, RandomBytesAndMarkupFragmentsGiveATree) {
    std::mt19937 random(42);
    std::string bytes(200000, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    const std::size_t nodes = CountNodes(ParseTree(bytes).get());
    EXPECT_GT(nodes, 100u);  // random bytes hold many "<" and tags
    EXPECT_LT(nodes, bytes.size() / 4);

    const char* pieces[] = {"<p>",       "</p>",  "<div a='", "\"",       "<!--",  "-->",
                            "<table>",   "<td>",  "</tr>",    "&amp",     "&#x",   "<script>",
                            "</script>", "<svg>", "/>",       "<li>",     "x",     "\n",
                            "<",         ">",     "</",       "<dl><dt>", "<pre>", "</x-y>"};
    for (int round = 0; round < 200; ++round) {
        std::string page;
        for (int i = 0; i < 300; ++i) page += pieces[random() % std::size(pieces)];
        const std::size_t nodes = CountNodes(ParseTree(page).get());
        EXPECT_GT(nodes, 0u);
        EXPECT_LE(nodes, 300u);  // a node needs at least one piece
    }
}

TEST(Robustness, UnterminatedTagsAndDeepNesting) {
    std::string page;
    for (int i = 0; i < 100000; ++i) page += "<a b='";
    // Would take hours if every "<" rescanned to the end.
    EXPECT_EQ(CountNodes(ParseTree(page).get()), 1u);

    const int depth = 100000;
    page.clear();
    for (int i = 0; i < depth; ++i) page += "<div>";
    page += "deep";
    for (int i = 0; i < depth; ++i) page += "</div>";
    auto root = ParseTree(page);
    const block* node = root.get();
    int levels = 0;
    for (; node->first_child != nullptr && node->first_child->type == BT_ELEMENT; ++levels) {
        node = node->first_child;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_STREQ(node->first_child->text, "deep");

    page.clear();
    for (int i = 0; i < depth; ++i) page += "<span>";  // left open at the end
    EXPECT_EQ(CountNodes(ParseTree(page).get()), std::size_t{depth});

    page.clear();
    for (int i = 0; i < 50000; ++i) page += "<x-a><li><td>";
    for (int i = 0; i < 50000; ++i) page += "</x-b></p></li><li>";
    EXPECT_GT(CountNodes(ParseTree(page).get()), 150000u);
}
