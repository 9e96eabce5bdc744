#pragma once

namespace ui::qt {

// What a screen reader needs beyond the toolkit's defaults: both windows are frames,
// and the calculator's read-only result box is not also reported as editable.
// Installed once, before the first window is made.
void installAccessibility();

}  // namespace ui::qt
