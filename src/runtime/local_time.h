#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace runtime {

// A moment as the system's zone shows it: the calendar fields and the zone's
// offset from UTC then, in seconds.
struct ZoneReading {
  std::tm local{};
  std::int64_t utcOffset = 0;
};
// Empty when the system cannot show the moment.
std::optional<ZoneReading> systemZoneReading(std::int64_t unixSeconds);

}  // namespace runtime
