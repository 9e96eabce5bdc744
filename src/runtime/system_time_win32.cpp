#include <windows.h>

#include <chrono>

#include "runtime/date_time.h"
#include "runtime/local_time.h"
#include "runtime/utc_clock.h"

namespace runtime {

namespace {
constexpr std::int64_t kFileTimeEpoch = 11'644'473'600;  // seconds from 1601-01-01 to 1970-01-01
}  // namespace

UtcReading readUtcClock() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;  // 100 ns
  return {static_cast<std::int64_t>(ticks / 10'000'000) - kFileTimeEpoch,
          std::chrono::microseconds{(ticks % 10'000'000) / 10}};
}

// The C runtime's local time ends with the year 3000; the system's own conversion does not.
std::optional<ZoneReading> systemZoneReading(std::int64_t unixSeconds) {
  using namespace std::chrono;
  constexpr std::int64_t kLastUsable = 253'402'300'799 + kSecondsPerDay;  // a zone's day past 9999
  if (unixSeconds < -kFileTimeEpoch || unixSeconds > kLastUsable) return std::nullopt;
  const std::uint64_t ticks = static_cast<std::uint64_t>(unixSeconds + kFileTimeEpoch) * 10'000'000;
  const FILETIME utcTicks{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, zoned{};
  if (!FileTimeToSystemTime(&utcTicks, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &zoned)) {
    return std::nullopt;
  }
  ZoneReading reading;
  reading.local.tm_year = zoned.wYear - 1900;
  reading.local.tm_mon = zoned.wMonth - 1;
  reading.local.tm_mday = zoned.wDay;
  reading.local.tm_hour = zoned.wHour;
  reading.local.tm_min = zoned.wMinute;
  reading.local.tm_sec = zoned.wSecond;
  const auto asSeconds = [](const SYSTEMTIME& t) {
    return (sys_days{year{t.wYear} / t.wMonth / t.wDay}.time_since_epoch().count()) * kSecondsPerDay +
           t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
  };
  reading.utcOffset = asSeconds(zoned) - asSeconds(utc);
  return reading;
}

// Windows' own conversion reads the zone as it is at each call.
void refreshZone() {}

}  // namespace runtime
