#include "ui/qt/autostart.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "autostart_entry.h"
#include "settings/offset_setting.h"

namespace ui::qt {

namespace {

std::filesystem::path configHome() {
  // XDG's base directories ignore a relative value.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".config";
}

}  // namespace

XdgAutostart::XdgAutostart(std::filesystem::path home)
    : file_((home.empty() ? configHome() : home) / "autostart" / kDesktopEntryName) {}

bool XdgAutostart::present() const {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file_, error)) return false;
  // The desktop's own session settings turn an entry off by marking it, not by removing it.
  std::ifstream in(file_, std::ios::binary);
  bool inEntry = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const auto equals = line.find('=');
    if (!inEntry || equals == std::string::npos) continue;
    const std::string_view key = settings::trimmed(std::string_view(line).substr(0, equals));
    const std::string_view value = settings::trimmed(std::string_view(line).substr(equals + 1));
    if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false")) return false;
  }
  return true;
}

std::string XdgAutostart::set(bool present) {
  std::error_code error;
  if (!present) {
    std::filesystem::remove(file_, error);
    return error ? file_.string() + ": " + error.message() : std::string{};
  }
  std::filesystem::create_directories(file_.parent_path(), error);
  if (error) return file_.parent_path().string() + ": " + error.message();
  // Written beside it and renamed: a session starting meanwhile reads a whole entry or none.
  const std::filesystem::path part = file_.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << kDesktopEntry;
    if (!out.flush()) return part.string() + ": cannot be written";
  }
  std::filesystem::rename(part, file_, error);
  if (error) {
    std::filesystem::remove(part);
    return file_.string() + ": " + error.message();
  }
  return {};
}

}  // namespace ui::qt
