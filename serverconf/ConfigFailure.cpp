#include "serverconf/ConfigFailure.h"

#include <vector>

namespace {

std::string FailureText(const ConfigPlace& place, const std::string& reason) {
    return PlaceText(place) + ": " + reason;
}

}  // namespace

ConfigFailure::ConfigFailure(const ConfigPlace& place, const std::string& reason)
    : std::runtime_error(FailureText(place, reason)) {}

std::string PlaceText(const ConfigPlace& place) {
    return place.line > 0 ? place.file + ":" + std::to_string(place.line) : place.file;
}

std::string JoinConfigPath(const std::string& base, const std::string& path) {
    const std::string whole = !path.empty() && path[0] == '/' ? path : base + "/" + path;
    std::vector<std::string> parts;
    std::string::size_type at = 0;
    while (at <= whole.size()) {
        std::string::size_type slash = whole.find('/', at);
        if (slash == std::string::npos) slash = whole.size();
        const std::string part = whole.substr(at, slash - at);
        if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else if (!part.empty() && part != "." && (part != ".." || whole[0] != '/')) {
            parts.push_back(part);
        }
        at = slash + 1;
    }
    std::string joined;
    for (const std::string& part : parts) joined += "/" + part;
    if (whole[0] != '/') return joined.empty() ? "." : joined.substr(1);
    if (joined.empty()) return "/";
    if (!path.empty() && path.back() == '/') joined += '/';
    return joined;
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?[") != std::string::npos; }

std::string ComposeSiteUrl(const std::string& scheme, const std::string& name, int port) {
    std::string address = name;
    std::string ownScheme = scheme;
    const std::string::size_type schemeEnd = address.find("://");
    if (schemeEnd != std::string::npos) {
        ownScheme = address.substr(0, schemeEnd);
        address = address.substr(schemeEnd + 3);
    }
    while (!address.empty() && address.back() == '/') address.pop_back();
    const bool hasPort =
        address.find(':', address.rfind(']') == std::string::npos ? 0 : address.rfind(']')) !=
        std::string::npos;
    const int ownPort = ownScheme == "https" ? 443 : 80;
    if (!hasPort && port > 0 && port != ownPort) address += ":" + std::to_string(port);
    return ownScheme + "://" + address;
}
