#include "ui/window_design.h"

#include <algorithm>
#include <numeric>
#include <set>

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

std::uint32_t SystemColours::operator()(SystemColour colour) const {
  switch (colour) {
    case SystemColour::ButtonFace: return buttonFace;
    case SystemColour::ButtonText: return buttonText;
    case SystemColour::BoxBackground: return boxBackground;
    case SystemColour::BoxText: return boxText;
    case SystemColour::ActiveTitle: return activeTitle;
  }
  return buttonFace;
}

Paint paintOf(const ControlDesign& control, const SystemColours& system) {
  if (!system.highContrast) {
    return resolve(control.text, control.background, system(control.text.system), system(control.background.system));
  }
  // The values are what the user reads and clicks: labels that report clicks, and the boxes.
  const bool value = control.kind == Kind::TextBox || (control.kind == Kind::Label && control.clickable);
  return value ? Paint{system.boxText, system.boxBackground} : Paint{system.buttonText, system.buttonFace};
}

std::uint32_t backgroundOf(const WindowDesign& window, const SystemColours& system) {
  if (system.highContrast) return system.buttonFace;
  return window.background.rgb.value_or(system(window.background.system));
}

std::uint32_t failureText(std::uint32_t background) {
  constexpr std::uint32_t darkRed = 0xB00000, lightRed = 0xFF7878;
  return contrastRatio(darkRed, background) >= contrastRatio(lightRed, background) ? darkRed : lightRed;
}

std::vector<Control> tabOrder(const WindowDesign& window) {
  std::vector<Control> order;
  for (Control c = 0; c < static_cast<Control>(window.controls.size()); ++c) {
    if (window.controls[c].tabIndex >= 0) order.push_back(c);
  }
  std::ranges::stable_sort(order, {}, [&window](Control c) { return window.controls[c].tabIndex; });
  return order;
}

std::optional<Control> nextInTabOrder(const WindowDesign& window, std::optional<Control> from, bool backwards,
                                      const std::function<bool(Control)>& takesFocus) {
  const std::vector<Control> order = tabOrder(window);
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const auto at = from ? std::ranges::find(order, *from) - order.begin() : n;
  // From no control, or one outside the order, the walk starts at the first (or last).
  const std::ptrdiff_t start = at == n ? (backwards ? 0 : n - 1) : at;
  for (std::ptrdiff_t step = 1; step <= n; ++step) {
    const Control c = order[static_cast<std::size_t>(((start + (backwards ? -step : step)) % n + n) % n)];
    if (takesFocus(c)) return c;
  }
  return std::nullopt;
}

namespace {

bool overlap(const Twips& a, const Twips& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

std::vector<Control> labelsUnder(const WindowDesign& window, std::span<const Control> covers) {
  std::vector<Control> under;
  for (Control c = 0; c < static_cast<Control>(window.controls.size()); ++c) {
    if (window.controls[c].kind != Kind::Label || std::ranges::find(covers, c) != covers.end()) continue;
    if (std::ranges::any_of(covers, [&](Control cover) { return overlap(window.controls[cover].at, window.controls[c].at); })) {
      under.push_back(c);
    }
  }
  return under;
}

std::vector<Control> stackingOrder(const WindowDesign& window) {
  const auto count = static_cast<Control>(window.controls.size());
  // Which controls must come before which; ties go to the design's own order.
  std::vector<std::vector<Control>> behind(static_cast<std::size_t>(count));
  std::vector<int> waitingFor(static_cast<std::size_t>(count), 0);
  const auto mustPrecede = [&](Control front, Control back) {
    behind[front].push_back(back);
    ++waitingFor[back];
  };
  for (Control front = 0; front < count; ++front) {
    for (Control back = front + 1; back < count; ++back) {
      if (overlap(window.controls[front].at, window.controls[back].at)) mustPrecede(front, back);
    }
  }
  const std::vector<Control> tabs = tabOrder(window);
  for (std::size_t i = 1; i < tabs.size(); ++i) mustPrecede(tabs[i - 1], tabs[i]);
  std::set<Control> ready;
  for (Control c = 0; c < count; ++c) {
    if (waitingFor[c] == 0) ready.insert(c);
  }
  std::vector<Control> order;
  while (!ready.empty()) {
    const Control next = *ready.begin();
    ready.erase(ready.begin());
    order.push_back(next);
    for (const Control back : behind[next]) {
      if (--waitingFor[back] == 0) ready.insert(back);
    }
  }
  if (order.size() == window.controls.size()) return order;
  std::vector<Control> designed(window.controls.size());
  std::iota(designed.begin(), designed.end(), 0);
  return designed;
}

}  // namespace ui
