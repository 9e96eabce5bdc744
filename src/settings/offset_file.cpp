#include "settings/offset_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "runtime/number_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace settings {

namespace {

namespace fs = std::filesystem;

// Errors name the settings file as the user knows it, in full.
std::string shown(const fs::path& file) {
  std::error_code failed;
  const fs::path full = fs::absolute(file, failed);
  return (failed ? file : full).string();
}

std::string describe(std::string_view what, const fs::path& file, std::string_view reason) {
  std::string text(what);
  text += ' ';
  text += shown(file);
  text += ": ";
  text += reason;
  return text;
}

std::string describe(std::string_view what, const fs::path& file, int error) {
  return describe(what, file, std::strerror(error));
}

SaveResult failed(std::string_view what, const fs::path& file, int error) {
  return {false, describe(what, file, error)};
}

constexpr std::string_view kNotRegular = "not a regular file";

// The file whose content a save replaces: links are followed, so that they stay.
fs::path linkTarget(const fs::path& file) {
  fs::path target = file;
  std::error_code failed;
  // A loop of links ends here and fails at the open, as the system reports it.
  for (int hops = 0; hops < 40 && fs::is_symlink(target, failed); ++hops) {
    const fs::path next = fs::read_symlink(target, failed);
    if (failed) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

// One fixed name, so that a save cut short leaves at most one behind.
fs::path temporaryFor(const fs::path& target) {
  fs::path temporary = target;
  temporary += ".tmp";
  return temporary;
}

#ifdef _WIN32

int openFresh(const fs::path& file) {
  return _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int openInPlace(const fs::path& file) { return _wopen(file.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY); }
bool mayWrite(const fs::path& file) { return _waccess(file.c_str(), 2) == 0; }
bool keepMode(int, fs::perms) { return true; }  // a writable file has no other bits to keep
bool writeAll(int fd, std::string_view bytes) {
  return _write(fd, bytes.data(), static_cast<unsigned>(bytes.size())) == static_cast<int>(bytes.size());
}
bool flushToDisk(int fd) { return _commit(fd) == 0; }
int closeFile(int fd) { return _close(fd); }
bool isRegular(int fd) {
  struct _stat64 status;
  return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

SaveResult replace(const fs::path& temporary, const fs::path& target, const fs::path& file) {
  // Write-through: the move is on disk when it returns.
  if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
  const std::string reason = std::system_category().message(static_cast<int>(GetLastError()));
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return {false, describe("cannot replace", file, reason)};
}

#else

int openFresh(const fs::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
// Non-blocking, in case something else has taken the file's place meanwhile.
int openInPlace(const fs::path& file) { return ::open(file.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC); }
bool mayWrite(const fs::path& file) { return ::access(file.c_str(), W_OK) == 0; }
bool keepMode(int fd, fs::perms mode) { return fchmod(fd, static_cast<mode_t>(mode) & 07777) == 0; }
bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}
bool flushToDisk(int fd) { return fsync(fd) == 0; }
int closeFile(int fd) { return ::close(fd); }
bool isRegular(int fd) {
  struct stat status;
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

SaveResult replace(const fs::path& temporary, const fs::path& target, const fs::path& file) {
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return failed("cannot replace", file, error);
  }
  // The rename lives in the folder: flush it too, or a power cut can undo the save.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return {};  // a folder that cannot be read cannot be flushed either
  // Some file systems cannot flush a folder (EINVAL); they have nothing to flush.
  const bool flushed = fsync(fd) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(fd);
  if (!flushed) return failed("cannot flush the folder of", file, error);
  return {};
}

#endif

// Writes the whole content into an open file and closes it; a failure is reported for `file`.
SaveResult finish(int fd, std::string_view content, const fs::path& file) {
  const bool written = writeAll(fd, content) && flushToDisk(fd);
  const int error = errno;
  if (closeFile(fd) != 0 || !written) return failed("cannot write", file, written ? errno : error);
  return {};
}

// For a folder the user may not write: no temporary file, so the file is
// truncated and written where it is, as a plain save would.
SaveResult saveInPlace(const fs::path& target, std::string_view content, const fs::path& file) {
  const int fd = openInPlace(target);
  if (fd < 0) return failed("cannot write", file, errno);
  if (!isRegular(fd)) {
    closeFile(fd);
    return {false, describe("cannot write", file, kNotRegular)};
  }
  return finish(fd, content, file);
}

}  // namespace

FirstItem readFirstItem(const fs::path& file) {
  std::error_code failed;
  const fs::file_status status = fs::status(file, failed);
  if (status.type() == fs::file_type::not_found) return {};
  if (status.type() == fs::file_type::none) return {std::nullopt, describe("cannot read", file, failed.message())};
  // A FIFO would block the open, a device may act on it: neither is opened at all.
  if (status.type() != fs::file_type::regular) return {std::nullopt, describe("cannot read", file, kNotRegular)};

  // C streams rather than iostreams, which would set up their locale machinery at start.
#ifdef _WIN32
  std::FILE* stream = _wfopen(file.c_str(), L"rb");
  if (!stream) return {std::nullopt, describe("cannot read", file, errno)};
  if (!isRegular(_fileno(stream))) {
    std::fclose(stream);
    return {std::nullopt, describe("cannot read", file, kNotRegular)};
  }
#else
  // Without blocking, and checked once open, in case the file was swapped meanwhile.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {std::nullopt, errno == ENOENT ? std::string() : describe("cannot read", file, errno)};
  std::FILE* stream = isRegular(fd) ? fdopen(fd, "rb") : nullptr;
  if (!stream) {
    ::close(fd);
    return {std::nullopt, describe("cannot read", file, kNotRegular)};
  }
#endif
  int c = std::fgetc(stream);
  while (c == ' ' || c == '\t') c = std::fgetc(stream);
  std::string item;
  for (; c != EOF && c != ',' && c != '\r' && c != '\n' && item.size() < kMaxItem; c = std::fgetc(stream)) {
    item += static_cast<char>(c);
  }
  const bool readError = std::ferror(stream) != 0;
  const int error = errno;
  std::fclose(stream);
  if (readError) return {std::nullopt, describe("cannot read", file, error)};
  return {std::move(item), {}};
}

SaveResult saveLine(const fs::path& file, std::string_view line) {
  std::string content(line);
  content += "\r\n";
  const fs::path target = linkTarget(file);
  std::error_code unknown;
  const fs::file_status old = fs::status(target, unknown);
  const bool exists = fs::exists(old);
  if (old.type() == fs::file_type::none) return {false, describe("cannot save", file, unknown.message())};
  if (exists && old.type() != fs::file_type::regular) return {false, describe("cannot replace", file, kNotRegular)};
  if (exists && !mayWrite(target)) return failed("cannot replace", file, errno);

  const fs::path temporary = temporaryFor(target);
  std::error_code ignored;
  fs::remove(temporary, ignored);  // made afresh: nothing of another save's attempt is reused
  const int fd = openFresh(temporary);
  if (fd < 0) {
    const int error = errno;
    // EEXIST: a leftover that the folder does not let us remove.
    if (exists && (error == EACCES || error == EPERM || error == EEXIST)) return saveInPlace(target, content, file);
    return failed("cannot save", file, error);
  }
  SaveResult written;
  if (exists && !keepMode(fd, old.permissions())) {
    written = failed("cannot save", file, errno);
    closeFile(fd);
  } else {
    written = finish(fd, content, file);
  }
  if (!written.ok) {
    fs::remove(temporary, ignored);
    return written;
  }
  return replace(temporary, target, file);
}

OffsetSetting::Loaded OffsetSetting::load() const {
  std::error_code ignored;
  const fs::path leftover = temporaryFor(linkTarget(file_));
  if (!fs::is_directory(fs::symlink_status(leftover, ignored))) fs::remove(leftover, ignored);

  const FirstItem stored = readFirstItem(file_);
  const auto seconds = stored.item ? runtime::strictValue(*stored.item) : std::nullopt;
  if (!seconds) return {"0", 0.0, stored.error};
  return {runtime::plainNumberText(*seconds), *seconds, {}};
}

OffsetSetting::Changed OffsetSetting::change(std::string_view boxText) const {
  Changed changed;
  changed.saved = saveLine(file_, boxText);
  changed.seconds = runtime::strictValue(boxText);
  return changed;
}

}  // namespace settings
