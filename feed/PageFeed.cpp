#include "feed/PageFeed.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "feed/AtomFeed.h"
#include "feed/FeedPlace.h"
#include "feed/FeedUrl.h"
#include "model/ItemList.h"
#include "model/ServerRegistry.h"
#include "page/NewPageWriter.h"
#include "platform/file_replace.h"
#include "platform/registry.h"

namespace {

constexpr DWORD kRegistryTextRoom = 1024;

// A text value of the web server's key on this machine, or "" when missing.
std::string ReadServerValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    BYTE buffer[kRegistryTextRoom] = {};
    DWORD size = sizeof buffer;
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, buffer, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return {};
    buffer[kRegistryTextRoom - 1] = 0;
    return reinterpret_cast<const char*>(buffer);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

FeedContext ContextFor(const PageSession& session, const std::string& feedFile,
                       const FeedOptions& options) {
    FeedContext context;
    context.pageUrlPath = UrlPathOfFile(session.Path());
    context.feedUrlPath = UrlPathOfFile(feedFile);
    context.title = session.Head().title.empty() ? context.pageUrlPath : session.Head().title;
    const std::string site = options.baseUrl.empty() ? ReadServerValue("SiteURL") : options.baseUrl;
    context.siteUrl = TrimSiteUrl(site);
    context.adminEmail = ReadServerAdmin();
    context.host = FeedHost(context.adminEmail);
    context.buildTime = options.buildTime != 0 ? options.buildTime : std::time(nullptr);
    context.previousUpdated = PreviousUpdates(ReadFileText(feedFile));
    return context;
}

bool PutText(FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

}  // namespace

std::string DefaultFeedFile(const std::string& pagePath) {
    const std::string::size_type slash = pagePath.rfind('/');
    const std::string::size_type dot = pagePath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? pagePath.substr(0, dot) : pagePath) + ".atom";
}

std::string FeedTextFor(const PageSession& session, const std::string& feedFile,
                        const FeedOptions& options) {
    return AtomFeedText(ContextFor(session, feedFile, options), g_pItemHead);
}

FeedResult WriteFeedFile(const PageSession& session, const std::string& file,
                         const FeedOptions& options) {
    FeedResult result;
    result.file = file;
    const std::string text = FeedTextFor(session, file, options);
    const bool written = ReplaceFile(
        file, [&text](FILE* stream) { return PutText(stream, text); }, &result.error);
    result.outcome = written ? FeedOutcome::kWritten : FeedOutcome::kFailed;
    return result;
}

FeedResult WriteLinkedFeed(const PageSession& session, const FeedOptions& options) {
    if (!session.Head().linksFeed) return {};
    const std::optional<std::string> file = LocalFeedFile(session.Path(), session.Head().feedHref);
    if (!file) return {FeedOutcome::kElsewhere, {}, 0};
    return WriteFeedFile(session, *file, options);
}
