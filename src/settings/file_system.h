#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The few system calls behind the settings file, one definition per system.
// Paths are plain strings (UTF-8 on Windows): std::filesystem would more than
// double the size of the Windows program for these few calls. Calls that
// return a descriptor or false leave the reason in errno.
namespace settings::fs {

enum class Kind { missing, regular, other, unknown };
struct Status {
  Kind kind = Kind::missing;
  unsigned mode = 0;  // permission bits of what is there
  int error = 0;      // why the kind is unknown
  unsigned owner = 0, group = 0;
};
// What stands at the path, links followed.
Status statusOf(const std::string& file);

// The path in full, as errors name it.
std::string absolute(const std::string& file);
// The folder part of a path, with its separator; empty for a bare name.
std::string folderOf(const std::string& file);

// The file whose content a save replaces: links are followed, so that they stay.
// Empty when a link on the way is one the system's protection of links refuses
// on POSIX: in a sticky folder that others may write, only links of the user's
// own or of the folder's owner are followed, so that nobody can point another
// user's program at a file of that user's.
std::optional<std::string> linkTarget(const std::string& file);

// A file opened for reading without blocking; a descriptor or -1.
int openToRead(const std::string& file);
std::FILE* streamOf(int fd);  // null on failure; the descriptor is then still open

// A new file of this process, made only if no file has the name. On POSIX it
// is locked until it is closed, and -1 with EEXIST if a start-up took it away.
int openFresh(const std::string& file);
long processId();
// An existing file, opened for writing where it is, without blocking and
// without emptying it.
int openInPlace(const std::string& file);
bool cutTo(int fd, std::size_t size);

bool mayWrite(const std::string& file);
bool isRegular(int fd);
// The old file's owner and group, where they differ and the user may give them.
bool keepOwner(int fd, const Status& old);
bool keepMode(int fd, unsigned mode);
bool writeAll(int fd, std::string_view bytes);
bool flushToDisk(int fd);
bool closeFile(int fd);
void removeFile(const std::string& file);

// Puts the written, flushed temporary file in the target's place and closes
// it, in the order the system needs, the folder flushed too. Empty when done,
// else which step failed and the system's reason, as "cannot replace: reason".
struct Moved {
  std::string what;  // the step that failed; empty when done
  std::string reason;
};
Moved moveOver(int fd, const std::string& temporary, const std::string& target);

// The names in a folder ("" for the working one).
std::vector<std::string> namesIn(const std::string& folder);
// Removes a file that a save cut short left: a regular file, not a link, that
// no other program is writing (POSIX: locked by no one; Windows, where a file
// is closed before it is moved: untouched for a minute).
void removeIfAbandoned(const std::string& file);

}  // namespace settings::fs
