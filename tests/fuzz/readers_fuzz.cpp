// libFuzzer target: arbitrary bytes into the stardate command's readers of moments,
// StarDates and hexadecimal texts; what they accept they write and read back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/format.h"
#include "clock/epoch_clock.h"
#include "clock/star_date_reading.h"
#include "numerics/hex_reading.h"
#include "runtime/moment_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why, again;
  const auto moment = runtime::readMoment(text, why);
  if (moment.has_value() == !why.empty()) std::abort();
  if (moment && (runtime::readMoment(runtime::isoText(*moment), again) != moment ||
                 !cli::formatLine("%S %C %s %u %l %i %%", *moment))) {
    std::abort();
  }
  why.clear();
  const auto starsecs = epochclock::readStarDate(text, why);
  if (starsecs.has_value() == !why.empty()) std::abort();
  if (starsecs && (!runtime::inUnixRange(epochclock::unixSecondsOf(*starsecs)) ||
                   epochclock::readStarDate(epochclock::starDateText(*starsecs), again) != starsecs)) {
    std::abort();
  }
  why.clear();
  const auto value = numerics::readHexText(text, why);
  if (value.has_value() == !why.empty() || (value && !std::isfinite(*value))) std::abort();
  return 0;
}
