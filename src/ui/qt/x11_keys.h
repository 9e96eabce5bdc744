#pragma once

#include <memory>

#include "ui/qt/system_keys.h"

namespace ui::qt {

// A key grab on the X root window, and typing through the XTEST extension; none when
// the program has no X connection or the server lacks XTEST.
std::unique_ptr<SystemKeys> makeX11Keys();

}  // namespace ui::qt
