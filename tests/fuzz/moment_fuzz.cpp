// libFuzzer target: arbitrary bytes into the reader of moments, with the format's fields.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/format.h"
#include "runtime/moment_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why;
  const auto moment = runtime::readMoment(text, why);
  if (moment.has_value() == !why.empty()) std::abort();
  if (!moment) return 0;
  if (!runtime::inUnixRange(*moment)) std::abort();
  // What it reads, it writes, and reads back.
  std::string again;
  if (runtime::readMoment(runtime::isoText(*moment), again) != moment) std::abort();
  if (!cli::formatLine("%S %C %s %u %l %i %%", *moment)) std::abort();
  return 0;
}
