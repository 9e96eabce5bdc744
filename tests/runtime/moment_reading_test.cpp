#include "runtime/moment_reading.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Every half hour of a year with two switches reads back from its local text, as itself
// or, in the hour the zone repeats, as the hour before.
TEST(MomentReading, LocalTimesReadBackThroughSwitches) {
#ifdef _WIN32
  GTEST_SKIP() << "the zone is set here through TZ, which Windows' own conversion does not read";
#else
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  int repeated = 0;
  for (std::int64_t u = 1767225600; u < 1767225600 + 365 * 86400; u += 1800) {
    const std::int64_t wall = runtime::wholeSeconds(runtime::localMoment(u)) - std::int64_t{25569} * 86400;
    const auto back = runtime::localWallToUnix(wall);
    ASSERT_TRUE(back && (*back == u || *back == u - 3600)) << u;
    repeated += *back != u;
  }
  EXPECT_EQ(repeated, 2);
  ::unsetenv("TZ");
  ::tzset();
#endif
}

}  // namespace
