#include "feed/AtomFeed.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "feed/FeedDate.h"
#include "feed/FeedUrl.h"
#include "feed/NameUuid.h"
#include "feed/XmlText.h"

namespace {

// The updated time of one entry, as text, and when known as a time.
struct Updated {
    std::string text;
    std::time_t when = 0;
};

Updated UpdatedOf(const FeedContext& context, const std::string& id, const std::string& date) {
    if (const std::optional<std::time_t> day = ParseEntryDate(date)) {
        return {Rfc3339(*day), *day};
    }
    const auto previous = context.previousUpdated.find(id);
    if (previous != context.previousUpdated.end() && IsRfc3339(previous->second)) {
        return {previous->second, 0};
    }
    return {Rfc3339(context.buildTime), context.buildTime};
}

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + XmlText(text) + "</" + name + ">";
}

std::string TextElement(const std::string& name, const std::string& text) {
    return "<" + name + " type=\"text\">" + XmlText(text) + "</" + name + ">";
}

std::string LinkElement(const std::string& rel, const std::string& href) {
    return "<link rel=\"" + rel + "\" href=\"" + XmlText(href) + "\"/>";
}

std::string AuthorElement(const FeedContext& context) {
    std::string author = "<author>" + Element("name", context.host);
    if (!context.adminEmail.empty()) author += Element("email", context.adminEmail);
    return author + "</author>";
}

std::string EntryElement(const FeedContext& context, const std::string& feedId,
                         const CTavrelItem& item, const Updated& updated) {
    const std::string link =
        OnSite(context.siteUrl, ResolveReference(context.pageUrlPath, item.GetHyperlink()));
    return "  <entry>\n    " + TextElement("title", item.GetTitle()) + "\n    " +
           LinkElement("alternate", link) + "\n    " +
           Element("id", EntryId(feedId, item.GetHyperlink(), item.GetDate())) + "\n    " +
           Element("updated", updated.text) + "\n    " +
           TextElement("summary", item.GetDescription()) + "\n  </entry>\n";
}

std::string FirstTagText(const std::string& text, const std::string& name) {
    const std::string open = "<" + name + ">";
    const std::string::size_type start = text.find(open);
    if (start == std::string::npos) return {};
    const std::string::size_type end = text.find("</" + name + ">", start);
    if (end == std::string::npos) return {};
    return text.substr(start + open.size(), end - start - open.size());
}

}  // namespace

std::string FeedId(const FeedContext& context) {
    if (!context.siteUrl.empty()) return context.siteUrl + context.pageUrlPath;
    return "tag:" + context.host + ",2000:" + context.pageUrlPath;
}

std::string EntryId(const std::string& feedId, const std::string& hyperlink,
                    const std::string& dateText) {
    return UuidUrn(NameUuid(NameUuid(kUrlNamespace, feedId), hyperlink + "\n" + dateText));
}

std::string AtomFeedText(const FeedContext& context, const CTavrelItem* head) {
    const std::string feedId = FeedId(context);
    std::string entries;
    std::optional<Updated> newest;
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        const Updated updated = UpdatedOf(
            context, EntryId(feedId, item->GetHyperlink(), item->GetDate()), item->GetDate());
        if (!newest || updated.when > newest->when) newest = updated;
        entries += EntryElement(context, feedId, *item, updated);
    }
    const std::string feedUpdated = newest ? newest->text : Rfc3339(context.buildTime);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n  " +
           TextElement("title", context.title) + "\n  " +
           LinkElement("alternate", OnSite(context.siteUrl, context.pageUrlPath)) + "\n  " +
           LinkElement("self", OnSite(context.siteUrl, context.feedUrlPath)) + "\n  " +
           Element("id", feedId) + "\n  " + Element("updated", feedUpdated) + "\n  " +
           AuthorElement(context) + "\n" + entries + "</feed>\n";
}

std::map<std::string, std::string> PreviousUpdates(const std::string& feedText) {
    std::map<std::string, std::string> updates;
    for (std::string::size_type at = feedText.find("<entry>"); at != std::string::npos;
         at = feedText.find("<entry>", at + 1)) {
        const std::string::size_type end = feedText.find("</entry>", at);
        const std::string entry = feedText.substr(at, end == std::string::npos ? end : end - at);
        const std::string id = FirstTagText(entry, "id");
        const std::string updated = FirstTagText(entry, "updated");
        if (!id.empty() && IsRfc3339(updated)) updates[id] = updated;
    }
    return updates;
}
