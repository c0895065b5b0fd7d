#include "feed/FeedUrl.h"

#include <cctype>
#include <vector>

namespace {

bool IsSchemeChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// `text` with its %XX escapes decoded.
std::string Decoded(const std::string& text) {
    std::string decoded;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size() && HexValue(text[at + 1]) >= 0 &&
            HexValue(text[at + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
            at += 2;
        } else {
            decoded += text[at];
        }
    }
    return decoded;
}

}  // namespace

bool HasOwnHost(const std::string& reference) {
    if (reference.rfind("//", 0) == 0) return true;
    if (reference.empty() || std::isalpha(static_cast<unsigned char>(reference[0])) == 0) {
        return false;
    }
    for (const char c : reference) {
        if (c == ':') return true;
        if (!IsSchemeChar(c)) return false;
    }
    return false;
}

std::string ResolveReference(const std::string& base, const std::string& reference) {
    if (HasOwnHost(reference) || reference.rfind('/', 0) == 0) return reference;
    const std::string basePath = base.substr(0, base.find_first_of("?#"));
    if (reference.empty() || reference[0] == '#' || reference[0] == '?') {
        return basePath + reference;
    }
    return basePath.substr(0, basePath.rfind('/') + 1) + reference;
}

std::string OnSite(const std::string& siteUrl, const std::string& reference) {
    if (siteUrl.empty() || reference.rfind('/', 0) != 0 || reference.rfind("//", 0) == 0) {
        return reference;
    }
    return siteUrl + reference;
}

std::string TrimSiteUrl(std::string siteUrl) {
    while (!siteUrl.empty() && siteUrl.back() == '/') siteUrl.pop_back();
    return siteUrl;
}

std::optional<std::string> ResolveUrlPath(const std::string& base, const std::string& reference) {
    std::string path = reference.substr(0, reference.find_first_of("?#"));
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (path.empty() || path[0] != '/') path = base.substr(0, base.rfind('/') + 1) + path;
    std::vector<std::string> segments;
    bool endsInFolder = false;
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string segment = path.substr(start, end - start);
        const std::string decoded = Decoded(segment);
        if (decoded.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
            return std::nullopt;
        }
        endsInFolder = decoded == "." || decoded == "..";
        if (decoded == ".." && !segments.empty()) segments.pop_back();
        if (!endsInFolder) segments.push_back(segment);
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) resolved += "/" + segment;
    if (resolved.empty() || endsInFolder) resolved += "/";
    return resolved;
}

std::string DecodedPath(const std::string& urlPath) { return Decoded(urlPath); }
