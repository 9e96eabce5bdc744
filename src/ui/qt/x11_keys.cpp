#include "ui/qt/x11_keys.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace ui::qt {

namespace {

// Keysyms the key grab and the typing need.
constexpr xcb_keysym_t kShiftL = 0xffe1, kCapsLock = 0xffe5, kNumLock = 0xff7f, kAltL = 0xffe9, kSuperL = 0xffeb, kReturn = 0xff0d,
                       kTab = 0xff09, kF1 = 0xffbe;

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply>
Owned<Reply> own(Reply* reply) {
  return {reply, &std::free};
}

// The server's keyboard: the keysyms of each keycode, and its modifier map.
class Keyboard {
 public:
  explicit Keyboard(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    min_ = setup->min_keycode;
    max_ = setup->max_keycode;
    const auto mapping = own(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, min_, static_cast<std::uint8_t>(max_ - min_ + 1)), nullptr));
    if (mapping) {
      perCode_ = mapping->keysyms_per_keycode;
      const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
      syms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
    }
    const auto modifiers = own(xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (modifiers) {
      perModifier_ = modifiers->keycodes_per_modifier;
      const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
      modifierCodes_.assign(codes, codes + 8 * perModifier_);
    }
  }

  xcb_keysym_t symOf(xcb_keycode_t code, int level) const {
    const std::size_t at = static_cast<std::size_t>(code - min_) * perCode_ + static_cast<std::size_t>(level);
    return level < perCode_ && at < syms_.size() ? syms_[at] : 0;
  }
  // The keycode and level (0 plain, 1 with Shift) that give a keysym; keycode 0: none.
  std::pair<xcb_keycode_t, int> find(xcb_keysym_t sym) const {
    for (int level = 0; level < 2; ++level) {
      for (int code = min_; code <= max_; ++code) {
        if (symOf(static_cast<xcb_keycode_t>(code), level) == sym) return {static_cast<xcb_keycode_t>(code), level};
      }
    }
    return {0, 0};
  }
  // The mask of the modifier one of whose keys gives the keysym; `fallback` when none.
  std::uint16_t maskOf(xcb_keysym_t sym, std::uint16_t fallback) const {
    for (std::size_t i = 0; i < modifierCodes_.size(); ++i) {
      const xcb_keycode_t code = modifierCodes_[i];
      if (code && (symOf(code, 0) == sym || symOf(code, 1) == sym)) {
        return static_cast<std::uint16_t>(1u << (i / perModifier_));
      }
    }
    return fallback;
  }
  // Keycodes with no keysym at all, for characters the keyboard lacks.
  std::vector<xcb_keycode_t> spareCodes() const {
    std::vector<xcb_keycode_t> spare;
    for (int code = max_; code >= min_ && perCode_ > 0; --code) {
      bool empty = true;
      for (int level = 0; level < perCode_; ++level) empty = empty && symOf(static_cast<xcb_keycode_t>(code), level) == 0;
      if (empty) spare.push_back(static_cast<xcb_keycode_t>(code));
    }
    return spare;
  }
  std::uint8_t perCode() const { return static_cast<std::uint8_t>(perCode_); }

 private:
  int min_ = 8, max_ = 255, perCode_ = 0, perModifier_ = 0;
  std::vector<xcb_keysym_t> syms_;
  std::vector<xcb_keycode_t> modifierCodes_;
};

xcb_keysym_t keysymOfKey(const std::string& key) {
  if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') return static_cast<xcb_keysym_t>(key[0] - 'A' + 'a');
  if (key.size() == 1) return static_cast<xcb_keysym_t>(key[0]);
  return kF1 + static_cast<xcb_keysym_t>(std::stoi(key.substr(1)) - 1);
}

xcb_keysym_t keysymOfCharacter(char32_t c) {
  if (c == U'\n') return kReturn;
  if (c == U'\t') return kTab;
  if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return c;
  return 0x01000000 | c;
}

// UTF-8 to code points; a broken sequence gives U+FFFD.
std::u32string codePoints(std::string_view text) {
  std::u32string points;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
      points += U'\uFFFD';
      ++i;
      continue;
    }
    char32_t c = length == 1 ? lead : lead & (0x7f >> length);
    for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    points += c;
    i += static_cast<std::size_t>(length);
  }
  return points;
}

