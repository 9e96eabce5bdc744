#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// Looked up in the working directory at each access. Paths here are plain
// strings, in UTF-8 on Windows.
inline constexpr std::string_view kOffsetFile = "Selenial.ini";

struct FirstItem {
  std::optional<std::string> item;  // empty when there is no file, or none that can be read
  std::string error;                // why a file that is there could not be read, one line
};
// The first data item of a text file: after leading blanks, up to the first
// comma or the end of the first line; an item longer than kMaxItem is cut
// there. Only a regular file (or a link to one) is read: anything else is
// reported, and never opened in a way that could block.
FirstItem readFirstItem(const std::string& file);
inline constexpr std::size_t kMaxItem = 1 << 20;

struct FileText {
  std::optional<std::string> text;  // empty when there is no file, or none that can be read
  std::string error;                // why a file that is there could not be read, one line
};
// The whole content of a file, its first `limit` bytes at most, read as readFirstItem reads.
FileText readText(const std::string& file, std::size_t limit);

struct SaveResult {
  bool ok = true;
  std::string error;  // one line, when !ok
};

// Replaces the file's content by `line` and CR LF. The new content goes to a
// temporary file beside the file (beside a link's target, so the link stays),
// which is flushed to disk and renamed over it; the file keeps its permission
// bits and holds either the old line or the new one, whenever the program or
// the machine stops. A file the user may not write, or that is not a regular
// file, is left alone and the save fails. In a folder the user may not write,
// a file the user may is written in place.
[[nodiscard]] SaveResult saveLine(const std::string& file, std::string_view line);
// The same for a whole content of any number of lines, written as it is.
[[nodiscard]] SaveResult saveFile(const std::string& file, std::string_view content);

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
    SaveResult saved;
    bool systemZone = false;  // the text is the word that follows the system's zone
  };
  // Stores the box text exactly as typed, number or not, so nothing typed is lost.
  Changed change(std::string_view boxText) const;

 private:
  std::string file_;
};

}  // namespace settings
