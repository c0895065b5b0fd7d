// Text the program puts into a page, in the page's own encoding and line
// ends, and the section built from entries.
#include <gtest/gtest.h>

#include <string>

#include "PageTesting.h"
#include "page/PageForm.h"
#include "page/SectionBuilder.h"

namespace {

PageForm Form(const char* encoding, bool crlf = false, bool asciiOnly = false, bool cr = false) {
    return PageForm{encoding, asciiOnly, crlf, cr};
}

TEST(PageFormTest, TextIsWrittenInThePagesEncodingAndLineEnds) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xE2\x9C\x93\n";
    const struct {
        PageForm form;
        std::string text, written;
    } cases[] = {
        {Form("UTF-8"), "a\n\xC3\xA9\n", "a\n\xC3\xA9\n"},
        {Form("utf-8", true), "a\nb\n", "a\r\nb\r\n"},
        {Form("UTF-8", false, false, true), "a\nb\n", "a\rb\r"},
        // Characters the encoding cannot hold become numeric references.
        {Form("windows-1252", true), text, "caf\xE9 \x80 &#10003;\r\n"},
        {Form("ISO-8859-1"), text, "caf\xE9 &#8364; &#10003;\n"},
        {Form("Shift_JIS"), "\xE6\x97\xA5 \xE2\x82\xAC", "\x93\xfa &#8364;"},
        {Form("UTF-8", false, true), text + "\xF0\x9F\x98\x80",
         "caf&#233; &#8364; &#10003;\n&#128512;"},
        {Form("UTF-16LE", true), "a\n", std::string("a\0\r\0\n\0", 6)},
        // Broken UTF-8 is replaced; an encoding no charset writes gets ASCII.
        {Form("windows-1252"),
         "a\xFF"
         "b\xC3(",
         "a&#65533;b&#65533;("},
        {Form("no-such-encoding"), "\xC3\xA9", "&#233;"},
        // U+10FF00 to U+10FFFF are characters, never bytes: no NUL, no
        // quote, no "<" comes out of them.
        {Form("UTF-8"), "\xF4\x8F\xBC\x80\xF4\x8F\xBC\xA2", "\xF4\x8F\xBC\x80\xF4\x8F\xBC\xA2"},
        {Form("windows-1252"), "\xF4\x8F\xBC\xBC", "&#1113916;"},
        // windows-1252 keeps the five bytes it leaves undefined.
        {Form("windows-1252"), "\xC2\x81\xC2\x8D", "\x81\x8D"},
        // A shift state is left for a reference and returned to ASCII at the
        // end; a letter that may combine with the next character waits for it.
        {Form("ISO-2022-JP"), "\xE6\x97\xA5\xE2\x82\xAC\xE6\x97\xA5",
         "\x1B$BF|\x1B(B&#8364;\x1B$BF|\x1B(B"},
        {Form("big5-hkscs"), "\xC3\x8A\xCC\x84\xC3\x8A\xE2\x82\xAC", "\x88\x62\x88\x66&#8364;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeForPage(c.text, c.form), c.written) << c.form.encoding << ": " << c.text;
    }
}

TEST(SectionBuilderTest, SectionIsTheProgramsOwnFormWithFieldsAsText) {
    const ItemList list =
        ListOf({{"Friday, May 10, 1996", "Fish & <Chips>", "/menu.htm?a=1&b=\"2\"", "one\ntwo"}});
    EXPECT_EQ(
        BuildFirstSection(list.Head()),
        "<H2>Tavrel</H2>\n<DL>\n" + kMarker +
            "\n<DT><STRONG>Friday, May 10, 1996</STRONG>\n<BR>\n"
            "<A href=\"/menu.htm?a=1&amp;b=%222%22\"><STRONG>Fish &amp; &lt;Chips&gt;</STRONG>\n"
            "</A>\n</DT>\n<DD>one\ntwo<BR>\n<P></DD>\n</DL>");
    // Line ends a reader would take for layout or read as another character.
    const ItemList breaks = ListOf({{"\nDate", "Title\r\n", "/", "\n\nDescription\r"}});
    EXPECT_EQ(
        BuildSection(breaks.Head()),
        "<DL>\n" + kMarker +
            "\n<DT><STRONG>&#10;Date</STRONG>\n<BR>\n<A href=\"/\"><STRONG>Title&#13;\n</STRONG>\n"
            "</A>\n</DT>\n<DD>&#10;\nDescription&#13;<BR>\n<P></DD>\n</DL>");
    EXPECT_EQ(BuildSection(nullptr), "<DL>\n" + kMarker + "\n</DL>");
}

}  // namespace
