#include "page/FeedLinkEdit.h"

#include "page/LinkText.h"
#include "page/PageForm.h"

std::optional<PageSplice> AddFeedLink(const PageScan& scan, const std::string& href) {
    if (!scan.hasHeadElement) return std::nullopt;
    const std::string link = "<link rel=\"alternate\" type=\"application/atom+xml\" href=\"" +
                             AttributeSafeLink(href) + "\">";
    const ByteRange place{scan.headContentEnd, scan.headContentEnd};
    return PageSplice{place, EncodeForPage(link, scan.form), EncodeForPage("\n", scan.form)};
}

std::vector<PageSplice> RemoveFeedLinks(const PageScan& scan) {
    std::vector<PageSplice> splices;
    const std::string lineEnd = EncodeForPage("\n", scan.form);
    for (const ByteRange& link : scan.feedLinks) {
        if (!splices.empty() && link.begin < splices.back().range.end) continue;  // inside the last
        splices.push_back(PageSplice{link, {}, lineEnd});
    }
    return splices;
}
