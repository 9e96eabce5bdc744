#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numerics {

// The value of a hexadecimal text as the calculator writes them, in either case, with
// blanks around the sign and the suffix word: positional ("+ 15180.0", "-FF.8", "FF")
// or scientific ("+ 1.518 posi-4", "4.189 nega-3"). Exact where a double holds it,
// otherwise the nearest double; a value too small for a double reads 0. Empty when the
// text is no such number or the value lies beyond the double range; `why` says which.
std::optional<double> readHexText(std::string_view text, std::string& why);

}  // namespace numerics
