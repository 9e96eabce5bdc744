#pragma once

#include <string>
#include <string_view>

// The program speaks UTF-8; Windows speaks UTF-16. Windows only.
namespace runtime {

std::wstring wide(std::string_view text);
std::string utf8(std::wstring_view text);

}  // namespace runtime
