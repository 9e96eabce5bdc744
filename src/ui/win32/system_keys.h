#pragma once

#include <windows.h>

#include "ui/global_key.h"

namespace ui::win32 {

// The time stamp's system-wide key (RegisterHotKey, reported to the window as
// WM_HOTKEY) and its typing (SendInput of the characters themselves).
class SystemKeys final : public GlobalKey, public Typist {
 public:
  static constexpr int kHotKeyId = 1;

  void attach(HWND window) { window_ = window; }
  Grab grab(const KeyChord& chord) override;
  void release() override;
  std::string_view superWord() const override { return "Win"; }
  void type(std::string_view text) override;

 private:
  HWND window_ = nullptr;
  bool held_ = false;
};

}  // namespace ui::win32
