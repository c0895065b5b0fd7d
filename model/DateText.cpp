#include "model/DateText.h"

#include <cstdio>

#include "platform/local_time.h"

namespace {
constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

std::time_t SystemClock() { return std::time(nullptr); }

DateClock g_dateClock = SystemClock;
}  // namespace

std::string FormatDateText(std::time_t when) {
    const std::tm local = LocalTime(when);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %s %02d, %d", kWeekdays[local.tm_wday],
                  kMonths[local.tm_mon], local.tm_mday, local.tm_year + 1900);
    return text;
}

std::string DateText() { return FormatDateText(g_dateClock()); }

void SetDateClock(DateClock clock) { g_dateClock = clock != nullptr ? clock : SystemClock; }
