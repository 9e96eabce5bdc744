// windows.h first: commctrl.h builds on it.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  // Tool tips, and the common controls' own buttons, boxes and labels (version 6, by the manifest).
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // Screen readers reach the controls' accessible objects through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::win32::MainWindow window;
  // Left hidden in the notification area, the clock starts there with only its icon.
  if (window.startsShown()) {
    ShowWindow(window.handle(), show);
    UpdateWindow(window.handle());
  }
  return window.run();
}
