#include "clock/epoch_clock.h"

namespace epochclock {

double offsetToDays(double seconds) { return seconds / static_cast<double>(runtime::kSecondsPerDay); }

std::optional<Sample> sample(runtime::DateTimeSerial Tnow, double TZdays) {
  const auto Tutc = runtime::momentMinusDays(Tnow, TZdays);
  if (!Tutc) return std::nullopt;
  return Sample{Tnow, *Tutc, runtime::secondsBetween(epoch(), *Tutc)};
}

std::string starDateText(std::int64_t starsecs) {
  const bool negative = starsecs < 0;
  // Unsigned, so that the most negative count keeps its magnitude.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(starsecs) : static_cast<std::uint64_t>(starsecs);
  std::string digits = runtime::hexText(magnitude);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), ' ');
  digits.insert(digits.size() - 4, 1, '.');
  return (negative ? " - " : " + ") + digits;
}

MomentTexts momentTexts(const Sample& sample) {
  return {starDateText(sample.starsecs), std::to_string(sample.starsecs), runtime::momentText(sample.Tutc),
          runtime::inDateRange(sample.Tnow) ? runtime::momentText(sample.Tnow) : std::string()};
}

}  // namespace epochclock
