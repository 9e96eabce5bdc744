#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/date_time.h"

namespace runtime {

// Unix seconds of 0100-01-01 00:00:00 UTC and of 9999-12-31 23:59:59 UTC.
inline constexpr std::int64_t kFirstUnixSecond = -59'011'459'200;
inline constexpr std::int64_t kLastUnixSecond = 253'402'300'799;

inline bool inUnixRange(std::int64_t unixSeconds) {
  return unixSeconds >= kFirstUnixSecond && unixSeconds <= kLastUnixSecond;
}

// The serial of a UTC moment given in Unix seconds, which must lie in range.
DateTimeSerial utcSerial(std::int64_t unixSeconds);

// "2000-03-12T18:54:10Z"; unixSeconds must lie in range.
std::string isoText(std::int64_t unixSeconds);

// The UTC moment, in Unix seconds, of a wall-clock time of the system's zone, itself
// given as Unix seconds of the same fields read as UTC. Empty when the zone skips that
// time (a switch to daylight saving time) or it leaves the years 100 to 9999; a time the
// zone repeats is the earlier of its two moments.
std::optional<std::int64_t> localWallToUnix(std::int64_t wallSeconds);

// A moment typed by a user, in Unix seconds:
//   "2000-03-12T18:54:10Z", with a blank for "T", "+HH:MM" or "-HH:MM" for "Z",
//   or neither for a local time of the system's zone;
//   "2000.03.12+18.54.10", the clock's own pattern (colons allowed), read as UTC;
//   "@952887250", seconds since 1970-01-01 00:00:00 UTC.
// Years 100 to 9999 only. When empty, `why` says what is wrong.
std::optional<std::int64_t> readMoment(std::string_view text, std::string& why);

}  // namespace runtime
