#pragma once

#include <chrono>
#include <cmath>

#include "runtime/date_time.h"

namespace uitest {

// A local clock that moves only when the test says so.
struct FakeClock {
  std::chrono::microseconds now{};  // since day zero
  std::chrono::microseconds costPerRead{};

  void setTo(runtime::DateTimeSerial moment) { now = std::chrono::seconds(std::llround(moment * 86400.0)); }
  runtime::ClockReading read() {
    const auto whole = std::chrono::floor<std::chrono::seconds>(now);
    const runtime::ClockReading reading{static_cast<double>(whole.count()) / 86400.0, now - whole};
    now += costPerRead;
    return reading;
  }
  void wait(std::chrono::microseconds span) { now += span; }
};

}  // namespace uitest
