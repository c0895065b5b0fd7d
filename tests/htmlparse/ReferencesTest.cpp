// Character references in text, TITLE and TEXTAREA are decoded to UTF-8;
// everywhere else they stay as written.
#include <gtest/gtest.h>

#include <string>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::ParsedPage;

namespace {

// The text of a page that is nothing but text.
std::string TextOf(const std::string& html) {
    ParsedPage page(html);
    const block* text = Child(page.root(), 0);
    if (text == nullptr) return "";
    EXPECT_EQ(text->type, BT_TEXT);
    EXPECT_EQ(Child(page.root(), 1), nullptr);
    return text->text;
}

}  // namespace

TEST(References, MarkupCharactersAndNamedReferences) {
    EXPECT_EQ(TextOf("a &amp; b &lt;c&gt; &quot;"), "a & b <c> \"");
    EXPECT_EQ(TextOf("&eacute;&Eacute;&nbsp;&euro;&hellip;"),
              "\xC3\xA9\xC3\x89\xC2\xA0\xE2\x82\xAC\xE2\x80\xA6");
    EXPECT_EQ(TextOf("&NotNestedGreaterGreater;"), "\xE2\xAA\xA2\xCC\xB8");
}

TEST(References, LegacyNamesWorkWithoutSemicolon) {
    EXPECT_EQ(TextOf("&copy 2026 &ampx"), "\xC2\xA9 2026 &x");
    EXPECT_EQ(TextOf("&notit; &notin;"), "\xC2\xACit; \xE2\x88\x89");
    EXPECT_EQ(TextOf("&eacutex"), "\xC3\xA9x");
}

TEST(References, UnknownOrIncompleteReferencesPassThrough) {
    EXPECT_EQ(TextOf("&bogus; & &; &#; &#x; &"), "&bogus; & &; &#; &#x; &");
    EXPECT_EQ(TextOf("AT&T R&D"), "AT&T R&D");
}

TEST(References, NumericReferences) {
    EXPECT_EQ(TextOf("&#65;&#x42;&#X43;&#68"), "ABCD");
    EXPECT_EQ(TextOf("&#233;&#x1F600;"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(TextOf("&#150;&#x80;&#x81;"), "\xE2\x80\x93\xE2\x82\xAC\xC2\x81");  // windows-1252
    EXPECT_EQ(TextOf("&#0;&#xD800;&#x110000;&#99999999999;"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(References, LongerThanTheirSourceStillDecodeWhole) {
    // "&nGt;" is 5 bytes and decodes to 6; the rest of the text must survive.
    std::string many;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        many += "&nGt;";
        expected += "\xE2\x89\xAB\xE2\x83\x92";
    }
    EXPECT_EQ(TextOf(many + "end"), expected + "end");
    EXPECT_EQ(TextOf("&lt;&nLt;x"), "<\xE2\x89\xAA\xE2\x83\x92x");
}

TEST(References, BytesOutsideReferencesPassUnchanged) {
    // Invalid UTF-8 in a page declared UTF-8 is kept byte for byte.
    ParsedPage page("<meta charset=utf-8>\xFF\xFE&amp;\x80");
    EXPECT_STREQ(Child(page.root(), 1)->text, "\xFF\xFE&\x80");
}

TEST(References, DecodedInTitleAndTextareaButNotInRawText) {
    ParsedPage page(
        "<title>A &amp; B <i></title><textarea>&lt;b&gt;</textarea>"
        "<script>a&amp;b</script><p title=\"&amp;\">");
    EXPECT_STREQ(Child(page.root(), 0)->first_child->text, "A & B <i>");
    EXPECT_STREQ(Child(page.root(), 1)->first_child->text, "<b>");
    EXPECT_STREQ(Child(page.root(), 2)->first_child->text, "a&amp;b");
    EXPECT_STREQ(Child(page.root(), 3)->attrs->value, "&amp;");
}
