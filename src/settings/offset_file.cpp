#include "settings/offset_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/number_text.h"
#ifdef _WIN32
#include "runtime/unicode.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace settings {

namespace {

// Paths are plain strings (UTF-8 on Windows): std::filesystem would more than
// double the size of the Windows program for these few calls.
enum class Kind { missing, regular, other, unknown };
struct Status {
  Kind kind = Kind::missing;
  unsigned mode = 0;  // permission bits of what is there
  int error = 0;      // why the kind is unknown
};

#ifdef _WIN32

using runtime::utf8;
using runtime::wide;

std::string absolute(const std::string& file) {
  const std::wstring path = wide(file);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return file;
    if (length < full.size()) {
      full.resize(length);
      return utf8(full);
    }
    full.resize(length);
  }
}

Status statusOf(const std::string& file) {
  struct _stat64 status;
  if (_wstat64(wide(file).c_str(), &status) != 0) return {errno == ENOENT ? Kind::missing : Kind::unknown, 0, errno};
  return {(status.st_mode & _S_IFMT) == _S_IFREG ? Kind::regular : Kind::other, 0, 0};
}

// Windows programs rarely meet links to a settings file: the file itself is replaced.
std::string linkTarget(const std::string& file) { return file; }
void removeFile(const std::string& file) { _wunlink(wide(file).c_str()); }

#else

std::string absolute(const std::string& file) {
  if (file.starts_with('/')) return file;
  char* folder = getcwd(nullptr, 0);
  if (!folder) return file;
  std::string full(folder);
  std::free(folder);
  if (!full.ends_with('/')) full += '/';
  return full + file;
}

Status statusOf(const std::string& file) {
  struct stat status;
  if (::stat(file.c_str(), &status) != 0) return {errno == ENOENT ? Kind::missing : Kind::unknown, 0, errno};
  return {S_ISREG(status.st_mode) ? Kind::regular : Kind::other, static_cast<unsigned>(status.st_mode & 07777), 0};
}

// The folder part of a path, with its slash; empty for a bare name.
std::string folderOf(const std::string& file) { return file.substr(0, file.rfind('/') + 1); }

// The file whose content a save replaces: links are followed, so that they stay.
std::string linkTarget(const std::string& file) {
  std::string target = file;
  struct stat status;
  // A loop of links ends here and fails at the open, as the system reports it.
  for (int hops = 0; hops < 40 && ::lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode); ++hops) {
    std::string next(static_cast<std::size_t>(PATH_MAX), '\0');
    const ssize_t length = ::readlink(target.c_str(), next.data(), next.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= next.size()) break;
    next.resize(static_cast<std::size_t>(length));
    target = next.starts_with('/') ? next : folderOf(target) + next;
  }
  return target;
}

void removeFile(const std::string& file) { ::unlink(file.c_str()); }

#endif

// Errors name the settings file as the user knows it, in full.
std::string describe(std::string_view what, const std::string& file, std::string_view reason) {
  std::string text(what);
  text += ' ';
  text += absolute(file);
  text += ": ";
  text += reason;
  return text;
}

std::string describe(std::string_view what, const std::string& file, int error) {
  return describe(what, file, std::strerror(error));
}

SaveResult failure(std::string_view what, const std::string& file, int error) {
  return {false, describe(what, file, error)};
}

constexpr std::string_view kNotRegular = "not a regular file";

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

std::string temporaryName(const std::string& target, long process) {
  static unsigned saves = 0;
  return temporaryPrefix(target) + '-' + std::to_string(process) + '-' + std::to_string(++saves);
}

#ifdef _WIN32

