#include <time.h>

#include "runtime/date_time.h"
#include "runtime/local_time.h"
#include "runtime/utc_clock.h"

namespace runtime {

UtcReading readUtcClock() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return {now.tv_sec, std::chrono::microseconds{now.tv_nsec / 1000}};
}

std::optional<ZoneReading> systemZoneReading(std::int64_t unixSeconds) {
  ZoneReading reading;
  const auto stamp = static_cast<std::time_t>(unixSeconds);
  if (stamp != unixSeconds || !localtime_r(&stamp, &reading.local)) return std::nullopt;
  reading.utcOffset = reading.local.tm_gmtoff;
  return reading;
}

void refreshZone() { tzset(); }

}  // namespace runtime
