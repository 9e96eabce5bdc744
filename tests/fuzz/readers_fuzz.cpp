// libFuzzer target: arbitrary bytes into the stardate command's readers of moments,
// StarDates and hexadecimal texts; what they accept they write and read back, a
// StarDate as it was written.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "clock/moment_format.h"
#include "clock/epoch_clock.h"
#include "clock/star_date_reading.h"
#include "numerics/hex_reading.h"
#include "runtime/moment_reading.h"

namespace {

// A StarDate as one spelling: no blanks, upper case, no "+", no leading zeros, no "-0".
std::string plain(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ' && c != '+') out += static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
  }
  const std::size_t digits = out.starts_with('-') ? 1 : 0;
  while (out.size() > digits + 1 && out[digits] == '0' && out[digits + 1] != '.') out.erase(digits, 1);
  return out == "-0.0000" ? "0.0000" : out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why, again;
  const auto moment = runtime::readMoment(text, why);
  if (moment.has_value() == !why.empty()) std::abort();
  if (moment && (runtime::readMoment(runtime::isoText(*moment), again) != moment ||
                 !epochclock::formatLine("%S %C %s %u %l %i %%", *moment))) {
    std::abort();
  }
  why.clear();
  const auto starsecs = epochclock::readStarDate(text, why);
  if (starsecs.has_value() == !why.empty()) std::abort();
  if (starsecs && (!runtime::inUnixRange(epochclock::unixSecondsOf(*starsecs)) ||
                   plain(epochclock::starDateText(*starsecs)) != plain(text))) {
    std::abort();
  }
  why.clear();
  const auto value = numerics::readHexText(text, why);
  if (value.has_value() == !why.empty() || (value && !std::isfinite(*value))) std::abort();
  return 0;
}
