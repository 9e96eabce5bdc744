#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "ui/window_design.h"

namespace ui::win32 {

// The window's menu bar with its sub-menus; entry e has the command id firstId + e.
HMENU makeMenu(const WindowDesign& design, int firstId);

// Shows those entries of the window's menu at the pointer and waits for a choice.
std::optional<int> popUpMenu(HWND window, const std::vector<int>& entries, int firstId);

}  // namespace ui::win32
