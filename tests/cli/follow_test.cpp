#include "cli/follow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono;

// The tick rule against a clock that gives one reading per look: how long it waits each
// time, and which second it gives.
TEST(Follow, LandsOnTheNextSecond) {
  struct Case {
    const char* name;
    std::vector<microseconds> readings;  // since the shown second began
    std::vector<microseconds> waits;
    std::int64_t gives;
  };
  const Case cases[] = {
      {"timer, then on time", {300'000us, 1'000'200us}, {700ms}, 101},
      {"timer lands early: the rest in place", {300'400us, 999'400us, 1'000'050us}, {699ms, 600us}, 101},
      {"a short rest in place at once", {998'500us, 1'000'010us}, {1500us}, 101},
      {"rest of exactly 2 ms in place", {998'000us, 1'000'000us}, {2ms}, 101},
      {"a wait cut short looks again", {100'000us, 400'000us, 1'000'100us}, {900ms, 600ms}, 101},
      {"the next second already", {1'000'000us}, {}, 101},
      {"a second lost to a busy machine", {900'000us, 2'000'500us}, {100ms}, 102},
      {"a clock set back", {500'000us, -3'000'000us}, {500ms}, 97},
  };
  for (const Case& c : cases) {
    std::size_t next = 0;
    std::vector<microseconds> waits;
    const cli::TickSeams seams{
        [&] {
          const microseconds at = c.readings.at(next++);
          const auto whole = floor<seconds>(at);
          return runtime::UtcReading{100 + whole.count(), at - whole};
        },
        [&](microseconds rest) { waits.push_back(rest); },
        [] { return false; }};
    const auto given = cli::awaitNextSecond(100, seams);
    ASSERT_TRUE(given) << c.name;
    EXPECT_EQ(given->unixSeconds, c.gives) << c.name;
    EXPECT_EQ(waits, c.waits) << c.name;
    EXPECT_EQ(next, c.readings.size()) << c.name;
  }
}

TEST(Follow, StopsWhenAsked) {
  int looks = 0;
  bool stop = false;
  const cli::TickSeams seams{[&] { return runtime::UtcReading{100, 500ms}; },
                             [&](microseconds) { stop = ++looks == 3; }, [&] { return stop; }};
  EXPECT_FALSE(cli::awaitNextSecond(100, seams));
  EXPECT_EQ(looks, 3);
}

}  // namespace