int openFresh(const std::string& file) {
  return _wopen(wide(file).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

struct Temporary {
  int fd = -1;
  std::string name;
};
Temporary openTemporary(const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Temporary made{-1, temporaryName(target, static_cast<long>(GetCurrentProcessId()))};
    made.fd = openFresh(made.name);
    if (made.fd >= 0 || errno != EEXIST) return made;
  }
  return {};
}

// Windows closes a file before moving it, so nothing shows that a temporary
// file is being written: only one that has not been written for a minute is
// taken for a leftover.
void removeLeftovers(const std::string& target) {
  const std::string prefix = temporaryPrefix(target);
  const std::size_t slash = prefix.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : prefix.substr(0, slash + 1);
  const std::string base = prefix.substr(folder.size());
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(wide(prefix + '*').c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  constexpr std::uint64_t kMinute = 60ull * 10'000'000;
  do {
    const std::string name = utf8(found.cFileName);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !name.starts_with(base) ||
        !isTemporarySuffix(std::string_view(name).substr(base.size())) ||
        ticks(found.ftLastWriteTime) + kMinute > ticks(now)) {
      continue;
    }
    DeleteFileW(wide(folder + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}
int openInPlace(const std::string& file) { return _wopen(wide(file).c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY); }
bool mayWrite(const std::string& file) { return _waccess(wide(file).c_str(), 2) == 0; }
bool keepMode(int, unsigned) { return true; }  // a writable file has no other bits to keep
bool writeAll(int fd, std::string_view bytes) {
  return _write(fd, bytes.data(), static_cast<unsigned>(bytes.size())) == static_cast<int>(bytes.size());
}
bool flushToDisk(int fd) { return _commit(fd) == 0; }
int closeFile(int fd) { return _close(fd); }
bool isRegular(int fd) {
  struct _stat64 status;
  return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : utf8(message);
}

SaveResult replace(int fd, const std::string& temporary, const std::string& target, const std::string& file) {
  closeFile(fd);  // Windows moves no open file
  // Write-through: the move is on disk when it returns.
  if (MoveFileExW(wide(temporary).c_str(), wide(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  const std::string reason = systemMessage(GetLastError());
  removeFile(temporary);
  return {false, describe("cannot replace", file, reason)};
}

#else

int openFresh(const std::string& file) { return ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

bool sameFile(int fd, const std::string& path) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// A save holds a lock on its temporary file from its making to its rename, so
// that start-up can tell a leftover from a file another program is writing.
struct Temporary {
  int fd = -1;
  std::string name;
};
Temporary openTemporary(const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    Temporary made{-1, temporaryName(target, static_cast<long>(::getpid()))};
    made.fd = openFresh(made.name);
    if (made.fd < 0) {
      if (errno == EEXIST) continue;
      return made;
    }
    // A start-up may have taken it for a leftover between its making and the lock:
    // then its name is gone, and the save starts again under a new one.
    const bool locked = flock(made.fd, LOCK_EX) == 0 || errno == ENOLCK || errno == EOPNOTSUPP;
    if (locked && sameFile(made.fd, made.name)) return made;
    ::close(made.fd);
  }
  errno = EEXIST;
  return {};
}

// Removes what saves cut short left beside the target; a file whose lock
// another program holds is being written, and stays.
void removeLeftovers(const std::string& target) {
  const std::string prefix = temporaryPrefix(target);
  const std::string folder = folderOf(prefix);
  const std::string base = prefix.substr(folder.size());
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!listing) return;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(base) || !isTemporarySuffix(name.substr(base.size()))) continue;
    const std::string path = folder + std::string(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat status;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        sameFile(fd, path)) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
  ::closedir(listing);
}
// Non-blocking, in case something else has taken the file's place meanwhile.
int openInPlace(const std::string& file) {
  return ::open(file.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
}
bool mayWrite(const std::string& file) { return ::access(file.c_str(), W_OK) == 0; }
bool keepMode(int fd, unsigned mode) { return fchmod(fd, static_cast<mode_t>(mode)) == 0; }
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

SaveResult replace(int fd, const std::string& temporary, const std::string& target, const std::string& file) {
  // Renamed while still locked: until then, no start-up takes it for a leftover.
  const bool renamed = std::rename(temporary.c_str(), target.c_str()) == 0;
  const int renameError = errno;
  if (!renamed) removeFile(temporary);
  ::close(fd);
  if (!renamed) return failure("cannot replace", file, renameError);
  // The rename lives in the folder: flush it too, or a power cut can undo the save.
  const std::string folder = folderOf(target);
  const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return {};  // a folder that cannot be read cannot be flushed either
  // Some file systems cannot flush a folder (EINVAL); they have nothing to flush.
  const bool flushed = fsync(folderFd) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(folderFd);
  if (!flushed) return failure("cannot flush the folder of", file, error);
  return {};
}

#endif

// Writes the whole content into an open file and flushes it to disk; a failure is reported for `file`.
SaveResult write(int fd, std::string_view content, const std::string& file) {
  if (!writeAll(fd, content) || !flushToDisk(fd)) return failure("cannot write", file, errno);
  return {};
}

// The same, and closes the file.
SaveResult finish(int fd, std::string_view content, const std::string& file) {
  SaveResult written = write(fd, content, file);
  if (closeFile(fd) != 0 && written.ok) written = failure("cannot write", file, errno);
  return written;
}

// For a folder the user may not write: no temporary file, so the file is
// truncated and written where it is, as a plain save would.
SaveResult saveInPlace(const std::string& target, std::string_view content, const std::string& file) {
  const int fd = openInPlace(target);
  if (fd < 0) return failure("cannot write", file, errno);
  if (!isRegular(fd)) {
    closeFile(fd);
    return {false, describe("cannot write", file, kNotRegular)};
  }
  return finish(fd, content, file);
}

}  // namespace

namespace {

struct Opened {
  std::FILE* stream = nullptr;  // null when there is no file, or none that can be read
  std::string error;            // why a file that is there could not be read, one line
};

// Opens a regular file (or a link to one) for reading; anything else is reported, and
// never opened in a way that could block.
Opened openForReading(const std::string& file) {
  const Status status = statusOf(file);
  if (status.kind == Kind::missing) return {};
  if (status.kind == Kind::unknown) return {nullptr, describe("cannot read", file, status.error)};
  // A FIFO would block the open, a device may act on it: neither is opened at all.
  if (status.kind != Kind::regular) return {nullptr, describe("cannot read", file, kNotRegular)};

  // C streams rather than iostreams, which would set up their locale machinery at start.
#ifdef _WIN32
  std::FILE* stream = _wfopen(wide(file).c_str(), L"rb");
  if (!stream) return {nullptr, describe("cannot read", file, errno)};
  if (!isRegular(_fileno(stream))) {
    std::fclose(stream);
    return {nullptr, describe("cannot read", file, kNotRegular)};
  }
#else
  // Without blocking, and checked once open, in case the file was swapped meanwhile.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {nullptr, errno == ENOENT ? std::string() : describe("cannot read", file, errno)};
  std::FILE* stream = isRegular(fd) ? fdopen(fd, "rb") : nullptr;
  if (!stream) {
    ::close(fd);
    return {nullptr, describe("cannot read", file, kNotRegular)};
  }
#endif
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
  const std::string target = linkTarget(file);
  const Status old = statusOf(target);
  const bool exists = old.kind != Kind::missing;
  if (old.kind == Kind::unknown) return failure("cannot save", file, old.error);
  if (exists && old.kind != Kind::regular) return {false, describe("cannot replace", file, kNotRegular)};
  if (exists && !mayWrite(target)) return failure("cannot replace", file, errno);

  const Temporary temporary = openTemporary(target);
  const int fd = temporary.fd;
  if (fd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM)) return saveInPlace(target, content, file);
    return failure("cannot save", file, error);
  }
  SaveResult written;
  if (exists && !keepMode(fd, old.mode)) {
    written = failure("cannot save", file, errno);
  } else {
    written = write(fd, content, file);
  }
  if (!written.ok) {
    removeFile(temporary.name);
    closeFile(fd);
    return written;
  }
  return replace(fd, temporary.name, target, file);
}

bool meansSystemZone(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  constexpr std::string_view word = kSystemZone;
  return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
         });
}

OffsetSetting::Loaded OffsetSetting::load() const {
  removeLeftovers(linkTarget(file_));

  const FirstItem stored = readFirstItem(file_);
  if (stored.item && meansSystemZone(*stored.item)) return {*stored.item, 0.0, {}, true};
  const auto seconds = stored.item ? runtime::strictValue(*stored.item) : std::nullopt;
  if (!seconds) return {"0", 0.0, stored.error};
  return {runtime::plainNumberText(*seconds), *seconds, {}};
}

OffsetSetting::Changed OffsetSetting::change(std::string_view boxText) const {
  Changed changed;
  changed.saved = saveLine(file_, boxText);
  changed.systemZone = meansSystemZone(boxText);
  if (!changed.systemZone) changed.seconds = runtime::strictValue(boxText);
  return changed;
}

}  // namespace settings
