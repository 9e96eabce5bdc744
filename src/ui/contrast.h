#pragma once

#include <cstdint>

namespace ui {

// How well two colours (0xRRGGBB) read against each other, from 1 (not at all) to 21,
// as the web's accessibility guidelines measure it.
double contrastRatio(std::uint32_t first, std::uint32_t second);

// The least contrast at which ordinary text stays readable.
inline constexpr double kReadableContrast = 4.5;

}  // namespace ui
