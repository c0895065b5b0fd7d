// Finding a page's encoding and reading it as UTF-8.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ParseHelpers.h"

using parsetest::Child;
using parsetest::ParsedPage;

namespace {

// The text of the last top-level node.
std::string LastText(const ParsedPage& page) {
    const block* node = page.root()->first_child;
    while (node->next_sib != nullptr) node = node->next_sib;
    return node->text;
}

}  // namespace

TEST(Encoding, UndeclaredValidUtf8IsReadAsIs) {
    ParsedPage page("caf\xC3\xA9");
    EXPECT_STREQ(page.info().encoding, "UTF-8");
    EXPECT_EQ(page.info().encoding_source, HTML_ENCODING_SNIFFED);
    EXPECT_EQ(page.info().ascii_only, 0);
    EXPECT_EQ(LastText(page), "caf\xC3\xA9");
    EXPECT_EQ(ParsedPage("plain").info().ascii_only, 1);
}

TEST(Encoding, UndeclaredInvalidUtf8IsWindows1252) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined in windows-1252; they
    // must survive as the C1 controls of the same value.
    ParsedPage page("caf\xE9 \x80 \x81\x8D\x8F\x90\x9D \x93q\x94");
    EXPECT_STREQ(page.info().encoding, "windows-1252");
    EXPECT_EQ(page.info().encoding_source, HTML_ENCODING_SNIFFED);
    EXPECT_EQ(LastText(page),
              "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D "
              "\xE2\x80\x9Cq\xE2\x80\x9D");
}

TEST(Encoding, ByteOrderMarks) {
    ParsedPage utf8("\xEF\xBB\xBF<p>\xC3\xA9");
    EXPECT_EQ(utf8.info().encoding_source, HTML_ENCODING_BOM);
    EXPECT_EQ(utf8.info().has_bom, 1);
    EXPECT_EQ(utf8.outline(), "P{\"\xC3\xA9\"}");

    const char utf16le[] = "\xFF\xFE<\0p\0>\0\xE9\0\r\0\n\0";
    ParsedPage page(std::string(utf16le, sizeof utf16le - 1));
    EXPECT_STREQ(page.info().encoding, "UTF-16LE");
    EXPECT_EQ(page.outline(), "P{\"\xC3\xA9\n\"}");
}

TEST(Encoding, MetaDeclarations) {
    ParsedPage charset("<meta charset=\"ISO-8859-1\"><p>\xE9");
    EXPECT_STREQ(charset.info().encoding, "windows-1252");
    EXPECT_EQ(charset.info().encoding_source, HTML_ENCODING_DECLARED);
    EXPECT_EQ(charset.outline(), "META P{\"\xC3\xA9\"}");

    ParsedPage http_equiv(
        "<!-- <meta charset=utf-8> --><head><META HTTP-EQUIV=\"Content-Type\" "
        "CONTENT=\"text/html; charset=koi8-r\"></head>\xC1");
    EXPECT_STREQ(http_equiv.info().encoding, "KOI8-R");
    EXPECT_EQ(LastText(http_equiv), "\xD0\xB0");  // Cyrillic small a

    // A declaration past the first 1024 bytes is not looked at.
    ParsedPage late(std::string(1100, ' ') + "<meta charset=koi8-r>\xC3\xA9");
    EXPECT_STREQ(late.info().encoding, "UTF-8");
}

TEST(Encoding, UnusableDeclarationsAreIgnored) {
    EXPECT_STREQ(ParsedPage("<meta charset=\"no-such-thing\">\xC3\xA9").info().encoding, "UTF-8");
    // A page that says UTF-16 in ASCII bytes cannot be UTF-16.
    EXPECT_STREQ(ParsedPage("<meta charset=utf-16>x").info().encoding, "UTF-8");
}

TEST(Encoding, NulBytesBecomeReplacementCharacters) {
    ParsedPage page(std::string("a\0b<p x=\"\0\">", 12));
    EXPECT_STREQ(Child(page.root(), 0)->text,
                 "a\xEF\xBF\xBD"
                 "b");
    EXPECT_STREQ(Child(page.root(), 1)->attrs->value, "\xEF\xBF\xBD");
}
