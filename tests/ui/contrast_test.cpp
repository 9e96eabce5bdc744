#include "ui/contrast.h"

#include <gtest/gtest.h>

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

TEST(Contrast, HighContrastGivesEveryPairTheSystemsColours) {
  // A high-contrast palette whose window and button pairs differ, so each shows which it took.
  const ui::SystemColours light{}, high{.buttonFace = 0x000000, .buttonText = 0xFFFF00, .boxBackground = 0x000080,
                                        .boxText = 0xFFFFFF, .highContrast = true};
  constexpr ui::Paint box{0xFFFFFF, 0x000080}, button{0xFFFF00, 0x000000};
  const ui::WindowDesign &clock = ui::mainClockDesign(), &calculator = ui::calculatorDesign();
  struct Case {
    const ui::ControlDesign& control;
    ui::Paint off, on;
  };
  const Case cases[] = {
      {clock.controls[ui::mainclock::Label5_0], {0xFFFF00, 0x000040}, box},
      {clock.controls[ui::mainclock::Label5_1], {0x804000, 0x004040}, box},  // the seconds, 1.5:1 as designed
      {clock.controls[ui::mainclock::Label5_2], {0x000000, 0x804000}, box},  // the UTC row, 2.7:1
      {clock.controls[ui::mainclock::DiffSec], {0x99B4D1, 0xFFFFFF}, box},
      {clock.controls[ui::mainclock::lblTitle], {0x000000, 0xF0F0F0}, button},
      {calculator.controls[ui::comath::CoVal], {0x000000, 0x80FF80}, box},
      {calculator.controls[ui::comath::Label9], {0x000000, 0xF0F0F0}, button},
  };
  const auto pair = [](ui::Paint paint) { return std::pair(paint.text, paint.background); };
  for (const Case& c : cases) {
    EXPECT_EQ(pair(ui::paintOf(c.control, light)), pair(c.off)) << c.control.name;
    EXPECT_EQ(pair(ui::paintOf(c.control, high)), pair(c.on)) << c.control.name;
  }
  for (const ui::WindowDesign* window : {&clock, &calculator}) {
    for (const ui::ControlDesign& design : window->controls) {
      const auto on = pair(ui::paintOf(design, high));
      EXPECT_TRUE(on == pair(box) || on == pair(button)) << design.name;
    }
  }
  EXPECT_EQ(ui::backgroundOf(clock, light), 0x0000C0u);
  EXPECT_EQ(ui::backgroundOf(clock, high), button.background);
}

// As gsettings prints them and GTK reads its variable.
TEST(Contrast, HighContrastAskedByTheDesktop) {
  struct Case { std::string_view setting, variable, theme; bool asked; };
  const Case cases[] = {
      {"true\n", "", "'Adwaita'\n", true},           {"false\n", "", "'Adwaita'\n", false},
      {"false\n", "", "'HighContrast'\n", true},     {"false\n", "", "'HighContrastInverse'\n", true},
      {"", "HighContrast", "", true},                 {"", "HighContrastInverse:dark", "'Adwaita'", true},
      {"false", "Adwaita:dark", "'HighContrast'", false},  // the variable wins over the desktop's theme
      {"true", "Adwaita", "", true},                  // the accessibility setting wins over any theme
      {"", "", "'HighContrastLarge'", false},         {"", "", "", false},
      {"'true'", "", "", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::highContrastAsked(c.setting, c.variable, c.theme), c.asked)
        << c.setting << "|" << c.variable << "|" << c.theme;
  }
}

}  // namespace
