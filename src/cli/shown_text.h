#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

// A user's text as a message may show it: what a terminal would act on (C0 and C1
// controls, DEL, bytes that are no UTF-8) escaped as \x1b, \u009b, \xff; other
// characters, "Zürich" too, as they are. At most `limit` characters of the text, and
// "..." after them when it holds more. Text already shown comes back unchanged.
std::string shownText(std::string_view text, std::size_t limit);

}  // namespace cli
