#include "clock/epoch_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <optional>

#include "../support/moments.h"
#include "runtime/moment_reading.h"

namespace {

using namespace std::chrono;
using runtime::DateTimeSerial;
using testsupport::at;

static_assert(epochclock::epochUnixSeconds() == -14182937);
static_assert(epochclock::epoch() == 25404.845636574075);

// The oracle: the landing's day, 25404 days after 1899-12-30, plus its time of day,
// 20:17:43, as a date text and a time text of it add up.
TEST(EpochClock, Epoch) {
  const DateTimeSerial oracle = 25404.0 + (20 * 3600 + 17 * 60 + 43) / 86400.0;
  EXPECT_EQ(epochclock::epoch(), oracle);
  EXPECT_EQ(epochclock::epochUnixSeconds(), runtime::secondsBetween(runtime::utcSerial(0), oracle));
  EXPECT_EQ(runtime::momentText(epochclock::epoch()), "1969.07.20+20.17.43");
}

TEST(EpochClock, OffsetToDays) {
  EXPECT_EQ(epochclock::offsetToDays(0), 0.0);
  EXPECT_EQ(epochclock::offsetToDays(3600), 0.041666666666666664);
  EXPECT_EQ(epochclock::offsetToDays(-18000), -18000.0 / 86400.0);
  EXPECT_EQ(epochclock::offsetToDays(25200), 0.2916666666666667);
}

TEST(EpochClock, Sample) {
  struct Case {
    DateTimeSerial Tnow;
    double offset;
    const char* utc;
    std::int64_t starsecs;
  };
  // Where a count is written as a sum: Unix time, plus the epoch's 14182937 s before 1970.
  const Case cases[] = {
      {at(2000, 3, 13, 1, 54, 10), 25200, "2000.03.12+18.54.10", 967070187},
      {at(2000, 3, 12, 18, 54, 10), 0, "2000.03.12+18.54.10", 967070187},
      {at(2010, 6, 1, 12, 0, 0), 3600, "2010.06.01+11.00.00", 1275390000 + 14182937},
      {at(2010, 6, 1, 22, 0, 0), -18000, "2010.06.02+03.00.00", 1275447600 + 14182937},
      {at(1969, 7, 20, 20, 17, 43), 0, "1969.07.20+20.17.43", 0},
      {at(1969, 7, 20, 20, 17, 42), 0, "1969.07.20+20.17.42", -1},
      {at(1969, 7, 20, 21, 17, 43), 3600, "1969.07.20+20.17.43", 0},
      {at(2037, 8, 7, 23, 31, 50), 0, "2037.08.07+23.31.50", 2147483647},
      {at(2037, 8, 7, 23, 31, 51), 0, "2037.08.07+23.31.51", 2147483648},
      {at(1901, 7, 2, 17, 3, 35), 0, "1901.07.02+17.03.35", -2147483648LL},
      {at(1901, 7, 2, 17, 3, 34), 0, "1901.07.02+17.03.34", -2147483649LL},
      {at(1899, 12, 30, 3, 0, 0), 7 * 3600, "1899.12.29+20.00.00", -2209176000LL + 14182937},
  };
  for (const Case& c : cases) {
    const auto s = epochclock::sample(c.Tnow, epochclock::offsetToDays(c.offset));
    ASSERT_TRUE(s) << runtime::momentText(c.Tnow);
    EXPECT_EQ(s->Tnow, c.Tnow);
    EXPECT_EQ(runtime::momentText(s->Tutc), c.utc) << runtime::momentText(c.Tnow) << " offset " << c.offset;
    EXPECT_EQ(s->starsecs, c.starsecs) << runtime::momentText(c.Tnow);
  }
}

TEST(EpochClock, SampleOutsideTheDateRangeFails) {
  const DateTimeSerial now = at(2026, 12, 7, 12, 0, 0);
  for (double offset : {1e300, -1e300, 1e15, -1e15, 86400.0 * 3e6}) {
    EXPECT_FALSE(epochclock::sample(now, epochclock::offsetToDays(offset))) << offset;
  }
  EXPECT_TRUE(epochclock::sample(now, epochclock::offsetToDays(86400.0 * 5e5)));
}

TEST(EpochClock, ChangedOffsetMovesUtcNotTheEpoch) {
  const DateTimeSerial now = at(2026, 12, 7, 12, 0, 0);
  const auto a = epochclock::sample(now, epochclock::offsetToDays(0));
  const auto b = epochclock::sample(now, epochclock::offsetToDays(3600));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->starsecs - b->starsecs, 3600);
  EXPECT_EQ(epochclock::epoch(), 25404.845636574075);
}

