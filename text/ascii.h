// ASCII-only text helpers: the white space and letter case of HTML names,
// encoding labels and registry names, which ignore the locale and leave every
// byte above 0x7F alone.
#pragma once

#include <string>
#include <string_view>

namespace ascii {

// HTML's white space: space, tab, line feed, form feed, carriage return.
constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

constexpr bool IsAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// `text` with its ASCII letters in lower (upper) case.
inline std::string Lowercase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToLower(c);
    return result;
}
inline std::string Uppercase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = ToUpper(c);
    return result;
}

// True when `text` begins with `prefix`, ASCII letter case ignored.
constexpr bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (ToLower(text[i]) != ToLower(prefix[i])) return false;
    }
    return true;
}

// True when `a` and `b` are equal, ASCII letter case ignored.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

}  // namespace ascii
