#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/tray.h"

namespace ui::win32 {

// The icon in the taskbar's notification area, owned by a window whose messages it reads.
class TrayIcon : public Tray {
 public:
  explicit TrayIcon(HWND window);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The taskbar has one wherever it runs; one started later gets the icon again.
  bool available() const override { return true; }
  void show(bool shown) override;
  void setToolTip(std::string_view text) override;
  void setEntryCaption(int entry, std::string_view caption) override;
  void checkEntry(int entry, bool checked) override;
  void enableEntry(int entry, bool enabled) override;

  // A message of the owner window; true when it was the icon's.
  bool message(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool notify(DWORD what);
  void popUpMenu();

  HWND window_;
  UINT taskbarCreated_;
  HICON icon_;
  bool shown_ = false;
  std::wstring toolTip_;
  std::vector<std::wstring> captions_;
  std::vector<bool> checked_, enabled_;
};

}  // namespace ui::win32
