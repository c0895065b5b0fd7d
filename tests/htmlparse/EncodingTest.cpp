// Finding how a page is written (encoding, byte-order mark, line ends) and
// reading it as UTF-8 with LF line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ParseHelpers.h"

using namespace std::string_view_literals;
using parsetest::OutlineOf;

TEST(Encoding, PageFormIsFoundAndReadAsUtf8) {
    const std::string spaces(1100, ' ');
    const std::string late = spaces + "<meta charset=koi8-r>\xC3\xA9";
    const std::string late_outline = '"' + spaces + "\" META[charset=koi8-r] \"\xC3\xA9\"";
    const struct {
        std::string_view bytes;
        const char* encoding;
        int source;
        std::string_view outline;
        bool crlf = false;
        bool cr = false;
    } cases[] = {
        {"plain", "UTF-8", HTML_ENCODING_SNIFFED, "\"plain\""},
        {"caf\xC3\xA9", "UTF-8", HTML_ENCODING_SNIFFED, "\"caf\xC3\xA9\""},
        // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined in windows-1252; they
        // must survive as the C1 controls of the same value.
        {"caf\xE9 \x80 \x81\x8D\x8F\x90\x9D \x93q\x94", "windows-1252", HTML_ENCODING_SNIFFED,
         "\"caf\xC3\xA9 \xE2\x82\xAC \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D "
         "\xE2\x80\x9Cq\xE2\x80\x9D\""},
        {"\xEF\xBB\xBF<p>\xC3\xA9", "UTF-8", HTML_ENCODING_BOM, "P{\"\xC3\xA9\"}"},
        {"\xFF\xFE<\0p\0>\0\xE9\0\r\0\n\0"sv, "UTF-16LE", HTML_ENCODING_BOM, "P{\"\xC3\xA9\n\"}",
         true},
        {"<meta charset=\"ISO-8859-1\"><p>\xE9", "windows-1252", HTML_ENCODING_DECLARED,
         "META[charset=\"ISO-8859-1\"] P{\"\xC3\xA9\"}"},
        // A declaration in a comment does not count.
        {"<!-- <meta charset=utf-8> --><head><META HTTP-EQUIV=\"Content-Type\" "
         "CONTENT=\"text/html; charset=koi8-r\"></head>\xC1",
         "KOI8-R", HTML_ENCODING_DECLARED,
         "<!-- <meta charset=utf-8>--> HEAD{META[HTTP-EQUIV=\"Content-Type\" "
         "CONTENT=\"text/html; charset=koi8-r\"]} \"\xD0\xB0\""},
        // Ignored past the first 1024 bytes or when unknown.
        {late, "UTF-8", HTML_ENCODING_SNIFFED, late_outline},
        {"<meta charset=\"no-such-thing\">\xC3\xA9", "UTF-8", HTML_ENCODING_SNIFFED,
         "META[charset=\"no-such-thing\"] \"\xC3\xA9\""},
        // A page that says UTF-16 in ASCII bytes cannot be UTF-16.
        {"<meta charset=utf-16>x", "UTF-8", HTML_ENCODING_DECLARED, "META[charset=utf-16] \"x\""},
        // CRLF and a lone CR are read as LF, also where they end a tag. The page
        // is CR when lone CRs outnumber each other form, else CRLF when at least
        // half its line ends are CRLF.
        {"<div>\r\n<p>a\r\nb</p>\r\n</div>\r\n", "UTF-8", HTML_ENCODING_SNIFFED,
         "DIV/s/e{P/e{\"a\nb\"}}", true},
        {"<div>\na\r\n</div>\n", "UTF-8", HTML_ENCODING_SNIFFED, "DIV/s/e{\"a\n\"}"},
        {"a\rb\rc\r\n", "UTF-8", HTML_ENCODING_SNIFFED, "\"a\nb\nc\n\"", false, true},
        {"a\rb\nc\n", "UTF-8", HTML_ENCODING_SNIFFED, "\"a\nb\nc\n\""},
        {"a\r\nb\rc\r\n", "UTF-8", HTML_ENCODING_SNIFFED, "\"a\nb\nc\n\"", true},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.bytes);
        EXPECT_EQ(OutlineOf(each.bytes), each.outline);
        HTMLPageInfo info;
        HTMLGetPageInfo(&info);
        EXPECT_STREQ(info.encoding, each.encoding);
        EXPECT_EQ(info.encoding_source, each.source);
        EXPECT_EQ(info.has_bom, each.source == HTML_ENCODING_BOM);
        EXPECT_EQ(info.crlf, each.crlf);
        EXPECT_EQ(info.cr, each.cr);
        const bool ascii = std::all_of(each.bytes.begin(), each.bytes.end(),
                                       [](unsigned char byte) { return byte < 0x80; });
        EXPECT_EQ(info.ascii_only, ascii);
    }
}

// Only the labels browsers know count; the rest are ignored as browsers
// ignore them, so the page is sniffed instead.
TEST(Encoding, OnlyLabelsBrowsersKnowAreHonoured) {
    const auto encodingOf = [](const std::string& label) {
        OutlineOf("<meta charset=\"" + label + "\">x");
        HTMLPageInfo info;
        HTMLGetPageInfo(&info);
        return std::string(info.encoding);
    };
    for (const char* label : {"utf-32", "UTF-7", "ucs-4", "cp037", "ibm1047", "iso-2022-kr"})
        EXPECT_EQ(encodingOf(label), "UTF-8") << label;
    const std::pair<const char*, const char*> known[] = {
        {" Latin2 ", "ISO-8859-2"}, {"sjis", "CP932"}, {"x-mac-cyrillic", "MAC-CYRILLIC"},
        {"logical", "ISO-8859-8"},  {"gb2312", "GBK"}, {"x-cp1251", "WINDOWS-1251"}};
    for (auto [label, encoding] : known) EXPECT_EQ(encodingOf(label), encoding) << label;
}

// Bytes that cannot be decoded, and NUL, stand in the text as U+10FF00 plus
// the byte, so they can be written back; UTF-16 decodes as browsers do it.
TEST(Encoding, UndecodableBytesAndUtf16AsBrowsersReadThem) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        // An unpaired surrogate is one U+FFFD; what follows is not shifted.
        {"\xFF\xFE"
         "a\0\x00\xD8"
         "b\0\x3D\xD8\x00\xDE\x00\xDC"
         "c\0"sv,
         "\"a\xEF\xBF\xBD"
         "b\xF0\x9F\x98\x80\xEF\xBF\xBD"
         "c\""},
        {"\xFE\xFF\0a\xDC\0\0b\0"sv,
         "\"a\xEF\xBF\xBD"
         "b\xEF\xBF\xBD\""},
        {"<meta charset=shift_jis><!--\x82\xA0\xFF-->"sv,
         "META[charset=shift_jis] <!--\xE3\x81\x82\xF4\x8F\xBF\xBF-->"},
        // NUL in text, in an attribute value and in raw text.
        {"a\0b<p x=\"\0\"><script>\0</script>"sv,
         "\"a\xF4\x8F\xBC\x80"
         "b\" P[x=\"\xF4\x8F\xBC\x80\"]{SCRIPT{\"\xF4\x8F\xBC\x80\"/r}}"},
    };
    for (auto [bytes, outline] : cases) EXPECT_EQ(OutlineOf(bytes), outline);
}
