#include <gtest/gtest.h>

#include <ctime>

#include "model/DateText.h"
#include "model/PagePath.h"

TEST(PagePathTest, AcceptsHtmInAnyCaseAndLongerExtensionsOnTheLastName) {
    // "docs.htm/readme": the last "." is in a folder name.
    for (const char* path : {"news.htm", "/srv/www/NEWS.HTM", "page.htmx", "docs.htm/readme"})
        EXPECT_TRUE(IsHtmlPath(path)) << path;
    for (const char* path : {"", "page.ht", "page", "page.html.bak", "page.txt"})
        EXPECT_FALSE(IsHtmlPath(path)) << path;
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
