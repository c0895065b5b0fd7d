// tavrel feed: the page's entries as an Atom feed, and turning the page's
// feed link on and off.
#include <iostream>

#include "cli/Commands.h"
#include "cli/PageSteps.h"
#include "feed/FeedPlace.h"
#include "feed/PageFeed.h"
#include "model/Messages.h"
#include "page/FeedLinkEdit.h"
#include "platform/file_system.h"

namespace {

int PrintFeed(const std::string& page, const PageSession& session, const PageOptions& options) {
    FeedResult why;
    const std::optional<std::string> text =
        FeedTextFor(session, FeedOptions{options.baseUrl, 0, true}, &why);
    if (why.outcome == FeedOutcome::kFailed) {
        return Refuse(page, SessionFailure{FailureCode::kSettingsUnreadable, 0, why.detail});
    }
    if (!text) {
        return Refuse(page,
                      why.outcome == FeedOutcome::kNoUrl ? kMsgPageHasNoUrl : kMsgFeedOutside);
    }
    std::cout << *text;
    return 0;
}

// A page links one feed: asking for it again changes nothing (exit 0), and
// asking for another is refused (exit 1), both said.
int SayLinkedAlready(const std::string& page, const std::string& linked,
                     const std::string& wanted) {
    std::cerr << page << ": the page already links the feed " << linked
              << "; it was left unchanged.";
    const bool other = !wanted.empty() && wanted != linked;
    if (other) std::cerr << " To link " << wanted << " instead, give --disable first.";
    std::cerr << '\n';
    return other ? 1 : 0;
}

int EnableFeed(const std::string& page, PageSession* session, const std::string& wanted,
               const PageOptions& options) {
    if (session->Head().linksFeed) return SayLinkedAlready(page, session->Head().feedHref, wanted);
    const std::string href = wanted.empty() ? NameOf(DefaultFeedFile(page)) : wanted;
    const FeedOptions feedOptions{options.baseUrl, 0};
    const FeedResult place = LocateFeed(page, href, feedOptions);
    if (place.outcome == FeedOutcome::kFailed) {
        return Refuse(page, SessionFailure{FailureCode::kSettingsUnreadable, 0, place.detail});
    }
    if (place.outcome != FeedOutcome::kPlaced) {
        if (place.outcome == FeedOutcome::kElsewhere) {
            std::cerr << page << ": " << href << " names no local file";
        } else {
            std::cerr << page << ": "
                      << (place.outcome == FeedOutcome::kNoUrl ? kMsgFeedHasNoPlace
                                                               : kMsgFeedOutside);
        }
        std::cerr << " The page was left unchanged.\n";
        return 1;
    }
    const SessionFailure failure =
        session->Change([&](const PageScan& scan, std::vector<PageSplice>* splices) {
            std::optional<PageSplice> link = AddFeedLink(scan, href);
            if (!link) {
                Refuse(page, "The page has no HEAD to link a feed from; it was left unchanged.");
                return false;
            }
            splices->push_back(std::move(*link));
            return true;
        });
    if (failure.code == FailureCode::kEditRefused) return 1;
    if (failure) return Refuse(page, failure);
    return ReportFeed(page, WriteFeedFile(*session, place.file, feedOptions));
}

int DisableFeed(const std::string& page, PageSession* session) {
    if (!session->Head().linksFeed) {
        std::cerr << page << ": the page links no feed; it was left unchanged.\n";
        return 0;
    }
    const SessionFailure failure =
        session->Change([](const PageScan& scan, std::vector<PageSplice>* splices) {
            *splices = RemoveFeedLinks(scan);
            return true;
        });
    return failure ? Refuse(page, failure) : 0;
}

}  // namespace

int RunFeed(const std::string& page, const FeedChange& change, const PageOptions& options) {
    const bool writes = change.enable.has_value() || change.disable;
    PageSession session(page);
    if (const int failed = OpenPage(page, &session, options, writes)) return failed;
    if (session.IsNew()) return Refuse(page, SessionFailure{FailureCode::kPageMissing, 0});
    if (change.disable) return DisableFeed(page, &session);
    if (change.enable) return EnableFeed(page, &session, *change.enable, options);
    return PrintFeed(page, session, options);
}
