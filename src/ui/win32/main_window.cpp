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

// Called by EnumDisplayMonitors; a lambda has not the 32-bit system's calling convention.
BOOL CALLBACK noteWorkArea(HMONITOR handle, HDC /*context*/, LPRECT /*area*/, LPARAM into) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(handle, &monitor)) {
    const RECT& work = monitor.rcWork;
    reinterpret_cast<std::vector<Rect>*>(into)->push_back(
        {work.left, work.top, work.right - work.left, work.bottom - work.top});
  }
  return TRUE;
}

}  // namespace

MainWindow::MainWindow(MainClockSeams seams)
    : DesignedWindow(mainClockDesign()),
      timer_(makeTimer()),
      // The system's keys, the notification area and the Startup folder are this face's,
      // unless a test gives its own.
      clock_(*this,
             [this](MainClockSeams given) {
               if (!given.globalKey) given.globalKey = &keys_;
               if (!given.typist) given.typist = &keys_;
               if (!given.tray) given.tray = &tray_;
               if (!given.loginStart) given.loginStart = &startup_;
               return given;
             }(std::move(seams))) {
  keys_.attach(hwnd_);
  handEventsTo(clock_);
  clock_.Form_Load();
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
  if (!calculator_ || !calculator_->handle()) {
    calculator_ = std::make_unique<CalculatorWindow>();
    if (calculatorPlace_) {
      SetWindowPos(calculator_->handle(), nullptr, calculatorPlace_->x, calculatorPlace_->y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  calculator_->bringBack();
}

void MainWindow::endProgram() {
  if (ended_) return;
  ended_ = true;
  calculator_.reset();
  ShowWindow(hwnd_, SW_HIDE);
  PostQuitMessage(0);
}

void MainWindow::showWindow(bool shown) {
  if (!shown) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
}

bool MainWindow::inFront() const {
  if (!IsWindowVisible(hwnd_) || IsIconic(hwnd_)) return false;
  // Covered by no window above it. A click on the icon has just made the taskbar the
  // foreground window, so the focus cannot tell; the taskbar itself, and windows on top
  // of all, do not count unless this one is on top too.
  RECT own;
  GetWindowRect(hwnd_, &own);
  const bool topmost = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  for (HWND above = GetWindow(hwnd_, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (!IsWindowVisible(above) || IsIconic(above)) continue;
    const LONG_PTR style = GetWindowLongPtrW(above, GWL_EXSTYLE);
    if ((style & WS_EX_TOOLWINDOW) || (!topmost && (style & WS_EX_TOPMOST))) continue;
    RECT theirs, both;
    GetWindowRect(above, &theirs);
    if (IntersectRect(&both, &own, &theirs)) return false;
  }
  return true;
}

void MainWindow::stayOnTop(bool on) {
  onTop_ = on;
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::optional<Point> MainWindow::position(Which window) const {
  HWND of = window == Which::Clock ? hwnd_ : calculator_ ? calculator_->handle() : nullptr;
  if (!of) return std::nullopt;
  RECT frame;
  if (IsIconic(of)) {
    // Where it stands when restored; the placement counts from the work area's corner.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(of, &placement)) return std::nullopt;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(of, MONITOR_DEFAULTTONEAREST), &monitor);
    return Point{placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left,
                 placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top};
  }
  if (!GetWindowRect(of, &frame)) return std::nullopt;
  return Point{frame.left, frame.top};
}

void MainWindow::place(Which window, Point at) {
  if (window == Which::Calculator) {
    calculatorPlace_ = at;
    return;
  }
  SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<Rect> MainWindow::screens() const {
  std::vector<Rect> rects;
  EnumDisplayMonitors(nullptr, nullptr, noteWorkArea, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

LRESULT MainWindow::message(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tray_.message(message, wParam, lParam)) return 0;
  switch (message) {
    case WM_CLOSE:
      clock_.Form_Unload();
      return 0;
    case WM_HOTKEY:
      if (wParam == SystemKeys::kHotKeyId && keys_.pressed) keys_.pressed();
      return 0;
    case WM_ENDSESSION:
      if (wParam) clock_.quit();
      return 0;
    case WM_DESTROY:
      if (!ended_) clock_.quit();
      break;
    case WM_WINDOWPOSCHANGED:
      // Wine drops the topmost state given to a window not shown yet, as it is at start-up.
      if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) && onTop_ &&
          !(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        stayOnTop(true);
      }
      break;
    default:
      break;
  }
  return DesignedWindow::message(message, wParam, lParam);
}

}  // namespace ui::win32
