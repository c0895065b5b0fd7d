// Character references in text, TITLE and TEXTAREA are decoded to UTF-8;
// everywhere else they stay as written.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ParseHelpers.h"

using parsetest::ExpectOutlines;
using parsetest::OutlineOf;

TEST(References, DecodedInText) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a &amp; b &lt;c&gt; &quot;", "a & b <c> \""},
        {"&eacute;&Eacute;&nbsp;&euro;&hellip;",
         "\xC3\xA9\xC3\x89\xC2\xA0\xE2\x82\xAC\xE2\x80\xA6"},
        {"&NotNestedGreaterGreater;", "\xE2\xAA\xA2\xCC\xB8"},
        // Legacy names need no semicolon; the longest known name wins.
        {"&copy 2026 &ampx", "\xC2\xA9 2026 &x"},
        {"&notit; &notin;", "\xC2\xACit; \xE2\x88\x89"},
        {"&eacutex", "\xC3\xA9x"},
        {"&bogus; & &; &#; &#x; &", "&bogus; & &; &#; &#x; &"},
        {"AT&T R&D", "AT&T R&D"},
        {"&#65;&#x42;&#X43;&#68", "ABCD"},
        {"&#233;&#x1F600;", "\xC3\xA9\xF0\x9F\x98\x80"},
        // 0x80-0x9F are read as windows-1252, except where it has no character.
        {"&#150;&#x80;&#x81;", "\xE2\x80\x93\xE2\x82\xAC\xC2\x81"},
        {"&#0;&#xD800;&#x110000;&#99999999999;",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        // Decoded text longer than its reference.
        {"&lt;&nLt;x", "<\xE2\x89\xAA\xE2\x83\x92x"},
    };
    for (auto [html, text] : cases) {
        EXPECT_EQ(OutlineOf(html), '"' + std::string(text) + '"') << html;
    }
    std::string many;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        many += "&nGt;";
        expected += "\xE2\x89\xAB\xE2\x83\x92";
    }
    EXPECT_EQ(OutlineOf(many + "end"), '"' + expected + "end\"");
}

TEST(References, WhereTheyAreDecoded) {
    ExpectOutlines({
        {"<title>A &amp; B <i></title><textarea>&lt;b&gt;</textarea>"
         "<script>a&amp;b</script><p title=\"&amp;\">",
         "TITLE{\"A &amp; B <i>\"/r} TEXTAREA{\"&lt;b&gt;\"/r} SCRIPT{\"a&amp;b\"/r} "
         "P[title=\"&amp;\"]"},
        // Invalid UTF-8 in a page declared UTF-8 is kept byte for byte.
        {"<meta charset=utf-8>\xFF\xFE&amp;\x80", "META[charset=utf-8] \"\xFF\xFE&\x80\""},
    });
}

TEST(References, AttributeValuesDecodeAsABrowserReadsThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a?x=1&amp;y=2", "/a?x=1&y=2"},
        {"caf&#233;&#xE9;&eacute;", "caf\xC3\xA9\xC3\xA9\xC3\xA9"},
        {"?a=1&copy=2&not", "?a=1&copy=2&not"},  // no ";": left as written
        {"&lt;&gt;&quot;&unknown;&", "<>\"&unknown;&"},
        {"&nGt;", "\xE2\x89\xAB\xE2\x83\x92"},  // longer than its source
        {"", ""},
    };
    for (const auto& [value, decoded] : cases) {
        char* result = HTMLDecodeAttribute(value);
        ASSERT_NE(result, nullptr);
        EXPECT_STREQ(result, decoded) << value;
        std::free(result);
    }
}
