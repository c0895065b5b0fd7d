// The program's one UTF-8 module and its ASCII helpers: the cases where the
// copies they replaced used to differ.
#include <gtest/gtest.h>

#include <string>

#include "text/ascii.h"
#include "text/utf8.h"

namespace {

// Decode's length for `bytes` (0: not a well-formed character) and whether
// IsIncomplete calls the bytes a cut-short start.
std::pair<std::size_t, bool> Read(const std::string& bytes) {
    char32_t code_point = 0;
    return {utf8::Decode(bytes, code_point), utf8::IsIncomplete(bytes)};
}

TEST(Utf8Test, DecodesOnlyWellFormedCharactersAndKnowsACutShortOne) {
    using Result = std::pair<std::size_t, bool>;
    EXPECT_EQ(Read("a"), Result(1, false));
    EXPECT_EQ(Read("\xC3\xA9"), Result(2, false));
    EXPECT_EQ(Read("\xF0\x9D\x84\x9E"), Result(4, false));
    EXPECT_EQ(Read("\xC3"), Result(0, true));               // cut short
    EXPECT_EQ(Read("\xF0\x9D\x84"), Result(0, true));       // cut short
    EXPECT_EQ(Read("\xC0\xAF"), Result(0, false));          // overlong "/"
    EXPECT_EQ(Read("\xE0\x80"), Result(0, false));          // an overlong start is not incomplete
    EXPECT_EQ(Read("\xED\xA0\x80"), Result(0, false));      // surrogate
    EXPECT_EQ(Read("\xF4\x90\x80\x80"), Result(0, false));  // past U+10FFFF
    EXPECT_EQ(Read("\x80"), Result(0, false));
    EXPECT_EQ(Read(""), Result(0, false));

    char32_t code_point = 0;
    ASSERT_EQ(utf8::Decode("\xE2\x82\xAC!", code_point), 3u);
    EXPECT_EQ(code_point, U'\u20AC');
    std::string encoded;
    for (const char32_t c : {U'A', U'\u00E9', U'\u20AC', U'\U0001D11E'}) utf8::Append(encoded, c);
    EXPECT_EQ(encoded, "A\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E");
}

TEST(Utf8Test, ScansAndCutsWithoutSplittingACharacter) {
    const std::string ascii(20, 'a');
    EXPECT_TRUE(utf8::ScanBytes(ascii).ascii_only);
    EXPECT_FALSE(utf8::ScanBytes(ascii + "\xC3\xA9").ascii_only);
    EXPECT_TRUE(utf8::IsValid(ascii + "\xC3\xA9" + ascii));
    EXPECT_FALSE(utf8::IsValid(ascii + "caf\xE9" + ascii));

    const std::string clef = "\xF0\x9D\x84\x9E";
    EXPECT_EQ(utf8::Prefix("x" + clef, 4), "x");
    EXPECT_EQ(utf8::Prefix("x" + clef, 5), "x" + clef);
    EXPECT_EQ(utf8::Prefix("xy", 1), "x");
}

TEST(AsciiTest, LetterCaseIgnoresTheLocaleAndLeavesOtherBytesAlone) {
    EXPECT_TRUE(ascii::EqualsIgnoringCase("Windows-1252", "windows-1252"));
    EXPECT_FALSE(ascii::EqualsIgnoringCase("\xC3\xA9", "\xC3\x89"));  // é and É
    EXPECT_TRUE(ascii::StartsWithIgnoringCase(".HTML", ".htm"));
    EXPECT_FALSE(ascii::StartsWithIgnoringCase(".ht", ".htm"));
    EXPECT_EQ(ascii::Uppercase("my-icon\xC3\xA9"), "MY-ICON\xC3\xA9");
    EXPECT_TRUE(ascii::IsSpace('\f'));
    EXPECT_FALSE(ascii::IsSpace('\v'));  // not white space in HTML
}

}  // namespace
