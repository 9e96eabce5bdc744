#include "runtime/moment_reading.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Sets TZ for one test and puts back what was there. Windows' own conversion reads no TZ.
class Zone {
 public:
#ifdef _WIN32
  explicit Zone(const char*) {}
#else
  explicit Zone(const char* zone) {
    if (const char* was = std::getenv("TZ")) previous_ = was;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~Zone() {
    previous_.empty() ? ::unsetenv("TZ") : ::setenv("TZ", previous_.c_str(), 1);
    ::tzset();
  }

 private:
  std::string previous_;
#endif
};

TEST(MomentReading, ReadsWhatUsersType) {
  struct Case {
    const char* zone;
    const char* text;
    std::optional<std::int64_t> unixSeconds;  // empty: refused, and `why` holds the piece
    const char* why = "";
  };
  const Case cases[] = {
      {"UTC", "2000-03-12t18:54:10z", 952887250},
      {"UTC", "2000-03-12T12:24:10-06:30", 952887250},
      {"UTC", "2000-03-12T18:54:10+00:00", 952887250},
      {"America/New_York", "2000-03-12 13:54:10", 952887250},
      {"America/New_York", "2026-11-01T01:30:00", 1793511000},  // repeated: the earlier, in summer time
      {"America/New_York", "2026-03-08T02:00:00", std::nullopt, "skipped"},
      {"Pacific/Apia", "2011-12-30T12:00:00", std::nullopt, "skipped"},  // a whole day left out
      {"UTC", "@-59011459200", runtime::kFirstUnixSecond},
      {"UTC", "9999.12.31+23.59.59", runtime::kLastUnixSecond},
      {"Etc/GMT-9", "0100-01-01T09:00:00", runtime::kFirstUnixSecond},  // UTC+09:00
      {"UTC", "9999-12-31T23:59:59-00:01", std::nullopt, "outside the years"},
      {"UTC", "0099-12-31T23:59:59Z", std::nullopt, "outside the years"},
      {"UTC", "2000-03-12T18:54:10+24:00", std::nullopt, "offset"},
      {"UTC", "2001-02-29T00:00:00Z", std::nullopt, "no day"},
      {"UTC", "2000-03-12T24:00:00Z", std::nullopt, "no time of day"},
      {"UTC", "2000-3-12T18:54:10Z", std::nullopt, "not a moment"},
      {"UTC", "2000-03-12T18:54:10Z ", std::nullopt, "not a moment"},
      {"UTC", "2000-03-12T18:54:10+0700", std::nullopt, "not a moment"},
      {"UTC", "2000.03.12+18.54.10Z", std::nullopt, "not a moment"},
      {"UTC", "@", std::nullopt, "not a moment"},
      {"UTC", "@1.5", std::nullopt, "not a moment"},
      {"UTC", "", std::nullopt, "not a moment"},
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    if (std::string_view(c.zone) != "UTC") continue;
#endif
    const Zone zone(c.zone);
    std::string why;
    EXPECT_EQ(runtime::readMoment(c.text, why), c.unixSeconds) << c.text << " in " << c.zone;
    if (!c.unixSeconds) {
      EXPECT_NE(why.find(c.why), std::string::npos) << c.text << ": " << why;
    }
  }
}

// Every half hour of a year with two switches: the local text of a moment reads back
// as that moment, or, in the hour the zone repeats, as the hour before it.
TEST(MomentReading, LocalTimesReadBackThroughSwitches) {
#ifdef _WIN32
  GTEST_SKIP() << "the zone is set here through TZ, which Windows' own conversion does not read";
#else
  const Zone zone("Europe/Berlin");
  int repeated = 0;
  for (std::int64_t u = 1767225600; u < 1767225600 + 365 * 86400; u += 1800) {
    const std::int64_t wall = runtime::wholeSeconds(runtime::localMoment(u)) - std::int64_t{25569} * 86400;
    const auto back = runtime::localWallToUnix(wall);
    ASSERT_TRUE(back && (*back == u || *back == u - 3600)) << u;
    repeated += *back != u;
  }
  EXPECT_EQ(repeated, 2);
#endif
}

}  // namespace
