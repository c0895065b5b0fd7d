// The program changes only what it owns. Every page of both corpora, and
// pages made here in other encodings and line ends, is rebuilt, added to,
// changed, deleted from and given a feed link; each result must be the
// original's bytes with one range replaced: the section (or, on a page
// without one, an insertion at the end of BODY's content), or the place of
// the feed link. The new section must read back as the entries it was built
// from, and a second rebuild must change nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PageTesting.h"
#include "page/FeedLinkEdit.h"
#include "page/PageRewriter.h"
#include "page/PageScan.h"
#include "support/ByteStream.h"
#include "support/TempDir.h"

namespace {

// Pages made here: the forms the corpora do not have.
const std::vector<std::pair<std::string, std::string>> kMadePages = {
    {"implied_body", "<!doctype html><title>News</title><h1>News</h1><p>First words\n"},
    {"text_only", "hello<p>x</p>"},
    {"empty", ""},
    {"cr_only", "<html>\r<body>\r<p>a</p>\r</body>\r</html>\r"},
    {"utf16le", std::string("\xFF\xFE<\0p\0>\0a\0\n\0", 12)},
    {"nul_bytes", std::string("<html><body><p>a\0b</p>\n", 24) + Section() +
                      std::string("<p>\0</p></body></html>\n", 24)},
    {"plane_16", "<html><body><p>\xF4\x8F\xBC\x80 &#1113916;script&#1113918;</p>\n" +
                     Section(Pair("1") + "<dt><strong>\xF4\x8F\xBC\x80</strong><a href=\"/"
                                         "\xF4\x8F\xBC\xA2\"><strong>&#1113916;x&#1113918;"
                                         "</strong></a><dd>\xF4\x8F\xBF\xBF<br><p>\n") +
                     "</body></html>\n"},
    {"unclosed_section", "<body><div>" + Section(Pair("1")).substr(0, 90) + "</div><p>after"},
    {"content_after_body", "<html><body><p>in</p></body><p>after</p>\n</html>\n"},
    // Mostly LF only in its section: the line ends outside it decide.
    {"lf_only_in_section",
     [] {
         std::string lines;
         for (int i = 0; i < 20; ++i) lines += "<p>x</p>\r\n";
         return "<html>\r\n<body>\r\n" + lines + Section(Pair("1") + std::string(40, '\n')) +
                "\r\n</body>\r\n</html>\r\n";
     }()},
    {"head_without_end", "<html><head><title>t</title>\n<body><p>x</p></body></html>\n"},
};

std::vector<std::pair<std::string, std::string>> AllPages() {
    std::vector<std::pair<std::string, std::string>> pages;
    for (const auto& [name, bytes] : kMadePages) pages.emplace_back("made_" + name, bytes);
    for (const char* folder : {"/tests/page/corpus", "/tests/browser/corpus"}) {
        for (const auto& file :
             std::filesystem::directory_iterator(std::string(TAVREL_SOURCE_DIR) + folder)) {
            if (file.path().extension() != ".html") continue;
            pages.emplace_back(file.path().stem().string(), ReadFileBytes(file.path().string()));
        }
    }
    return pages;
}

struct Rewritten {
    SessionFailure failure;
    PageScan scan;  // of the original
    std::string bytes;
};

Rewritten Rewrite(const std::string& page, const PageChange& change, size_t partSize = 13) {
    Rewritten result;
    const ByteStream in(page);
    const TempDir dir;
    FILE* out = std::fopen((dir / "out.html").c_str(), "wb");
    result.failure = RewritePage(in.get(), out, change, &result.scan, partSize);
    std::fclose(out);
    result.bytes = ReadFileBytes(dir / "out.html");
    return result;
}

Rewritten Rebuild(const std::string& page) {
    return Rewrite(page, SectionChange([](const PageScan&, ItemList&) { return true; }));
}

std::vector<Entry> EntriesOf(const std::string& page) {
    const ByteStream in(page);
    PageScan scan;
    EXPECT_FALSE(ScanPage(in.get(), &scan));
    return EntriesOf(scan.entries);
}

// The edit that makes the page's entries `entries`.
EntriesEdit SetTo(const std::vector<Entry>& entries) {
    return [entries](const PageScan&, ItemList& list) {
        list = ListOf(entries);
        return true;
    };
}

// `after` is `before` with `range` replaced; the replacement is returned.
std::string Replacement(const std::string& before, const std::string& after, ByteRange range) {
    EXPECT_LE(range.begin, range.end);
    EXPECT_LE(range.end, before.size());
    const std::string prefix = before.substr(0, range.begin);
    const std::string suffix = before.substr(range.end);
    EXPECT_GE(after.size(), prefix.size() + suffix.size());
    EXPECT_EQ(after.substr(0, prefix.size()), prefix) << "bytes before the range changed";
    EXPECT_EQ(after.substr(after.size() - std::min(after.size(), suffix.size())), suffix)
        << "bytes after the range changed";
    return after.substr(prefix.size(), after.size() - prefix.size() - suffix.size());
}

const Entry kAdded{"Monday, December 07, 2026", "New & <improved> \xE2\x82\xAC", "/new.htm?a=1&b=2",
                   "Line 1\nLine \xF4\x8F\xBC\xA2 2"};

class OwnedBytesTest : public ::testing::TestWithParam<std::pair<std::string, std::string>> {
  protected:
    // Checks that `edit` replaced only the section (or inserted one) and
    // that the result reads back as `expected` and is stable.
    void ExpectSectionChange(const EntriesEdit& edit, const std::vector<Entry>& expected) {
        const std::string& page = GetParam().second;
        const Rewritten result = Rewrite(page, SectionChange(edit));
        ASSERT_FALSE(result.failure) << result.failure.Text(" ");
        const PageScan& scan = result.scan;
        const ByteRange range =
            scan.hasSection ? scan.section : ByteRange{scan.sectionPlace, scan.sectionPlace};
        if (scan.hasSection) {
            EXPECT_EQ(page.substr(range.begin, 1), "<");
        }
        Replacement(page, result.bytes, range);
        EXPECT_EQ(EntriesOf(result.bytes), expected);
        const Rewritten again = Rebuild(result.bytes);
        ASSERT_FALSE(again.failure);
        EXPECT_EQ(again.bytes, result.bytes) << "a second rebuild changed the page";
    }
};

TEST_P(OwnedBytesTest, SectionEditsReplaceOnlyTheSection) {
    const std::string& page = GetParam().second;
    const std::vector<Entry> entries = EntriesOf(page);
    const Rewritten rebuilt = Rebuild(page);
    ASSERT_FALSE(rebuilt.failure) << rebuilt.failure.Text(" ");
    if (!rebuilt.scan.hasSection) {
        EXPECT_EQ(rebuilt.bytes, page) << "nothing to build";
    }
    ExpectSectionChange(SetTo(entries), entries);

    std::vector<Entry> added = entries;
    added.insert(added.begin(), kAdded);
    ExpectSectionChange(SetTo(added), added);
    if (entries.empty()) return;

    std::vector<Entry> changed = entries;
    changed.front().title = "Changed \xC3\xA9";
    ExpectSectionChange(SetTo(changed), changed);
    std::vector<Entry> deleted(entries.begin() + 1, entries.end());
    ExpectSectionChange(SetTo(deleted), deleted);
}

TEST_P(OwnedBytesTest, FeedLinkChangesOnlyTheLinkAndGoesAgainWhole) {
    const std::string& page = GetParam().second;
    const Rewritten enabled =
        Rewrite(page, [](const PageScan& scan, std::vector<PageSplice>* splices) {
            std::optional<PageSplice> link = AddFeedLink(scan, "news & more.atom");
            if (!link) return false;
            splices->push_back(*link);
            return true;
        });
    if (!enabled.scan.hasHeadElement) {
        EXPECT_EQ(enabled.failure.code, FailureCode::kEditRefused);
        return;
    }
    ASSERT_FALSE(enabled.failure);
    const uint64_t place = enabled.scan.headContentEnd;
    const std::string link = Replacement(page, enabled.bytes, {place, place});
    if (link.find('\0') == std::string::npos) {  // not UTF-16
        EXPECT_NE(link.find("href=\"news &amp; more.atom\">"), std::string::npos) << link;
    }
    const Rewritten disabled =
        Rewrite(enabled.bytes, [](const PageScan& scan, std::vector<PageSplice>* splices) {
            EXPECT_TRUE(scan.head.linksFeed);
            EXPECT_EQ(scan.head.feedHref, "news & more.atom");
            *splices = RemoveFeedLinks(scan);
            return true;
        });
    ASSERT_FALSE(disabled.failure);
    if (!Rebuild(page).scan.head.linksFeed) {
        EXPECT_EQ(disabled.bytes, page);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, OwnedBytesTest, ::testing::ValuesIn(AllPages()),
                         [](const auto& info) { return info.param.first; });

// "|" marks where the section goes.
TEST(OwnedBytesTest, SectionGoesWhereABrowserEndsBody) {
    for (const std::string marked : {"<html><body><p>x</p>\n|</body></html>\n",
                                     "<html><body><p>in</p></body><p>after</p>|\n</html>\n",
                                     "<!doctype html><title>News</title><h1>News</h1><p>First\n|",
                                     "<html><head><title>t</title></head></html>|", "|"}) {
        const size_t bar = marked.find('|');
        const std::string page = marked.substr(0, bar) + marked.substr(bar + 1);
        const Rewritten result = Rewrite(page, SectionChange(SetTo({kAdded})));
        ASSERT_FALSE(result.failure) << page;
        EXPECT_EQ(result.scan.sectionPlace, bar) << marked;
        const std::string inserted = Replacement(page, result.bytes, {bar, bar});
        // On a line of its own: a line end after it at a line's start, else before it.
        const bool lineStart = bar == 0 || page[bar - 1] == '\n';
        EXPECT_EQ(inserted.substr(0, 16), lineStart ? "<H2>Tavrel</H2>\n" : "\n<H2>Tavrel</H2>");
        EXPECT_EQ(inserted.substr(inserted.size() - 6), lineStart ? "</DL>\n" : "\n</DL>");
    }
}

}  // namespace
