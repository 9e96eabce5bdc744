#include "cli/follow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono;

// The tick rule against a clock that gives one reading a look, from second 100 on:
// how long it waits each time, and which second it gives.
TEST(Follow, LandsOnTheNextSecond) {
  struct Case {
    std::vector<microseconds> readings;  // since second 100 began
    std::vector<microseconds> waits;
    std::int64_t gives;
  };
  const Case cases[] = {
      {{300'000us, 1'000'200us}, {700ms}, 101},
      {{300'400us, 999'400us, 1'000'050us}, {699ms, 600us}, 101},  // the timer lands early
      {{998'000us, 1'000'000us}, {2ms}, 101},                      // waited out in place
      {{100'000us, 400'000us, 1'000'100us}, {900ms, 600ms}, 101},  // a wait cut short
      {{1'000'000us}, {}, 101},
      {{900'000us, 2'000'500us}, {100ms}, 102},  // a second lost to a busy machine
      {{500'000us, -3'000'000us}, {500ms}, 97},  // a clock set back
  };
  for (const Case& c : cases) {
    std::size_t next = 0;
    std::vector<microseconds> waits;
    const cli::TickSeams seams{[&] {
                                 const microseconds at = c.readings.at(next++);
                                 return runtime::UtcReading{100 + floor<seconds>(at).count(), at - floor<seconds>(at)};
                               },
                               [&](microseconds rest) { waits.push_back(rest); }, [&] { return waits.size() > 5; }};
    const auto given = cli::awaitNextSecond(100, seams);
    EXPECT_EQ(given ? given->unixSeconds : -1, c.gives) << c.readings.front().count();
    EXPECT_EQ(waits, c.waits) << c.readings.front().count();
  }
}

}  // namespace
