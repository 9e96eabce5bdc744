#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/window_design.h"

// What the clock needs of a desktop to stay at hand: an icon in the notification area
// with its own menu, and the system's own entry that starts a program at login.
namespace ui {

// The icon's menu, in the order it shows.
namespace trayentry {
enum : int { Copy, ShowHide, Calculator, OnTop, StartAtLogin, Icon, Quit, count };
}
std::span<const MenuDesign> trayMenu();

class Tray {
 public:
  // Whether the desktop has a notification area at the moment.
  virtual bool available() const = 0;
  virtual void show(bool shown) = 0;
  virtual void setToolTip(std::string_view text) = 0;
  virtual void setEntryCaption(int entry, std::string_view caption) = 0;
  virtual void checkEntry(int entry, bool checked) = 0;
  virtual void enableEntry(int entry, bool enabled) = 0;

  // A click on the icon (the primary button), and an entry chosen from its menu.
  std::function<void()> clicked;
  std::function<void(int entry)> chosen;

 protected:
  ~Tray() = default;
};

// The system's own entry that starts the clock at login: its state is read from the
// entry itself each time, never kept elsewhere.
class LoginStart {
 public:
  virtual bool present() const = 0;
  // Adds or removes the entry; why it could not, or empty.
  virtual std::string set(bool present) = 0;

 protected:
  ~LoginStart() = default;
};

// A point and a rectangle on the desktop, in the system's pixels.
struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Reads "x,y" as kept in the preferences.
std::optional<Point> readPoint(std::string_view text);
std::string pointText(Point point);
// Where a window whose top left corner was kept at `kept` opens again: there, when
// enough of its top lies on a present screen to take it by; none (the system's first
// placement) otherwise.
std::optional<Point> placeAgain(std::optional<Point> kept, std::span<const Rect> screens);

}  // namespace ui
