#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/date_time.h"

namespace epochclock {

// 1969-07-20 20:17:43, the first crewed Moon landing, taken as UTC.
runtime::DateTimeSerial epoch();

// The UTC offset (local time minus UTC, in seconds) in days.
double offsetToDays(double seconds);

struct Sample {
  runtime::DateTimeSerial Tnow;
  runtime::DateTimeSerial Tutc;
  std::int64_t starsecs;  // whole seconds from the epoch to Tutc
};

// Empty when Tutc leaves the date range.
std::optional<Sample> sample(runtime::DateTimeSerial Tnow, double TZdays);

// " + 39A4.51EB": the sign text, the hex digits of the magnitude with a point
// before the last four, the part before the point blank-filled to four places.
std::string starDateText(std::int64_t starsecs);

}  // namespace epochclock
