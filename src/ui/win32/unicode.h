#pragma once

#include <string>
#include <string_view>

// The handlers speak UTF-8; Windows speaks UTF-16.
namespace ui::win32 {

std::wstring wide(std::string_view text);
std::string utf8(std::wstring_view text);

}  // namespace ui::win32
