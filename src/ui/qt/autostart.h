#pragma once

#include <filesystem>
#include <string>

#include "ui/tray.h"

namespace ui::qt {

// The XDG autostart entry, $XDG_CONFIG_HOME/autostart/org.vantrel.selenial.desktop: the
// applications menu's own entry, so that the clock starts in the same folder.
class XdgAutostart : public LoginStart {
 public:
  // The entry's file under the user's configuration folder (none: the environment's).
  explicit XdgAutostart(std::filesystem::path configHome = {});

  bool present() const override;
  std::string set(bool present) override;

  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace ui::qt
