#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

// How well two colours (0xRRGGBB) read against each other, from 1 (not at all) to 21,
// as the web's accessibility guidelines measure it.
double contrastRatio(std::uint32_t first, std::uint32_t second);

// The least contrast at which ordinary text stays readable.
inline constexpr double kReadableContrast = 4.5;

// The colour of a focus ring on a background: black or white, whichever stands out more
// (at least 4.5 to 1 on any background).
std::uint32_t focusRing(std::uint32_t background);

// Whether a Linux desktop asks for high contrast: the accessibility setting
// (`gsettings get org.gnome.desktop.a11y.interface high-contrast`, "true" or "false"), or
// a high-contrast GTK theme, named by the GTK_THEME variable ("HighContrast",
// "HighContrastInverse:dark"), which wins, or else by the desktop's setting (`gsettings get
// org.gnome.desktop.interface gtk-theme`, quoted: "'HighContrast'"). Empty: not given.
bool highContrastAsked(std::string_view highContrastSetting, std::string_view themeVariable,
                       std::string_view themeSetting);

}  // namespace ui
