#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

using Texts = std::vector<std::string>;

Texts Tokens(const std::string& line) {
    TokenizeCommandLine(line.c_str());
    return Texts(g_apszTokens, g_apszTokens + g_nTokens);
}

// Tokenizes and parses `line` as start-up does: "ok|machine|path", "-" for
// what was not set, or "fails" when the switch lacks its value.
std::string Parse(const std::string& line) {
    TokenizeCommandLine(line.c_str());
    if (!ParseSwitches(g_nTokens, g_apszTokens)) return "fails";
    return std::string("ok|") + (g_pszRemoteMachine ? g_pszRemoteMachine : "-") + "|" +
           (g_pszPathToken ? g_pszPathToken : "-");
}

// `count` plain tokens after the program name.
std::string ManyTokens(int count) {
    std::string line = "tw";
    for (int i = 1; i <= count; ++i) line += " p" + std::to_string(i);
    return line;
}

}  // namespace

TEST(CommandLineTest, TheProcessLineQuotesOnlyArgumentsHoldingABlank) {
    const char* argv[] = {"/opt/my apps/tw", "-r", "web1", "news\tdesk.htm", "/srv/my docs/p.htm"};
    EXPECT_EQ(BuildProcessCommandLine(5, argv),
              "\"/opt/my apps/tw\" -r web1 news\tdesk.htm \"/srv/my docs/p.htm\"");
    EXPECT_STREQ(CommandTail("tw  page.htm  "), "page.htm  ");
    EXPECT_STREQ(CommandTail("\"/a b/tw\" \t-r host  x.htm"), "-r host  x.htm");
    EXPECT_STREQ(CommandTail("\"/a b/tw -r host"), "");  // no closing quote
}

TEST(CommandLineTest, OnlyTheBlankSeparatesWithinTheFirst511CharactersAnd32Tokens) {
    EXPECT_EQ(Tokens("tw   -r\thost  page.htm  "), (Texts{"tw", "-r\thost", "page.htm"}));
    EXPECT_EQ(Tokens(" tw x"), (Texts{"", "tw", "x"}));
    EXPECT_EQ(Tokens("tw " + std::string(600, 'a')).back(), std::string(511 - 3, 'a'));
    const Texts tokens = Tokens(ManyTokens(40));
    EXPECT_EQ(tokens.size(), 32u);
    EXPECT_EQ(tokens.back(), "p31");
}

TEST(CommandLineTest, SwitchesTakeTheNextTokenAndTheLastPlainTokenWins) {
    EXPECT_EQ(Parse("tw -rhost web1 page.htm"), "ok|web1|page.htm");
    EXPECT_EQ(Parse("tw a.htm /r web1 -r web2 b.htm"), "ok|web2|b.htm");  // the second wins
    EXPECT_EQ(Parse("tw -R web1 /R page.htm"), "ok|-|page.htm");          // capitals are plain
    EXPECT_EQ(Parse("-r host"), "ok|-|host");                             // token 0 is skipped
    EXPECT_EQ(Parse("tw -r\tweb1 web2 page.htm"), "ok|web2|page.htm");    // a tab joins
    const char* argv[] = {"/opt/x -rtools/tw", "page.htm"};  // a quoted path's pieces count
    EXPECT_EQ(Parse(BuildProcessCommandLine(2, argv)), "ok|page.htm|-");
    EXPECT_EQ(Parse("tw -r " + std::string(300, 'm') + " p"), "ok|" + std::string(255, 'm') + "|p");

    EXPECT_EQ(Parse("tw page.htm -r"), "fails");
    EXPECT_EQ(Parse("tw page.htm /rweb1"), "fails");
    EXPECT_EQ(Parse(ManyTokens(30) + " -r web1 page.htm"), "fails");  // the switch is token 32
    EXPECT_EQ(Parse("tw " + std::string(505, 'p') + " -r web1"), "fails");  // value beyond 511
}

TEST(CommandLineTest, ThePagePathIsTheTailOrWithASwitchTheLastPlainArgument) {
    EXPECT_EQ(PagePathFromTail("my page.htm", false), "my page.htm");
    EXPECT_EQ(PagePathFromTail("\"/srv/my docs/p.htm\"", false), "/srv/my docs/p.htm");
    EXPECT_EQ(PagePathFromTail("\"p.htm", false), "\"p.htm");
    EXPECT_EQ(PagePathFromTail("news.htm /rweb1 web2", true), "news.htm");
    EXPECT_EQ(PagePathFromTail("-r web1 \"/srv/my docs/p.htm\"", true), "/srv/my docs/p.htm");
    EXPECT_EQ(PagePathFromTail("a.htm -r web1 b.htm", true), "b.htm");
    EXPECT_EQ(PagePathFromTail("-r web1", true), "");

    EXPECT_EQ(MakeAbsolutePath("news.htm"), std::filesystem::current_path() / "news.htm");
    EXPECT_EQ(MakeAbsolutePath("/srv/news.htm"), "/srv/news.htm");
    EXPECT_EQ(MakeAbsolutePath(""), "");
}
