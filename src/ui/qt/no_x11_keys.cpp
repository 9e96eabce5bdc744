#include "ui/qt/x11_keys.h"

namespace ui::qt {

// Built without the xcb libraries: no system-wide key.
std::unique_ptr<SystemKeys> makeX11Keys() { return nullptr; }

}  // namespace ui::qt
