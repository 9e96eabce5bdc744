#include "clock/star_date_reading.h"

#include <gtest/gtest.h>

#include <cctype>

#include "clock/epoch_clock.h"
#include "runtime/moment_reading.h"

namespace {

TEST(StarDateReading, Texts) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> starsecs;
    const char* why = "";
  };
  const Case cases[] = {
      {" +    0.0000", 0},
      {"- 0.0000", 0},
      {"3 9A4 . 51 EB", 967070187},
      {" - 8000.0000", -2147483648LL},
      {"0000000000000000000001.0000", 65536},
      {"+12345.6789", 4886718345},
      {"", std::nullopt, "not a StarDate"},
      {"+-1.0000", std::nullopt, "not a StarDate"},
      {"39A451EB", std::nullopt, "not a StarDate"},
      {".51EB", std::nullopt, "not a StarDate"},
      {"39A4.51EG", std::nullopt, "not a StarDate"},
      {"39A4.5.1EB", std::nullopt, "not a StarDate"},
      {"39A4.51EBA", std::nullopt, "5 digits after the point"},
      {"1000000000000.0000", std::nullopt, "outside the years"},
      {" - DBC82.FE68", std::nullopt, "outside the years"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(epochclock::readStarDate(c.text, why), c.starsecs) << "'" << c.text << "'";
    if (!c.starsecs) {
      EXPECT_NE(why.find(c.why), std::string::npos) << c.text << ": " << why;
    }
  }
}

// Every count of the years 100 to 9999 reads back to itself, as shown, without blanks
// and in lower case; here every 9,999,991st of them and the ends.
TEST(StarDateReading, EveryCountReadsBack) {
  const std::int64_t first = epochclock::starSecondsOf(runtime::kFirstUnixSecond);
  const std::int64_t last = epochclock::starSecondsOf(runtime::kLastUnixSecond);
  const auto check = [](std::int64_t count) {
    const std::string shown = epochclock::starDateText(count);
    std::string compact;
    for (const char c : shown) {
      if (c != ' ') compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::string why;
    EXPECT_EQ(epochclock::readStarDate(shown, why), count) << shown;
    EXPECT_EQ(epochclock::readStarDate(compact, why), count) << compact;
  };
  for (std::int64_t count = first; count <= last; count += 9'999'991) check(count);
  for (const std::int64_t count : {first, last, std::int64_t{-1}, std::int64_t{0}}) check(count);
}

}  // namespace
