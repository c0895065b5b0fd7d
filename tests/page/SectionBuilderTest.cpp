// Building the section and writing an updated page from hand-built trees:
// the exact form of the section, where it lands in BODY, and that a page is
// never damaged when it cannot or must not be written.
#include <gtest/gtest.h>

#include <string>

#include "TreeBuilding.h"
#include "editor/ItemList.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"
#include "support/TempDir.h"

namespace {

std::string Start(int code) { return "<" + NameOf(code) + ">"; }
std::string End(int code) { return "</" + NameOf(code) + ">"; }

// The text the writer gives a page made by Page() whose BODY holds `body`.
std::string PageText(const std::string& body) {
    return Start(HTML_HTML) + "\n" + Start(CodeOf("HEAD")) + End(CodeOf("HEAD")) +
           Start(HTML_BODY) + "\n" + body + End(HTML_BODY) + "\n" + End(HTML_HTML);
}

std::string SectionText(const std::string& entries, bool heading) {
    std::string text;
    if (heading) text = Start(HTML_H2) + "Tavrel" + End(HTML_H2) + "\n";
    return text + Start(HTML_DL) + "\n<!--" + kMarkerBody + " -->\n" + entries + End(HTML_DL) +
           "\n";
}

std::string EntryText(const std::string& date, const std::string& link, const std::string& title,
                      const std::string& description) {
    const std::string strong = NameOf(HTML_STRONG);
    return Start(HTML_DT) + "<" + strong + ">" + date + End(HTML_STRONG) + "\n" + Start(HTML_BR) +
           "\n<" + NameOf(HTML_A) + " href=\"" + link + "\">" + Start(HTML_STRONG) + title +
           End(HTML_STRONG) + "\n" + End(HTML_A) + "\n" + End(HTML_DT) + "\n" + Start(HTML_DD) +
           description + Start(HTML_BR) + "\n" + Start(HTML_P) + End(HTML_DD) + "\n";
}

void AddEntry(const std::string& date, const std::string& link, const std::string& title,
              const std::string& description) {
    auto* item = new CTavrelItem;
    item->SetDate(date);
    item->SetHyperlink(link);
    item->SetTitle(title);
    item->SetDescription(description);
    InsertItemAtHead(item);
}

block* OldSection() {
    return Element(HTML_DL, {Comment(kMarkerBody), Element(HTML_DT), Element(HTML_DD)});
}

class SectionBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearSplicePoints(); }
    void TearDown() override {
        HTMLFreeTree(g_pRoot);
        ClearSplicePoints();
        ClearItemList();
    }

    // Reads `root` as a parsed page, writes it back with the current list;
    // the file's bytes, or "!" when WriteUpdatedPage failed.
    std::string Update(block* root, const PageForm& form = {}) {
        delete ReadTree(root, form);  // the old entries do not matter here
        if (!WriteUpdatedPage(m_page)) return "!";
        return ReadFileBytes(m_page);
    }

    TempDir m_dir;
    std::string m_page = m_dir / "page.html";
};

TEST_F(SectionBuilderTest, NewSectionOnAPageWithoutOneHasTheToolsForm) {
    AddEntry("%s day", "/b?x=1&y=\"2\"", "Q&A <2>", "line 1\nline 2");
    AddEntry("Monday", "/a.htm", "", "");
    const std::string expected =
        PageText(Start(CodeOf("H1")) + "Old" + End(CodeOf("H1")) +
                 SectionText(EntryText("Monday", "/a.htm", "", "") +
                                 EntryText("%s day", "/b?x=1&y=%222%22", "Q&amp;A &lt;2&gt;",
                                           "line 1\nline 2"),
                             true));
    EXPECT_EQ(Update(Page({Element("H1", {Text("Old")})})), expected);
}

TEST_F(SectionBuilderTest, NewSectionTakesTheOldOnesPlace) {
    AddEntry("d", "/l", "t", "x");
    const std::string section = SectionText(EntryText("d", "/l", "t", "x"), false);
    const std::string h1 = Start(CodeOf("H1")) + End(CodeOf("H1"));
    const std::string hr = Start(HTML_OPTIONAL_END_22);

    EXPECT_EQ(Update(Page({Element("H1"), OldSection(), Element("HR")})),
              PageText(h1 + section + hr));
    ClearSplicePoints();
    EXPECT_EQ(Update(Page({OldSection(), Element("HR")})), PageText(section + hr));
    ClearSplicePoints();
    EXPECT_EQ(Update(Page({Element("H1"), OldSection()})), PageText(h1 + section));
    ClearSplicePoints();
    EXPECT_EQ(Update(Page({})), PageText(SectionText(EntryText("d", "/l", "t", "x"), true)));
}

TEST_F(SectionBuilderTest, EmptyListRemovesTheSectionAndKeepsItsHeading) {
    const std::string h2 = Start(HTML_H2) + "Tavrel" + End(HTML_H2);
    EXPECT_EQ(Update(Page({Element(HTML_H2, {Text("Tavrel")}), OldSection(), Element("HR")})),
              PageText(h2 + Start(HTML_OPTIONAL_END_22)));
    ClearSplicePoints();
    EXPECT_EQ(Update(Page({Element("HR")})), PageText(Start(HTML_OPTIONAL_END_22)));
}

TEST_F(SectionBuilderTest, PageWithoutBodyIsNeverWritten) {
    WriteFileBytes(m_page, "<html><frameset></frameset></html>");
    AddEntry("d", "/l", "t", "x");
    block* root = Element("DIV", {Element(HTML_HTML)});
    root->type = 0;
    EXPECT_EQ(Update(root), "!");
    EXPECT_EQ(ReadFileBytes(m_page), "<html><frameset></frameset></html>");
}

TEST_F(SectionBuilderTest, UnwritablePageLeavesFileAndTreeAsTheyWere) {
    AddEntry("d", "/l", "t", "x");
    block* before = Element("H1");
    m_page = m_dir / "missing/page.html";
    EXPECT_EQ(Update(Page({before, OldSection(), Element("HR")})), "!");
    EXPECT_FALSE(PathExists(m_page));
    EXPECT_NE(g_pRoot, nullptr);
    EXPECT_EQ(before->next_sib, nullptr);  // nothing spliced in
    HTMLFreeTree(g_pSectionNext);
}

TEST_F(SectionBuilderTest, PageIsWrittenInItsOwnEncodingAndLineEnds) {
    AddEntry("d", "/l", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x9C\x93", "x");
    const std::string written = Update(Page({}), PageForm{"windows-1252", false, true, false});
    EXPECT_NE(written.find(">caf\xE9 \x80 &#10003;<"), std::string::npos);
    EXPECT_EQ(written.find('\n'), written.find("\r\n") + 1);
    EXPECT_EQ(written.find("\n\n"), std::string::npos);
}

}  // namespace
