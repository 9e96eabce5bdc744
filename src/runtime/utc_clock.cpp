#include "runtime/utc_clock.h"

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace runtime {

UtcReading readUtcClock() {
#ifdef _WIN32
  constexpr std::int64_t kFileTimeEpoch = 11'644'473'600;  // seconds from 1601-01-01 to 1970-01-01
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;  // 100 ns
  return {static_cast<std::int64_t>(ticks / 10'000'000) - kFileTimeEpoch,
          std::chrono::microseconds{(ticks % 10'000'000) / 10}};
#else
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return {now.tv_sec, std::chrono::microseconds{now.tv_nsec / 1000}};
#endif
}

}  // namespace runtime
