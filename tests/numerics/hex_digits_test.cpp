#include "numerics/hex_digits.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using numerics::DigiHex;
using numerics::dimodal;
using numerics::Remnihex;

TEST(HexDigits, DigiHex) {
  struct Case {
    double value;
    const char* digits;
  };
  const Case cases[] = {
      {0, "0"},
      {15, "F"},
      {16, "10"},
      {255, "FF"},
      {255.7, "FF"},
      {256, "100"},
      {3600, "E10"},
      {86400, "15180"},
      {1e20, "56BC75E2D63100000"},
      {9007199254740993.0, "20000000000000"},  // the nearest double, not the typed digits
      {0.999, "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(DigiHex(c.value), c.digits) << c.value;
  const std::string largest = DigiHex(std::numeric_limits<double>::max());
  EXPECT_EQ(largest.size(), 256u);
  EXPECT_EQ(largest.substr(0, 14), "FFFFFFFFFFFFF8");
  EXPECT_EQ(largest.find_first_not_of('0', 14), std::string::npos);
}

TEST(HexDigits, Dimodal) {
  struct Case {
    double dimain, divisory, result;
  };
  const Case cases[] = {{86400, 16, 0}, {7, 3, 1}, {255.7, 16, 15}, {-5, 16, 11}, {15, 16, 15}, {16, 16, 0}};
  for (const Case& c : cases) EXPECT_EQ(dimodal(c.dimain, c.divisory), c.result) << c.dimain << " " << c.divisory;
}

TEST(HexDigits, Remnihex) {
  struct Case {
    double fraction;
    std::int16_t sigfigs;
    const char* digits;
  };
  const Case cases[] = {
      {0, 0, "0"},
      {0, 3, "00"},
      {0, -5, "0"},
      {0.5, 1, "8"},
      {0.5, 3, "80"},
      {0.0625, 3, "10"},
      {0.318359375, 4, "518"},
      {0.001, 2, "004"},
      {0.001, 5, "004189"},
      {0.01, 3, "028"},
      {0.1, 3, "19"},
      {0.1, 20, "1999999999999A00000"},
      {0.9375, 2, "F"},
      {0.99999, 2, "F"},
      {0.5, 32767, nullptr},
  };
  for (const Case& c : cases) {
    const std::string digits = Remnihex(c.fraction, c.sigfigs);
    if (c.digits) {
      EXPECT_EQ(digits, c.digits) << c.fraction << " " << c.sigfigs;
    } else {
      EXPECT_EQ(digits.size(), 32766u);
      EXPECT_EQ(digits.find_first_not_of('0', 1), std::string::npos);
    }
  }
  // The smallest positive double: every leading zero is written, one digit counted.
  const std::string tiny = Remnihex(std::numeric_limits<double>::denorm_min(), 2);
  EXPECT_EQ(tiny.size(), 269u);
  EXPECT_EQ(tiny.back(), '4');
}

#ifndef NDEBUG
TEST(HexDigitsDeathTest, OutsideTheContractStopsLoudly) {
  EXPECT_DEATH(DigiHex(-1), "");
  EXPECT_DEATH(DigiHex(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_DEATH(Remnihex(1.0, 3), "");
  EXPECT_DEATH(Remnihex(-0.5, 3), "");
}
#endif

}  // namespace
