#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/number_text.h"

namespace runtime {

// Days since 1899-12-30 00:00; the fraction is the time of day. Earlier
// moments are negative and lie on the same straight line: -0.25 is
// 1899-12-29 18:00, so arithmetic never jumps at day zero.
using DateTimeSerial = double;

inline constexpr DateTimeSerial kFirstSerial = -657434.0;  // 0100-01-01 00:00:00
inline constexpr DateTimeSerial kEndSerial = 2958466.0;    // 10000-01-01, excluded
inline constexpr std::int64_t kSecondsPerDay = 86400;

// Whole seconds since day zero, the moment taken to its nearest second.
std::int64_t wholeSeconds(DateTimeSerial moment);

// True for moments from 0100-01-01 00:00:00 to 9999-12-31 23:59:59.
bool inDateRange(DateTimeSerial moment);

inline constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

// The day's serial plus the time of day in days, as a date text and a time text add up.
constexpr DateTimeSerial serialOf(std::chrono::year_month_day date, std::chrono::seconds timeOfDay) {
  return static_cast<double>((std::chrono::sys_days{date} - kDayZero).count()) +
         static_cast<double>(timeOfDay.count()) / static_cast<double>(kSecondsPerDay);
}

// Empty when the result leaves the date range.
std::optional<DateTimeSerial> momentMinusDays(DateTimeSerial moment, double days);

// Whole seconds from `first` to `second`, each taken to its nearest second.
std::int64_t secondsBetween(DateTimeSerial first, DateTimeSerial second);

// "yyyy.MM.dd+HH.mm.ss", the moment taken to its nearest second.
std::string momentText(DateTimeSerial moment);

// The local moment of a count of seconds since 1970-01-01 00:00:00 UTC; NaN,
// which every check of the date range refuses, outside the years 100 to 9999.
DateTimeSerial localMoment(std::int64_t unixSeconds);

// One reading of the local wall clock: the moment in whole seconds (NaN
// outside the years 100 to 9999), how far into that second it was taken, and
// the offset of the system's zone at that moment.
struct ClockReading {
  DateTimeSerial moment;
  std::chrono::microseconds intoSecond;
  std::int64_t utcOffset = 0;  // seconds, local time minus UTC
};

// Whole seconds come from the system's own count, never through a 64-bit
// count of nanoseconds, which would wrap outside the years 1677 to 2262.
ClockReading readLocalClock();

// Makes the readings after it use the system's zone as it is now: the C library
// keeps the zone it read first. One look at the zone's file (when TZ is unset).
void refreshZone();

}  // namespace runtime
