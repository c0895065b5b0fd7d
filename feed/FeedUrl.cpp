#include "feed/FeedUrl.h"

#include <cctype>

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

std::string ReferencePath(const std::string& reference) {
    const std::string path = reference.substr(0, reference.find_first_of("?#"));
    std::string decoded;
    for (std::size_t at = 0; at < path.size(); ++at) {
        if (path[at] == '%' && at + 2 < path.size() && HexValue(path[at + 1]) >= 0 &&
            HexValue(path[at + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(path[at + 1]) * 16 + HexValue(path[at + 2]));
            at += 2;
        } else {
            decoded += path[at];
        }
    }
    return decoded;
}
