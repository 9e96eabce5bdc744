#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/saved_file.h"

namespace settings {

// Looked up in the working directory at each access.
inline constexpr std::string_view kOffsetFile = "Selenial.ini";

// The text without the blanks and tabs around it, as the settings' readers take it.
std::string_view trimmed(std::string_view text);

// The word that stands for the offset the system's zone gives at each moment,
// daylight saving included; any case, blanks around it allowed.
inline constexpr std::string_view kSystemZone = "auto";
bool meansSystemZone(std::string_view text);

// The UTC offset as it is stored and typed.
class OffsetSetting {
 public:
  explicit OffsetSetting(std::string file = std::string(kOffsetFile)) : file_(std::move(file)) {}

  struct Loaded {
    std::string boxText;  // plain number text of the stored offset, "0" when none; the word as stored
    double seconds = 0;
    std::string error;  // why a stored file could not be read, one line; the offset is 0 then
    bool systemZone = false;  // the stored word follows the system's zone
  };
  // A missing file, or a stored item that spells no number, is the offset 0;
  // the file itself is left alone then. Temporary files of saves that were cut
  // short are removed, those that another program is writing are not.
  Loaded load() const;

  struct Changed {
    std::optional<double> seconds;  // empty when the text spells no number
    std::string error;              // why the text could not be saved, one line
    bool systemZone = false;        // the text is the word that follows the system's zone
  };
  // Stores the box text exactly as typed, number or not, so nothing typed is lost.
  Changed change(std::string_view boxText) const;

 private:
  std::string file_;
};

}  // namespace settings
