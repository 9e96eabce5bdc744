#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "runtime/utc_clock.h"

namespace cli {

// What the wait for the next second needs of the system, so that tests drive it
// without sleeping.
struct TickSeams {
  std::function<runtime::UtcReading()> readClock;
  std::function<void(std::chrono::microseconds)> wait;
  std::function<bool()> stopped;
};

// Waits, as the clock's tick does, until the system clock has left the second `shown`,
// and gives the reading of the second it is in then; empty once stopped.
std::optional<runtime::UtcReading> awaitNextSecond(std::int64_t shown, const TickSeams& seams);

}  // namespace cli
