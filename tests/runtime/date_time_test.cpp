#include "runtime/date_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "../support/moments.h"

namespace {

using namespace std::chrono;
using runtime::DateTimeSerial;
using testsupport::at;

TEST(DateTime, MomentText) {
  struct Case {
    DateTimeSerial moment;
    const char* text;
  };
  const Case cases[] = {
      {25404.845636574075, "1969.07.20+20.17.43"},
      {0.0, "1899.12.30+00.00.00"},
      {-0.25, "1899.12.29+18.00.00"},
      {-1.0 / 86400.0, "1899.12.29+23.59.59"},
      {runtime::kFirstSerial, "0100.01.01+00.00.00"},
      {runtime::kEndSerial - 1.0 / 86400.0, "9999.12.31+23.59.59"},
      {at(2000, 3, 12, 18, 54, 10), "2000.03.12+18.54.10"},
      {at(2000, 3, 13, 1, 54, 10), "2000.03.13+01.54.10"},
      {at(2024, 2, 29, 23, 59, 59), "2024.02.29+23.59.59"},
      // Taken to the nearest second first.
      {at(2000, 1, 1, 0, 0, 0) - 0.4 / 86400.0, "2000.01.01+00.00.00"},
      {at(2000, 1, 1, 0, 0, 0) + 0.6 / 86400.0, "2000.01.01+00.00.01"},
      {at(1999, 12, 31, 23, 59, 59) + 0.999 / 86400.0, "2000.01.01+00.00.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(runtime::momentText(c.moment), c.text) << c.moment;
}

TEST(DateTime, MomentMinusDaysStaysOnOneTimeline) {
  // Across day zero the result moves by exactly the days taken off, no jump.
  const DateTimeSerial start = at(1899, 12, 30, 6, 0, 0);
  for (int hoursBack = 0; hoursBack <= 48; ++hoursBack) {
    const auto moment = runtime::momentMinusDays(start, hoursBack / 24.0);
    ASSERT_TRUE(moment);
    EXPECT_EQ(runtime::secondsBetween(*moment, start), hoursBack * 3600) << hoursBack;
  }
  EXPECT_EQ(runtime::momentText(*runtime::momentMinusDays(start, 0.5)), "1899.12.29+18.00.00");
}

TEST(DateTime, MomentMinusDaysRange) {
  const DateTimeSerial noon = at(2000, 1, 1, 12, 0, 0);
  struct Case {
    DateTimeSerial moment;
    double days;
    bool valid;
  };
  const Case cases[] = {
      {noon, 0, true},
      {noon, 3600.0 / 86400.0, true},
      {runtime::kFirstSerial + 1, 1, true},
      {runtime::kFirstSerial + 1, 1 + 1.0 / 86400.0, false},
      {runtime::kEndSerial - 2, -2 + 1.0 / 86400.0, true},
      {runtime::kEndSerial - 2, -2, false},
      {noon, 1e300, false},
      {noon, -1e300, false},
      {noon, std::nan(""), false},
      {noon, HUGE_VAL, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(runtime::momentMinusDays(c.moment, c.days).has_value(), c.valid) << c.moment << " - " << c.days;
  }
}

TEST(DateTime, SecondsBetween) {
  const DateTimeSerial moon = 25404.845636574075;
  struct Case {
    DateTimeSerial second;
    std::int64_t seconds;
  };
  const Case cases[] = {
      {moon, 0},
      {at(1969, 7, 20, 20, 17, 42), -1},
      {at(1969, 7, 20, 20, 17, 44), 1},
      {at(2000, 3, 12, 18, 54, 10), 967070187},
      {at(2037, 8, 7, 23, 31, 50), 2147483647},
      {at(2037, 8, 7, 23, 31, 51), 2147483648},
      {at(1901, 7, 2, 17, 3, 35), -2147483648LL},
      {at(1901, 7, 2, 17, 3, 34), -2147483649LL},
      {runtime::kEndSerial - 1.0 / 86400.0, 253402300799LL - (-14182937LL) - 0},
  };
  for (const Case& c : cases) EXPECT_EQ(runtime::secondsBetween(moon, c.second), c.seconds) << runtime::momentText(c.second);
  // A moment a hair off a whole second still counts that second.
  EXPECT_EQ(runtime::secondsBetween(moon, at(2000, 3, 13, 1, 54, 10) - 25200.0 / 86400.0), 967070187);
}

TEST(DateTime, LocalMomentOfEverySecondInTheRange) {
#ifdef _WIN32
  GTEST_SKIP() << "the zone is set here through TZ, which Windows' own conversion does not read";
#else
  const char* const zone = std::getenv("TZ");
  const std::string previous = zone ? zone : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  struct Case {
    std::int64_t unixSeconds;
    DateTimeSerial moment;  // NaN: outside the years 100 to 9999
  };
  const DateTimeSerial none = std::numeric_limits<DateTimeSerial>::quiet_NaN();
  const Case cases[] = {
      {0, at(1970, 1, 1, 0, 0, 0)},
      {967070187 - 14182937, at(2000, 3, 12, 18, 54, 10)},
      // A 64-bit count of nanoseconds ends within these seconds.
      {9223372036, at(2262, 4, 11, 23, 47, 16)},
      {9223372037, at(2262, 4, 11, 23, 47, 17)},
      {-9223372036, at(1677, 9, 21, 0, 12, 44)},
      {-9223372037, at(1677, 9, 21, 0, 12, 43)},
      {253402300790, at(9999, 12, 31, 23, 59, 50)},
      {253402300799, at(9999, 12, 31, 23, 59, 59)},
      {253402300800, none},
      {-59011459200, at(100, 1, 1, 0, 0, 0)},
      {-59011459201, none},
      {std::numeric_limits<std::int64_t>::max(), none},
      {std::numeric_limits<std::int64_t>::min(), none},
  };
  for (const Case& c : cases) {
    const DateTimeSerial moment = runtime::localMoment(c.unixSeconds);
    if (std::isnan(c.moment)) {
      EXPECT_TRUE(std::isnan(moment)) << c.unixSeconds << " gave " << runtime::momentText(moment);
      EXPECT_FALSE(runtime::inDateRange(moment)) << c.unixSeconds;
    } else {
      EXPECT_EQ(moment, c.moment) << c.unixSeconds;
    }
  }
  if (zone) {
    ::setenv("TZ", previous.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
#endif
}

TEST(DateTime, LocalClockReadsWholeSeconds) {
  const runtime::ClockReading reading = runtime::readLocalClock();
  const double seconds = reading.moment * 86400.0;
  EXPECT_NEAR(seconds, std::round(seconds), 1e-3);
  EXPECT_GE(reading.intoSecond.count(), 0);
  EXPECT_LT(reading.intoSecond, std::chrono::seconds(1));
  EXPECT_TRUE(runtime::inDateRange(reading.moment));
  EXPECT_GT(reading.moment, at(2020, 1, 1, 0, 0, 0));
}

}  // namespace
