#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

std::vector<std::string> Tokens(const std::string& line) {
    TokenizeCommandLine(line.c_str());
    return std::vector<std::string>(g_apszTokens, g_apszTokens + g_nTokens);
}

// Tokenizes `line` and parses its switches, as start-up does.
bool Parse(const std::string& line) {
    TokenizeCommandLine(line.c_str());
    return ParseSwitches(g_nTokens, g_apszTokens);
}

std::string Machine() { return g_pszRemoteMachine ? g_pszRemoteMachine : "<none>"; }
std::string PathToken() { return g_pszPathToken ? g_pszPathToken : "<none>"; }

}  // namespace

TEST(ProcessCommandLineTest, QuotesOnlyArgumentsHoldingABlank) {
    const char* argv[] = {"/opt/my apps/tavrel-wizard", "-r", "web1", "news\tdesk.htm",
                          "/srv/my docs/p.htm"};
    EXPECT_EQ(BuildProcessCommandLine(5, argv),
              "\"/opt/my apps/tavrel-wizard\" -r web1 news\tdesk.htm \"/srv/my docs/p.htm\"");
}

TEST(CommandTailTest, CutsTheProgramNameAndFollowingBlanksAndControls) {
    EXPECT_STREQ(CommandTail("tw  page.htm  "), "page.htm  ");
    EXPECT_STREQ(CommandTail("\"/a b/tw\"page.htm"), "page.htm");
    EXPECT_STREQ(CommandTail("\"/a b/tw\" \t-r host  x.htm"), "-r host  x.htm");
    EXPECT_STREQ(CommandTail("\"/a b/tw -r host"), "");      // no closing quote
    EXPECT_STREQ(CommandTail(" \x01page.htm"), "page.htm");  // empty program name
    EXPECT_STREQ(CommandTail("tw"), "");
}

TEST(TokenizeTest, OnlyTheBlankSeparates) {
    EXPECT_EQ(Tokens("tw   -r\thost  page.htm  "),
              (std::vector<std::string>{"tw", "-r\thost", "page.htm"}));
    EXPECT_EQ(Tokens(" tw x"), (std::vector<std::string>{"", "tw", "x"}));
    EXPECT_EQ(Tokens(""), std::vector<std::string>{});
}

TEST(TokenizeTest, KeepsTheFirst511CharactersAnd32Tokens) {
    // The token that straddles the cut is shortened.
    const std::string line = "tw " + std::string(600, 'a');
    EXPECT_EQ(Tokens(line).back(), std::string(511 - 3, 'a'));

    std::string many = "tw";
    for (int i = 1; i < 40; ++i) many += " t" + std::to_string(i);
    const std::vector<std::string> tokens = Tokens(many);
    ASSERT_EQ(tokens.size(), 32u);
    EXPECT_EQ(tokens.back(), "t31");
}

TEST(ParseSwitchesTest, TakesMachineAndLastPlainToken) {
    ASSERT_TRUE(Parse("tw -rhost web1 page.htm"));
    EXPECT_EQ(Machine(), "web1");
    EXPECT_EQ(PathToken(), "page.htm");

    ASSERT_TRUE(Parse("tw a.htm /r web1 -r web2 b.htm"));  // two switches: the second wins
    EXPECT_EQ(Machine(), "web2");
    EXPECT_EQ(PathToken(), "b.htm");

    ASSERT_TRUE(Parse("tw -R web1 /R page.htm"));  // capitals are plain tokens
    EXPECT_EQ(Machine(), "<none>");
    EXPECT_EQ(PathToken(), "page.htm");

    ASSERT_TRUE(Parse("-r host"));  // token 0 is never examined
    EXPECT_EQ(Machine(), "<none>");
    EXPECT_EQ(PathToken(), "host");
}

TEST(ParseSwitchesTest, ATabMakesTheSwitchOneToken) {
    ASSERT_TRUE(Parse("tw -r\tweb1 web2 page.htm"));
    EXPECT_EQ(Machine(), "web2");
    EXPECT_EQ(PathToken(), "page.htm");
}

TEST(ParseSwitchesTest, PiecesOfAQuotedProgramPathAreExamined) {
    const char* argv[] = {"/opt/x -rtools/tw", "page.htm"};
    ASSERT_TRUE(Parse(BuildProcessCommandLine(2, argv)));
    EXPECT_EQ(Machine(), "page.htm");
    EXPECT_EQ(PathToken(), "<none>");
}

TEST(ParseSwitchesTest, ReportsASwitchWithoutValue) {
    EXPECT_FALSE(Parse("tw page.htm -r"));
    EXPECT_FALSE(Parse("tw page.htm /rweb1"));

    // The switch as the 32nd token: its value would be the 33rd.
    std::string line = "tw";
    for (int i = 1; i < 31; ++i) line += " p" + std::to_string(i);
    EXPECT_FALSE(Parse(line + " -r web1 page.htm"));

    // The value lies beyond the 511-character cut.
    EXPECT_FALSE(Parse("tw " + std::string(505, 'p') + " -r web1"));
}

TEST(ParseSwitchesTest, CutsLongTokensTo255Characters) {
    ASSERT_TRUE(Parse("tw -r " + std::string(300, 'm') + " " + std::string(300, 'p')));
    EXPECT_EQ(Machine(), std::string(255, 'm'));
    EXPECT_EQ(PathToken(), std::string(511 - 6 - 300 - 1, 'p'));
}

TEST(StartupPagePathTest, IsTheTailWithoutSwitchAndTheLastPlainArgumentWithOne) {
    EXPECT_EQ(PagePathFromTail("", false), "");
    EXPECT_EQ(PagePathFromTail("my page.htm", false), "my page.htm");
    EXPECT_EQ(PagePathFromTail("\"/srv/my docs/p.htm\"", false), "/srv/my docs/p.htm");
    EXPECT_EQ(PagePathFromTail("\"p.htm", false), "\"p.htm");

    EXPECT_EQ(PagePathFromTail("-r web1 news.htm", true), "news.htm");
    EXPECT_EQ(PagePathFromTail("news.htm /rweb1 web2", true), "news.htm");
    EXPECT_EQ(PagePathFromTail("-r web1 \"/srv/my docs/p.htm\"", true), "/srv/my docs/p.htm");
    EXPECT_EQ(PagePathFromTail("a.htm -r web1 b.htm", true), "b.htm");
    EXPECT_EQ(PagePathFromTail("-r web1", true), "");
}

TEST(StartupPagePathTest, IsMadeAbsoluteAgainstTheCurrentDirectory) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(MakeAbsolutePath("news.htm"), std::string(cwd) + "/news.htm");
    EXPECT_EQ(MakeAbsolutePath("/srv/news.htm"), "/srv/news.htm");
    EXPECT_EQ(MakeAbsolutePath(""), "");
}
