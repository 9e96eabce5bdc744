#include "settings/saved_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "settings/file_system.h"

namespace settings {

namespace {

// Errors name the settings file as the user knows it, in full.
std::string describe(std::string_view what, const std::string& file, std::string_view reason) {
  std::string text(what);
  text += ' ';
  text += fs::absolute(file);
  text += ": ";
  text += reason;
  return text;
}

std::string describe(std::string_view what, const std::string& file, int error) {
  return describe(what, file, std::strerror(error));
}

SaveResult failure(std::string_view what, const std::string& file, int error) {
  return {describe(what, file, error)};
}

constexpr std::string_view kNotRegular = "not a regular file";
constexpr std::string_view kForeignLink = "a link owned by another user in a folder others may write to";

// Every save writes a temporary file of its own beside the target, so that two
// programs saving into one folder never write or rename each other's. Earlier
// versions used the bare prefix, or the prefix and digits.
std::string temporaryPrefix(const std::string& target) { return target + ".tmp"; }

bool isTemporarySuffix(std::string_view suffix) {
  const auto digits = [](std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (digits(suffix)) return true;  // the bare prefix too
  if (!suffix.starts_with('-')) return false;
  suffix.remove_prefix(1);
  const std::size_t dash = suffix.find('-');
  return dash != std::string_view::npos && dash > 0 && dash + 1 < suffix.size() && digits(suffix.substr(0, dash)) &&
         digits(suffix.substr(dash + 1));
}

struct Temporary {
  int fd = -1;
  std::string name;
};
Temporary openTemporary(const std::string& target) {
  static unsigned saves = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    Temporary made{-1, temporaryPrefix(target) + '-' + std::to_string(fs::processId()) + '-' + std::to_string(++saves)};
    made.fd = fs::openFresh(made.name);
    if (made.fd >= 0 || errno != EEXIST) return made;
  }
  errno = EEXIST;
  return {};
}

// Writes the whole content into an open file and flushes it to disk; a failure is reported for `file`.
SaveResult write(int fd, std::string_view content, const std::string& file) {
  if (!fs::writeAll(fd, content) || !fs::flushToDisk(fd)) return failure("cannot write", file, errno);
  return {};
}

// For a folder the user may not write: no temporary file, so the file is
// written where it is. The new content goes over the old from its start in
// one write, and the file is cut to its length after: never emptied first. A
// stop in between leaves the new content followed by the old one's tail; the
// first line is the new one then, whole, since it ends with its CR LF.
SaveResult saveInPlace(const std::string& target, std::string_view content, const std::string& file) {
  const int fd = fs::openInPlace(target);
  if (fd < 0) return failure("cannot write", file, errno);
  if (!fs::isRegular(fd)) {
    fs::closeFile(fd);
    return {describe("cannot write", file, kNotRegular)};
  }
  SaveResult written;
  if (!fs::writeAll(fd, content) || !fs::cutTo(fd, content.size()) || !fs::flushToDisk(fd)) {
    written = failure("cannot write", file, errno);
  }
  if (!fs::closeFile(fd) && written.error.empty()) written = failure("cannot write", file, errno);
  return written;
}

struct Opened {
  std::FILE* stream = nullptr;  // null when there is no file, or none that can be read
  std::string error;            // why a file that is there could not be read, one line
};

// Opens a regular file (or a link to one) for reading; anything else is reported, and
// never opened in a way that could block. C streams rather than iostreams, which
// would set up their locale machinery at start.
Opened openForReading(const std::string& file) {
  const std::optional<std::string> target = fs::linkTarget(file);
  if (!target) return {nullptr, describe("cannot read", file, kForeignLink)};
  const fs::Status status = fs::statusOf(*target);
  if (status.kind == fs::Kind::missing) return {};
  if (status.kind == fs::Kind::unknown) return {nullptr, describe("cannot read", file, status.error)};
  // A FIFO would block the open, a device may act on it: neither is opened at all.
  if (status.kind != fs::Kind::regular) return {nullptr, describe("cannot read", file, kNotRegular)};
  // Checked once open too, in case the file was swapped meanwhile.
  const int fd = fs::openToRead(*target);
  if (fd < 0) return {nullptr, errno == ENOENT ? std::string() : describe("cannot read", file, errno)};
  std::FILE* stream = fs::isRegular(fd) ? fs::streamOf(fd) : nullptr;
  if (!stream) {
    fs::closeFile(fd);
    return {nullptr, describe("cannot read", file, kNotRegular)};
  }
  return {stream, {}};
}

// Closes a stream that was read; the error of the reading, if there was one.
std::string closeRead(std::FILE* stream, const std::string& file) {
  const bool readError = std::ferror(stream) != 0;
  const int error = errno;
  std::fclose(stream);
  return readError ? describe("cannot read", file, error) : std::string();
}

}  // namespace

FirstItem readFirstItem(const std::string& file) {
  Opened opened = openForReading(file);
  if (!opened.stream) return {std::nullopt, std::move(opened.error)};
  std::FILE* stream = opened.stream;
  // A byte-order mark, which some editors put first, is no part of the item.
  if (std::fgetc(stream) != 0xEF || std::fgetc(stream) != 0xBB || std::fgetc(stream) != 0xBF) std::rewind(stream);
  int c = std::fgetc(stream);
  while (c == ' ' || c == '\t') c = std::fgetc(stream);
  std::string item;
  for (; c != EOF && c != ',' && c != '\r' && c != '\n' && item.size() < kMaxItem; c = std::fgetc(stream)) {
    item += static_cast<char>(c);
  }
  if (std::string error = closeRead(stream, file); !error.empty()) return {std::nullopt, std::move(error)};
  return {std::move(item), {}};
}

FileText readText(const std::string& file, std::size_t limit) {
  Opened opened = openForReading(file);
  if (!opened.stream) return {std::nullopt, std::move(opened.error)};
  std::string text;
  char buffer[4096];
  while (text.size() < limit) {
    const std::size_t read = std::fread(buffer, 1, std::min(sizeof buffer, limit - text.size()), opened.stream);
    if (read == 0) break;
    text.append(buffer, read);
  }
  if (std::string error = closeRead(opened.stream, file); !error.empty()) return {std::nullopt, std::move(error)};
  return {std::move(text), {}};
}

SaveResult saveLine(const std::string& file, std::string_view line) {
  std::string content(line);
  content += "\r\n";
  return saveFile(file, content);
}

SaveResult saveFile(const std::string& file, std::string_view content) {
  const std::optional<std::string> resolved = fs::linkTarget(file);
  if (!resolved) return {describe("cannot save", file, kForeignLink)};
  const std::string& target = *resolved;
  const fs::Status old = fs::statusOf(target);
  const bool exists = old.kind != fs::Kind::missing;
  if (old.kind == fs::Kind::unknown) return failure("cannot save", file, old.error);
  if (exists && old.kind != fs::Kind::regular) return {describe("cannot replace", file, kNotRegular)};
  // What the file holds already is not written again: its owner, time and place
  // stay, and a file the user may read but not write is no failure.
  if (exists && readText(target, content.size() + 1).text == content) return {};
  if (exists && !fs::mayWrite(target)) return failure("cannot replace", file, errno);

  const Temporary temporary = openTemporary(target);
  if (temporary.fd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM)) return saveInPlace(target, content, file);
    return failure("cannot save", file, error);
  }
  // A save by another user, root say, leaves the file to its owner. One who may
  // write the file but not give it away (a shared, group-writable file) writes it in
  // place, which keeps its owner too.
  if (exists && !fs::keepOwner(temporary.fd, old)) {
    fs::removeFile(temporary.name);
    fs::closeFile(temporary.fd);
    return saveInPlace(target, content, file);
  }
  SaveResult written;
  if (exists && !fs::keepMode(temporary.fd, old.mode)) {
    written = failure("cannot save", file, errno);
  } else {
    written = write(temporary.fd, content, file);
  }
  if (!written.error.empty()) {
    fs::removeFile(temporary.name);
    fs::closeFile(temporary.fd);
    return written;
  }
  const fs::Moved moved = fs::moveOver(temporary.fd, temporary.name, target);
  if (!moved.what.empty()) return {describe(moved.what, file, moved.reason)};
  return {};
}

// Only beside the name itself: the names of a link's target are another's.
void removeLeftovers(const std::string& file) {
  const std::string prefix = temporaryPrefix(file);
  const std::string folder = fs::folderOf(prefix);
  const std::string base = prefix.substr(folder.size());
  for (const std::string& name : fs::namesIn(folder)) {
    if (name.starts_with(base) && isTemporarySuffix(std::string_view(name).substr(base.size()))) {
      fs::removeIfAbandoned(folder + name);
    }
  }
}

}  // namespace settings
