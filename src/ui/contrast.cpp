#include "ui/contrast.h"

#include <algorithm>
#include <array>

namespace ui {

namespace {

// a^(1/5) by Newton's steps from above, in plain arithmetic: the table below is then
// made by the compiler, and the program needs no pow, whose code and tables cost
// memory at run time.
constexpr double fifthRoot(double a) {
  double y = 1;  // at or above the root for 0 < a <= 1, from where every step falls
  for (int step = 0; step < 40; ++step) y -= (y * y * y * y * y - a) / (5 * y * y * y * y);
  return y;
}

// The linear light of each 8-bit sRGB channel value: x^2.4 is x^2 times the fifth root of x^2.
constexpr auto kLinear = [] {
  std::array<double, 256> linear{};
  for (int value = 0; value < 256; ++value) {
    const double c = value / 255.0;
    const double x = (c + 0.055) / 1.055;
    linear[value] = c <= 0.04045 ? c / 12.92 : x * x * fifthRoot(x * x);
  }
  return linear;
}();

double luminance(std::uint32_t rgb) {
  return 0.2126 * kLinear[(rgb >> 16) & 0xFF] + 0.7152 * kLinear[(rgb >> 8) & 0xFF] + 0.0722 * kLinear[rgb & 0xFF];
}

}  // namespace

double contrastRatio(std::uint32_t first, std::uint32_t second) {
  const double a = luminance(first);
  const double b = luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::uint32_t focusRing(std::uint32_t background) {
  return contrastRatio(0x000000, background) >= contrastRatio(0xFFFFFF, background) ? 0x000000 : 0xFFFFFF;
}

namespace {

std::string_view trimmed(std::string_view text, std::string_view strip = " \t\r\n'\"") {
  const auto first = text.find_first_not_of(strip);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(strip) - first + 1);
}

bool highContrastTheme(std::string_view theme) {
  theme = theme.substr(0, theme.find(':'));  // a variant after the name: "HighContrast:dark"
  return theme == "HighContrast" || theme == "HighContrastInverse";
}

}  // namespace

bool highContrastAsked(std::string_view highContrastSetting, std::string_view themeVariable,
                       std::string_view themeSetting) {
  if (trimmed(highContrastSetting) == "true") return true;
  if (!trimmed(themeVariable).empty()) return highContrastTheme(trimmed(themeVariable));
  return highContrastTheme(trimmed(themeSetting));
}

}  // namespace ui
