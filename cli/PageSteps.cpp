#include "cli/PageSteps.h"

#include <iostream>

#include "feed/PageFeed.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "model/WriteRefusal.h"

int Refuse(const std::string& caption, const char* message) {
    std::cerr << caption << ": " << message << '\n';
    return 1;
}

int Refuse(const std::string& caption, const SessionFailure& failure) {
    if (failure.code == FailureCode::kCouldNotCreate) {
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

int RefuseDrops(const std::string& page, const std::vector<std::string>& unread,
                const PageOptions& options) {
    if (options.force || unread.empty()) return 0;
    std::cerr << page << ": " << kMsgUnreadContent << '\n';
    for (const std::string& dropped : unread) std::cerr << "  - " << dropped << '\n';
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
                  << SessionFailure{FailureCode::kFeedNotWritten, result.error, result.detail}.Text(
                         " ");
        if (!result.file.empty()) std::cerr << " (" << result.file << ")";
        std::cerr << '\n';
        return 1;
    }
    return 0;
}

int EditPage(const std::string& page, PageSession* session, const PageOptions& options,
             const std::function<bool(ItemList& entries)>& edit) {
    if (!IsHtmlPath(page)) return Refuse(page, kMsgNotHtml);
    const SessionFailure failure =
        session->Rewrite(options.waitSeconds, [&](const PageScan& scan, ItemList& entries) {
            return edit(entries) && RefuseDrops(page, scan.unreadContent, options) == 0;
        });
    if (failure.code == FailureCode::kEditRefused) return 1;
    if (failure) return Refuse(page, failure);
    return ReportFeed(page, WriteLinkedFeed(*session, FeedOptions{options.baseUrl, 0}));
}
