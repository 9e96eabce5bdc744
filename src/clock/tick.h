#pragma once

#include <chrono>

namespace epochclock {

// A rest this short before the next second is waited out in place: timers count
// whole milliseconds.
inline constexpr std::chrono::microseconds kWaitInPlace{2000};

// How long to wait, `intoSecond` into a second, for the next one: whole milliseconds
// rounded down, so that a timer lands on the second or at most a millisecond before
// it; or, when it is that short, the whole rest, to be waited out in place.
constexpr std::chrono::microseconds waitForNextSecond(std::chrono::microseconds intoSecond) {
  using namespace std::chrono;
  const microseconds rest = seconds(1) - intoSecond;
  return rest <= kWaitInPlace ? rest : duration_cast<microseconds>(floor<milliseconds>(rest));
}

}  // namespace epochclock
