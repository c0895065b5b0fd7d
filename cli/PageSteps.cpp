#include "cli/PageSteps.h"

#include <iostream>

#include "feed/PageFeed.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "model/WriteRefusal.h"
#include "page/PageReader.h"

int Refuse(const std::string& caption, const char* message) {
    std::cerr << caption << ": " << message << '\n';
    return 1;
}

int Refuse(const std::string& caption, const SessionFailure& failure) {
    if (failure.message == kMsgCouldNotCreate) {
        const std::string reason = WriteRefusalReason(caption, failure.error);
        if (!reason.empty())
            return Refuse(caption, (std::string(kMsgCouldNotWrite) + ' ' + reason).c_str());
    }
    std::cerr << caption << ": " << failure.Text(" ") << '\n';
    return 1;
}

int OpenPage(const std::string& page, PageSession* session, const PageOptions& options,
             bool forWriting) {
    if (!IsHtmlPath(page)) return Refuse(page, kMsgNotHtml);
    if (const SessionFailure failure = session->Open(options.waitSeconds, forWriting)) {
        return Refuse(page, failure);
    }
    return 0;
}

int RefuseDrops(const std::string& page, const PageOptions& options) {
    if (options.force || g_unreadContent.empty()) return 0;
    std::cerr << page << ": " << kMsgUnreadContent << '\n';
    for (const std::string& dropped : g_unreadContent) std::cerr << "  - " << dropped << '\n';
    std::cerr << "The page was left unchanged; give --force to build it anyway.\n";
    return 1;
}

int ReportFeed(const std::string& page, const FeedResult& result) {
    if (result.outcome == FeedOutcome::kElsewhere) {
        std::cerr << page << ": the feed link names no local file; no feed was written.\n";
    } else if (result.outcome == FeedOutcome::kNoUrl) {
        return Refuse(page, kMsgFeedHasNoPlace);
    } else if (result.outcome == FeedOutcome::kOutside) {
        return Refuse(page, kMsgFeedOutside);
    } else if (result.outcome == FeedOutcome::kFailed) {
        std::cerr << page << ": "
                  << SessionFailure{kMsgFeedNotWritten, result.error, result.detail}.Text(" ");
        if (!result.file.empty()) std::cerr << " (" << result.file << ")";
        std::cerr << '\n';
        return 1;
    }
    return 0;
}

int EditPage(const std::string& page, PageSession* session, const PageOptions& options,
             const std::function<bool()>& edit) {
    if (!IsHtmlPath(page)) return Refuse(page, kMsgNotHtml);
    const SessionFailure failure = session->Rewrite(
        options.waitSeconds, [&] { return edit() && RefuseDrops(page, options) == 0; });
    if (failure.message == kMsgEditRefused) return 1;
    if (failure) return Refuse(page, failure);
    return ReportFeed(page, WriteLinkedFeed(*session, FeedOptions{options.baseUrl, 0}));
}
