#include "clock/star_date_reading.h"

#include <gtest/gtest.h>

#include <cctype>

#include "clock/epoch_clock.h"
#include "runtime/moment_reading.h"

namespace {

// Every count of the years 100 to 9999 reads back to itself, as shown and as %C in
// lower case; here every 9,999,991st of them and the last.
TEST(StarDateReading, EveryCountReadsBack) {
  const std::int64_t first = epochclock::starSecondsOf(runtime::kFirstUnixSecond);
  const std::int64_t last = epochclock::starSecondsOf(runtime::kLastUnixSecond);
  for (std::int64_t count = first; count <= last + 9'999'990; count += 9'999'991) {
    const std::string shown = epochclock::starDateText(std::min(count, last));
    std::string compact, why;
    for (const char c : shown) {
      if (c != ' ') compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(epochclock::readStarDate(shown, why), std::min(count, last)) << shown;
    EXPECT_EQ(epochclock::readStarDate(compact, why), std::min(count, last)) << compact;
  }
}

}  // namespace
