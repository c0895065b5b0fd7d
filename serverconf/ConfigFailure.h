// The failure that ends the reading of a configuration: its text names the
// file and, where there is one, the line.
#pragma once

#include <stdexcept>
#include <string>

#include "serverconf/ServerConfig.h"

class ConfigFailure : public std::runtime_error {
  public:
    // "FILE:LINE: reason", or "FILE: reason" when `place` has no line.
    ConfigFailure(const ConfigPlace& place, const std::string& reason);
};

// `path` joined to `base` when it is relative, with no "." components, each
// ".." taking away the name before it, and runs of slashes reduced to one;
// links are not resolved. Relative only when `base` is.
std::string JoinConfigPath(const std::string& base, const std::string& path);

// `text` with ${NAME} replaced by `lookup(NAME)` where that gives a value.
// Names it gives none for are left as written and added to `undefined`.
template <typename Lookup>
std::string ExpandVariables(const std::string& text, Lookup lookup, std::string* undefined);

// True when `text` holds a shell wildcard: '*', '?' or '['.
bool HasWildcard(const std::string& text);

// The site address "scheme://name[:port]": the port left out when it is the
// scheme's own (80 for http, 443 for https). A `name` that already holds a
// scheme or a port keeps them.
std::string ComposeSiteUrl(const std::string& scheme, const std::string& name, int port);

template <typename Lookup>
std::string ExpandVariables(const std::string& text, Lookup lookup, std::string* undefined) {
    std::string result;
    std::string::size_type at = 0;
    while (at < text.size()) {
        const std::string::size_type open = text.find("${", at);
        const std::string::size_type close =
            open == std::string::npos ? open : text.find('}', open + 2);
        if (close == std::string::npos) {
            result += text.substr(at);
            break;
        }
        result += text.substr(at, open - at);
        const std::string name = text.substr(open + 2, close - open - 2);
        if (const auto value = lookup(name)) {
            result += *value;
        } else {
            result += text.substr(open, close + 1 - open);
            if (undefined->empty()) *undefined = name;
        }
        at = close + 1;
    }
    return result;
}
