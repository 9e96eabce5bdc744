#include "ui/win32/main_window.h"

#include "ui/win32/calculator_window.h"

namespace ui::win32 {

MainWindow::MainWindow(MainClockSeams seams) : DesignedWindow(mainClockDesign()) {
  handlers_.emplace(*this, std::move(seams));
  handlers_->Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::enableMenu(int entry, bool enabled) {
  EnableMenuItem(GetMenu(hwnd_), static_cast<UINT>(kFirstMenuId + entry),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(hwnd_);
}

void MainWindow::showCalculator() {
  if (!calculator_ || !calculator_->handle()) calculator_ = std::make_unique<CalculatorWindow>();
  calculator_->bringBack();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  calculator_.reset();
  ShowWindow(hwnd_, SW_HIDE);
  PostQuitMessage(0);
}

LRESULT MainWindow::message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kTimer) break;
      stopTimer();
      handlers_->startimer_Timer();
      return 0;
    case WM_CLOSE:
      handlers_->Form_Unload();
      return 0;
    case WM_ENDSESSION:
      if (wParam) handlers_->Form_Unload();
      return 0;
    case WM_DESTROY:
      if (!ended_) handlers_->Form_Unload();
      break;
    default:
      break;
  }
  return DesignedWindow::message(message, wParam, lParam);
}

}  // namespace ui::win32
