#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/date_time.h"

namespace epochclock {

// 1969-07-20 20:17:43, the first crewed Moon landing, taken as UTC.
inline constexpr std::chrono::sys_seconds kEpoch =
    std::chrono::sys_days{std::chrono::year{1969} / std::chrono::July / 20} + std::chrono::hours{20} +
    std::chrono::minutes{17} + std::chrono::seconds{43};

// The epoch as a serial: its day plus its time of day, 25404.845636574075.
constexpr runtime::DateTimeSerial epoch() {
  const auto day = std::chrono::floor<std::chrono::days>(kEpoch);
  return runtime::serialOf(std::chrono::year_month_day{day}, kEpoch - day);
}

// The epoch in Unix seconds, -14182937.
constexpr std::int64_t epochUnixSeconds() { return kEpoch.time_since_epoch().count(); }

constexpr std::int64_t starSecondsOf(std::int64_t unixSeconds) { return unixSeconds - epochUnixSeconds(); }
constexpr std::int64_t unixSecondsOf(std::int64_t starsecs) { return starsecs + epochUnixSeconds(); }

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

// The four texts of a moment, as the window shows them and the command prints them.
struct MomentTexts {
  std::string starDate;  // " + 39A4.51EB"
  std::string seconds;   // "967070187", the count in full
  std::string utc;       // "2000.03.12+18.54.10"
  std::string local;     // the same of Tnow; empty when Tnow leaves the date range
};
MomentTexts momentTexts(const Sample& sample);

}  // namespace epochclock
