#include "ui/win32/calculator_window.h"

namespace ui::win32 {

void CalculatorWindow::bringBack() {
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

LRESULT CalculatorWindow::message(UINT message, WPARAM wParam, LPARAM lParam) {
  // The title-bar close box.
  if (message == WM_CLOSE) {
    calculator_.closeBox();
    return 0;
  }
  return DesignedWindow::message(message, wParam, lParam);
}

}  // namespace ui::win32
