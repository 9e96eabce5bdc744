#include "ui/qt/autostart.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "autostart_entry.h"

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
  return std::filesystem::is_regular_file(file_, error);
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
