#include "ui/win32/system_keys.h"

#include <vector>

#include "runtime/unicode.h"

namespace ui::win32 {

namespace {

// Older mingw headers lack it.
constexpr UINT kNoRepeat = 0x4000;
// A key no keyboard has: pressed between the Win key's down and up, it keeps that up
// from opening the Start menu.
constexpr WORD kNoKey = 0xFF;

INPUT key(WORD virtualKey, WORD character, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = character;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

GlobalKey::Grab SystemKeys::grab(const KeyChord& chord) {
  release();
  UINT modifiers = kNoRepeat;
  if (chord.control) modifiers |= MOD_CONTROL;
  if (chord.shift) modifiers |= MOD_SHIFT;
  if (chord.super) modifiers |= MOD_WIN;
  if (chord.alt) modifiers |= MOD_ALT;
  const UINT virtualKey = chord.key.size() == 1 ? static_cast<UINT>(chord.key[0])
                                                : VK_F1 + static_cast<UINT>(std::stoi(chord.key.substr(1)) - 1);
  if (!RegisterHotKey(window_, kHotKeyId, modifiers, virtualKey)) return Grab::Taken;
  held_ = true;
  return Grab::Held;
}

void SystemKeys::release() {
  if (held_) UnregisterHotKey(window_, kHotKeyId);
  held_ = false;
}

void SystemKeys::type(std::string_view text) {
  std::vector<INPUT> inputs;
  // The chord's modifiers may still be held: up they go first, or the stamp would
  // arrive as shortcuts.
  bool held = false;
  for (const WORD modifier : {VK_LWIN, VK_RWIN, VK_LMENU, VK_RMENU, VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT}) {
    if (GetAsyncKeyState(modifier) >= 0) continue;
    if (!held) {
      inputs.push_back(key(kNoKey, 0, 0));
      inputs.push_back(key(kNoKey, 0, KEYEVENTF_KEYUP));
      held = true;
    }
    inputs.push_back(key(modifier, 0, KEYEVENTF_KEYUP));
  }
  for (const wchar_t unit : runtime::wide(text)) {
    if (unit == L'\n') {
      inputs.push_back(key(VK_RETURN, 0, 0));
      inputs.push_back(key(VK_RETURN, 0, KEYEVENTF_KEYUP));
      continue;
    }
    inputs.push_back(key(0, unit, KEYEVENTF_UNICODE));
    inputs.push_back(key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace ui::win32
