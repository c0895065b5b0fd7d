#include "feed/FeedDate.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <regex>
#include <vector>

#include "platform/local_time.h"

namespace {

constexpr std::array<const char*, 12> kMonths = {"january",   "february", "march",    "april",
                                                 "may",       "june",     "july",     "august",
                                                 "september", "october",  "november", "december"};
constexpr std::array<const char*, 7> kDays = {"sunday",   "monday", "tuesday", "wednesday",
                                              "thursday", "friday", "saturday"};

// A word or a number of a date text.
struct Token {
    std::string word;  // lower case; empty for a number
    int number = -1;
    std::size_t digits = 0;
};

std::vector<Token> Tokens(const std::string& text) {
    std::vector<Token> tokens;
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        Token token;
        if (std::isalpha(c)) {
            while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at]))) {
                token.word +=
                    static_cast<char>(std::tolower(static_cast<unsigned char>(text[at++])));
            }
        } else if (std::isdigit(c)) {
            token.number = 0;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
                   token.digits < 5) {
                token.number = token.number * 10 + (text[at++] - '0');
                ++token.digits;
            }
        } else if (c == ',' || std::isspace(c)) {
            ++at;
            continue;
        } else {
            return {};  // anything else: not a date this reads
        }
        tokens.push_back(token);
    }
    return tokens;
}

// The month (1 to 12) named by `word` or its first three letters, or 0.
int MonthOf(const std::string& word) {
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        const std::string name = kMonths[i];
        if (word == name || (word.size() == 3 && name.compare(0, 3, word) == 0)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool IsDayName(const std::string& word) {
    for (const char* day : kDays) {
        const std::string name = day;
        if (word == name || (word.size() == 3 && name.compare(0, 3, word) == 0)) return true;
    }
    return false;
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int month, int year) {
    constexpr std::array<int, 12> kLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kLengths[month - 1];
}

std::optional<std::time_t> LocalMidnight(int year, int month, int day) {
    if (year < 1000 || month < 1 || month > 12 || day < 1 || day > DaysIn(month, year)) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_isdst = -1;
    const std::time_t when = std::mktime(&fields);
    if (when == static_cast<std::time_t>(-1)) return std::nullopt;
    return when;
}

std::optional<std::time_t> FromIso(const std::string& text) {
    static const std::regex kIso(R"(\s*(\d{4})-(\d{2})-(\d{2})\s*)");
    std::smatch match;
    if (!std::regex_match(text, match, kIso)) return std::nullopt;
    return LocalMidnight(std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]));
}

bool IsYear(const Token& token) { return token.digits == 4; }
bool IsDay(const Token& token) { return token.digits >= 1 && token.digits <= 2; }

std::optional<std::time_t> FromWords(std::vector<Token> tokens) {
    if (!tokens.empty() && IsDayName(tokens.front().word)) tokens.erase(tokens.begin());
    if (tokens.size() != 3) return std::nullopt;
    // "December 6 2026" or "6 December 2026"
    if (MonthOf(tokens[0].word) != 0 && IsDay(tokens[1]) && IsYear(tokens[2])) {
        return LocalMidnight(tokens[2].number, MonthOf(tokens[0].word), tokens[1].number);
    }
    if (IsDay(tokens[0]) && MonthOf(tokens[1].word) != 0 && IsYear(tokens[2])) {
        return LocalMidnight(tokens[2].number, MonthOf(tokens[1].word), tokens[0].number);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::time_t> ParseEntryDate(const std::string& text) {
    if (const std::optional<std::time_t> iso = FromIso(text)) return iso;
    return FromWords(Tokens(text));
}

std::string Rfc3339(std::time_t when) {
    long offset = 0;
    const std::tm local = LocalTime(when, &offset);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char zone[48];
    std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return std::string(stamp) + zone;
}

bool IsRfc3339(const std::string& text) {
    static const std::regex kForm(
        R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d+)?(Z|[+-]\d{2}:\d{2}))");
    return std::regex_match(text, kForm);
}
