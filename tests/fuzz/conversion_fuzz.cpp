// libFuzzer target: arbitrary bytes into the leading value and the conversion.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "numerics/conversion.h"
#include "runtime/number_text.h"

namespace {

bool onlyAllowed(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto value = runtime::leadingValueInRange(text); value && !std::isfinite(*value)) std::abort();
  if (const auto strict = runtime::strictValue(text); strict && !std::isfinite(*strict)) std::abort();
  if (const auto result = numerics::DeciConvert(text)) {
    const std::string_view digits = "+- .0123456789ABCDEF";
    if (!onlyAllowed(result->positional, digits)) std::abort();
    if (!onlyAllowed(result->scientific, "+- .0123456789ABCDEFposinega")) std::abort();
    if (result->positional.find('.') == std::string_view::npos) std::abort();
    const bool posi = result->scientific.find(" posi-") != std::string::npos;
    const bool nega = result->scientific.find(" nega-") != std::string::npos;
    if (posi == nega) std::abort();
  }
  // Texts that are missing, or of less than the whole text, never go without a note.
  if (runtime::leadingValueLength(text) > text.size()) std::abort();
  if (const numerics::Reading reading = numerics::DeciRead(text); !reading.texts && reading.note.empty()) std::abort();
  return 0;
}