TEST(StarDate, Text) {
  struct Case {
    std::int64_t starsecs;
    const char* text;
  };
  const Case cases[] = {
      {0, " +    0.0000"},
      {1, " +    0.0001"},
      {15, " +    0.000F"},
      {16, " +    0.0010"},
      {17, " +    0.0011"},
      {255, " +    0.00FF"},
      {65535, " +    0.FFFF"},
      {65536, " +    1.0000"},
      {1048576, " +   10.0000"},
      {16777216, " +  100.0000"},
      {967070187, " + 39A4.51EB"},
      {2147483647, " + 7FFF.FFFF"},
      {-1, " -    0.0001"},
      {-967070187, " - 39A4.51EB"},
      {-2147483648LL, " - 8000.0000"},
      {4886718345LL, " + 12345.6789"},
      {2147483648LL, " + 8000.0000"},
      {-2147483649LL, " - 8000.0001"},
      {INT64_MIN, " - 800000000000.0000"},
  };
  for (const Case& c : cases) EXPECT_EQ(epochclock::starDateText(c.starsecs), c.text) << c.starsecs;
}

TEST(EpochClock, MomentTexts) {
  struct Case {
    DateTimeSerial Tnow;
    double offset;
    const char* seconds;
    const char* utc;
    const char* local;
  };
  // The first and last moments of the date range give the widest counts; 2^53 + 1 is
  // where a double stops holding every whole number.
  const Case cases[] = {
      {at(2000, 3, 13, 1, 54, 10), 25200, "967070187", "2000.03.12+18.54.10", "2000.03.13+01.54.10"},
      {at(1969, 7, 20, 20, 17, 42), 0, "-1", "1969.07.20+20.17.42", "1969.07.20+20.17.42"},
      {at(100, 1, 1, 0, 0, 0), 0, "-58997276263", "0100.01.01+00.00.00", "0100.01.01+00.00.00"},
      {at(9999, 12, 31, 23, 59, 59), 0, "253416483736", "9999.12.31+23.59.59", "9999.12.31+23.59.59"},
      {at(9999, 12, 31, 23, 59, 59), 86400, "253416397336", "9999.12.30+23.59.59", "9999.12.31+23.59.59"},
  };
  for (const Case& c : cases) {
    const auto s = epochclock::sample(c.Tnow, epochclock::offsetToDays(c.offset));
    ASSERT_TRUE(s) << c.utc;
    const epochclock::MomentTexts texts = epochclock::momentTexts(*s);
    EXPECT_EQ(texts.starDate, epochclock::starDateText(s->starsecs));
    EXPECT_EQ(texts.seconds, c.seconds);
    EXPECT_EQ(texts.utc, c.utc);
    EXPECT_EQ(texts.local, c.local);
    // The window wrote the count with the number text of its labels: the same, all the
    // way to the ends of the range.
    EXPECT_EQ(texts.seconds, runtime::plainNumberText(static_cast<double>(s->starsecs)));
  }
  const std::int64_t beyondDoubles = (std::int64_t{1} << 53) + 1;
  EXPECT_EQ(epochclock::momentTexts({at(2000, 1, 1, 0, 0, 0), at(2000, 1, 1, 0, 0, 0), beyondDoubles}).seconds,
            "9007199254740993");
  const DateTimeSerial nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(epochclock::momentTexts({nan, at(2000, 1, 1, 0, 0, 0), 0}).local, "");
}

TEST(StarDate, ThirtyTwoBitCountsAreTwelveCharacters) {
  for (std::int64_t n = -2147483648LL; n <= 2147483647LL; n += 65521 * 257) {
    const std::string text = epochclock::starDateText(n);
    EXPECT_EQ(text.size(), 12u) << n;
    EXPECT_EQ(text.substr(3), epochclock::starDateText(-n).substr(3)) << n;
  }
}

}  // namespace
