#pragma once

#include <memory>

#include "ui/main_clock.h"
#include "ui/win32/designed_window.h"
#include "ui/win32/startup_shortcut.h"
#include "ui/win32/system_keys.h"
#include "ui/win32/tray_icon.h"

namespace ui::win32 {

class CalculatorWindow;

// The clock window's Win32 face.
class MainWindow : public DesignedWindow<MainFace> {
 public:
  explicit MainWindow(MainClockSeams seams = {});
  ~MainWindow() override;

  void enableMenu(int entry, bool enabled) override;
  void checkMenu(int entry, bool checked) override;
  void setMenuCaption(int entry, std::string_view caption) override;
  std::optional<int> popUpMenu(const std::vector<int>& entries) override;
  std::optional<std::string> askText(std::string_view title, std::string_view prompt,
                                     std::string_view text) override;
  std::optional<KeyChord> askKeyChord(std::string_view title, std::string_view prompt) override;
  bool minimized() const override { return IsIconic(hwnd_) != FALSE; }
  // The timer fires once for each arming: the tick's handler arms the next.
  void armTimer(std::chrono::milliseconds interval) override;
  void stopTimer() override;
  void showCalculator() override;
  void endProgram() override;
  void showWindow(bool shown) override;
  bool inFront() const override;
  bool canStayOnTop() const override { return true; }
  void stayOnTop(bool on) override;
  // The taskbar's notification area is always there, and a window may always stay on
  // top: nothing in the menu is greyed out that would need a word of why.
  void setMenuToolTip(int /*entry*/, std::string_view /*tip*/) override {}
  std::optional<Point> position(Which window) const override;
  void place(Which window, Point at) override;
  std::vector<Rect> screens() const override;

  // Left hidden in the notification area, the window stays hidden at start.
  bool startsShown() const { return clock_.startsShown(); }
  // The program's message loop, with the clock's ticks; returns the exit code.
  int run();

 protected:
  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void tick();

  HANDLE timer_ = nullptr;
  SystemKeys keys_;
  bool armed_ = false;
  TrayIcon tray_{hwnd_};
  StartupShortcut startup_;
  // After what its seams point to: its constructor hooks their events.
  MainCLock clock_;

  std::unique_ptr<CalculatorWindow> calculator_;  // kept after its window is discarded, until the next opening
  bool ended_ = false;
  bool onTop_ = false;
  std::optional<Point> calculatorPlace_;
};

}  // namespace ui::win32
