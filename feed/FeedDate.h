// Dates of feed entries: the date text of an entry read as a calendar day,
// and points in time written as RFC 3339 date-times.
#pragma once

#include <ctime>
#include <optional>
#include <string>

// The local midnight that starts the day named by `text`, or nothing when the
// text names no day. Taken, with or without a leading day name and commas
// (letter case ignored, English names, months also as their first three
// letters): "Sunday, December 06, 2026", "2026-12-06", "December 6, 2026",
// "6 December 2026", "Dec 6, 2026". A day the month does not have is no day.
std::optional<std::time_t> ParseEntryDate(const std::string& text);

// `when` in local time with its offset from UTC, e.g. "2026-12-06T00:00:00+01:00".
std::string Rfc3339(std::time_t when);

// True when `text` has the form of an RFC 3339 date-time.
bool IsRfc3339(const std::string& text);
