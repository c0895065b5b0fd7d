// The date text the editor proposes for a new entry.
#pragma once

#include <ctime>
#include <string>

// `when` in local time as "%A, %B %d, %Y" with English day and month names
// whatever the locale, e.g. "Tuesday, March 05, 1996".
std::string FormatDateText(std::time_t when);

// FormatDateText of the current time, as the date clock tells it.
std::string DateText();

// The clock DateText reads: the system's by default. Tests set a fixed one so
// that a run crossing midnight sees one date; nullptr restores the system's.
using DateClock = std::time_t (*)();
void SetDateClock(DateClock clock);
