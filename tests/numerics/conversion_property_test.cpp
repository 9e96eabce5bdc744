#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "numerics/conversion.h"

namespace {

// The exact hexadecimal digits of a finite double, from its bits alone:
// value = mantissa * 2^exponent, each hex digit a group of four bit places.
struct ExactHex {
  std::string integer;   // no leading zeros, "0" when none
  std::string fraction;  // every digit up to the last non-zero one
};

ExactHex exactHex(double v) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(std::fabs(v));
  const int biased = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((1ull << 52) - 1);
  int exponent = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) mantissa |= 1ull << 52;
  auto bitAt = [&](int place) {
    const int i = place - exponent;
    return i >= 0 && i < 64 && ((mantissa >> i) & 1u) != 0;
  };
  auto digitAt = [&](int group) {
    int d = 0;
    for (int b = 3; b >= 0; --b) d = d * 2 + (bitAt(group * 4 + b) ? 1 : 0);
    return "0123456789ABCDEF"[d];
  };
  ExactHex hex;
  const int top = exponent + 63;
  for (int g = top / 4 + 1; g >= 0; --g) {
    const char d = digitAt(g);
    if (!hex.integer.empty() || d != '0') hex.integer += d;
  }
  if (hex.integer.empty()) hex.integer.push_back('0');
  const int lowest = exponent < 0 ? (-exponent + 3) / 4 : 0;
  for (int j = 1; j <= lowest; ++j) hex.fraction += digitAt(-j);
  while (!hex.fraction.empty() && hex.fraction.back() == '0') hex.fraction.pop_back();
  return hex;
}

TEST(ConversionProperty, PositionalDigitsAreTheExactExpansionCutOff) {
  std::mt19937_64 random(20261207);
  std::uniform_int_distribution<int> exponentPick(-1074, 1023);
  int checked = 0;
  for (int n = 0; n < 20000; ++n) {
    // Spread over every binary order of magnitude, sign included.
    const double unit = std::uniform_real_distribution<double>(1.0, 2.0)(random);
    double v = std::ldexp(unit, exponentPick(random));
    if (n % 2) v = -v;
    if (n % 7 == 0) v = std::floor(v);
    if (!std::isfinite(v)) continue;
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    const std::string typed(text, end);

    const auto conversion = numerics::DeciConvert(typed);
    ASSERT_TRUE(conversion) << typed;
    const std::string& positional = conversion->positional;
    const ExactHex exact = exactHex(v);
    const bool negative = v < 0;
    ASSERT_EQ(positional.substr(0, 2), negative ? "- " : "+ ") << typed;
    const std::size_t point = positional.find('.');
    ASSERT_NE(point, std::string::npos) << typed;
    EXPECT_EQ(positional.substr(2, point - 2), exact.integer) << typed;
    const std::string shown = positional.substr(point + 1);
    std::string expansion = exact.fraction;
    if (expansion.size() < shown.size()) expansion.append(shown.size() - expansion.size(), '0');
    EXPECT_EQ(shown, expansion.substr(0, shown.size())) << typed;
    ++checked;
  }
  EXPECT_GT(checked, 19000);
}

}  // namespace
