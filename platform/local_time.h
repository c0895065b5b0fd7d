// The machine's local time: its clock read in its time zone.
#pragma once

#include <ctime>

// `when` as a local calendar time, with its offset east of UTC in seconds
// (daylight saving included) in `*utcOffset` when given.
std::tm LocalTime(std::time_t when, long* utcOffset = nullptr);
