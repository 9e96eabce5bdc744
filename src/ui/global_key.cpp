#include "ui/global_key.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

bool isKeyName(const std::string& name) {
  if (name.size() == 1) return std::isalnum(static_cast<unsigned char>(name[0])) != 0;
  if (name.size() < 2 || name.size() > 3 || name[0] != 'F' || name[1] == '0') return false;
  if (!std::all_of(name.begin() + 1, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return false;
  }
  return std::stoi(name.substr(1)) <= 24;
}

}  // namespace

std::optional<KeyChord> readKeyChord(std::string_view text) {
  KeyChord chord;
  while (true) {
    const auto plus = text.find('+');
    const std::string part = upper(text.substr(0, plus));
    if (plus == std::string_view::npos) {
      if (!isKeyName(part) || !(chord.control || chord.super || chord.alt)) return std::nullopt;
      chord.key = part;
      return chord;
    }
    bool* modifier = part == "CTRL" || part == "CONTROL" ? &chord.control
                     : part == "SHIFT"                    ? &chord.shift
                     : part == "SUPER" || part == "WIN"   ? &chord.super
                     : part == "ALT"                      ? &chord.alt
                                                          : nullptr;
    if (!modifier || *modifier) return std::nullopt;
    *modifier = true;
    text.remove_prefix(plus + 1);
  }
}

std::string keyChordText(const KeyChord& chord, std::string_view superWord) {
  std::string text;
  if (chord.control) text += "Ctrl+";
  if (chord.shift) text += "Shift+";
  if (chord.super) (text += superWord) += '+';
  if (chord.alt) text += "Alt+";
  return text + chord.key;
}

}  // namespace ui
