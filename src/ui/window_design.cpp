#include "ui/window_design.h"

#include "ui/contrast.h"

namespace ui {

Paint resolve(const Colour& text, const Colour& background, std::uint32_t systemText,
              std::uint32_t systemBackground) {
  Paint paint{text.rgb.value_or(systemText), background.rgb.value_or(systemBackground)};
  if (text.rgb && !background.rgb && contrastRatio(paint.text, paint.background) < kReadableContrast) {
    paint.text = systemText;
  }
  return paint;
}

std::uint32_t failureText(std::uint32_t background) {
  constexpr std::uint32_t darkRed = 0xB00000, lightRed = 0xFF7878;
  return contrastRatio(darkRed, background) >= contrastRatio(lightRed, background) ? darkRed : lightRed;
}

}  // namespace ui
