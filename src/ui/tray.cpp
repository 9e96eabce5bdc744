#include "ui/tray.h"

#include <algorithm>
#include <charconv>

namespace ui {

namespace {

using namespace trayentry;

constexpr MenuDesign kTrayMenu[] = {
    {"trayCopy", "Copy time stamp"},
    {"trayShowHide", "Show clock"},
    {"trayCalculator", "Calculator"},
    {"trayOnTop", "Always on top", -1, MenuKind::Check, 0, true},
    {"trayLogin", "Start at login", -1, MenuKind::Check},
    {"trayIcon", "Icon in the notification area", -1, MenuKind::Check},
    {"trayQuit", "Quit", -1, MenuKind::Command, 0, true},
};
static_assert(std::size(kTrayMenu) == count);

// A spot near the window's top, right of its icon: what the user takes a window by.
constexpr Point kGrip{48, 12};

std::optional<int> readInt(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::span<const MenuDesign> trayMenu() { return kTrayMenu; }

std::optional<Point> readPoint(std::string_view text) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = readInt(text.substr(0, comma));
  const auto y = readInt(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return Point{*x, *y};
}

std::string pointText(Point point) { return std::to_string(point.x) + "," + std::to_string(point.y); }

std::optional<Point> placeAgain(std::optional<Point> kept, std::span<const Rect> screens) {
  if (!kept) return std::nullopt;
  const Point grip{kept->x + kGrip.x, kept->y + kGrip.y};
  const bool onScreen = std::ranges::any_of(screens, [&grip](const Rect& s) {
    return grip.x >= s.left && grip.x < s.left + s.width && grip.y >= s.top && grip.y < s.top + s.height;
  });
  if (!onScreen) return std::nullopt;
  return kept;
}

}  // namespace ui
