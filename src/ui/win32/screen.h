#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/window_design.h"

// What the face needs of the screen: dots per inch, frames, fonts and system colours.
namespace ui::win32 {

// Dots per inch of the monitor a window stands on; with no window, of the main screen.
UINT dpiOf(HWND window);

// The window rectangle around a client rectangle, for a window of these styles at `dpi`.
RECT frameAround(RECT client, DWORD style, DWORD exStyle, bool menu, UINT dpi);

// A font of the design, its points scaled to `dpi`, in the design's face or the first
// stand-in installed. The caller deletes it.
HFONT makeFont(const Font& font, UINT dpi);

// Whether the system's high-contrast mode is on. Replaceable, so that a test can force it
// on: wine always reports it off.
extern bool (*highContrastOn)();

// The system's colours, as 0xRRGGBB, and its high-contrast mode.
SystemColours systemColours();
inline COLORREF colorRef(std::uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

}  // namespace ui::win32
