// libFuzzer target: arbitrary bytes into the readers of StarDates and of hexadecimal texts.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "clock/epoch_clock.h"
#include "clock/star_date_reading.h"
#include "numerics/hex_reading.h"
#include "runtime/moment_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why;
  if (const auto starsecs = epochclock::readStarDate(text, why)) {
    if (!why.empty() || !runtime::inUnixRange(epochclock::unixSecondsOf(*starsecs))) std::abort();
    if (epochclock::readStarDate(epochclock::starDateText(*starsecs), why) != starsecs) std::abort();
  } else if (why.empty()) {
    std::abort();
  }
  why.clear();
  const auto value = numerics::readHexText(text, why);
  if (value.has_value() == !why.empty() || (value && !std::isfinite(*value))) std::abort();
  return 0;
}
