#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>

#include "runtime/date_time.h"

namespace uitest {

// A local clock that moves only when the test says so, in milliseconds.
struct FakeClock {
  std::int64_t ms = 0;  // since day zero
  std::int64_t costPerRead = 0;

  void setTo(runtime::DateTimeSerial moment) { ms = std::llround(moment * 86400.0) * 1000; }
  runtime::ClockReading read() {
    const std::int64_t whole = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    const runtime::ClockReading reading{static_cast<double>(whole) / 86400.0,
                                        std::chrono::milliseconds(ms - whole * 1000)};
    ms += costPerRead;
    return reading;
  }
};

}  // namespace uitest
