#include "clock/moment_format.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr std::int64_t kExampleMoment = 952887250;  // 2000-03-12 18:54:10 UTC

// The help and the manual show each field's example: it is what the field gives.
TEST(MomentFormat, EachFieldGivesItsExample) {
  std::set<char> letters;
  for (const epochclock::FormatField& field : epochclock::formatFields()) {
    EXPECT_TRUE(letters.insert(field.letter).second) << "%" << field.letter << " twice";
    const std::string format = {'%', field.letter};
    EXPECT_FALSE(epochclock::formatError(format)) << format;
    const auto line = epochclock::formatLine(format, kExampleMoment);
    ASSERT_TRUE(line) << format;
    if (!field.example.empty()) {
      EXPECT_EQ(*line, field.example) << format;
    }
  }
  EXPECT_EQ(letters.size(), 7u);
}

TEST(MomentFormat, ErrorsAndLines) {
  struct Case {
    const char* format;
    const char* error;  // nullptr: sound
    const char* line;
  };
  const Case cases[] = {
      {"%C|%s|%u|%i|%%", nullptr, "+39A4.51EB|967070187|2000.03.12+18.54.10|2000-03-12T18:54:10Z|%"},
      {"log %S.", nullptr, "log  + 39A4.51EB."},
      {"", nullptr, ""},
      {"%%S", nullptr, "%S"},
      {"x%", "ends in a lone %", nullptr},
      {"%q", "has no field %q (%S %C %s %u %l %i %%)", nullptr},
      {"%S%", "ends in a lone %", nullptr},
  };
  for (const Case& c : cases) {
    const auto error = epochclock::formatError(c.format);
    if (c.error) {
      EXPECT_EQ(error.value_or("sound"), c.error) << c.format;
      continue;
    }
    EXPECT_FALSE(error) << c.format;
    EXPECT_EQ(epochclock::formatLine(c.format, kExampleMoment), c.line) << c.format;
  }
}

}  // namespace
