#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "clock/epoch_clock.h"

namespace epochclock {

// One % field of a format: its letter, what it stands for, and what it gives for
// 2000-03-12 18:54:10 UTC (empty where that depends on the zone).
struct FormatField {
  char letter;
  std::string_view meaning;
  std::string_view example;
  // Empty when the moment has no such text (a local moment outside the years 100 to 9999).
  std::optional<std::string> (*text)(const MomentTexts& texts, std::int64_t unixSeconds);
};

// Every field a format may hold, in the order the help lists them.
std::span<const FormatField> formatFields();

// Empty when the format is sound, otherwise what is wrong with it: a lone % at the
// end, or a % before a letter that is no field.
std::optional<std::string> formatError(std::string_view format);

// The line a sound format makes of a moment in Unix seconds of the years 100 to 9999.
// Empty when it asks for the local moment and that leaves those years. The local
// moment is the system zone's, or the moment plus `localOffset` seconds when given
// (the clock window's own offset).
std::optional<std::string> formatLine(std::string_view format, std::int64_t unixSeconds,
                                      std::optional<double> localOffset = std::nullopt);

}  // namespace epochclock
