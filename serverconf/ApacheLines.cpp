#include "serverconf/ApacheLines.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string Trimmed(const std::string& text) {
    std::string::size_type first = 0;
    std::string::size_type last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// The quoted word starting at `at` (on the quote); `at` ends past it.
std::string QuotedWord(const std::string& text, std::string::size_type* at) {
    const char quote = text[*at];
    std::string word;
    ++*at;
    while (*at < text.size() && text[*at] != quote) {
        if (text[*at] == '\\' && *at + 1 < text.size() && text[*at + 1] == quote) ++*at;
        word += text[*at];
        ++*at;
    }
    if (*at < text.size()) ++*at;
    return word;
}

}  // namespace

std::vector<ApacheLine> ApacheLogicalLines(const std::string& text) {
    std::vector<ApacheLine> lines;
    std::string pending;
    int start = 0;
    int number = 0;
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (pending.empty()) start = number;
        if (!raw.empty() && raw.back() == '\\') {
            raw.pop_back();
            pending += raw;
            continue;
        }
        const std::string whole = Trimmed(pending + raw);
        pending.clear();
        if (!whole.empty() && whole[0] != '#') lines.push_back({whole, start});
    }
    const std::string rest = Trimmed(pending);
    if (!rest.empty() && rest[0] != '#') lines.push_back({rest, start});
    return lines;
}

std::vector<std::string> ApacheWords(const std::string& text) {
    std::vector<std::string> words;
    std::string::size_type at = 0;
    while (true) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at >= text.size()) break;
        if (text[at] == '"' || text[at] == '\'') {
            words.push_back(QuotedWord(text, &at));
            continue;
        }
        const std::string::size_type start = at;
        while (at < text.size() && !IsBlank(text[at])) ++at;
        words.push_back(text.substr(start, at - start));
    }
    return words;
}
