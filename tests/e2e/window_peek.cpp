// Prints what a window of another Windows program shows: for the top-level window
// with the given title, whether it is shown and minimized and its rectangle on the
// screen, then a line per control, front to back: shown, enabled, its centre on the
// screen, its class and its text.
// Usage: window_peek.exe TITLE   (exits with 1 when no window has that title)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring wanted;
HWND found = nullptr;

BOOL CALLBACK matchTitle(HWND window, LPARAM) {
  wchar_t title[256];
  GetWindowTextW(window, title, 256);
  if (wanted != title) return TRUE;
  found = window;
  return FALSE;
}

void printUtf8(const wchar_t* text) {
  char bytes[8192];
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  std::fputs(bytes, stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  wanted = argv[1];
  EnumWindows(matchTitle, 0);
  if (!found) return 1;
  RECT area;
  GetWindowRect(found, &area);
  std::printf("window %d %d %ld %ld %ld %ld\n", IsWindowVisible(found) ? 1 : 0, IsIconic(found) ? 1 : 0, area.left,
              area.top, area.right, area.bottom);
  for (HWND child = GetWindow(found, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[64] = L"", text[4096] = L"";
    GetClassNameW(child, kind, 64);
    // Asked of the control itself: an edit box keeps its text to itself.
    SendMessageTimeoutW(child, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    GetWindowRect(child, &area);
    std::printf("%d %d %ld %ld ", IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
                (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    printUtf8(kind);
    std::putchar(' ');
    printUtf8(text);
    std::putchar('\n');
  }
  return 0;
}
