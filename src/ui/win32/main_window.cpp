#include "ui/win32/main_window.h"

#include "ui/win32/calculator_window.h"

namespace ui::win32 {

namespace {

// Windows 10 1803 and later; older mingw headers lack it.
constexpr DWORD kHighResolution = 0x2;

// A one-shot timer that wakes on time to well under a millisecond where the system has
// such timers, and to its timer step (15.6 ms by default) otherwise. SetTimer could do
// no better than that step and waits at least 10 ms.
HANDLE makeTimer() {
  if (HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS)) return timer;
  return CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
}

}  // namespace

MainWindow::MainWindow(MainClockSeams seams)
    : DesignedWindow(mainClockDesign()), clock_(*this, std::move(seams)), timer_(makeTimer()) {
  handEventsTo(clock_);
  clock_.Form_Load();
}

MainWindow::~MainWindow() { CloseHandle(timer_); }

void MainWindow::armTimer(std::chrono::milliseconds interval) {
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(interval.count()) * 10'000;  // relative, in 100 ns
  armed_ = SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != FALSE;
}

void MainWindow::stopTimer() {
  armed_ = false;
  CancelWaitableTimer(timer_);
  // Cancelling leaves a tick that already fired pending: it is dropped here.
  WaitForSingleObject(timer_, 0);
}

void MainWindow::tick() {
  if (!armed_) return;
  stopTimer();
  clock_.startimer_Timer();
}

int MainWindow::run() { return Window::run(timer_, [this] { tick(); }); }

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
    case WM_CLOSE:
      clock_.Form_Unload();
      return 0;
    case WM_ENDSESSION:
      if (wParam) clock_.Form_Unload();
      return 0;
    case WM_DESTROY:
      if (!ended_) clock_.Form_Unload();
      break;
    default:
      break;
  }
  return DesignedWindow::message(message, wParam, lParam);
}

}  // namespace ui::win32
