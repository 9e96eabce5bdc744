#include "ui/win32/main_window.h"

#include "ui/win32/calculator_window.h"
#include "ui/win32/menu.h"
#include "ui/win32/stamp_dialogs.h"

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

MainWindow::MainWindow(MainClockSeams seams) : DesignedWindow(mainClockDesign()), timer_(makeTimer()) {
  keys_.attach(hwnd_);
  if (!seams.globalKey) seams.globalKey = &keys_;
  if (!seams.typist) seams.typist = &keys_;
  handlers_.emplace(*this, std::move(seams));
  handlers_->Form_Load();
}

MainWindow::~MainWindow() {
  keys_.release();
  CloseHandle(timer_);
}

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
  if (!armed_ || !handlers_) return;
  stopTimer();
  handlers_->startimer_Timer();
}

int MainWindow::run() { return Window::run(timer_, [this] { tick(); }); }

void MainWindow::enableMenu(int entry, bool enabled) {
  EnableMenuItem(GetMenu(hwnd_), static_cast<UINT>(kFirstMenuId + entry),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(hwnd_);
}

void MainWindow::checkMenu(int entry, bool checked) {
  CheckMenuItem(GetMenu(hwnd_), static_cast<UINT>(kFirstMenuId + entry), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::setMenuCaption(int entry, std::string_view caption) {
  std::wstring text = wide(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(GetMenu(hwnd_), static_cast<UINT>(kFirstMenuId + entry), FALSE, &item);
}

std::optional<int> MainWindow::popUpMenu(const std::vector<int>& entries) {
  return win32::popUpMenu(hwnd_, entries, kFirstMenuId);
}

std::optional<std::string> MainWindow::askText(std::string_view title, std::string_view prompt,
                                               std::string_view text) {
  return win32::askText(hwnd_, title, prompt, text);
}

std::optional<KeyChord> MainWindow::askKeyChord(std::string_view title, std::string_view prompt) {
  return win32::askKeyChord(hwnd_, title, prompt);
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
      handlers_->Form_Unload();
      return 0;
    case WM_HOTKEY:
      if (wParam == SystemKeys::kHotKeyId && keys_.pressed) keys_.pressed();
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
