#include "clock/star_date_reading.h"

#include "clock/epoch_clock.h"
#include "runtime/moment_reading.h"

namespace epochclock {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::int64_t> readStarDate(std::string_view text, std::string& why) {
  // The C locale's blanks, wherever they stand: a StarDate copied from a table may
  // bring tabs, from a file a line end.
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  std::string compact;
  for (const char c : text) {
    if (kBlanks.find(c) == std::string_view::npos) compact += c;
  }
  std::string_view rest = compact;
  const bool negative = !rest.empty() && rest.front() == '-';
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  const std::size_t point = rest.find('.');
  const auto allHex = [](std::string_view digits) {
    for (const char c : digits) {
      if (hexDigit(c) < 0) return false;
    }
    return !digits.empty();
  };
  if (point == std::string_view::npos || !allHex(rest.substr(0, point)) || !allHex(rest.substr(point + 1))) {
    why = "not a StarDate (hexadecimal digits, a point, four digits: +39A4.51EB)";
    return std::nullopt;
  }
  if (rest.size() - point - 1 != 4) {
    why = "has " + std::to_string(rest.size() - point - 1) + " digits after the point, not four";
    return std::nullopt;
  }
  // Twelve significant digits reach far beyond the years 100 to 9999, and fit a count.
  std::int64_t magnitude = 0;
  int significant = 0;
  for (const char c : rest) {
    if (c == '.') continue;
    if (significant > 0 || c != '0') ++significant;
    if (significant > 12) break;
    magnitude = magnitude * 16 + hexDigit(c);
  }
  const std::int64_t starsecs = negative ? -magnitude : magnitude;
  if (significant > 12 || !runtime::inUnixRange(unixSecondsOf(starsecs))) {
    why = "lies outside the years 100 to 9999";
    return std::nullopt;
  }
  return starsecs;
}

}  // namespace epochclock
