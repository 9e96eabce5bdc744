#include "ui/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "runtime/unicode.h"

namespace ui::win32 {

namespace {

constexpr UINT kCallback = WM_APP + 7;
constexpr UINT kIconId = 1;
constexpr UINT kFirstEntryId = 1;

}  // namespace

TrayIcon::TrayIcon(HWND window)
    : window_(window),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")),
      icon_(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))),
      enabled_(trayentry::count, true) {
  checked_.resize(trayentry::count);
  for (const MenuDesign& entry : trayMenu()) captions_.push_back(runtime::wide(entry.caption));
}

TrayIcon::~TrayIcon() {
  show(false);
  if (icon_) DestroyIcon(icon_);
}

bool TrayIcon::notify(DWORD what) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallback;
  data.hIcon = icon_ ? icon_ : LoadIconW(nullptr, IDI_APPLICATION);
  const std::size_t length = std::min(toolTip_.size(), std::size(data.szTip) - 1);
  std::copy_n(toolTip_.begin(), length, data.szTip);
  return Shell_NotifyIconW(what, &data) != FALSE;
}

void TrayIcon::show(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  notify(shown ? NIM_ADD : NIM_DELETE);
}

void TrayIcon::setToolTip(std::string_view text) {
  toolTip_ = runtime::wide(text);
  // Gone, say with an Explorer that restarts: added again.
  if (shown_ && !notify(NIM_MODIFY)) notify(NIM_ADD);
}

void TrayIcon::setEntryCaption(int entry, std::string_view caption) { captions_[entry] = runtime::wide(caption); }

void TrayIcon::checkEntry(int entry, bool checked) { checked_[entry] = checked; }

void TrayIcon::enableEntry(int entry, bool enabled) { enabled_[entry] = enabled; }

void TrayIcon::popUpMenu() {
  HMENU menu = CreatePopupMenu();
  for (int entry = 0; entry < trayentry::count; ++entry) {
    if (trayMenu()[entry].separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const UINT state = (checked_[entry] ? MF_CHECKED : MF_UNCHECKED) | (enabled_[entry] ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu, MF_STRING | state, kFirstEntryId + entry, captions_[entry].c_str());
  }
  POINT at{};
  GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its window is in front.
  SetForegroundWindow(window_);
  const int chosenId = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                                      window_, nullptr);
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosenId > 0 && chosen) chosen(chosenId - static_cast<int>(kFirstEntryId));
}

bool TrayIcon::message(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    if (shown_) notify(NIM_ADD);
    return true;
  }
  if (message != kCallback) return false;
  switch (LOWORD(lParam)) {
    case WM_LBUTTONUP:
      if (clicked) clicked();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      popUpMenu();
      break;
    default:
      break;
  }
  return true;
}

}  // namespace ui::win32
