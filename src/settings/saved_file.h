#pragma once

#include <optional>
#include <string>
#include <string_view>

// A settings file read and saved so that it never tears. Paths here are plain
// strings, in UTF-8 on Windows. Every reader and saver gives its value and
// `error`: why it failed, one line naming the file in full; empty when all went well.
namespace settings {

struct FileText {
  std::optional<std::string> text;  // empty when there is no file, or none that can be read
  std::string error;
};
using FirstItem = FileText;

struct SaveResult {
  std::string error;
};

// The first data item of a text file: after a UTF-8 byte-order mark and leading blanks, up to the first
// comma or the end of the first line; an item longer than kMaxItem is cut
// there. Only a regular file (or a link to one) is read: anything else is
// reported, and never opened in a way that could block. On POSIX a link in a
// sticky folder that others may write is followed only when it is the user's
// or the folder owner's, as the kernel's protection of links has it.
FirstItem readFirstItem(const std::string& file);
inline constexpr std::size_t kMaxItem = 1 << 20;

// The whole content of a file, its first `limit` bytes at most, read as readFirstItem reads.
FileText readText(const std::string& file, std::size_t limit);

// Replaces the file's content by `line` and CR LF. The new content goes to a
// temporary file beside the file (beside a link's target, so the link stays),
// which is flushed to disk and renamed over it; the file keeps its permission
// bits and holds either the old line or the new one, whenever the program or
// the machine stops. A file the user may not write, or that is not a regular
// file, is left alone and the save fails; so is a file of another owner
// whose owner and group the new file cannot keep. In a folder the user may
// not write, a file the user may is written in place. A file that holds the
// content already is left as it is. Links are followed as readFirstItem does.
[[nodiscard]] SaveResult saveLine(const std::string& file, std::string_view line);
// The same for a whole content of any number of lines, written as it is.
[[nodiscard]] SaveResult saveFile(const std::string& file, std::string_view content);

// Removes the temporary files that saves of `file` cut short left beside it,
// beside the name itself, never beside a link's target; those that another
// program is writing stay.
void removeLeftovers(const std::string& file);

}  // namespace settings
