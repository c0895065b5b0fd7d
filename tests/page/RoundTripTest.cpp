// Whole pages through the parser, the reader and the writer: entries come
// back exactly as written, rewriting is stable, and pages the tool never saw
// keep every text, attribute value, comment, script and style, in their own
// encoding and line ends.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/ItemList.h"
#include "page/ElementRules.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"
#include "support/TempDir.h"

namespace {

struct Entry {
    std::string date, title, hyperlink, description;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{" << e.date << "|" << e.title << "|" << e.hyperlink << "|" << e.description
               << "}";
}

void SetList(const std::vector<Entry>& entries) {
    ClearItemList();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        auto* item = new CTavrelItem;
        item->SetDate(entry->date);
        item->SetTitle(entry->title);
        item->SetHyperlink(entry->hyperlink);
        item->SetDescription(entry->description);
        InsertItemAtHead(item);
    }
}

std::vector<Entry> ListEntries() {
    std::vector<Entry> entries;
    for (const CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
        entries.push_back(
            {item->GetDate(), item->GetTitle(), item->GetHyperlink(), item->GetDescription()});
    }
    return entries;
}

// Opens `path` as the wizard does: entries into the item list, tree kept.
void Open(const std::string& path) {
    ClearItemList();
    ClearSplicePoints();
    FILE* stream = std::fopen(path.c_str(), "r");
    ASSERT_NE(stream, nullptr) << path;
    AdoptItemList(ReadPage(stream));
    std::fclose(stream);
}

std::vector<Entry> ReadEntries(const std::string& path) {
    Open(path);
    std::vector<Entry> entries = ListEntries();
    ReleasePageTree();
    ClearItemList();
    return entries;
}

// Opens the page, applies `edit` to the list and builds it.
template <typename Edit>
bool Update(const std::string& path, Edit edit) {
    Open(path);
    edit();
    const bool written = WriteUpdatedPage(path);
    ReleasePageTree();
    ClearItemList();
    return written;
}

bool Rebuild(const std::string& path) {
    return Update(path, [] {});
}

bool IsSection(const block* node) {
    return node->tag == HTML_DL && node->first_child != nullptr &&
           node->first_child->type == BT_COMMENT &&
           std::string(node->first_child->text).rfind(" Automati", 0) == 0;
}

// What a page means, in document order and without nesting: elements with
// their attributes, runs of text, comments and doctypes. The generated
// section is left out; end tags, letter case and line ends after tags do not
// show.
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
        if (node != root && IsSection(node)) continue;
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

// `meaning` without the heading that an update adds to a page that had no
// section, when `original` does not have it.
std::vector<std::string> WithoutAddedHeading(std::vector<std::string> meaning,
                                             const std::vector<std::string>& original) {
    const std::string heading = "E" + std::string(_ElementToName(HTML_H2));
    auto count = [&](const std::vector<std::string>& tokens) {
        int n = 0;
        for (size_t i = 0; i + 1 < tokens.size(); ++i) {
            n += tokens[i] == heading && tokens[i + 1] == "TTavrel";
        }
        return n;
    };
    if (count(meaning) == count(original)) return meaning;
    for (size_t i = meaning.size() - 1; i > 0; --i) {
        if (meaning[i - 1] == heading && meaning[i] == "TTavrel") {
            meaning.erase(meaning.begin() + static_cast<long>(i) - 1,
                          meaning.begin() + static_cast<long>(i) + 1);
            break;
        }
    }
    return meaning;
}

const std::vector<Entry> kTrickyEntries = {
    {"Friday, May 10, 1996", "Fish & Chips > \"all\" 'others'", "/menu.htm?a=1&b=2",
     "100% %s %d \xE2\x82\xAC 5\nsecond line\n\nafter a blank line"},
    {"Saturday, June 01, 2024", "Caf\xC3\xA9 \xE2\x9C\x93", "/caf\xC3\xA9.htm", "one"},
    {"", "", "/empty.htm", ""},
};

class RoundTripTest : public ::testing::Test {
  protected:
    void TearDown() override {
        ReleasePageTree();
        ClearItemList();
    }
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";
};

TEST_F(RoundTripTest, FreshPageReadsBackItsEntries) {
    ASSERT_TRUE(WriteNewPage(m_page, nullptr));
    EXPECT_EQ(ReadEntries(m_page), std::vector<Entry>{});
    SetList(kTrickyEntries);
    ASSERT_TRUE(WriteNewPage(m_page, g_pItemHead));
    EXPECT_EQ(ReadEntries(m_page), kTrickyEntries);
}

TEST_F(RoundTripTest, UpdatedPageReadsBackEveryCharacterOfItsEntries) {
    std::vector<Entry> entries = kTrickyEntries;
    entries.push_back({"<b>", "a <i>b</i> &amp; c", "/x?q=<y>", "if (a < b && c > d) {}"});
    SetList(kTrickyEntries);
    ASSERT_TRUE(WriteNewPage(m_page, g_pItemHead));
    ASSERT_TRUE(Update(m_page, [&] { SetList(entries); }));
    EXPECT_EQ(ReadEntries(m_page), entries);
}

TEST_F(RoundTripTest, PlainAsciiPageStaysAsciiAndCarriesOtherCharactersAsReferences) {
    ASSERT_TRUE(WriteNewPage(m_page, nullptr));
    const Entry entry{"d", "Caf\xC3\xA9 \xE2\x9C\x93", "/caf\xC3\xA9.htm", "\xE2\x82\xAC 5"};
    ASSERT_TRUE(Update(m_page, [&] { SetList({entry}); }));
    for (char c : ReadFileBytes(m_page)) ASSERT_EQ(c & 0x80, 0);
    // Text comes back decoded; an attribute value is read as written, so the
    // hyperlink keeps the reference (a browser resolves it to the same URL).
    EXPECT_EQ(ReadEntries(m_page),
              (std::vector<Entry>{{"d", entry.title, "/caf&#233;.htm", entry.description}}));
}

TEST_F(RoundTripTest, RebuildingIsStable) {
    SetList(kTrickyEntries);
    ASSERT_TRUE(WriteNewPage(m_page, g_pItemHead));
    ASSERT_TRUE(Rebuild(m_page));  // the fresh form becomes the builder's form once
    const std::string once = ReadFileBytes(m_page);
    ASSERT_TRUE(Rebuild(m_page));
    EXPECT_EQ(ReadFileBytes(m_page), once);
    EXPECT_EQ(ReadEntries(m_page), kTrickyEntries);
}

class CorpusTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        const std::string source =
            std::string(TAVREL_SOURCE_DIR) + "/tests/page/corpus/" + GetParam();
        m_original = ReadFileBytes(source);
        ASSERT_FALSE(m_original.empty()) << source;
        WriteFileBytes(m_page, m_original);
    }
    void TearDown() override {
        ReleasePageTree();
        ClearItemList();
    }
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";
    std::string m_original;
};

