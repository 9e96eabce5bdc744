#pragma once

#include <chrono>
#include <cstdint>

namespace runtime {

// One reading of the system clock in UTC: whole seconds since 1970-01-01 00:00:00 UTC
// and how far into that second it was taken.
struct UtcReading {
  std::int64_t unixSeconds;
  std::chrono::microseconds intoSecond;
};

// From the system's own count of seconds, never through a 64-bit count of nanoseconds,
// which would wrap outside the years 1677 to 2262.
UtcReading readUtcClock();

}  // namespace runtime
