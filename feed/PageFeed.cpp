#include "feed/PageFeed.h"

#include <cerrno>
#include <new>
#include <optional>

#include "feed/AtomFeed.h"
#include "feed/FeedPlace.h"
#include "feed/FeedUrl.h"
#include "model/ItemList.h"
#include "model/ServerRegistry.h"
#include "page/NewPageWriter.h"
#include "platform/file_ops.h"
#include "platform/file_replace.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace {

constexpr DWORD kSiteUrlRoom = 1024;

// What stands at the feed file's place before a write.
struct FeedFileBefore {
    int error = 0;     // why it cannot be replaced: EEXIST for what is no feed, or a read's errno
    std::string text;  // the earlier feed's text
};

// Reads the earlier feed at `path` without blocking on anything that is not
// a regular file. The page links its feed by a name anyone who edits the page
// chooses, so only a missing file or an earlier feed is ever replaced: never
// the page itself, another kind of file, or a file that holds no feed.
FeedFileBefore ReadFeedFileBefore(const std::string& path, const std::string& pagePath) {
    FeedFileBefore before;
    const int fd = FileOpenForReading(path.c_str());
    if (fd < 0) {
        before.error = errno == ENOENT ? 0 : errno;
        return before;
    }
    FileStatus file;
    FileStatus page;
    const bool regular = FileStatusOf(fd, &file) && file.regular;
    const bool isPage = PathStatus(pagePath, &page) && file.id == page.id;
    if (!regular || isPage) {
        before.error = EEXIST;
        FileClose(fd);
        return before;
    }
    char buffer[65536];
    ssize_t got = 0;
    while ((got = FileRead(fd, buffer, sizeof buffer)) > 0) before.text.append(buffer, got);
    if (got < 0) before.error = errno;
    FileClose(fd);
    if (before.error == 0 && before.text.find("<feed") == std::string::npos) before.error = EEXIST;
    return before;
}

// What the feed takes from the registry, read once for a build.
struct SiteSettings {
    UrlSpace documents;
    std::string site;
    std::string admin;
};

// False, with the registry's failure in `*failure`, when it is damaged.
bool ReadSiteSettings(const FeedOptions& options, SiteSettings* settings, std::string* failure) {
    bool read = DocumentSpace(&settings->documents) &&
                ReadLocalServerText("SiteURL", kSiteUrlRoom, &settings->site) &&
                ReadServerAdmin(&settings->admin);
    if (!read) *failure = RegGetLastFailure();
    if (!options.baseUrl.empty()) settings->site = options.baseUrl;
    return read;
}

// The page's URL space and URL path, or nothing when it has none.
struct PageUrl {
    UrlSpace space;
    std::string path;
};

std::optional<PageUrl> UrlOfPage(const std::string& pagePath, const SiteSettings& settings,
                                 const FeedOptions& options) {
    PageUrl url{settings.documents, {}};
    std::optional<std::string> path = UrlPathIn(url.space, pagePath);
    if (!path && options.folderAtBaseUrl && !options.baseUrl.empty()) {
        url = {FolderSpace(FolderOf(pagePath)), {}};
        path = UrlPathIn(url.space, pagePath);
    }
    if (!path) return std::nullopt;
    url.path = *path;
    return url;
}

FeedContext ContextFor(const PageSession& session, const SiteSettings& settings,
                       const PageUrl& pageUrl, const std::string& feedFile,
                       const std::string& earlierFeed, const FeedOptions& options) {
    FeedContext context;
    context.pageUrlPath = pageUrl.path;
    context.feedUrlPath = UrlPathIn(pageUrl.space, feedFile).value_or(pageUrl.path);
    context.title = session.Head().title.empty() ? context.pageUrlPath : session.Head().title;
    context.siteUrl = TrimSiteUrl(settings.site);
    context.adminEmail = settings.admin;
    context.host = FeedHost(context.adminEmail);
    context.buildTime = options.buildTime != 0 ? options.buildTime : std::time(nullptr);
    context.previousUpdated = PreviousUpdates(earlierFeed);
    return context;
}

