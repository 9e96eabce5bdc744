#include "ui/contrast.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ui/co_math.h"
#include "ui/main_clock.h"
#include "ui/window_design.h"

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

namespace {

const ui::ControlDesign& control(const ui::WindowDesign& window, std::string_view name) {
  for (const ui::ControlDesign& design : window.controls) {
    if (design.name == name) return design;
  }
  throw std::invalid_argument(std::string(name));
}

TEST(Contrast, HighContrastGivesEveryPairTheSystemsColours) {
  // The system's palettes: an ordinary light one, and a high-contrast one whose window
  // and button pairs differ, so that each shows which it took.
  const ui::SystemColours light{};
  const ui::SystemColours high{.buttonFace = 0x000000, .buttonText = 0xFFFF00, .boxBackground = 0x000080,
                               .boxText = 0xFFFFFF, .activeTitle = 0x00FF00, .highContrast = true};
  constexpr ui::Paint box{0xFFFFFF, 0x000080}, button{0xFFFF00, 0x000000};
  struct Case {
    const ui::WindowDesign& window;
    std::string_view control;
    ui::Paint off, on;
  };
  const ui::WindowDesign& clock = ui::mainClockDesign();
  const ui::WindowDesign& calculator = ui::calculatorDesign();
  const Case cases[] = {
      {clock, "Label5_0", {0xFFFF00, 0x000040}, box},
      {clock, "Label5_1", {0x804000, 0x004040}, box},  // the seconds, 1.5:1 as designed
      {clock, "Label5_2", {0x000000, 0x804000}, box},  // the UTC row, 2.7:1
      {clock, "Label5_3", {0x0000FF, 0xBBCC00}, box},
      {clock, "DiffSec", {0x99B4D1, 0xFFFFFF}, box},
      {clock, "Label1_2", {0x000000, 0xF0F0F0}, button},
      {clock, "lblTitle", {0x000000, 0xF0F0F0}, button},
      {clock, "cmdOK", {0x000000, 0xF0F0F0}, button},
      {calculator, "DeciVal", {0x000000, 0xFFFFFF}, box},
      {calculator, "CoVal", {0x000000, 0x80FF80}, box},
      {calculator, "CoSci", {0x000000, 0xFFFFC0}, box},
      {calculator, "Label9", {0x000000, 0xF0F0F0}, button},
  };
  for (const Case& c : cases) {
    const ui::ControlDesign& design = control(c.window, c.control);
    const ui::Paint off = ui::paintOf(design, light), on = ui::paintOf(design, high);
    EXPECT_EQ(std::pair(off.text, off.background), std::pair(c.off.text, c.off.background)) << c.control;
    EXPECT_EQ(std::pair(on.text, on.background), std::pair(c.on.text, c.on.background)) << c.control;
  }
  // Every pair of both windows is one of the system's, and reads as the system's does.
  for (const ui::WindowDesign* window : {&clock, &calculator}) {
    for (const ui::ControlDesign& design : window->controls) {
      const ui::Paint on = ui::paintOf(design, high);
      EXPECT_GE(ui::contrastRatio(on.text, on.background), 7.0) << design.name;
      EXPECT_TRUE(on.background == box.background || on.background == button.background) << design.name;
    }
  }
  EXPECT_EQ(ui::backgroundOf(clock, light), 0x0000C0u);
  EXPECT_EQ(ui::backgroundOf(clock, high), button.background);
  EXPECT_EQ(ui::backgroundOf(calculator, light), light.buttonFace);
}

}  // namespace
