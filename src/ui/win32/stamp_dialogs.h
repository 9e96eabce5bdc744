#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/global_key.h"

namespace ui::win32 {

// A line of text asked for in a small modal dialog; none when cancelled.
std::optional<std::string> askText(HWND owner, std::string_view title, std::string_view prompt, std::string_view text);
// A chord of modifiers and a key, pressed in a small modal dialog; none when cancelled.
std::optional<KeyChord> askKeyChord(HWND owner, std::string_view title, std::string_view prompt);

}  // namespace ui::win32
