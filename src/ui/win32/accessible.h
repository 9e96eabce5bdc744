#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {

// The answer to a control's WM_GETOBJECT: for its client object, the system's own
// accessible object (value, state, place, actions) with the design's role, and with the
// design's name and description in place of the system's where the design gives them (an
// empty one leaves the system's: a label's text, a button's caption). Other objects, and
// failures, answer 0: the system's.
LRESULT answerGetObject(HWND control, WPARAM flags, LPARAM object, long role, std::wstring name,
                        std::wstring description);

}  // namespace ui::win32
