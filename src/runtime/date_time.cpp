#include "runtime/date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "runtime/local_time.h"
#include "runtime/utc_clock.h"

namespace runtime {

namespace {

using namespace std::chrono;

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
  const std::optional<ZoneReading> reading = systemZoneReading(unixSeconds);
  if (!reading) return kNoMoment;
  const std::tm& local = reading->local;
  const long long fullYear = local.tm_year + 1900LL;
  if (fullYear < 100 || fullYear > 9999) return kNoMoment;
  const year_month_day date{year{static_cast<int>(fullYear)}, month{static_cast<unsigned>(local.tm_mon + 1)},
                            day{static_cast<unsigned>(local.tm_mday)}};
  // A leap second (tm_sec 60) is shown as the last second of its minute.
  const int sec = local.tm_sec > 59 ? 59 : local.tm_sec;
  return {serialOf(date, seconds{local.tm_hour * 3600 + local.tm_min * 60 + sec}), reading->utcOffset};
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

}  // namespace runtime