FeedResult Locate(const std::optional<PageUrl>& url, const std::string& href) {
    if (!url) return {FeedOutcome::kNoUrl, {}, 0, {}};
    const FeedPlace place = FeedPlaceIn(url->space, url->path, href);
    if (place.kind == FeedPlace::kElsewhere) return {FeedOutcome::kElsewhere, {}, 0, {}};
    if (place.kind == FeedPlace::kOutside) return {FeedOutcome::kOutside, {}, 0, {}};
    return {FeedOutcome::kPlaced, place.file, 0, {}};
}

FeedResult RegistryFailure(const std::string& failure) {
    return {FeedOutcome::kFailed, {}, 0, failure};
}

bool PutText(FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

// Writes the feed file `file`, as WriteFeedFile does, letting memory
// exhaustion through.
FeedResult WriteFeed(const PageSession& session, const std::string& file,
                     const FeedOptions& options) {
    SiteSettings settings;
    std::string failure;
    if (!ReadSiteSettings(options, &settings, &failure)) return RegistryFailure(failure);
    const std::optional<PageUrl> url = UrlOfPage(session.Path(), settings, options);
    if (!url) return {FeedOutcome::kNoUrl, file, 0, {}};
    const FeedFileBefore before = ReadFeedFileBefore(file, session.Path());
    if (before.error != 0) return {FeedOutcome::kFailed, file, before.error, {}};
    const std::string text =
        AtomFeedText(ContextFor(session, settings, *url, file, before.text, options),
                     session.Page().entries.Head());
    FeedResult result{FeedOutcome::kFailed, file, 0, {}};
    if (ReplaceFileSafely(
            file, [&text](FILE* stream) { return PutText(stream, text); }, &result.error)) {
        result.outcome = FeedOutcome::kWritten;
    }
    return result;
}

}  // namespace

std::string DefaultFeedFile(const std::string& pagePath) {
    const std::string::size_type slash = pagePath.rfind('/');
    const std::string::size_type dot = pagePath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? pagePath.substr(0, dot) : pagePath) + ".atom";
}

FeedResult LocateFeed(const std::string& pagePath, const std::string& href,
                      const FeedOptions& options) {
    SiteSettings settings;
    std::string failure;
    if (!ReadSiteSettings(options, &settings, &failure)) return RegistryFailure(failure);
    return Locate(UrlOfPage(pagePath, settings, options), href);
}

std::optional<std::string> FeedTextFor(const PageSession& session, const FeedOptions& options,
                                       FeedResult* why) {
    SiteSettings settings;
    std::string failure;
    if (!ReadSiteSettings(options, &settings, &failure)) {
        *why = RegistryFailure(failure);
        return std::nullopt;
    }
    const std::optional<PageUrl> url = UrlOfPage(session.Path(), settings, options);
    std::string file = DefaultFeedFile(session.Path());
    if (session.Head().linksFeed) {
        const FeedResult place = Locate(url, session.Head().feedHref);
        if (place.outcome == FeedOutcome::kNoUrl || place.outcome == FeedOutcome::kOutside) {
            *why = place;
            return std::nullopt;
        }
        if (place.outcome == FeedOutcome::kPlaced) file = place.file;
    }
    if (!url) {
        *why = {FeedOutcome::kNoUrl, {}, 0, {}};
        return std::nullopt;
    }
    const FeedFileBefore before = ReadFeedFileBefore(file, session.Path());
    return AtomFeedText(ContextFor(session, settings, *url, file, before.text, options),
                        session.Page().entries.Head());
}

FeedResult WriteFeedFile(const PageSession& session, const std::string& file,
                         const FeedOptions& options) {
    try {
        return WriteFeed(session, file, options);
    } catch (const std::bad_alloc&) {
        return {FeedOutcome::kFailed, file, ENOMEM, {}};
    }
}

FeedResult WriteLinkedFeed(const PageSession& session, const FeedOptions& options) {
    if (!session.Head().linksFeed) return {};
    try {
        FeedResult place = LocateFeed(session.Path(), session.Head().feedHref, options);
        if (place.outcome != FeedOutcome::kPlaced) return place;
        return WriteFeed(session, place.file, options);
    } catch (const std::bad_alloc&) {
        return {FeedOutcome::kFailed, {}, ENOMEM, {}};
    }
}
