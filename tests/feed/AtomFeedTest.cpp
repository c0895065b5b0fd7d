// The feed document: ids that survive edits and rebuilds, `updated` kept for
// dates that name no day, and addresses with and without the site's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feed/AtomFeed.h"
#include "feed/FeedDate.h"
#include "model/ItemList.h"

namespace {

// An item list of `entries` in order.
ItemList ItemsOf(const std::vector<EntryText>& entries) {
    ItemList list;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        list.InsertAtHead(ItemOf(*entry));
    return list;
}

FeedContext Context() {
    FeedContext context;
    context.title = "News";
    context.pageUrlPath = "/news/index.html";
    context.feedUrlPath = "/news/index.atom";
    context.host = "example.org";
    context.adminEmail = "webmaster@example.org";
    context.buildTime = 1'800'000'000;
    return context;
}

std::vector<std::string> All(const std::string& text, const std::string& name) {
    std::vector<std::string> found;
    const std::string open = "<" + name + ">";
    for (auto at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const auto start = at + open.size();
        found.push_back(text.substr(start, text.find("</" + name + ">", start) - start));
    }
    return found;
}

TEST(AtomFeedTest, EntryIdsDependOnLinkAndDateOnly) {
    const auto before = ItemsOf({{"2026-12-06", "Old title", "a.html", "old"}});
    const auto after = ItemsOf({{"2026-12-06", "New <title>", "a.html", "new & more"}});
    const auto moved = ItemsOf({{"2026-12-07", "Old title", "a.html", "old"}});
    const std::string first = AtomFeedText(Context(), before.Head());
    EXPECT_EQ(All(first, "id"), All(AtomFeedText(Context(), after.Head()), "id"));
    EXPECT_NE(All(first, "id")[1], All(AtomFeedText(Context(), moved.Head()), "id")[1]);
    EXPECT_EQ(All(first, "id")[0], "tag:example.org,2000:/news/index.html");
    EXPECT_EQ(All(first, "id")[1].rfind("urn:uuid:", 0), 0U);
}

TEST(AtomFeedTest, AnUndatedEntryKeepsItsPreviousUpdatedElseTakesTheBuildTime) {
    const auto items =
        ItemsOf({{"whenever", "A", "a.html", ""}, {"Dec 6, 2026", "B", "b.html", ""}});
    FeedContext context = Context();
    const std::string first = AtomFeedText(context, items.Head());
    const std::string built = Rfc3339(context.buildTime);
    EXPECT_EQ(All(first, "updated")[1], built);

    context.buildTime += 86400;
    context.previousUpdated = PreviousUpdates(first);
    const std::string second = AtomFeedText(context, items.Head());
    EXPECT_EQ(All(second, "updated")[1], built);
    EXPECT_EQ(All(second, "updated")[2], Rfc3339(*ParseEntryDate("2026-12-06")));
    EXPECT_EQ(All(second, "updated")[0], All(second, "updated")[2]) << "the newest entry's";
}

TEST(AtomFeedTest, LinksAreAbsoluteWithASiteAndUrlPathsWithout) {
    const auto items = ItemsOf({{"2026-12-06", "A", "a.html?x=1&y=2", ""}});
    FeedContext context = Context();
    const std::string bare = AtomFeedText(context, items.Head());
    EXPECT_NE(bare.find("<link rel=\"self\" href=\"/news/index.atom\"/>"), std::string::npos);
    EXPECT_NE(bare.find("href=\"/news/a.html?x=1&amp;y=2\""), std::string::npos);
    EXPECT_NE(bare.find("<author><name>example.org</name><email>webmaster@example.org</email>"),
              std::string::npos);

    context.siteUrl = "https://example.org";
    const std::string sited = AtomFeedText(context, items.Head());
    EXPECT_EQ(All(sited, "id")[0], "https://example.org/news/index.html");
    EXPECT_NE(sited.find("href=\"https://example.org/news/a.html?x=1&amp;y=2\""),
              std::string::npos);
    EXPECT_NE(sited.find("rel=\"self\" href=\"https://example.org/news/index.atom\""),
              std::string::npos);
}

}  // namespace