class X11Keys final : public SystemKeys, public QAbstractNativeEventFilter {
 public:
  X11Keys(xcb_connection_t* c, xcb_window_t root) : c_(c), root_(root) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~X11Keys() override {
    release();
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  Grab grab(const KeyChord& chord) override {
    release();
    const Keyboard keyboard(c_);
    const xcb_keycode_t code = keyboard.find(keysymOfKey(chord.key)).first;
    if (!code) return Grab::Taken;
    std::uint16_t mods = 0;
    if (chord.control) mods |= XCB_MOD_MASK_CONTROL;
    if (chord.shift) mods |= XCB_MOD_MASK_SHIFT;
    if (chord.alt) mods |= keyboard.maskOf(kAltL, XCB_MOD_MASK_1);
    if (chord.super) mods |= keyboard.maskOf(kSuperL, XCB_MOD_MASK_4);
    numLock_ = keyboard.maskOf(kNumLock, XCB_MOD_MASK_2);
    // The key is the user's whatever the locks' state: one grab for each.
    for (const std::uint16_t locks : {0, int{XCB_MOD_MASK_LOCK}, int{numLock_}, XCB_MOD_MASK_LOCK | numLock_}) {
      const xcb_void_cookie_t cookie = xcb_grab_key_checked(c_, 1, root_, static_cast<std::uint16_t>(mods | locks),
                                                            code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
      if (auto error = own(xcb_request_check(c_, cookie))) {
        // Another client holds the key (BadAccess): leave nothing half taken.
        keycode_ = code;
        modifiers_ = mods;
        release();
        return Grab::Taken;
      }
    }
    keycode_ = code;
    modifiers_ = mods;
    return Grab::Held;
  }

  void release() override {
    if (!keycode_) return;
    for (const std::uint16_t locks : {0, int{XCB_MOD_MASK_LOCK}, int{numLock_}, XCB_MOD_MASK_LOCK | numLock_}) {
      xcb_ungrab_key(c_, keycode_, root_, static_cast<std::uint16_t>(modifiers_ | locks));
    }
    xcb_flush(c_);
    keycode_ = 0;
  }

  void type(std::string_view text) override {
    const Keyboard keyboard(c_);
    // The chord may still be held: up go its modifiers, or the stamp would arrive as
    // shortcuts, and its key, which would not go down again for a letter of the stamp.
    if (const auto keys = own(xcb_query_keymap_reply(c_, xcb_query_keymap(c_), nullptr))) {
      for (int code = 8; code < 256; ++code) {
        if (keys->keys[code / 8] >> (code % 8) & 1) fake(XCB_KEY_RELEASE, static_cast<xcb_keycode_t>(code));
      }
    }
    const xcb_keycode_t shift = keyboard.find(kShiftL).first;
    // Caps Lock would turn the stamp's letters (and, as keyboards differ, Shift with
    // it): off while typing, and on again after.
    const auto pointer = own(xcb_query_pointer_reply(c_, xcb_query_pointer(c_, root_), nullptr));
    const xcb_keycode_t capsLock =
        pointer && (pointer->mask & XCB_MOD_MASK_LOCK) ? keyboard.find(kCapsLock).first : xcb_keycode_t{0};
    if (capsLock) {
      fake(XCB_KEY_PRESS, capsLock);
      fake(XCB_KEY_RELEASE, capsLock);
    }
    std::vector<xcb_keycode_t> spare = keyboard.spareCodes();
    std::vector<xcb_keycode_t> borrowed;
    for (const char32_t c : codePoints(text)) {
      const xcb_keysym_t sym = keysymOfCharacter(c);
      auto [code, level] = keyboard.find(sym);
      if (!code) {
        // Not on the keyboard: a spare keycode gives it for a while.
        if (spare.empty() || keyboard.perCode() == 0) continue;
        code = spare.back();
        spare.pop_back();
        std::vector<xcb_keysym_t> syms(keyboard.perCode(), sym);
        xcb_change_keyboard_mapping(c_, 1, code, keyboard.perCode(), syms.data());
        borrowed.push_back(code);
        level = 0;
        sync();
      }
      if (level == 1 && shift) fake(XCB_KEY_PRESS, shift);
      fake(XCB_KEY_PRESS, code);
      fake(XCB_KEY_RELEASE, code);
      if (level == 1 && shift) fake(XCB_KEY_RELEASE, shift);
    }
    if (capsLock) {
      fake(XCB_KEY_PRESS, capsLock);
      fake(XCB_KEY_RELEASE, capsLock);
    }
    xcb_flush(c_);
    if (borrowed.empty()) return;
    // Clients look up a key's keysym when they handle it: give them time before the
    // spare keycodes are emptied again.
    QTimer::singleShot(1000, [c = c_, borrowed, per = keyboard.perCode()] {
      const std::vector<xcb_keysym_t> none(per, 0);
      for (const xcb_keycode_t code : borrowed) xcb_change_keyboard_mapping(c, 1, code, per, none.data());
      xcb_flush(c);
    });
  }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) override {
    if (eventType != "xcb_generic_event_t" || !keycode_) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const std::uint16_t ignored = XCB_MOD_MASK_LOCK | numLock_;
    if (key->event != root_ || key->detail != keycode_ || (key->state & 0xff & ~ignored) != modifiers_) return false;
    if (type == XCB_KEY_PRESS) {
      // The grab holds the whole keyboard until the key goes up: let go of it now, so
      // what is typed reaches the focused window.
      xcb_ungrab_keyboard(c_, key->time);
      xcb_flush(c_);
      if (pressed) pressed();
    }
    return true;
  }

 private:
  void fake(std::uint8_t type, xcb_keycode_t code) {
    xcb_test_fake_input(c_, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  }
  void sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

  xcb_connection_t* c_;
  xcb_window_t root_;
  xcb_keycode_t keycode_ = 0;
  std::uint16_t modifiers_ = 0;
  std::uint16_t numLock_ = XCB_MOD_MASK_2;
};

}  // namespace

std::unique_ptr<SystemKeys> makeX11Keys() {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return nullptr;
  const auto version = own(xcb_test_get_version_reply(c, xcb_test_get_version(c, 2, 2), nullptr));
  if (!version) return nullptr;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  return std::make_unique<X11Keys>(c, screen->root);
}

}  // namespace ui::qt
