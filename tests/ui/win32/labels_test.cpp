#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "ui/win32/calculator_window.h"
#include "ui/win32/main_window.h"

// Both windows at 96, 144 and 192 dots per inch, laid out again as on such a monitor,
// with this system's fonts: each label holds the lines its text breaks into.
TEST(Win32Labels, NoLabelClipsItsTextAtAnyDpi) {
  ui::MainClockSeams seams;
  seams.offsetFile = (std::filesystem::temp_directory_path() / "selenial-labels-test.ini").string();
  ui::win32::MainWindow clock(seams);
  ui::win32::CalculatorWindow calculator;
  if (!clock.handle()) GTEST_SKIP() << "no display to make windows on";
  for (const UINT dpi : {96u, 144u, 192u}) {
    for (HWND window : {clock.handle(), calculator.handle()}) {
      RECT frame, box;
      GetWindowRect(window, &frame);
      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
      for (HWND label = GetWindow(window, GW_CHILD); label; label = GetWindow(label, GW_HWNDNEXT)) {
        wchar_t kind[16] = L"", text[2048] = L"";
        GetClassNameW(label, kind, 16);
        if (std::wstring(kind) != L"Static") continue;
        int length = GetWindowTextW(label, text, 2048);
        if (length == 0) length = (text[0] = L'0', 1);  // a value is measured for one line
        GetClientRect(label, &box);
        RECT needed{0, 0, box.right, 0};
        HDC dc = GetDC(label);
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text, length, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        ReleaseDC(label, dc);
        EXPECT_TRUE(needed.bottom <= box.bottom && needed.right <= box.right)
            << ui::win32::utf8(text) << " at " << dpi << " dpi: " << needed.right << "x" << needed.bottom << " in "
            << box.right << "x" << box.bottom;
      }
    }
  }
}
