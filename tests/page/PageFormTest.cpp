// Writing serialized UTF-8 back in a page's own encoding and line ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "page/PageForm.h"

namespace {

// What WriteInPageForm puts out for `pieces`, written one after the other
// with a flush between, so multi-byte characters may be split; "!" when it
// reports failure.
std::string Convert(const PageForm& form, const std::vector<std::string>& pieces) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    const bool ok = WriteInPageForm(out, form, [&](FILE* stream) {
        for (const std::string& piece : pieces) {
            std::fwrite(piece.data(), 1, piece.size(), stream);
            std::fflush(stream);
        }
        return true;
    });
    std::fclose(out);
    std::string bytes(buffer, size);
    std::free(buffer);
    return ok ? bytes : "!";
}

PageForm Form(const char* encoding, bool crlf = false, bool asciiOnly = false, bool bom = false) {
    return PageForm{encoding, asciiOnly, crlf, bom};
}

TEST(PageFormTest, Utf8PageWithLineFeedsPassesUnchanged) {
    EXPECT_EQ(Convert(Form("UTF-8"), {"a\n\xC3\xA9\r\n"}), "a\n\xC3\xA9\r\n");
    EXPECT_EQ(Convert(Form("utf-8", true), {"a\nb\n"}), "a\r\nb\r\n");
}

TEST(PageFormTest, CharactersTheEncodingCannotHoldBecomeReferences) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xE2\x9C\x93\n";
    EXPECT_EQ(Convert(Form("windows-1252", true), {text}), "caf\xE9 \x80 &#10003;\r\n");
    EXPECT_EQ(Convert(Form("ISO-8859-1"), {text}), "caf\xE9 &#8364; &#10003;\n");
    EXPECT_EQ(Convert(Form("UTF-8", false, true), {text, "\xF0\x9F\x98\x80"}),
              "caf&#233; &#8364; &#10003;\n&#128512;");
}

TEST(PageFormTest, CharactersSplitBetweenWritesAreJoined) {
    EXPECT_EQ(Convert(Form("windows-1252"), {"x\xE2", "\x82", "\xAC"}), "x\x80");
    EXPECT_EQ(Convert(Form("windows-1252"), {"x\xE2\x82"}), "x&#65533;&#65533;");
}

TEST(PageFormTest, InvalidUtf8IsWrittenAsReplacementReference) {
    EXPECT_EQ(Convert(Form("windows-1252"), {"a\xFF" "b\xC3("}), "a&#65533;b&#65533;(");
}

TEST(PageFormTest, ByteOrderMarkAndWideEncodings) {
    EXPECT_EQ(Convert(Form("UTF-8", false, false, true), {"a"}), "\xEF\xBB\xBF" "a");
    EXPECT_EQ(Convert(Form("UTF-16LE", true, false, true), {"a\n"}),
              std::string("\xFF\xFE" "a\0\r\0\n\0", 8));
}

TEST(PageFormTest, UnknownEncodingOrFailedWriteIsReported) {
    EXPECT_EQ(Convert(Form("no-such-encoding"), {"a"}), "!");
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    EXPECT_FALSE(WriteInPageForm(out, Form("windows-1252"), [](FILE*) { return false; }));
    std::fclose(out);
    std::free(buffer);
}

}  // namespace
