#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace epochclock {

// The count of a StarDate text: " + 39A4.51EB", "+39A4.51EB", "39A4.51EB", "-0.0001";
// blanks (space, \t, \n, \v, \f, \r) anywhere, either case, exactly four digits after
// the point. Only counts of the years 100 to 9999. When empty, `why` says what is wrong.
std::optional<std::int64_t> readStarDate(std::string_view text, std::string& why);

}  // namespace epochclock
