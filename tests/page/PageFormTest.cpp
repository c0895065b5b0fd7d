// Writing serialized UTF-8 back in a page's own encoding and line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "page/PageForm.h"

namespace {

// What WriteInPageForm puts out for `pieces`, written one after the other
// with a flush between, so multi-byte characters may be split; "!" when it
// reports failure. The writer reports `written` as its own outcome.
std::string Convert(const PageForm& form, const std::vector<std::string>& pieces,
                    bool written = true) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    const bool ok = WriteInPageForm(out, form, [&](FILE* stream) {
        for (const std::string& piece : pieces) {
            std::fwrite(piece.data(), 1, piece.size(), stream);
            std::fflush(stream);
        }
        return written;
    });
    std::fclose(out);
    std::string bytes(buffer, size);
    std::free(buffer);
    return ok ? bytes : "!";
}

PageForm Form(const char* encoding, bool crlf = false, bool asciiOnly = false, bool bom = false,
              bool cr = false) {
    return PageForm{encoding, asciiOnly, crlf, bom, cr};
}

struct Case {
    PageForm form;
    std::vector<std::string> pieces;
    std::string written;
};

TEST(PageFormTest, TextIsWrittenInThePagesEncodingAndLineEnds) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xE2\x9C\x93\n";
    const Case cases[] = {
        {Form("UTF-8"), {"a\n\xC3\xA9\r\n"}, "a\n\xC3\xA9\n"},
        {Form("utf-8", true), {"a\nb\n"}, "a\r\nb\r\n"},
        // A lone CR is a line break of its own, also when a LF follows later;
        // a CRLF split between two writes stays one line end.
        {Form("UTF-8"), {"\r\r\r\n\n", "x\r", "\ny"}, "\n\n\n\nx\ny"},
        {Form("windows-1252", true), {"a\rb\r", "\n"}, "a\r\nb\r\n"},
        {Form("UTF-8", false, false, false, true), {"a\nb\r\nc\r"}, "a\rb\rc\r"},
        // Characters the encoding cannot hold become numeric references.
        {Form("windows-1252", true), {text}, "caf\xE9 \x80 &#10003;\r\n"},
        {Form("ISO-8859-1"), {text}, "caf\xE9 &#8364; &#10003;\n"},
        {Form("UTF-8", false, true),
         {text, "\xF0\x9F\x98\x80"},
         "caf&#233; &#8364; &#10003;\n&#128512;"},
        // Characters split between writes are joined; broken UTF-8 is replaced.
        {Form("windows-1252"), {"x\xE2", "\x82", "\xAC"}, "x\x80"},
        {Form("windows-1252"), {"x\xE2\x82"}, "x&#65533;&#65533;"},
        {Form("windows-1252"),
         {"a\xFF"
          "b\xC3("},
         "a&#65533;b&#65533;("},
        {Form("UTF-8", false, false, true),
         {"a"},
         "\xEF\xBB\xBF"
         "a"},
        {Form("UTF-16LE", true, false, true),
         {"a\n"},
         std::string("\xFF\xFE"
                     "a\0\r\0\n\0",
                     8)},
        {Form("no-such-encoding"), {"a"}, "!"},
        // Byte stand-ins go back as their bytes, NUL as the encoding's NUL;
        // windows-1252 keeps the five bytes it leaves undefined.
        {Form("UTF-8"),
         {"a\xF4\x8F\xBC\x80", "\xF4\x8F", "\xBF\xBF\xF4\x8F\xBF\xBFz"},
         std::string("a\0\xFF\xFFz", 5)},
        {Form("windows-1252"),
         {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC2\x80\xF4\x8F\xBE\x81"},
         "\x81\x8D\x8F\x90\x9D&#128;\x81"},
        {Form("SHIFT_JIS"), {"\xF4\x8F\xBE\xA0\xF4\x8F\xBC\x80"}, std::string("\xA0\0", 2)},
        {Form("UTF-16LE"), {"\xF4\x8F\xBC\x80"}, std::string("\0\0", 2)},
        {Form("UTF-8", false, true), {"\xF4\x8F\xBC\x80"}, std::string("\0", 1)},
    };
    for (const Case& c : cases) EXPECT_EQ(Convert(c.form, c.pieces), c.written) << c.pieces[0];
}

TEST(PageFormTest, FailedWriteIsReported) {
    EXPECT_EQ(Convert(Form("windows-1252"), {"a"}, false), "!");
}

}  // namespace
