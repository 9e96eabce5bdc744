#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "settings/file_system.h"

namespace settings::fs {

namespace {

bool sameFile(int fd, const std::string& path) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// As the kernel's fs.protected_symlinks does, whether or not it is on.
bool mayFollow(const std::string& link, const struct stat& status) {
  const std::string folder = folderOf(link);
  struct stat held;
  if (::stat(folder.empty() ? "." : folder.c_str(), &held) != 0) return false;
  const bool othersMayWrite = (held.st_mode & S_ISVTX) && (held.st_mode & S_IWOTH);
  return !othersMayWrite || status.st_uid == ::geteuid() || status.st_uid == held.st_uid;
}

}  // namespace

Status statusOf(const std::string& file) {
  struct stat status;
  if (::stat(file.c_str(), &status) != 0) return {errno == ENOENT ? Kind::missing : Kind::unknown, 0, errno};
  return {S_ISREG(status.st_mode) ? Kind::regular : Kind::other, static_cast<unsigned>(status.st_mode & 07777), 0,
          status.st_uid, status.st_gid};
}

std::string absolute(const std::string& file) {
  if (file.starts_with('/')) return file;
  char* folder = getcwd(nullptr, 0);
  if (!folder) return file;
  std::string full(folder);
  std::free(folder);
  if (!full.ends_with('/')) full += '/';
  return full + file;
}

std::string folderOf(const std::string& file) { return file.substr(0, file.rfind('/') + 1); }

std::optional<std::string> linkTarget(const std::string& file) {
  std::string target = file;
  struct stat status;
  // A loop of links ends here and fails at the open, as the system reports it.
  for (int hops = 0; hops < 40 && ::lstat(target.c_str(), &status) == 0 && S_ISLNK(status.st_mode); ++hops) {
    if (!mayFollow(target, status)) return std::nullopt;
    std::string next(static_cast<std::size_t>(PATH_MAX), '\0');
    const ssize_t length = ::readlink(target.c_str(), next.data(), next.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= next.size()) break;
    next.resize(static_cast<std::size_t>(length));
    target = next.starts_with('/') ? next : folderOf(target) + next;
  }
  return target;
}

int openToRead(const std::string& file) { return ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }
std::FILE* streamOf(int fd) { return fdopen(fd, "rb"); }

// The lock lasts from the making to the rename, so that start-up can tell a
// leftover from a file another program is writing.
int openFresh(const std::string& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return fd;
  // A start-up may have taken it for a leftover between its making and the lock:
  // then its name is gone, and the save starts again under a new one.
  const bool locked = flock(fd, LOCK_EX) == 0 || errno == ENOLCK || errno == EOPNOTSUPP;
  if (locked && sameFile(fd, file)) return fd;
  ::close(fd);
  errno = EEXIST;
  return -1;
}

long processId() { return static_cast<long>(::getpid()); }

int openInPlace(const std::string& file) { return ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC); }

bool cutTo(int fd, std::size_t size) { return ftruncate(fd, static_cast<off_t>(size)) == 0; }

bool mayWrite(const std::string& file) { return ::access(file.c_str(), W_OK) == 0; }

bool isRegular(int fd) {
  struct stat status;
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

bool keepOwner(int fd, const Status& old) {
  struct stat made;
  if (fstat(fd, &made) != 0) return false;
  if (made.st_uid == old.owner && made.st_gid == old.group) return true;
  return fchown(fd, static_cast<uid_t>(old.owner), static_cast<gid_t>(old.group)) == 0;
}

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
bool closeFile(int fd) { return ::close(fd) == 0; }
void removeFile(const std::string& file) { ::unlink(file.c_str()); }

Moved moveOver(int fd, const std::string& temporary, const std::string& target) {
  // Renamed while still locked: until then, no start-up takes it for a leftover.
  const bool renamed = std::rename(temporary.c_str(), target.c_str()) == 0;
  const int renameError = errno;
  if (!renamed) removeFile(temporary);
  ::close(fd);
  if (!renamed) return {"cannot replace", std::strerror(renameError)};
  // The rename lives in the folder: flush it too, or a power cut can undo the save.
  const std::string folder = folderOf(target);
  const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return {};  // a folder that cannot be read cannot be flushed either
  // Some file systems cannot flush a folder (EINVAL); they have nothing to flush.
  const bool flushed = fsync(folderFd) == 0 || errno == EINVAL;
  const int error = errno;
  ::close(folderFd);
  if (!flushed) return {"cannot flush the folder of", std::strerror(error)};
  return {};
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!listing) return names;
  while (const dirent* entry = ::readdir(listing)) names.emplace_back(entry->d_name);
  ::closedir(listing);
  return names;
}

void removeIfAbandoned(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (isRegular(fd) && flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, file)) ::unlink(file.c_str());
  ::close(fd);
}

}  // namespace settings::fs
