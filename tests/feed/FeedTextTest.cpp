// The feed's building blocks: XML text, entry dates, name-based UUIDs and
// URL references.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "feed/FeedDate.h"
#include "feed/FeedUrl.h"
#include "feed/NameUuid.h"
#include "feed/XmlText.h"

namespace {

TEST(XmlTextTest, EscapesMarkupDropsWhatXmlForbidsAndKeepsTheRest) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Q&A <b>\"x\"</b>", "Q&amp;A &lt;b&gt;&quot;x&quot;&lt;/b&gt;"},
        {"]]>", "]]&gt;"},
        {"a\x01\x08\x0b\x1f b\tc\nd\re", "a b\tc\nd\re"},
        {"caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80"},
        {"\xef\xbf\xbe\xef\xbf\xbf", ""},  // U+FFFE, U+FFFF
        {"x\xf4\x8f\xbc\x80y", "xy"},      // U+10FF00: an undecodable byte's stand-in
        {"caf\xe9!", "caf\xef\xbf\xbd!"},  // a stray byte: U+FFFD
        {"a\xed\xa0\x80"
         "b",
         "a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"
         "b"},  // an encoded surrogate is no UTF-8: U+FFFD for each byte
    };
    for (const auto& c : cases) EXPECT_EQ(XmlText(c.in), c.out) << c.in;
}

class FeedDateTest : public ::testing::Test {
  protected:
    // A zone with an offset, so that "midnight local time" is told from UTC.
    void SetUp() override {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }
};

// Every listed form is read as local midnight; texts that name no day are no
// dates; the written form is the one feed readers check.
TEST_F(FeedDateTest, ReadsEveryListedFormAsLocalMidnightAndNothingElse) {
    for (const char* form : {"Sunday, December 06, 2026", "2026-12-06", "December 6, 2026",
                             "6 December 2026", "Dec 6, 2026", "dec 6 2026", "Sun, 6 Dec 2026"}) {
        EXPECT_EQ(Rfc3339(ParseEntryDate(form).value_or(0)), "2026-12-06T00:00:00+01:00") << form;
    }
    EXPECT_EQ(Rfc3339(*ParseEntryDate("2026-07-01")), "2026-07-01T00:00:00+02:00");
    EXPECT_TRUE(ParseEntryDate("February 29, 2028").has_value());
    for (const char* text : {"", "soon", "February 30, 2026", "2026-13-01", "2026-02-29",
                             "December 2026", "6/12/2026", "Smarch 6, 2026", "December 6, 26"}) {
        EXPECT_FALSE(ParseEntryDate(text).has_value()) << text;
    }
    EXPECT_TRUE(IsRfc3339(Rfc3339(std::time(nullptr))));
    EXPECT_TRUE(IsRfc3339("2026-12-06T00:00:00Z"));
    EXPECT_FALSE(IsRfc3339("2026-12-06"));
    EXPECT_FALSE(IsRfc3339("2026-12-06T00:00:00+0100"));
}

TEST(NameUuidTest, MatchesTheVersion5UuidsOfRfc4122) {
    EXPECT_EQ(UuidUrn(NameUuid(kUrlNamespace, "https://example.org/")),
              "urn:uuid:527dda32-a0de-5105-a042-cb475b5f7d11");
    const auto digest = Sha1(std::string(1000, 'a'));  // more than one block
    EXPECT_EQ(digest[0], 0x29);
    EXPECT_EQ(digest[19], 0xba);
}

TEST(FeedUrlTest, ReferencesResolveAgainstThePagePath) {
    const struct {
        const char *base, *reference, *out;
    } cases[] = {
        {"/news/index.html", "a.html", "/news/a.html"},
        {"/news/index.html", "/b.html", "/b.html"},
        {"/news/index.html", "#top", "/news/index.html#top"},
        {"/news/index.html", "https://x.org/c", "https://x.org/c"},
        {"/news/index.html", "mailto:a@b.org", "mailto:a@b.org"},
        {"/news/index.html", "//cdn.org/d", "//cdn.org/d"},
        {"/index.html", "sub/e:f.html", "/sub/e:f.html"},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveReference(c.base, c.reference), c.out);
    EXPECT_EQ(OnSite("https://example.org", "/a b"), "https://example.org/a b");
    EXPECT_EQ(OnSite("https://example.org", "https://x.org/"), "https://x.org/");
    EXPECT_EQ(OnSite("", "/a"), "/a");
    EXPECT_EQ(TrimSiteUrl("https://example.org//"), "https://example.org");
}

// Feed links are read as browsers read them: dot segments removed, ".." at
// the root staying there, "%2e" a dot and "\\" a slash; an escape that would
// decode into a separator names no file.
TEST(FeedUrlTest, LinkPathsResolveAsBrowsersReadThem) {
    const struct {
        const char *reference, *out;
    } cases[] = {
        {"../escaped.atom", "/escaped.atom"},
        {"/%2e%2e/%2E%2e/outside.atom", "/outside.atom"},
        {"a/./b/../c.atom?x=/../#y", "/news/a/c.atom"},
        {"..\\..\\w.atom", "/w.atom"},
        {".%2e/.%2E/caf%C3%A9.atom", "/caf%C3%A9.atom"},
        {"x/..", "/news/"},
        {"", "/news/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveUrlPath("/news/index.html", c.reference).value_or("none"), c.out)
            << c.reference;
    }
    for (const char* hidden : {"%2e%2e%2f%2e%2e%2fx.atom", "a%5c..%5cb.atom", "a%00.atom"}) {
        EXPECT_FALSE(ResolveUrlPath("/news/index.html", hidden).has_value()) << hidden;
    }
    EXPECT_EQ(DecodedPath("/caf%C3%A9.atom"), "/caf\xc3\xa9.atom");
}

}  // namespace