TEST_P(CorpusTest, RewritingKeepsTheMeaningInThePagesOwnForm) {
    HTMLPageInfo before{};
    const std::vector<std::string> meaning = Meaning(m_page, &before);
    const std::vector<Entry> entries = ReadEntries(m_page);
    ASSERT_TRUE(Rebuild(m_page));
    HTMLPageInfo after{};
    EXPECT_EQ(Meaning(m_page, &after), meaning);
    EXPECT_STREQ(after.encoding, before.encoding);
    EXPECT_EQ(after.crlf, before.crlf);
    if (before.encoding_source == HTML_ENCODING_SNIFFED) {
        EXPECT_EQ(after.ascii_only, before.ascii_only);
    }
    EXPECT_EQ(ReadEntries(m_page), entries);

    const std::string once = ReadFileBytes(m_page);
    ASSERT_TRUE(Rebuild(m_page));
    EXPECT_EQ(ReadFileBytes(m_page), once);
}

TEST_P(CorpusTest, AddedEntryIsReadBackFirstAndTheRestSurvives) {
    const std::vector<std::string> meaning = Meaning(m_page);
    std::vector<Entry> entries = ReadEntries(m_page);
    const Entry added{"Sunday, December 06, 2026", "New & <improved>", "/new.htm?x=1&y=2",
                      "Line 1\nLine 2 \xE2\x82\xAC \xE2\x9C\x93"};
    entries.insert(entries.begin(), added);
    ASSERT_TRUE(Update(m_page, [&] { SetList(entries); }));
    EXPECT_EQ(ReadEntries(m_page), entries);
    EXPECT_EQ(WithoutAddedHeading(Meaning(m_page), meaning), meaning);
}

INSTANTIATE_TEST_SUITE_P(Pages, CorpusTest,
                         ::testing::Values("tables.html", "forms.html", "scripts.html",
                                           "pre-entities.html", "crlf.html", "xhtml.html",
                                           "page1996.html", "latin1.html", "ascii-undeclared.html"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
