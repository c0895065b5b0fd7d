#include <gtest/gtest.h>

#include <ctime>

#include "editor/DateText.h"
#include "editor/PagePath.h"

TEST(PagePathTest, AcceptsHtmInAnyCaseAndLongerExtensions) {
    EXPECT_TRUE(IsHtmlPath("news.htm"));
    EXPECT_TRUE(IsHtmlPath("/srv/www/NEWS.HTM"));
    EXPECT_TRUE(IsHtmlPath("page.html"));
    EXPECT_TRUE(IsHtmlPath("page.htmx"));
    EXPECT_TRUE(IsHtmlPath("docs.htm/readme"));  // the last "." is in a folder name
}

TEST(PagePathTest, RefusesOtherPaths) {
    EXPECT_FALSE(IsHtmlPath(""));
    EXPECT_FALSE(IsHtmlPath("page.ht"));
    EXPECT_FALSE(IsHtmlPath("page"));
    EXPECT_FALSE(IsHtmlPath("page.html.bak"));
    EXPECT_FALSE(IsHtmlPath("page.txt"));
}

TEST(DateTextTest, UsesEnglishNamesAndTwoDigitDays) {
    std::tm local{};
    local.tm_year = 96;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    EXPECT_EQ(FormatDateText(std::mktime(&local)), "Tuesday, March 05, 1996");
}
