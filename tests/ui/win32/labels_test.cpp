#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ui/win32/calculator_window.h"
#include "ui/win32/main_window.h"

namespace {

// The labels whose text the system's font breaks into more lines than their boxes hold.
std::string clippedLabels(HWND window) {
  std::string clipped;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[16] = L"";
    GetClassNameW(child, kind, 16);
    if (std::wstring(kind) != L"Static") continue;
    wchar_t text[2048] = L"";
    const int length = GetWindowTextW(child, text, 2048);
    RECT box, needed{0, 0, 0, 0};
    GetClientRect(child, &box);
    needed.right = box.right;
    HDC dc = GetDC(child);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
    DrawTextW(dc, length ? text : L"0", length ? length : 1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    if (needed.bottom > box.bottom || needed.right > box.right) {
      clipped += ui::win32::utf8(std::wstring(text, static_cast<std::size_t>(length))).substr(0, 40) + " (" +
                 std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + " in " + std::to_string(box.right) +
                 "x" + std::to_string(box.bottom) + "); ";
    }
  }
  return clipped;
}

// Both windows at 96, 144 and 192 dots per inch, laid out again as when they move to
// such a monitor, with the fonts this system has.
TEST(Win32Labels, NoLabelClipsItsTextAtAnyDpi) {
  ui::MainClockSeams seams;
  seams.offsetFile = (std::filesystem::temp_directory_path() / "selenial-labels-test.ini").string();
  ui::win32::MainWindow clock(seams);
  ui::win32::CalculatorWindow calculator;
  if (!clock.handle()) GTEST_SKIP() << "no display to make windows on";
  for (const UINT dpi : {96u, 144u, 192u}) {
    for (HWND window : {clock.handle(), calculator.handle()}) {
      RECT frame;
      GetWindowRect(window, &frame);
      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
      EXPECT_EQ(clippedLabels(window), "") << dpi << " dpi";
    }
  }
}

}  // namespace
