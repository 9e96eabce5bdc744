#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "ui/main_clock.h"
#include "ui/win32/calculator_window.h"
#include "ui/win32/main_window.h"
#include "ui/win32/screen.h"

namespace {

using namespace ui::mainclock;

bool highContrast = false;
bool forcedHighContrast() { return highContrast; }

// The colours the face hands a control's paint, and the one it paints the window with.
std::pair<COLORREF, COLORREF> paintedAs(HWND window, ui::Control control) {
  HWND child = GetDlgItem(window, ui::win32::kFirstControlId + control);
  HDC dc = CreateCompatibleDC(nullptr);
  const UINT message = ui::mainClockDesign().controls[control].kind == ui::Kind::TextBox ? WM_CTLCOLOREDIT
                                                                                         : WM_CTLCOLORSTATIC;
  SendMessageW(window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
  const std::pair painted(GetTextColor(dc), GetBkColor(dc));
  DeleteDC(dc);
  return painted;
}

COLORREF windowBackground(HWND window) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const COLORREF colour = GetPixel(dc, 0, 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return colour;
}

// Wine always reports high contrast off: the test forces the face's answer, and tells
// the window of it as the system does.
TEST(Win32Colours, HighContrastTakesTheSystemsColoursAndIsFollowedWhileRunning) {
  ui::win32::highContrastOn = forcedHighContrast;
  ui::MainClockSeams seams;
  seams.offsetFile = (std::filesystem::temp_directory_path() / "selenial-colours-test.ini").string();
  ui::win32::MainWindow window(seams);
  HWND hwnd = window.handle();
  if (!hwnd) GTEST_SKIP() << "no display to make windows on";
  const std::pair box(GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW));
  const std::pair button(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE));
  struct Case {
    ui::Control control;
    std::pair<COLORREF, COLORREF> designed, high;
  };
  const Case cases[] = {
      {Label5_0, {RGB(255, 255, 0), RGB(0, 0, 64)}, box},
      {DiffSec, {GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_WINDOW)}, box},
      {Label1_0, button, button},
  };
  struct Step {
    bool on;
    UINT message;
    WPARAM wParam;
  };
  for (const Step step : {Step{false, 0, 0}, Step{true, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST},
                          Step{false, WM_SYSCOLORCHANGE, 0}}) {
    highContrast = step.on;
    if (step.message) SendMessageW(hwnd, step.message, step.wParam, 0);
    for (const Case& c : cases) {
      EXPECT_EQ(paintedAs(hwnd, c.control), step.on ? c.high : c.designed)
          << ui::mainClockDesign().controls[c.control].name << (step.on ? " in high contrast" : "");
    }
    EXPECT_EQ(windowBackground(hwnd), step.on ? GetSysColor(COLOR_BTNFACE) : RGB(0, 0, 192)) << step.on;
  }
}

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

}  // namespace
