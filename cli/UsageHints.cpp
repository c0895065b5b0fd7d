#include "cli/UsageHints.h"

#include <algorithm>
#include <limits>

#include "text/ascii.h"

namespace {

// Edit distance with swaps of neighbouring characters, letter case ignored.
std::size_t Distance(const std::string& a, const std::string& b) {
    const std::size_t rows = a.size() + 1, columns = b.size() + 1;
    std::vector<std::size_t> d(rows * columns);
    const auto at = [&](std::size_t i, std::size_t j) -> std::size_t& {
        return d[i * columns + j];
    };
    for (std::size_t i = 0; i < rows; ++i) at(i, 0) = i;
    for (std::size_t j = 0; j < columns; ++j) at(0, j) = j;
    for (std::size_t i = 1; i < rows; ++i) {
        for (std::size_t j = 1; j < columns; ++j) {
            const bool same = ascii::ToLower(a[i - 1]) == ascii::ToLower(b[j - 1]);
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + !same});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
            }
        }
    }
    return at(rows - 1, columns - 1);
}

}  // namespace

std::string NearestName(const std::string& word, const std::vector<std::string>& names) {
    std::string nearest;
    std::size_t best = std::numeric_limits<std::size_t>::max();
    for (const std::string& name : names) {
        const std::size_t distance = Distance(word, name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    return best <= 2 && best < word.size() ? nearest : std::string();
}

bool IsSiteAddress(const std::string& url) {
    std::string::size_type host = 0;
    for (const char* scheme : {"http://", "https://"}) {
        const std::string prefix = scheme;
        if (url.size() > prefix.size() &&
            ascii::EqualsIgnoringCase(url.substr(0, prefix.size()), prefix)) {
            host = prefix.size();
        }
    }
    if (host == 0 || url[host] == '/' || url[host] == ':') return false;
    return url.find_first_of(" \t\r\n\"<>\\") == std::string::npos;
}
