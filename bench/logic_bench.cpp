#include <benchmark/benchmark.h>

#include <charconv>
#include <string>

#include "clock/epoch_clock.h"
#include "numerics/conversion.h"

namespace {

const runtime::DateTimeSerial kNow = 46363.5;  // 2026-12-07 12:00

void BM_SampleAndStarDate(benchmark::State& state) {
  double offset = 3600.0 / 86400.0;
  for (auto _ : state) {
    const auto sample = epochclock::sample(kNow, offset);
    std::string text = epochclock::starDateText(sample->starsecs);
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(offset);
  }
}
BENCHMARK(BM_SampleAndStarDate);

void BM_RefreshTexts(benchmark::State& state) {
  for (auto _ : state) {
    const auto sample = epochclock::sample(kNow, 0);
    epochclock::MomentTexts texts = epochclock::momentTexts(*sample);
    benchmark::DoNotOptimize(texts);
  }
}
BENCHMARK(BM_RefreshTexts);

std::string input(int which) {
  switch (which) {
    case 0: return "86400";
    case 1: return "3.14159";
    case 2: return "0.001";
    case 3: return "12345678901234567890";
    case 4: return std::string(numerics::kMaxInput, '7');          // beyond the double range
    default: return "0." + std::string(numerics::kMaxInput - 2, '3');  // the longest text in range
  }
}

void BM_DeciConvert(benchmark::State& state) {
  const std::string text = input(static_cast<int>(state.range(0)));
  state.SetLabel(text.size() > 24 ? std::to_string(text.size()) + " chars" : text);
  for (auto _ : state) {
    auto result = numerics::DeciConvert(text);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_DeciConvert)->DenseRange(0, 5);

// Baseline: the standard library reading the same text and writing its double in hex.
void BM_BaselineFromCharsToCharsHex(benchmark::State& state) {
  const std::string text = input(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    char out[64];
    auto end = std::to_chars(out, out + sizeof out, value, std::chars_format::hex).ptr;
    benchmark::DoNotOptimize(end);
  }
}
BENCHMARK(BM_BaselineFromCharsToCharsHex)->DenseRange(0, 5);

}  // namespace
