#pragma once

#include <string>

#include "ui/tray.h"

namespace ui::win32 {

// A shortcut to the program in the user's Startup folder, working in the folder the
// clock runs in now: where its setting is.
class StartupShortcut : public LoginStart {
 public:
  bool present() const override;
  std::string set(bool present) override;
};

}  // namespace ui::win32
