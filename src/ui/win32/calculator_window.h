#pragma once

#include "ui/co_math.h"
#include "ui/win32/designed_window.h"

namespace ui::win32 {

// The calculator's Win32 face: a tool window without owner, a fixed frame, no task-bar entry.
class CalculatorWindow : public DesignedWindow<CalculatorFace> {
 public:
  CalculatorWindow() : DesignedWindow(calculatorDesign()), calculator_(*this) { handEventsTo(calculator_); }

  // Shows the window, from any state, in front.
  void bringBack();

  void hide() override { ShowWindow(hwnd_, SW_HIDE); }
  void discard() override { destroy(); }

 protected:
  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  coMath calculator_;
};

}  // namespace ui::win32
