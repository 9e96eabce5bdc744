#include "numerics/hex_reading.h"

#include <gtest/gtest.h>

#include <limits>

#include "numerics/conversion.h"

namespace {

TEST(HexReading, Texts) {
  struct Case {
    const char* text;
    std::optional<double> value;
    const char* why = "";
  };
  const Case cases[] = {
      {"+ 15180.0", 86400},
      {"  -  ff.8  ", -255.5},
      {"+ 0.004189", 0.000999987125396728515625},
      {".8", 0.5},
      {"FF.", 255},
      {"+ 1.518 posi-4", 86400},
      {"4.189 NEGA-3", 0.000999987125396728515625},
      {"10.0 posi-1", 256},
      {"F.F posi-FF", 0xF.Fp1020},
      {"4.0 nega-10D", std::numeric_limits<double>::denorm_min()},
      {"1.0 nega-10E", 0},
      {"1 nega-FFFFFFFFFFFFFFFFFFFF", 0},
      {"0.0 posi-FFFFFFFFFFFFFFFFFFFF", 0},
      {"1.0 posi-100", std::nullopt, "beyond the range"},
      {"1000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000.0",
       std::nullopt, "beyond the range"},
      {"", std::nullopt, "not a hexadecimal number"},
      {"- .", std::nullopt, "not a hexadecimal number"},
      {"FF posi-", std::nullopt, "not a hexadecimal number"},
      {"FF posi4", std::nullopt, "not a hexadecimal number"},
      {"FF posi-4 x", std::nullopt, "not a hexadecimal number"},
      {"0x1F", std::nullopt, "not a hexadecimal number"},
      {"1.5E3", 0x1.5E3p0},
      {"--1", std::nullopt, "not a hexadecimal number"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(numerics::readHexText(c.text, why), c.value) << "'" << c.text << "'";
    if (!c.value) {
      EXPECT_NE(why.find(c.why), std::string::npos) << c.text << ": " << why;
    }
  }
}

// The calculator's texts of numbers it writes in full read back as those numbers.
TEST(HexReading, CalculatorTextsReadBack) {
  for (const char* typed : {"86400", "-255", "255.5", "0.5", "0.0625", "1000000000000000", "-4096"}) {
    const auto conversion = numerics::DeciConvert(typed);
    ASSERT_TRUE(conversion) << typed;
    std::string why;
    EXPECT_EQ(numerics::readHexText(conversion->positional, why), std::stod(typed)) << conversion->positional;
    EXPECT_EQ(numerics::readHexText(conversion->scientific, why), std::stod(typed)) << conversion->scientific;
  }
}

}  // namespace
