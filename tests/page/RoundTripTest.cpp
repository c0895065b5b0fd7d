// Whole pages through the parser, the reader and the writer: entries come
// back exactly as written, rewriting is stable, and pages keep every text,
// attribute value, comment, script and style, in their own encoding and line
// ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PageTesting.h"
#include "page/ElementRules.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"
#include "support/TempDir.h"

namespace {

std::vector<Entry> ReadEntries(const std::string& path) {
    OpenPage(path);
    std::vector<Entry> entries = ListEntries();
    ReleasePageTree();
    ClearItemList();
    return entries;
}

// Opens the page, applies `edit` to the list and builds it.
template <typename Edit>
bool Update(const std::string& path, Edit edit) {
    OpenPage(path);
    edit();
    const bool written = WriteUpdatedPage(path);
    ReleasePageTree();
    ClearItemList();
    return written;
}

bool IsMarkedList(const block* node) {
    return node != nullptr && node->tag == HTML_DL && node->first_child != nullptr &&
           node->first_child->type == BT_COMMENT &&
           std::string(node->first_child->text).rfind(" Automati", 0) == 0;
}

// The section, or the heading an update puts in front of a section it adds.
bool IsGenerated(const block* node) {
    if (node->tag != HTML_H2) return IsMarkedList(node);
    const block* next = node->next_sib;
    if (next != nullptr && next->type == BT_TEXT && std::string(next->text) == "\n") {
        next = next->next_sib;
    }
    return IsMarkedList(next);
}

// What a page means, in document order and without nesting: elements with
// their attributes, runs of text, comments and doctypes. The generated
// section and its heading are left out; end tags, letter case and line ends
// after tags do not show.
std::vector<std::string> Meaning(const std::string& path, HTMLPageInfo* info = nullptr) {
    FILE* stream = std::fopen(path.c_str(), "r");
    HTMLParseBegin();
    HTMLParseDo(stream);
    block* root = HTMLParseEnd();
    std::fclose(stream);
    if (info != nullptr) HTMLGetPageInfo(info);
    std::vector<std::string> tokens;
    std::vector<const block*> pending = {root};
    while (!pending.empty()) {
        const block* node = pending.back();
        pending.pop_back();
        if (node->next_sib != nullptr && node != root) pending.push_back(node->next_sib);
        if (node != root && IsGenerated(node)) continue;
        if (node->type == BT_TEXT) {
            // A line end right after a tag is layout, kept as a flag or as text.
            const char* text = node->text[0] == '\n' ? node->text + 1 : node->text;
            if (!tokens.empty() && tokens.back()[0] == 'T') {
                tokens.back() += text;
            } else if (*text != '\0') {
                tokens.push_back(std::string("T") + text);
            }
        } else if (node->type == BT_ELEMENT && node != root) {
            std::string token = "E" + ElementName(node);
            for (const AttrRec* a = node->attrs; a != nullptr; a = a->next) {
                token += std::string(" ") + a->name + "=" + (a->value ? a->value : "(none)");
            }
            tokens.push_back(token);
        } else if (node->type == BT_COMMENT || node->type == BT_DOCTYPE) {
            tokens.push_back((node->type == BT_COMMENT ? "C" : "D") + std::string(node->text));
        }
        if (node->first_child != nullptr) pending.push_back(node->first_child);
    }
    // A line end before a tag may go inside an element whose end tag is left out.
    for (std::string& token : tokens) {
        if (token[0] == 'T' && token.size() > 1 && token.back() == '\n') token.pop_back();
    }
    HTMLFreeTree(root);
    return tokens;
}

const std::vector<Entry> kTrickyEntries = {
    {"Friday, May 10, 1996", "Fish & Chips > \"all\" 'others'", "/menu.htm?a=1&b=2",
     "100% %s %d \xE2\x82\xAC 5\nsecond line\n\nafter a blank line"},
    {"Saturday, June 01, 2024", "Caf\xC3\xA9 \xE2\x9C\x93", "/caf\xC3\xA9.htm", "one"},
    {"", "", "/empty.htm", ""},
};

// Each page of the corpus, and "fresh": a page the tool writes itself with
// entries full of characters that need care.
class CorpusTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (std::string(GetParam()) == "fresh") {
            SetList(kTrickyEntries);
            ASSERT_TRUE(WriteNewPage(m_page, g_pItemHead, ""));
            EXPECT_EQ(ReadEntries(m_page), kTrickyEntries);
            return;
        }
        const std::string source =
            std::string(TAVREL_SOURCE_DIR) + "/tests/page/corpus/" + GetParam() + ".html";
        const std::string original = ReadFileBytes(source);
        ASSERT_FALSE(original.empty()) << source;
        WriteFileBytes(m_page, original);
    }
    void TearDown() override {
        ReleasePageTree();
        ClearItemList();
    }
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";
};

// Rebuilt, the page means what it meant in its own encoding and line ends,
// gives the same entries and is stable; an added entry with characters the
// encoding may lack is read back first and the rest survives.
TEST_P(CorpusTest, RebuildingAndAddingKeepThePage) {
    HTMLPageInfo before{}, after{};
    const std::vector<std::string> meaning = Meaning(m_page, &before);
    std::vector<Entry> entries = ReadEntries(m_page);
    auto expectSamePage = [&] {
        EXPECT_EQ(Meaning(m_page, &after), meaning);
        EXPECT_STREQ(after.encoding, before.encoding);
        EXPECT_EQ(after.crlf, before.crlf);
        if (before.encoding_source == HTML_ENCODING_SNIFFED) {
            EXPECT_EQ(after.ascii_only, before.ascii_only);
        }
        EXPECT_EQ(ReadEntries(m_page), entries);
    };
    ASSERT_TRUE(Update(m_page, [] {}));
    expectSamePage();
    const std::string once = ReadFileBytes(m_page);
    ASSERT_TRUE(Update(m_page, [] {}));
    EXPECT_EQ(ReadFileBytes(m_page), once);

    entries.insert(entries.begin(),
                   {"Sunday, December 06, 2026", "New & <improved>", "/new.htm?x=1&y=2",
                    "Line 1\nLine 2 \xE2\x82\xAC \xE2\x9C\x93"});
    ASSERT_TRUE(Update(m_page, [&] { SetList(entries); }));
    expectSamePage();
}

INSTANTIATE_TEST_SUITE_P(Pages, CorpusTest,
                         ::testing::Values("fresh", "tables", "forms", "scripts", "pre_entities",
                                           "crlf", "xhtml", "page1996", "latin1",
                                           "ascii_undeclared"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
