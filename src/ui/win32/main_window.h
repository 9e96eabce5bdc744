#pragma once

#include <memory>

#include "ui/main_clock.h"
#include "ui/win32/designed_window.h"

namespace ui::win32 {

class CalculatorWindow;

// The clock window's Win32 face.
class MainWindow : public DesignedWindow<MainFace> {
 public:
  explicit MainWindow(MainClockSeams seams = {});
  ~MainWindow() override;

  void enableMenu(int entry, bool enabled) override;
  bool minimized() const override { return IsIconic(hwnd_) != FALSE; }
  // The timer fires once for each arming: the tick's handler arms the next.
  void armTimer(std::chrono::milliseconds interval) override;
  void stopTimer() override;
  void showCalculator() override;
  void endProgram() override;

  // The program's message loop, with the clock's ticks; returns the exit code.
  int run();

 protected:
  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void tick();

  MainCLock clock_;
  HANDLE timer_ = nullptr;
  bool armed_ = false;

  std::unique_ptr<CalculatorWindow> calculator_;  // kept after its window is discarded, until the next opening
  bool ended_ = false;
};

}  // namespace ui::win32
