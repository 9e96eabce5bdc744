#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A key that reaches the clock wherever the user types, and the typing of a stamp into
// the window that has the focus: what the clock needs of a platform for them.
namespace ui {

// A key with the modifiers held for it. `key` is an upper-case letter, a digit, or F1 to F24.
struct KeyChord {
  bool control = false, shift = false, super = false, alt = false;
  std::string key;

  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// "Super+Alt+T", "ctrl+shift+F5", "Win+Alt+T": any case, the modifiers in any order. A
// chord needs a modifier other than Shift: a bare key would be taken from every program.
std::optional<KeyChord> readKeyChord(std::string_view text);
// "Super+Alt+T", with the platform's word for the Super key.
std::string keyChordText(const KeyChord& chord, std::string_view superWord = "Super");

class GlobalKey {
 public:
  enum class Grab { Held, Taken, Unsupported };
  // Takes the chord for this program, in place of the one it held; Taken when another
  // program holds it, Unsupported where the system lets no program take one.
  virtual Grab grab(const KeyChord& chord) = 0;
  virtual void release() = 0;
  // What the platform calls the Super key on its keyboards.
  virtual std::string_view superWord() const { return "Super"; }
  // The system that lets no program take a key, as its users know it.
  virtual std::string_view systemName() const { return "This desktop"; }

  // Run when the chord is pressed, wherever the focus is.
  std::function<void()> pressed;

 protected:
  ~GlobalKey() = default;
};

// Types text into the focused window as if the user typed it, whatever modifiers the
// user still holds, and without the clipboard.
class Typist {
 public:
  virtual void type(std::string_view text) = 0;

 protected:
  ~Typist() = default;
};

}  // namespace ui
