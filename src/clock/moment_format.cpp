#include "clock/moment_format.h"

#include "clock/epoch_clock.h"
#include "runtime/moment_reading.h"

namespace epochclock {

namespace {

constexpr std::string_view kFields = "SCsuli%";

}  // namespace

std::optional<std::string> formatError(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 == format.size()) return "ends in a lone %";
    if (kFields.find(format[i + 1]) == std::string_view::npos) {
      std::string why = "has no field %";
      why += format[i + 1];
      why += " (%S %C %s %u %l %i %%)";
      return why;
    }
    ++i;
  }
  return std::nullopt;
}

std::optional<std::string> formatLine(std::string_view format, std::int64_t unixSeconds) {
  const MomentTexts texts =
      momentTexts({runtime::localMoment(unixSeconds), runtime::utcSerial(unixSeconds), starSecondsOf(unixSeconds)});
  std::string line;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      line += format[i];
      continue;
    }
    switch (format[++i]) {
      case 'S':
        line += texts.starDate;
        break;
      case 'C':
        for (const char c : texts.starDate) {
          if (c != ' ') line += c;
        }
        break;
      case 's':
        line += texts.seconds;
        break;
      case 'u':
        line += texts.utc;
        break;
      case 'l':
        if (texts.local.empty()) return std::nullopt;
        line += texts.local;
        break;
      case 'i':
        line += runtime::isoText(unixSeconds);
        break;
      default:
        line += format[i];
    }
  }
  return line;
}

}  // namespace epochclock
