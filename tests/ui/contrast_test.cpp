#include "ui/contrast.h"

#include <gtest/gtest.h>

namespace {

TEST(Contrast, RatiosOfKnownPairs) {
  struct Case {
    std::uint32_t first, second;
    double ratio;
  };
  const Case cases[] = {
      {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0}, {0x808080, 0x808080, 1.0},
      {0x767676, 0xFFFFFF, 4.54},  // the lightest grey that is still readable on white
      {0xFFFFFF, 0x595959, 7.0},   // the grey that reads on white at the strictest level
      {0xFF0000, 0xFFFFFF, 4.0},   // pure red on white is not enough
      {0x333333, 0xFFFFFF, 12.63}, {0x0B0B0B, 0x000000, 1.07},  // dark greys, near the curve's linear foot
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(ui::contrastRatio(c.first, c.second), c.ratio, 0.01) << std::hex << c.first << " on " << c.second;
  }
}

}  // namespace
