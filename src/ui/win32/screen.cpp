#include "ui/win32/screen.h"

#include <cmath>
#include <cwchar>
#include <initializer_list>

namespace ui::win32 {

namespace {

// Functions of newer Windows, looked up so that the program still starts on older ones.
template <typename Function>
Function fromUser32(const char* name) {
  const FARPROC function = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool installed(const wchar_t* family) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(wanted.lfFaceName, family, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

const wchar_t* firstInstalled(std::initializer_list<const wchar_t*> families) {
  for (const wchar_t* family : families) {
    if (installed(family)) return family;
  }
  return *families.begin();
}

// The design's faces, then stand-ins of the same build: the value labels and the offset
// box need a fixed pitch, so that their right-aligned digits line up.
const wchar_t* familyOf(Typeface face) {
  static const wchar_t* const chosen[] = {
      firstInstalled({L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma"}),
      firstInstalled({L"Lucida Console", L"Courier New", L"Liberation Mono"}),
      firstInstalled({L"Arial", L"Liberation Sans", L"Microsoft Sans Serif"}),
  };
  return chosen[static_cast<int>(face)];
}

}  // namespace

UINT dpiOf(HWND window) {
  static const auto forWindow = fromUser32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (window && forWindow) {
    if (const UINT dpi = forWindow(window)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

RECT frameAround(RECT client, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
  static const auto forDpi = fromUser32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(&client, style, menu, exStyle, dpi)) AdjustWindowRectEx(&client, style, menu, exStyle);
  return client;
}

HFONT makeFont(const Font& font, UINT dpi) {
  const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
  const DWORD pitch = font.face == Typeface::Fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS;
  return CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, familyOf(font.face));
}

namespace {

bool systemHighContrast() {
  HIGHCONTRASTW mode{};
  mode.cbSize = sizeof mode;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof mode, &mode, 0) && (mode.dwFlags & HCF_HIGHCONTRASTON);
}

std::uint32_t rgbOf(int index) {
  const COLORREF system = GetSysColor(index);
  return static_cast<std::uint32_t>(GetRValue(system)) << 16 | GetGValue(system) << 8 | GetBValue(system);
}

}  // namespace

bool (*highContrastOn)() = systemHighContrast;

SystemColours systemColours() {
  return {.buttonFace = rgbOf(COLOR_BTNFACE),
          .buttonText = rgbOf(COLOR_BTNTEXT),
          .boxBackground = rgbOf(COLOR_WINDOW),
          .boxText = rgbOf(COLOR_WINDOWTEXT),
          .activeTitle = rgbOf(COLOR_ACTIVECAPTION),
          .highContrast = highContrastOn()};
}

}  // namespace ui::win32
