#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/offset_file.h"

namespace settings {

// Beside the offset file, in the working directory: one key=value a line.
inline constexpr std::string_view kPreferencesFile = "Selenial.conf";

// The preferences as their file holds them. Every line is kept as it was read, those
// this version does not know too, so that a newer version's keys and the user's
// comments survive a save; a change rewrites only its own line.
class Preferences {
 public:
  // Lines that are blank or start with '#' are comments. A line without '=' or with
  // nothing before it is kept but read as nothing; its number goes to `unreadable`.
  static Preferences parse(std::string_view text, std::vector<int>* unreadable = nullptr);

  // The value of the key's last line: everything after its first '=', blanks included.
  std::optional<std::string> get(std::string_view key) const;
  // Rewrites the key's last line, or adds one at the end.
  void set(std::string_view key, std::string_view value);
  void erase(std::string_view key);
  // The file's text, in the line ending it was read with.
  std::string serialize() const;

 private:
  struct Line {
    std::string text;
    std::string key;  // empty: a comment, or a line that could not be read
  };
  std::vector<Line>::const_iterator find(std::string_view key) const;

  std::vector<Line> lines_;
  std::string newline_ = "\n";
};

struct LoadedPreferences {
  Preferences preferences;
  // One line each: the file that could not be read, or a line that could not be.
  std::vector<std::string> problems;
};
// A missing or unreadable file gives no preferences, so every default applies.
LoadedPreferences loadPreferences(const std::string& file);
// The whole file or nothing, as the offset file is saved.
[[nodiscard]] SaveResult savePreferences(const std::string& file, const Preferences& preferences);

}  // namespace settings
