#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>

#include "runtime/date_time.h"

namespace uitest {

// A clock that moves only when the test says so.
struct FakeClock {
  // The system zone's offset, in seconds, at a UTC second since day zero.
  using Zone = std::int64_t (*)(std::int64_t utcSecond);

  std::chrono::microseconds now{};  // since day zero, in UTC
  std::chrono::microseconds costPerRead{};
  Zone zone = nullptr;  // none: the zone is UTC
  Zone changedZone = nullptr;  // set by the system, read once the clock refreshes its zone

  void setTo(runtime::DateTimeSerial moment) { now = std::chrono::seconds(std::llround(moment * 86400.0)); }
  runtime::ClockReading read() {
    const auto whole = std::chrono::floor<std::chrono::seconds>(now);
    const std::int64_t offset = zone ? zone(whole.count()) : 0;
    const runtime::ClockReading reading{static_cast<double>(whole.count() + offset) / 86400.0, now - whole, offset};
    now += costPerRead;
    return reading;
  }
  void wait(std::chrono::microseconds span) { now += span; }
  void refreshZone() {
    if (changedZone) zone = changedZone;
    changedZone = nullptr;
  }
};

}  // namespace uitest
