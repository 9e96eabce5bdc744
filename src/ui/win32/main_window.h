#pragma once

#include <memory>

#include "ui/main_clock.h"
#include "ui/win32/designed_window.h"

namespace ui::win32 {

class CalculatorWindow;

// The clock window's Win32 face.
class MainWindow : public DesignedWindow<MainFace, MainCLock> {
 public:
  explicit MainWindow(MainClockSeams seams = {});
  ~MainWindow() override;

  void enableMenu(int entry, bool enabled) override;
  bool minimized() const override { return IsIconic(hwnd_) != FALSE; }
  // The timer fires once for each arming: the tick's handler arms the next.
  void armTimer(std::chrono::milliseconds interval) override {
    SetTimer(hwnd_, kTimer, static_cast<UINT>(interval.count()), nullptr);
  }
  void stopTimer() override { KillTimer(hwnd_, kTimer); }
  void showCalculator() override;
  void endProgram() override;

 protected:
  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT_PTR kTimer = 1;

  std::unique_ptr<CalculatorWindow> calculator_;  // kept after its window is discarded, until the next opening
  bool ended_ = false;
};

}  // namespace ui::win32
