#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using runtime::leadingValueInRange;
using runtime::plainNumberText;
using runtime::signedNumberText;
using runtime::strictValue;

TEST(NumberText, PlainAndSigned) {
  struct Case {
    double value;
    const char* plain;
    const char* signedText;
  };
  const Case cases[] = {
      {0.0, "0", " 0"},
      {-0.0, "0", " 0"},
      {1.0, "1", " 1"},
      {-1.0, "-1", "-1"},
      {967070187.0, "967070187", " 967070187"},
      {-2147483648.0, "-2147483648", "-2147483648"},
      {999999999999999.0, "999999999999999", " 999999999999999"},
      {1e15, "1E+15", " 1E+15"},
      {123456789012345678.0, "1.23456789012346E+17", " 1.23456789012346E+17"},
      {-1e300, "-1E+300", "-1E+300"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308", " 1.79769313486232E+308"},
      {0.5, "0.5", " 0.5"},
      {3600.5, "3600.5", " 3600.5"},
      {3600.0 / 86400.0, "0.0416666666666667", " 0.0416666666666667"},
      {-18000.0 / 86400.0, "-0.208333333333333", "-0.208333333333333"},
      {25200.0 / 86400.0, "0.291666666666667", " 0.291666666666667"},
      {0.1 + 0.2, "0.3", " 0.3"},
      {0.0001, "0.0001", " 0.0001"},
      {0.00001, "1E-05", " 1E-05"},
      {-1.5e-300, "-1.5E-300", "-1.5E-300"},
      {999999999999999.9, "1E+15", " 1E+15"},
      {123456.7, "123456.7", " 123456.7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(plainNumberText(c.value), c.plain) << "value " << c.value;
    EXPECT_EQ(signedNumberText(c.value), c.signedText) << "value " << c.value;
  }
}

TEST(NumberText, PlainTextReadsBackWithinFifteenDigits) {
  for (double v : {1.0 / 3.0, 2.0 / 3.0, 1e-7 / 3.0, 12345.678901234567, -98765.4321e100}) {
    const auto back = strictValue(plainNumberText(v));
    ASSERT_TRUE(back) << plainNumberText(v);
    EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14) << plainNumberText(v);
  }
}

TEST(NumberText, HexText) {
  struct Case {
    std::uint64_t value;
    const char* text;
  };
  for (const Case& c : {Case{0, "0"}, Case{15, "F"}, Case{16, "10"}, Case{0x39A451EB, "39A451EB"},
                        Case{0xFFFFFFFFFFFFFFFFull, "FFFFFFFFFFFFFFFF"}}) {
    EXPECT_EQ(runtime::hexText(c.value), c.text) << c.value;
  }
}

TEST(LeadingValue, ReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {".", 0},
      {"42", 42},
      {"  42", 42},
      {"\t\n42", 42},
      {"1 2 3", 123},
      {"- 1\t2", -12},
      {"+7", 7},
      {"12abc", 12},
      {"1.5.5", 1.5},
      {".5", 0.5},
      {"5.", 5},
      {"-0.5", -0.5},
      {"1E3", 1000},
      {"1e3", 1000},
      {"-1.5E3", -1500},
      {"1E 3", 1000},
      {"2E-2", 0.02},
      {"2E+2x", 200},
      {"1E", 1},
      {"1E+", 1},
      {"1Ex", 1},
      {"E5", 0},
      {"1\r2", 1},
      {"1,5", 1},
      {"1E-400", 0},
      {"NaN", 0},
      {"Inf", 0},
      {"infinity", 0},
      {"-inf", 0},
      {"0x1F", 0},
      {"&H10", 0},
  };
  for (const Case& c : cases) {
    const auto v = leadingValueInRange(c.text);
    ASSERT_TRUE(v) << '"' << c.text << '"';
    EXPECT_DOUBLE_EQ(*v, c.value) << '"' << c.text << '"';
  }
}

TEST(LeadingValue, BeyondTheDoubleRangeIsReported) {
  for (const char* text : {"1E999", "1E309", "-1E309", "1e99999999999999999999", "  9 9E 999"}) {
    EXPECT_FALSE(leadingValueInRange(text)) << text;
  }
  EXPECT_FALSE(leadingValueInRange("-1E999"));
  EXPECT_EQ(leadingValueInRange("1.7976931348623157E308"), std::numeric_limits<double>::max());
  EXPECT_EQ(leadingValueInRange("0.000000001E-300"), 1e-309);
  // Leading zeros do not make a small number large.
  EXPECT_EQ(leadingValueInRange("0000000000000000000001E-330"), 0.0);
}

TEST(LeadingValue, LongTextsOfDigits) {
  const std::string digits(32767, '7');
  EXPECT_FALSE(leadingValueInRange(digits));
  const std::string fraction = "0." + std::string(32765, '3');
  EXPECT_NEAR(leadingValueInRange(fraction).value_or(0), 1.0 / 3.0, 1e-16);
}

TEST(StrictValue, SpellsANumberOrFails) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"3600", 3600},
      {" 3600", 3600},
      {"3600 ", 3600},
      {"\t-18000\t", -18000},
      {"0.0", 0},
      {"3600.5", 3600.5},
      {"+25200", 25200},
      {".5", 0.5},
      {"1E3", 1000},
      {"1e-3", 0.001},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {".", std::nullopt},
      {"abc", std::nullopt},
      {"3600,60", std::nullopt},
      {"36 00", std::nullopt},
      {"1E", std::nullopt},
      {"12abc", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"-infinity", std::nullopt},
      {"0x10", std::nullopt},
      {"1E999", std::nullopt},
      {"--1", std::nullopt},
      {"\x01\xff", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(strictValue(c.text), c.value) << '"' << c.text << '"';
  }
}

}  // namespace
