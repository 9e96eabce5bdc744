#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace epochclock {

// Empty when the format is sound, otherwise what is wrong with it. Fields: %S the
// StarDate as the clock shows it, %C the same without blanks, %s the seconds since the
// epoch, %u the UTC moment and %l the local one in the clock's pattern, %i the UTC
// moment in ISO 8601, %% a percent sign.
std::optional<std::string> formatError(std::string_view format);

// The line a sound format makes of a moment in Unix seconds of the years 100 to 9999.
// Empty when it asks for the local moment and that leaves those years. The local
// moment is the system zone's, or the moment plus `localOffset` seconds when given
// (the clock window's own offset).
std::optional<std::string> formatLine(std::string_view format, std::int64_t unixSeconds,
                                      std::optional<double> localOffset = std::nullopt);

}  // namespace epochclock
