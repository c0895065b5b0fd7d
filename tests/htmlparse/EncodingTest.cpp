// Finding how a page is written (encoding, byte-order mark, line ends) and
// reading it as UTF-8 with LF line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ParseHelpers.h"

using namespace std::string_view_literals;
using parsetest::OutlineOf;

namespace {

struct EncodingCase {
    std::string_view bytes;
    const char* encoding;
    int source;
    std::string_view outline;
    bool crlf = false;
};

}  // namespace

TEST(Encoding, PageFormIsFoundAndReadAsUtf8) {
    const std::string spaces(1100, ' ');
    const std::string late = spaces + "<meta charset=koi8-r>\xC3\xA9";
    const std::string late_outline = '"' + spaces + "\" META[charset=koi8-r] \"\xC3\xA9\"";
    const EncodingCase cases[] = {
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
        // CRLF is read as LF, also where it ends a tag; one LF makes the page LF.
        {"<div>\r\n<p>a\r\nb</p>\r\n</div>\r\n", "UTF-8", HTML_ENCODING_SNIFFED,
         "DIV/s/e{P{\"a\nb\"} \"\n\"}", true},
        {"<div>\na\r\n</div>\n", "UTF-8", HTML_ENCODING_SNIFFED, "DIV/s/e{\"a\n\"}"},
    };
    for (const EncodingCase& each : cases) {
        SCOPED_TRACE(each.bytes);
        EXPECT_EQ(OutlineOf(each.bytes), each.outline);
        HTMLPageInfo info;
        HTMLGetPageInfo(&info);
        EXPECT_STREQ(info.encoding, each.encoding);
        EXPECT_EQ(info.encoding_source, each.source);
        EXPECT_EQ(info.has_bom, each.source == HTML_ENCODING_BOM);
        EXPECT_EQ(info.crlf, each.crlf);
        const bool ascii = std::all_of(each.bytes.begin(), each.bytes.end(),
                                       [](unsigned char byte) { return byte < 0x80; });
        EXPECT_EQ(info.ascii_only, ascii);
    }
}
