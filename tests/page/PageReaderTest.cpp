// Reading the generated section out of hand-built trees: where BODY and the
// section are found, which entries a well-formed or malformed section gives,
// and the splice points left for the builder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TreeBuilding.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"

namespace {

struct Entry {
    std::string date, title, hyperlink, description;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.date << "|" << e.title << "|" << e.hyperlink << "|" << e.description
               << "}";
}

// The entries of a list, which is destroyed.
std::vector<Entry> Take(CTavrelItem* head) {
    std::vector<Entry> entries;
    while (head != nullptr) {
        entries.push_back(
            {head->GetDate(), head->GetTitle(), head->GetHyperlink(), head->GetDescription()});
        CTavrelItem* next = head->GetNext();
        delete head;
        head = next;
    }
    return entries;
}

block* Marker() { return Comment(kMarkerBody, BF_BREAK_AFTER_END); }

// A term as the fresh page writes it: date, line break, anchor with title.
block* Term(const std::string& date, const std::string& link, const std::string& title) {
    block* anchor = Element(HTML_A, {Text("\n"), Element(HTML_STRONG, {Text(title)})});
    AddAttr(anchor, HTML_ATTR_HREF, "HREF", link.c_str());
    return Element(HTML_DT, {Element(HTML_STRONG, {Text(date)}), Element(HTML_BR), anchor});
}

block* Definition(const std::string& description) {
    return Element(HTML_DD, {Text(description), Element(HTML_BR), Element(HTML_P)});
}

class PageReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearSplicePoints(); }
    void TearDown() override {
        HTMLFreeTree(g_pRoot);
        ClearSplicePoints();
    }
};

TEST_F(PageReaderTest, BodyIsFoundOnlyAsChildOfATopLevelHtml) {
    // A stray BODY at the top and an HTML without BODY come before the page's HTML.
    block* body = Element(HTML_BODY);
    block* root = Element("DIV", {Element(HTML_BODY), Element(HTML_HTML, {Element("HEAD")}),
                                  Element(HTML_HTML, {Element("HEAD"), body})});
    EXPECT_EQ(FindBody(root), body);
    HTMLFreeTree(root);

    root = Element("DIV", {Element("DIV", {Element(HTML_BODY)})});
    EXPECT_EQ(FindBody(root), nullptr);
    HTMLFreeTree(root);
}

TEST_F(PageReaderTest, PageWithoutBodyReadsNothingAndSetsNoSplicePoint) {
    block* root = Element("DIV", {Element(HTML_HTML, {Element("HEAD")})});
    root->type = 0;
    EXPECT_EQ(ReadTree(root, PageForm{}), nullptr);
    EXPECT_EQ(g_pBody, nullptr);
    EXPECT_EQ(g_pRoot, nullptr);
    EXPECT_FALSE(g_bNoSection);
}

TEST_F(PageReaderTest, OnlyADirectBodyChildDlStartingWithTheMarkerIsTheSection) {
    block* body = nullptr;
    block* before = Element(HTML_DL);
    block* nested = Element("TABLE", {Element(HTML_DL, {Marker(), Term("n", "/n", "N")})});
    block* wrongText = Element(HTML_DL, {Text(" Automatically"), Term("t", "/t", "T")});
    block* noBlank = Element(HTML_DL, {Comment("Automatically generated"), Term("b", "/b", "B")});
    block* element = Element(HTML_DL, {Element(HTML_DT), Marker()});
    block* section =
        Element(HTML_DL, {Comment(" Automatic!"), Term("1", "/1", "One"), Definition("first")});
    block* after = Element(HTML_P);
    block* second = Element(HTML_DL, {Marker(), Term("2", "/2", "Two")});
    block* root =
        Page({before, nested, wrongText, noBlank, element, section, after, second}, &body);

    EXPECT_EQ(Take(ReadTree(root, PageForm{})), (std::vector<Entry>{{"1", "One", "/1", "first"}}));
    EXPECT_EQ(g_pRoot, root);
    EXPECT_EQ(g_pBody, body);
    EXPECT_EQ(g_pSectionPrev, element);
    EXPECT_EQ(g_pSectionNext, after);
    EXPECT_EQ(element->next_sib, nullptr);  // BODY's chain ends before the section
    EXPECT_EQ(after->next_sib, second);
    EXPECT_FALSE(g_bNoSection);
    HTMLFreeTree(after);  // no longer reachable from the root
    HTMLFreeTree(second);
}

TEST_F(PageReaderTest, FieldsAreTakenFromTheirOwnPlaces) {
    block* named = Element(HTML_A, {Element(HTML_STRONG, {Text("Title & <more>")})});
    AddAttr(named, 1, "NAME", "top");
    AddAttr(named, HTML_ATTR_HREF, "HREF", "/a?x=1&y=2");
    block* bare = Element(HTML_A);
    AddAttr(bare, HTML_ATTR_HREF, "href", nullptr);
    block* section = Element(
        HTML_DL,
        {Marker(),
         Element(HTML_DT, {Element("I", {Element(HTML_STRONG, {Text("deep")})}),
                           Element(HTML_STRONG), Element(HTML_STRONG, {Text("late")}), named}),
         Element(HTML_DD, {Element("I", {Text("inner")}), Text("line 1\nline 2")}),
         Element(HTML_DT, {Element(HTML_STRONG, {Element("I"), Text("d2")}), bare}),
         Element(HTML_DD, {Text("kept")}), Element(HTML_DD, {Element("I")})});
    EXPECT_EQ(Take(ReadSection(section)),
              (std::vector<Entry>{{"", "Title & <more>", "/a?x=1&y=2", "line 1\nline 2"},
                                  {"d2", "", "", "kept"}}));
    HTMLFreeTree(section);
}

// DT and DD in the order given by `shape`, entries numbered by their DT.
std::vector<Entry> ReadShape(const std::string& shape) {
    block* section = Element(HTML_DL, {Marker()});
    int term = 0;
    for (char c : shape) {
        if (c == 'T') {
            ++term;
            Append(section, {Term(std::to_string(term), "/", "t" + std::to_string(term))});
        } else {
            Append(section, {Definition("d" + std::to_string(term))});
        }
    }
    std::vector<Entry> entries = Take(ReadSection(section));
    HTMLFreeTree(section);
    return entries;
}

TEST_F(PageReaderTest, MalformedSectionsReadAsTheListRulesSay) {
    EXPECT_EQ(ReadShape("TDTD"),
              (std::vector<Entry>{{"1", "t1", "/", "d1"}, {"2", "t2", "/", "d2"}}));
    EXPECT_EQ(ReadShape("TDTTD"),
              (std::vector<Entry>{{"1", "t1", "/", "d1"}, {"3", "t3", "/", "d3"}}));
    EXPECT_EQ(ReadShape("TTDTD"), (std::vector<Entry>{{"1", "t1", "/", ""}}));
    EXPECT_EQ(ReadShape("DTD"), std::vector<Entry>{});
    EXPECT_EQ(ReadShape("TDT"), (std::vector<Entry>{{"1", "t1", "/", "d1"}, {"2", "t2", "/", ""}}));
    EXPECT_EQ(ReadShape("TDD"), (std::vector<Entry>{{"1", "t1", "/", "d1"}}));
}

}  // namespace
