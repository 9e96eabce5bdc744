#include "runtime/date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "runtime/utc_clock.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace runtime {

namespace {

using namespace std::chrono;

#ifdef _WIN32
constexpr std::int64_t kFileTimeEpoch = 11'644'473'600;  // seconds from 1601-01-01 to 1970-01-01
#endif

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A moment in the system's zone: local time, and how far the zone put it ahead of UTC.
struct LocalMoment {
  DateTimeSerial moment;
  std::int64_t utcOffset = 0;  // seconds, local time minus UTC
};

LocalMoment zonedMoment(std::int64_t unixSeconds) {
  constexpr LocalMoment kNoMoment{std::numeric_limits<DateTimeSerial>::quiet_NaN()};
  std::tm local{};
  std::int64_t offset = 0;
#ifdef _WIN32
  // The C runtime's local time ends with the year 3000; the system's own conversion does not.
  constexpr std::int64_t kLastUsable = 253'402'300'799 + kSecondsPerDay;  // a zone's day past 9999
  if (unixSeconds < -kFileTimeEpoch || unixSeconds > kLastUsable) return kNoMoment;
  const std::uint64_t ticks = static_cast<std::uint64_t>(unixSeconds + kFileTimeEpoch) * 10'000'000;
  const FILETIME utcTicks{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, zoned{};
  if (!FileTimeToSystemTime(&utcTicks, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &zoned)) {
    return kNoMoment;
  }
  local.tm_year = zoned.wYear - 1900;
  local.tm_mon = zoned.wMonth - 1;
  local.tm_mday = zoned.wDay;
  local.tm_hour = zoned.wHour;
  local.tm_min = zoned.wMinute;
  local.tm_sec = zoned.wSecond;
  const auto asSeconds = [](const SYSTEMTIME& t) {
    return (sys_days{year{t.wYear} / t.wMonth / t.wDay}.time_since_epoch().count()) * kSecondsPerDay +
           t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
  };
  offset = asSeconds(zoned) - asSeconds(utc);
#else
  const auto stamp = static_cast<std::time_t>(unixSeconds);
  if (stamp != unixSeconds || !localtime_r(&stamp, &local)) return kNoMoment;
  offset = local.tm_gmtoff;
#endif
  const long long fullYear = local.tm_year + 1900LL;
  if (fullYear < 100 || fullYear > 9999) return kNoMoment;
  const year_month_day date{year{static_cast<int>(fullYear)}, month{static_cast<unsigned>(local.tm_mon + 1)},
                            day{static_cast<unsigned>(local.tm_mday)}};
  // A leap second (tm_sec 60) is shown as the last second of its minute.
  const int sec = local.tm_sec > 59 ? 59 : local.tm_sec;
  return {serialOf(date, seconds{local.tm_hour * 3600 + local.tm_min * 60 + sec}), offset};
}

}  // namespace

DateTimeSerial localMoment(std::int64_t unixSeconds) { return zonedMoment(unixSeconds).moment; }

std::int64_t wholeSeconds(DateTimeSerial moment) {
  return std::llround(moment * static_cast<double>(kSecondsPerDay));
}

bool inDateRange(DateTimeSerial moment) {
  // Written so that NaN fails too.
  if (!(moment > kFirstSerial - 1.0 && moment < kEndSerial + 1.0)) return false;
  const std::int64_t seconds = wholeSeconds(moment);
  return seconds >= static_cast<std::int64_t>(kFirstSerial) * kSecondsPerDay &&
         seconds < static_cast<std::int64_t>(kEndSerial) * kSecondsPerDay;
}

std::optional<DateTimeSerial> momentMinusDays(DateTimeSerial moment, double days) {
  const DateTimeSerial result = moment - days;
  if (!inDateRange(result)) return std::nullopt;
  return result;
}

std::int64_t secondsBetween(DateTimeSerial first, DateTimeSerial second) {
  return wholeSeconds(second) - wholeSeconds(first);
}

std::string momentText(DateTimeSerial moment) {
  const std::int64_t total = wholeSeconds(moment);
  const std::int64_t days = floorDiv(total, kSecondsPerDay);
  const std::int64_t timeOfDay = total - days * kSecondsPerDay;
  const year_month_day date{kDayZero + sys_days::duration{days}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d.%02u.%02u+%02d.%02d.%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(timeOfDay / 3600), static_cast<int>(timeOfDay / 60 % 60),
                static_cast<int>(timeOfDay % 60));
  return text;
}

ClockReading readLocalClock() {
  const UtcReading now = readUtcClock();
  const LocalMoment local = zonedMoment(now.unixSeconds);
  return {local.moment, now.intoSecond, local.utcOffset};
}

void refreshZone() {
#ifndef _WIN32
  // Windows' own conversion reads the zone as it is at each call.
  tzset();
#endif
}

}  // namespace runtime
